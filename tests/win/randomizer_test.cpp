// The randomizer's run in-process: real files, registry keys and the wallpaper, under Wine.
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FormFixture.h"
#include "imaging/NViewLib.h"
#include "Randomizer_win.h"
#include "TestSupport.h"
#include "system/SettingsKeys.h"
#include "imaging/BmpCodec.h"
#include "lists/DisplayStyle.h"
#include "system/DesktopKeys.h"
#include "system/ScreenTargets.h"
#include "win/Handles.h"
#include "win/Registry.h"

namespace mvpr::test {
namespace {

// Tries the entries in list order.
class InOrder : public RandomSource {
  public:
    std::size_t Below(std::size_t) override { return 0; }
};

// A picture file whose bytes tell it from the others: 8-bit with the given first palette colour,
// or a 24-bit picture with a pattern that shows every misplaced tile.
std::string PictureBmp(int width, int height, int bits, std::uint8_t shade = 0) {
    auto picture = Picture::Create(width, height, bits);
    if (!picture) return {};
    if (bits == 8) picture->Palette()[0] = Bgra{shade, shade, shade, 0};
    if (bits == 24)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width * 3; ++x)
                picture->Row(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 13 + shade);
    const auto bytes = EncodeBmp(*picture);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// A run in the test's folders and keys, for this screen, with the test's own NViewLib.dll.
RandomizerConfig TestConfig(const TempDir& program, const TempDir& windows, const RegistrySandbox& registry) {
    RandomizerConfig config;
    config.places.programDir = program.path() + "\\";
    config.places.windowsDir = windows.path();
    config.places.registryPrefix = registry.prefix();
    config.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    config.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    config.library = &NViewLibLoad;
    return config;
}

class Randomizer : public ::testing::Test {
  protected:
    void SetUp() override {
        config = TestConfig(prog, windows, registry);
        // The machine's originals are safe: it had no screens, and its desktop values are kept.
        for (const auto& [name, value] : {std::pair{kStartScreenValue, "(none)"},
                                          {kWaitScreenValue, "(none)"},
                                          {kShutScreenValue, "(none)"},
                                          {kSavedWallPaperValue, ""},
                                          {kSavedTileWallpaperValue, ""},
                                          {kSavedWallpaperStyleValue, "(none)"},
                                          {kFilesBackedUpValue, "1"}})
            ASSERT_TRUE(Record(true)->WriteString(name, value));
    }
    std::optional<win::RegistryKey> Record(bool create = false) {
        return win::RegistryKey::Open(
            HKEY_CURRENT_USER,
            registry.prefix() + std::string(kSettingsKey) + "\\" + std::string(kOriginalInfoSection), create);
    }

    std::string Pic(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(WriteFile(pics / name, bytes));
        return pics / name;
    }
    void WriteList(const std::string& text) { ASSERT_TRUE(WriteFile(prog / "MVDATA.MVD", text)); }
    std::vector<std::string> Run(RandomSource& random) {
        config.random = &random;
        RunLog log;
        RunRandomizer(config, log);
        return log.Lines();
    }
    std::string Target(ScreenCategory c) { return ScreenTargetPath(c, windows.path()); }
    std::string Key() { return registry.prefix() + std::string(kRandomizerKey); }
    std::optional<std::string> LastPick(ScreenCategory c) {
        auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, Key(), false);
        return key ? key->ReadText(kLastPickValues[CategoryIndex(c)]) : std::nullopt;
    }
    std::string ListLine() { return "List file " + (prog / "MVDATA.MVD") + ": "; }

