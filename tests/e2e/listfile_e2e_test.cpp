#include <gtest/gtest.h>

#include "ProgramDriver.h"
#include "res/resource.h"

namespace mvpr::test {
namespace {

const char* kSettings = "Software\\Tolvane\\Morvellan";

class ListFileProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(BuiltProgram())) << BuiltProgram();
        DeleteKeyTree(HKEY_CURRENT_USER, kSettings);
    }
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, kSettings); }

    // The program's message box once the previous one is gone.
    HWND NextBox() {
        for (int t = 0; t < 5000 && program.HasVisibleWindow("#32770"); t += 50) Sleep(50);
        return program.WaitForWindow("#32770", 20000);
    }
    TempDir dir;
    ProgramDriver program;
};

// The whole round as a user goes through it: the lists load, the purge reports, closing asks,
// Yes saves.
TEST_F(ListFileProgram, PurgeReportsThenClosingAsksAndYesSavesTheLists) {
    WriteFile(dir / "HERE.BMP", "x");
    WriteFile(dir / "MVDATA.MVD",
              "[WAIT]\r\nHERE.BMP\r\nC:\\NOWHERE\\GONE.BMP\r\n[WALLPAPER]\r\nHERE.BMP,tiled\r\n");
    ASSERT_TRUE(program.Start(dir.path(), ""));
    HWND main = program.WaitForWindow("TFormSelect", 20000);
    ASSERT_NE(main, nullptr);
    for (int t = 0; t < 5000 && WindowText(main) != "Morvellan Selector 2.7"; t += 50) Sleep(50);

    PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_REMOVENONEXISTINGFILES1, 0), 0);
    HWND box = NextBox();
    ASSERT_NE(box, nullptr);
    BoxContents c = ReadBox(box);
    EXPECT_EQ(c.caption, "Information");
    EXPECT_EQ(c.text,
              "Numbers of removed screens : \n\rStart-Up screens : 0\n\rWaiting screens : 1\n\r"
              "Shut down screens : 0\n\rWallpaper : 0\n\r");
    EXPECT_EQ(c.buttons, std::vector<std::string>{"OK"});
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);

    for (int t = 0; t < 5000 && program.HasVisibleWindow("#32770"); t += 50) Sleep(50);
    PostMessageA(main, WM_CLOSE, 0, 0);
    box = NextBox();
    ASSERT_NE(box, nullptr);
    c = ReadBox(box);
    EXPECT_EQ(c.caption, "Confirm");
    EXPECT_EQ(c.text, "Changes not saved!\n\rSave before exit?");
    EXPECT_EQ(c.buttons, (std::vector<std::string>{"&Yes", "&No", "Cancel"}));
    PostMessageA(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), 0);
    EXPECT_EQ(ReadFile(dir / "MVDATA.MVD"), "[START]\r\n\r\n[WAIT]\r\n" + dir.path() +
                                                "\\HERE.BMP\r\n\r\n[SHUT]\r\n\r\n" + "[WALLPAPER]\r\n" +
                                                dir.path() + "\\HERE.BMP, Tiled\r\n");
    for (const auto& name : ListFolder(dir.path())) EXPECT_EQ(name.find(".TMP"), std::string::npos) << name;
}

}  // namespace
}  // namespace mvpr::test
