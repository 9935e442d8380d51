#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "tests/model/shapes/curves/CurveTestSupport.h"

using namespace shapetest;
using namespace curvetest;

namespace {

class SplineShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        PointEditFlag = FALSE;
    }
    void TearDown() override { PointEditFlag = FALSE; }
    TestView view;
};

template <class T>
T Through(std::initializer_list<MFloatPoint> points) {
    T s;
    for (const MFloatPoint& p : points)
        s.AddControlPoint(p);
    return s;
}

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
}

// The slope on both sides of parameter t (wrapping for the loop).
void ExpectSmoothAt(const MSplineShapeBase& s, double before, double after) {
    const double h = 1e-6;
    const MFloatPoint left = (s.EvaluateSpline(before) - s.EvaluateSpline(before - h)) / h;
    const MFloatPoint right = (s.EvaluateSpline(after + h) - s.EvaluateSpline(after)) / h;
    EXPECT_NEAR(left.x, right.x, 1e-3 * (1 + std::fabs(left.x)));
    EXPECT_NEAR(left.y, right.y, 1e-3 * (1 + std::fabs(left.y)));
}

}  // namespace

TEST_F(SplineShapeTest, TwoPointsGiveAnEvenlySampledSegment) {
    MSplineShape s = Through<MSplineShape>({{0, 0}, {10, 0}});
    ASSERT_EQ(s.GetPointCount(), 17);
    for (int i = 0; i <= 16; ++i)
        ExpectNear(s.GetPoint(i), {10.0 * i / 16, 0});
    EXPECT_FALSE(s.IsClosed());
    EXPECT_FALSE(s.IsVertexSnap());
    EXPECT_EQ(s.GetTypeName(), "SPLINE");
    EXPECT_EQ(s.GetTypeId(), 9);
}

TEST_F(SplineShapeTest, OpenCurvePassesThroughItsPoints) {
    MSplineShape s = Through<MSplineShape>({{0, 0}, {10, 0}, {10, 10}});
    ASSERT_EQ(s.GetPointCount(), 33);
    ExpectNear(s.GetPoint(0), {0, 0});
    ExpectNear(s.GetPoint(16), {10, 0});
    ExpectNear(s.GetPoint(32), {10, 10}, 1e-9);
    ExpectSmoothAt(s, 0.5, 0.5);

    // A symmetric set gives a symmetric curve (natural ends on both sides).
    MSplineShape arch = Through<MSplineShape>({{0, 0}, {1, 1}, {2, 0}});
    ExpectNear(arch.GetPoint(16), {1, 1});
    for (int i = 0; i <= 16; ++i) {
        EXPECT_NEAR(arch.GetPoint(i).x, 2 - arch.GetPoint(32 - i).x, 1e-9);
        EXPECT_NEAR(arch.GetPoint(i).y, arch.GetPoint(32 - i).y, 1e-9);
    }
    // Five points: the curve runs through every one of them.
    MSplineShape wave = Through<MSplineShape>({{0, 0}, {3, 2}, {5, -1}, {9, 4}, {12, 0}});
    EXPECT_EQ(wave.GetPointCount(), 65);
    const MFloatPointArray& knots = wave.GetKnots();
    for (int k = 0; k < knots.GetSize(); ++k)
        ExpectNear(wave.EvaluateSpline(wave.GetParams()[k]), knots[k], 1e-9);
    ExpectSmoothAt(wave, wave.GetParams()[2], wave.GetParams()[2]);
}

