#ifndef MVPR_IMAGING_BMPCODEC_H
#define MVPR_IMAGING_BMPCODEC_H

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/DecodeResult.h"

namespace mvpr {

// Compression codes of the BMP header.
inline constexpr std::uint32_t kBiRgb = 0;
inline constexpr std::uint32_t kBiRle8 = 1;
inline constexpr std::uint32_t kBiRle4 = 2;
inline constexpr std::uint32_t kBiBitfields = 3;
inline constexpr std::uint32_t kBiAlphaBitfields = 6;  // Windows CE: four masks

// Reads a Windows bitmap file: the OS/2 core header and the 40, 52, 56, 108 and 124 byte
// headers; 1, 4, 8, 16, 24 and 32 bits; plain, bitfields, RLE4 and RLE8 (expanded to 4 and 8
// bits); either row order. Keeps the depth and masks of the file, and reports the palette
// animation an 8-bit screen asks for. Zero bytes give an empty
// picture and Ok: a zero-length screen file is an empty screen, not a broken one.
DecodeResult DecodeBmp(std::span<const std::uint8_t> file, const DecodeLimits& limits = {});

// A bottom-up BMP with a 40-byte header (a V4 header when the masks carry alpha), bitfields
// for explicit masks. An empty picture gives zero bytes; nothing if the file would pass 4 GB.
std::optional<std::vector<std::uint8_t>> EncodeBmp(const Picture& picture);

}  // namespace mvpr

#endif
