#include "RunLog.h"

namespace mvpr {

std::string WrongSizeReason(int width, int height) {
    return "size is " + std::to_string(width) + " x " + std::to_string(height) + ", must be 320 x 400";
}

std::string WrongDepthReason(PixelFormat format) {
    return "pixel depth is " + std::string(PixelFormatName(format)) + " bpp, must be 8 bpp";
}

std::string RunLog::Head(ScreenCategory c) const {
    return std::string(Info(c).caption) + ": ";
}

void RunLog::Started(std::string_view version, std::string_view build, std::string_view when) {
    std::string line = "MVPR Randomizer " + std::string(version);
    if (!build.empty()) line += " (build " + std::string(build) + ")";
    Line(line + ", run at " + std::string(when));
}

void RunLog::ListFileMissing(std::string_view path) {
    Line("No list file " + std::string(path) + ": nothing changed.");
}

void RunLog::ListFileUnreadable(std::string_view path) {
    Line("The list file " + std::string(path) + " could not be read: nothing changed.");
}

void RunLog::ListFileRead(std::string_view path, const std::array<std::size_t, 4>& counts) {
    std::string line = "List file " + std::string(path) + ":";
    for (std::size_t i = 0; i < counts.size(); ++i)
        line += (i ? ", " : " ") + std::string(kCategories[i].caption) + " " + std::to_string(counts[i]);
    Line(line + " entries.");
}

void RunLog::NoEntries(ScreenCategory c) {
    Line(Head(c) + "no entries, left as it is.");
}

void RunLog::LibraryMissing(ScreenCategory c, std::string_view path) {
    Line(Head(c) + std::string(path) + " could not be loaded, left as it is.");
}

void RunLog::Skipped(ScreenCategory c, std::string_view entry, std::string_view reason) {
    if (++skipped_[CategoryIndex(c)] <= kMaxSkipLines)
        Line(Head(c) + "skipped " + std::string(entry) + ": " + std::string(reason) + ".");
}

void RunLog::EndCategory(ScreenCategory c) {
    const std::size_t n = skipped_[CategoryIndex(c)];
    if (n > kMaxSkipLines) Line(Head(c) + std::to_string(n - kMaxSkipLines) + " more entries skipped.");
}

void RunLog::NoUsableEntry(ScreenCategory c, std::size_t count) {
    Line(Head(c) + "none of the " + std::to_string(count) + " entries can be used, left as it is.");
}

void RunLog::Installed(ScreenCategory c, std::string_view entry, std::string_view target, bool againOnly) {
    Line(Head(c) + std::string(entry) + " installed as " + std::string(target) +
         (againOnly ? " (again: no other entry can be used)." : "."));
}

void RunLog::WallpaperSet(std::string_view entry, bool againOnly) {
    Line(Head(ScreenCategory::Wall) + std::string(entry) + " set as the wallpaper" +
         (againOnly ? " (again: no other entry can be used)." : "."));
}

void RunLog::NotInstalled(ScreenCategory c, std::string_view entry, std::string_view target,
                          std::string_view error) {
    Line(Head(c) + std::string(entry) + " could not be installed as " + std::string(target) +
         ", left as it is: " + std::string(error));
}

void RunLog::PicksNotRemembered(std::string_view key) {
    Line("The picks could not be remembered in HKEY_CURRENT_USER\\" + std::string(key) + ".");
}

void RunLog::ScreenNotBackedUp(ScreenCategory c, std::string_view screen, std::string_view why) {
    Line(Head(c) + "left as it is: the machine's own " + std::string(screen) + " has no backup (" +
         std::string(why) + ").");
}

void RunLog::DesktopNotBackedUp() {
    Line(Head(ScreenCategory::Wall) +
         "left as it is: the machine's own desktop settings have no backup yet.");
}

std::string RunLog::Text() const {
    std::string text;
    for (const auto& line : lines_) text += line + "\r\n";
    return text;
}

}  // namespace mvpr
