#ifndef MVPR_APP_PREVIEWTEXTS_H
#define MVPR_APP_PREVIEWTEXTS_H

#include <string>
#include <string_view>

#include "imaging/PixelFormat.h"

namespace mvpr {

inline constexpr std::string_view kNoFileSelected = "No File Selected";
inline constexpr std::string_view kNoPreviewAvailable = "No Preview Available.\n\rSelect a file first.";

// The preview picture's hint: "Size : 320 X 400".
std::string SizeHintText(int width, int height);
// "Info about file": size and depth, each line ended by LF CR.
std::string FileInfoText(int width, int height, PixelFormat format);

}  // namespace mvpr

#endif
