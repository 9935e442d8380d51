// The status bar of a frame: panes by id. Pane 0 (ID_SEPARATOR) is the stretching message pane;
// every other pane is as wide as the string of its id (or as set) and shows its text only while
// enabled (an update handler that disables it blanks it, as the key-state panes do).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Wnd.h"
#include "resources/ResourceIds.h"

class CCmdTarget;
class CFrameWnd;

class CStatusBar : public CWnd {
public:
    ~CStatusBar() override;
    BOOL Create(CFrameWnd* pParent, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    int CommandToIndex(UINT nID) const;
    UINT GetItemID(int nIndex) const;
    BOOL SetPaneText(int nIndex, std::string_view text);
    std::string GetPaneText(int nIndex) const;
    // Widens the pane to fit `text` (the way panes are sized by sample texts).
    void SetPaneWidthByText(int nIndex, std::string_view text);
    void EnablePane(int nIndex, BOOL bEnable);
    BOOL IsPaneEnabled(int nIndex) const;
    // Runs the panes' update handlers along pTarget's route; panes without one keep their state.
    void OnUpdateCmdUI(CCmdTarget* pTarget);
    // The frame is going away before the bar.
    void ForgetFrame() { m_pFrame = nullptr; }

private:
    struct Pane {
        UINT id;
        std::string text;
        bool enabled;
        QWidget* label;
    };
    void Show(const Pane& pane) const;
    std::vector<Pane> m_panes;
    CFrameWnd* m_pFrame = nullptr;
};
