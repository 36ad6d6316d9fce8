#ifndef MVPR_SYSTEM_PLACES_H
#define MVPR_SYSTEM_PLACES_H

#include <string>
#include <string_view>

namespace mvpr {

// Where both programs read and write: every file path and registry key they use is built from
// these three. The programs take the machine's own (MachinePlaces); tests give temporary folders
// and a throwaway registry prefix.
struct Places {
    std::string programDir;      // ends in a backslash: the list file, backups, NViewLib.dll, work file
    std::string windowsDir;      // logo.sys goes to the root of its drive, the others into it
    std::string registryPrefix;  // put before every key under HKEY_CURRENT_USER

    // A file of the program folder.
    std::string ProgramFile(std::string_view name) const;
    // Keys under HKEY_CURRENT_USER: any key's path below the prefix, and the programs' own.
    std::string Key(std::string_view path) const;
    std::string TolvaneKey() const;
    std::string SettingsKey() const;
    std::string SettingsSectionKey(std::string_view section) const;
    std::string RecordKey() const;  // the first run's record of the machine's own screens
    std::string RandomizerKey() const;
    std::string RunKey() const;
    std::string DesktopKey() const;
};

}  // namespace mvpr

#endif
