// TFormSelect: installing the previewed picture as the current screen or wallpaper.
#include "app/FormSelect.h"
#include "app/PreviewTexts.h"
#include "system/ProgramInfo_win.h"
#include "imaging/ScreenRule.h"
#include "system/InstallScreen_win.h"
#include "system/ScreenTargets.h"
#include "system/SystemTexts.h"
#include "win/MessageBox.h"

namespace mvpr {

std::string TFormSelect::WindowsDir() const {
    return config_.windowsDir ? *config_.windowsDir : GetWindowsDir();
}

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
    // The questions judge the preview's picture: a file it could not be read from would pass as
    // "0 x 0" and go over the machine's screen; nor is an empty file a screen.
    if (!PreviewDecoded() || previewPicture_.Empty()) {
        win::ShowMessage(hwnd(), win::MsgKind::Error, NotABitmapMessage(source), win::MsgButtons::Ok);
        return;
    }
    const std::string target = ScreenTargetPath(current_, WindowsDir());
    const auto cancelled = [this](const std::string& question) {
        return win::ShowMessage(hwnd(), win::MsgKind::Warning, question, win::MsgButtons::YesNo) !=
               win::MsgAnswer::No;
    };
    const int width = previewPicture_.Width(), height = previewPicture_.Height();
    if (!HasScreenSize(width, height) && cancelled(InstallSizeQuestion(width, height))) return;
    if (previewPicture_.Format() != PixelFormat::Bits8 &&
        cancelled(InstallDepthQuestion(previewPicture_.Format())))
        return;
    const InstallOutcome outcome = InstallScreenFile(source, target);
    if (!outcome.copied)
        win::ShowMessage(hwnd(), win::MsgKind::Error, CopyFailedMessage(target, outcome.error),
                         win::MsgButtons::Ok);
    else
        notice_.Show(ButtonOf(current_).hwnd(), InstalledNotice(target));
}

}  // namespace mvpr
