#ifndef MVPR_TESTS_SUPPORT_MSDOSSAMPLES_H
#define MVPR_TESTS_SUPPORT_MSDOSSAMPLES_H

// MSDOS.SYS files as Windows 95, 98 and ME set-ups leave them, for the unit tests and the fuzz
// corpus alike.
#include <string>
#include <utility>
#include <vector>

namespace mvpr::test {

// A file with the given sections (lines separated by "\n" here), written with `eol` line ends and
// padded as Windows pads it, with comment lines of x's, to past 1,024 bytes (or to exactly `size`).
inline std::string MsDosText(
    const std::string& options, const std::string& eol = "\r\n", std::size_t size = 0,
    const std::string& paths = "[Paths]\nWinDir=C:\\WINDOWS\nWinBootDir=C:\\WINDOWS\nHostWinBootDrv=C\n") {
    std::string text;
    for (const std::string& block : {paths, options})
        for (std::size_t at = 0, end; (end = block.find('\n', at)) != std::string::npos; at = end + 1)
            text += block.substr(at, end - at) + eol;
    text += ";" + eol + ";The following lines are required for compatibility with other programs." + eol +
            ";Do not remove them (MSDOS.SYS needs to be >1024 bytes)." + eol;
    for (char mark = 'a'; mark <= 's' && (size == 0 || text.size() < size); ++mark)
        text += ";" + std::string(70, 'x') + mark + eol;
    if (size) {
        text.resize(size - eol.size(), 'x');
        text += eol;
    }
    return text;
}

// Named files as set-ups write them: 95 (with the old DOS kept), 98 SE, ME, and a 98 whose boot
// drive DriveSpace compressed (the boot files on the host H:).
inline std::vector<std::pair<std::string, std::string>> RealMsDosFiles() {
    return {
        {"95",
         MsDosText(
             "[Options]\nBootMulti=1\nBootGUI=1\nNetwork=1\n", "\r\n", 0,
             "[Paths]\nUninstallDir=C:\\\nWinDir=C:\\WINDOWS\nWinBootDir=C:\\WINDOWS\nHostWinBootDrv=C\n")},
        {"98 SE",
         MsDosText("[Options]\nBootMulti=1\nBootGUI=1\nDoubleBuffer=1\nAutoScan=1\nWinVer=4.10.2222\n")},
        {"ME", MsDosText("[Options]\nBootMulti=1\nBootGUI=1\nAutoScan=1\nWinVer=4.90.3000\n")},
        {"98 compressed",
         MsDosText("[Options]\nBootMulti=1\nBootGUI=1\nDrvSpace=1\nLogo=0\n", "\r\n", 0,
                   "[Paths]\nWinDir=C:\\WINDOWS\nWinBootDir=C:\\WINDOWS\nHostWinBootDrv=H\n")},
        {"98 tuned by hand", MsDosText("[Options]\nBootGUI=0\nlogo = 0\nBootKeys=0\n")},
    };
}

}  // namespace mvpr::test

#endif
