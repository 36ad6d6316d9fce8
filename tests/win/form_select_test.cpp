#include <chrono>
#include <stdexcept>

#include "FormFixture.h"
#include "win/FilterText.h"
#include "system/SystemTexts.h"
#include "win/Menus.h"

namespace mvpr::test {
namespace {

LONG FontWeight(HFONT f) {
    LOGFONTA lf{};
    GetObjectA(f, sizeof lf, &lf);
    return lf.lfWeight;
}

void SelectRows(HWND list, std::initializer_list<int> rows) {
    for (int r : rows)
        ListView_SetItemState(list, r, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void Fill(TFormSelect& form, ScreenCategory c, int count, const char* style = "") {
    std::vector<ScreenEntry> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back({"PIC" + std::to_string(i) + ".BMP", "C:\\PICS", style, false});
    FormSelectProbe(form).ListOf(c).AddMany(std::move(entries));
    FormSelectProbe(form).ViewOf(c).Sync();
}

std::string FilterShown(TFormSelect& form) {
    return FormSelectProbe(form).Browser().CurrentFilterDescription();
}

void PickFilter(TFormSelect& form, int index) {
    HWND combo = FormSelectProbe(form).Browser().FilterCombo();
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

using FormSelectStart = FormTest;

TEST_F(FormSelectStart, OpensOnTheStartUpCategoryWithEverythingInItsFirstState) {
    Open();
    EXPECT_TRUE(IsWindowVisible(form->hwnd()));
    EXPECT_FALSE(form->Terminated());
    EXPECT_EQ(form->CurrentCategory(), ScreenCategory::Start);
    EXPECT_TRUE(Probe().AutoPreview());
    EXPECT_FALSE(Probe().ListsModified());
    EXPECT_EQ(form->ProgramPlaces().programDir, dir.path() + "\\");
    EXPECT_EQ(Probe().HelpFile(), dir.path() + "\\mvpr.hlp");
    char cls[64] = {};
    GetClassNameA(form->hwnd(), cls, sizeof cls);
    EXPECT_STREQ(cls, "TFormSelect");
    RECT client{};
    GetClientRect(form->hwnd(), &client);
    EXPECT_EQ(client.right, 444);
    EXPECT_EQ(client.bottom, 414);

    EXPECT_TRUE(Probe().ButtonOf(ScreenCategory::Start).Down());
    EXPECT_EQ(FontWeight(Probe().ButtonOf(ScreenCategory::Start).Font()), FW_BOLD);
    EXPECT_EQ(Probe().ButtonOf(ScreenCategory::Start).TextColor(), RGB(0, 0, 128));
    for (auto c : {ScreenCategory::Wait, ScreenCategory::Shut, ScreenCategory::Wall}) {
        EXPECT_FALSE(Probe().ButtonOf(c).Down());
        EXPECT_EQ(FontWeight(Probe().ButtonOf(c).Font()), FW_NORMAL);
        EXPECT_EQ(Probe().ButtonOf(c).TextColor(), RGB(0, 0, 0));
        EXPECT_FALSE(Visible(Probe().ViewOf(c).hwnd()));
    }
    EXPECT_TRUE(Visible(Probe().ViewOf(ScreenCategory::Start).hwnd()));
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 0");
    EXPECT_FALSE(Enabled(SelectCtl::btnRemove));
    EXPECT_TRUE(Visible(SelectCtl::chkbStartUpRun));
    EXPECT_FALSE(Visible(SelectCtl::CBStyle));
    EXPECT_FALSE(Enabled(SelectCtl::CBStyle));
    EXPECT_FALSE(Visible(SelectCtl::LblStyle));
    EXPECT_EQ(Text(SelectCtl::PnlPreviewName), "No File Selected");
    EXPECT_EQ(Probe().Browser().FilterText(), kScreenFilterText);
    EXPECT_EQ(Probe().Browser().Mask(), "*.bmp;*.sys;");
    EXPECT_TRUE(win::IsMenuItemVisible(Probe().PopMFileInfo(), IDM_SETASCURRENTSCREEN1));
    EXPECT_FALSE(win::IsMenuItemVisible(Probe().PopMFileInfo(), IDM_SETASCURRENTWALLPAPER1));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(FormSelectStart, ListColumnsAreFilenamePathAndStyleForWallpapersOnly) {
    Open();
    auto header = [](HWND list, int i) {
        char text[64] = {};
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT;
        c.pszText = text;
        c.cchTextMax = sizeof text;
        return ListView_GetColumn(list, i, &c) ? std::string(text) : std::string("<none>");
    };
    for (auto c : {ScreenCategory::Start, ScreenCategory::Wait, ScreenCategory::Shut}) {
        HWND list = Probe().ViewOf(c).hwnd();
        EXPECT_EQ(header(list, 0), "Filename");
        EXPECT_EQ(header(list, 1), "Path");
        EXPECT_EQ(header(list, 2), "<none>");
    }
    HWND wall = Probe().ViewOf(ScreenCategory::Wall).hwnd();
    EXPECT_EQ(header(wall, 2), "Style");
    const LONG style = GetWindowLongA(wall, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_FALSE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_SHOWSELALWAYS);
    EXPECT_FALSE(style & LVS_EDITLABELS);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(wall) & LVS_EX_FULLROWSELECT);
}

using CategorySwitch = FormTest;

TEST_F(CategorySwitch, ButtonsMoveTheHighlightListAndStyleControls) {
    Open();
    Click(ScreenCategory::Wait);
    EXPECT_EQ(form->CurrentCategory(), ScreenCategory::Wait);
    EXPECT_TRUE(Probe().ButtonOf(ScreenCategory::Wait).Down());
    EXPECT_FALSE(Probe().ButtonOf(ScreenCategory::Start).Down());
    EXPECT_EQ(FontWeight(Probe().ButtonOf(ScreenCategory::Wait).Font()), FW_BOLD);
    EXPECT_EQ(FontWeight(Probe().ButtonOf(ScreenCategory::Start).Font()), FW_NORMAL);
    EXPECT_TRUE(Visible(Probe().ViewOf(ScreenCategory::Wait).hwnd()));
    EXPECT_FALSE(Visible(Probe().ViewOf(ScreenCategory::Start).hwnd()));
    EXPECT_TRUE(Probe().AutoPreview());

    Click(ScreenCategory::Wall);
    EXPECT_EQ(form->CurrentCategory(), ScreenCategory::Wall);
    EXPECT_EQ(Probe().ButtonOf(ScreenCategory::Wall).TextColor(), RGB(0, 0, 128));
    EXPECT_EQ(Probe().ButtonOf(ScreenCategory::Wait).TextColor(), RGB(0, 0, 0));
    for (auto c : {ScreenCategory::Start, ScreenCategory::Wait, ScreenCategory::Shut})
        EXPECT_FALSE(Visible(Probe().ViewOf(c).hwnd()));
    EXPECT_TRUE(Visible(Probe().ViewOf(ScreenCategory::Wall).hwnd()));
    EXPECT_FALSE(Visible(SelectCtl::chkbStartUpRun));
    EXPECT_TRUE(Visible(SelectCtl::CBStyle));
    EXPECT_TRUE(Enabled(SelectCtl::CBStyle));
    EXPECT_TRUE(Visible(SelectCtl::LblStyle));
    EXPECT_EQ(Text(SelectCtl::CBStyle), "Centred");
    EXPECT_TRUE(win::IsMenuItemVisible(Probe().PopMFileInfo(), IDM_SETASCURRENTWALLPAPER1));
    EXPECT_FALSE(win::IsMenuItemVisible(Probe().PopMFileInfo(), IDM_SETASCURRENTSCREEN1));

    Click(ScreenCategory::Shut);
    EXPECT_EQ(form->CurrentCategory(), ScreenCategory::Shut);
    EXPECT_TRUE(Visible(SelectCtl::chkbStartUpRun));
    EXPECT_FALSE(Visible(SelectCtl::CBStyle));
    EXPECT_FALSE(Enabled(SelectCtl::CBStyle));
    EXPECT_EQ(SendMessageA(form->Control(SelectCtl::CBStyle), CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_FALSE(Visible(SelectCtl::LblStyle));
    EXPECT_FALSE(Visible(Probe().ViewOf(ScreenCategory::Wall).hwnd()));
    EXPECT_TRUE(win::IsMenuItemVisible(Probe().PopMFileInfo(), IDM_SETASCURRENTSCREEN1));
    // the entries keep their order when they come back
    EXPECT_EQ(GetMenuItemID(Probe().PopMFileInfo(), 0), static_cast<UINT>(IDM_SETASCURRENTSCREEN1));
    Click(ScreenCategory::Wall);
    EXPECT_EQ(GetMenuItemID(Probe().PopMFileInfo(), 0), static_cast<UINT>(IDM_SETASCURRENTWALLPAPER1));
    EXPECT_EQ(GetMenuItemCount(Probe().PopMFileInfo()), 4);
}

TEST_F(CategorySwitch, ListsKeepTheirEntriesAndSelectionWhileHidden) {
    Open();
    Fill(*form, ScreenCategory::Start, 4);
    SelectRows(Probe().ViewOf(ScreenCategory::Start).hwnd(), {1, 3});
    EXPECT_EQ(Text(SelectCtl::LblNumber), "2 / 4");
    Click(ScreenCategory::Wait);
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 0");
    EXPECT_FALSE(Enabled(SelectCtl::btnRemove));
    Click(ScreenCategory::Start);
    EXPECT_EQ(Text(SelectCtl::LblNumber), "2 / 4");
    EXPECT_TRUE(Enabled(SelectCtl::btnRemove));
    EXPECT_EQ(ListView_GetSelectedCount(Probe().ViewOf(ScreenCategory::Start).hwnd()), 2u);
    EXPECT_TRUE(Probe().ListOf(ScreenCategory::Start)[3].selected);
}

TEST_F(CategorySwitch, FilterEntryIsKeptBetweenScreenCategoriesAndResetForWallpapers) {
    WriteFile(dir / "a.bmp", "x");
    WriteFile(dir / "b.jpg", "x");
    WriteFile(dir / "c.txt", "x");
    Open();
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir.path()));
    EXPECT_EQ(Probe().Browser().FileCount(), 1u);  // a.bmp
    PickFilter(*form, 3);
    EXPECT_EQ(FilterShown(*form), "All files (*.*)");
    EXPECT_EQ(form->HintOf(Probe().Browser().FilterCombo()), "All files (*.*)");
    EXPECT_EQ(Probe().Browser().FileCount(), 3u);

    Click(ScreenCategory::Shut);
    EXPECT_EQ(FilterShown(*form), "All files (*.*)");
    EXPECT_EQ(Probe().Browser().Mask(), "*.*");

    Click(ScreenCategory::Wall);
    EXPECT_EQ(FilterShown(*form).rfind("All usable files (*.bmp, *.jpg", 0), 0u);
    EXPECT_EQ(Probe().Browser().FilterText(), kWallpaperFilterText);
    EXPECT_EQ(form->HintOf(Probe().Browser().FilterCombo()), FilterShown(*form));
    ASSERT_EQ(Probe().Browser().FileCount(), 2u);
    EXPECT_EQ(Probe().Browser().FileName(1), "b.jpg");

    Click(ScreenCategory::Start);
    EXPECT_EQ(FilterShown(*form), "All usable files (*.bmp, *.sys)");
    EXPECT_EQ(Probe().Browser().FileCount(), 1u);
}

TEST_F(CategorySwitch, TheFilterSurvivesATextThatDiffersOnlyInCase) {
    Open();
    PickFilter(*form, 2);
    std::string upper(kScreenFilterText);
    for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    EXPECT_FALSE(Probe().Browser().SetFilter(upper));
    EXPECT_EQ(FilterShown(*form), "System Files (*.sys)");
    EXPECT_TRUE(Probe().Browser().SetFilter(kWallpaperFilterText));
    EXPECT_EQ(SendMessageA(Probe().Browser().FilterCombo(), CB_GETCURSEL, 0, 0), 0);
}

TEST_F(CategorySwitch, PressingTheCurrentButtonAgainResetsTheStyleAndRefreshesTheCount) {
    Open();
    Click(ScreenCategory::Wall);
    SendMessageA(form->Control(SelectCtl::CBStyle), CB_SETCURSEL, 2, 0);
    Fill(*form, ScreenCategory::Wall, 3, "Tiled");
    Click(ScreenCategory::Wall);
    EXPECT_EQ(Text(SelectCtl::CBStyle), "Centred");
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 3");
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[0].style, "Tiled");
}

using SelectionCounter = FormTest;

TEST_F(SelectionCounter, CounterRemoveButtonAndPopupFollowTheSelection) {
    Open();
    HMENU pop = Probe().PopMSelected();
    Probe().PopMSelectedPopup();
    for (UINT id : {IDM_VIEW2, IDM_REMOVE1, IDM_SELECTALL2, IDM_INVERTSELECTION2})
        EXPECT_FALSE(win::IsMenuItemEnabledById(pop, id)) << id;
    EXPECT_TRUE(win::IsMenuItemEnabledById(pop, IDM_FINDFILE1));

    Fill(*form, ScreenCategory::Start, 5);
    HWND list = Probe().ViewOf(ScreenCategory::Start).hwnd();
    SelectRows(list, {0, 2, 4});
    EXPECT_EQ(Text(SelectCtl::LblNumber), "3 / 5");
    EXPECT_TRUE(Enabled(SelectCtl::btnRemove));
    Probe().PopMSelectedPopup();
    for (UINT id : {IDM_VIEW2, IDM_REMOVE1, IDM_SELECTALL2, IDM_INVERTSELECTION2, IDM_FINDFILE1})
        EXPECT_TRUE(win::IsMenuItemEnabledById(pop, id)) << id;

    SelectRows(list, {1, 3});
    EXPECT_EQ(Text(SelectCtl::LblNumber), "5 / 5");
    Probe().PopMSelectedPopup();
    EXPECT_FALSE(win::IsMenuItemEnabledById(pop, IDM_SELECTALL2));
    EXPECT_TRUE(win::IsMenuItemEnabledById(pop, IDM_INVERTSELECTION2));

    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);  // as a click on empty space does
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 5");
    EXPECT_FALSE(Enabled(SelectCtl::btnRemove));
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start).SelectedCount(), 0u);
}

TEST_F(SelectionCounter, HundredThousandRowsShowAtOnce) {
    Open();
    std::vector<ScreenEntry> entries;
    for (int i = 0; i < 100000; ++i)
        entries.push_back({"F" + std::to_string(i * 7919 % 100000) + ".BMP", "C:\\P", "", false});
    Probe().ListOf(ScreenCategory::Start).AddMany(std::move(entries));
    // Showing them is what must be quick: the view asks only for the rows it paints.
    const auto t0 = std::chrono::steady_clock::now();
    Probe().ViewOf(ScreenCategory::Start).Sync();
    Probe().ViewOf(ScreenCategory::Start).SizeColumns();
    Click(ScreenCategory::Start);
    UpdateWindow(form->hwnd());
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 100000");
    EXPECT_EQ(ListView_GetItemCount(Probe().ViewOf(ScreenCategory::Start).hwnd()), 100000);
    // A few hundred ms when the machine is quiet; rows put in one by one would take many seconds.
    // Reported, not judged: a busy machine is no fault (the core's share is in lists_bench).
    RecordProperty("show_100000_rows_ms", static_cast<int>(ms));
}

using StyleChange = FormTest;

TEST_F(StyleChange, PickedStyleGoesToEverySelectedWallpaperAndMarksTheListsChanged) {
    Open();
    Click(ScreenCategory::Wall);
    Fill(*form, ScreenCategory::Wall, 3, "Centred");
    HWND combo = form->Control(SelectCtl::CBStyle);
    auto pick = [&](int index) {
        SendMessageA(combo, CB_SETCURSEL, index, 0);
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(Id(SelectCtl::CBStyle), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    };
    pick(4);  // nothing selected: only the style for files added next
    EXPECT_FALSE(Probe().ListsModified());
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[0].style, "Centred");

    SelectRows(Probe().ViewOf(ScreenCategory::Wall).hwnd(), {0, 2});
    pick(4);
    const auto& list = Probe().ListOf(ScreenCategory::Wall);
    EXPECT_EQ(list[0].style, "Mirror");
    EXPECT_EQ(list[1].style, "Centred");
    EXPECT_EQ(list[2].style, "Mirror");
    EXPECT_TRUE(Probe().ListsModified());
}

using FolderRemembering = FormTest;

TEST_F(FolderRemembering, AFolderChangeIsStoredForTheCurrentCategoryAndForStart) {
    CreateDirectoryA((dir / "one").c_str(), nullptr);
    CreateDirectoryA((dir / "two").c_str(), nullptr);
    Open();
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir / "one"));
    const std::string shut = Probe().CategoryFolder(ScreenCategory::Shut);
    const std::string wall = Probe().CategoryFolder(ScreenCategory::Wall);
    Click(ScreenCategory::Wait);
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir / "two\\"));
    EXPECT_EQ(Probe().Browser().Directory(), dir / "two");
    EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Wait), dir / "two");
    EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Start), dir / "two");
    EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Shut), shut);
    EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Wall), wall);
    // a folder that is not there changes nothing
    EXPECT_FALSE(Probe().Browser().ApplyFilePath(dir / "gone"));
    EXPECT_EQ(Probe().Browser().Directory(), dir / "two");
}

