#include "imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace mvpr {
namespace {

constexpr int kWeightBits = 14;
constexpr std::uint32_t kWeightOne = 1u << kWeightBits;
// The first pass keeps 6 bits below each channel so the second one rounds only once.
constexpr int kFractionBits = 6;

// For each target pixel of one axis: the first source pixel it takes and the weights of the
// pixels from there on, which add up to kWeightOne exactly.
struct AxisTaps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<std::uint32_t> weights;  // count[d] entries per target pixel, in order
    std::vector<std::size_t> offset;     // where target pixel d's weights start
};

void Normalise(std::vector<double>& w, std::vector<std::uint32_t>& out) {
    double sum = 0;
    for (double v : w) sum += v;
    std::uint32_t given = 0;
    std::size_t largest = 0;
    const std::size_t start = out.size();
    for (std::size_t i = 0; i < w.size(); ++i) {
        const auto q = static_cast<std::uint32_t>(std::lround(w[i] / sum * kWeightOne));
        out.push_back(q);
        given += q;
        if (w[i] > w[largest]) largest = i;
    }
    // Rounding may leave the sum a little off: the heaviest tap takes the difference.
    out[start + largest] += kWeightOne - given;
}

AxisTaps MakeTaps(int srcSize, int dstSize) {
    AxisTaps t;
    t.first.resize(static_cast<std::size_t>(dstSize));
    t.count.resize(static_cast<std::size_t>(dstSize));
    t.offset.resize(static_cast<std::size_t>(dstSize));
    const double scale = static_cast<double>(srcSize) / dstSize;
    std::vector<double> w;
    for (int d = 0; d < dstSize; ++d) {
        w.clear();
        int first = 0;
        if (dstSize < srcSize) {
            // Area: the source span [left, right) this target pixel covers.
            const double left = d * scale, right = (d + 1) * scale;
            first = static_cast<int>(left);
            const int last = std::min(srcSize - 1, static_cast<int>(std::ceil(right)) - 1);
            for (int i = first; i <= last; ++i)
                w.push_back(std::min<double>(i + 1, right) - std::max<double>(i, left));
        } else {
            // Bilinear between the centres of the two nearest source pixels, clamped at the edges.
            const double centre = std::clamp((d + 0.5) * scale - 0.5, 0.0, srcSize - 1.0);
            first = static_cast<int>(centre);
            const double frac = centre - first;
            if (first + 1 < srcSize && frac > 0) {
                w.push_back(1.0 - frac);
                w.push_back(frac);
            } else {
                w.push_back(1.0);
            }
        }
        // Drop empty taps at either end (a span ending exactly on a pixel edge).
        while (w.size() > 1 && w.back() <= 0) w.pop_back();
        while (w.size() > 1 && w.front() <= 0) {
            w.erase(w.begin());
            ++first;
        }
        const auto di = static_cast<std::size_t>(d);
        t.first[di] = first;
        t.count[di] = static_cast<int>(w.size());
        t.offset[di] = t.weights.size();
        Normalise(w, t.weights);
    }
    return t;
}

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

