// TFormSelect: installing the previewed picture as the current screen or wallpaper.
#include "app/FormSelect.h"
#include "app/PreviewTexts.h"
#include "system/ProgramInfo_win.h"
#include "system/InstallScreen_win.h"
#include "system/OriginalScreens_win.h"
#include "system/ScreenFile_win.h"
#include "system/ScreenTargets.h"
#include "system/SystemTexts.h"
#include "win/Files.h"
#include "win/MessageBox.h"

namespace mvpr {

void TFormSelect::SetasCurrentClick() {
    if (PreviewCaption() == kNoFileSelected) return;
    if (current_ == ScreenCategory::Wall)
        SetWallpaperFromPreview();
    else
        SetCurrentScreen();
}

void TFormSelect::SetCurrentScreen() {
    const std::string source = PreviewCaption();
    if (!IsScreenCategory(current_) || source == kNoFileSelected) return;
    const std::string target = ScreenTargetPath(current_, WindowsDir());
    const auto refuse = [this](const std::string& text) {
        win::ShowMessage(hwnd(), win::MsgKind::Error, text, win::MsgButtons::Ok);
    };
    // The file is judged by the bitmap reader on the very bytes that will be copied, whatever the
    // preview shows (a wallpaper's decoder may have read it). Nor is an empty file a screen.
    const ScreenFile file = ReadScreenFile(source);
    if (file.error) return refuse(CopyFailedMessage(target, win::SystemErrorText(file.error)));
    const ScreenVerdict& judged = file.verdict;
    if (!judged.readable || judged.Empty()) return refuse(NotABitmapMessage(source));
    const auto cancelled = [this](const std::string& question) {
        return win::ShowMessage(hwnd(), win::MsgKind::Warning, question, win::MsgButtons::YesNo) !=
               win::MsgAnswer::No;
    };
    if (judged.WrongSize() && cancelled(InstallSizeQuestion(judged.width, judged.height))) return;
    if (judged.WrongDepth() && cancelled(InstallDepthQuestion(judged.format))) return;
    // The machine's own screen is backed up before anything goes over it.
    const BackupReport backup = BackUpScreen(places_, current_);
    if (!backup.screens.empty()) return refuse(InstallNotBackedUpMessage(backup.screens.front()));
    if (backup.failedValue) return refuse(FailedToSetData(*backup.failedValue));
    const InstallOutcome outcome = WriteScreenFile(file.bytes, target);
    if (!outcome.copied) return refuse(CopyFailedMessage(target, outcome.error));
    notice_.Show(ButtonOf(current_).hwnd(), InstalledNotice(target));
}

}  // namespace mvpr
