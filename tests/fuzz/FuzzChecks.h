#ifndef MVPR_TESTS_FUZZCHECKS_H
#define MVPR_TESTS_FUZZCHECKS_H

#include <cstdlib>
#include <cstdio>

#include "imaging/BmpCodec.h"

namespace mvpr::fuzz {

// Small enough that one input costs well under a millisecond: a few RLE bytes can describe
// a picture of any size up to the limits.
inline constexpr DecodeLimits kLimits{4096, std::size_t{1} << 20};

inline void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// What every decoded picture must satisfy: consistent sizes, readable pixels, and a BMP
// written from it that reads back as the same picture.
inline void CheckDecoded(const DecodeResult& r) {
    if (!r.Ok()) {
        Require(r.picture.Empty(), "a failed decode left a picture");
        return;
    }
    const Picture& p = r.picture;
    if (p.Empty()) return;
    Require(p.Width() <= kLimits.maxSide && p.Height() <= kLimits.maxSide, "side over the limit");
    Require(p.ByteSize() <= kLimits.maxBytes, "bytes over the limit");
    Require(p.Stride() == *Picture::StrideFor(p.Width(), p.BitsPerPixel()), "stride");
    Require(p.BitsPerPixel() > 8 || p.Palette().size() == (std::size_t{1} << p.BitsPerPixel()), "palette size");
    volatile unsigned sink = 0;
    for (int y = 0; y < p.Height(); y += 1 + p.Height() / 16)
        for (int x = 0; x < p.Width(); x += 1 + p.Width() / 16) sink = sink + p.ColorAt(x, y).g;
    sink = sink + p.ColorAt(p.Width() - 1, p.Height() - 1).r;
    const auto bytes = EncodeBmp(p);
    Require(bytes.has_value(), "no BMP written");
    const DecodeResult again = DecodeBmp(*bytes, kLimits);
    Require(again.Ok(), "written BMP does not read back");
    Require(again.picture == p, "written BMP reads back different");
    Require(again.picture.Format() == p.Format(), "pixel format changed");
}

}  // namespace mvpr::fuzz

#endif
