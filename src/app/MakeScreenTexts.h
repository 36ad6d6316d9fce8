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

// Under the moving bar's settings: what the screen's cycling entries are.
inline std::string BarNote(int first) {
    return "Entries " + std::to_string(first) + " to 255 will cycle; 2 to 64 colours.";
}
inline std::string KeptCycleNote(int first) {
    return "This screen animates already: its colours " + std::to_string(first) + " to 255 are kept.";
}

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
