#ifndef MVPR_IMAGING_COLOURANIMATION_WIN_H
#define MVPR_IMAGING_COLOURANIMATION_WIN_H

#include <cstdint>
#include <vector>

#include "imaging/ColourCycle.h"
#include "imaging/Picture.h"
#include "win/Handles.h"

namespace mvpr {

// Plays a screen's colour cycle in one window. The screen is scaled to the window's size once,
// index-exact (nearest neighbour, as the boot display scales it), so a frame changes only the
// pixels of cycling entries and never decodes or scales again. On a 256-colour display the
// palette manager moves the colours (a logical palette whose cycling entries are PC_RESERVED,
// moved with AnimatePalette, nothing redrawn); elsewhere the DIB section's colour table turns and
// the picture is drawn again.
class ColourAnimation {
  public:
    // About one BIOS clock tick: no period source gives the boot display's rate, this is close to
    // how fast the stock bar is remembered to move.
    static constexpr unsigned kFrameMs = 55;

    ColourAnimation() = default;
    ColourAnimation(const ColourAnimation&) = delete;
    ColourAnimation& operator=(const ColourAnimation&) = delete;
    ~ColourAnimation() { Clear(); }

    // Prepares an 8-bit picture for drawing at width x height; false (nothing loaded) for other
    // depths, a palette short of 256 entries or when GDI refuses.
    bool Load(const Picture& indexed, ColourCycle cycle, int width, int height);
    void Clear();
    bool Loaded() const { return static_cast<bool>(bitmap_); }

    // A timer moves one frame every kFrameMs in `window`, whose painting calls Paint. While the
    // window is hidden or its top-level window minimised the timer stops; the next paint of the
    // window starts it again.
    void Play(HWND window);
    // Stops and shows the file's own colours again.
    void Stop();
    bool Playing() const { return window_ != nullptr; }

    // One frame on, drawn at once: the timer's work, and what tests call.
    void Step();
    // Draws the current frame with its top-left corner at x, y; false when nothing is loaded.
    bool Paint(HDC dc, int x, int y);

    int Width() const { return width_; }
    int Height() const { return height_; }
    unsigned Frame() const { return frame_; }
    // The picture as drawn: its pixels index the colours of the current frame.
    const std::vector<Bgra>& Colours() const { return colours_; }
    bool UsesPaletteManager() const { return static_cast<bool>(palette_); }

  private:
    static void CALLBACK OnTimer(HWND window, UINT, UINT_PTR, DWORD);
    void Tick();
    bool WindowShowing() const;
    void StartTimer();
    void PutColours();

    win::UniqueBitmap bitmap_;
    const std::uint8_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
    ColourCycle cycle_;
    std::vector<Bgra> original_, colours_;
    unsigned frame_ = 0;
    HWND window_ = nullptr;
    bool timerRunning_ = false;
    win::Unique<HPALETTE, &win::CloseGdi> palette_;
};

}  // namespace mvpr

#endif
