#include "win/Hints.h"

namespace mvpr::win {

Hints::~Hints() {
    if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

void Hints::Create(HWND owner) {
    owner_ = owner;
    tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    if (tip_) SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, 600);
}

void Hints::Set(HWND control, const std::string& text) {
    auto it = texts_.begin();
    for (; it != texts_.end(); ++it)
        if (it->first == control) break;
    const bool known = it != texts_.end();
    if (known)
        it->second = text;
    else
        texts_.emplace_back(control, text);
    if (!tip_) return;
    // The older TOOLINFO size: comctl32 of every version accepts it.
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = owner_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(known ? it->second.c_str() : texts_.back().second.c_str());
    SendMessageA(tip_, known ? TTM_UPDATETIPTEXTA : TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

std::string Hints::Get(HWND control) const {
    for (const auto& [h, t] : texts_)
        if (h == control) return t;
    return {};
}

}  // namespace mvpr::win
