#ifndef MVPR_SYSTEM_WALLPAPER_WIN_H
#define MVPR_SYSTEM_WALLPAPER_WIN_H

#include <string>
#include <string_view>

#include "imaging/Picture.h"
#include "lists/DisplayStyle.h"
#include "system/Places.h"

namespace mvpr {

struct WallpaperOutcome {
    bool written = false;
    // Why not: the system's text when the work file could not be written, "Failed to set data for
    // '<value>'" when a desktop value could not be.
    std::string error;
    bool rendered = true;  // false: the picture is too big to lay out for the screen
};

// Makes `workPixels` (a rendering of RenderWorkFile) the wallpaper: the machine's own desktop
// values into the first-run record when it lacks them; the work file @MV!BACK.BMP in
// the program folder at the display's depth, replaced in one step; then the desktop values under
// Control Panel\desktop when that key exists; then the system is told to load the file. A file
// that cannot be written changes nothing else; a desktop value that cannot be written stops there.
WallpaperOutcome SetCurrentWallpaper(const Picture& workPixels, std::string_view styleText,
                                     const Places& places);

// Sets a picture as the wallpaper: renders `source` in `style` for a screen of this size
// (RenderWorkFile), then SetCurrentWallpaper.
WallpaperOutcome SetPictureAsWallpaper(const Picture& source, DisplayStyle style, int screenWidth,
                                       int screenHeight, const Places& places);

// Bits per pixel of the display, 0 when it reports none.
int DisplayBitsPerPixel();

}  // namespace mvpr

#endif
