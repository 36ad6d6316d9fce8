#ifndef MVPR_SYSTEM_WALLPAPER_WIN_H
#define MVPR_SYSTEM_WALLPAPER_WIN_H

#include <string>
#include <string_view>

#include "imaging/Picture.h"

namespace mvpr {

struct WallpaperOutcome {
    bool written = false;
    // Why not: the system's text when the work file could not be written, "Failed to set data for
    // '<value>'" when a desktop value could not be.
    std::string error;
};

// Makes `workPixels` (a rendering of RenderWorkFile) the wallpaper: the work file @MV!BACK.BMP in
// `programDir` (ending in a backslash) at the display's depth, replaced in one step; then the
// desktop values under `registryPrefix` + Control Panel\desktop when that key exists; then the
// system is told to load the file. A file that cannot be written changes nothing else; a desktop
// value that cannot be written stops there.
WallpaperOutcome SetCurrentWallpaper(const Picture& workPixels, std::string_view styleText,
                                     const std::string& programDir, const std::string& registryPrefix);

// Bits per pixel of the display, 0 when it reports none.
int DisplayBitsPerPixel();

}  // namespace mvpr

#endif
