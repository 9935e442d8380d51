#include <gtest/gtest.h>

#include <cmath>

#include "model/geometry/Geometry.h"
#include "tests/model/geometry/PointList.h"

namespace {

void ExpectPoint(const MFloatPoint& actual, double x, double y, double tol = 1e-9) {
    EXPECT_NEAR(actual.x, x, tol);
    EXPECT_NEAR(actual.y, y, tol);
}

TEST(Tolerance, NamedConstants) {
    EXPECT_EQ(kZeroTolerance, 2.220446e-15);
    EXPECT_EQ(kNoAnswer, DBL_MAX);
    EXPECT_TRUE(IsNearZero(2.2e-15));
    EXPECT_FALSE(IsNearZero(2.220446e-15));
    EXPECT_TRUE(IsNearZero(-1e-20));
    EXPECT_DOUBLE_EQ(GetRelativeTolerance(-100), 100 * 2.220446e-16 * 10);
}

TEST(IntersectLines, ReturnsNegatedParameterAlongTheFirstLine) {
    MFloatPoint out;
    const double t = IntersectLines(&out, {0, 0}, {5, -1}, {2, 0}, {0, 1});
    ExpectPoint(out, 5, 0);
    EXPECT_DOUBLE_EQ(t, -2.5);  // out = p1 - t·d1
}

TEST(IntersectLines, ParallelAndCoincidentGiveTheFirstPoint) {
    MFloatPoint out(9, 9);
    EXPECT_EQ(IntersectLines(&out, {1, 2}, {0, 5}, {1, 1}, {2, 2}), 0.0);
    EXPECT_EQ(out, MFloatPoint(1, 2));
    EXPECT_EQ(IntersectLines(&out, {3, 3}, {0, 0}, {1, 1}, {-1, -1}), 0.0);
    EXPECT_EQ(out, MFloatPoint(3, 3));
}

TEST(AreLinesParallel, SquaredCrossProduct) {
    EXPECT_TRUE(AreLinesParallel({0, 0}, {1, 1}, {5, 0}, {7, 2}));
    EXPECT_FALSE(AreLinesParallel({0, 0}, {1, 1}, {5, 0}, {7, 3}));
}

TEST(IntersectSegments, BoundedTestsExcludeTheEnds) {
    MFloatPoint out;
    // The crossing lies exactly at the start of segment a.
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 0}, {0, -1}, {0, 1}, &out, kBoundedA));
    // ... and exactly at its end.
    EXPECT_FALSE(IntersectSegments({0, 0}, {10, 0}, {10, -1}, {10, 1}, &out, kBoundedA));
    EXPECT_TRUE(IntersectSegments({0, 0}, {10, 0}, {10, -1}, {10, 1}, &out, kBoundedB));
    ExpectPoint(out, 10, 0);
    // Flags 0: the infinite lines.
    EXPECT_TRUE(IntersectSegments({0, 0}, {1, 0}, {5, 1}, {5, 2}, &out, 0));
    ExpectPoint(out, 5, 0);
    EXPECT_FALSE(IntersectSegments({0, 0}, {1, 0}, {5, 1}, {5, 2}, &out, kBoundedA | kBoundedB));
    EXPECT_TRUE(IntersectSegments({0, 0}, {10, 10}, {0, 10}, {10, 0}, &out, kBoundedA | kBoundedB));
    ExpectPoint(out, 5, 5);
    EXPECT_FALSE(IntersectSegments({0, 0}, {1, 1}, {0, 1}, {1, 2}, &out, 0));  // parallel
}

TEST(PerpendicularFoot, OnTheInfiniteLineAndOnTheSegment) {
    MFloatPoint foot;
    GetPerpendicularFoot(&foot, {0, 0}, {10, 0}, {3, 7});
    ExpectPoint(foot, 3, 0);
    GetPerpendicularFoot(&foot, {0, 0}, {10, 0}, {-4, 2});
    ExpectPoint(foot, -4, 0);

    EXPECT_TRUE(IsPerpendicularFootOnSegment({0, 0}, {10, 0}, {0, 5}, &foot));  // an end counts
    ExpectPoint(foot, 0, 0);
    EXPECT_TRUE(IsPerpendicularFootOnSegment({0, 0}, {10, 10}, {10, 0}, &foot));
    ExpectPoint(foot, 5, 5);
    EXPECT_FALSE(IsPerpendicularFootOnSegment({0, 0}, {10, 0}, {11, 5}, &foot));
    ExpectPoint(foot, 11, 0);
}

