#ifndef MVPR_WIN_PICTUREBOX_H
#define MVPR_WIN_PICTUREBOX_H

#include <functional>

#include "win/Handles.h"
#include "win/Window.h"

namespace mvpr::win {

// Shows a small bitmap made for its size, which it owns: a picture is scaled once when it is
// loaded, never on every paint. Double clicks reach the parent as WM_COMMAND STN_DBLCLK, clicks
// as STN_CLICKED, a right click as WM_CONTEXTMENU.
class PictureBox : public Window {
  public:
    static constexpr const char* kClassName = "TImage";

    HWND CreateBox(HWND parent, int id, RECT bounds, bool visible);
    void SetBitmap(UniqueBitmap bitmap);  // none shows the button face
    HBITMAP Bitmap() const { return bitmap_.get(); }
    // Draws instead of the bitmap while it answers true (a picture that moves).
    void SetPainter(std::function<bool(HDC)> painter) { painter_ = std::move(painter); }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Paint(HDC dc);
    UniqueBitmap bitmap_;
    std::function<bool(HDC)> painter_;
};

}  // namespace mvpr::win

#endif
