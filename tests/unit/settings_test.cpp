#include <gtest/gtest.h>

#include "app/Settings.h"

namespace mvpr {
namespace {

TEST(StoredValues, NumbersYesNoAndCategoriesFallBackOnAnythingButADecimalNumber) {
    struct Case {
        std::optional<std::string> stored;
        int number;  // with default 30
        bool yes;    // with default yes
        ScreenCategory category;
    } cases[] = {
        {std::nullopt, 30, true, ScreenCategory::Start},
        {"", 30, true, ScreenCategory::Start},
        {"abc", 30, true, ScreenCategory::Start},
        {"0", 0, false, ScreenCategory::Start},
        {"1", 1, true, ScreenCategory::Start},
        {"20", 20, true, ScreenCategory::Wait},
        {" 40 ", 40, true, ScreenCategory::Wall},
        {"+30", 30, true, ScreenCategory::Shut},
        {"-7", -7, true, ScreenCategory::Start},
        {"0010", 10, true, ScreenCategory::Start},
        {"+-1", 30, true, ScreenCategory::Start},
        {"++1", 30, true, ScreenCategory::Start},
        {"-", 30, true, ScreenCategory::Start},
        {"20x", 30, true, ScreenCategory::Start},
        {"2 0", 30, true, ScreenCategory::Start},
        {"0x14", 30, true, ScreenCategory::Start},
        {"$14", 30, true, ScreenCategory::Start},
        {"2147483647", 2147483647, true, ScreenCategory::Start},
        {"2147483648", 30, true, ScreenCategory::Start},  // out of range: not a number
        {"4294967316", 30, true, ScreenCategory::Start},  // 20 once it wrapped: must not read as Wait
        {"25", 25, true, ScreenCategory::Start},
    };
    for (const auto& c : cases) {
        const std::string shown = c.stored ? "\"" + *c.stored + "\"" : "absent";
        EXPECT_EQ(NumberOr(c.stored, 30), c.number) << shown;
        EXPECT_EQ(YesNoOr(c.stored, true), c.yes) << shown;
        EXPECT_EQ(CategoryOr(c.stored), c.category) << shown;
    }
    EXPECT_FALSE(YesNoOr(std::nullopt, false));
    EXPECT_FALSE(YesNoOr("x", false));
    EXPECT_EQ(YesNoText(true), "1");
    EXPECT_EQ(YesNoText(false), "0");
    EXPECT_EQ(FailedToSetData("PreviewShow"), "Failed to set data for 'PreviewShow'");
}

TEST(RunEntry, QuotedWhenThePathHasABlankAndAlwaysReadBackAsTheRandomizer) {
    EXPECT_EQ(RandomizerRunEntry("C:\\MVPR\\"), "C:\\MVPR\\MVRandom.exe");
    EXPECT_EQ(RandomizerRunEntry("C:\\Program Files\\MVPR\\"), "\"C:\\Program Files\\MVPR\\MVRandom.exe\"");
    for (const char* dir : {"C:\\MVPR\\", "C:\\Program Files\\MVPR\\", "D:\\", "\\\\server\\my share\\"})
        EXPECT_TRUE(NamesRandomizer(RandomizerRunEntry(dir))) << dir;

    struct Case {
        const char* entry;
        bool names;
    } cases[] = {
        {"C:\\MVPR\\MVRandom.exe", true},
        {"d:\\other place\\mvrandom.EXE", true},  // elsewhere, unquoted, any case
        {"A:MVRANDOM.EXE", true},                 // after a colon
        {"MVRandom.exe", true},
        {"\"C:\\Program Files\\MVPR\\MVRandom.exe\" /quiet", true},  // after the closing quote: ignored
        {"\"C:\\Program Files\\MVPR\\MVRandom.exe", true},           // no closing quote
        {"\"MVRandom.exe\"", true},
        {"", false},
        {"\"\"", false},
        {"C:\\MVPR\\MVRandom.exe /quiet", false},  // unquoted arguments belong to the name
        {"C:\\MVPR\\Other.exe", false},
        {"C:\\MVRandom.exe\\Other.exe", false},
        {"C:\\MVPR\\XMVRandom.exe", false},
        {"\"C:\\MVPR\\Other.exe\" C:\\MVPR\\MVRandom.exe", false},
        {"C:\\MVPR\\MVRandom.exe\"", false},  // a quote only at the end stays part of the name
    };
    for (const auto& c : cases) EXPECT_EQ(NamesRandomizer(c.entry), c.names) << c.entry;
}

}  // namespace
}  // namespace mvpr
