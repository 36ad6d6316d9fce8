// TFormSelect: setting the previewed picture as the wallpaper.
#include "app/FormSelect.h"
#include "app/FormPreview.h"

namespace mvpr {

void TFormSelect::SetWallpaperFromPreview() {
    // Rendered here as the full-screen window would, whether that window is shown or not.
    auto source = PreviewSource(*this);
    if (!source) return;
    const DisplayStyle style = ChosenStyle(*this);
    auto work = RenderWorkFile(*source, style, ScreenWidth(), ScreenHeight());
    if (!work) {
        win::ReportUnhandled(hwnd(), win::kOutOfMemory);
        return;
    }
    SetWallpaperFrom(*this, hwnd(), *work, style);
}

}  // namespace mvpr
