#include "app/Settings_win.h"

#include "system/SettingsKeys.h"

namespace mvpr {

namespace {
std::optional<win::RegistryKey> OpenSection(const win::RegistryKey* settingsKey, std::string_view section) {
    if (!settingsKey) return std::nullopt;
    return win::RegistryKey::OpenForReading(settingsKey->get(), section);
}

std::optional<std::string> ReadValue(const std::optional<win::RegistryKey>& section, std::string_view name) {
    return section ? section->ReadText(name) : std::nullopt;
}
}  // namespace

std::optional<win::RegistryKey> OpenSettingsKey(const Places& places) {
    return win::RegistryKey::Open(HKEY_CURRENT_USER, places.SettingsKey(), true);
}

bool FilesBackedUp(const win::RegistryKey* settingsKey) {
    return YesNoOr(ReadValue(OpenSection(settingsKey, kOriginalInfoSection), kFilesBackedUpValue), false);
}

Settings ReadSettings(const win::RegistryKey* settingsKey, const std::string& programDir) {
    const auto section = OpenSection(settingsKey, kSelectorSection);
    Settings s;
    s.previewMode = NumberOr(ReadValue(section, kPreviewShowValue), s.previewMode);
    for (const auto& info : kCategories)
        s.folders[CategoryIndex(info.category)] = ReadValue(section, info.folderValue).value_or(programDir);
    s.category = CategoryOr(ReadValue(section, kSelectedScreenButtonValue));
    s.reportAddErrors = YesNoOr(ReadValue(section, kReportAddErrorsValue), s.reportAddErrors);
    s.playAnimations = YesNoOr(ReadValue(section, kPlayAnimationsValue), s.playAnimations);
    return s;
}

std::optional<std::string_view> WriteSettings(const Places& places, const Settings& s) {
    const std::pair<std::string_view, std::string> values[] = {
        {kPreviewShowValue, std::to_string(s.previewMode)},
        {Info(ScreenCategory::Start).folderValue, s.folders[CategoryIndex(ScreenCategory::Start)]},
        {Info(ScreenCategory::Wait).folderValue, s.folders[CategoryIndex(ScreenCategory::Wait)]},
        {Info(ScreenCategory::Shut).folderValue, s.folders[CategoryIndex(ScreenCategory::Shut)]},
        {Info(ScreenCategory::Wall).folderValue, s.folders[CategoryIndex(ScreenCategory::Wall)]},
        {kSelectedScreenButtonValue, std::to_string(CategoryCode(s.category))},
        {kReportAddErrorsValue, YesNoText(s.reportAddErrors)},
        {kPlayAnimationsValue, YesNoText(s.playAnimations)},
    };
    auto key = OpenSettingsKey(places);
    if (!key) return values[0].first;
    auto section = win::RegistryKey::Open(key->get(), kSelectorSection, true);
    if (!section) return std::nullopt;
    for (const auto& [name, text] : values)
        if (!section->WriteString(name, text)) return name;
    return std::nullopt;
}

std::string ReadRunEntry(const Places& places) {
    const auto run = win::RegistryKey::OpenForReading(HKEY_CURRENT_USER, places.RunKey());
    return run ? run->ReadText(kRunValue).value_or("") : "";
}

bool WriteRunEntry(const Places& places, std::string_view entry) {
    auto run = win::RegistryKey::Open(HKEY_CURRENT_USER, places.RunKey(), true);
    return run && run->WriteString(kRunValue, entry);
}

}  // namespace mvpr
