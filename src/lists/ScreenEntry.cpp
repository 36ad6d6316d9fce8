#include "lists/ScreenEntry.h"

namespace mvpr {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '\\') path += '\\';
    path += name;
    return path;
}

std::string WithTrailingBackslash(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && out.back() != '\\') out += '\\';
    return out;
}

std::string ScreenEntry::FullPath() const {
    return JoinPath(folder, fileName);
}

}  // namespace mvpr
