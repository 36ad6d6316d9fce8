#ifndef MVPR_APP_FORMOPSTARTSCHERM_H
#define MVPR_APP_FORMOPSTARTSCHERM_H

#include <string>

#include "win/Handles.h"
#include "win/Panel.h"
#include "win/Window.h"

namespace mvpr {

// The splash window shown while the program loads: nested panels, the logo, "Loading..." and
// the version.
class TFormOpstartScherm : public win::Window {
  public:
    static constexpr const char* kClassName = "TFormOpstartScherm";
    enum class Ctl : int { PBorder_Out = 10, PBevel, PBorder_In, Panel4, Image1, LStatus, LVersion };

    // Creates the window hidden; FormCreate reads the version record of this file.
    HWND CreateForm(const std::string& exePath);
    // Shows it without waiting and paints it at once: no message is processed until loading ends.
    void ShowAndPaint();
    void Close();

    const std::string& VersionText() const { return versionText_; }
    const std::string& BuildText() const { return buildText_; }
    HWND Control(Ctl id) const;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void FormCreate();
    std::string exePath_;
    std::string versionText_, buildText_;
    win::UniqueFont font_, boldFont_;
    win::UniqueBitmap logo_;
    win::Panel borderOut_, bevel_, borderIn_, panel4_;
};

// The program's logo, drawn for a width x height picture.
HBITMAP DrawLogo(int width, int height);

}  // namespace mvpr

#endif
