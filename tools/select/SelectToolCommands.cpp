// The select tool's command table: the arrangement and transform commands with their enabling
// rules (n selected shapes; "picking" while no copies are dragged).
#include <cmath>

#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/ui/CmdUI.h"
#include "resources/ResourceIds.h"
#include "tools/PickList.h"
#include "tools/select/SelectTool.h"

namespace {

template <class T>
bool AllOf(const MSelectTool& tool) {
    for (int i = 0; i < tool.GetPickCount(); ++i)
        if (!dynamic_cast<const T*>(tool.GetPickShape(i))) return false;
    return true;
}

}  // namespace

void MSelectTool::RegisterArrangeCommands() {
    CCommandMap& map = Commands();
    const auto enableWhen = [this](auto rule) { return [this, rule](CCmdUI* ui) { ui->Enable(rule()); }; };
    const auto some = [this] { return GetPickCount() > 0; };
    const auto several = [this] { return GetPickCount() > 1; };
    const auto three = [this] { return GetPickCount() > 2; };
    const auto flipX = [this] {
        return GetPickCount() > 0 && IsPickMode() && GetPickArray()->SupportsEdit1();
    };
    const auto flipY = [this] {
        return GetPickCount() > 0 && IsPickMode() && GetPickArray()->SupportsEdit2();
    };
    const auto turn = [this] {
        return GetPickCount() > 0 && IsPickMode() && GetPickArray()->SupportsEdit3();
    };
    const auto groups = [this] { return GetPickCount() > 0 && AllOf<MGroupShape>(*this); };
    const auto polygons = [this] {
        return GetPickCount() > 0 && IsPickMode() && AllOf<MPolygonShape>(*this);
    };
    const auto join = [this] {
        return GetPickCount() > 1 || (GetPickCount() == 1 && AllOf<MPolygonShape>(*this));
    };
    const auto editable = [this] { return GetPickCount() == 1 && GetPickShape(0)->CanEdit(); };

    map.OnCommand(
        ID_GROUP, [this] { Group(m_view); }, enableWhen(some));
    map.OnCommand(
        ID_UNGROUP, [this] { Ungroup(m_view); }, enableWhen(groups));
    map.OnCommand(
        ID_MIRROR_X, [this] { FlipHorizontal(m_view); }, enableWhen(flipX));
    map.OnCommand(
        ID_MIRROR_Y, [this] { FlipVertical(m_view); }, enableWhen(flipY));
    map.OnCommand(
        ID_ROTATE_LEFT, [this] { RotateSelection(m_view, M_PI / 2); }, enableWhen(turn));
    map.OnCommand(
        ID_ROTATE_RIGHT, [this] { RotateSelection(m_view, -M_PI / 2); }, enableWhen(turn));
    map.OnCommand(
        ID_BRING_TO_FRONT, [this] { MoveToTop(m_view); }, enableWhen(some));
    map.OnCommand(
        ID_SEND_TO_BACK, [this] { MoveToBottom(m_view); }, enableWhen(some));
    for (UINT id :
         {ID_ALIGN_LEFT, ID_ALIGN_TOP, ID_ALIGN_BOTTOM, ID_ALIGN_BASE_X, ID_ALIGN_BASE_Y, ID_ALIGN_RIGHT})
        map.OnCommand(
            id, [this, id] { Align(m_view, id); }, enableWhen(several));
    map.OnCommand(
        ID_SPACE_EVENLY_X, [this] { Distribute(m_view, FALSE); }, enableWhen(three));
    map.OnCommand(
        ID_SPACE_EVENLY_Y, [this] { Distribute(m_view, TRUE); }, enableWhen(three));
    map.OnCommand(
        ID_EXPLODE_TO_LINES, [this] { ExplodeToLines(m_view); }, enableWhen(polygons));
    map.OnCommand(
        ID_JOIN_POLYLINE, [this] { JoinIntoPolyline(m_view); }, enableWhen(join));
    map.OnCommand(
        ID_EDIT_SHAPE, [this] { EditShape(m_view); }, enableWhen(editable));
    map.OnCommand(
        ID_ROTATE_LEFT_HERE, [this] { RotateHere(m_view, 1); }, enableWhen(some));
    map.OnCommand(
        ID_ROTATE_RIGHT_HERE, [this] { RotateHere(m_view, -1); }, enableWhen(some));
    map.OnCommand(
        ID_MIRROR_X_HERE, [this] { FlipHere(m_view, 'x'); }, enableWhen(some));
    map.OnCommand(
        ID_MIRROR_Y_HERE, [this] { FlipHere(m_view, 'y'); }, enableWhen(some));
    map.OnCommand(
        ID_ROTATE_ANGLE, [this] { RotateByDialog(m_view); }, enableWhen(turn));
    map.OnCommand(
        ID_SCALE_SHAPES, [this] { ScaleByDialog(m_view); }, enableWhen(some));
    map.OnCommand(
        ID_MOVE_SHAPES, [this] { MoveByDialog(m_view); }, enableWhen(some));
    map.OnCommand(
        ID_MOVE_TO_LAYER, [this] { OnMoveToLayer(m_view); }, enableWhen(some));
    const auto oneGroup = [this] { return GetPickCount() == 1 && AllOf<MGroupShape>(*this); };
    map.OnCommand(
        ID_ADD_PART, [this] { RegisterAsPart(m_view); }, enableWhen(oneGroup));
    // The items the context menu inserts: their rules look at the shapes under the context point.
    map.OnCommand(
        ID_SET_REFERENCE_POINT, [this] { SetReferencePoint(m_view); },
        enableWhen([this] { return CanSetReferencePoint(m_view); }));
    map.OnCommand(
        IDS_MIRROR_COPY_ON_LINE, [this] { MirrorCopyOnLine(m_view); },
        enableWhen([this] { return FindMirrorLine(m_view) != nullptr; }));
}
