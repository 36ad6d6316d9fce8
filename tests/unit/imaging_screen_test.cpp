#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "imaging/BmpCodec.h"
#include "imaging/Quantizer.h"
#include "imaging/ScreenConverter.h"
#include "imaging/ScreenRule.h"

namespace mvpr {
namespace {

using Colour = std::function<Bgra(int x, int y)>;

Picture Make(int w, int h, int bpp, const Colour& colour) {
    Picture p = *Picture::Create(w, h, bpp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Bgra c = colour(x, y);
            std::uint8_t* px = p.Row(y) + x * (bpp / 8);
            px[0] = c.b, px[1] = c.g, px[2] = c.r;
            if (bpp == 32) px[3] = 255;
        }
    return p;
}

// An 8-bit picture with 256 distinct colours, each used, in a scattered order.
Picture Indexed256(bool withBlack) {
    Picture p = *Picture::Create(kScreenWidth, kScreenHeight, 8);
    for (int i = 0; i < 256; ++i)
        p.Palette()[static_cast<std::size_t>(i)] =
            Bgra{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i),
                 static_cast<std::uint8_t>(255 - i), 0};
    if (withBlack) p.Palette()[7] = Bgra{0, 0, 0, 0};
    std::mt19937 rng(5);
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x)
            p.Row(y)[x] = static_cast<std::uint8_t>((x + y * 7) % 256 ^ (rng() % 2));
    return p;
}

