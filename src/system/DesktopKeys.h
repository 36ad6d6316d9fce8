#ifndef MVPR_SYSTEM_DESKTOPKEYS_H
#define MVPR_SYSTEM_DESKTOPKEYS_H

#include <string_view>

namespace mvpr {

// The desktop settings under HKEY_CURRENT_USER.
inline constexpr std::string_view kDesktopKey = "Control Panel\\desktop";
inline constexpr std::string_view kWallpaperValue = "Wallpaper";
inline constexpr std::string_view kTileWallpaperValue = "TileWallpaper";
inline constexpr std::string_view kWallpaperStyleValue = "WallpaperStyle";

// The rendered wallpaper, in the program folder; an 8.3 name already.
inline constexpr std::string_view kWorkFileName = "@MV!BACK.BMP";

}  // namespace mvpr

#endif
