#ifndef MVPR_TESTS_IMAGINGSAMPLES_H
#define MVPR_TESTS_IMAGINGSAMPLES_H

// Builders for the picture files the imaging tests, benchmarks and fuzz seeds need. They write
// the bytes field by field from the format descriptions, independently of the decoders under test.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "imaging/Picture.h"

namespace mvpr::samples {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void Put16s(Bytes& b, std::initializer_list<std::uint32_t> values) {
    for (std::uint32_t v : values) Put16(b, v);
}

inline void Put32s(Bytes& b, std::initializer_list<std::uint32_t> values) {
    for (std::uint32_t v : values) Put32(b, v);
}

inline void Append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}

// A deterministic colour per position, so that every pixel of a test picture differs from its
// neighbours and a swapped row, column or channel shows.
inline Bgra Pattern(int x, int y) {
    return {static_cast<std::uint8_t>(x * 7 + y * 3), static_cast<std::uint8_t>(x * 13 + y * 29 + 5),
            static_cast<std::uint8_t>(x * 31 + y * 11 + 9), 255};
}

// A 24- or 32-bit picture of Pattern, the fourth byte 255.
inline Picture PatternPicture(int width, int height, int bitsPerPixel = 24) {
    auto p = Picture::Create(width, height, bitsPerPixel);
    const int n = bitsPerPixel / 8;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Bgra c = Pattern(x, y);
            std::uint8_t* px = p->Row(y) + x * n;
            px[0] = c.b, px[1] = c.g, px[2] = c.r;
            if (n == 4) px[3] = 255;
        }
    return *p;
}

// ---- BMP --------------------------------------------------------------------------------

// Rows of stored pixel values packed as a BMP stores them (MSB first below 8 bits, little-endian
// words above), each padded to 4 bytes. `value(x, row)` gets rows in file order.
inline Bytes PackRows(int width, int rows, int bpp, const std::function<std::uint32_t(int, int)>& value,
                      bool padLastRow = true) {
    const std::size_t stride =
        (static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp) + 31) / 32 * 4;
    Bytes out;
    for (int y = 0; y < rows; ++y) {
        Bytes row(stride, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = value(x, y);
            switch (bpp) {
                case 1: row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
                default:  // whole bytes, little-endian
                    for (int k = 0; k < bpp / 8; ++k)
                        row[x * (bpp / 8) + k] = static_cast<std::uint8_t>(v >> (8 * k));
            }
        }
        if (!padLastRow && y == rows - 1) row.resize((static_cast<std::size_t>(width) * bpp + 7) / 8);
        Append(out, row);
    }
    return out;
}

struct BmpFile {
    std::uint32_t headerSize = 40;  // 12, 40, 52, 56, 108, 124
    std::int32_t width = 1;
    std::int32_t height = 1;  // negative: top-down
    std::uint16_t bpp = 8;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<Bgra> palette;             // entries written after the header (and masks)
    std::optional<ChannelMasks> masks;     // after a 40-byte header, or inside larger ones
    bool fourMasks = false;                // BI_ALPHABITFIELDS after a 40-byte header
    std::optional<std::uint32_t> offBits;  // default: right after the palette
    Bytes pixels;                          // exactly as stored

