#ifndef MVPR_WIN_PICTUREBOX_H
#define MVPR_WIN_PICTUREBOX_H

#include "win/Window.h"

namespace mvpr::win {

// Shows a bitmap stretched to its bounds. It does not own the bitmap: the picture that holds it
// does. Double clicks reach the parent as
// WM_COMMAND STN_DBLCLK, clicks as STN_CLICKED, a right click as WM_CONTEXTMENU.
class PictureBox : public Window {
  public:
    static constexpr const char* kClassName = "TImage";

    HWND CreateBox(HWND parent, int id, RECT bounds, bool visible);
    void SetBitmap(HBITMAP bitmap);  // nullptr shows nothing
    HBITMAP Bitmap() const { return bitmap_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Paint(HDC dc);
    HBITMAP bitmap_ = nullptr;
};

}  // namespace mvpr::win

#endif
