// The SSE2 rows: the plain rows' integer arithmetic, eight 16-bit lanes at a time. Only the
// functions marked for SSE2 here are built for it; the i686 program chooses them at run time.
#include "imaging/PixelRowsSse2.h"

#if defined(__i386__) || defined(__x86_64__)

#include <emmintrin.h>

#include <cstring>

#define MVPR_SSE2 __attribute__((target("sse2")))

namespace mvpr::rows::sse2 {

MVPR_SSE2 void OpaqueRowSse2(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    const __m128i fill = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    std::size_t x = 0;
    for (; x + 4 <= pixels; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * x), _mm_or_si128(v, fill));
    }
    for (; x < pixels; ++x) {
        std::uint32_t v;
        std::memcpy(&v, src + 4 * x, 4);
        v |= 0xFF000000u;
        std::memcpy(dst + 4 * x, &v, 4);
    }
}

MVPR_SSE2 void Bgr24RowSse2(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels) {
    const __m128i fill = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    std::size_t x = 0;
    // Four pixels from 12 bytes; the load takes 16, so the last pixels of a row go one by one.
    for (; x + 6 <= pixels; x += 4, src += 12, dst += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        const __m128i p01 = _mm_unpacklo_epi32(v, _mm_srli_si128(v, 3));
        const __m128i p23 = _mm_unpacklo_epi32(_mm_srli_si128(v, 6), _mm_srli_si128(v, 9));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_or_si128(_mm_unpacklo_epi64(p01, p23), fill));
    }
    for (; x < pixels; ++x, src += 3, dst += 4) {
        dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
        dst[3] = 255;
    }
}

namespace {

// The weighted sum of the pixels p[0..count), as 16-bit channels in the low four lanes and junk
// in the high four: two pixels a step, each times its weight.
MVPR_SSE2 inline __m128i WeighSse2(const std::uint32_t* p, const std::uint16_t* w, int count) {
    const __m128i zero = _mm_setzero_si128();
    __m128i sum = zero;
    int k = 0;
    for (; k + 2 <= count; k += 2) {
        std::uint32_t pair;
        std::memcpy(&pair, w + k, 4);
        __m128i wk = _mm_cvtsi32_si128(static_cast<int>(pair));
        wk = _mm_unpacklo_epi16(wk, wk);
        wk = _mm_unpacklo_epi32(wk, wk);
        const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + k));
        sum = _mm_add_epi16(sum, _mm_mullo_epi16(_mm_unpacklo_epi8(two, zero), wk));
    }
    sum = _mm_add_epi16(sum, _mm_srli_si128(sum, 8));
    if (k < count) {
        const __m128i one = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(p[k])), zero);
        sum = _mm_add_epi16(sum, _mm_mullo_epi16(one, _mm_set1_epi16(static_cast<short>(w[k]))));
    }
    return sum;
}

template <int N>
MVPR_SSE2 void AcrossEvenlySse2(const std::uint32_t* src, const Taps& across, std::uint32_t* dst) {
    const __m128i half = _mm_set1_epi16(128);
    const std::size_t n = across.first.size();
    const int* first = across.first.data();
    const std::uint16_t* w = across.weights.data();
    std::size_t d = 0;
    // Two target pixels a step, packed and stored together.
    for (; d + 2 <= n; d += 2, w += 2 * N) {
        const __m128i a = WeighSse2(src + first[d], w, N);
        const __m128i b = WeighSse2(src + first[d + 1], w + N, N);
        const __m128i ab = _mm_srli_epi16(_mm_add_epi16(_mm_unpacklo_epi64(a, b), half), 8);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + d), _mm_packus_epi16(ab, ab));
    }
    for (; d < n; ++d, w += N) {
        const __m128i a = _mm_srli_epi16(_mm_add_epi16(WeighSse2(src + first[d], w, N), half), 8);
        dst[d] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(a, a)));
    }
}

// Four pixels from p times their wide weights: channel sums in the low and the high four lanes.
MVPR_SSE2 inline __m128i WeighFourSse2(const std::uint32_t* p, const std::uint16_t* w) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i* wd = reinterpret_cast<const __m128i*>(w);
    return _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(four, zero), _mm_loadu_si128(wd)),
                         _mm_mullo_epi16(_mm_unpackhi_epi8(four, zero), _mm_loadu_si128(wd + 1)));
}

