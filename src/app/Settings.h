#ifndef MVPR_APP_SETTINGS_H
#define MVPR_APP_SETTINGS_H

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "lists/ScreenCategory.h"
#include "system/SystemTexts.h"  // FailedToSetData

namespace mvpr {

// The options and remembered state the program keeps between runs.
struct Settings {
    int previewMode = 30;                // 0 none, 10 choose only, 20 selected only, 30 both; others kept
    std::array<std::string, 4> folders;  // in kCategories' order; the program folder when not stored
    ScreenCategory category = ScreenCategory::Start;
    bool reportAddErrors = true;
    bool playAnimations = true;  // screens whose colours cycle move in the previews
};

// --- reading and writing stored values: all are text ------------------------------------
// A decimal number, blanks around it allowed; nothing for any other text or one out of range.
std::optional<int> ParseDecimal(std::string_view text);
// A number value; an absent or non-numeric one gives the default.
int NumberOr(const std::optional<std::string>& stored, int fallback);
// A yes/no value: yes when its number is not 0; an absent or non-numeric one gives the default.
bool YesNoOr(const std::optional<std::string>& stored, bool fallback);
std::string YesNoText(bool yes);  // "1" or "0"
// The stored category code; anything but 10, 20, 30 or 40 starts in Start.
ScreenCategory CategoryOr(const std::optional<std::string>& stored);

// --- the randomizer's Run entry ----------------------------------------------------------
// The entry that starts the randomizer from the program folder (which ends in a backslash):
// in double quotes when the path holds a blank, or Windows would start "C:\Program" instead.
std::string RandomizerRunEntry(std::string_view programDir);
// Whether an entry starts the randomizer, from any folder: one pair of quotes around the path
// (and anything after the closing one) is dropped, then the name after the last backslash or
// colon must be "MVRANDOM.EXE" in any case.
bool NamesRandomizer(std::string_view runEntry);

}  // namespace mvpr

#endif
