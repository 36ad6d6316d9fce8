#ifndef MVPR_IMAGING_NVIEWLIB_H
#define MVPR_IMAGING_NVIEWLIB_H

// NViewLib.dll: the picture decoder of the wallpaper category, bound when MVPR.exe starts.
#include "win/Win32.h"

#ifdef NVIEWLIB_BUILD
#define NVIEWLIB_API
#else
#define NVIEWLIB_API __declspec(dllimport)
#endif

extern "C" {

// Decodes the file at `path` (zero-terminated, ANSI code page) into a bitmap that then belongs
// to the caller; 0 when there is no picture. `reserved` is 0. Never throws.
NVIEWLIB_API HBITMAP WINAPI NViewLibLoad(const char* path, int reserved);

}

#endif
