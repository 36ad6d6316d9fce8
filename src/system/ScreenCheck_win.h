#ifndef MVPR_SYSTEM_SCREENCHECK_WIN_H
#define MVPR_SYSTEM_SCREENCHECK_WIN_H

#include <string>

#include "system/MsDosSys.h"
#include "system/Places.h"
#include "system/ScreenCheck.h"

namespace mvpr {

// Reads what the check needs: the version, MSDOS.SYS and the three screens, the first-run backup's
// entry for logo.sys, and the desktop's wallpaper values and file. Changes nothing.
// With a registry prefix (tests) the machine-wide policy under HKEY_LOCAL_MACHINE is not read.
CheckFacts GatherCheckFacts(const Places& places);

struct FixOutcome {
    bool done = false;
    std::string message;  // what the user is told: FixDone's text, or FixFailed's
};

// Turns `key` on in the MSDOS.SYS at `path`: the file is read, judged and edited by SwitchOn, copied
// unchanged to MSDOS.MVP beside it, written through the file-replacing helper with its attributes
// kept (read-only, hidden, system) and read back. Whatever fails, MSDOS.SYS keeps its bytes.
FixOutcome SwitchMsDosOn(const CheckFacts& facts, MsDosKey key);

// Moves logo.sys to `asidePath` (a name nothing else uses): copied there, compared, and only then
// deleted where it was. Whatever fails, logo.sys stays.
FixOutcome MoveLogoAside(const CheckFacts& facts, const std::string& asidePath);

}  // namespace mvpr

#endif