bool SameRgb(Bgra a, Bgra b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

const Bgra kBlack{0, 0, 0, 0}, kBlue{255, 0, 0, 0}, kRed{0, 0, 255, 0}, kGreen{0, 255, 0, 0};

// Every screen, whatever the picture and options, is a valid screen file; each row then checks
// what is particular to its case on the decoded screen (and the picture it came from).
TEST(MakeScreen, EveryPictureGivesAValidScreenWithTheExpectedPixels) {
    std::mt19937 rng(11);
    const Picture ramp = Make(1000, 750, 24, [](int x, int y) {
        return Bgra{128, static_cast<std::uint8_t>(y * 255 / 749), static_cast<std::uint8_t>(x * 255 / 999),
                    0};
    });
    const Picture noise = Make(333, 257, 24, [&](int, int) {
        return Bgra{static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()),
                    static_cast<std::uint8_t>(rng()), 0};
    });
    const Picture halves = Make(1280, 480, 32, [](int x, int) { return x < 640 ? kRed : kGreen; });
    const Picture one = Make(1, 1, 24, [](int, int) { return kRed; });
    const Picture wide = Make(10000, 10, 24, [](int x, int) {
        return Bgra{0, static_cast<std::uint8_t>(x % 200 + 50), 200, 0};
    });
    // Indexed pictures of other shapes: cropped in their own depth (8 bits) or through 32 (4 bits).
    const auto paletted = [](int bpp) {
        Picture p = *Picture::Create(900, 300, bpp);
        for (std::size_t i = 0; i < p.Palette().size(); ++i)
            p.Palette()[i] =
                Bgra{static_cast<std::uint8_t>(i * 16), 200, static_cast<std::uint8_t>(255 - i), 0};
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 900; ++x) {
                const auto v = static_cast<std::uint8_t>((x / 7 + y / 5) % (1 << bpp));
                if (bpp == 8) p.Row(y)[x] = v;
                if (bpp == 4) p.Row(y)[x / 2] |= static_cast<std::uint8_t>(v << (x % 2 ? 0 : 4));
            }
        return p;
    };
    const Picture indexed8 = paletted(8), indexed4 = paletted(4), indexed = Indexed256(true),
                  noBlack = Indexed256(false);
    using Check = std::function<bool(const Picture&)>;
    // Mean red of a column or green of a row.
    const auto column = [](const Picture& s, int x) {
        double sum = 0;
        for (int y = 0; y < s.Height(); ++y) sum += s.ColorAt(x, y).r;
        return sum / s.Height();
    };
    const auto row = [](const Picture& s, int y) {
        double sum = 0;
        for (int x = 0; x < s.Width(); ++x) sum += s.ColorAt(x, y).g;
        return sum / s.Width();
    };
    // How many of the source's palette entries show up changed on the screen.
    const auto changedColours = [](const Picture& s, const Picture& src) {
        std::vector<int> wrong(256);
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x)
                wrong[src.Row(y)[x]] += !SameRgb(s.ColorAt(x, y), src.ColorAt(x, y));
        return std::count_if(wrong.begin(), wrong.end(), [](int n) { return n > 0; });
    };
    const auto onlyColoursOf = [](const Picture& src) -> Check {
        return [&src](const Picture& s) {
            for (int y = 0; y < s.Height(); ++y)
                for (int x = 0; x < s.Width(); ++x)
                    if (std::none_of(src.Palette().begin(), src.Palette().end(),
                                     [&](const Bgra& p) { return SameRgb(p, s.ColorAt(x, y)); }))
                        return false;
            return true;
        };
    };
    const auto everywhere = [](Bgra colour) -> Check {
        return [colour](const Picture& s) {
            return SameRgb(s.ColorAt(0, 0), colour) && SameRgb(s.ColorAt(319, 399), colour);
        };
    };
    ScreenOptions fitBlue, fill, plain;
    fitBlue.bars = kBlue;
    fill.fit = ScreenFit::Fill;
    plain.dither = false;
    const auto fillAt = [](double cx) {
        ScreenOptions o;
        o.fit = ScreenFit::Fill;
        o.centreX = cx;
        return o;
    };
    const struct {
        const char* name;
        const Picture* source;
        ScreenOptions options;
        Check check;
    } cases[] = {
        {"gradient keeps its order, plain", &ramp, plain,
         [&](const Picture& s) {
             for (int i = 1; i < kScreenWidth; ++i)
                 if (column(s, i) + 0.5 < column(s, i - 1)) return false;
             for (int i = 1; i < kScreenHeight; ++i)
                 if (row(s, i) + 0.5 < row(s, i - 1)) return false;
             return true;
         }},
        {"gradient dithered",
         &ramp,
         {},
         [&](const Picture& s) {
             const double middle = column(s, 160);
             return column(s, 2) < middle && middle < column(s, 317) && middle > 118 && middle < 138;
         }},
        {"256 colours round-trip exactly",
         &indexed,
         {},
         [&](const Picture& s) { return !changedColours(s, indexed); }},
        {"256 colours round-trip exactly, plain", &indexed, plain,
         [&](const Picture& s) { return !changedColours(s, indexed); }},
        {"256 colours without black: one pair merges for black",
         &noBlack,
         {},
         [&](const Picture& s) { return changedColours(s, noBlack) == 1; }},
        {"8 bits, filled: only its own colours", &indexed8, fill, onlyColoursOf(indexed8)},
        {"4 bits, filled: only its own colours", &indexed4, fill, onlyColoursOf(indexed4)},
        {"odd size, fit", &noise, {}, nullptr},
        {"odd size, fill", &noise, fill, nullptr},
        // 480 x 480 square pixels: 240 stored pixels wide in the middle, bars of 40 each side.
        {"1 x 1 with blue bars", &one, fitBlue,
         [](const Picture& s) {
             return SameRgb(s.ColorAt(0, 0), kBlue) && SameRgb(s.ColorAt(39, 399), kBlue) &&
                    SameRgb(s.ColorAt(40, 0), kRed) && SameRgb(s.ColorAt(279, 399), kRed) &&
                    SameRgb(s.ColorAt(280, 200), kBlue);
         }},
        {"10000 x 10, fit: one row between black bars",
         &wide,
         {},
         [](const Picture& s) {
             int rows = 0;
             for (int y = 0; y < s.Height(); ++y) rows += !SameRgb(s.ColorAt(160, y), kBlack);
             return rows == 1 && SameRgb(s.ColorAt(0, 0), kBlack);
         }},
        {"10000 x 10, fill", &wide, fill,
         [](const Picture& s) { return s.ColorAt(0, 0).r == 200 && s.ColorAt(319, 399).r == 200; }},
        {"fill with the crop at the left edge", &halves, fillAt(0.0), everywhere(kRed)},
        {"fill with the crop past the right edge stays inside", &halves, fillAt(7.0), everywhere(kGreen)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = MakeScreenFile(*c.source, c.options);
        ASSERT_TRUE(file);
        ASSERT_EQ(file->size(), 129078u);
        const auto le32 = [&](std::size_t at) {
            return (*file)[at] | (*file)[at + 1] << 8 | (*file)[at + 2] << 16 | (*file)[at + 3] << 24;
        };
        EXPECT_EQ(le32(10), 1078);  // pixels right after 256 palette entries
        EXPECT_EQ(le32(0x1E), 0);   // uncompressed
        EXPECT_EQ(le32(0x2E), 0);   // biClrUsed: all 256
        EXPECT_EQ(le32(0x32), 0);   // biClrImportant: no palette animation at boot
        EXPECT_EQ(le32(54), 0);     // palette entry 0 black
        const auto decoded = DecodeBmp(*file);
        ASSERT_TRUE(decoded.Ok());
        const Picture& s = decoded.picture;
        ASSERT_TRUE(MeetsScreenRule(s.Width(), s.Height(), s.Format()));
        EXPECT_TRUE(!c.check || c.check(s));
    }
}

