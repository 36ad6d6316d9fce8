#ifndef MVPR_APP_SETTINGSKEYS_H
#define MVPR_APP_SETTINGSKEYS_H

#include <string_view>

namespace mvpr {

// Everything lies under HKEY_CURRENT_USER.
inline constexpr std::string_view kTolvaneKey = "SoftWare\\Tolvane";
inline constexpr std::string_view kMorvellanSubkey = "Morvellan";
inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValue = "Morvellan";

}  // namespace mvpr

#endif
