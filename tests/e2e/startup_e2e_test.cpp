#include <gtest/gtest.h>

#include "ProgramDriver.h"

namespace mvpr::test {
namespace {

const char* kSettings = "Software\\Tolvane\\Morvellan";
const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class ProgramStart : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(BuiltProgram())) << BuiltProgram();
        DeleteKeyTree(HKEY_CURRENT_USER, kSettings);
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRun, 0, KEY_WRITE, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, "Morvellan");
            RegCloseKey(run);
        }
    }
    void TearDown() override { DeleteKeyTree(HKEY_CURRENT_USER, kSettings); }
    TempDir dir;
    ProgramDriver program;
};

TEST_F(ProgramStart, UninstallSwitchAsksAndAnsweringNoEndsWithoutATrace) {
    ASSERT_TRUE(program.Start(dir.path(), "/u"));
    HWND box = program.WaitForWindow("#32770", 20000);
    ASSERT_NE(box, nullptr) << "no question was asked";
    EXPECT_FALSE(program.HasVisibleWindow("TFormSelect"));
    const BoxContents c = ReadBox(box);
    EXPECT_EQ(c.caption, "Warning");
    EXPECT_EQ(c.text,
              "This will uninstall MVPR.\n\r\n\rIt will place your original screens back\n\rand remove all "
              "registry "
              "entries of MVPR.\n\r\n\rAre you sure you want to continue?");
    EXPECT_EQ(c.buttons, (std::vector<std::string>{"&Yes", "&No"}));
    PostMessageA(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), 0);
    // nothing but the program's own files
    for (const auto& name : ListFolder(dir.path()))
        EXPECT_TRUE(FileExists(BuiltProgramFolder() + "\\" + name)) << name;
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kSettings));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, kRun, "Morvellan"));
}

TEST_F(ProgramStart, NormalStartShowsTheMainWindowWithTheVersionInItsCaption) {
    ASSERT_TRUE(program.Start(dir.path(), ""));
    HWND main = program.WaitForWindow("TFormSelect", 20000);
    ASSERT_NE(main, nullptr);
    // the caption gets its version once loading is done; the splash is gone by then
    for (int t = 0; t < 5000 && WindowText(main) != "Morvellan Selector 2.7"; t += 50) Sleep(50);
    EXPECT_EQ(WindowText(main), "Morvellan Selector 2.7");
    for (int t = 0; t < 5000 && program.HasVisibleWindow("TFormOpstartScherm"); t += 50) Sleep(50);
    EXPECT_FALSE(program.HasVisibleWindow("TFormOpstartScherm"));
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 444);
    EXPECT_EQ(client.bottom, 414);
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(20000), 0);
}

}  // namespace
}  // namespace mvpr::test
