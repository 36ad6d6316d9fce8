// TFormSelect: the machine's original screens, restore and uninstall.
#include <stdexcept>

#include "app/FormSelect.h"
#include "app/Settings.h"
#include "app/Settings_win.h"
#include "system/SettingsKeys.h"
#include "system/DesktopKeys.h"
#include "system/InstallScreen_win.h"
#include "system/ScreenTargets.h"
#include "system/SystemTexts.h"
#include "win/Files.h"
#include "win/MessageBox.h"
#include "win/Registry.h"

namespace mvpr {

namespace {
struct RecordedScreen {
    ScreenCategory category;
    std::string_view entry;
};
// In the order start-up, waiting, shutdown.
constexpr RecordedScreen kRecordedScreens[] = {{ScreenCategory::Start, kStartScreenValue},
                                               {ScreenCategory::Wait, kWaitScreenValue},
                                               {ScreenCategory::Shut, kShutScreenValue}};

// A write that fails stops the command; the general error handler shows why.
void WriteOrFail(win::RegistryKey& key, std::string_view name, std::string_view value) {
    if (!key.WriteString(name, value)) throw std::runtime_error(FailedToSetData(name));
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
}  // namespace

void TFormSelect::BackupOriginalScreens() {
    const std::string prefix = config_.registryPrefix;
    std::string wallPaper, tile, style(kNoBackup);
    if (auto desktop = win::RegistryKey::Open(HKEY_CURRENT_USER, prefix + std::string(kDesktopKey), true)) {
        wallPaper = desktop->ReadString(kWallpaperValue).value_or("");
        tile = desktop->ReadString(kTileWallpaperValue).value_or("");
        if (desktop->HasValue(kWallpaperStyleValue))
            style = desktop->ReadString(kWallpaperStyleValue).value_or("");
    }

    if (!WriteRunEntry(prefix, RandomizerRunEntry(programDir_)))
        throw std::runtime_error(FailedToSetData(kRunValue));

    // "(none)" means the machine had no such screen, and a restore then deletes the file: so it is
    // recorded only then. A taken backup name gives way to a numbered one; a copy that fails
    // still records where the backup should be, so a restore finds nothing and leaves the screen.
    const std::string windowsDir = WindowsDir();
    std::string recorded[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string system = ScreenTargetPath(kRecordedScreens[i].category, windowsDir);
        if (!win::IsExistingFile(system)) {
            recorded[i] = kNoBackup;
            continue;
        }
        recorded[i] = FreeBackupPath(kRecordedScreens[i].category, programDir_, &Exists);
        CopyToNewFile(system, recorded[i]);
    }

    // A record key that cannot be made is skipped, as every write into a settings section is.
    auto record = win::RegistryKey::Open(
        HKEY_CURRENT_USER, prefix + std::string(kSettingsKey) + "\\" + std::string(kOriginalInfoSection),
        true);
    if (!record) return;
    WriteOrFail(*record, kFilesBackedUpValue, "1");
    for (std::size_t i = 0; i < 3; ++i) WriteOrFail(*record, kRecordedScreens[i].entry, recorded[i]);
    WriteOrFail(*record, kSavedWallPaperValue, wallPaper);
    WriteOrFail(*record, kSavedTileWallpaperValue, tile);
    WriteOrFail(*record, kSavedWallpaperStyleValue, style);
}

bool TFormSelect::RestoreOriginalScreens() {
    const std::string prefix = config_.registryPrefix;
    if (!win::RegistryKey::Open(HKEY_CURRENT_USER, prefix + std::string(kSettingsKey), true)) return false;
    auto record = win::RegistryKey::Open(
        HKEY_CURRENT_USER, prefix + std::string(kSettingsKey) + "\\" + std::string(kOriginalInfoSection),
        false);
    if (!record || !YesNoOr(record->ReadString(kFilesBackedUpValue), false)) return false;
    bool putBack = false;

    const std::string style = record->ReadString(kSavedWallpaperStyleValue).value_or("");
    if (auto desktop = win::RegistryKey::Open(HKEY_CURRENT_USER, prefix + std::string(kDesktopKey), false)) {
        WriteOrFail(*desktop, kWallpaperValue, record->ReadString(kSavedWallPaperValue).value_or(""));
        WriteOrFail(*desktop, kTileWallpaperValue, record->ReadString(kSavedTileWallpaperValue).value_or(""));
        if (style != kNoBackup) WriteOrFail(*desktop, kWallpaperStyleValue, style);
        putBack = true;
    }

    const std::string windowsDir = WindowsDir();
    for (const auto& screen : kRecordedScreens) {
        const std::string system = ScreenTargetPath(screen.category, windowsDir);
        // An entry that is missing tells nothing about the machine: its screen stays.
        const std::optional<std::string> backup = record->ReadString(screen.entry);
        if (!backup) continue;
        if (*backup == kNoBackup) {
            if (DeleteFileA(system.c_str())) putBack = true;  // the machine had none
        } else if (lstrcmpiA(backup->c_str(), system.c_str()) != 0 &&
                   InstallScreenFile(*backup, system).copied) {
            DeleteFileA(backup->c_str());
            putBack = true;
        }
    }
    return putBack;
}

void TFormSelect::OriginalScreens1Click() {
    if (RestoreOriginalScreens()) notice_.Show(ButtonOf(current_).hwnd(), std::string(kRestoredNotice));
}

void TFormSelect::Uninstall2Click() {
    if (win::ShowMessage(hwnd(), win::MsgKind::Warning, kUninstallQuestion, win::MsgButtons::YesNo) ==
        win::MsgAnswer::Yes) {
        try {
            RestoreOriginalScreens();
            bool removed = true;
            const std::string prefix = config_.registryPrefix;
            if (auto tolvane =
                    win::RegistryKey::Open(HKEY_CURRENT_USER, prefix + std::string(kTolvaneKey), false))
                removed = tolvane->DeleteTree(kMorvellanSubkey);
            if (auto run = win::RegistryKey::Open(HKEY_CURRENT_USER, prefix + std::string(kRunKey), false))
                removed = run->DeleteValue(kRunValue) && removed;
            if (removed) {
                win::ShowMessage(hwnd(), win::MsgKind::Information, kUninstallDone, win::MsgButtons::Ok);
                uninstalled_ = true;
            } else {
                win::ShowMessage(hwnd(), win::MsgKind::Error, kUninstallFailed, win::MsgButtons::Ok);
                uninstalled_ = false;
            }
        } catch (const std::exception& e) {
            // A failed restore ends the command before anything is removed. Reported here, as the
            // general handler would: in uninstall mode no window procedure is around this call.
            win::ReportUnhandled(hwnd(), e.what());
        }
    }
    if (commandLineUninstall_) terminated_ = true;
}

}  // namespace mvpr
