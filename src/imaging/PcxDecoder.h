#ifndef MVPR_IMAGING_PCXDECODER_H
#define MVPR_IMAGING_PCXDECODER_H

#include <cstdint>
#include <span>

#include "imaging/DecodeResult.h"

namespace mvpr {

// ZSoft PCX, plain or RLE: 1 bit in 1 to 4 planes, 2 and 4 bits packed, 8 bits with the
// 256-colour table at the end, 24 and 32 bits as 3 or 4 planes of 8 bits.
DecodeResult DecodePcx(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});

// Manufacturer byte, version, encoding and depth as a PCX writer sets them.
bool LooksLikePcx(std::span<const std::uint8_t> file);

}  // namespace mvpr

#endif
