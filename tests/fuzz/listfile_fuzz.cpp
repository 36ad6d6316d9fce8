// The list file is hand-edited by users and read by the randomizer: any bytes must load without
// harm, read the same in pieces as at once or handed over whole, and settle after one save.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lists/CategoryList.h"
#include "lists/DisplayStyle.h"
#include "lists/ListFile.h"

namespace {

const std::string kProgramDir = "C:\\PROGRAM FILES\\MVPR\\";

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

bool SameEntries(const mvpr::ListFileEntries& a, const mvpr::ListFileEntries& b) {
    for (std::size_t s = 0; s < a.size(); ++s) {
        if (a[s].size() != b[s].size()) return false;
        for (std::size_t i = 0; i < a[s].size(); ++i)
            if (a[s][i].fileName != b[s][i].fileName || a[s][i].folder != b[s][i].folder ||
                a[s][i].style != b[s][i].style)
                return false;
    }
    return true;
}

std::string SaveOf(mvpr::ListFileEntries entries) {
    std::array<mvpr::CategoryList, 4> lists;
    for (std::size_t s = 0; s < lists.size(); ++s) lists[s].AddMany(std::move(entries[s]));
    return mvpr::FormatListFile(lists);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const mvpr::ListFileEntries whole = mvpr::ParseListFile(bytes, kProgramDir);

    for (std::size_t s = 0; s < whole.size(); ++s) {
        for (const auto& e : whole[s]) {
            Require(e.fileName.find('\r') == std::string::npos && e.folder.find('\r') == std::string::npos,
                    "a CR inside an entry");
            Require(
                e.fileName.find('\x1a') == std::string::npos && e.folder.find('\x1a') == std::string::npos,
                "text after the end mark");
            Require(!e.folder.empty(), "an entry without a folder");
            Require(s == 3 ? mvpr::DisplayStyleIndex(e.style).has_value() : e.style.empty(), "style");
        }
    }

    // Pieces cut where the input says, even between a CR and its LF.
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    mvpr::ListFileReader reader(kProgramDir);
    reader.Feed(bytes.substr(0, cut));
    reader.Feed(bytes.substr(cut));
    reader.Finish();
    Require(SameEntries(reader.Entries(), whole), "pieces read differently");
    // The whole file handed over, kept as the reader's text.
    mvpr::ListFileReader taking(kProgramDir);
    taking.Take(std::string(bytes));
    taking.Finish();
    Require(SameEntries(taking.Entries(), whole), "the file handed over read differently");

    const std::string once = SaveOf(whole);
    const std::string twice = SaveOf(mvpr::ParseListFile(once, kProgramDir));
    Require(once == twice, "a saved file does not read back as itself");
    return 0;
}
