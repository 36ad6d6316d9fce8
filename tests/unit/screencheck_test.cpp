#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/ImagingSamples.h"
#include "support/MsDosEditChecks.h"
#include "support/MsDosSamples.h"
#include "system/MsDosSys.h"
#include "system/ScreenCheck.h"

namespace mvpr {
namespace {

using samples::BmpFile;

using test::MsDosText;
using K = MsDosKey;
using St = MsDosEditStatus;

TEST(MsDosSys, HandMadeFilesAreEditedByOneCharacterOrLeftAlone) {
    const struct {
        const char* what;
        std::string bytes;
        K key;
        St status;
    } cases[] = {
        {"Logo=0", MsDosText("[Options]\nBootGUI=1\nLogo=0\n"), K::Logo, St::Switched},
        {"BootGUI=0", MsDosText("[Options]\nBootGUI=0\nLogo=1\n"), K::BootGui, St::Switched},
        {"key and section in other letter case", MsDosText("[OPTIONS]\nLOGO=0\n"), K::Logo, St::Switched},
        {"blanks and tabs around =", MsDosText("[Options]\n  Logo \t=  0 \n"), K::Logo, St::Switched},
        {"a zero of two digits", MsDosText("[Options]\nLogo=00\n"), K::Logo, St::Switched},
        {"LF-only line ends", MsDosText("[Options]\nLogo=0\n", "\n"), K::Logo, St::Switched},
        {"1,025 bytes", MsDosText("[Options]\nLogo=0\n", "\r\n", 1025), K::Logo, St::Switched},
        {"1,024 bytes", MsDosText("[Options]\nLogo=0\n", "\r\n", 1024), K::Logo, St::NotMsDosSys},
        {"no [Options]", MsDosText(""), K::Logo, St::AlreadyOn},
        {"the key missing", MsDosText("[Options]\nBootGUI=1\n"), K::Logo, St::AlreadyOn},
        {"the key on", MsDosText("[Options]\nLogo=1\n"), K::Logo, St::AlreadyOn},
        {"the first of two lines counts", MsDosText("[Options]\nLogo=1\nLogo=0\n"), K::Logo, St::AlreadyOn},
        {"Logo=0 outside [Options]", MsDosText("[Other]\nLogo=0\n"), K::Logo, St::AlreadyOn},
        {"Logo=0 as a comment", MsDosText("[Options]\n;Logo=0\n"), K::Logo, St::AlreadyOn},
        {"Logo=0 after the end mark", MsDosText("[Options]\n\x1aLogo=0\n"), K::Logo, St::AlreadyOn},
        {"no [Paths]: not an MSDOS.SYS",
         MsDosText("[Options]\nLogo=0\n", "\r\n", 0, "[boot]\nshell=Explorer.exe\n"), K::Logo,
         St::NotMsDosSys},
        {"binary: the MSDOS.SYS of MS-DOS 6", std::string(1200, '\0') + MsDosText("[Options]\nLogo=0\n"),
         K::Logo, St::NotMsDosSys},
        {"empty", "", K::Logo, St::NotMsDosSys},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SwitchOn(c.bytes, c.key).status, c.status);
        for (const K key : {K::Logo, K::BootGui}) EXPECT_EQ(test::MsDosEditViolation(c.bytes, key), "");
    }
    // Files as set-ups leave them, and each with the two keys off.
    for (const auto& [name, bytes] : test::RealMsDosFiles()) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(ReadMsDosSys(bytes));
        for (const MsDosKey key : {MsDosKey::Logo, MsDosKey::BootGui}) {
            EXPECT_EQ(test::MsDosEditViolation(bytes, key), "");
            std::string off = bytes;
            const auto options = off.find("[Options]\r\n");
            ASSERT_NE(options, std::string::npos);
            off.insert(options + 11, std::string(MsDosKeyName(key)) + "=0\r\n");
            EXPECT_EQ(SwitchOn(off, key).status, MsDosEditStatus::Switched);
            EXPECT_EQ(test::MsDosEditViolation(off, key), "");
        }
    }
    // The blanks stay where they were: only the digit changes.
    const std::string spaced = MsDosText("[Options]\n  Logo \t=  0 \n");
    EXPECT_NE(SwitchOn(spaced, MsDosKey::Logo).bytes.find("  Logo \t=  1 \r\n"), std::string::npos);
    const auto host =
        ReadMsDosSys(MsDosText("", "\r\n", 0, "[Paths]\nWinDir=D:\\WIN\nHostWinBootDrv = h:\\\n"));
    ASSERT_TRUE(host);
    EXPECT_EQ(host->hostWinBootDrive, 'H');
}

