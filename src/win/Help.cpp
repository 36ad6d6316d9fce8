#include "win/Help.h"

#include <shellapi.h>

#include <utility>

#include "win/MessageBox.h"

namespace mvpr::win {

namespace {
HelpSeam& Seam() {
    static HelpSeam seam;
    return seam;
}

bool Exists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool SystemHasWinHelp() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&v)) return true;
#pragma GCC diagnostic pop
    return v.dwMajorVersion < 6;
}

bool UseWinHelp(const std::string& hlpPath) {
    return Exists(hlpPath) && SystemHasWinHelp();
}
}  // namespace

std::string HtmlHelpPath(const std::string& hlpPath) {
    const auto dot = hlpPath.find_last_of('.');
    const auto slash = hlpPath.find_last_of("\\/:");
    const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExt ? hlpPath.substr(0, dot) : hlpPath) + ".htm";
}

bool ShowHelpContents(HWND owner, const std::string& hlpPath) {
    if (UseWinHelp(hlpPath)) {
        if (Seam()) {
            Seam()(HelpAction::WinHelpFinder, hlpPath);
            return true;
        }
        return WinHelpA(owner, hlpPath.c_str(), HELP_FINDER, 0) != FALSE;
    }
    const std::string html = HtmlHelpPath(hlpPath);
    if (!Exists(html)) {
        ShowMessage(owner, MsgKind::Error, "The help file " + html + " cannot be found.", MsgButtons::Ok);
        return false;
    }
    if (Seam()) {
        Seam()(HelpAction::OpenDocument, html);
        return true;
    }
    const auto rc = reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner, "open", html.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (rc <= 32) {
        // Without a browser the user can still open the file by hand, once told which and why.
        const bool noViewer = rc == SE_ERR_NOASSOC || rc == SE_ERR_ASSOCINCOMPLETE;
        ShowMessage(owner, MsgKind::Error,
                    noViewer ? "The help cannot be shown: no program is registered for HTML files.\n\r"
                               "Open " +
                                   html + " in a web browser."
                             : "The help file " + html + " cannot be opened.",
                    MsgButtons::Ok);
        return false;
    }
    return true;
}

void QuitHelp(HWND owner, const std::string& hlpPath) {
    if (!UseWinHelp(hlpPath)) return;  // the HTML viewer is a program of its own
    if (Seam()) {
        Seam()(HelpAction::WinHelpQuit, hlpPath);
        return;
    }
    WinHelpA(owner, hlpPath.c_str(), HELP_QUIT, 0);
}

HelpSeam SetHelpSeam(HelpSeam seam) {
    return std::exchange(Seam(), std::move(seam));
}

}  // namespace mvpr::win
