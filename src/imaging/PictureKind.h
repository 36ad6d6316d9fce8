#ifndef MVPR_IMAGING_PICTUREKIND_H
#define MVPR_IMAGING_PICTUREKIND_H

#include <cstdint>
#include <span>
#include <string_view>

namespace mvpr {

enum class PictureKind { Unknown, Bmp, Png, Gif, Jpeg, Pcx, Tga };

std::string_view PictureKindName(PictureKind kind);

// Tells formats apart by their first bytes, never by the file name: users rename files.
// TGA has no signature, so it is what a plausible TGA header is when nothing else matched.
PictureKind SniffPictureKind(std::span<const std::uint8_t> file);

}  // namespace mvpr

#endif
