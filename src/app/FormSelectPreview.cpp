// TFormSelect: the preview panel and the file information.
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::ViewChooseBox() {
    EnableWindow(Control(SelectCtl::BtnAdd), browser_.SelectedFileCount() > 0);
}
void TFormSelect::ViewSelected(HWND) {}
void TFormSelect::SetSizeHint() {}
void TFormSelect::ImgPreviewDblClick() {}
void TFormSelect::pnlPreviewDblClick() {}
void TFormSelect::PopMFileInfoPopup() {}
void TFormSelect::SizeClick() {}

}  // namespace mvpr
