#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "imaging/BmpCodec.h"
#include "imaging/StyleRenderer.h"
#include "support/ImagingSamples.h"
#include "support/PictureAssertions.h"

namespace mvpr {
namespace {

using samples::PatternPicture;
using samples::SamePixels;

TEST(StyleGeometry, PlacementsOnA1024x768Screen) {
    struct Case {
        std::string what;
        std::optional<PixelRect> got, want;
    };
    const Case cases[] = {
        {"centred 800x600", CentredPlacement(800, 600, 1024, 768), PixelRect{112, 84, 800, 600}},
        {"centred 1025x768 loses its right column", CentredPlacement(1025, 768, 1024, 768),
         PixelRect{0, 0, 1025, 768}},
        {"centred -3 halves to -1", CentredPlacement(1027, 771, 1024, 768), PixelRect{-1, -1, 1027, 771}},
        {"centred odd excess", CentredPlacement(3, 5, 10, 10), PixelRect{3, 2, 3, 5}},
        {"centred 0 wide", CentredPlacement(0, 600, 1024, 768), std::nullopt},
        {"fit equal ratio", FitPlacement(800, 600, 1024, 768), PixelRect{0, 0, 1024, 768}},
        {"fit tall", FitPlacement(400, 600, 1024, 768), PixelRect{256, 0, 512, 768}},
        {"fit wide", FitPlacement(1600, 900, 1024, 768), PixelRect{0, 96, 1024, 576}},
        {"fit 1.5 to even", FitPlacement(2048, 3, 1024, 768), PixelRect{0, 383, 1024, 2}},
        {"fit 2.5 to even", FitPlacement(2048, 5, 1024, 768), PixelRect{0, 383, 1024, 2}},
        {"fit sliver keeps a pixel", FitPlacement(1, 30000, 1024, 768), PixelRect{511, 0, 1, 768}},
        {"fit huge source", FitPlacement(2147483647, 1, 1024, 768), PixelRect{0, 383, 1024, 1}},
        {"fit 0 high", FitPlacement(400, 0, 1024, 768), std::nullopt},
        {"fit 0 screen", FitPlacement(400, 300, 0, 768), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;

    EXPECT_EQ(TileCount(300, 200, 1024, 768),
              (TileGrid{3, 3}));  // draws at 0,300,600,900; the last cut to 124/168
    EXPECT_EQ(TileCount(2000, 2000, 1024, 768), (TileGrid{0, 0}));
    EXPECT_EQ(TileCount(0, 200, 1024, 768), std::nullopt);
    EXPECT_EQ(MirrorTile(1, 0, 300, 200), (MirrorRect{599, 0, 299, 200}));
    EXPECT_EQ(MirrorTile(0, 1, 300, 200), (MirrorRect{0, 399, 300, 199}));
    EXPECT_EQ(MirrorTile(1, 1, 300, 200), (MirrorRect{599, 399, 299, 199}));
    constexpr std::int64_t kFar = 65536LL * 65536;  // past every int: computed in 64 bits
    EXPECT_EQ(MirrorTile(65535, 65535, 65536, 65536),
              (MirrorRect{kFar - 1, kFar - 1, kFar - 65537, kFar - 65537}));

    EXPECT_EQ(ViewPlacement(DisplayStyle::Centred, 800, 600, 1024, 768, 1024, 768),
              (PixelRect{112, 84, 800, 600}));
    EXPECT_EQ(ViewPlacement(DisplayStyle::Stretched, 800, 600, 1000, 700, 1024, 768),
              (PixelRect{0, 0, 1000, 700}));
    EXPECT_EQ(ViewPlacement(DisplayStyle::Fit2Screen, 512, 768, 1000, 700, 1024, 768),
              (PixelRect{256, 0, 512, 768}));
    EXPECT_EQ(ViewPlacement(DisplayStyle::Mirror, 1024, 768, 1000, 700, 1024, 768),
              (PixelRect{0, 0, 1024, 768}));
}

// Tiles and mirrored tiles pixel by pixel: the 300x200 tile, odd sizes with cut edges, a source
// bigger than the screen (cut, never scaled) and a one-pixel source.
TEST(StyleRenderer, TiledAndMirroredPixels) {
    struct Case {
        int w, h, screenW, screenH;
    };
    for (const Case c : {Case{300, 200, 1024, 768}, Case{7, 5, 23, 11}, Case{3, 1, 10, 4}, Case{1, 1, 3, 2},
                         Case{2000, 2000, 1024, 768}, Case{9, 3, 5, 7}}) {
        const Picture src = PatternPicture(c.w, c.h);
        const std::string what = std::to_string(c.w) + "x" + std::to_string(c.h) + " on " +
                                 std::to_string(c.screenW) + "x" + std::to_string(c.screenH);
        auto tiled = RenderWorkFile(src, DisplayStyle::Tiled, c.screenW, c.screenH);
        ASSERT_TRUE(tiled) << what;
        EXPECT_EQ(tiled->BitsPerPixel(), 32);
        EXPECT_TRUE(SamePixels(*tiled, c.screenW, c.screenH, [&](int x, int y) {
            return samples::Pattern(x % c.w, y % c.h);
        })) << what;
        auto mirror = RenderWorkFile(src, DisplayStyle::Mirror, c.screenW, c.screenH);
        ASSERT_TRUE(mirror) << what;
        EXPECT_TRUE(SamePixels(*mirror, c.screenW, c.screenH, [&](int x, int y) {
            const MirrorRect r = MirrorTile(x / c.w, y / c.h, c.w, c.h);
            const auto sx = r.left < r.right ? x - r.left : r.left - x;
            const auto sy = r.top < r.bottom ? y - r.top : r.top - y;
            return samples::Pattern(static_cast<int>(sx), static_cast<int>(sy));
        })) << what;
    }
}

// The work file's size per style on a 1024x768 screen; a flat source stays flat when scaled.
TEST(StyleRenderer, WorkFileSizePerStyle) {
    struct Case {
        DisplayStyle style;
        int w, h, wantW, wantH;
    };
    const Case cases[] = {
        {DisplayStyle::Centred, 800, 600, 800, 600},      {DisplayStyle::Stretched, 800, 600, 800, 600},
        {DisplayStyle::Tiled, 300, 200, 1024, 768},       {DisplayStyle::Mirror, 300, 200, 1024, 768},
        {DisplayStyle::Fit2Screen, 1600, 900, 1024, 576}, {DisplayStyle::Fit2Screen, 400, 600, 512, 768},
        {DisplayStyle::Fit2Screen, 800, 600, 1024, 768},  {DisplayStyle::Centred, 2000, 2000, 2000, 2000},
        {DisplayStyle::Fit2Screen, 3, 2000, 1, 768},
    };
    for (const Case& c : cases) {
        auto src = Picture::Create(c.w, c.h, 24);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) src->Row(y)[3 * x + 1] = 77;
        auto work = RenderWorkFile(*src, c.style, 1024, 768);
        ASSERT_TRUE(work) << DisplayStyleText(c.style);
        EXPECT_TRUE(SamePixels(*work, c.wantW, c.wantH,
                               [](int, int) {
                                   return Bgra{0, 77, 0, 255};
                               }))
            << DisplayStyleText(c.style) << " " << c.w << "x" << c.h;
    }
}

TEST(StyleRenderer, WorkFileSizesAndDepths) {
    // An 8-bit source keeps its colours through the palette.
    auto indexed = Picture::Create(3, 2, 8);
    indexed->Palette()[1] = {10, 20, 30, 0};
    indexed->Row(1)[2] = 1;
    for (DisplayStyle style : {DisplayStyle::Centred, DisplayStyle::Stretched}) {
        auto work = RenderWorkFile(*indexed, style, 1024, 768);
        ASSERT_TRUE(work);
        EXPECT_TRUE(SamePixels(*work, 3, 2, [](int x, int y) {
            return x == 2 && y == 1 ? Bgra{10, 20, 30, 255} : Bgra{0, 0, 0, 255};
        }));
    }
    EXPECT_EQ(RenderWorkFile(*indexed, DisplayStyle::Tiled, 1024, 768)->Width(), 1024);
    for (DisplayStyle style : {DisplayStyle::Centred, DisplayStyle::Stretched, DisplayStyle::Tiled,
                               DisplayStyle::Fit2Screen, DisplayStyle::Mirror}) {
        EXPECT_FALSE(RenderWorkFile(Picture{}, style, 1024, 768)) << DisplayStyleText(style);
        EXPECT_FALSE(RenderWorkFile(*indexed, style, 0, 768)) << DisplayStyleText(style);
    }

    // The file at the display's depth: 16 is plain 5-5-5, anything but 16 or 32 gives 24.
    const Picture src = PatternPicture(5, 3);
    auto work = RenderWorkFile(src, DisplayStyle::Centred, 1024, 768);
    struct Depth {
        int display, file;
    };
    for (const Depth d : {Depth{16, 16}, Depth{24, 24}, Depth{32, 32}, Depth{8, 24}, Depth{0, 24}}) {
        auto bytes = EncodeWorkFile(*work, d.display);
        ASSERT_TRUE(bytes);
        const DecodeResult r = DecodeBmp(*bytes);
        ASSERT_TRUE(r.Ok()) << d.display;
        EXPECT_EQ(r.picture.BitsPerPixel(), d.file);
        EXPECT_EQ(r.picture.Format(), d.file == 16   ? PixelFormat::Bits15
                                      : d.file == 24 ? PixelFormat::Bits24
                                                     : PixelFormat::Bits32);
        const auto level = [&](std::uint8_t v) {
            if (d.file != 16) return v;
            const int five = (v * 31 + 127) / 255;
            return static_cast<std::uint8_t>((five * 255 + 15) / 31);
        };
        EXPECT_TRUE(SamePixels(r.picture, 5, 3, [&](int x, int y) {
            const Bgra c = samples::Pattern(x, y);
            return Bgra{level(c.b), level(c.g), level(c.r), 255};
        })) << d.display;
    }
    EXPECT_FALSE(EncodeWorkFile(Picture{}, 32));
}

// A rendering into a kept buffer (bigger, smaller, of another depth before) is the fresh
// rendering, and the file written in pieces of any size is the file made whole, also from a
// rendering made at the file's depth.
TEST(StyleRenderer, KeptBuffersAndPiecesGiveTheSameFile) {
    auto indexed = Picture::Create(9, 4, 8);
    indexed->Palette()[1] = {10, 20, 30, 0};
    indexed->Row(1)[2] = 1;
    const Picture sources[] = {PatternPicture(300, 200), PatternPicture(7, 5, 32), *indexed};
    struct Screen {
        int w, h;
    };
    Picture kept = *Picture::Create(1, 1, 8);
    for (DisplayStyle style : {DisplayStyle::Centred, DisplayStyle::Stretched, DisplayStyle::Tiled,
                               DisplayStyle::Fit2Screen, DisplayStyle::Mirror})
        for (const Picture& src : sources)
            for (const Screen s : {Screen{640, 480}, Screen{33, 17}}) {
                SCOPED_TRACE(std::string(DisplayStyleText(style)) + " " + std::to_string(src.Width()) +
                             " at " + std::to_string(s.w));
                const auto fresh = RenderWorkFile(src, style, s.w, s.h);
                ASSERT_TRUE(fresh);
                ASSERT_TRUE(RenderWorkFileInto(src, style, s.w, s.h, kept));
                EXPECT_TRUE(kept == *fresh);
                for (int bits : {16, 24, 32}) {
                    const auto whole = EncodeWorkFile(*fresh, bits);
                    ASSERT_TRUE(whole);
                    ASSERT_TRUE(RenderWorkFileInto(src, style, s.w, s.h, kept, bits));
                    for (std::size_t piece : {1, 100, 4096}) {
                        std::vector<std::uint8_t> pieces;
                        EXPECT_TRUE(WriteWorkFile(
                            kept, bits,
                            [&](std::span<const std::uint8_t> p) {
                                pieces.insert(pieces.end(), p.begin(), p.end());
                                return true;
                            },
                            piece));
                        EXPECT_TRUE(pieces == *whole) << bits << " bits, pieces of " << piece;
                    }
                }
            }
    EXPECT_FALSE(RenderWorkFileInto(kept, DisplayStyle::Centred, 640, 480, kept));
    EXPECT_FALSE(WriteWorkFile(kept, 32, [](std::span<const std::uint8_t>) { return false; }));
}

}  // namespace
}  // namespace mvpr