TEST(PerpendicularFoot, ShortSegmentsStillProject) {
    // A segment of 1e-4 units (whose squared determinant is below the tolerance) is still a segment:
    // a point far away is not on it.
    MFloatPoint foot;
    EXPECT_FALSE(IsPerpendicularFootOnSegment({0, 0}, {1e-4, 0}, {50, 50}, &foot));
    ExpectPoint(foot, 50, 0);
    // A zero-length one answers its own point.
    EXPECT_TRUE(IsPerpendicularFootOnSegment({2, 3}, {2, 3}, {50, 50}, &foot));
    EXPECT_EQ(foot, MFloatPoint(2, 3));
}

TEST(SolveQuadratic, AllCases) {
    double r1, i1, r2, i2;
    EXPECT_EQ(SolveQuadratic(0, 0, 0, &r1, &i1, &r2, &i2), -1);
    EXPECT_EQ(SolveQuadratic(0, 0, 1, &r1, &i1, &r2, &i2), 0);
    EXPECT_EQ(SolveQuadratic(0, 2, -4, &r1, &i1, &r2, &i2), 1);
    EXPECT_DOUBLE_EQ(r1, 2);
    EXPECT_EQ(SolveQuadratic(1, -3, 2, &r1, &i1, &r2, &i2), 2);
    EXPECT_DOUBLE_EQ(r1, 2);
    EXPECT_DOUBLE_EQ(r2, 1);
    EXPECT_EQ(i1, 0);
    EXPECT_EQ(i2, 0);
    EXPECT_EQ(SolveQuadratic(2, 4, 0, &r1, &i1, &r2, &i2), 2);  // c' = 0
    EXPECT_DOUBLE_EQ(r1, -2);
    EXPECT_EQ(r2, 0);
    EXPECT_EQ(SolveQuadratic(1, -2, 1, &r1, &i1, &r2, &i2), 1);  // double root
    EXPECT_DOUBLE_EQ(r1, 1);
    EXPECT_EQ(SolveQuadratic(1, 2, 5, &r1, &i1, &r2, &i2), 2);  // -1 ± 2i
    EXPECT_DOUBLE_EQ(r1, -1);
    EXPECT_DOUBLE_EQ(r2, -1);
    EXPECT_DOUBLE_EQ(i1, 2);
    EXPECT_DOUBLE_EQ(i2, -2);
    // No cancellation for a small root next to a large one.
    EXPECT_EQ(SolveQuadratic(1, -1e8, 1, &r1, &i1, &r2, &i2), 2);
    EXPECT_NEAR(r2, 1e-8, 1e-22);
}

// The bisector must come out the same wherever the lines lie; the test runs at the origin and far
// from it.
class BisectorLine : public ::testing::TestWithParam<MFloatPoint> {};

TEST_P(BisectorLine, CrossingLinesGiveTheBisectorOfThePickedAngle) {
    const MFloatPoint o = GetParam();
    MFloatPoint s, e;
    // Line a along x, line b along y, crossing at o; picks in the first quadrant.
    ASSERT_TRUE(GetBisectorLine(o + MFloatPoint(-5, 0), o + MFloatPoint(5, 0), o + MFloatPoint(0, 5),
                                o + MFloatPoint(0, -5), o + MFloatPoint(3, 0), o + MFloatPoint(0, 2), &s,
                                &e));
    ExpectPoint(s - o, 0, 0, 1e-6);
    ExpectPoint(e - o, 0.5, 0.5, 1e-6);
    // Picks in the third quadrant, the lines' ends given the other way round.
    ASSERT_TRUE(GetBisectorLine(o + MFloatPoint(5, 0), o + MFloatPoint(-5, 0), o + MFloatPoint(0, -5),
                                o + MFloatPoint(0, 5), o + MFloatPoint(-1, 0), o + MFloatPoint(0, -4), &s,
                                &e));
    ExpectPoint(s - o, 0, 0, 1e-6);
    ExpectPoint(e - o, -0.5, -0.5, 1e-6);
    // Picks beyond the segments' ends still choose their side of the crossing.
    ASSERT_TRUE(GetBisectorLine(o + MFloatPoint(1, 1), o + MFloatPoint(2, 2), o + MFloatPoint(1, -1),
                                o + MFloatPoint(2, -2), o + MFloatPoint(3, 3), o + MFloatPoint(3, -3), &s,
                                &e));
    ExpectPoint(s - o, 0, 0, 1e-6);
    ExpectPoint(e - o, std::sqrt(0.5), 0, 1e-6);
}

