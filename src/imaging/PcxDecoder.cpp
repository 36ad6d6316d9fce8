#include "imaging/PcxDecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "imaging/ByteOrder.h"

namespace mvpr {

using bytes::Le16;

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kVgaPaletteSize = 769;  // 0x0C then 256 RGB triples, at the end of the file

// What a writer that stored no palette (version 3) meant: the EGA colours.
constexpr std::uint8_t kEgaPalette[16][3] = {
    {0, 0, 0},       {0, 0, 170},    {0, 170, 0},    {0, 170, 170},   {170, 0, 0},     {170, 0, 170},
    {170, 85, 0},    {170, 170, 170}, {85, 85, 85},  {85, 85, 255},   {85, 255, 85},   {85, 255, 255},
    {255, 85, 85},   {255, 85, 255}, {255, 255, 85}, {255, 255, 255}};

bool KnownVersion(unsigned v) { return v == 0 || v == 2 || v == 3 || v == 4 || v == 5; }

// The decoded depth for one combination of bits per plane and planes, 0 when not read.
int OutputBits(unsigned bits, unsigned planes) {
    if (bits == 1 && planes == 1) return 1;
    if (bits == 1 && planes <= 4) return 4;
    if ((bits == 2 || bits == 4) && planes == 1) return 4;
    if (bits == 8 && planes == 1) return 8;
    if (bits == 8 && planes == 3) return 24;
    if (bits == 8 && planes == 4) return 32;
    return 0;
}

// Room past the end of a scan line for the 8-byte stores of a run.
constexpr std::size_t kLineSlack = 64;

// Writes kLineSlack bytes of one value, as four or eight plain stores: GCC makes a memset of
// this size a rep stosb, which costs more than the run it stores.
inline void FillSlack(std::uint8_t* dst, std::uint8_t value) {
#if defined(__SSE2__)
    const __m128i v = _mm_set1_epi8(static_cast<char>(value));
    for (std::size_t i = 0; i < kLineSlack; i += 16) _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), v);
#else
    const std::uint64_t v = value * 0x0101010101010101ull;
    for (std::size_t i = 0; i < kLineSlack; i += 8) std::memcpy(dst + i, &v, 8);
#endif
}

// Expands the RLE (or copies the plain) stream one scan line at a time. Runs may cross lines.
class LineReader {
public:
    LineReader(std::span<const std::uint8_t> data, bool rle) : data_(data), rle_(rle) {}

    // `line` must have kLineSlack bytes past `length`: runs are stored 8 bytes at a time.
    bool Next(std::uint8_t* line, std::size_t length) {
        std::size_t done = std::min(pending_, length);
        std::memset(line, value_, done);
        pending_ -= done;
        const std::uint8_t* d = data_.data();
        const std::size_t size = data_.size();
        std::size_t pos = pos_;
        if (!rle_) {
            const std::size_t n = std::min(length - done, size - pos);
            std::memcpy(line + done, d + pos, n);
            pos_ = pos + n;
            return done + n == length;
        }
        while (done < length) {
            if (pos >= size) return false;
            const std::uint8_t b = d[pos++];
            if (b < 0xC0) {
                line[done++] = b;
                continue;
            }
            if (pos >= size) return false;
            const std::size_t count = b & 0x3Fu;
            const std::uint8_t v = d[pos++];
            FillSlack(line + done, v);
            const std::size_t n = std::min(count, length - done);
            done += n;
            pending_ = count - n;
            value_ = v;
        }
        pos_ = pos;
        return true;
    }

private:
    std::span<const std::uint8_t> data_;
    bool rle_;
    std::size_t pos_ = 0;
    std::size_t pending_ = 0;
    std::uint8_t value_ = 0;
};

