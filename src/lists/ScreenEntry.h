#ifndef MVPR_LISTS_SCREENENTRY_H
#define MVPR_LISTS_SCREENENTRY_H

#include <string>
#include <string_view>

#include "win/FolderPath.h"

namespace mvpr {

// One row of a category list. Entries have no key: the same file may stand twice.
struct ScreenEntry {
    std::string fileName;  // without folder; the row's caption
    std::string folder;    // may or may not end in a backslash
    std::string style;     // wallpapers only: one of the display-style names
    bool selected = false;

    std::string FullPath() const;
};

}  // namespace mvpr

#endif