TEST_P(BisectorLine, ParallelLinesGiveTheMidLineWithCorrespondingEnds) {
    const MFloatPoint o = GetParam();
    MFloatPoint s, e;
    ASSERT_TRUE(GetBisectorLine(o + MFloatPoint(0, 0), o + MFloatPoint(10, 0), o + MFloatPoint(0, 4),
                                o + MFloatPoint(10, 4), o, o, &s, &e));
    ExpectPoint(s - o, 0, 2, 1e-6);
    ExpectPoint(e - o, 10, 2, 1e-6);
    // Line b given the other way round: its ends are paired by direction, not by their order.
    ASSERT_TRUE(GetBisectorLine(o + MFloatPoint(0, 0), o + MFloatPoint(10, 0), o + MFloatPoint(10, 4),
                                o + MFloatPoint(0, 4), o, o, &s, &e));
    ExpectPoint(s - o, 0, 2, 1e-6);
    ExpectPoint(e - o, 10, 2, 1e-6);
}

TEST_P(BisectorLine, ShortLinesFail) {
    const MFloatPoint o = GetParam();
    MFloatPoint s, e;
    EXPECT_FALSE(GetBisectorLine(o, o, o + MFloatPoint(0, 1), o + MFloatPoint(1, 1), o, o, &s, &e));
    EXPECT_FALSE(GetBisectorLine(o, o + MFloatPoint(1, 0), o + MFloatPoint(0, 1), o + MFloatPoint(0, 1), o, o,
                                 &s, &e));
}

INSTANTIATE_TEST_SUITE_P(Origins, BisectorLine,
                         ::testing::Values(MFloatPoint(0, 0), MFloatPoint(1e5, -3e5), MFloatPoint(-7e4, 2e4),
                                           MFloatPoint(-12, -7)));

