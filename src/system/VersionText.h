#ifndef MVPR_SYSTEM_VERSIONTEXT_H
#define MVPR_SYSTEM_VERSIONTEXT_H

#include <string>
#include <string_view>

namespace mvpr {

// The version shown when the executable carries no usable version record.
inline constexpr std::string_view kFallbackVersion = "2.7";
// FileVersion in the "041304E4" block of the executable's version record.
inline constexpr std::string_view kFileVersionQuery = "\\StringFileInfo\\041304E4\\FileVersion";

struct VersionTexts {
    std::string version;  // "2.7" for "2.7.0.12"
    std::string build;    // "12" for "2.7.0.12"
};

// Splits a FileVersion value: the build is the field after the last dot; the version is what
// remains when the last two fields and their dots are removed. A value without any dot is
// taken as the version itself with no build; an empty value gives the fallback version.
VersionTexts SplitFileVersion(std::string_view fileVersion);

}  // namespace mvpr

#endif
