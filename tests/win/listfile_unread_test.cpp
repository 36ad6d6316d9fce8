// A list file that is there but could not be read at start-up is never lost by the next save.
#include <optional>
#include <string>

#include "FormFixture.h"
#include "lists/ListTexts.h"
#include "win/Files.h"
#include "ScopedSeam.h"

namespace mvpr::test {
namespace {

class UnreadListFile : public FormTest {
  protected:
    void TearDown() override {
        faults.reset();
        FormTest::TearDown();
    }
    std::optional<ScopedSeam<&win::SetFileFaultSeam>> faults;
    std::string ListFile() const { return dir / "MVDATA.MVD"; }
    std::string Backup() const { return dir / "MVDATA.BAK"; }
    void ChangeAndSave() {
        Probe().ListOf(ScreenCategory::Shut).Add({"NEW.SYS", "C:\\", "", false});
        SendMessageA(form->hwnd(), WM_COMMAND, MAKEWPARAM(IDM_SAVE1, 0), 0);
    }
    const std::string old_ =
        "[START]\r\nC:\\PICS\\KEEP.BMP\r\n\r\n[WAIT]\r\n\r\n[SHUT]\r\n\r\n[WALLPAPER]\r\n";
};

TEST_F(UnreadListFile, ALockedFileAtStartIsKeptAsideByTheFirstSave) {
    WriteFile(ListFile(), old_);
    {
        // another program holds the file while this one starts
        HANDLE lock = CreateFileA(ListFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        Open();
        CloseHandle(lock);
    }
    EXPECT_TRUE(boxes.boxes.empty());  // as for a missing file: nothing is said
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start).size(), 0u);
    ChangeAndSave();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(ReadFile(Backup()), old_);
    EXPECT_NE(ReadFile(ListFile()).find("C:\\NEW.SYS\r\n"), std::string::npos);
    // only the first save keeps the old file aside: the next one has nothing unseen to keep
    WriteFile(Backup(), "older");
    ChangeAndSave();
    EXPECT_EQ(ReadFile(Backup()), "older");
}

TEST_F(UnreadListFile, AFileWithAReadErrorIsKeptAsideToo) {
    WriteFile(ListFile(), old_);
    faults.emplace(
        [](win::FileStep step, int) -> DWORD { return step == win::FileStep::Read ? ERROR_READ_FAULT : 0; });
    Open();
    faults.reset();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Error Reading file");
    ChangeAndSave();
    EXPECT_EQ(ReadFile(Backup()), old_);
}

// Hand-edited: a byte-order mark is read past; entries under a misspelt header are kept aside
// with the whole file by the first save, which says so once.
TEST_F(UnreadListFile, LinesUnderAMisspeltHeaderAreKeptAsideByTheFirstSave) {
    const std::string edited = "\xEF\xBB\xBF[START]\r\nC:\\A.BMP\r\n[STRAT]\r\nC:\\LOST.BMP\r\n";
    WriteFile(ListFile(), edited);
    Open();
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start).size(), 1u);
    EXPECT_TRUE(boxes.boxes.empty());
    ChangeAndSave();
    EXPECT_EQ(ReadFile(Backup()), edited);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, win::MsgKind::Information);
    EXPECT_EQ(boxes.boxes[0].text, kSkippedLinesKept);
    ChangeAndSave();
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST_F(UnreadListFile, AFileReadWellIsReplacedWithoutABackup) {
    WriteFile(ListFile(), old_);
    Open();
    EXPECT_EQ(Probe().ListOf(ScreenCategory::Start).size(), 1u);
    ChangeAndSave();
    EXPECT_FALSE(FileExists(Backup()));
    EXPECT_NE(ReadFile(ListFile()).find("C:\\PICS\\KEEP.BMP\r\n"), std::string::npos);
}

}  // namespace
}  // namespace mvpr::test
