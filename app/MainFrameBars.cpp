// The frame's toolbars: creation from the toolbar resources, the rows at the top, the layout kept
// in the profile, and the toolbar dialog.
#include <QWidget>

#include "app/MainFrame.h"
#include "app/bars/ToolbarDialog.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "resources/ResourceFormats.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kBarsPerRow = 4;
constexpr int kBarStateVersion = 2;

// Shown at the first start: the file, zoom, text and figure-style bars.
bool ShownByDefault(UINT id) {
    return id == IDR_MAINFRAME || id == IDR_ZOOM_BAR || id == IDR_TEXT_BAR || id == IDR_STYLE_BAR;
}

}  // namespace

const std::array<UINT, MMainFrame::kToolBarCount> MMainFrame::kToolBarIds = {
    IDR_MAINFRAME,   IDR_PRINT_BAR,  IDR_ZOOM_BAR,    IDR_SNAP_BAR,   IDR_LAYER_VIEW_BAR, IDR_LAYER_BAR,
    IDR_SHAPE_BAR,   IDR_MODIFY_BAR, IDR_LINE_BAR,    IDR_CIRCLE_BAR, IDR_POLYGON_BAR,    IDR_DIMENSION_BAR,
    IDR_ARRANGE_BAR, IDR_COPY_BAR,   IDR_MEASURE_BAR, IDR_TEXT_BAR,   IDR_STYLE_BAR,      IDR_EDIT_BAR};

int MMainFrame::ToolBarLayoutVersion() {
    // FNV-1a over the bars' ids and their items, kept positive.
    std::uint32_t hash = 2166136261u;
    const auto mix = [&hash](std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (value >> shift) & 0xFFu;
            hash *= 16777619u;
        }
    };
    for (UINT id : kToolBarIds) {
        mix(id);
        for (const ToolbarTemplateItem* item = FindToolbarTemplate(id);
             item && item->op != ToolbarOp::End && item->op != ToolbarOp::Begin; ++item)
            mix(item->op == ToolbarOp::Button ? item->id : 0u);
    }
    return static_cast<int>(hash & 0x7FFFFFFFu);
}

BOOL MMainFrame::CreateToolBars() {
    for (int i = 0; i < kToolBarCount; ++i) {
        const UINT id = kToolBarIds[static_cast<std::size_t>(i)];
        CToolBar& bar = GetToolBar(i);
        if (!bar.Create(this, i == 0 ? AFX_IDW_TOOLBAR : id) || !bar.LoadToolBar(id)) return FALSE;
        bar.SetWindowText(AfxLoadString(i == 0 ? IDS_FILE_BAR_TITLE : id));
        ShowControlBar(&bar, ShownByDefault(id) ? TRUE : FALSE, FALSE);
    }
    return TRUE;
}

void MMainFrame::DockToolBars() {
    for (int i = 0; i < kToolBarCount; ++i) {
        if (i % kBarsPerRow == 0)
            DockControlBar(&GetToolBar(i));
        else
            DockControlBarLeftOf(&GetToolBar(i), &GetToolBar(i - 1));
    }
}

void MMainFrame::RestoreBarState() {
    CProfile& profile = AfxGetProfile();
    if (profile.GetProfileInt("VERSION", "TOOLBAR", 0) != kBarStateVersion ||
        profile.GetProfileInt("INIT", "SETTING", -1) == 0)
        return;
    // Stays 0 until creation ends: a start that fails while restoring does not restore again.
    profile.WriteProfileInt("INIT", "SETTING", 0);
    LoadBarState("ToolBar", ToolBarLayoutVersion());
}

void MMainFrame::OnToolbarDialog() {
    MToolbarDialog dialog(this);
    for (int i = 0; i < kToolBarCount; ++i) {
        CToolBar& bar = GetToolBar(i);
        dialog.SetToolbar(i, bar.GetWindowText(), bar.GetWidget()->isHidden() ? 0 : 1);
    }
    if (dialog.DoModal() != IDOK) return;
    for (int i = 0; i < kToolBarCount; ++i)
        ShowControlBar(&GetToolBar(i), dialog.GetVisible(i) ? TRUE : FALSE, FALSE);
}
