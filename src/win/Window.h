#ifndef MVPR_WIN_WINDOW_H
#define MVPR_WIN_WINDOW_H

#include <string>
#include <string_view>
#include <utility>

#include "win/Win32.h"

namespace mvpr::win {

// Paints a window with the drawing function given; the paint ends also when it throws.
template <typename Draw>
void PaintWith(HWND hwnd, Draw&& draw) {
    struct PaintEnd {
        HWND hwnd;
        PAINTSTRUCT& ps;
        ~PaintEnd() { EndPaint(hwnd, &ps); }
    };
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const PaintEnd end{hwnd, ps};
    draw(dc);
}

// Base of every window class of ours: one thunk from HWND to object, stored at WM_NCCREATE,
// and the rule that no exception leaves a window procedure.
class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

    // Registers a class whose procedure forwards to HandleMessage (once per class name).
    static bool RegisterClassOnce(const char* className, UINT style, HBRUSH background, HICON icon = nullptr,
                                  HCURSOR cursor = nullptr);
    // The object of a window made by Create, or nullptr.
    static Window* FromHandle(HWND hwnd);

  protected:
    HWND Create(const char* className, const char* caption, DWORD style, DWORD exStyle, int x, int y, int w,
                int h, HWND parent, HMENU menuOrId);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd_, msg, wp, lp); }
    // Answers WM_PAINT with the drawing function given; the paint ends also when it throws.
    template <typename Draw>
    LRESULT PaintWith(Draw&& draw) {
        win::PaintWith(hwnd_, std::forward<Draw>(draw));
        return 0;
    }
    // Called once the window is gone; hwnd() is then null.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    HWND hwnd_ = nullptr;
};

// Where an error that a command does not handle itself ends up: an error box captioned with
// the application title, with the error's own text; the program then goes on. An error inside
// painting (or a message sent while painting) is shown once the paint is over, and only the
// first time: a box inside a paint makes the window paint, and fail, again.
void ReportUnhandled(HWND owner, std::string_view what);

// The text of the exception being handled; call it only inside a catch block. Every barrier
// between an exception and Windows uses it, so the same failure reads the same everywhere.
std::string CurrentFailureText();
inline constexpr std::string_view kOutOfMemory = "Out of memory";

// Tells a control's parent about it as WM_COMMAND with the control's id and this code.
void NotifyParent(HWND control, WORD code);

// The top-left corner that centres a window of this outer size in the work area.
POINT CenterInWorkArea(int width, int height);

// Text of any window.
std::string GetText(HWND hwnd);
void SetText(HWND hwnd, std::string_view text);

}  // namespace mvpr::win

#endif