TEST_F(SplineShapeTest, EverySampleIsTheCurveAtItsParameter) {
    // Bit for bit, on knots and between them, whichever interval a sample at a knot falls in.
    const auto check = [](const MSplineShapeBase& s, int divisions, const char* what) {
        double x = 0.0;
        for (int i = 0; i < s.GetPointCount(); ++i, x += 1.0 / divisions) {
            const MFloatPoint expected = s.EvaluateSpline(x);
            ASSERT_TRUE(s.GetPoint(i) == expected) << what << " sample " << i;
        }
    };
    const auto open = Through<MSplineShape>({{0.1, 0.3}, {1.1, 0.3}, {1.1, 1.3}, {0.1, 1.3}, {0.1, 2.3}});
    check(open, 4 * MSplineShape::kSamplesPerInterval, "open, knots on samples");
    const auto uneven = Through<MSplineShape>({{0, 0}, {3, 1.7}, {3.2, -4}, {9, 2.5}, {1e-3, 7}});
    check(uneven, 4 * MSplineShape::kSamplesPerInterval, "open, uneven");
    const auto loop = Through<MSplineLoopShape>({{0.1, 0.3}, {1.1, 0.3}, {1.1, 1.3}, {0.1, 1.3}});
    check(loop, 4 * MSplineShape::kSamplesPerInterval - 1, "loop");
}

TEST_F(SplineShapeTest, RepeatedPointsAreDropped) {
    MSplineShape repeated = Through<MSplineShape>({{0, 0}, {0, 0}, {10, 0}});
    MSplineShape plain = Through<MSplineShape>({{0, 0}, {10, 0}});
    ASSERT_EQ(repeated.GetPointCount(), plain.GetPointCount());
    for (int i = 0; i < plain.GetPointCount(); ++i)
        EXPECT_EQ(repeated.GetPoint(i), plain.GetPoint(i));
    EXPECT_EQ(repeated.GetControlPointCount(), 3);

    MSplineShape same = Through<MSplineShape>({{1, 1}, {1, 1}});
    EXPECT_EQ(same.GetPointCount(), 0);
    EXPECT_FALSE(same.IsValid());
}

