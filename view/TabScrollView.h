// A scroll view that owns its scroll bars and shares the bottom scroll-bar row with a strip of
// named tabs. The row below the client area holds, from the left: two arrow buttons that scroll
// the tabs, the tabs (custom painted), a draggable splitter and the horizontal scroll bar; the
// vertical bar stands right of the client area. The class knows nothing of layers: it asks its
// own virtual operations for each tab's state and reports clicks through them.
//
// The window is a frame holding the view's client window, the tab row and the bars as siblings,
// as the bars are siblings of the view on Windows; the tab row delivers its mouse messages to the
// view in the view's client coordinates, so they arrive with y below the client area.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/View.h"

class CDC;
using CString = std::string;

class MTabData {
public:
    MTabData(const CString& name, int flag) : m_name(name), m_flag(flag) {}
    virtual ~MTabData() = default;

    CString m_name;
    // 1 marks the active tab in the base class's default tab states.
    int m_flag;
};

class MTabScrollView : public CScrollView {
public:
    MTabScrollView();
    ~MTabScrollView() override;

    // Creates the window (frame, client window, tab row and bars) as a child of pParent.
    BOOL Create(CWnd* pParent, UINT nID);
    // The frame holding the view and its bars: what a main window places in its client area.
    CWnd* GetFrameWindow() const { return m_frame.get(); }

    // ----- tab states and events (overridden by the drawing view) -------------------------------
    virtual BOOL IsTabActive(int index);
    virtual BOOL IsTabHidden(int index);
    virtual BOOL IsTabPrintable(int index);
    virtual BOOL IsTabSelectable(int index);
    virtual void SetActiveTab(int index);
    // Repaints the tab row.
    virtual void RedrawTabs();
    virtual void OnClientLButtonDown(UINT flags, int x, int y) {}
    virtual void OnClientLButtonUp(UINT flags, int x, int y) {}
    virtual void OnClientMouseMove(UINT flags, int x, int y) {}
    virtual void OnClientLButtonDblClk(UINT flags, int x, int y) {}
    virtual void OnTabSelect(int index, UINT flags, int x, int y);
    virtual void OnTabRowLButtonDown(UINT flags, int x, int y);
    virtual void OnTabDblClk(int index, UINT flags, int x, int y) {}
    virtual void OnTabRowDblClk(UINT flags, int x, int y);
    virtual void OnClientRButtonDown(UINT flags, int x, int y) {}
    virtual void OnTabRClick(int index, UINT flags, int x, int y) {}
    virtual void OnTabRowRButtonDown(UINT flags, int x, int y);
    // Painting of the row in window coordinates (the client area's origin).
    virtual void PaintTabRowFrame(CDC* dc);
    virtual void PaintTabs(CDC* dc);

    // ----- tabs ---------------------------------------------------------------------------------
    // Unless forced, an empty name or one that a tab already has is refused (FALSE).
    BOOL AddTab(const CString& name, int flag, BOOL force);
    // index < 0 appends; otherwise inserts before index (past the end appends).
    BOOL InsertTab(int index, const CString& name, int flag, BOOL force);
    // Raises the invalid-argument exception for an index outside the tabs.
    void RemoveTab(int index);
    void RemoveAllTabs();
    int FindTab(const CString& name) const;
    const CString& GetTabName(int index) const;
    void SetTabName(int index, const CString& name);
    int GetTabCount() const { return static_cast<int>(m_tabs.size()); }
    // The tab at a point of the row (window coordinates), or -1.
    int TabHitTest(int x, int y);

    int GetCurrentTab() const { return m_currentTab; }
    int GetFirstVisibleTab() const { return m_firstVisibleTab; }
    int GetHorzBarWidth() const { return m_horzBarWidth; }
    int GetSplitterWidth() const { return m_splitterWidth; }
    int GetRowHeight() const { return m_rowHeight; }
    // The rectangles of the row's parts in client coordinates.
    CRect GetRowRect() const;
    CRect GetTabAreaRect() const;
    CRect GetSplitterRect() const;
    CScrollBar* GetTabArrows() const { return m_tabArrows.get(); }

    // Lays the bars out over the row and beside the client area.
    void RepositionBars();

    // ----- window messages ----------------------------------------------------------------------
    CScrollBar* GetScrollBarCtrl(int nBar) const override;
    void OnInitialUpdate() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonUp(UINT nFlags, CPoint point) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;
    void OnMButtonDown(UINT nFlags, CPoint point) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;

    // Lays out the frame's children for its size (client area, row, bars).
    void LayoutFrame(int width, int height);

protected:
    void DragSplitterTo(int x, int y);
    void CheckTabIndex(int index) const;

    std::unique_ptr<CScrollBar> m_horzBar;
    std::unique_ptr<CScrollBar> m_vertBar;
    std::unique_ptr<CScrollBar> m_tabArrows;
    int m_horzBarWidth = 64;
    int m_splitterWidth;
    int m_tabPadding = 8;
    int m_ncRowHeight;
    int m_rowHeight;
    int m_dragging = 0;
    int m_dragX = 0;
    int m_dragY = 0;
    int m_firstVisibleTab = 0;
    int m_currentTab = 0;
    std::vector<std::unique_ptr<MTabData>> m_tabs;

private:
    std::unique_ptr<CWnd> m_frame;
    std::unique_ptr<CWnd> m_row;
};
