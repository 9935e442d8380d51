// Dialog controls: each stands for one Qt widget and reports the user's actions to its owner
// (normally the dialog) as WM_COMMAND or WM_NOTIFY notifications by control id. Programmatic
// changes notify only where the Windows control does (EN_CHANGE and LVN_ITEMCHANGED do; selection
// changes of combo and list boxes do not).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui/OwnerDraw.h"
#include "platform/ui/Wnd.h"
#include "resources/ResourceFormats.h"

using DWORD_PTR = std::uintptr_t;

class CBitmap;

enum : int { CB_ERR = -1, LB_ERR = -1 };
enum : UINT { LVNI_ALL = 0, LVNI_SELECTED = 2, LVIS_FOCUSED = 1, LVIS_SELECTED = 2 };
enum : int { LVCFMT_LEFT = 0, LVCFMT_RIGHT = 1, LVCFMT_CENTER = 2 };

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
};

struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

// Push buttons, check boxes and radio buttons. A push button with BS_OWNERDRAW paints itself
// through DrawItem (OwnerDraw.h): ODS_SELECTED while pressed, ODS_FOCUS, ODS_DISABLED. A check box
// with BS_PUSHLIKE is a push button that stays down while checked. Any button shows a picture
// (SetBitmap; with BS_BITMAP instead of its text).
class CButton : public CWnd {
public:
    enum class Kind { Push, DefPush, Check, Radio };
    // Creates the button as control nID of pParent (its owner for notifications).
    BOOL Create(std::string_view text, Kind kind, CWnd* pParent, UINT nID, UINT style = 0);
    // A push button placed at rect in pParent's client coordinates (BS_OWNERDRAW: owner-drawn).
    BOOL Create(std::string_view text, UINT style, const CRect& rect, CWnd* pParent, UINT nID);
    // The BS_ style the button was created with.
    UINT GetButtonStyle() const;
    virtual void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {}
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE; push buttons answer 0.
    int GetCheck() const;
    void SetCheck(int nCheck);
    // As a user's click: an enabled check box toggles, a radio button is chosen, and BN_CLICKED
    // reaches the owner.
    void Click();
    void SetWindowText(std::string_view text) override;
    std::string GetWindowText() const override;
    // The picture the button shows (its pixels are copied now; null removes it); returns the
    // previous one.
    const CBitmap* SetBitmap(const CBitmap* pBitmap);
    const CBitmap* GetBitmap() const { return m_bitmap; }
    // The size the button needs for its text (and picture).
    BOOL GetIdealSize(CSize* pSize) const;

private:
    const CBitmap* m_bitmap = nullptr;
};

// Single-line and multi-line edits. Multi-line text uses "\r\n" between lines, as on Windows.
class CEdit : public CWnd {
public:
    BOOL Create(UINT style, CWnd* pParent, UINT nID);
    void SetWindowText(std::string_view text) override;
    std::string GetWindowText() const override;
    void SetSel(int nStartChar, int nEndChar);
    void ReplaceSel(std::string_view text);
    void SetReadOnly(BOOL bReadOnly = TRUE);
    // Longest text in characters; 0 for no limit.
    void SetLimitText(UINT nMax);
    BOOL IsMultiLine() const;
};

class CStatic : public CWnd {
public:
    BOOL Create(std::string_view text, CWnd* pParent, UINT nID);
    void SetWindowText(std::string_view text) override;
    std::string GetWindowText() const override;
};

// Combo boxes: CBS_DROPDOWN (editable) or CBS_DROPDOWNLIST, optionally CBS_SORT. With
// CBS_OWNERDRAWFIXED the items and the selection field are painted by DrawItem (OwnerDraw.h); a
// combo without CBS_HASSTRINGS holds items with data and empty texts.
class CComboBox : public CWnd {
public:
    BOOL Create(UINT style, CWnd* pParent, UINT nID);
    // Placed at rect in pParent's client coordinates: the rectangle's width is the combo's and
    // its height the field's plus the dropped-down list's, as on Windows.
    BOOL Create(UINT style, const CRect& rect, CWnd* pParent, UINT nID);
    UINT GetStyle() const;
    int AddString(std::string_view text);
    int InsertString(int nIndex, std::string_view text);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    std::string GetLBText(int nIndex) const;
    void GetLBText(int nIndex, std::string& text) const { text = GetLBText(nIndex); }
    // First item at or after nStartAfter + 1 beginning with (FindString) or equal to
    // (FindStringExact) the text, ignoring case; CB_ERR when none. nStartAfter -1 searches all.
    int FindString(int nStartAfter, std::string_view text) const;
    int FindStringExact(int nStartAfter, std::string_view text) const;
    int SelectString(int nStartAfter, std::string_view text);
    int SetItemData(int nIndex, DWORD_PTR data);
    DWORD_PTR GetItemData(int nIndex) const;
    // The edit text of an editable combo; the selected item's text otherwise.
    void SetWindowText(std::string_view text) override;
    std::string GetWindowText() const override;
    BOOL IsEditable() const;
    // As the user's choice from the list: selects the item, then CBN_SELCHANGE and CBN_SELENDOK.
    void ChooseItem(int nIndex);
    // As the user's typing into an editable combo: the text, then CBN_EDITCHANGE.
    void TypeText(std::string_view text);

