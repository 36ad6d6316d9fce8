// The plain rows. This file is built without the compiler's own vectorising (see CMakeLists.txt),
// so that on x86_64 too it is the integer code an i686 without SSE2 runs, and a benchmark of the
// plain path measures that.
#include "imaging/PixelRows.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "imaging/PixelRowsSse2.h"

namespace mvpr {

namespace {

#if defined(__x86_64__) || defined(_M_X64)
bool g_sse2Usable = true;
#else
bool g_sse2Usable = false;
#endif

PixelPath WantedAtStart() {
    const char* plain = std::getenv("MVPR_PLAIN_PIXELS");
    return plain && std::strcmp(plain, "1") == 0 ? PixelPath::Plain : PixelPath::Sse2;
}

PixelPath& Wanted() {
    static PixelPath wanted = WantedAtStart();
    return wanted;
}

// Two channels of a pixel side by side in one 32-bit word, 16 bits each: B and R, or G and A
// (shifted down). A weight of up to 256 times a channel's 255 still fits its 16 bits.
constexpr std::uint32_t kLanes = 0x00FF00FFu;
constexpr std::uint32_t kHalf = 0x00800080u;  // the rounding of a sum in 256ths, in both lanes

}  // namespace

void SetSse2Usable(bool usable) {
#if defined(__x86_64__) || defined(_M_X64)
    (void)usable;
#else
    g_sse2Usable = usable && rows::sse2::Built();
#endif
}

void SetPixelPath(PixelPath path) {
    Wanted() = path;
}

PixelPath ActivePixelPath() {
    return Wanted() == PixelPath::Sse2 && g_sse2Usable && rows::sse2::Built() ? PixelPath::Sse2
                                                                              : PixelPath::Plain;
}

namespace rows {

Taps MakeTaps(int srcSize, int dstSize, TapLayout layout) {
    Taps t;
    const auto n = static_cast<std::size_t>(dstSize);
    t.first.resize(n);
    t.count.resize(n);
    t.offset.resize(n);
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
            if (first + 1 < srcSize && frac > 0)
                w = {1.0 - frac, frac};
            else
                w = {1.0};
        }
        // In 256ths by rounding the running sum: the weights add up to 256 exactly and each is
        // within one of its share, however many there are.
        double sum = 0;
        for (double v : w) sum += v;
        std::vector<std::uint16_t> q;
        double running = 0;
        long given = 0;
        for (double v : w) {
            running += v;
            const long upTo = std::lround(running / sum * 256);
            q.push_back(static_cast<std::uint16_t>(upTo - given));
            given = upTo;
        }
        // Taps that came out empty at either end are not read at all.
        std::size_t from = 0, to = q.size();
        while (to - from > 1 && q[to - 1] == 0) --to;
        while (to - from > 1 && q[from] == 0) ++from;
        t.first[static_cast<std::size_t>(d)] = first + static_cast<int>(from);
        t.count[static_cast<std::size_t>(d)] = static_cast<int>(to - from);
        t.offset[static_cast<std::size_t>(d)] = static_cast<std::uint32_t>(t.weights.size());
        t.weights.insert(t.weights.end(), q.begin() + static_cast<std::ptrdiff_t>(from),
                         q.begin() + static_cast<std::ptrdiff_t>(to));
        t.most = std::max(t.most, static_cast<int>(to - from));
    }
    if (layout == TapLayout::Evenly) {
        // The plain rows' groups, from the weights before they are padded.
        t.groups.resize(static_cast<std::size_t>(t.most));
        for (std::size_t d = 0; d < n; ++d) {
            Taps::Group& g = t.groups[static_cast<std::size_t>(t.count[d] - 1)];
            g.target.push_back(static_cast<int>(d));
            g.first.push_back(t.first[d]);
            g.weights.insert(g.weights.end(), t.weights.begin() + t.offset[d],
                             t.weights.begin() + t.offset[d] + t.count[d]);
        }
        // Each target pixel's weights moved into `most` places, its first pixel moved left where
        // they would run past the last source pixel (no target takes more pixels than there are).
        std::vector<std::uint16_t> even(n * static_cast<std::size_t>(t.most), 0);
        for (std::size_t d = 0; d < n; ++d) {
            const int first = std::min(t.first[d], srcSize - t.most);
            std::copy_n(t.weights.begin() + t.offset[d], t.count[d],
                        even.begin() + static_cast<std::ptrdiff_t>(d * static_cast<std::size_t>(t.most)) +
                            (t.first[d] - first));
            t.first[d] = first;
            t.count[d] = t.most;
            t.offset[d] = static_cast<std::uint32_t>(d * static_cast<std::size_t>(t.most));
        }
        t.weights = std::move(even);
        if (t.most <= 4 && srcSize >= 4) {
            t.first4.resize(n);
            t.wide.assign(n * 16, 0);
            for (std::size_t d = 0; d < n; ++d) {
                t.first4[d] = std::min(t.first[d], srcSize - 4);
                const std::size_t shift = static_cast<std::size_t>(t.first[d] - t.first4[d]);
                for (std::size_t k = 0; k < static_cast<std::size_t>(t.most); ++k)
                    std::fill_n(t.wide.begin() + static_cast<std::ptrdiff_t>(d * 16 + (k + shift) * 4), 4,
                                t.weights[d * static_cast<std::size_t>(t.most) + k]);
            }
        }
    }
    return t;
}

