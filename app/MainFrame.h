// The main window: the main menu and accelerators of resource 128, the status bar with the
// coordinate panes, the program's 18 toolbars (the zoom combo and the attribute controls live in
// three of them), and the drawing view in its client area. It restores its placement and the bars'
// layout from the profile and writes them back, with the program's settings, when it closes. It is
// the tools' view of the attribute controls (MAttributeControls).
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/parts/PartsDialogBar.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/ToolBar.h"
#include "tools/input/AttributeControls.h"
#include "view/ViewFrame.h"
#include "widgets/ArrowStyleCombo.h"
#include "widgets/ColorButtons.h"
#include "widgets/LineStyleCombo.h"
#include "widgets/NameComboBox.h"
#include "widgets/SizeComboBox.h"

class MTessarayDoc;
class MTessarayView;

class MMainFrame : public CFrameWnd, public MViewFrame, public MAttributeControls {
public:
    static constexpr int kToolBarCount = 18;
    // The toolbars' resource ids in the frame's order (rows of four at the top).
    static const std::array<UINT, kToolBarCount> kToolBarIds;
    // The version of the saved bar layout: it changes with the toolbars and their buttons, so a
    // layout saved by a build with other bars is not taken.
    static int ToolBarLayoutVersion();

    MMainFrame();
    ~MMainFrame() override;

    // Creates the (hidden) window with its bars and the view of the document.
    BOOL Create(MTessarayDoc* doc);
    MTessarayView* GetView() const { return m_view.get(); }
    CStatusBar& GetStatusBarCtrl() { return m_statusBar; }
    CToolBar& GetToolBar(int index) { return m_toolBars.at(static_cast<std::size_t>(index)); }
    CToolBar& GetZoomToolBar() { return GetToolBar(kZoomBarIndex); }
    MSizeComboBox& GetZoomCombo() { return m_zoomCombo; }
    // The attribute control of that id (262, 1269-1278, 33045, 33047), or null.
    CWnd* GetAttributeControl(UINT id);

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
    // The attribute sub-menus: line colours 200-215, fill colours 300-315, line styles 400-408.
    BOOL MakeAttributeMenu(UINT itemId, CMenu* popup) override;

    // The parts bar (MainFrameParts.cpp).
    MPartsDialogBar& GetPartsBar() { return m_partsBar; }
    BOOL IsPartsBarDockable() const { return m_partsDockable; }
    void LoadPartsLists() override;
    MCadParts* GetSelectedParts() override;
    // True when the current list owns the part and its file was written. With no list the add-tab
    // road runs first; on a failed write the part is taken out of the list again and dropped.
    bool AddPartsToCurrentList(std::unique_ptr<MCadParts> part) override;

    // The values of the attribute combos, taken to two decimals; SetX shows the value.
    double GetLineWidth() const;
    void SetLineWidth(double width);
    double GetStartArrowSize() const;
    void SetStartArrowSize(double size);
    double GetEndArrowSize() const;
    void SetEndArrowSize(double size);
    double GetFontSize() const;
    void SetFontSize(double size);
    std::string GetFontName() const;
    void SetFontName(const std::string& name);

    // MAttributeControls over the eleven controls.
    std::optional<COLORREF> GetColor(UINT id) override;
    std::optional<MFillStyle> GetFill(UINT id) override;
    std::optional<int> GetIndex(UINT id) override;
    std::optional<double> GetNumber(UINT id) override;
    std::optional<std::string> GetText(UINT id) override;
    void SetColor(UINT id, COLORREF color) override;
    void SetFill(UINT id, const MFillStyle& fill) override;
    void SetIndex(UINT id, int value) override;
    void SetNumber(UINT id, double value) override;
    void SetText(UINT id, const std::string& text) override;
    bool HasFocus(UINT id) override;

    // Both refuse while a DXF import dispatches window events (the drawing is being built).
    void OnClose() override;
    // Opens the first file as File > Open does (a single drawing is open at a time).
    void OnDropFiles(const std::vector<std::string>& paths) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

private:
    static constexpr int kZoomBarIndex = 2;

    // MainFrameBars.cpp
    BOOL CreateToolBars();
    void DockToolBars();
    void RestoreBarState();
    void OnToolbarDialog();
    // MainFrameParts.cpp
    void RegisterPartsCommands();
    BOOL CreatePartsBar();
    void OnShowPartsBar();
    void OnPartsDocking();
    void AddPartsTab(int position);
    void RenamePartsTab();
    void MovePartsTab();
    void DeletePartsTab();
    void RenamePart();
    void DeletePart();
    void ImportJwkParts();
    // Dragging a part into the drawing: the bar starts it, the view hands its phases here.
    void StartPartsDrag(int item);
    void AcceptPartsDrags();
    bool OnPartsDrag(int phase, const std::string& data, UINT flags, CPoint point);
    // MainFrameControls.cpp
    BOOL CreateControls();
    void SetControlFont();
    void FillControls();
    void ReadFontSettings();
    void PatchMenu();
    MSizeComboBox* NumberCombo(UINT id);

    std::unique_ptr<MTessarayView> m_view;
    CStatusBar m_statusBar;
    MPartsDialogBar m_partsBar;
    // May the parts bar dock ("ToolBar"/"PartsDialog")?
    BOOL m_partsDockable = TRUE;
    // A dragged part is in the view, held by the select tool.
    bool m_partInView = false;
    std::array<CToolBar, kToolBarCount> m_toolBars;
    CFont m_controlFont;
    // The controls sit on the bars: they go first.
    MSizeComboBox m_zoomCombo;
    MNameComboBox m_fontNameCombo;
    MSizeComboBox m_fontSizeCombo;
    MLineColorButton m_textColorButton;
    MLineColorButton m_lineColorButton;
    MFaceColorButton m_faceColorButton;
    MLineStyleCombo m_lineStyleCombo;
    MWidthComboBox m_lineWidthCombo;
    MArrowStyleCombo m_startArrowCombo;
    MArrowSizeComboBox m_startArrowSizeCombo;
    MArrowStyleCombo m_endArrowCombo;
    MArrowSizeComboBox m_endArrowSizeCombo;
};
