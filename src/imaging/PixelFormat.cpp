#include "imaging/PixelFormat.h"

namespace mvpr {

std::string_view PixelFormatName(PixelFormat format) {
    switch (format) {
        case PixelFormat::Device: return "Device";
        case PixelFormat::Bits1: return "1";
        case PixelFormat::Bits4: return "4";
        case PixelFormat::Bits8: return "8";
        case PixelFormat::Bits15: return "15";
        case PixelFormat::Bits16: return "16";
        case PixelFormat::Bits24: return "24";
        case PixelFormat::Bits32: return "32";
        case PixelFormat::Custom: return "Custom";
    }
    return "Custom";
}

PixelFormat PixelFormatOfDib(int bitsPerPixel, DibStorage storage, std::uint32_t greenMask) {
    switch (bitsPerPixel) {
        case 1: return PixelFormat::Bits1;
        case 4: return PixelFormat::Bits4;
        case 8: return PixelFormat::Bits8;
        case 24: return PixelFormat::Bits24;
        case 16:
            if (storage == DibStorage::Rgb) return PixelFormat::Bits15;
            if (storage == DibStorage::Bitfields && greenMask == 0x07E0) return PixelFormat::Bits16;
            return PixelFormat::Custom;
        case 32: return storage == DibStorage::Rgb ? PixelFormat::Bits32 : PixelFormat::Custom;
        default: return PixelFormat::Custom;
    }
}

}  // namespace mvpr
