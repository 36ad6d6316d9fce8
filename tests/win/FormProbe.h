#ifndef MVPR_TESTS_WIN_FORMPROBE_H
#define MVPR_TESTS_WIN_FORMPROBE_H

#include <string>

#include "app/FormSelect.h"

namespace mvpr::test {

// What the tests read of the main window's state and the handlers they call without a message:
// the window itself shows the program only what the program uses.
class FormSelectProbe {
  public:
    explicit FormSelectProbe(TFormSelect& form) : form_(form) {}

    // state
    bool AutoPreview() const { return form_.autoPreview_; }
    bool ListsModified() const { return form_.listsModified_; }
    bool Uninstalled() const { return form_.uninstalled_; }
    bool CommandLineUninstall() const { return form_.commandLineUninstall_; }
    bool ReportAddErrors() const { return form_.ReportAddErrors(); }
    const std::string& HelpFile() const { return form_.helpFile_; }
    int PreviewMode() const {
        return form_.previewMode_;
    }  // 0 none, 10 choose only, 20 selected only, 30 both
    const std::string& PreviewCaption() const { return form_.PreviewCaption(); }
    COLORREF PreviewStripColor() const { return form_.pnlPreviewName_.Color(); }
    ColourAnimation& PreviewAnimation() const { return form_.previewAnimation_; }
    const win::Notice& Notice() const { return form_.notice_; }
    const std::string& CategoryFolder(ScreenCategory c) const { return form_.CategoryFolder(c); }

    // controls, lists and menus
    FileBrowser& Browser() const { return form_.browser_; }
    CategoryList& ListOf(ScreenCategory c) const { return form_.ListOf(c); }
    CategoryListView& ViewOf(ScreenCategory c) const { return form_.ViewOf(c); }
    win::SpeedButton& ButtonOf(ScreenCategory c) const { return form_.ButtonOf(c); }
    HMENU MainMenu1() const { return form_.MainMenu1(); }
    HMENU PopMFile() const { return form_.PopMFile(); }
    HMENU PopMSelected() const { return form_.PopMSelected(); }
    HMENU PopMFileInfo() const { return form_.PopMFileInfo(); }

    // handlers, called as their menu entries would
    bool SaveToFile() const { return form_.SaveToFile(); }
    void btnRemoveClick() const { form_.btnRemoveClick(); }
    void PopMSelectedPopup() const { form_.PopMSelectedPopup(); }
    void PopMFileInfoPopup() const { form_.PopMFileInfoPopup(); }
    void ChangePreviewOn(SelectCmd sender) const { form_.ChangePreviewOn(sender); }
    void BackupOriginalScreens() const { form_.BackupOriginalScreens(); }
    void OriginalScreens1Click() const { form_.OriginalScreens1Click(); }
    void Uninstall2Click() const { form_.Uninstall2Click(); }

  private:
    TFormSelect& form_;
};

}  // namespace mvpr::test

#endif
