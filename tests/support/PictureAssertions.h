#ifndef MVPR_TESTS_PICTUREASSERTIONS_H
#define MVPR_TESTS_PICTUREASSERTIONS_H

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "imaging/DecodeResult.h"

namespace mvpr::samples {

inline std::string Describe(const DecodeResult& r) {
    return std::string(DecodeStatusName(r.status)) + " " + std::to_string(r.picture.Width()) + "x" +
           std::to_string(r.picture.Height());
}

// Every pixel of `picture` against the colour expected at (x, y), y counted from the top.
inline ::testing::AssertionResult SamePixels(const Picture& picture, int width, int height,
                                             const std::function<Bgra(int, int)>& expected) {
    if (picture.Width() != width || picture.Height() != height)
        return ::testing::AssertionFailure() << "size " << picture.Width() << "x" << picture.Height();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Bgra got = picture.ColorAt(x, y);
            const Bgra want = expected(x, y);
            if (got != want)
                return ::testing::AssertionFailure()
                       << "pixel " << x << "," << y << ": got r/g/b/a " << int(got.r) << "/" << int(got.g)
                       << "/" << int(got.b) << "/" << int(got.a) << " want " << int(want.r) << "/"
                       << int(want.g) << "/" << int(want.b) << "/" << int(want.a);
        }
    return ::testing::AssertionSuccess();
}

using Decoder = DecodeResult (*)(std::span<const std::uint8_t>, const DecodeLimits&);

// Every prefix of one byte or more of the valid file `whole` is refused as Truncated (as
// NotThisFormat while shorter than `signature` bytes) with no picture. Each prefix is a copy of its
// own, so that ASan sees any read past its end.
inline ::testing::AssertionResult EveryPrefixIsTruncated(Decoder decode,
                                                         const std::vector<std::uint8_t>& whole,
                                                         std::size_t signature) {
    if (!decode(whole, {}).Ok()) return ::testing::AssertionFailure() << "the whole file fails";
    for (std::size_t n = 1; n < whole.size(); ++n) {
        const std::vector<std::uint8_t> prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        const DecodeResult r = decode(prefix, {});
        if (r.status != (n < signature ? DecodeStatus::NotThisFormat : DecodeStatus::Truncated) ||
            !r.picture.Empty())
            return ::testing::AssertionFailure()
                   << "cut to " << n << " of " << whole.size() << ": " << Describe(r);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace mvpr::samples

#endif
