#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FileLookup.h"
#include "PickOrder.h"
#include "win/AsciiCase.h"

namespace mvpr {
namespace {

// Hands out the scripted numbers, then zeros.
class ScriptedRandom : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<std::size_t> draws) : draws_(draws.begin(), draws.end()) {}
    std::size_t Below(std::size_t bound) override {
        if (draws_.empty()) return 0;
        const std::size_t r = draws_.front();
        draws_.pop_front();
        EXPECT_LT(r, bound);
        return r;
    }

  private:
    std::deque<std::size_t> draws_;
};

TEST(RandomizerPick, DrawsHoldsBackTheLastPickAndExaminesOnlyDrawnEntries) {
    const std::optional<std::size_t> none;
    struct Case {
        const char* name;
        std::size_t count;
        std::vector<std::size_t> draws;
        std::set<std::size_t> lastPick, usable;
        std::optional<std::size_t> picked;
        std::vector<std::size_t> examined;
    } cases[] = {
        {"empty list", 0, {}, {}, {}, none, {}},
        {"first draw usable", 5, {3}, {}, {0, 1, 2, 3, 4}, 3, {3}},
        {"unusable ones skipped once each", 4, {1, 0, 0}, {}, {2}, 2, {1, 0, 2}},
        {"none usable: each examined once", 3, {2, 1, 0}, {}, {}, none, {2, 0, 1}},
        {"last pick held back unexamined", 3, {1, 0}, {1}, {0, 1, 2}, 0, {0}},
        {"last pick again when no other usable", 3, {0, 0, 0}, {0}, {0}, 0, {1, 2, 0}},
        {"single entry, last pick, used again", 1, {}, {0}, {0}, 0, {0}},
        {"equal lines held back together", 3, {0, 0, 0}, {0, 2}, {0, 2}, 0, {1, 0}},
        {"a huge list costs one examination", 1000000, {999999}, {}, {999999}, 999999, {999999}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedRandom random(c.draws);
        std::vector<std::size_t> examined;
        const auto picked = PickEntry(
            c.count, random, [&](std::size_t i) { return c.lastPick.count(i) > 0; },
            [&](std::size_t i) {
                examined.push_back(i);
                return c.usable.count(i) > 0;
            });
        EXPECT_EQ(picked, c.picked);
        EXPECT_EQ(examined, c.examined);
    }
}

TEST(RandomizerPick, SeededOrderIsAPermutationAndRepeatedRunsNeverRepeat) {
    SeededRandom random(12345);
    RandomOrder order(1000, random);
    std::vector<std::size_t> seen;
    while (auto next = order.Next()) seen.push_back(*next);
    std::sort(seen.begin(), seen.end());
    ASSERT_EQ(seen.size(), 1000u);
    for (std::size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], i);

    // Run after run with the previous pick remembered: entry 1 is never usable, so 0, 2 and 3 take
    // turns, never twice in a row, each often.
    std::size_t last = 99;
    std::vector<int> times(4);
    for (int run = 0; run < 600; ++run) {
        const auto picked = PickEntry(
            4, random, [&](std::size_t i) { return i == last; }, [](std::size_t i) { return i != 1; });
        ASSERT_TRUE(picked);
        ASSERT_NE(*picked, last);
        last = *picked;
        ++times[last];
    }
    EXPECT_EQ(times[1], 0);
    for (std::size_t i : {0, 2, 3}) EXPECT_GT(times[i], 140) << i;
}

TEST(RandomizerPick, KeysAreListLinesComparedWithoutCase) {
    const ScreenEntry screen{"LOGO1.BMP", "C:\\PICS", "", false};
    const ScreenEntry wall{"SEA.JPG", "C:\\", "Tiled", false};
    EXPECT_EQ(PickKey(screen, false), "C:\\PICS\\LOGO1.BMP");
    EXPECT_EQ(PickKey(wall, true), "C:\\SEA.JPG, Tiled");
    EXPECT_TRUE(SamePickKey("C:\\pics\\logo1.bmp", PickKey(screen, false)));
    EXPECT_FALSE(SamePickKey("C:\\SEA.JPG, Mirror", PickKey(wall, true)));
    EXPECT_FALSE(SamePickKey("", PickKey(screen, false)));
}

// A file system in memory that counts what it is asked.
class FakeFiles : public FileSystemProbe {
  public:
    std::map<std::string, std::vector<std::string>> folders;  // upper-case folder (with '\\') -> names
    std::set<char> drives{'C'};
    std::set<std::string> unlistable;
    int queries = 0, listings = 0, driveChecks = 0;

