#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "FormFixture.h"
#include "lists/ListTexts.h"

namespace mvpr::test {
namespace {

class Maintenance : public FormTest {
  protected:
    void Fill(ScreenCategory c, const std::vector<std::string>& paths, const char* style = "") {
        std::vector<ScreenEntry> entries;
        for (const auto& p : paths) {
            const std::size_t at = p.find_last_of('\\');
            entries.push_back({p.substr(at + 1), p.substr(0, at), style, false});
        }
        Probe().ListOf(c).AddMany(std::move(entries));
        Probe().ViewOf(c).Sync();
    }
    std::vector<std::string> Names(ScreenCategory c) {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < Probe().ListOf(c).size(); ++i)
            out.push_back(Probe().ListOf(c)[i].fileName);
        return out;
    }
    void Select(ScreenCategory c, std::initializer_list<int> rows) {
        for (int r : rows)
            ListView_SetItemState(Probe().ViewOf(c).hwnd(), r, LVIS_SELECTED,
                                  LVIS_SELECTED);  // as a click does
    }
    void Command(UINT id) {
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump();
    }
    int ViewSelectedCount(ScreenCategory c) {
        return static_cast<int>(ListView_GetSelectedCount(Probe().ViewOf(c).hwnd()));
    }
    std::string File(const std::string& name) {
        WriteFile(dir / name, "x");
        return dir / name;
    }
};

TEST_F(Maintenance, RemoveDeletesEverySelectedEntryAndMarksTheListsChanged) {
    Open();
    Fill(ScreenCategory::Start, {"C:\\P\\A", "C:\\P\\B", "C:\\P\\C", "C:\\P\\D", "C:\\P\\E"});
    Select(ScreenCategory::Start, {0, 1, 4});
    ASSERT_TRUE(Enabled(SelectCtl::btnRemove));
    SendMessageA(form->Control(SelectCtl::btnRemove), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Names(ScreenCategory::Start), (std::vector<std::string>{"C", "D"}));
    EXPECT_TRUE(Probe().ListsModified());
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 2");
    EXPECT_FALSE(Enabled(SelectCtl::btnRemove));
    EXPECT_EQ(ListView_GetItemCount(Probe().ViewOf(ScreenCategory::Start).hwnd()), 2);
    EXPECT_EQ(ViewSelectedCount(ScreenCategory::Start), 0);
    EXPECT_TRUE(ListFolder(dir.path()).empty());  // nothing written, no file touched
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Maintenance, RemoveWithNothingSelectedChangesNothing) {
    Open();
    Fill(ScreenCategory::Wait, {"C:\\P\\A", "C:\\P\\B"});
    Click(ScreenCategory::Wait);
    Command(IDM_REMOVE1);
    EXPECT_EQ(Names(ScreenCategory::Wait), (std::vector<std::string>{"A", "B"}));
    EXPECT_FALSE(Probe().ListsModified());
    // other lists' selections are not the current list's
    Select(ScreenCategory::Wait, {1});
    Fill(ScreenCategory::Shut, {"C:\\P\\S"});
    Probe().ListOf(ScreenCategory::Shut).SetSelected(0, true);
    Command(IDM_REMOVE1);
    EXPECT_EQ(Names(ScreenCategory::Wait), std::vector<std::string>{"A"});
    EXPECT_EQ(Names(ScreenCategory::Shut), std::vector<std::string>{"S"});
}

TEST_F(Maintenance, SelectAllAndInvertWorkOnTheCurrentListAndLeaveTheFlag) {
    Open();
    Fill(ScreenCategory::Wall, {"C:\\P\\A", "C:\\P\\B", "C:\\P\\C"}, "Centred");
    Fill(ScreenCategory::Start, {"C:\\P\\X"});
    Click(ScreenCategory::Wall);
    Command(IDM_INVERTSELECTION2);  // nothing selected: all become selected
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall).SelectedCount(), 3u);
    EXPECT_EQ(ViewSelectedCount(ScreenCategory::Wall), 3);
    EXPECT_EQ(Text(SelectCtl::LblNumber), "3 / 3");
    EXPECT_TRUE(Enabled(SelectCtl::btnRemove));
    Command(IDM_INVERTSELECTION2);
    EXPECT_EQ(ViewSelectedCount(ScreenCategory::Wall), 0);
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 3");
    EXPECT_FALSE(Enabled(SelectCtl::btnRemove));

    Select(ScreenCategory::Wall, {1});
    Command(IDM_SELECTALL2);
    EXPECT_EQ(Text(SelectCtl::LblNumber), "3 / 3");
    EXPECT_EQ(ViewSelectedCount(ScreenCategory::Wall), 3);
    Command(IDM_INVERTSELECTION2);  // select all, then invert: none
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall).SelectedCount(), 0u);
    Select(ScreenCategory::Wall, {0, 2});
    Command(IDM_INVERTSELECTION2);
    EXPECT_FALSE(Probe().ListOf(ScreenCategory::Wall)[0].selected);
    EXPECT_TRUE(Probe().ListOf(ScreenCategory::Wall)[1].selected);
    EXPECT_FALSE(Probe().ListOf(ScreenCategory::Wall)[2].selected);
    EXPECT_EQ(Text(SelectCtl::LblNumber), "1 / 3");

    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start).SelectedCount(), 0u);
    EXPECT_FALSE(Probe().ListsModified());
    EXPECT_TRUE(Probe().AutoPreview());
    Fill(ScreenCategory::Shut, {});
    Click(ScreenCategory::Shut);
    Command(IDM_SELECTALL2);  // an empty list stays as it is
    Command(IDM_INVERTSELECTION2);
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 0");
}

