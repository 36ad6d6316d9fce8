#ifndef MVPR_IMAGING_TGADECODER_H
#define MVPR_IMAGING_TGADECODER_H

#include <cstdint>
#include <span>

#include "imaging/DecodeResult.h"

namespace mvpr {

// Truevision TGA: colour-mapped, true-colour (15, 16, 24, 32 bits) and grey, plain or RLE,
// any origin. 8-bit indexes and grey give an 8-bit palette picture, 16-bit indexes 24 bits,
// 15/16-bit pixels a plain 16-bit picture (5-5-5), 32 bits keep their alpha in the fourth byte.
DecodeResult DecodeTga(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});

// Whether the 18-byte header describes a picture this decoder reads. TGA has no signature,
// so this is the test of last resort when telling formats apart.
bool LooksLikeTga(std::span<const std::uint8_t> file);

}  // namespace mvpr

#endif
