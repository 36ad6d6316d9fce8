#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lists/CategoryList.h"
#include "lists/DisplayStyle.h"
#include "lists/ListFile.h"
#include "lists/ListTexts.h"
#include "lists/ScreenCategory.h"

namespace mvpr {
namespace {

const std::string kProg = "C:\\PROG\\";
constexpr std::size_t kStart = 0, kWait = 1, kShut = 2, kWall = 3;

// "folder|name" per entry, "|style" added for wallpapers.
std::vector<std::string> Rows(const std::vector<ScreenEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.folder + "|" + e.fileName + (e.style.empty() ? "" : "|" + e.style));
    return out;
}

std::vector<std::string> StartRows(const std::string& body) {
    return Rows(ParseListFile("[START]\r\n" + body, kProg)[kStart]);
}

using V = std::vector<std::string>;

// The reader after `file` went in as pieces of `piece` bytes, or whole through Take when 0;
// `more` tells what the last call returned.
ListFileReader ReadInPieces(const std::string& file, std::size_t piece, bool* more = nullptr) {
    ListFileReader reader(kProg);
    bool wantsMore = piece > 0 || reader.Take(file);
    for (std::size_t at = 0; piece > 0 && at < file.size(); at += piece)
        wantsMore = reader.Feed(std::string_view(file).substr(at, piece));
    if (more) *more = wantsMore;
    reader.Finish();
    return reader;
}

TEST(ListFileLines, CrEndsALineAndOneLfAfterItIsSkippedButALoneLfIsText) {
    const struct {
        const char* body;
        V rows;
    } cases[] = {
        {"C:\\A.BMP\r\nC:\\B.BMP\r\n", {"C:\\|A.BMP", "C:\\|B.BMP"}},
        {"C:\\A.BMP\rC:\\B.BMP\r", {"C:\\|A.BMP", "C:\\|B.BMP"}},          // CR alone
        {"C:\\A.BMP\nC:\\B.BMP\r\n", {"C:\\A.BMP\nC:\\|B.BMP"}},           // a lone LF is text
        {"C:\\A.BMP\r\n\nC:\\B.BMP\r\n", {"C:\\|A.BMP", "\nC:\\|B.BMP"}},  // only one LF is skipped
        {"C:\\A.BMP\r\r\nC:\\B.BMP", {"C:\\|A.BMP", "C:\\|B.BMP"}},  // empty line; last line without end
        {"C:\\A.BMP\r\n\x1a"
         "C:\\B.BMP\r\n",
         {"C:\\|A.BMP"}},                                    // Ctrl-Z ends the file
        {"C:\\A.BMP\x1a\r\nC:\\B.BMP\r\n", {"C:\\|A.BMP"}},  // also within a line
        {"\x1a", {}},
        {"", {}},
        {"\r\n\r\n\r", {}},
        {"   \r\n", {kProg + "|   "}},          // blanks are not empty
        {"\tX\x01\r\n", {kProg + "|\tX\x01"}},  // nor are control characters
    };
    for (const auto& c : cases) EXPECT_EQ(StartRows(c.body), c.rows) << testing::PrintToString(c.body);
}

TEST(ListFileLines, PiecesOfAnySizeReadLikeTheWholeFile) {
    // CR at the end of one piece and its LF at the start of the next, a Ctrl-Z in a late piece.
    std::string file = "[WAIT]\r\nA:\\ONE\r\n\nB:\\TWO\rC:\\THREE\r\n[SHUT]\r\nD:\\FOUR\r\n\r\n";
    for (int i = 0; i < 40; ++i) file += "E:\\F" + std::to_string(i) + "\r";
    file += "\nLAST\x1aIGNORED\r\n";
    const ListFileEntries whole = ParseListFile(file, kProg);
    ASSERT_EQ(whole[kShut].size(), 42u);
    EXPECT_EQ(whole[kShut].back().fileName, "LAST");
    for (std::size_t piece : {0u, 1u, 2u, 3u, 7u, 64u}) {  // 0: the whole file handed over
        bool more = true;
        ListFileReader reader = ReadInPieces(file, piece, &more);
        EXPECT_FALSE(more) << piece;  // the end mark was seen
        for (std::size_t s = 0; s < 4; ++s) EXPECT_EQ(Rows(reader.Entries()[s]), Rows(whole[s])) << piece;
    }
}

// An editor's UTF-8 byte-order mark before the first header, whole or in pieces; anything
// else at the start stays text.
TEST(ListFileLines, AByteOrderMarkAtTheStartIsSkipped) {
    const struct {
        std::string file;
        std::size_t starts, skipped;
    } cases[] = {
        {"\xEF\xBB\xBF[START]\r\nC:\\A.BMP\r\n", 1, 0},
        {"\xEF\xBB[START]\r\nC:\\A.BMP\r\n", 0, 2},                  // half a mark: the header is spoilt
        {"\xEF\xBB\xBF\xEF\xBB\xBF[START]\r\nC:\\A.BMP\r\n", 0, 2},  // only one is skipped
        {"[START]\r\n\xEF\xBB\xBF"
         "C:\\A.BMP\r\n",
         1, 0},  // not at the start: text
        {"\xEF\xBB", 0, 1},
    };
    for (const auto& c : cases)
        for (std::size_t piece : {0u, 1u, 2u, 100u}) {  // 0: the whole file handed over
            ListFileReader reader = ReadInPieces(c.file, piece);
            EXPECT_EQ(reader.Entries()[kStart].size(), c.starts) << testing::PrintToString(c.file) << piece;
            EXPECT_EQ(reader.SkippedLines(), c.skipped) << testing::PrintToString(c.file) << piece;
        }
}

TEST(ListFileLines, LinesHaveNoLengthLimit) {
    const std::string folder = "C:\\" + std::string(300000, 'x') + "\\";
    const std::string name = std::string(70000, 'n') + ".BMP";
    ListFileReader reader = ReadInPieces("[WALLPAPER]\r\n" + folder + name + ", Mirror", 4096);
    EXPECT_EQ(Rows(reader.Entries()[kWall]), V{folder + "|" + name + "|Mirror"});
}

TEST(ListFileSections, OnlyTheFourExactHeadersOpenASection) {
    const std::string file =
        "C:\\BEFORE.BMP\r\n"  // no section yet
        "[WAIT]\r\nC:\\W1.BMP\r\n"
        "[start]\r\nC:\\LOWER.BMP\r\n"
        "[START] \r\nC:\\BLANK.BMP\r\n"
        "[UNKNOWN]\r\nC:\\UNKNOWN.BMP\r\n"
        "[\r\nC:\\BRACKET.BMP\r\n"
        " [SHUT]\r\n"  // not a header: an entry of no section
        "[SHUT]\r\nC:\\S1.BMP\r\n"
        "[WAIT]\r\nC:\\W2.BMP\r\n"  // a repeated section appends
        "[WALLPAPER]\r\nC:\\P.JPG\r\n";
    const ListFileEntries e = ParseListFile(file, kProg);
    EXPECT_EQ(ReadInPieces(file, file.size()).SkippedLines(), 6u);  // the lines a save would drop
    EXPECT_EQ(Rows(e[kStart]), V{});
    EXPECT_EQ(Rows(e[kWait]), (V{"C:\\|W1.BMP", "C:\\|W2.BMP"}));
    EXPECT_EQ(Rows(e[kShut]), V{"C:\\|S1.BMP"});
    EXPECT_EQ(Rows(e[kWall]), V{"C:\\|P.JPG|Centred"});
    EXPECT_EQ(SectionOfHeader("[WALLPAPER]"), kWall);
    EXPECT_FALSE(SectionOfHeader("[WALLPAPER]\n").has_value());
    EXPECT_FALSE(SectionOfHeader("[Wait]").has_value());
}

TEST(ListFileStyles, TextAfterTheFirstCommaIsUpperCasedTrimmedAndMatched) {
    const struct {
        const char* text;
        const char* style;
    } cases[] = {
        {" Tiled", "Tiled"},
        {"   tiled  ", "Tiled"},
        {"centred", "Centred"},
        {"STRETCHED", "Stretched"},
        {" fit 2 screen", "Fit 2 Screen"},
        {"\t\x01mIrRoR\x1f \x7f", "Centred"},  // DEL is not a control character here
        {"\t\x01mIrRoR\x1f ", "Mirror"},
        {"Fit  2 Screen", "Centred"},
        {"Fit2Screen", "Centred"},
        {"Stretched, Tiled", "Centred"},
        {"", "Centred"},
        {"   ", "Centred"},
        {"Centered", "Centred"},
        {"T\xc9LED", "Centred"},  // only ASCII letters change case
    };
    for (const auto& c : cases) EXPECT_EQ(StyleFromText(c.text), c.style) << testing::PrintToString(c.text);
}

TEST(ListFileEntries, PathSplitsAtTheLastBackslashOrColon) {
    const struct {
        const char* line;
        bool wall;
        const char* row;  // folder|name, then |style for wallpapers
    } cases[] = {
        {"C:\\PICS\\LOGO1.BMP", false, "C:\\PICS\\|LOGO1.BMP"},
        {"C:\\OFF.SYS", false, "C:\\|OFF.SYS"},
        {"C:LOGO.BMP", false, "C:|LOGO.BMP"},
        {"A:B\\C", false, "A:B\\|C"},
        {"A\\B:C", false, "A\\B:|C"},
        {"\\\\SERVER\\SHARE\\X.BMP", false, "\\\\SERVER\\SHARE\\|X.BMP"},
        {"C:\\PICS\\", false, "C:\\PICS\\|"},
        {"LOGO.BMP", false, "C:\\PROG\\|LOGO.BMP"},
        {"   ", false, "C:\\PROG\\|   "},
        {" C:\\A.BMP ", false, " C:\\|A.BMP "},  // the path is not trimmed
        {"C:\\A,B\\X.BMP", false, "C:\\A,B\\|X.BMP"},
        {"C:\\A,B\\X.BMP", true, "C:\\|A|Centred"},
        {"C:\\PICS\\SEA.JPG, Tiled", true, "C:\\PICS\\|SEA.JPG|Tiled"},
        {"C:\\PICS\\SEA.JPG,   tiled  ", true, "C:\\PICS\\|SEA.JPG|Tiled"},
        {"C:\\PICS\\SEA.JPG", true, "C:\\PICS\\|SEA.JPG|Centred"},
        {"SEA.JPG,Mirror", true, "C:\\PROG\\|SEA.JPG|Mirror"},
        {", Tiled", true, "C:\\PROG\\||Tiled"},
    };
    for (const auto& c : cases) {
        const ScreenEntry e = ParseEntryLine(c.line, c.wall, kProg);
        EXPECT_EQ(Rows({e}), V{c.row}) << c.line;
        EXPECT_FALSE(e.selected);
    }
}

std::array<CategoryList, 4> Load(const std::string& bytes) {
    std::array<CategoryList, 4> lists;
    ListFileEntries entries = ParseListFile(bytes, kProg);
    for (std::size_t i = 0; i < 4; ++i) lists[i].AddMany(std::move(entries[i]));
    return lists;
}

TEST(ListFileWriting, SevenLinesWithCrLfAfterEachThenFullPathsInListOrderAndWallpapersWithTheirStyle) {
    std::array<CategoryList, 4> lists;
    EXPECT_EQ(FormatListFile(lists), "[START]\r\n\r\n[WAIT]\r\n\r\n[SHUT]\r\n\r\n[WALLPAPER]\r\n");
    lists[kStart].Add({"LOGO1.BMP", "C:\\PICS", "", false});
    lists[kStart].Add({"A.BMP", "D:", "", true});
    lists[kShut].Add({"OFF.SYS", "C:\\", "", false});
    lists[kWall].Add({"SEA.JPG", "C:\\PICS\\", "Tiled", false});
    lists[kWall].Add({"B.GIF", "", "Fit 2 Screen", false});
    EXPECT_EQ(FormatListFile(lists),
              "[START]\r\nD:\\A.BMP\r\nC:\\PICS\\LOGO1.BMP\r\n\r\n"
              "[WAIT]\r\n\r\n"
              "[SHUT]\r\nC:\\OFF.SYS\r\n\r\n"
              "[WALLPAPER]\r\n\\B.GIF, Fit 2 Screen\r\nC:\\PICS\\SEA.JPG, Tiled\r\n");
}

TEST(ListFileWriting, AHandMadeFileIsNormalisedBySavingIt) {
    const std::string handMade =
        "[WALLPAPER]\n"  // a lone LF: the header line is "[WALLPAPER]\nC:\X.JPG", no header
        "C:\\X.JPG\r"
        "[WALLPAPER]\r\n"
        "C:\\W\\B.JPG,   tiled  \r\n"
        "A.JPG\r\n"
        "C:\\W\\C.JPG, stretch\r\n"
        "\r\n\r\n"
        "[SHUT]\r\nC:\\S\\Z.SYS\r\nC:\\S\\Y.SYS\r\n"
        "[START]\rlogo.bmp\r";
    EXPECT_EQ(FormatListFile(Load(handMade)),
              "[START]\r\nC:\\PROG\\logo.bmp\r\n\r\n"
              "[WAIT]\r\n\r\n"
              "[SHUT]\r\nC:\\S\\Y.SYS\r\nC:\\S\\Z.SYS\r\n\r\n"
              "[WALLPAPER]\r\nC:\\PROG\\A.JPG, Centred\r\nC:\\W\\B.JPG, Tiled\r\nC:\\W\\C.JPG, Centred\r\n");
}

TEST(ListFileWriting, AFileWrittenHereReadsBackByteForByte) {
    // Every byte but CR and Ctrl-Z may stand in a path, 8-bit ones too; equal names keep
    // their order. Wallpaper paths hold no comma, or it would end them.
    std::array<CategoryList, 4> lists;
    std::string all;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != 26 && b != '\\' && b != ':') all += static_cast<char>(b);
    std::string noComma = all;
    noComma.erase(noComma.find(','), 1);
    lists[kStart].Add({all, "C:\\\xe9t\xe9\\", "", false});
    lists[kStart].Add({"same.bmp", "C:\\one", "", false});
    lists[kStart].Add({"same.bmp", "C:\\two\\", "", false});
    lists[kStart].Add({"SAME.BMP", "C:\\three", "", false});
    lists[kWait].Add({"\n", "C:", "", false});
    lists[kShut].Add({"", "C:\\PICS\\", "", false});
    lists[kShut].Add({"   ", "C:\\PROG\\", "", false});
    for (std::size_t i = 0; i < 5; ++i)
        lists[kWall].Add(
            {noComma + std::to_string(i), "\\\\S\\\xff\\", std::string(kDisplayStyles[i]), false});
    const std::string first = FormatListFile(lists);
    const std::string second = FormatListFile(Load(first));
    EXPECT_EQ(second, first);
    EXPECT_EQ(FormatListFile(Load(second)), first);
}

