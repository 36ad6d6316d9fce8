#include "system/ScreenCheck.h"

#include <cstdint>
#include <span>

#include "imaging/BmpCodec.h"
#include "imaging/ScreenRule.h"
#include "lists/ScreenCategory.h"
#include "system/MsDosSys.h"
#include "system/ScreenTargets.h"

namespace mvpr {

namespace {

constexpr std::string_view kBreak = "\n\r";

std::string Folder(std::string_view path) {
    const auto slash = path.find_last_of('\\');
    return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The drive letter of "C:\..." (upper case), or 0 for a network path.
char DriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' ? Upper(path[0]) : 0;
}

bool SamePath(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

DecodeResult Decode(const std::string& bytes) {
    return DecodeBmp(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::string SizeText(const Picture& p) {
    return std::to_string(p.Width()) + " x " + std::to_string(p.Height());
}

constexpr CheckSubject kScreenSubjects[] = {CheckSubject::Start, CheckSubject::Wait, CheckSubject::Shut};

class Checker {
  public:
    explicit Checker(const CheckFacts& f) : f_(f), kind_(KindOf(f)) {}

    std::vector<Finding> Run() {
        const std::string name = WindowsName(f_);
        if (kind_ == WindowsKind::Nt) {
            Add(CheckSubject::Windows, Severity::Note,
                name +
                    " does not use the start-up, waiting and shut-down screens (only Windows 95, 98 and ME "
                    "show them): only the wallpaper is checked.");
        } else {
            Add(CheckSubject::Windows, Severity::Fine,
                name + " shows the start-up, waiting and shut-down screens.");
            const auto settings = MsDosSettingsOf();
            for (std::size_t i = 0; i < 3; ++i) Screen(i, settings);
        }
        Wallpaper();
        return std::move(findings_);
    }

  private:
    void Add(CheckSubject s, Severity v, std::string text, CheckFix fix = CheckFix::None) {
        findings_.push_back(Finding{s, v, std::move(text), fix});
    }

    std::optional<MsDosSettings> MsDosSettingsOf() {
        const FileFacts& m = f_.msDosSys;
        if (m.state == FileFacts::State::Absent) {
            Add(CheckSubject::Windows, Severity::Warning,
                "No " + m.path +
                    ": the start-up settings were not checked (Windows may start from another "
                    "drive, such as the host of a compressed drive).");
            return std::nullopt;
        }
        if (m.state == FileFacts::State::Unreadable) {
            Add(CheckSubject::Windows, Severity::Warning,
                m.path + " could not be read: the start-up settings were not checked.");
            return std::nullopt;
        }
        auto s = ReadMsDosSys(m.bytes);
        if (!s) {
            Add(CheckSubject::Windows, Severity::Warning,
                m.path +
                    " does not look like the MSDOS.SYS of Windows 95, 98 or ME: it was not checked, and it "
                    "is never changed here.");
            return std::nullopt;
        }
        if (!s->bootGui) {
            if (kind_ == WindowsKind::WinMe)
                Add(CheckSubject::Windows, Severity::Note,
                    "BootGUI=0 in " + m.path + " changes nothing: Windows ME always starts its desktop.");
            else
                Add(CheckSubject::Windows, Severity::Problem,
                    "Windows starts at the command prompt, without the start-up screen: BootGUI=0 in " +
                        m.path + ".",
                    CheckFix::SwitchBootGuiOn);
        }
        return s;
    }

    bool StartIsBackedUp() const {
        return f_.startBackupEntry && (*f_.startBackupEntry == kNoBackup || f_.startBackupPresent);
    }

    // A logo.sys that Windows cannot show as intended goes aside where the machine's own is safe.
    void BadScreen(CheckSubject s, Severity v, std::string text) {
        if (s != CheckSubject::Start) return Add(s, v, std::move(text));
        if (StartIsBackedUp())
            return Add(s, v, text + " Moving it aside brings back Windows' own.", CheckFix::MoveLogoAside);
        Add(s, v,
            text +
                " It is not moved aside here: the first run kept no backup of the machine's own start-up "
                "screen.");
    }

    void Screen(std::size_t i, const std::optional<MsDosSettings>& settings) {
        const CheckSubject s = kScreenSubjects[i];
        const FileFacts& file = f_.screens[i];
        if (s == CheckSubject::Start && settings) {
            if (!settings->logo)
                Add(s, Severity::Problem,
                    "The start-up screen is switched off: Logo=0 in " + f_.msDosSys.path + ".",
                    CheckFix::SwitchLogoOn);
            const char host = settings->hostWinBootDrive.value_or(0);
            const char windows = DriveLetter(f_.windowsDir);
            if (host && windows && host != windows)
                Add(s, Severity::Warning,
                    std::string("Windows starts from drive ") + host + ": (HostWinBootDrv in " +
                        f_.msDosSys.path + "; with a compressed drive, its host) and reads logo.sys from " +
                        host + ":\\, not " + file.path + " where screens are installed.");
        }
        switch (file.state) {
            case FileFacts::State::Absent:
                if (s == CheckSubject::Start)
                    Add(s, Severity::Fine,
                        "No " + file.path +
                            ": Windows shows the start-up screen built into its own start-up files.");
                else if (s == CheckSubject::Wait)
                    Add(s, Severity::Note,
                        "No " + file.path + ": Windows shows no waiting screen while it shuts down.");
                else
                    Add(s, Severity::Note,
                        "No " + file.path +
                            ": Windows says that the computer may be turned off in text instead.");
                break;
            case FileFacts::State::Unreadable:
                BadScreen(s, Severity::Problem, file.path + " could not be read, so Windows cannot show it.");
                break;
            case FileFacts::State::Read: {
                const DecodeResult r = Decode(file.bytes);
                if (!r.Ok() || r.picture.Empty()) {
                    BadScreen(s, Severity::Problem,
                              file.path +
                                  " is empty or damaged (not a readable bitmap), so Windows cannot show it.");
                } else if (!MeetsScreenRule(r.picture.Width(), r.picture.Height(), r.picture.Format())) {
                    BadScreen(s, Severity::Warning,
                              file.path + " is " + SizeText(r.picture) + " with " +
                                  std::string(PixelFormatName(r.picture.Format())) +
                                  " bits per pixel; a screen must be 320 x 400 with 256 colours (8 bits per "
                                  "pixel), so it is not shown as intended.");
                } else {
                    Add(s, Severity::Fine,
                        file.path + " is a screen of 320 x 400 with 256 colours: Windows shows it.");
                }
                break;
            }
        }
        if (s == CheckSubject::Wait)
            Add(s, Severity::Note, "A fast shut-down may show the waiting screen too briefly to see.");
        if (s == CheckSubject::Shut)
            Add(s, Severity::Note,
                "A computer that switches itself off at the end of a shut-down (ACPI or APM soft-off) never "
                "shows "
                "this screen.");
    }

    void Wallpaper() {
        const CheckSubject s = CheckSubject::Wallpaper;
        if (f_.policyWallpaper && !f_.policyWallpaper->empty())
            Add(s, Severity::Warning,
                "A policy sets the wallpaper to " + *f_.policyWallpaper +
                    " (Policies\\System \"Wallpaper\"): it comes before the desktop's own setting.");
        const bool activeDesktopKind =
            kind_ != WindowsKind::Nt || f_.major == 5;  // 98, ME, 2000 and XP have Active Desktop
        if (activeDesktopKind && f_.activeDesktopWallpaper && !f_.activeDesktopWallpaper->empty() &&
            !SamePath(*f_.activeDesktopWallpaper, f_.wallpaperValue.value_or("")))
            Add(s, Severity::Note,
                "While Active Desktop is on, Windows shows its own wallpaper, " + *f_.activeDesktopWallpaper +
                    ", instead.");

        const std::string value = f_.wallpaperValue.value_or("");
        if (value.empty() || SamePath(value, "(None)")) {
            Add(s, Severity::Note, "No wallpaper is set (\"Wallpaper\" in Control Panel\\desktop is empty).");
            return;
        }
        const FileFacts& file = f_.wallpaperFile;
        if (file.state == FileFacts::State::Absent) {
            Add(s, Severity::Problem,
                "The wallpaper " + value + " is not there: the desktop shows no picture.");
            return;
        }
        if (file.state == FileFacts::State::Unreadable) {
            Add(s, Severity::Problem, "The wallpaper " + value + " could not be read.");
            return;
        }
        const DecodeResult r = Decode(file.bytes);
        if (r.Ok() && !r.picture.Empty()) {
            Add(s, Severity::Fine, "The wallpaper " + value + " is a bitmap of " + SizeText(r.picture) + ".");
        } else if (kind_ == WindowsKind::Nt && (f_.major > 5 || (f_.major == 5 && f_.minor >= 1))) {
            Add(s, Severity::Note,
                "The wallpaper " + value +
                    " is not a bitmap; this Windows reads other pictures for it itself.");
        } else {
            Add(s, Severity::Problem,
                "The wallpaper " + value +
                    " is not a readable bitmap: without Active Desktop this Windows shows "
                    "only bitmaps.");
        }
    }

    const CheckFacts& f_;
    WindowsKind kind_;
    std::vector<Finding> findings_;
};

std::string MsDosCopyPath(const CheckFacts& facts) {
    return Folder(facts.msDosSys.path) + std::string(kMsDosCopyName);
}

std::string_view StartPath(const CheckFacts& facts) {
    return facts.screens[0].path;
}

}  // namespace

WindowsKind KindOf(const CheckFacts& facts) {
    if (facts.nt) return WindowsKind::Nt;
    if (facts.major == 4 && facts.minor >= 90) return WindowsKind::WinMe;
    if (facts.major == 4 && facts.minor >= 10) return WindowsKind::Win98;
    return WindowsKind::Win95;
}

std::string WindowsName(const CheckFacts& facts) {
    switch (KindOf(facts)) {
        case WindowsKind::Win95: return "Windows 95";
        case WindowsKind::Win98: return "Windows 98";
        case WindowsKind::WinMe: return "Windows ME";
        case WindowsKind::Nt: break;
    }
    const int v = facts.major * 100 + facts.minor;
    if (v < 500) return "Windows NT " + std::to_string(facts.major) + "." + std::to_string(facts.minor);
    if (v == 500) return "Windows 2000";
    if (v < 600) return "Windows XP";
    if (v == 600) return "Windows Vista";
    if (v == 601) return "Windows 7";
    return "Windows 8 or later";  // 8.1 and later report 6.2 to a program that does not claim them
}

std::string_view SubjectText(CheckSubject subject) {
    switch (subject) {
        case CheckSubject::Windows: return "Windows";
        case CheckSubject::Start: return Info(ScreenCategory::Start).caption;
        case CheckSubject::Wait: return Info(ScreenCategory::Wait).caption;
        case CheckSubject::Shut: return Info(ScreenCategory::Shut).caption;
        case CheckSubject::Wallpaper: break;
    }
    return Info(ScreenCategory::Wall).caption;
}

std::vector<Finding> CheckScreens(const CheckFacts& facts) {
    return Checker(facts).Run();
}

std::string LogoAsidePath(std::string_view programDir, const std::function<bool(const std::string&)>& taken) {
    std::string folder(programDir);
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    for (int number = 0; number <= kMaxBackupNumber; ++number) {
        std::string path =
            folder + "logo" + (number > 0 ? "." + std::to_string(number) : std::string()) + ".sys";
        if (!taken(path)) return path;
    }
    return {};
}

std::string FixQuestion(CheckFix fix, const CheckFacts& facts, std::string_view asidePath) {
    const std::string& msdos = facts.msDosSys.path;
    switch (fix) {
        case CheckFix::SwitchLogoOn:
        case CheckFix::SwitchBootGuiOn: {
            const std::string key(
                MsDosKeyName(fix == CheckFix::SwitchLogoOn ? MsDosKey::Logo : MsDosKey::BootGui));
            std::string q = fix == CheckFix::SwitchLogoOn ? "Switch the start-up screen on?"
                                                          : "Start Windows instead of the command prompt?";
            q += kBreak;
            q += "In " + msdos + " the line " + key + "=0 becomes " + key +
                 "=1; nothing else in the file changes.";
            q += kBreak;
            q += "A copy of the file is kept first as " + MsDosCopyPath(facts) +
                 ": copying it back undoes this.";
            return q;
        }
        case CheckFix::MoveLogoAside: {
            std::string q = "Move " + std::string(StartPath(facts)) +
                            " aside, so that Windows shows its own start-up screen?";
            q += kBreak;
            q += "It goes to " + std::string(asidePath) + "; moving it back undoes this.";
            return q;
        }
        case CheckFix::None: break;
    }
    return {};
}

std::string FixDone(CheckFix fix, const CheckFacts& facts, std::string_view asidePath) {
    switch (fix) {
        case CheckFix::SwitchLogoOn:
        case CheckFix::SwitchBootGuiOn: {
            const std::string key(
                MsDosKeyName(fix == CheckFix::SwitchLogoOn ? MsDosKey::Logo : MsDosKey::BootGui));
            std::string m = facts.msDosSys.path + " now says " + key + "=1.";
            m += kBreak;
            m += "The file as it was is kept as " + MsDosCopyPath(facts) + ".";
            return m;
        }
        case CheckFix::MoveLogoAside:
            return std::string(StartPath(facts)) + " was moved to " + std::string(asidePath) +
                   ". Windows shows its own start-up screen at the next start.";
        case CheckFix::None: break;
    }
    return {};
}

std::string FixFailed(CheckFix fix, std::string_view path, std::string_view reason) {
    std::string m(path);
    m += fix == CheckFix::MoveLogoAside ? " was not moved:" : " was not changed:";
    m += kBreak;
    m += reason;
    return m;
}

}  // namespace mvpr
