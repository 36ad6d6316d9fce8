// TFormSelect: installing the previewed picture as the current screen or wallpaper.
#include "app/FormSelect.h"
#include "app/PreviewTexts.h"
#include "system/ProgramInfo_win.h"
#include "imaging/ScreenRule.h"
#include "system/InstallScreen_win.h"
#include "system/OriginalScreens_win.h"
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
    // preview shows (a wallpaper's decoder may have read it): a GIF or PNG is no screen. Nor is an
    // empty file.
    const ScreenSource file = ReadScreenSource(source);
    if (file.error) return refuse(CopyFailedMessage(target, win::SystemErrorText(file.error)));
    const Picture& picture = file.decoded.picture;
    if (!file.decoded.Ok() || picture.Empty()) return refuse(NotABitmapMessage(source));
    const auto cancelled = [this](const std::string& question) {
        return win::ShowMessage(hwnd(), win::MsgKind::Warning, question, win::MsgButtons::YesNo) !=
               win::MsgAnswer::No;
    };
    const int width = picture.Width(), height = picture.Height();
    if (!HasScreenSize(width, height) && cancelled(InstallSizeQuestion(width, height))) return;
    if (picture.Format() != PixelFormat::Bits8 && cancelled(InstallDepthQuestion(picture.Format()))) return;
    // The machine's own screen is backed up before anything goes over it.
    const BackupReport backup = BackUpScreen(places_, current_);
    if (!backup.screens.empty()) return refuse(InstallNotBackedUpMessage(backup.screens.front()));
    if (backup.failedValue) return refuse(FailedToSetData(*backup.failedValue));
    const InstallOutcome outcome = WriteScreenFile(file.bytes, target);
    if (!outcome.copied) return refuse(CopyFailedMessage(target, outcome.error));
    notice_.Show(ButtonOf(current_).hwnd(), InstalledNotice(target));
}

}  // namespace mvpr
