#include "system/Places.h"

#include "system/DesktopKeys.h"
#include "system/SettingsKeys.h"

namespace mvpr {

std::string Places::ProgramFile(std::string_view name) const {
    return programDir + std::string(name);
}

std::string Places::TolvaneKey() const {
    return registryPrefix + std::string(kTolvaneKey);
}

std::string Places::SettingsKey() const {
    return registryPrefix + std::string(kSettingsKey);
}

std::string Places::SettingsSectionKey(std::string_view section) const {
    return SettingsKey() + "\\" + std::string(section);
}

std::string Places::RandomizerKey() const {
    return registryPrefix + std::string(kRandomizerKey);
}

std::string Places::RunKey() const {
    return registryPrefix + std::string(kRunKey);
}

std::string Places::DesktopKey() const {
    return registryPrefix + std::string(kDesktopKey);
}

}  // namespace mvpr
