#ifndef MVPR_IMAGING_PIXELFILL_H
#define MVPR_IMAGING_PIXELFILL_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace mvpr::pixels {

// Repeats one pixel of 1 to 4 bytes `count` times. Runs are most of an RLE file, and a copy
// per pixel made the TGA decoder forty times slower than copying the picture: the repeated
// pixel is built in 8-byte words (three of them hold eight 3-byte pixels) and stored whole.
template <unsigned N>
void FillRunOf(std::uint8_t* dst, const std::uint8_t* pixel, std::size_t count) {
    // Byte by byte, not a short memcpy into a wider variable: that stalls store forwarding.
    std::uint64_t p = 0;
    for (unsigned i = 0; i < N; ++i) p |= std::uint64_t{pixel[i]} << (8 * i);
    std::uint64_t words[3];
    constexpr std::size_t kWords = N == 3 ? 3 : 1;
    constexpr std::size_t kPixelsPerStep = kWords * 8 / N;
    if constexpr (N == 2) {
        words[0] = p * 0x0001000100010001ull;
    } else if constexpr (N == 3) {
        const std::uint64_t w = p | p << 24 | p << 48;             // bytes 0..7 of the repeat
        words[0] = w;
        words[1] = w >> 16 | (w << 32 & 0xFFFF000000000000ull);  // bytes 8..15
        words[2] = w >> 8 | (w << 40 & 0xFF00000000000000ull);   // bytes 16..23
    } else {
        words[0] = p | p << 32;
    }
    if (count < kPixelsPerStep) {
        for (; count > 0; --count, dst += N) std::memcpy(dst, pixel, N);
        return;
    }
    std::uint8_t* const end = dst + count * N;
    for (; count >= kPixelsPerStep; count -= kPixelsPerStep)
        for (std::size_t i = 0; i < kWords; ++i, dst += 8) std::memcpy(dst, &words[i], 8);
    // The rest as one more step that ends with the run: it starts on a pixel, so the words fit.
    if (count > 0)
        for (std::size_t i = 0; i < kWords; ++i) std::memcpy(end - 8 * (kWords - i), &words[i], 8);
}

inline void FillRun(std::uint8_t* dst, const std::uint8_t* pixel, unsigned size, std::size_t count) {
    switch (size) {
        case 1: std::memset(dst, pixel[0], count); break;
        case 2: FillRunOf<2>(dst, pixel, count); break;
        case 3: FillRunOf<3>(dst, pixel, count); break;
        default: FillRunOf<4>(dst, pixel, count); break;
    }
}

}  // namespace mvpr::pixels

#endif