TEST_F(Maintenance, SelectAllAndInvertOfTheFileListWorkOnTheFilesShown) {
    for (const char* n : {"a.bmp", "b.bmp", "c.sys", "d.txt"}) File(n);
    Open();
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir.path()));
    FileBrowser& b = Probe().Browser();
    ASSERT_EQ(b.FileCount(), 3u);  // under the screen filter
    b.SetFileSelected(1, true);
    Command(IDM_INVERTSELECTION1);
    EXPECT_TRUE(b.FileSelected(0));
    EXPECT_FALSE(b.FileSelected(1));
    EXPECT_TRUE(b.FileSelected(2));
    Command(IDM_SELECTALL1);
    EXPECT_EQ(b.SelectedFileCount(), 3u);
    Command(IDM_INVERTSELECTION1);
    EXPECT_EQ(b.SelectedFileCount(), 0u);
    EXPECT_FALSE(Probe().ListsModified());
}

TEST_F(Maintenance, FindFileDirectoryMovesTheBrowserToTheFirstSelectedEntrysFolder) {
    CreateDirectoryA((dir / "one").c_str(), nullptr);
    CreateDirectoryA((dir / "two").c_str(), nullptr);
    WriteFile(dir / "two\\x.bmp", "x");
    Open();
    Fill(ScreenCategory::Wait, {dir / "one\\B.BMP", dir / "two\\\\A.BMP", dir / "gone\\C.BMP"});
    ASSERT_EQ(Probe().ListOf(ScreenCategory::Wait)[0].folder,
              dir / "two\\");  // as stored, with its backslash
    Click(ScreenCategory::Wait);
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir / "one"));
    const std::string shut = Probe().CategoryFolder(ScreenCategory::Shut);

    Command(IDM_FINDFILE1);  // nothing selected: nothing moves
    EXPECT_EQ(Probe().Browser().Directory(), dir / "one");

    Select(ScreenCategory::Wait, {1, 0});
    Command(IDM_FINDFILE1);
    EXPECT_EQ(Probe().Browser().Directory(), dir / "two");
    EXPECT_EQ(Probe().Browser().FileCount(), 1u);
    EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Wait), dir / "two");
    EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Start), dir / "two");
    EXPECT_EQ(Probe().CategoryFolder(ScreenCategory::Shut), shut);

    // a folder that is gone leaves the browser where it was
    ListView_SetItemState(Probe().ViewOf(ScreenCategory::Wait).hwnd(), -1, 0, LVIS_SELECTED);
    Select(ScreenCategory::Wait, {2});
    Command(IDM_FINDFILE1);
    EXPECT_EQ(Probe().Browser().Directory(), dir / "two");
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wait).size(), 3u);
    EXPECT_FALSE(Probe().ListsModified());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(Maintenance, PurgeRemovesMissingFilesFromAllListsAndReportsTheCounts) {
    CreateDirectoryA((dir / "FOLDER.JPG").c_str(), nullptr);
    Open();
    Fill(ScreenCategory::Start, {File("S1.BMP"), File("S2.BMP")});
    Fill(ScreenCategory::Wait, {File("W1.BMP"), dir / "MISSING.BMP", File("W3.BMP")});
    Fill(ScreenCategory::Shut, {File("OFF.SYS")});
    Fill(ScreenCategory::Wall, {dir / "FOLDER.JPG", File("SEA.JPG"), dir / "GONE\\SKY.JPG"}, "Tiled");
    Probe().ListOf(ScreenCategory::Wait).SetSelected(2, true);
    Probe().ListOf(ScreenCategory::Wait).SetFocused(2);
    Probe().ViewOf(ScreenCategory::Wait).Sync();
    Command(IDM_REMOVENONEXISTINGFILES1);

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Information);
    EXPECT_EQ(boxes.boxes[0].buttons, win::MsgButtons::Ok);
    EXPECT_EQ(boxes.boxes[0].text,
              "Numbers of removed screens : \n\rStart-Up screens : 0\n\rWaiting screens : 1\n\r"
              "Shut down screens : 0\n\rWallpaper : 2\n\r");
    EXPECT_EQ(Names(ScreenCategory::Wait), (std::vector<std::string>{"W1.BMP", "W3.BMP"}));
    EXPECT_EQ(Names(ScreenCategory::Wall), std::vector<std::string>{"SEA.JPG"});
    EXPECT_EQ(Names(ScreenCategory::Start).size(), 2u);
    EXPECT_TRUE(Probe().ListsModified());
    EXPECT_EQ(form->CurrentCategory(), ScreenCategory::Start);
    EXPECT_TRUE(Probe().ButtonOf(ScreenCategory::Start).Down());
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 2");
    // the views follow, the selection stays with its entry
    EXPECT_EQ(ListView_GetItemCount(Probe().ViewOf(ScreenCategory::Wall).hwnd()), 1);
    EXPECT_TRUE(Probe().ListOf(ScreenCategory::Wait)[1].selected);
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wait).Focused(), 1u);
    EXPECT_EQ(ListView_GetNextItem(Probe().ViewOf(ScreenCategory::Wait).hwnd(), -1, LVNI_SELECTED), 1);

    // and the next closing asks
    boxes.boxes.clear();
    boxes.answers = {win::MsgAnswer::Cancel};
    SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Confirmation);
}

