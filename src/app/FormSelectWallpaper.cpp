// TFormSelect: setting the previewed picture as the wallpaper.
#include "app/FormSelect.h"
#include "app/FormPreview.h"
#include "system/Wallpaper_win.h"

namespace mvpr {

void TFormSelect::SetWallpaperFromPreview() {
    // Rendered here as the full-screen window would, whether that window is shown or not.
    auto source = PreviewSource(*this);
    if (!source) return;
    const DisplayStyle style = ChosenStyle(*this);
    const WallpaperOutcome outcome =
        SetPictureAsWallpaper(*source, style, ScreenWidth(), ScreenHeight(), ProgramPlaces());
    if (!outcome.rendered)
        win::ReportUnhandled(hwnd(), win::kOutOfMemory);
    else if (!outcome.written)
        win::ReportUnhandled(hwnd(), outcome.error);
}

}  // namespace mvpr
