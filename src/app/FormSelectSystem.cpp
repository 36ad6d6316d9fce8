// TFormSelect: the machine's original screens, restore and uninstall.
#include <stdexcept>

#include "app/FormSelect.h"
#include "app/Settings.h"
#include "app/Settings_win.h"
#include "system/SettingsKeys.h"
#include "system/OriginalScreens_win.h"
#include "system/ScreenTargets.h"
#include "system/SystemTexts.h"
#include "win/MessageBox.h"

namespace mvpr {

void TFormSelect::BackupOriginalScreens() {
    const Places& places = places_;
    // The very first start, before anything is recorded, turns the randomizer on.
    if (!DesktopRecorded(places) && !WriteRunEntry(places, RandomizerRunEntry(places.programDir)))
        throw std::runtime_error(FailedToSetData(kRunValue));
    const BackupReport report = BackUpOriginals(places);
    if (!report.screens.empty())
        win::ShowMessage(hwnd(), win::MsgKind::Error, NotBackedUpMessage(report.screens),
                         win::MsgButtons::Ok);
    // A record value that cannot be written stops the backup; the general error handler says which.
    if (report.failedValue) throw std::runtime_error(FailedToSetData(*report.failedValue));
}

RestoreReport TFormSelect::RestoreOriginalScreens() {
    const RestoreReport report = RestoreOriginals(places_);
    if (!report.screens.empty())
        win::ShowMessage(hwnd(), win::MsgKind::Error, NotRestoredMessage(report.screens),
                         win::MsgButtons::Ok);
    if (report.failedValue) throw std::runtime_error(FailedToSetData(*report.failedValue));
    return report;
}

void TFormSelect::OriginalScreens1Click() {
    if (RestoreOriginalScreens().putBack)
        notice_.Show(ButtonOf(current_).hwnd(), std::string(kRestoredNotice));
}

void TFormSelect::Uninstall2Click() {
    if (win::ShowMessage(hwnd(), win::MsgKind::Warning, kUninstallQuestion, win::MsgButtons::YesNo) ==
        win::MsgAnswer::Yes) {
        try {
            // An original that could not be put back lives only in its backup: the record that
            // names it stays, and so does everything else.
            if (!RestoreOriginalScreens().recordNeeded) {
                if (const auto failed = RemoveRegistration(places_)) {
                    win::ShowMessage(hwnd(), win::MsgKind::Error, UninstallFailedMessage(*failed),
                                     win::MsgButtons::Ok);
                    uninstalled_ = false;
                } else {
                    win::ShowMessage(hwnd(), win::MsgKind::Information, kUninstallDone, win::MsgButtons::Ok);
                    uninstalled_ = true;
                }
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
