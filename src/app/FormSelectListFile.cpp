// TFormSelect: the screen-list file.
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::LoadScreenLists() {}

}  // namespace mvpr
