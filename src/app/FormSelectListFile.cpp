// TFormSelect: the screen-list file and the question on closing with unsaved changes.
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::LoadScreenLists() {}

bool TFormSelect::SaveToFile() {
    return false;
}

void TFormSelect::FormCloseQuery(bool& canClose) {
    canClose = true;
}

}  // namespace mvpr
