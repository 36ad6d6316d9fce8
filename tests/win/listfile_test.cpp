#include <optional>
#include <string>
#include <vector>

#include "FormFixture.h"
#include "lists/ListTexts.h"
#include "win/Files.h"
#include "ScopedSeam.h"

namespace mvpr::test {
namespace {

constexpr char kEmptyFile[] = "[START]\r\n\r\n[WAIT]\r\n\r\n[SHUT]\r\n\r\n[WALLPAPER]\r\n";

class ListFileTest : public FormTest {
  protected:
    std::optional<ScopedSeam<&win::SetFileFaultSeam>> faults;
    void TearDown() override {
        faults.reset();
        SetFileAttributesA(ListFile().c_str(), FILE_ATTRIBUTE_NORMAL);
        FormTest::TearDown();
    }
    std::string ListFile() const { return dir / "MVDATA.MVD"; }
    std::string Saved() const { return ReadFile(ListFile()); }
    std::vector<std::string> Names(ScreenCategory c) {
        std::vector<std::string> out;
        const CategoryList& list = Probe().ListOf(c);
        for (std::size_t i = 0; i < list.size(); ++i) out.push_back(list[i].folder + "|" + list[i].fileName);
        return out;
    }
    // Makes a change that the unsaved-changes flag tracks: the first Start entry goes.
    void RemoveFirstStartEntry() {
        Probe().ListOf(ScreenCategory::Start).SetSelected(0, true);
        Probe().btnRemoveClick();
        ASSERT_TRUE(Probe().ListsModified());
    }
    bool Closed() const { return !IsWindow(hwndAtOpen); }
    void OpenAndRemember() {
        Open();
        hwndAtOpen = form->hwnd();
    }
    HWND hwndAtOpen = nullptr;
};

int ColumnWidth(HWND list, int column) {
    return static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0));
}
int StringWidth(HWND list, const std::string& text) {
    return static_cast<int>(
        SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

TEST_F(ListFileTest, NoFileMeansEmptyListsSilentlyAndSaveWritesTheSevenLines) {
    for (bool emptyFile : {false, true}) {
        if (emptyFile) WriteFile(ListFile(), "");
        OpenAndRemember();
        for (const auto& info : kCategories) EXPECT_TRUE(Probe().ListOf(info.category).empty());
        EXPECT_TRUE(boxes.boxes.empty());
        EXPECT_FALSE(Probe().ListsModified());
        EXPECT_TRUE(Probe().SaveToFile());
        EXPECT_EQ(Saved(), kEmptyFile);
        EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MVDATA.MVD"});
        EXPECT_TRUE(boxes.boxes.empty());
        form.reset();
        DeleteFileA(ListFile().c_str());
    }
}

TEST_F(ListFileTest, LoadFillsTheFourListsAndTheirViewsAndSavingNormalisesTheFile) {
    const std::string longName = "ZZ_A_RATHER_LONG_WALLPAPER_NAME_THAT_NEEDS_A_WIDE_COLUMN.JPG";
    WriteFile(ListFile(),
              "IGNORED.BMP\r\n"
              "[WALLPAPER]\r\nC:\\W\\" +
                  longName +
                  ",   tiled  \r\nB.JPG\r\nC:\\W\\A.JPG,stretched\r\n"
                  "[WAIT]\r\nC:\\Z.BMP\r\n[wait]\r\nC:\\LOWER.BMP\r\n"
                  "[SHUT]\r\n   \r\n"
                  "[WAIT]\r\nD:\\Y.BMP\r\n\x1a[START]\r\nC:\\AFTER.BMP\r\n");
    OpenAndRemember();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(Probe().ListsModified());
    const std::string prog = dir.path() + "\\";
    EXPECT_TRUE(Probe().ListOf(ScreenCategory::Start).empty());
    EXPECT_EQ(Names(ScreenCategory::Wait), (std::vector<std::string>{"D:\\|Y.BMP", "C:\\|Z.BMP"}));
    EXPECT_EQ(Names(ScreenCategory::Shut), (std::vector<std::string>{prog + "|   "}));
    EXPECT_EQ(Names(ScreenCategory::Wall),
              (std::vector<std::string>{"C:\\W\\|A.JPG", prog + "|B.JPG", "C:\\W\\|" + longName}));
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[0].style, "Stretched");
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[1].style, "Centred");
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[2].style, "Tiled");
    // the views show the rows, the wallpaper columns fit their contents once shown
    HWND wall = Probe().ViewOf(ScreenCategory::Wall).hwnd();
    EXPECT_EQ(ListView_GetItemCount(wall), 3);
    EXPECT_EQ(ListView_GetItemCount(Probe().ViewOf(ScreenCategory::Wait).hwnd()), 2);
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / 0");
    Click(ScreenCategory::Wall);
    EXPECT_GE(ColumnWidth(wall, 0), StringWidth(wall, longName));
    EXPECT_GE(ColumnWidth(wall, 2), StringWidth(wall, "Fit 2 Screen"));
    EXPECT_GE(ColumnWidth(wall, 2), StringWidth(wall, "Style"));

    ASSERT_TRUE(Probe().SaveToFile());
    const std::string expected = "[START]\r\n\r\n[WAIT]\r\nD:\\Y.BMP\r\nC:\\Z.BMP\r\n\r\n[SHUT]\r\n" + prog +
                                 "   \r\n\r\n[WALLPAPER]\r\nC:\\W\\A.JPG, Stretched\r\n" + prog +
                                 "B.JPG, Centred\r\nC:\\W\\" + longName + ", Tiled\r\n";
    EXPECT_EQ(Saved(), expected);
    // read back and saved again, nothing moves
    form.reset();
    OpenAndRemember();
    ASSERT_TRUE(Probe().SaveToFile());
    EXPECT_EQ(Saved(), expected);
}

