// Direction constraints from the shape under the snap point, and the constrained points of partial
// coordinate entries: the snap search on the constrained locus, crossings, the grid.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "model/settings/OptionRecord.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/ConstrainedSnap.h"

using namespace tooltest;

namespace {

constexpr double kPiValue = 3.14159265358979323846;

// A line tool that offers the direction modes through the point constraint's building blocks.
class DirectionTool : public RecordingLineTool {
public:
    unsigned GetConstraintModes() override { return MPointConstraint::DirectionModes(LastSnap()); }
    void OnConstraintMode(MTessarayView* view, MConstraintMode mode) override { TakeDirection(mode, view); }
    bool TakeDirection(MConstraintMode mode, MTessarayView* view) {
        return PointConstraint().TakeDirection(mode, LastSnap(), view);
    }
    // The coordinate locus with the tool's snapper and kinds.
    MFloatPoint ConstrainToCoordinate(MTessarayView* view, const MFloatPoint& base, MFloatPoint pt, double dx,
                                      BOOL bX, double dy, BOOL bY) {
        return SnapOnCoordinate(Snapper(), view, GetSnapFlags(view), base, pt, dx, bX, dy, bY);
    }
};

struct ConstraintHarness : ToolHarness {
    ConstraintHarness() { tool = Use(new DirectionTool(), ID_TOOL_LINE); }
    // A drawing point a few pixels away from p.
    MFloatPoint Near(const MFloatPoint& p, int dx, int dy) {
        const CPoint c = ToClient(p);
        return ToDrawing(CPoint(c.x + dx, c.y + dy));
    }
    DirectionTool* tool;
};

MFloatPoint Polar(double degrees, double r) {
    return MFloatPoint(r * std::cos(degrees * kPiValue / 180), r * std::sin(degrees * kPiValue / 180));
}

}  // namespace

TEST(DirectionConstraint, ParallelPerpendicularAndAngleFromTheSnappedLine) {
    ConstraintHarness h;
    h.AddLine(1000, 1000, 5000, 3000);
    const double direction = std::atan2(2000.0, 4000.0);
    GetOptionRecord().m_snap = kSnapOnShape;
    h.MoveTo({3000, 2000});
    ASSERT_TRUE(h.tool->GetConstraintModes() & kModeParallel);
    EXPECT_TRUE(h.ItemState(ID_PARALLEL).first);

    h.view->SendCommand(ID_PARALLEL);
    ASSERT_TRUE(h.tool->GetPointConstraint().HasFixedAngle());
    EXPECT_DOUBLE_EQ(h.tool->GetPointConstraint().GetFixedAngle(), direction);

    h.view->SendCommand(ID_PERPENDICULAR);
    EXPECT_DOUBLE_EQ(h.tool->GetPointConstraint().GetFixedAngle(), direction + kPiValue / 2);

    MessageBoxRecorder messages;
    h.dialogs.Script(IDD_ANGLE,
                     DialogScript().SetText(IDC_ANGLE_VALUE, "400").Ok().SetText(IDC_ANGLE_VALUE, "30").Ok());
    h.view->SendCommand(ID_ANGLE_CONSTRAINT);
    EXPECT_EQ(messages.Messages().size(), 1u) << "400 is refused and the dialog stays open";
    EXPECT_EQ(h.dialogs.Dialogs().back().result, IDOK);
    EXPECT_DOUBLE_EQ(AngleDialogAngle(), 30.0);
    EXPECT_NEAR(h.tool->GetPointConstraint().GetFixedAngle(), direction + kPiValue / 6, 1e-15);
}

TEST(DirectionConstraint, NothingSnappedOpensNoDialog) {
    ConstraintHarness h;
    h.AddLine(1000, 1000, 5000, 3000);
    GetOptionRecord().m_snap = kSnapOnShape;
    h.MoveTo({3000, 9000});
    EXPECT_FALSE(h.tool->GetConstraintModes() & kModeParallel);
    EXPECT_FALSE(h.ItemState(ID_ANGLE_CONSTRAINT).first);
    EXPECT_FALSE(h.tool->TakeDirection(kModeAngle, h.view.get()));
    h.tool->TakeDirection(kModeParallel, h.view.get());
    EXPECT_FALSE(h.dialogs.Opened(IDD_ANGLE));
    EXPECT_FALSE(h.tool->GetPointConstraint().HasFixedAngle());
}

TEST(CoordinateConstraint, FixedXTakesASnapPointACrossingOrTheGrid) {
    ConstraintHarness h;
    MTessarayView* v = h.view.get();
    h.AddLine(3000, 2000, 3500, 1000);
    h.AddLine(2000, 5000, 4000, 7000);
    const MFloatPoint base(1000, 1000);

    GetOptionRecord().m_snap = kSnapEndPoint;
    MFloatPoint p = h.tool->ConstrainToCoordinate(v, base, h.Near({3000, 2000}, 2, 3), 2000, TRUE, 0, FALSE);
    EXPECT_TRUE(p.IsEqual(MFloatPoint(3000, 2000)));
    EXPECT_EQ(h.tool->GetSnapRecord().kind, kSnapEndPoint);

    GetOptionRecord().m_snap = kSnapOnShape;
    p = h.tool->ConstrainToCoordinate(v, base, h.Near({3000, 6000}, 1, -2), 2000, TRUE, 0, FALSE);
    EXPECT_NEAR(p.x, 3000, 1e-9);
    EXPECT_NEAR(p.y, 6000, 1e-9) << "the crossing of x = 3000 with the second line";
    EXPECT_EQ(h.tool->GetSnapRecord().kind, kSnapOnShape);

    // The grid counts from the drawing origin; a grid point is taken on the ray from the base.
    GetOptionRecord().m_snap = kSnapGrid;
    const MFloatPoint origin = v->UserToDoc(0, 0);
    p = h.tool->ConstrainToCoordinate(v, origin, h.Near(origin + MFloatPoint(0, 3000), 2, 2), 0, TRUE, 0,
                                      FALSE);
    EXPECT_TRUE(p.IsEqual(origin + MFloatPoint(0, 3000)));
    EXPECT_EQ(h.tool->GetSnapRecord().kind, kSnapGrid);

    GetOptionRecord().m_snap = 0;
    p = h.tool->ConstrainToCoordinate(v, base, MFloatPoint(7000, 8123), 500, FALSE, 250, TRUE);
    EXPECT_TRUE(p.IsEqual(MFloatPoint(7000, 1250))) << "only y fixed";
    EXPECT_EQ(h.tool->GetSnapRecord().kind, 0);
}

