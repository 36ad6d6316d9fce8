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
    return {static_cast<std::uint8_t>(200 - i * 9), static_cast<std::uint8_t>(i * 5 + 1), static_cast<std::uint8_t>(i * 15), 255};
}

Bgra VgaColour(int i) {
    return {static_cast<std::uint8_t>(i ^ 0x5A), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i), 255};
}

struct Layout {
    std::uint8_t bits, planes;
    int outBits;
};

// A w x h PCX of the layout, pixel (x, y) of index (x + 3y) mod colours, or the pattern colour
// for 24 and 32 bits; scan lines are built plane by plane as PCX stores them.
PcxFile MakePcx(const Layout& l, int w, int h, bool rle) {
    PcxFile f;
    f.encoding = rle ? 1 : 0;
    f.bitsPerPlane = l.bits;
    f.planes = l.planes;
    f.xMin = 2;
    f.yMin = 5;
    f.xMax = static_cast<std::uint16_t>(2 + w - 1);
    f.yMax = static_cast<std::uint16_t>(5 + h - 1);
    for (int i = 0; i < 16; ++i) {
        const Bgra c = HeaderColour(i);
        f.headerPalette.insert(f.headerPalette.end(), {c.r, c.g, c.b});
    }
    const int colours = l.bits * l.planes > 8 ? 256 : 1 << (l.bits * l.planes);
    const std::size_t lineBytes = f.LineBytes();
    Bytes all;
    Bytes encoded;
    for (int y = 0; y < h; ++y) {
        Bytes line(lineBytes * l.planes, 0);
        for (int x = 0; x < w; ++x) {
            const auto index = static_cast<unsigned>((x + 3 * y) % colours);
            const Bgra p = samples::Pattern(x, y);
            for (unsigned k = 0; k < l.planes; ++k) {
                std::uint8_t* plane = line.data() + k * lineBytes;
                if (l.bits == 8 && l.planes >= 3) {
                    const std::uint8_t channel[4] = {p.r, p.g, p.b, static_cast<std::uint8_t>(x + 100)};
                    plane[x] = channel[k];
                } else if (l.bits == 8) {
                    plane[x] = static_cast<std::uint8_t>(index);
                } else {
                    const unsigned v = l.planes > 1 ? (index >> k) & 1u : index;
                    const int perByte = 8 / l.bits;
                    plane[x / perByte] |= static_cast<std::uint8_t>(v << (8 - l.bits * (x % perByte + 1)));
                }
            }
        }
        samples::Append(all, line);
        if (rle) samples::Append(encoded, samples::EncodePcxRle(line));
    }
    f.data = rle ? encoded : all;
    if (l.outBits == 8) {
        Bytes vga;
        for (int i = 0; i < 256; ++i) {
            const Bgra c = VgaColour(i);
            vga.insert(vga.end(), {c.r, c.g, c.b});
        }
        f.vgaPalette = vga;
    }
    return f;
}

TEST(PcxDecoder, EveryLayoutAndWidthPixelByPixel) {
    const Layout layouts[] = {{1, 1, 1}, {1, 2, 4}, {1, 3, 4}, {1, 4, 4}, {2, 1, 4},
                              {4, 1, 4}, {8, 1, 8}, {8, 3, 24}, {8, 4, 32}};
    for (const Layout& l : layouts)
        for (int w : {1, 2, 3, 7, 8, 9, 16, 17, 18, 33, 40})  // 16 and more: the SSE2 steps and their tail
            for (bool rle : {false, true}) {
                const int h = 3;
                const PcxFile f = MakePcx(l, w, h, rle);
                const DecodeResult r = DecodePcx(f.Build());
                ASSERT_TRUE(r.Ok()) << int(l.bits) << "x" << int(l.planes) << " w" << w << ": " << Describe(r);
                EXPECT_EQ(r.picture.BitsPerPixel(), l.outBits);
                const int colours = l.bits * l.planes > 8 ? 256 : 1 << (l.bits * l.planes);
                EXPECT_TRUE(SamePixels(r.picture, w, h, [&](int x, int y) {
                    const int index = (x + 3 * y) % colours;
                    if (l.outBits >= 24) {
                        Bgra p = samples::Pattern(x, y);
                        p.a = 255;
                        return p;
                    }
                    return l.outBits == 8 ? VgaColour(index) : HeaderColour(index);
                })) << int(l.bits) << " bits x " << int(l.planes) << " planes, width " << w << " rle " << rle;
                if (l.outBits == 32) {
                    EXPECT_EQ(r.picture.Row(0)[3], 100) << "alpha plane kept";
                }
            }
}

