#include "win/Fonts.h"

#include <utility>

#include "win/Handles.h"

namespace mvpr::win {

namespace {
int& DpiSeam() {
    static int dpi = 0;
    return dpi;
}
}  // namespace

int ScreenDpi() {
    if (DpiSeam() > 0) return DpiSeam();
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int SetScreenDpiSeam(int dpi) {
    return std::exchange(DpiSeam(), dpi);
}

int Scaled(int pixelsAt96) {
    return MulDiv(pixelsAt96, ScreenDpi(), 96);
}

HFONT CreateUiFont(bool bold) {
    const int height = -MulDiv(8, ScreenDpi(), 72);
    return CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       "MS Sans Serif");
}

int LineHeight(HFONT font) {
    WindowDc dc(nullptr);
    Selected keep(dc.get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.get(), &tm);
    return tm.tmHeight;
}

}  // namespace mvpr::win
