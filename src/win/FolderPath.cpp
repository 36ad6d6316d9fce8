#include "win/FolderPath.h"

#include "win/AsciiCase.h"
namespace mvpr {

namespace {
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
}  // namespace

std::size_t RootLength(std::string_view p) {
    if (p.size() >= 2 && IsLetter(p[0]) && p[1] == ':') return (p.size() >= 3 && p[2] == '\\') ? 3 : 2;
    if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\') {
        const std::size_t server = p.find('\\', 2);
        if (server == std::string_view::npos) return p.size();
        const std::size_t share = p.find('\\', server + 1);
        return share == std::string_view::npos ? p.size() : share + 1;
    }
    return (!p.empty() && p[0] == '\\') ? 1 : 0;
}

std::string NormalizeFolder(std::string_view folder) {
    std::string out(folder);
    for (char& c : out)
        if (c == '/') c = '\\';
    const std::size_t root = RootLength(out);
    while (out.size() > root && out.back() == '\\') out.pop_back();
    // "C:" alone means the drive's root here.
    if (out.size() == 2 && out[1] == ':' && IsLetter(out[0])) out += '\\';
    return out;
}

std::vector<std::string> FolderChain(std::string_view folder) {
    const std::string f = NormalizeFolder(folder);
    std::vector<std::string> chain;
    const std::size_t root = RootLength(f);
    if (root > 0) chain.push_back(f.substr(0, root));
    std::size_t pos = root;
    while (pos < f.size()) {
        std::size_t next = f.find('\\', pos);
        if (next == std::string::npos) next = f.size();
        if (next > pos) chain.push_back(f.substr(0, next));
        pos = next + 1;
    }
    return chain;
}

std::string FolderName(std::string_view folder) {
    const std::string f = NormalizeFolder(folder);
    const std::size_t root = RootLength(f);
    if (f.size() <= root) return f;
    const std::size_t slash = f.rfind('\\');
    return (slash == std::string::npos || slash < root - (root ? 1 : 0)) ? f.substr(root)
                                                                         : f.substr(slash + 1);
}

char DriveLetter(std::string_view folder) {
    if (folder.size() >= 2 && IsLetter(folder[0]) && folder[1] == ':')
        return UpperAscii(folder[0]);
    return 0;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '\\') path += '\\';
    path += name;
    return path;
}

std::string WithTrailingBackslash(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && out.back() != '\\') out += '\\';
    return out;
}

}  // namespace mvpr
