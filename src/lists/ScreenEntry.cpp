#include "lists/ScreenEntry.h"

namespace mvpr {

std::string ScreenEntry::FullPath() const {
    return JoinPath(folder, fileName);
}

}  // namespace mvpr
