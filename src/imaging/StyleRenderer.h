#ifndef MVPR_IMAGING_STYLERENDERER_H
#define MVPR_IMAGING_STYLERENDERER_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <optional>
#include <vector>

#include "imaging/Picture.h"
#include "lists/DisplayStyle.h"

namespace mvpr {

// A rectangle in pixels of the screen or of a window's client area.
struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Centred: the picture at its own size in the middle of the client area. Halving truncates toward
// zero, so an odd excess loses its pixel at the right or bottom. Nothing for an empty size.
std::optional<PixelRect> CentredPlacement(int srcW, int srcH, int clientW, int clientH);

// Fit 2 Screen: scaled with its proportions until it meets two opposite screen edges (the fitted
// size rounded half to even, never below one pixel), centred on the screen.
std::optional<PixelRect> FitPlacement(int srcW, int srcH, int screenW, int screenH);

// Tiled and Mirror: tiles are drawn for column indexes 0..columns and row indexes 0..rows, both
// inclusive; what falls outside the screen is cut.
struct TileGrid {
    int columns = 0, rows = 0;
    friend bool operator==(const TileGrid&, const TileGrid&) = default;
};
std::optional<TileGrid> TileCount(int srcW, int srcH, int screenW, int screenH);

// The destination rectangle of the mirrored tile (i, j) of a w x h source: a left right of its
// right edge mirrors left to right, a top below its bottom upside down. The one-pixel shift
// keeps every tile on exactly its own pixel range.
struct MirrorRect {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const MirrorRect&, const MirrorRect&) = default;
};
MirrorRect MirrorTile(int i, int j, int w, int h);

// The depth of the work file for the display's: 16 and 32 as they are, 24 for any other or none.
int WorkFileBits(int displayBits);

// The pixels of the wallpaper work file, top-down: Centred and Stretched the source at its own
// size, Tiled and Mirror screen-sized tiles, Fit 2 Screen the source scaled to its fitted size.
// Tiled and Mirror are made at `fileBits` (as WorkFileBits gives it), the depth of the file they
// become, so that writing them copies their rows; the other styles are 32-bit and are converted
// as they are written. Nothing for an empty source or screen, or when the memory is not there.
std::optional<Picture> RenderWorkFile(const Picture& src, DisplayStyle style, int screenW, int screenH,
                                      int fileBits = 32);
// The same into `work` (not the source), in the memory it holds where that is big enough: the
// screen-sized buffers are kept from one rendering to the next. False for nothing.
bool RenderWorkFileInto(const Picture& src, DisplayStyle style, int screenW, int screenH, Picture& work,
                        int fileBits = 32);

// Where the full-screen window shows that rendering, and at which size: Stretched scales it to
// the client area, Centred centres it on the client area, Fit 2 Screen on the screen.
PixelRect ViewPlacement(DisplayStyle style, int workW, int workH, int clientW, int clientH, int screenW,
                        int screenH);

// The work file's bytes: a bitmap at the display's depth (16, 24 or 32 bits; 24 for any other
// depth or none). Nothing for an empty picture or a file too big for the format.
std::optional<std::vector<std::uint8_t>> EncodeWorkFile(const Picture& work, int displayBits);

// The same bytes handed to `write` in pieces of about `piece` bytes, made from the rendered rows
// as they go: no copy of the whole file is made. False for an empty picture, one too big for the
// format, or when `write` returns false.
bool WriteWorkFile(const Picture& work, int displayBits,
                   const std::function<bool(std::span<const std::uint8_t>)>& write,
                   std::size_t piece = std::size_t{1} << 20);

}  // namespace mvpr

#endif
