#ifndef MVPR_IMAGING_RESAMPLE_H
#define MVPR_IMAGING_RESAMPLE_H

#include <optional>

#include "imaging/Picture.h"

namespace mvpr {

// A 32-bit copy of any picture, rows top-down, bytes B G R A: palettes and channel masks
// resolved, the fourth byte the source's alpha (255 where it has none). Nothing for an empty
// picture or when the copy would exceed the limits.
std::optional<Picture> ToBgra32(const Picture& src, const DecodeLimits& limits = {});
// The same into `out` (not the source), reusing its memory where it is big enough; false for
// nothing.
bool ToBgra32Into(const Picture& src, Picture& out, const DecodeLimits& limits = {});

// The picture scaled to width x height as a 32-bit picture laid out as ToBgra32's. Each axis is
// filtered on its own: an axis that shrinks averages the source pixels each target pixel covers
// (by area, so no source pixel is skipped), one that grows interpolates bilinearly between pixel
// centres, one that keeps its size is copied. Nothing for an empty source, a size below 1 or a
// result over the limits.
std::optional<Picture> ResamplePicture(const Picture& src, int width, int height,
                                       const DecodeLimits& limits = {});
bool ResampleInto(const Picture& src, int width, int height, Picture& out, const DecodeLimits& limits = {});

}  // namespace mvpr

#endif