// Four pixels a target, their weights made wide beforehand: one load, two products.
MVPR_SSE2 void AcrossFourSse2(const std::uint32_t* src, const Taps& across, std::uint32_t* dst) {
    const __m128i half = _mm_set1_epi16(128);
    const std::size_t n = across.first4.size();
    const int* first = across.first4.data();
    const std::uint16_t* w = across.wide.data();
    std::size_t d = 0;
    for (; d + 2 <= n; d += 2) {
        const __m128i a = WeighFourSse2(src + first[d], w + 16 * d);
        const __m128i b = WeighFourSse2(src + first[d + 1], w + 16 * (d + 1));
        __m128i ab = _mm_add_epi16(_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b));
        ab = _mm_srli_epi16(_mm_add_epi16(ab, half), 8);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + d), _mm_packus_epi16(ab, ab));
    }
    if (d < n) {
        const __m128i a = WeighFourSse2(src + first[d], w + 16 * d);
        const __m128i r = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(a, _mm_srli_si128(a, 8)), half), 8);
        dst[d] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(r, r)));
    }
}

}  // namespace

MVPR_SSE2 void AcrossRowSse2(const std::uint32_t* src, const Taps& across, std::uint32_t* dst) {
    if (!across.wide.empty()) return AcrossFourSse2(src, across, dst);
    switch (across.most) {
        case 1: return AcrossEvenlySse2<1>(src, across, dst);
        case 2: return AcrossEvenlySse2<2>(src, across, dst);
        case 3: return AcrossEvenlySse2<3>(src, across, dst);
        case 4: return AcrossEvenlySse2<4>(src, across, dst);
        default: break;
    }
    const __m128i half = _mm_set1_epi16(128);
    for (std::size_t d = 0; d < across.first.size(); ++d) {
        const __m128i a =
            WeighSse2(src + across.first[d], across.weights.data() + across.offset[d], across.count[d]);
        const __m128i r = _mm_srli_epi16(_mm_add_epi16(a, half), 8);
        dst[d] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(r, r)));
    }
}

MVPR_SSE2 void DownRowSse2(const std::uint32_t* const* src, const std::uint16_t* weights, int count,
                           std::size_t width, std::uint32_t fill, std::uint32_t* dst) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi16(128);
    const __m128i bits = _mm_set1_epi32(static_cast<int>(fill));
    std::size_t x = 0;
    if (count == 1) {
        for (; x + 4 <= width; x += 4) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src[0] + x));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), _mm_or_si128(v, bits));
        }
    } else {
        for (; x + 4 <= width; x += 4) {
            __m128i lo = half, hi = half;
            for (int k = 0; k < count; ++k) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src[k] + x));
                const __m128i wk = _mm_set1_epi16(static_cast<short>(weights[k]));
                lo = _mm_add_epi16(lo, _mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), wk));
                hi = _mm_add_epi16(hi, _mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), wk));
            }
            const __m128i out = _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), _mm_or_si128(out, bits));
        }
    }
    // The last pixels of a row, as the plain rows make them.
    for (; x < width; ++x) {
        std::uint32_t rb = 0x00800080u, ga = 0x00800080u;
        for (int k = 0; k < count; ++k) {
            const std::uint32_t v = src[k][x];
            rb += (v & 0x00FF00FFu) * weights[k];
            ga += ((v >> 8) & 0x00FF00FFu) * weights[k];
        }
        dst[x] = ((rb >> 8) & 0x00FF00FFu) | (ga & 0xFF00FF00u) | fill;
    }
}

MVPR_SSE2 void TrialSse2() {
    // Integer SSE2 on an XMM register: it faults where the system has not enabled SSE.
    asm volatile("pxor %%xmm0, %%xmm0\n\tpaddq %%xmm0, %%xmm0" : : : "xmm0");
}

}  // namespace mvpr::rows::sse2

#else

namespace mvpr::rows::sse2 {
// Never chosen on other processors (Built() is false); here only so the plain rows link.
void OpaqueRowSse2(const std::uint8_t*, std::uint8_t*, std::size_t) {}
void Bgr24RowSse2(const std::uint8_t*, std::uint8_t*, std::size_t) {}
void AcrossRowSse2(const std::uint32_t*, const Taps&, std::uint32_t*) {}
void DownRowSse2(const std::uint32_t* const*, const std::uint16_t*, int, std::size_t, std::uint32_t,
                 std::uint32_t*) {}
void TrialSse2() {}
}  // namespace mvpr::rows::sse2

#endif
