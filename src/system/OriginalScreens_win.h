#ifndef MVPR_SYSTEM_ORIGINALSCREENS_WIN_H
#define MVPR_SYSTEM_ORIGINALSCREENS_WIN_H

// The machine's own screens and desktop values, their backups and the record that names them.
// Both programs keep one rule: at every moment each original screen and the original desktop
// values exist either at their system place unchanged or in a backup that the record names,
// complete and readable. So nothing overwrites a screen or sets a wallpaper before its original
// is safe, and nothing deletes a backup.
#include <optional>
#include <string>
#include <vector>

#include "lists/ScreenCategory.h"
#include "system/Places.h"
#include "system/ScreenTargets.h"

namespace mvpr {

// Whether a screen may be overwritten: its record entry says the machine had none ("(none)") or
// names a backup file that can be read. Otherwise `why` says what is missing.
struct BackupCheck {
    bool safe = false;
    std::string why;
};
BackupCheck CheckScreenBackup(const Places& places, ScreenCategory category);

// Whether the desktop values of the first backup are in the record; false also when that cannot
// be told.
bool DesktopRecorded(const Places& places);

struct BackupReport {
    std::optional<std::string> failedValue;  // a record value that could not be written: stopped there
    std::vector<ScreenProblem> screens;      // screens left unrecorded, tried again at the next start
};

// The desktop values into the record, read now, when the record does not hold them yet.
std::optional<std::string> RecordDesktopValues(const Places& places);

// Makes a screen safe to overwrite: a screen not yet recorded is copied to a free backup name, or
// recorded as "(none)" when the system says it is not there, and then its entry is written; an
// entry whose backup file has gone gets the screen's copy under that name. A screen already safe
// is left alone.
BackupReport BackUpScreen(const Places& places, ScreenCategory category);

// The backup of a start: the desktop values and each screen not recorded yet; "FilesBackedUp" is
// written last, once the record is whole.
BackupReport BackUpOriginals(const Places& places);

struct RestoreReport {
    std::optional<std::string> failedValue;  // a desktop value that could not be written: stopped there
    std::vector<ScreenProblem> screens;      // screens not set back
    // Some original still lives only in its backup: the record must stay.
    bool recordNeeded = false;
    bool putBack = false;  // something was put back: a desktop value or a screen
};

// Puts each recorded desktop value and screen back, the record whole or not. Backups stay; a
// screen is deleted only when the record says the machine had none; a missing entry or a missing
// backup file leaves its screen alone.
RestoreReport RestoreOriginals(const Places& places);

// Deletes the Run entry and then the settings key with the record. Nothing when both are gone for
// certain; otherwise the system's reason.
std::optional<std::string> RemoveRegistration(const Places& places);

}  // namespace mvpr

#endif
