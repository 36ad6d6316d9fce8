// The check's fixes on real files, and its window opened from the main menu.
#include "FormFixture.h"
#include "MsDosSamples.h"
#include "ScopedSeam.h"
#include "app/CheckScreensDialog.h"
#include "res/resource.h"
#include "system/ScreenCheck_win.h"
#include "win/Files.h"

namespace mvpr::test {
namespace {

constexpr DWORD kRhs = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

class Fixing : public ::testing::Test {
  protected:
    // A boot root of the test's own, with MSDOS.SYS as Windows keeps it: read-only, hidden, system.
    CheckFacts Facts(const std::string& msdos, DWORD attributes = kRhs) {
        CheckFacts f;
        f.windowsDir = root / "WINDOWS";
        f.programDir = program.path() + "\\";
        f.msDosSys.path = root / "MSDOS.SYS";
        f.screens[0].path = root / "logo.sys";
        EXPECT_TRUE(WriteFile(f.msDosSys.path, msdos));
        SetFileAttributesA(f.msDosSys.path.c_str(), attributes);
        return f;
    }
    // The attributes MSDOS.SYS must keep; the archive bit is the system's to set at any write.
    DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()) & kRhs; }
    TempDir root, program;
};

TEST_F(Fixing, MsDosSysGetsOneCharacterAndKeepsItsAttributesWithTheOldFileBesideIt) {
    const struct {
        const char* what;
        std::string bytes;
        DWORD attributes;
        MsDosKey key;
        bool done;
    } cases[] = {
        {"Logo=0, read-only, hidden, system", MsDosText("[Options]\nBootGUI=1\nLogo=0\n"), kRhs,
         MsDosKey::Logo, true},
        {"BootGUI=0, a plain file", MsDosText("[Options]\nBootGUI=0\n"), FILE_ATTRIBUTE_NORMAL,
         MsDosKey::BootGui, true},
        {"LF-only line ends", MsDosText("[Options]\nLogo=0\n", "\n"), kRhs, MsDosKey::Logo, true},
        {"already on", MsDosText("[Options]\nLogo=1\n"), kRhs, MsDosKey::Logo, false},
        {"not an MSDOS.SYS", "[boot]\r\nshell=Explorer.exe\r\n" + std::string(2000, ';'), kRhs,
         MsDosKey::Logo, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CheckFacts f = Facts(c.bytes, c.attributes);
        DeleteFileA((root / "MSDOS.MVP").c_str());
        const FixOutcome outcome = SwitchMsDosOn(f, c.key);
        EXPECT_EQ(outcome.done, c.done) << outcome.message;
        EXPECT_EQ(Attributes(f.msDosSys.path), c.attributes & kRhs);
        if (c.done) {
            EXPECT_EQ(ReadFile(f.msDosSys.path), SwitchOn(c.bytes, c.key).bytes);
            EXPECT_EQ(ReadFile(root / "MSDOS.MVP"), c.bytes);
        } else {
            EXPECT_EQ(ReadFile(f.msDosSys.path), c.bytes);
            EXPECT_FALSE(FileExists(root / "MSDOS.MVP")) << "a copy of a file that is left alone";
        }
        SetFileAttributesA(f.msDosSys.path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(Fixing, AFailedWriteLeavesMsDosSysAsItWasAndSaysWhy) {
    const std::string before = MsDosText("[Options]\nLogo=0\n");
    // The copy is written first, then MSDOS.SYS: each step of the second write fails in turn.
    for (const win::FileStep step :
         {win::FileStep::CreateTemp, win::FileStep::Write, win::FileStep::Replace}) {
        const CheckFacts f = Facts(before);
        const FixOutcome outcome = [&] {
            const ScopedSeam<&win::SetFileFaultSeam> fault(
                [step, calls = 0](win::FileStep s, int) mutable -> DWORD {
                    if (s == win::FileStep::OpenTarget) ++calls;
                    return s == step && calls == 2 ? ERROR_DISK_FULL : 0;
                });
            return SwitchMsDosOn(f, MsDosKey::Logo);
        }();
        EXPECT_FALSE(outcome.done);
        EXPECT_EQ(outcome.message.rfind(f.msDosSys.path + " was not changed:\n\r", 0), 0u) << outcome.message;
        EXPECT_EQ(ReadFile(f.msDosSys.path), before);
        EXPECT_EQ(Attributes(f.msDosSys.path), kRhs);
        SetFileAttributesA(f.msDosSys.path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(Fixing, ABrokenLogoGoesAsideUnderItsOwnNameOrStays) {
    CheckFacts f = Facts(MsDosText(""));
    const std::string broken = "BM broken";
    ASSERT_TRUE(WriteFile(f.screens[0].path, broken));
    SetFileAttributesA(f.screens[0].path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    // A name that is taken is never overwritten: logo.sys stays.
    ASSERT_TRUE(WriteFile(program / "logo.sys", "mine"));
    FixOutcome outcome = MoveLogoAside(f, program / "logo.sys");
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(ReadFile(f.screens[0].path), broken);
    EXPECT_EQ(ReadFile(program / "logo.sys"), "mine");

    const std::string aside = LogoAsidePath(f.programDir, &FileExists);
    EXPECT_EQ(aside, program / "logo.1.sys");
    outcome = MoveLogoAside(f, aside);
    EXPECT_TRUE(outcome.done) << outcome.message;
    EXPECT_EQ(outcome.message, f.screens[0].path + " was moved to " + aside +
                                   ". Windows shows its own start-up screen at the next start.");
    EXPECT_FALSE(FileExists(f.screens[0].path));
    EXPECT_EQ(ReadFile(aside), broken);
}

TEST_F(FormTest, CheckScreensOpensFromTheHelpMenuListsFindingsAndEscapeClosesIt) {
    Open();
    // Before "&About ...", in the Help menu.
    HMENU help = GetSubMenu(Probe().MainMenu1(), GetMenuItemCount(Probe().MainMenu1()) - 1);
    const int n = GetMenuItemCount(help);
    ASSERT_GE(n, 2);
    EXPECT_EQ(GetMenuItemID(help, n - 2), static_cast<UINT>(IDM_CHECKSCREENS1));
    EXPECT_EQ(GetMenuItemID(help, n - 1), static_cast<UINT>(IDM_ABOUT1));
    char text[64] = {};
    GetMenuStringA(help, n - 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Check Screens...");

    int rows = -1;
    std::string header[2];
    bool fixEnabled = true;
    {
        const ScopedSeam<&TCheckScreensDialog::SetShownSeam> shown([&](HWND dialog) {
            HWND list = GetDlgItem(dialog, IDC_CS_LIST);
            rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < 2; ++i) {
                char buffer[32] = {};
                LVCOLUMNA c{};
                c.mask = LVCF_TEXT;
                c.pszText = buffer;
                c.cchTextMax = sizeof buffer;
                SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
                header[i] = buffer;
            }
            fixEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_CS_FIX));
            PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_CHECKSCREENS1, 0), 0);
    }
    // Wine is a Windows of the NT family: the three screens are not used, the wallpaper is checked.
    EXPECT_GE(rows, 2);
    EXPECT_EQ(header[0], "Screen");
    EXPECT_EQ(header[1], "Finding");
    EXPECT_FALSE(fixEnabled);
}

}  // namespace
}  // namespace mvpr::test
