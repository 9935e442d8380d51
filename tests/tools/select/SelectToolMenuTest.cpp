// The select tool's context menu by state, and its two commands that act where it was opened: the
// reference point of a group and the mirror copy across a line. Double clicks edit a shape.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "model/SnapPoint.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "tests/tools/select/SelectTestSupport.h"

using namespace selecttest;

namespace {

MCadShape* ShapeOn(SelectHarness& h, int index) {
    return h.doc.GetLayers()->GetLayer(0)->GetAt(index);
}
MLineShape* LineOn(SelectHarness& h, int index) {
    return dynamic_cast<MLineShape*>(ShapeOn(h, index));
}
int Count(SelectHarness& h) {
    return h.doc.GetLayers()->GetLayer(0)->GetSize();
}
// The ids of the popup's own items from the top (0 for a separator).
std::vector<UINT> TopItems(SelectHarness& h) {
    std::vector<UINT> ids;
    if (h.dialogs.Popups().empty()) return ids;
    for (const DialogRunner::MenuItemState& item : h.dialogs.Popups().back().items)
        if (item.depth == 0) ids.push_back((item.flags & MF_SEPARATOR) ? 0 : item.id);
    return ids;
}
bool Holds(SelectHarness& h, UINT id) {
    for (const DialogRunner::MenuItemState& item : h.dialogs.Popups().back().items)
        if (item.id == id) return true;
    return false;
}
// Groups the lines under the pixel points; the group is the selection then.
void GroupAt(SelectHarness& h, const std::vector<MFloatPoint>& points) {
    for (std::size_t i = 0; i < points.size(); ++i)
        h.Click(points[i], i == 0 ? 0u : static_cast<UINT>(MK_SHIFT));
    h.view->SendCommand(ID_GROUP);
    ASSERT_EQ(h.Picks(), 1);
}

struct MenuHarness : SelectHarness {
    MenuHarness() {
        frame.SetActiveView(view.get());
        GetOptionRecord().m_snap = kSnapMidPoint;
    }
    ~MenuHarness() { frame.SetActiveView(nullptr); }
};

}  // namespace

TEST(SelectToolMenu, PopupFollowsTheSelectionAndPointEdit) {
    MenuHarness h;
    h.Line(0, 0, 100, 0);
    h.RightClick(h.P(300, 200));
    EXPECT_EQ(TopItems(h).front(), static_cast<UINT>(ID_EDIT_SELECT_ALL));
    EXPECT_TRUE(Holds(h, ID_SELECT_FILTER_OPTIONS));
    EXPECT_FALSE(Holds(h, ID_GROUP));
    EXPECT_TRUE(Holds(h, ID_EDIT_UNDO)) << "the standard items follow";
    EXPECT_FALSE(Holds(h, ID_RECENT_TOOLS)) << "the placeholder was filled";
    h.Click(h.P(50, 0));
    h.RightClick(h.P(300, 200));
    EXPECT_EQ(TopItems(h).front(), static_cast<UINT>(ID_GROUP));
    for (UINT id :
         {ID_ALIGN_LEFT, ID_SPACE_EVENLY_Y, ID_MIRROR_Y_HERE, ID_MOVE_TO_LAYER, ID_ADD_PART, ID_EDIT_UNDO})
        EXPECT_TRUE(Holds(h, id)) << id;
    EXPECT_FALSE(Holds(h, ID_ADD_POINT));
    h.view->SendCommand(ID_POINT_EDIT);
    h.RightClick(h.P(300, 200));
    EXPECT_EQ(TopItems(h).front(), static_cast<UINT>(ID_ADD_POINT));
    EXPECT_TRUE(Holds(h, ID_GROUP)) << "then the selection's items";
    EXPECT_TRUE(Holds(h, ID_EDIT_UNDO));
}

TEST(SelectToolMenu, ReferencePointAboveMirrorCopyWhenBothApply) {
    MenuHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 100, 100, 100);
    h.Line(20, 60, 80, 60);  // crosses the group's extent; its mid point is (50, 60)
    GroupAt(h, {h.P(10, 0), h.P(10, 100)});
    h.RightClick(h.P(50, 60));
    const std::vector<UINT> top = TopItems(h);
    ASSERT_GE(top.size(), 4u);
    EXPECT_EQ(top[0], static_cast<UINT>(ID_SET_REFERENCE_POINT));
    EXPECT_EQ(top[1], 0u);
    EXPECT_EQ(top[2], static_cast<UINT>(IDS_MIRROR_COPY_ON_LINE));
    EXPECT_EQ(top[3], 0u);
    // Away from any line and outside the group: neither.
    h.RightClick(h.P(300, 200));
    EXPECT_EQ(TopItems(h).front(), static_cast<UINT>(ID_GROUP));
}

