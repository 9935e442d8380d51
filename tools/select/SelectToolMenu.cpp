// The select tool's context menu; the reference point and the mirror copy it offers at the top are
// edits of the selection.
#include <memory>
#include <string>

#include "model/shapes/PointEdit.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "tools/DrawMenu.h"
#include "tools/select/SelectionEdits.h"
#include "view/TessarayView.h"

namespace {

// Appends the items of popup `index` of the tools' menu, sub-menus and all.
void AppendToolPopup(CMenu* menu, int index) {
    MDrawMenu popup;
    if (!popup.AttachSubMenu(IDR_TOOL_MENU, index)) return;
    while (popup.GetMenuItemCount() > 0) {
        const CMenu::Item& item = popup.Items().front();
        if (item.popup) {
            const std::string text = item.text;
            std::unique_ptr<CMenu> sub = popup.RemoveSubMenu(0);
            menu->AppendMenu(text, std::move(*sub));
        } else {
            menu->AppendMenu(item.flags, item.id, item.text);
            popup.DeleteMenu(0, MF_BYPOSITION);
        }
    }
}

// Inserts the command's item and a separator below it at the top of the menu.
void InsertOnTop(CMenu* menu, UINT id) {
    menu->InsertMenu(0, MF_BYPOSITION | MF_SEPARATOR);
    menu->InsertMenu(0, MF_BYPOSITION | MF_STRING, id, AfxLoadString(id));
}

}  // namespace

void MSelectTool::BuildContextMenu(MTessarayView* view, MDrawMenu* menu, int, int) {
    const BOOL selection = Lists().PickCount() > 0;
    const int first = !selection      ? kToolMenuNoSelection
                      : PointEditMode ? kToolMenuPointEdit
                                      : kToolMenuSelection;
    menu->AttachSubMenu(IDR_TOOL_MENU, first);
    if (first == kToolMenuPointEdit) AppendToolPopup(menu, kToolMenuSelection);
    AppendToolPopup(menu, kToolMenuStandard);
    if (selection && view) {
        if (m_edits->FindMirrorLine(view)) InsertOnTop(menu, IDS_MIRROR_COPY_ON_LINE);
        if (m_edits->CanSetReferencePoint(view)) InsertOnTop(menu, ID_SET_REFERENCE_POINT);
    }
    AddToolMenuItems(*this, menu);
}
