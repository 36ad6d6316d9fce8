#include "imaging/Picture.h"

#include <bit>
#include <cstring>
#include <new>

#include "imaging/ByteOrder.h"

namespace mvpr {

namespace {

bool ValidDepth(int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32: return true;
        default: return false;
    }
}

}  // namespace

ChannelMasks DefaultMasks(int bitsPerPixel) {
    if (bitsPerPixel == 16) return {0x7C00, 0x03E0, 0x001F, 0};
    if (bitsPerPixel == 32) return {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    return {};
}

std::uint8_t ExtractChannel(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t top = mask >> shift;  // gaps in an odd mask count as bits
    const std::uint64_t maxValue = (std::uint64_t{1} << std::bit_width(top)) - 1;
    const std::uint64_t v = (value & mask) >> shift;
    return static_cast<std::uint8_t>((v * 255 + maxValue / 2) / maxValue);
}

std::optional<std::size_t> Picture::StrideFor(int width, int bitsPerPixel) {
    if (width < 0 || !ValidDepth(bitsPerPixel)) return std::nullopt;
    std::size_t bits = 0;
    if (__builtin_mul_overflow(static_cast<std::size_t>(width), static_cast<std::size_t>(bitsPerPixel),
                               &bits) ||
        bits > SIZE_MAX - 31)
        return std::nullopt;
    return (bits + 31) / 32 * 4;
}

std::optional<Picture> Picture::Make(int width, int height, int bitsPerPixel, const DecodeLimits& limits,
                                     bool clear) {
    if (width <= 0 || height <= 0 || !limits.Allows(width, height)) return std::nullopt;
    const auto stride = StrideFor(width, bitsPerPixel);
    if (!stride) return std::nullopt;
    std::size_t total = 0;
    if (__builtin_mul_overflow(*stride, static_cast<std::size_t>(height), &total) || total > limits.maxBytes)
        return std::nullopt;
    Picture p;
    p.pixels_.reset(clear ? new (std::nothrow) std::uint8_t[total]()
                          : new (std::nothrow) std::uint8_t[total]);
    if (!p.pixels_) return std::nullopt;
    p.capacity_ = total;
    p.width_ = width;
    p.height_ = height;
    p.bitsPerPixel_ = bitsPerPixel;
    p.stride_ = *stride;
    if (bitsPerPixel <= 8) p.palette_.assign(std::size_t{1} << bitsPerPixel, Bgra{});
    p.masks_ = DefaultMasks(bitsPerPixel);
    return p;
}

bool Picture::Reshape(int width, int height, int bitsPerPixel, const DecodeLimits& limits) {
    if (width <= 0 || height <= 0 || !limits.Allows(width, height)) return false;
    const auto stride = StrideFor(width, bitsPerPixel);
    std::size_t total = 0;
    if (!stride || __builtin_mul_overflow(*stride, static_cast<std::size_t>(height), &total) ||
        total > limits.maxBytes)
        return false;
    if (!pixels_ || total > capacity_) {
        auto fresh = Make(width, height, bitsPerPixel, limits, false);
        if (!fresh) return false;
        *this = std::move(*fresh);
        return true;
    }
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    stride_ = *stride;
    palette_.clear();
    if (bitsPerPixel <= 8) palette_.assign(std::size_t{1} << bitsPerPixel, Bgra{});
    explicitMasks_ = false;
    masks_ = DefaultMasks(bitsPerPixel);
    return true;
}

std::optional<Picture> Picture::Create(int width, int height, int bitsPerPixel, const DecodeLimits& limits) {
    return Make(width, height, bitsPerPixel, limits, true);
}

std::optional<Picture> Picture::CreateForOverwrite(int width, int height, int bitsPerPixel,
                                                   const DecodeLimits& limits) {
    return Make(width, height, bitsPerPixel, limits, false);
}

Picture::Picture(const Picture& other)
    : width_(other.width_),
      height_(other.height_),
      bitsPerPixel_(other.bitsPerPixel_),
      stride_(other.stride_),
      palette_(other.palette_),
      explicitMasks_(other.explicitMasks_),
      masks_(other.masks_) {
    if (other.pixels_) {
        pixels_ = std::make_unique_for_overwrite<std::uint8_t[]>(other.ByteSize());
        capacity_ = other.ByteSize();
        std::memcpy(pixels_.get(), other.pixels_.get(), other.ByteSize());
    }
}

Picture& Picture::operator=(const Picture& other) {
    if (this != &other) *this = Picture(other);
    return *this;
}

void Picture::SetExplicitMasks(const ChannelMasks& masks) {
    if (bitsPerPixel_ != 16 && bitsPerPixel_ != 32) return;
    explicitMasks_ = true;
    masks_ = masks;
}

PixelFormat Picture::Format() const {
    if (Empty()) return PixelFormat::Device;
    return PixelFormatOfDib(bitsPerPixel_, explicitMasks_ ? DibStorage::Bitfields : DibStorage::Rgb,
                            masks_.green);
}

Bgra Picture::ColorAt(int x, int y) const {
    const std::uint8_t* row = Row(y);
    auto fromPalette = [&](std::size_t index) {
        Bgra c = index < palette_.size() ? palette_[index] : Bgra{};
        c.a = 255;
        return c;
    };
    switch (bitsPerPixel_) {
        case 1: return fromPalette((row[x >> 3] >> (7 - (x & 7))) & 1u);
        case 4: return fromPalette((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0Fu);
        case 8: return fromPalette(row[x]);
        case 24: {
            const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
            return {p[0], p[1], p[2], 255};
        }
        case 16:
        case 32: {
            const std::uint32_t v = bitsPerPixel_ == 16 ? bytes::Le16(row + static_cast<std::size_t>(x) * 2)
                                                        : bytes::Le32(row + static_cast<std::size_t>(x) * 4);
            return {ExtractChannel(v, masks_.blue), ExtractChannel(v, masks_.green),
                    ExtractChannel(v, masks_.red),
                    masks_.alpha ? ExtractChannel(v, masks_.alpha) : std::uint8_t{255}};
        }
        default: return {};
    }
}

bool operator==(const Picture& a, const Picture& b) {
    if (a.width_ != b.width_ || a.height_ != b.height_ || a.bitsPerPixel_ != b.bitsPerPixel_ ||
        a.explicitMasks_ != b.explicitMasks_ || a.masks_ != b.masks_ || a.palette_ != b.palette_)
        return false;
    return a.ByteSize() == 0 || std::memcmp(a.pixels_.get(), b.pixels_.get(), a.ByteSize()) == 0;
}

}  // namespace mvpr
