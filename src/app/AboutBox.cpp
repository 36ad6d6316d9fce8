#include "app/AboutBox.h"

#include <algorithm>

#include "res/resource.h"
#include "win/Fonts.h"

namespace mvpr {

namespace {
// The client area laid out at 96 DPI; at any resolution at least as big as the controls, whose
// dialog units follow the dialog's font, so the O&K button is always in sight.
constexpr int kClientWidth = 298;
constexpr int kClientHeight = 320;

SIZE ClientSize(HWND dlg) {
    SIZE size{win::Scaled(kClientWidth), win::Scaled(kClientHeight)};
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
        size.cx = std::max<LONG>(size.cx, r.right + win::Scaled(8));
        size.cy = std::max<LONG>(size.cy, r.bottom + win::Scaled(8));
    }
    return size;
}
}  // namespace

TAboutBox::TAboutBox(const std::string& versionText, const std::string& buildText)
    : version_("Version " + versionText), build_("Build " + buildText) {}

INT_PTR TAboutBox::ShowModal(HWND owner) {
    return RunModal(owner, IDD_ABOUTBOX);
}

void TAboutBox::OnInit() {
    HWND box = dlg();
    SetDlgItemTextA(box, IDC_ABOUT_VERSION, version_.c_str());
    SetDlgItemTextA(box, IDC_ABOUT_BUILD, build_.c_str());
    // The product name stands out in a larger bold face.
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    lf.lfHeight = lf.lfHeight * 3 / 2;
    lf.lfWeight = FW_BOLD;
    HFONT big = Keep(win::UniqueFont(CreateFontIndirectA(&lf)));
    SendDlgItemMessageA(box, IDC_ABOUT_PRODUCT, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    // Exactly the client size of the layout, centred on the screen.
    const SIZE client = ClientSize(box);
    RECT r{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(box, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(box, GWL_EXSTYLE)));
    const int w = r.right - r.left, h = r.bottom - r.top;
    const POINT at = win::CenterInWorkArea(w, h);
    SetWindowPos(box, nullptr, at.x, at.y, w, h, SWP_NOZORDER);
}

INT_PTR TAboutBox::HandleMessage(UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_PAINT:
            win::PaintWith(dlg(), [this](HDC dc) {
                // The raised panel that holds everything but the button.
                RECT panel{};
                GetClientRect(dlg(), &panel);
                InflateRect(&panel, -win::Scaled(8), -win::Scaled(8));
                panel.bottom -= win::Scaled(40);
                DrawEdge(dc, &panel, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RECT);
            });
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) EndDialog(dlg(), IDOK);
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace mvpr