    Bytes Build() const {
        Bytes h;
        Put32(h, headerSize);
        if (headerSize == 12) {
            Put16s(h, {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 1, bpp});
        } else {
            Put32s(h, {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)});
            Put16s(h, {1, bpp});
            Put32s(h, {compression, static_cast<std::uint32_t>(pixels.size()), 2835, 2835, colorsUsed, 0});
            const ChannelMasks m = masks.value_or(ChannelMasks{});
            if (headerSize >= 52) Put32s(h, {m.red, m.green, m.blue});
            if (headerSize >= 56) Put32(h, m.alpha);
            if (headerSize >= 108) {
                Put32(h, 0x73524742);  // sRGB
                h.resize(h.size() + 36 + 12, 0);
            }
            if (headerSize >= 124) Put32s(h, {4, 0, 0, 0});  // intent
            if (headerSize == 40 && masks) Put32s(h, {m.red, m.green, m.blue});
            if (headerSize == 40 && masks && fourMasks) Put32(h, m.alpha);
        }
        for (const Bgra& c : palette) {
            h.insert(h.end(), {c.b, c.g, c.r});
            if (headerSize != 12) h.push_back(c.a);
        }
        const std::uint32_t off = offBits.value_or(static_cast<std::uint32_t>(14 + h.size()));
        Bytes f{'B', 'M'};
        Put32(f, static_cast<std::uint32_t>(14 + h.size() + pixels.size()));
        Put32(f, 0);
        Put32(f, off);
        Append(f, h);
        if (off > f.size()) f.resize(off, 0);
        Append(f, pixels);
        return f;
    }
};

inline std::vector<Bgra> GreyPalette(int entries) {
    std::vector<Bgra> p;
    for (int i = 0; i < entries; ++i) {
        const auto v = static_cast<std::uint8_t>(entries > 1 ? i * 255 / (entries - 1) : 0);
        p.push_back({v, static_cast<std::uint8_t>(255 - v), static_cast<std::uint8_t>(i * 37), 0});
    }
    return p;
}

// Encodes rows of indexes (file order) as BI_RLE8 or BI_RLE4: runs where pixels repeat,
// absolute runs elsewhere, an end of line after each row and an end-of-bitmap mark.
inline Bytes EncodeRle(const std::vector<std::vector<std::uint8_t>>& rows, bool rle4) {
    Bytes out;
    for (const auto& row : rows) {
        std::size_t i = 0;
        while (i < row.size()) {
            std::size_t run = 1;
            // RLE4 runs alternate two nibbles; a run of one repeated index is the simple case.
            while (i + run < row.size() && row[i + run] == row[i] && run < 255) ++run;
            if (run >= 2 || row.size() - i < 3) {
                out.push_back(static_cast<std::uint8_t>(run));
                out.push_back(rle4 ? static_cast<std::uint8_t>(row[i] << 4 | row[i]) : row[i]);
                i += run;
                continue;
            }
            std::size_t n = 1;
            while (i + n < row.size() && n < 255 && !(i + n + 1 < row.size() && row[i + n] == row[i + n + 1]))
                ++n;
            if (n < 3) {
                out.push_back(1);
                out.push_back(rle4 ? static_cast<std::uint8_t>(row[i] << 4 | row[i]) : row[i]);
                ++i;
                continue;
            }
            out.push_back(0);
            out.push_back(static_cast<std::uint8_t>(n));
            for (std::size_t k = 0; k < n; k += rle4 ? 2 : 1)
                out.push_back(
                    rle4 ? static_cast<std::uint8_t>(row[i + k] << 4 | (k + 1 < n ? row[i + k + 1] : 0))
                         : row[i + k]);
            if ((rle4 ? (n + 1) / 2 : n) % 2) out.push_back(0);  // absolute runs end on a word
            i += n;
        }
        out.push_back(0);
        out.push_back(0);
    }
    out.back() = 1;  // the last end of line already ended the bitmap for a reader: the mark instead
    return out;
}

// ---- TGA --------------------------------------------------------------------------------

struct TgaFile {
    std::uint8_t imageType = 2;  // 1, 2, 3; +8 for RLE
    std::uint8_t mapType = 0;
    std::uint16_t mapFirst = 0;
    std::uint16_t mapLength = 0;
    std::uint8_t mapEntryBits = 0;
    std::uint16_t width = 1, height = 1;
    std::uint8_t depth = 24;
    std::uint8_t descriptor = 0;  // 0x20 top-down, 0x10 right-to-left
    std::string id;
    Bytes map;     // stored colour map entries
    Bytes pixels;  // stored pixel data (already RLE-packed for RLE types)