TEST_F(Maintenance, PurgeWithEveryFilePresentReportsZerosAndLeavesTheFlag) {
    Open();
    Fill(ScreenCategory::Shut, {File("A.SYS"), File("B.SYS")});
    Click(ScreenCategory::Wall);
    Fill(ScreenCategory::Wall, {File("C.JPG")}, "Mirror");
    SendMessageA(form->Control(SelectCtl::CBStyle), CB_SETCURSEL, 2, 0);
    Command(IDM_REMOVENONEXISTINGFILES1);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              "Numbers of removed screens : \n\rStart-Up screens : 0\n\rWaiting screens : 0\n\r"
              "Shut down screens : 0\n\rWallpaper : 0\n\r");
    EXPECT_FALSE(Probe().ListsModified());
    EXPECT_EQ(form->CurrentCategory(), ScreenCategory::Wall);
    EXPECT_EQ(Text(SelectCtl::CBStyle), "Centred");  // the category switch ran again
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 1");
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[0].style, "Mirror");
}

TEST_F(Maintenance, ABareNameFromTheListFileSurvivesThePurgeOnlyInTheProgramFolder) {
    WriteFile(dir / "MVDATA.MVD", "[START]\r\nHERE.BMP\r\nNOTHERE.BMP\r\n");
    File("HERE.BMP");
    Open();
    ASSERT_EQ(Probe().ListOf(ScreenCategory::Start).size(), 2u);
    Command(IDM_REMOVENONEXISTINGFILES1);
    EXPECT_EQ(Names(ScreenCategory::Start), std::vector<std::string>{"HERE.BMP"});
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start)[0].folder, dir.path() + "\\");
}

TEST_F(Maintenance, PathsTooLongForWindowsAreNeitherFilesNorFolders) {
    Open();
    const std::string deep = dir.path() + "\\" + std::string(3000, 'd');
    Fill(ScreenCategory::Start, {deep + "\\A.BMP", File("B.BMP")});
    ASSERT_TRUE(Probe().Browser().ApplyFilePath(dir.path()));
    Select(ScreenCategory::Start, {0});
    Command(IDM_FINDFILE1);
    EXPECT_EQ(Probe().Browser().Directory(), dir.path());
    Command(IDM_REMOVENONEXISTINGFILES1);
    EXPECT_EQ(Names(ScreenCategory::Start), std::vector<std::string>{"B.BMP"});
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("Start-Up screens : 1\n\r"), std::string::npos);
}

