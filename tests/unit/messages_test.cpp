#include <gtest/gtest.h>

#include "app/PreviewTexts.h"
#include "imaging/ScreenRule.h"

namespace mvpr {
namespace {

TEST(ScreenRule, OnlyExactly320By400With8BitsPasses) {
    EXPECT_TRUE(MeetsScreenRule(320, 400, PixelFormat::Bits8));
    EXPECT_FALSE(MeetsScreenRule(320, 400, PixelFormat::Bits4));
    EXPECT_FALSE(MeetsScreenRule(320, 400, PixelFormat::Device));
    EXPECT_FALSE(MeetsScreenRule(319, 400, PixelFormat::Bits8));
    EXPECT_FALSE(MeetsScreenRule(321, 400, PixelFormat::Bits8));
    EXPECT_FALSE(MeetsScreenRule(320, 399, PixelFormat::Bits8));
    EXPECT_FALSE(MeetsScreenRule(320, 401, PixelFormat::Bits8));
    EXPECT_FALSE(MeetsScreenRule(400, 320, PixelFormat::Bits8));
    EXPECT_FALSE(MeetsScreenRule(0, 0, PixelFormat::Bits8));
}

TEST(AddMessages, SizeAndDepthMessagesReadAsTheUserSeesThem) {
    EXPECT_EQ(SizeErrorMessage("C:\\PICS\\SUNSET.BMP", 640, 480),
              "Size Error C:\\PICS\\SUNSET.BMP,\n\rInvallid Width or Height.\n\rSize is : 640 x 480,\n\r"
              "Size must be 320 x 400.");
    EXPECT_EQ(
        SizeErrorMessage("C:\\X.BMP", 0, 0),
        "Size Error C:\\X.BMP,\n\rInvallid Width or Height.\n\rSize is : 0 x 0,\n\rSize must be 320 x 400.");
    EXPECT_EQ(DepthErrorMessage("C:\\A.BMP", PixelFormat::Bits24),
              "Pixel Format Error C:\\A.BMP,\n\rInvallid Pixel depth.\n\rPixel depth is : 24 bpp\n\r"
              "Pixel depth must be 8 bpp.");
    EXPECT_NE(DepthErrorMessage("C:\\A.BMP", PixelFormat::Custom).find("Pixel depth is : Custom bpp\n\r"),
              std::string::npos);
    EXPECT_EQ(UnreadableErrorMessage("C:\\G.BMP"),
              "Read Error C:\\G.BMP,\n\rThe file could not be read as a bitmap.");
}

TEST(PreviewTexts, HintAndFileInformation) {
    EXPECT_EQ(SizeHintText(320, 400), "Size : 320 X 400");
    EXPECT_EQ(FileInfoText(320, 400, PixelFormat::Bits8), "Size : 320 X 400\n\rBits per pixel : 8\n\r");
    EXPECT_EQ(FileInfoText(0, 0, PixelFormat::Device), "Size : 0 X 0\n\rBits per pixel : Device\n\r");
    EXPECT_EQ(UnreadableInfoText("C:\\G.BMP", "bitmap"),
              "No picture : C:\\G.BMP\n\rThe file could not be read as a bitmap.\n\r");
}

}  // namespace
}  // namespace mvpr
