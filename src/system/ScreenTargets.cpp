#include "system/ScreenTargets.h"

#include "win/Texts.h"

namespace mvpr {

namespace {
constexpr std::string_view kBreak = win::kLineBreak;
constexpr std::string_view kCancelQuestion = "Do you want to cancel copying?";

std::string WithBackslash(std::string_view folder) {
    std::string s(folder);
    if (s.empty() || s.back() != '\\') s += '\\';
    return s;
}

// "C:\" of "C:\WINDOWS\"; a network path keeps its share: "\\SERVER\SHARE\".
std::string DriveRoot(const std::string& windowsDir) {
    if (windowsDir.rfind("\\\\", 0) == 0) {
        const auto share = windowsDir.find('\\', 2);
        const auto end = share == std::string::npos ? share : windowsDir.find('\\', share + 1);
        if (end != std::string::npos) return windowsDir.substr(0, end + 1);
    }
    return windowsDir.substr(0, 3);
}
}  // namespace

std::string_view ScreenFileName(ScreenCategory category) {
    switch (category) {
        case ScreenCategory::Start: return "logo.sys";
        case ScreenCategory::Wait: return "logow.sys";
        case ScreenCategory::Shut: return "logos.sys";
        case ScreenCategory::Wall: break;
    }
    return {};
}

std::string ScreenTargetPath(ScreenCategory category, std::string_view windowsDir) {
    const std::string_view name = ScreenFileName(category);
    if (name.empty()) return {};
    const std::string dir = WithBackslash(windowsDir);
    return (category == ScreenCategory::Start ? DriveRoot(dir) : dir) + std::string(name);
}

std::string BackupPath(ScreenCategory category, std::string_view programDir, int number) {
    std::string_view name = ScreenFileName(category);
    if (name.empty()) return {};
    name.remove_suffix(4);  // ".sys"
    std::string path = WithBackslash(programDir) + std::string(name);
    if (number > 0) path += "." + std::to_string(number);
    return path + ".bck";
}

std::string FreeBackupPath(ScreenCategory category, std::string_view programDir,
                           const std::function<std::optional<bool>(const std::string& path)>& taken) {
    for (int number = 0; number <= kMaxBackupNumber; ++number) {
        std::string path = BackupPath(category, programDir, number);
        const std::optional<bool> isTaken = taken(path);
        if (!isTaken) break;
        if (!*isTaken) return path;
    }
    return {};
}

std::string InstallSizeQuestion(int width, int height) {
    std::string m = "This screen has an invallid size";
    m += kBreak;
    m += "Size is : " + std::to_string(width) + " x " + std::to_string(height) + ",";
    m += kBreak;
    m += "Size must be 320 x 400.";
    m += kBreak;
    m += kCancelQuestion;
    return m;
}

std::string InstallDepthQuestion(PixelFormat format) {
    std::string m = "This screens has a incorrect bitmap color depth!";
    m += kBreak;
    m += "Color depth : ";
    m += PixelFormatName(format);
    m += " bits per pixel. This should be 8 bpp.";
    m += kBreak;
    m += kCancelQuestion;
    return m;
}

std::string NotABitmapMessage(std::string_view path) {
    std::string m(path);
    m += kBreak;
    m += "could not be read as a bitmap. Nothing was copied.";
    return m;
}

std::string CopyFailedMessage(std::string_view target, std::string_view systemMessage) {
    std::string m = "The screen could not be copied to ";
    m += target;
    m += kBreak;
    m += systemMessage;
    return m;
}

namespace {
std::string ProblemLines(std::string text, const std::vector<ScreenProblem>& problems) {
    for (const auto& p : problems) {
        text += kBreak;
        text += p.file + ": " + p.reason;
    }
    return text;
}
}  // namespace

std::string NotBackedUpMessage(const std::vector<ScreenProblem>& problems) {
    return ProblemLines(
        "These screens of the machine could not be backed up. They stay as they are until a backup "
        "can be made; the next start tries again.",
        problems);
}

std::string InstallNotBackedUpMessage(const ScreenProblem& problem) {
    std::string m =
        "The machine's own screen " + problem.file + " could not be backed up, so nothing was copied:";
    m += kBreak;
    m += problem.reason;
    return m;
}

std::string NotRestoredMessage(const std::vector<ScreenProblem>& problems) {
    return ProblemLines("These original screens could not be set back:", problems);
}

}  // namespace mvpr
