#ifndef MVPR_APP_SETTINGSKEYS_H
#define MVPR_APP_SETTINGSKEYS_H

#include <array>
#include <string_view>

namespace mvpr {

// Everything lies under HKEY_CURRENT_USER.
inline constexpr std::string_view kTolvaneKey = "SoftWare\\Tolvane";
inline constexpr std::string_view kMorvellanSubkey = "Morvellan";
inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValue = "Morvellan";

// The backup record of the machine's original screens and wallpaper settings.
inline constexpr std::string_view kSettingsKey = "Software\\Tolvane\\Morvellan";
inline constexpr std::string_view kOriginalInfoSection = "Original Info";
inline constexpr std::string_view kFilesBackedUpValue = "FilesBackedUp";
inline constexpr std::string_view kStartScreenValue = "StartScreen";
inline constexpr std::string_view kWaitScreenValue = "WaitScreen";
inline constexpr std::string_view kShutScreenValue = "ShutScreen";
inline constexpr std::string_view kSavedWallPaperValue = "WallPaper";
inline constexpr std::string_view kSavedTileWallpaperValue = "TileWallpaper";
inline constexpr std::string_view kSavedWallpaperStyleValue = "WallpaperStyle";
inline constexpr std::string_view kDesktopKey = "Control Panel\\desktop";
inline constexpr std::string_view kRandomizerFile = "MVRandom.exe";

// The randomizer's last pick per category (the entry's list-file line), in kCategories order: a
// subkey of the settings key, so uninstalling removes it with the rest.
inline constexpr std::string_view kRandomizerKey = "SoftWare\\Tolvane\\Morvellan\\Randomizer";
inline constexpr std::array<std::string_view, 4> kLastPickValues{"Last Start", "Last Wait", "Last Shut",
                                                                 "Last Wallpaper"};
static_assert(kRandomizerKey.starts_with(kTolvaneKey) &&
              kRandomizerKey.substr(kTolvaneKey.size() + 1).starts_with(kMorvellanSubkey));

}  // namespace mvpr

#endif