TEST(PcxDecoder, RunsMayCrossScanLinesAndLinesMayBePadded) {
    // 4 x 3 at 8 bits, four bytes a line: runs of 6 end halfway through the next line.
    PcxFile f;
    f.bitsPerPlane = 8;
    f.xMax = 3;
    f.yMax = 2;
    f.data = {0xC6, 7, 0xC6, 9};
    DecodeResult across = DecodePcx(f.Build());
    ASSERT_TRUE(across.Ok()) << Describe(across);
    const std::vector<std::vector<int>> want = {{7, 7, 7, 7}, {7, 7, 9, 9}, {9, 9, 9, 9}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(across.picture.Row(y)[x], want[y][x]) << x << "," << y;
    f.data = {0xCC, 5};  // one run for the whole picture
    across = DecodePcx(f.Build());
    ASSERT_TRUE(across.Ok());
    EXPECT_EQ(across.picture.Row(2)[3], 5);
    f.xMax = 62;  // the longest run, 63, fills a line of 63 (plus its pad byte from the next pair)
    f.yMax = 0;
    f.data = {0xFF, 5, 0xC1, 0};
    across = DecodePcx(f.Build());
    ASSERT_TRUE(across.Ok()) << Describe(across);
    EXPECT_EQ(across.picture.Row(0)[62], 5);

    // Ten bytes a line for three pixels: the rest of each line is skipped.
    PcxFile wide;
    wide.bitsPerPlane = 8;
    wide.xMax = 2;
    wide.yMax = 1;
    wide.bytesPerLine = 10;
    wide.encoding = 0;
    wide.data = {1, 2, 3, 9, 9, 9, 9, 9, 9, 9, 4, 5, 6, 9, 9, 9, 9, 9, 9, 9};
    const DecodeResult r = DecodePcx(wide.Build());
    ASSERT_TRUE(r.Ok()) << Describe(r);
    EXPECT_EQ(r.picture.Row(1)[0], 4);
    EXPECT_EQ(r.picture.Row(1)[2], 6);
    EXPECT_EQ(r.picture.Row(1)[3], 0) << "padding";
}

TEST(PcxDecoder, PalettesFollowWhatWritersActuallyStore) {
    // Monochrome with an empty header table: black and white.
    PcxFile mono = MakePcx({1, 1, 1}, 8, 1, true);
    mono.headerPalette.clear();
    DecodeResult r = DecodePcx(mono.Build());
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.picture.ColorAt(0, 0), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(r.picture.ColorAt(1, 0), (Bgra{255, 255, 255, 255}));
    // ... or with both entries the same.
    mono.headerPalette = {9, 9, 9, 9, 9, 9};
    r = DecodePcx(mono.Build());
    EXPECT_EQ(r.picture.ColorAt(1, 0), (Bgra{255, 255, 255, 255}));
    // Version 3 stored no palette: 16 colours are the EGA ones.
    PcxFile ega = MakePcx({4, 1, 4}, 16, 1, false);
    ega.version = 3;
    r = DecodePcx(ega.Build());
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.picture.ColorAt(6, 0), (Bgra{0, 85, 170, 255})) << "brown";
    EXPECT_EQ(r.picture.ColorAt(15, 0), (Bgra{255, 255, 255, 255}));
    ega.version = 5;
    ega.headerPalette.clear();
    r = DecodePcx(ega.Build());
    EXPECT_EQ(r.picture.ColorAt(1, 0), (Bgra{170, 0, 0, 255})) << "blank table: EGA blue";
    // 256 colours without the table at the end: grey.
    PcxFile grey = MakePcx({8, 1, 8}, 4, 1, true);
    grey.vgaPalette.reset();
    r = DecodePcx(grey.Build());
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.picture.ColorAt(3, 0), (Bgra{3, 3, 3, 255}));
}

