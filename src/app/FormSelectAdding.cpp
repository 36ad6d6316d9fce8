// TFormSelect: adding chosen files to the current list under the screen rule.
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::BtnAddClick() {}
void TFormSelect::AddChosenFile(std::size_t) {}

}  // namespace mvpr
