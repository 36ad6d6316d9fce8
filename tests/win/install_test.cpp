#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <optional>

#include "FormFixture.h"
#include "ScopedSeam.h"
#include "Randomizer_win.h"
#include "imaging/NViewLib.h"
#include "win/OperationSeam.h"
#include "WebPictureWriters.h"
#include "system/SettingsKeys.h"
#include "system/InstallScreen_win.h"
#include "win/Files.h"
#include "system/ScreenTargets.h"
#include "system/SystemTexts.h"
#include "win/Registry.h"

namespace mvpr::test {
namespace {

const std::string kPicture = BlankBmp(320, 400, 8);

// A main window whose Windows directory is a folder of the test's own.
class Installing : public FormTest {
  protected:
    void Open() {
        config.places.windowsDir = windows.path();
        FormTest::Open();
    }
    // The first run: the settings' loading makes the backup where it knows the first run.
    void OpenFirstRun() {
        Open();
        if (!Record(kFilesBackedUpValue)) Probe().BackupOriginalScreens();
    }
    std::string Target(ScreenCategory c) { return ScreenTargetPath(c, windows.path()); }

    // Previews the file as choosing it in the file list does.
    void Preview(const std::string& name, const std::string& bytes) {
        const std::string folder = dir / "pics";
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(WriteFile(folder + "\\" + name, bytes));
        ASSERT_TRUE(Probe().Browser().ApplyFilePath(folder));
        HWND files = Probe().Browser().FileList();
        // Written after the folder was last read: read it again.
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_REFRESH1, 0), 0);
        int i = -1;
        for (std::size_t k = 0; k < Probe().Browser().FileCount(); ++k)
            if (Probe().Browser().FileName(k) == name) i = static_cast<int>(k);
        ASSERT_GE(i, 0) << name;
        SendMessageA(files, LB_SETSEL, FALSE, -1);
        SendMessageA(files, LB_SETSEL, TRUE, i);
        SendMessageA(files, LB_SETCARETINDEX, i, FALSE);
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(files), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(files));
        ASSERT_EQ(Probe().PreviewCaption(), folder + "\\" + name);
    }
    void Command(int id) {
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }

    std::optional<std::string> Value(const std::string& key, std::string_view name) {
        auto k = win::RegistryKey::Open(HKEY_CURRENT_USER, registry.prefix() + key, false);
        return k ? k->ReadText(name) : std::nullopt;
    }
    void SetValue(const std::string& key, std::string_view name, std::string_view value) {
        auto k = win::RegistryKey::Open(HKEY_CURRENT_USER, registry.prefix() + key, true);
        ASSERT_TRUE(k && k->WriteString(name, value));
    }
    std::string RecordKey() { return std::string(kSettingsKey) + "\\" + std::string(kOriginalInfoSection); }
    std::optional<std::string> Record(std::string_view name) { return Value(RecordKey(), name); }
    // Records a backup for the waiting and shutdown screens; the start-up screen, in the drive's
    // root, gets no entry, so nothing touches it.
    void SeedRecord(const std::string& wait, const std::string& shut) {
        SetValue(RecordKey(), kFilesBackedUpValue, "1");
        DeleteValue(RecordKey(), kStartScreenValue);
        SetValue(RecordKey(), kWaitScreenValue, wait);
        SetValue(RecordKey(), kShutScreenValue, shut);
    }
    void DeleteValue(const std::string& key, std::string_view name) {
        if (auto k = win::RegistryKey::Open(HKEY_CURRENT_USER, registry.prefix() + key, false))
            k->DeleteValue(name);
    }
    void SetNumber(const std::string& key, const char* name, DWORD value) {
        auto k = win::RegistryKey::Open(HKEY_CURRENT_USER, registry.prefix() + key, true);
        ASSERT_TRUE(k && RegSetValueExA(k->get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                        sizeof value) == ERROR_SUCCESS);
    }

    TempDir windows;
};

