// MVRandom.exe: started by the Run entry at every log-on, it installs random entries of the list
// file and ends. Nothing may stop the user's start-up: no window, no box, no waiting.
#include <cstdio>
#include <string>

#include "Randomizer_win.h"
#include "imaging/PixelPath_win.h"
#include "system/ProgramInfo_win.h"
#include "win/Files.h"

namespace {

std::string LocalTimeText() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char text[32] = {};
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return text;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace mvpr;
    // Entries on a floppy or CD that is not there must not ask for a disk, and a crash must not
    // leave a box on the desktop.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX | SEM_NOGPFAULTERRORBOX);
    DecidePixelPath();  // before any wallpaper is rendered
    RandomizerConfig config;
    config.places = MachinePlaces();
    config.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    config.screenHeight = GetSystemMetrics(SM_CYSCREEN);

    RunLog log;
    int exitCode = 0;
    try {
        const VersionTexts version = ReadVersionTexts(GetExePath());
        log.Started(version.version, version.build, LocalTimeText());
        RunRandomizer(config, log);
    } catch (...) {
        log.Line("Stopped by an unexpected error.");
        exitCode = 1;
    }
    try {
        win::ReplaceFileWith(config.places.ProgramFile(kRunLogName), log.Text());
    } catch (...) {
        exitCode = 1;
    }
    return exitCode;
}
