#ifndef MVPR_RANDOMIZER_RANDOMIZER_WIN_H
#define MVPR_RANDOMIZER_RANDOMIZER_WIN_H

#include <string>

#include "PickOrder.h"
#include "RunLog.h"
#include "imaging/DecodeFile_win.h"
#include "system/Places.h"

namespace mvpr {

// Where one run reads and writes. The program takes the machine's places; in-process tests point
// them at temporary folders and registry keys.
struct RandomizerConfig {
    Places places;
    int screenWidth = 0;  // the wallpaper is rendered for this screen
    int screenHeight = 0;
    RandomSource* random = nullptr;
    LibraryLoad library = nullptr;  // instead of NViewLibLoad from the program folder's NViewLib.dll
};

// Installs one random usable entry of each category of the list file and remembers it, so the
// next run picks another; writes what it did and skipped to the log. Shows nothing.
void RunRandomizer(const RandomizerConfig& config, RunLog& log);

}  // namespace mvpr

#endif
