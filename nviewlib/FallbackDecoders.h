#ifndef MVPR_NVIEWLIB_FALLBACKDECODERS_H
#define MVPR_NVIEWLIB_FALLBACKDECODERS_H

#include <cstdint>
#include <optional>
#include <span>

#include "imaging/Picture.h"
#include "imaging/PictureKind.h"

namespace mvpr {

// PNG, GIF and JPEG: through the Windows Imaging Component where the system has it; before it
// (Windows 98 to XP SP2) JPEG and GIF through OLE's picture loader and PNG through GDI+ where
// gdiplus.dll is there, both looked up at run time. Every way keeps the same depth rules.
std::optional<Picture> DecodeWebPicture(std::span<const std::uint8_t> file, PictureKind kind,
                                        const DecodeLimits& limits);

// JPEG and GIF (its first frame) through OleLoadPicture: JPEG 24 bits (grey ones 8 bits with a
// grey palette), GIF 8 bits with the colour table of its first frame.
std::optional<Picture> DecodeWithOlePicture(std::span<const std::uint8_t> file, PictureKind kind,
                                            const DecodeLimits& limits);
// PNG through GDI+: palettes stay palettes, transparency 32 bits, the rest 24 bits.
std::optional<Picture> DecodeWithGdiplus(std::span<const std::uint8_t> file, const DecodeLimits& limits);

// For tests: act as if the system had no Windows Imaging Component.
bool SetWicAbsentSeam(bool absent);  // returns the one it replaces

}  // namespace mvpr

#endif
