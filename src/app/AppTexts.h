#ifndef MVPR_APP_APPTEXTS_H
#define MVPR_APP_APPTEXTS_H

#include <string_view>

#include "win/Texts.h"

namespace mvpr {

inline constexpr std::string_view kHelpFileName = "mvpr.hlp";
inline constexpr std::string_view kMainCaption = win::kApplicationTitle;  // the layout caption
inline constexpr std::string_view kSplashStatus = "Loading...";
inline constexpr std::string_view kSplashVersionPrefix = "Version : ";

}  // namespace mvpr

#endif
