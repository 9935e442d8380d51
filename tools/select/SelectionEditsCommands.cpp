// The commands of the selection's edits with their enabling rules (n selected shapes; "picking"
// while no copies are dragged), in the select tool's command map.
#include <cmath>

#include "model/shapes/ShapeEditors.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/ui/CmdUI.h"
#include "resources/ResourceIds.h"
#include "tools/PickList.h"
#include "tools/select/SelectionEdits.h"

namespace {

template <class T>
bool AllOf(const MSelectTool& tool) {
    for (int i = 0; i < tool.Lists().PickCount(); ++i)
        if (!dynamic_cast<const T*>(tool.Lists().Pick(i))) return false;
    return true;
}

}  // namespace

void MSelectionEdits::RegisterCommands() {
    CCommandMap& map = m_tool.Commands();
    const auto enableWhen = [](auto rule) { return [rule](CCmdUI* ui) { ui->Enable(rule()); }; };
    const auto some = [this] { return m_tool.Lists().PickCount() > 0; };
    const auto several = [this] { return m_tool.Lists().PickCount() > 1; };
    const auto three = [this] { return m_tool.Lists().PickCount() > 2; };
    const auto flipX = [this] {
        return m_tool.Lists().PickCount() > 0 && m_tool.IsPickMode() &&
               m_tool.Lists().Picks().SupportsEdit1();
    };
    const auto flipY = [this] {
        return m_tool.Lists().PickCount() > 0 && m_tool.IsPickMode() &&
               m_tool.Lists().Picks().SupportsEdit2();
    };
    const auto turn = [this] {
        return m_tool.Lists().PickCount() > 0 && m_tool.IsPickMode() &&
               m_tool.Lists().Picks().SupportsEdit3();
    };
    const auto groups = [this] { return m_tool.Lists().PickCount() > 0 && AllOf<MGroupShape>(m_tool); };
    const auto polygons = [this] {
        return m_tool.Lists().PickCount() > 0 && m_tool.IsPickMode() && AllOf<MPolygonShape>(m_tool);
    };
    const auto join = [this] {
        return m_tool.Lists().PickCount() > 1 ||
               (m_tool.Lists().PickCount() == 1 && AllOf<MPolygonShape>(m_tool));
    };
    const auto editable = [this] {
        return m_tool.Lists().PickCount() == 1 && CanEditShape(*m_tool.Lists().Pick(0));
    };

    map.OnCommand(
        ID_GROUP, [this] { Group(m_tool.GetView()); }, enableWhen(some));
    map.OnCommand(
        ID_UNGROUP, [this] { Ungroup(m_tool.GetView()); }, enableWhen(groups));
    map.OnCommand(
        ID_MIRROR_X, [this] { Flip(m_tool.GetView(), 'x'); }, enableWhen(flipX));
    map.OnCommand(
        ID_MIRROR_Y, [this] { Flip(m_tool.GetView(), 'y'); }, enableWhen(flipY));
    map.OnCommand(
        ID_ROTATE_LEFT, [this] { Rotate(m_tool.GetView(), M_PI / 2); }, enableWhen(turn));
    map.OnCommand(
        ID_ROTATE_RIGHT, [this] { Rotate(m_tool.GetView(), -M_PI / 2); }, enableWhen(turn));
    map.OnCommand(
        ID_BRING_TO_FRONT, [this] { MoveInOrder(m_tool.GetView(), -1); }, enableWhen(some));
    map.OnCommand(
        ID_SEND_TO_BACK, [this] { MoveInOrder(m_tool.GetView(), 0); }, enableWhen(some));
    for (UINT id :
         {ID_ALIGN_LEFT, ID_ALIGN_TOP, ID_ALIGN_BOTTOM, ID_ALIGN_BASE_X, ID_ALIGN_BASE_Y, ID_ALIGN_RIGHT})
        map.OnCommand(
            id, [this, id] { Align(m_tool.GetView(), id); }, enableWhen(several));
    map.OnCommand(
        ID_SPACE_EVENLY_X, [this] { Distribute(m_tool.GetView(), FALSE); }, enableWhen(three));
    map.OnCommand(
        ID_SPACE_EVENLY_Y, [this] { Distribute(m_tool.GetView(), TRUE); }, enableWhen(three));
    map.OnCommand(
        ID_EXPLODE_TO_LINES, [this] { ExplodeToLines(m_tool.GetView()); }, enableWhen(polygons));
    map.OnCommand(
        ID_JOIN_POLYLINE, [this] { JoinIntoPolyline(m_tool.GetView()); }, enableWhen(join));
    map.OnCommand(
        ID_EDIT_SHAPE, [this] { EditShape(m_tool.GetView()); }, enableWhen(editable));
    map.OnCommand(
        ID_ROTATE_LEFT_HERE, [this] { RotateHere(m_tool.GetView(), 1); }, enableWhen(some));
    map.OnCommand(
        ID_ROTATE_RIGHT_HERE, [this] { RotateHere(m_tool.GetView(), -1); }, enableWhen(some));
    map.OnCommand(
        ID_MIRROR_X_HERE, [this] { FlipHere(m_tool.GetView(), 'x'); }, enableWhen(some));
    map.OnCommand(
        ID_MIRROR_Y_HERE, [this] { FlipHere(m_tool.GetView(), 'y'); }, enableWhen(some));
    map.OnCommand(
        ID_ROTATE_ANGLE, [this] { RotateByDialog(m_tool.GetView()); }, enableWhen(turn));
    map.OnCommand(
        ID_SCALE_SHAPES, [this] { ScaleByDialog(m_tool.GetView()); }, enableWhen(some));
    map.OnCommand(
        ID_MOVE_SHAPES, [this] { MoveByDialog(m_tool.GetView()); }, enableWhen(some));
    map.OnCommand(
        ID_MOVE_TO_LAYER, [this] { MoveToLayer(m_tool.GetView()); }, enableWhen(some));
    const auto oneGroup = [this] { return m_tool.Lists().PickCount() == 1 && AllOf<MGroupShape>(m_tool); };
    map.OnCommand(
        ID_ADD_PART, [this] { RegisterAsPart(m_tool.GetView()); }, enableWhen(oneGroup));
    // The items the context menu inserts: their rules look at the shapes under the context point.
    map.OnCommand(
        ID_SET_REFERENCE_POINT, [this] { SetReferencePoint(m_tool.GetView()); },
        enableWhen([this] { return CanSetReferencePoint(m_tool.GetView()); }));
    map.OnCommand(
        IDS_MIRROR_COPY_ON_LINE, [this] { MirrorCopyOnLine(m_tool.GetView()); },
        enableWhen([this] { return FindMirrorLine(m_tool.GetView()) != nullptr; }));
}
