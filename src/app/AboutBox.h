#ifndef MVPR_APP_ABOUTBOX_H
#define MVPR_APP_ABOUTBOX_H

#include <string>

#include "win/ModalDialog.h"

namespace mvpr {

// The About box: product name, version and build from the version record, credits, contact.
// Made once at start-up; each showing is modal.
class TAboutBox : public win::ModalDialog {
  public:
    TAboutBox(const std::string& versionText, const std::string& buildText);
    // Shows the box until "O&K" (or Esc) closes it; returns the modal result (IDOK).
    INT_PTR ShowModal(HWND owner);

    const std::string& VersionCaption() const { return version_; }  // "Version 2.7"
    const std::string& BuildCaption() const { return build_; }      // "Build 12"

  private:
    void OnInit() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    std::string version_, build_;
};

}  // namespace mvpr

#endif
