#ifndef MVPR_IMAGING_PICTURE_H
#define MVPR_IMAGING_PICTURE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "imaging/PixelFormat.h"

namespace mvpr {

// A colour in the byte order of a Windows RGBQUAD.
struct Bgra {
    std::uint8_t b = 0, g = 0, r = 0, a = 0;
    friend bool operator==(const Bgra&, const Bgra&) = default;
};

struct ChannelMasks {
    std::uint32_t red = 0, green = 0, blue = 0, alpha = 0;
    friend bool operator==(const ChannelMasks&, const ChannelMasks&) = default;
};

// What any decoder may allocate for one picture. Picture files come from anywhere, and a few
// bytes of RLE may claim gigapixels: beyond these a picture counts as undecodable.
struct DecodeLimits {
    int maxSide = 16384;
    std::size_t maxBytes = std::size_t{512} << 20;
    std::uint64_t maxPixels = std::uint64_t{64} << 20;

    // Both sides positive is the caller's check; this one is the size.
    bool Allows(int width, int height) const {
        return width <= maxSide && height <= maxSide &&
               static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <= maxPixels;
    }
};

// A device-independent picture as a Windows DIB would hold it: 1, 4, 8, 16, 24 or 32 bits per
// pixel, rows padded to 4 bytes, palette for the indexed depths, channel masks for 16 and 32 bits.
// Rows are top-down here whatever order the file had. An empty picture is 0 x 0.
class Picture {
  public:
    Picture() = default;
    Picture(const Picture& other);
    Picture& operator=(const Picture& other);
    Picture(Picture&&) noexcept = default;
    Picture& operator=(Picture&&) noexcept = default;

    // Zero-filled pixels; nothing when a size is out of range or over the limits. The palette
    // of an indexed picture has all 2^bits entries, black until set.
    static std::optional<Picture> Create(int width, int height, int bitsPerPixel,
                                         const DecodeLimits& limits = {});
    // The same without clearing the pixels, for decoders that write every byte of every row.
    static std::optional<Picture> CreateForOverwrite(int width, int height, int bitsPerPixel,
                                                     const DecodeLimits& limits = {});
    // Makes this picture width x height at the depth, as CreateForOverwrite would, but in the memory
    // it already holds where that is big enough: a rendering made again and again then touches no
    // fresh pages. False, and the picture as it was, when a size is out of range or memory short.
    bool Reshape(int width, int height, int bitsPerPixel, const DecodeLimits& limits = {});
    // DIB row length, or nothing when it does not fit.
    static std::optional<std::size_t> StrideFor(int width, int bitsPerPixel);

    bool Empty() const { return width_ == 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    std::size_t Stride() const { return stride_; }
    std::size_t ByteSize() const { return stride_ * static_cast<std::size_t>(height_); }

    std::uint8_t* Row(int y) { return pixels_.get() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* Row(int y) const { return pixels_.get() + static_cast<std::size_t>(y) * stride_; }
    std::span<std::uint8_t> Bytes() { return {pixels_.get(), ByteSize()}; }
    std::span<const std::uint8_t> Bytes() const { return {pixels_.get(), ByteSize()}; }

    std::vector<Bgra>& Palette() { return palette_; }
    const std::vector<Bgra>& Palette() const { return palette_; }

    // 16 and 32 bits: plain RGB (5-5-5 or 8-8-8, the masks then give that layout) or explicit
    // masks, which the BMP writer keeps and the pixel format rule looks at.
    bool HasExplicitMasks() const { return explicitMasks_; }
    const ChannelMasks& Masks() const { return masks_; }
    void SetExplicitMasks(const ChannelMasks& masks);

    PixelFormat Format() const;

    // The colour of one pixel, through the palette or the masks; alpha is 255 unless the
    // masks carry one. Indexes past the palette read as black.
    Bgra ColorAt(int x, int y) const;

    friend bool operator==(const Picture& a, const Picture& b);

  private:
    static std::optional<Picture> Make(int width, int height, int bitsPerPixel, const DecodeLimits& limits,
                                       bool clear);

    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    std::size_t stride_ = 0;
    std::unique_ptr<std::uint8_t[]> pixels_;
    std::size_t capacity_ = 0;  // bytes at pixels_
    std::vector<Bgra> palette_;
    bool explicitMasks_ = false;
    ChannelMasks masks_;
};

// The masks a plain RGB DIB implies: 5-5-5 for 16 bits, 8-8-8 for 32, none otherwise.
ChannelMasks DefaultMasks(int bitsPerPixel);

// Scales the channel under a mask to 0..255; a zero mask gives 0.
std::uint8_t ExtractChannel(std::uint32_t value, std::uint32_t mask);

}  // namespace mvpr

#endif
