#ifndef MVPR_APP_COMMANDLINE_H
#define MVPR_APP_COMMANDLINE_H

#include <string>
#include <string_view>
#include <vector>

namespace mvpr {

// A parameter selects uninstall mode when, after at most one leading "+", "-" or "/", its
// first letter is U (either case): /u, -U, +u, u, /uninstall, update; not //u, x or "".
bool IsUninstallSwitch(std::string_view parameter);

// True when any parameter is the switch.
bool HasUninstallSwitch(const std::vector<std::string>& parameters);

}  // namespace mvpr

#endif
