// The select tool's drags: moves with Shift and Ctrl, handle drags of one shape and of several,
// the handle-move toggle and point edit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/tools/select/SelectTestSupport.h"

using namespace selecttest;

namespace {

MCadShape* ShapeAt(SelectHarness& h, int index, int layer = 0) {
    return h.doc.GetLayers()->GetLayer(layer)->GetAt(index);
}
int ShapeCount(SelectHarness& h, int layer = 0) {
    return h.doc.GetLayers()->GetLayer(layer)->GetSize();
}
MLineShape* LineAt(SelectHarness& h, int index) {
    return dynamic_cast<MLineShape*>(ShapeAt(h, index));
}
std::string TextOf(const MCadShape* shape) {
    std::ostringstream os;
    WriteShapeText(nullptr, os, shape);
    return os.str();
}

TEST(SelectToolMove, DragMovesTheSelectionInOneUndoStep) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.ExpectOneUndoStep([&] { h.Drag(h.P(50, 0), h.P(80, 40)); });
    ASSERT_EQ(ShapeCount(h), 1);
    EXPECT_TRUE(Near(LineAt(h, 0)->m_start, h.P(30, 40), 1e-9));
    EXPECT_TRUE(Near(LineAt(h, 0)->m_end, h.P(130, 40), 1e-9));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectToolMove, ShiftKeepsTheAxisOfTheLargerDistanceAndTiesGoHorizontal) {
    struct Case {
        int dx, dy, mx, my;
    };
    for (const Case& c : {Case{10, 3, 10, 0}, Case{3, 10, 0, 10}, Case{10, 10, 10, 0}}) {
        SelectHarness h;
        h.Line(0, 0, 100, 0);
        h.Drag(h.P(50, 0), h.P(50 + c.dx, c.dy), MK_SHIFT);
        ASSERT_EQ(ShapeCount(h), 1);
        EXPECT_TRUE(Near(LineAt(h, 0)->m_start, h.P(c.mx, c.my), 1e-9)) << c.dx << ", " << c.dy;
        EXPECT_TRUE(h.NoXorResidue());
    }
}

TEST(SelectToolMove, CtrlAtTheReleaseCopies) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.ExpectOneUndoStep([&] {
        h.Press(h.P(50, 0));
        h.MoveTo(h.P(60, 20));
        h.MoveTo(h.P(70, 40));
        h.Release(h.P(70, 40), MK_CONTROL);
    });
    ASSERT_EQ(ShapeCount(h), 2);
    EXPECT_TRUE(Near(LineAt(h, 0)->m_start, h.P(0, 0), 1e-9)) << "the original stays";
    EXPECT_TRUE(Near(LineAt(h, 1)->m_start, h.P(20, 40), 1e-9));
    EXPECT_EQ(h.Picks(), 0) << "undo and redo end the selection";
}

TEST(SelectToolMove, CtrlOnlyAtThePressMoves) {
    SelectHarness g;
    g.Line(0, 0, 100, 0);
    g.Press(g.P(50, 0), MK_CONTROL);
    g.MoveTo(g.P(60, 20), MK_CONTROL);
    g.MoveTo(g.P(70, 40));
    g.Release(g.P(70, 40));
    ASSERT_EQ(ShapeCount(g), 1);
    EXPECT_TRUE(Near(LineAt(g, 0)->m_start, g.P(20, 40), 1e-9));
    ASSERT_EQ(g.Picks(), 1) << "the moved shape is the selection";
    EXPECT_EQ(g.Pick(0), ShapeAt(g, 0));
    EXPECT_TRUE(g.Select()->Handles().IsShown());
    EXPECT_TRUE(g.NoXorResidue());
}

TEST(SelectToolMove, AReleaseWithoutMovementChangesNothing) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    ExpectNoChange(h, [&] {
        h.Press(h.P(50, 0));
        h.MoveTo(h.P(53, 2));
        h.Release(h.P(53, 2));
    });
    EXPECT_EQ(h.Picks(), 1);
    EXPECT_TRUE(h.NoXorResidue());
}

