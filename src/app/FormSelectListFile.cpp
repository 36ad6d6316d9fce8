// TFormSelect: the screen-list file and the question on closing with unsaved changes.
#include "app/FormSelect.h"

#include "lists/ListFile_win.h"
#include "lists/ListTexts.h"
#include "win/Files.h"
#include "win/MessageBox.h"

namespace mvpr {

void TFormSelect::LoadScreenLists() {
    const std::string path = places_.ProgramFile(kListFileName);
    ListFileReader reader(places_.programDir);
    const win::ReadStatus status = ReadListFileInto(path, reader);
    // A file that is there but could not be read (locked, no access, a read error) still holds
    // lists the user has not seen: the first save keeps it aside instead of losing it.
    listFileUnread_ = status == win::ReadStatus::Failed ||
                      (status == win::ReadStatus::NotOpened && win::IsExistingFile(path));
    if (status == win::ReadStatus::Failed)  // keep what was read; a missing file says nothing
        win::ShowMessage(hwnd(), win::MsgKind::Error, kReadingError, win::MsgButtons::Ok);
    // Lines under a misspelt header are in no list: the first save keeps the file aside too.
    listFileSkipped_ = reader.SkippedLines() > 0;
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        // The lines as read: each list is sorted once, when it is first shown, saved or purged.
        lists_[i].AddLines(reader.TakeLines(i));
        views_[i]->Sync();  // the columns are sized when a list is first shown
    }
}

bool TFormSelect::SaveToFile() {
    const std::string path = places_.ProgramFile(kListFileName);
    if ((listFileUnread_ || listFileSkipped_) && win::IsExistingFile(path) &&
        !CopyFileA(path.c_str(), places_.ProgramFile(kListBackupName).c_str(), FALSE)) {
        win::ShowMessage(hwnd(), win::MsgKind::Error, CreatingFileError(GetLastError()), win::MsgButtons::Ok);
        return false;
    }
    const win::ReplaceResult result = win::ReplaceFileWith(path, FormatListFile(lists_));
    switch (result.status) {
        case win::ReplaceStatus::Done:
            listsModified_ = false;
            listFileUnread_ = false;  // what it held is in the backup now
            if (listFileSkipped_) {
                listFileSkipped_ = false;
                win::ShowMessage(hwnd(), win::MsgKind::Information, kSkippedLinesKept, win::MsgButtons::Ok);
            }
            return true;
        case win::ReplaceStatus::NotCreated:
            win::ShowMessage(hwnd(), win::MsgKind::Error, CreatingFileError(result.error),
                             win::MsgButtons::Ok);
            return false;
        case win::ReplaceStatus::NotWritten:
            win::ShowMessage(hwnd(), win::MsgKind::Error, kWritingError, win::MsgButtons::Ok);
            return false;
    }
    return false;
}

void TFormSelect::FormCloseQuery(bool& canClose) {
    const AutoPreviewOff quiet(*this);
    canClose = true;
    if (!listsModified_) return;
    switch (
        win::ShowMessage(hwnd(), win::MsgKind::Confirmation, kSaveBeforeExit, win::MsgButtons::YesNoCancel)) {
        case win::MsgAnswer::Yes: canClose = SaveToFile(); break;
        case win::MsgAnswer::No: break;    // the changes are dropped
        default: canClose = false; break;  // Cancel, or the box closed without an answer
    }
}

}  // namespace mvpr
