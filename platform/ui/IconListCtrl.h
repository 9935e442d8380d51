// The icon view of a list view (LVS_ICON): items shown as pictures of an image list with their
// names below, arranged in rows (LVS_AUTOARRANGE), single or multiple selection, names edited in
// place (LVS_EDITLABELS). The owner receives WM_NOTIFY: NM_CLICK, NM_DBLCLK, NM_RETURN (Enter),
// NM_RCLICK (right button, the cursor position noted for GetCursorPos), LVN_ENDLABELEDIT.
// LVN_BEGINDRAG (an item dragged by the left button) goes to OnBeginDrag first.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/ControlNotify.h"
#include "platform/ui/Controls.h"

class CEdit;
class CImageList;

enum : UINT { LVS_ICON = 0x0000, LVS_AUTOARRANGE = 0x0100, LVS_EDITLABELS = 0x0200 };
enum : UINT { LVSIL_NORMAL = 0 };
enum : UINT { LVIS_DROPHILITED = 0x0008 };

struct LVITEM {
    int iItem = -1;
    // The edited text; null when the editing was cancelled.
    const char* pszText = nullptr;
};

struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};

class CIconListCtrl : public CWnd {
public:
    CIconListCtrl();
    ~CIconListCtrl() override;

    BOOL Create(UINT style, CWnd* pParent, UINT nID);
    // The pictures of the items; the list does not own it. Items take image i when inserted.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    int InsertItem(int nItem, std::string_view text, int nImage);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    std::string GetItemText(int nItem) const;
    BOOL SetItemText(int nItem, std::string_view text);
    // The next item after nItem (-1: from the start) with the flags (LVNI_SELECTED); -1 when none.
    int GetNextItem(int nItem, UINT nFlags) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    // The item under a client point, or -1.
    int HitTest(CPoint point) const;
    // The upper-left corner of an item in client coordinates.
    BOOL GetItemPosition(int nItem, CPoint* point) const;
    // Moves an item to a client position; the items are always arranged in order, so the item
    // keeps its place (an item's index never changes).
    BOOL SetItemPosition(int nItem, CPoint point);

    // Starts editing the item's name in place: Enter or leaving the edit ends it with the text,
    // Escape cancels (LVN_ENDLABELEDIT with a null text). The edit, or null.
    CEdit* EditLabel(int nItem);
    // The edit of an editing in progress, or null.
    CEdit* GetEditControl() const;

    // While a name is edited, its keys (Escape, Enter) go to the edit, not to accelerators.
    UINT PreTranslateKeyDown(UINT nChar, UINT nFlags) override;

    // An item is being dragged; by default the owner gets LVN_BEGINDRAG.
    virtual void OnBeginDrag(int nItem);
    // Where the drag began, in client coordinates (the press; the item's picture's centre for
    // BeginItemDrag).
    CPoint GetBeginDragPoint() const { return m_dragPoint; }
    // The item's picture as a list of one image to drag with; lpPoint receives its upper-left
    // corner in client coordinates. Null for an item without a picture.
    std::unique_ptr<CImageList> CreateDragImage(int nItem, CPoint* lpPoint) const;

    // As the user's actions, for tests: a click, a double click, a right click on an item (-1:
    // on no item), Enter on the selected item, and pressing the button on an item and moving it.
    void ClickItem(int nItem);
    void DoubleClickItem(int nItem);
    void RightClickItem(int nItem);
    void PressEnter();
    void BeginItemDrag(int nItem);

    struct Watcher;

private:
    void EndLabelEdit(bool cancelled);

    CImageList* m_imageList = nullptr;
    CPoint m_dragPoint;
    std::unique_ptr<CEdit> m_edit;
    int m_editItem = -1;
};
