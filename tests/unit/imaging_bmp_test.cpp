#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/BmpCodec.h"
#include "imaging/PixelFormat.h"
#include "support/ImagingSamples.h"
#include "support/PictureAssertions.h"

namespace mvpr {
namespace {

using samples::BmpFile;
using samples::Bytes;
using samples::PackRows;

using samples::Describe;
using samples::SamePixels;

Bgra Opaque(Bgra c) {
    c.a = 255;
    return c;
}

// An indexed bitmap whose pixel (x, y from the top) has index (x + 3y) mod colours.
BmpFile IndexedBmp(std::uint32_t headerSize, int width, int height, int bpp, bool topDown) {
    const int colours = 1 << bpp;
    BmpFile f;
    f.headerSize = headerSize, f.width = width, f.height = topDown ? -height : height;
    f.bpp = static_cast<std::uint16_t>(bpp);
    f.palette = samples::GreyPalette(colours);
    f.pixels = PackRows(width, height, bpp, [&](int x, int row) {
        const int y = topDown ? row : height - 1 - row;
        return static_cast<std::uint32_t>((x + 3 * y) % colours);
    });
    return f;
}

TEST(PixelFormatName, NineNamesInOrder) {
    const std::vector<std::pair<PixelFormat, std::string>> table = {
        {PixelFormat::Device, "Device"}, {PixelFormat::Bits1, "1"},   {PixelFormat::Bits4, "4"},
        {PixelFormat::Bits8, "8"},       {PixelFormat::Bits15, "15"}, {PixelFormat::Bits16, "16"},
        {PixelFormat::Bits24, "24"},     {PixelFormat::Bits32, "32"}, {PixelFormat::Custom, "Custom"}};
    int order = 0;
    for (const auto& [format, name] : table) {
        EXPECT_EQ(PixelFormatName(format), name);
        EXPECT_EQ(static_cast<int>(format), order++);
    }
}

TEST(PixelFormatOfDib, FollowsDepthStorageAndGreenMask) {
    struct Case {
        int bpp;
        DibStorage storage;
        std::uint32_t green;
        PixelFormat want;
    };
    const Case cases[] = {
        {1, DibStorage::Rgb, 0, PixelFormat::Bits1},
        {4, DibStorage::Rgb, 0, PixelFormat::Bits4},
        {8, DibStorage::Rgb, 0, PixelFormat::Bits8},
        {24, DibStorage::Rgb, 0, PixelFormat::Bits24},
        {16, DibStorage::Rgb, 0x03E0, PixelFormat::Bits15},
        {16, DibStorage::Rgb, 0x07E0, PixelFormat::Bits15},
        {16, DibStorage::Bitfields, 0x07E0, PixelFormat::Bits16},
        {16, DibStorage::Bitfields, 0x03E0, PixelFormat::Custom},
        {16, DibStorage::Bitfields, 0x0FC0, PixelFormat::Custom},
        {16, DibStorage::Other, 0x07E0, PixelFormat::Custom},
        {32, DibStorage::Rgb, 0, PixelFormat::Bits32},
        {32, DibStorage::Bitfields, 0xFF00, PixelFormat::Custom},
        {32, DibStorage::Bitfields, 0x07E0, PixelFormat::Custom},
        {2, DibStorage::Rgb, 0, PixelFormat::Custom},
        {0, DibStorage::Rgb, 0, PixelFormat::Custom},
        {64, DibStorage::Rgb, 0, PixelFormat::Custom},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PixelFormatOfDib(c.bpp, c.storage, c.green), c.want)
            << c.bpp << " bpp, storage " << static_cast<int>(c.storage) << ", green " << c.green;
}

TEST(BmpReader, ZeroBytesAreAnEmptyPictureAndSuccess) {
    const DecodeResult r = DecodeBmp({});
    EXPECT_TRUE(r.Ok() && r.picture.Empty());
    EXPECT_EQ(PixelFormatName(r.picture.Format()), "Device");
}

// Indexed depths in every header, both row orders, and widths around each byte and padding
// boundary, pixel by pixel.
TEST(BmpReader, IndexedPixelsInEveryHeaderAndRowOrder) {
    for (std::uint32_t header : {12u, 40u, 52u, 56u, 108u, 124u})
        for (int bpp : {1, 4, 8})
            for (bool topDown : {false, true}) {
                if (header == 12 && topDown) continue;  // the core header has no sign
                for (int width : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 32, 33}) {
                    const int height = 3;
                    const BmpFile file = IndexedBmp(header, width, height, bpp, topDown);
                    const DecodeResult r = DecodeBmp(file.Build());
                    ASSERT_TRUE(r.Ok()) << header << "/" << bpp << "/" << width << ": " << Describe(r);
                    EXPECT_EQ(PixelFormatName(r.picture.Format()), std::to_string(bpp));
                    const auto palette = samples::GreyPalette(1 << bpp);
                    EXPECT_TRUE(SamePixels(
                        r.picture, width, height,
                        [&](int x, int y) {
                            return Opaque(palette[static_cast<std::size_t>((x + 3 * y) % (1 << bpp))]);
                        }))
                        << "header " << header << " bpp " << bpp << " width " << width << " topDown "
                        << topDown;
                    // Reserved palette bytes come through untouched, core entries have none.
                    EXPECT_EQ(r.picture.Palette()[1].a, header == 12 ? 0 : palette[1].a);
                }
            }
}

TEST(BmpReader, TrueColourPixelsThroughDefaultAndExplicitMasks) {
    struct Case {
        std::uint32_t header;
        int bpp;
        std::uint32_t compression;
        std::optional<ChannelMasks> masks;
        bool fourMasks;
        std::string format;
    };
    const Case cases[] = {
        {40, 24, kBiRgb, {}, false, "24"},
        {12, 24, kBiRgb, {}, false, "24"},
        {124, 24, kBiRgb, {}, false, "24"},
        {40, 16, kBiRgb, {}, false, "15"},
        {124, 16, kBiRgb, ChannelMasks{0xF800, 0x07E0, 0x001F, 0}, false, "15"},  // ignored: plain RGB
        {40, 32, kBiRgb, {}, false, "32"},
        {108, 32, kBiRgb, ChannelMasks{0xFF, 0xFF00, 0xFF0000, 0}, false, "32"},  // ignored: plain RGB
        {40, 16, kBiBitfields, ChannelMasks{0xF800, 0x07E0, 0x001F, 0}, false, "16"},
        {56, 16, kBiBitfields, ChannelMasks{0xF800, 0x07E0, 0x001F, 0}, false, "16"},
        {124, 16, kBiBitfields, ChannelMasks{0xF800, 0x07E0, 0x001F, 0}, false, "16"},
        {40, 16, kBiBitfields, ChannelMasks{0x001F, 0x03E0, 0x7C00, 0}, false, "Custom"},
        {52, 16, kBiBitfields, ChannelMasks{0x0F00, 0x00F0, 0x000F, 0}, false, "Custom"},
        {56, 16, kBiBitfields, ChannelMasks{0x0F00, 0x00F0, 0x000F, 0xF000}, false, "Custom"},
        {124, 16, kBiBitfields, ChannelMasks{0x7C00, 0x03E0, 0x001F, 0x8000}, false, "Custom"},
        {40, 32, kBiBitfields, ChannelMasks{0xFF000000, 0x00FF0000, 0x0000FF00, 0}, false, "Custom"},
        {52, 32, kBiBitfields, ChannelMasks{0xFF, 0xFF00, 0xFF0000, 0}, false, "Custom"},
        {108, 32, kBiBitfields, ChannelMasks{0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}, false,
         "Custom"},
        {40, 32, kBiAlphaBitfields, ChannelMasks{0xFF0000, 0xFF00, 0xFF, 0xFF000000}, true, "Custom"},
    };
    for (const Case& c : cases)
        for (bool topDown : {false, true}) {
            SCOPED_TRACE("header " + std::to_string(c.header) + " bpp " + std::to_string(c.bpp) +
                         " compression " + std::to_string(c.compression) + (topDown ? " top-down" : ""));
            if (c.header == 12 && topDown) continue;
            const int width = 5;
            const int height = 4;
            // Plain RGB is 5-5-5 in 16 bits and 8-8-8 in 32, whatever a V4/V5 header says.
            const ChannelMasks plain = c.bpp == 16   ? ChannelMasks{0x7C00, 0x03E0, 0x001F, 0}
                                       : c.bpp == 32 ? ChannelMasks{0xFF0000, 0xFF00, 0xFF, 0}
                                                     : ChannelMasks{};
            const ChannelMasks m = c.compression == kBiRgb ? plain : *c.masks;
            // Store the pattern through the masks, then expect what the masks give back.
            auto stored = [&](int x, int y) {
                const Bgra p = samples::Pattern(x, y);
                if (c.bpp == 24) return static_cast<std::uint32_t>(p.b | p.g << 8 | p.r << 16);
                auto put = [](std::uint8_t v, std::uint32_t mask) -> std::uint32_t {
                    if (!mask) return 0;
                    const int shift = __builtin_ctz(mask);
                    const std::uint32_t max = mask >> shift;
                    return (static_cast<std::uint32_t>(v) * max / 255) << shift;
                };
                return put(p.r, m.red) | put(p.g, m.green) | put(p.b, m.blue) | put(0xC0, m.alpha);
            };
            BmpFile f;
            f.headerSize = c.header, f.width = width, f.height = topDown ? -height : height;
            f.bpp = static_cast<std::uint16_t>(c.bpp), f.compression = c.compression;
            f.masks = c.masks, f.fourMasks = c.fourMasks;
            f.pixels = PackRows(width, height, c.bpp,
                                [&](int x, int row) { return stored(x, topDown ? row : height - 1 - row); });
            const DecodeResult r = DecodeBmp(f.Build());
            ASSERT_TRUE(r.Ok()) << Describe(r);
            EXPECT_EQ(PixelFormatName(r.picture.Format()), c.format);
            EXPECT_EQ(r.picture.HasExplicitMasks(), c.compression != kBiRgb);
            EXPECT_EQ(r.picture.Masks(), c.bpp == 24 ? ChannelMasks{} : m);
            EXPECT_TRUE(SamePixels(r.picture, width, height, [&](int x, int y) {
                const std::uint32_t v = stored(x, y);
                if (c.bpp == 24)
                    return Bgra{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                static_cast<std::uint8_t>(v >> 16), 255};
                return Bgra{ExtractChannel(v, m.blue), ExtractChannel(v, m.green), ExtractChannel(v, m.red),
                            m.alpha ? ExtractChannel(v, m.alpha) : std::uint8_t{255}};
            }));
        }
}

TEST(BmpReader, PlainSixteenAndThirtyTwoBitPixelsHaveTheirWindowsMeaning) {
    const struct {
        std::uint16_t bpp;
        Bytes pixels;
        std::vector<Bgra> want;
    } cases[] = {
        // 5-5-5: red, green, blue, white with the top bit set.
        {16,
         {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0xFF, 0xFF},
         {{0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 255}, {255, 255, 255, 255}}},
        {32,
         {0x56, 0x34, 0x12, 0x00, 0x56, 0x34, 0x12, 0xFF},
         {{0x56, 0x34, 0x12, 255}, {0x56, 0x34, 0x12, 255}}},
        {24, {0x01, 0x02, 0x03, 0x00}, {{1, 2, 3, 255}}},
    };
    for (const auto& c : cases) {
        BmpFile f;
        f.width = static_cast<std::int32_t>(c.want.size()), f.bpp = c.bpp, f.pixels = c.pixels;
        const DecodeResult r = DecodeBmp(f.Build());
        ASSERT_TRUE(r.Ok()) << c.bpp;
        EXPECT_TRUE(SamePixels(r.picture, f.width, 1,
                               [&](int x, int) { return c.want[static_cast<std::size_t>(x)]; }))
            << c.bpp << " bits";
    }
}

TEST(ExtractChannel, ScalesMasksOfAnyWidthToFullRange) {
    EXPECT_EQ(ExtractChannel(0x001F, 0x001F), 255);
    EXPECT_EQ(ExtractChannel(0x0000, 0x001F), 0);
    EXPECT_EQ(ExtractChannel(0x0200, 0x03E0), 132);  // 16 of 31
    EXPECT_EQ(ExtractChannel(0x07E0, 0x07E0), 255);
    EXPECT_EQ(ExtractChannel(0x8000, 0x8000), 255);  // one-bit alpha
    EXPECT_EQ(ExtractChannel(0xFFFFFFFF, 0xFFFFFFFF), 255);
    EXPECT_EQ(ExtractChannel(0x80000000, 0xFFFFFFFF), 128);
    EXPECT_EQ(ExtractChannel(0x12345678, 0), 0);
    EXPECT_EQ(ExtractChannel(0x00AB0000, 0x00FF0000), 0xAB);
}

// A row of indexes 0 to 3: entries past the table read are black.
TEST(BmpReader, ShortAndOversizedPalettesReadWhatIsThere) {
    const struct {
        const char* name;
        std::uint32_t header;
        int bpp;
        std::uint32_t colorsUsed;
        std::size_t entries;  // stored
        std::uint32_t offBits;
        std::size_t paletteSize;
        int known;
    } cases[] = {
        {"biClrUsed of 3", 40, 8, 3, 3, 0, 256, 3},
        {"no biClrUsed, bfOffBits leaves room for 2", 40, 8, 0, 2, 14 + 40 + 2 * 4, 256, 2},
        {"biClrUsed over what 4 bits allow", 40, 4, 300, 16, 0, 16, 4},
        {"core header, bfOffBits right after 2 triples", 12, 8, 0, 2, 14 + 12 + 2 * 3, 256, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFile f = IndexedBmp(c.header, 4, 1, c.bpp, false);
        f.colorsUsed = c.colorsUsed;
        f.palette.resize(c.entries);
        if (c.offBits) f.offBits = c.offBits;
        const DecodeResult r = DecodeBmp(f.Build());
        ASSERT_TRUE(r.Ok()) << Describe(r);
        EXPECT_EQ(r.picture.Palette().size(), c.paletteSize);
        const auto grey = samples::GreyPalette(1 << c.bpp);
        EXPECT_TRUE(SamePixels(r.picture, 4, 1, [&](int x, int) {
            return x < c.known ? Opaque(grey[static_cast<std::size_t>(x)]) : Bgra{0, 0, 0, 255};
        }));
    }
}

TEST(BmpReader, PixelOffsetIsHonouredOrIgnoredWhenItPointsIntoTheHeaders) {
    BmpFile f = IndexedBmp(40, 4, 2, 8, false);
    const Bytes normal = f.Build();
    const DecodeResult want = DecodeBmp(normal);
    ASSERT_TRUE(want.Ok());

    f.offBits = 14 + 40 + 256 * 4 + 10;  // a gap before the pixels
    DecodeResult r = DecodeBmp(f.Build());
    ASSERT_TRUE(r.Ok()) << Describe(r);
    EXPECT_EQ(r.picture, want.picture);

    for (std::uint32_t bad : {0u, 14u, 53u}) {  // into the file or info header: pixels follow the table
        Bytes bytes = normal;
        bytes[10] = static_cast<std::uint8_t>(bad);
        bytes[11] = bytes[12] = bytes[13] = 0;
        r = DecodeBmp(bytes);
        ASSERT_TRUE(r.Ok()) << bad << ": " << Describe(r);
        EXPECT_EQ(r.picture, want.picture) << bad;
    }

    Bytes far = normal;
    samples::Bytes off;
    samples::Put32(off, static_cast<std::uint32_t>(normal.size() + 1));
    std::copy(off.begin(), off.end(), far.begin() + 10);
    EXPECT_EQ(DecodeBmp(far).status, DecodeStatus::Truncated);
}

TEST(BmpReader, LastRowMayLackItsPaddingButNoPixel) {
    // 8 bits, width 5: rows of 5 bytes padded to 8.
    BmpFile f = IndexedBmp(40, 5, 3, 8, false);
    f.pixels = PackRows(
        5, 3, 8, [](int x, int y) { return static_cast<std::uint32_t>(x + 10 * y); }, false);
    const Bytes file = f.Build();
    const DecodeResult r = DecodeBmp(file);
    ASSERT_TRUE(r.Ok()) << Describe(r);
    EXPECT_EQ(r.picture.ColorAt(4, 0), Opaque(samples::GreyPalette(256)[24]));  // top row is file row 2
    // Padding bytes of the picture are zero whatever the file held there.
    EXPECT_EQ(r.picture.Row(0)[5], 0);
    EXPECT_EQ(DecodeBmp(std::span(file).first(file.size() - 1)).status, DecodeStatus::Truncated);
}

TEST(BmpReader, EveryTruncationIsReportedAndReadsNothingPastTheEnd) {
    BmpFile rle = IndexedBmp(40, 6, 3, 8, false);
    rle.compression = kBiRle8;
    rle.pixels = samples::EncodeRle({{1, 1, 1, 2, 3, 4}, {5, 6, 7, 7, 7, 7}, {9, 8, 7, 6, 5, 4}}, false);
    BmpFile rle4 = IndexedBmp(40, 7, 2, 4, false);
    rle4.compression = kBiRle4;
    rle4.pixels = samples::EncodeRle({{1, 2, 3, 4, 5, 6, 7}, {3, 3, 3, 3, 3, 3, 3}}, true);
    BmpFile masks;
    masks.width = 2, masks.height = 2, masks.bpp = 16, masks.compression = kBiBitfields;
    masks.masks = ChannelMasks{0xF800, 0x07E0, 0x001F, 0};
    masks.pixels = PackRows(2, 2, 16, [](int x, int y) { return static_cast<std::uint32_t>(x * 999 + y); });
    BmpFile v5;
    v5.headerSize = 124, v5.width = 1, v5.height = -2, v5.bpp = 32;
    v5.pixels = PackRows(1, 2, 32, [](int x, int y) { return static_cast<std::uint32_t>(x + y * 77); });
    const std::vector<std::pair<std::string, BmpFile>> files = {
        {"8-bit", IndexedBmp(40, 4, 2, 8, false)},
        {"core 4-bit", IndexedBmp(12, 8, 2, 4, false)},
        {"1-bit V4", IndexedBmp(108, 32, 2, 1, true)},
        {"RLE8", rle},
        {"RLE4", rle4},
        {"bitfields", masks},
        {"V5", v5}};
    for (const auto& [name, file] : files)
        EXPECT_TRUE(samples::EveryPrefixIsTruncated(&DecodeBmp, file.Build(), 2)) << name;
}

// A run-length bitmap of `rows` x `height` from `stream`, bottom row first.
DecodeResult DecodeRle(int width, int height, bool rle4, Bytes stream) {
    BmpFile f = IndexedBmp(40, width, height, rle4 ? 4 : 8, false);
    f.compression = rle4 ? kBiRle4 : kBiRle8, f.pixels = std::move(stream);
    return DecodeBmp(f.Build());
}

// Streams written by hand, every index of the picture checked (rows from the top) and the rows'
// padding, down to the nibble past the last pixel, left zero.
TEST(BmpReader, RunLengthStreamsLandWhereTheySay) {
    const struct {
        const char* name;
        int width;
        bool rle4;
        Bytes stream;
        std::vector<std::vector<int>> want;
    } cases[] = {
        {"RLE8: runs, absolute runs clipped at the row's end, end of line, delta, end of bitmap",
         5,
         false,
         {3, 7,              // row 0 (bottom): 7 7 7
          0, 3, 1, 2, 3, 0,  // absolute 1 2 3, padded; clipped after x = 5
          0, 0,              // end of line
          0, 2, 2, 1,        // delta: right 2, up 1 -> row 2, x 2
          2, 9,              // 9 9 at x 2..3
          0, 1},             // end of bitmap
         {{0, 0, 9, 9, 0}, {0, 0, 0, 0, 0}, {7, 7, 7, 1, 2}}},
        {"RLE4: alternating nibbles, absolute runs padded to words",
         9,
         true,
         {5, 0x12,                    // 1 2 1 2 1
          0, 3, 0x34, 0x50,           // absolute 3 4 5: two bytes, already even
          0, 0,                       // end of line
          0, 5, 0xAB, 0xCD, 0xE0, 0,  // absolute A B C D E: three bytes + pad
          1, 0xF0,                    // one F
          0, 1},
         {{10, 11, 12, 13, 14, 15, 0, 0, 0}, {1, 2, 1, 2, 1, 3, 4, 5, 0}}},
        // Runs longer than the row are clipped at its end; the next row starts clean.
        {"RLE8 runs past the row",
         3,
         false,
         {255, 0x11, 0, 0, 255, 0x22, 0, 1},
         {{0x22, 0x22, 0x22}, {0x11, 0x11, 0x11}}},
        {"RLE4 runs past the row", 3, true, {255, 0x11, 0, 0, 255, 0x22, 0, 1}, {{2, 2, 2}, {1, 1, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodeResult r = DecodeRle(c.width, static_cast<int>(c.want.size()), c.rle4, c.stream);
        ASSERT_TRUE(r.Ok()) << Describe(r);
        EXPECT_EQ(PixelFormatName(r.picture.Format()), c.rle4 ? "4" : "8");
        for (int y = 0; y < r.picture.Height(); ++y) {
            std::vector<int> want = c.want[static_cast<std::size_t>(y)], got;
            want.resize(r.picture.Stride() * (c.rle4 ? 2 : 1), 0);
            for (std::size_t i = 0; i < r.picture.Stride(); ++i) {
                const std::uint8_t b = r.picture.Row(y)[i];
                if (c.rle4) got.push_back(b >> 4);
                got.push_back(c.rle4 ? b & 15 : b);
            }
            EXPECT_EQ(got, want) << "row " << y;
        }
    }
}

TEST(BmpReader, CorruptRleIsClippedOrRefusedNeverWrittenOutside) {
    const struct {
        const char* name;
        int width, height;
        bool rle4;
        Bytes stream;
        DecodeStatus want;
    } cases[] = {
        // Nothing is written outside the picture.
        {"delta past the right edge", 4, 2, false, {0, 2, 200, 0, 2, 5, 0, 1}, DecodeStatus::Ok},
        {"delta past the top", 4, 2, false, {2, 5, 0, 2, 0, 200, 2, 6}, DecodeStatus::Ok},
        {"data after the last row", 4, 2, false, {4, 1, 0, 0, 4, 2, 0, 0, 9, 9, 9, 9}, DecodeStatus::Ok},
        {"data after the end mark", 4, 1, false, {4, 1, 0, 1, 0xFF, 0xFF}, DecodeStatus::Ok},
        {"end of line on the last row, no end mark", 2, 2, false, {2, 1, 0, 0, 2, 2, 0, 0}, DecodeStatus::Ok},
        // The stream ends before the picture does.
        {"last end of line missing", 2, 2, false, {2, 1, 0, 0, 2, 2}, DecodeStatus::Truncated},
        {"no stream", 2, 2, false, {}, DecodeStatus::Truncated},
        {"absolute run cut", 8, 2, false, {0, 8, 1, 2, 3}, DecodeStatus::Truncated},
        {"RLE4 absolute run cut", 8, 2, true, {0, 8, 0x12, 0x34}, DecodeStatus::Truncated},
        {"delta cut", 8, 2, false, {0, 2, 1}, DecodeStatus::Truncated},
        {"escape cut", 8, 2, false, {0}, DecodeStatus::Truncated},
        {"absolute run, then nothing", 3, 1, false, {0, 3, 1, 2, 3}, DecodeStatus::Truncated},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeRle(c.width, c.height, c.rle4, c.stream).status, c.want) << c.name;
}

TEST(BmpReader, RefusesWhatIsNotABitmapOrNotAVariantItReads) {
    const BmpFile good = IndexedBmp(40, 2, 2, 8, false);
    auto with = [&](auto change) {
        BmpFile f = good;
        change(f);
        return DecodeBmp(f.Build()).status;
    };
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(DecodeBmp(gif).status, DecodeStatus::NotThisFormat);
    EXPECT_EQ(DecodeBmp(Bytes{'B'}).status, DecodeStatus::NotThisFormat);
    EXPECT_EQ(DecodeBmp(Bytes{'B', 'A', 0, 0}).status, DecodeStatus::NotThisFormat);
    for (std::uint32_t header : {0u, 16u, 39u, 41u, 64u, 125u, 0xFFFFFFFFu})
        EXPECT_EQ(with([&](BmpFile& f) { f.headerSize = header; }), DecodeStatus::Unsupported) << header;
    for (std::uint16_t bpp : {0, 2, 3, 5, 48, 64})
        EXPECT_EQ(with([&](BmpFile& f) { f.bpp = bpp; }), DecodeStatus::Unsupported) << bpp;
    EXPECT_EQ(with([](BmpFile& f) { f.compression = 4; }), DecodeStatus::Unsupported) << "BI_JPEG";
    EXPECT_EQ(with([](BmpFile& f) { f.compression = 5; }), DecodeStatus::Unsupported) << "BI_PNG";
    EXPECT_EQ(with([](BmpFile& f) { f.compression = kBiBitfields; }), DecodeStatus::Unsupported)
        << "8-bit masks";
    EXPECT_EQ(with([](BmpFile& f) { f.headerSize = 12, f.bpp = 16; }), DecodeStatus::Unsupported)
        << "core 16";
    EXPECT_EQ(with([](BmpFile& f) { f.width = 0; }), DecodeStatus::Corrupt);
    EXPECT_EQ(with([](BmpFile& f) { f.width = -2; }), DecodeStatus::Corrupt);
    EXPECT_EQ(with([](BmpFile& f) { f.height = 0; }), DecodeStatus::Corrupt);
    EXPECT_EQ(with([](BmpFile& f) { f.height = INT32_MIN; }), DecodeStatus::Corrupt);
}

TEST(BmpReader, GiantDimensionsAreRefusedBeforeAnythingIsAllocated) {
    auto header = [](std::int32_t width, std::int32_t height, std::uint16_t bpp, std::uint32_t compression) {
        BmpFile f;
        f.width = width, f.height = height, f.bpp = bpp, f.compression = compression;
        if (bpp <= 8) f.palette = samples::GreyPalette(1 << bpp);
        f.pixels = {0, 1};  // far too little
        return f.Build();
    };
    EXPECT_EQ(DecodeBmp(header(32769, 1, 8, kBiRgb)).status, DecodeStatus::TooLarge);
    EXPECT_EQ(DecodeBmp(header(1, 32769, 8, kBiRgb)).status, DecodeStatus::TooLarge);
    EXPECT_EQ(DecodeBmp(header(1, -32769, 8, kBiRgb)).status, DecodeStatus::TooLarge);
    EXPECT_EQ(DecodeBmp(header(INT32_MAX, INT32_MAX, 32, kBiRgb)).status, DecodeStatus::TooLarge);
    // A few bytes of RLE claiming 512 million pixels; within the sides but over 64 million pixels.
    EXPECT_EQ(DecodeBmp(header(32768, 16384, 8, kBiRle8)).status, DecodeStatus::TooLarge);
    EXPECT_EQ(DecodeBmp(header(16384, 4097, 8, kBiRle8)).status, DecodeStatus::TooLarge);
    EXPECT_EQ(DecodeBmp(header(4097, 16384, 4, kBiRle4)).status, DecodeStatus::TooLarge);
    // Within every limit, but the file holds two bytes of a 64 MB claim: truncated, not allocated.
    EXPECT_EQ(DecodeBmp(header(16384, 4096, 8, kBiRgb)).status, DecodeStatus::Truncated);

    // The side limit itself is allowed.
    BmpFile wide;
    wide.width = 16384, wide.height = 1, wide.bpp = 1;
    wide.palette = samples::GreyPalette(2);
    wide.pixels.assign(16384 / 8, 0xF0);
    const DecodeResult r = DecodeBmp(wide.Build());
    ASSERT_TRUE(r.Ok()) << Describe(r);
    EXPECT_EQ(r.picture.Width(), 16384);

    // Callers may set tighter limits.
    const DecodeLimits small{64, 1024};
    EXPECT_EQ(DecodeBmp(IndexedBmp(40, 65, 1, 8, false).Build(), small).status, DecodeStatus::TooLarge);
    EXPECT_EQ(DecodeBmp(IndexedBmp(40, 64, 64, 8, false).Build(), small).status, DecodeStatus::TooLarge);
    EXPECT_TRUE(DecodeBmp(IndexedBmp(40, 64, 16, 8, false).Build(), small).Ok());
}

TEST(BmpWriter, WhatItWritesReadsBackAsTheSamePicture) {
    std::vector<Picture> pictures;
    for (int bpp : {1, 4, 8, 16, 24, 32})
        for (int width : {1, 3, 7, 8, 9}) {
            auto p = Picture::Create(width, 3, bpp);
            ASSERT_TRUE(p);
            for (std::size_t i = 0; i < p->ByteSize(); ++i)
                p->Bytes()[i] = static_cast<std::uint8_t>(i * 37 + 1);
            for (int y = 0; y < 3; ++y)  // padding stays zero, as the reader leaves it
                std::fill(p->Row(y) + (width * bpp + 7) / 8, p->Row(y) + p->Stride(), 0);
            for (std::size_t i = 0; i < p->Palette().size(); ++i)
                p->Palette()[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7, 0};
            pictures.push_back(*p);
        }
    for (const ChannelMasks m :
         {ChannelMasks{0xF800, 0x07E0, 0x001F, 0}, ChannelMasks{0x0F00, 0xF0, 0xF, 0xF000}}) {
        auto p = Picture::Create(2, 2, 16);
        p->SetExplicitMasks(m);
        p->Bytes()[0] = 0xAB;
        pictures.push_back(*p);
    }
    auto p32 = Picture::Create(2, 2, 32);
    p32->SetExplicitMasks({0xFF000000, 0xFF0000, 0xFF00, 0xFF});
    p32->Bytes()[5] = 0x42;
    pictures.push_back(*p32);

    for (const Picture& picture : pictures) {
        const auto bytes = EncodeBmp(picture);
        ASSERT_TRUE(bytes);
        const DecodeResult r = DecodeBmp(*bytes);
        ASSERT_TRUE(r.Ok()) << picture.BitsPerPixel() << ": " << Describe(r);
        EXPECT_EQ(r.picture, picture) << picture.BitsPerPixel() << " bpp, width " << picture.Width();
        // Header fields other programs look at.
        const std::uint32_t headerSize = (*bytes)[14] | (*bytes)[15] << 8;
        EXPECT_EQ(headerSize, picture.Masks().alpha && picture.HasExplicitMasks() ? 108u : 40u);
        EXPECT_EQ((*bytes)[30], picture.HasExplicitMasks() ? kBiBitfields : kBiRgb);
        EXPECT_EQ((*bytes)[2] | (*bytes)[3] << 8 | (*bytes)[4] << 16, static_cast<int>(bytes->size()));
    }
    const auto empty = EncodeBmp(Picture{});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
}

TEST(PictureBuffer, SizesAreCheckedAndRowsPadded) {
    EXPECT_EQ(Picture::StrideFor(1, 1), 4u);
    EXPECT_EQ(Picture::StrideFor(33, 1), 8u);
    EXPECT_EQ(Picture::StrideFor(3, 24), 12u);
    EXPECT_EQ(Picture::StrideFor(5, 8), 8u);
    EXPECT_FALSE(Picture::StrideFor(1, 2));
    EXPECT_FALSE(Picture::StrideFor(-1, 8));
    EXPECT_FALSE(Picture::Create(0, 1, 8));
    EXPECT_FALSE(Picture::Create(1, 0, 8));
    EXPECT_FALSE(Picture::Create(32769, 1, 8));
    EXPECT_FALSE(Picture::Create(32768, 32768, 8)) << "1 GB";
    EXPECT_FALSE(Picture::Create(4, 4, 12));
    const auto p = Picture::Create(3, 2, 4);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Stride(), 4u);
    EXPECT_EQ(p->Palette().size(), 16u);
    EXPECT_EQ(p->Format(), PixelFormat::Bits4);
    EXPECT_EQ(Picture{}.Format(), PixelFormat::Device);
    auto q = Picture::Create(2, 1, 8);
    q->SetExplicitMasks({1, 2, 3, 4});  // no masks below 16 bits
    EXPECT_FALSE(q->HasExplicitMasks());
    Picture copy = *p;
    EXPECT_EQ(copy, *p);
    copy.Row(1)[0] = 0x10;
    EXPECT_FALSE(copy == *p);
}

}  // namespace
}  // namespace mvpr
