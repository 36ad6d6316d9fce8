#include "app/LoadPicture_win.h"

#include "imaging/NViewLib.h"
#include "imaging/DibSection_win.h"

namespace mvpr {

LoadOutcome LoadPicture(const std::string& path, WinPicture& picture, ScreenCategory category,
                        LibraryLoad library) noexcept {
    try {
        if (category == ScreenCategory::Wall) {
            const auto bitmap = LoadThroughLibrary(library ? library : &NViewLibLoad, path);
            if (!bitmap) return LoadOutcome::Failed;
            picture.Assign(*bitmap);
            return *bitmap ? LoadOutcome::Loaded : LoadOutcome::Emptied;
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
        picture.Assign(bitmap, decoded.picture.Format(), decoded.cycle);
        return LoadOutcome::Loaded;
    } catch (...) {
        return LoadOutcome::Failed;
    }
}

}  // namespace mvpr