TEST(SelectToolMenu, SetsTheGroupsReferencePointAtTheClick) {
    MenuHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 100, 100, 100);
    h.Line(20, 60, 80, 60, 0);
    GroupAt(h, {h.P(10, 0), h.P(10, 100)});
    h.dialogs.ScriptPopupMenu(ID_SET_REFERENCE_POINT);
    h.ExpectOneUndoStep([&] {
        h.RightClick(h.P(50, 60));
        ASSERT_EQ(h.Picks(), 1);
    });
    const auto* group = dynamic_cast<MGroupShape*>(ShapeOn(h, 0));
    ASSERT_TRUE(group);
    EXPECT_TRUE(group->HasBasePoint());
    EXPECT_TRUE(Near(group->GetBasePoint(), h.P(50, 60)));
    // Outside the extent it is not offered, and the command does nothing.
    h.Click(h.P(10, 0));
    h.RightClick(h.P(300, 200));
    EXPECT_FALSE(h.ItemState(ID_SET_REFERENCE_POINT).first);
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_SET_REFERENCE_POINT); });
}

TEST(SelectToolMenu, MirrorCopiesAcrossAHorizontalLine) {
    MenuHarness h;
    h.Line(0, 0, 200, 0);   // the mirror, mid point (100, 0)
    h.Line(10, 1, 30, 9);   // centred 5 above
    h.Line(60, -4, 80, 4);  // centred on the line
    h.Click(h.P(20, 5));
    h.Click(h.P(70, 0), MK_SHIFT);
    ASSERT_EQ(h.Picks(), 2);
    h.dialogs.ScriptPopupMenu(IDS_MIRROR_COPY_ON_LINE);
    h.ExpectOneUndoStep([&] {
        h.RightClick(h.P(100, 0));
        ASSERT_EQ(h.Picks(), 2);
        EXPECT_EQ(h.Pick(0), ShapeOn(h, 3)) << "the copies are selected";
    });
    ASSERT_EQ(Count(h), 5) << "the originals stay";
    EXPECT_TRUE(Near(LineOn(h, 1)->m_start, h.P(10, 1)));
    EXPECT_TRUE(Near(LineOn(h, 3)->m_start, h.P(10, -1)));
    EXPECT_TRUE(Near(LineOn(h, 3)->m_end, h.P(30, -9)));
    // Centred on the line: flipped up and down, not left and right.
    EXPECT_TRUE(Near(LineOn(h, 4)->m_start, h.P(60, 4)));
    EXPECT_TRUE(Near(LineOn(h, 4)->m_end, h.P(80, -4)));
}

TEST(SelectToolMenu, MirrorCopiesAcrossAnInclinedLine) {
    MenuHarness h;
    const MFloatPoint a = h.P(0, 0);
    const double length = h.P(300, 0).x - a.x;
    const double angle = M_PI / 6;
    const MFloatPoint b(a.x + length * std::cos(angle), a.y + length * std::sin(angle));
    h.Shown(h.AddLine(a.x, a.y, b.x, b.y));
    h.Line(100, 150, 140, 170);
    h.Click(h.P(120, 160));
    const MFloatPoint mid = (a + b) * 0.5;
    h.dialogs.ScriptPopupMenu(IDS_MIRROR_COPY_ON_LINE);
    h.RightClick(h.ToDrawing(h.ToClient(mid)));
    ASSERT_EQ(Count(h), 3);
    // The reflection of p across the line through a with direction (cos, sin).
    const auto reflect = [&](const MFloatPoint& p) {
        const MFloatPoint d(std::cos(angle), std::sin(angle));
        const MFloatPoint v = p - a;
        const double along = v.x * d.x + v.y * d.y;
        return a + d * (2 * along) - v;
    };
    EXPECT_TRUE(Near(LineOn(h, 2)->m_start, reflect(LineOn(h, 1)->m_start), 1e-9));
    EXPECT_TRUE(Near(LineOn(h, 2)->m_end, reflect(LineOn(h, 1)->m_end), 1e-9));
}

