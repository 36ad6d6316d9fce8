// TFormSelect: the machine's original screens, restore and uninstall.
#include "app/FormSelect.h"
#include "app/SettingsKeys.h"
#include "system/SystemTexts.h"
#include "win/MessageBox.h"
#include "win/Registry.h"

namespace mvpr {

void TFormSelect::BackupOriginalScreens() {}

void TFormSelect::RestoreOriginalScreens() {}

void TFormSelect::OriginalScreens1Click() {
    RestoreOriginalScreens();
}

void TFormSelect::Uninstall2Click() {
    if (win::ShowMessage(hwnd(), win::MsgKind::Warning, kUninstallQuestion, win::MsgButtons::YesNo) ==
        win::MsgAnswer::Yes) {
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
    }
    if (commandLineUninstall_) terminated_ = true;
}

}  // namespace mvpr
