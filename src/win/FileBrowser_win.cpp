#include "win/FileBrowser_win.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "win/AsciiCase.h"
#include "win/FolderPath.h"
#include "win/Busy.h"
#include "win/Fonts.h"
#include "win/Handles.h"
#include "win/MessageBox.h"

namespace mvpr {

namespace {
constexpr int kIndent = 8;
constexpr int kGlyph = 16;

using win::QuietErrors;

bool IsFolder(const std::string& path) {
    QuietErrors quiet;
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool LessIgnoreCase(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

// The names in a folder that the ANSI code page cannot spell. The ANSI functions show them with
// look-alike letters or '?', and that name is another file or none: they are left out. Found
// through the wide functions where they work; on Windows 9x, whose names are all ANSI, they
// are stubs and nothing is found.
std::vector<std::string> UnspellableNames(const std::string& folder) {
    using FindFirstW = HANDLE(WINAPI*)(LPCWSTR, WIN32_FIND_DATAW*);
    using FindNextW = BOOL(WINAPI*)(HANDLE, WIN32_FIND_DATAW*);
    std::vector<std::string> names;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto first =
        reinterpret_cast<FindFirstW>(reinterpret_cast<void*>(GetProcAddress(kernel, "FindFirstFileW")));
    const auto next =
        reinterpret_cast<FindNextW>(reinterpret_cast<void*>(GetProcAddress(kernel, "FindNextFileW")));
    if (!first || !next) return names;
    const std::string pattern = WithTrailingBackslash(folder) + "*";
    std::wstring wide(pattern.size() + 1, L'\0');
    const int n =
        MultiByteToWideChar(CP_ACP, 0, pattern.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    if (n <= 0) return names;
    WIN32_FIND_DATAW fd;
    HANDLE h = first(wide.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    win::UniqueFind find(h);
    do {
        char ansi[MAX_PATH * 2] = {};
        wchar_t back[MAX_PATH] = {};
        const int a = WideCharToMultiByte(CP_ACP, 0, fd.cFileName, -1, ansi, sizeof ansi, nullptr, nullptr);
        const int w = a > 0 ? MultiByteToWideChar(CP_ACP, 0, ansi, -1, back, MAX_PATH) : 0;
        if (a > 0 && (w <= 0 || std::wcscmp(back, fd.cFileName) != 0)) names.emplace_back(ansi);
    } while (next(h, &fd));
    return names;
}

// Names in a folder: folders or files (never "." and ".."), only those the program can name.
std::vector<std::string> ReadNames(const std::string& folder, bool folders) {
    std::vector<std::string> names;
    QuietErrors quiet;
    const std::vector<std::string> unspellable = UnspellableNames(folder);
    WIN32_FIND_DATAA fd;
    const std::string pattern = WithTrailingBackslash(folder) + "*";
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    win::UniqueFind find(h);
    do {
        const bool isDir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDir != folders) continue;
        if (isDir && (!lstrcmpA(fd.cFileName, ".") || !lstrcmpA(fd.cFileName, "..") ||
                      (fd.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))))
            continue;
        if (std::strchr(fd.cFileName, '?') ||
            std::find(unspellable.begin(), unspellable.end(), fd.cFileName) != unspellable.end())
            continue;
        names.emplace_back(fd.cFileName);
    } while (FindNextFileA(h, &fd));
    std::sort(names.begin(), names.end(), LessIgnoreCase);
    return names;
}

std::string LowerDrive(std::string text) {
    if (text.size() >= 2 && text[1] == ':') text[0] = LowerAscii(text[0]);
    return text;
}

// A small folder picture; open folders show their lid lifted.
void DrawFolderGlyph(HDC dc, int x, int y, bool open, bool selected) {
    const COLORREF edge = RGB(128, 96, 0);
    const COLORREF fill = selected ? RGB(255, 236, 150) : RGB(255, 214, 90);
    win::UniqueBrush brush(CreateSolidBrush(fill));
    win::Unique<HPEN, &win::CloseGdi> pen(CreatePen(PS_SOLID, 1, edge));
    win::Selected sb(dc, brush.get()), sp(dc, pen.get());
    const POINT tab[] = {{x + 1, y + 4}, {x + 2, y + 2}, {x + 6, y + 2}, {x + 7, y + 4}};
    Polyline(dc, tab, 4);
    Rectangle(dc, x + 1, y + 4, x + 14, y + 13);
    if (open) {
        win::UniqueBrush lid(CreateSolidBrush(RGB(255, 240, 180)));
        win::Selected sl(dc, lid.get());
        const POINT flap[] = {{x + 3, y + 7}, {x + 15, y + 7}, {x + 13, y + 13}, {x + 1, y + 13}};
        Polygon(dc, flap, 4);
    }
}
}  // namespace

void FileBrowser::Create(HWND parent, const FileBrowserLayout& l, HFONT font) {
    HINSTANCE inst = GetModuleHandleA(nullptr);
    dirsId_ = l.directoryId;
    font_ = font;
    auto make = [&](const char* cls, DWORD style, DWORD ex, const RECT& r, int id, int height) {
        HWND h = CreateWindowExA(ex, cls, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, r.left, r.top,
                                 r.right - r.left, height > 0 ? height : r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, nullptr);
        SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return h;
    };
    // Combo boxes get their dropped-down height; the edit part keeps the font's height.
    drive_ = make("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0, l.drive, l.driveId, 200);
    dirs_ =
        make("LISTBOX", LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL,
             WS_EX_CLIENTEDGE, l.directory, l.directoryId, 0);
    files_ =
        make("LISTBOX",
             LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL,
             WS_EX_CLIENTEDGE, l.file, l.fileId, 0);
    filter_ = make("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0, l.filter, l.filterId, 160);
    FillDrives();
    FillFilters();
    SendMessageA(filter_, CB_SETCURSEL, 0, 0);
    // Until a folder is applied the browser shows the process's current folder.
    char current[MAX_PATH] = {};
    const DWORD n = GetCurrentDirectoryA(sizeof current, current);
    if (n > 0 && n < sizeof current) SetDirectory(current);
}

void FileBrowser::FillDrives() {
    QuietErrors quiet;
    SendMessageA(drive_, CB_RESETCONTENT, 0, 0);
    driveRoots_.clear();
    const DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i))) continue;
        const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        std::string text = std::string(1, static_cast<char>('a' + i)) + ":";
        const UINT type = GetDriveTypeA(root.c_str());
        // Only fixed disks are asked for their label: asking a floppy drive means spinning it up.
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
            char label[MAX_PATH] = {};
            if (GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr,
                                      0) &&
                label[0])
                text += std::string(" [") + label + "]";
        }
        driveRoots_.push_back(root);
        SendMessageA(drive_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void FileBrowser::SelectDriveOf(const std::string& folder) {
    const char letter = DriveLetter(folder);
    for (std::size_t i = 0; i < driveRoots_.size(); ++i)
        if (driveRoots_[i][0] == letter) {
            SendMessageA(drive_, CB_SETCURSEL, i, 0);
            return;
        }
    SendMessageA(drive_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

bool FileBrowser::ApplyFilePath(const std::string& folder) {
    return SetDirectory(folder);
}

bool FileBrowser::SetDirectory(const std::string& folder) {
    if (folder.empty()) return false;
    char full[MAX_PATH * 4] = {};
    const DWORD n = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full) return false;
    std::string normal = NormalizeFolder(full);
    if (!IsFolder(normal)) return false;
    if (normal.size() >= 2 && normal[1] == ':') normal[0] = UpperAscii(normal[0]);
    directory_ = normal;
    ReadDirectoryList();
    SelectDriveOf(directory_);
    ReadFileList();
    events_.DirectoryChanged();
    return true;
}

void FileBrowser::ReadDirectoryList() {
    dirItems_.clear();
    const auto chain = FolderChain(directory_);
    int level = 0;
    for (const auto& p : chain)
        dirItems_.push_back({p, level == 0 ? LowerDrive(p) : FolderName(p), level++, true});
    for (const auto& name : ReadNames(directory_, true))
        dirItems_.push_back({WithTrailingBackslash(directory_) + name, name, level, false});
    SendMessageA(dirs_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(dirs_, LB_RESETCONTENT, 0, 0);
    for (const auto& item : dirItems_)
        SendMessageA(dirs_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.name.c_str()));
    SendMessageA(dirs_, LB_SETCURSEL, chain.empty() ? 0 : chain.size() - 1, 0);
    SendMessageA(dirs_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(dirs_, nullptr, TRUE);
}

void FileBrowser::ReadFileList() {
    std::vector<std::string> names;
    if (!directory_.empty())
        for (auto& name : ReadNames(directory_, false))
            if (MatchesMask(name, mask_)) names.push_back(std::move(name));
    SendMessageA(files_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(files_, LB_RESETCONTENT, 0, 0);
    SendMessageA(files_, LB_INITSTORAGE, names.size(), names.size() * 16);
    int widest = 0;
    {
        win::WindowDc dc(files_);
        win::Selected keep(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
        for (const auto& name : names) {
            SendMessageA(files_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            SIZE size{};
            GetTextExtentPoint32A(dc.get(), name.c_str(), static_cast<int>(name.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
    }
    // A name wider than the list scrolls it sideways instead of being cut.
    SendMessageA(files_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 6), 0);
    SendMessageA(files_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(files_, nullptr, TRUE);
    events_.FileListChanged();
}

void FileBrowser::SetMask(const std::string& mask) {
    mask_ = mask;
    ReadFileList();
}

std::size_t FileBrowser::FileCount() const {
    const LRESULT n = SendMessageA(files_, LB_GETCOUNT, 0, 0);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::string FileBrowser::FileName(std::size_t index) const {
    const LRESULT len = SendMessageA(files_, LB_GETTEXTLEN, index, 0);
    if (len < 0) return {};
    std::string s(static_cast<std::size_t>(len) + 1, '\0');
    SendMessageA(files_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(len));
    return s;
}

bool FileBrowser::FileSelected(std::size_t index) const {
    return SendMessageA(files_, LB_GETSEL, index, 0) > 0;
}

void FileBrowser::SetFileSelected(std::size_t index, bool selected) {
    SendMessageA(files_, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
}

std::size_t FileBrowser::SelectedFileCount() const {
    const LRESULT n = SendMessageA(files_, LB_GETSELCOUNT, 0, 0);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

int FileBrowser::FocusedFile() const {
    if (FileCount() == 0) return -1;
    return static_cast<int>(SendMessageA(files_, LB_GETCARETINDEX, 0, 0));
}

bool FileBrowser::SetFilter(std::string_view text) {
    if (EqualsIgnoreCase(text, filterText_)) return false;
    filterText_ = std::string(text);
    FillFilters();
    SelectFilter(0);
    return true;
}

void FileBrowser::FillFilters() {
    filters_ = ParseFilterText(filterText_);
    SendMessageA(filter_, CB_RESETCONTENT, 0, 0);
    // The picker is narrower than its texts: the list that drops down is as wide as the longest.
    win::WindowDc dc(filter_);
    win::Selected f(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    int widest = 0;
    for (const auto& entry : filters_) {
        SendMessageA(filter_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.description.c_str()));
        SIZE size{};
        GetTextExtentPoint32A(dc.get(), entry.description.c_str(), static_cast<int>(entry.description.size()),
                              &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    // Room for the list's frame and the item's inner margins on both sides.
    const int margins = 2 * GetSystemMetrics(SM_CXEDGE) + win::Scaled(8);
    SendMessageA(filter_, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + margins), 0);
}

void FileBrowser::SelectFilter(int index) {
    if (index < 0 || index >= static_cast<int>(filters_.size())) return;
    SendMessageA(filter_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SetMask(filters_[static_cast<std::size_t>(index)].mask);
    events_.FilterChanged();
}

std::string FileBrowser::CurrentFilterDescription() const {
    const LRESULT i = SendMessageA(filter_, CB_GETCURSEL, 0, 0);
    if (i < 0 || static_cast<std::size_t>(i) >= filters_.size()) return {};
    return filters_[static_cast<std::size_t>(i)].description;
}

void FileBrowser::Refresh() {
    InvalidateRect(drive_, nullptr, TRUE);
    ReadDirectoryList();
    events_.DirectoryChanged();
    ReadFileList();
    InvalidateRect(filter_, nullptr, TRUE);
}

void FileBrowser::OnDriveChosen() {
    const LRESULT i = SendMessageA(drive_, CB_GETCURSEL, 0, 0);
    if (i < 0 || static_cast<std::size_t>(i) >= driveRoots_.size()) return;
    const std::string root = driveRoots_[static_cast<std::size_t>(i)];
    if (DriveLetter(root) == DriveLetter(directory_)) return;
    // The drive's own current folder first, as the system remembers one per drive.
    char full[MAX_PATH] = {};
    const std::string drive = root.substr(0, 2);
    const DWORD n = GetFullPathNameA(drive.c_str(), sizeof full, full, nullptr);
    if (n > 0 && n < sizeof full && SetDirectory(full)) return;
    if (SetDirectory(root)) return;
    win::ShowMessage(GetParent(drive_), win::MsgKind::Error, "Drive " + drive + " is not ready.",
                     win::MsgButtons::Ok);
    SelectDriveOf(directory_);
}

bool FileBrowser::HandleCommand(HWND control, WORD code) {
    if (control == drive_) {
        if (code == CBN_SELCHANGE) OnDriveChosen();
        return true;
    }
    if (control == dirs_) {
        if (code == LBN_DBLCLK) OpenChosenFolder();
        return true;
    }
    if (control == files_) {
        if (code == LBN_SELCHANGE) events_.FileListChanged();
        if (code == LBN_DBLCLK) events_.FileListDoubleClicked();
        return true;
    }
    if (control == filter_) {
        if (code == CBN_SELCHANGE) SelectFilter(static_cast<int>(SendMessageA(filter_, CB_GETCURSEL, 0, 0)));
        return true;
    }
    return false;
}

void FileBrowser::OpenChosenFolder() {
    const LRESULT i = SendMessageA(dirs_, LB_GETCURSEL, 0, 0);
    if (i < 0 || static_cast<std::size_t>(i) >= dirItems_.size()) return;
    const std::string target = dirItems_[static_cast<std::size_t>(i)].path;
    if (!SetDirectory(target)) ReadDirectoryList();  // gone meanwhile: show what is there
}

bool FileBrowser::HandleMeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_LISTBOX || static_cast<int>(item.CtlID) != dirsId_) return false;
    // The glyph's height, or the text's where that is more (large fonts).
    item.itemHeight = static_cast<UINT>(std::max(win::Scaled(kGlyph), win::LineHeight(font_) + 2));
    return true;
}

bool FileBrowser::HandleDrawItem(const DRAWITEMSTRUCT& d) {
    if (d.hwndItem != dirs_) return false;
    HDC dc = d.hDC;
    RECT r = d.rcItem;
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (d.itemID < dirItems_.size()) {
        const DirItem& item = dirItems_[d.itemID];
        const int x = r.left + 2 + item.level * win::Scaled(kIndent);
        DrawFolderGlyph(dc, x, r.top + (r.bottom - r.top - kGlyph) / 2 + 1, item.open, selected);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT text{x + kGlyph + 2, r.top, r.right, r.bottom};
        DrawTextA(dc, item.name.c_str(), static_cast<int>(item.name.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (d.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return true;
}

}  // namespace mvpr
