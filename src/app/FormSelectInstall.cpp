// TFormSelect: installing the previewed picture as the current screen or wallpaper.
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::SetasCurrentClick() {}

}  // namespace mvpr
