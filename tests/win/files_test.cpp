#include <optional>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "win/Files.h"
#include "ScopedSeam.h"

namespace mvpr::test {
namespace {

using win::FileStep;

// Windows 9x has no one-step move (its MoveFileExA fails as not implemented): there the old file
// goes aside, the new one in, the old one away, and any failure puts the old one back.
class ReplaceByRenames : public ::testing::Test {
  protected:
    void TearDown() override { faults.reset(); }
    std::optional<ScopedSeam<&win::SetFileFaultSeam>> faults;
    // Fails the one-step move as 9x does, and `failing` with `error`; records the steps taken.
    void As9x(FileStep failing = FileStep::Count, DWORD error = 0) {
        steps.clear();
        faults.emplace([this, failing, error](FileStep step, int) -> DWORD {
            steps.push_back(step);
            if (step == FileStep::Replace) return ERROR_CALL_NOT_IMPLEMENTED;
            return step == failing ? error : 0;
        });
    }
    TempDir dir;
    std::string path = dir / "MVDATA.MVD";
    std::vector<FileStep> steps;
};

TEST_F(ReplaceByRenames, ReplacesTheFileAndLeavesNothingBeside) {
    ASSERT_TRUE(WriteFile(path, "old"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    As9x();
    const win::ReplaceResult r = win::ReplaceFileWith(path, "new bytes");
    EXPECT_EQ(r.status, win::ReplaceStatus::Done);
    EXPECT_EQ(ReadFile(path), "new bytes");
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MVDATA.MVD"});
    const std::vector<FileStep> renames(steps.end() - 3, steps.end());
    EXPECT_EQ(renames, (std::vector<FileStep>{FileStep::SetAside, FileStep::MoveIn, FileStep::DeleteOld}));

    // the first save: nothing to set aside
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    As9x();
    EXPECT_EQ(win::ReplaceFileWith(path, "first").status, win::ReplaceStatus::Done);
    EXPECT_EQ(ReadFile(path), "first");
    EXPECT_EQ(steps.back(), FileStep::MoveIn);
    EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MVDATA.MVD"});
}

TEST_F(ReplaceByRenames, AnyFailingStepPutsTheOldFileBack) {
    const struct {
        FileStep step;
        DWORD error;
    } cases[] = {
        {FileStep::SetAside, ERROR_SHARING_VIOLATION},
        {FileStep::MoveIn, ERROR_ACCESS_DENIED},
        {FileStep::DeleteOld, ERROR_ACCESS_DENIED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        ASSERT_TRUE(WriteFile(path, "old"));
        As9x(c.step, c.error);
        const win::ReplaceResult r = win::ReplaceFileWith(path, "new bytes");
        EXPECT_EQ(r.status, win::ReplaceStatus::NotWritten);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(ReadFile(path), "old");
        EXPECT_EQ(ListFolder(dir.path()), std::vector<std::string>{"MVDATA.MVD"});
    }
}

}  // namespace
}  // namespace mvpr::test