    Bytes Build() const {
        Bytes f{static_cast<std::uint8_t>(id.size()), mapType, imageType};
        Put16s(f, {mapFirst, mapLength});
        f.push_back(mapEntryBits);
        Put16s(f, {0, 0, width, height});
        f.insert(f.end(), {depth, descriptor});
        f.insert(f.end(), id.begin(), id.end());
        Append(f, map);
        Append(f, pixels);
        return f;
    }
};

// TGA RLE over pixels of `bytesPerPixel` bytes given in stream order; packets of at most 128
// pixels, crossing rows unless `rowLength` is given.
inline Bytes EncodeTgaRle(const Bytes& raw, std::size_t bytesPerPixel, std::size_t rowLength = 0) {
    Bytes out;
    const std::size_t count = raw.size() / bytesPerPixel;
    auto same = [&](std::size_t a, std::size_t b) {
        return std::equal(raw.begin() + static_cast<std::ptrdiff_t>(a * bytesPerPixel),
                          raw.begin() + static_cast<std::ptrdiff_t>((a + 1) * bytesPerPixel),
                          raw.begin() + static_cast<std::ptrdiff_t>(b * bytesPerPixel));
    };
    std::size_t i = 0;
    while (i < count) {
        std::size_t limit = std::min<std::size_t>(128, count - i);
        if (rowLength) limit = std::min(limit, rowLength - i % rowLength);
        std::size_t run = 1;
        while (run < limit && same(i, i + run)) ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
            out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(i * bytesPerPixel),
                       raw.begin() + static_cast<std::ptrdiff_t>((i + 1) * bytesPerPixel));
            i += run;
            continue;
        }
        std::size_t n = 1;
        while (n < limit && !(n + 1 < limit && same(i + n, i + n + 1))) ++n;
        out.push_back(static_cast<std::uint8_t>(n - 1));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(i * bytesPerPixel),
                   raw.begin() + static_cast<std::ptrdiff_t>((i + n) * bytesPerPixel));
        i += n;
    }
    return out;
}

// ---- PCX --------------------------------------------------------------------------------

struct PcxFile {
    std::uint8_t version = 5;
    std::uint8_t encoding = 1;
    std::uint8_t bitsPerPlane = 8;
    std::uint8_t planes = 1;
    std::uint16_t xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    std::uint16_t bytesPerLine = 0;   // 0: the smallest even length
    Bytes headerPalette;              // up to 48 bytes of RGB
    Bytes data;                       // stored image data (already RLE-packed when encoding is 1)
    std::optional<Bytes> vgaPalette;  // 768 bytes of RGB, written after 0x0C

    std::uint16_t LineBytes() const {
        if (bytesPerLine) return bytesPerLine;
        const int width = xMax - xMin + 1;
        const int bytes = (width * bitsPerPlane + 7) / 8;
        return static_cast<std::uint16_t>(bytes + (bytes & 1));
    }

    Bytes Build() const {
        Bytes f{0x0A, version, encoding, bitsPerPlane};
        Put16s(f, {xMin, yMin, xMax, yMax, 72, 72});
        Bytes pal = headerPalette;
        pal.resize(48, 0);
        Append(f, pal);
        f.insert(f.end(), {0, planes});
        Put16s(f, {LineBytes(), 1});
        f.resize(128, 0);
        Append(f, data);
        if (vgaPalette) {
            f.push_back(0x0C);
            Append(f, *vgaPalette);
        }
        return f;
    }
};

// PCX RLE of one stream; a byte of 0xC0 or more always needs a count.
inline Bytes EncodePcxRle(const Bytes& raw) {
    Bytes out;
    std::size_t i = 0;
    while (i < raw.size()) {
        std::size_t run = 1;
        while (i + run < raw.size() && raw[i + run] == raw[i] && run < 63) ++run;
        if (run > 1 || raw[i] >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 | run));
        out.push_back(raw[i]);
        i += run;
    }
    return out;
}

}  // namespace mvpr::samples

#endif
