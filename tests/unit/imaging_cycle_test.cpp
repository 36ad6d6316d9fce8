#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "imaging/BmpCodec.h"
#include "imaging/ColourCycle.h"
#include "imaging/ScreenConverter.h"
#include "imaging/ScreenRule.h"

namespace mvpr {
namespace {

// A 320 x 400 picture in `bits` whose palette entries all differ, pixel x uses entry x % 256.
Picture Distinct(int bits) {
    Picture p = *Picture::Create(kScreenWidth, kScreenHeight, bits);
    for (std::size_t i = 0; i < p.Palette().size(); ++i)
        p.Palette()[i] = Bgra{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                              static_cast<std::uint8_t>(i * 7), 0};
    if (bits == 8)
        for (int y = 0; y < p.Height(); ++y)
            for (int x = 0; x < p.Width(); ++x) p.Row(y)[x] = static_cast<std::uint8_t>((x + y) % 256);
    return p;
}

// The same picture behind a 12-byte core header, which has no biClrImportant.
std::vector<std::uint8_t> CoreHeaderFile(const Picture& p) {
    const auto info = *EncodeBmp(p);
    const std::size_t pixels = info.size() - (14 + 40 + 1024);
    std::vector<std::uint8_t> f(14 + 12 + 768 + pixels);
    f[0] = 'B', f[1] = 'M';
    f[10] = static_cast<std::uint8_t>((14 + 12 + 768) & 0xFF),
    f[11] = static_cast<std::uint8_t>((14 + 12 + 768) >> 8);
    f[14] = 12;
    f[18] = kScreenWidth & 0xFF, f[19] = kScreenWidth >> 8, f[20] = kScreenHeight & 0xFF,
    f[21] = kScreenHeight >> 8;
    f[22] = 1, f[24] = 8;
    for (std::size_t i = 0; i < 256; ++i)
        for (std::size_t c = 0; c < 3; ++c) f[26 + i * 3 + c] = info[54 + i * 4 + c];
    std::copy(info.end() - static_cast<std::ptrdiff_t>(pixels), info.end(), f.begin() + 14 + 12 + 768);
    return f;
}

// What the bitmap reader reports as the cycle of a file, and what one frame does with it: the
// entries below the first keep their colours, each cycling entry takes its upper neighbour's and
// the last the first's; a whole turn gives the palette back.
TEST(ColourCycle, ReadFromTheHeaderAndRotatedOneEntryDownEachFrame) {
    struct Case {
        const char* name;
        int bits;
        bool core;
        std::uint32_t clrImportant;  // the whole field; only its low byte at 0x32 counts
        std::optional<int> first;
    } const cases[] = {
        {"stock bar 236-255", 8, false, 0xEC, 236},
        {"range of one entry", 8, false, 0xFF, 255},
        {"range from entry 1", 8, false, 0x01, 1},
        {"0 is no animation", 8, false, 0, std::nullopt},
        {"biClrImportant 256 is no animation", 8, false, 256, std::nullopt},
        {"high bytes ignored", 8, false, 0x12345680, 0x80},
        {"core header has no field", 8, true, 0, std::nullopt},
        {"4-bit picture never cycles", 4, false, 0x0C, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Picture picture = Distinct(c.bits);
        auto file = c.core ? CoreHeaderFile(picture) : *EncodeBmp(picture);
        if (!c.core)
            for (int b = 0; b < 4; ++b)
                file[kCycleByteOffset + b] = static_cast<std::uint8_t>(c.clrImportant >> (8 * b));
        const DecodeResult read = DecodeBmp(file);
        ASSERT_TRUE(read.Ok());
        ASSERT_EQ(read.cycle.has_value(), c.first.has_value());
        if (!c.first) continue;
        ASSERT_EQ(read.cycle->first, *c.first);
        const std::vector<Bgra> before = read.picture.Palette();
        std::vector<Bgra> after = before;
        RotateColours(after, *read.cycle);
        for (int i = 0; i < 256; ++i) {
            const int from = i < *c.first ? i : i == 255 ? *c.first : i + 1;
            EXPECT_EQ(after[static_cast<std::size_t>(i)], before[static_cast<std::size_t>(from)])
                << "entry " << i;
        }
        RotateColours(after, *read.cycle, static_cast<unsigned>(read.cycle->Count() - 1));
        EXPECT_EQ(after, before);
        // Written back, the file says the same.
        auto rewritten = *EncodeScreen(read.picture, read.cycle);
        EXPECT_EQ(CycleOfBmpHeader(rewritten), read.cycle);
    }
}

// A screen with a moving bar: the bar alone uses the reserved last entries, the rest of the
// picture none of them, entry 0 stays black and byte 0x32 names the bar's first entry. A source
// that animates keeps its range, its cycling colours and (where scaled) the entries its pixels use.
TEST(ColourCycle, ConverterReservesTheCyclingEntries) {
    Picture photo = *Picture::Create(640, 480, 24);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            std::uint8_t* px = photo.Row(y) + x * 3;
            px[0] = static_cast<std::uint8_t>(x * 255 / 639),
            px[1] = static_cast<std::uint8_t>(y * 255 / 479);
            px[2] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
        }
    Picture animated = Distinct(8);
    Picture animatedLarge = *ScaleIndexExact(animated, 640, 480);
    struct Case {
        const char* name;
        const Picture* source;
        std::optional<ColourCycle> sourceCycle;
        std::optional<MovingBar> bar;
        bool dither;
        int expectFirst;
    } const cases[] = {
        {"20 colours, photo", &photo, {}, MovingBar{}, true, 236},
        {"2 colours, 1 row", &photo, {}, MovingBar{2, 1, {0, 0, 255, 0}, {255, 0, 0, 0}}, false, 254},
        {"64 colours, 200 rows", &photo, {}, MovingBar{64, 200, {0, 0, 0, 0}, {255, 255, 255, 0}}, true, 192},
        {"out of range: 1 colour, 999 rows",
         &photo,
         {},
         MovingBar{1, 999, {1, 2, 3, 0}, {4, 5, 6, 0}},
         false,
         254},
        {"animated screen kept byte for byte", &animated, ColourCycle{236}, MovingBar{}, true, 236},
        {"animated 640 x 480 scaled", &animatedLarge, ColourCycle{200}, {}, true, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScreenOptions options;
        options.dither = c.dither;
        options.movingBar = c.bar;
        auto source = c.sourceCycle ? ScreenSource::FromAnimated(Picture(*c.source), *c.sourceCycle)
                                    : ScreenSource::From(*c.source);
        ASSERT_TRUE(source);
        const auto screen = source->Make(options);
        ASSERT_TRUE(screen);
        const auto file = EncodeScreen(*screen, source->Cycle(options));
        ASSERT_TRUE(file);
        ASSERT_EQ(file->size(), 129078u);
        EXPECT_EQ((*file)[kCycleByteOffset], c.expectFirst);
        const DecodeResult read = DecodeBmp(*file);
        ASSERT_TRUE(read.Ok() && read.cycle);
        const int first = read.cycle->first;
        const Picture& out = read.picture;
        if (c.sourceCycle) {
            for (int i = first; i < 256; ++i) {
                EXPECT_EQ(out.Palette()[static_cast<std::size_t>(i)],
                          c.source->Palette()[static_cast<std::size_t>(i)]);
            }
            if (c.source->Width() == kScreenWidth) {
                EXPECT_TRUE(out == *c.source);
            }
            // Every pixel that showed a cycling entry shows the same entry; no other pixel does.
            for (int y = 0; y < kScreenHeight; ++y)
                for (int x = 0; x < kScreenWidth; ++x) {
                    const int was = c.source->Row(
                        NearestSource(y, kScreenHeight,
                                      c.source->Height()))[NearestSource(x, kScreenWidth, c.source->Width())];
                    const int is = out.Row(y)[x];
                    if (was >= first || is >= first) {
                        ASSERT_EQ(is, was) << x << "," << y;
                    }
                }
            continue;
        }
        const int height = std::clamp(c.bar->height, 1, MovingBar::kMaxHeight);
        EXPECT_EQ(out.Palette()[0], (Bgra{0, 0, 0, 0}));
        std::set<int> barEntries;
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                const int index = out.Row(y)[x];
                if (y >= kScreenHeight - height) {
                    ASSERT_GE(index, first) << x << "," << y;
                    barEntries.insert(index);
                } else {
                    ASSERT_LT(index, first) << x << "," << y;
                }
            }
        EXPECT_EQ(barEntries.size(), static_cast<std::size_t>(256 - first));  // every entry shows
        // The ramp runs from the first colour to the second and back.
        MovingBar bar = *c.bar;
        bar.colours = 256 - first;
        EXPECT_EQ(out.Palette()[static_cast<std::size_t>(first)], BarColour(bar, 0));
        EXPECT_EQ(out.Palette()[static_cast<std::size_t>(first + bar.colours / 2)],
                  (Bgra{bar.to.b, bar.to.g, bar.to.r, 0}));
    }
}

}  // namespace
}  // namespace mvpr
