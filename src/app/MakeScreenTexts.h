#ifndef MVPR_APP_MAKESCREENTEXTS_H
#define MVPR_APP_MAKESCREENTEXTS_H

#include <string>
#include <string_view>

namespace mvpr {

// Texts of making a screen from a picture; lines break with LF CR as in every message.
inline constexpr char kSaveScreenTitle[] = "Save Screen As";
// Pairs of description and mask, each ended by a zero, the list by a second one.
inline constexpr char kSaveScreenFilter[] = "Bitmaps (*.bmp)\0*.bmp\0All files (*.*)\0*.*\0";
inline constexpr std::string_view kScreenSuffix = " screen";  // before ".bmp" when the picture is that name

inline std::string PictureErrorMessage(std::string_view path) {
    return "Picture Error " + std::string(path) + ",\n\rThe file cannot be read as a picture.";
}
inline std::string SaveOverSourceMessage(std::string_view path) {
    return "Save Error " + std::string(path) +
           ",\n\rA screen cannot be saved over the picture it is made from.";
}
inline std::string SaveErrorMessage(std::string_view path, std::string_view reason) {
    return "Save Error " + std::string(path) + ",\n\r" + std::string(reason);
}

}  // namespace mvpr

#endif
