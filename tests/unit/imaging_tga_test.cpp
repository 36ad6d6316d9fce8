#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "imaging/PixelFill.h"
#include "imaging/PixelFormat.h"
#include "imaging/TgaDecoder.h"
#include "support/ImagingSamples.h"
#include "support/PictureAssertions.h"

namespace mvpr {
namespace {

using samples::Bytes;
using samples::Describe;
using samples::SamePixels;
using samples::TgaFile;

constexpr std::uint8_t kTopDown = 0x20;
constexpr std::uint8_t kRightToLeft = 0x10;

std::uint8_t Scale5(unsigned c) { return static_cast<std::uint8_t>(std::lround(c * 255.0 / 31.0)); }

// The stored pixels of a w x h picture in file order, `pixel(x, y)` giving the bytes of the
// pixel at (x, y from the top) for the origin in `descriptor`.
Bytes StoredPixels(int w, int h, std::uint8_t descriptor, const std::function<Bytes(int, int)>& pixel) {
    Bytes out;
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) {
            const int y = descriptor & kTopDown ? row : h - 1 - row;
            const int x = descriptor & kRightToLeft ? w - 1 - col : col;
            samples::Append(out, pixel(x, y));
        }
    return out;
}

Bytes Rgb555(int x, int y, bool attribute) {
    const Bgra p = samples::Pattern(x, y);
    const unsigned v = (p.r >> 3u) << 10 | (p.g >> 3u) << 5 | (p.b >> 3u) | (attribute ? 0x8000u : 0u);
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
}

TEST(TgaDecoder, TrueColourInEveryDepthOriginAndEncoding) {
    const int w = 5, h = 4;
    for (std::uint8_t depth : {15, 16, 24, 32})
        for (std::uint8_t origin : {0, 0x20, 0x10, 0x30})
            for (bool rle : {false, true}) {
                auto pixel = [&](int x, int y) -> Bytes {
                    const Bgra p = samples::Pattern(x, y);
                    if (depth <= 16) return Rgb555(x, y, depth == 16 && (x + y) % 2);
                    if (depth == 24) return {p.b, p.g, p.r};
                    return {p.b, p.g, p.r, static_cast<std::uint8_t>(x * 50 + y)};
                };
                TgaFile f;
                f.imageType = rle ? 10 : 2;
                f.width = w;
                f.height = h;
                f.depth = depth;
                f.descriptor = static_cast<std::uint8_t>(origin | (depth == 32 ? 8 : depth == 16 ? 1 : 0));
                f.id = "made by a test";
                const Bytes raw = StoredPixels(w, h, origin, pixel);
                f.pixels = rle ? samples::EncodeTgaRle(raw, (depth + 7u) / 8u) : raw;
                const DecodeResult r = DecodeTga(f.Build());
                ASSERT_TRUE(r.Ok()) << int(depth) << "/" << int(origin) << "/" << rle << ": " << Describe(r);
                EXPECT_EQ(PixelFormatName(r.picture.Format()), depth <= 16 ? "15" : depth == 24 ? "24" : "32");
                EXPECT_TRUE(SamePixels(r.picture, w, h, [&](int x, int y) {
                    const Bgra p = samples::Pattern(x, y);
                    if (depth <= 16) return Bgra{Scale5(p.b >> 3u), Scale5(p.g >> 3u), Scale5(p.r >> 3u), 255};
                    return Bgra{p.b, p.g, p.r, 255};
                })) << "depth " << int(depth) << " origin " << int(origin) << " rle " << rle;
                if (depth == 32) {
                    EXPECT_EQ(r.picture.Row(1)[3 * 4 + 3], 3 * 50 + 1) << "alpha kept in the 4th byte";
                }
                for (int x = 0; depth == 16 && x < w; ++x)
                    EXPECT_EQ(r.picture.Row(0)[2 * x + 1] & 0x80, 0) << "attribute bit dropped at " << x;
            }
}

TEST(TgaDecoder, ColourMappedPicturesKeepAPaletteWhenIndexesAreBytes) {
    const int w = 6, h = 3;
    for (std::uint8_t entryBits : {15, 16, 24, 32})
        for (std::uint16_t first : {0, 10})
            for (bool rle : {false, true}) {
                const std::uint16_t length = 20;
                auto entry = [&](unsigned i) {  // colour of map entry i
                    return Bgra{static_cast<std::uint8_t>(i * 8), static_cast<std::uint8_t>(255 - i * 8),
                                static_cast<std::uint8_t>(i * 3), 0};
                };
                TgaFile f;
                f.imageType = rle ? 9 : 1;
                f.mapType = 1;
                f.mapFirst = first;
                f.mapLength = length;
                f.mapEntryBits = entryBits;
                for (unsigned i = 0; i < length; ++i) {
                    const Bgra c = entry(i);
                    if (entryBits <= 16) {
                        const unsigned v = (c.r >> 3u) << 10 | (c.g >> 3u) << 5 | (c.b >> 3u);
                        samples::Put16(f.map, v);
                    } else {
                        f.map.insert(f.map.end(), {c.b, c.g, c.r});
                        if (entryBits == 32) f.map.push_back(0x80);
                    }
                }
                f.width = w;
                f.height = h;
                f.depth = 8;
                auto index = [](int x, int y) { return static_cast<unsigned>((x + 5 * y) % 32); };
                const Bytes raw =
                    StoredPixels(w, h, 0, [&](int x, int y) { return Bytes{static_cast<std::uint8_t>(index(x, y))}; });
                f.pixels = rle ? samples::EncodeTgaRle(raw, 1) : raw;
                const DecodeResult r = DecodeTga(f.Build());
                ASSERT_TRUE(r.Ok()) << Describe(r);
                EXPECT_EQ(PixelFormatName(r.picture.Format()), "8");
                EXPECT_TRUE(SamePixels(r.picture, w, h, [&](int x, int y) {
                    const unsigned i = index(x, y);
                    if (i < first || i >= static_cast<unsigned>(first + length)) return Bgra{0, 0, 0, 255};
                    Bgra c = entry(i - first);
                    if (entryBits <= 16) c = {Scale5(c.b >> 3u), Scale5(c.g >> 3u), Scale5(c.r >> 3u), 0};
                    c.a = 255;
                    return c;
                })) << "entry bits " << int(entryBits) << " first " << first << " rle " << rle;
            }
}

TEST(TgaDecoder, SixteenBitIndexesGiveTrueColour) {
    TgaFile f;
    f.imageType = 9;
    f.mapType = 1;
    f.mapFirst = 300;
    f.mapLength = 50;
    f.mapEntryBits = 24;
    for (unsigned i = 0; i < 50; ++i) f.map.insert(f.map.end(), {static_cast<std::uint8_t>(i), 7, 9});
    f.width = 4;
    f.height = 2;
    f.depth = 16;
    f.descriptor = kTopDown;
    const Bytes raw = {0x2C, 0x01, 0x2D, 0x01, 0x5D, 0x01, 0xFF, 0xFF,  // 300, 301, 349, 65535
                       0x2B, 0x01, 0x5E, 0x01, 0x2C, 0x01, 0x2C, 0x01};  // 299, 350, 300, 300
    f.pixels = samples::EncodeTgaRle(raw, 2);
    const DecodeResult r = DecodeTga(f.Build());
    ASSERT_TRUE(r.Ok()) << Describe(r);
    EXPECT_EQ(PixelFormatName(r.picture.Format()), "24");
    const Bgra black{0, 0, 0, 255};
    const std::vector<Bgra> want = {{0, 7, 9, 255}, {1, 7, 9, 255}, {49, 7, 9, 255}, black,
                                    black,          black,          {0, 7, 9, 255},  {0, 7, 9, 255}};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(r.picture.ColorAt(i % 4, i / 4), want[static_cast<std::size_t>(i)]) << i;
}

TEST(TgaDecoder, GreyPicturesBecomeAGreyPalette) {
    for (bool rle : {false, true}) {
        TgaFile f;
        f.imageType = rle ? 11 : 3;
        f.width = 3;
        f.height = 2;
        f.depth = 8;
        const Bytes raw = {0, 128, 255, 1, 1, 1};  // bottom row first
        f.pixels = rle ? samples::EncodeTgaRle(raw, 1) : raw;
        const DecodeResult r = DecodeTga(f.Build());
        ASSERT_TRUE(r.Ok()) << Describe(r);
        EXPECT_EQ(PixelFormatName(r.picture.Format()), "8");
        EXPECT_EQ(r.picture.ColorAt(1, 1), (Bgra{128, 128, 128, 255}));
        EXPECT_EQ(r.picture.ColorAt(2, 1), (Bgra{255, 255, 255, 255}));
        EXPECT_EQ(r.picture.ColorAt(0, 0), (Bgra{1, 1, 1, 255}));
    }
}

TEST(TgaDecoder, RlePacketsMayCrossRowsAndRunPastTheEnd) {
    // 3 x 2, 24 bits: one run of 4 covering a row and a half, then a raw packet of 2, then a
    // run of 100 of which nothing is left to fill.
    TgaFile f;
    f.imageType = 10;
    f.width = 3;
    f.height = 2;
    f.descriptor = kTopDown;
    f.pixels = {0x83, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9, 0xE3, 0xAA, 0xBB, 0xCC};
    const DecodeResult r = DecodeTga(f.Build());
    ASSERT_TRUE(r.Ok()) << Describe(r);
    EXPECT_EQ(r.picture.ColorAt(2, 0), (Bgra{1, 2, 3, 255}));
    EXPECT_EQ(r.picture.ColorAt(0, 1), (Bgra{1, 2, 3, 255}));
    EXPECT_EQ(r.picture.ColorAt(1, 1), (Bgra{4, 5, 6, 255}));
    EXPECT_EQ(r.picture.ColorAt(2, 1), (Bgra{7, 8, 9, 255}));
    for (std::size_t i = 9; i < r.picture.Stride(); ++i) EXPECT_EQ(r.picture.Row(1)[i], 0) << "padding";
    // A raw packet longer than what is left is as good as a short one.
    f.pixels = {0x7F};
    f.pixels.resize(1 + 128 * 3, 0x11);
    EXPECT_TRUE(DecodeTga(f.Build()).Ok());
}

// The word-wide run fill every RLE decoder uses: each length around its 8-byte steps, and
// not a byte written past the run.
TEST(PixelFill, RunsOfEveryPixelSizeAndLengthStopAtTheirEnd) {
    const std::uint8_t pixel[4] = {0x11, 0x22, 0x33, 0x44};
    for (unsigned size = 1; size <= 4; ++size)
        for (std::size_t count = 0; count <= 40; ++count) {
            Bytes buffer(count * size + 16, 0xEE);
            pixels::FillRun(buffer.data(), pixel, size, count);
            for (std::size_t i = 0; i < count * size; ++i)
                ASSERT_EQ(buffer[i], pixel[i % size]) << "size " << size << " count " << count << " byte " << i;
            for (std::size_t i = count * size; i < buffer.size(); ++i)
                ASSERT_EQ(buffer[i], 0xEE) << "size " << size << " count " << count << " wrote past at " << i;
        }
}

TEST(TgaDecoder, EveryTruncationIsReported) {
    TgaFile raw;
    raw.width = 3;
    raw.height = 2;
    raw.id = "xy";
    raw.pixels = Bytes(18, 0x40);
    TgaFile rle = raw;
    rle.imageType = 10;
    rle.depth = 32;
    rle.pixels = samples::EncodeTgaRle(Bytes{1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 9, 9, 9, 9, 9, 1, 1, 1, 1}, 4);
    TgaFile mapped;
    mapped.imageType = 1;
    mapped.mapType = 1;
    mapped.mapLength = 3;
    mapped.mapEntryBits = 24;
    mapped.map = Bytes(9, 0x33);
    mapped.width = 2;
    mapped.height = 2;
    mapped.depth = 8;
    mapped.pixels = {0, 1, 2, 0};
    for (const TgaFile& file : {raw, rle, mapped}) {
        const Bytes whole = file.Build();
        ASSERT_TRUE(DecodeTga(whole).Ok());
        for (std::size_t n = 0; n < whole.size(); ++n) {
            const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
            const DecodeResult r = DecodeTga(prefix);
            EXPECT_EQ(r.status, DecodeStatus::Truncated) << "type " << int(file.imageType) << " cut to " << n;
        }
    }
}

TEST(TgaDecoder, HeadersThatDescribeNoReadablePictureAreRefused) {
    TgaFile good;
    good.width = 2;
    good.height = 1;
    good.pixels = Bytes(6, 0);
    ASSERT_TRUE(DecodeTga(good.Build()).Ok());
    ASSERT_TRUE(LooksLikeTga(good.Build()));
    auto with = [&](auto change) {
        TgaFile f = good;
        change(f);
        const Bytes bytes = f.Build();
        EXPECT_FALSE(LooksLikeTga(bytes));
        return DecodeTga(bytes).status;
    };
    EXPECT_EQ(with([](TgaFile& f) { f.mapType = 2; }), DecodeStatus::NotThisFormat);
    for (std::uint8_t type : {0, 4, 8, 12, 32, 33, 255})
        EXPECT_EQ(with([&](TgaFile& f) { f.imageType = type; }), DecodeStatus::NotThisFormat) << int(type);
    for (std::uint8_t depth : {0, 1, 8, 12, 48})
        EXPECT_EQ(with([&](TgaFile& f) { f.depth = depth; }), DecodeStatus::NotThisFormat) << int(depth);
    EXPECT_EQ(with([](TgaFile& f) { f.imageType = 1, f.depth = 8; }), DecodeStatus::NotThisFormat) << "no map";
    EXPECT_EQ(with([](TgaFile& f) { f.imageType = 3, f.depth = 16; }), DecodeStatus::NotThisFormat) << "grey+alpha";
    EXPECT_EQ(with([](TgaFile& f) { f.mapType = 1, f.mapLength = 1, f.mapEntryBits = 8; }), DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](TgaFile& f) { f.width = 0; }), DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](TgaFile& f) { f.height = 0; }), DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](TgaFile& f) { f.descriptor = 0x40; }), DecodeStatus::NotThisFormat) << "interleaved";
}

TEST(TgaDecoder, GiantDimensionsAreRefusedBeforeAnythingIsAllocated) {
    TgaFile f;
    f.width = 65535;
    f.height = 65535;
    f.pixels = Bytes(64, 0);
    EXPECT_EQ(DecodeTga(f.Build()).status, DecodeStatus::TooLarge);
    f.width = 16384;
    f.height = 4096;
    EXPECT_EQ(DecodeTga(f.Build()).status, DecodeStatus::Truncated) << "192 MB claimed, 64 bytes held";
    f.imageType = 10;
    EXPECT_EQ(DecodeTga(f.Build()).status, DecodeStatus::Truncated) << "RLE can not hold that either";
    f.height = 4097;
    f.depth = 32;
    f.pixels = Bytes(5 * 16384 * 4097 / 128, 0);  // enough packets, but over 64 million pixels
    EXPECT_EQ(DecodeTga(f.Build()).status, DecodeStatus::TooLarge);
    f.width = 65;
    f.height = 1;
    EXPECT_EQ(DecodeTga(f.Build(), DecodeLimits{64, 1 << 20}).status, DecodeStatus::TooLarge);
}

}  // namespace
}  // namespace mvpr
