#ifndef MVPR_IMAGING_PIXELROWS_H
#define MVPR_IMAGING_PIXELROWS_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mvpr {

// The row loops behind scaling and copying pictures come twice: plain integer code, which is what
// a Pentium II, Pentium III or Athlon of the Windows 98 years runs, and SSE2 code for newer
// processors. Both give the same bytes.
enum class PixelPath { Plain, Sse2 };

// Whether the SSE2 rows may run here: always on x86_64; on i686 only once the Windows side has
// found SSE2 in the processor and seen the system run an SSE2 instruction (Windows 95 and 98 do
// not save the SSE registers, and fault on it). False until then.
void SetSse2Usable(bool usable);
// Plain forces the plain rows (benchmarks, tests, or MVPR_PLAIN_PIXELS=1 in the environment);
// Sse2, the default, takes them where usable.
void SetPixelPath(PixelPath path);
// The rows that run now.
PixelPath ActivePixelPath();

namespace rows {

// One axis of a scaling: for each target pixel the first source pixel it takes and the weights of
// the pixels from there on, in 256ths that add up to 256 exactly. An axis that shrinks averages
// the source pixels each target pixel covers, by area; one that grows interpolates between the two
// nearest pixel centres. `Evenly` gives every target pixel the same number of weights (the most
// any takes, zeros around its own), so a row loop across has no loop over the taps.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<std::uint32_t> offset;   // where target pixel d's weights start
    std::vector<std::uint16_t> weights;  // count[d] entries per target pixel
    int most = 1;                        // the largest count
    // Evenly, where no target takes more than four pixels of a source at least four wide, for the
    // SSE2 rows: four pixels from first4[d], each weight repeated for the four channels.
    std::vector<int> first4;
    std::vector<std::uint16_t> wide;  // 16 per target pixel
    // Evenly, for the plain rows: the target pixels by how many pixels they take without the
    // padding (groups[c - 1] those that take c), so that no pixel is weighed by a zero.
    struct Group {
        std::vector<int> target, first;
        std::vector<std::uint16_t> weights;  // c per target pixel
    };
    std::vector<Group> groups;
};
enum class TapLayout { Trimmed, Evenly };
Taps MakeTaps(int srcSize, int dstSize, TapLayout layout);

// 32-bit pixels B G R A with the fourth byte 255: from 32-bit pixels whose fourth byte is unused,
// and from 24-bit ones.
void OpaqueRow(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels, PixelPath path);
void Bgr24Row(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels, PixelPath path);

// The reverse for a 24-bit file: B G R of each 32-bit pixel, the fourth byte dropped.
void Bgr24FromBgra(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);

// One row scaled across: target pixel d of `across` (evenly laid out) from the 32-bit row `src`.
void AcrossRow(const std::uint32_t* src, const Taps& across, std::uint32_t* dst, PixelPath path);
// One target row from `count` rows of `width` pixels, weighted by `weights` (256ths); the bits of
// `fill` are set in every pixel (0xFF000000 where the fourth byte must be opaque).
void DownRow(const std::uint32_t* const* src, const std::uint16_t* weights, int count, std::size_t width,
             std::uint32_t fill, std::uint32_t* dst, PixelPath path);

}  // namespace rows
}  // namespace mvpr

#endif
