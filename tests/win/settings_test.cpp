#include <optional>
#include <string>
#include <vector>

#include "FormFixture.h"
#include "app/Settings.h"
#include "system/SettingsKeys.h"
#include "win/Menus.h"

namespace mvpr::test {
namespace {

struct Stored {
    std::string_view name;
    DWORD type;
    std::string data;  // text; the number for REG_DWORD; "{dir}" stands for the program folder
};

std::string WithDir(std::string text, const std::string& dir) {
    for (auto at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}", at + dir.size()))
        text.replace(at, 5, dir);
    return text;
}

void SetValue(const std::string& key, std::string_view name, DWORD type, const std::string& data) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    const std::string n(name);
    const DWORD number = type == REG_DWORD ? std::stoul(data) : 0;
    const auto* bytes = type == REG_DWORD ? reinterpret_cast<const BYTE*>(&number)
                                          : reinterpret_cast<const BYTE*>(data.c_str());
    const DWORD size = type == REG_DWORD ? sizeof number : static_cast<DWORD>(data.size() + 1);
    EXPECT_EQ(RegSetValueExA(k, n.c_str(), 0, type, bytes, size), ERROR_SUCCESS);
    RegCloseKey(k);
}

// A string value as stored, or nothing when it (or its key) is absent.
std::optional<std::string> StringValue(const std::string& key, std::string_view name) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
    char data[1024] = {};
    DWORD size = sizeof data - 1, type = 0;
    const LONG rc =
        RegQueryValueExA(k, std::string(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << name;
    return std::string(data);
}

class SettingsInRegistry : public FormTest {
  protected:
    std::string Key(std::string_view path) { return registry.prefix() + std::string(path); }
    std::string Section(std::string_view section) { return Key(kSettingsKey) + "\\" + std::string(section); }
    std::string RunKey() { return Key(kRunKey); }
    std::optional<std::string> RunEntry() { return StringValue(RunKey(), kRunValue); }
    std::optional<std::string> Setting(std::string_view name) {
        return StringValue(Section(kSelectorSection), name);
    }
    // Not the first run: the original screens count as backed up already.
    void BackedUp() { SetValue(Section(kOriginalInfoSection), kFilesBackedUpValue, REG_SZ, "1"); }
    bool CheckBox() {
        return SendMessageA(form->Control(SelectCtl::chkbStartUpRun), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    bool MenuChecked(UINT id) { return win::IsMenuItemCheckedById(Probe().MainMenu1(), id); }
    void Command(UINT id) { SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    // Opens the window as Open() does, in the program folder given.
    void OpenIn(const std::string& programDir, const std::string& keyPrefix = {}) {
        config.places.registryPrefix = keyPrefix.empty() ? registry.prefix() : keyPrefix;
        config.isMainWindow = false;
        config.places.programDir = programDir;
        form = std::make_unique<TFormSelect>(config);
        ASSERT_NE(form->CreateForm(), nullptr);
        form->Show(SW_SHOWNOACTIVATE);
        Pump();
    }
    std::string Folder(const char* name) {
        const std::string p = dir / name;
        CreateDirectoryA(p.c_str(), nullptr);
        return p;
    }
};

TEST_F(SettingsInRegistry, StartUpTakesTheStoredStateWhateverShapeItIsIn) {
    SetEnvironmentVariableA("MVPRTESTDIR", dir.path().c_str());
    struct Case {
        const char* what;
        bool firstRun;
        std::vector<Stored> stored;            // in "Morvellan Selector"
        std::optional<std::string> runBefore;  // nothing: no Run entry
        int mode;
        UINT previewChecked;  // the one preview entry checked
        bool reportErrors;
        ScreenCategory category;
        const char* folder;  // where the file list opens, below the program folder
        bool runOn;
        std::optional<std::string> runAfter;  // nothing: as before
    } cases[] = {
        {"first run",
         true,
         {},
         std::nullopt,
         30,
         IDM_PREVIEWBOTH1,
         true,
         ScreenCategory::Start,
         "",
         true,
         {}},
        {"stored category 20, a preview mode that is no number, the randomizer elsewhere",
         false,
         {{kPreviewShowValue, REG_SZ, "abc"}, {kSelectedScreenButtonValue, REG_SZ, "20"}},
         "d:\\Elsewhere\\mvrandom.exe",
         30,
         IDM_PREVIEWBOTH1,
         true,
         ScreenCategory::Wait,
         "",
         true,
         {}},
        {"another program in the Run entry, a deleted start-up folder",
         false,
         {{kPreviewShowValue, REG_SZ, "10"},
          {kReportAddErrorsValue, REG_SZ, "0"},
          {kPlayAnimationsValue, REG_SZ, "0"},
          {kSelectedScreenButtonValue, REG_SZ, "40"},
          {"StartDir", REG_SZ, "{dir}\\gone"}},
         "C:\\Windows\\notepad.exe",
         10,
         IDM_PREVIEWCHOOSEONLY1,
         false,
         ScreenCategory::Wall,
         "",
         false,
         ""},
        {"values of other registry types, no Run key, a category of no button",
         false,
         {{kPreviewShowValue, REG_DWORD, "20"},
          {"StartDir", REG_EXPAND_SZ, "%MVPRTESTDIR%\\pics"},
          {kReportAddErrorsValue, REG_BINARY, "0"},
          {kPlayAnimationsValue, REG_BINARY, "0"},
          {kSelectedScreenButtonValue, REG_SZ, "25"}},
         std::nullopt,
         20,
         IDM_PREVIEWSELECTEDONLY1,
         true,
         ScreenCategory::Start,
         "pics",
         false,
         ""},
        {"a preview mode of no entry, the randomizer quoted in a folder with blanks",
         false,
         {{kPreviewShowValue, REG_SZ, "5"},
          {kReportAddErrorsValue, REG_SZ, "3"},
          {kPlayAnimationsValue, REG_SZ, "3"},
          {"StartDir", REG_SZ, "{dir}\\pics"}},
         "\"C:\\Program Files\\MVPR\\MVRandom.exe\"",
         5,
         IDM_PREVIEWBOTH1,
         true,
         ScreenCategory::Start,
         "pics",
         true,
         {}},
    };
    Folder("pics");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteKeyTree(HKEY_CURRENT_USER, registry.prefix() + "Software");
        if (!c.firstRun) BackedUp();
        for (const auto& s : c.stored)
            SetValue(Section(kSelectorSection), s.name, s.type, WithDir(s.data, dir.path()));
        if (c.runBefore) SetValue(RunKey(), kRunValue, REG_SZ, *c.runBefore);
        Open();
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_TRUE(Probe().AutoPreview());
        EXPECT_EQ(Probe().PreviewMode(), c.mode);
        for (UINT id = IDM_PREVIEWNONE1; id <= IDM_PREVIEWBOTH1; ++id)
            EXPECT_EQ(MenuChecked(id), id == c.previewChecked) << id;
        EXPECT_EQ(Probe().ReportAddErrors(), c.reportErrors);
        EXPECT_EQ(form->PlayAnimations(), c.reportErrors);  // the rows store both yes/no values alike
        EXPECT_EQ(form->CurrentCategory(), c.category);
        for (const auto& info : kCategories) {
            EXPECT_EQ(Probe().ButtonOf(info.category).Down(), info.category == c.category);
            EXPECT_EQ(Visible(Probe().ViewOf(info.category).hwnd()), info.category == c.category);
        }
        const bool wall = c.category == ScreenCategory::Wall;
        EXPECT_EQ(win::IsMenuItemVisible(Probe().PopMFileInfo(), IDM_SETASCURRENTWALLPAPER1), wall);
        EXPECT_EQ(win::IsMenuItemVisible(Probe().PopMFileInfo(), IDM_SETASCURRENTSCREEN1), !wall);
        const std::string folder = *c.folder ? dir / c.folder : dir.path();
        EXPECT_EQ(Probe().Browser().Directory(), folder);
        EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Start), folder);
        EXPECT_EQ(Probe().CategoryFolder(c.category), folder);
        // The option follows the Run entry, the check box and the menu entry agree.
        const std::string run = RunEntry().value_or("<absent>");
        EXPECT_EQ(CheckBox(), MenuChecked(IDM_RUNRANDOMIZERATSTARTUP1));
        EXPECT_EQ(CheckBox(), NamesRandomizer(run)) << run;
        EXPECT_EQ(CheckBox(), c.runOn);
        // The first run backs up the original screens and switches the randomizer on.
        if (c.firstRun)
            EXPECT_EQ(RunEntry(), RandomizerRunEntry(form->ProgramPlaces().programDir));
        else
            EXPECT_EQ(RunEntry(), c.runAfter ? c.runAfter : c.runBefore);
        form.reset();
    }
}

TEST_F(SettingsInRegistry, ClosingWritesEverySettingUnlessAnUninstallRemovedThem) {
    const struct {
        const char* what;
        std::optional<win::MsgAnswer> uninstall;
        bool written;
    } cases[] = {
        {"plain close", std::nullopt, true},
        {"after a declined uninstall", win::MsgAnswer::No, true},
        {"after a successful uninstall", win::MsgAnswer::Yes, false},
    };
    const std::string wallDir = Folder("walls"), shut = Folder("shut");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteKeyTree(HKEY_CURRENT_USER, registry.prefix() + "Software");
        BackedUp();
        SetValue(Section(kSelectorSection), "WallDir", REG_SZ, wallDir);
        SetValue(Section(kSelectorSection), "WaitDir", REG_SZ, "C:\\");
        Open();
        Command(IDM_PREVIEWNONE1);
        Command(IDM_ERRORREPORTON1);
        Command(IDM_PLAYANIMATIONS1);
        Click(ScreenCategory::Shut);
        ASSERT_TRUE(Probe().Browser().ApplyFilePath(shut));
        if (c.uninstall) {
            boxes.answers = {*c.uninstall};
            Command(IDM_UNINSTALL2);
        }
        SetValue(RunKey(), kRunValue, REG_SZ, "left alone");
        boxes.boxes.clear();
        SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(form->hwnd()));
        EXPECT_TRUE(boxes.boxes.empty());
        if (c.written) {
            EXPECT_EQ(Setting(kPreviewShowValue), "0");
            EXPECT_EQ(Setting("StartDir"), shut);
            EXPECT_EQ(Setting("WaitDir"), "C:\\");
            EXPECT_EQ(Setting("ShutDir"), shut);
            EXPECT_EQ(Setting("WallDir"), wallDir);
            EXPECT_EQ(Setting(kSelectedScreenButtonValue), "30");
            EXPECT_EQ(Setting(kReportAddErrorsValue), "0");
            EXPECT_EQ(Setting(kPlayAnimationsValue), "0");
        } else {
            EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, Key(kSettingsKey)));
        }
        EXPECT_EQ(RunEntry(), "left alone");  // the close never writes the Run entry
        form.reset();
    }
}

