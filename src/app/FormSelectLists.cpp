// TFormSelect: the category switch, the category lists and the browser's folder.
#include <cstdio>

#include "app/FormSelect.h"
#include "lists/DisplayStyle.h"
#include "win/FilterText.h"
#include "win/Menus.h"

namespace mvpr {

namespace {
constexpr COLORREF kHighlightColor = RGB(0, 0, 128);
constexpr COLORREF kPlainColor = RGB(0, 0, 0);
}  // namespace

std::optional<ScreenCategory> TFormSelect::CategoryOfButton(HWND button) const {
    for (std::size_t i = 0; i < 4; ++i)
        if (button && buttons_[i].hwnd() == button) return kCategories[i].category;
    return std::nullopt;
}

std::optional<ScreenCategory> TFormSelect::CategoryOfList(HWND list) const {
    for (std::size_t i = 0; i < 4; ++i)
        if (list && views_[i]->hwnd() == list) return kCategories[i].category;
    return std::nullopt;
}

void TFormSelect::HighlightButton(ScreenCategory c, bool highlighted) {
    ButtonOf(c).SetLook(highlighted ? boldFont_.get() : font_.get(),
                        highlighted ? kHighlightColor : kPlainColor);
}

void TFormSelect::SetStylePicker(int index) {
    SendMessageA(Control(SelectCtl::CBStyle), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TFormSelect::Change_Screen_Button(HWND sender) {
    {
        const AutoPreviewOff quiet(*this);
        for (auto c : {ScreenCategory::Start, ScreenCategory::Wait, ScreenCategory::Shut}) {
            const bool chosen = ButtonOf(c).hwnd() == sender;
            if (chosen) current_ = c;
            ViewOf(c).SetVisible(chosen);
            HighlightButton(c, chosen);
        }
        HMENU info = PopMFileInfo();
        HMENU infoLayout = GetSubMenu(popMFileInfoLayout_.get(), 0);
        const bool wall = ButtonOf(ScreenCategory::Wall).hwnd() == sender;
        win::SetMenuItemVisible(info, infoLayout, IDM_SETASCURRENTWALLPAPER1, wall);
        win::SetMenuItemVisible(info, infoLayout, IDM_SETASCURRENTSCREEN1, !wall);
        HWND style = Control(SelectCtl::CBStyle);
        ShowWindow(Control(SelectCtl::chkbStartUpRun), wall ? SW_HIDE : SW_SHOW);
        SetStylePicker(wall ? 0 : -1);
        EnableWindow(style, wall);
        ShowWindow(style, wall ? SW_SHOW : SW_HIDE);
        ShowWindow(Control(SelectCtl::LblStyle), wall ? SW_SHOW : SW_HIDE);
        ViewOf(ScreenCategory::Wall).SetVisible(wall);
        if (wall) current_ = ScreenCategory::Wall;
        HighlightButton(ScreenCategory::Wall, wall);
        // The same text (without regard to case) keeps the entry the user picked.
        browser_.SetFilter(current_ == ScreenCategory::Wall ? kWallpaperFilterText : kScreenFilterText);
        CountRefresh();
    }
    UpdatePreviewAnimation();  // wallpapers never move
}

void TFormSelect::CountRefresh() {
    const CategoryList& list = CurrentList();
    EnableWindow(Control(SelectCtl::btnRemove), list.AnySelected());
    char text[64];
    std::snprintf(text, sizeof text, "%zu / %zu", list.SelectedCount(), list.size());
    win::SetText(Control(SelectCtl::LblNumber), text);
}

void TFormSelect::LstVSelectedChange(HWND sender) {
    EnableWindow(Control(SelectCtl::btnRemove), CurrentList().AnySelected());
    if (autoPreview_) ViewSelected(sender);
    CountRefresh();
}

void TFormSelect::PopMSelectedPopup() {
    const CategoryList& list = CurrentList();
    HMENU m = PopMSelected();
    const bool any = list.AnySelected();
    win::EnableMenuItemById(m, IDM_VIEW2, any);
    win::EnableMenuItemById(m, IDM_REMOVE1, any);
    win::EnableMenuItemById(m, IDM_INVERTSELECTION2, any);
    win::EnableMenuItemById(m, IDM_SELECTALL2, any && !list.AllSelected());
    win::EnableMenuItemById(m, IDM_FINDFILE1, true);
}

void TFormSelect::CBStyleChange() {
    CategoryList& list = CurrentList();
    if (!list.AnySelected()) return;  // the style then only goes to wallpapers added next
    list.SetStyleOfSelected(win::GetText(Control(SelectCtl::CBStyle)));
    listsModified_ = true;
    ViewOf(current_).Repaint();
}

void TFormSelect::DirectoryListBox1Change() {
    folders_[CategoryIndex(current_)] = browser_.Directory();
    folders_[CategoryIndex(ScreenCategory::Start)] = browser_.Directory();
}

void TFormSelect::Refresh1Click() {
    browser_.Refresh();
}

void TFormSelect::FilterComboBox1Change() {
    hints_.Set(browser_.FilterCombo(), browser_.CurrentFilterDescription());
}

}  // namespace mvpr
