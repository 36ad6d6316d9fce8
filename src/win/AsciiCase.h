#ifndef MVPR_WIN_ASCIICASE_H
#define MVPR_WIN_ASCIICASE_H

#include <string_view>

namespace mvpr {

// Case of the ASCII letters only: file masks, style names and drive letters are ASCII, and a
// locale's idea of case must not change what the list file means.
constexpr char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-insensitive (ASCII) equality.
constexpr bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

}  // namespace mvpr

#endif
