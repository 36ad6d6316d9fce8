// "Check Screens" in MVPR.exe as Windows 98 and as Windows XP see a machine: Wine is told which
// one the program runs on; the Windows folder, the boot drive and the registry are the test run's
// Wine prefix, whose screens, MSDOS.SYS and desktop values the test puts back afterwards.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ProgramDriver.h"
#include "MsDosSamples.h"
#include "res/resource.h"

#include <commctrl.h>

namespace mvpr::test {
namespace {

constexpr char kAppDefaults[] = "Software\\Wine\\AppDefaults\\MVPR.exe";

std::optional<std::string> ReadValue(HKEY root, const char* key, const char* name) {
    char buffer[512] = {};
    DWORD size = sizeof buffer, type = 0;
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
    const LONG r = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(k);
    return r == ERROR_SUCCESS && type == REG_SZ ? std::optional<std::string>(buffer) : std::nullopt;
}

void WriteValue(HKEY root, const std::string& key, const char* name,
                const std::optional<std::string>& value) {
    HKEY k = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    if (value)
        RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>(value->size() + 1));
    else
        RegDeleteValueA(k, name);
    RegCloseKey(k);
}

class CheckScreensProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(FileExists(BuiltProgram())) << BuiltProgram();
        version_ = ReadValue(HKEY_CURRENT_USER, kAppDefaults, "Version");
        windows_ = WindowsFolder();
        root_ = windows_.substr(0, 3);
    }
    void TearDown() override { WriteValue(HKEY_CURRENT_USER, kAppDefaults, "Version", version_); }

    // Starts the program as `version` ("win98", "winxp") sees the machine and opens the check.
    HWND OpenCheck(const char* version) {
        WriteValue(HKEY_CURRENT_USER, kAppDefaults, "Version", std::string(version));
        if (!program.Start(dir.path(), "")) return nullptr;
        HWND main = program.WaitForWindow("TFormSelect", 20000);
        if (!main) return nullptr;
        for (int t = 0; t < 10000 && WindowText(main) != "Morvellan Selector 2.7"; t += 50) Sleep(50);
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDM_CHECKSCREENS1, 0), 0);
        return program.WaitForWindow("#32770", 20000, "Check Screens");
    }

    // Each row as "Screen | Finding".
    std::vector<std::string> Rows(HWND dialog) {
        HWND list = FindWindowExA(dialog, nullptr, WC_LISTVIEWA, nullptr);
        std::vector<std::string> rows;
        const int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < n; ++i)
            rows.push_back(RemoteListViewText(program.pid(), list, i, 0) + " | " +
                           RemoteListViewText(program.pid(), list, i, 1));
        return rows;
    }

    void Close(HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        for (int t = 0; t < 5000 && IsWindow(dialog); t += 50) Sleep(50);
        EXPECT_FALSE(IsWindow(dialog));
        if (HWND main = program.WaitForWindow("TFormSelect", 0)) PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(20000), 0);
    }

    MachineSnapshot machine;
    TempDir dir;
    ProgramDriver program;
    std::string windows_, root_;

  private:
    std::optional<std::string> version_;
};

bool Has(const std::vector<std::string>& rows, const std::string& text) {
    for (const auto& r : rows)
        if (r.find(text) != std::string::npos) return true;
    return false;
}

