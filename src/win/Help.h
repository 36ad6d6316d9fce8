#ifndef MVPR_WIN_HELP_H
#define MVPR_WIN_HELP_H

#include <functional>
#include <string>

#include "win/Win32.h"

namespace mvpr::win {

// The help: WinHelp shows mvpr.hlp where the system still has a WinHelp engine (Windows before
// Vista) and the file is there; elsewhere the HTML help beside it opens in the default viewer.
enum class HelpAction { WinHelpFinder, WinHelpQuit, OpenDocument };

// Opens the help's contents; false (after a message) when no help file could be shown.
bool ShowHelpContents(HWND owner, const std::string& hlpPath);
// Tells the help engine the program no longer needs the help file.
void QuitHelp(HWND owner, const std::string& hlpPath);
// The HTML help that stands in for mvpr.hlp: the same name with ".htm".
std::string HtmlHelpPath(const std::string& hlpPath);

// Tests see the help requests instead of the real engines (WinHelp would block on a missing file).
using HelpSeam = std::function<void(HelpAction, const std::string& path)>;
HelpSeam SetHelpSeam(HelpSeam seam);  // returns the seam it replaces

}  // namespace mvpr::win

#endif
