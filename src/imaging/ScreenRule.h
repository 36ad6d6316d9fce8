#ifndef MVPR_IMAGING_SCREENRULE_H
#define MVPR_IMAGING_SCREENRULE_H

#include <string>
#include <string_view>

#include "imaging/PixelFormat.h"

namespace mvpr {

// Start-up, waiting and shut-down screens are 320 x 400 pixels with 8 bits per pixel.
inline constexpr int kScreenWidth = 320;
inline constexpr int kScreenHeight = 400;

constexpr bool HasScreenSize(int width, int height) {
    return width == kScreenWidth && height == kScreenHeight;
}
constexpr bool MeetsScreenRule(int width, int height, PixelFormat format) {
    return HasScreenSize(width, height) && format == PixelFormat::Bits8;
}

// The messages of a refused screen file; lines break with LF CR.
std::string SizeErrorMessage(std::string_view path, int width, int height);
std::string DepthErrorMessage(std::string_view path, PixelFormat format);
// A chosen file that is no readable bitmap at all.
std::string UnreadableErrorMessage(std::string_view path);

}  // namespace mvpr

#endif
