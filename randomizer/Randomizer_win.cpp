#include "Randomizer_win.h"

#include "FileLookup.h"
#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "system/SettingsKeys.h"
#include "imaging/DibSection_win.h"
#include "imaging/StyleRenderer.h"
#include "lists/ListFile_win.h"
#include "lists/ListTexts.h"
#include "system/ScreenFile_win.h"
#include "system/InstallScreen_win.h"
#include "system/OriginalScreens_win.h"
#include "system/ScreenTargets.h"
#include "system/Wallpaper_win.h"
#include "win/Files.h"
#include "win/Registry.h"

namespace mvpr {

namespace {

inline void CloseLibrary(HMODULE m) {
    FreeLibrary(m);
}
using UniqueModule = win::Unique<HMODULE, &CloseLibrary>;

enum class ListStatus { Read, Missing, Unreadable };

ListStatus ReadListFile(const std::string& path, ListFileReader& reader) {
    switch (ReadListFileInto(path, reader)) {
        case win::ReadStatus::Done: return ListStatus::Read;
        case win::ReadStatus::NotOpened:
            return win::IsExistingFile(path) ? ListStatus::Unreadable : ListStatus::Missing;
        case win::ReadStatus::Failed: break;
    }
    return ListStatus::Unreadable;
}

// Different at every start: the time of day, the time since boot and the process.
std::uint64_t MachineSeed() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    std::seed_seq seq{static_cast<std::uint32_t>(now.dwLowDateTime),
                      static_cast<std::uint32_t>(now.dwHighDateTime),
                      static_cast<std::uint32_t>(counter.LowPart), static_cast<std::uint32_t>(GetTickCount()),
                      static_cast<std::uint32_t>(GetCurrentProcessId())};
    std::array<std::uint32_t, 2> out{};
    seq.generate(out.begin(), out.end());
    return (std::uint64_t{out[0]} << 32) | out[1];
}

std::array<std::string, 4> ReadLastPicks(const RandomizerConfig& config) {
    std::array<std::string, 4> picks;
    if (auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, config.places.RandomizerKey(), false))
        for (std::size_t i = 0; i < picks.size(); ++i)
            picks[i] = key->ReadText(kLastPickValues[i]).value_or(std::string());
    return picks;
}

// The picture the library made, read as the selector reads its preview for the renderer.
std::optional<Picture> DecodeWallpaper(LibraryLoad library, const std::string& path) {
    const auto loaded = LoadThroughLibrary(library, path);
    if (!loaded) return std::nullopt;
    win::UniqueBitmap bitmap(*loaded);
    if (!bitmap) return std::nullopt;
    return ReadBitmapPixels(bitmap.get());
}

// The file system as the run examines it: attribute queries, folder listings, drives.
class WinFileSystem : public FileSystemProbe {
  public:
    Kind Query(const std::string& path) override {
        const DWORD a = GetFileAttributesA(path.c_str());
        if (a == INVALID_FILE_ATTRIBUTES) return Kind::Missing;
        return (a & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::File;
    }
    bool DriveThere(const std::string& root) override {
        if (GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR) return false;
        // Fails for a drive without its disk; the error mode keeps the system from asking for one.
        return GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) !=
               FALSE;
    }
    std::optional<std::vector<std::string>> ListFiles(const std::string& folder) override {
        WIN32_FIND_DATAA fd{};
        const HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE) return std::nullopt;
        std::vector<std::string> names;
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            names.emplace_back(fd.cFileName);
            if (fd.cAlternateFileName[0]) names.emplace_back(fd.cAlternateFileName);
        } while (FindNextFileA(find, &fd));
        const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
        FindClose(find);
        if (!complete) return std::nullopt;  // a listing cut short would rule out files that are there
        return names;
    }
};

