#ifndef MVPR_SYSTEM_SETTINGSKEYS_H
#define MVPR_SYSTEM_SETTINGSKEYS_H

#include <array>
#include <string_view>

namespace mvpr {

// Everything lies under HKEY_CURRENT_USER; tests put a throwaway prefix before each path.
inline constexpr std::string_view kTolvaneKey = "SoftWare\\Tolvane";
inline constexpr std::string_view kMorvellanSubkey = "Morvellan";
// The settings key, kTolvaneKey\kMorvellanSubkey: each section a subkey, each entry a string value.
inline constexpr std::string_view kSettingsKey = "SoftWare\\Tolvane\\Morvellan";
static_assert(kSettingsKey.substr(0, kTolvaneKey.size()) == kTolvaneKey &&
              kSettingsKey.substr(kTolvaneKey.size() + 1) == kMorvellanSubkey);

// Section of the options and remembered state. The four folder values are named by the
// categories' folderValue (lists/ScreenCategory.h).
inline constexpr std::string_view kSelectorSection = "Morvellan Selector";
inline constexpr std::string_view kPreviewShowValue = "PreviewShow";
inline constexpr std::string_view kSelectedScreenButtonValue = "Selected Screen Button";
inline constexpr std::string_view kReportAddErrorsValue = "Report Add Errors";
inline constexpr std::string_view kPlayAnimationsValue = "Play Animations";

// Section of the first run's backup of the machine's own screens and wallpaper settings.
inline constexpr std::string_view kOriginalInfoSection = "Original Info";
inline constexpr std::string_view kFilesBackedUpValue = "FilesBackedUp";
inline constexpr std::string_view kStartScreenValue = "StartScreen";
inline constexpr std::string_view kWaitScreenValue = "WaitScreen";
inline constexpr std::string_view kShutScreenValue = "ShutScreen";
inline constexpr std::string_view kSavedWallPaperValue = "WallPaper";
inline constexpr std::string_view kSavedTileWallpaperValue = "TileWallpaper";
inline constexpr std::string_view kSavedWallpaperStyleValue = "WallpaperStyle";

// The randomizer's entry among the programs Windows starts at log-on.
inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValue = "Morvellan";
// The randomizer, in the program folder.
inline constexpr std::string_view kRandomizerExe = "MVRandom.exe";

// The randomizer's last pick per category (the entry's list-file line), in kCategories order: a
// subkey of the settings key, so uninstalling removes it with the rest.
inline constexpr std::string_view kRandomizerKey = "SoftWare\\Tolvane\\Morvellan\\Randomizer";
inline constexpr std::array<std::string_view, 4> kLastPickValues{"Last Start", "Last Wait", "Last Shut",
                                                                 "Last Wallpaper"};
static_assert(kRandomizerKey.starts_with(kTolvaneKey) &&
              kRandomizerKey.substr(kTolvaneKey.size() + 1).starts_with(kMorvellanSubkey));

}  // namespace mvpr

#endif
