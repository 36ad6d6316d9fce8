#include "imaging/LoadPicture_win.h"

#include "NViewLib.h"
#include "imaging/BmpCodec.h"
#include "imaging/DibSection_win.h"
#include "imaging/FileBytes_win.h"
#include "win/FaultGuard_win.h"

namespace mvpr {

std::optional<DecodeResult> DecodeBitmapFile(const std::string& path) {
    const DecodeLimits limits;
    const auto bytes = ReadFileBytes(path, limits.maxBytes);
    if (!bytes) return std::nullopt;
    return DecodeBmp(*bytes, limits);
}

LoadOutcome LoadPicture(const std::string& path, WinPicture& picture, ScreenCategory category,
                        LibraryLoad library) noexcept {
    try {
        if (category == ScreenCategory::Wall) {
            // Whatever library stands in NViewLib's place, a fault inside it ends only this call.
            struct Call {
                LibraryLoad load;
                const char* path;
                HBITMAP bitmap;
            } call{library ? library : &NViewLibLoad, path.c_str(), nullptr};
            const bool finished = win::RunGuarded(
                [](void* p) {
                    auto* c = static_cast<Call*>(p);
                    c->bitmap = c->load(c->path, 0);
                },
                &call);
            if (!finished) return LoadOutcome::Failed;
            picture.Assign(call.bitmap);
            return call.bitmap ? LoadOutcome::Loaded : LoadOutcome::Emptied;
        }
        const auto read = DecodeBitmapFile(path);
        if (!read) return LoadOutcome::CannotOpen;
        const DecodeResult& decoded = *read;
        if (!decoded.Ok()) return LoadOutcome::CannotDecode;
        if (decoded.picture.Empty()) {
            picture.Clear();
            return LoadOutcome::Emptied;
        }
        const HBITMAP bitmap = CreateDibSection(decoded.picture);
        if (!bitmap) return LoadOutcome::CannotDecode;
        picture.Assign(bitmap, decoded.picture.Format());
        return LoadOutcome::Loaded;
    } catch (...) {
        return LoadOutcome::Failed;
    }
}

}  // namespace mvpr