// Red, green and blue planes (and alpha) of one scan line into BGR (BGRA) pixels. Planar 24-bit
// files are the slow case of this format, so SSE2 does 16 pixels a step where there is SSE2.
void InterleavePlanes(const std::uint8_t* r, const std::uint8_t* g, const std::uint8_t* b, const std::uint8_t* a,
                      std::uint8_t* dst, std::size_t w) {
    std::size_t x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    // Within each 8-byte half of a BGRX quad: first pixel in place, second moved next to it.
    const __m128i first = _mm_set1_epi64x(0x0000000000FFFFFFLL);
    const __m128i second = _mm_set1_epi64x(0x0000FFFFFF000000LL);
    const std::size_t pixelBytes = a ? 4 : 3;
    // Three-byte pixels are stored 8 bytes at a time, 2 past the quad: keep a pixel for the tail
    // to overwrite them.
    for (; x + (a ? 16 : 17) <= w; x += 16, dst += 16 * pixelBytes) {
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x));
        const __m128i vg = _mm_loadu_si128(reinterpret_cast<const __m128i*>(g + x));
        const __m128i vr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + x));
        const __m128i va = a ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)) : zero;
        const __m128i bgLow = _mm_unpacklo_epi8(vb, vg), bgHigh = _mm_unpackhi_epi8(vb, vg);
        const __m128i raLow = _mm_unpacklo_epi8(vr, va), raHigh = _mm_unpackhi_epi8(vr, va);
        const __m128i quads[4] = {_mm_unpacklo_epi16(bgLow, raLow), _mm_unpackhi_epi16(bgLow, raLow),
                                  _mm_unpacklo_epi16(bgHigh, raHigh), _mm_unpackhi_epi16(bgHigh, raHigh)};
        for (int q = 0; q < 4; ++q) {
            if (a) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16 * q), quads[q]);
                continue;
            }
            const __m128i packed = _mm_or_si128(_mm_and_si128(quads[q], first),
                                                _mm_and_si128(_mm_srli_epi64(quads[q], 8), second));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 12 * q), packed);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 12 * q + 6), _mm_srli_si128(packed, 8));
        }
    }
#endif
    for (; x < w; ++x) {
        dst[0] = b[x];
        dst[1] = g[x];
        dst[2] = r[x];
        if (a) {
            dst[3] = a[x];
            dst += 4;
        } else {
            dst += 3;
        }
    }
}

}  // namespace

bool LooksLikePcx(std::span<const std::uint8_t> file) {
    if (file.size() < kHeaderSize || file[0] != 0x0A || !KnownVersion(file[1]) || file[2] > 1) return false;
    return OutputBits(file[3], file[65]) != 0;
}

