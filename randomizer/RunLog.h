#ifndef MVPR_RANDOMIZER_RUNLOG_H
#define MVPR_RANDOMIZER_RUNLOG_H

// What one run of the randomizer did and skipped, line by line, for MVRandom.log: the user's
// only way to see why a screen did not change.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/PixelFormat.h"
#include "lists/ScreenCategory.h"

namespace mvpr {

inline constexpr std::string_view kRunLogName = "MVRandom.log";
inline constexpr std::string_view kLibraryFileName = "NViewLib.dll";
inline constexpr std::string_view kLibraryEntryName = "NViewLibLoad";

// Why a picked entry was passed over.
inline constexpr std::string_view kFileNotFound = "file not found";
inline constexpr std::string_view kNotABitmap = "not a bitmap that can be read";
inline constexpr std::string_view kNotDecoded = "NViewLib.dll cannot read it as a picture";
inline constexpr std::string_view kNotRendered = "the picture is too big to lay out for this screen";
std::string WrongSizeReason(int width, int height);
std::string WrongDepthReason(PixelFormat format);

class RunLog {
  public:
    // Skipped entries beyond this many per category are only counted.
    static constexpr std::size_t kMaxSkipLines = 20;

    void Started(std::string_view version, std::string_view build, std::string_view when);
    void ListFileMissing(std::string_view path);
    void ListFileUnreadable(std::string_view path);
    void ListFileRead(std::string_view path, const std::array<std::size_t, 4>& counts);
    void NoEntries(ScreenCategory c);
    void LibraryMissing(ScreenCategory c, std::string_view path);
    void Skipped(ScreenCategory c, std::string_view entry, std::string_view reason);
    // Ends a category's skipped lines with the count of those not written.
    void EndCategory(ScreenCategory c);
    void NoUsableEntry(ScreenCategory c, std::size_t count);
    // againOnly: the last run's pick, taken again because no other entry is usable.
    void Installed(ScreenCategory c, std::string_view entry, std::string_view target, bool againOnly);
    void WallpaperSet(std::string_view entry, bool againOnly);
    void NotInstalled(ScreenCategory c, std::string_view entry, std::string_view target,
                      std::string_view error);
    void PicksNotRemembered(std::string_view key);
    // A category left alone because the machine's original has no backup yet.
    void ScreenNotBackedUp(ScreenCategory c, std::string_view screen, std::string_view why);
    void DesktopNotBackedUp();
    void Line(std::string line) { lines_.push_back(std::move(line)); }

    const std::vector<std::string>& Lines() const { return lines_; }
    // The file's bytes: CR LF after every line.
    std::string Text() const;

  private:
    std::string Head(ScreenCategory c) const;

    std::vector<std::string> lines_;
    std::array<std::size_t, 4> skipped_{};
};

}  // namespace mvpr

#endif
