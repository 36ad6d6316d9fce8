#ifndef MVPR_APP_CHECKSCREENSDIALOG_H
#define MVPR_APP_CHECKSCREENSDIALOG_H

#include <functional>
#include <vector>

#include "system/ScreenCheck.h"
#include "system/ScreenCheck_win.h"
#include "win/Handles.h"
#include "win/ModalDialog.h"

namespace mvpr {

// "Check Screens": what Windows will show at the next start and shut-down, and why, one finding a
// row; "&Fix..." offers the selected finding's fix, asked before it is done.
class TCheckScreensDialog : public win::ModalDialog {
  public:
    explicit TCheckScreensDialog(Places places) : places_(std::move(places)) {}

    // Modal, until "&Close" or Esc.
    void ShowModal(HWND owner);

    // Tests act once the dialog is up.
    using ShownSeam = std::function<void(HWND dialog)>;
    static ShownSeam SetShownSeam(ShownSeam seam);  // returns the seam it replaces

  private:
    void OnInit() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void CheckAgainClick();
    void FixClick();
    void SelectionChanged();
    int Selected() const;

    Places places_;
    CheckFacts facts_;
    std::vector<Finding> findings_;
    HWND list_ = nullptr;
    HIMAGELIST marks_ = nullptr;  // owned by the list view (no LVS_SHAREIMAGELISTS)
};

}  // namespace mvpr

#endif
