// TFormSelect: installing the previewed picture as the current screen or wallpaper.
#include "app/FormSelect.h"
#include "app/PreviewTexts.h"

namespace mvpr {

void TFormSelect::SetasCurrentClick() {
    if (PreviewCaption() == kNoFileSelected) return;
    if (current_ == ScreenCategory::Wall)
        SetWallpaperFromPreview();
    else
        SetCurrentScreen();
}

void TFormSelect::SetCurrentScreen() {}

}  // namespace mvpr
