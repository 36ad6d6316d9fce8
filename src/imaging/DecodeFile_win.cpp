#include "imaging/DecodeFile_win.h"

#include "imaging/BmpCodec.h"
#include "imaging/FileBytes_win.h"
#include "win/FaultGuard_win.h"

namespace mvpr {

std::optional<DecodeResult> DecodeBitmapFile(const std::string& path) {
    const DecodeLimits limits;
    const auto bytes = ReadFileBytes(path, limits.maxBytes);
    if (!bytes) return std::nullopt;
    return DecodeBmp(*bytes, limits);
}

std::optional<HBITMAP> LoadThroughLibrary(LibraryLoad load, const std::string& path) {
    // Whatever library stands in NViewLib's place, a fault inside it ends only this call.
    struct Call {
        LibraryLoad load;
        const char* path;
        HBITMAP bitmap;
    } call{load, path.c_str(), nullptr};
    const bool finished = win::RunGuarded(
        [](void* p) {
            auto* c = static_cast<Call*>(p);
            c->bitmap = c->load(c->path, 0);
        },
        &call);
    if (!finished) return std::nullopt;
    return call.bitmap;
}

}  // namespace mvpr
