// The resampler behind every scaled picture: previews, stretched wallpapers and converted screens.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/ImagingSamples.h"
#include "imaging/PixelRows.h"
#include "imaging/Resample.h"
#include "imaging/StyleRenderer.h"

namespace mvpr {
namespace {

Picture Make24(int w, int h, const std::function<Bgra(int, int)>& colour) {
    Picture p = *Picture::Create(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Bgra c = colour(x, y);
            std::uint8_t* q = p.Row(y) + 3 * x;
            q[0] = c.b, q[1] = c.g, q[2] = c.r;
        }
    return p;
}

Bgra At(const Picture& p, int x, int y) {
    const std::uint8_t* q = p.Row(y) + 4 * x;
    return {q[0], q[1], q[2], q[3]};
}

TEST(ToBgra32, EveryDepthGivesTheColoursTheDecoderSees) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        Picture p = *Picture::Create(13, 5, bits);
        for (std::size_t i = 0; i < p.Palette().size(); ++i)
            p.Palette()[i] = samples::Pattern(static_cast<int>(i), 1);
        for (std::size_t i = 0; i < p.ByteSize(); ++i) p.Bytes()[i] = static_cast<std::uint8_t>(i * 37 + 11);
        const auto q = ToBgra32(p);
        ASSERT_TRUE(q) << bits;
        ASSERT_EQ(q->BitsPerPixel(), 32);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 13; ++x) {
                Bgra want = p.ColorAt(x, y);
                EXPECT_EQ(At(*q, x, y), want) << bits << " bpp at " << x << "," << y;
            }
    }
    EXPECT_FALSE(ToBgra32(Picture{}));
}

TEST(ResamplePicture, FlatColourStaysExactAtAnySize) {
    const Picture flat = Make24(37, 23, [](int, int) { return Bgra{200, 17, 99, 255}; });
    const struct {
        int w, h;
    } sizes[] = {{1, 1}, {37, 23}, {36, 22}, {38, 24}, {111, 5}, {3, 400}, {320, 400}, {1000, 999}};
    for (const auto& s : sizes) {
        const auto r = ResamplePicture(flat, s.w, s.h);
        ASSERT_TRUE(r);
        ASSERT_EQ(r->Width(), s.w);
        ASSERT_EQ(r->Height(), s.h);
        for (int y = 0; y < s.h; y += 7)
            for (int x = 0; x < s.w; x += 5)
                ASSERT_EQ(At(*r, x, y), (Bgra{200, 17, 99, 255})) << s.w << "x" << s.h;
    }
}

TEST(ResamplePicture, ShrinkAveragesAreasAndGrowInterpolatesCentres) {
    // Halving: each target pixel is the rounded mean of its 2 x 2 block.
    const Picture p = Make24(4, 2, [](int x, int y) {
        const std::uint8_t v = static_cast<std::uint8_t>(x * 60 + y * 10);
        return Bgra{v, v, v, 255};
    });
    const auto half = ResamplePicture(p, 2, 1);
    ASSERT_TRUE(half);
    EXPECT_EQ(At(*half, 0, 0).g, 35);   // (0 + 60 + 10 + 70) / 4
    EXPECT_EQ(At(*half, 1, 0).g, 155);  // (120 + 180 + 130 + 190) / 4
    // A third: target pixel 1 of 3 from 4 covers source 4/3..8/3 -> 2/3 of pixel 1, 2/3 of pixel 2.
    const auto third = ResamplePicture(p, 3, 2);
    ASSERT_TRUE(third);
    EXPECT_EQ(At(*third, 1, 0).g, 90);
    // Doubling 0..255: centres at -0.25 (clamped), 0.25, 0.75, 1.25 (clamped).
    const Picture two = Make24(2, 1, [](int x, int) {
        return Bgra{0, static_cast<std::uint8_t>(x * 255), 0, 255};
    });
    const auto four = ResamplePicture(two, 4, 1);
    ASSERT_TRUE(four);
    const int want[] = {0, 64, 191, 255};
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(*four, x, 0).g, want[x]) << x;
}

