#ifndef MVPR_NVIEWLIB_WICDECODER_H
#define MVPR_NVIEWLIB_WICDECODER_H

#include <cstdint>
#include <optional>
#include <span>

#include "imaging/Picture.h"
#include "imaging/PictureKind.h"
#include "win/Win32.h"

namespace mvpr {

// PNG, GIF (its first frame) and JPEG through the Windows Imaging Component, with the decoder of
// `kind` (the sniffed content) rather than WIC's own guess. Palette pictures keep their palette
// (2-bit ones become 4-bit), grey becomes an 8-bit grey palette, transparency 32 bits, the rest
// 24 bits. COM is set up and torn down inside the call.
// `present` tells whether the system has WIC at all.
std::optional<Picture> DecodeWithWic(std::span<const std::uint8_t> file, PictureKind kind, const DecodeLimits& limits,
                                     bool* present = nullptr);

}  // namespace mvpr

#endif
