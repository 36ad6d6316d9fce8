// Writes small valid pictures of every variant into <dir>/bmp_fuzz, <dir>/tga_fuzz and
// <dir>/pcx_fuzz, list files into <dir>/listfile_fuzz and MSDOS.SYS files into <dir>/msdossys_fuzz,
// so that a short fuzzing run starts deep inside each parser.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/ImagingSamples.h"
#include "support/MsDosSamples.h"

namespace fs = std::filesystem;
using namespace mvpr::samples;

namespace {

int written = 0;

void Write(const fs::path& dir, const std::string& name, const Bytes& bytes) {
    fs::create_directories(dir);
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ++written;
}

void BmpSeeds(const fs::path& dir) {
    for (std::uint32_t header : {12u, 40u, 56u, 124u})
        for (int bpp : {1, 4, 8, 16, 24, 32}) {
            if (header == 12 && (bpp == 16 || bpp == 32)) continue;
            BmpFile f;
            f.headerSize = header;
            f.width = 5;
            f.height = header == 12 ? 3 : -3;
            f.bpp = static_cast<std::uint16_t>(bpp);
            if (bpp <= 8) f.palette = GreyPalette(1 << bpp);
            f.pixels = PackRows(5, 3, bpp,
                                [](int x, int y) { return static_cast<std::uint32_t>(x * 2654435761u + y); });
            Write(dir, "plain_" + std::to_string(header) + "_" + std::to_string(bpp), f.Build());
            if (bpp == 16 || bpp == 32) {
                f.compression = 3;
                f.masks = bpp == 16 ? mvpr::ChannelMasks{0xF800, 0x07E0, 0x1F, 0}
                                    : mvpr::ChannelMasks{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
                Write(dir, "masks_" + std::to_string(header) + "_" + std::to_string(bpp), f.Build());
            }
        }
    for (bool rle4 : {false, true}) {
        BmpFile f;
        f.width = 9;
        f.height = 3;
        f.bpp = rle4 ? 4 : 8;
        f.compression = rle4 ? 2 : 1;
        f.palette = GreyPalette(rle4 ? 16 : 256);
        f.pixels = EncodeRle(
            {{1, 1, 1, 2, 3, 4, 5, 5, 6}, {7, 7, 7, 7, 7, 7, 7, 7, 7}, {1, 2, 3, 1, 2, 3, 1, 2, 3}}, rle4);
        // A delta in the middle, too.
        f.pixels.insert(f.pixels.begin(), {0, 2, 1, 0});
        Write(dir, rle4 ? "rle4" : "rle8", f.Build());
    }
}

void TgaSeeds(const fs::path& dir) {
    for (std::uint8_t type : {1, 2, 3, 9, 10, 11})
        for (std::uint8_t descriptor : {0, 0x30}) {
            TgaFile f;
            f.imageType = type;
            f.width = 6;
            f.height = 3;
            f.descriptor = descriptor;
            std::size_t pixelBytes = 3;
            if ((type & 7) == 1) {
                f.mapType = 1;
                f.mapFirst = 2;
                f.mapLength = 16;
                f.mapEntryBits = 24;
                f.map.assign(48, 0x55);
                f.depth = 8;
                pixelBytes = 1;
            } else if ((type & 7) == 3) {
                f.depth = 8;
                pixelBytes = 1;
            }
            Bytes raw;
            for (std::size_t i = 0; i < 18 * pixelBytes; ++i)
                raw.push_back(static_cast<std::uint8_t>(i / 4 * 9));
            f.pixels = type & 8 ? EncodeTgaRle(raw, pixelBytes) : raw;
            Write(dir, "type" + std::to_string(type) + "_" + std::to_string(descriptor), f.Build());
        }
    for (std::uint8_t depth : {15, 16, 32}) {
        TgaFile f;
        f.imageType = 10;
        f.width = 4;
        f.height = 2;
        f.depth = depth;
        const std::size_t bytes = (depth + 7u) / 8u;
        f.pixels = EncodeTgaRle(Bytes(8 * bytes, 0x21), bytes);
        Write(dir, "depth" + std::to_string(depth), f.Build());
    }
}

void PcxSeeds(const fs::path& dir) {
    const std::pair<int, int> layouts[] = {{1, 1}, {1, 4}, {2, 1}, {4, 1}, {8, 1}, {8, 3}, {8, 4}};
    for (const auto& [bits, planes] : layouts) {
        PcxFile f;
        f.bitsPerPlane = static_cast<std::uint8_t>(bits);
        f.planes = static_cast<std::uint8_t>(planes);
        f.xMax = 6;
        f.yMax = 2;
        Bytes raw(static_cast<std::size_t>(f.LineBytes()) * static_cast<std::size_t>(planes) * 3);
        for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i / 3 * 41);
        f.data = EncodePcxRle(raw);
        if (bits == 8 && planes == 1) f.vgaPalette = Bytes(768, 0x77);
        Write(dir, "pcx_" + std::to_string(bits) + "x" + std::to_string(planes), f.Build());
    }
}

// Screen-list files: one as the program writes it, and hand-edited ones with every line end.
void ListFileSeeds(const fs::path& dir) {
    const std::string files[] = {
        "[START]\r\nC:\\PICS\\LOGO1.BMP\r\n\r\n[WAIT]\r\n\r\n[SHUT]\r\nC:\\OFF.SYS\r\n\r\n"
        "[WALLPAPER]\r\nC:\\PICS\\SEA.JPG, Tiled\r\nD:\\B.GIF, Fit 2 Screen\r\n",
        "[WALLPAPER]\rA.JPG,   mirror \rC:B.JPG\n[SHUT]\r   \r\n[wait]\r\nX\x1a[START]\r\nY\r\n",
        "X.BMP\r\n[WAIT]\r\r\n\\\\S\\SH\\Z.BMP\r\n[WAIT]\r\nC:\\A,B\\C.BMP\r\n[WALLPAPER]\r\nC:\\A,B\\C.BMP,"
        "stretched",
    };
    int i = 0;
    for (const auto& f : files) Write(dir, "list" + std::to_string(i++), Bytes(f.begin(), f.end()));
}

// MSDOS.SYS files as set-ups leave them, one with LF line ends, and the two keys off.
void MsDosSeeds(const fs::path& dir) {
    for (const auto& [name, text] : mvpr::test::RealMsDosFiles())
        Write(dir, "msdos " + name, Bytes(text.begin(), text.end()));
    for (const std::string& text : {mvpr::test::MsDosText("[Options]\nLogo=0\nBootGUI = 00\n", "\n"),
                                    mvpr::test::MsDosText("[OPTIONS]\nlogo=0\n", "\r\n", 1025)})
        Write(dir, "msdos off " + std::to_string(text.size()), Bytes(text.begin(), text.end()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <corpus-dir>\n");
        return 2;
    }
    const fs::path root = argv[1];
    BmpSeeds(root / "bmp_fuzz");
    TgaSeeds(root / "tga_fuzz");
    PcxSeeds(root / "pcx_fuzz");
    ListFileSeeds(root / "listfile_fuzz");
    MsDosSeeds(root / "msdossys_fuzz");
    std::printf("%d seeds written under %s\n", written, argv[1]);
    return 0;
}
