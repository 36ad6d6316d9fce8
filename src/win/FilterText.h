#ifndef MVPR_WIN_FILTERTEXT_H
#define MVPR_WIN_FILTERTEXT_H

#include <string>
#include <string_view>
#include <vector>

#include "win/AsciiCase.h"
namespace mvpr {

// The file-type filter picker's texts: description and mask pairs, all separated by "|";
// a mask lists patterns separated by ";".
inline constexpr std::string_view kScreenFilterText =
    "All usable files (*.bmp, *.sys)|*.bmp;*.sys;|Windows Bitmaps (*.bmp)|*.bmp|System Files "
    "(*.sys)|*.sys|All files (*.*)|*.*";
inline constexpr std::string_view kWallpaperFilterText =
    "All usable files (*.bmp, *.jpg, *.jpeg, *.gif, *.dib, *.rle, *.tga, *.pcx, *.sys, *.png)|*.bmp;*.jpg;"
    "*.jpeg;*.jif;*.gif;*.dib;*.rle;*.tga;*.pcx;*.sys;*.png;|Windows Bitmaps (*.bmp)|*.bmp|System Files "
    "(*.sys)|*.sys|All files (*.*)|*.*";
// The file list's mask at window creation.
inline constexpr std::string_view kInitialFileMask = "*.bmp;*.sys;";

struct FilterEntry {
    std::string description;
    std::string mask;
};

// A trailing description without a mask is dropped, as is an empty description.
std::vector<FilterEntry> ParseFilterText(std::string_view text);

// The patterns of a mask, empty ones left out ("*.bmp;*.sys;" gives two).
std::vector<std::string> SplitMask(std::string_view mask);

// Wildcard match of a file name against one pattern, without regard to case: "*" any run,
// "?" one character. "*.*" matches every name, also one without a dot, as on Windows.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// True when the name matches any pattern of the mask.
bool MatchesMask(std::string_view name, std::string_view mask);

}  // namespace mvpr

#endif