TEST_F(FolderRemembering, FolderListOpensFoldersByDoubleClickAndShowsTheChain) {
    CreateDirectoryA((dir / "sub").c_str(), nullptr);
    Open();
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir.path()));
    HWND dirs = Probe().Browser().DirectoryList();
    const int count = static_cast<int>(SendMessageA(dirs, LB_GETCOUNT, 0, 0));
    ASSERT_GE(count, 2);
    char last[MAX_PATH] = {};
    SendMessageA(dirs, LB_GETTEXT, count - 1, reinterpret_cast<LPARAM>(last));
    EXPECT_STREQ(last, "sub");
    SendMessageA(dirs, LB_SETCURSEL, count - 1, 0);
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(dirs), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(dirs));
    EXPECT_EQ(Probe().Browser().Directory(), dir / "sub");
    EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Start), dir / "sub");
    // Enter opens the chosen folder as a double click does: here the one above
    SendMessageA(dirs, LB_SETCURSEL, SendMessageA(dirs, LB_GETCOUNT, 0, 0) - 2, 0);
    PressKey(dirs, VK_RETURN);
    EXPECT_EQ(Probe().Browser().Directory(), dir.path());
    SendMessageA(dirs, LB_SETCURSEL, SendMessageA(dirs, LB_GETCOUNT, 0, 0) - 1, 0);
    PressKey(dirs, VK_RETURN);
    EXPECT_EQ(Probe().Browser().Directory(), dir / "sub");
    // the drive picker follows
    char drive[64] = {};
    HWND combo = Probe().Browser().DriveCombo();
    SendMessageA(combo, CB_GETLBTEXT, SendMessageA(combo, CB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(drive));
    EXPECT_EQ(std::tolower(static_cast<unsigned char>(drive[0])),
              std::tolower(static_cast<unsigned char>(dir.path()[0])));
}

