#include <gtest/gtest.h>

#include <set>

#include "system/ScreenTargets.h"

namespace mvpr {
namespace {

TEST(ScreenTargets, PathsOfEveryCategoryWithAndWithoutTheTrailingBackslash) {
    const struct {
        ScreenCategory category;
        const char* windowsDir;
        const char* target;
    } cases[] = {
        {ScreenCategory::Start, "C:\\WINDOWS", "C:\\logo.sys"},
        {ScreenCategory::Start, "C:\\WINDOWS\\", "C:\\logo.sys"},
        {ScreenCategory::Start, "D:\\", "D:\\logo.sys"},
        {ScreenCategory::Start, "D:", "D:\\logo.sys"},
        {ScreenCategory::Start, "\\\\SERVER\\SHARE\\WINDOWS", "\\\\SERVER\\SHARE\\logo.sys"},
        {ScreenCategory::Wait, "C:\\WINDOWS", "C:\\WINDOWS\\logow.sys"},
        {ScreenCategory::Wait, "C:\\WINDOWS\\", "C:\\WINDOWS\\logow.sys"},
        {ScreenCategory::Shut, "C:\\WINDOWS", "C:\\WINDOWS\\logos.sys"},
        {ScreenCategory::Shut, "E:\\WIN98\\", "E:\\WIN98\\logos.sys"},
        {ScreenCategory::Wall, "C:\\WINDOWS", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScreenTargetPath(c.category, c.windowsDir), c.target)
            << CategoryCode(c.category) << " " << c.windowsDir;

    EXPECT_EQ(BackupPath(ScreenCategory::Start, "C:\\MVPR\\"), "C:\\MVPR\\logo.bck");
    EXPECT_EQ(BackupPath(ScreenCategory::Wait, "C:\\MVPR"), "C:\\MVPR\\logow.bck");
    EXPECT_EQ(BackupPath(ScreenCategory::Shut, "C:\\MVPR\\", 12), "C:\\MVPR\\logos.12.bck");
}

TEST(ScreenTargets, BackupTakesTheFirstFreeName) {
    const struct {
        std::set<std::string> taken;
        const char* expected;
    } cases[] = {
        {{}, "P:\\logow.bck"},
        {{"P:\\logow.bck"}, "P:\\logow.1.bck"},
        {{"P:\\logow.bck", "P:\\logow.1.bck", "P:\\logow.3.bck"}, "P:\\logow.2.bck"},
        {{"P:\\logow.1.bck"}, "P:\\logow.bck"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FreeBackupPath(ScreenCategory::Wait, "P:\\",
                                 [&](const std::string& p) { return c.taken.count(p) > 0; }),
                  c.expected);
    int asked = 0;
    EXPECT_EQ(FreeBackupPath(ScreenCategory::Wait, "P:\\", [&](const std::string&) { return ++asked > 0; }),
              "");
    EXPECT_EQ(asked, kMaxBackupNumber + 1);
}

TEST(ScreenTargets, QuestionsReadAsTheUserSeesThem) {
    EXPECT_EQ(InstallSizeQuestion(640, 480),
              "This screen has an invallid size\n\rSize is : 640 x 480,\n\rSize must be 320 x 400.\n\r"
              "Do you want to cancel copying?");
    EXPECT_EQ(
        InstallDepthQuestion(PixelFormat::Bits24),
        "This screens has a incorrect bitmap color depth!\n\rColor depth : 24 bits per pixel. This should "
        "be 8 bpp.\n\rDo you want to cancel copying?");
    EXPECT_NE(InstallDepthQuestion(PixelFormat::Device).find("Color depth : Device bits per pixel."),
              std::string::npos);
}

}  // namespace
}  // namespace mvpr
