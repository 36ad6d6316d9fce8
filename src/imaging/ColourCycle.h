#ifndef MVPR_IMAGING_COLOURCYCLE_H
#define MVPR_IMAGING_COLOURCYCLE_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/Picture.h"

namespace mvpr {

// The palette animation a start-up screen asks for. Windows 9x reads the low byte of
// biClrImportant (file offset 0x32) as the first palette entry that takes part; entries from it
// up to 255 then cycle while the screen shows, 0 meaning no animation.
struct ColourCycle {
    int first = 255;  // 1..255; the last entry is always 255

    int Count() const { return 256 - first; }
    friend bool operator==(const ColourCycle&, const ColourCycle&) = default;
};

inline constexpr std::size_t kCycleByteOffset = 0x32;

// The cycle a BMP file's header asks for, read as the boot display reads it: an 8-bit picture with
// an info header (the 12-byte core header has no such field) and a nonzero byte at 0x32.
std::optional<ColourCycle> CycleOfBmpHeader(std::span<const std::uint8_t> file);

// Writes the cycle (or none) into a BMP file with an info header; false when the file has none.
bool SetCycleByte(std::span<std::uint8_t> file, std::optional<ColourCycle> cycle);

// One frame on, `steps` times: every cycling entry takes the colour of the entry above it and
// entry 255 the old colour of the first, so the colours travel towards lower entries. A
// palette shorter than 256 entries is left alone.
void RotateColours(std::span<Bgra> palette, ColourCycle cycle, unsigned steps = 1);

// An 8-bit picture scaled by nearest neighbour to width x height, palette kept: each pixel is
// exactly one of the source's, as the boot display scales the screen. Nothing for other depths
// or sizes below 1.
std::optional<Picture> ScaleIndexExact(const Picture& indexed, int width, int height);

// The index of the source pixel that nearest-neighbour scaling from `from` to `to` pixels takes
// for destination pixel `at` (centres matched).
inline int NearestSource(int at, int to, int from) {
    return static_cast<int>((2 * static_cast<std::int64_t>(at) + 1) * from /
                            (2 * static_cast<std::int64_t>(to)));
}

}  // namespace mvpr

#endif
