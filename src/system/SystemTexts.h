#ifndef MVPR_SYSTEM_SYSTEMTEXTS_H
#define MVPR_SYSTEM_SYSTEMTEXTS_H

#include <string>
#include <string_view>

namespace mvpr {

// Line breaks in message texts are LF CR, in that order.
inline constexpr std::string_view kUninstallQuestion =
    "This will uninstall MVPR.\n\r"
    "\n\r"
    "It will place your original screens back\n\r"
    "and remove all registry entries of MVPR.\n\r"
    "\n\r"
    "Are you sure you want to continue?";

inline constexpr std::string_view kUninstallDone =
    "MVPR was uninstalled succesfully.\n\r"
    "\n\r"
    "You can now safely remove the remaning \n\r"
    "MVPR files and direcotries.";

inline constexpr std::string_view kUninstallFailed = "Morvellan is NOT succesfully cleared from the registry";
// ... with the system's reason on the next line, where one is known.
inline std::string UninstallFailedMessage(std::string_view reason) {
    std::string m(kUninstallFailed);
    if (!reason.empty()) m += "\n\r" + std::string(reason);
    return m;
}

// A registry value that could not be written: "Failed to set data for '<value>'".
inline std::string FailedToSetData(std::string_view valueName) {
    return "Failed to set data for '" + std::string(valueName) + "'";
}

// Said for a few seconds after the command, with no box to click away.
inline std::string InstalledNotice(std::string_view target) {
    return "Installed as " + std::string(target);
}
inline constexpr std::string_view kRestoredNotice = "Original screens put back";

}  // namespace mvpr

#endif
