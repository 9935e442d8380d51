#include "tools/DrawMenu.h"

#include <memory>

BOOL MDrawMenu::AttachSubMenu(UINT nMenuId, int nPos) {
    CMenu loaded;
    if (!loaded.LoadMenu(nMenuId) || nPos < 0 || static_cast<UINT>(nPos) >= loaded.GetMenuItemCount())
        return FALSE;
    std::unique_ptr<CMenu> popup = loaded.RemoveSubMenu(static_cast<UINT>(nPos));
    if (!popup) return FALSE;
    static_cast<CMenu&>(*this) = std::move(*popup);
    return TRUE;
}
