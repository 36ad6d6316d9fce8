#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/PcxDecoder.h"
#include "imaging/PictureKind.h"
#include "imaging/PixelFormat.h"
#include "imaging/TgaDecoder.h"
#include "support/ImagingSamples.h"
#include "support/PictureAssertions.h"

namespace mvpr {
namespace {

using samples::Bytes;
using samples::Describe;
using samples::PcxFile;
using samples::SamePixels;

Bgra HeaderColour(int i) {
    return {static_cast<std::uint8_t>(200 - i * 9), static_cast<std::uint8_t>(i * 5 + 1),
            static_cast<std::uint8_t>(i * 15), 255};
}

Bgra VgaColour(int i) {
    return {static_cast<std::uint8_t>(i ^ 0x5A), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(i), 255};
}

struct Layout {
    std::uint8_t bits, planes;
    int outBits;
    int Colours() const { return bits * planes > 8 ? 256 : 1 << (bits * planes); }
};

// A w x h PCX of the layout, pixel (x, y) of index (x + 3y) mod colours, or the pattern colour
// for 24 and 32 bits; scan lines are built plane by plane as PCX stores them.
PcxFile MakePcx(const Layout& l, int w, int h, bool rle) {
    PcxFile f;
    f.encoding = rle ? 1 : 0, f.bitsPerPlane = l.bits, f.planes = l.planes;
    f.xMin = 2, f.yMin = 5, f.xMax = static_cast<std::uint16_t>(2 + w - 1),
    f.yMax = static_cast<std::uint16_t>(5 + h - 1);
    for (int i = 0; i < 16; ++i) {
        const Bgra c = HeaderColour(i);
        f.headerPalette.insert(f.headerPalette.end(), {c.r, c.g, c.b});
    }
    const std::size_t lineBytes = f.LineBytes();
    for (int y = 0; y < h; ++y) {
        Bytes line(lineBytes * l.planes, 0);
        for (int x = 0; x < w; ++x) {
            const auto index = static_cast<unsigned>((x + 3 * y) % l.Colours());
            const Bgra p = samples::Pattern(x, y);
            for (unsigned k = 0; k < l.planes; ++k) {
                std::uint8_t* plane = line.data() + k * lineBytes;
                const std::uint8_t channel[4] = {p.r, p.g, p.b, static_cast<std::uint8_t>(x + 100)};
                const unsigned v = l.planes > 1 ? (index >> k) & 1u : index;
                const int perByte = 8 / l.bits;
                if (l.bits == 8)
                    plane[x] = l.planes >= 3 ? channel[k] : static_cast<std::uint8_t>(index);
                else
                    plane[x / perByte] |= static_cast<std::uint8_t>(v << (8 - l.bits * (x % perByte + 1)));
            }
        }
        samples::Append(f.data, rle ? samples::EncodePcxRle(line) : line);
    }
    if (l.outBits == 8) {
        f.vgaPalette.emplace();
        for (int i = 0; i < 256; ++i) {
            const Bgra c = VgaColour(i);
            f.vgaPalette->insert(f.vgaPalette->end(), {c.r, c.g, c.b});
        }
    }
    return f;
}

TEST(PcxDecoder, EveryLayoutAndWidthPixelByPixel) {
    const Layout layouts[] = {{1, 1, 1}, {1, 2, 4}, {1, 3, 4},  {1, 4, 4}, {2, 1, 4},
                              {4, 1, 4}, {8, 1, 8}, {8, 3, 24}, {8, 4, 32}};
    for (const Layout& l : layouts)
        for (int w : {1, 2, 3, 7, 8, 9, 16, 17, 18, 33, 40})  // 16 and more: the SSE2 steps and their tail
            for (bool rle : {false, true}) {
                SCOPED_TRACE(::testing::Message() << int(l.bits) << " bits x " << int(l.planes)
                                                  << " planes, width " << w << " rle " << rle);
                const DecodeResult r = DecodePcx(MakePcx(l, w, 3, rle).Build());
                ASSERT_TRUE(r.Ok()) << Describe(r);
                EXPECT_EQ(r.picture.BitsPerPixel(), l.outBits);
                EXPECT_TRUE(SamePixels(r.picture, w, 3, [&](int x, int y) {
                    const int index = (x + 3 * y) % l.Colours();
                    if (l.outBits >= 24) return samples::Pattern(x, y);
                    return l.outBits == 8 ? VgaColour(index) : HeaderColour(index);
                }));
                EXPECT_TRUE(l.outBits != 32 || r.picture.Row(0)[3] == 100) << "alpha plane kept";
            }
}

TEST(PcxDecoder, RunsMayCrossScanLinesAndLinesMayBePadded) {
    const auto indexes = [](int width, int height, std::uint16_t bytesPerLine, const Bytes& data) {
        PcxFile f;
        f.xMax = static_cast<std::uint16_t>(width - 1), f.yMax = static_cast<std::uint16_t>(height - 1);
        f.bytesPerLine = bytesPerLine, f.encoding = bytesPerLine ? 0 : 1, f.data = data;
        const DecodeResult r = DecodePcx(f.Build());
        EXPECT_TRUE(r.Ok()) << Describe(r);
        std::vector<std::vector<int>> rows;  // each with its padding
        for (int y = 0; r.Ok() && y < height; ++y)
            rows.emplace_back(r.picture.Row(y), r.picture.Row(y) + 4 * ((width + 3) / 4));
        return rows;
    };
    // 4 x 3, four bytes a line: runs of 6 end halfway through the next line; or one run for all.
    EXPECT_EQ(indexes(4, 3, 0, {0xC6, 7, 0xC6, 9}),
              (std::vector<std::vector<int>>{{7, 7, 7, 7}, {7, 7, 9, 9}, {9, 9, 9, 9}}));
    EXPECT_EQ(indexes(4, 3, 0, {0xCC, 5}), std::vector<std::vector<int>>(3, {5, 5, 5, 5}));
    // The longest run, 63, fills a line of 63 (its pad byte from the next pair).
    std::vector<int> longest(63, 5);
    longest.push_back(0);
    EXPECT_EQ(indexes(63, 1, 0, {0xFF, 5, 0xC1, 0}), std::vector<std::vector<int>>{longest});
    // Ten bytes a line for three pixels: the rest of each line is skipped.
    EXPECT_EQ(indexes(3, 2, 10, {1, 2, 3, 9, 9, 9, 9, 9, 9, 9, 4, 5, 6, 9, 9, 9, 9, 9, 9, 9}),
              (std::vector<std::vector<int>>{{1, 2, 3, 0}, {4, 5, 6, 0}}));
}

TEST(PcxDecoder, PalettesFollowWhatWritersActuallyStore) {
    const auto colour = [](PcxFile f, auto change, int x) {
        change(f);
        const DecodeResult r = DecodePcx(f.Build());
        EXPECT_TRUE(r.Ok()) << Describe(r);
        return r.Ok() ? r.picture.ColorAt(x, 0) : Bgra{};
    };
    const PcxFile mono = MakePcx({1, 1, 1}, 8, 1, true), ega = MakePcx({4, 1, 4}, 16, 1, false);
    const Bgra black{0, 0, 0, 255}, white{255, 255, 255, 255};
    // Monochrome with an empty header table, or both entries the same: black and white.
    for (const Bytes& table : {Bytes{}, Bytes{9, 9, 9, 9, 9, 9}})
        for (int x : {0, 1})
            EXPECT_EQ(colour(
                          mono, [&](PcxFile& f) { f.headerPalette = table; }, x),
                      x ? white : black)
                << table.size();
    // Version 3 stored no palette, and a blank table: 16 colours are the EGA ones.
    EXPECT_EQ(colour(
                  ega, [](PcxFile& f) { f.version = 3; }, 6),
              (Bgra{0, 85, 170, 255}))
        << "brown";
    EXPECT_EQ(colour(
                  ega, [](PcxFile& f) { f.version = 3; }, 15),
              white);
    EXPECT_EQ(colour(
                  ega, [](PcxFile& f) { f.headerPalette.clear(); }, 1),
              (Bgra{170, 0, 0, 255}))
        << "blue";
    // 256 colours without the table at the end: grey.
    EXPECT_EQ(colour(
                  MakePcx({8, 1, 8}, 4, 1, true), [](PcxFile& f) { f.vgaPalette.reset(); }, 3),
              (Bgra{3, 3, 3, 255}));
}

TEST(PcxDecoder, EveryTruncationOfTheImageIsReported) {
    for (const Layout& l : {Layout{8, 3, 24}, Layout{1, 4, 4}, Layout{4, 1, 4}})
        for (bool rle : {false, true})
            EXPECT_TRUE(samples::EveryPrefixIsTruncated(&DecodePcx, MakePcx(l, 5, 3, rle).Build(), 0))
                << int(l.planes) << " planes, rle " << rle;
    // A run whose value byte is missing.
    PcxFile f = MakePcx({8, 1, 8}, 4, 1, true);
    f.vgaPalette.reset();
    f.data = {0xC4};
    EXPECT_EQ(DecodePcx(f.Build()).status, DecodeStatus::Truncated);
}

TEST(PcxDecoder, HeadersThatDescribeNoReadablePictureAreRefused) {
    const PcxFile good = MakePcx({8, 1, 8}, 2, 2, true);
    auto with = [&](auto change) {
        PcxFile f = good;
        change(f);
        return DecodePcx(f.Build()).status;
    };
    EXPECT_EQ(DecodePcx(Bytes{}).status, DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](PcxFile& f) { f.version = 1; }), DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](PcxFile& f) { f.version = 6; }), DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](PcxFile& f) { f.encoding = 2; }), DecodeStatus::NotThisFormat);
    Bytes wrongMaker = good.Build();
    wrongMaker[0] = 0x0B;
    EXPECT_EQ(DecodePcx(wrongMaker).status, DecodeStatus::NotThisFormat);
    EXPECT_EQ(with([](PcxFile& f) { f.planes = 2; }), DecodeStatus::Unsupported);
    EXPECT_EQ(with([](PcxFile& f) { f.planes = 0; }), DecodeStatus::Unsupported);
    EXPECT_EQ(with([](PcxFile& f) { f.bitsPerPlane = 16; }), DecodeStatus::Unsupported);
    EXPECT_EQ(with([](PcxFile& f) { f.bitsPerPlane = 4, f.planes = 2; }), DecodeStatus::Unsupported);
    EXPECT_EQ(with([](PcxFile& f) { f.xMin = 5, f.xMax = 4; }), DecodeStatus::Corrupt);
    EXPECT_EQ(with([](PcxFile& f) { f.yMin = 1, f.yMax = 0; }), DecodeStatus::Corrupt);
    EXPECT_EQ(with([](PcxFile& f) { f.xMin = 0, f.xMax = 9, f.bytesPerLine = 9; }), DecodeStatus::Corrupt)
        << "line too short";
}

