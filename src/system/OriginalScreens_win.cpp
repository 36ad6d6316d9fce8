#include "system/OriginalScreens_win.h"

#include "system/SettingsKeys.h"
#include "system/DesktopKeys.h"
#include "system/InstallScreen_win.h"
#include "win/Files.h"
#include "win/Registry.h"

namespace mvpr {

namespace {

struct RecordedScreen {
    ScreenCategory category;
    std::string_view entry;
};
// In the order start-up, waiting, shutdown.
constexpr RecordedScreen kRecordedScreens[] = {{ScreenCategory::Start, kStartScreenValue},
                                               {ScreenCategory::Wait, kWaitScreenValue},
                                               {ScreenCategory::Shut, kShutScreenValue}};
// The desktop values and where the record keeps them; the last one is written last.
constexpr struct {
    std::string_view desktop, saved;
} kDesktopValues[] = {{kWallpaperValue, kSavedWallPaperValue},
                      {kTileWallpaperValue, kSavedTileWallpaperValue},
                      {kWallpaperStyleValue, kSavedWallpaperStyleValue}};

std::string_view EntryOf(ScreenCategory category) {
    for (const auto& s : kRecordedScreens)
        if (s.category == category) return s.entry;
    return {};
}

std::string RecordPath(const Places& places) {
    return places.RecordKey();
}

std::string SystemPath(const Places& places, ScreenCategory category) {
    return ScreenTargetPath(category, places.windowsDir);
}

bool IsNotThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A value of the record: there, not there (the system said so), or not known (`error`).
struct Entry {
    std::optional<std::string> text;
    LONG error = ERROR_SUCCESS;
    bool Absent() const { return !text && error == ERROR_FILE_NOT_FOUND; }
    bool Known() const { return text || Absent(); }
};

// The record as it stands, read only.
class Record {
  public:
    explicit Record(const Places& places)
        : key_(win::RegistryKey::OpenForReading(HKEY_CURRENT_USER, RecordPath(places), &openError_)) {}
    Entry Read(std::string_view name) const {
        Entry e;
        if (!key_) {
            e.error = openError_;
            return e;
        }
        e.text = key_->ReadText(name, &e.error);
        // A value of a type no text can be made of is no entry of ours.
        if (!e.text && e.error == ERROR_UNSUPPORTED_TYPE) e.error = ERROR_FILE_NOT_FOUND;
        return e;
    }

    bool Exists() const { return key_.has_value(); }
    LONG OpenError() const { return openError_; }

  private:
    LONG openError_ = ERROR_SUCCESS;
    std::optional<win::RegistryKey> key_;
};

// Writes values of the record in order; the name of the first that fails.
std::optional<std::string> WriteRecord(
    const Places& places, std::initializer_list<std::pair<std::string_view, std::string>> values) {
    auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, RecordPath(places), true);
    for (const auto& [name, text] : values)
        if (!key || !key->WriteString(name, text)) return std::string(name);
    return std::nullopt;
}

enum class DesktopState { Recorded, NotRecorded, Unknown };

DesktopState DesktopRecordState(const Record& record) {
    bool all = true;
    for (const auto& v : kDesktopValues) {
        const Entry e = record.Read(v.saved);
        if (!e.Known()) return DesktopState::Unknown;
        all = all && e.text.has_value();
    }
    return all ? DesktopState::Recorded : DesktopState::NotRecorded;
}

// The first backup name nothing holds; empty with the reason when none can be had.
std::string FreeBackupFor(const Places& places, ScreenCategory category, std::string& reason) {
    DWORD error = 0;
    std::string path =
        FreeBackupPath(category, places.programDir, [&](const std::string& candidate) -> std::optional<bool> {
            const win::FileQuery q = win::QueryFile(candidate);
            if (q.state == win::FileState::Unknown) {
                error = q.error;
                return std::nullopt;
            }
            return q.state == win::FileState::Exists;
        });
    if (path.empty()) reason = win::SystemErrorText(error ? error : ERROR_FILE_EXISTS);
    return path;
}

}  // namespace

BackupCheck CheckScreenBackup(const Places& places, ScreenCategory category) {
    const Entry e = Record(places).Read(EntryOf(category));
    if (!e.text) {
        if (e.Absent()) return {false, "not recorded"};
        return {false, win::SystemErrorText(static_cast<DWORD>(e.error))};
    }
    if (*e.text == kNoBackup) return {true, {}};
    std::string bytes;
    if (const DWORD error = win::ReadWholeFile(*e.text, bytes))
        return {false, *e.text + ": " + win::SystemErrorText(error)};
    return {true, {}};
}