// The shape a handle drag gives is what the shape's own MoveHandle gives its copy.
void ExpectHandleDragLikeMoveHandle(const std::function<MCadShape*(SelectHarness&)>& make, int handle,
                                    CPoint to) {
    SelectHarness h;
    MCadShape* shape = h.Add(make(h));
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    ASSERT_EQ(h.Picks(), 1);
    std::unique_ptr<MCadShape> expected(shape->Clone());
    expected->Recalc(h.view.get());
    MFloatRect frame = expected->GetExtent();
    const MFloatPoint target = h.P(to.x, to.y);
    int index = handle;
    expected->MoveHandle(&index, target, FALSE, &frame);
    expected->MoveHandle(&index, target, FALSE, &frame);
    expected->Recalc(h.view.get());
    const MFloatPoint from = shape->GetHandle(handle);
    h.ExpectOneUndoStep([&] { h.Drag(from, target, 0, 1); });
    ASSERT_EQ(ShapeCount(h), 1);
    EXPECT_EQ(TextOf(ShapeAt(h, 0)), TextOf(expected.get())) << shape->GetTypeName() << " handle " << handle;
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectToolHandles, OneShapeIsReshapedByItsOwnMoveHandle) {
    ExpectHandleDragLikeMoveHandle([](SelectHarness& h) { return new MLineShape(h.P(0, 0), h.P(100, 0)); }, 1,
                                   CPoint(150, 40));
    ExpectHandleDragLikeMoveHandle(
        [](SelectHarness& h) {
            auto* polygon = new MPolygonShape(TRUE);
            for (CPoint c : {CPoint(0, 0), CPoint(100, 0), CPoint(60, 80)})
                polygon->AddPoint(h.P(c.x, c.y));
            return polygon;
        },
        0, CPoint(150, 120));
    ExpectHandleDragLikeMoveHandle(
        [](SelectHarness& h) {
            auto* rect = new MRectShape();
            rect->SetRect(h.P(0, 0).x, h.P(0, 0).y, 100 * h.Unit(), 60 * h.Unit());
            return rect;
        },
        2, CPoint(-40, -30));
    // Point edit off: the circle's copy is a polygon of its outline.
    ExpectHandleDragLikeMoveHandle(
        [](SelectHarness& h) {
            auto* circle = new MCircleShape();
            circle->SetCircle(h.P(50, 50).x, h.P(50, 50).y, 50 * h.Unit());
            return circle;
        },
        4, CPoint(160, 50));
    ExpectHandleDragLikeMoveHandle(
        [](SelectHarness& h) {
            auto* arc = new MCircleArcShape();
            arc->SetArc(h.P(50, 0).x, h.P(50, 0).y, 60 * h.Unit(), 0.0, 2.0);
            return arc;
        },
        0, CPoint(140, 90));
    ExpectHandleDragLikeMoveHandle(
        [](SelectHarness& h) {
            auto* ellipse = new MEllipseShape();
            ellipse->SetEllipse(h.P(60, 30).x, h.P(60, 30).y, 60 * h.Unit(), 30 * h.Unit());
            return ellipse;
        },
        6, CPoint(-30, 30));
    ExpectHandleDragLikeMoveHandle(
        [](SelectHarness& h) {
            auto* text = new MTextShape();
            text->SetString("ABC");
            text->SetTextSize(20 * h.Unit());
            text->MoveTo(h.view.get(), h.P(20, 20));
            return text;
        },
        0, CPoint(120, 60));
    ExpectHandleDragLikeMoveHandle(
        [](SelectHarness& h) {
            MLShapeArray members(TRUE);
            members.Add(new MLineShape(h.P(0, 0), h.P(100, 0)), 0);
            members.Add(new MLineShape(h.P(0, 0), h.P(0, 60)), 0);
            members.Recalc(h.view.get());
            return new MGroupShape(h.view.get(), members);
        },
        0, CPoint(150, 90));
}