// Big lists load sorted by keys made once per name; the order must be lstrcmpA's exactly,
// equal names keeping their file order.
TEST_F(ListFileTest, LoadedListsFollowTheLocaleOrderOfTheNames) {
    const std::vector<std::string> names = {"b.bmp",
                                            "B.bmp",
                                            "a-c.bmp",
                                            "ab.bmp",
                                            "co-op.bmp",
                                            "coop.bmp",
                                            "\xC9"
                                            "lan.bmp",
                                            "elan.bmp",
                                            "Elan.bmp",
                                            "10.bmp",
                                            "9.bmp",
                                            "_x.bmp",
                                            "~y.bmp",
                                            "a b.bmp",
                                            "A.BMP",
                                            "a.bmp",
                                            "A.BMP",
                                            "\xE4"
                                            "b.bmp",
                                            "zz.bmp",
                                            "'q.bmp"};
    std::string file = "[WAIT]\r\n";
    for (std::size_t i = 0; i < names.size(); ++i)
        file += "C:\\" + std::to_string(i) + "\\" + names[i] + "\r\n";
    WriteFile(ListFile(), file);
    Open();
    const CategoryList& list = Probe().ListOf(ScreenCategory::Wait);
    ASSERT_EQ(list.size(), names.size());
    for (std::size_t i = 1; i < list.size(); ++i) {
        const int order = lstrcmpA(list[i - 1].fileName.c_str(), list[i].fileName.c_str());
        EXPECT_LE(order, 0) << list[i - 1].fileName << " before " << list[i].fileName;
        if (order == 0) {
            EXPECT_LT(std::stoi(list[i - 1].folder.substr(3)), std::stoi(list[i].folder.substr(3)));
        }
    }
}

TEST_F(ListFileTest, AVeryLongLineLoadsShowsAndSavesBackUnchanged) {
    const std::string line =
        "C:\\" + std::string(200000, 'x') + "\\" + std::string(5000, 'n') + ".JPG, Mirror";
    const std::string file = std::string(kEmptyFile) + line + "\r\n";
    WriteFile(ListFile(), file);
    OpenAndRemember();
    Click(ScreenCategory::Wall);
    ASSERT_EQ(Probe().ListOf(ScreenCategory::Wall).size(), 1u);
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Wall)[0].fileName.size(), 5004u);
    UpdateWindow(Probe().ViewOf(ScreenCategory::Wall).hwnd());  // the view shows what fits
    char text[64] = {};
    ListView_GetItemText(Probe().ViewOf(ScreenCategory::Wall).hwnd(), 0, 0, text, sizeof text);
    EXPECT_EQ(std::string(text), std::string(sizeof text - 1, 'n'));
    ASSERT_TRUE(Probe().SaveToFile());
    EXPECT_TRUE(Saved() == file);
}

TEST_F(ListFileTest, AReadErrorIsReportedOnceAndKeepsTheEntriesReadSoFar) {
    const std::string line = "C:\\PICS\\P0000000.BMP\r\n";  // every entry line is as long
    std::string file = "[START]\r\n";
    for (int i = 0; i < 10000; ++i) file += line;
    WriteFile(ListFile(), file);
    faults.emplace([](win::FileStep step, int n) -> DWORD {
        return step == win::FileStep::Read && n == 2 ? ERROR_READ_FAULT : 0;
    });
    OpenAndRemember();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
    EXPECT_EQ(boxes.boxes[0].buttons, win::MsgButtons::Ok);
    EXPECT_EQ(boxes.boxes[0].text, "Error Reading file");
    // the first piece of 64 KiB holds this many whole lines; the one it cuts is not taken
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start).size(), (65536 - 9) / line.size());
    // the start-up went on
    EXPECT_TRUE(IsWindowVisible(form->hwnd()));
    EXPECT_TRUE(Probe().AutoPreview());
    EXPECT_EQ(Text(SelectCtl::LblNumber), "0 / " + std::to_string((65536 - 9) / line.size()));
}