// Testing 100,000 files takes seconds (under Wine some 20 us for each missing one): the window
// must go on answering meanwhile, as Windows judges a hung window by messages sent to it.
TEST_F(Maintenance, PurgeOfAHundredThousandEntriesKeepsTheWindowAnswering) {
    CreateDirectoryA((dir / "present").c_str(), nullptr);
    CreateDirectoryA((dir / "empty").c_str(), nullptr);
    for (int i = 0; i < 200; ++i) WriteFile(dir / ("present\\P" + std::to_string(i) + ".BMP"), "x");
    Open();
    std::vector<ScreenEntry> entries;
    for (int i = 0; i < 100000; ++i) {
        if (i % 500 == 0)
            entries.push_back({"P" + std::to_string(i / 500) + ".BMP", dir / "present", "", false});
        else
            entries.push_back({"M" + std::to_string(i) + ".BMP", dir / "empty", "", false});
    }
    Probe().ListOf(ScreenCategory::Start).AddMany(std::move(entries));
    Probe().ViewOf(ScreenCategory::Start).Sync();

    std::atomic<bool> done{false}, finished{false};
    std::atomic<long> longestWait{0};
    std::atomic<int> answeredMidPurge{0};
    HWND window = form->hwnd();
    TestThread prober([&] {
        while (!done) {
            const DWORD t0 = GetTickCount();
            DWORD_PTR result = 0;
            if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) && !done)
                ++answeredMidPurge;
            longestWait = std::max<long>(longestWait, static_cast<long>(GetTickCount() - t0));
            Sleep(5);
        }
        finished = true;
    });
    const auto t0 = std::chrono::steady_clock::now();
    Command(IDM_REMOVENONEXISTINGFILES1);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    done = true;
    while (!finished) Pump();  // its last message may still wait for an answer
    prober.join();

    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start).size(), 200u);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("Start-Up screens : 99800\n\r"), std::string::npos);
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 200");
    // How long a wait was is reported, not judged: on a busy machine any wait can stretch.
    EXPECT_GT(answeredMidPurge.load(), 0);
    RecordProperty("purge_100000_ms", static_cast<int>(ms));
    RecordProperty("longest_wait_ms", static_cast<int>(longestWait.load()));
    std::printf("purge of 100000 entries: %lld ms, longest wait for an answer: %ld ms\n",
                static_cast<long long>(ms), longestWait.load());
}

// Another program's message is answered during the purge's breaks; a command among them waits
// until the purge is over, and the purge removes only entries it found missing.
TEST_F(Maintenance, ACommandSentDuringThePurgeWaitsAndNoEntryOfAnExistingFileIsLost) {
    CreateDirectoryA((dir / "present").c_str(), nullptr);
    CreateDirectoryA((dir / "empty").c_str(), nullptr);
    std::vector<std::pair<int, std::size_t>> commands;  // each with the list's size as it ran
    config.commandHook = [&](int id) {
        commands.emplace_back(id, Probe().ListOf(ScreenCategory::Start).size());
    };
    Open();
    // Every 50th file exists; removing a few near the top moves everything below them.
    std::vector<ScreenEntry> entries;
    for (int i = 0; i < 20000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "F%05d.BMP", i);
        const bool exists = i % 50 == 0;
        if (exists) WriteFile(dir / "present\\" + name, "x");
        entries.push_back({name, exists ? dir / "present" : dir / "empty", "", false});
    }
    CategoryList& list = Probe().ListOf(ScreenCategory::Start);
    list.AddMany(std::move(entries));
    for (std::size_t i = 1; i <= 7; ++i) list.SetSelected(i, true);
    Probe().ViewOf(ScreenCategory::Start).Sync();

    HWND window = form->hwnd();
    std::atomic<bool> finished{false};
    TestThread outsider([&] {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);  // the purge is under way
        SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(IDM_REMOVE1, 0), 0, SMTO_NORMAL, 10000, &result);
        finished = true;
    });
    Command(IDM_REMOVENONEXISTINGFILES1);
    while (!finished) Pump();
    outsider.join();

    std::size_t present = 0;
    for (std::size_t i = 0; i < list.size(); ++i) present += list[i].folder == dir / "present";
    EXPECT_EQ(present, 400u);
    EXPECT_EQ(commands, (std::vector<std::pair<int, std::size_t>>{{IDM_REMOVENONEXISTINGFILES1, 20000},
                                                                  {IDM_REMOVE1, 400}}));
    EXPECT_EQ(Probe().ViewOf(ScreenCategory::Start).List().size(), list.size());
    EXPECT_EQ(ListView_GetItemCount(Probe().ViewOf(ScreenCategory::Start).hwnd()),
              static_cast<int>(list.size()));
}

}  // namespace
}  // namespace mvpr::test
