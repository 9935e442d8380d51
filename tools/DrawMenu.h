// The tools' context menu: a popup taken out of a menu resource, which the tool then fills.
#pragma once

#include "platform/ui/Menu.h"

class MDrawMenu : public CMenu {
public:
    MDrawMenu() = default;
    // Becomes popup nPos of menu resource nMenuId (the rest of the resource is dropped). FALSE,
    // and the menu stays as it was, when there is no such popup.
    BOOL AttachSubMenu(UINT nMenuId, int nPos);
};