void OpaqueRow(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels, PixelPath path) {
    if (path == PixelPath::Sse2) return sse2::OpaqueRowSse2(src, dst, pixels);
    // Two pixels a word where the processor has 64-bit words; the i686 does two halves.
    std::size_t x = 0;
    for (; x + 2 <= pixels; x += 2) {
        std::uint64_t v;
        std::memcpy(&v, src + 4 * x, 8);
        v |= 0xFF000000FF000000u;
        std::memcpy(dst + 4 * x, &v, 8);
    }
    for (; x < pixels; ++x) {
        std::uint32_t v;
        std::memcpy(&v, src + 4 * x, 4);
        v |= 0xFF000000u;
        std::memcpy(dst + 4 * x, &v, 4);
    }
}

void Bgr24Row(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels, PixelPath path) {
    if (path == PixelPath::Sse2) return sse2::Bgr24RowSse2(src, dst, pixels);
    // Four pixels from three words: no byte-by-byte stores.
    std::size_t x = 0;
    for (; x + 4 <= pixels; x += 4, src += 12, dst += 16) {
        std::uint32_t a, b, c;
        std::memcpy(&a, src, 4);
        std::memcpy(&b, src + 4, 4);
        std::memcpy(&c, src + 8, 4);
        const std::uint32_t p0 = a | 0xFF000000u, p1 = (a >> 24) | (b << 8) | 0xFF000000u,
                            p2 = (b >> 16) | (c << 16) | 0xFF000000u, p3 = (c >> 8) | 0xFF000000u;
        std::memcpy(dst, &p0, 4);
        std::memcpy(dst + 4, &p1, 4);
        std::memcpy(dst + 8, &p2, 4);
        std::memcpy(dst + 12, &p3, 4);
    }
    for (; x < pixels; ++x, src += 3, dst += 4) {
        dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
        dst[3] = 255;
    }
}

namespace {

// The target pixels of one group, `count` weights each, a constant N for the few counts that
// most scalings take, so that their loop over the weights is unrolled.
template <int N>
void AcrossGroup(const std::uint32_t* src, const Taps::Group& group, int count, std::uint32_t* dst) {
    const int taps = N > 0 ? N : count;
    const std::size_t n = group.target.size();
    const int* target = group.target.data();
    const int* first = group.first.data();
    const std::uint16_t* w = group.weights.data();
    for (std::size_t i = 0; i < n; ++i, w += taps) {
        const std::uint32_t* p = src + first[i];
        std::uint32_t rb = kHalf, ga = kHalf;
#pragma GCC unroll 4
        for (int k = 0; k < taps; ++k) {
            const std::uint32_t v = p[k];
            rb += (v & kLanes) * w[k];
            ga += ((v >> 8) & kLanes) * w[k];
        }
        dst[target[i]] = ((rb >> 8) & kLanes) | (ga & ~kLanes);
    }
}

}  // namespace

