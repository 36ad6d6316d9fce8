// TFormSelect: screens made from any picture, and files dropped on the window; both reach the
// current list through the adding of chosen files.
#include "app/FormSelect.h"
#include "app/MakeScreenDialog.h"
#include "app/MakeScreenTexts.h"
#include "imaging/DibSection_win.h"
#include "app/LoadPicture_win.h"
#include "win/FolderPath.h"
#include "lists/ScreenEntry.h"
#include "win/Menus.h"
#include "win/MessageBox.h"

namespace mvpr {

namespace {
// The file the command works on: the chosen file with the focus, else the first chosen one.
std::optional<std::size_t> ChosenFile(const FileBrowser& browser) {
    const int focused = browser.FocusedFile();
    if (focused >= 0 && browser.FileSelected(static_cast<std::size_t>(focused)))
        return static_cast<std::size_t>(focused);
    for (std::size_t i = 0; i < browser.FileCount(); ++i)
        if (browser.FileSelected(i)) return i;
    return std::nullopt;
}

// Folder (as the file browser writes folders) and name of a full path.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return {std::string(), path};
    return {NormalizeFolder(path.substr(0, slash + 1)), path.substr(slash + 1)};
}
}  // namespace

void TFormSelect::EnableMakeScreen(HMENU menu) {
    const bool enabled = IsScreenCategory(current_) && ChosenFile(browser_).has_value();
    win::EnableMenuItemById(menu, IDM_MAKESCREEN1, enabled);
    win::EnableMenuItemById(menu, IDM_MAKESCREEN2, enabled);
}

void TFormSelect::MakeScreen1Click() {
    const auto index = ChosenFile(browser_);
    if (!index || !IsScreenCategory(current_)) return;
    const std::string source = JoinPath(browser_.Directory(), browser_.FileName(*index));
    // A screen that animates keeps its cycle: read as the bitmap it is, palette and all.
    if (const auto screen = DecodeBitmapFile(source); screen && screen->Ok() && screen->cycle) {
        DecodeResult read = std::move(*screen);
        if (auto animated = ScreenSource::FromAnimated(std::move(read.picture), *read.cycle)) {
            RunMakeScreen(std::move(*animated), source);
            return;
        }
    }
    // Any picture the wallpaper decoder reads, whatever the current category.
    WinPicture decoded;
    LoadPicture(source, decoded, ScreenCategory::Wall);
    auto pixels = decoded.Empty() ? std::nullopt : ReadBitmapPixels(decoded.Handle());
    decoded.Clear();
    auto prepared = pixels ? ScreenSource::From(std::move(*pixels)) : std::nullopt;
    if (!prepared) {
        win::ShowMessage(hwnd(), win::MsgKind::Error, PictureErrorMessage(source), win::MsgButtons::Ok);
        return;
    }
    RunMakeScreen(std::move(*prepared), source);
}

void TFormSelect::RunMakeScreen(ScreenSource prepared, const std::string& source) {
    TMakeScreenDialog dialog(std::move(prepared), source);
    const auto saved = dialog.ShowModal(hwnd());
    if (!saved) return;
    const auto [folder, name] = SplitPath(*saved);
    // Saved beside its picture (the usual case), the new screen shows in the file list at once.
    if (lstrcmpiA(folder.c_str(), browser_.Directory().c_str()) == 0) browser_.ReadFileList();
    if (!AddFile(folder, name)) return;
    // The new screen becomes the selection, so the preview shows it where it follows the list.
    CategoryList& list = CurrentList();
    const std::string path = JoinPath(folder, name);
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].FullPath() != path) continue;
        list.SetAllSelected(false);
        list.SetSelected(i, true);
        list.SetFocused(i);
        break;
    }
    CategoryListView& view = ViewOf(current_);
    view.Sync();
    if (const auto focused = list.Focused()) SendMessageA(view.hwnd(), LVM_ENSUREVISIBLE, *focused, FALSE);
    LstVSelectedChange(view.hwnd());
}

void TFormSelect::FormDropFiles(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        path.resize(DragQueryFileA(drop, i, path.data(), length + 1));
        if (!path.empty()) paths.push_back(std::move(path));
    }
    DragFinish(drop);
    bool added = false;
    std::string folderDropped;
    for (const std::string& path : paths) {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (folderDropped.empty()) folderDropped = path;
            continue;
        }
        const auto [folder, name] = SplitPath(path);
        if (!name.empty() && AddFile(folder, name)) added = true;
    }
    if (added) {
        ViewOf(current_).Sync();
        CountRefresh();
    }
    if (!folderDropped.empty()) browser_.ApplyFilePath(folderDropped);
}

}  // namespace mvpr