TEST_F(Installing, QuestionsDecideWhetherTheFileIsCopied) {
    const struct {
        int width, height, bpp;
        std::vector<win::MsgAnswer> answers;
        bool sizeAsked, depthAsked, copied;
    } cases[] = {
        {640, 480, 8, {win::MsgAnswer::Yes}, true, false, false},
        {640, 480, 8, {win::MsgAnswer::No}, true, false, true},
        {320, 400, 24, {win::MsgAnswer::Yes}, false, true, false},
        {640, 480, 24, {win::MsgAnswer::No, win::MsgAnswer::Yes}, true, true, false},
        {640, 480, 24, {win::MsgAnswer::No, win::MsgAnswer::No}, true, true, true},
        {320, 400, 8, {}, false, false, true},
    };
    Open();
    Click(ScreenCategory::Wait);
    Command(IDM_SETASCURRENT1);  // nothing previewed: nothing happens
    EXPECT_TRUE(boxes.boxes.empty());
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(n);
        DeleteFileA(Target(ScreenCategory::Wait).c_str());
        const std::string bytes = BlankBmp(c.width, c.height, c.bpp);
        Preview("case" + std::to_string(n++) + ".bmp", bytes);
        boxes.boxes.clear();
        boxes.answers = c.answers;
        Command(IDM_SETASCURRENT1);
        std::vector<std::string> asked;
        for (const auto& b : boxes.boxes) {
            EXPECT_EQ(b.kind, win::MsgKind::Warning);
            EXPECT_EQ(b.buttons, win::MsgButtons::YesNo);
            asked.push_back(b.text);
        }
        std::vector<std::string> expected;
        if (c.sizeAsked) expected.push_back(InstallSizeQuestion(c.width, c.height));
        if (c.depthAsked)
            expected.push_back(InstallDepthQuestion(c.bpp == 8 ? PixelFormat::Bits8 : PixelFormat::Bits24));
        EXPECT_EQ(asked, expected);
        EXPECT_EQ(FileExists(Target(ScreenCategory::Wait)), c.copied);
        if (c.copied) {
            EXPECT_TRUE(ReadFile(Target(ScreenCategory::Wait)) == bytes);
        }
    }
    // The shutdown screen goes to its own file; the waiting screen stays.
    Click(ScreenCategory::Shut);
    Preview("shut.bmp", kPicture + "s");
    Command(IDM_SETASCURRENTSCREEN1);
    EXPECT_TRUE(ReadFile(Target(ScreenCategory::Shut)) == kPicture + "s");
    EXPECT_TRUE(ReadFile(Target(ScreenCategory::Wait)) == kPicture);
}

TEST_F(Installing, AnExistingScreenIsReplacedAndKeepsItsAttributes) {
    Open();
    Click(ScreenCategory::Shut);
    const std::string target = Target(ScreenCategory::Shut);
    ASSERT_TRUE(WriteFile(target, "old screen"));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Preview("new.bmp", kPicture);
    form->SetCurrentScreen();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(ReadFile(target) == kPicture);
    EXPECT_TRUE(Probe().Notice().Shown());  // said without a box
    EXPECT_EQ(Probe().Notice().Text(), InstalledNotice(target));
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ListFolder(windows.path()), std::vector<std::string>{"logos.sys"});  // no temporary file left
}

TEST_F(Installing, FailuresAreReportedAndLeaveTheScreenAlone) {
    const std::string target = ScreenTargetPath(ScreenCategory::Wait, windows.path());
    const std::string truncated = kPicture.substr(0, 40);
    const struct {
        const char* name;
        std::string bytes;
        bool readOnlyTarget, sourceGone;
        std::string message;  // empty: the file is no bitmap
    } cases[] = {
        {"random.bmp", std::string(5000, '\x5A'), false, false, ""},
        {"short.bmp", truncated, false, false, ""},
        {"empty.bmp", "", false, false, ""},
        {"photo.bmp", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11) + std::string(3000, '\0'), false, false,
         ""},
        {"locked.bmp", kPicture, true, false,
         CopyFailedMessage(target, win::SystemErrorText(ERROR_ACCESS_DENIED))},
        {"gone.bmp", kPicture, false, true,
         CopyFailedMessage(target, win::SystemErrorText(ERROR_FILE_NOT_FOUND))},
    };
    Open();
    Click(ScreenCategory::Wait);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A good picture first: its preview must not stand in for an unreadable file.
        Preview(std::string("good-") + c.name, kPicture);
        ASSERT_TRUE(WriteFile(target, "original"));
        if (c.readOnlyTarget) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
        Preview(c.name, c.bytes);
        if (c.sourceGone) DeleteFileA(Probe().PreviewCaption().c_str());
        boxes.boxes.clear();
        Command(IDM_SETASCURRENT1);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
        const std::string expected =
            c.message.empty() ? NotABitmapMessage(Probe().PreviewCaption()) : c.message;
        EXPECT_EQ(boxes.boxes[0].text, expected);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadFile(target), "original");
        EXPECT_EQ(ListFolder(windows.path()).size(), 1u);
    }
}

