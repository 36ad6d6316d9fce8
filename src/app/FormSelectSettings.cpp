// TFormSelect: settings in the registry and the randomizer's Run entry.
#include "app/FormSelect.h"

namespace mvpr {

void TFormSelect::LoadSettings() {}

}  // namespace mvpr
