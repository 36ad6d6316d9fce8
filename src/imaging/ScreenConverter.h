#ifndef MVPR_IMAGING_SCREENCONVERTER_H
#define MVPR_IMAGING_SCREENCONVERTER_H

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/ColourCycle.h"
#include "imaging/Picture.h"

namespace mvpr {

// Making a start-up, waiting or shut-down screen from any picture. The machine shows the 320 x
// 400 stored pixels on a 4:3 display, each 2 wide and 1.2 high against a square pixel, so a
// picture is laid out in a 640 x 480 frame of square pixels and then resampled to 320 x 400.
// A picture of exactly 320 x 400 is taken as drawn for the screen already and copied 1:1.

enum class ScreenFit {
    Fit,   // the whole picture, bars of `bars` around it
    Fill,  // the whole frame, the picture cropped to 4:3 around `centreX`, `centreY`
};

// A bar along the bottom of the screen whose colours move while the screen shows: it alone uses
// the last `colours` palette entries, which cycle, filled with a ramp from `from` to `to` and back.
struct MovingBar {
    static constexpr int kMinColours = 2, kMaxColours = 64, kMaxHeight = 200;
    int colours = 20;
    int height = 10;  // rows of the 400
    Bgra from{255, 64, 0, 0}, to{255, 255, 255, 0};
};

struct ScreenOptions {
    ScreenFit fit = ScreenFit::Fit;
    Bgra bars{0, 0, 0, 0};
    // Fill: where the crop's centre lies, as a fraction of the picture's width and height; the
    // crop is kept inside the picture.
    double centreX = 0.5, centreY = 0.5;
    bool dither = true;
    // Ignored for a source that animates already: its own cycle is kept.
    std::optional<MovingBar> movingBar;
};

// Where the picture goes: the part of it used and the place it takes among the stored pixels.
struct ScreenLayout {
    int srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;
    int dstX = 0, dstY = 0, dstWidth = 0, dstHeight = 0;
    bool HasBars() const;
};

// Nothing for a size outside 1 .. 2^30 on either side.
std::optional<ScreenLayout> LayOutScreen(int width, int height, const ScreenOptions& options);

// A picture prepared once for any number of screens: its 32-bit pixels and, when it has no
// more than 256 colours, those colours, which every screen made from it then keeps exactly.
class ScreenSource {
  public:
    // Nothing for an empty picture or one that cannot be held (memory, size).
    static std::optional<ScreenSource> From(const Picture& picture);
    static std::optional<ScreenSource> From(Picture&& picture);
    // A screen that animates: an 8-bit picture and its cycle, whose entries and colours every
    // screen made from it keeps exactly (the other colours may be reduced into the other entries).
    static std::optional<ScreenSource> FromAnimated(Picture&& indexed, ColourCycle cycle);
    // The same picture made smaller (its longer side at most `maxSide`) for quick previews;
    // it keeps the original's size for the layout and the original's colours.
    std::optional<ScreenSource> Reduced(int maxSide) const;

    int Width() const { return width_; }  // of the picture it stands for
    int Height() const { return height_; }
    const std::optional<std::vector<Bgra>>& ExactColours() const { return colours_; }
    const std::optional<ColourCycle>& OwnCycle() const { return cycle_; }
    // The cycle of the screen these options make: the source's own, else the moving bar's.
    std::optional<ColourCycle> Cycle(const ScreenOptions& options) const;

    // The stored pixels before their colours are reduced: 32 bits, 320 x 400.
    std::optional<Picture> Render(const ScreenOptions& options) const;
    // The screen: 8 bits, 320 x 400, 256 palette entries of which entry 0 is black (an animated
    // screen of that size is copied as it is).
    std::optional<Picture> Make(const ScreenOptions& options) const;

  private:
    std::optional<Picture> KeepCycle(const Picture& rendered, const ScreenLayout& l,
                                     const ScreenOptions& o) const;
    std::optional<Picture> AddBar(const Picture& rendered, const ScreenLayout& l,
                                  const ScreenOptions& o) const;

    Picture pixels_;  // any depth
    int width_ = 0, height_ = 0;
    std::optional<std::vector<Bgra>> colours_;
    std::optional<ColourCycle> cycle_;  // then pixels_ is the 8-bit screen
};

// The palette a screen gets: black first, then the bar colour when bars show, then either the
// picture's own colours (`exact`; should they pass `maxColours`, the closest pairs are merged) or
// the colours that best stand for `rendered`.
std::vector<Bgra> ScreenPalette(const Picture& rendered, const std::optional<std::vector<Bgra>>& exact,
                                std::optional<Bgra> bars, int maxColours = 256);

// The palette entry (counted from the bar's first) of column `x` of a moving bar of `colours`
// entries, and the colour of entry `k`: the ramp goes from `from` to `to` and back, so it joins
// up as it cycles.
int BarEntry(int x, int colours);
Bgra BarColour(const MovingBar& bar, int k);

// A screen as a BMP file: uncompressed 8 bits, 129,078 bytes for 320 x 400, with the cycle's
// first entry in the low byte of biClrImportant (offset 0x32) and 0 without one (Windows 9x
// would animate any other value at boot, making parts of a still picture flicker).
std::optional<std::vector<std::uint8_t>> EncodeScreen(const Picture& screen,
                                                      std::optional<ColourCycle> cycle);

// The screen of a picture as a BMP file.
std::optional<std::vector<std::uint8_t>> MakeScreenFile(const Picture& picture, const ScreenOptions& options);

}  // namespace mvpr

#endif
