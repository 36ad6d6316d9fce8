#ifndef MVPR_APP_FORMSELECTLAYOUT_H
#define MVPR_APP_FORMSELECTLAYOUT_H

#include <iterator>

#include "win/Win32.h"

#include "app/FormSelectIds.h"

namespace mvpr {

// The main window's client area as it opens, in layout pixels (96 DPI).
inline constexpr int kSelectClientWidth = 444;
inline constexpr int kSelectClientHeight = 414;

// The edges of the client area a control's edges keep their distance to when the window's size
// changes. A control that follows the right or the bottom edge moves or stretches with it.
enum Anchor : unsigned {
    kAnchorLeft = 1,
    kAnchorTop = 2,
    kAnchorRight = 4,
    kAnchorBottom = 8,
    kAnchorTopLeft = kAnchorLeft | kAnchorTop,
    kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom,
    kAnchorBottomStrip = kAnchorLeft | kAnchorRight | kAnchorBottom,
};

// What a row creates.
enum class ControlKind : unsigned char {
    CategoryButton,  // the speed button of a category, captioned as the category
    Label,           // static text, as wide and high as its text
    Counter,         // static text right-aligned in a box `w` wide, its text set to start at x
    Browser,         // one of the file browser's four controls
    PreviewPanel,    // the sunken panel that holds the name strip and the picture
    PreviewName,     // the name strip, in the preview panel
    PreviewPicture,  // the picture, in the preview panel
    Plain,           // a control of the window class `cls`
    CategoryList,    // the list of a category
    ExtendStrip,     // the strip that grows the window
};

struct ControlRow {
    SelectCtl id;
    ControlKind kind;
    const char* cls;   // Plain: the window class
    const char* text;  // the caption
    int x, y, w, h;    // layout pixels; in the preview panel for its strip and picture
    DWORD style;       // Plain and Label: the window style besides WS_CHILD
    unsigned anchors = kAnchorTopLeft;
};

namespace layout {
inline constexpr DWORD kPushButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
inline constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT;
}  // namespace layout

// Every control of the main window, in the order they are created (which is their order among
// their siblings until the tab order is arranged).
inline constexpr ControlRow kSelectLayout[] = {
    {SelectCtl::sbtnStart, ControlKind::CategoryButton, nullptr, nullptr, 4, 8, 105, 25, 0},
    {SelectCtl::sbtnWait, ControlKind::CategoryButton, nullptr, nullptr, 112, 8, 105, 25, 0},
    {SelectCtl::sbtnShut, ControlKind::CategoryButton, nullptr, nullptr, 220, 8, 113, 25, 0},
    {SelectCtl::sbtnWall, ControlKind::CategoryButton, nullptr, nullptr, 336, 8, 105, 25, 0},
    {SelectCtl::Label3, ControlKind::Label, nullptr, "Drive:", 4, 36, 0, 0, layout::kLabel},
    {SelectCtl::Label5, ControlKind::Label, nullptr, "Directory:", 4, 76, 0, 0, layout::kLabel},
    {SelectCtl::Label6, ControlKind::Label, nullptr, "Filters:", 4, 228, 0, 0, layout::kLabel},
    {SelectCtl::Label2, ControlKind::Label, nullptr, "Choose Files:", 156, 36, 0, 0, layout::kLabel},
    {SelectCtl::DriveComboBox1, ControlKind::Browser, nullptr, nullptr, 4, 52, 145, 19, 0},
    {SelectCtl::DirectoryListBox1, ControlKind::Browser, nullptr, nullptr, 4, 92, 145, 133, 0},
    {SelectCtl::FileListBox1, ControlKind::Browser, nullptr, nullptr, 156, 52, 113, 213, 0},
    {SelectCtl::FilterComboBox1, ControlKind::Browser, nullptr, nullptr, 4, 244, 145, 21, 0},
    {SelectCtl::Label4, ControlKind::Label, nullptr, "Preview:", 276, 36, 0, 0, layout::kLabel},
    {SelectCtl::pnlPreview, ControlKind::PreviewPanel, nullptr, nullptr, 276, 52, 164, 120, 0},
    {SelectCtl::PnlPreviewName, ControlKind::PreviewName, nullptr, "No File Selected", 2, 2, 160, 16, 0},
    {SelectCtl::ImgPreview, ControlKind::PreviewPicture, nullptr, nullptr, 2, 18, 160, 100, 0},
    {SelectCtl::BtnAdd, ControlKind::Plain, "BUTTON", "Add Chosen File(s)", 276, 180, 165, 25,
     layout::kPushButton | WS_DISABLED},
    {SelectCtl::btnRemove, ControlKind::Plain, "BUTTON", "Remove Selected File(s)", 276, 212, 165, 25,
     layout::kPushButton | WS_DISABLED},
    {SelectCtl::chkbStartUpRun, ControlKind::Plain, "BUTTON", "Run Randomizer at Start-Up", 276, 248, 157, 17,
     WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX},
    // In the check box's place while the wallpapers are shown.
    {SelectCtl::LblStyle, ControlKind::Label, nullptr, "Wallpaper Style:", 276, 248, 0, 0, SS_LEFT},
    {SelectCtl::CBStyle, ControlKind::Plain, "COMBOBOX", "", 360, 244, 81, 160,
     WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL | WS_DISABLED},
    {SelectCtl::Label1, ControlKind::Label, nullptr, "Selected Files:", 4, 272, 0, 0, layout::kLabel},
    // The text grows to the left of the place where "0 / 0" ends.
    {SelectCtl::LblNumber, ControlKind::Counter, nullptr, "0 / 0", 414, 275, 200, 0, WS_VISIBLE | SS_RIGHT},
    // The four lists share one place; the current category's is shown.
    {SelectCtl::ListStart, ControlKind::CategoryList, nullptr, nullptr, 4, 291, 436, 118, 0, kAnchorAll},
    {SelectCtl::ListWait, ControlKind::CategoryList, nullptr, nullptr, 4, 291, 436, 118, 0, kAnchorAll},
    {SelectCtl::ListShut, ControlKind::CategoryList, nullptr, nullptr, 4, 291, 436, 118, 0, kAnchorAll},
    {SelectCtl::ListWall, ControlKind::CategoryList, nullptr, nullptr, 4, 291, 436, 118, 0, kAnchorAll},
    {SelectCtl::PnlExtend, ControlKind::ExtendStrip, nullptr, nullptr, 0, 409, 444, 5, 0, kAnchorBottomStrip},
};

constexpr const ControlRow& RowOf(SelectCtl id) {
    for (const auto& row : kSelectLayout)
        if (row.id == id) return row;
    return kSelectLayout[0];  // not reached: every control has its row
}

namespace layout {
constexpr bool EveryControlOnce() {
    for (int id = Id(SelectCtl::First); id <= Id(SelectCtl::Last); ++id) {
        int rows = 0;
        for (const auto& row : kSelectLayout) rows += Id(row.id) == id ? 1 : 0;
        if (rows != 1) return false;
    }
    return std::size(kSelectLayout) ==
           static_cast<std::size_t>(Id(SelectCtl::Last) - Id(SelectCtl::First) + 1);
}
}  // namespace layout
static_assert(layout::EveryControlOnce(), "every control of the main window has one row");

// Where a row's control stands in a client area of `client` pixels, at the screen's resolution.
RECT PlaceOf(const ControlRow& row, SIZE client);

}  // namespace mvpr

#endif
