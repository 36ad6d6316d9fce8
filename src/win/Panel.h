#ifndef MVPR_WIN_PANEL_H
#define MVPR_WIN_PANEL_H

#include <string>
#include <utility>
#include <vector>

#include "win/Handles.h"
#include "win/Window.h"

namespace mvpr::win {

enum class Bevel { None, Raised, Lowered };

struct PanelStyle {
    COLORREF color = GetSysColor(COLOR_BTNFACE);
    Bevel outer = Bevel::Raised;
    Bevel inner = Bevel::None;
    int bevelWidth = 1;
    int borderWidth = 0;
    std::string caption;
    HCURSOR cursor = nullptr;
    UINT ellipsis = DT_END_ELLIPSIS;  // DT_PATH_ELLIPSIS keeps a path's file name in sight
};

// A panel: bevels, a border in its own colour, an optional centred caption, and children laid
// inside. What its children send (commands, notifications, colour queries for labels) it
// passes on to its parent, so that the form sees every control as if it were its own. It
// reports its own clicks as WM_COMMAND with kClicked / kDoubleClicked.
class Panel : public Window {
  public:
    static constexpr WORD kClicked = 0x4001;
    static constexpr WORD kDoubleClicked = 0x4002;
    static constexpr const char* kClassName = "TPanel";

    HWND CreatePanel(HWND parent, int id, RECT bounds, PanelStyle style, HFONT font);

    // The area inside bevels and border, where children fill.
    RECT InnerRect() const;
    int Edge() const;

    void SetColor(COLORREF color);
    COLORREF Color() const { return style_.color; }
    void SetCaption(const std::string& caption);
    const std::string& Caption() const { return style_.caption; }
    // Labels on the panel are drawn transparently, in this colour (black unless set).
    void SetLabelColor(HWND label, COLORREF color);

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void Paint(HDC dc);
    PanelStyle style_;
    HFONT font_ = nullptr;
    UniqueBrush brush_;
    std::vector<std::pair<HWND, COLORREF>> labelColors_;
};

}  // namespace mvpr::win

#endif
