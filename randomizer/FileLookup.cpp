#include "FileLookup.h"

#include "win/AsciiCase.h"
#include "win/FolderPath.h"
#include "lists/ScreenEntry.h"

namespace mvpr {

namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperAscii(c);
    return out;
}

// A name the file system might read otherwise than as itself: wildcards, a path inside it,
// trailing dots or blanks (which the system drops), "." and "..". Such names are asked for.
bool PlainName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') return false;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
            c == '>' || c == '|')
            return false;
    }
    return true;
}

bool Ascii(std::string_view name) {
    for (char c : name)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

bool FileLookup::RootMissing(const std::string& folderPath) {
    const char drive = DriveLetter(folderPath);
    if (drive == 0 || RootLength(folderPath) != 3) return false;  // shares and the like: by folder
    auto [it, added] = drivesThere_.try_emplace(UpperAscii(drive), true);
    if (added) it->second = probe_.DriveThere(folderPath.substr(0, 3));
    return !it->second;
}

bool FileLookup::IsFile(std::string_view folder, std::string_view name) {
    const std::string path = JoinPath(folder, name);
    if (!PlainName(name)) return AskFor(path);
    const std::string folderPath = path.substr(0, path.size() - name.size());  // ends in a backslash
    Folder& f = folders_[Upper(folderPath)];
    using State = Folder::State;
    switch (f.state) {
        case State::Missing: return false;
        case State::Listed:
            if (f.names.count(Upper(name)) > 0) return true;
            // Letters beyond ASCII may match in another case: the system decides those.
            return Ascii(name) ? false : AskFor(path);
        case State::Unlisted: return AskFor(path);
        case State::Unknown: break;
    }
    if (RootMissing(folderPath)) {
        f.state = State::Missing;  // a drive that is not there (unplugged, no disc): all at once
        return false;
    }
    if (f.queried < kQueriesBeforeListing) {
        ++f.queried;
        if (AskFor(path)) return true;
        // Not there: perhaps the whole folder is gone, which settles all its entries.
        // A root (a drive is checked above; a share's root some systems do not answer for) is
        // taken as there.
        if (!f.folderThere && folderPath.size() > RootLength(folderPath)) {
            std::string bare = folderPath;
            bare.pop_back();  // "C:\PICS", as every system takes it
            if (probe_.Query(bare) != FileSystemProbe::Kind::Folder) {
                f.state = State::Missing;
                return false;
            }
            f.folderThere = true;
        }
        return false;
    }
    // More than a few of this folder's entries: one listing answers for all of them.
    auto names = probe_.ListFiles(folderPath);
    if (!names) {
        f.state = State::Unlisted;
        return AskFor(path);
    }
    f.state = State::Listed;
    f.names.reserve(names->size());
    for (const std::string& n : *names) f.names.insert(Upper(n));
    return IsFile(folder, name);
}

}  // namespace mvpr
