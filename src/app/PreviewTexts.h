#ifndef MVPR_APP_PREVIEWTEXTS_H
#define MVPR_APP_PREVIEWTEXTS_H

#include <string>
#include <string_view>

#include "imaging/ColourCycle.h"
#include "imaging/PixelFormat.h"

namespace mvpr {

inline constexpr std::string_view kNoFileSelected = "No File Selected";
inline constexpr std::string_view kNoPreviewAvailable = "No Preview Available.\n\rSelect a file first.";

// The preview picture's hint: "Size : 320 X 400".
std::string SizeHintText(int width, int height);
// "Info about file": size and depth, each line ended by LF CR.
std::string FileInfoText(int width, int height, PixelFormat format);
// Its third line for a screen whose colours cycle: "Animated : colours 236 to 255", ended by LF CR.
std::string AnimatedInfoLine(ColourCycle cycle);

// The hint and "Info about file" of a previewed file that could not be decoded; `kind` is what
// it was read as ("bitmap" or "picture").
inline constexpr std::string_view kUnreadableHint = "Size : unreadable file";
std::string UnreadableInfoText(std::string_view path, std::string_view kind);

}  // namespace mvpr

#endif
