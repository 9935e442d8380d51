// The select tool's context menu and the two commands that depend on where it was opened: the
// reference point of a group and the mirror copy across a line.
#include <cmath>
#include <memory>
#include <string>

#include "model/geometry/Geometry.h"
#include "model/shapes/PointEdit.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "tools/DrawMenu.h"
#include "tools/PickList.h"
#include "tools/select/SelectTool.h"
#include "view/TessarayView.h"

namespace {

constexpr double kTinyLength = 1e-12;

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
    const BOOL selection = GetPickCount() > 0;
    const int first = !selection      ? kToolMenuNoSelection
                      : PointEditMode ? kToolMenuPointEdit
                                      : kToolMenuSelection;
    menu->AttachSubMenu(IDR_TOOL_MENU, first);
    if (first == kToolMenuPointEdit) AppendToolPopup(menu, kToolMenuSelection);
    AppendToolPopup(menu, kToolMenuStandard);
    if (selection && view) {
        if (FindMirrorLine(view)) InsertOnTop(menu, IDS_MIRROR_COPY_ON_LINE);
        if (CanSetReferencePoint(view)) InsertOnTop(menu, ID_SET_REFERENCE_POINT);
    }
    AddToolMenuItems(*this, menu);
}

BOOL MSelectTool::CanSetReferencePoint(MTessarayView* view) {
    if (GetPickCount() != 1 || !view) return FALSE;
    const auto* group = dynamic_cast<const MGroupShape*>(GetPickShape(0));
    if (!group || !group->IsPlainGroup()) return FALSE;
    const MFloatPoint p = ContextPoint(view);
    MFloatRect e = group->GetExtent();
    e.Normalize();
    return p.x >= e.left && p.x <= e.right && p.y >= e.bottom && p.y <= e.top;
}

void MSelectTool::SetReferencePoint(MTessarayView* view) {
    if (!IsPickMode() || !CanSetReferencePoint(view)) return;
    const MFloatPoint p = ContextPoint(view);
    ReplaceSelection(view, [&](MCadShape* s) {
        auto* copy = static_cast<MGroupShape*>(s->Duplicate());
        copy->SetBasePoint(p);
        return copy;
    });
}

const MLineShape* MSelectTool::FindMirrorLine(MTessarayView* view) {
    if (GetPickCount() == 0 || !view) return nullptr;
    ContextPoint(view);
    for (MCadShape* shape : {GetSnapRecord().shape1, GetSnapRecord().shape2}) {
        const auto* line = dynamic_cast<const MLineShape*>(shape);
        if (!line || GetPickArray()->Find(shape) >= 0) continue;
        // A line of no length has no direction to mirror across.
        if ((line->m_end - line->m_start).GetLength() > kTinyLength) return line;
    }
    return nullptr;
}

void MSelectTool::MirrorCopyOnLine(MTessarayView* view) {
    if (!IsPickMode()) return;
    const MLineShape* line = FindMirrorLine(view);
    if (!line) return;
    const MFloatPoint a = line->m_start, b = line->m_end;
    // A mirror across the line is a left-right flip turned by twice the normal's direction; the
    // normal, not the way to the line, so that shapes centred on the line turn as well.
    const double turn = 2 * ((b - a).GetAngle() + M_PI / 2);
    HideHandles(view);
    for (int i = 0; i < GetPickCount(); ++i) {
        const MCadShape* s = GetPickShape(i);
        const MFloatPoint c = s->GetCenter();
        MFloatPoint foot;
        GetPerpendicularFoot(&foot, a, b, c);
        std::unique_ptr<MCadShape> flipped(s->CreateMirroredX(c.x, c.y));
        std::unique_ptr<MCadShape> copy(flipped ? flipped->CreateRotated(c.x, c.y, turn) : nullptr);
        if (!copy) continue;
        copy->Move((foot - c) * 2);
        AddNewShapeExpanded(copy.get(), GetPickLayer(i));
        copy.release();
    }
    Commit(view, FALSE, TRUE);
    ShowHandles(view);
}
