#include "win/PictureBox.h"

#include <utility>

namespace mvpr::win {

HWND PictureBox::CreateBox(HWND parent, int id, RECT b, bool visible, DWORD style) {
    RegisterClassOnce(kClassName, CS_DBLCLKS, nullptr);
    return Create(kClassName, "", WS_CHILD | (visible ? WS_VISIBLE : 0) | style, 0, b.left, b.top,
                  b.right - b.left, b.bottom - b.top, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void PictureBox::SetBitmap(UniqueBitmap bitmap) {
    bitmap_ = std::move(bitmap);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void PictureBox::Paint(HDC dc) {
    if (painter_ && painter_(dc)) return;
    RECT r{};
    GetClientRect(hwnd(), &r);
    BITMAP bm{};
    if (!bitmap_ || !GetObjectA(bitmap_.get(), sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) {
        FillRect(dc, &r, GetSysColorBrush(emptyColor_));
        return;
    }
    UniqueDc source(CreateCompatibleDC(dc));
    Selected keep(source.get(), bitmap_.get());
    const int h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    if (bm.bmWidth == r.right && h == r.bottom) {
        BitBlt(dc, 0, 0, r.right, r.bottom, source.get(), 0, 0, SRCCOPY);
    } else {  // made for another size: a plain stretch until the next one
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, r.right, r.bottom, source.get(), 0, 0, bm.bmWidth, h, SRCCOPY);
    }
}

void PictureBox::Released(LPARAM at) {
    const bool click = pressed_;
    pressed_ = false;
    ReleaseCapture();
    RECT r{};
    GetClientRect(hwnd(), &r);
    const POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (click && PtInRect(&r, p)) NotifyParent(hwnd(), STN_CLICKED);
}

LRESULT PictureBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: return PaintWith([this](HDC dc) { Paint(dc); });
        case WM_LBUTTONDOWN:
            pressed_ = true;
            SetCapture(hwnd());  // to see the release also off the picture
            return 0;
        case WM_LBUTTONUP: Released(lp); return 0;
        case WM_CAPTURECHANGED: pressed_ = false; break;
        case WM_LBUTTONDBLCLK: NotifyParent(hwnd(), STN_DBLCLK); return 0;
        default: break;
    }
    return Default(msg, wp, lp);
}

}  // namespace mvpr::win
