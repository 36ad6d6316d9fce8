#ifndef MVPR_LISTS_SCREENENTRY_H
#define MVPR_LISTS_SCREENENTRY_H

#include <string>
#include <string_view>

namespace mvpr {

// One row of a category list. Entries have no key: the same file may stand twice.
struct ScreenEntry {
    std::string fileName;  // without folder; the row's caption
    std::string folder;    // may or may not end in a backslash
    std::string style;     // wallpapers only: one of the display-style names
    bool selected = false;

    std::string FullPath() const;
};

// Folder and name with one backslash between them, unless the folder already ends in one.
std::string JoinPath(std::string_view folder, std::string_view name);

// Appends a backslash unless the text is empty or already ends in one.
std::string WithTrailingBackslash(std::string_view folder);

}  // namespace mvpr

#endif
