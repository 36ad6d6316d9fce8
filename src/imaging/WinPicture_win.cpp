#include "imaging/WinPicture_win.h"

#include "imaging/DibSection_win.h"

namespace mvpr {

void WinPicture::Assign(HBITMAP bitmap, std::optional<PixelFormat> format, std::optional<ColourCycle> cycle) {
    const BitmapFacts facts = DescribeBitmap(bitmap);
    bitmap_.reset(bitmap);
    width_ = facts.width;
    height_ = facts.height;
    format_ = bitmap && format ? *format : facts.format;
    cycle_ = bitmap && facts.format == PixelFormat::Bits8 ? cycle : std::nullopt;
    if (onChange_) onChange_();
}

}  // namespace mvpr
