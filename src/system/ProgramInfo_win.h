#ifndef MVPR_SYSTEM_PROGRAMINFO_WIN_H
#define MVPR_SYSTEM_PROGRAMINFO_WIN_H

#include <string>

#include "system/Places.h"
#include "system/VersionText.h"

namespace mvpr {

// Full path of the running executable.
std::string GetExePath();
// Folder of the executable, always ending in a backslash.
std::string GetProgramDir();
// The Windows directory as the system reports it; callers add the backslash.
std::string GetWindowsDir();
// The places given, with the machine's own program and Windows folders where none is given;
// the program folder always ends in a backslash.
Places MachinePlaces(Places given = {});

// Version and build texts from a file's version record ("041304E4" block, FileVersion).
VersionTexts ReadVersionTexts(const std::string& exePath);

}  // namespace mvpr

#endif