bool DesktopRecorded(const Places& places) {
    return DesktopRecordState(Record(places)) == DesktopState::Recorded;
}

std::optional<std::string> RecordDesktopValues(const Places& places) {
    const std::string failed(kSavedWallPaperValue);
    switch (DesktopRecordState(Record(places))) {
        case DesktopState::Recorded: return std::nullopt;
        case DesktopState::Unknown: return failed;
        case DesktopState::NotRecorded: break;
    }
    auto desktop = win::RegistryKey::Open(HKEY_CURRENT_USER, places.DesktopKey(), true);
    if (!desktop) return failed;
    // Absent values are recorded as empty, an absent style as "(none)"; a value that cannot be
    // read is not guessed at.
    std::string saved[3];
    for (std::size_t i = 0; i < 3; ++i) {
        LONG error = ERROR_SUCCESS;
        const auto text = desktop->ReadText(kDesktopValues[i].desktop, &error);
        if (!text && error != ERROR_FILE_NOT_FOUND && error != ERROR_UNSUPPORTED_TYPE)
            return std::string(kDesktopValues[i].saved);
        saved[i] = text ? *text : i == 2 ? std::string(kNoBackup) : std::string();
    }
    return WriteRecord(places, {{kDesktopValues[0].saved, saved[0]},
                                {kDesktopValues[1].saved, saved[1]},
                                {kDesktopValues[2].saved, saved[2]}});
}

BackupReport BackUpScreen(const Places& places, ScreenCategory category) {
    const std::string system = SystemPath(places, category);
    const std::string_view name = EntryOf(category);
    const auto problem = [&](std::string reason) {
        BackupReport r;
        r.screens.push_back({system, std::move(reason)});
        return r;
    };
    const Entry e = Record(places).Read(name);
    if (!e.Known()) return problem(win::SystemErrorText(static_cast<DWORD>(e.error)));
    std::string backup;
    if (e.text) {
        if (*e.text == kNoBackup) return {};
        std::string bytes;
        const DWORD error = win::ReadWholeFile(*e.text, bytes);
        if (!error) return {};
        // Only a backup that is surely gone is made again, under its own name.
        if (win::QueryFile(*e.text).state != win::FileState::Absent)
            return problem(*e.text + ": " + win::SystemErrorText(error));
        backup = *e.text;
    }

    BackupReport report;
    const win::FileQuery screen = win::QueryFile(system);
    if (screen.state == win::FileState::Unknown) return problem(win::SystemErrorText(screen.error));
    if (screen.state == win::FileState::Absent) {
        // The machine has none: that is its original.
        report.failedValue = WriteRecord(places, {{name, std::string(kNoBackup)}});
        return report;
    }
    std::string reason;
    if (backup.empty()) backup = FreeBackupFor(places, category, reason);
    if (backup.empty()) return problem(reason);
    const InstallOutcome copied = CopyToNewFile(system, backup);
    if (!copied.copied) return problem(copied.error);
    if (!e.text || *e.text != backup) report.failedValue = WriteRecord(places, {{name, backup}});
    return report;
}

BackupReport BackUpOriginals(const Places& places) {
    BackupReport report;
    if ((report.failedValue = RecordDesktopValues(places))) return report;
    for (const auto& s : kRecordedScreens) {
        // A screen once recorded is never backed up again: what lies there now may be installed.
        const Entry e = Record(places).Read(s.entry);
        if (e.text) continue;
        BackupReport r = e.Absent() ? BackUpScreen(places, s.category)
                                    : BackupReport{std::nullopt,
                                                   {{SystemPath(places, s.category),
                                                     win::SystemErrorText(static_cast<DWORD>(e.error))}}};
        report.screens.insert(report.screens.end(), r.screens.begin(), r.screens.end());
        if ((report.failedValue = r.failedValue)) return report;
    }
    if (report.screens.empty()) report.failedValue = WriteRecord(places, {{kFilesBackedUpValue, "1"}});
    return report;
}

