#include "app/PreviewTexts.h"

namespace mvpr {

std::string SizeHintText(int width, int height) {
    return "Size : " + std::to_string(width) + " X " + std::to_string(height);
}

std::string FileInfoText(int width, int height, PixelFormat format) {
    return SizeHintText(width, height) + "\n\r" + "Bits per pixel : " + std::string(PixelFormatName(format)) +
           "\n\r";
}

}  // namespace mvpr
