#ifndef MVPR_APP_SETTINGS_WIN_H
#define MVPR_APP_SETTINGS_WIN_H

#include <optional>
#include <string>
#include <string_view>

#include "app/Settings.h"
#include "system/Places.h"
#include "win/Registry.h"

namespace mvpr {

// Where the settings live: the registry under HKEY_CURRENT_USER, at the keys the places give.

// The settings key, created when absent; nothing when it can be neither opened nor created.
std::optional<win::RegistryKey> OpenSettingsKey(const Places& places);
// Whether the first run's backup of the original screens has been made.
bool FilesBackedUp(const win::RegistryKey* settingsKey);
// The stored settings; without a key, or for a value absent or unreadable, the default (the
// program folder for a folder).
Settings ReadSettings(const win::RegistryKey* settingsKey, const std::string& programDir);
// Writes every setting, in a fixed order, stopping at the first value that cannot be written
// (also when the settings key cannot be opened); returns that value's name. A section that
// cannot be opened is skipped.
std::optional<std::string_view> WriteSettings(const Places& places, const Settings& settings);

// The Run entry as stored; empty when it or its key is absent.
std::string ReadRunEntry(const Places& places);
// Writes the Run entry (creating its key); false when it could not be written.
bool WriteRunEntry(const Places& places, std::string_view entry);

}  // namespace mvpr

#endif