TEST_F(CheckScreensProgram, AsWindows98ItFindsTheScreenSwitchedOffAndOneYesSwitchesItOn) {
    const std::string before = MsDosText("[Options]\nBootMulti=1\nBootGUI=1\nLogo=0\n");
    ASSERT_TRUE(WriteFile(root_ + "MSDOS.SYS", before));
    SetFileAttributesA((root_ + "MSDOS.SYS").c_str(),
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    DeleteFileA((root_ + "MSDOS.MVP").c_str());
    ASSERT_TRUE(WriteFile(root_ + "logo.sys", BlankBmp(320, 400, 24)));
    ASSERT_TRUE(WriteFile(windows_ + "\\logow.sys", BlankBmp(320, 400, 8)));
    DeleteFileA((windows_ + "\\logos.sys").c_str());

    HWND dialog = OpenCheck("win98");
    ASSERT_NE(dialog, nullptr) << "no check window";
    const auto rows = Rows(dialog);
    std::string all;
    for (const auto& r : rows) all += r + "\n";
    EXPECT_TRUE(Has(rows, "Windows | Windows 98 shows the start-up, waiting and shut-down screens.")) << all;
    EXPECT_TRUE(
        Has(rows, "StartUp Screen | The start-up screen is switched off: Logo=0 in " + root_ + "MSDOS.SYS."))
        << all;
    EXPECT_TRUE(Has(rows, "StartUp Screen | " + root_ + "logo.sys is 320 x 400 with 24 bits per pixel"))
        << all;
    EXPECT_TRUE(Has(rows, "Waiting Screen | " + windows_ + "\\logow.sys is a screen of 320 x 400")) << all;
    EXPECT_TRUE(Has(rows, "Shut Down Screen | No " + windows_ + "\\logos.sys")) << all;
    EXPECT_TRUE(Has(rows, "Wallpaper | ")) << all;

    // The first finding with a fix is selected: Logo=0. Fix, Yes, OK.
    HWND fix = GetDlgItem(dialog, IDC_CS_FIX);
    ASSERT_TRUE(IsWindowEnabled(fix));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CS_FIX, BN_CLICKED), reinterpret_cast<LPARAM>(fix));
    HWND question = program.WaitForWindow("#32770", 10000, "Confirm");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(ReadFile(root_ + "MSDOS.SYS"), before) << "written before the Yes";
    PostMessageA(GetDlgItem(question, IDYES), BM_CLICK, 0, 0);
    HWND done = program.WaitForWindow("#32770", 10000, "Information");
    ASSERT_NE(done, nullptr);
    EXPECT_NE(ReadBox(done).text.find("now says Logo=1"), std::string::npos) << ReadBox(done).text;
    PostMessageA(GetDlgItem(done, IDOK), BM_CLICK, 0, 0);

    const std::string after = ReadFile(root_ + "MSDOS.SYS");
    ASSERT_EQ(after.size(), before.size());
    int changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    EXPECT_EQ(changed, 1);
    EXPECT_NE(after.find("Logo=1\r\n"), std::string::npos);
    constexpr DWORD kRhs = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(GetFileAttributesA((root_ + "MSDOS.SYS").c_str()) & kRhs, kRhs);
    EXPECT_EQ(ReadFile(root_ + "MSDOS.MVP"), before);
    // Checked again at once: the finding is gone.
    for (int t = 0; t < 5000 && Has(Rows(dialog), "Logo=0"); t += 50) Sleep(50);
    EXPECT_FALSE(Has(Rows(dialog), "Logo=0"));
    Close(dialog);
}

TEST_F(CheckScreensProgram, AsWindowsXpItSaysTheScreensAreNotUsedAndChecksOnlyTheWallpaper) {
    ASSERT_TRUE(WriteFile(root_ + "MSDOS.SYS", MsDosText("[Options]\nLogo=0\n")));
    HWND dialog = OpenCheck("winxp");
    ASSERT_NE(dialog, nullptr) << "no check window";
    const auto rows = Rows(dialog);
    std::string all;
    for (const auto& r : rows) all += r + "\n";
    ASSERT_GE(rows.size(), 2u) << all;
    EXPECT_EQ(rows[0],
              "Windows | Windows XP does not use the start-up, waiting and shut-down screens (only Windows "
              "95, 98 and "
              "ME show them): only the wallpaper is checked.");
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i].rfind("Wallpaper | ", 0), 0u) << rows[i];
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_CS_FIX)));
    Close(dialog);
}

}  // namespace
}  // namespace mvpr::test
