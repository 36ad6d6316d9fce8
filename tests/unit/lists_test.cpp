#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lists/CategoryList.h"
#include "lists/ListFile.h"
#include "lists/DisplayStyle.h"
#include "win/FilterText.h"
#include "lists/ScreenCategory.h"
#include "win/AsciiCase.h"

namespace mvpr {
namespace {

std::vector<std::string> Names(const CategoryList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.size(); ++i) out.push_back(list[i].fileName + "@" + list[i].folder);
    return out;
}

ScreenEntry Entry(std::string name, std::string folder = "C:\\P") {
    return ScreenEntry{std::move(name), std::move(folder), {}, false};
}

TEST(ScreenCategoryTable, CodesMapBothWaysAndUnknownCodesAreRejected) {
    for (const auto& info : kCategories) {
        ASSERT_TRUE(CategoryFromCode(CategoryCode(info.category)).has_value());
        EXPECT_EQ(*CategoryFromCode(CategoryCode(info.category)), info.category);
        EXPECT_EQ(&Info(info.category), &info);
    }
    for (int bad : {0, 1, 11, 15, 50, -10, 100}) EXPECT_FALSE(CategoryFromCode(bad).has_value()) << bad;
    EXPECT_EQ(Info(ScreenCategory::Wall).section, "[WALLPAPER]");
    EXPECT_EQ(Info(ScreenCategory::Wait).folderValue, "WaitDir");
    EXPECT_FALSE(IsScreenCategory(ScreenCategory::Wall));
    EXPECT_TRUE(IsScreenCategory(ScreenCategory::Shut));
}

TEST(JoinPath, OneBackslashBetweenFolderAndName) {
    EXPECT_EQ(JoinPath("C:\\PICS", "A.BMP"), "C:\\PICS\\A.BMP");
    EXPECT_EQ(JoinPath("C:\\", "A.BMP"), "C:\\A.BMP");
    EXPECT_EQ(JoinPath("C:\\PICS\\", "A.BMP"), "C:\\PICS\\A.BMP");
    EXPECT_EQ(JoinPath("", "A.BMP"), "\\A.BMP");
    EXPECT_EQ(WithTrailingBackslash("C:\\X"), "C:\\X\\");
    EXPECT_EQ(WithTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(WithTrailingBackslash(""), "");
}

TEST(CategoryList, KeepsNameOrderAndPutsEqualNamesAfterTheirTwins) {
    CategoryList list;
    list.Add(Entry("c.bmp"));
    list.Add(Entry("a.bmp"));
    EXPECT_EQ(list.Add(Entry("b.bmp")), 1u);
    EXPECT_EQ(list.Add(Entry("a.bmp", "D:\\other")), 1u);  // after the first a.bmp
    EXPECT_EQ(list.Add(Entry("A.BMP", "E:\\")), 0u);       // case only breaks ties
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A.BMP@E:\\", "a.bmp@C:\\P", "a.bmp@D:\\other",
                                                     "b.bmp@C:\\P", "c.bmp@C:\\P"}));
}

// A key in AlphabeticCompare's order: the name in lower case, then the name itself.
bool AsciiKey(std::string_view name, std::string& keys) {
    for (char c : name) keys += LowerAscii(c);
    keys += '\0';
    keys += name;
    return true;
}

// Every row as the view and a save see it.
std::vector<std::string> Rows(const CategoryList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.size(); ++i)
        out.push_back(list[i].fileName + "@" + list[i].folder + "|" + list[i].style +
                      (list[i].selected ? "+" : ""));
    return out;
}