TEST(FindNearestSegment, NearestInfiniteLineFirstOnTies) {
    const MFloatPointArray square = Points({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_EQ(FindNearestSegment(square, FALSE, {5, 1}), 0);
    EXPECT_EQ(FindNearestSegment(square, FALSE, {9, 5}), 1);
    EXPECT_EQ(FindNearestSegment(square, FALSE, {1, 5}), 0);  // the closing edge is not there when open
    EXPECT_EQ(FindNearestSegment(square, TRUE, {1, 5}), 3);
    EXPECT_EQ(FindNearestSegment(square, FALSE, {5, 5}), 0);  // equal distances: the first
    EXPECT_EQ(FindNearestSegment(Points({{1, 1}}), FALSE, {0, 0}), -1);
    EXPECT_EQ(FindNearestSegment(MFloatPointArray(), TRUE, {0, 0}), -1);
}

TEST(FindNearestSegment, RepeatedVertexDoesNotCaptureEveryPoint) {
    // A zero-length segment counts by the distance to its point.
    const MFloatPointArray line = Points({{0, 0}, {10, 0}, {10, 0}, {10, 10}});
    EXPECT_EQ(FindNearestSegment(line, FALSE, {5, 1}), 0);
    EXPECT_EQ(FindNearestSegment(line, FALSE, {9, 8}), 2);
}

TEST(FindNearestSegment, SkipsOnlySegmentsThatCannotBeTheNearest) {
    // Distances are first compared squared; the answer is still the first segment of least length.
    const double nan = std::nan("");
    const struct {
        const char* what;
        MFloatPointArray points;
        MFloatPoint p;
        int nearest;
    } cases[] = {
        {"a NaN vertex before the nearest segment",
         Points({{0, 10}, {10, 10}, {nan, 0}, {0, 0}, {10, 0}}),
         {5, 1},
         3},
        {"squares beyond the range", Points({{0, 0}, {1, 0}, {1, 1}}), {1e155, 2e155}, 1},
        {"mirror images, their squares a rounding apart",
         Points({{923, 322}, {82, 194}, {-82, 194}, {-923, 322}}),
         {0, 144.0 / 7},
         0},
        {"squares below the range",
         Points({{0, 1e-170}, {10, 1e-170}, {10, -9e-171}, {0, -9e-171}}),
         {5, 0},
         2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindNearestSegment(c.points, FALSE, c.p), c.nearest) << c.what;
}

TEST(PolylineDivision, EachHintDividesAsDividePolylineDoes) {
    // One division serves hints on either way round in turn.
    const MFloatPointArray ring = Points({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    MPolylineDivision division({5, 0}, {10, 5}, ring, TRUE, 3);
    EXPECT_FALSE(division.Matches({5, 0}, {10, 6}, ring, TRUE, 3));
    for (const MFloatPoint& hint :
         {MFloatPoint(0, 5), MFloatPoint(9, 1), MFloatPoint(0, 5), MFloatPoint(9, 1)}) {
        MFloatPointArray out, expected;
        division.Divide(hint, out);
        DividePolyline({5, 0}, {10, 5}, ring, TRUE, 3, expected, hint);
        ASSERT_EQ(out.GetSize(), 2);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(out[i], expected[i]) << "hint " << hint.x << ", " << hint.y;
    }
}

TEST(DividePolyline, StraightLine) {
    MFloatPointArray out;
    out.Add({99, 99});
    DividePolyline({0, 0}, {10, 0}, Points({{0, 0}, {10, 0}}), FALSE, 4, out, {});
    ASSERT_EQ(out.GetSize(), 3);
    ExpectPoint(out[0], 2.5, 0);
    ExpectPoint(out[1], 5, 0);
    ExpectPoint(out[2], 7.5, 0);
    // The ends given the other way round on the same segment: the walk still starts at the one
    // nearer the segment's start.
    DividePolyline({8, 0}, {2, 0}, Points({{0, 0}, {10, 0}}), FALSE, 3, out, {});
    ASSERT_EQ(out.GetSize(), 2);
    ExpectPoint(out[0], 4, 0);
    ExpectPoint(out[1], 6, 0);
}

TEST(DividePolyline, AcrossVertices) {
    const MFloatPointArray path = Points({{0, 0}, {10, 0}, {10, 10}});
    MFloatPointArray out;
    DividePolyline({0, 0}, {10, 10}, path, FALSE, 4, out, {});
    ASSERT_EQ(out.GetSize(), 3);
    ExpectPoint(out[0], 5, 0);
    ExpectPoint(out[1], 10, 0);
    ExpectPoint(out[2], 10, 5);
}

TEST(DividePolyline, StartFartherFromItsVertexThanTheEndFromItsOwn) {
    // Path from (8, 0) over (10, 0) to (10, 1): length 3. The division points lie on the path at
    // 1 and 2 from the start.
    const MFloatPointArray path = Points({{0, 0}, {10, 0}, {10, 10}});
    MFloatPointArray out;
    DividePolyline({8, 0}, {10, 1}, path, FALSE, 3, out, {});
    ASSERT_EQ(out.GetSize(), 2);
    ExpectPoint(out[0], 9, 0);
    ExpectPoint(out[1], 10, 0);
    DividePolyline({9, 0}, {10, 4}, path, FALSE, 5, out, {});
    ASSERT_EQ(out.GetSize(), 4);
    ExpectPoint(out[0], 10, 0);
    ExpectPoint(out[1], 10, 1);
    ExpectPoint(out[3], 10, 3);
}

TEST(DividePolyline, ClosedRingDirectionFromTheHint) {
    const MFloatPointArray ring = Points({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    MFloatPointArray out;
    // From (5, 0) to (10, 5) the short way (hint on segment 0 or 1): length 10.
    DividePolyline({5, 0}, {10, 5}, ring, TRUE, 2, out, {9, 1});
    ASSERT_EQ(out.GetSize(), 1);
    ExpectPoint(out[0], 10, 0);
    // The long way round (hint on the left edge): length 30, from (10, 5) over (10, 10), (0, 10),
    // (0, 0) to (5, 0).
    DividePolyline({5, 0}, {10, 5}, ring, TRUE, 3, out, {0, 5});
    ASSERT_EQ(out.GetSize(), 2);
    ExpectPoint(out[0], 5, 10);
    ExpectPoint(out[1], 0, 5);
    // Coinciding ends: once round the whole ring.
    DividePolyline({5, 0}, {5, 0}, ring, TRUE, 4, out, {});
    ASSERT_EQ(out.GetSize(), 3);
    ExpectPoint(out[0], 10, 5);
    ExpectPoint(out[1], 5, 10);
    ExpectPoint(out[2], 0, 5);
}

TEST(DividePolyline, DegenerateInputsProduceNothing) {
    MFloatPointArray out;
    out.Add({1, 1});
    DividePolyline({0, 0}, {10, 0}, Points({{0, 0}, {10, 0}}), FALSE, 0, out, {});
    EXPECT_EQ(out.GetSize(), 0);
    DividePolyline({0, 0}, {10, 0}, Points({{0, 0}, {10, 0}}), FALSE, -3, out, {});
    EXPECT_EQ(out.GetSize(), 0);
    DividePolyline({0, 0}, {10, 0}, Points({{0, 0}}), FALSE, 3, out, {});
    EXPECT_EQ(out.GetSize(), 0);
    DividePolyline({0, 0}, {10, 0}, Points({{0, 0}, {10, 0}}), FALSE, 1, out, {});
    EXPECT_EQ(out.GetSize(), 0);  // one part: no division point
}

}  // namespace
