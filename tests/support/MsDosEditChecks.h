#ifndef MVPR_TESTS_SUPPORT_MSDOSEDITCHECKS_H
#define MVPR_TESTS_SUPPORT_MSDOSEDITCHECKS_H

// What every edit of MSDOS.SYS must keep, for the unit tests and the fuzz target alike.
#include <string>
#include <string_view>

#include "system/MsDosSys.h"

namespace mvpr::test {

// Empty when SwitchOn(before, key) keeps the rules; otherwise what it broke.
inline std::string MsDosEditViolation(std::string_view before, MsDosKey key) {
    const auto read = ReadMsDosSys(before);
    const MsDosEdit edit = SwitchOn(before, key);
    const bool wasOn = read && (key == MsDosKey::Logo ? read->logo : read->bootGui);
    switch (edit.status) {
        case MsDosEditStatus::NotMsDosSys: return read ? "refused a file it reads" : "";
        case MsDosEditStatus::AlreadyOn:
            if (!read) return "judged a file it does not read";
            return wasOn ? "" : "left a key off";
        case MsDosEditStatus::Switched: break;
    }
    if (!read || wasOn) return "switched a key that was on, or a file it does not read";
    if (edit.bytes.size() != before.size()) return "the length changed";
    std::size_t changed = 0, at = 0;
    for (std::size_t i = 0; i < before.size(); ++i)
        if (before[i] != edit.bytes[i]) ++changed, at = i;
    if (changed != 1 || before[at] != '0' || edit.bytes[at] != '1') return "not exactly one 0 made 1";
    const auto after = ReadMsDosSys(edit.bytes);
    if (!after) return "the edited file no longer reads";
    if (!(key == MsDosKey::Logo ? after->logo : after->bootGui)) return "the key is still off";
    if ((key == MsDosKey::Logo ? after->bootGui != read->bootGui : after->logo != read->logo) ||
        after->hostWinBootDrive != read->hostWinBootDrive)
        return "another setting changed";
    if (SwitchOn(edit.bytes, key).status != MsDosEditStatus::AlreadyOn) return "a second edit changes more";
    return "";
}

}  // namespace mvpr::test

#endif
