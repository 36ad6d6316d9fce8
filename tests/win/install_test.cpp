#include <optional>

#include "FormFixture.h"
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
        config.windowsDir = windows.path();
        FormTest::Open();
    }
    // The first run: the settings' loading makes the backup where it knows the first run.
    void OpenFirstRun() {
        Open();
        if (!Record(kFilesBackedUpValue)) form->BackupOriginalScreens();
    }
    std::string Target(ScreenCategory c) { return ScreenTargetPath(c, windows.path()); }

    // Previews the file as choosing it in the file list does.
    void Preview(const std::string& name, const std::string& bytes) {
        const std::string folder = dir / "pics";
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(WriteFile(folder + "\\" + name, bytes));
        ASSERT_TRUE(form->ForTests().Browser().ApplyFilePath(folder));
        HWND files = form->ForTests().Browser().FileList();
        // Written after the folder was last read: read it again.
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_REFRESH1, 0), 0);
        int i = -1;
        for (std::size_t k = 0; k < form->ForTests().Browser().FileCount(); ++k)
            if (form->ForTests().Browser().FileName(k) == name) i = static_cast<int>(k);
        ASSERT_GE(i, 0) << name;
        SendMessageA(files, LB_SETSEL, FALSE, -1);
        SendMessageA(files, LB_SETSEL, TRUE, i);
        SendMessageA(files, LB_SETCARETINDEX, i, FALSE);
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(files), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(files));
        ASSERT_EQ(form->PreviewCaption(), folder + "\\" + name);
    }
    void Command(int id) {
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }

    std::optional<std::string> Value(const std::string& key, std::string_view name) {
        auto k = win::RegistryKey::Open(HKEY_CURRENT_USER, registry.prefix() + key, false);
        return k ? k->ReadString(name) : std::nullopt;
    }
    void SetValue(const std::string& key, std::string_view name, std::string_view value) {
        auto k = win::RegistryKey::Open(HKEY_CURRENT_USER, registry.prefix() + key, true);
        ASSERT_TRUE(k && k->WriteString(name, value));
    }
    std::string RecordKey() { return std::string(kSettingsKey) + "\\" + std::string(kOriginalInfoSection); }
    std::optional<std::string> Record(std::string_view name) { return Value(RecordKey(), name); }
    // Records a backup for the waiting and shutdown screens; the start-up screen, in the drive's
    // root, is left out of every test but one.
    void SeedRecord(const std::string& wait, const std::string& shut) {
        SetValue(RecordKey(), kFilesBackedUpValue, "1");
        SetValue(RecordKey(), kStartScreenValue, dir / "nothing.bck");
        SetValue(RecordKey(), kWaitScreenValue, wait);
        SetValue(RecordKey(), kShutScreenValue, shut);
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
    EXPECT_TRUE(form->ForTests().Notice().Shown());  // said without a box
    EXPECT_EQ(form->ForTests().Notice().Text(), InstalledNotice(target));
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
        if (c.sourceGone) DeleteFileA(form->PreviewCaption().c_str());
        boxes.boxes.clear();
        Command(IDM_SETASCURRENT1);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
        const std::string expected =
            c.message.empty() ? NotABitmapMessage(form->PreviewCaption()) : c.message;
        EXPECT_EQ(boxes.boxes[0].text, expected);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadFile(target), "original");
        EXPECT_EQ(ListFolder(windows.path()).size(), 1u);
    }
}

