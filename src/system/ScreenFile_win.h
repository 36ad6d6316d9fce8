#ifndef MVPR_SYSTEM_SCREENFILE_WIN_H
#define MVPR_SYSTEM_SCREENFILE_WIN_H

#include <string>

#include "imaging/PixelFormat.h"
#include "imaging/ScreenRule.h"

namespace mvpr {

// Whether a file may become the machine's start-up, waiting or shut-down screen, and if not, why.
struct ScreenVerdict {
    bool readable = false;  // a bitmap the reader decodes
    int width = 0, height = 0;
    PixelFormat format = PixelFormat::Device;

    bool Valid() const { return readable && MeetsScreenRule(width, height, format); }
    bool WrongSize() const { return readable && !HasScreenSize(width, height); }
};

// The verdict on a picture already read.
inline ScreenVerdict JudgeScreen(int width, int height, PixelFormat format) {
    return ScreenVerdict{true, width, height, format};
}
// Reads the file as a bitmap, in a picture of its own, and judges it.
ScreenVerdict JudgeScreenFile(const std::string& path);

}  // namespace mvpr

#endif
