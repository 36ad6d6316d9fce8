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

std::uint8_t Scale5(unsigned c) {
    return static_cast<std::uint8_t>(std::lround(c * 255.0 / 31.0));
}

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
                SCOPED_TRACE(::testing::Message()
                             << "depth " << int(depth) << " origin " << int(origin) << " rle " << rle);
                const Bytes raw = StoredPixels(w, h, origin, [&](int x, int y) -> Bytes {
                    const Bgra p = samples::Pattern(x, y);
                    if (depth <= 16) return Rgb555(x, y, depth == 16 && (x + y) % 2);
                    if (depth == 24) return {p.b, p.g, p.r};
                    return {p.b, p.g, p.r, static_cast<std::uint8_t>(x * 50 + y)};
                });
                TgaFile f;
                f.imageType = rle ? 10 : 2, f.width = w, f.height = h, f.depth = depth,
                f.id = "made by a test";
                f.descriptor = static_cast<std::uint8_t>(origin | (depth == 32 ? 8 : depth == 16 ? 1 : 0));
                f.pixels = rle ? samples::EncodeTgaRle(raw, (depth + 7u) / 8u) : raw;
                const DecodeResult r = DecodeTga(f.Build());
                ASSERT_TRUE(r.Ok()) << Describe(r);
                EXPECT_EQ(PixelFormatName(r.picture.Format()), depth <= 16 ? "15" : std::to_string(depth));
                EXPECT_TRUE(SamePixels(r.picture, w, h, [&](int x, int y) {
                    const Bgra p = samples::Pattern(x, y);
                    if (depth <= 16)
                        return Bgra{Scale5(p.b >> 3u), Scale5(p.g >> 3u), Scale5(p.r >> 3u), 255};
                    return Bgra{p.b, p.g, p.r, 255};
                }));
                EXPECT_TRUE(depth != 32 || r.picture.Row(1)[3 * 4 + 3] == 3 * 50 + 1)
                    << "alpha kept in the 4th byte";
                for (int x = 0; depth == 16 && x < w; ++x)
                    EXPECT_EQ(r.picture.Row(0)[2 * x + 1] & 0x80, 0) << "attribute bit dropped at " << x;
            }
}

TEST(TgaDecoder, ColourMappedPicturesKeepAPaletteWhenIndexesAreBytes) {
    const int w = 6, h = 3, length = 20;
    const auto entry = [](int i) {  // colour of map entry i
        return Bgra{static_cast<std::uint8_t>(i * 8), static_cast<std::uint8_t>(255 - i * 8),
                    static_cast<std::uint8_t>(i * 3), 255};
    };
    const auto index = [](int x, int y) { return (x + 5 * y) % 32; };
    const Bytes raw =
        StoredPixels(w, h, 0, [&](int x, int y) { return Bytes{static_cast<std::uint8_t>(index(x, y))}; });
    for (std::uint8_t entryBits : {15, 16, 24, 32})
        for (std::uint16_t first : {0, 10})
            for (bool rle : {false, true}) {
                SCOPED_TRACE(::testing::Message()
                             << "entry bits " << int(entryBits) << " first " << first << " rle " << rle);
                TgaFile f;
                f.imageType = rle ? 9 : 1, f.mapType = 1, f.mapFirst = first, f.mapLength = length;
                f.mapEntryBits = entryBits, f.width = w, f.height = h, f.depth = 8;
                for (int i = 0; i < length; ++i) {
                    const Bgra c = entry(i);
                    if (entryBits <= 16)
                        samples::Put16(f.map, (c.r >> 3u) << 10 | (c.g >> 3u) << 5 | (c.b >> 3u));
                    if (entryBits > 16) f.map.insert(f.map.end(), {c.b, c.g, c.r});
                    if (entryBits == 32) f.map.push_back(0x80);
                }
                f.pixels = rle ? samples::EncodeTgaRle(raw, 1) : raw;
                const DecodeResult r = DecodeTga(f.Build());
                ASSERT_TRUE(r.Ok()) << Describe(r);
                EXPECT_EQ(PixelFormatName(r.picture.Format()), "8");
                EXPECT_TRUE(SamePixels(r.picture, w, h, [&](int x, int y) {
                    const int i = index(x, y);
                    if (i < first || i >= first + length) return Bgra{0, 0, 0, 255};
                    const Bgra c = entry(i - first);
                    return entryBits > 16
                               ? c
                               : Bgra{Scale5(c.b >> 3u), Scale5(c.g >> 3u), Scale5(c.r >> 3u), 255};
                }));
            }
}

