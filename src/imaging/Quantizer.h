#ifndef MVPR_IMAGING_QUANTIZER_H
#define MVPR_IMAGING_QUANTIZER_H

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "imaging/Picture.h"

namespace mvpr {

// Colour reduction for 32-bit top-down pictures (as ToBgra32 makes them). Alpha is ignored:
// colours compare by red, green and blue alone.

// The distinct colours of a picture of any depth in order of first appearance (alpha 0), or
// nothing when there are more than `limit` or the picture is empty.
std::optional<std::vector<Bgra>> DistinctColours(const Picture& picture, std::size_t limit);

// At most `maxColours` colours (1..256) that stand for the picture's pixels with the least
// squared error found: variance-minimising boxes (Wu) refined by weighted k-means. `fixed`
// colours come first, unchanged, and count towards `maxColours`; the picture's own colours
// follow. Alpha of every entry is 0, as a DIB palette wants it.
std::vector<Bgra> BuildPalette(const Picture& bgra32, int maxColours, std::span<const Bgra> fixed = {});

// An 8-bit picture of the same size whose pixels index the nearest colour of `palette`
// (1..256 entries; the palette is copied, unused entries black); with `dither`, serpentine
// Floyd-Steinberg error diffusion. Nothing for a picture that is not 32 bits or a bad palette.
std::optional<Picture> MapToPalette(const Picture& bgra32, std::span<const Bgra> palette, bool dither);

}  // namespace mvpr

#endif