TEST(PcxDecoder, EveryTruncationOfTheImageIsReported) {
    for (const Layout& l : {Layout{8, 3, 24}, Layout{1, 4, 4}, Layout{4, 1, 4}})
        for (bool rle : {false, true}) {
            const Bytes whole = MakePcx(l, 5, 3, rle).Build();
            ASSERT_TRUE(DecodePcx(whole).Ok());
            for (std::size_t n = 1; n < whole.size(); ++n) {
                const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
                EXPECT_EQ(DecodePcx(prefix).status, DecodeStatus::Truncated) << int(l.planes) << " planes, cut to " << n;
            }
        }
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
    EXPECT_EQ(with([](PcxFile& f) { f.xMin = 0, f.xMax = 9, f.bytesPerLine = 9; }), DecodeStatus::Corrupt) << "line too short";
}

TEST(PcxDecoder, GiantDimensionsAreRefusedBeforeAnythingIsAllocated) {
    PcxFile f;
    f.bitsPerPlane = 8;
    f.xMax = 65535;
    f.data = {0xC1, 0};
    EXPECT_EQ(DecodePcx(f.Build()).status, DecodeStatus::TooLarge) << "65536 wide";
    f.xMax = 16383;
    f.yMax = 4095;
    EXPECT_EQ(DecodePcx(f.Build()).status, DecodeStatus::Truncated) << "64 MB claimed, two bytes held";
    f.planes = 3;
    f.yMax = 4096;
    f.data.assign(16384 * 4097 * 3 / 63 + 64, 0xFF);  // over 64 million pixels could come out of these
    EXPECT_EQ(DecodePcx(f.Build()).status, DecodeStatus::TooLarge);
    EXPECT_EQ(DecodePcx(MakePcx({8, 1, 8}, 65, 1, true).Build(), DecodeLimits{64, 1 << 20}).status,
              DecodeStatus::TooLarge);
}

TEST(PictureKind, DecidedByContentNotByName) {
    const Bytes bmp = samples::BmpFile{.pixels = {0, 0, 0, 0}}.Build();
    const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
    const Bytes gif87 = {'G', 'I', 'F', '8', '7', 'a', 1, 0};
    const Bytes gif89 = {'G', 'I', 'F', '8', '9', 'a', 1, 0};
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F'};
    const Bytes pcx = MakePcx({8, 1, 8}, 2, 2, true).Build();
    samples::TgaFile tgaFile;
    tgaFile.pixels = {1, 2, 3};
    const Bytes tga = tgaFile.Build();
    EXPECT_EQ(SniffPictureKind(bmp), PictureKind::Bmp);
    EXPECT_EQ(SniffPictureKind(png), PictureKind::Png);
    EXPECT_EQ(SniffPictureKind(gif87), PictureKind::Gif);
    EXPECT_EQ(SniffPictureKind(gif89), PictureKind::Gif);
    EXPECT_EQ(SniffPictureKind(jpeg), PictureKind::Jpeg);
    EXPECT_EQ(SniffPictureKind(pcx), PictureKind::Pcx);
    EXPECT_EQ(SniffPictureKind(tga), PictureKind::Tga);
    EXPECT_EQ(PictureKindName(SniffPictureKind(tga)), "TGA");

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