TEST_F(SettingsInRegistry, MenuAndCheckBoxToggleEachOtherAndTheQuotedRunEntryAtOnce) {
    // A program folder with blanks, as under "Program Files".
    CreateDirectoryA((dir / "Program Files").c_str(), nullptr);
    const std::string programDir = Folder("Program Files\\Morvellan Selector");
    const std::string quoted = "\"" + programDir + "\\MVRandom.exe\"";
    BackedUp();
    OpenIn(programDir);
    ASSERT_EQ(RunEntry(), "");  // no Run entry: the option is off
    ASSERT_FALSE(CheckBox());

    HWND check = form->Control(SelectCtl::chkbStartUpRun);
    const struct {
        const char* what;
        bool menu;  // else the check box
        bool on;
    } steps[] = {{"menu on", true, true},
                 {"check box off", false, false},
                 {"check box on", false, true},
                 {"menu off", true, false},
                 {"menu on again", true, true}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        if (s.menu)
            Command(IDM_RUNRANDOMIZERATSTARTUP1);
        else
            SendMessageA(check, BM_CLICK, 0, 0);
        EXPECT_EQ(CheckBox(), s.on);
        EXPECT_EQ(MenuChecked(IDM_RUNRANDOMIZERATSTARTUP1), s.on);
        EXPECT_EQ(RunEntry(), s.on ? quoted : "");
    }
    // The next start reads the quoted entry as on and leaves it as it is.
    form.reset();
    OpenIn(programDir);
    EXPECT_TRUE(CheckBox());
    EXPECT_TRUE(MenuChecked(IDM_RUNRANDOMIZERATSTARTUP1));
    EXPECT_EQ(RunEntry(), quoted);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SettingsInRegistry, AValueThatCannotBeWrittenIsReportedAndStopsOnlyItsOwnOperation) {
    // No key can be made under a name longer than the registry allows.
    WriteFile(dir / "MVDATA.MVD", "[START]\r\nC:\\PICS\\PIC.BMP\r\n");
    OpenIn(dir.path(), registry.prefix() + std::string(300, 'k') + "\\");
    // Nothing could be read, so the option is off, and writing it so fails (as may the first
    // run's backup before it): each failure reported, ...
    ASSERT_FALSE(boxes.boxes.empty());
    for (const auto& box : boxes.boxes) {
        EXPECT_EQ(box.kind, win::MsgKind::Error);
        EXPECT_EQ(box.caption, "Morvellan Selector");
        EXPECT_EQ(box.text, "Failed to set data for 'Morvellan'");
    }
    // ... and the start goes on: lists loaded, the window usable.
    EXPECT_TRUE(Probe().AutoPreview());
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start).size(), 1u);

    boxes.boxes.clear();
    Command(IDM_RUNRANDOMIZERATSTARTUP1);  // once only, for the check box and the menu entry
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Failed to set data for 'Morvellan'");

    // The close reports the first value and still closes the window.
    SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].text, "Failed to set data for 'PreviewShow'");
    EXPECT_FALSE(IsWindow(form->hwnd()));
}

}  // namespace
}  // namespace mvpr::test
