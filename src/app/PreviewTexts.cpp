#include "app/PreviewTexts.h"

namespace mvpr {

std::string SizeHintText(int width, int height) {
    return "Size : " + std::to_string(width) + " X " + std::to_string(height);
}

std::string FileInfoText(int width, int height, PixelFormat format) {
    return SizeHintText(width, height) + "\n\r" + "Bits per pixel : " + std::string(PixelFormatName(format)) +
           "\n\r";
}

std::string AnimatedInfoLine(ColourCycle cycle) {
    return "Animated : colours " + std::to_string(cycle.first) + " to 255\n\r";
}

std::string UnreadableInfoText(std::string_view path, std::string_view kind) {
    std::string text = "No picture : ";
    text += path;
    text += "\n\r";
    text += "The file could not be read as a ";
    text += kind;
    text += ".\n\r";
    return text;
}

}  // namespace mvpr
