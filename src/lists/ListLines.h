#ifndef MVPR_LISTS_LISTLINES_H
#define MVPR_LISTS_LISTLINES_H

// Entry lines of the list file kept as read: a big file becomes lists without a string per
// line or field, and a list that is never shown never pays for its entries.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lists/ScreenEntry.h"

namespace mvpr {

// The parts of one entry line, as views into it: the folder through its last backslash or colon
// (empty for a bare name, which lies in the program folder), the name, and for a wallpaper its
// style, one of the five names. The path is not trimmed, and a wallpaper's path ends at its first
// comma.
struct EntryParts {
    std::string_view folder, fileName, style;
};
EntryParts SplitEntryLine(std::string_view line, bool wallpaper);

// The entry lines of one section, in file order, sharing the text they were read from.
class ListLines {
  public:
    ListLines() = default;
    // Each line starts at one of `starts` and ends before the next CR or at the end of the text.
    ListLines(std::shared_ptr<const std::string> text, std::vector<std::uint32_t> starts, bool wallpaper,
              std::string programDir)
        : text_(std::move(text)),
          starts_(std::move(starts)),
          wallpaper_(wallpaper),
          programDir_(std::move(programDir)) {}

    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    std::string_view Line(std::size_t i) const {
        const std::string_view rest = std::string_view(*text_).substr(starts_[i]);
        return rest.substr(0, rest.find('\r'));
    }
    EntryParts Parts(std::size_t i) const { return SplitEntryLine(Line(i), wallpaper_); }
    // The folder a bare name lies in (ends in a backslash).
    const std::string& ProgramDir() const { return programDir_; }
    ScreenEntry Entry(std::size_t i) const;

  private:
    std::shared_ptr<const std::string> text_;
    // Where the lines start: four bytes a line, as a big file has many.
    std::vector<std::uint32_t> starts_;
    bool wallpaper_ = false;
    std::string programDir_;
};

}  // namespace mvpr

#endif
