#include <optional>
#include <set>

#include "FormFixture.h"
#include "app/AboutBox.h"
#include "app/FormOpstartScherm.h"
#include "app/FormSelectLayout.h"
#include "system/ProgramInfo_win.h"
#include "system/SettingsKeys.h"
#include "win/Fonts.h"
#include "win/Help.h"
#include "win/Menus.h"
#include "ScopedSeam.h"

namespace mvpr::test {
namespace {

RECT ClientRectOf(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class MainWindowLayout : public FormTest {
  protected:
    void SetUp() override {
        config.commandHook = [this](int id) { commands.push_back(id); };
        // The randomizer registered, as the first run leaves it: the options show as laid out.
        HKEY run = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (registry.prefix() + std::string(kRunKey)).c_str(), 0,
                                  nullptr, 0, KEY_WRITE, nullptr, &run, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(run, std::string(kRunValue).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>("MVRandom.exe"), 13);
        RegCloseKey(run);
        Open();
    }
    // The commands one key gives.
    std::vector<int> Press(HWND focus, UINT vk, bool ctrl = false) {
        commands.clear();
        PressKey(focus, vk, ctrl);
        return commands;
    }
    std::vector<int> commands;
};

// Each control inside its parent's client area, no two shown ones on top of each other, in every
// category; a larger window moves just the edges its layout row anchors to the right and bottom.
TEST_F(MainWindowLayout, ControlsStayInsideApartAndFollowTheirAnchors) {
    const auto places = [&](const std::string& when) {
        std::vector<RECT> out;
        std::vector<std::pair<SelectCtl, RECT>> shown;
        for (const ControlRow& row : kSelectLayout) {
            HWND h = form->Control(row.id);
            HWND parent = GetParent(h);
            const RECT r = ClientRectOf(parent, h);
            out.push_back(r);
            RECT area{}, inside{};
            GetClientRect(parent, &area);
            IntersectRect(&inside, &r, &area);
            EXPECT_TRUE(EqualRect(&inside, &r) && r.right > r.left && r.bottom > r.top)
                << when << " " << Id(row.id);
            if (parent != form->hwnd() || !Visible(h)) continue;
            for (const auto& [id, other] : shown) {
                RECT both{};
                EXPECT_FALSE(IntersectRect(&both, &r, &other))
                    << when << " " << Id(row.id) << " on " << Id(id);
            }
            shown.emplace_back(row.id, r);
        }
        return out;
    };
    for (const ScreenCategory c : {ScreenCategory::Wall, ScreenCategory::Wait, ScreenCategory::Start}) {
        Click(c);
        places(std::string(Info(c).caption));
    }
    RECT window{}, client{};
    GetWindowRect(form->hwnd(), &window);
    GetClientRect(form->hwnd(), &client);
    const std::vector<RECT> before = places("as opened");
    const int dx = 60, dy = 90;
    SetWindowPos(form->hwnd(), nullptr, 0, 0, window.right - window.left + dx,
                 window.bottom - window.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    RECT grown{};
    GetClientRect(form->hwnd(), &grown);
    ASSERT_EQ(grown.right - client.right, dx);
    ASSERT_EQ(grown.bottom - client.bottom, dy);
    const std::vector<RECT> after = places("grown");
    for (std::size_t i = 0; i < std::size(kSelectLayout); ++i) {
        const unsigned a = kSelectLayout[i].anchors;
        const bool right = a & kAnchorRight, bottom = a & kAnchorBottom;
        const RECT b = before[i], r = after[i];
        EXPECT_EQ(r.left, b.left + (right && !(a & kAnchorLeft) ? dx : 0)) << Id(kSelectLayout[i].id);
        EXPECT_EQ(r.right, b.right + (right ? dx : 0)) << Id(kSelectLayout[i].id);
        EXPECT_EQ(r.top, b.top + (bottom && !(a & kAnchorTop) ? dy : 0)) << Id(kSelectLayout[i].id);
        EXPECT_EQ(r.bottom, b.bottom + (bottom ? dy : 0)) << Id(kSelectLayout[i].id);
    }
    // the counter is right-aligned: its text grows to the left
    EXPECT_TRUE(GetWindowLongA(form->Control(SelectCtl::LblNumber), GWL_STYLE) & SS_RIGHT);
    const LONG style = GetWindowLongA(form->hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);  // a fixed single border
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
}

TEST_F(MainWindowLayout, TabMovesThroughTheControlsInTheirOrder) {
    EnableWindow(form->Control(SelectCtl::BtnAdd), TRUE);  // as when a file is chosen
    std::vector<int> order;
    HWND start = form->Control(SelectCtl::DriveComboBox1);
    HWND h = start;
    do {
        order.push_back(GetDlgCtrlID(h));
        h = GetNextDlgTabItem(form->hwnd(), h, FALSE);
    } while (h && h != start && order.size() < 20);
    // btnRemove is disabled and the hidden lists and style picker are skipped
    EXPECT_EQ(order, (std::vector<int>{Id(SelectCtl::DriveComboBox1), Id(SelectCtl::DirectoryListBox1),
                                       Id(SelectCtl::FileListBox1), Id(SelectCtl::FilterComboBox1),
                                       Id(SelectCtl::BtnAdd), Id(SelectCtl::chkbStartUpRun),
                                       Id(SelectCtl::ListStart)}));
}

TEST_F(MainWindowLayout, MenuBarHoldsFiveMenusWithTheirEntriesChecksAndShortcuts) {
    HMENU bar = Probe().MainMenu1();
    ASSERT_EQ(GetMenuItemCount(bar), 5);  // "Niet Zichtbaar" is never in it
    char text[64];
    std::vector<std::string> tops;
    for (int i = 0; i < 5; ++i) {
        GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        tops.emplace_back(text);
    }
    EXPECT_EQ(tops, (std::vector<std::string>{"&File", "&Options", "&Edit", "&Uninstall", "&Help"}));
    EXPECT_EQ(win::MenuItemText(bar, IDM_SAVE1), "&Save\tCtrl+S");
    EXPECT_EQ(win::MenuItemText(bar, IDM_CLOSE1), "&Exit\tCtrl+X");
    EXPECT_EQ(win::MenuItemText(bar, IDM_REMOVENONEXISTINGFILES1), "&Remove non existing files from lists");
    EXPECT_EQ(win::MenuItemText(bar, IDM_ABOUT1), "&About ...");
    std::set<UINT> checked;
    for (UINT id = IDM_SAVE1; id <= IDM_ABOUT1; ++id)
        if (win::IsMenuItemCheckedById(bar, id)) checked.insert(id);
    EXPECT_EQ(checked, (std::set<UINT>{IDM_RUNRANDOMIZERATSTARTUP1, IDM_ERRORREPORTON1, IDM_PLAYANIMATIONS1,
                                       IDM_PREVIEWBOTH1}));
    // pop-ups as they open
    EXPECT_EQ(GetMenuItemCount(Probe().PopMFile()), 6);  // its last two entries are hidden
    EXPECT_EQ(win::MenuItemText(Probe().PopMFile(), IDM_REFRESH2), "&Refresh\tF5");
    EXPECT_FALSE(win::IsMenuItemVisible(Probe().PopMFile(), IDM_VIEWFULLSCREEN1));
    EXPECT_EQ(GetMenuItemCount(Probe().PopMSelected()), 7);
    EXPECT_EQ(win::MenuItemText(Probe().PopMSelected(), IDM_FINDFILE1), "Find File &Directory\tCtrl+D");
    EXPECT_FALSE(win::IsMenuItemEnabledById(Probe().PopMSelected(), IDM_N_SELECTED2));
    EXPECT_EQ(win::MenuItemText(Probe().PopMFileInfo(), IDM_SIZE), "Info about file");
}

TEST_F(MainWindowLayout, MainMenuShortcutsActWhicheverControlHasTheFocus) {
    const SelectCtl places[] = {SelectCtl::DriveComboBox1, SelectCtl::DirectoryListBox1,
                                SelectCtl::FileListBox1,   SelectCtl::FilterComboBox1,
                                SelectCtl::BtnAdd,         SelectCtl::chkbStartUpRun,
                                SelectCtl::ListStart};
    const std::set<int> fullScreen{IDM_FULLSCREENPREVIEW2, IDM_VIEWFULLSCREEN1, IDM_VIEW2};
    for (auto place : places) {
        HWND h = form->Control(place);
        auto f3 = Press(h, VK_F3);
        ASSERT_EQ(f3.size(), 1u) << Id(place);
        EXPECT_TRUE(fullScreen.count(f3[0])) << Id(place);  // each of them is the full-screen preview
        EXPECT_EQ(Press(h, VK_F4), (std::vector<int>{IDM_SETASCURRENT1})) << Id(place);
        EXPECT_EQ(Press(h, 'S', true), (std::vector<int>{IDM_SAVE1})) << Id(place);
        EXPECT_EQ(Press(h, 'R', true), (std::vector<int>{IDM_REFRESH1})) << Id(place);
    }
}

TEST_F(MainWindowLayout, CtrlAndADigitPressesTheCategoryButtonItsHintNames) {
    const ScreenCategory order[] = {ScreenCategory::Wall, ScreenCategory::Wait, ScreenCategory::Shut,
                                    ScreenCategory::Start};
    for (const ScreenCategory c : order) {
        const int digit = static_cast<int>(CategoryIndex(c)) + 1;
        PressKey(form->Control(SelectCtl::FileListBox1), '0' + digit, true);
        EXPECT_EQ(form->CurrentCategory(), c) << digit;
        EXPECT_NE(form->HintOf(Probe().ButtonOf(c).hwnd()).find("(Ctrl+" + std::to_string(digit) + ")"),
                  std::string::npos);
    }
}

TEST_F(MainWindowLayout, PopupShortcutsActOnlyWhileTheirControlHasTheFocus) {
    HWND files = form->Control(SelectCtl::FileListBox1);
    HWND list = form->Control(SelectCtl::ListStart);
    HWND button = form->Control(SelectCtl::BtnAdd);
    EXPECT_EQ(Press(files, VK_INSERT), (std::vector<int>{IDM_ADD1}));
    EXPECT_EQ(Press(list, VK_INSERT), (std::vector<int>{IDM_ADD2}));  // the invisible entry: no command
    EXPECT_EQ(Press(button, VK_INSERT), (std::vector<int>{IDM_ADD2}));
    EXPECT_EQ(Press(list, VK_DELETE), (std::vector<int>{IDM_REMOVE1}));
    EXPECT_EQ(Press(files, VK_DELETE), (std::vector<int>{IDM_REMOVE2}));
    EXPECT_EQ(Press(files, 'A', true), (std::vector<int>{IDM_SELECTALL1}));
    EXPECT_EQ(Press(list, 'A', true), (std::vector<int>{IDM_SELECTALL2}));
    EXPECT_EQ(Press(button, 'A', true), (std::vector<int>{}));
    EXPECT_EQ(Press(list, 'I', true), (std::vector<int>{IDM_INVERTSELECTION2}));
    EXPECT_EQ(Press(files, 'I', true), (std::vector<int>{IDM_INVERTSELECTION1}));
    EXPECT_EQ(Press(list, 'D', true), (std::vector<int>{IDM_FINDFILE1}));
    EXPECT_EQ(Press(files, 'D', true), (std::vector<int>{}));
}

TEST_F(MainWindowLayout, EveryShortcutShownInAMenuIsOneTheKeysReallyGive) {
    // What the captions promise, checked against what the keys do where their menu acts.
    struct Promise {
        HMENU menu;
        UINT id;
        SelectCtl focus;
    } promises[] = {
        {Probe().MainMenu1(), IDM_SAVE1, SelectCtl::BtnAdd},
        {Probe().MainMenu1(), IDM_CLOSE1, SelectCtl::BtnAdd},
        {Probe().MainMenu1(), IDM_HELP2, SelectCtl::BtnAdd},
        {Probe().PopMFile(), IDM_ADD1, SelectCtl::FileListBox1},
        {Probe().PopMFile(), IDM_SELECTALL1, SelectCtl::FileListBox1},
        {Probe().PopMFile(), IDM_INVERTSELECTION1, SelectCtl::FileListBox1},
        {Probe().PopMFile(), IDM_REFRESH2, SelectCtl::FileListBox1},
        {Probe().PopMSelected(), IDM_VIEW2, SelectCtl::ListStart},
        {Probe().PopMSelected(), IDM_REMOVE1, SelectCtl::ListStart},
        {Probe().PopMSelected(), IDM_FINDFILE1, SelectCtl::ListStart},
        {Probe().PopMSelected(), IDM_SELECTALL2, SelectCtl::ListStart},
        {Probe().PopMSelected(), IDM_INVERTSELECTION2, SelectCtl::ListStart},
    };
    const struct {
        const char* name;
        UINT vk;
        bool ctrl;
    } keys[] = {{"Ctrl+S", 'S', true},     {"Ctrl+X", 'X', true}, {"F1", VK_F1, false},
                {"Ins", VK_INSERT, false}, {"Ctrl+A", 'A', true}, {"Ctrl+I", 'I', true},
                {"F5", VK_F5, false},      {"F3", VK_F3, false},  {"Del", VK_DELETE, false},
                {"Ctrl+D", 'D', true}};
    const ScopedSeam<&win::SetHelpSeam> noHelp([](win::HelpAction, const std::string&) {});
    for (const auto& p : promises) {
        const std::string caption = win::MenuItemText(p.menu, p.id);
        const auto tab = caption.find('\t');
        ASSERT_NE(tab, std::string::npos) << caption;
        const std::string shortcut = caption.substr(tab + 1);
        bool known = false;
        for (const auto& k : keys) {
            if (shortcut != k.name) continue;
            known = true;
            if (p.id == IDM_CLOSE1) continue;  // would close the window under test
            EXPECT_EQ(Press(form->Control(p.focus), k.vk, k.ctrl), (std::vector<int>{static_cast<int>(p.id)}))
                << caption;
        }
        EXPECT_TRUE(known) << caption;
    }
}

TEST_F(MainWindowLayout, ExtendStripGrowsOnlyTheHeightAndTwiceGivesTheFormerWindowBack) {
    RECT before{};
    GetWindowRect(form->hwnd(), &before);
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(Id(SelectCtl::PnlExtend), win::Panel::kClicked),
                 reinterpret_cast<LPARAM>(form->Control(SelectCtl::PnlExtend)));
    Pump();
    RECT grown{};
    GetWindowRect(form->hwnd(), &grown);
    EXPECT_TRUE(IsZoomed(form->hwnd()));
    EXPECT_EQ(grown.left, before.left);
    EXPECT_EQ(grown.right - grown.left, before.right - before.left);
    EXPECT_GT(grown.bottom - grown.top, before.bottom - before.top);
    // the list area takes the extra height
    const RECT list = ClientRectOf(form->hwnd(), form->Control(SelectCtl::ListStart));
    EXPECT_GT(list.bottom - list.top, 118);
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(Id(SelectCtl::PnlExtend), win::Panel::kClicked),
                 reinterpret_cast<LPARAM>(form->Control(SelectCtl::PnlExtend)));
    Pump();
    RECT after{};
    GetWindowRect(form->hwnd(), &after);
    EXPECT_FALSE(IsZoomed(form->hwnd()));
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    // Over the strip the pointer says it resizes; over the other panels it stays an arrow.
    const HCURSOR sizeNs = LoadCursorA(nullptr, MAKEINTRESOURCEA(32645));
    for (const auto& [id, cursor] :
         {std::pair{SelectCtl::PnlExtend, sizeNs},
          {SelectCtl::pnlPreview, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))}}) {
        HWND panel = form->Control(id);
        SetCursor(nullptr);
        SendMessageA(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(panel),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), cursor) << Id(id);
    }
}