TEST(PcxDecoder, GiantDimensionsAreRefusedBeforeAnythingIsAllocated) {
    PcxFile f;
    f.xMax = 65535, f.data = {0xC1, 0};
    EXPECT_EQ(DecodePcx(f.Build()).status, DecodeStatus::TooLarge) << "65536 wide";
    f.xMax = 16383, f.yMax = 4095;
    EXPECT_EQ(DecodePcx(f.Build()).status, DecodeStatus::Truncated) << "64 MB claimed, two bytes held";
    f.planes = 3, f.yMax = 4096;
    f.data.assign(16384 * 4097 * 3 / 63 + 64, 0xFF);  // over 64 million pixels could come out of these
    EXPECT_EQ(DecodePcx(f.Build()).status, DecodeStatus::TooLarge);
    EXPECT_EQ(DecodePcx(MakePcx({8, 1, 8}, 65, 1, true).Build(), DecodeLimits{64, 1 << 20}).status,
              DecodeStatus::TooLarge);
}

TEST(PictureKind, DecidedByContentNotByName) {
    const Bytes pcx = MakePcx({8, 1, 8}, 2, 2, true).Build();
    const std::vector<std::pair<Bytes, PictureKind>> kinds = {
        {samples::BmpFile{.pixels = {0, 0, 0, 0}}.Build(), PictureKind::Bmp},
        {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13}, PictureKind::Png},
        {{'G', 'I', 'F', '8', '7', 'a', 1, 0}, PictureKind::Gif},
        {{'G', 'I', 'F', '8', '9', 'a', 1, 0}, PictureKind::Gif},
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F'}, PictureKind::Jpeg},
        {pcx, PictureKind::Pcx},
        {samples::TgaFile{.pixels = {1, 2, 3}}.Build(), PictureKind::Tga},
    };
    for (const auto& [bytes, kind] : kinds) EXPECT_EQ(SniffPictureKind(bytes), kind) << PictureKindName(kind);
    EXPECT_EQ(PictureKindName(PictureKind::Tga), "TGA");

    const std::string text = "Hello, this is a text file and no picture at all.";
    EXPECT_EQ(SniffPictureKind(Bytes(text.begin(), text.end())), PictureKind::Unknown);
    EXPECT_EQ(SniffPictureKind(Bytes{}), PictureKind::Unknown);
    EXPECT_EQ(SniffPictureKind(Bytes{0x89, 'P', 'N', 'G'}), PictureKind::Unknown) << "cut signature";
    EXPECT_EQ(SniffPictureKind(Bytes{'G', 'I', 'F', '9', '0', 'a', 0, 0}), PictureKind::Unknown);
    Bytes badPcx = pcx;
    badPcx[3] = 3;  // 3 bits per plane: no PCX writer makes that
    EXPECT_FALSE(LooksLikePcx(badPcx));
    EXPECT_NE(SniffPictureKind(badPcx), PictureKind::Pcx);
    // A PCX header read as TGA is not plausible, so the two never meet.
    EXPECT_FALSE(LooksLikeTga(pcx));
}

}  // namespace
}  // namespace mvpr
