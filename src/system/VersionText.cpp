#include "system/VersionText.h"

namespace mvpr {

VersionTexts SplitFileVersion(std::string_view fileVersion) {
    if (fileVersion.empty()) return {std::string(kFallbackVersion), {}};
    const std::size_t last = fileVersion.rfind('.');
    if (last == std::string_view::npos) return {std::string(fileVersion), {}};
    VersionTexts out;
    out.build = std::string(fileVersion.substr(last + 1));
    const std::size_t previous = last == 0 ? std::string_view::npos : fileVersion.rfind('.', last - 1);
    // With one dot nothing is left of the version once two fields are gone.
    if (previous != std::string_view::npos) out.version = std::string(fileVersion.substr(0, previous));
    return out;
}

}  // namespace mvpr
