// Intersection snaps of the curves and closed shapes with lines and with one another: the crossing
// of the outlines comes from the sampled or generated vertices.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "tests/model/shapes/curves/CurveTestSupport.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/RectShape.h"
#include "model/shapes/curves/SplineShape.h"

using namespace shapetest;
using namespace curvetest;

namespace {

class CurveIntersectionTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }
};

// The intersection snap of two shapes nearest the cursor.
MSnapPoint Crossing(MCadShape& a, MCadShape& b, const MFloatPoint& cursor) {
    MSnapPoint snap;
    a.SnapIntersection(&b, snap, cursor, MFloatRect(-100, -100, 100, 100), DBL_MAX);
    return snap;
}

}  // namespace

TEST_F(CurveIntersectionTest, CircleAndLine) {
    MCircleShape circle;
    circle.SetCircle(0, 0, 10);
    MLineShape line({1, -20}, {1, 20});
    MSnapPoint upper = Crossing(circle, line, {1, 9});
    EXPECT_EQ(upper.kind, kSnapIntersection);
    EXPECT_NEAR(upper.x, 1, 1e-12);
    EXPECT_NEAR(upper.y, std::sqrt(99.0), 0.02);  // on the 48-gon, within its sagitta
    EXPECT_TRUE(upper.InvolvesShape(&circle) && upper.InvolvesShape(&line));
    MSnapPoint lower = Crossing(line, circle, {1, -9});
    EXPECT_NEAR(lower.y, -std::sqrt(99.0), 0.02);
}

TEST_F(CurveIntersectionTest, ArcMeetsALineOnlyWhereItRuns) {
    MCircleArcShape arc;
    arc.SetArc(0, 0, 10, 0, kPi);
    MLineShape line({1, -20}, {1, 20});
    MSnapPoint snap = Crossing(arc, line, {1, -9});  // the lower crossing is not on the arc
    EXPECT_EQ(snap.kind, kSnapIntersection);
    EXPECT_GT(snap.y, 9.9);
    MFloatPointArray points;
    EXPECT_EQ(arc.IntersectSegment({1, -20}, {1, 20}, &points, kBoundedA | kBoundedB), 1);
}

TEST_F(CurveIntersectionTest, EllipseAndCircle) {
    MEllipseShape ellipse;
    ellipse.SetEllipse(0, 0, 8, 4);
    MCircleShape circle;
    circle.SetCircle(0, 0, 6);
    MSnapPoint snap = Crossing(ellipse, circle, {4, 3});
    EXPECT_EQ(snap.kind, kSnapIntersection);
    // x²/64 + y²/16 = 1 and x² + y² = 36: x² = 80/3, y² = 28/3.
    EXPECT_NEAR(snap.x, std::sqrt(80.0 / 3), 0.1);
    EXPECT_NEAR(snap.y, std::sqrt(28.0 / 3), 0.1);
    MFloatPointArray points;
    EXPECT_EQ(ellipse.IntersectCircle(0, 0, 4, 3, 6, &points), 4);
}

TEST_F(CurveIntersectionTest, RectangleAndSpline) {
    MRectShape rect;
    rect.SetRect(0, 0, 10, 4);
    MSplineShape spline;
    for (const MFloatPoint& p : {MFloatPoint(-2, 2), MFloatPoint(5, 3), MFloatPoint(12, 2)})
        spline.AddControlPoint(p);
    MSnapPoint left = Crossing(rect, spline, {0, 3});
    EXPECT_EQ(left.kind, kSnapIntersection);
    EXPECT_NEAR(left.x, 0, 1e-9);
    EXPECT_GT(left.y, 2);
    EXPECT_LT(left.y, 3);
    MSnapPoint right = Crossing(spline, rect, {10, 3});
    EXPECT_NEAR(right.x, 10, 1e-9);
    EXPECT_NEAR(right.y, left.y, 1e-9);  // the curve is symmetric about x = 5
}