TEST_F(FolderRemembering, RefreshReadsTheFolderAgainWithoutMovingIt) {
    Open();
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir.path()));
    Click(ScreenCategory::Shut);
    EXPECT_EQ(Probe().Browser().FileCount(), 0u);
    WriteFile(dir / "late.sys", "x");
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_REFRESH1, 0), 0);
    EXPECT_EQ(Probe().Browser().FileCount(), 1u);
    EXPECT_EQ(Probe().Browser().Directory(), dir.path());
    EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Shut), dir.path());
}

using StartUpModes = FormTest;

TEST_F(StartUpModes, UninstallSwitchAsksTheQuestionAndEndsWithoutLoadingAnything) {
    for (const char* parameter : {"/u", "-U", "+u", "Uninstall", "update"}) {
        config.parameters = {"/x", parameter};
        boxes.boxes.clear();
        boxes.answers = {win::MsgAnswer::No};
        Open();
        EXPECT_TRUE(form->Terminated()) << parameter;
        EXPECT_TRUE(Probe().CommandLineUninstall());
        EXPECT_FALSE(IsWindowVisible(form->hwnd()));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Warning);
        EXPECT_EQ(boxes.boxes[0].caption, "Warning");
        EXPECT_EQ(boxes.boxes[0].buttons, win::MsgButtons::YesNo);
        EXPECT_EQ(
            boxes.boxes[0].text,
            "This will uninstall MVPR.\n\r\n\rIt will place your original screens back\n\rand remove all "
            "registry entries of MVPR.\n\r\n\rAre you sure you want to continue?");
        EXPECT_FALSE(Probe().Uninstalled());
        EXPECT_FALSE(Probe().AutoPreview());
        form.reset();
    }
    EXPECT_TRUE(ListFolder(dir.path()).empty());
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, registry.prefix() + "Software\\Tolvane\\Morvellan"));
}