// No "insert a disk" box while entries are examined, whoever runs them.
class QuietErrors {
  public:
    QuietErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {
        SetErrorMode(old_ | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    }
    ~QuietErrors() { SetErrorMode(old_); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    UINT old_;
};

// One category's run: pick, examine, install.
class CategoryRun {
  public:
    CategoryRun(const RandomizerConfig& config, RunLog& log, ScreenCategory category,
                const std::vector<ScreenEntry>& entries, LibraryLoad library, FileLookup& files)
        : config_(config),
          log_(log),
          category_(category),
          entries_(entries),
          library_(library),
          files_(files) {}

    // The key of the installed entry, or nothing when the category stays as it was.
    std::optional<std::string> Run(const std::string& lastPick, RandomSource& random) {
        const bool wall = category_ == ScreenCategory::Wall;
        // Nothing goes over an original that has no backup yet; the selector's next start makes it.
        const Places& places = config_.places;
        if (wall && !DesktopRecorded(places)) {
            log_.DesktopNotBackedUp();
            return std::nullopt;
        }
        if (!wall) {
            if (const BackupCheck check = CheckScreenBackup(places, category_); !check.safe) {
                log_.ScreenNotBackedUp(category_, ScreenTargetPath(category_, places.windowsDir), check.why);
                return std::nullopt;
            }
        }
        const auto wasLast = [&](std::size_t i) { return SamePickKey(PickKey(entries_[i], wall), lastPick); };
        const auto chosen =
            PickEntry(entries_.size(), random, wasLast, [this](std::size_t i) { return Usable(i); });
        log_.EndCategory(category_);
        if (!chosen) {
            log_.NoUsableEntry(category_, entries_.size());
            return std::nullopt;
        }
        const ScreenEntry& entry = entries_[*chosen];
        const std::string key = PickKey(entry, wall);
        const bool ok =
            wall ? SetWallpaper(entry, key, wasLast(*chosen)) : InstallScreen(entry, wasLast(*chosen));
        if (!ok) return std::nullopt;
        return key;
    }

  private:
    bool Usable(std::size_t i) {
        const ScreenEntry& entry = entries_[i];
        const std::string path = entry.FullPath();
        const auto skip = [&](std::string_view reason) {
            log_.Skipped(category_, category_ == ScreenCategory::Wall ? PickKey(entry, true) : path, reason);
            return false;
        };
        if (!files_.IsFile(entry.folder, entry.fileName)) return skip(kFileNotFound);
        if (category_ == ScreenCategory::Wall) {
            wallpaper_ = DecodeWallpaper(library_, path);
            return wallpaper_ ? true : skip(kNotDecoded);
        }
        const ScreenVerdict verdict = JudgeScreenFile(path);
        if (!verdict.readable) return skip(kNotABitmap);
        if (verdict.WrongSize()) return skip(WrongSizeReason(verdict.width, verdict.height));
        if (!verdict.Valid()) return skip(WrongDepthReason(verdict.format));
        return true;
    }

    bool InstallScreen(const ScreenEntry& entry, bool again) {
        const std::string source = entry.FullPath();
        const std::string target = ScreenTargetPath(category_, config_.places.windowsDir);
        const InstallOutcome outcome = InstallScreenFile(source, target);
        if (outcome.copied)
            log_.Installed(category_, source, target, again);
        else
            log_.NotInstalled(category_, source, target, outcome.error);
        return outcome.copied;
    }

    bool SetWallpaper(const ScreenEntry& entry, const std::string& key, bool again) {
        const auto style = DisplayStyleOf(entry.style).value_or(DisplayStyle::Centred);
        const WallpaperOutcome outcome = SetPictureAsWallpaper(*wallpaper_, style, config_.screenWidth,
                                                               config_.screenHeight, config_.places);
        if (!outcome.rendered)
            log_.NotInstalled(category_, key, "the wallpaper", kNotRendered);
        else if (outcome.written)
            log_.WallpaperSet(key, again);
        else
            log_.NotInstalled(category_, key, "the wallpaper", outcome.error);
        return outcome.written;
    }

    const RandomizerConfig& config_;
    RunLog& log_;
    ScreenCategory category_;
    const std::vector<ScreenEntry>& entries_;
    LibraryLoad library_;
    FileLookup& files_;
    std::optional<Picture> wallpaper_;  // the last wallpaper found usable
};

}  // namespace

void RunRandomizer(const RandomizerConfig& config, RunLog& log) {
    const std::string listPath = config.places.ProgramFile(kListFileName);
    ListFileReader reader(config.places.programDir);
    switch (ReadListFile(listPath, reader)) {
        case ListStatus::Missing: log.ListFileMissing(listPath); return;
        case ListStatus::Unreadable: log.ListFileUnreadable(listPath); return;
        case ListStatus::Read: break;
    }
    const ListFileEntries& lists = reader.Entries();
    log.ListFileRead(listPath, {lists[0].size(), lists[1].size(), lists[2].size(), lists[3].size()});

    SeededRandom fallback(MachineSeed());
    RandomSource& random = config.random ? *config.random : fallback;
    std::array<std::string, 4> picks = ReadLastPicks(config);
    std::array<bool, 4> picked{};
    UniqueModule module;
    QuietErrors quiet;
    WinFileSystem fileSystem;
    FileLookup files(fileSystem);  // shared: the categories often share folders
    for (const CategoryInfo& info : kCategories) {
        const std::size_t i = CategoryIndex(info.category);
        if (lists[i].empty()) {
            log.NoEntries(info.category);
            continue;
        }
        LibraryLoad library = config.library;
        if (info.category == ScreenCategory::Wall && !library) {
            // Bound only now: the screens change even where the library is missing or broken.
            const std::string libraryPath = config.places.ProgramFile(kLibraryFileName);
            module.reset(LoadLibraryA(libraryPath.c_str()));
            if (module)
                library = reinterpret_cast<LibraryLoad>(reinterpret_cast<void*>(
                    GetProcAddress(module.get(), std::string(kLibraryEntryName).c_str())));
            if (!library) {
                log.LibraryMissing(info.category, libraryPath);
                continue;
            }
        }
        CategoryRun run(config, log, info.category, lists[i], library, files);
        if (auto key = run.Run(picks[i], random)) {
            picks[i] = std::move(*key);
            picked[i] = true;
        }
    }

    if (picked == std::array<bool, 4>{}) return;
    auto key = win::RegistryKey::Open(HKEY_CURRENT_USER, config.places.RandomizerKey(), true);
    bool remembered = key.has_value();
    for (std::size_t i = 0; key && i < picks.size(); ++i)
        if (picked[i]) remembered = key->WriteString(kLastPickValues[i], picks[i]) && remembered;
    if (!remembered) log.PicksNotRemembered(config.places.RandomizerKey());
}

}  // namespace mvpr
