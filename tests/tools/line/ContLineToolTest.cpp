// The continuous line, polygon and freehand tools through the view: chains ended by a double click
// or "決定", separate lines or one polyline, the locks over a chain, "取消し" one vertex back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/shapes/curves/CircleShape.h"
#include "tests/tools/line/LineTestSupport.h"
#include "tools/line/ContLineTool.h"

using namespace linetest;
using namespace tooltest;

namespace {

std::vector<std::pair<MFloatPoint, MFloatPoint>> Segments(MTessarayDoc& doc) {
    std::vector<std::pair<MFloatPoint, MFloatPoint>> out;
    for (MLineShape* line : LinesOf(doc))
        out.push_back({Rel(line->m_start), Rel(line->m_end)});
    return out;
}

using Segs = std::vector<std::pair<MFloatPoint, MFloatPoint>>;

// Click, click, double click: one polygon of the three points, in one undo step.
void ExpectOnePolygonOfThreeClicks(LineHarness& h, bool closed) {
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        h.Click(At(3000, 0));
        h.DoubleClickAt(At(3000, 4000));
    });
    const auto polygons = ShapesOf<MPolygonShape>(h.doc);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0]->IsClosedFlag() != FALSE, closed);
    EXPECT_EQ(Vertices(*polygons[0]), (std::vector<MFloatPoint>{{0, 0}, {3000, 0}, {3000, 4000}}));
}

}  // namespace

