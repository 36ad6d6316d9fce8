#ifndef MVPR_SYSTEM_SCREENFILE_WIN_H
#define MVPR_SYSTEM_SCREENFILE_WIN_H

#include <string>

#include "imaging/PixelFormat.h"
#include "imaging/ScreenRule.h"
#include "win/Win32.h"

namespace mvpr {

// Whether a file may become the machine's start-up, waiting or shut-down screen, and if not, why.
struct ScreenVerdict {
    bool readable = false;  // a bitmap the reader decodes; an empty file reads as 0 x 0
    int width = 0, height = 0;
    PixelFormat format = PixelFormat::Device;

    bool Valid() const { return readable && MeetsScreenRule(width, height, format); }
    bool WrongSize() const { return readable && !HasScreenSize(width, height); }
    bool WrongDepth() const { return readable && format != PixelFormat::Bits8; }
    bool Empty() const { return width == 0 || height == 0; }
};

// The verdict on a picture already read by the bitmap reader.
inline ScreenVerdict JudgeScreen(int width, int height, PixelFormat format) {
    return ScreenVerdict{true, width, height, format};
}

// A file read to become a screen: its bytes and the verdict of the bitmap reader on exactly those
// bytes, so that what is judged is what is copied. A GIF or PNG, whatever its name, is no screen.
struct ScreenFile {
    DWORD error = 0;  // the system's error when the file could not be read
    std::string bytes;
    ScreenVerdict verdict;
};
ScreenFile ReadScreenFile(const std::string& path);

// Is this file a valid screen, and if not, why: the one judgement of adding, installing and the
// randomizer. A file that cannot be read is not readable.
ScreenVerdict JudgeScreenFile(const std::string& path);

}  // namespace mvpr

#endif