TEST(MakeScreen, LayoutShowsThePictureAsOnA4To3DisplayAndRefusesImpossibleSizes) {
    struct Case {
        int w, h;
        ScreenFit fit;
        ScreenLayout want;
    } cases[] = {
        {640, 480, ScreenFit::Fit, {0, 0, 640, 480, 0, 0, 320, 400}},
        {320, 400, ScreenFit::Fill, {0, 0, 320, 400, 0, 0, 320, 400}},  // drawn for the screen: 1:1
        {1280, 480, ScreenFit::Fit, {0, 0, 1280, 480, 0, 100, 320, 200}},
        {1280, 480, ScreenFit::Fill, {320, 0, 640, 480, 0, 0, 320, 400}},
        {480, 480, ScreenFit::Fit, {0, 0, 480, 480, 40, 0, 240, 400}},
        {10000, 10, ScreenFit::Fill, {4994, 0, 13, 10, 0, 0, 320, 400}},
    };
    for (const auto& c : cases) {
        ScreenOptions o;
        o.fit = c.fit;
        const auto l = LayOutScreen(c.w, c.h, o);
        ASSERT_TRUE(l);
        const int got[] = {l->srcX, l->srcY, l->srcWidth, l->srcHeight,
                           l->dstX, l->dstY, l->dstWidth, l->dstHeight};
        const int want[] = {c.want.srcX, c.want.srcY, c.want.srcWidth, c.want.srcHeight,
                            c.want.dstX, c.want.dstY, c.want.dstWidth, c.want.dstHeight};
        EXPECT_TRUE(std::equal(std::begin(got), std::end(got), std::begin(want))) << c.w << "x" << c.h;
    }
    for (const auto& [w, h] : {std::pair{0, 10}, {10, -1}, {INT32_MAX, 10}})
        EXPECT_FALSE(LayOutScreen(w, h, {}));
    EXPECT_FALSE(ScreenSource::From(Picture{}));
    EXPECT_FALSE(MapToPalette(Make(2, 2, 32, [](int, int) { return kRed; }), std::vector<Bgra>(257), false));
    EXPECT_FALSE(MapToPalette(Make(2, 2, 24, [](int, int) { return kRed; }), std::vector<Bgra>(2), false));
}

}  // namespace
}  // namespace mvpr