// --- the check: facts in, findings out --------------------------------------------------------

std::string Bmp(int width, int height, int bpp) {
    BmpFile f;
    f.width = width;
    f.height = height;
    f.bpp = static_cast<std::uint16_t>(bpp);
    if (bpp <= 8) f.palette = samples::GreyPalette(1 << bpp);
    f.pixels =
        samples::PackRows(width, height, bpp, [](int x, int y) { return static_cast<std::uint32_t>(x + y); });
    const auto bytes = f.Build();
    return std::string(bytes.begin(), bytes.end());
}

FileFacts Read(const std::string& path, std::string bytes) {
    return FileFacts{path, FileFacts::State::Read, std::move(bytes)};
}
FileFacts Absent(const std::string& path) {
    return FileFacts{path, FileFacts::State::Absent, {}};
}

// A Windows 98 machine on which every screen is shown as intended.
CheckFacts Good98() {
    CheckFacts f;
    f.windowsDir = "C:\\WINDOWS";
    f.programDir = "C:\\MVPR\\";
    const std::string screen = Bmp(320, 400, 8);
    f.msDosSys = Read("C:\\MSDOS.SYS", MsDosText("[Options]\nBootGUI=1\nLogo=1\n"));
    f.screens = {Read("C:\\logo.sys", screen), Read("C:\\WINDOWS\\logow.sys", screen),
                 Read("C:\\WINDOWS\\logos.sys", screen)};
    f.startBackupEntry = "(none)";
    f.wallpaperValue = "C:\\MVPR\\@MV!BACK.BMP";
    f.wallpaperFile = Read(*f.wallpaperValue, Bmp(64, 48, 24));
    return f;
}

CheckFacts Xp() {
    CheckFacts f = Good98();
    f.nt = true;
    f.major = 5;
    f.minor = 1;
    return f;
}

// One finding as the table spells it: subject, severity, fix, and a phrase its sentence holds.
struct Expected {
    CheckSubject subject;
    Severity severity;
    CheckFix fix;
    const char* phrase;
};

using S = CheckSubject;
using V = Severity;
using F = CheckFix;

