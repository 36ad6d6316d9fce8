#include "imaging/PcxDecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

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

// Expands the RLE (or copies the plain) stream one scan line at a time. Runs may cross lines.
class LineReader {
public:
    LineReader(std::span<const std::uint8_t> data, bool rle) : data_(data), rle_(rle) {}

    bool Next(std::uint8_t* line, std::size_t length) {
        std::size_t done = 0;
        while (done < length) {
            if (pending_ > 0) {
                const std::size_t n = std::min(pending_, length - done);
                std::memset(line + done, value_, n);
                done += n;
                pending_ -= n;
                continue;
            }
            if (pos_ >= data_.size()) return false;
            if (!rle_) {
                const std::size_t n = std::min(length - done, data_.size() - pos_);
                std::memcpy(line + done, data_.data() + pos_, n);
                pos_ += n;
                done += n;
                continue;
            }
            const std::uint8_t b = data_[pos_++];
            if ((b & 0xC0) != 0xC0) {
                line[done++] = b;
                continue;
            }
            if (pos_ >= data_.size()) return false;
            pending_ = b & 0x3Fu;
            value_ = data_[pos_++];
        }
        return true;
    }

private:
    std::span<const std::uint8_t> data_;
    bool rle_;
    std::size_t pos_ = 0;
    std::size_t pending_ = 0;
    std::uint8_t value_ = 0;
};

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
    if (width > limits.maxSide || height > limits.maxSide) return {DecodeStatus::TooLarge, {}};
    if (bytesPerLine < (static_cast<std::size_t>(width) * bits + 7) / 8) return {DecodeStatus::Corrupt, {}};

    // Refuse before allocating when the file cannot hold the pixels: one RLE pair gives 63 bytes.
    const std::size_t lineLength = bytesPerLine * planes;
    const std::uint64_t total = static_cast<std::uint64_t>(lineLength) * static_cast<std::uint64_t>(height);
    const std::uint64_t available = size - kHeaderSize;
    if ((p[2] == 1 ? available * 63 : available) < total) return {DecodeStatus::Truncated, {}};

    const auto stride = Picture::StrideFor(width, outBits);
    if (!stride || static_cast<std::uint64_t>(*stride) * static_cast<std::uint64_t>(height) > limits.maxBytes)
        return {DecodeStatus::TooLarge, {}};
    auto created = Picture::Create(width, height, outBits, limits);
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

    std::vector<std::uint8_t> line(lineLength);
    LineReader reader(file.subspan(kHeaderSize), p[2] == 1);
    const auto w = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        if (!reader.Next(line.data(), lineLength)) return {DecodeStatus::Truncated, {}};
        std::uint8_t* dst = picture.Row(y);
        const std::uint8_t* src = line.data();
        if (planes == 1 && (bits == 1 || bits == 4 || bits == 8)) {
            std::memcpy(dst, src, (w * bits + 7) / 8);
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
            const std::size_t step = planes;  // 3 or 4 bytes per picture pixel
            const std::uint8_t* r = src;
            const std::uint8_t* g = src + bytesPerLine;
            const std::uint8_t* b = src + 2 * bytesPerLine;
            const std::uint8_t* a = planes == 4 ? src + 3 * bytesPerLine : nullptr;
            for (std::size_t x = 0; x < w; ++x, dst += step) {
                dst[0] = b[x];
                dst[1] = g[x];
                dst[2] = r[x];
                if (a) dst[3] = a[x];
            }
        }
    }
    return {DecodeStatus::Ok, std::move(picture)};
}

}  // namespace mvpr
