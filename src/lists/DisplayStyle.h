#ifndef MVPR_LISTS_DISPLAYSTYLE_H
#define MVPR_LISTS_DISPLAYSTYLE_H

#include <array>
#include <optional>
#include <string_view>

namespace mvpr {

// Wallpaper display styles; always carried as their exact text, the index is the position in
// the style picker.
inline constexpr std::array<std::string_view, 5> kDisplayStyles{"Centred", "Stretched", "Tiled",
                                                                "Fit 2 Screen", "Mirror"};
inline constexpr std::string_view kDefaultStyle = kDisplayStyles[0];

// Exact, case-sensitive match against the five names.
constexpr std::optional<std::size_t> DisplayStyleIndex(std::string_view text) {
    for (std::size_t i = 0; i < kDisplayStyles.size(); ++i)
        if (kDisplayStyles[i] == text) return i;
    return std::nullopt;
}

}  // namespace mvpr

#endif