TEST(ResamplePicture, GradientsKeepTheirOrderAndEdges) {
    const Picture ramp = Make24(1000, 3, [](int x, int) {
        return Bgra{static_cast<std::uint8_t>(x * 255 / 999), 0, 0, 255};
    });
    for (int w : {37, 999, 1001, 4000}) {
        const auto r = ResamplePicture(ramp, w, 7);
        ASSERT_TRUE(r);
        EXPECT_LE(At(*r, 0, 3).b, 4) << w;
        EXPECT_GE(At(*r, w - 1, 3).b, 251) << w;
        for (int x = 1; x < w; ++x) ASSERT_LE(At(*r, x - 1, 3).b, At(*r, x, 3).b) << w << " at " << x;
    }
}

TEST(ResamplePicture, RefusesWhatItCannotMake) {
    const Picture one = Make24(1, 1, [](int, int) { return Bgra{1, 2, 3, 255}; });
    EXPECT_FALSE(ResamplePicture(Picture{}, 10, 10));
    EXPECT_FALSE(ResamplePicture(one, 0, 10));
    EXPECT_FALSE(ResamplePicture(one, 10, -1));
    EXPECT_FALSE(ResamplePicture(one, 40000, 40000));
    DecodeLimits small;
    small.maxBytes = 1000;
    EXPECT_FALSE(ResamplePicture(one, 16, 16, small));
    const auto big = ResamplePicture(one, 15, 16, small);  // 960 bytes
    ASSERT_TRUE(big);
    EXPECT_EQ(At(*big, 14, 15), (Bgra{1, 2, 3, 255}));
}

// The plain rows and the SSE2 rows give the same bytes: every depth the converter reads, with
// random pixels (every level, alpha included), scaled to sizes that shrink, grow, keep one axis or
// leave odd pixels at a row's end, and rendered in every style.
TEST(PixelPaths, PlainAndSse2GiveTheSameBytes) {
    SetPixelPath(PixelPath::Sse2);
    if (ActivePixelPath() != PixelPath::Sse2) GTEST_SKIP() << "no SSE2 here";
    std::mt19937 rng(20);
    std::vector<Picture> sources;
    for (const auto& [w, h, bits] : {std::tuple{37, 23, 24}, std::tuple{97, 61, 32}, std::tuple{1, 1, 24},
                                     std::tuple{5, 300, 8}, std::tuple{301, 7, 16}}) {
        Picture p = *Picture::Create(w, h, bits);
        for (std::size_t i = 0; i < p.Palette().size(); ++i)
            p.Palette()[i] = samples::Pattern(static_cast<int>(i), 3);
        for (std::uint8_t& b : p.Bytes()) b = static_cast<std::uint8_t>(rng());
        sources.push_back(p);
    }
    Picture withAlpha = sources[1];  // the fourth byte as alpha, kept through the scaling
    withAlpha.SetExplicitMasks({0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u});
    sources.push_back(withAlpha);
    const auto both = [](const std::function<std::optional<Picture>()>& make) {
        SetPixelPath(PixelPath::Plain);
        const auto plain = make();
        SetPixelPath(PixelPath::Sse2);
        const auto sse2 = make();
        return plain && sse2 && *plain == *sse2;
    };
    const struct {
        int w, h;
    } sizes[] = {{1, 1}, {2, 3}, {36, 22}, {38, 24}, {111, 5}, {3, 400}, {97, 30}, {640, 480}, {13, 61}};
    for (const Picture& src : sources) {
        const std::string what = std::to_string(src.Width()) + "x" + std::to_string(src.Height()) + "x" +
                                 std::to_string(src.BitsPerPixel());
        for (const auto& s : sizes)
            EXPECT_TRUE(both([&] { return ResamplePicture(src, s.w, s.h); }))
                << what << " to " << s.w << "x" << s.h;
        for (DisplayStyle style : {DisplayStyle::Centred, DisplayStyle::Stretched, DisplayStyle::Tiled,
                                   DisplayStyle::Fit2Screen, DisplayStyle::Mirror})
            EXPECT_TRUE(both([&] { return RenderWorkFile(src, style, 203, 117); }))
                << what << " " << DisplayStyleText(style);
    }
}

}  // namespace
}  // namespace mvpr