    static std::string Upper(std::string s) {
        for (char& c : s) c = UpperAscii(c);
        return s;
    }
    Kind Query(const std::string& path) override {
        ++queries;
        const std::string p = Upper(path);
        if (!drives.count(p[0])) return Kind::Missing;
        if (folders.count(p) || folders.count(p + "\\")) return Kind::Folder;
        const std::size_t cut = p.find_last_of('\\') + 1;
        const auto f = folders.find(p.substr(0, cut));
        if (f == folders.end()) return Kind::Missing;
        for (const auto& n : f->second)  // "long|SHORT": either form names the file
            if (("|" + Upper(n) + "|").find("|" + p.substr(cut) + "|") != std::string::npos)
                return Kind::File;
        return Kind::Missing;
    }
    bool DriveThere(const std::string& root) override {
        ++driveChecks;
        return drives.count(UpperAscii(root[0])) > 0;
    }
    std::optional<std::vector<std::string>> ListFiles(const std::string& folder) override {
        ++listings;
        const auto f = folders.find(Upper(folder));
        if (f == folders.end() || unlistable.count(Upper(folder))) return std::nullopt;
        std::vector<std::string> names;
        for (const auto& n : f->second) {
            const std::size_t bar = n.find('|');
            names.push_back(n.substr(0, bar));
            if (bar != std::string::npos) names.push_back(n.substr(bar + 1));
        }
        return names;
    }
};

// Whatever the order and the mix, the lookup answers as one attribute query per entry would
// (the short form of a long name included), and asks the file system far less: a listing per
// busy folder, nothing more for a missing folder or drive.
TEST(RandomizerFiles, FoldersAreListedOnceAndMissingOnesRuleOutTheirEntriesAtOnce) {
    FakeFiles fs;
    fs.folders["C:\\PICS\\"] = {"a.bmp", "B.BMP", "A very long name.bmp|AVERYL~1.BMP"};
    fs.folders["C:\\SLOW\\"] = {"x.bmp"};
    fs.unlistable = {"C:\\SLOW\\"};
    fs.folders["C:\\"] = {"root.bmp"};
    struct Case {
        const char* folder;
        const char* name;
        bool file;
    } cases[] = {
        {"C:\\PICS", "A.BMP", true},          {"c:\\pics\\", "b.bmp", true},
        {"C:\\PICS", "c.bmp", false},         {"C:\\PICS", "d.bmp", false},
        {"C:\\PICS", "AVERYL~1.BMP", true},   {"C:\\PICS", "a very LONG name.bmp", true},
        {"C:\\PICS", "*.bmp", false},         {"C:\\PICS", "", false},
        {"C:\\PICS", "\xC9T\xC9.BMP", false}, {"C:\\GONE", "a.bmp", false},
        {"C:\\GONE\\", "b.bmp", false},       {"E:\\PICS", "a.bmp", false},
        {"e:\\OTHER", "a.bmp", false},        {"C:\\SLOW", "x.bmp", true},
        {"C:\\SLOW", "y.bmp", false},         {"C:", "root.bmp", true},
        {"C:\\", "ROOT.BMP", true},
    };
    FakeFiles direct = fs;
    FileLookup lookup(fs);
    int lookups = 0;
    for (int round = 0; round < 3; ++round)
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.folder) + " | " + c.name);
            EXPECT_EQ(direct.Query(JoinPath(c.folder, c.name)) == FileSystemProbe::Kind::File, c.file);
            EXPECT_EQ(lookup.IsFile(c.folder, c.name), c.file);
            ++lookups;
        }
    EXPECT_EQ(fs.listings, 3) << "PICS and the root once each, SLOW tried once";
    EXPECT_EQ(fs.driveChecks, 2) << "C and E once each";
    // Asked one by one: the first few of each folder, the odd names, the unlistable folder.
    EXPECT_LT(fs.queries * 2, lookups);

    // Many entries of a missing folder or drive cost nothing after the first.
    FakeFiles empty;
    FileLookup gone(empty);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_FALSE(gone.IsFile("C:\\RENAMED", std::to_string(i) + ".bmp"));
        EXPECT_FALSE(gone.IsFile("Q:\\UNPLUGGED\\" + std::to_string(i % 7), std::to_string(i) + ".bmp"));
    }
    EXPECT_LE(empty.queries + empty.driveChecks + empty.listings, 4);
}

}  // namespace
}  // namespace mvpr
