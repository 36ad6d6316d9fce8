#ifndef MVPR_APP_FORMPREVIEW_H
#define MVPR_APP_FORMPREVIEW_H

#include <optional>
#include <string>

#include "imaging/ColourAnimation_win.h"
#include "imaging/Picture.h"
#include "imaging/StyleRenderer.h"
#include "lists/DisplayStyle.h"
#include "res/resource.h"
#include "win/Handles.h"
#include "win/Hints.h"
#include "win/PictureBox.h"
#include "win/Window.h"

namespace mvpr {

class TFormSelect;

// Commands of the full-screen preview's menu, numbered as in the resources.
enum class PreviewCmd : int {
    Returntomain1 = IDM_RETURNTOMAIN1,
    Fileinfo1 = IDM_FILEINFO1,
    N1 = IDM_N_PREVIEW1,
    Centred1 = IDM_CENTRED1,
    Stretched1 = IDM_STRETCHED1,
    Tiled1 = IDM_TILED1,
    Fit2Screen1 = IDM_FIT2SCREEN1,
    Mirror1 = IDM_MIRROR1,
    N2 = IDM_N_PREVIEW2,
    SetascurrentScreen1 = IDM_PREVIEW_SETASCURRENTSCREEN1,
    SetascurrentWallpaper1 = IDM_PREVIEW_SETASCURRENTWALLPAPER1,
};
static_assert(IDM_MIRROR1 - IDM_CENTRED1 == 4, "the five style entries are one run, in the style order");

// The previewed picture and the style chosen in the main window, as the wallpaper and the
// full-screen window both get them.
std::optional<Picture> PreviewSource(const TFormSelect& main);
DisplayStyle ChosenStyle(const TFormSelect& main);
// The screen's size in pixels.
int ScreenWidth();
int ScreenHeight();
// Makes a rendering the wallpaper; a work file that cannot be written is reported to `owner`.
void SetWallpaperFrom(const TFormSelect& main, HWND owner, const Picture& work, DisplayStyle style);

// The full-screen preview: the main window's previewed picture over the whole screen, stretched
// for the screen categories and in the chosen display style for wallpapers. Closing only hides it.
class TFormPreview : public win::Window {
  public:
    static constexpr const char* kClassName = "TFormPreview";
    static constexpr const char* kCaption = "Full screen Preview";

    explicit TFormPreview(TFormSelect& main) : main_(main) {}

    HWND CreateForm();  // hidden
    // Shown, not modal, and made the active window (FormActivate then runs).
    void ShowPreview();
    // Its menu's shortcuts while it is active. True when the message was handled here.
    bool PreTranslateMessage(MSG& msg);

    // --- handlers ---------------------------------------------------------------------------
    void FormActivate();
    void RenderStyle();
    void CheckStyleItems();
    void StyleClick(PreviewCmd sender);
    void Returntomain1Click();
    void Fileinfo1Click();
    void SetasCurrentClick();

    // --- what it shows ----------------------------------------------------------------------
    HMENU PopMPreview() const { return GetSubMenu(popMPreview_.get(), 0); }
    HWND ImgPreview() const { return image_.hwnd(); }
    std::string ImgPreviewHint() const { return hints_.Get(image_.hwnd()); }
    // The last rendering (what the work file gets in the wallpaper category) and where the
    // picture lies in the client area.
    const std::optional<Picture>& Rendering() const { return work_; }
    PixelRect Placement() const { return placement_; }
    // The colour cycle of an animated screen, played while shown (tests step it themselves).
    ColourAnimation& Animation() { return animation_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void OnCommand(int id);
    void SetItemVisible(PreviewCmd item, bool visible);
    void Show(const Picture& picture, PixelRect where);
    // An animated screen over the whole client area, index-exact; false when it is not one.
    bool ShowAnimated(PixelRect where);

    TFormSelect& main_;
    win::PictureBox image_;  // at the size of its bitmap, which is made for it
    win::Hints hints_;
    win::UniqueMenu popMPreview_, popMPreviewLayout_;
    HACCEL accel_ = nullptr;  // a resource, never freed
    std::optional<Picture> work_;
    ColourAnimation animation_;
    Picture scaled_;  // the rendering scaled to the window, where it is
    PixelRect placement_;
    bool activating_ = false;
    unsigned activations_ = 0;
};

}  // namespace mvpr

#endif
