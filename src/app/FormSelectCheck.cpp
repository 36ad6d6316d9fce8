// TFormSelect: "Check Screens", why a screen is or is not shown.
#include "app/CheckScreensDialog.h"
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::CheckScreens1Click() {
    TCheckScreensDialog dialog(CheckPlaces{WindowsDir(), programDir_, config_.registryPrefix});
    dialog.ShowModal(hwnd());
}

}  // namespace mvpr
