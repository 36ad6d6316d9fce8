#include "win/FilterText.h"

namespace mvpr {

namespace {
std::vector<std::string_view> Split(std::string_view text, char sep) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(sep, start);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

bool Match(std::string_view name, std::string_view pattern) {
    // Iterative matcher with one backtrack point: linear in practice, no recursion depth.
    std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || UpperAscii(pattern[p]) == UpperAscii(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}
}  // namespace

std::vector<FilterEntry> ParseFilterText(std::string_view text) {
    std::vector<FilterEntry> out;
    if (text.empty()) return out;
    const auto parts = Split(text, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty()) continue;
        out.push_back({std::string(parts[i]), std::string(parts[i + 1])});
    }
    return out;
}

std::vector<std::string> SplitMask(std::string_view mask) {
    std::vector<std::string> out;
    for (auto part : Split(mask, ';'))
        if (!part.empty()) out.emplace_back(part);
    return out;
}

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*" || pattern == "*") return true;
    // "x.*" also matches a plain "x", as the Windows file functions do.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos && Match(name, pattern.substr(0, pattern.size() - 2)))
        return true;
    return Match(name, pattern);
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    for (auto pattern : Split(mask, ';'))
        if (!pattern.empty() && MatchesPattern(name, pattern)) return true;
    return false;
}

}  // namespace mvpr
