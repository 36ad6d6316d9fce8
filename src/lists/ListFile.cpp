#include "lists/ListFile.h"

#include <cstring>
#include <utility>

#include "win/AsciiCase.h"
#include "lists/DisplayStyle.h"
#include "lists/ScreenCategory.h"

namespace mvpr {

namespace {
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr char kEndOfFile = 26;  // Ctrl-Z
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kStyleSeparator = ", ";
constexpr std::size_t kWallIndex = CategoryIndex(ScreenCategory::Wall);
constexpr std::size_t kTypicalLine = 48;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Blanks and control characters, as the style is trimmed of them.
bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::optional<std::size_t> SectionOfHeader(std::string_view line) {
    for (std::size_t i = 0; i < kCategories.size(); ++i)
        if (line == kCategories[i].section) return i;
    return std::nullopt;
}

std::string_view StyleFromText(std::string_view text) {
    std::size_t first = 0, last = text.size();
    while (first < last && IsBlankOrControl(text[first])) ++first;
    while (last > first && IsBlankOrControl(text[last - 1])) --last;
    const std::string_view trimmed = text.substr(first, last - first);
    for (std::string_view name : kDisplayStyles)
        if (EqualsIgnoreCase(trimmed, name)) return name;
    return kDefaultStyle;
}

EntryParts SplitEntryLine(std::string_view line, bool wallpaper) {
    EntryParts parts;
    if (wallpaper) {
        // The first comma ends the path, so a comma in a wallpaper's path cannot be stored.
        const std::size_t comma = line.find(',');
        parts.style = comma == std::string_view::npos ? kDefaultStyle : StyleFromText(line.substr(comma + 1));
        line = line.substr(0, comma);
    }
    // The folder ends after the last backslash or colon; by hand, as find_last_of looks every byte
    // up in its set.
    std::size_t name = line.size();
    while (name > 0 && line[name - 1] != '\\' && line[name - 1] != ':') --name;
    parts.folder = line.substr(0, name);
    parts.fileName = line.substr(name);
    return parts;
}

ScreenEntry ParseEntryLine(std::string_view line, bool wallpaper, std::string_view programDir) {
    const EntryParts parts = SplitEntryLine(line, wallpaper);
    ScreenEntry entry;
    entry.fileName = std::string(parts.fileName);
    entry.folder = std::string(parts.folder.empty() ? programDir : parts.folder);
    entry.style = std::string(parts.style);
    return entry;
}

ScreenEntry ListLines::Entry(std::size_t i) const {
    return ParseEntryLine(Line(i), wallpaper_, programDir_);
}

void ListFileReader::TakeLine(std::size_t start, std::size_t end) {
    if (start >= end) return;
    const std::string_view line = std::string_view(*text_).substr(start, end - start);
    if (line.front() == '[') {
        section_ = SectionOfHeader(line);  // an unknown header leaves no section current
        return;
    }
    if (!section_) {
        ++skipped_;
        return;
    }
    // A line that starts beyond 4 GiB cannot be kept (no such list can be shown either): counted
    // with the lines under no header, so that a save keeps the whole file aside.
    if (start > UINT32_MAX) {
        ++skipped_;
        return;
    }
    lines_[*section_].push_back(static_cast<std::uint32_t>(start));
}

bool ListFileReader::Feed(std::string_view bytes) {
    if (ended_) return false;
    bool endMark = false;
    if (const void* z = std::memchr(bytes.data(), kEndOfFile, bytes.size())) {
        bytes = bytes.substr(0, static_cast<std::size_t>(static_cast<const char*>(z) - bytes.data()));
        endMark = true;
    }
    std::string& text = *text_;
    while (!pastStart_ && !bytes.empty()) {
        if (bytes.front() == kUtf8Bom[bomMatched_]) {
            bytes.remove_prefix(1);
            pastStart_ = ++bomMatched_ == kUtf8Bom.size();
        } else {
            text.append(kUtf8Bom.substr(0, bomMatched_));  // no mark after all: text
            pastStart_ = true;
        }
    }
    const std::size_t at = text.size();
    text.append(bytes);
    Scan(at);
    if (endMark) Finish();
    return !ended_;
}

bool ListFileReader::Take(std::string bytes) {
    // Only the file's first bytes can become the text itself; a byte-order mark begun in an
    // earlier piece is left to Feed.
    if (ended_ || pastStart_ || bomMatched_ > 0 || bytes.size() < kUtf8Bom.size()) return Feed(bytes);
    const std::size_t mark = bytes.find(kEndOfFile);
    if (mark != std::string::npos) bytes.resize(mark);
    pastStart_ = true;
    // A byte-order mark stays in the text, before the first line.
    const std::size_t from = std::string_view(bytes).starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    *text_ = std::move(bytes);
    lineStart_ = from;
    Scan(from);
    if (mark != std::string::npos) Finish();
    return !ended_;
}

void ListFileReader::Scan(std::size_t at) {
    std::string& text = *text_;
    if (skipLf_ && at < text.size()) {
        if (text[at] == kLf) ++at;
        skipLf_ = false;
        lineStart_ = at;
    }
    // One pass: each CR closes the line that began after the last one.
    while (at < text.size()) {
        const void* cr = std::memchr(text.data() + at, kCr, text.size() - at);
        if (!cr) break;
        const auto end = static_cast<std::size_t>(static_cast<const char*>(cr) - text.data());
        TakeLine(lineStart_, end);
        at = end + 1;
        if (at == text.size())
            skipLf_ = true;  // the LF, if any, comes with the next piece
        else if (text[at] == kLf)
            ++at;
        lineStart_ = at;
    }
}

void ListFileReader::Finish() {
    if (ended_) return;
    ended_ = true;
    if (!pastStart_) text_->append(kUtf8Bom.substr(0, bomMatched_));
    if (!skipLf_) TakeLine(lineStart_, text_->size());
}

ListLines ListFileReader::Lines(std::size_t section) const {
    return ListLines(text_, lines_[section], section == kWallIndex, programDir_);
}

ListLines ListFileReader::TakeLines(std::size_t section) {
    return ListLines(text_, std::exchange(lines_[section], {}), section == kWallIndex, programDir_);
}

ListFileEntries& ListFileReader::Entries() {
    for (std::size_t s = 0; s < entries_.size(); ++s) {
        const ListLines lines = Lines(s);
        std::vector<ScreenEntry>& out = entries_[s];
        out.clear();
        out.reserve(lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) out.push_back(lines.Entry(i));
    }
    return entries_;
}

ListFileEntries ParseListFile(std::string_view bytes, std::string programDir) {
    ListFileReader reader(std::move(programDir));
    reader.Feed(bytes);
    reader.Finish();
    return std::move(reader.Entries());
}

std::string FormatListFile(const std::array<CategoryList, 4>& lists) {
    // One pass over the entries: a second one only to size the text costs more, in cache
    // misses, than letting the text grow.
    std::size_t entries = 0;
    for (const auto& list : lists) entries += list.size();
    std::string out;
    out.reserve(64 + entries * kTypicalLine);
    for (std::size_t c = 0; c < lists.size(); ++c) {
        if (c > 0) out += kLineEnd;  // the empty line between sections
        out += kCategories[c].section;
        out += kLineEnd;
        for (std::size_t i = 0; i < lists[c].size(); ++i) {
            const ScreenEntry& e = lists[c][i];
            out += e.folder;
            if (e.folder.empty() || e.folder.back() != '\\') out += '\\';  // as JoinPath
            out += e.fileName;
            if (c == kWallIndex) {
                out += kStyleSeparator;
                out += e.style;
            }
            out += kLineEnd;
        }
    }
    return out;
}

}  // namespace mvpr
