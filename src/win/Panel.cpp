#include "win/Panel.h"

#include "win/Handles.h"

namespace mvpr::win {

namespace {
void Frame3D(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        UniqueBrush tlBrush(CreateSolidBrush(topLeft)), brBrush(CreateSolidBrush(bottomRight));
        HBRUSH tl = tlBrush.get(), br = brBrush.get();
        RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
        RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
        FillRect(dc, &top, tl);
        FillRect(dc, &left, tl);
        FillRect(dc, &bottom, br);
        FillRect(dc, &right, br);
        InflateRect(&r, -1, -1);
    }
}

void DrawBevel(HDC dc, RECT& r, Bevel bevel, int width) {
    if (bevel == Bevel::None) return;
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
    if (bevel == Bevel::Raised)
        Frame3D(dc, r, light, dark, width);
    else
        Frame3D(dc, r, dark, light, width);
}
}  // namespace

HWND Panel::CreatePanel(HWND parent, int id, RECT b, PanelStyle style, HFONT font) {
    style_ = std::move(style);
    font_ = font;
    brush_.reset(CreateSolidBrush(style_.color));
    RegisterClassOnce(kClassName, CS_DBLCLKS, nullptr);
    return Create(kClassName, style_.caption.c_str(),
                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, b.left,
                  b.top, b.right - b.left, b.bottom - b.top, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

int Panel::Edge() const {
    const int outer = style_.outer == Bevel::None ? 0 : style_.bevelWidth;
    const int inner = style_.inner == Bevel::None ? 0 : style_.bevelWidth;
    return outer + style_.borderWidth + inner;
}

RECT Panel::InnerRect() const {
    RECT r{};
    GetClientRect(hwnd(), &r);
    InflateRect(&r, -Edge(), -Edge());
    return r;
}

void Panel::SetColor(COLORREF color) {
    if (color == style_.color) return;
    style_.color = color;
    brush_.reset(CreateSolidBrush(color));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Panel::SetCaption(const std::string& caption) {
    style_.caption = caption;
    SetWindowTextA(hwnd(), caption.c_str());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void Panel::SetLabelColor(HWND label, COLORREF color) {
    for (auto& [h, c] : labelColors_)
        if (h == label) {
            c = color;
            return;
        }
    labelColors_.emplace_back(label, color);
}

void Panel::Paint(HDC dc) {
    RECT r{};
    GetClientRect(hwnd(), &r);
    DrawBevel(dc, r, style_.outer, style_.bevelWidth);
    FillRect(dc, &r, brush_.get());
    InflateRect(&r, -style_.borderWidth, -style_.borderWidth);
    DrawBevel(dc, r, style_.inner, style_.bevelWidth);
    if (!style_.caption.empty()) {
        Selected f(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, style_.caption.c_str(), static_cast<int>(style_.caption.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | style_.ellipsis);
    }
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: return PaintWith([this](HDC dc) { Paint(dc); });
        case WM_SETTEXT: {
            style_.caption = lp ? reinterpret_cast<const char*>(lp) : "";
            InvalidateRect(hwnd(), nullptr, TRUE);
            return Default(msg, wp, lp);
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetBkMode(dc, TRANSPARENT);
            COLORREF text = RGB(0, 0, 0);
            for (const auto& [h, c] : labelColors_)
                if (h == reinterpret_cast<HWND>(lp)) text = c;
            SetTextColor(dc, text);
            return reinterpret_cast<LRESULT>(brush_.get());
        }
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CONTEXTMENU: return SendMessageA(GetParent(hwnd()), msg, wp, lp);
        case WM_SETCURSOR:
            // Each panel its own cursor: the class has one for all of them.
            if (style_.cursor && LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd()) {
                SetCursor(style_.cursor);
                return TRUE;
            }
            break;
        case WM_LBUTTONUP: NotifyParent(hwnd(), kClicked); return 0;
        case WM_LBUTTONDBLCLK: NotifyParent(hwnd(), kDoubleClicked); return 0;
        default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace mvpr::win
