#include "system/MsDosSys.h"

#include <functional>

namespace mvpr {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Offsets into the file, so that an edit knows where a value stands.
struct Span {
    std::size_t at = 0, size = 0;
};

Span Trimmed(std::string_view text, Span s) {
    while (s.size > 0 && IsBlank(text[s.at])) ++s.at, --s.size;
    while (s.size > 0 && IsBlank(text[s.at + s.size - 1])) --s.size;
    return s;
}

std::string_view Of(std::string_view text, Span s) {
    return text.substr(s.at, s.size);
}

// Calls `entry(section, key, value)` for every key line, in file order. A line ends at LF; a CR
// before it, and everything from an end-of-file mark on, is not part of it.
void ForEachEntry(std::string_view text, const std::function<void(std::string_view, Span, Span)>& entry) {
    if (const auto eof = text.find('\x1a'); eof != std::string_view::npos) text = text.substr(0, eof);
    std::string_view section;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        Span line{at, end - at};
        if (line.size > 0 && text[line.at + line.size - 1] == '\r') --line.size;
        at = end + 1;
        line = Trimmed(text, line);
        const std::string_view l = Of(text, line);
        if (l.empty() || l.front() == ';') continue;
        if (l.front() == '[') {
            const auto close = l.find(']');
            section = close == std::string_view::npos ? std::string_view() : l.substr(1, close - 1);
            continue;
        }
        const auto equals = l.find('=');
        if (equals == std::string_view::npos) continue;
        entry(section, Trimmed(text, Span{line.at, equals}),
              Trimmed(text, Span{line.at + equals + 1, line.size - equals - 1}));
    }
}

bool LooksLikeText(std::string_view bytes) {
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\r' && c != '\n' && c != '\t' && c != '\x1a') return false;
    }
    return true;
}

// "0", or "00": a number that reads as zero; anything else, blank included, leaves the default on.
bool IsOff(std::string_view value) {
    return !value.empty() && value.find_first_not_of('0') == std::string_view::npos;
}

// Where the value of the first line of `key` in [Options] stands, if there is one.
std::optional<Span> OptionValue(std::string_view bytes, std::string_view key) {
    std::optional<Span> found;
    ForEachEntry(bytes, [&](std::string_view section, Span k, Span v) {
        if (!found && SameText(section, "Options") && SameText(Of(bytes, k), key)) found = v;
    });
    return found;
}

}  // namespace

std::string_view MsDosKeyName(MsDosKey key) {
    return key == MsDosKey::Logo ? "Logo" : "BootGUI";
}

std::optional<MsDosSettings> ReadMsDosSys(std::string_view bytes) {
    if (bytes.size() < kMsDosSysMinSize || bytes.size() > kMsDosSysMaxSize || !LooksLikeText(bytes))
        return std::nullopt;
    bool paths = false;
    MsDosSettings s;
    bool hostSeen = false;
    ForEachEntry(bytes, [&](std::string_view section, Span k, Span v) {
        if (!SameText(section, "Paths")) return;
        const std::string_view key = Of(bytes, k), value = Of(bytes, v);
        if (SameText(key, "WinDir") || SameText(key, "WinBootDir")) paths = true;
        if (SameText(key, "HostWinBootDrv") && !hostSeen) {
            hostSeen = true;
            // "H", "H:" or "H:\": the letter is what counts.
            if (!value.empty() && Lower(value[0]) >= 'a' && Lower(value[0]) <= 'z')
                s.hostWinBootDrive = static_cast<char>(Lower(value[0]) - 'a' + 'A');
        }
    });
    if (!paths) return std::nullopt;
    for (const MsDosKey key : {MsDosKey::Logo, MsDosKey::BootGui}) {
        const auto value = OptionValue(bytes, MsDosKeyName(key));
        const bool on = !value || !IsOff(Of(bytes, *value));
        (key == MsDosKey::Logo ? s.logo : s.bootGui) = on;
    }
    return s;
}

MsDosEdit SwitchOn(std::string_view bytes, MsDosKey key) {
    if (!ReadMsDosSys(bytes)) return {MsDosEditStatus::NotMsDosSys, {}};
    const auto value = OptionValue(bytes, MsDosKeyName(key));
    if (!value || !IsOff(Of(bytes, *value))) return {MsDosEditStatus::AlreadyOn, {}};
    std::string edited(bytes);
    edited[value->at + value->size - 1] = '1';  // "0" becomes "1", "00" becomes "01"
    return {MsDosEditStatus::Switched, std::move(edited)};
}

}  // namespace mvpr