TEST(SelectToolMenu, CancelIsNotOfferedWhileCopiesFollowThePointer) {
    MenuHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    // Dragged copies and those that follow from the context point alike.
    h.Press(h.P(50, 0));
    h.MoveTo(h.P(80, 30));
    ASSERT_GT(h.Tool()->Lists().NewCount(), 0);
    EXPECT_FALSE(h.ItemState(ID_CANCEL_DRAWING).first);
    h.Release(h.P(80, 30));
    h.RightClick(h.P(60, 30));
    h.view->SendCommand(ID_MOVE_HERE);
    h.MoveTo(h.P(120, 60));
    ASSERT_GT(h.Tool()->Lists().NewCount(), 0);
    EXPECT_FALSE(h.ItemState(ID_CANCEL_DRAWING).first);
    h.RightClick(h.P(120, 60));
    EXPECT_FALSE(Holds(h, ID_CANCEL_DRAWING));
}

TEST(SelectToolMenu, NoMirrorItemForASelectedOrZeroLengthLine) {
    MenuHarness h;
    h.Line(0, 0, 200, 0);
    const MFloatPoint p = h.P(300, 100);
    h.Shown(h.AddLine(p.x, p.y, p.x, p.y));
    h.Line(10, 40, 30, 60);
    h.Click(h.P(100, 0));
    h.Click(h.P(20, 50), MK_SHIFT);
    h.RightClick(h.P(100, 0));
    EXPECT_FALSE(Holds(h, IDS_MIRROR_COPY_ON_LINE)) << "the line is selected itself";
    h.Click(h.P(20, 50));
    h.RightClick(h.P(300, 100));
    EXPECT_FALSE(Holds(h, IDS_MIRROR_COPY_ON_LINE)) << "a line of no length";
    ExpectNoChange(h, [&] { h.view->SendCommand(IDS_MIRROR_COPY_ON_LINE); });
}

// ----- double click -----------------------------------------------------------------------------

TEST(SelectToolMenu, DoubleClickEditsATextInOneStepOrNone) {
    SelectHarness h;
    auto* text = new MTextShape();
    text->SetString("abc");
    text->SetPoint(h.P(100, 100));
    h.Add(text);
    const MFloatPoint inside = h.ToDrawing(h.ToClient(text->GetCenter()));
    h.Click(inside);
    ASSERT_EQ(h.Picks(), 1);
    h.dialogs.Script(IDD_TEXT_INPUT, DialogScript().SetText(IDC_TEXT_STRING, "xyz").Ok());
    h.ExpectOneUndoStep([&] { h.DoubleClickAt(inside); });
    ASSERT_TRUE(h.dialogs.Opened(IDD_TEXT_INPUT));
    const auto* edited = dynamic_cast<MTextShape*>(ShapeOn(h, 0));
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->GetString(), "xyz");
    // Cancel: nothing changes and the handles come back.
    h.Click(inside);
    h.dialogs.Script(IDD_TEXT_INPUT, DialogScript().SetText(IDC_TEXT_STRING, "no").Cancel());
    ExpectNoChange(h, [&] { h.DoubleClickAt(inside); });
    EXPECT_EQ(h.dialogs.OpenedIds().size(), 2u);
    EXPECT_EQ(h.Picks(), 1);
    EXPECT_TRUE(h.Select()->Handles().IsShown());
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectToolMenu, NoReferencePointForALabel) {
    MenuHarness h;
    auto* label = new MLabelShape();
    label->AddLeaderPoint(nullptr, h.P(0, 0));
    label->AddLeaderPoint(nullptr, h.P(100, 100));
    label->SetString("注記");
    h.Add(label);
    h.Click(h.P(50, 50));
    ASSERT_EQ(h.Picks(), 1);
    h.RightClick(h.P(50, 50));
    EXPECT_FALSE(Holds(h, ID_SET_REFERENCE_POINT));
    EXPECT_FALSE(h.ItemState(ID_SET_REFERENCE_POINT).first);
    EXPECT_TRUE(h.ItemState(ID_ADD_PART).first) << "a label is a group that can be registered";
}
