#ifndef MVPR_LISTS_CATEGORYLISTVIEW_WIN_H
#define MVPR_LISTS_CATEGORYLISTVIEW_WIN_H

#include <string>
#include <string_view>

#include "lists/CategoryList.h"
#include "win/Win32.h"

namespace mvpr {

// A report list view shown over one CategoryList. It is virtual (the view asks for the text of
// the rows it paints), so a list of 100,000 entries shows at once. The list is the truth for
// rows, selection and focus; the user's changes in the view are copied into it as the view
// reports them, and the program's own changes are pushed to the view with Sync().
class CategoryListView {
  public:
    CategoryListView(CategoryList& list, bool withStyle) : list_(list), withStyle_(withStyle) {}
    HWND Create(HWND parent, int id, const RECT& bounds, HFONT font);
    HWND hwnd() const { return view_; }
    CategoryList& List() { return list_; }
    const CategoryList& List() const { return list_; }

    // Handles the view's notifications (from the parent's WM_NOTIFY). Returns true and sets
    // *changed when the selection, focus or rows changed in a way the form must hear of.
    bool HandleNotify(const NMHDR& header, LRESULT& result, bool& changed);

    // After the program changed the list: row count, selection, focus and column widths (those
    // of a hidden view when it is shown: measuring a big list is not free).
    void Sync();
    // Shows or hides the view.
    void SetVisible(bool visible);
    // Column widths to fit header and contents (the style column: also every style name).
    void SizeColumns();
    void Repaint();

  private:
    // The row LVN_ODFINDITEM asks for: the first from `start` whose name begins with (or, without
    // LVFI_PARTIAL, is) the text, letter case ignored; -1 for none.
    LRESULT FindRow(const LVFINDINFOA& find, int start) const;
    int TextWidth(std::string_view text) const;
    CategoryList& list_;
    bool withStyle_;
    HWND view_ = nullptr;
    bool syncing_ = false;
    bool columnsStale_ = false;  // the list changed while the view was hidden
};

}  // namespace mvpr

#endif
