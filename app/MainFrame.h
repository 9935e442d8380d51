// The main window: the main menu and accelerators of resource 128, the status bar with the
// coordinate panes, the file and zoom toolbars (the zoom combo lives in the second), and the
// drawing view in its client area. It restores its placement from the profile when shown and
// writes it back, with the program's settings, when it closes.
#pragma once

#include <memory>
#include <string>

#include "platform/ui/FrameWnd.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/ToolBar.h"
#include "tools/controls/SizeComboBox.h"
#include "view/ViewFrame.h"

class MTessarayDoc;
class MTessarayView;

class MMainFrame : public CFrameWnd, public MViewFrame {
public:
    MMainFrame();
    ~MMainFrame() override;

    // Creates the (hidden) window with its bars and the view of the document.
    BOOL Create(MTessarayDoc* doc);
    MTessarayView* GetView() const { return m_view.get(); }
    CStatusBar& GetStatusBarCtrl() { return m_statusBar; }
    CToolBar& GetZoomToolBar() { return m_zoomBar; }
    MSizeComboBox& GetZoomCombo() { return m_zoomCombo; }

    // Shows the window with the placement saved in "Settings"/"WindowPos" when it parses into ten
    // numbers (its show state wins unless showCommand is another than -1 or SW_SHOWNORMAL), else
    // with showCommand.
    void RestoreWindowPlacement(int showCommand);
    // The placement text: flags, show command, minimised and maximised positions, normal rectangle.
    std::string FormatWindowPlacement() const;
    void SaveWindowPlacement() const;
    // Writes the settings the program keeps between runs.
    void SaveSettings();

    // The zoom combo.
    double GetZoomPercent() override;
    void SetZoomPercent(double percent) override;
    CWnd* GetZoomEdit() override { return &m_zoomCombo; }

    // Both refuse while a DXF import dispatches window events (the drawing is being built).
    void OnClose() override;
    // Opens the first file as File > Open does (a single drawing is open at a time).
    void OnDropFiles(const std::vector<std::string>& paths) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

private:
    std::unique_ptr<MTessarayView> m_view;
    CStatusBar m_statusBar;
    CToolBar m_fileBar;
    CToolBar m_zoomBar;
    MSizeComboBox m_zoomCombo;
};
