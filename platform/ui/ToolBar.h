// A toolbar of command buttons. A button's tip is the part after "\n" of the string of its id (the
// text before it is the status prompt); its picture is the picture resource of its id, drawn at
// the screen's pixel ratio. Clicks are sent to the frame as commands; the buttons are enabled and
// checked by the update handlers when idle (while the bar is shown).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/Wnd.h"
#include "resources/ResourceIds.h"

class CCmdTarget;
class CFrameWnd;

enum : UINT { TBSTATE_CHECKED = 0x01, TBSTATE_ENABLED = 0x04 };

class CToolBar : public CWnd {
public:
    // The standard button of the class library's toolbars (16 x 15 images).
    static constexpr int kButtonWidth = 23;
    static constexpr int kButtonHeight = 22;
    static constexpr int kSeparatorWidth = 8;

    ~CToolBar() override;
    BOOL Create(CFrameWnd* pParent, UINT nID = AFX_IDW_TOOLBAR);
    // ID_SEPARATOR makes a gap.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    // The buttons of toolbar resource nIDResource (resources/toolbars.inc); FALSE when there is
    // none.
    BOOL LoadToolBar(UINT nIDResource);
    // Button nIndex shows a picture (a button without one shows its tip as text).
    BOOL HasButtonPicture(int nIndex) const;
    std::string GetButtonTip(int nIndex) const;
    int GetCount() const { return static_cast<int>(m_ids.size()); }
    int CommandToIndex(UINT nID) const;
    UINT GetItemID(int nIndex) const;
    // TBSTATE_ENABLED and TBSTATE_CHECKED.
    UINT GetButtonState(int nIndex) const;
    std::string GetButtonText(int nIndex) const;
    // As the user's click on the button.
    void ClickButton(int nIndex);
    // Puts a control (a combo box, a button of its own) in place of the button at nIndex, as the
    // program's toolbars place controls over a separator. The control keeps its command id in the
    // idle update pass (without an update handler that disables it, it stays enabled); the toolbar
    // does not own it.
    BOOL SetButtonControl(int nIndex, CWnd* pControl);
    // The slot of item nIndex as the bar lays its items out: buttons kButtonWidth x kButtonHeight,
    // separators kSeparatorWidth wide, controls as wide as they are. FALSE for a bad index.
    BOOL GetItemRect(int nIndex, CRect* lpRect) const;
    // The notifications of the bar's controls go on to the frame, as a control bar passes them to
    // its owner.
    BOOL OnCommand(UINT nID, int nCode, CWnd* pCtrl) override;
    BOOL OnNotify(NMHDR* pNMHDR, LRESULT* pResult) override;
    void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
    // The frame is going away before the bar.
    void ForgetFrame() { m_pFrame = nullptr; }

private:
    std::vector<UINT> m_ids;
    CFrameWnd* m_pFrame = nullptr;
};