// Previewed as a wallpaper with "Selected Only", a GIF stays in the preview when the category
// changes; the bitmap reader, not the preview, judges what would be copied.
TEST_F(Installing, AGifPreviewedAsAWallpaperIsNeverInstalledAsAScreen) {
    const std::string folder = dir / "pics";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::uint8_t> palette(768, 0);
    const auto gif =
        samples::BuildGif(320, 400, palette, {{0, 0, 320, 400, std::vector<std::uint8_t>(128000, 1)}});
    ASSERT_TRUE(WriteFile(folder + "\\boot.gif", std::string(gif.begin(), gif.end())));
    Open();
    Probe().ChangePreviewOn(SelectCmd::PreviewSelectedOnly1);
    Click(ScreenCategory::Wall);
    Probe().ListOf(ScreenCategory::Wall).AddMany({{"boot.gif", folder, "Centred", false}});
    Probe().ViewOf(ScreenCategory::Wall).Sync();
    ListView_SetItemState(Probe().ViewOf(ScreenCategory::Wall).hwnd(), 0, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    Pump();
    ASSERT_EQ(Probe().PreviewCaption(), folder + "\\boot.gif");
    ASSERT_TRUE(form->PreviewDecoded());
    Click(ScreenCategory::Wait);
    ASSERT_EQ(Probe().PreviewCaption(), folder + "\\boot.gif");
    boxes.boxes.clear();
    Command(IDM_SETASCURRENT1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
    EXPECT_EQ(boxes.boxes[0].text, NotABitmapMessage(folder + "\\boot.gif"));
    EXPECT_FALSE(FileExists(Target(ScreenCategory::Wait)));
}

// The one test that works in the root of the Windows drive, where the start-up screen lies.
TEST_F(Installing, FirstRunWithoutAStartUpScreenAndItsRestore) {
    const DriveRootLock lock;
    const std::string root = ScreenTargetPath(ScreenCategory::Start, windows.path());
    ASSERT_EQ(root, windows.path().substr(0, 3) + "logo.sys");
    const std::optional<std::string> machines =
        FileExists(root) ? std::optional(ReadFile(root)) : std::nullopt;
    DeleteFileA(root.c_str());
    OpenFirstRun();
    EXPECT_EQ(Record(kStartScreenValue), "(none)");
    Preview("boot.bmp", kPicture);
    Command(IDM_SETASCURRENT1);
    EXPECT_TRUE(ReadFile(root) == kPicture);
    Command(IDM_ORIGINALSCREENS1);
    EXPECT_FALSE(FileExists(root));
    if (machines) WriteFile(root, *machines);
}

TEST_F(Installing, BackupNeverLosesAScreenAndRestoresKeepTheBackups) {
    const DriveRootLock lock;
    const std::string wait = Target(ScreenCategory::Wait), shut = Target(ScreenCategory::Shut);
    const std::string desktop = "Control Panel\\desktop";
    ASSERT_TRUE(WriteFile(wait, "machine wait"));
    ASSERT_TRUE(WriteFile(shut, "machine shut"));
    ASSERT_TRUE(WriteFile(dir / "logow.bck", "someone else's"));
    SetValue(desktop, "Wallpaper", "C:\\old.bmp");
    SetNumber(desktop, "TileWallpaper", 1);  // as a number, as some systems keep it
    {
        // A shutdown screen that cannot be read is reported once and stays unrecorded; so the
        // record is not whole and the next start tries again.
        win::UniqueFile hold(CreateFileA(shut.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(hold);
        Open();
    }
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              NotBackedUpMessage({{shut, win::SystemErrorText(ERROR_SHARING_VIOLATION)}}));
    EXPECT_FALSE(Record(kFilesBackedUpValue));
    EXPECT_FALSE(Record(kShutScreenValue));
    EXPECT_EQ(Record(kWaitScreenValue), dir / "logow.1.bck");  // a taken name gives way
    EXPECT_EQ(Record("WallPaper"), "C:\\old.bmp");
    EXPECT_EQ(Record("TileWallpaper"), "1");
    EXPECT_EQ(Record("WallpaperStyle"), "(none)");
    EXPECT_EQ(Value(std::string(kRunKey), kRunValue), dir.path() + "\\MVRandom.exe");
    EXPECT_EQ(ReadFile(dir / "logow.bck"), "someone else's");
    EXPECT_EQ(ReadFile(dir / "logow.1.bck"), "machine wait");

    // The next start backs up only what is missing: the waiting screen changed since, and its
    // backup stays the original.
    ASSERT_TRUE(WriteFile(wait, "installed wait"));
    form.reset();
    boxes.boxes.clear();
    Open();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(Record(kFilesBackedUpValue), "1");
    EXPECT_EQ(Record(kShutScreenValue), dir / "logos.bck");
    EXPECT_FALSE(FileExists(dir / "logow.2.bck"));

    // Restoring twice puts the originals back both times and keeps every backup.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(WriteFile(wait, "installed"));
        ASSERT_TRUE(WriteFile(shut, "installed"));
        SetValue(desktop, "Wallpaper", "C:\\new.bmp");
        SetValue(desktop, "WallpaperStyle", "2");
        Command(IDM_ORIGINALSCREENS1);
        EXPECT_EQ(Probe().Notice().Text(), kRestoredNotice);
        EXPECT_EQ(ReadFile(wait), "machine wait");
        EXPECT_EQ(ReadFile(shut), "machine shut");
        EXPECT_EQ(ReadFile(dir / "logow.1.bck"), "machine wait");
        EXPECT_EQ(ReadFile(dir / "logos.bck"), "machine shut");
        EXPECT_EQ(ReadFile(dir / "logow.bck"), "someone else's");
        EXPECT_EQ(Value(desktop, "Wallpaper"), "C:\\old.bmp");
        EXPECT_EQ(Value(desktop, "TileWallpaper"), "1");
        EXPECT_EQ(Value(desktop, "WallpaperStyle"), "2");  // the machine had none: the current one stays
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Installing, RestoreWithoutEntriesChangesNothing) {
    ASSERT_TRUE(WriteFile(Target(ScreenCategory::Wait), "installed"));
    ASSERT_TRUE(WriteFile(dir / "logow.bck", "backup"));
    for (const bool flagOnly : {false, true}) {
        SCOPED_TRACE(flagOnly);
        Open();
        DeleteKeyTree(HKEY_CURRENT_USER, registry.prefix() + RecordKey());
        SetValue("Control Panel\\desktop", "Wallpaper", "C:\\now.bmp");
        // No record, or one that says it is whole but names nothing: nothing is known to put back.
        if (flagOnly) SetValue(RecordKey(), kFilesBackedUpValue, "1");
        Command(IDM_ORIGINALSCREENS1);
        EXPECT_EQ(ReadFile(Target(ScreenCategory::Wait)), "installed");
        EXPECT_EQ(ReadFile(dir / "logow.bck"), "backup");
        EXPECT_EQ(Value("Control Panel\\desktop", "Wallpaper"), "C:\\now.bmp");
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(Probe().Notice().Text(), "");  // nothing put back, nothing said
        form.reset();
    }
}

// Answered no, the uninstall changes nothing; answered yes, from the menu or with /u, it
// restores, removes the entries and writes no settings, but the backups stay.
TEST_F(Installing, UninstallRestoresRemovesTheEntriesAndWritesNoSettingsUnlessAnsweredNo) {
    const struct {
        const char* what;
        bool commandLine;
        win::MsgAnswer answer;
    } cases[] = {
        {"menu, no", false, win::MsgAnswer::No},
        {"menu, yes", false, win::MsgAnswer::Yes},
        {"/u, yes", true, win::MsgAnswer::Yes},
    };
    const std::string run = registry.prefix() + std::string(kRunKey);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool yes = c.answer == win::MsgAnswer::Yes;
        ASSERT_TRUE(WriteFile(Target(ScreenCategory::Wait), "installed"));
        ASSERT_TRUE(WriteFile(Target(ScreenCategory::Shut), "installed"));
        ASSERT_TRUE(WriteFile(dir / "logow.bck", "machine"));
        SeedRecord(dir / "logow.bck", "(none)");
        SetValue(std::string(kRunKey), kRunValue, "x");
        config.parameters = c.commandLine ? std::vector<std::string>{"/u"} : std::vector<std::string>{};
        boxes.boxes.clear();
        boxes.answers = {c.answer};
        Open();
        if (!c.commandLine) Command(IDM_UNINSTALL2);
        EXPECT_EQ(form->Terminated(), c.commandLine);
        EXPECT_EQ(Probe().Uninstalled(), yes);
        ASSERT_EQ(boxes.boxes.size(), yes ? 2u : 1u);
        EXPECT_EQ(boxes.boxes.back().text == kUninstallDone, yes);
        EXPECT_EQ(ReadFile(Target(ScreenCategory::Wait)), yes ? "machine" : "installed");
        EXPECT_EQ(FileExists(Target(ScreenCategory::Shut)), !yes);
        EXPECT_EQ(ReadFile(dir / "logow.bck"), "machine");  // backups stay: the user deletes the folder
        EXPECT_EQ(RegistryValueExists(HKEY_CURRENT_USER, run, std::string(kRunValue)), !yes);
        EXPECT_EQ(Record(kFilesBackedUpValue), yes ? std::nullopt : std::optional<std::string>("1"));
        if (!c.commandLine) SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
        form.reset();
        EXPECT_EQ(RegistryKeyExists(HKEY_CURRENT_USER, registry.prefix() + std::string(kSettingsKey)), !yes);
        EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, registry.prefix() + "SoftWare\\Tolvane"));
    }
}

