// A dialog bar: a control bar of the frame holding child controls, on a dock widget that docks at
// the left or right edge or floats. Its notifications and commands that it does not handle go on
// to the frame, as a control bar's do. The dock widget's name keeps it in the frame's bar state.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/Wnd.h"

class CFrameWnd;
class QWidget;

// Control-bar styles.
enum : DWORD {
    CBRS_FLOATING = 0x0001,
    CBRS_SIZE_FIXED = 0x0002,
    CBRS_SIZE_DYNAMIC = 0x0004,
    CBRS_TOOLTIPS = 0x0010,
    CBRS_FLYBY = 0x0020,
    CBRS_BORDER_RIGHT = 0x0400,
    CBRS_ALIGN_LEFT = 0x1000,
    CBRS_ALIGN_TOP = 0x2000,
    CBRS_ALIGN_RIGHT = 0x4000,
    CBRS_ALIGN_BOTTOM = 0x8000,
    CBRS_ALIGN_ANY = 0xF000,
};

// Layout query modes.
enum : DWORD {
    LM_STRETCH = 0x01,
    LM_HORZ = 0x02,
    LM_MRUWIDTH = 0x04,
    LM_HORZDOCK = 0x08,
    LM_VERTDOCK = 0x10,
    LM_LENGTHY = 0x20,
    LM_COMMIT = 0x40,
};

class CDialogBar : public CWnd {
public:
    CDialogBar();
    ~CDialogBar() override;

    // Creates the bar in the frame, hidden and docked at the left; name identifies it in the
    // saved bar state. The title is the dock widget's caption.
    BOOL Create(CFrameWnd* pParentFrame, DWORD dwStyle, UINT nID, std::string_view name);
    // Where the bar may dock (CBRS_ALIGN_LEFT, CBRS_ALIGN_RIGHT, ...); 0: nowhere.
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetEnabledAlignment() const { return m_dockStyle; }
    // The style given at creation, with CBRS_FLOATING while the bar floats.
    DWORD GetBarStyle() const;
    void SetBarStyle(DWORD dwStyle);
    BOOL IsFloating() const;
    // The bar's whole window (caption and frame included) and its outer size, in screen pixels.
    void GetBarWindowRect(CRect* rect) const;
    QWidget* GetDockWidget() const;
    CFrameWnd* GetDockingFrame() const { return m_frame; }

    // The sizes the bar's window keeps to, whole window in pixels (the frame asks for them as the
    // bar is created, docked, floated or shown): the least and the largest, and the size it takes
    // docked or floating. By default no limits and the size it has.
    virtual void GetBarSizeLimits(CSize* minSize, CSize* maxSize) const;
    virtual CSize GetBarSize(BOOL bFloating);
    // Applies the limits, and the bar's size unless onlyLimits.
    void ApplyBarSize(bool onlyLimits = false);

    // Docks the bar at the left edge.
    void Dock();
    // Floats the bar with its upper-left corner at a screen point.
    void Float(CPoint point);
    void ShowBar(BOOL bShow);
    BOOL IsBarVisible() const;

    void SetWindowText(std::string_view text) override;
    std::string GetWindowText() const override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

private:
    // Gives the window that whole size (docked at a side: its width).
    void ResizeBar(CSize size);

    CFrameWnd* m_frame = nullptr;
    DWORD m_style = 0;
    DWORD m_dockStyle = 0;
    struct DockData;
    std::unique_ptr<DockData> m_dock;
};
