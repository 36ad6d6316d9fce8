// TFormSelect: settings in the registry and the randomizer's Run entry.
#include <exception>

#include "app/FormSelect.h"
#include "system/SettingsKeys.h"
#include "app/Settings_win.h"
#include "win/Menus.h"
#include "win/MessageBox.h"

namespace mvpr {

namespace {
// The four preview entries are one group; each stands for a preview mode.
constexpr struct {
    SelectCmd entry;
    int mode;
} kPreviewEntries[] = {{SelectCmd::PreviewNone1, 0},
                       {SelectCmd::PreviewChooseOnly1, 10},
                       {SelectCmd::PreviewSelectedOnly1, 20},
                       {SelectCmd::PreviewBoth1, 30}};

bool Checked(HWND checkBox) {
    return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
}  // namespace

void TFormSelect::LoadSettings() {
    auto key = OpenSettingsKey(places_);
    // The first run backs up the machine's screens. A failure there is reported and the start goes
    // on, so the lists still load and a later save cannot replace the list file with empty ones;
    // the next start tries the backup again.
    if (!FilesBackedUp(key ? &*key : nullptr)) {
        try {
            BackupOriginalScreens();
        } catch (const std::exception& e) {
            win::ReportUnhandled(hwnd(), e.what());
        }
    }
    const Settings stored = ReadSettings(key ? &*key : nullptr, places_.programDir);
    key.reset();

    previewMode_ = stored.previewMode;  // a mode of no entry stays, with the check marks as they are
    for (const auto& p : kPreviewEntries)
        if (p.mode == stored.previewMode) ChangePreviewOn(p.entry);

    // The option is what the Run entry says; a start that finds it off makes sure it is off.
    HWND check = Control(SelectCtl::chkbStartUpRun);
    const bool runOn = NamesRandomizer(ReadRunEntry(places_));
    if (runOn != Checked(check)) {
        SendMessageA(check, BM_SETCHECK, runOn ? BST_CHECKED : BST_UNCHECKED, 0);
        Runrandomizeratstartup1Click(check);
    }
    win::CheckMenuItemById(MainMenu1(), IDM_RUNRANDOMIZERATSTARTUP1, Checked(check));

    win::CheckMenuItemById(MainMenu1(), IDM_ERRORREPORTON1, stored.reportAddErrors);
    win::CheckMenuItemById(MainMenu1(), IDM_PLAYANIMATIONS1, stored.playAnimations);
    folders_ = stored.folders;
    current_ = stored.category;
    // The folder list's change stores the folder for the category just restored.
    if (!browser_.ApplyFilePath(CategoryFolder(ScreenCategory::Start)))
        browser_.ApplyFilePath(places_.programDir);
    // Only settings read in full are written back at the close.
    settingsLoaded_ = true;
}

void TFormSelect::FormClose() {
    if (uninstalled_ || !settingsLoaded_) return;  // deleted settings stay deleted
    Settings s;
    s.previewMode = previewMode_;
    s.folders = folders_;
    s.category = current_;
    s.reportAddErrors = ReportAddErrors();
    s.playAnimations = PlayAnimations();
    // Reported, but the window still closes: the user must be able to leave.
    if (const auto failed = WriteSettings(places_, s)) win::ReportUnhandled(hwnd(), FailedToSetData(*failed));
}

bool TFormSelect::ReportAddErrors() const {
    return win::IsMenuItemCheckedById(MainMenu1(), IDM_ERRORREPORTON1);
}

void TFormSelect::ChangePreviewOn(SelectCmd sender) {
    // The panel shows the new mode at its next update.
    for (const auto& p : kPreviewEntries) {
        win::CheckMenuItemById(MainMenu1(), static_cast<UINT>(Id(p.entry)), p.entry == sender);
        if (p.entry == sender) previewMode_ = p.mode;
    }
}

bool TFormSelect::PlayAnimations() const {
    return win::IsMenuItemCheckedById(MainMenu1(), IDM_PLAYANIMATIONS1);
}

void TFormSelect::PlayAnimations1Click() {
    win::CheckMenuItemById(MainMenu1(), IDM_PLAYANIMATIONS1, !PlayAnimations());
    UpdatePreviewAnimation();
}

void TFormSelect::ChangeErrorReport() {
    win::CheckMenuItemById(MainMenu1(), IDM_ERRORREPORTON1, !ReportAddErrors());
}

void TFormSelect::Runrandomizeratstartup1Click(HWND sender) {
    HWND check = Control(SelectCtl::chkbStartUpRun);
    if (sender != check) {
        // The menu entry toggles the check box, whose own click then does the rest, once.
        SendMessageA(check, BM_SETCHECK, Checked(check) ? BST_UNCHECKED : BST_CHECKED, 0);
        Runrandomizeratstartup1Click(check);
        return;
    }
    win::CheckMenuItemById(MainMenu1(), IDM_RUNRANDOMIZERATSTARTUP1, Checked(check));
    SetRunEntry(win::IsMenuItemCheckedById(MainMenu1(), IDM_RUNRANDOMIZERATSTARTUP1));
}

bool TFormSelect::SetRunEntry(bool on) {
    if (WriteRunEntry(places_, on ? RandomizerRunEntry(places_.programDir) : std::string())) return true;
    win::ReportUnhandled(hwnd(), FailedToSetData(kRunValue));
    return false;
}

}  // namespace mvpr
