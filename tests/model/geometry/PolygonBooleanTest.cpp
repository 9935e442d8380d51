#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "model/geometry/PolygonBoolean.h"

namespace {

using Op = MFusionOperation;

MFloatPointArray Outline(std::initializer_list<MFloatPoint> points) {
    MFloatPointArray a;
    for (const MFloatPoint& p : points)
        a.Add(p);
    return a;
}

MFloatPointArray Rect(double x0, double y0, double x1, double y1) {
    return Outline({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

double SignedArea(const MFloatPointArray& loop) {
    double sum = 0.0;
    for (int i = 0; i < loop.GetSize(); ++i)
        sum += loop[i].Cross(loop[(i + 1) % loop.GetSize()]);
    return sum / 2;
}

double TotalArea(const MFusionResult& r) {
    double sum = 0.0;
    for (const MFloatPointArray& loop : r.loops)
        sum += SignedArea(loop);
    return sum;
}

// The loop's points from its lowest-leftmost one on, in its own direction.
std::vector<std::pair<double, double>> Canonical(const MFloatPointArray& loop) {
    std::vector<std::pair<double, double>> points;
    for (const MFloatPoint& p : loop)
        points.emplace_back(p.x, p.y);
    std::rotate(points.begin(), std::min_element(points.begin(), points.end()), points.end());
    return points;
}

std::vector<std::pair<double, double>> Canonical(std::initializer_list<MFloatPoint> points) {
    return Canonical(Outline(points));
}

MFusionResult Combine(const MFloatPointArray& a, const MFloatPointArray& b, Op op) {
    MFusionResult r = CombineOutlines(a, b, op);
    EXPECT_TRUE(r.IsDone());
    for (const MFloatPointArray& loop : r.loops) {
        std::set<std::pair<double, double>> seen;
        for (const MFloatPoint& p : loop)
            EXPECT_TRUE(seen.emplace(p.x, p.y).second)
                << "a loop passes (" << p.x << ", " << p.y << ") twice";
    }
    return r;
}

TEST(PolygonBoolean, OverlappingRectanglesGiveOneLoopPerOperation) {
    const MFloatPointArray a = Rect(0, 0, 4, 4), b = Rect(2, 2, 6, 6);
    MFusionResult r = Combine(a, b, Op::And);
    ASSERT_EQ(r.loops.size(), 1u);
    EXPECT_EQ(Canonical(r.loops[0]), Canonical({{2, 2}, {4, 2}, {4, 4}, {2, 4}}));

    r = Combine(a, b, Op::Or);
    ASSERT_EQ(r.loops.size(), 1u);
    EXPECT_EQ(Canonical(r.loops[0]),
              Canonical({{0, 0}, {4, 0}, {4, 2}, {6, 2}, {6, 6}, {2, 6}, {2, 4}, {0, 4}}));

    r = Combine(a, b, Op::Minus);
    ASSERT_EQ(r.loops.size(), 1u);
    EXPECT_EQ(Canonical(r.loops[0]), Canonical({{0, 0}, {4, 0}, {4, 2}, {2, 2}, {2, 4}, {0, 4}}));
    // The second minus the first is the other notched square.
    EXPECT_DOUBLE_EQ(TotalArea(Combine(b, a, Op::Minus)), 12.0);
}

TEST(PolygonBoolean, OneInsideTheOtherGivesTheHoleAsItsOwnLoop) {
    const MFloatPointArray outer = Rect(0, 0, 10, 10), inner = Rect(2, 2, 4, 4);
    EXPECT_EQ(Canonical(Combine(outer, inner, Op::And).loops.at(0)), Canonical(inner));
    EXPECT_EQ(Canonical(Combine(inner, outer, Op::Or).loops.at(0)), Canonical(outer));
    const MFusionResult r = Combine(outer, inner, Op::Minus);
    ASSERT_EQ(r.loops.size(), 2u);
    std::vector<double> areas{SignedArea(r.loops[0]), SignedArea(r.loops[1])};
    std::sort(areas.begin(), areas.end());
    EXPECT_EQ(areas, (std::vector<double>{-4.0, 100.0}));  // the hole runs clockwise
    EXPECT_TRUE(Combine(inner, outer, Op::Minus).loops.empty());
}

TEST(PolygonBoolean, SeparateShapes) {
    const MFloatPointArray a = Rect(0, 0, 1, 1), b = Rect(5, 5, 7, 6);
    EXPECT_TRUE(Combine(a, b, Op::And).loops.empty());
    EXPECT_EQ(Combine(a, b, Op::Or).loops.size(), 2u);
    const MFusionResult r = Combine(a, b, Op::Minus);
    ASSERT_EQ(r.loops.size(), 1u);
    EXPECT_EQ(Canonical(r.loops[0]), Canonical(a));
}

TEST(PolygonBoolean, SharedEdgeIsDroppedFromTheUnionAndTheDifference) {
    const MFloatPointArray a = Rect(0, 0, 1, 1), b = Rect(1, 0, 2, 1);
    MFusionResult r = Combine(a, b, Op::Or);
    ASSERT_EQ(r.loops.size(), 1u);
    EXPECT_EQ(Canonical(r.loops[0]), Canonical(Rect(0, 0, 2, 1)));
    EXPECT_TRUE(Combine(a, b, Op::And).loops.empty());
    r = Combine(a, b, Op::Minus);
    ASSERT_EQ(r.loops.size(), 1u);
    EXPECT_EQ(Canonical(r.loops[0]), Canonical(a));
}

TEST(PolygonBoolean, CornersTouchingGiveSeparateLoopsThatDoNotCross) {
    const MFusionResult r = Combine(Rect(0, 0, 1, 1), Rect(1, 1, 2, 2), Op::Or);
    ASSERT_EQ(r.loops.size(), 2u);
    EXPECT_EQ(Canonical(r.loops[0]).size(), 4u);
    EXPECT_EQ(Canonical(r.loops[1]).size(), 4u);
    EXPECT_DOUBLE_EQ(TotalArea(r), 2.0);
}

TEST(PolygonBoolean, TJunctionsAndCollinearOverlapsAreCut) {
    // b stands on part of a's top edge; a's corner (4, 2) lies inside b's bottom edge.
    const MFloatPointArray a = Rect(0, 0, 4, 2), b = Rect(2, 2, 6, 4);
    MFusionResult r = Combine(a, b, Op::Or);
    ASSERT_EQ(r.loops.size(), 1u);
    EXPECT_EQ(Canonical(r.loops[0]),
              Canonical({{0, 0}, {4, 0}, {4, 2}, {6, 2}, {6, 4}, {2, 4}, {2, 2}, {0, 2}}));
    EXPECT_TRUE(Combine(a, b, Op::And).loops.empty());
    r = Combine(b, a, Op::Minus);
    ASSERT_EQ(r.loops.size(), 1u);
    EXPECT_EQ(Canonical(r.loops[0]), Canonical(b));
    // A vertex of one outline in the middle of the other's edge, both ways round.
    const MFloatPointArray tee = Outline({{1, 2}, {3, 2}, {2, 5}});
    EXPECT_DOUBLE_EQ(TotalArea(Combine(a, tee, Op::Or)), 8.0 + 3.0);
}

TEST(PolygonBoolean, IdenticalOutlinesInEitherDirection) {
    const MFloatPointArray a = Outline({{0, 0}, {3, 1}, {4, 4}, {1, 3}});
    const MFloatPointArray reversed = Outline({{1, 3}, {4, 4}, {3, 1}, {0, 0}});
    for (const MFloatPointArray* b : {&a, &reversed}) {
        EXPECT_EQ(Canonical(Combine(a, *b, Op::And).loops.at(0)), Canonical(a));
        EXPECT_EQ(Canonical(Combine(a, *b, Op::Or).loops.at(0)), Canonical(a));
        EXPECT_TRUE(Combine(a, *b, Op::Minus).loops.empty());
    }
}

TEST(PolygonBoolean, HoleTouchingTheOutlineAtAPointIsSplitOff) {
    // The triangle's corner sits on the square's bottom edge: one walk would pass (2, 0) twice.
    const MFusionResult r = Combine(Rect(0, 0, 4, 4), Outline({{2, 0}, {3, 2}, {1, 2}}), Op::Minus);
    ASSERT_EQ(r.loops.size(), 2u);
    EXPECT_DOUBLE_EQ(TotalArea(r), 16.0 - 2.0);
}

TEST(PolygonBoolean, SelfCrossingOutlinesFollowTheEvenOddRule) {
    const MFloatPointArray bowTie = Outline({{0, 0}, {2, 2}, {2, 0}, {0, 2}});
    MFusionResult r = Combine(bowTie, Rect(0, 0, 2, 2), Op::And);
    EXPECT_EQ(r.loops.size(), 2u);
    EXPECT_DOUBLE_EQ(TotalArea(r), 2.0);
    r = Combine(Rect(0, 0, 2, 2), bowTie, Op::Minus);
    EXPECT_EQ(r.loops.size(), 2u);
    EXPECT_DOUBLE_EQ(TotalArea(r), 2.0);
    // An outline that runs over its own edge twice has no area there.
    const MFloatPointArray doubled = Outline({{0, 0}, {4, 0}, {4, 1}, {4, 0}, {4, -1}, {0, -1}});
    EXPECT_DOUBLE_EQ(TotalArea(Combine(doubled, Rect(3, -3, 5, 3), Op::Or)), 4.0 + 12.0 - 1.0);
}

TEST(PolygonBoolean, CrossingPointsAreOneVertexInEveryLoop) {
    // Crossings at points no double holds exactly, one of them at the origin.
    const MFloatPointArray a = Outline({{-0.1, -0.3}, {0.7, -0.3}, {0.1, 0.3}});
    const MFloatPointArray b = Outline({{-0.3, 0.3}, {0.3, -0.3}, {0.2, 0.4}});
    std::set<std::pair<double, double>> inputs;
    for (const MFloatPointArray* o : {&a, &b})
        for (const MFloatPoint& p : *o)
            inputs.emplace(p.x, p.y);
    std::set<std::pair<double, double>> crossings[3];
    for (const Op op : {Op::And, Op::Or, Op::Minus})
        for (const MFloatPointArray& loop : Combine(a, b, op).loops)
            for (const MFloatPoint& p : loop)
                if (!inputs.count({p.x, p.y})) crossings[static_cast<int>(op) - 1].emplace(p.x, p.y);
    EXPECT_EQ(crossings[0].size(), 2u);
    EXPECT_EQ(crossings[1], crossings[0]);  // the same bits in every result
    EXPECT_EQ(crossings[2], crossings[0]);
    EXPECT_TRUE(crossings[0].count({0.0, 0.0}));
    EXPECT_EQ(Combine(a, b, Op::Or).loops.size(), 1u);
}

TEST(PolygonBoolean, NearlyEqualPointsAreMerged) {
    const double e = 1e-14;
    const MFusionResult r =
        Combine(Rect(0, 0, 1, 1), Outline({{1 + e, -e}, {2, 0}, {2, 1}, {1 - e, 1 + e}}), Op::Or);
    ASSERT_EQ(r.loops.size(), 1u);
    EXPECT_EQ(r.loops[0].GetSize(), 4);
}

TEST(PolygonBoolean, BadOutlinesAreRefused) {
    const MFloatPointArray square = Rect(0, 0, 1, 1);
    EXPECT_EQ(CombineOutlines(square, Outline({{0, 0}, {1, 1}, {0, 0}}), Op::Or).status,
              MFusionStatus::BadOutline);
    EXPECT_EQ(CombineOutlines(Outline({{0, 0}, {NAN, 1}, {1, 0}}), square, Op::Or).status,
              MFusionStatus::BadOutline);
    EXPECT_EQ(CombineOutlines(square, Outline({{0, 0}, {0, 0}, {0, 0}}), Op::And).status,
              MFusionStatus::BadOutline);
    EXPECT_EQ(CombineOutlines(square, MFloatPointArray(), Op::And).status, MFusionStatus::BadOutline);
}

TEST(PolygonBoolean, StructuralFailuresReturnNoLoops) {
    // The first outline does not close: its inside cannot be told from its outside.
    MFusionVertexArray open;
    open.AddEdge({0, 0}, {4, 0}, 0);
    open.AddEdge({4, 0}, {4, 4}, 0);
    open.AddEdge({0, 0}, {4, 4}, 1);
    open.AddEdge({4, 4}, {0, 4}, 1);
    open.AddEdge({0, 4}, {0, 0}, 1);
    MFusionResult r = ExtractFusionLoops(open, Op::Or);
    EXPECT_EQ(r.status, MFusionStatus::Inconsistent);
    EXPECT_TRUE(r.loops.empty());

    // Two closed outlines that cross at a shared vertex and again where no vertex was put.
    MFusionVertexArray crossing;
    const MFloatPointArray a = Rect(0, 0, 2, 2), b = Outline({{-1, -1}, {0, 0}, {1, 1}, {1, -1}});
    for (int i = 0; i < 4; ++i) {
        crossing.AddEdge(a[i], a[(i + 1) % 4], 0);
        crossing.AddEdge(b[i], b[(i + 1) % 4], 1);
    }
    r = ExtractFusionLoops(crossing, Op::And);
    EXPECT_EQ(r.status, MFusionStatus::Inconsistent);
    EXPECT_TRUE(r.loops.empty());
}

}  // namespace