TEST_F(ListFileTest, AFolderNamedLikeTheListFileLoadsNothingAndCannotBeSavedOver) {
    ASSERT_TRUE(CreateDirectoryA(ListFile().c_str(), nullptr));
    OpenAndRemember();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(Probe().SaveToFile());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Error 5 creating file");
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MVDATA.MVD"});
    RemoveDirectoryA(ListFile().c_str());
}

// Closing with unsaved changes: what each answer does to the window and the file.
TEST_F(ListFileTest, ClosingWithChangesAsksAndFollowsTheAnswer) {
    const std::string original = "[START]\r\nC:\\A.BMP\r\nC:\\B.BMP\r\n";
    const struct {
        win::MsgAnswer answer;
        bool closes;
        std::string file;
    } cases[] = {
        {win::MsgAnswer::Yes, true,
         "[START]\r\nC:\\B.BMP\r\n\r\n[WAIT]\r\n\r\n[SHUT]\r\n\r\n[WALLPAPER]\r\n"},
        {win::MsgAnswer::No, true, original},
        {win::MsgAnswer::Cancel, false, original},
        {win::MsgAnswer::None, false, original},  // the box closed without a button
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        WriteFile(ListFile(), original);
        OpenAndRemember();
        RemoveFirstStartEntry();
        bool previewDuringQuestion = true;
        const ScopedSeam<&win::SetMessageSeam> answer([&](const win::MessageRequest& r) {
            boxes.boxes.push_back(r);
            previewDuringQuestion = Probe().AutoPreview();
            return c.answer;
        });
        boxes.boxes.clear();
        SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Confirmation);
        EXPECT_EQ(boxes.boxes[0].buttons, win::MsgButtons::YesNoCancel);
        EXPECT_EQ(boxes.boxes[0].text, "Changes not saved!\n\rSave before exit?");
        EXPECT_FALSE(previewDuringQuestion);
        EXPECT_EQ(Closed(), c.closes);
        EXPECT_EQ(Saved(), c.file);
        if (!c.closes) {
            EXPECT_TRUE(Probe().ListsModified());
            EXPECT_TRUE(Probe().AutoPreview());
            EXPECT_EQ(Names(ScreenCategory::Start), std::vector<std::string>{"C:\\|B.BMP"});
        }
        form.reset();
    }
}

TEST_F(ListFileTest, NoQuestionWithoutChangesOrAfterASuccessfulSave) {
    WriteFile(ListFile(), "[START]\r\nC:\\A.BMP\r\nC:\\B.BMP\r\n");
    OpenAndRemember();
    SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(boxes.boxes.empty());
    form.reset();

    OpenAndRemember();
    RemoveFirstStartEntry();
    SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_SAVE1, 0), 0);  // "&Save"
    EXPECT_FALSE(Probe().ListsModified());
    EXPECT_EQ(Saved(), "[START]\r\nC:\\B.BMP\r\n\r\n[WAIT]\r\n\r\n[SHUT]\r\n\r\n[WALLPAPER]\r\n");
    SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Closed());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ListFileTest, CtrlSSavesThroughTheEventLoop) {
    OpenAndRemember();
    PressKey(Probe().ViewOf(ScreenCategory::Start).hwnd(), 'S', true);
    EXPECT_EQ(Saved(), kEmptyFile);
}

TEST_F(ListFileTest, AReadOnlyListFileGivesError5KeepsItsBytesAndTheWindowOpen) {
    const std::string original = "[START]\r\nC:\\A.BMP\r\nC:\\B.BMP\r\n";
    WriteFile(ListFile(), original);
    ASSERT_TRUE(SetFileAttributesA(ListFile().c_str(), FILE_ATTRIBUTE_READONLY));
    OpenAndRemember();
    RemoveFirstStartEntry();
    EXPECT_FALSE(Probe().SaveToFile());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
    EXPECT_EQ(boxes.boxes[0].buttons, win::MsgButtons::Ok);
    EXPECT_EQ(boxes.boxes[0].text, "Error 5 creating file");
    EXPECT_TRUE(Probe().ListsModified());

    boxes.boxes.clear();
    boxes.answers = {win::MsgAnswer::Yes, win::MsgAnswer::Ok};
    SendMessageA(form->hwnd(), WM_CLOSE, 0, 0);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Confirmation);
    EXPECT_EQ(boxes.boxes[1].text, "Error 5 creating file");
    EXPECT_FALSE(Closed());
    EXPECT_TRUE(Probe().ListsModified());
    EXPECT_EQ(Saved(), original);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MVDATA.MVD"});
}