TEST_F(SplineShapeTest, LoopIsClosedAndSmoothThroughItsFirstPoint) {
    MSplineLoopShape loop = Through<MSplineLoopShape>({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_EQ(loop.GetKnotCount(), 4);
    ExpectNear(loop.GetKnots()[3], {0, 0});
    ASSERT_EQ(loop.GetPointCount(), 47);
    ExpectNear(loop.GetPoint(0), {0, 0});
    EXPECT_TRUE(loop.IsClosed());
    EXPECT_EQ(loop.GetTypeName(), "SPLINELOOP");
    EXPECT_EQ(loop.GetTypeId(), 10);
    ExpectSmoothAt(loop, 1.0, 0.0);
    for (int k = 1; k < 3; ++k)
        ExpectSmoothAt(loop, loop.GetParams()[k], loop.GetParams()[k]);

    // Four points of a square: by symmetry the curve between two of them is symmetric too.
    MSplineLoopShape round = Through<MSplineLoopShape>({{1, 0}, {0, 1}, {-1, 0}, {0, -1}});
    const MFloatPoint eighth = round.EvaluateSpline(0.125);
    EXPECT_NEAR(eighth.x, eighth.y, 1e-12);
    EXPECT_GT(eighth.GetLength(), 0.75);
    ExpectNear(round.EvaluateSpline(0.5), {-1, 0}, 1e-12);
    ExpectNear(round.EvaluateSpline(1.25), round.EvaluateSpline(0.25), 1e-12);  // wraps
}

TEST_F(SplineShapeTest, LoopEndingAtItsStartAddsNoKnot) {
    MSplineLoopShape loop = Through<MSplineLoopShape>({{0, 0}, {10, 0}, {0, 0}});
    EXPECT_EQ(loop.GetKnotCount(), 3);
    EXPECT_EQ(loop.GetPointCount(), 31);

    MSplineLoopShape two = Through<MSplineLoopShape>({{0, 0}, {10, 0}});
    ASSERT_EQ(two.GetPointCount(), 2);
    EXPECT_EQ(two.GetPoint(1), MFloatPoint(10, 0));
    MSplineLoopShape one = Through<MSplineLoopShape>({{3, 3}});
    EXPECT_EQ(one.GetPointCount(), 0);
    MSplineLoopShape same = Through<MSplineLoopShape>({{3, 3}, {3, 3}, {3, 3}});
    EXPECT_EQ(same.GetPointCount(), 0);
    EXPECT_FALSE(same.IsValid());
}

TEST_F(SplineShapeTest, ControlPointOperations) {
    MSplineShape s;
    s.SetLastControlPoint({1, 1});  // nothing to replace
    s.MoveLastControlPoint({1, 1});
    s.RemoveLastControlPoint();
    EXPECT_EQ(s.GetControlPointCount(), 0);
    s.AddControlPoint({0, 0});
    EXPECT_EQ(s.GetPointCount(), 0);
    s.AddControlPoint({5, 0});
    EXPECT_EQ(s.GetPointCount(), 17);
    s.MoveLastControlPoint({5, 5});
    ExpectNear(s.GetLastPoint(), {5, 5});
    s.SetLastControlPoint({6, 6});
    s.AddControlPoint({7, 0});
    EXPECT_EQ(s.GetPointCount(), 33);
    s.RemoveLastControlPoint();
    EXPECT_EQ(s.GetPointCount(), 17);
    s.SetControlPoint(0, -1, 0);
    ExpectNear(s.GetPoint(0), {-1, 0});
    EXPECT_EQ(s.GetControlPoint(1), MFloatPoint(6, 6));
    EXPECT_THROW(s.SetControlPoint(2, 0, 0), CInvalidArgException);
    EXPECT_THROW(s.GetControlPoint(-1), CInvalidArgException);
}

TEST_F(SplineShapeTest, HandlesAreControlPointsInPointEdit) {
    MSplineShape s = Through<MSplineShape>({{0, 0}, {10, 0}, {10, 10}});
    s.Recalc(&view);
    EXPECT_EQ(s.GetHandleCount(), 8);
    PointEditFlag = TRUE;
    EXPECT_TRUE(s.IsPointEditMode());
    ASSERT_EQ(s.GetHandleCount(), 3);
    EXPECT_EQ(s.GetHandle(1), MFloatPoint(10, 0));
    int index = 1;
    s.MoveHandle(&index, {12, -2}, FALSE);
    ExpectNear(s.GetPoint(16), {12, -2});
    index = 3;
    EXPECT_THROW(s.MoveHandle(&index, {0, 0}, FALSE), CInvalidArgException);
    EXPECT_THROW(s.GetHandle(3), CInvalidArgException);
}

TEST_F(SplineShapeTest, InsertAndDeleteWorkOnControlPoints) {
    MSplineShape s = Through<MSplineShape>({{0, 0}, {10, 0}});
    s.DeleteVertex(0);
    EXPECT_EQ(s.GetControlPointCount(), 2);
    s.InsertVertex(0);
    ASSERT_EQ(s.GetControlPointCount(), 3);
    EXPECT_EQ(s.GetControlPoint(1), MFloatPoint(5, 0));
    s.InsertVertex(7);  // past the end of an open spline: between the last two
    ASSERT_EQ(s.GetControlPointCount(), 4);
    EXPECT_EQ(s.GetControlPoint(2), MFloatPoint(7.5, 0));
    s.DeleteVertex(0);
    EXPECT_EQ(s.GetControlPoint(0), MFloatPoint(5, 0));
    EXPECT_EQ(s.GetPointCount(), 33);
    EXPECT_THROW(s.DeleteVertex(3), CInvalidArgException);

    MSplineLoopShape loop = Through<MSplineLoopShape>({{0, 0}, {10, 0}, {10, 10}});
    loop.InsertVertex(2);  // the closing edge: its midpoint goes to the front
    ASSERT_EQ(loop.GetControlPointCount(), 4);
    EXPECT_EQ(loop.GetControlPoint(0), MFloatPoint(5, 5));

    MSplineShape single = Through<MSplineShape>({{1, 1}});
    single.InsertVertex(0);
    EXPECT_EQ(single.GetControlPointCount(), 1);
}

TEST_F(SplineShapeTest, TransformsMoveTheControlPoints) {
    MSplineShape s = Through<MSplineShape>({{0, 0}, {10, 0}, {10, 10}});
    s.ScaleXY({0, 0}, -1, 2);
    EXPECT_EQ(s.GetControlPoint(2), MFloatPoint(-10, 20));
    ExpectNear(s.GetPoint(32), {-10, 20});
    s.ScaleXY({0, 0}, 1e-16, 2);
    EXPECT_EQ(s.GetControlPoint(2), MFloatPoint(-10, 20));
    s.MirrorX(0, 0);
    EXPECT_EQ(s.GetControlPoint(1), MFloatPoint(10, 0));
    s.MirrorY(0, 1);
    EXPECT_EQ(s.GetControlPoint(1), MFloatPoint(10, 2));
    s.Rotate(10, 2, kPi / 2);
    ExpectNear(s.GetControlPoint(0), {10, -8});
    ExpectNear(s.GetPoint(0), {10, -8});
    s.Move({1, 1});
    ExpectNear(s.GetControlPoint(0), {11, -7});
    ExpectNear(s.GetPoint(0), {11, -7});
    ExpectNear(s.EvaluateSpline(0.5), s.GetPoint(16), 1e-9);  // the curve moved with its points

    std::unique_ptr<MCadShape> clone(s.Clone());
    EXPECT_EQ(clone->GetRuntimeClass(), RUNTIME_CLASS(MSplineShape));
    std::unique_ptr<MCadShape> turned(s.CreateRotated(0, 0, 0.3));
    EXPECT_EQ(turned->GetRuntimeClass(), RUNTIME_CLASS(MSplineShape));
}

TEST_F(SplineShapeTest, SnapsOnlyControlPointsAsEndPoints) {
    MSplineLoopShape loop = Through<MSplineLoopShape>({{0, 0}, {10, 0}, {10, 10}});
    MSnapPoint snap = Snap(loop, {9, 1}, kSnapEndPoint | kSnapMidPoint | kSnapCenter);
    EXPECT_EQ(snap.kind, kSnapEndPoint);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(10, 0));
    EXPECT_EQ(Snap(loop, {6, 4}, kSnapMidPoint | kSnapCenter).kind, 0);
}

TEST_F(SplineShapeTest, OpenSplineRoundTrips) {
    MSplineShape s = Through<MSplineShape>({{0, 0}, {10, 0.5}, {10, 10}});
    s.SetColor(RGB(255, 0, 0));
    s.SetLineWidth(0.5);
    s.SetArrowsEx(2, 3.0, 0, 0.0);
    EXPECT_EQ(ShapeText(s), "SPLINE\n\t255 0 0.5 2 3 0 0 16777216\n\t3\n\t0 0\n\t10 0.5\n\t10 10\n");
    std::unique_ptr<MSplineShape> text = TextRoundTrip(s);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->GetPointCount(), 33);
    EXPECT_EQ(text->GetArrows(), MArrowInfo(2, 3.0, 0, 0.0));
    std::unique_ptr<MSplineShape> archived = ArchiveRoundTrip(s);
    ASSERT_TRUE(archived);
    EXPECT_EQ(archived->GetPoint(20), s.GetPoint(20));
    EXPECT_EQ(archived->GetArrows(), s.GetArrows());

    // A line without a fill keeps no fill; one with a fill reads it.
    std::unique_ptr<MCadShape> bare = ReadShape("SPLINE\n\t0 0 0 0 0 0 0\n\t2\n\t0 0\n\t1 1\n");
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->GetFillStyle().IsNone());
    EXPECT_EQ(bare->GetPoints().GetSize(), 17);
    std::unique_ptr<MCadShape> filled = ReadShape("SPLINE\n\t0 0 0 0 0 0 0  255  \n\t2\n\t0 0\n\t1 1\n");
    ASSERT_TRUE(filled);
    EXPECT_EQ(filled->GetFillStyle(), MFillStyle(RGB(255, 0, 0)));
    EXPECT_FALSE(ReadShape("SPLINE\n\t0 0 0 0 0 0 0 G1 x\n\t2\n\t0 0\n\t1 1\n"));
}