void ConvertRow(const Picture& src, int y, const Bgra* lut, std::uint8_t* out) {
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
        case 24:
            for (int x = 0; x < w; ++x) {
                out[4 * x] = row[3 * x];
                out[4 * x + 1] = row[3 * x + 1];
                out[4 * x + 2] = row[3 * x + 2];
                out[4 * x + 3] = 255;
            }
            return;
        default: break;
    }
    if (src.BitsPerPixel() == 32) {
        const ChannelMasks& m = src.Masks();
        if (m.blue == 0xFFu && m.green == 0xFF00u && m.red == 0xFF0000u &&
            (m.alpha == 0 || m.alpha == 0xFF000000u)) {
            if (m.alpha != 0) {
                std::memcpy(out, row, static_cast<std::size_t>(w) * 4);
                return;
            }
            // One pass that also makes the unused byte opaque: a second pass over a screen-sized
            // picture costs as much as the copy.
            for (int x = 0; x < w; ++x) {
                std::uint32_t v;
                std::memcpy(&v, row + 4 * x, 4);
                v |= 0xFF000000u;
                std::memcpy(out + 4 * x, &v, 4);
            }
            return;
        }
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
    for (int y = 0; y < src.Height(); ++y) ConvertRow(src, y, lut.data(), out.Row(y));
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
    Picture* out = &picture;

    const int sw = src.Width(), sh = src.Height();
    const AxisTaps h = MakeTaps(sw, width);
    const AxisTaps v = MakeTaps(sh, height);
    const std::size_t srcValues = static_cast<std::size_t>(sw) * 4;

    // Source rows in 32 bits, converted once each and kept in a ring as deep as the most rows
    // one target row takes; a plain 32-bit source is read in place.
    const ChannelMasks& m = src.Masks();
    const bool inPlace = src.BitsPerPixel() == 32 && m.blue == 0xFFu && m.green == 0xFF00u &&
                         m.red == 0xFF0000u && m.alpha == 0xFF000000u;
    int ring = 1;
    for (int c : v.count) ring = std::max(ring, c);
    std::vector<std::uint8_t> converted(inPlace ? 0 : srcValues * static_cast<std::size_t>(ring));
    std::vector<int> ringRow(static_cast<std::size_t>(ring), -1);
    const std::vector<Bgra> lut = OpaquePalette(src);
    auto sourceRow = [&](int sy) -> const std::uint8_t* {
        if (inPlace) return src.Row(sy);
        const auto slot = static_cast<std::size_t>(sy % ring);
        std::uint8_t* row = converted.data() + slot * srcValues;
        if (ringRow[slot] != sy) {
            ringRow[slot] = sy;
            ConvertRow(src, sy, lut.data(), row);
        }
        return row;
    };

    // Down first: the rows a target row takes, weighted, with kFractionBits kept below each
    // channel; then across. Both loops run over plain arrays so the compiler can widen them.
    std::vector<std::uint32_t> acc(srcValues);
    std::vector<std::uint16_t> mid(srcValues);
    for (int y = 0; y < height; ++y) {
        const auto yi = static_cast<std::size_t>(y);
        const std::uint32_t* w = v.weights.data() + v.offset[yi];
        {
            const std::uint8_t* r = sourceRow(v.first[yi]);
            const std::uint32_t w0 = w[0];
            for (std::size_t i = 0; i < srcValues; ++i) acc[i] = w0 * r[i];
        }
        for (int k = 1; k < v.count[yi]; ++k) {
            const std::uint8_t* r = sourceRow(v.first[yi] + k);
            const std::uint32_t wk = w[k];
            for (std::size_t i = 0; i < srcValues; ++i) acc[i] += wk * r[i];
        }
        std::uint8_t* dst = out->Row(y);
        constexpr int downShift = kWeightBits - kFractionBits;
        if (width == sw) {  // nothing to do across
            for (std::size_t i = 0; i < srcValues; ++i)
                dst[i] = static_cast<std::uint8_t>((acc[i] + (1u << (kWeightBits - 1))) >> kWeightBits);
            continue;
        }
        for (std::size_t i = 0; i < srcValues; ++i)
            mid[i] = static_cast<std::uint16_t>((acc[i] + (1u << (downShift - 1))) >> downShift);

        constexpr int acrossShift = kWeightBits + kFractionBits;
        constexpr std::uint32_t half = 1u << (acrossShift - 1);
        for (int x = 0; x < width; ++x) {
            const auto xi = static_cast<std::size_t>(x);
            const std::uint16_t* p = mid.data() + static_cast<std::size_t>(h.first[xi]) * 4;
            const std::uint32_t* hw = h.weights.data() + h.offset[xi];
            std::uint32_t s[4];
            // Most targets take two pixels (bilinear, or a mild shrink): no loop for them.
            if (h.count[xi] == 2) {
                for (int c = 0; c < 4; ++c) s[c] = half + hw[0] * p[c] + hw[1] * p[4 + c];
            } else {
                for (int c = 0; c < 4; ++c) s[c] = half;
                for (int k = 0; k < h.count[xi]; ++k, p += 4)
                    for (int c = 0; c < 4; ++c) s[c] += hw[k] * p[c];
            }
            for (int c = 0; c < 4; ++c)
                dst[4 * x + c] =
                    static_cast<std::uint8_t>(std::min<std::uint32_t>(255u, s[c] >> acrossShift));
        }
    }
    return true;
}

}  // namespace mvpr
