#include "system/Wallpaper_win.h"

#include <cstring>
#include <optional>
#include <string>

#include "imaging/StyleRenderer.h"
#include "lists/DisplayStyle.h"
#include "system/DesktopKeys.h"
#include "system/OriginalScreens_win.h"
#include "system/SystemTexts.h"
#include "win/Files.h"
#include "win/FolderPath.h"
#include "win/Handles.h"
#include "win/Registry.h"

namespace mvpr {

namespace {

// The path buffer SystemParametersInfoA gets holds 260 characters with the terminator.
constexpr std::size_t kMaxWallpaperPath = MAX_PATH - 1;

// The work file's path as the system can take it: the folder's short form when the long path
// does not fit, nothing when neither does.
std::optional<std::string> WorkFilePath(const std::string& programDir) {
    std::string path = programDir + std::string(kWorkFileName);
    if (path.size() <= kMaxWallpaperPath) return path;
    char shortDir[MAX_PATH * 2] = {};
    const DWORD n = GetShortPathNameA(programDir.c_str(), shortDir, sizeof shortDir);
    if (n == 0 || n >= sizeof shortDir) return std::nullopt;
    path = WithTrailingBackslash(std::string(shortDir, n)) + std::string(kWorkFileName);
    if (path.size() > kMaxWallpaperPath) return std::nullopt;
    return path;
}

// The desktop values of the new wallpaper when the desktop key exists; the name of the first
// value that could not be written.
std::optional<std::string> WriteDesktopValues(const std::string& path, std::string_view styleText,
                                              const Places& places) {
    LONG error = ERROR_SUCCESS;
    auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, places.DesktopKey(), false, &error);
    if (!key) {
        if (error == ERROR_FILE_NOT_FOUND) return std::nullopt;
        return std::string(kWallpaperValue);
    }
    if (!key->WriteString(kWallpaperValue, path)) return std::string(kWallpaperValue);
    if (!key->WriteString(kTileWallpaperValue,
                          styleText == DisplayStyleText(DisplayStyle::Tiled) ? "1" : "0"))
        return std::string(kTileWallpaperValue);
    if (key->HasValue(kWallpaperStyleValue) &&
        !key->WriteString(kWallpaperStyleValue,
                          styleText == DisplayStyleText(DisplayStyle::Stretched) ? "2" : "0"))
        return std::string(kWallpaperStyleValue);
    return std::nullopt;
}

}  // namespace

int DisplayBitsPerPixel() {
    win::WindowDc screen(nullptr);
    if (!screen.get()) return 0;
    return GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
}

WallpaperOutcome SetCurrentWallpaper(const Picture& workPixels, std::string_view styleText,
                                     const Places& places) {
    // The machine's own desktop values are recorded before the first wallpaper goes over them.
    if (const auto failed = RecordDesktopValues(places)) return {false, FailedToSetData(*failed)};
    const std::string& programDir = places.programDir;
    const auto path = WorkFilePath(programDir);
    if (!path)
        return {false, "The path of the program folder is too long for a wallpaper file:\n\r" + programDir};
    // Written from the rendered rows in large pieces: no copy of the whole file in memory.
    const int bits = DisplayBitsPerPixel();
    const auto written = win::ReplaceFileWith(*path, [&](const win::ByteSink& write) {
        return WriteWorkFile(workPixels, bits, [&write](std::span<const std::uint8_t> piece) {
            return write(std::string_view(reinterpret_cast<const char*>(piece.data()), piece.size()));
        });
    });
    if (written.status != win::ReplaceStatus::Done) return {false, win::SystemErrorText(written.error)};

    if (const auto failed = WriteDesktopValues(*path, styleText, places))
        return {false, FailedToSetData(*failed)};
    char buffer[MAX_PATH] = {};
    std::memcpy(buffer, path->data(), path->size());
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, buffer, 0);
    return {true, {}};
}

WallpaperOutcome SetPictureAsWallpaper(const Picture& source, DisplayStyle style, int screenWidth,
                                       int screenHeight, const Places& places) {
    // Made at the file's depth where the style allows it, so that writing copies its rows.
    const auto work =
        RenderWorkFile(source, style, screenWidth, screenHeight, WorkFileBits(DisplayBitsPerPixel()));
    if (!work) return {false, {}, false};
    return SetCurrentWallpaper(*work, DisplayStyleText(style), places);
}

}  // namespace mvpr
