#ifndef MVPR_IMAGING_THUMBNAIL_WIN_H
#define MVPR_IMAGING_THUMBNAIL_WIN_H

#include "win/Handles.h"

namespace mvpr {

// The preview's small picture of any bitmap, made once per load: width x height at 32 bits,
// area-averaged by the core's resampler (Windows 9x has no HALFTONE stretching, and stretching a
// big bitmap on every paint freezes the window). The source is read a band of rows at a time,
// so a big picture costs no second copy of itself. Empty when GDI cannot read the bitmap.
win::UniqueBitmap MakeThumbnail(HBITMAP source, int width, int height);

}  // namespace mvpr

#endif
