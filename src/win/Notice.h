#ifndef MVPR_WIN_NOTICE_H
#define MVPR_WIN_NOTICE_H

#include <string>

#include "win/Win32.h"

namespace mvpr::win {

// A line that says for a few seconds what a command did, with no box to click away: a tracking
// tooltip of its own just below a control, hidden again by a timer.
class Notice {
  public:
    static constexpr UINT kShownMs = 4000;

    Notice() = default;
    Notice(const Notice&) = delete;
    Notice& operator=(const Notice&) = delete;
    ~Notice();

    void Create(HWND owner);
    // Shows the text below `beside`, left edges lined up, replacing any text still shown.
    void Show(HWND beside, const std::string& text, UINT ms = kShownMs);
    bool Shown() const;
    // The text last shown, also after it went.
    const std::string& Text() const { return text_; }

  private:
    static void CALLBACK Expired(HWND tip, UINT msg, UINT_PTR id, DWORD time);
    HWND tip_ = nullptr;
    std::string text_;
};

}  // namespace mvpr::win

#endif