TEST(SelectToolHandles, TwoShapesAreScaledByTheirFrame) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 60, 100, 60);
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    ASSERT_EQ(h.Picks(), 2);
    // Handle 0 (right, top) right to the middle: half the width, the left edge fixed.
    h.ExpectOneUndoStep([&] { h.Drag(h.P(100, 60), h.P(50, 60), 0, 1); });
    EXPECT_TRUE(Near(LineAt(h, 0)->m_end, h.P(50, 0), 1e-9));
    EXPECT_TRUE(Near(LineAt(h, 1)->m_end, h.P(50, 60), 1e-9));
}

TEST(SelectToolHandles, DraggingPastTheOppositeEdgeMirrors) {
    SelectHarness g;
    g.Line(0, 0, 100, 0);
    g.Line(0, 60, 100, 60);
    g.view->SendCommand(ID_EDIT_SELECT_ALL);
    // Past the left edge: the frame flips, and the held handle is now the left-top one.
    g.Press(g.P(100, 60));
    g.MoveTo(g.P(-50, 60));
    g.MoveTo(g.P(-60, 60));
    g.Release(g.P(-60, 60));
    ASSERT_EQ(ShapeCount(g), 2);
    EXPECT_TRUE(Near(LineAt(g, 0)->m_start, g.P(0, 0), 1e-9));
    EXPECT_TRUE(Near(LineAt(g, 0)->m_end, g.P(-60, 0), 1e-9)) << "mirrored and followed the pointer";
    EXPECT_TRUE(g.NoXorResidue());
}

TEST(SelectToolHandles, ShiftScalesEquallyAndTheFrameStaysUnderThePointer) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 50, 100, 100);
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    MSelectTool* tool = h.Select();
    h.Press(h.P(100, 100), MK_SHIFT);
    // A zig-zag: each step's frame is the scaled frame, wherever the pointer went before.
    for (CPoint c : {CPoint(140, 110), CPoint(120, 150), CPoint(160, 130), CPoint(150, 150)})
        h.MoveTo(h.P(c.x, c.y), MK_SHIFT);
    h.Release(h.P(150, 150), MK_SHIFT);
    ASSERT_EQ(ShapeCount(h), 2);
    // Both factors 1.5 from the fixed corner (0, 0).
    EXPECT_TRUE(Near(LineAt(h, 0)->m_end, h.P(150, 0), 1e-9));
    EXPECT_TRUE(Near(LineAt(h, 1)->m_start, h.P(0, 75), 1e-9));
    EXPECT_TRUE(Near(LineAt(h, 1)->m_end, h.P(150, 150), 1e-9));
    EXPECT_TRUE(Near(tool->Handles().At(0), h.P(150, 150), 1e-9));
}

TEST(SelectToolHandles, AStepToZeroWidthIsIgnored) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 60, 100, 60);
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    h.Press(h.P(100, 30));  // handle 4: the middle of the right edge
    h.MoveTo(h.P(50, 30));
    h.MoveTo(h.P(0, 30));
    h.Release(h.P(0, 30));
    ASSERT_EQ(ShapeCount(h), 2);
    EXPECT_TRUE(Near(LineAt(h, 0)->m_end, h.P(50, 0), 1e-9)) << "the frame stayed at the last good step";
}