TEST_F(MainWindowLayout, MaximisingFromTheSystemMenuKeepsTheWidthAndLeftEdge) {
    RECT before{};
    GetWindowRect(form->hwnd(), &before);
    SendMessageA(form->hwnd(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump();
    RECT grown{};
    GetWindowRect(form->hwnd(), &grown);
    EXPECT_TRUE(IsZoomed(form->hwnd()));
    EXPECT_EQ(grown.left, before.left);
    EXPECT_EQ(grown.right - grown.left, before.right - before.left);
    EXPECT_GT(grown.bottom - grown.top, before.bottom - before.top);
    SendMessageA(form->hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    RECT after{};
    GetWindowRect(form->hwnd(), &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

// The About box, read and closed from inside its modal loop.
struct AboutSeen {
    std::string product, version, build, credit, ok;
    int width = 0, height = 0;
    RECT okRect{};
} g_about;

void CALLBACK ReadAbout(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindThreadDialog();
    if (!box) return;
    KillTimer(nullptr, id);
    g_about.product = WindowText(GetDlgItem(box, IDC_ABOUT_PRODUCT));
    g_about.version = WindowText(GetDlgItem(box, IDC_ABOUT_VERSION));
    g_about.build = WindowText(GetDlgItem(box, IDC_ABOUT_BUILD));
    g_about.credit = WindowText(GetDlgItem(box, IDC_ABOUT_CREDIT));
    g_about.ok = WindowText(GetDlgItem(box, IDOK));
    RECT r{};
    GetClientRect(box, &r);
    g_about.width = r.right;
    g_about.height = r.bottom;
    GetWindowRect(GetDlgItem(box, IDOK), &g_about.okRect);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&g_about.okRect), 2);
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

TEST_F(MainWindowLayout, AboutBoxShowsVersionAndBuildFromTheRecordAndClosesWithOK) {
    form->SetVersionTexts("2.7", "12");
    TAboutBox about(form->VersionText(), form->BuildText());
    form->SetAboutBox(&about);
    g_about = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, ReadAbout);
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_ABOUT1, 0), 0);  // returns once the box is closed
    KillTimer(nullptr, timer);
    EXPECT_EQ(WindowText(form->hwnd()), "Morvellan Selector 2.7");
    EXPECT_EQ(g_about.product, "Morvellan Selector");
    EXPECT_EQ(g_about.version, "Version 2.7");
    EXPECT_EQ(g_about.build, "Build 12");
    EXPECT_NE(g_about.credit.find("NViewLib"), std::string::npos);
    EXPECT_EQ(g_about.ok, "O&K");
    EXPECT_EQ(g_about.width, 298);
    EXPECT_EQ(g_about.height, 320);
    form->SetAboutBox(nullptr);
}

TEST_F(MainWindowLayout, HelpOpensTheHtmlHelpBesideTheProgramOrSaysItIsMissing) {
    std::vector<std::pair<win::HelpAction, std::string>> asked;
    std::optional<ScopedSeam<&win::SetHelpSeam>> help;
    help.emplace([&](win::HelpAction a, const std::string& p) { asked.emplace_back(a, p); });
    EXPECT_EQ(Press(form->Control(SelectCtl::BtnAdd), VK_F1), (std::vector<int>{IDM_HELP2}));
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
    EXPECT_EQ(boxes.boxes[0].text, "The help file " + dir.path() + "\\mvpr.htm cannot be found.");
    EXPECT_TRUE(asked.empty());
    WriteFile(dir / "mvpr.htm", "<html></html>");
    WriteFile(dir / "mvpr.hlp", "?");  // a WinHelp file is of no use where the system has no WinHelp
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_HELP2, 0), 0);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, win::HelpAction::OpenDocument);
    EXPECT_EQ(asked[0].second, dir.path() + "\\mvpr.htm");
    form.reset();  // closing the window asks no help engine to quit: none was started
    EXPECT_EQ(asked.size(), 1u);
    help.reset();
    EXPECT_EQ(win::HtmlHelpPath("C:\\A.B\\mvpr.hlp"), "C:\\A.B\\mvpr.htm");
    EXPECT_EQ(win::HtmlHelpPath("C:\\A.B\\mvpr"), "C:\\A.B\\mvpr.htm");
}

