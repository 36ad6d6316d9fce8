#include "win/Menus.h"

#include <vector>

namespace mvpr::win {

namespace {
int PositionOf(HMENU menu, UINT id) {
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i)
        if (GetMenuItemID(menu, i) == id) return i;
    return -1;
}
}  // namespace

bool IsMenuItemVisible(HMENU menu, UINT id) {
    return PositionOf(menu, id) >= 0;
}

void SetMenuItemVisible(HMENU menu, HMENU layout, UINT id, bool visible) {
    const int now = PositionOf(menu, id);
    if (!visible) {
        if (now >= 0) RemoveMenu(menu, static_cast<UINT>(now), MF_BYPOSITION);
        return;
    }
    if (now >= 0) return;
    const int inLayout = PositionOf(layout, id);
    if (inLayout < 0) return;
    // Its place: after the items that stand before it in the layout and are shown.
    UINT at = 0;
    for (int i = 0; i < inLayout; ++i)
        if (PositionOf(menu, GetMenuItemID(layout, i)) >= 0) ++at;
    char text[256] = {};
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = sizeof text;
    if (!GetMenuItemInfoA(layout, static_cast<UINT>(inLayout), TRUE, &mii)) return;
    mii.dwTypeData = text;
    InsertMenuItemA(menu, at, TRUE, &mii);
}

void EnableMenuItemById(HMENU menu, UINT id, bool enabled) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool IsMenuItemEnabledById(HMENU menu, UINT id) {
    const UINT s = GetMenuState(menu, id, MF_BYCOMMAND);
    return s != static_cast<UINT>(-1) && !(s & (MF_GRAYED | MF_DISABLED));
}

void CheckMenuItemById(HMENU menu, UINT id, bool checked) {
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool IsMenuItemCheckedById(HMENU menu, UINT id) {
    const UINT s = GetMenuState(menu, id, MF_BYCOMMAND);
    return s != static_cast<UINT>(-1) && (s & MF_CHECKED);
}

std::string MenuItemText(HMENU menu, UINT id) {
    char text[256] = {};
    const int n = GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
    return std::string(text, text + (n > 0 ? n : 0));
}

HMENU SubMenu(HMENU menu, int position) {
    return GetSubMenu(menu, position);
}

}  // namespace mvpr::win