TEST_F(SplineShapeTest, LoopRoundTrips) {
    MSplineLoopShape loop = Through<MSplineLoopShape>({{0, 0}, {10, 0}, {10, 10}});
    loop.SetFillStyle(MFillStyle(RGB(0, 255, 0)));
    EXPECT_EQ(ShapeText(loop), "SPLINELOOP\n\t0 0 0 65280\n\t3\n\t0 0\n\t10 0\n\t10 10\n");
    std::unique_ptr<MSplineLoopShape> text = TextRoundTrip(loop);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->GetPointCount(), 47);
    EXPECT_EQ(text->GetFillStyle(), loop.GetFillStyle());
    std::unique_ptr<MSplineLoopShape> archived = ArchiveRoundTrip(loop);
    ASSERT_TRUE(archived);
    EXPECT_EQ(archived->GetPointCount(), 47);
    EXPECT_EQ(archived->GetPoint(10), loop.GetPoint(10));
    EXPECT_TRUE(archived->IsClosed());
}

TEST_F(SplineShapeTest, ExportsAreThePolylineOfTheCurve) {
    MSplineShape s = Through<MSplineShape>({{0, 0}, {10, 0}});
    s.SetArrowsEx(3, 2.0, 0, 0.0);
    MDXFOutStream out;
    ExportShapeDxf(s, out, "0", {0, 0}, 1.0);
    const std::vector<std::string> entities = DxfEntities(out.GetText());
    ASSERT_EQ(entities.size(), 1u + 17 + 1 + 1);
    EXPECT_EQ(entities.back(), "LINE");  // the slash at the start
    MJWCLineArray lines;
    ExportShapeJwcLines(s, lines, 0, 1.0, 1.0);
    EXPECT_EQ(lines.GetSize(), 16 + 1);
}

