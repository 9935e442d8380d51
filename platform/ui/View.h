// Views: windows that show a document by drawing it (OnDraw) on a persistent image surface.
//
// Painting keeps Windows' order. Invalidation only records an invalid region; the region is
// repainted (background erase, OnPrepareDC, OnDraw, clipped to the region) when the window is
// next painted, or at once by UpdateWindow. Client device contexts draw on the same surface at any
// moment, so what a tool draws in XOR between two paints stays on screen until it is drawn again
// or repainted, exactly as on a Windows window. ScrollWindow moves the surface with what is drawn
// on it and invalidates the uncovered strips.
//
// CScrollView adds scroll sizes and positions in text mapping mode (one logical unit per pixel):
// OnPrepareDC shifts the viewport by the scroll position, and scroll bar controls, when a derived
// class provides them through GetScrollBarCtrl, show and change the position.
#pragma once

#include <memory>

#include "platform/ui/ScrollBar.h"
#include "platform/ui/Wnd.h"

class CDC;
struct CPrintInfo;

enum : int { MM_TEXT = 1 };

class CView : public CWnd {
public:
    CView();
    ~CView() override;

    // Creates the view's window as a child of pParent (a top-level window without one).
    BOOL Create(CWnd* pParent, UINT nID);

    // ----- drawing ------------------------------------------------------------------------------
    virtual void OnDraw(CDC* pDC) = 0;
    // Prepares a context for drawing the view (paints, client contexts, printing).
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo);
    // Erases the background of a paint; default: COLOR_WINDOW. TRUE when erased.
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    // Called after the view's window exists and its document is attached.
    virtual void OnInitialUpdate() {}

    // ----- invalidation and painting -------------------------------------------------------------
    void Invalidate(BOOL bErase = TRUE) override;
    // rect in client coordinates; null means the whole client area.
    virtual void InvalidateRect(const CRect* rect, BOOL bErase = TRUE);
    void ValidateRect(const CRect* rect);
    // Repaints the invalid region now (nothing when there is none).
    void UpdateWindow() override;
    // Whether the window is on screen: shown, and the windows it lies in too.
    BOOL IsOnScreen() const;
    // The bounding rectangle of the invalid region; FALSE when nothing is invalid.
    BOOL GetUpdateRect(CRect* rect) const;
    // Moves the surface by (dx, dy) and invalidates what was uncovered; the invalid region moves too.
    void ScrollWindow(int dx, int dy);
    // A context that draws on the surface now (not prepared: device coordinates). What it draws
    // reaches the screen when it is destroyed.
    virtual std::unique_ptr<CDC> GetClientDC();
    // How many times the view painted its invalid region (tests).
    int GetPaintCount() const { return m_paintCount; }

    struct Surface;
    Surface& GetSurface() const { return *m_surface; }

private:
    void PaintInvalid();
    friend class ViewWidget;

    std::unique_ptr<Surface> m_surface;
    int m_paintCount = 0;
};

class CScrollView : public CView {
public:
    CScrollView();
    ~CScrollView() override;

    // Text mapping mode only. Page and line sizes of zero take the defaults: a tenth of the total,
    // and a tenth of the page.
    void SetScrollSizes(int nMapMode, CSize sizeTotal, CSize sizePage = CSize(0, 0),
                        CSize sizeLine = CSize(0, 0));
    CSize GetTotalSize() const { return m_totalDev; }
    CSize GetPageSize() const { return m_pageDev; }
    CSize GetLineSize() const { return m_lineDev; }
    CPoint GetScrollPosition() const { return m_scrollPos; }
    CPoint GetDeviceScrollPosition() const { return m_scrollPos; }
    // The largest position in each direction (0 when the client area shows the whole extent).
    CSize GetScrollLimit() const;
    // Scrolls to the position, clamped into the scrollable range.
    void ScrollToPosition(CPoint pt);

    // The viewport origin follows the scroll position (not when printing).
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) override;
    // nScrollCode: low byte the horizontal code, high byte the vertical one, 0xFF for none.
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    // Scrolls by the size, clamped into the range; FALSE when the position does not change.
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) override;
    void OnSize(UINT nType, int cx, int cy) override;

    // The scroll bar controls that show the position; none by default.
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const { return nullptr; }
    // Brings the bars in line with the sizes and the client area (the position is clamped).
    void UpdateBars();

private:
    void SetPosition(CPoint pos);

    CSize m_totalDev;
    CSize m_pageDev;
    CSize m_lineDev;
    CPoint m_scrollPos;
};
