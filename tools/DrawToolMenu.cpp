// The tool base: the context menu of a right click.
#include "platform/Strings.h"
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

}  // namespace

void MDrawTool::RunContextMenu(MTessarayView* view, int x, int y) {
    MDrawMenu menu;
    BuildContextMenu(view, &menu, x, y);
    CPoint screen(x, y);
    view->ClientToScreen(&screen);
    // The chosen command takes the frame's road, which offers it to the current tool first.
    CWnd* owner = AfxGetMainWnd();
    menu.TrackPopupMenu(TPM_LEFTALIGN, screen.x, screen.y, owner ? owner : view);
    AfterContextMenu(view, &menu);
}

void MDrawTool::BuildContextMenu(MTessarayView*, MDrawMenu* menu, int, int) {
    menu->AttachSubMenu(IDR_TOOL_MENU, kToolMenuStandard);
    AddViewMenuItems(menu);
    AddRecentToolItems(menu);
    AddSnapMenuItems(menu);
}

void MDrawTool::AddViewMenuItems(MDrawMenu* menu) {
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

void MDrawTool::AddRecentToolItems(MDrawMenu* menu) {
    for (int i = kRecentToolCount - 1; i >= 0; --i) {
        const MDrawTool* tool = GetRecentTool(i);
        if (!tool || !IsRegistered(tool)) continue;
        menu->InsertMenu(ID_RECENT_TOOLS, MF_BYCOMMAND | MF_STRING, tool->GetCommandId(), tool->GetTitle());
    }
    menu->DeleteMenu(ID_RECENT_TOOLS, MF_BYCOMMAND);
}

void MDrawTool::AddSnapMenuItems(MDrawMenu* menu) {
    // Each insertion goes to the top, so the groups are added from the bottom up.
    const auto item = [menu](UINT id) { menu->InsertMenu(0, MF_BYPOSITION | MF_STRING, id, MenuText(id)); };
    const auto separator = [menu] { menu->InsertMenu(0, MF_BYPOSITION | MF_SEPARATOR); };
    if (IsConstrained() || m_pointConstraint.HasEntry()) {
        separator();
        item(ID_RELEASE_CONSTRAINT);
    }
    bool groupOpen = false;
    const auto openGroup = [&] {
        if (!groupOpen) separator();
        groupOpen = true;
    };
    const unsigned modes = GetConstraintModes();
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
    if (CanCancel()) {
        openGroup();
        item(ID_CANCEL_DRAWING);
    }
    if (CanDecide()) {
        openGroup();
        item(ID_DECIDE);
    }
}
