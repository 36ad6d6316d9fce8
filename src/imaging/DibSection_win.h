#ifndef MVPR_IMAGING_DIBSECTION_WIN_H
#define MVPR_IMAGING_DIBSECTION_WIN_H

#include <optional>

#include "imaging/Picture.h"
#include "win/Win32.h"

namespace mvpr {

// A DIB section with the picture's depth, palette and masks (bottom-up, the order every GDI
// version takes); 0 for an empty picture or when GDI refuses. The caller owns the handle.
HBITMAP CreateDibSection(const Picture& picture);

struct BitmapFacts {
    int width = 0;
    int height = 0;
    PixelFormat format = PixelFormat::Device;
};

// Size and pixel format of any bitmap handle: a device-dependent bitmap is Device whatever its
// depth on screen; a DIB section follows its header and masks. Nothing known: 0 x 0, Device.
BitmapFacts DescribeBitmap(HBITMAP bitmap);

// The pixels of any bitmap as a 32-bit top-down picture, nothing when GDI cannot read it.
std::optional<Picture> ReadBitmapPixels(HBITMAP bitmap);

// A DIB section as the picture it holds, with its own depth, palette and masks (so a BMP written
// from it keeps them); nothing for a device-dependent bitmap.
std::optional<Picture> PictureFromDibSection(HBITMAP bitmap);

}  // namespace mvpr

#endif
