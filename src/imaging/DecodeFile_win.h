#ifndef MVPR_IMAGING_DECODEFILE_WIN_H
#define MVPR_IMAGING_DECODEFILE_WIN_H

// The parts of picture loading that do not bind NViewLib.dll, for a program that finds the library
// at run time (the randomizer must start even where it is missing).
#include <optional>
#include <string>

#include "imaging/DecodeResult.h"
#include "win/Win32.h"

namespace mvpr {

using LibraryLoad = HBITMAP(WINAPI*)(const char* path, int reserved);

// A file read as a Windows bitmap, whatever its name; nothing when it cannot be opened.
std::optional<DecodeResult> DecodeBitmapFile(const std::string& path);

// The bitmap a library's load function makes of the file (0: no picture); nothing when a processor
// fault inside the library ended the call. C++ exceptions pass through.
std::optional<HBITMAP> LoadThroughLibrary(LibraryLoad load, const std::string& path);

}  // namespace mvpr

#endif