// Lines taken from the file wait unsorted (counted, never selected, measured for the columns)
// until the order is first needed, and each becomes an entry only when first read or changed;
// through all of it they stand exactly as the same entries added at once: equal names in file
// order after the entries already there, names alike over many bytes in order, lines in order
// already kept as they are, the focus
// following its row, selections and styles kept, bare names in the program folder.
TEST(CategoryList, FileLinesActAsTheSameEntriesAddedAtOnce) {
    const std::string names =
        "C:\\B\\b.bmp\r\nc.bmp\r\nC:\\A\\b.bmp\r\nD:a.BMP\r\nC:\\A\\B.bmp\r\nC:\\Very long folder\\A.bmp\r\n"
        "E:\\a_long_shared_prefix_10.bmp\r\nE:\\a_long_shared_prefix_2.bmp\r\nF:\\A_long_shared_prefix_1."
        "bmp\r\n"
        "G:\\a_long_shared_prefix_2.bmp\r\n";
    // as a save writes them: in order already
    const std::string sorted =
        "C:\\1\\A.bmp\r\nD:a.bmp\r\nC:\\0\\a.bmp\r\nE:\\a_long_shared_prefix_1.bmp\r\n"
        "E:\\a_long_shared_prefix_10.bmp\r\nF:\\A_long_shared_prefix_2.bmp\r\nE:\\a_long_shared_prefix_2."
        "bmp\r\n"
        "C:\\B.BMP\r\nb.bmp\r\nb.bmp\r\n";
    ListFileReader reader("C:\\MVPR\\");
    reader.Feed("[START]\r\n" + names + "[WAIT]\r\n" + sorted + "[WALLPAPER]\r\n" + names);
    reader.Finish();
    for (const std::size_t section : {0u, 1u, 3u})
        for (NameSortKey key : {NameSortKey{}, &AsciiKey})
            for (bool filled : {false, true}) {
                SCOPED_TRACE(testing::Message() << section << (key ? " keys" : " comparison") << filled);
                CategoryList lazy(&AlphabeticCompare, key), eager(&AlphabeticCompare, key);
                for (CategoryList* list : {&lazy, &eager}) {
                    if (filled) {
                        list->Add(Entry("b.bmp", "C:\\FIRST"));
                        list->Add(Entry("d.bmp"));
                        list->SetFocused(1);
                    }
                }
                // twice but for the sorted lines: the second copy after the first
                for (int copy = section == 1 ? 1 : 0; copy < 2; ++copy) {
                    lazy.AddLines(reader.Lines(section));
                    eager.AddMany(reader.Entries()[section]);
                }
                const auto longest = [](const CategoryList& list) {
                    const auto l = list.LongestTexts();
                    return std::vector<std::string_view>({l.fileName, l.folder, l.style});
                };
                EXPECT_EQ(lazy.size(), eager.size());
                EXPECT_FALSE(lazy.AnySelected());
                EXPECT_EQ(longest(lazy), longest(eager));
                EXPECT_TRUE(lazy.HasUnsorted()) << "nothing above needs the order";
                for (CategoryList* list : {&lazy, &eager}) {
                    list->SetSelected(3, true);
                    list->SetSelectedRange(5, 7, true);
                    list->SetSelected(6, false);
                    list->SetSelected(9, false);
                }
                EXPECT_FALSE(lazy.HasUnsorted());
                for (std::size_t i = 0; i < lazy.size(); ++i)
                    EXPECT_EQ(lazy.IsSelected(i), eager.IsSelected(i)) << i;
                EXPECT_EQ(lazy.SelectedCount(), 3u);
                EXPECT_EQ(lazy.FirstSelected(), eager.FirstSelected());
                EXPECT_FALSE(lazy.AllSelected());
                EXPECT_EQ(lazy.SetStyleOfSelected("Fit 2 Screen"), eager.SetStyleOfSelected("Fit 2 Screen"));
                EXPECT_EQ(longest(lazy), longest(eager));
                EXPECT_EQ(lazy.Focused(), eager.Focused());
                EXPECT_EQ(Rows(lazy), Rows(eager));
                if (filled) {
                    EXPECT_EQ(lazy[*lazy.Focused()].fileName, "d.bmp");
                }
                for (CategoryList* list : {&lazy, &eager}) {
                    list->SetFocused(4);
                    list->Add(Entry("b.bmp", "X:\\"));
                    list->RemoveIf([](const ScreenEntry& e) { return e.fileName == "c.bmp"; });
                    list->InvertSelection();
                }
                EXPECT_EQ(Rows(lazy), Rows(eager));
                EXPECT_EQ(lazy.Focused(), eager.Focused());
            }
}

int Reverse(const std::string& a, const std::string& b) {
    return b.compare(a);
}

TEST(CategoryList, UsesTheInjectedComparison) {
    CategoryList list(&Reverse);
    for (const char* n : {"b", "a", "c"}) list.Add(Entry(n));
    EXPECT_EQ(list[0].fileName, "c");
    EXPECT_EQ(list[2].fileName, "a");
    list.AddMany({Entry("d"), Entry("a", "X")});
    EXPECT_EQ(Names(list), (std::vector<std::string>{"d@C:\\P", "c@C:\\P", "b@C:\\P", "a@C:\\P", "a@X"}));
}

TEST(CategoryList, AddManyMergesStablyAndFollowsTheFocus) {
    CategoryList list;
    list.Add(Entry("b"));
    list.Add(Entry("d"));
    list.SetFocused(1);  // "d"
    list.AddMany({Entry("e"), Entry("b", "2"), Entry("a"), Entry("b", "3")});
    EXPECT_EQ(Names(list),
              (std::vector<std::string>{"a@C:\\P", "b@C:\\P", "b@2", "b@3", "d@C:\\P", "e@C:\\P"}));
    ASSERT_TRUE(list.Focused().has_value());
    EXPECT_EQ(list[*list.Focused()].fileName, "d");
}

