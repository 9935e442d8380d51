// Menus as data: a CMenu is a tree of items built from a resource or in code, changed freely, and
// turned into Qt menus when shown. Update handlers run when a popup opens (the owner window's
// OnInitMenuPopup; frames run the update pass there).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

class CBitmap;
class CWnd;

enum : UINT {
    MF_STRING = 0x0000,
    MF_ENABLED = 0x0000,
    MF_UNCHECKED = 0x0000,
    MF_BYCOMMAND = 0x0000,
    MF_GRAYED = 0x0001,
    MF_DISABLED = 0x0002,
    MF_BITMAP = 0x0004,
    MF_CHECKED = 0x0008,
    MF_POPUP = 0x0010,
    MF_RADIOCHECK = 0x0200,
    MF_BYPOSITION = 0x0400,
    MF_SEPARATOR = 0x0800,
};

enum : UINT {
    TPM_LEFTALIGN = 0x0000,
    TPM_RIGHTBUTTON = 0x0002,
    TPM_NONOTIFY = 0x0080,
    TPM_RETURNCMD = 0x0100
};

class CMenu {
public:
    struct Item {
        UINT flags = MF_STRING;  // MF_SEPARATOR, MF_POPUP, MF_BITMAP, MF_GRAYED, MF_DISABLED, MF_CHECKED,
                                 // MF_RADIOCHECK
        UINT id = 0;
        std::string text;
        std::unique_ptr<CMenu> popup;
        // MF_BITMAP: the picture shown in place of the text (not owned; it outlives the menu).
        const CBitmap* bitmap = nullptr;
    };

    CMenu();
    ~CMenu();
    CMenu(CMenu&&) noexcept;
    CMenu& operator=(CMenu&&) noexcept;

    // Replaces the contents with menu resource nIDResource; FALSE when it does not exist.
    BOOL LoadMenu(UINT nIDResource);
    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL DestroyMenu();
    // Whether the menu exists (created, loaded or attached).
    bool IsMenu() const { return m_valid; }

    UINT GetMenuItemCount() const;
    // 0 for a separator, (UINT)-1 for a popup, the command id otherwise.
    UINT GetMenuItemID(int nPos) const;
    // The item's flags, or (UINT)-1 when it does not exist.
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    std::string GetMenuString(UINT nIDItem, UINT nFlags) const;
    CMenu* GetSubMenu(int nPos) const;
    const std::vector<Item>& Items() const { return m_items; }

    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem = 0, std::string_view text = {});
    BOOL AppendMenu(std::string_view text, CMenu&& popup);
    // An item showing the bitmap in place of text (MF_BITMAP), with its command id.
    BOOL AppendMenu(UINT nFlags, UINT nIDNewItem, const CBitmap* pBmp);
    // Inserts before the item at nPosition (MF_BYPOSITION; -1 appends) or before command nPosition.
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT nIDNewItem = 0, std::string_view text = {});
    BOOL InsertMenu(UINT nPosition, UINT nFlags, std::string_view text, CMenu&& popup);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT nIDNewItem = 0, std::string_view text = {});
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT nIDNewItem, const CBitmap* pBmp);
    // Makes the item a popup holding `popup`.
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, std::string_view text, CMenu&& popup);
    // Removes the item, destroying its popup.
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);
    // Removes the item at nPos and hands over its popup (null for other items).
    std::unique_ptr<CMenu> RemoveSubMenu(UINT nPos);

    // Previous state (MF_CHECKED or MF_UNCHECKED), or (UINT)-1 when the item does not exist.
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    // Previous state (MF_GRAYED, MF_DISABLED or MF_ENABLED), or (UINT)-1.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);

    // Shows the menu as a popup at the screen point, owned by pWnd (whose OnInitMenuPopup runs as
    // each popup opens). With TPM_RETURNCMD returns the chosen command (0 for none); otherwise
    // the command is sent to pWnd after the call returns, as the posted WM_COMMAND on Windows, and
    // the result is TRUE. Tests choose the item with DialogRunner::ScriptPopupMenu.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd);

    // Context menus by resource: shows popup nSubMenu of menu resource nIDResource as
    // TrackPopupMenu does. FALSE (0) when the resource or popup does not exist.
    static BOOL TrackPopupMenuResource(UINT nIDResource, int nSubMenu, UINT nFlags, int x, int y, CWnd* pWnd);

    // The item at nPosition (MF_BYPOSITION) or the item of command nPosition, searched through the
    // popups; `owner` receives the menu holding it.
    Item* FindItem(UINT nPosition, UINT nFlags, CMenu** owner = nullptr, int* index = nullptr);

private:
    std::vector<Item> m_items;
    bool m_valid = false;
};