TEST_F(ListFileTest, AListFileLockedByAnotherProgramGivesItsErrorNumber) {
    const std::string original = "[SHUT]\r\nC:\\A.SYS\r\n";
    WriteFile(ListFile(), original);
    OpenAndRemember();
    // Another program reads it and lets nobody write meanwhile.
    win::UniqueFile other(CreateFileA(ListFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(other);
    EXPECT_FALSE(Probe().SaveToFile());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, CreatingFileError(ERROR_SHARING_VIOLATION));
    other.reset();
    EXPECT_EQ(Saved(), original);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MVDATA.MVD"});
}

// A save that fails at any point leaves the old file as it was and no new file behind.
TEST_F(ListFileTest, AFailureAnywhereInTheSaveKeepsTheOldFile) {
    std::string original = "[WALLPAPER]\r\n";
    for (int i = 0; i < 6000; ++i)
        original += "C:\\WALLPAPERS\\PICTURE" + std::to_string(100000 + i) + ".JPG, Tiled\r\n";
    WriteFile(ListFile(), original);
    OpenAndRemember();
    ASSERT_EQ(Probe().ListOf(ScreenCategory::Wall).size(), 6000u);
    Click(ScreenCategory::Wall);
    Probe().ListOf(ScreenCategory::Wall).SetSelected(5999, true);
    Probe().btnRemoveClick();  // the new file is some 230 KB: four pieces are written
    const struct {
        win::FileStep step;
        int number;
        DWORD error;
        std::string message;
    } cases[] = {
        {win::FileStep::OpenTarget, 1, ERROR_LOCK_VIOLATION, "Error 33 creating file"},
        {win::FileStep::CreateTemp, 1, ERROR_DISK_FULL, "Error 112 creating file"},
        {win::FileStep::Write, 1, ERROR_DISK_FULL, "Error writing to file"},
        {win::FileStep::Write, 2, ERROR_DISK_FULL, "Error writing to file"},
        {win::FileStep::Write, 4, ERROR_WRITE_FAULT, "Error writing to file"},
        {win::FileStep::Flush, 1, ERROR_WRITE_FAULT, "Error writing to file"},
        {win::FileStep::Close, 1, ERROR_WRITE_FAULT, "Error writing to file"},
        {win::FileStep::Replace, 1, ERROR_ACCESS_DENIED, "Error writing to file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step) * 10 + c.number);
        int writes = 0;
        faults.emplace([&](win::FileStep step, int n) -> DWORD {
            if (step == win::FileStep::Write) writes = n;
            return step == c.step && n == c.number ? c.error : 0;
        });
        boxes.boxes.clear();
        EXPECT_FALSE(Probe().SaveToFile());
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Error);
        EXPECT_EQ(boxes.boxes[0].text, c.message);
        EXPECT_TRUE(Probe().ListsModified());
        EXPECT_TRUE(Saved() == original);
        EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MVDATA.MVD"});
        if (c.step == win::FileStep::Write) {
            EXPECT_EQ(writes, c.number);  // no write after the failing one
        }
    }
    // and nothing is left over that spoils the next save
    faults.reset();
    boxes.boxes.clear();
    EXPECT_TRUE(Probe().SaveToFile());
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_FALSE(Probe().ListsModified());
    const std::string last = "C:\\WALLPAPERS\\PICTURE105999.JPG, Tiled\r\n";
    EXPECT_TRUE(Saved() == "[START]\r\n\r\n[WAIT]\r\n\r\n[SHUT]\r\n\r\n" +
                               original.substr(0, original.size() - last.size()));
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MVDATA.MVD"});
}

TEST_F(ListFileTest, AFailedFirstSaveLeavesNoFileAtAll) {
    OpenAndRemember();
    faults.emplace([](win::FileStep step, int) -> DWORD {
        return step == win::FileStep::Flush ? ERROR_WRITE_FAULT : 0;
    });
    EXPECT_FALSE(Probe().SaveToFile());
    EXPECT_TRUE(ListFolder(dir.path()).empty());
}

TEST_F(ListFileTest, AHiddenListFileStaysHidden) {
    WriteFile(ListFile(), "[START]\r\nC:\\A.BMP\r\n");
    ASSERT_TRUE(SetFileAttributesA(ListFile().c_str(), FILE_ATTRIBUTE_HIDDEN));
    OpenAndRemember();
    ASSERT_EQ(Probe().ListOf(ScreenCategory::Start).size(), 1u);
    EXPECT_TRUE(Probe().SaveToFile());
    EXPECT_EQ(Saved(), "[START]\r\nC:\\A.BMP\r\n\r\n[WAIT]\r\n\r\n[SHUT]\r\n\r\n[WALLPAPER]\r\n");
    EXPECT_TRUE(GetFileAttributesA(ListFile().c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace
}  // namespace mvpr::test
