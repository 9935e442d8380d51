// The parts bar "部品": one tab per loaded parts list and, for the selected tab, its parts as
// 32 × 32 icons with their names. It owns the loaded lists (in tab order) and keeps the set of
// parts files in the profile ("Parts\path": "0", "1", ... the files' paths). Its context menus'
// commands and the notifications it does not handle go on to the main frame.
#pragma once

#include <memory>

#include "app/bars/DockDialogBar.h"
#include "app/parts/PartsListCtrl.h"
#include "app/parts/PartsTabCtrl.h"
#include "document/parts/CadPartsList.h"
#include "platform/ui/ImageList.h"

class CBitmap;
class MCadParts;
class MDib;

class MPartsDialogBar : public MDockDialogBar {
public:
    static constexpr int kMinSize = 48;
    // The bar's first size: its 130 × 165 dialog units in the classic dialog font's pixels.
    static constexpr int kWidth = 195;
    static constexpr int kHeight = 268;
    static constexpr DWORD kStyle =
        CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;

    MPartsDialogBar();
    ~MPartsDialogBar() override;

    // The bar (control 209, "PartsBar" in the bar state) with its tab row and icon list; hidden.
    BOOL Create(CFrameWnd* pParentFrame);

    // The list of the selected tab, or null.
    MCadPartsList* GetCurrentList() const;
    // The first selected item's part in the current list, or null.
    MCadParts* GetSelectedParts() const;
    BOOL HasSelection() const;
    // Starts editing the first selected item's name in place; nothing without a selection.
    void EditSelectedLabel();
    // The selected part's name and keep-size flag through "ﾌﾟﾛﾊﾟﾃｨｰ", written to the list's file
    // at once. A failed write is reported (62703) and the part keeps its old values, as its file
    // does.
    void EditSelectedProperties();
    // Appends the part to the current list (which then owns it), makes it the list's current
    // part and refills the icons; FALSE without a current list (the caller keeps the part).
    BOOL AddPartsToCurrentList(MCadParts* part);
    // Takes the part out of the current list again (the caller owns it) and refills the icons.
    BOOL TakeBackFromCurrentList(MCadParts* part);
    void RefillIcons();
    void UpdateTabs();
    // The set of parts files from the profile: a file that cannot be read is left out (its
    // message shown), and a file listed twice is loaded once.
    void LoadPartsLists();
    void SavePartsLists() const;
    void RepositionControls() override;
    int GetMinWidth() const override { return kMinSize; }
    int GetMinHeight() const override { return kMinSize; }

    // The loaded list whose file is path (compared as canonical paths), or -1.
    int FindList(const CString& path) const;
    // Inserts at position (negative: appends), selects its tab and rebuilds the tabs.
    void InsertList(int position, std::unique_ptr<MCadPartsList> list);
    // Takes a list out of the bar (the caller owns it) and rebuilds the tabs.
    std::unique_ptr<MCadPartsList> TakeList(int index);
    int GetListCount() const { return m_lists.GetSize(); }
    MCadPartsList* GetList(int index) const { return m_lists.GetAt(index); }

    MPartsTabCtrl& GetTabCtrl() { return m_tabCtrl; }
    MPartsListCtrl& GetListCtrl() { return m_listCtrl; }

private:
    void OnTabRightClick();
    void OnListRightClick(int item);
    LRESULT OnEndLabelEdit(NMLVDISPINFO* info);

    MPartsTabCtrl m_tabCtrl;
    MPartsListCtrl m_listCtrl;
    std::unique_ptr<CImageList> m_imageList;
    MCadPartsListList m_lists;
};

// The canonical form of a parts file's path: absolute, with "." and ".." and links resolved as
// far as the file exists.
CString CanonicalPartsPath(const CString& path);

// Writes the list to its file (safe save, 15 significant digits) and clears its modified flag;
// FALSE after the file error was shown (the list in memory keeps its change).
BOOL WritePartsList(MCadPartsList& list);

// The picture of a part's icon as a bitmap for the image list; 4-bit icons without the general
// stretching road, which a bar of a thousand parts would wait for.
std::unique_ptr<CBitmap> PartsIconBitmap(const MDib& icon);