TEST_F(SplineShapeTest, HitTestOnTheCurve) {
    MSplineShape s = Through<MSplineShape>({{0, 0}, {5, 3}, {10, 0}});
    MFloatPoint foot;
    EXPECT_TRUE(s.HitTest(&view, CPoint(50, -29), &foot, 3));
    EXPECT_NEAR(foot.y, 3, 0.01);
    EXPECT_FALSE(s.HitTest(&view, CPoint(50, -10), &foot, 3));
}

TEST_F(SplineShapeTest, AHugeSplineTakesFewerSamplesPerInterval) {
    // Up to the cap every interval keeps its 16 samples; past it the outline stays within the cap.
    constexpr int kFull = MSplineShapeBase::kMaxCurvePoints / MSplineShapeBase::kSamplesPerInterval;
    const struct {
        int intervals;
        bool loop;
        int outline;
    } cases[] = {
        {kFull, false, kFull * 16 + 1},
        {kFull + 1, false, (kFull + 1) * 15 + 1},
        {kFull, true, kFull * 16 - 1},
        {1000000, true, 999999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.intervals) + (c.loop ? " loop" : " open"));
        MFloatPointArray points;
        const int count = c.loop ? c.intervals : c.intervals + 1;
        for (int i = 0; i < count; ++i)
            points.Add(MFloatPoint(i, 50 * std::sin(i * 0.01)));
        const std::unique_ptr<MSplineShapeBase> s(
            c.loop ? static_cast<MSplineShapeBase*>(new MSplineLoopShape) : new MSplineShape);
        s->SetControlPoints(points);
        ASSERT_EQ(s->GetPointCount(), c.outline);
        // The parameter is accumulated: the end is off by rounding on a million units.
        ExpectNear(s->GetPoint(0), points[0], 1e-6);
        if (!c.loop) ExpectNear(s->GetPoint(c.outline - 1), points[count - 1], 1e-3);
    }
}
