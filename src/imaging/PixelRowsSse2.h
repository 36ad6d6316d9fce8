#ifndef MVPR_IMAGING_PIXELROWSSSE2_H
#define MVPR_IMAGING_PIXELROWSSSE2_H

#include <cstddef>
#include <cstdint>

#include "imaging/PixelRows.h"

// The SSE2 rows of PixelRows.h, the same bytes as the plain ones. Every function that holds an
// SSE2 instruction has a name ending in Sse2: the i686 build's check of its object files allows
// them there and nowhere else.
namespace mvpr::rows::sse2 {

// Whether this build holds SSE2 rows at all (x86 processors only).
constexpr bool Built() {
#if defined(__i386__) || defined(__x86_64__)
    return true;
#else
    return false;
#endif
}

void OpaqueRowSse2(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
void Bgr24RowSse2(const std::uint8_t* src, std::uint8_t* dst, std::size_t pixels);
void AcrossRowSse2(const std::uint32_t* src, const Taps& across, std::uint32_t* dst);
void DownRowSse2(const std::uint32_t* const* src, const std::uint16_t* weights, int count, std::size_t width,
                 std::uint32_t fill, std::uint32_t* dst);
// Runs one SSE2 instruction: the Windows side calls it under a fault guard to learn whether the
// system lets SSE2 run.
void TrialSse2();

}  // namespace mvpr::rows::sse2

#endif
