// TFormSelect: removing, selecting, locating and purging entries of the lists.
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::btnRemoveClick() {}
void TFormSelect::btnAllSelectClick() {}
void TFormSelect::btnInvSelectClick() {}
void TFormSelect::btnAllFilesClick() {}
void TFormSelect::BtnInvFilesClick() {}
void TFormSelect::Findfile1Click() {}
void TFormSelect::Removenonexistingfiles1Click() {}
std::size_t TFormSelect::PurgeMissingFiles(ScreenCategory) {
    return 0;
}

}  // namespace mvpr