RestoreReport RestoreOriginals(const Places& places) {
    RestoreReport report;
    // Whatever cannot be read may still be needed: the record stays.
    const auto unknown = [&](std::string what, LONG error) {
        report.screens.push_back({std::move(what), win::SystemErrorText(static_cast<DWORD>(error))});
        report.recordNeeded = true;
    };
    LONG error = ERROR_SUCCESS;
    const std::string settings = places.SettingsKey();
    if (!win::RegistryKey::Open(HKEY_CURRENT_USER, settings, true, &error)) {
        unknown("HKEY_CURRENT_USER\\" + settings, error);
        return report;
    }
    // Each recorded original is put back, also from a record that a failed backup left without
    // "FilesBackedUp": install may have gone over the screens it names.
    const Record record(places);
    if (!record.Exists()) {
        if (record.OpenError() != ERROR_FILE_NOT_FOUND)
            unknown("HKEY_CURRENT_USER\\" + RecordPath(places), record.OpenError());
        return report;
    }

    // An absent saved value says nothing about the desktop: its value stays.
    auto desktop = win::RegistryKey::Open(HKEY_CURRENT_USER, places.DesktopKey(), false, &error);
    if (!desktop && error != ERROR_FILE_NOT_FOUND) {
        report.failedValue = std::string(kWallpaperValue);
        report.recordNeeded = true;
        return report;
    }
    for (const auto& v : kDesktopValues) {
        if (!desktop) break;
        const Entry saved = record.Read(v.saved);
        if (!saved.Known() ||
            (saved.text && !(v.desktop == kWallpaperStyleValue && *saved.text == kNoBackup) &&
             !desktop->WriteString(v.desktop, *saved.text))) {
            report.failedValue = std::string(v.desktop);
            report.recordNeeded = true;
            return report;
        }
        if (saved.text) report.putBack = true;
    }

    for (const auto& s : kRecordedScreens) {
        const std::string system = SystemPath(places, s.category);
        const Entry e = record.Read(s.entry);
        if (!e.Known()) {
            unknown(system, e.error);
            continue;
        }
        if (!e.text) continue;  // no entry: nothing is known of this screen's original
        if (*e.text == kNoBackup) {
            // The machine had none; what lies there now was installed.
            const DWORD gone = win::RemoveFile(system);
            if (!gone) report.putBack = true;
            if (gone && !IsNotThere(gone)) unknown(system, static_cast<LONG>(gone));
            continue;
        }
        if (lstrcmpiA(e.text->c_str(), system.c_str()) == 0) continue;
        std::string bytes;
        const DWORD unread = win::ReadWholeFile(*e.text, bytes);
        InstallOutcome put{false, unread ? win::SystemErrorText(unread) : std::string()};
        if (!unread) put = WriteScreenFile(bytes, system);
        if (put.copied) {
            report.putBack = true;
            continue;
        }
        report.screens.push_back({system + " (" + *e.text + ")", put.error});
        // A backup that is not there holds nothing to keep.
        if (!IsNotThere(unread)) report.recordNeeded = true;
    }
    return report;
}

std::optional<std::string> RemoveRegistration(const Places& places) {
    const auto reason = [](LONG error) { return win::SystemErrorText(static_cast<DWORD>(error)); };
    const std::string runPath = places.RunKey();
    const std::string settingsPath = places.SettingsKey();
    LONG error = ERROR_SUCCESS;
    // The Run entry first: a randomizer left running would find no record.
    if (auto run = win::RegistryKey::Open(HKEY_CURRENT_USER, runPath, false, &error)) {
        if (!run->DeleteValue(kRunValue, &error)) return reason(error);
    } else if (error != ERROR_FILE_NOT_FOUND) {
        return reason(error);
    }
    if (auto tolvane = win::RegistryKey::OpenForReading(HKEY_CURRENT_USER, places.TolvaneKey(), &error)) {
        if (!tolvane->DeleteTree(kMorvellanSubkey, &error)) return reason(error);
    } else if (error != ERROR_FILE_NOT_FOUND) {
        return reason(error);
    }

    // Gone for certain only when the system says they are not there.
    if (win::RegistryKey::OpenForReading(HKEY_CURRENT_USER, settingsPath, &error)) return std::string();
    if (error != ERROR_FILE_NOT_FOUND) return reason(error);
    if (auto run = win::RegistryKey::OpenForReading(HKEY_CURRENT_USER, runPath, &error)) {
        if (run->ReadText(kRunValue, &error) || error == ERROR_UNSUPPORTED_TYPE) return std::string();
        if (error != ERROR_FILE_NOT_FOUND) return reason(error);
    } else if (error != ERROR_FILE_NOT_FOUND) {
        return reason(error);
    }
    return std::nullopt;
}

}  // namespace mvpr