void Bgr24FromBgra(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    // Four pixels into three words.
    std::size_t x = 0;
    for (; x + 4 <= pixels; x += 4, src += 16, dst += 12) {
        std::uint32_t p0, p1, p2, p3;
        std::memcpy(&p0, src, 4);
        std::memcpy(&p1, src + 4, 4);
        std::memcpy(&p2, src + 8, 4);
        std::memcpy(&p3, src + 12, 4);
        // Word by word: a 12-byte copy out of a stack array would read back what was just stored.
        const std::uint32_t a = (p0 & 0xFFFFFFu) | p1 << 24, b = ((p1 >> 8) & 0xFFFFu) | p2 << 16,
                            c = ((p2 >> 16) & 0xFFu) | p3 << 8;
        std::memcpy(dst, &a, 4);
        std::memcpy(dst + 4, &b, 4);
        std::memcpy(dst + 8, &c, 4);
    }
    for (; x < pixels; ++x, src += 4, dst += 3) dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
}

void AcrossRow(const std::uint32_t* src, const Taps& across, std::uint32_t* dst, PixelPath path) {
    if (path == PixelPath::Sse2) return sse2::AcrossRowSse2(src, across, dst);
    for (std::size_t c = 1; c <= across.groups.size(); ++c) {
        const Taps::Group& g = across.groups[c - 1];
        switch (c) {
            case 1: AcrossGroup<1>(src, g, 1, dst); break;
            case 2: AcrossGroup<2>(src, g, 2, dst); break;
            case 3: AcrossGroup<3>(src, g, 3, dst); break;
            case 4: AcrossGroup<4>(src, g, 4, dst); break;
            default: AcrossGroup<0>(src, g, static_cast<int>(c), dst); break;
        }
    }
}

void DownRow(const std::uint32_t* const* src, const std::uint16_t* weights, int count, std::size_t width,
             std::uint32_t fill, std::uint32_t* dst, PixelPath path) {
    if (path == PixelPath::Sse2) return sse2::DownRowSse2(src, weights, count, width, fill, dst);
    if (count == 1) {  // a row kept as it is (its weight is all 256)
        for (std::size_t x = 0; x < width; ++x) dst[x] = src[0][x] | fill;
        return;
    }
    if (count == 2) {  // most rows, in a bilinear or a mild shrink: no loop over the taps
        const std::uint32_t* a = src[0];
        const std::uint32_t* b = src[1];
        const std::uint32_t wa = weights[0], wb = weights[1];
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t u = a[x], v = b[x];
            const std::uint32_t rb = kHalf + (u & kLanes) * wa + (v & kLanes) * wb;
            const std::uint32_t ga = kHalf + ((u >> 8) & kLanes) * wa + ((v >> 8) & kLanes) * wb;
            dst[x] = ((rb >> 8) & kLanes) | (ga & ~kLanes) | fill;
        }
        return;
    }
    if (count == 3) {  // a shrink by up to two
        const std::uint32_t* a = src[0];
        const std::uint32_t* b = src[1];
        const std::uint32_t* c = src[2];
        const std::uint32_t wa = weights[0], wb = weights[1], wc = weights[2];
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t u = a[x], v = b[x], z = c[x];
            const std::uint32_t rb = kHalf + (u & kLanes) * wa + (v & kLanes) * wb + (z & kLanes) * wc;
            const std::uint32_t ga =
                kHalf + ((u >> 8) & kLanes) * wa + ((v >> 8) & kLanes) * wb + ((z >> 8) & kLanes) * wc;
            dst[x] = ((rb >> 8) & kLanes) | (ga & ~kLanes) | fill;
        }
        return;
    }
    for (std::size_t x = 0; x < width; ++x) {
        std::uint32_t rb = kHalf, ga = kHalf;
        for (int k = 0; k < count; ++k) {
            const std::uint32_t v = src[k][x];
            rb += (v & kLanes) * weights[k];
            ga += ((v >> 8) & kLanes) * weights[k];
        }
        dst[x] = ((rb >> 8) & kLanes) | (ga & ~kLanes) | fill;
    }
}

}  // namespace rows
}  // namespace mvpr
