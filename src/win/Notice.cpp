#include "win/Notice.h"

namespace mvpr::win {

namespace {
constexpr UINT_PTR kHideTimer = 1;

// The notice's one tool, named by the tooltip's owner; the older TOOLINFO size, which comctl32
// of every version accepts.
TOOLINFOA Tool(HWND tip, const char* text) {
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = GetWindow(tip, GW_OWNER);
    ti.uId = 1;
    ti.lpszText = const_cast<char*>(text);
    return ti;
}
}  // namespace

Notice::~Notice() {
    if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

void Notice::Create(HWND owner) {
    tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    if (!tip_) return;
    TOOLINFOA ti = Tool(tip_, "");
    SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void Notice::Show(HWND beside, const std::string& text, UINT ms) {
    text_ = text;
    if (!tip_) return;
    TOOLINFOA ti = Tool(tip_, text_.c_str());
    SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    RECT r{};
    GetWindowRect(beside, &r);
    SendMessageA(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(r.left, r.bottom + 2));
    SendMessageA(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    // A second notice while one shows starts its time afresh.
    SetTimer(tip_, kHideTimer, ms, &Notice::Expired);
}

bool Notice::Shown() const {
    return tip_ && IsWindowVisible(tip_);
}

void CALLBACK Notice::Expired(HWND tip, UINT, UINT_PTR id, DWORD) {
    KillTimer(tip, id);
    TOOLINFOA ti = Tool(tip, "");
    SendMessageA(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace mvpr::win
