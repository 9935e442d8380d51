// The regular polygon tool through the view: dialog 164 in the first press, the polygon that
// follows the pointer, inscribed and circumscribed vertices, the dialog's refusals and the locks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "model/shapes/lines/PolygonShape.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/line/FigureTestSupport.h"
#include "tools/line/NPolygonTool.h"

using namespace figuretest;

namespace {

struct NPolygonHarness : FigureHarness {
    NPolygonHarness() : FigureHarness(ID_TOOL_NPOLYGON) { tool = dynamic_cast<MNPolygonTool*>(Tool()); }
    // The answer to the dialog of the next press.
    void Answer(const std::string& sides, bool circumscribed, const std::string& radius = "",
                const std::string& angle = "") {
        DialogScript script;
        script.SetText(IDC_NPOLYGON_SIDES, sides).SetCheck(IDC_NPOLYGON_CIRCUMSCRIBED, circumscribed);
        if (!radius.empty()) script.SetText(IDC_NPOLYGON_RADIUS, radius);
        if (!angle.empty()) script.SetText(IDC_NPOLYGON_ANGLE, angle);
        dialogs.Script(IDD_NPOLYGON_INPUT, script.Ok());
    }
    const MPolygonShape* Committed() { return Last<MPolygonShape>(); }
    MNPolygonTool* tool;
};

void ExpectVertices(const MPolygonShape* polygon, const MFloatPoint& centre, int sides, double radius,
                    double firstAngle) {
    ASSERT_NE(polygon, nullptr);
    ASSERT_EQ(polygon->GetPointCount(), sides);
    EXPECT_TRUE(polygon->IsClosed());
    for (int i = 0; i < sides; ++i) {
        const double a = firstAngle + i * 2 * M_PI / sides;
        EXPECT_TRUE(Near(polygon->GetPoint(i),
                         centre + MFloatPoint(radius * std::cos(a), radius * std::sin(a)), 1e-6))
            << "vertex " << i;
    }
}

// A square whose radius and direction come from the pointer.
void ExpectASquareFollowingThePointer(NPolygonHarness& h) {
    h.Answer("4", true);
    h.Click(At(0, 0));
    h.MoveTo(At(0, -2000));
    h.Click(At(0, -2000));
    ExpectVertices(h.Committed(), At(0, 0), 4, 2000, -M_PI / 2);
}

}  // namespace

