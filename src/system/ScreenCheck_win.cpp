#include "system/ScreenCheck_win.h"

#include "lists/ScreenCategory.h"
#include "system/DesktopKeys.h"
#include "system/InstallScreen_win.h"
#include "system/ScreenTargets.h"
#include "system/SettingsKeys.h"
#include "win/Files.h"
#include "win/Registry.h"

namespace mvpr {

namespace {

// Far beyond any screen or wallpaper a desktop shows; a bigger file is read no further.
constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

// The values that put another wallpaper on the desktop than Control Panel\desktop names.
constexpr std::string_view kPolicySystemKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr std::string_view kActiveDesktopKey = "Software\\Microsoft\\Internet Explorer\\Desktop\\General";

FileFacts ReadFacts(const std::string& path) {
    FileFacts f;
    f.path = path;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return f;
    f.state = FileFacts::State::Unreadable;
    if (!win::IsExistingFile(path)) return f;  // a folder of that name
    std::string bytes;
    const win::ReadStatus status = win::ReadFileInPieces(path, [&](std::string_view piece) {
        bytes.append(piece.substr(0, kMaxFileBytes - bytes.size()));
        return bytes.size() < kMaxFileBytes;
    });
    if (status != win::ReadStatus::Done) return f;
    f.state = FileFacts::State::Read;
    f.bytes = std::move(bytes);
    return f;
}

std::optional<std::string> ReadValue(HKEY root, const std::string& key, std::string_view name) {
    const auto k = win::RegistryKey::OpenForReading(root, key);
    return k ? k->ReadText(name) : std::nullopt;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool SameBytes(const std::string& path, const std::string& bytes) {
    const FileFacts again = ReadFacts(path);
    return again.state == FileFacts::State::Read && again.bytes == bytes;
}

}  // namespace

CheckFacts GatherCheckFacts(const Places& places) {
    CheckFacts f;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version)) {
        f.nt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        f.major = static_cast<int>(version.dwMajorVersion);
        f.minor = static_cast<int>(version.dwMinorVersion);
    }
    f.windowsDir = places.windowsDir;
    f.programDir = places.programDir;

    if (!f.nt) {
        const std::string logo = ScreenTargetPath(ScreenCategory::Start, f.windowsDir);
        f.msDosSys = ReadFacts(FolderOf(logo) + std::string(kMsDosSysName));
        const ScreenCategory screens[] = {ScreenCategory::Start, ScreenCategory::Wait, ScreenCategory::Shut};
        for (std::size_t i = 0; i < 3; ++i)
            f.screens[i] = ReadFacts(ScreenTargetPath(screens[i], f.windowsDir));

        const std::string record = places.RecordKey();
        if (ReadValue(HKEY_CURRENT_USER, record, kFilesBackedUpValue).value_or("") == "1") {
            f.startBackupEntry = ReadValue(HKEY_CURRENT_USER, record, kStartScreenValue);
            f.startBackupPresent = f.startBackupEntry && win::IsExistingFile(*f.startBackupEntry);
        }
    }

    f.wallpaperValue = ReadValue(HKEY_CURRENT_USER, places.DesktopKey(), kWallpaperValue);
    if (f.wallpaperValue && !f.wallpaperValue->empty()) f.wallpaperFile = ReadFacts(*f.wallpaperValue);
    f.policyWallpaper = ReadValue(HKEY_CURRENT_USER, places.Key(kPolicySystemKey), kWallpaperValue);
    if (!f.policyWallpaper && places.registryPrefix.empty())
        f.policyWallpaper = ReadValue(HKEY_LOCAL_MACHINE, std::string(kPolicySystemKey), kWallpaperValue);
    f.activeDesktopWallpaper = ReadValue(HKEY_CURRENT_USER, places.Key(kActiveDesktopKey), kWallpaperValue);
    return f;
}

FixOutcome SwitchMsDosOn(const CheckFacts& facts, MsDosKey key) {
    const CheckFix fix = key == MsDosKey::Logo ? CheckFix::SwitchLogoOn : CheckFix::SwitchBootGuiOn;
    const std::string& path = facts.msDosSys.path;
    const auto failed = [&](std::string_view reason) {
        return FixOutcome{false, FixFailed(fix, path, reason)};
    };

    // Judged as it is now, not as it was when the list was made.
    const FileFacts now = ReadFacts(path);
    if (now.state != FileFacts::State::Read)
        return failed(win::SystemErrorText(now.state == FileFacts::State::Absent ? ERROR_FILE_NOT_FOUND
                                                                                 : ERROR_READ_FAULT));
    const MsDosEdit edit = SwitchOn(now.bytes, key);
    if (edit.status == MsDosEditStatus::NotMsDosSys) return failed(kNotMsDosSys);
    if (edit.status == MsDosEditStatus::AlreadyOn) return failed(kAlreadyOn);

    const std::string copy = FolderOf(path) + std::string(kMsDosCopyName);
    const win::ReplaceResult copied = win::ReplaceFileWith(copy, now.bytes);
    if (copied.status != win::ReplaceStatus::Done || !SameBytes(copy, now.bytes))
        return failed("the copy " + copy + " could not be written: " + win::SystemErrorText(copied.error));

    // MSDOS.SYS is read-only: lifted for the write, and put back whatever happens.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return failed(win::SystemErrorText(GetLastError()));
    if ((attributes & FILE_ATTRIBUTE_READONLY) &&
        !SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)))
        return failed(win::SystemErrorText(GetLastError()));
    const win::ReplaceResult written = win::ReplaceFileWith(path, edit.bytes);
    SetFileAttributesA(path.c_str(), attributes);
    if (written.status != win::ReplaceStatus::Done) return failed(win::SystemErrorText(written.error));
    if (!SameBytes(path, edit.bytes)) return failed(kReadBackDiffers);
    return {true, FixDone(fix, facts, {})};
}

FixOutcome MoveLogoAside(const CheckFacts& facts, const std::string& asidePath) {
    const std::string& path = facts.screens[0].path;
    const auto failed = [&](std::string_view reason) {
        return FixOutcome{false, FixFailed(CheckFix::MoveLogoAside, path, reason)};
    };
    if (asidePath.empty()) return failed(kNoFreeName);
    const FileFacts now = ReadFacts(path);
    if (now.state != FileFacts::State::Read)
        return failed(win::SystemErrorText(now.state == FileFacts::State::Absent ? ERROR_FILE_NOT_FOUND
                                                                                 : ERROR_READ_FAULT));
    const InstallOutcome copied = CopyToNewFile(path, asidePath);
    if (!copied.copied) return failed(copied.error);
    const auto undo = [&] {
        SetFileAttributesA(asidePath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(asidePath.c_str());
    };
    if (!SameBytes(asidePath, now.bytes)) {
        undo();
        return failed(kCopyDiffers);
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    if (!DeleteFileA(path.c_str())) {
        const DWORD error = GetLastError();
        if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(path.c_str(), attributes);
        undo();
        return failed(win::SystemErrorText(error));
    }
    return {true, FixDone(CheckFix::MoveLogoAside, facts, asidePath)};
}

}  // namespace mvpr
