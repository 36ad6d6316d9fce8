#include "system/Places.h"

#include "system/DesktopKeys.h"
#include "system/SettingsKeys.h"

namespace mvpr {

std::string Places::ProgramFile(std::string_view name) const {
    return programDir + std::string(name);
}

std::string Places::Key(std::string_view path) const {
    return registryPrefix + std::string(path);
}

std::string Places::TolvaneKey() const {
    return Key(kTolvaneKey);
}

std::string Places::SettingsKey() const {
    return Key(kSettingsKey);
}

std::string Places::SettingsSectionKey(std::string_view section) const {
    return SettingsKey() + "\\" + std::string(section);
}

std::string Places::RecordKey() const {
    return SettingsSectionKey(kOriginalInfoSection);
}

std::string Places::RandomizerKey() const {
    return Key(kRandomizerKey);
}

std::string Places::RunKey() const {
    return Key(kRunKey);
}

std::string Places::DesktopKey() const {
    return Key(kDesktopKey);
}

}  // namespace mvpr
