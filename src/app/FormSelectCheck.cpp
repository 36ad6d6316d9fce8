// TFormSelect: "Check Screens", why a screen is or is not shown.
#include "app/CheckScreensDialog.h"
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::CheckScreens1Click() {
    TCheckScreensDialog dialog(places_);
    dialog.ShowModal(hwnd());
}

}  // namespace mvpr