TEST(NPolygonTool, InscribedHexagonPutsAnEdgeMidpointInThePointersDirection) {
    NPolygonHarness h;
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "") << "the tool shows no prompt";
    h.Answer("6", false, "1000");
    // The dialog changes the tool's settings, which the drawing carries: it comes before the step.
    h.Press(At(0, 0));
    EXPECT_TRUE(h.dialogs.Opened(IDD_NPOLYGON_INPUT)) << "the first press asks";
    h.ExpectOneUndoStep([&] {
        h.MoveTo(At(0, 3000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(0, 3000));
    });
    const double r = 1000 / std::cos(M_PI / 6);
    ExpectVertices(h.Committed(), At(0, 0), 6, r, M_PI / 2 + M_PI / 6);
    // The midpoint of the edge between the last and the first vertex lies straight up.
    const MPolygonShape* p = h.Committed();
    EXPECT_TRUE(Near((p->GetPoint(5) + p->GetPoint(0)) / 2, At(0, 1000)));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(NPolygonTool, CircumscribedVerticesLieOnTheCircleTheFirstTowardsThePointer) {
    NPolygonHarness h;
    h.Answer("6", true, "1000");
    h.Click(At(0, 0));
    h.MoveTo(At(2000, 0));
    h.Click(At(2000, 0));
    ExpectVertices(h.Committed(), At(0, 0), 6, 1000, 0.0);
}

TEST(NPolygonTool, AFreeRadiusFollowsThePointer) {
    NPolygonHarness h;
    ExpectASquareFollowingThePointer(h);
}

TEST(NPolygonTool, TheDialogRefusesTooFewSidesAZeroRadiusAndAWideAngle) {
    NPolygonHarness h;
    MessageBoxRecorder messages;
    h.dialogs.Script(IDD_NPOLYGON_INPUT, DialogScript()
                                             .SetText(IDC_NPOLYGON_SIDES, "2")
                                             .Ok()
                                             .SetText(IDC_NPOLYGON_SIDES, "5")
                                             .SetText(IDC_NPOLYGON_RADIUS, "0")
                                             .Ok()
                                             .SetText(IDC_NPOLYGON_RADIUS, "10")
                                             .SetText(IDC_NPOLYGON_ANGLE, "400")
                                             .Ok()
                                             .SetText(IDC_NPOLYGON_ANGLE, "30")
                                             .SetText(IDC_NPOLYGON_SIDES, "10001")
                                             .Ok()
                                             .Cancel());
    ExpectNoChange(h, [&] { h.Click(At(0, 0)); });
    ASSERT_EQ(h.dialogs.Dialogs().size(), 1u);
    EXPECT_EQ(h.dialogs.Dialogs()[0].result, IDCANCEL) << "the dialog stayed open to the end";
    ASSERT_EQ(messages.Messages().size(), 4u);
    EXPECT_EQ(messages.Messages()[0].text, "角数は３以上を入力してください。");
    EXPECT_EQ(messages.Messages()[1].text, "半径には0より大きい値を指定してください。");
    EXPECT_THAT(messages.Messages()[2].text, ::testing::HasSubstr("360"));
    EXPECT_THAT(messages.Messages()[3].text, ::testing::HasSubstr("10000"));
    // Cancel ended the tool: nothing follows, nothing was kept.
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_EQ(h.tool->GetSides(), 6);
    EXPECT_FALSE(h.tool->IsConstrained());
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(NPolygonTool, ChangingTheSidesBetweenUsesMakesANewPolygon) {
    NPolygonHarness h;
    h.Answer("6", true);
    h.Click(At(0, 0));
    h.Click(At(1000, 0));
    ASSERT_NE(h.Committed(), nullptr);
    ASSERT_EQ(h.Committed()->GetPointCount(), 6);
    h.Answer("8", true);
    h.Click(At(5000, 0));
    h.ExpectOneUndoStep([&] {
        h.MoveTo(At(5000, 2000));
        h.Click(At(5000, 2000));
    });
    ExpectVertices(h.Committed(), At(5000, 0), 8, 2000, M_PI / 2);
    EXPECT_EQ(h.Shapes().size(), 2u);
}

TEST(NPolygonTool, LockedRadiusAndAngleCommitAtTheFirstCentreWithTheNextClick) {
    NPolygonHarness h;
    h.Answer("3", true, "1000", "90");
    h.Click(At(0, 0));
    ASSERT_TRUE(h.tool->IsConstrained());
    h.ExpectOneUndoStep([&] { h.Click(At(4000, 4000)); });
    ExpectVertices(h.Committed(), At(0, 0), 3, 1000, M_PI / 2);
}

TEST(NPolygonTool, NumericInputChangesTheValuesAndTheFigureAtThePointerAtOnce) {
    NPolygonHarness h;
    h.Answer("5", true);
    h.Click(At(0, 0));
    h.MoveTo(At(1000, 0));
    h.dialogs.Script(IDD_NPOLYGON_INPUT, DialogScript().SetText(IDC_NPOLYGON_SIDES, "7").Ok());
    h.RightClick(At(1000, 0), MK_CONTROL);
    EXPECT_EQ(h.tool->GetSides(), 7);
    ASSERT_EQ(h.tool->Lists().NewCount(), 1);
    ExpectVertices(dynamic_cast<const MPolygonShape*>(h.tool->Lists().NewShape(0)), At(0, 0), 7, 1000, 0.0);
    EXPECT_TRUE(h.NoXorResidue());
    h.MoveTo(At(2000, 0));
    h.Click(At(2000, 0));
    ExpectVertices(h.Committed(), At(0, 0), 7, 2000, 0.0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(NPolygonTool, TheSpinStepsTheSidesWithinTheirLimits) {
    NPolygonHarness h;
    h.dialogs.Script(IDD_NPOLYGON_INPUT, DialogScript().Spin(IDC_NPOLYGON_SIDES_SPIN, 2).Ok());
    h.Click(At(0, 0));
    EXPECT_EQ(h.tool->GetSides(), 8);
    h.Click(At(1000, 0));
    ExpectVertices(h.Committed(), At(0, 0), 8, 1000, 0.0);
    // Below three the spin stops.
    std::string shown;
    h.dialogs.Script(IDD_NPOLYGON_INPUT,
                     DialogScript().Spin(IDC_NPOLYGON_SIDES_SPIN, -9).Read(IDC_NPOLYGON_SIDES, &shown).Ok());
    h.Click(At(5000, 0));
    EXPECT_EQ(shown, "3");
    EXPECT_EQ(h.tool->GetSides(), 3);
}

TEST(NPolygonTool, ReleaseConstraintFreesTheLockedRadiusAndAngle) {
    NPolygonHarness h;
    h.dialogs.Script(IDD_NPOLYGON_INPUT, DialogScript()
                                             .SetText(IDC_NPOLYGON_RADIUS, "1000")
                                             .SetCheck(IDC_NPOLYGON_RADIUS_LOCK, 1)
                                             .SetText(IDC_NPOLYGON_ANGLE, "90")
                                             .SetCheck(IDC_NPOLYGON_ANGLE_LOCK, 1)
                                             .Ok());
    h.RightClick(At(0, 0), MK_CONTROL);
    ASSERT_TRUE(h.tool->IsConstrained());
    EXPECT_TRUE(h.ItemState(ID_RELEASE_CONSTRAINT).first);
    h.view->SendCommand(ID_RELEASE_CONSTRAINT);
    EXPECT_FALSE(h.tool->IsConstrained());
    EXPECT_FALSE(h.ItemState(ID_RELEASE_CONSTRAINT).first);
    // The next polygon follows the pointer again.
    ExpectASquareFollowingThePointer(h);
}

TEST(NPolygonTool, ATypedOffsetPlacesThePolygonFromTheClickInOneStep) {
    NPolygonHarness h;
    const MFloatPoint centre = At(0, 0);
    h.Answer("6", true);
    h.dialogs.Script(IDD_COORDINATE_ENTRY, DialogScript()
                                               .Click(IDC_JUMP_CARTESIAN)
                                               .Click(IDC_JUMP_OFFSET)
                                               .SetCheck(IDC_JUMP_X_CHECK, 1)
                                               .SetCheck(IDC_JUMP_Y_CHECK, 1)
                                               .SetText(IDC_JUMP_X, "0")
                                               .SetText(IDC_JUMP_Y, "1500")
                                               .Ok());
    // The entry's values travel with the drawing, so undo is checked on the shapes.
    h.RightClick(At(0, 0), MK_SHIFT);
    EXPECT_TRUE(h.dialogs.Opened(IDD_NPOLYGON_INPUT)) << "the typed press asks as a click does";
    EXPECT_EQ(h.UndoSteps(), 1);
    ExpectVertices(h.Committed(), centre, 6, 1500, M_PI / 2);
    EXPECT_TRUE(h.NoXorResidue());
    h.view->SendCommand(ID_EDIT_UNDO);
    EXPECT_TRUE(h.Shapes().empty());
}
