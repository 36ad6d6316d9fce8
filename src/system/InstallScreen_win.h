#ifndef MVPR_SYSTEM_INSTALLSCREEN_WIN_H
#define MVPR_SYSTEM_INSTALLSCREEN_WIN_H

#include <string>
#include <string_view>

#include "win/Win32.h"

namespace mvpr {

struct InstallOutcome {
    bool copied = false;
    std::string error;  // the system's message when not copied
};

// Gives `target` the bytes through the file-replacing helper, so it is never left half written;
// a hidden or system target stays so. On failure the target is unchanged.
InstallOutcome WriteScreenFile(std::string_view bytes, const std::string& target);

// Copies `source` byte for byte over `target` the same way.
InstallOutcome InstallScreenFile(const std::string& source, const std::string& target);

// The same copy, but only to a file that does not exist yet (a backup never overwrites).
InstallOutcome CopyToNewFile(const std::string& source, const std::string& target);

}  // namespace mvpr

#endif
