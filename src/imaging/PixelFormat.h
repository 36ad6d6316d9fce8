#ifndef MVPR_IMAGING_PIXELFORMAT_H
#define MVPR_IMAGING_PIXELFORMAT_H

#include <cstdint>
#include <string_view>

namespace mvpr {

// The nine formats in the order messages and settings know them.
enum class PixelFormat { Device, Bits1, Bits4, Bits8, Bits15, Bits16, Bits24, Bits32, Custom };

// "Device", "1", "4", "8", "15", "16", "24", "32", "Custom"; callers add " bpp" themselves.
std::string_view PixelFormatName(PixelFormat format);

// How a device-independent bitmap stores its pixels, as its header says.
enum class DibStorage { Rgb, Bitfields, Other };

// The format of a device-independent bitmap. 16 bits are 15 when plain RGB (5-5-5) and 16 only
// for masks with the 5-6-5 green; 32 bits with masks are Custom even when they are the usual ones.
PixelFormat PixelFormatOfDib(int bitsPerPixel, DibStorage storage, std::uint32_t greenMask);

}  // namespace mvpr

#endif
