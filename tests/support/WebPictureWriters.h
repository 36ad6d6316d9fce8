#ifndef MVPR_TESTS_WEBPICTUREWRITERS_H
#define MVPR_TESTS_WEBPICTUREWRITERS_H

// Minimal PNG and GIF writers for tests: PNG with stored (uncompressed) deflate blocks, GIF with
// fixed-width LZW codes. Valid files of exactly known pixels, without any image library.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace mvpr::samples {

using WebBytes = std::vector<std::uint8_t>;

inline void PutBe32(WebBytes& b, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline std::uint32_t Crc32(const std::uint8_t* p, std::size_t n, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

struct PngImage {
    std::uint32_t width = 1, height = 1;
    std::uint8_t bitDepth = 8;
    std::uint8_t colorType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    std::vector<std::uint8_t> palette;  // RGB triples, colour type 3
    std::vector<std::uint8_t> transparency;  // tRNS contents, if any
    std::vector<std::vector<std::uint8_t>> rows;  // packed as PNG stores them, without filter bytes

    WebBytes Build() const {
        WebBytes out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
        auto chunk = [&](const char* type, const WebBytes& data) {
            PutBe32(out, static_cast<std::uint32_t>(data.size()));
            const std::size_t start = out.size();
            out.insert(out.end(), type, type + 4);
            out.insert(out.end(), data.begin(), data.end());
            PutBe32(out, Crc32(out.data() + start, out.size() - start));
        };
        WebBytes ihdr;
        PutBe32(ihdr, width);
        PutBe32(ihdr, height);
        ihdr.insert(ihdr.end(), {bitDepth, colorType, 0, 0, 0});
        chunk("IHDR", ihdr);
        if (!palette.empty()) chunk("PLTE", palette);
        if (!transparency.empty()) chunk("tRNS", transparency);

        WebBytes raw;
        for (const auto& row : rows) {
            raw.push_back(0);  // filter: none
            raw.insert(raw.end(), row.begin(), row.end());
        }
        WebBytes z = {0x78, 0x01};
        std::size_t pos = 0;
        do {
            const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
            const bool last = pos + n == raw.size();
            z.push_back(last ? 1 : 0);
            z.push_back(static_cast<std::uint8_t>(n));
            z.push_back(static_cast<std::uint8_t>(n >> 8));
            z.push_back(static_cast<std::uint8_t>(~n));
            z.push_back(static_cast<std::uint8_t>(~n >> 8));
            z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                     raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
            pos += n;
        } while (pos < raw.size());
        std::uint32_t a = 1, b = 0;
        for (std::uint8_t v : raw) {
            a = (a + v) % 65521;
            b = (b + a) % 65521;
        }
        PutBe32(z, b << 16 | a);
        chunk("IDAT", z);
        chunk("IEND", {});
        return out;
    }
};

struct GifFrame {
    std::uint16_t left = 0, top = 0, width = 1, height = 1;
    std::vector<std::uint8_t> indexes;  // width * height, row by row
};

// A GIF89a with a 256-entry global colour table (RGB triples, padded with black) and frames.
inline WebBytes BuildGif(std::uint16_t width, std::uint16_t height, std::vector<std::uint8_t> palette,
                         const std::vector<GifFrame>& frames) {
    palette.resize(768, 0);
    WebBytes out = {'G', 'I', 'F', '8', '9', 'a'};
    auto put16 = [&](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    put16(width);
    put16(height);
    out.insert(out.end(), {0xF7, 0, 0});  // global table of 256, background 0
    out.insert(out.end(), palette.begin(), palette.end());
    for (const GifFrame& f : frames) {
        out.insert(out.end(), {0x21, 0xF9, 4, 0x04, 10, 0, 0, 0});  // keep the frame, 0.1 s
        out.push_back(0x2C);
        put16(f.left);
        put16(f.top);
        put16(f.width);
        put16(f.height);
        out.push_back(0);
        // 9-bit codes: each pixel a literal, a clear code often enough that the width never grows.
        out.push_back(8);
        WebBytes data;
        std::uint32_t acc = 0;
        int bits = 0;
        auto code = [&](std::uint32_t c) {
            acc |= c << bits;
            bits += 9;
            while (bits >= 8) {
                data.push_back(static_cast<std::uint8_t>(acc));
                acc >>= 8;
                bits -= 8;
            }
        };
        code(256);
        for (std::size_t i = 0; i < f.indexes.size(); ++i) {
            if (i > 0 && i % 254 == 0) code(256);
            code(f.indexes[i]);
        }
        code(257);
        if (bits > 0) data.push_back(static_cast<std::uint8_t>(acc));
        for (std::size_t pos = 0; pos < data.size(); pos += 255) {
            const std::size_t n = std::min<std::size_t>(255, data.size() - pos);
            out.push_back(static_cast<std::uint8_t>(n));
            out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(pos),
                       data.begin() + static_cast<std::ptrdiff_t>(pos + n));
        }
        out.push_back(0);
    }
    out.push_back(0x3B);
    return out;
}

}  // namespace mvpr::samples

#endif
