#include "app/Settings.h"

#include <charconv>

#include "system/SettingsKeys.h"

namespace mvpr {

namespace {
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}
}  // namespace

std::optional<int> ParseDecimal(std::string_view text) {
    constexpr std::string_view kBlanks = " \t";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    // One sign at most; from_chars itself takes only a minus.
    const bool plus = text.front() == '+';
    if (plus) text.remove_prefix(1);
    if (text.empty() || (plus && text.front() == '-')) return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int NumberOr(const std::optional<std::string>& stored, int fallback) {
    if (!stored) return fallback;
    return ParseDecimal(*stored).value_or(fallback);
}

bool YesNoOr(const std::optional<std::string>& stored, bool fallback) {
    return NumberOr(stored, fallback ? 1 : 0) != 0;
}

std::string YesNoText(bool yes) {
    return yes ? "1" : "0";
}

ScreenCategory CategoryOr(const std::optional<std::string>& stored) {
    return CategoryFromCode(NumberOr(stored, CategoryCode(ScreenCategory::Start)))
        .value_or(ScreenCategory::Start);
}

std::string RandomizerRunEntry(std::string_view programDir) {
    std::string path = std::string(programDir) + std::string(kRandomizerExe);
    if (path.find(' ') != std::string::npos) path = '"' + path + '"';
    return path;
}

bool NamesRandomizer(std::string_view entry) {
    if (!entry.empty() && entry.front() == '"') {
        entry.remove_prefix(1);
        entry = entry.substr(0, entry.find('"'));
    }
    const auto cut = entry.find_last_of("\\:");
    if (cut != std::string_view::npos) entry.remove_prefix(cut + 1);
    return EqualNoCase(entry, kRandomizerExe);
}

}  // namespace mvpr
