#ifndef MVPR_LISTS_LISTFILE_H
#define MVPR_LISTS_LISTFILE_H

// The screen-list file MVDATA.MVD: four sections of paths, wallpapers with their style. The
// randomizer reads the same file, so the layout written here must not drift.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/CategoryList.h"
#include "lists/ListLines.h"
#include "lists/ScreenEntry.h"

namespace mvpr {

// The entries of the four sections in file order, indexed as kCategories.
using ListFileEntries = std::array<std::vector<ScreenEntry>, 4>;

// Reads the file as the program always has: a CR ends a line and one LF right after it is
// skipped, a lone LF is part of the line, Ctrl-Z (byte 26) ends the file, a last line needs
// no line end, and lines have no length limit. A UTF-8 byte-order mark that an editor put at
// the start is skipped. Bytes may arrive in pieces of any size.
class ListFileReader {
  public:
    // Bare file names in the file get this folder (it ends in a backslash).
    explicit ListFileReader(std::string programDir) : programDir_(std::move(programDir)) {}

    // False once Ctrl-Z has been read; the bytes after it are ignored.
    bool Feed(std::string_view bytes);
    // As Feed, but the reader keeps the bytes as its text instead of copying them: for the file
    // read whole, handed over at once.
    bool Take(std::string bytes);
    // The bytes are all there: a line begun without its end is taken as the last one.
    void Finish();

    // The entry lines of a section read so far, sharing the file's text: what the lists take.
    ListLines Lines(std::size_t section) const;
    // The same, handed over: the reader keeps none of them.
    ListLines TakeLines(std::size_t section);
    // The same made into entries, all four sections.
    ListFileEntries& Entries();
    // Entry lines that stood under no known header (before the first, or under a misspelt one):
    // read but in no list, so a save would drop them.
    std::size_t SkippedLines() const { return skipped_; }

  private:
    // Takes the lines that end in the text from `at` on.
    void Scan(std::size_t at);
    void TakeLine(std::size_t start, std::size_t end);

    std::string programDir_;
    // Every byte read, kept whole: the lines are views into it, so reading makes no string per
    // line or field, and a line may span pieces.
    std::shared_ptr<std::string> text_ = std::make_shared<std::string>();
    std::size_t lineStart_ = 0;
    bool skipLf_ = false;  // the previous piece ended in a CR
    bool ended_ = false;
    std::size_t bomMatched_ = 0;  // bytes of a byte-order mark seen at the start
    bool pastStart_ = false;
    std::size_t skipped_ = 0;
    std::optional<std::size_t> section_;
    std::array<std::vector<std::uint32_t>, 4> lines_;  // where each section's lines start
    ListFileEntries entries_;
};

// All of a file at once.
ListFileEntries ParseListFile(std::string_view bytes, std::string programDir);

// The section a header line opens: the whole line, exactly, case-sensitive.
std::optional<std::size_t> SectionOfHeader(std::string_view line);

// The style after a wallpaper path's first comma: upper-cased, trimmed of blanks and control
// characters, matched against the five names; "Centred" for anything else.
std::string_view StyleFromText(std::string_view afterComma);

// One entry line of a section. The path is not trimmed; it splits after its last backslash or
// colon, and a bare name gets the program folder.
ScreenEntry ParseEntryLine(std::string_view line, bool wallpaper, std::string_view programDir);

// The whole file as written: the four headers in order, one line per entry in list order, an
// empty line between sections, CR LF after every line including the last.
std::string FormatListFile(const std::array<CategoryList, 4>& lists);

}  // namespace mvpr

#endif
