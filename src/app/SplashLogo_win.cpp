// The logo of the splash window: a night sky over a stylised old monitor that shows a rising
// sun, with the program's name beside it. Drawn with GDI so no picture file ships for it.
#include "app/FormOpstartScherm.h"

namespace mvpr {

namespace {
void VerticalGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
    const int h = r.bottom - r.top;
    for (int y = 0; y < h; ++y) {
        auto mix = [&](int a, int b) { return a + (b - a) * y / (h > 1 ? h - 1 : 1); };
        const COLORREF c = RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                               mix(GetBValue(top), GetBValue(bottom)));
        win::UniqueBrush b(CreateSolidBrush(c));
        RECT line{r.left, r.top + y, r.right, r.top + y + 1};
        FillRect(dc, &line, b.get());
    }
}

// Draws a line of text at the largest size up to maxHeight that fits the width: the faces differ
// from system to system, and the logo must never be cut.
void Text(HDC dc, const char* text, int x, int y, int maxHeight, int width, int weight, bool italic,
          COLORREF color, const char* face) {
    for (int height = maxHeight; height >= 6; --height) {
        win::UniqueFont f(CreateFontA(-height, 0, 0, 0, weight, italic, FALSE, FALSE, ANSI_CHARSET,
                                      OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                      VARIABLE_PITCH | FF_SWISS, face));
        win::Selected s(dc, f.get());
        SIZE size{};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        if (size.cx > width && height > 6) continue;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, color);
        TextOutA(dc, x, y, text, lstrlenA(text));
        return;
    }
}
}  // namespace

HBITMAP DrawLogo(int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, height);
    win::UniqueDc dc(CreateCompatibleDC(screen));
    ReleaseDC(nullptr, screen);
    if (!bmp || !dc) return bmp;
    win::Selected keep(dc.get(), bmp);
    const RECT all{0, 0, width, height};
    VerticalGradient(dc.get(), all, RGB(10, 16, 64), RGB(52, 84, 160));
    // a few stars
    const POINT stars[] = {{12, 8}, {40, 20}, {70, 6}, {150, 12}, {190, 26}, {120, 30}, {200, 6}, {98, 14}};
    for (const auto& s : stars) SetPixel(dc.get(), s.x, s.y, RGB(230, 230, 255));

    // The monitor: a beige case with a screen showing the sun over the sea.
    const int mx = 10, my = 26, mw = 62, mh = 50;
    {
        win::UniqueBrush caseBrush(CreateSolidBrush(RGB(214, 206, 186)));
        win::Unique<HPEN, &win::CloseGdi> pen(CreatePen(PS_SOLID, 1, RGB(90, 84, 70)));
        win::Selected sb(dc.get(), caseBrush.get()), sp(dc.get(), pen.get());
        RoundRect(dc.get(), mx, my, mx + mw, my + mh, 6, 6);
        Rectangle(dc.get(), mx + 22, my + mh, mx + mw - 22, my + mh + 6);
        Rectangle(dc.get(), mx + 12, my + mh + 6, mx + mw - 12, my + mh + 10);
    }
    RECT scr{mx + 6, my + 5, mx + mw - 6, my + mh - 8};
    VerticalGradient(dc.get(), RECT{scr.left, scr.top, scr.right, (scr.top + scr.bottom) / 2 + 4},
                     RGB(255, 120, 40), RGB(255, 210, 110));
    VerticalGradient(dc.get(), RECT{scr.left, (scr.top + scr.bottom) / 2 + 4, scr.right, scr.bottom},
                     RGB(20, 70, 140), RGB(10, 30, 80));
    {
        HRGN clip = CreateRectRgn(scr.left, scr.top, scr.right, (scr.top + scr.bottom) / 2 + 4);
        SelectClipRgn(dc.get(), clip);
        win::UniqueBrush sun(CreateSolidBrush(RGB(255, 244, 170)));
        win::Selected sb(dc.get(), sun.get());
        win::Selected sp(dc.get(), GetStockObject(NULL_PEN));
        const int cx = (scr.left + scr.right) / 2, cy = (scr.top + scr.bottom) / 2 + 6;
        Ellipse(dc.get(), cx - 10, cy - 10, cx + 10, cy + 10);
        SelectClipRgn(dc.get(), nullptr);
        DeleteObject(clip);
    }
    // the sun's glitter on the water
    for (int i = 0; i < 4; ++i) {
        const int y = (scr.top + scr.bottom) / 2 + 7 + i * 3;
        const int half = 8 - i * 2;
        win::UniqueBrush glint(CreateSolidBrush(RGB(255, 220, 140)));
        RECT g{(scr.left + scr.right) / 2 - half, y, (scr.left + scr.right) / 2 + half, y + 1};
        FillRect(dc.get(), &g, glint.get());
    }
    FrameRect(dc.get(), &scr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    const int textLeft = 80, textWidth = width - textLeft - 4;
    Text(dc.get(), "Morvellan", textLeft + 2, 24, 26, textWidth - 2, FW_BOLD, TRUE, RGB(20, 20, 40),
         "Tahoma");
    Text(dc.get(), "Morvellan", textLeft, 22, 26, textWidth - 2, FW_BOLD, TRUE, RGB(255, 214, 90), "Tahoma");
    Text(dc.get(), "S E L E C T O R", textLeft + 3, 54, 12, textWidth - 3, FW_BOLD, FALSE, RGB(220, 230, 255),
         "Tahoma");
    Text(dc.get(), "screens & wallpaper", textLeft + 2, 74, 11, textWidth - 2, FW_NORMAL, FALSE,
         RGB(170, 190, 230), "Tahoma");
    return bmp;
}

}  // namespace mvpr