    // Owner-drawn items: the height of the list items (nIndex >= 0) or of the selection field
    // (nIndex -1). Until one is set, MeasureItem decides.
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex) const;
    virtual void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) {}
};

// List boxes. With LBS_OWNERDRAWFIXED alone the items are painted by DrawItem (OwnerDraw.h);
// together with LBS_HASSTRINGS the list is a check list box (CheckListBox.h).
class CListBox : public CWnd {
public:
    BOOL Create(UINT style, CWnd* pParent, UINT nID);
    UINT GetStyle() const;
    int AddString(std::string_view text);
    int InsertString(int nIndex, std::string_view text);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    std::string GetText(int nIndex) const;
    void GetText(int nIndex, std::string& text) const { text = GetText(nIndex); }
    int FindString(int nStartAfter, std::string_view text) const;
    int FindStringExact(int nStartAfter, std::string_view text) const;
    int SelectString(int nStartAfter, std::string_view text);
    int SetItemData(int nIndex, DWORD_PTR data);
    DWORD_PTR GetItemData(int nIndex) const;
    // Multiple selection (LBS_EXTENDEDSEL).
    int GetSel(int nIndex) const;
    int SetSel(int nIndex, BOOL bSelect = TRUE);
    int GetSelCount() const;
    // As the user's click on an item: selects it, then LBN_SELCHANGE.
    void ChooseItem(int nIndex);

    // Owner-drawn items: as CComboBox's (the list has no field).
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex) const;
    // LBS_MULTICOLUMN: the width of the columns (0 until set).
    void SetColumnWidth(int cxWidth);
    int GetColumnWidth() const;
    virtual void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {}
    virtual void MeasureItem(MEASUREITEMSTRUCT* lpMeasureItemStruct) {}
};

// A list view in report style: rows of columns.
class CListCtrl : public CWnd {
public:
    BOOL Create(UINT style, CWnd* pParent, UINT nID);
    int InsertColumn(int nCol, std::string_view heading, int nFormat = LVCFMT_LEFT, int nWidth = -1);
    int InsertItem(int nItem, std::string_view text);
    BOOL SetItemText(int nItem, int nSubItem, std::string_view text);
    std::string GetItemText(int nItem, int nSubItem) const;
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    BOOL SetItemData(int nItem, DWORD_PTR data);
    DWORD_PTR GetItemData(int nItem) const;
    // The next item after nItem (-1: from the start) with the state flags (LVNI_SELECTED); -1 when none.
    int GetNextItem(int nItem, UINT nFlags) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    UINT GetSelectedCount() const;
    int GetSelectionMark() const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    // As the user's click on an item: it becomes the only selected and focused item
    // (LVN_ITEMCHANGED), then NM_CLICK.
    void ClickItem(int nItem);
};

// An up-down control beside its buddy edit: the arrows (and the Up and Down keys in the buddy)
// move the position within the range and write it into the buddy as an integer. The owner
// receives UDN_DELTAPOS first and can refuse the change with a nonzero result.
class CSpinButtonCtrl : public CWnd {
public:
    BOOL Create(CWnd* pParent, UINT nID);
    void SetBuddy(CWnd* pBuddy);
    CWnd* GetBuddy() const;
    // The up arrow moves towards nUpper (which may be below nLower).
    void SetRange32(int nLower, int nUpper);
    void SetRange(short nLower, short nUpper) { SetRange32(nLower, nUpper); }
    void GetRange32(int& nLower, int& nUpper) const;
    int SetPos32(int nPos);
    int GetPos32(BOOL* pError = nullptr) const;
    // As a user's click on the up (steps > 0) or down arrow.
    void Step(int steps);

private:
    CWnd* m_pBuddy = nullptr;
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
};