    TempDir prog, windows, pics;
    RegistrySandbox registry;
    RandomizerConfig config;
};

// The one test that writes the start-up screen, in the root of the Windows drive.
TEST_F(Randomizer, EveryCategorySkipsMissingAndInvalidFilesAndInstallsItsValidOne) {
    const DriveRootLock lock;
    const std::string root = Target(ScreenCategory::Start);
    const std::optional<std::string> machines =
        FileExists(root) ? std::optional(ReadFile(root)) : std::nullopt;
    const std::string start = Pic("start.bmp", PictureBmp(320, 400, 8, 10)),
                      wait = Pic("wait.bmp", PictureBmp(320, 400, 8, 20)),
                      shut = Pic("shut.bmp", PictureBmp(320, 400, 8, 30)),
                      sea = Pic("sea.bmp", PictureBmp(300, 200, 24)),
                      big = Pic("big.bmp", PictureBmp(640, 480, 8)),
                      deep = Pic("deep.bmp", PictureBmp(320, 400, 24)), text = Pic("text.bmp", "no picture"),
                      textJpg = Pic("text.jpg", "no picture"), gone = pics / "gone.bmp";
    WriteList("[START]\r\n" + gone + "\r\n" + big + "\r\n" + start + "\r\n\r\n[WAIT]\r\n" + gone + "\r\n" +
              deep + "\r\n" + wait + "\r\n\r\n[SHUT]\r\n" + gone + "\r\n" + text + "\r\n" + shut +
              "\r\n\r\n[WALLPAPER]\r\n" + gone + ", tiled\r\n" + textJpg + ", Mirror\r\n" + sea +
              ",  TILED \r\n");
    InOrder random;
    const auto lines = Run(random);
    const std::string win = windows.path() + "\\";
    const std::vector<std::string> expected{
        ListLine() + "StartUp Screen 3, Waiting Screen 3, Shut Down Screen 3, Wallpaper 3 entries.",
        "StartUp Screen: skipped " + gone + ": file not found.",
        "StartUp Screen: skipped " + big + ": size is 640 x 480, must be 320 x 400.",
        "StartUp Screen: " + start + " installed as " + root + ".",
        "Waiting Screen: skipped " + gone + ": file not found.",
        "Waiting Screen: skipped " + deep + ": pixel depth is 24 bpp, must be 8 bpp.",
        "Waiting Screen: " + wait + " installed as " + win + "logow.sys.",
        "Shut Down Screen: skipped " + gone + ": file not found.",
        "Shut Down Screen: skipped " + text + ": not a bitmap that can be read.",
        "Shut Down Screen: " + shut + " installed as " + win + "logos.sys.",
        "Wallpaper: skipped " + gone + ", Tiled: file not found.",
        "Wallpaper: skipped " + textJpg + ", Mirror: NViewLib.dll cannot read it as a picture.",
        "Wallpaper: " + sea + ", Tiled set as the wallpaper.",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(ReadFile(root), ReadFile(start));
    EXPECT_EQ(ReadFile(win + "logow.sys"), ReadFile(wait));
    EXPECT_EQ(ReadFile(win + "logos.sys"), ReadFile(shut));
    EXPECT_TRUE(FileExists(prog / "@MV!BACK.BMP"));
    EXPECT_EQ(LastPick(ScreenCategory::Start), start);
    EXPECT_EQ(LastPick(ScreenCategory::Wall), sea + ", Tiled");
    // Beside the record, the run made nothing but its own subkey.
    auto settings =
        win::RegistryKey::Open(HKEY_CURRENT_USER, registry.prefix() + "SoftWare\\Tolvane\\Morvellan", false);
    ASSERT_TRUE(settings);
    std::set<std::string> subkeys;
    char name[64] = {};
    for (DWORD i = 0; RegEnumKeyA(settings->get(), i, name, sizeof name) == ERROR_SUCCESS; ++i)
        subkeys.insert(name);
    EXPECT_EQ(subkeys, (std::set<std::string>{"Original Info", "Randomizer"}));
    if (machines)
        WriteFile(root, *machines);
    else
        DeleteFileA(root.c_str());
}

TEST_F(Randomizer, RepeatedRunsNeverPickTheSameEntryTwiceInARow) {
    std::string waitList, wallList;
    for (int i = 0; i < 3; ++i)
        waitList +=
            Pic("w" + std::to_string(i) + ".bmp", PictureBmp(320, 400, 8, static_cast<std::uint8_t>(i))) +
            "\r\n";
    const std::string onlyShut = Pic("shut.bmp", PictureBmp(320, 400, 8));
    const std::string sea = Pic("sea.bmp", PictureBmp(40, 30, 24));
    wallList = sea + ", Centred\r\n" + sea + ", Mirror\r\n";
    WriteList("[WAIT]\r\n" + waitList + "[SHUT]\r\n" + onlyShut + "\r\n" + pics / "gone.bmp" +
              "\r\n[WALLPAPER]\r\n" + wallList);
    SeededRandom random(GetTickCount());
    std::set<std::string> waits;
    std::optional<std::string> wait, wall;
    for (int run = 0; run < 8; ++run) {
        SCOPED_TRACE(run);
        const auto lines = Run(random);
        const auto newWait = LastPick(ScreenCategory::Wait), newWall = LastPick(ScreenCategory::Wall);
        ASSERT_TRUE(newWait && newWall);
        EXPECT_NE(newWait, wait);
        EXPECT_NE(newWall, wall);
        EXPECT_EQ(ReadFile(Target(ScreenCategory::Wait)), ReadFile(*newWait));
        wait = newWait;
        wall = newWall;
        waits.insert(*wait);
        // The only usable shut-down screen comes again, and the log says why.
        const std::string again = "Shut Down Screen: " + onlyShut + " installed as " +
                                  Target(ScreenCategory::Shut) +
                                  (run ? " (again: no other entry can be used)." : ".");
        EXPECT_NE(std::find(lines.begin(), lines.end(), again), lines.end()) << again;
    }
    EXPECT_EQ(waits.size(), 3u);
}

// Also: a screen or the wallpaper whose original is not backed up stays as it is.
TEST_F(Randomizer, ReadOnlyTargetMissingLibraryAndOriginalsWithoutBackupAreLeftAsTheyAre) {
    const std::string wait = Pic("wait.bmp", PictureBmp(320, 400, 8)),
                      shut = Pic("shut.bmp", PictureBmp(320, 400, 8));
    const std::string target = Target(ScreenCategory::Wait);
    ASSERT_TRUE(WriteFile(target, "machine's"));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string sea = Pic("sea.bmp", PictureBmp(8, 8, 24));
    WriteList("[START]\r\n" + shut + "\r\n[WAIT]\r\n" + wait + "\r\n[SHUT]\r\n" + shut +
              "\r\n[WALLPAPER]\r\n" + sea + "\r\n");
    ASSERT_TRUE(Record()->DeleteValue(kStartScreenValue));
    config.library = nullptr;  // and no NViewLib.dll in the program folder
    InOrder random;
    auto lines = Run(random);
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "StartUp Screen: left as it is: the machine's own " + Target(ScreenCategory::Start) +
                            " has no backup (not recorded).");
    const std::string notInstalled =
        "Waiting Screen: " + wait + " could not be installed as " + target + ", left as it is: ";
    EXPECT_EQ(lines[2].substr(0, notInstalled.size()), notInstalled);
    EXPECT_GT(lines[2].size(), notInstalled.size());  // the system's reason
    EXPECT_EQ(lines[3], "Shut Down Screen: " + shut + " installed as " + Target(ScreenCategory::Shut) + ".");
    EXPECT_EQ(lines[4], "Wallpaper: " + prog / "NViewLib.dll" + " could not be loaded, left as it is.");
    EXPECT_EQ(ReadFile(target), "machine's");
    EXPECT_FALSE(LastPick(ScreenCategory::Start));
    EXPECT_FALSE(LastPick(ScreenCategory::Wait));
    EXPECT_EQ(LastPick(ScreenCategory::Shut), shut);
    EXPECT_FALSE(FileExists(prog / "@MV!BACK.BMP"));

    // The desktop values not recorded: the wallpaper stays, whatever the library.
    config.library = &NViewLibLoad;
    ASSERT_TRUE(Record()->DeleteValue(kSavedWallpaperStyleValue));
    lines = Run(random);
    EXPECT_EQ(lines.back(),
              "Wallpaper: left as it is: the machine's own desktop settings have no backup yet.");
    EXPECT_FALSE(FileExists(prog / "@MV!BACK.BMP"));
}

TEST_F(Randomizer, ListFileAbsentEmptyOrUnreadableChangesNothing) {
    const std::string list = prog / "MVDATA.MVD";
    const std::string none =
        ListLine() + "StartUp Screen 0, Waiting Screen 0, Shut Down Screen 0, Wallpaper 0 entries.";
    const std::vector<std::string> untouched{
        "StartUp Screen: no entries, left as it is.", "Waiting Screen: no entries, left as it is.",
        "Shut Down Screen: no entries, left as it is.", "Wallpaper: no entries, left as it is."};
    struct Case {
        const char* name;
        std::optional<std::string> bytes;
        bool locked;
        std::vector<std::string> lines;
    } cases[] = {
        {"absent", std::nullopt, false, {"No list file " + list + ": nothing changed."}},
        {"locked",
         "[WAIT]\r\nC:\\x.bmp\r\n",
         true,
         {"The list file " + list + " could not be read: nothing changed."}},
        {"empty", "", false, {}},
        {"headers and strays only",
         "C:\\before.bmp\r\n[start]\r\nC:\\x.bmp\r\n[WAIT]\r\n\x1a[SHUT]\r\nC:\\y.bmp",
         false,
         {}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(list.c_str());
        if (c.bytes) WriteList(*c.bytes);
        if (c.lines.empty()) {
            c.lines.push_back(none);
            c.lines.insert(c.lines.end(), untouched.begin(), untouched.end());
        }
        win::UniqueFile hold(
            c.locked ? CreateFileA(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                     : INVALID_HANDLE_VALUE);
        InOrder random;
        EXPECT_EQ(Run(random), c.lines);
        EXPECT_TRUE(ListFolder(windows.path()).empty());
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Key()));
    }
}

// The selector's "Set as current" and the randomizer make the same wallpaper of the same entry.
class RandomizerAndSelector : public FormTest {};

TEST_F(RandomizerAndSelector, WorkFileAndDesktopValuesAreTheSelectorsInEveryStyle) {
    Open();
    const std::string pics = dir / "pics";
    CreateDirectoryA(pics.c_str(), nullptr);
    ASSERT_TRUE(WriteFile(pics + "\\sea.bmp", PictureBmp(300, 200, 24)));
    Click(ScreenCategory::Wall);
    Probe().ListOf(ScreenCategory::Wall).AddMany({{"sea.bmp", pics, "Centred", false}});
    Probe().ViewOf(ScreenCategory::Wall).Sync();
    ListView_SetItemState(Probe().ViewOf(ScreenCategory::Wall).hwnd(), 0, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    Pump();
    const std::string desktop = registry.prefix() + std::string(kDesktopKey);
    const auto values = [&] {
        auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, desktop, true);
        std::vector<std::string> v;
        for (auto name : {kWallpaperValue, kTileWallpaperValue, kWallpaperStyleValue}) {
            v.push_back(key->ReadText(name).value_or("<none>"));
            key->WriteString(name, "old");
        }
        return v;
    };
    values();

    TempDir randomizerDir, windows;
    RandomizerConfig rc = TestConfig(randomizerDir, windows, registry);
    InOrder random;
    rc.random = &random;
    for (std::size_t i = 0; i < kDisplayStyles.size(); ++i) {
        const std::string style(kDisplayStyles[i]);
        SCOPED_TRACE(style);
        SendMessageA(form->Control(SelectCtl::CBStyle), CB_SETCURSEL, i, 0);
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_SETASCURRENT1, 0), 0);
        Pump();
        const std::string selectors = ReadFile(dir / std::string(kWorkFileName));
        auto selectorValues = values();
        ASSERT_FALSE(selectors.empty());

        ASSERT_TRUE(WriteFile(randomizerDir / "MVDATA.MVD",
                              "[WALLPAPER]\r\n" + pics + "\\sea.bmp, " + style + "\r\n"));
        RunLog log;
        RunRandomizer(rc, log);
        EXPECT_TRUE(ReadFile(randomizerDir / std::string(kWorkFileName)) == selectors);
        selectorValues[0] = randomizerDir / std::string(kWorkFileName);
        EXPECT_EQ(values(), selectorValues);
    }
}

}  // namespace
}  // namespace mvpr::test
