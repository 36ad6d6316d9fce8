#include "app/FormOpstartScherm.h"

#include "app/AppTexts.h"
#include "system/ProgramInfo_win.h"
#include "win/Fonts.h"
#include "win/MessageBox.h"

namespace mvpr {

namespace {
// Laid out at 96 DPI; every measure goes through win::Scaled.
constexpr int kClientWidth = 221;
constexpr int kClientHeight = 141;
constexpr int kLogoWidth = 211;
constexpr int kLogoHeight = 96;
constexpr int kStatusHeight = 23;

RECT Fill(const win::Panel& parent) {
    return parent.InnerRect();
}
}  // namespace

HWND TFormOpstartScherm::CreateForm(const std::string& exePath) {
    exePath_ = exePath;
    RegisterClassOnce(kClassName, 0, GetSysColorBrush(COLOR_BTNFACE));
    const int w = win::Scaled(kClientWidth), h = win::Scaled(kClientHeight);
    const POINT at = win::CenterInWorkArea(w, h);
    return Create(kClassName, std::string(win::kApplicationTitle).c_str(), WS_POPUP | WS_CLIPCHILDREN,
                  WS_EX_TOOLWINDOW, at.x, at.y, w, h, nullptr, nullptr);
}

HWND TFormOpstartScherm::Control(Ctl id) const {
    // The labels and picture stand in the innermost panel.
    return GetDlgItem(panel4_.hwnd(), static_cast<int>(id));
}

void TFormOpstartScherm::FormCreate() {
    font_.reset(win::CreateUiFont(false));
    boldFont_.reset(win::CreateUiFont(true));
    const VersionTexts v = ReadVersionTexts(exePath_);
    versionText_ = v.version;
    buildText_ = v.build;

    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    borderOut_.CreatePanel(hwnd(), static_cast<int>(Ctl::PBorder_Out),
                           RECT{0, 0, win::Scaled(kClientWidth), win::Scaled(kClientHeight)},
                           win::PanelStyle{black, win::Bevel::None, win::Bevel::None, 1, 1}, font_.get());
    bevel_.CreatePanel(borderOut_.hwnd(), static_cast<int>(Ctl::PBevel), Fill(borderOut_),
                       win::PanelStyle{white, win::Bevel::Raised, win::Bevel::None, 3, 0}, font_.get());
    borderIn_.CreatePanel(bevel_.hwnd(), static_cast<int>(Ctl::PBorder_In), Fill(bevel_),
                          win::PanelStyle{black, win::Bevel::None, win::Bevel::None, 1, 1}, font_.get());
    panel4_.CreatePanel(borderIn_.hwnd(), static_cast<int>(Ctl::Panel4), Fill(borderIn_),
                        win::PanelStyle{white, win::Bevel::None, win::Bevel::None, 1, 0}, font_.get());
    const RECT inner = panel4_.InnerRect();
    const int width = inner.right - inner.left;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    auto child = [&](const char* cls, const char* text, DWORD style, Ctl id, int y, int h) {
        HWND c = CreateWindowExA(
            0, cls, text, WS_CHILD | WS_VISIBLE | style, inner.left, y, width, h, panel4_.hwnd(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(static_cast<int>(id))), inst, nullptr);
        SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
        return c;
    };
    const int logoHeight = win::Scaled(kLogoHeight);
    logo_.reset(DrawLogo(win::Scaled(kLogoWidth), logoHeight));
    HWND image = child("STATIC", "", SS_BITMAP | SS_CENTERIMAGE, Ctl::Image1, inner.top, logoHeight);
    SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(logo_.get()));
    MoveWindow(image, inner.left, inner.top, width, logoHeight, FALSE);
    // The version line is as high as its text, whatever the resolution, right above the status.
    const int statusHeight = win::Scaled(kStatusHeight);
    const int versionHeight = win::LineHeight(boldFont_.get());
    child("STATIC", std::string(kSplashStatus).c_str(), SS_CENTER | SS_CENTERIMAGE, Ctl::LStatus,
          inner.bottom - statusHeight, statusHeight);
    HWND version = child("STATIC", (std::string(kSplashVersionPrefix) + versionText_).c_str(), SS_CENTER,
                         Ctl::LVersion, inner.bottom - statusHeight - versionHeight, versionHeight);
    panel4_.SetLabelColor(version, RGB(255, 0, 0));
}

void TFormOpstartScherm::ShowAndPaint() {
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    // Loading runs before any message is handled, so paint everything now.
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TFormOpstartScherm::Close() {
    if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

LRESULT TFormOpstartScherm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) {
        FormCreate();
        return 0;
    }
    return Default(msg, wp, lp);
}

}  // namespace mvpr
