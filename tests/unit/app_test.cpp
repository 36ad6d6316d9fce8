#include <gtest/gtest.h>

#include "app/CommandLine.h"
#include "system/VersionText.h"

namespace mvpr {
namespace {

TEST(SplitFileVersion, CutsLastTwoFieldsForVersionAndLastOneForBuild) {
    struct Case {
        const char* input;
        const char* version;
        const char* build;
    } cases[] = {
        {"2.7.0.12", "2.7", "12"},
        {"2.7.12", "2", "12"},
        {"2.7", "", "7"},  // one dot: no version left, the field after it is the build
        {"27", "27", ""},  // no dot at all
        {"", "2.7", ""},   // no FileVersion value
        {".", "", ""},
        {"..", "", ""},
        {"2.7.0.", "2.7", ""},
        {".12", "", "12"},
        {"1.2.3.4.5", "1.2.3", "5"},
    };
    for (const auto& c : cases) {
        const VersionTexts t = SplitFileVersion(c.input);
        EXPECT_EQ(t.version, c.version) << "for \"" << c.input << "\"";
        EXPECT_EQ(t.build, c.build) << "for \"" << c.input << "\"";
    }
}

TEST(UninstallSwitch, FirstLetterUAfterAtMostOnePrefix) {
    for (const char* yes : {"/u", "-U", "+u", "u", "/uninstall", "update", "Uninstall", "/U", "+U", "-u"})
        EXPECT_TRUE(IsUninstallSwitch(yes)) << yes;
    for (const char* no : {"//u", "x", "", "/", "-", "+", "/X", "--u", "+-u", " u", "\xDC"})
        EXPECT_FALSE(IsUninstallSwitch(no)) << no;
}

TEST(UninstallSwitch, OneMatchingParameterAmongOthersIsEnough) {
    EXPECT_TRUE(HasUninstallSwitch({"/x", "", "-u", "foo"}));
    EXPECT_FALSE(HasUninstallSwitch({"/x", "", "//u"}));
    EXPECT_FALSE(HasUninstallSwitch({}));
}

}  // namespace
}  // namespace mvpr