// At 96 and 144 DPI every pixel measure scales: the main window, the folder list's rows (which
// hold their text), the splash's lines (the version above "Loading...") and the About box (its
// O&K button in sight).
class ScreenResolution : public FormTest {
  protected:
    void TearDown() override {
        FormTest::TearDown();
        dpiSeam.reset();
    }
    std::optional<ScopedSeam<&win::SetScreenDpiSeam>> dpiSeam;
};

TEST_F(ScreenResolution, EveryMeasureFollowsTheScreensDpi) {
    for (const int dpi : {96, 144}) {
        dpiSeam.emplace(dpi);
        const auto at = [dpi](int v) { return MulDiv(v, dpi, 96); };
        Open();
        RECT client{};
        GetClientRect(form->hwnd(), &client);
        EXPECT_EQ(client.right, at(444)) << dpi;
        EXPECT_EQ(client.bottom, at(414)) << dpi;
        const RECT add = ClientRectOf(form->hwnd(), form->Control(SelectCtl::BtnAdd));
        EXPECT_EQ(add.left, at(276)) << dpi;
        EXPECT_EQ(add.bottom, at(205)) << dpi;
        HWND folders = Probe().Browser().DirectoryList();
        const int row = static_cast<int>(SendMessageA(folders, LB_GETITEMHEIGHT, 0, 0));
        EXPECT_GE(row, at(16)) << dpi;
        EXPECT_GT(row, win::LineHeight(reinterpret_cast<HFONT>(SendMessageA(folders, WM_GETFONT, 0, 0))))
            << dpi;

        TFormOpstartScherm splash;
        ASSERT_NE(splash.CreateForm(GetExePath()), nullptr);
        GetClientRect(splash.hwnd(), &client);
        EXPECT_EQ(client.right, at(221)) << dpi;
        HWND version = splash.Control(TFormOpstartScherm::Ctl::LVersion);
        const RECT v = ClientRectOf(GetParent(version), version);
        const RECT status =
            ClientRectOf(GetParent(version), splash.Control(TFormOpstartScherm::Ctl::LStatus));
        EXPECT_LE(v.bottom, status.top) << dpi;
        EXPECT_GE(v.bottom - v.top,
                  win::LineHeight(reinterpret_cast<HFONT>(SendMessageA(version, WM_GETFONT, 0, 0))))
            << dpi;

        TAboutBox about("2.7", "12");
        form->SetAboutBox(&about);
        g_about = {};
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, ReadAbout);
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_ABOUT1, 0), 0);
        KillTimer(nullptr, timer);
        form->SetAboutBox(nullptr);
        EXPECT_GE(g_about.width, at(298)) << dpi;
        EXPECT_GE(g_about.height, at(320)) << dpi;
        EXPECT_LE(g_about.okRect.right, g_about.width) << dpi;
        EXPECT_LE(g_about.okRect.bottom, g_about.height) << dpi;
        EXPECT_GT(g_about.okRect.bottom, 0) << dpi;
        form.reset();
        Pump();
    }
}

}  // namespace
}  // namespace mvpr::test
