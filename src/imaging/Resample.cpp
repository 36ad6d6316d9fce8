#include "imaging/Resample.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "imaging/PixelRows.h"

namespace mvpr {
namespace {

// An indexed picture's colours, opaque, one for every index its depth can hold (black past
// the palette's end); empty for the other depths.
std::vector<Bgra> OpaquePalette(const Picture& src) {
    std::vector<Bgra> lut;
    if (src.BitsPerPixel() <= 8) {
        lut.assign(std::size_t{1} << src.BitsPerPixel(), Bgra{0, 0, 0, 255});
        const auto& pal = src.Palette();
        for (std::size_t i = 0; i < lut.size() && i < pal.size(); ++i)
            lut[i] = {pal[i].b, pal[i].g, pal[i].r, 255};
    }
    return lut;
}

// Plain 8-8-8 bit fields, with or without the fourth byte as alpha.
bool PlainBgr32(const Picture& src) {
    const ChannelMasks& m = src.Masks();
    return src.BitsPerPixel() == 32 && m.blue == 0xFFu && m.green == 0xFF00u && m.red == 0xFF0000u &&
           (m.alpha == 0 || m.alpha == 0xFF000000u);
}

void ConvertRow(const Picture& src, int y, const Bgra* lut, std::uint8_t* out, PixelPath path) {
    const int w = src.Width();
    const std::uint8_t* row = src.Row(y);
    switch (src.BitsPerPixel()) {
        case 8:
            for (int x = 0; x < w; ++x) std::memcpy(out + 4 * x, &lut[row[x]], 4);
            return;
        case 4:
            for (int x = 0; x < w; ++x)
                std::memcpy(out + 4 * x, &lut[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F], 4);
            return;
        case 1:
            for (int x = 0; x < w; ++x) std::memcpy(out + 4 * x, &lut[(row[x >> 3] >> (7 - (x & 7))) & 1], 4);
            return;
        case 24: rows::Bgr24Row(row, out, static_cast<std::size_t>(w), path); return;
        default: break;
    }
    if (PlainBgr32(src)) {
        if (src.Masks().alpha != 0)
            std::memcpy(out, row, static_cast<std::size_t>(w) * 4);
        else  // the unused byte made opaque in the same pass as the copy
            rows::OpaqueRow(row, out, static_cast<std::size_t>(w), path);
        return;
    }
    for (int x = 0; x < w; ++x) {
        const Bgra c = src.ColorAt(x, y);
        std::memcpy(out + 4 * x, &c, 4);
    }
}

}  // namespace

bool ToBgra32Into(const Picture& src, Picture& out, const DecodeLimits& limits) {
    if (src.Empty() || &src == &out || !out.Reshape(src.Width(), src.Height(), 32, limits)) return false;
    const std::vector<Bgra> lut = OpaquePalette(src);
    const PixelPath path = ActivePixelPath();
    for (int y = 0; y < src.Height(); ++y) ConvertRow(src, y, lut.data(), out.Row(y), path);
    return true;
}

std::optional<Picture> ToBgra32(const Picture& src, const DecodeLimits& limits) {
    Picture out;
    if (!ToBgra32Into(src, out, limits)) return std::nullopt;
    return out;
}

std::optional<Picture> ResamplePicture(const Picture& src, int width, int height,
                                       const DecodeLimits& limits) {
    Picture out;
    if (!ResampleInto(src, width, height, out, limits)) return std::nullopt;
    return out;
}

bool ResampleInto(const Picture& src, int width, int height, Picture& picture, const DecodeLimits& limits) {
    if (src.Empty() || width < 1 || height < 1 || &src == &picture) return false;
    if (width == src.Width() && height == src.Height()) return ToBgra32Into(src, picture, limits);
    if (!picture.Reshape(width, height, 32, limits)) return false;

    const PixelPath path = ActivePixelPath();
    const int sw = src.Width();
    const rows::Taps across = rows::MakeTaps(sw, width, rows::TapLayout::Evenly);
    const rows::Taps down = rows::MakeTaps(src.Height(), height, rows::TapLayout::Trimmed);
    // Plain 32-bit rows are read in place, an unused fourth byte made opaque at the end (the
    // channels never mix); any other row is converted into one row buffer first.
    const bool inPlace = PlainBgr32(src);
    const std::uint32_t fill = inPlace && src.Masks().alpha == 0 ? 0xFF000000u : 0;
    std::vector<std::uint32_t> converted(inPlace ? 0 : static_cast<std::size_t>(sw));
    const std::vector<Bgra> lut = OpaquePalette(src);

    // Each source row is scaled across once, into a ring as deep as the most rows one target
    // row takes; each target row is then weighted down from the ring's rows.
    const auto w = static_cast<std::size_t>(width);
    const auto ring = static_cast<std::size_t>(down.most);
    std::vector<std::uint32_t> scaled(w * ring);
    std::vector<int> ringRow(ring, -1);
    std::vector<const std::uint32_t*> taken(ring);
    auto acrossRow = [&](int sy) -> const std::uint32_t* {
        const auto* in = reinterpret_cast<const std::uint32_t*>(src.Row(sy));
        if (width == sw && inPlace) return in;
        const std::size_t slot = static_cast<std::size_t>(sy) % ring;
        std::uint32_t* row = scaled.data() + slot * w;
        if (ringRow[slot] == sy) return row;
        ringRow[slot] = sy;
        if (!inPlace) {
            std::uint32_t* target = width == sw ? row : converted.data();
            ConvertRow(src, sy, lut.data(), reinterpret_cast<std::uint8_t*>(target), path);
            in = target;
        }
        if (width == sw) return in;
        rows::AcrossRow(in, across, row, path);
        return row;
    };
    for (int y = 0; y < height; ++y) {
        const auto yi = static_cast<std::size_t>(y);
        for (int k = 0; k < down.count[yi]; ++k)
            taken[static_cast<std::size_t>(k)] = acrossRow(down.first[yi] + k);
        rows::DownRow(taken.data(), down.weights.data() + down.offset[yi], down.count[yi], w, fill,
                      reinterpret_cast<std::uint32_t*>(picture.Row(y)), path);
    }
    return true;
}

}  // namespace mvpr
