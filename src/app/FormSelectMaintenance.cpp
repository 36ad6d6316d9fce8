// TFormSelect: removing, selecting, locating and purging entries of the lists.
#include "app/FormSelect.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "lists/ListTexts.h"
#include "win/Busy.h"
#include "win/Files.h"
#include "win/MessageBox.h"

namespace mvpr {

namespace {
// The hourglass while the purge blocks the window; no "insert a disk" boxes meanwhile, one per
// entry on a drive without its disk.
struct BusyScope {
    win::WaitCursor cursor;
    win::QuietErrors quiet;
};

// Testing some hundred thousand files takes seconds. Now and then the windows repaint and the
// thread answers messages sent to it, so it never looks hung; no input is taken meanwhile, and
// the window puts off commands sent to it until the purge is over.
class PaintBreaks {
  public:
    void Tick() {
        if (++count_ % kCheckEvery != 0) return;
        const DWORD now = GetTickCount();
        if (now - last_ < kIntervalMs) return;
        last_ = now;
        MSG msg;
        for (int i = 0; i < kMaxPaints && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i)
            DispatchMessageA(&msg);
    }

  private:
    static constexpr unsigned kCheckEvery = 64;
    static constexpr DWORD kIntervalMs = 50;
    static constexpr int kMaxPaints = 64;  // a window that never validates must not hold us
    unsigned count_ = 0;
    DWORD last_ = GetTickCount();
};
}  // namespace

void TFormSelect::btnRemoveClick() {
    if (CurrentList().RemoveSelected() == 0) return;
    listsModified_ = true;
    CategoryListView& view = ViewOf(current_);
    view.Sync();
    LstVSelectedChange(view.hwnd());
}

void TFormSelect::btnAllSelectClick() {
    CategoryList& list = CurrentList();
    if (list.empty() || list.AllSelected()) return;  // no entry changes, nothing to tell
    list.SetAllSelected(true);
    CategoryListView& view = ViewOf(current_);
    view.Sync();
    LstVSelectedChange(view.hwnd());
}

void TFormSelect::btnInvSelectClick() {
    CategoryList& list = CurrentList();
    if (list.empty()) return;
    list.InvertSelection();
    CategoryListView& view = ViewOf(current_);
    view.Sync();
    LstVSelectedChange(view.hwnd());
}

void TFormSelect::btnAllFilesClick() {
    for (std::size_t i = 0; i < browser_.FileCount(); ++i) browser_.SetFileSelected(i, true);
}

void TFormSelect::BtnInvFilesClick() {
    for (std::size_t i = 0; i < browser_.FileCount(); ++i)
        browser_.SetFileSelected(i, !browser_.FileSelected(i));
}

void TFormSelect::Findfile1Click() {
    const CategoryList& list = CurrentList();
    const auto first = list.FirstSelected();
    if (!first) return;
    // A folder that is gone leaves the browser where it was.
    browser_.ApplyFilePath(list[*first].folder);
}

std::size_t TFormSelect::PurgeMissingFiles(ScreenCategory category) {
    CategoryList& list = ListOf(category);
    // First every file is looked at, the list untouched, so that the views may repaint from it
    // meanwhile; then the missing ones go in one pass. They are known by address, not position:
    // a message sent from outside during the breaks may change the list under us.
    std::vector<const ScreenEntry*> missing;
    PaintBreaks breaks;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!win::IsExistingFile(list[i].FullPath())) missing.push_back(&list[i]);
        breaks.Tick();
    }
    if (missing.empty()) return 0;
    std::sort(missing.begin(), missing.end(), std::less<const ScreenEntry*>());
    const std::size_t removed = list.RemoveIf([&missing](const ScreenEntry& e) {
        return std::binary_search(missing.begin(), missing.end(), &e, std::less<const ScreenEntry*>());
    });
    if (removed > 0) {
        listsModified_ = true;
        ViewOf(category).Sync();
    }
    return removed;
}

void TFormSelect::Removenonexistingfiles1Click() {
    std::array<std::size_t, 4> removed{};
    {
        BusyScope busy;
        purging_ = true;
        const struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{purging_};
        for (const auto& info : kCategories)
            removed[CategoryIndex(info.category)] = PurgeMissingFiles(info.category);
        win::SpeedButton& button = ButtonOf(current_);
        button.SetDown(true);
        Change_Screen_Button(button.hwnd());
    }
    win::ShowMessage(hwnd(), win::MsgKind::Information, PurgeReport(removed), win::MsgButtons::Ok);
}

}  // namespace mvpr
