#ifndef MVPR_WIN_PICTUREBOX_H
#define MVPR_WIN_PICTUREBOX_H

#include <functional>

#include "win/Handles.h"
#include "win/Window.h"

namespace mvpr::win {

// Shows a small bitmap made for its size, which it owns: a picture is scaled once when it is
// loaded, never on every paint. Double clicks reach the parent as WM_COMMAND STN_DBLCLK, clicks
// as STN_CLICKED, a right click as WM_CONTEXTMENU. A click is a press and a release both on the
// picture: the release that ends a double click elsewhere, which opened a window over this
// one, is no click here.
class PictureBox : public Window {
  public:
    static constexpr const char* kClassName = "TImage";

    // `style` adds to WS_CHILD, e.g. WS_TABSTOP for a picture the keyboard works on.
    HWND CreateBox(HWND parent, int id, RECT bounds, bool visible, DWORD style = 0);
    void SetBitmap(UniqueBitmap bitmap);  // none shows the empty colour
    HBITMAP Bitmap() const { return bitmap_.get(); }
    // The system colour shown without a bitmap; the button face unless set.
    void SetEmptyColor(int sysColor) { emptyColor_ = sysColor; }
    // Draws instead of the bitmap while it answers true (a picture that moves).
    void SetPainter(std::function<bool(HDC)> painter) { painter_ = std::move(painter); }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Paint(HDC dc);
    void Released(LPARAM at);
    UniqueBitmap bitmap_;
    std::function<bool(HDC)> painter_;
    int emptyColor_ = COLOR_BTNFACE;
    bool pressed_ = false;  // the left button went down on the picture
};

}  // namespace mvpr::win

#endif
