// MVRandom.exe started as the Run entry starts it, in a program folder of its own, in the test
// run's Wine prefix: the screens, the desktop values and the randomizer's key it changes there are
// put back at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "app/FormSelectIds.h"

#include <shellapi.h>

namespace mvpr::test {
namespace {

const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string VersionValue(const std::string& exe, const std::string& name) {
    DWORD handle = 0;
    std::vector<char> record(GetFileVersionInfoSizeA(exe.c_str(), &handle));
    if (record.empty() ||
        !GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(record.size()), record.data()))
        return "<none>";
    char* value = nullptr;
    UINT len = 0;
    const std::string query = "\\StringFileInfo\\041304E4\\" + name;
    return VerQueryValueA(record.data(), query.c_str(), reinterpret_cast<void**>(&value), &len) && value
               ? std::string(value)
               : "<none>";
}

class RandomizerProgram : public ::testing::Test {
  protected:
    void RunProgram() {
        ProgramDriver program;
        EXPECT_TRUE(program.Start(dir.path(), "", "MVRandom.exe"));
        EXPECT_EQ(program.WaitForExit(60000), 0) << "the program did not end by itself";
    }
    std::vector<std::string> LogLines() {
        const std::string text = ReadFile(dir / "MVRandom.log");
        std::vector<std::string> lines;
        std::size_t at = 0;
        for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        EXPECT_EQ(at, text.size()) << "every line ends in CR LF";
        return lines;
    }

    MachineSnapshot machine;
    TempDir dir, pics;
};

// Its speed is measured by program_bench.
TEST_F(RandomizerProgram, FourListsOf25000EntriesEachGiveOnePick) {
    ASSERT_TRUE(WriteFile(dir / "MVDATA.MVD", ""));
    RecordMachineWithoutScreens();
    RunProgram();
    const auto empty = LogLines();
    ASSERT_EQ(empty.size(), 6u);
    EXPECT_EQ(empty[0].rfind("MVPR Randomizer 2.7 (build 12), run at ", 0), 0u) << empty[0];

    // Every entry its own path to one of four files, so none is the last pick's twin.
    ASSERT_TRUE(WriteFile(pics / "screen.bmp", BlankBmp(320, 400, 8)));
    ASSERT_TRUE(WriteFile(pics / "wall.bmp", BlankBmp(400, 300, 24)));
    std::string list;
    const char* sections[] = {"[START]", "[WAIT]", "[SHUT]", "[WALLPAPER]"};
    for (const char* section : sections) {
        list += std::string(section) + "\r\n";
        const bool wall = std::string(section) == "[WALLPAPER]";
        for (int i = 0; i < 25000; ++i)
            list += pics.path() + "\\" + std::to_string(i) + "\\..\\" +
                    (wall ? "wall.bmp, Mirror" : "screen.bmp") + "\r\n";
        if (!wall) list += "\r\n";
    }
    ASSERT_TRUE(WriteFile(dir / "MVDATA.MVD", list));
    RunProgram();
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5].rfind("Wallpaper: " + pics.path() + "\\", 0), 0u) << lines[5];
    EXPECT_EQ(ReadFile(WindowsFolder() + "\\logow.sys"), BlankBmp(320, 400, 8));
    // The Mirror wallpaper covers the screen.
    const std::string work = ReadFile(dir / "@MV!BACK.BMP");
    ASSERT_GE(work.size(), 26u);
    EXPECT_EQ(*reinterpret_cast<const LONG*>(work.data() + 18), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(std::abs(*reinterpret_cast<const LONG*>(work.data() + 22)), GetSystemMetrics(SM_CYSCREEN));
}

// As a user meets it: the first start backs up the machine's screens and turns the randomizer on;
// "Set Original Screens Back", the randomizer at the next log-on, and a second restore still give
// the machine's own screen back.
TEST_F(RandomizerProgram, RestoreRandomizeRestoreGivesTheOriginalBack) {
    const std::string wait = WindowsFolder() + "\\logow.sys";
    ASSERT_TRUE(WriteFile(wait, "the machine's own waiting screen"));
    ASSERT_TRUE(WriteFile(pics / "w.bmp", BlankBmp(320, 400, 8)));
    ASSERT_TRUE(WriteFile(dir / "MVDATA.MVD", "[WAIT]\r\n" + pics / "w.bmp" + "\r\n"));
    const auto restore = [&] {
        ProgramDriver selector;
        ASSERT_TRUE(selector.Start(dir.path(), ""));
        HWND main = selector.WaitForWindow("TFormSelect", 20000);
        ASSERT_NE(main, nullptr);
        for (int t = 0; t < 5000 && WindowText(main) != "Morvellan Selector 2.7"; t += 50) Sleep(50);
        SendMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_ORIGINALSCREENS1, 0), 0);
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(selector.WaitForExit(20000), 0);
    };
    restore();
    HKEY key = nullptr;
    char entry[MAX_PATH] = {};
    DWORD size = sizeof entry;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_READ, &key), ERROR_SUCCESS);
    RegQueryValueExA(key, "Morvellan", nullptr, nullptr, reinterpret_cast<BYTE*>(entry), &size);
    RegCloseKey(key);
    EXPECT_NE(std::string(entry).find("MVRandom.exe"), std::string::npos) << "the randomizer is on";
    ProgramDriver randomizer;
    ASSERT_TRUE(randomizer.Start(dir.path(), "", "MVRandom.exe"));  // as the Run entry starts it
    EXPECT_EQ(randomizer.WaitForExit(60000), 0);
    EXPECT_EQ(ReadFile(wait), BlankBmp(320, 400, 8)) << ReadFile(dir / "MVRandom.log");
    restore();
    EXPECT_EQ(ReadFile(wait), "the machine's own waiting screen");
}

TEST_F(RandomizerProgram, VersionRecordIsTheRandomizersWithTheSelectorsNumbers) {
    const std::string randomizer = BuiltProgramFolder() + "\\MVRandom.exe";
    EXPECT_EQ(VersionValue(randomizer, "FileDescription"), "MVPR Randomizer");
    EXPECT_EQ(VersionValue(randomizer, "FileVersion"), VersionValue(BuiltProgram(), "FileVersion"));
    EXPECT_EQ(ExtractIconExA(randomizer.c_str(), -1, nullptr, nullptr, 0), 1u);
}

}  // namespace
}  // namespace mvpr::test
