#include "app/CommandLine.h"

namespace mvpr {

bool IsUninstallSwitch(std::string_view parameter) {
    if (!parameter.empty() && (parameter[0] == '+' || parameter[0] == '-' || parameter[0] == '/'))
        parameter.remove_prefix(1);
    return !parameter.empty() && (parameter[0] == 'u' || parameter[0] == 'U');
}

bool HasUninstallSwitch(const std::vector<std::string>& parameters) {
    for (const auto& p : parameters)
        if (IsUninstallSwitch(p)) return true;
    return false;
}

}  // namespace mvpr
