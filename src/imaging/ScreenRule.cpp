#include "imaging/ScreenRule.h"

#include "win/Texts.h"

namespace mvpr {

namespace {
constexpr std::string_view kBreak = win::kLineBreak;
}

std::string SizeErrorMessage(std::string_view path, int width, int height) {
    std::string m = "Size Error ";
    m += path;
    m += ",";
    m += kBreak;
    m += "Invallid Width or Height.";
    m += kBreak;
    m += "Size is : " + std::to_string(width) + " x " + std::to_string(height) + ",";
    m += kBreak;
    m += "Size must be 320 x 400.";
    return m;
}

std::string DepthErrorMessage(std::string_view path, PixelFormat format) {
    std::string m = "Pixel Format Error ";
    m += path;
    m += ",";
    m += kBreak;
    m += "Invallid Pixel depth.";
    m += kBreak;
    m += "Pixel depth is : ";
    m += PixelFormatName(format);
    m += " bpp";
    m += kBreak;
    m += "Pixel depth must be 8 bpp.";
    return m;
}

std::string UnreadableErrorMessage(std::string_view path) {
    std::string m = "Read Error ";
    m += path;
    m += ",";
    m += kBreak;
    m += "The file could not be read as a bitmap.";
    return m;
}

}  // namespace mvpr
