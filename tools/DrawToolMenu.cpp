// The tool base: the right click: coordinate entry, numeric entry or the context menu.
#include "platform/Strings.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"
#include "tools/DrawMenu.h"
#include "tools/DrawTool.h"
#include "tools/DrawToolArray.h"
#include "view/TessarayView.h"
#include "view/ViewFrame.h"

namespace {

bool IsRegistered(const MDrawTool* tool) {
    const MDrawToolArray& tools = GetDrawToolArray();
    for (int i = 0; i < tools.GetToolCount(); ++i)
        if (tools.GetToolAt(i) == tool) return true;
    return false;
}

// The menu text of a command: its string up to the first line end.
std::string MenuText(UINT id) {
    const std::string text = AfxLoadString(id);
    return text.substr(0, text.find('\n'));
}

// The right click's menu: built by the tool, shown at the click.
void RunContextMenu(MDrawTool& tool, MTessarayView* view, int x, int y) {
    MDrawMenu menu;
    tool.BuildContextMenu(view, &menu, x, y);
    CPoint screen(x, y);
    view->ClientToScreen(&screen);
    // The chosen command takes the frame's road, which offers it to the current tool first.
    CWnd* owner = AfxGetMainWnd();
    menu.TrackPopupMenu(TPM_LEFTALIGN, screen.x, screen.y, owner ? owner : view);
}

void AddViewMenuItems(MDrawMenu* menu) {
    MViewFrame* frame = GetViewFrame();
    if (!frame) return;
    for (UINT id : {ID_MENU_LINE_STYLE, ID_MENU_LINE_COLOR, ID_MENU_FACE_COLOR}) {
        CMenu popup;
        popup.CreatePopupMenu();
        if (!frame->MakeAttributeMenu(id, &popup)) continue;
        const std::string text = menu->GetMenuString(id, MF_BYCOMMAND);
        menu->ModifyMenu(id, MF_BYCOMMAND | MF_POPUP, text, std::move(popup));
    }
}

void AddRecentToolItems(MDrawMenu* menu) {
    for (int i = kRecentToolCount - 1; i >= 0; --i) {
        const MDrawTool* tool = GetRecentTool(i);
        if (!tool || !IsRegistered(tool)) continue;
        menu->InsertMenu(ID_RECENT_TOOLS, MF_BYCOMMAND | MF_STRING, tool->GetCommandId(), tool->GetTitle());
    }
    menu->DeleteMenu(ID_RECENT_TOOLS, MF_BYCOMMAND);
}

// The constraint, decide and cancel groups the tool offers now.
void AddSnapMenuItems(MDrawTool& tool, MDrawMenu* menu) {
    // Each insertion goes to the top, so the groups are added from the bottom up.
    const auto item = [menu](UINT id) { menu->InsertMenu(0, MF_BYPOSITION | MF_STRING, id, MenuText(id)); };
    const auto separator = [menu] { menu->InsertMenu(0, MF_BYPOSITION | MF_SEPARATOR); };
    if (tool.IsConstrained() || tool.GetPointConstraint().HasEntry()) {
        separator();
        item(ID_RELEASE_CONSTRAINT);
    }
    bool groupOpen = false;
    const auto openGroup = [&] {
        if (!groupOpen) separator();
        groupOpen = true;
    };
    const unsigned modes = tool.GetConstraintModes();
    if (modes & kModeTouch) {
        openGroup();
        item(ID_TOUCH);
    }
    if (modes & kModeTangent) {
        openGroup();
        item(ID_TANGENT);
    }
    // The angle item stands with the perpendicular one; its command asks for a direction.
    if (modes & kModePerpendicular) {
        openGroup();
        item(ID_ANGLE_CONSTRAINT);
        item(ID_PERPENDICULAR);
    }
    if (modes & kModeParallel) {
        openGroup();
        item(ID_PARALLEL);
    }
    groupOpen = false;
    if (tool.CanCancel()) {
        openGroup();
        item(ID_CANCEL_DRAWING);
    }
    if (tool.CanDecide()) {
        openGroup();
        item(ID_DECIDE);
    }
}

}  // namespace

void MDrawTool::OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    RunGuarded(view, [&] {
        m_contextPoint = m_pointerPoint = CPoint(x, y);
        if (flags & MK_SHIFT)
            OnCoordinateInput(view, &m_contextPoint, flags & ~static_cast<UINT>(MK_SHIFT));
        else if (flags & MK_CONTROL)
            RunNumericInput(view);
        else
            RunContextMenu(*this, view, x, y);
    });
}

void MDrawTool::BuildContextMenu(MTessarayView*, MDrawMenu* menu, int, int) {
    menu->AttachSubMenu(IDR_TOOL_MENU, kToolMenuStandard);
    AddToolMenuItems(*this, menu);
}

void AddToolMenuItems(MDrawTool& tool, MDrawMenu* menu) {
    AddViewMenuItems(menu);
    AddRecentToolItems(menu);
    AddSnapMenuItems(tool, menu);
}
