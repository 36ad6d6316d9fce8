// TFormSelect: settings in the registry and the randomizer's Run entry.
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::LoadSettings() {}
void TFormSelect::FormClose() {}
void TFormSelect::ChangePreviewOn(SelectCmd) {}
void TFormSelect::ChangeErrorReport() {}
void TFormSelect::Runrandomizeratstartup1Click(HWND) {}

}  // namespace mvpr