TEST_F(StartUpModes, OtherParametersStartNormally) {
    config.parameters = {"//u", "x", "", "/X"};
    Open();
    EXPECT_FALSE(form->Terminated());
    EXPECT_TRUE(IsWindowVisible(form->hwnd()));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(StartUpModes, UninstallConfirmedRemovesTheKeysAndReports) {
    const std::string settings = registry.prefix() + "Software\\Tolvane\\Morvellan";
    const std::string run = registry.prefix() + "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (settings + "\\Morvellan Selector").c_str(), 0, nullptr, 0,
                              KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(k);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, run.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, "Morvellan", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegSetValueExA(k, "Other", 0, REG_SZ, reinterpret_cast<const BYTE*>("y"), 2);
    RegCloseKey(k);
    config.parameters = {"/u"};
    boxes.answers = {win::MsgAnswer::Yes};
    Open();
    EXPECT_TRUE(form->Terminated());
    EXPECT_TRUE(Probe().Uninstalled());
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[1].kind, win::MsgKind::Information);
    EXPECT_EQ(boxes.boxes[1].text, kUninstallDone);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, settings));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, registry.prefix() + "SoftWare\\Tolvane"));
    EXPECT_FALSE(RegistryValueExists(HKEY_CURRENT_USER, run, "Morvellan"));
    EXPECT_TRUE(RegistryValueExists(HKEY_CURRENT_USER, run, "Other"));
}

TEST_F(StartUpModes, AFailingLoadingStepIsReportedAndTheWindowStillOpens) {
    config.stepHook = [](const char* step) {
        if (std::string(step) == "LoadScreenLists") throw std::runtime_error("Disk on fire");
    };
    Open();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
    EXPECT_EQ(boxes.boxes[0].caption, "Morvellan Selector");
    EXPECT_EQ(boxes.boxes[0].text, "Disk on fire");
    EXPECT_EQ(boxes.boxes[0].buttons, win::MsgButtons::Ok);
    EXPECT_FALSE(form->Terminated());
    EXPECT_TRUE(IsWindowVisible(form->hwnd()));
    EXPECT_FALSE(Probe().AutoPreview());  // the rest of the first showing did not run
}

}  // namespace
}  // namespace mvpr::test
