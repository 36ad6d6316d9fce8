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

MVPR_SSE2 void AcrossRowSse2(const std::uint32_t* src, const Taps& across, std::uint32_t* dst) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set_epi16(0, 0, 0, 0, 128, 128, 128, 128);  // the halves are added up
    const std::size_t n = across.first.size();
    const int* first = across.first.data();
    const int* count = across.count.data();
    const std::uint32_t* offset = across.offset.data();
    const std::uint16_t* weights = across.weights.data();
    for (std::size_t d = 0; d < n; ++d) {
        const std::uint32_t* p = src + first[d];
        const std::uint16_t* w = weights + offset[d];
        const int c = count[d];
        // Two source pixels per step, as eight 16-bit channels times their two weights.
        __m128i sum = half;
        for (int k = 0; k < c; k += 2) {
            const __m128i two = k + 1 < c ? _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + k))
                                          : _mm_cvtsi32_si128(static_cast<int>(p[k]));
            __m128i wk =
                _mm_cvtsi32_si128(static_cast<int>(w[k] | static_cast<std::uint32_t>(w[k + 1]) << 16));
            wk = _mm_unpacklo_epi16(wk, wk);
            wk = _mm_unpacklo_epi32(wk, wk);
            sum = _mm_add_epi16(sum, _mm_mullo_epi16(_mm_unpacklo_epi8(two, zero), wk));
        }
        sum = _mm_srli_epi16(_mm_add_epi16(sum, _mm_srli_si128(sum, 8)), 8);
        dst[d] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
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