TEST(AngleLengthConstraint, LengthAngleAndAxisSnap) {
    ConstraintHarness h;
    MTessarayView* v = h.view.get();
    GetOptionRecord().m_snap = 0;
    const MFloatPoint base(1000, 1000);
    const auto at = [&](MFloatPoint pt, double length, BOOL bLength, double angle, BOOL bAngle,
                        UINT flags = 0) {
        return h.tool->ConstrainAngleLength(v, base, pt, length, bLength, angle, bAngle, flags);
    };
    MFloatPoint p = at(base + MFloatPoint(300, 400), 1000, TRUE, 0, FALSE);
    EXPECT_NEAR(p.x, 1600, 1e-9);
    EXPECT_NEAR(p.y, 1800, 1e-9);
    p = at(base + MFloatPoint(500, 300), 0, FALSE, 0, TRUE);
    EXPECT_TRUE(p.IsEqual(base + MFloatPoint(500, 0))) << "the foot on the ray";
    p = at(base + MFloatPoint(-500, 300), 0, FALSE, 0, TRUE);
    EXPECT_TRUE(p.IsEqual(base + MFloatPoint(-500, 0))) << "the ray turns to the cursor's side";
    p = at(base + MFloatPoint(500, 100), 0, FALSE, 0, FALSE, MK_SHIFT);
    EXPECT_TRUE(p.IsEqual(base + MFloatPoint(500, 0)));
    p = at(base + MFloatPoint(-100, -500), 700, TRUE, 0, FALSE, MK_SHIFT);
    EXPECT_TRUE(p.IsEqual(base + MFloatPoint(0, -700)));
}

TEST(AngleLengthConstraint, AcrossTheHalfTurnTheRayStaysOnTheCursorsSide) {
    ConstraintHarness h;
    GetOptionRecord().m_snap = 0;
    const MFloatPoint base(0, 0);
    // 170 and -170 degrees are 20 degrees apart: the ray at 170 degrees is the cursor's side.
    const MFloatPoint p = h.tool->ConstrainAngleLength(h.view.get(), base, Polar(-170, 1000), 1000, TRUE,
                                                       170 * kPiValue / 180, TRUE, 0);
    EXPECT_NEAR(p.x, Polar(170, 1000).x, 1e-9);
    EXPECT_NEAR(p.y, Polar(170, 1000).y, 1e-9);
}

TEST(AngleLengthConstraint, OnTheBasePointTheResultIsTheBase) {
    ConstraintHarness h;
    GetOptionRecord().m_snap = 0;
    const MFloatPoint base(2000, 3000);
    for (BOOL bLength : {FALSE, TRUE}) {
        const MFloatPoint p =
            h.tool->ConstrainAngleLength(h.view.get(), base, base, 500, bLength, 0, FALSE, 0);
        EXPECT_TRUE(p.IsEqual(base)) << "no NaN from a direction of zero length";
        EXPECT_FALSE(std::isnan(h.tool->GetSnapRecord().x));
    }
}

TEST(AngleLengthConstraint, ANegativeDistanceStillFindsTheSnapPointOnItsCircle) {
    ConstraintHarness h;
    h.AddLine(1600, 1800, 4000, 6000);
    GetOptionRecord().m_snap = kSnapEndPoint;
    const MFloatPoint base(1000, 1000);
    // The cursor's direction turned by the negative length lands on the end point, 1000 away.
    const MFloatPoint p = h.tool->ConstrainAngleLength(h.view.get(), base, base - MFloatPoint(300, 400),
                                                       -1000, TRUE, 0, FALSE, 0);
    EXPECT_TRUE(p.IsEqual(MFloatPoint(1600, 1800)));
    EXPECT_EQ(h.tool->GetSnapRecord().kind, kSnapEndPoint);
}

TEST(AngleLengthConstraint, LengthOnlyTakesACircleCrossing) {
    ConstraintHarness h;
    h.AddLine(0, 2000, 4000, 2000);
    GetOptionRecord().m_snap = kSnapOnShape;
    const MFloatPoint base(1000, 0);
    // The circle of radius 2500 about the base crosses y = 2000 at x = 1000 +- 1500.
    const MFloatPoint cursor = base + Polar(std::atan2(2000, 1500) * 180 / kPiValue, 2500);
    const MFloatPoint p =
        h.tool->ConstrainAngleLength(h.view.get(), base, h.Near(cursor, 2, 1), 2500, TRUE, 0, FALSE, 0);
    EXPECT_NEAR(p.x, 2500, 1e-9);
    EXPECT_NEAR(p.y, 2000, 1e-9);
    EXPECT_EQ(h.tool->GetSnapRecord().kind, kSnapOnShape);
}
