#ifndef MVPR_RANDOMIZER_FILELOOKUP_H
#define MVPR_RANDOMIZER_FILELOOKUP_H

// Whether an entry's file is there, asked of the file system as cheaply as it can answer: a
// folder with more than a few entries to examine is listed once and its names looked up in
// memory, and a missing folder or drive rules out all its entries at once. Portable: the file
// system is handed in, so that tests can count what is asked.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace mvpr {

class FileSystemProbe {
  public:
    enum class Kind { Missing, File, Folder };
    virtual ~FileSystemProbe() = default;
    // One attribute query of a path.
    virtual Kind Query(const std::string& path) = 0;
    // Whether a drive ("C:\\") is there and ready, without asking for a disk.
    virtual bool DriveThere(const std::string& root) = 0;
    // The names of the files (not folders) in a folder, long and short (8.3) forms alike; nothing
    // when it cannot be listed.
    virtual std::optional<std::vector<std::string>> ListFiles(const std::string& folder) = 0;
};

class FileLookup {
  public:
    // Entries of a folder examined one by one before the folder is listed.
    static constexpr int kQueriesBeforeListing = 3;

    explicit FileLookup(FileSystemProbe& probe) : probe_(probe) {}

    // True when folder + name (joined as a path) is a file, as one attribute query would say.
    bool IsFile(std::string_view folder, std::string_view name);

  private:
    struct Folder {
        enum class State { Unknown, Missing, Listed, Unlisted } state = State::Unknown;
        int queried = 0;
        bool folderThere = false;
        std::unordered_set<std::string> names;  // upper-cased
    };
    bool AskFor(const std::string& path) { return probe_.Query(path) == FileSystemProbe::Kind::File; }
    bool RootMissing(const std::string& folderPath);

    FileSystemProbe& probe_;
    std::unordered_map<std::string, Folder> folders_;  // by upper-cased folder path
    std::unordered_map<char, bool> drivesThere_;       // by upper-case drive letter
};

}  // namespace mvpr

#endif
