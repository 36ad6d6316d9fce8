#ifndef MVPR_APP_LOADPICTURE_WIN_H
#define MVPR_APP_LOADPICTURE_WIN_H

#include <optional>
#include <string>

#include "imaging/DecodeFile_win.h"
#include "imaging/WinPicture_win.h"
#include "lists/ScreenCategory.h"

namespace mvpr {

// What happened, for tests; the program's callers judge the picture instead.
enum class LoadOutcome {
    Loaded,        // the picture holds the file's bitmap
    Emptied,       // a zero-length bitmap file, or the library gave no picture
    CannotOpen,    // picture unchanged
    CannotDecode,  // picture unchanged
    Failed,        // something threw; picture unchanged
};

// Decodes the file into `picture`. In the wallpaper category every file goes to NViewLibLoad
// (`library`, a seam for tests), bitmaps included; in the screen categories every file is read
// as a Windows bitmap, whatever its extension. Shows nothing and lets nothing escape.
LoadOutcome LoadPicture(const std::string& path, WinPicture& picture, ScreenCategory category,
                        LibraryLoad library = nullptr) noexcept;

}  // namespace mvpr

#endif