DecodeResult DecodePcx(std::span<const std::uint8_t> file, const DecodeLimits& limits) {
    const std::size_t size = file.size();
    if (size == 0 || file[0] != 0x0A) return {DecodeStatus::NotThisFormat, {}};
    if (size < kHeaderSize) return {DecodeStatus::Truncated, {}};
    const std::uint8_t* p = file.data();
    if (!KnownVersion(p[1]) || p[2] > 1) return {DecodeStatus::NotThisFormat, {}};
    const unsigned bits = p[3];
    const unsigned planes = p[65];
    const int outBits = OutputBits(bits, planes);
    if (outBits == 0) return {DecodeStatus::Unsupported, {}};
    const int width = Le16(p + 8) - Le16(p + 4) + 1;
    const int height = Le16(p + 10) - Le16(p + 6) + 1;
    const std::size_t bytesPerLine = Le16(p + 66);
    if (width <= 0 || height <= 0) return {DecodeStatus::Corrupt, {}};
    if (!limits.Allows(width, height)) return {DecodeStatus::TooLarge, {}};
    if (bytesPerLine < (static_cast<std::size_t>(width) * bits + 7) / 8) return {DecodeStatus::Corrupt, {}};

    // Refuse before allocating when the file cannot hold the pixels: one RLE pair gives 63 bytes.
    const std::size_t lineLength = bytesPerLine * planes;
    const std::uint64_t total = static_cast<std::uint64_t>(lineLength) * static_cast<std::uint64_t>(height);
    const std::uint64_t available = size - kHeaderSize;
    if ((p[2] == 1 ? available * 63 : available) < total) return {DecodeStatus::Truncated, {}};

    const auto stride = Picture::StrideFor(width, outBits);
    if (!stride || static_cast<std::uint64_t>(*stride) * static_cast<std::uint64_t>(height) > limits.maxBytes)
        return {DecodeStatus::TooLarge, {}};
    // Every row is written in full below, padding included, or the decode fails.
    auto created = Picture::CreateForOverwrite(width, height, outBits, limits);
    if (!created) return {DecodeStatus::OutOfMemory, {}};
    Picture picture = std::move(*created);

    if (outBits == 8) {
        const bool vga = size >= kHeaderSize + kVgaPaletteSize && p[size - kVgaPaletteSize] == 0x0C;
        for (unsigned i = 0; i < 256; ++i) {
            const std::uint8_t* e = p + size - kVgaPaletteSize + 1 + i * 3;
            const auto grey = static_cast<std::uint8_t>(i);
            picture.Palette()[i] = vga ? Bgra{e[2], e[1], e[0], 0} : Bgra{grey, grey, grey, 0};
        }
    } else if (outBits == 1) {
        // Monochrome files mostly leave the table empty, or fill it with one colour.
        const std::uint8_t* e = p + 16;
        const bool usable = p[1] != 3 && !std::equal(e, e + 3, e + 3);
        picture.Palette()[0] = usable ? Bgra{e[2], e[1], e[0], 0} : Bgra{0, 0, 0, 0};
        picture.Palette()[1] = usable ? Bgra{e[5], e[4], e[3], 0} : Bgra{255, 255, 255, 0};
    } else if (outBits == 4) {
        const std::uint8_t* header = p + 16;
        const bool blank = std::all_of(header, header + 48, [](std::uint8_t b) { return b == 0; });
        const std::size_t entries = std::size_t{1} << (bits * planes);
        for (std::size_t i = 0; i < entries; ++i) {
            const std::uint8_t* e = (p[1] == 3 || blank) ? kEgaPalette[i] : header + i * 3;
            picture.Palette()[i] = {e[2], e[1], e[0], 0};
        }
    }

    std::vector<std::uint8_t> line(lineLength + kLineSlack);
    LineReader reader(file.subspan(kHeaderSize), p[2] == 1);
    const auto w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        if (!reader.Next(line.data(), lineLength)) return {DecodeStatus::Truncated, {}};
        std::uint8_t* dst = picture.Row(y);
        const std::uint8_t* src = line.data();
        const std::size_t used = (w * static_cast<std::size_t>(outBits) + 7) / 8;
        // Planes of bits are ORed together into a cleared row; the rest only needs its padding cleared.
        if (bits < 8 && planes * bits > 1)
            std::memset(dst, 0, picture.Stride());
        else
            std::memset(dst + used, 0, picture.Stride() - used);
        if (planes == 1 && (bits == 1 || bits == 4 || bits == 8)) {
            std::memcpy(dst, src, used);
        } else if (bits == 2) {
            for (std::size_t x = 0; x < w; ++x) {
                const unsigned index = (src[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
                dst[x >> 1] = static_cast<std::uint8_t>(dst[x >> 1] | (x & 1 ? index : index << 4));
            }
        } else if (bits == 1) {
            for (std::size_t x = 0; x < w; ++x) {
                unsigned index = 0;
                for (unsigned k = 0; k < planes; ++k)
                    index |= ((src[k * bytesPerLine + (x >> 3)] >> (7 - (x & 7))) & 1u) << k;
                dst[x >> 1] = static_cast<std::uint8_t>(dst[x >> 1] | (x & 1 ? index : index << 4));
            }
        } else {
            InterleavePlanes(src, src + bytesPerLine, src + 2 * bytesPerLine,
                             planes == 4 ? src + 3 * bytesPerLine : nullptr, dst, w);
        }
    }
    return {DecodeStatus::Ok, std::move(picture)};
}

}  // namespace mvpr