// Small files written byte by byte, every pixel checked (rows from the top) and the rows' padding
// left zero.
TEST(TgaDecoder, HandWrittenFilesGiveTheirPixels) {
    // Indexes 300, 301, 349, 65535 / 299, 350, 300, 300 into a map of 50 entries from 300.
    const Bytes indexes = {0x2C, 1, 0x2D, 1, 0x5D, 1, 0xFF, 0xFF, 0x2B, 1, 0x5E, 1, 0x2C, 1, 0x2C, 1};
    Bytes map;
    for (unsigned i = 0; i < 50; ++i) map.insert(map.end(), {static_cast<std::uint8_t>(i), 7, 9});
    const Bytes grey = {0, 128, 255, 1, 1, 1};  // bottom row first
    // A run of 4 over a row and a half, a raw packet of 2, then a run of 100 with nothing left to fill.
    const Bytes across = {0x83, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9, 0xE3, 0xAA, 0xBB, 0xCC};
    const Bgra k{0, 0, 0, 255}, i0{0, 7, 9, 255}, g1{1, 1, 1, 255}, g2{128, 128, 128, 255},
        g3{255, 255, 255, 255}, c1{1, 2, 3, 255};
    const struct {
        const char* name;
        TgaFile file;
        const char* format;
        std::vector<Bgra> want;
    } cases[] = {
        {"16-bit indexes: true colour, black outside the map",
         {.imageType = 9,
          .mapType = 1,
          .mapFirst = 300,
          .mapLength = 50,
          .mapEntryBits = 24,
          .width = 4,
          .height = 2,
          .depth = 16,
          .descriptor = kTopDown,
          .map = map,
          .pixels = samples::EncodeTgaRle(indexes, 2)},
         "24",
         {i0, {1, 7, 9, 255}, {49, 7, 9, 255}, k, k, k, i0, i0}},
        {"grey: a grey palette",
         {.imageType = 3, .width = 3, .height = 2, .depth = 8, .pixels = grey},
         "8",
         {g1, g1, g1, k, g2, g3}},
        {"grey, RLE",
         {.imageType = 11, .width = 3, .height = 2, .depth = 8, .pixels = samples::EncodeTgaRle(grey, 1)},
         "8",
         {g1, g1, g1, k, g2, g3}},
        {"RLE packets cross rows and run past the end",
         {.imageType = 10, .width = 3, .height = 2, .descriptor = kTopDown, .pixels = across},
         "24",
         {c1, c1, c1, c1, {4, 5, 6, 255}, {7, 8, 9, 255}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodeResult r = DecodeTga(c.file.Build());
        ASSERT_TRUE(r.Ok()) << Describe(r);
        EXPECT_EQ(PixelFormatName(r.picture.Format()), c.format);
        const int w = c.file.width;
        EXPECT_TRUE(SamePixels(r.picture, w, 2,
                               [&](int x, int y) { return c.want[static_cast<std::size_t>(y * w + x)]; }));
        for (int y = 0; y < 2; ++y)
            for (std::size_t i = (w * r.picture.BitsPerPixel() + 7) / 8; i < r.picture.Stride(); ++i)
                EXPECT_EQ(r.picture.Row(y)[i], 0) << "padding " << i;
    }
    // A raw packet longer than what is left is as good as a short one.
    TgaFile longRaw{.imageType = 10, .width = 3, .height = 2, .pixels = {0x7F}};
    longRaw.pixels.resize(1 + 128 * 3, 0x11);
    EXPECT_TRUE(DecodeTga(longRaw.Build()).Ok());
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
                ASSERT_EQ(buffer[i], pixel[i % size])
                    << "size " << size << " count " << count << " byte " << i;
            for (std::size_t i = count * size; i < buffer.size(); ++i)
                ASSERT_EQ(buffer[i], 0xEE) << "size " << size << " count " << count << " wrote past at " << i;
        }
}

TEST(TgaDecoder, EveryTruncationIsReported) {
    const TgaFile raw{.width = 3, .height = 2, .id = "xy", .pixels = Bytes(18, 0x40)};
    const Bytes rgba = {1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 9, 9, 9, 9, 9, 1, 1, 1, 1};
    const TgaFile rle{
        .imageType = 10, .width = 3, .height = 2, .depth = 32, .pixels = samples::EncodeTgaRle(rgba, 4)};
    const TgaFile mapped{.imageType = 1,
                         .mapType = 1,
                         .mapLength = 3,
                         .mapEntryBits = 24,
                         .width = 2,
                         .height = 2,
                         .depth = 8,
                         .map = Bytes(9, 0x33),
                         .pixels = {0, 1, 2, 0}};
    for (const TgaFile& file : {raw, rle, mapped})
        EXPECT_TRUE(samples::EveryPrefixIsTruncated(&DecodeTga, file.Build(), 0))
            << "type " << int(file.imageType);
    EXPECT_EQ(DecodeTga({}).status, DecodeStatus::Truncated);
}

TEST(TgaDecoder, HeadersThatDescribeNoReadablePictureAreRefused) {
    const TgaFile good{.width = 2, .height = 1, .pixels = Bytes(6, 0)};
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
    EXPECT_EQ(with([](TgaFile& f) { f.imageType = 1, f.depth = 8; }), DecodeStatus::NotThisFormat)
        << "no map";
    EXPECT_EQ(with([](TgaFile& f) { f.imageType = 3, f.depth = 16; }), DecodeStatus::NotThisFormat)
        << "grey+alpha";
    EXPECT_EQ(with([](TgaFile& f) { f.mapType = 1, f.mapLength = 1, f.mapEntryBits = 8; }),
              DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](TgaFile& f) { f.width = 0; }), DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](TgaFile& f) { f.height = 0; }), DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](TgaFile& f) { f.descriptor = 0x40; }), DecodeStatus::NotThisFormat) << "interleaved";
}

TEST(TgaDecoder, GiantDimensionsAreRefusedBeforeAnythingIsAllocated) {
    TgaFile f{.width = 65535, .height = 65535, .pixels = Bytes(64, 0)};
    EXPECT_EQ(DecodeTga(f.Build()).status, DecodeStatus::TooLarge);
    f.width = 16384, f.height = 4096;
    EXPECT_EQ(DecodeTga(f.Build()).status, DecodeStatus::Truncated) << "192 MB claimed, 64 bytes held";
    f.imageType = 10;
    EXPECT_EQ(DecodeTga(f.Build()).status, DecodeStatus::Truncated) << "RLE can not hold that either";
    f.height = 4097, f.depth = 32;
    f.pixels = Bytes(5 * 16384 * 4097 / 128, 0);  // enough packets, but over 64 million pixels
    EXPECT_EQ(DecodeTga(f.Build()).status, DecodeStatus::TooLarge);
    f.width = 65, f.height = 1;
    EXPECT_EQ(DecodeTga(f.Build(), DecodeLimits{64, 1 << 20}).status, DecodeStatus::TooLarge);
}

}  // namespace
}  // namespace mvpr