TEST(ContLineTool, ADoubleClickOnTheThirdPointEndsTwoLinesInOneStep) {
    LineHarness h(ID_TOOL_CONTLINE);
    EXPECT_EQ(h.Prompt(), "[連続線]:始点（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        EXPECT_EQ(h.Prompt(), "[連続線]:通過点(ダブルクリックで終了）（Ctrl+右ボタンで数値入力）");
        h.Click(At(3000, 0));
        h.MoveTo(At(2000, 2000));
        EXPECT_TRUE(h.NoXorResidue());
        h.DoubleClickAt(At(3000, 4000));
    });
    EXPECT_EQ(Segments(h.doc), (Segs{{{0, 0}, {3000, 0}}, {{3000, 0}, {3000, 4000}}}));
    EXPECT_TRUE(ShapesOf<MPolygonShape>(h.doc).empty());
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(ContLineTool, WithThePolylineBoxTheChainIsOneOpenPolygon) {
    LineHarness h(ID_TOOL_CONTLINE);
    h.dialogs.Script(IDD_CONTLINE_INPUT, DialogScript().SetCheck(IDC_POLYLINE, 1).Ok());
    h.RightClick(At(0, 0), MK_CONTROL);
    ASSERT_TRUE(h.As<MContLineTool>()->IsPolyline());
    ExpectOnePolygonOfThreeClicks(h, false);
    EXPECT_TRUE(LinesOf(h.doc).empty());
}

TEST(ContLineTool, AKeptLengthLockHoldsEverySegmentWhileTheAngleLockGoesAfterTheFirst) {
    LineHarness h(ID_TOOL_CONTLINE);
    GetOptionRecord().m_snap = 0;
    h.dialogs.Script(IDD_CONTLINE_INPUT, DialogScript()
                                             .SetText(IDC_LENGTH_VALUE, "50")
                                             .SetText(IDC_ANGLE_DEGREES, "30")
                                             .SetCheck(IDC_KEEP_VALUES, 1)
                                             .Ok());
    h.RightClick(At(0, 0), MK_CONTROL);
    auto* tool = h.As<MContLineTool>();
    ASSERT_TRUE(tool->IsLengthLocked());
    ASSERT_TRUE(tool->IsAngleLocked());
    h.Click(At(0, 0));
    h.Click(At(5000, 1000));
    EXPECT_FALSE(tool->IsAngleLocked());
    EXPECT_TRUE(tool->IsLengthLocked());
    h.Click(At(0, 8000));
    h.DoubleClickAt(At(-6000, 8000));
    const auto lines = LinesOf(h.doc);
    ASSERT_EQ(lines.size(), 3u);
    for (const MLineShape* line : lines)
        EXPECT_NEAR((line->m_end - line->m_start).GetLength(), 50.0, 1e-9);
    EXPECT_NEAR((lines[0]->m_end - lines[0]->m_start).GetAngle(), kPi / 6, 1e-12);
    EXPECT_GT((lines[1]->m_end - lines[1]->m_start).GetAngle(), kPi / 3) << "towards the pointer";
    EXPECT_TRUE(tool->IsLengthLocked()) << "kept";
}

TEST(ContLineTool, CancelStepsBackAVertexAndAtTwoEndsTheToolWithoutACommit) {
    LineHarness h(ID_TOOL_CONTLINE);
    auto* tool = h.As<MContLineTool>();
    h.Click(At(0, 0));
    h.Click(At(3000, 0));
    h.Click(At(3000, 3000));
    h.MoveTo(At(0, 5000));
    auto* chain = dynamic_cast<MPolygonShape*>(tool->Lists().NewShape(0));
    ASSERT_EQ(chain->GetPointCount(), 4);
    h.view->SendCommand(ID_CANCEL_DRAWING);
    ASSERT_EQ(chain->GetPointCount(), 3);
    EXPECT_TRUE(Near(Rel(chain->GetPoint(2)), {0, 5000})) << "the vertex before follows the pointer";
    EXPECT_TRUE(h.NoXorResidue());
    h.view->SendCommand(ID_CANCEL_DRAWING);
    ASSERT_EQ(tool->Lists().NewCount(), 1);
    EXPECT_EQ(dynamic_cast<MPolygonShape*>(tool->Lists().NewShape(0))->GetPointCount(), 2);
    const int steps = h.UndoSteps();
    h.view->SendCommand(ID_CANCEL_DRAWING);
    EXPECT_EQ(tool->Lists().NewCount(), 0);
    EXPECT_EQ(h.UndoSteps(), steps);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(ContLineTool, ShiftSnapsEachSegmentToAnAxisFromTheVertexBefore) {
    LineHarness h(ID_TOOL_CONTLINE);
    h.Click(At(0, 0));
    h.MoveTo(At(4000, 1000), MK_SHIFT);
    EXPECT_TRUE(h.NoXorResidue());
    h.Click(At(4000, 1000), MK_SHIFT);
    h.Click(At(3000, 5000), MK_SHIFT);
    // Without Shift the segment follows the pointer.
    h.DoubleClickAt(At(1000, 7000));
    EXPECT_EQ(Segments(h.doc),
              (Segs{{{0, 0}, {4000, 0}}, {{4000, 0}, {4000, 5000}}, {{4000, 5000}, {1000, 7000}}}));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(ContLineTool, DecideFromTheMenuCommitsTheFixedVertices) {
    LineHarness h(ID_TOOL_CONTLINE);
    h.Click(At(0, 0));
    h.Click(At(3000, 0));
    h.Click(At(3000, 3000));
    EXPECT_TRUE(h.ItemState(ID_DECIDE).first);
    h.ExpectOneUndoStep([&] { h.ChooseFromMenu(At(-2000, 3000), ID_DECIDE); });
    // The vertex following the pointer is part of the chain.
    EXPECT_EQ(Segments(h.doc).size(), 3u);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(PolygonTool, CommitsOneClosedPolygon) {
    LineHarness h(ID_TOOL_POLYGON);
    EXPECT_EQ(h.Prompt(), "[ポリゴン]:始点（Ctrl+右ボタンで数値入力）");
    ExpectOnePolygonOfThreeClicks(h, true);
    // Its locks come from dialog 229.
    h.dialogs.Script(IDD_LINE1_INPUT, DialogScript().SetText(IDC_LENGTH_VALUE, "700").Ok());
    h.RightClick(At(0, 0), MK_CONTROL);
    EXPECT_TRUE(h.As<MContLineTool>()->IsLengthLocked());
}

TEST(FreeLineTool, TheTraceIsThePressEachDeliveredMoveAndTheRelease) {
    LineHarness h(ID_TOOL_FREELINE);
    GetOptionRecord().m_snap = 0;
    EXPECT_EQ(h.Prompt(), "[自由曲線]:マウスをﾄﾞﾗｯｸﾞしたまま動かす");
    const CPoint a = h.ToClient(At(0, 0));
    h.ExpectOneUndoStep([&] {
        h.PressAt(a);
        h.MoveToClient(CPoint(a.x + 3, a.y + 2));  // inside the dead zone: no vertex
        h.MoveToClient(CPoint(a.x + 40, a.y));
        h.MoveToClient(CPoint(a.x + 40, a.y + 30));
        h.MoveToClient(CPoint(a.x + 42, a.y + 31));  // past the zone every move counts
        EXPECT_TRUE(h.NoXorResidue());
        h.ReleaseAt(CPoint(a.x + 42, a.y + 31));
    });
    const auto polygons = ShapesOf<MPolygonShape>(h.doc);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_FALSE(polygons[0]->IsClosedFlag());
    const std::vector<CPoint> expected = {
        a, {a.x + 40, a.y}, {a.x + 40, a.y + 30}, {a.x + 42, a.y + 31}, {a.x + 42, a.y + 31}};
    ASSERT_EQ(polygons[0]->GetPointCount(), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(Near(polygons[0]->GetPoint(static_cast<int>(i)), h.ToDrawing(expected[i]), 1e-9)) << i;
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(ContLineTool, TangentFixesTheNextVertexOnTheCircleSquareToItsRadius) {
    LineHarness h(ID_TOOL_CONTLINE);
    MCircleShape* circle = h.AddCircle(kBase.x + 6000, kBase.y, 1500);
    h.Repaint();
    h.Click(At(0, 0));
    GetOptionRecord().m_snap = kSnapOnShape;
    h.ChooseFromMenu(At(6000, 1500), ID_TANGENT);
    auto* chain = dynamic_cast<MPolygonShape*>(h.Tool()->Lists().NewShape(0));
    ASSERT_EQ(chain->GetPointCount(), 3);
    const MFloatPoint v0 = chain->GetPoint(0), v1 = chain->GetPoint(1);
    EXPECT_NEAR((v1 - circle->m_center).GetLength(), 1500, 1e-6);
    EXPECT_LE(std::fabs((v1 - v0).Dot(v1 - circle->m_center)), 1e-9 * 6000 * 6000);
    EXPECT_GT(v1.y, kBase.y) << "the touching point nearer the pick";
    EXPECT_TRUE(h.NoXorResidue());
}