TEST(ScreenCheck, FactsInFindingsOut) {
    const Expected w98{S::Windows, V::Fine, F::None, "Windows 98 shows"};
    const Expected start{S::Start, V::Fine, F::None, "C:\\logo.sys is a screen"};
    const Expected wait{S::Wait, V::Fine, F::None, "logow.sys is a screen"};
    const Expected fast{S::Wait, V::Note, F::None, "too briefly"};
    const Expected shut{S::Shut, V::Fine, F::None, "logos.sys is a screen"};
    const Expected acpi{S::Shut, V::Note, F::None, "switches itself off"};
    const Expected wall{S::Wallpaper, V::Fine, F::None, "is a bitmap of 64 x 48"};
    // Stands for what the all-well 9x machine finds after its start-up screen.
    const Expected etc{S::Windows, V::Fine, F::None, nullptr};
    const struct {
        const char* what;
        std::function<void(CheckFacts&)> change;
        std::vector<Expected> findings;
    } cases[] = {
        {"all well on 98", [](CheckFacts&) {}, {w98, start, etc}},
        {"Windows 95",
         [](CheckFacts& f) { f.minor = 0; },
         {{S::Windows, V::Fine, F::None, "Windows 95 shows"}, start, etc}},
        {"Logo=0",
         [](CheckFacts& f) { f.msDosSys.bytes = MsDosText("[Options]\nLogo=0\n"); },
         {w98, {S::Start, V::Problem, F::SwitchLogoOn, "switched off: Logo=0 in C:\\MSDOS.SYS"}, start, etc}},
        {"BootGUI=0 on 98",
         [](CheckFacts& f) { f.msDosSys.bytes = MsDosText("[options]\nbootgui = 0\n"); },
         {w98, {S::Windows, V::Problem, F::SwitchBootGuiOn, "command prompt"}, start, etc}},
        {"BootGUI=0 on ME is ignored",
         [](CheckFacts& f) {
             f.minor = 90;
             f.msDosSys.bytes = MsDosText("[Options]\nBootGUI=0\nLogo=0\n");
         },
         {{S::Windows, V::Fine, F::None, "Windows ME shows"},
          {S::Windows, V::Note, F::None, "Windows ME always starts"},
          {S::Start, V::Problem, F::SwitchLogoOn, "Logo=0"},
          start,
          etc}},
        {"no MSDOS.SYS",
         [](CheckFacts& f) { f.msDosSys = Absent("C:\\MSDOS.SYS"); },
         {w98, {S::Windows, V::Warning, F::None, "No C:\\MSDOS.SYS"}, start, etc}},
        {"an MSDOS.SYS of 1,024 bytes is not the one of 9x",
         [](CheckFacts& f) { f.msDosSys.bytes = MsDosText("[Options]\nLogo=0\n", "\r\n", 1024); },
         {w98, {S::Windows, V::Warning, F::None, "does not look like"}, start, etc}},
        {"a compressed boot drive",
         [](CheckFacts& f) {
             f.msDosSys.bytes = MsDosText("", "\r\n", 0, "[Paths]\nWinDir=C:\\WINDOWS\nHostWinBootDrv=H\n");
         },
         {w98, {S::Start, V::Warning, F::None, "reads logo.sys from H:\\, not C:\\logo.sys"}, start, etc}},
        {"24-bit logo.sys, the machine had none",
         [](CheckFacts& f) { f.screens[0].bytes = Bmp(320, 400, 24); },
         {w98,
          {S::Start, V::Warning, F::MoveLogoAside, "320 x 400 with 24 bits per pixel; a screen must be"},
          etc}},
        {"empty logo.sys, backed up",
         [](CheckFacts& f) {
             f.screens[0].bytes.clear();
             f.startBackupEntry = "C:\\MVPR\\logo.bck";
             f.startBackupPresent = true;
         },
         {w98, {S::Start, V::Problem, F::MoveLogoAside, "empty or damaged"}, etc}},
        {"cut-off logo.sys whose backup is gone",
         [](CheckFacts& f) {
             f.screens[0].bytes.resize(2000);
             f.startBackupEntry = "C:\\MVPR\\logo.bck";
         },
         {w98, {S::Start, V::Problem, F::None, "kept no backup"}, etc}},
        {"broken logo.sys without a backup record",
         [](CheckFacts& f) {
             f.screens[0].state = FileFacts::State::Unreadable;
             f.startBackupEntry.reset();
         },
         {w98, {S::Start, V::Problem, F::None, "could not be read"}, etc}},
        {"no screen files at all",
         [](CheckFacts& f) {
             for (auto& s : f.screens) s.state = FileFacts::State::Absent;
         },
         {w98,
          {S::Start, V::Fine, F::None, "built into"},
          {S::Wait, V::Note, F::None, "No C:\\WINDOWS\\logow.sys"},
          fast,
          {S::Shut, V::Note, F::None, "in text instead"},
          acpi,
          wall}},
        {"a waiting screen of the wrong size has no fix",
         [](CheckFacts& f) { f.screens[1].bytes = Bmp(640, 480, 8); },
         {w98, start, {S::Wait, V::Warning, F::None, "640 x 480 with 8 bits"}, fast, shut, acpi, wall}},
        {"Windows XP: only the wallpaper",
         [](CheckFacts& f) { f = Xp(); },
         {{S::Windows, V::Note, F::None, "Windows XP does not use"}, wall}},
        {"XP: a JPEG wallpaper, a policy and Active Desktop",
         [](CheckFacts& f) {
             f = Xp();
             f.wallpaperFile.bytes = "\xff\xd8\xff\xe0 not a bitmap";
             f.policyWallpaper = "C:\\CORP\\LOGO.JPG";
             f.activeDesktopWallpaper = "C:\\WINDOWS\\Web\\Wallpaper\\Bliss.bmp";
         },
         {{S::Windows, V::Note, F::None, "Windows XP"},
          {S::Wallpaper, V::Warning, F::None, "policy sets the wallpaper to C:\\CORP\\LOGO.JPG"},
          {S::Wallpaper, V::Note, F::None, "Active Desktop is on"},
          {S::Wallpaper, V::Note, F::None, "is not a bitmap"}}},
        {"Windows 7 has no Active Desktop",
         [](CheckFacts& f) {
             f = Xp();
             f.major = 6;
             f.activeDesktopWallpaper = "C:\\OTHER.BMP";
         },
         {{S::Windows, V::Note, F::None, "Windows 7 does not use"}, wall}},
        {"Active Desktop naming the same file says nothing",
         [](CheckFacts& f) { f.activeDesktopWallpaper = "c:\\mvpr\\@mv!back.bmp"; },
         {w98, start, etc}},
        {"98: a wallpaper that is no bitmap",
         [](CheckFacts& f) { f.wallpaperFile.bytes = "GIF89a"; },
         {w98, start, wait, fast, shut, acpi, {S::Wallpaper, V::Problem, F::None, "only bitmaps"}}},
        {"the wallpaper file is gone",
         [](CheckFacts& f) { f.wallpaperFile.state = FileFacts::State::Absent; },
         {w98, start, wait, fast, shut, acpi, {S::Wallpaper, V::Problem, F::None, "is not there"}}},
        {"no wallpaper",
         [](CheckFacts& f) { f.wallpaperValue = "(None)"; },
         {w98, start, wait, fast, shut, acpi, {S::Wallpaper, V::Note, F::None, "No wallpaper"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CheckFacts facts = Good98();
        c.change(facts);
        const auto found = CheckScreens(facts);
        std::vector<Expected> expected;
        for (const Expected& e : c.findings)
            if (e.phrase)
                expected.push_back(e);
            else
                expected.insert(expected.end(), {wait, fast, shut, acpi, wall});
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            SCOPED_TRACE(found[i].text);
            EXPECT_EQ(found[i].subject, expected[i].subject) << i;
            EXPECT_EQ(found[i].severity, expected[i].severity) << i;
            EXPECT_EQ(found[i].fix, expected[i].fix) << i;
            EXPECT_NE(found[i].text.find(expected[i].phrase), std::string::npos) << i;
        }
    }
}

TEST(ScreenCheck, FixesAreAskedWithWhatChangesAndHowToUndoIt) {
    CheckFacts f = Good98();
    f.msDosSys.path = "H:\\MSDOS.SYS";
    EXPECT_EQ(
        FixQuestion(CheckFix::SwitchLogoOn, f, ""),
        "Switch the start-up screen on?\n\rIn H:\\MSDOS.SYS the line Logo=0 becomes Logo=1; nothing else in "
        "the "
        "file changes.\n\rA copy of the file is kept first as H:\\MSDOS.MVP: copying it back undoes this.");
    EXPECT_NE(FixQuestion(CheckFix::SwitchBootGuiOn, f, "").find("BootGUI=0 becomes BootGUI=1"),
              std::string::npos);
    EXPECT_EQ(FixQuestion(CheckFix::MoveLogoAside, f, "C:\\MVPR\\logo.sys"),
              "Move C:\\logo.sys aside, so that Windows shows its own start-up screen?\n\rIt goes to "
              "C:\\MVPR\\logo.sys; moving it back undoes this.");
    // Never a name of the first-run backup, whatever is taken.
    std::set<std::string> taken;
    for (int i = 0; i < 3; ++i) {
        const std::string p =
            LogoAsidePath("C:\\MVPR", [&](const std::string& s) { return taken.count(s) > 0; });
        EXPECT_EQ(p, i == 0 ? "C:\\MVPR\\logo.sys" : "C:\\MVPR\\logo." + std::to_string(i) + ".sys");
        taken.insert(p);
    }
    EXPECT_EQ(LogoAsidePath("C:\\MVPR\\", [](const std::string&) { return true; }), "");
}

}  // namespace
}  // namespace mvpr