// --- faults at every step -------------------------------------------------------------------

// Fails the Nth file or registry operation as a drive that is not ready would; with a power cut,
// that one and every later one, as if the machine went off there.
class FaultAt {
  public:
    FaultAt(int n, bool powerCut)
        : n_(n), cut_(powerCut), seam_([this]() -> DWORD {
              ++count_;
              return count_ == n_ || (cut_ && count_ > n_) ? ERROR_NOT_READY : 0;
          }) {}
    FaultAt(const FaultAt&) = delete;
    FaultAt& operator=(const FaultAt&) = delete;
    bool Struck() const { return count_ >= n_; }

  private:
    int n_;
    bool cut_;
    int count_ = 0;
    ScopedSeam<&win::SetOperationSeam> seam_;
};

// Each command runs once for every operation it makes, that operation failing; afterwards the
// machine's own screens and desktop values must be where they were or in a backup the record
// names, no backup may be gone, and a command that did not get its work done must have said so.
// One case per command of the table and kind of fault, each in its own process.
class FaultAtEveryStep : public Installing, public ::testing::WithParamInterface<int> {};

TEST_P(FaultAtEveryStep, LosesNoOriginalAndIsNeverCalledSuccess) {
    const DriveRootLock lock;
    const std::string root = Target(ScreenCategory::Start);
    const std::optional<std::string> rootBefore =
        FileExists(root) ? std::optional(ReadFile(root)) : std::nullopt;
    const std::vector<std::string> rootNames = ListFolder(root.substr(0, 3));
    const std::string desktop = "Control Panel\\desktop";
    const ScreenCategory screens[] = {ScreenCategory::Start, ScreenCategory::Wait, ScreenCategory::Shut};
    const std::optional<std::string> originals[] = {"machine start", "machine wait", std::nullopt};
    const std::vector<std::string> originalDesktop = {"C:\\machine.bmp", "1", "2"};
    const auto desktopValues = [&](const std::string& key, const std::array<const char*, 3>& names) {
        std::vector<std::string> v;
        auto k = win::RegistryKey::OpenForReading(HKEY_CURRENT_USER, registry.prefix() + key);
        for (const char* name : names) v.push_back(k ? k->ReadText(name).value_or("<none>") : "<no key>");
        return v;
    };
    const auto current = [&](ScreenCategory c) {
        return FileExists(Target(c)) ? std::optional(ReadFile(Target(c))) : std::nullopt;
    };

    // The randomizer's lists and the picture install puts over the waiting screen.
    TempDir pics;
    const std::string picture[] = {BlankBmp(320, 400, 8) + "s", BlankBmp(320, 400, 8) + "w",
                                   BlankBmp(320, 400, 8) + "x"};
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(WriteFile(pics / (std::to_string(i) + ".bmp"), picture[i]));
    const std::string list = "[START]\r\n" + pics / "0.bmp" + "\r\n\r\n[WAIT]\r\n" + pics / "1.bmp" +
                             "\r\n\r\n[SHUT]\r\n" + pics / "2.bmp" + "\r\n";
    Open();
    Click(ScreenCategory::Wait);
    Preview("new.bmp", picture[1]);

    // The machine as it was, then as the program leaves it.
    const auto fresh = [&] {
        DeleteKeyTree(HKEY_CURRENT_USER, registry.prefix().substr(0, registry.prefix().size() - 1));
        for (const auto& name : ListFolder(dir.path()))
            if (name != "pics") DeleteFileA((dir / name).c_str());
        for (const auto& name : ListFolder(windows.path())) DeleteFileA((windows / name).c_str());
        for (const auto& name : ListFolder(root.substr(0, 3)))
            if (name.rfind("MVD", 0) == 0 &&
                std::find(rootNames.begin(), rootNames.end(), name) == rootNames.end())
                DeleteFileA((root.substr(0, 3) + name).c_str());
        DeleteFileA(root.c_str());
        for (int i = 0; i < 3; ++i)
            if (originals[i]) {
                ASSERT_TRUE(WriteFile(Target(screens[i]), *originals[i]));
            }
        SetValue(desktop, "Wallpaper", originalDesktop[0]);
        SetNumber(desktop, "TileWallpaper", 1);
        SetValue(desktop, "WallpaperStyle", originalDesktop[2]);
        ASSERT_TRUE(WriteFile(dir / "MVDATA.MVD", list));
    };
    const auto backedUp = [&] {
        fresh();
        Probe().BackupOriginalScreens();
        ASSERT_EQ(Record(kFilesBackedUpValue), "1");
    };
    const auto installed = [&] {
        backedUp();
        for (ScreenCategory c : screens) ASSERT_TRUE(WriteFile(Target(c), "installed"));
        SetValue(desktop, "Wallpaper", "C:\\installed.bmp");
        SetValue(desktop, "TileWallpaper", "0");
    };
    // As a start leaves it whose backup of the waiting screen failed.
    const auto waitUnrecorded = [&] {
        backedUp();
        DeleteValue(RecordKey(), kWaitScreenValue);
        DeleteValue(RecordKey(), kFilesBackedUpValue);
        DeleteFileA((dir / "logow.bck").c_str());
    };
    const auto atPlace = [&] {
        for (int i = 0; i < 3; ++i)
            if (current(screens[i]) != originals[i]) return false;
        return desktopValues(desktop, {"Wallpaper", "TileWallpaper", "WallpaperStyle"}) == originalDesktop;
    };
    const auto randomized = [&] {
        for (int i = 0; i < 3; ++i)
            if (current(screens[i]) != picture[i]) return false;
        return true;
    };
    std::vector<std::string> log;
    const auto randomize = [&] {
        RandomizerConfig rc;
        rc.places = {dir.path() + "\\", windows.path(), registry.prefix()};
        rc.screenWidth = 64;
        rc.screenHeight = 48;
        rc.library = &NViewLibLoad;
        SeededRandom random(1);
        rc.random = &random;
        RunLog runLog;
        RunRandomizer(rc, runLog);
        log = runLog.Lines();
    };
    // Commands of the window report through the general handler what they throw.
    const auto handled = [&](const std::function<void()>& command) {
        try {
            command();
        } catch (const std::exception& e) {
            boxes.boxes.push_back({form->hwnd(), win::MsgKind::Error, e.what(), win::MsgButtons::Ok, "", 0});
        }
    };
    const auto registrationGone = [&] {
        return !RegistryKeyExists(HKEY_CURRENT_USER, registry.prefix() + std::string(kSettingsKey)) &&
               !RegistryValueExists(HKEY_CURRENT_USER, registry.prefix() + std::string(kRunKey), "Morvellan");
    };

    const struct {
        const char* name;
        std::function<void()> setUp, run;
        std::function<bool()> done;
    } commands[] = {
        {"first-run backup", fresh, [&] { handled([&] { Probe().BackupOriginalScreens(); }); },
         [&] { return Record(kFilesBackedUpValue) == "1"; }},
        {"install", waitUnrecorded, [&] { handled([&] { form->SetCurrentScreen(); }); },
         [&] { return current(ScreenCategory::Wait) == picture[1]; }},
        {"restore", installed, [&] { handled([&] { Probe().OriginalScreens1Click(); }); }, atPlace},
        {"uninstall", installed,
         [&] {
             boxes.answers = {win::MsgAnswer::Yes};
             Probe().Uninstall2Click();
         },
         [&] { return registrationGone() && atPlace(); }},
        {"randomizer", backedUp, randomize, randomized},
        {"restore, then the randomizer", installed,
         [&] {
             handled([&] { Probe().OriginalScreens1Click(); });
             randomize();
         },
         randomized},
    };
    int runs = 0;
    const auto& command = commands[GetParam() / 2];
    const bool powerCut = GetParam() % 2 == 1;
    for (int n = 1;; ++n) {
        SCOPED_TRACE(std::string(command.name) + (powerCut ? ", power cut at " : ", fault at ") +
                     std::to_string(n));
        command.setUp();
        std::vector<std::pair<std::string, std::string>> kept;
        for (const auto& name : ListFolder(dir.path()))
            if (name.size() > 4 && name.substr(name.size() - 4) == ".bck")
                kept.emplace_back(name, ReadFile(dir / name));
        boxes.boxes.clear();
        log.clear();
        bool struck;
        {
            FaultAt fault(n, powerCut);
            command.run();
            struck = fault.Struck();
        }
        ++runs;
        Pump();

        // Each original where it was, or in a backup that the record names.
        auto record = win::RegistryKey::OpenForReading(HKEY_CURRENT_USER, registry.prefix() + RecordKey());
        const std::string_view entries[] = {kStartScreenValue, kWaitScreenValue, kShutScreenValue};
        for (int i = 0; i < 3; ++i) {
            if (current(screens[i]) == originals[i]) continue;
            const auto entry = record ? record->ReadText(entries[i]) : std::nullopt;
            const bool inBackup = entry && (originals[i] ? *entry != "(none)" && FileExists(*entry) &&
                                                               ReadFile(*entry) == *originals[i]
                                                         : *entry == "(none)");
            EXPECT_TRUE(inBackup) << entries[i] << " lost";
        }
        if (desktopValues(desktop, {"Wallpaper", "TileWallpaper", "WallpaperStyle"}) != originalDesktop) {
            EXPECT_EQ(desktopValues(RecordKey(), {"WallPaper", "TileWallpaper", "WallpaperStyle"}),
                      originalDesktop);
        }
        for (const auto& [name, bytes] : kept) EXPECT_EQ(ReadFile(dir / name), bytes) << name;

        // Never called success: the uninstall's message and the randomizer's log tell the truth.
        const bool done = command.done();
        const bool saidDone = std::any_of(boxes.boxes.begin(), boxes.boxes.end(),
                                          [](const auto& b) { return b.text == kUninstallDone; });
        EXPECT_TRUE(done || !saidDone);
        const auto logSays = [&](const std::string& part) {
            return std::any_of(log.begin(), log.end(),
                               [&](const std::string& line) { return line.find(part) != std::string::npos; });
        };
        for (int i = 0; i < 3; ++i) {
            const std::string installed = pics / (std::to_string(i) + ".bmp") + " installed as ";
            if (logSays(installed)) {
                EXPECT_EQ(current(screens[i]), picture[i]);
            }
        }
        if (!done) {
            const bool reported = log.empty()
                                      ? boxes.boxes.size() > (command.name == std::string("uninstall"))
                                      : logSays("left as it is") || logSays("nothing changed");
            EXPECT_TRUE(reported) << "a failure nobody was told of";
        }
        if (!struck) break;  // the command ran to its end untouched
    }
    std::printf("%s: %d runs, each failing at one of its steps\n", commands[GetParam() / 2].name, runs);
    RecordProperty("fault_runs", runs);
    fresh();
    DeleteFileA(Target(ScreenCategory::Start).c_str());
    if (rootBefore) WriteFile(root, *rootBefore);
}

INSTANTIATE_TEST_SUITE_P(SixCommandsTwoFaults, FaultAtEveryStep, ::testing::Range(0, 12));

}  // namespace
}  // namespace mvpr::test
