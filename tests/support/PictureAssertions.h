#ifndef MVPR_TESTS_PICTUREASSERTIONS_H
#define MVPR_TESTS_PICTUREASSERTIONS_H

#include <gtest/gtest.h>

#include <functional>
#include <string>

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
                       << "pixel " << x << "," << y << ": got r/g/b/a " << int(got.r) << "/" << int(got.g) << "/"
                       << int(got.b) << "/" << int(got.a) << " want " << int(want.r) << "/" << int(want.g) << "/"
                       << int(want.b) << "/" << int(want.a);
        }
    return ::testing::AssertionSuccess();
}

}  // namespace mvpr::samples

#endif
