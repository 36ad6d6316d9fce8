#ifndef MVPR_WIN_HINTS_H
#define MVPR_WIN_HINTS_H

#include <string>
#include <utility>
#include <vector>

#include "win/Win32.h"

namespace mvpr::win {

// The hints (tooltips) of one window's controls: one tooltip control, one tool per control.
class Hints {
  public:
    Hints() = default;
    Hints(const Hints&) = delete;
    Hints& operator=(const Hints&) = delete;
    ~Hints();

    void Create(HWND owner);
    // Sets (or with an empty text, clears) the hint of a control.
    void Set(HWND control, const std::string& text);
    std::string Get(HWND control) const;
    HWND Tooltip() const { return tip_; }

  private:
    HWND owner_ = nullptr;
    HWND tip_ = nullptr;
    std::vector<std::pair<HWND, std::string>> texts_;
};

}  // namespace mvpr::win

#endif
