#include "win/SpeedButton.h"

#include <algorithm>
#include <vector>

#include "win/Fonts.h"
#include "win/Handles.h"

namespace mvpr::win {

namespace {
constexpr int kEdge = 2;          // the raised or sunken edge
constexpr int kMargin = 2;        // at least this much face beside the caption, at 96 DPI
constexpr int kNarrowestGap = 3;  // a gap between words is never narrowed below this

// The caption, centred. One too wide to leave a margin on both sides (the bold "Shut Down
// Screen" at 96 DPI fills its button edge to edge) gets narrower gaps between its words; its
// letters keep their shapes and their spacing.
void DrawCaption(HDC dc, const RECT& r, const std::string& caption) {
    const int n = static_cast<int>(caption.size());
    if (n == 0) return;
    // Where each letter ends, measured by prefix: a caption is short.
    std::vector<INT> ends(caption.size());
    SIZE size{};
    for (int i = 0; i < n; ++i) {
        if (!GetTextExtentPoint32A(dc, caption.c_str(), i + 1, &size)) return;
        ends[i] = size.cx;
    }
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    // A bold face made from a regular one reaches a pixel past its advance.
    const int room = (r.right - r.left) - 2 * (kEdge + Scaled(kMargin)) - tm.tmOverhang;
    if (size.cx <= room) {
        RECT box = r;
        DrawTextA(dc, caption.c_str(), n, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    std::vector<INT> advance(caption.size());
    for (int i = 0; i < n; ++i) advance[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
    int excess = size.cx - room;
    for (int i = 0; i < n && excess > 0; ++i) {
        if (caption[i] != ' ') continue;
        const int cut = std::min(excess, advance[i] - Scaled(kNarrowestGap));
        if (cut <= 0) continue;
        advance[i] -= cut;
        excess -= cut;
    }
    int width = tm.tmOverhang;
    for (int a : advance) width += a;
    ExtTextOutA(dc, r.left + (r.right - r.left - width) / 2, r.top + (r.bottom - r.top - tm.tmHeight) / 2, 0,
                nullptr, caption.c_str(), static_cast<UINT>(n), advance.data());
}

struct GroupRelease {
    HWND except;
    int group;
};

BOOL CALLBACK ReleaseOther(HWND child, LPARAM lp) {
    auto* g = reinterpret_cast<GroupRelease*>(lp);
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (child == g->except || lstrcmpA(cls, SpeedButton::kClassName) != 0) return TRUE;
    auto* b = static_cast<SpeedButton*>(Window::FromHandle(child));
    if (b && b->Group() == g->group && b->Down()) b->SetDown(false);
    return TRUE;
}
}  // namespace

HWND SpeedButton::CreateButton(HWND parent, int id, RECT b, const std::string& caption, int group) {
    caption_ = caption;
    group_ = group;
    RegisterClassOnce(kClassName, CS_DBLCLKS, nullptr);
    return Create(kClassName, caption.c_str(), WS_CHILD | WS_VISIBLE, 0, b.left, b.top, b.right - b.left,
                  b.bottom - b.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void SpeedButton::SetDown(bool down) {
    if (down_ == down) return;
    down_ = down;
    if (down && group_) {
        GroupRelease g{hwnd(), group_};
        EnumChildWindows(GetParent(hwnd()), &ReleaseOther, reinterpret_cast<LPARAM>(&g));
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void SpeedButton::SetLook(HFONT font, COLORREF textColor) {
    font_ = font;
    textColor_ = textColor;
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void SpeedButton::Click() {
    SetDown(true);
    NotifyParent(hwnd(), BN_CLICKED);
}

void SpeedButton::Paint(HDC dc) {
    RECT r{};
    GetClientRect(hwnd(), &r);
    const bool sunken = down_ || pressing_;
    // A down button shows the lighter, dithered face of a latched tool button.
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (down_ && !pressing_) {
        static const WORD pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        UniqueBitmap bits(CreateBitmap(8, 8, 1, 1, pattern));
        UniqueBrush dither(CreatePatternBrush(bits.get()));
        const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
        const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        RECT inner = r;
        InflateRect(&inner, -2, -2);
        FillRect(dc, &inner, dither.get());
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
    }
    DrawEdge(dc, &r, sunken ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    // The caption moves while the mouse holds the button; a latched button keeps it centred, so
    // a bold caption keeps its margin on the right too.
    if (pressing_) OffsetRect(&r, 1, 1);
    Selected f(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, IsWindowEnabled(hwnd()) ? textColor_ : GetSysColor(COLOR_GRAYTEXT));
    DrawCaption(dc, r, caption_);
}

LRESULT SpeedButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: return PaintWith([this](HDC dc) { Paint(dc); });
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            pressing_ = true;
            SetCapture(hwnd());
            InvalidateRect(hwnd(), nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP: {
            if (!pressing_) return 0;
            pressing_ = false;
            ReleaseCapture();
            RECT r{};
            GetClientRect(hwnd(), &r);
            const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            InvalidateRect(hwnd(), nullptr, FALSE);
            if (PtInRect(&r, p)) Click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (pressing_) {
                pressing_ = false;
                InvalidateRect(hwnd(), nullptr, FALSE);
            }
            return 0;
        case BM_CLICK: Click(); return 0;
        case BM_GETSTATE: return down_ ? BST_PUSHED : 0;
        case WM_SETTEXT:
            caption_ = lp ? reinterpret_cast<const char*>(lp) : "";
            InvalidateRect(hwnd(), nullptr, FALSE);
            break;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
        default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace mvpr::win