// The one test that works in the root of the Windows drive, where the start-up screen lies.
TEST_F(Installing, FirstRunWithoutAStartUpScreenAndItsRestore) {
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

TEST_F(Installing, BackupNeverLosesAScreenAndTwoRestoresInARow) {
    const std::string wait = Target(ScreenCategory::Wait), shut = Target(ScreenCategory::Shut);
    ASSERT_TRUE(WriteFile(wait, "machine wait"));
    ASSERT_TRUE(WriteFile(shut, "machine shut"));
    ASSERT_TRUE(WriteFile(dir / "logow.bck", "someone else's"));
    SetValue("Control Panel\\desktop", "Wallpaper", "C:\\old.bmp");
    SetValue("Control Panel\\desktop", "TileWallpaper", "1");
    {
        // A shutdown screen that cannot be read: its backup is recorded where it should have been.
        win::UniqueFile lock(CreateFileA(shut.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        OpenFirstRun();
    }
    EXPECT_EQ(Record(kFilesBackedUpValue), "1");
    EXPECT_EQ(Record(kWaitScreenValue), dir / "logow.1.bck");
    EXPECT_EQ(Record(kShutScreenValue), dir / "logos.bck");
    EXPECT_EQ(Record("WallPaper"), "C:\\old.bmp");
    EXPECT_EQ(Record("TileWallpaper"), "1");
    EXPECT_EQ(Record("WallpaperStyle"), "(none)");
    EXPECT_EQ(Value(std::string(kRunKey), kRunValue), dir.path() + "\\MVRandom.exe");
    EXPECT_EQ(ReadFile(dir / "logow.bck"), "someone else's");
    EXPECT_EQ(ReadFile(dir / "logow.1.bck"), "machine wait");
    EXPECT_FALSE(FileExists(dir / "logos.bck"));

    SetValue(RecordKey(), kStartScreenValue, dir / "nothing.bck");  // keep the drive's root out of it
    ASSERT_TRUE(WriteFile(wait, "installed wait"));
    ASSERT_TRUE(WriteFile(shut, "installed shut"));
    SetValue("Control Panel\\desktop", "Wallpaper", "C:\\new.bmp");
    SetValue("Control Panel\\desktop", "WallpaperStyle", "2");
    Command(IDM_ORIGINALSCREENS1);
    EXPECT_EQ(form->ForTests().Notice().Text(), kRestoredNotice);
    EXPECT_EQ(ReadFile(wait), "machine wait");
    EXPECT_EQ(ReadFile(shut), "installed shut");  // no backup to put back: the screen stays
    EXPECT_FALSE(FileExists(dir / "logow.1.bck"));
    EXPECT_EQ(ReadFile(dir / "logow.bck"), "someone else's");
    EXPECT_EQ(Value("Control Panel\\desktop", "Wallpaper"), "C:\\old.bmp");
    EXPECT_EQ(Value("Control Panel\\desktop", "TileWallpaper"), "1");
    EXPECT_EQ(Value("Control Panel\\desktop", "WallpaperStyle"), "2");

    ASSERT_TRUE(WriteFile(wait, "installed again"));
    Command(IDM_ORIGINALSCREENS1);
    EXPECT_EQ(ReadFile(wait), "installed again");
    EXPECT_EQ(ReadFile(shut), "installed shut");
    EXPECT_EQ(Record(kWaitScreenValue), dir / "logow.1.bck");
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Installing, RestoreWithoutARecordChangesNothing) {
    ASSERT_TRUE(WriteFile(Target(ScreenCategory::Wait), "installed"));
    ASSERT_TRUE(WriteFile(dir / "logow.bck", "backup"));
    for (const char* backedUp : {"", "0", "abc"}) {
        Open();
        DeleteKeyTree(HKEY_CURRENT_USER, registry.prefix() + RecordKey());
        if (*backedUp) {
            SeedRecord(dir / "logow.bck", "(none)");
            SetValue(RecordKey(), kFilesBackedUpValue, backedUp);
        }
        Command(IDM_ORIGINALSCREENS1);
        EXPECT_EQ(ReadFile(Target(ScreenCategory::Wait)), "installed") << backedUp;
        EXPECT_EQ(ReadFile(dir / "logow.bck"), "backup");
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_EQ(form->ForTests().Notice().Text(), "");  // nothing put back, nothing said
        form.reset();
    }
}

TEST_F(Installing, UninstallAnsweredNoChangesNothing) {
    ASSERT_TRUE(WriteFile(Target(ScreenCategory::Wait), "installed"));
    ASSERT_TRUE(WriteFile(dir / "logow.bck", "backup"));
    Open();
    SeedRecord(dir / "logow.bck", "(none)");
    SetValue(std::string(kRunKey), kRunValue, "x");
    boxes.answers = {win::MsgAnswer::No};
    Command(IDM_UNINSTALL2);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_FALSE(form->ForTests().Uninstalled());
    EXPECT_FALSE(form->Terminated());
    EXPECT_EQ(ReadFile(Target(ScreenCategory::Wait)), "installed");
    EXPECT_EQ(Record(kFilesBackedUpValue), "1");
    EXPECT_EQ(Value(std::string(kRunKey), kRunValue), "x");
}

TEST_F(Installing, UninstallRestoresRemovesTheEntriesAndWritesNoSettings) {
    for (const bool commandLine : {false, true}) {
        SCOPED_TRACE(commandLine);
        ASSERT_TRUE(WriteFile(Target(ScreenCategory::Wait), "installed"));
        ASSERT_TRUE(WriteFile(Target(ScreenCategory::Shut), "installed"));
        ASSERT_TRUE(WriteFile(dir / "logow.bck", "machine"));
        SeedRecord(dir / "logow.bck", "(none)");
        SetValue(std::string(kRunKey), kRunValue, "x");
        config.parameters = commandLine ? std::vector<std::string>{"/u"} : std::vector<std::string>{};
        boxes.boxes.clear();
        boxes.answers = {win::MsgAnswer::Yes};
        Open();
        if (!commandLine) Command(IDM_UNINSTALL2);
        EXPECT_EQ(form->Terminated(), commandLine);
        EXPECT_TRUE(form->ForTests().Uninstalled());
        ASSERT_EQ(boxes.boxes.size(), 2u);
        EXPECT_EQ(boxes.boxes[1].text, std::string(kUninstallDone));
        EXPECT_EQ(ReadFile(Target(ScreenCategory::Wait)), "machine");
        EXPECT_FALSE(FileExists(Target(ScreenCategory::Shut)));
        EXPECT_FALSE(FileExists(dir / "logow.bck"));
        EXPECT_FALSE(
            RegistryValueExists(HKEY_CURRENT_USER, registry.prefix() + std::string(kRunKey), "Morvellan"));
        if (!commandLine) SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
        form.reset();
        EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, registry.prefix() + std::string(kSettingsKey)));
        EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, registry.prefix() + "SoftWare\\Tolvane"));
    }
}

}  // namespace
}  // namespace mvpr::test
