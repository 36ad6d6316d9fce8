#ifndef MVPR_WIN_TEXTS_H
#define MVPR_WIN_TEXTS_H

#include <string_view>

namespace mvpr::win {

// The application's title: the main window's caption, the splash's, and that of the general
// error handler's boxes.
inline constexpr std::string_view kApplicationTitle = "Morvellan Selector";

// How lines of a message break, in every box of both programs.
inline constexpr std::string_view kLineBreak = "\n\r";

}  // namespace mvpr::win

#endif