TEST(SelectToolHandles, AFrameOfNoWidthOrHeightOpensAtThePointerAndScalesTheOtherWay) {
    // Two collinear lines (their frame is flat) by their ends before and after a drag of handle
    // 0: the press, the moves, the release at the last point.
    struct Case {
        const char* what;
        std::vector<CPoint> ends, path, after;
    };
    const Case cases[] = {
        {"upright lines, handle 0 up and right",
         {{0, 0}, {0, 50}, {0, 60}, {0, 100}},
         {{0, 100}, {20, 120}, {30, 150}},
         {{0, 0}, {0, 75}, {0, 90}, {0, 150}}},
        {"upright lines, the frame opened to the left",
         {{0, 0}, {0, 50}, {0, 60}, {0, 100}},
         {{0, 100}, {-30, 120}, {-40, 150}},
         {{0, 0}, {0, 75}, {0, 90}, {0, 150}}},
        {"level lines, handle 0 right and up",
         {{0, 0}, {50, 0}, {60, 0}, {100, 0}},
         {{100, 0}, {120, 20}, {150, 40}},
         {{0, 0}, {75, 0}, {90, 0}, {150, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SelectHarness h;
        for (int k = 0; k < 2; ++k)
            h.Line(c.ends[2 * k].x, c.ends[2 * k].y, c.ends[2 * k + 1].x, c.ends[2 * k + 1].y);
        h.view->SendCommand(ID_EDIT_SELECT_ALL);
        ASSERT_EQ(h.Picks(), 2);
        h.ExpectOneUndoStep([&] {
            h.Press(h.P(c.path.front().x, c.path.front().y));
            for (const CPoint& to : c.path)
                h.MoveTo(h.P(to.x, to.y));
            h.Release(h.P(c.path.back().x, c.path.back().y));
        });
        ASSERT_EQ(ShapeCount(h), 2);
        for (int k = 0; k < 2; ++k) {
            EXPECT_TRUE(Near(LineAt(h, k)->m_start, h.P(c.after[2 * k].x, c.after[2 * k].y), 1e-6)) << k;
            EXPECT_TRUE(Near(LineAt(h, k)->m_end, h.P(c.after[2 * k + 1].x, c.after[2 * k + 1].y), 1e-6))
                << k;
        }
        EXPECT_TRUE(h.NoXorResidue());
    }
}

TEST(SelectToolHandles, WithHandleMoveAHandlePressMovesFromTheHandlesExactPosition) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    h.view->SendCommand(ID_HANDLE_MOVE);
    EXPECT_FALSE(h.Select()->Handles().Deforms());
    // Pressed 2 pixels beside the handle: the move starts at the handle itself, which lands
    // under the pointer.
    h.Drag(h.P(102, 2), h.P(152, 32));
    ASSERT_EQ(ShapeCount(h), 1);
    EXPECT_TRUE(Near(LineAt(h, 0)->m_start, h.P(52, 32), 1e-9));
    EXPECT_TRUE(Near(LineAt(h, 0)->m_end, h.P(152, 32), 1e-9));
}

TEST(SelectToolPointEdit, TogglesTheHandleCountOfACircle) {
    SelectHarness h;
    h.Circle(100, 100, 50);
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(h.Select()->Handles().Count(), 8);
    h.view->SendCommand(ID_POINT_EDIT);
    EXPECT_EQ(h.Select()->Handles().Count(), 4);
    EXPECT_EQ(h.ItemState(ID_POINT_EDIT), std::make_pair(true, 1));
    EXPECT_TRUE(h.NoXorResidue());
    h.view->SendCommand(ID_POINT_EDIT);
    EXPECT_EQ(h.Select()->Handles().Count(), 8);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectToolPointEdit, AddAndDeletePointOnlyOnAHandleOfOnePolygon) {
    SelectHarness h;
    h.frame.SetActiveView(h.view.get());
    h.Polygon({CPoint(0, 0), CPoint(100, 0), CPoint(100, 80), CPoint(0, 80)});
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    h.view->SendCommand(ID_POINT_EDIT);
    ASSERT_EQ(h.Select()->Handles().Count(), 4);
    h.RightClick(h.P(50, 40));
    EXPECT_FALSE(h.ItemState(ID_ADD_POINT).first) << "not on a handle";
    EXPECT_FALSE(h.ItemState(ID_DELETE_POINT).first);
    h.RightClick(h.P(100, 0));
    EXPECT_TRUE(h.ItemState(ID_ADD_POINT).first);
    EXPECT_TRUE(h.ItemState(ID_DELETE_POINT).first);
    h.ExpectOneUndoStep([&] { h.view->SendCommand(ID_ADD_POINT); });
    auto* polygon = dynamic_cast<MPolygonShape*>(ShapeAt(h, 0));
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(polygon->GetPoints().GetSize(), 5);
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    h.RightClick(h.P(100, 80));
    h.ExpectOneUndoStep([&] { h.view->SendCommand(ID_DELETE_POINT); });
    polygon = dynamic_cast<MPolygonShape*>(ShapeAt(h, 0));
    EXPECT_EQ(polygon->GetPoints().GetSize(), 4);
    EXPECT_TRUE(h.NoXorResidue());
}

}  // namespace
