#ifndef MVPR_APP_MAKESCREENDIALOG_H
#define MVPR_APP_MAKESCREENDIALOG_H

#include <functional>
#include <optional>
#include <string>

#include "imaging/ColourAnimation_win.h"
#include "imaging/ScreenConverter.h"
#include "win/Handles.h"
#include "win/ModalDialog.h"
#include "win/PictureBox.h"

namespace mvpr {

// "Make Screen from Picture": a live preview of the screen as a 4:3 display shows it, Fit (bars
// of a colour the user picks) or Fill (a crop the user moves with the mouse or the arrow keys),
// Dither. OK asks where to save and writes the screen; Cancel leaves nothing behind.
class TMakeScreenDialog : public win::ModalDialog {
  public:
    TMakeScreenDialog(ScreenSource source, std::string sourcePath);

    // Modal; the path of the screen written, or nothing when cancelled.
    std::optional<std::string> ShowModal(HWND owner);
    const ScreenOptions& Options() const { return options_; }

    // The Save As default: the picture's folder and name with ".bmp", never the picture itself.
    static std::string SuggestedPath(const std::string& sourcePath);

    // Tests answer the Save As box (nothing = cancelled) and act once the dialog is up.
    using SaveAsSeam = std::function<std::optional<std::string>(const std::string& suggested)>;
    static SaveAsSeam SetSaveAsSeam(SaveAsSeam seam);  // each setter returns the seam it replaces
    using ShownSeam = std::function<void(HWND dialog)>;
    static ShownSeam SetShownSeam(ShownSeam seam);
    // The live preview's colour cycle, for tests.
    ColourAnimation& PreviewAnimation() { return animation_; }

  private:
    // The live preview: a picture box whose crop follows the mouse and the arrow keys.
    class Preview : public win::PictureBox {
      public:
        explicit Preview(TMakeScreenDialog& dialog) : dialog_(dialog) {}

      protected:
        LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

      private:
        TMakeScreenDialog& dialog_;
    };

    void OnInit() override;
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // The preview's input; nothing when the picture box's own handling is wanted.
    std::optional<LRESULT> HandlePreview(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    void OptionsChanged();
    RECT ScreenRect(HWND preview) const;  // where the 4:3 picture goes inside the preview
    void PaintPreview(HWND preview, HDC dc);
    void MoveCrop(double dx, double dy);  // in pixels of the picture
    void ChooseBars();
    bool SaveScreen();
    std::optional<std::string> AskSaveAs();
    // The moving bar: its settings read from the dialog, its colours picked, its note shown.
    void InitMovingBar();
    void ReadMovingBar();
    void PickBarColour(Bgra& colour);
    void ShowAnimation(const std::optional<Picture>& screen);

    ScreenSource source_;
    ScreenSource preview_;  // smaller, for a quick preview
    std::string sourcePath_;
    ScreenOptions options_;
    std::optional<std::string> saved_;
    win::UniqueBitmap previewBitmap_;
    Preview previewBox_{*this};
    bool dragging_ = false;
    POINT dragFrom_{};
    MovingBar bar_;
    ColourAnimation animation_;
};

}  // namespace mvpr

#endif