TEST(ListFileWriting, GarbageAndBinaryBytesLoadWithoutHarmAndSettleAfterOneSave) {
    std::mt19937 rng(12345);
    const std::string alphabet = std::string("[]\\:,\r\n\x1a \t") + "STARTWAITSHUTWALLPAPER";
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int n = static_cast<int>(rng() % 400);
        for (int i = 0; i < n; ++i) {
            if (rng() % 5 == 0) {
                const auto& section = kCategories[rng() % 4].section;
                bytes += "\r\n" + std::string(section) + "\r\n";
            } else {
                bytes += (rng() % 2) ? alphabet[rng() % alphabet.size()] : static_cast<char>(rng() % 256);
            }
        }
        const std::string once = FormatListFile(Load(bytes));
        EXPECT_EQ(FormatListFile(Load(once)), once) << testing::PrintToString(bytes);
    }
}

TEST(ListTexts, MessagesAreBuiltLetterForLetter) {
    EXPECT_EQ(CreatingFileError(5), "Error 5 creating file");
    EXPECT_EQ(CreatingFileError(4294967295ul), "Error 4294967295 creating file");
    EXPECT_EQ(PurgeReport({0, 1, 0, 2}),
              "Numbers of removed screens : \n\rStart-Up screens : 0\n\rWaiting screens : 1\n\r"
              "Shut down screens : 0\n\rWallpaper : 2\n\r");
}

TEST(CategoryListRemoveIf, KeepsOrderTheFocusedRowAndTheAddressesOfWhatStays) {
    CategoryList list;
    for (const char* n : {"a", "b", "c", "d", "e", "f"}) list.Add({n, "C:\\", "", false});
    list.SetFocused(3);  // "d"
    const ScreenEntry* e = &list[4];
    EXPECT_EQ(list.RemoveIf([](const ScreenEntry& x) {
        return x.fileName == "a" || x.fileName == "b" || x.fileName == "f";
    }),
              3u);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].fileName, "c");
    EXPECT_EQ(&list[2], e);  // the purge finds the entries it tested by their address
    EXPECT_EQ(list.Focused(), 1u);
    list.RemoveIf([](const ScreenEntry& x) { return x.fileName == "d"; });
    EXPECT_FALSE(list.Focused().has_value());
    EXPECT_EQ(list.RemoveIf([](const ScreenEntry&) { return false; }), 0u);
    EXPECT_EQ(list.size(), 2u);
}

}  // namespace
}  // namespace mvpr
