#ifndef MVPR_WIN_MENUS_H
#define MVPR_WIN_MENUS_H

#include <string>

#include "win/Win32.h"

namespace mvpr::win {

// Menus have no hidden items: hiding one takes it out of the menu, and showing it puts it back
// at its place, as a second copy of the same menu (the layout, never shown) gives it. Works on
// the items of one menu level.
void SetMenuItemVisible(HMENU menu, HMENU layout, UINT id, bool visible);
bool IsMenuItemVisible(HMENU menu, UINT id);

void EnableMenuItemById(HMENU menu, UINT id, bool enabled);
bool IsMenuItemEnabledById(HMENU menu, UINT id);
void CheckMenuItemById(HMENU menu, UINT id, bool checked);
bool IsMenuItemCheckedById(HMENU menu, UINT id);
std::string MenuItemText(HMENU menu, UINT id);
// The submenu of a menu bar or pop-up resource at a position.
HMENU SubMenu(HMENU menu, int position);

}  // namespace mvpr::win

#endif
