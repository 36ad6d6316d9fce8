#ifndef MVPR_LISTS_DISPLAYSTYLE_H
#define MVPR_LISTS_DISPLAYSTYLE_H

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace mvpr {

// Wallpaper display styles; always carried as their exact text, the index is the position in
// the style picker.
inline constexpr std::array<std::string_view, 5> kDisplayStyles{"Centred", "Stretched", "Tiled",
                                                                "Fit 2 Screen", "Mirror"};
inline constexpr std::string_view kDefaultStyle = kDisplayStyles[0];

// The same five, by index.
enum class DisplayStyle { Centred, Stretched, Tiled, Fit2Screen, Mirror };

// Exact, case-sensitive match against the five names.
constexpr std::optional<std::size_t> DisplayStyleIndex(std::string_view text) {
    for (std::size_t i = 0; i < kDisplayStyles.size(); ++i)
        if (kDisplayStyles[i] == text) return i;
    return std::nullopt;
}

// The style a text names exactly, or nothing.
constexpr std::optional<DisplayStyle> DisplayStyleOf(std::string_view text) {
    if (auto index = DisplayStyleIndex(text)) return static_cast<DisplayStyle>(*index);
    return std::nullopt;
}

constexpr std::string_view DisplayStyleText(DisplayStyle style) {
    return kDisplayStyles[static_cast<std::size_t>(style)];
}

}  // namespace mvpr

#endif
