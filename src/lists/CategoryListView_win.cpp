#include "lists/CategoryListView_win.h"

#include <algorithm>

#include "win/Handles.h"

namespace mvpr {

namespace {
constexpr int kColumnPadding = 14;
}

HWND CategoryListView::Create(HWND parent, int id, const RECT& b, HFONT font) {
    view_ = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER, b.left,
        b.top, b.right - b.left, b.bottom - b.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(view_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(view_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const char* headers[] = {"Filename", "Path", "Style"};
    const int columns = withStyle_ ? 3 : 2;
    for (int i = 0; i < columns; ++i) {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.pszText = const_cast<char*>(headers[i]);
        c.cx = 80;
        c.iSubItem = i;
        SendMessageA(view_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
    }
    SizeColumns();
    return view_;
}

int CategoryListView::TextWidth(std::string_view text) const {
    win::WindowDc dc(view_);
    win::Selected f(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(view_, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void CategoryListView::SetVisible(bool visible) {
    ShowWindow(view_, visible ? SW_SHOW : SW_HIDE);
    if (visible && columnsStale_) SizeColumns();
}

void CategoryListView::SizeColumns() {
    columnsStale_ = false;
    // Measuring every row of a huge list would stall; the longest texts are measured instead,
    // which for the proportional font is close enough and never clips by much.
    const CategoryList::Longest longest = list_.LongestTexts();
    const std::string_view texts[] = {longest.fileName, longest.folder, longest.style};
    const char* headers[] = {"Filename", "Path", "Style"};
    const int columns = withStyle_ ? 3 : 2;
    for (int c = 0; c < columns; ++c) {
        int width = std::max(TextWidth(headers[c]), texts[c].empty() ? 0 : TextWidth(texts[c]));
        if (c == 2) width = std::max(width, TextWidth("Fit 2 Screen"));
        SendMessageA(view_, LVM_SETCOLUMNWIDTH, c, width + kColumnPadding);
    }
}

void CategoryListView::Sync() {
    syncing_ = true;
    const bool hadRows = SendMessageA(view_, LVM_GETITEMCOUNT, 0, 0) > 0;
    SendMessageA(view_, LVM_SETITEMCOUNT, list_.size(), LVSICF_NOSCROLL);
    // Clearing every row's state costs a walk over all rows in some list views, and so does
    // asking for the focused one: only when a row may hold a state, which no row of an empty
    // view does.
    if (hadRows && (SendMessageA(view_, LVM_GETSELECTEDCOUNT, 0, 0) != 0 ||
                    SendMessageA(view_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) != -1)) {
        LVITEMA clear{};
        clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(view_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    }
    if (list_.AnySelected())  // a list just read has nothing selected and stays unsorted
        for (std::size_t i = 0; i < list_.size(); ++i) {
            if (!list_.IsSelected(i)) continue;
            LVITEMA on{};
            on.stateMask = on.state = LVIS_SELECTED;
            SendMessageA(view_, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&on));
        }
    if (auto f = list_.Focused()) {
        LVITEMA on{};
        on.stateMask = on.state = LVIS_FOCUSED;
        SendMessageA(view_, LVM_SETITEMSTATE, *f, reinterpret_cast<LPARAM>(&on));
    }
    syncing_ = false;
    if (GetWindowLongA(view_, GWL_STYLE) & WS_VISIBLE)
        SizeColumns();
    else
        columnsStale_ = true;
    InvalidateRect(view_, nullptr, TRUE);
}

LRESULT CategoryListView::FindRow(const LVFINDINFOA& find, int start) const {
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz || list_.empty()) return -1;
    const std::string_view wanted(find.psz);
    const bool partial = (find.flags & LVFI_PARTIAL) != 0;
    const std::size_t count = list_.size();
    const std::size_t first =
        start >= 0 && static_cast<std::size_t>(start) < count ? static_cast<std::size_t>(start) : 0;
    const std::size_t span = (find.flags & LVFI_WRAP) || first == 0 ? count : count - first;
    for (std::size_t k = 0; k < span; ++k) {
        const std::size_t row = (first + k) % count;
        const std::string& name = list_[row].fileName;
        if (name.size() < wanted.size() || (!partial && name.size() != wanted.size())) continue;
        // Letter case ignored as the user's locale sees it.
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.data(), static_cast<int>(wanted.size()),
                           wanted.data(), static_cast<int>(wanted.size())) == CSTR_EQUAL)
            return static_cast<LRESULT>(row);
    }
    return -1;
}

void CategoryListView::Repaint() {
    InvalidateRect(view_, nullptr, TRUE);
}

bool CategoryListView::HandleNotify(const NMHDR& h, LRESULT& result, bool& changed) {
    changed = false;
    result = 0;
    if (h.hwndFrom != view_) return false;
    switch (h.code) {
        case LVN_GETDISPINFOA: {
            auto& info = *reinterpret_cast<NMLVDISPINFOA*>(const_cast<NMHDR*>(&h));
            const auto row = static_cast<std::size_t>(info.item.iItem);
            if ((info.item.mask & LVIF_TEXT) && row < list_.size() && info.item.cchTextMax > 0) {
                const ScreenEntry& e = list_[row];
                const std::string& text =
                    info.item.iSubItem == 0 ? e.fileName : (info.item.iSubItem == 1 ? e.folder : e.style);
                lstrcpynA(info.item.pszText, text.c_str(), info.item.cchTextMax);
            }
            return true;
        }
        case LVN_ITEMCHANGED: {
            const auto& nm = *reinterpret_cast<const NMLISTVIEW*>(&h);
            if (!(nm.uChanged & LVIF_STATE) || syncing_) return true;
            const bool selChanged = ((nm.uNewState ^ nm.uOldState) & LVIS_SELECTED) != 0;
            const bool focusChanged = ((nm.uNewState ^ nm.uOldState) & LVIS_FOCUSED) != 0;
            const bool nowSelected = (nm.uNewState & LVIS_SELECTED) != 0;
            if (nm.iItem < 0) {
                if (selChanged) list_.SetAllSelected(nowSelected);
                if (focusChanged && !(nm.uNewState & LVIS_FOCUSED)) list_.SetFocused(std::nullopt);
            } else {
                const auto row = static_cast<std::size_t>(nm.iItem);
                if (selChanged) list_.SetSelected(row, nowSelected);
                if (focusChanged) {
                    if (nm.uNewState & LVIS_FOCUSED)
                        list_.SetFocused(row);
                    else if (list_.Focused() == row)
                        list_.SetFocused(std::nullopt);
                }
            }
            changed = selChanged || focusChanged;
            return true;
        }
        case LVN_ODSTATECHANGED: {
            const auto& nm = *reinterpret_cast<const NMLVODSTATECHANGE*>(&h);
            if (syncing_) return true;
            if ((nm.uNewState ^ nm.uOldState) & LVIS_SELECTED) {
                if (nm.iFrom >= 0 && nm.iTo >= nm.iFrom)
                    list_.SetSelectedRange(static_cast<std::size_t>(nm.iFrom),
                                           static_cast<std::size_t>(nm.iTo),
                                           (nm.uNewState & LVIS_SELECTED) != 0);
                changed = true;
            }
            return true;
        }
        case LVN_ODFINDITEMA: {
            // Typing the first letters of a name: the view asks for the row, as it cannot search
            // rows it does not hold.
            const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(h);
            result = FindRow(find.lvfi, find.iStart);
            return true;
        }
        case LVN_BEGINLABELEDITA: result = TRUE; return true;  // no in-place editing
        default: return false;
    }
}

}  // namespace mvpr