TEST(CategoryList, FocusFollowsInsertionsAndRemovals) {
    CategoryList list;
    for (const char* n : {"b", "d", "f"}) list.Add(Entry(n));
    list.SetFocused(1);    // d
    list.Add(Entry("a"));  // before: focus moves down
    EXPECT_EQ(list.Focused(), 2u);
    list.Add(Entry("z"));  // after: unchanged
    EXPECT_EQ(list.Focused(), 2u);
    list.Add(Entry("d"));  // equal name lands after the focused one
    EXPECT_EQ(list.Focused(), 2u);
    list.RemoveAt(0);
    EXPECT_EQ(list.Focused(), 1u);
    list.RemoveAt(1);  // the focused entry itself
    EXPECT_FALSE(list.Focused().has_value());
    list.SetFocused(99);
    EXPECT_FALSE(list.Focused().has_value());
}

TEST(CategoryList, SelectionCountsRemovalAndStyles) {
    CategoryList list;
    for (const char* n : {"1", "2", "3", "4", "5"}) list.Add(Entry(n));
    EXPECT_EQ(list.SelectedCount(), 0u);
    EXPECT_FALSE(list.AnySelected());
    EXPECT_FALSE(list.FirstSelected().has_value());
    list.SetSelected(0, true);
    list.SetSelected(1, true);
    list.SetSelected(4, true);
    list.SetSelected(17, true);  // out of range: ignored
    EXPECT_EQ(list.SelectedCount(), 3u);
    EXPECT_EQ(list.FirstSelected(), 0u);
    EXPECT_EQ(list.SetStyleOfSelected("Mirror"), 3u);
    EXPECT_EQ(list[4].style, "Mirror");
    EXPECT_EQ(list[2].style, "");
    list.SetFocused(3);
    EXPECT_EQ(list.RemoveSelected(), 3u);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"3@C:\\P", "4@C:\\P"}));
    EXPECT_EQ(list.Focused(), 1u);
    list.InvertSelection();
    EXPECT_TRUE(list.AllSelected());
    list.SetSelectedRange(1, 50, false);
    EXPECT_EQ(list.SelectedCount(), 1u);
    list.SetAllSelected(false);
    EXPECT_EQ(list.RemoveSelected(), 0u);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_FALSE(CategoryList().AllSelected());
}

// How fast is the benchmarks' concern (lists_bench); here, that a big build comes out in order.
TEST(CategoryList, HundredThousandEntriesBuildInOrderWithLaterAdditionsInPlace) {
    std::vector<ScreenEntry> entries;
    entries.reserve(100000);
    for (int i = 0; i < 100000; ++i) {
        const unsigned v = static_cast<unsigned>(i) * 2654435761u;  // a scrambled order
        entries.push_back(Entry("PIC" + std::to_string(v) + ".BMP", "C:\\PICTURES\\SUB"));
    }
    CategoryList list;
    list.AddMany(std::move(entries));
    for (int i = 0; i < 50; ++i) list.Add(Entry("ADDED" + std::to_string(i) + ".BMP"));
    EXPECT_EQ(list.size(), 100050u);
    for (std::size_t i = 1; i < list.size(); ++i)
        ASSERT_LE(AlphabeticCompare(list[i - 1].fileName, list[i].fileName), 0) << i;
}

TEST(FilterText, BothPickerTextsParseIntoTheirFourEntries) {
    const auto screen = ParseFilterText(kScreenFilterText);
    ASSERT_EQ(screen.size(), 4u);
    EXPECT_EQ(screen[0].description, "All usable files (*.bmp, *.sys)");
    EXPECT_EQ(screen[0].mask, "*.bmp;*.sys;");
    EXPECT_EQ(screen[0].mask, kInitialFileMask);
    EXPECT_EQ(screen[3].mask, "*.*");
    const auto wall = ParseFilterText(kWallpaperFilterText);
    ASSERT_EQ(wall.size(), 4u);
    EXPECT_EQ(wall[0].description,
              "All usable files (*.bmp, *.jpg, *.jpeg, *.gif, *.dib, *.rle, *.tga, *.pcx, *.sys, *.png)");
    EXPECT_EQ(wall[0].mask, "*.bmp;*.jpg;*.jpeg;*.jif;*.gif;*.dib;*.rle;*.tga;*.pcx;*.sys;*.png;");
    EXPECT_EQ(wall[1].description, "Windows Bitmaps (*.bmp)");
    EXPECT_EQ(wall[2].mask, "*.sys");
    // odd hand-made texts
    EXPECT_TRUE(ParseFilterText("").empty());
    EXPECT_TRUE(ParseFilterText("only a description").empty());
    EXPECT_EQ(ParseFilterText("A|*.a|B").size(), 1u);
    EXPECT_EQ(ParseFilterText("|*.a|B|*.b").size(), 1u);
}

