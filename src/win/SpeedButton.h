#ifndef MVPR_WIN_SPEEDBUTTON_H
#define MVPR_WIN_SPEEDBUTTON_H

#include <string>

#include "win/Window.h"

namespace mvpr::win {

// A flat push button that stays down, one of a group: pressing one releases the others of the
// same group under the same parent. It takes no focus. Clicks (also BM_CLICK) reach the parent
// as WM_COMMAND BN_CLICKED after the button is down. Its font and text colour are set from
// outside (the category highlight).
class SpeedButton : public Window {
  public:
    static constexpr const char* kClassName = "TSpeedButton";

    HWND CreateButton(HWND parent, int id, RECT bounds, const std::string& caption, int group);

    bool Down() const { return down_; }
    // Sets the state without a click; releases the group's others when going down.
    void SetDown(bool down);
    void SetLook(HFONT font, COLORREF textColor);
    HFONT Font() const { return font_; }
    COLORREF TextColor() const { return textColor_; }
    int Group() const { return group_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Paint(HDC dc);
    void Click();
    std::string caption_;
    int group_ = 0;
    bool down_ = false;
    bool pressing_ = false;  // mouse held on it
    HFONT font_ = nullptr;
    COLORREF textColor_ = RGB(0, 0, 0);
};

}  // namespace mvpr::win

#endif
