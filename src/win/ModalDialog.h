#ifndef MVPR_WIN_MODALDIALOG_H
#define MVPR_WIN_MODALDIALOG_H

#include <functional>
#include <string_view>
#include <vector>

#include "win/Handles.h"
#include "win/Window.h"

namespace mvpr::win {

// Base of every modal dialog of ours, made from a dialog template: one thunk from the dialog to
// the object, the rule that no exception leaves the dialog procedure, and the GDI objects the
// dialog owns, freed once its controls are gone.
class ModalDialog {
  public:
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;
    virtual ~ModalDialog() = default;

    // The object of a dialog up through RunModal, or nullptr.
    static ModalDialog* FromHandle(HWND dlg);

  protected:
    ModalDialog() = default;
    // Runs the dialog of the template until EndDialog; its result, or -1 when it could not be made.
    INT_PTR RunModal(HWND owner, int templateId);
    HWND dlg() const { return dlg_; }
    // WM_INITDIALOG; the dialog is up but not yet shown.
    virtual void OnInit() {}
    // A dialog procedure's answer: TRUE when handled.
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // What an exception escaping HandleMessage becomes: by default an error box (once for a paint).
    virtual void Failed(UINT msg, std::string_view what);
    // Puts a control of ours where the template holds a placeholder with this id: `make` creates
    // it, with that id, in the bounds given (the dialog's client coordinates); it takes the
    // placeholder's turn in the tab order, and the placeholder goes. The control, or null.
    HWND TakePlace(int id, const std::function<HWND(RECT bounds)>& make);
    // Fonts and bitmaps the dialog's controls use for as long as it is up.
    HFONT Keep(UniqueFont font);
    HBITMAP Keep(UniqueBitmap bitmap);

  private:
    static INT_PTR CALLBACK Procedure(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);
    HWND dlg_ = nullptr;
    bool paintFailed_ = false;
    std::vector<UniqueFont> fonts_;
    std::vector<UniqueBitmap> bitmaps_;
};

}  // namespace mvpr::win

#endif