TEST(FilterText, MasksMatchLikeTheWindowsFileFunctions) {
    EXPECT_EQ(SplitMask("*.bmp;*.sys;"), (std::vector<std::string>{"*.bmp", "*.sys"}));
    EXPECT_TRUE(MatchesMask("LOGO.SYS", "*.bmp;*.sys;"));
    EXPECT_TRUE(MatchesMask("pic.Bmp", "*.bmp;*.sys;"));
    EXPECT_FALSE(MatchesMask("pic.bmpx", "*.bmp;*.sys;"));
    EXPECT_FALSE(MatchesMask("photo.jpg", "*.bmp;*.sys;"));
    EXPECT_TRUE(MatchesMask("photo.JPG", ParseFilterText(kWallpaperFilterText)[0].mask));
    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask("a.b.c", "*.*"));
    EXPECT_TRUE(MatchesPattern("README", "README.*"));
    EXPECT_TRUE(MatchesPattern("abc.bmp", "a?c.*"));
    EXPECT_FALSE(MatchesPattern("ac.bmp", "a?c.*"));
    EXPECT_TRUE(MatchesPattern("aXbXc", "a*b*c"));
    EXPECT_FALSE(MatchesPattern("aXbXd", "a*b*c"));
    EXPECT_FALSE(MatchesMask("x.bmp", ";;"));
    // a long name against many stars stays fast (no exponential backtracking)
    EXPECT_FALSE(MatchesPattern(std::string(5000, 'a'), "*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(EqualsIgnoreCase(kScreenFilterText,
                                 "ALL USABLE FILES (*.BMP, *.SYS)|*.BMP;*.SYS;|WINDOWS BITMAPS "
                                 "(*.BMP)|*.BMP|SYSTEM FILES (*.SYS)|*.SYS|ALL FILES (*.*)|*.*"));
    EXPECT_FALSE(EqualsIgnoreCase(kScreenFilterText, kWallpaperFilterText));
}

TEST(DisplayStyle, OnlyTheExactNamesAreStyles) {
    EXPECT_EQ(DisplayStyleIndex("Centred"), 0u);
    EXPECT_EQ(DisplayStyleIndex("Fit 2 Screen"), 3u);
    EXPECT_EQ(DisplayStyleIndex("Mirror"), 4u);
    EXPECT_FALSE(DisplayStyleIndex("tiled").has_value());
    EXPECT_FALSE(DisplayStyleIndex("Tiled ").has_value());
    EXPECT_FALSE(DisplayStyleIndex("").has_value());
}

}  // namespace
}  // namespace mvpr

#include "win/FolderPath.h"

namespace mvpr {
namespace {

TEST(FolderPath, RootsKeepTheirBackslashOtherFoldersLoseIt) {
    EXPECT_EQ(NormalizeFolder("C:\\PICS\\"), "C:\\PICS");
    EXPECT_EQ(NormalizeFolder("C:\\PICS\\\\"), "C:\\PICS");
    EXPECT_EQ(NormalizeFolder("C:\\"), "C:\\");
    EXPECT_EQ(NormalizeFolder("C:"), "C:\\");
    EXPECT_EQ(NormalizeFolder("c:/a/b/"), "c:\\a\\b");
    EXPECT_EQ(NormalizeFolder("\\\\srv\\share\\"), "\\\\srv\\share\\");
    EXPECT_EQ(NormalizeFolder("\\\\srv\\share\\x\\"), "\\\\srv\\share\\x");
    EXPECT_EQ(NormalizeFolder(""), "");
}

TEST(FolderPath, ChainRunsFromTheRootDown) {
    EXPECT_EQ(FolderChain("C:\\A\\B"), (std::vector<std::string>{"C:\\", "C:\\A", "C:\\A\\B"}));
    EXPECT_EQ(FolderChain("C:\\"), (std::vector<std::string>{"C:\\"}));
    EXPECT_EQ(FolderChain("C:\\A\\\\B\\"), (std::vector<std::string>{"C:\\", "C:\\A", "C:\\A\\\\B"}));
    EXPECT_EQ(FolderChain("\\\\srv\\share\\x"),
              (std::vector<std::string>{"\\\\srv\\share\\", "\\\\srv\\share\\x"}));
    EXPECT_EQ(FolderName("C:\\A\\B"), "B");
    EXPECT_EQ(FolderName("C:\\A"), "A");
    EXPECT_EQ(FolderName("C:\\"), "C:\\");
    EXPECT_EQ(DriveLetter("d:\\x"), 'D');
    EXPECT_EQ(DriveLetter("\\\\srv\\s"), 0);
    EXPECT_EQ(RootLength("\\\\srv"), 5u);
    EXPECT_EQ(RootLength("relative\\x"), 0u);
}

}  // namespace
}  // namespace mvpr
