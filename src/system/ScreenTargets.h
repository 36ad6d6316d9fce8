#ifndef MVPR_SYSTEM_SCREENTARGETS_H
#define MVPR_SYSTEM_SCREENTARGETS_H

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/PixelFormat.h"
#include "lists/ScreenCategory.h"

namespace mvpr {

// The backup record's marker for a screen the machine did not have.
inline constexpr std::string_view kNoBackup = "(none)";
// Numbered backup names are tried up to this number.
inline constexpr int kMaxBackupNumber = 999;

// "logo.sys", "logow.sys", "logos.sys"; empty for the wallpaper.
std::string_view ScreenFileName(ScreenCategory category);

// The system's screen file of a category: logo.sys in the root of the Windows drive, logow.sys and
// logos.sys in the Windows directory (given with or without its trailing backslash). Empty for the
// wallpaper.
std::string ScreenTargetPath(ScreenCategory category, std::string_view windowsDir);

// The backup of a screen in the program folder: "logow.bck", or "logow.<number>.bck" for number > 0.
std::string BackupPath(ScreenCategory category, std::string_view programDir, int number = 0);

// The first backup path that is not taken ("logow.bck", "logow.1.bck", "logow.2.bck", ...); empty
// when every name up to kMaxBackupNumber is taken, or as soon as `taken` cannot tell (nothing).
std::string FreeBackupPath(ScreenCategory category, std::string_view programDir,
                           const std::function<std::optional<bool>(const std::string& path)>& taken);

// The questions asked before a screen that breaks the screen rule is installed; lines break with LF CR.
std::string InstallSizeQuestion(int width, int height);
std::string InstallDepthQuestion(PixelFormat format);
// The refusals of a file that is no bitmap and of a copy that failed.
std::string NotABitmapMessage(std::string_view path);
std::string CopyFailedMessage(std::string_view target, std::string_view systemMessage);

// Something the backup or the restore could not do: a file and the system's reason.
struct ScreenProblem {
    std::string file;
    std::string reason;
};
// The start's report of screens it could not back up, one line each.
std::string NotBackedUpMessage(const std::vector<ScreenProblem>& problems);
// The refusal to install over a screen whose original could not be backed up first.
std::string InstallNotBackedUpMessage(const ScreenProblem& problem);
// The restore's report of screens it could not set back, one line each.
std::string NotRestoredMessage(const std::vector<ScreenProblem>& problems);

}  // namespace mvpr

#endif
