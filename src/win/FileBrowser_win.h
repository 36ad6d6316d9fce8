#ifndef MVPR_WIN_FILEBROWSER_WIN_H
#define MVPR_WIN_FILEBROWSER_WIN_H

#include <string>
#include <vector>

#include "win/FilterText.h"
#include "win/Win32.h"

namespace mvpr {

// What the browser tells its form.
class FileBrowserEvents {
  public:
    virtual void DirectoryChanged() = 0;  // the folder list's folder changed
    virtual void FileListChanged() = 0;   // the file list was filled again or its selection changed
    virtual void FileListDoubleClicked() = 0;
    virtual void FilterChanged() = 0;  // the filter picker's entry changed

  protected:
    ~FileBrowserEvents() = default;
};

struct FileBrowserLayout {
    int driveId, directoryId, fileId, filterId;
    RECT drive, directory, file, filter;
};

// The drive picker, folder list, file list and filter picker, which drive each other: a drive
// opens its current folder in the folder list, the folder list fills the file list, and the
// filter picker sets the file list's mask. The controls are children of the form; the form
// passes their WM_COMMAND and owner-draw messages here.
class FileBrowser {
  public:
    explicit FileBrowser(FileBrowserEvents& events) : events_(events) {}
    void Create(HWND parent, const FileBrowserLayout& layout, HFONT font);

    HWND DriveCombo() const { return drive_; }
    HWND DirectoryList() const { return dirs_; }
    HWND FileList() const { return files_; }
    HWND FilterCombo() const { return filter_; }

    bool HandleCommand(HWND control, WORD code);
    // Opens the folder chosen in the folder list (double click, Enter).
    void OpenChosenFolder();
    bool HandleDrawItem(const DRAWITEMSTRUCT& item);
    bool HandleMeasureItem(MEASUREITEMSTRUCT& item);

    // Moves all four to a folder, as when a path is applied to the file list. False, with
    // nothing changed, when the folder cannot be opened.
    bool ApplyFilePath(const std::string& folder);
    // The folder shown by the file list: a root ends in a backslash, other folders do not.
    const std::string& Directory() const { return directory_; }

    // File list.
    std::size_t FileCount() const;
    std::string FileName(std::size_t index) const;
    bool FileSelected(std::size_t index) const;
    void SetFileSelected(std::size_t index, bool selected);
    std::size_t SelectedFileCount() const;
    // The item with the focus rectangle (the one last clicked or reached by keyboard).
    int FocusedFile() const;
    const std::string& Mask() const { return mask_; }
    void SetMask(const std::string& mask);
    void ReadFileList();

    // Filter picker. Giving it the text it has (without regard to case) changes nothing and
    // returns false; another text rebuilds the entries, selects the first, applies its mask and
    // reports the change.
    bool SetFilter(std::string_view text);
    const std::string& FilterText() const { return filterText_; }
    std::string CurrentFilterDescription() const;
    void SelectFilter(int index);  // as the user picks an entry

    // The refresh command: redraw the drive picker, read the folder list again (reporting a
    // folder change), read the file list again, redraw the filter picker.
    void Refresh();

  private:
    struct DirItem {
        std::string path;
        std::string name;
        int level;
        bool open;  // the current folder or one above it
    };
    void FillDrives();
    void FillFilters();
    void SelectDriveOf(const std::string& folder);
    bool SetDirectory(const std::string& folder);
    void ReadDirectoryList();
    void OnDriveChosen();

    FileBrowserEvents& events_;
    HWND drive_ = nullptr, dirs_ = nullptr, files_ = nullptr, filter_ = nullptr;
    HFONT font_ = nullptr;
    int dirsId_ = 0;  // known before the folder list exists: it asks for its item height while being made
    std::string directory_;
    std::string mask_{kInitialFileMask};
    std::string filterText_{kScreenFilterText};
    std::vector<FilterEntry> filters_;
    std::vector<DirItem> dirItems_;
    std::vector<std::string> driveRoots_;
};

}  // namespace mvpr

#endif
