#ifndef MVPR_SYSTEM_SCREENCHECK_H
#define MVPR_SYSTEM_SCREENCHECK_H

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mvpr {

// "Why is my screen not shown?": what Windows will show at the next start and shut-down, judged
// from facts gathered elsewhere (ScreenCheck_win), so that every rule here runs without Windows.

// A file as it was found: not there, there but not readable, or its bytes.
struct FileFacts {
    enum class State { Absent, Unreadable, Read };
    std::string path;
    State state = State::Absent;
    std::string bytes;
};

struct CheckFacts {
    // GetVersionEx: the NT family or Windows 95/98/ME, and the version numbers.
    bool nt = false;
    int major = 4, minor = 10;
    std::string windowsDir;            // with or without its trailing backslash
    std::string programDir;            // ending in a backslash
    FileFacts msDosSys;                // in the root of the Windows drive
    std::array<FileFacts, 3> screens;  // logo.sys, logow.sys, logos.sys where the program puts them
    // The first-run backup's entry for logo.sys ("(none)", or the backup's path), and whether that
    // backup file is there; nothing when there is no record.
    std::optional<std::string> startBackupEntry;
    bool startBackupPresent = false;
    // The desktop: Control Panel\desktop "Wallpaper" (nothing when absent), the file it names, and
    // the values that show another picture instead where this Windows has them.
    std::optional<std::string> wallpaperValue;
    FileFacts wallpaperFile;
    std::optional<std::string> policyWallpaper;         // Policies\System "Wallpaper"
    std::optional<std::string> activeDesktopWallpaper;  // Internet Explorer\Desktop\General
};

enum class WindowsKind { Win95, Win98, WinMe, Nt };
WindowsKind KindOf(const CheckFacts& facts);
// "Windows 98", "Windows XP", ...
std::string WindowsName(const CheckFacts& facts);

// What a row is about: its first column.
enum class CheckSubject { Windows, Start, Wait, Shut, Wallpaper };
std::string_view SubjectText(CheckSubject subject);

enum class Severity { Fine, Note, Warning, Problem };

// The fixes a finding can offer; each is asked before and can be undone.
enum class CheckFix { None, SwitchLogoOn, SwitchBootGuiOn, MoveLogoAside };

struct Finding {
    CheckSubject subject;
    Severity severity;
    std::string text;
    CheckFix fix = CheckFix::None;
};

std::vector<Finding> CheckScreens(const CheckFacts& facts);

// Where a broken logo.sys goes: the program folder under its own name, "logo.sys", or the first
// free "logo.<n>.sys" (never a name the first-run backup uses); empty when all up to 999 are taken.
std::string LogoAsidePath(std::string_view programDir, const std::function<bool(const std::string&)>& taken);

// The question asked before a fix, and what is said after it.
std::string FixQuestion(CheckFix fix, const CheckFacts& facts, std::string_view asidePath);
std::string FixDone(CheckFix fix, const CheckFacts& facts, std::string_view asidePath);
std::string FixFailed(CheckFix fix, std::string_view path, std::string_view reason);

// The reasons a fix can fail before anything was written.
inline constexpr std::string_view kNotMsDosSys =
    "it does not look like the MSDOS.SYS of Windows 95, 98 or ME, so it was left alone";
inline constexpr std::string_view kAlreadyOn = "the setting is already on";
inline constexpr std::string_view kReadBackDiffers =
    "the file reads back different from what was written; the copy MSDOS.MVP beside it holds the old bytes";
inline constexpr std::string_view kCopyDiffers = "the copy reads back different from the file";
inline constexpr std::string_view kNoFreeName = "every name for it in the program folder is taken";

}  // namespace mvpr

#endif
