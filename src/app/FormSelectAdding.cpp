// TFormSelect: adding chosen files to the current list under the screen rule.
#include "app/FormSelect.h"
#include "app/LoadPicture_win.h"
#include "system/ScreenFile_win.h"
#include "win/Busy.h"
#include "win/MessageBox.h"

namespace mvpr {

void TFormSelect::BtnAddClick() {
    win::WaitCursor wait;  // screen files are decoded to be judged
    const std::size_t count = browser_.FileCount();
    bool added = false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!browser_.FileSelected(i)) continue;
        const std::size_t before = CurrentList().size();
        AddChosenFile(i);
        added = added || CurrentList().size() != before;
    }
    if (!added) return;
    // One refresh of the view for the whole batch: a big list is not redrawn per file.
    ViewOf(current_).Sync();
    CountRefresh();
}

void TFormSelect::AddChosenFile(std::size_t index) {
    if (AddFile(browser_.Directory(), browser_.FileName(index))) browser_.SetFileSelected(index, false);
}

bool TFormSelect::AddFile(const std::string& folder, const std::string& name) {
    const AutoPreviewOff quiet(*this);
    const std::string path = JoinPath(folder, name);
    bool passes = true;
    ScreenVerdict judged;
    if (IsScreenCategory(current_)) {
        // The previewed file was decoded already, by the same reader, when it was previewed.
        if (path == PreviewCaption() && previewFromBitmapReader_) {
            if (previewDecoded_)
                judged =
                    JudgeScreen(previewPicture_.Width(), previewPicture_.Height(), previewPicture_.Format());
        } else {
            judged = JudgeScreenFile(path);
        }
        passes = judged.Valid();
    }
    if (passes) {
        ScreenEntry entry{name, folder, {}, false};
        if (current_ == ScreenCategory::Wall) entry.style = win::GetText(Control(SelectCtl::CBStyle));
        CurrentList().Add(std::move(entry));
        listsModified_ = true;
    } else if (ReportAddErrors()) {
        const std::string message = !judged.readable     ? UnreadableErrorMessage(path)
                                    : judged.WrongSize() ? SizeErrorMessage(path, judged.width, judged.height)
                                                         : DepthErrorMessage(path, judged.format);
        win::ShowMessage(hwnd(), win::MsgKind::Error, message, win::MsgButtons::Ok);
    }
    return passes;
}

}  // namespace mvpr
