#include <gtest/gtest.h>

#include <algorithm>
#include <type_traits>

#include "model/geometry/LineEdit.h"
#include "model/geometry/SegmentCuts.h"

namespace {

// The crossing of two lines and that of a family line with an outline: one program, two names.
static_assert(!std::is_same_v<MLineCrossing, MFamilyCrossing>);

MCutRegion Box(double x0, double y0, double x1, double y1) {
    return MCutRegion::Rectangle({x0, y0}, {x1, y1});
}

std::vector<MParamSpan> Spans(std::initializer_list<MParamSpan> list) {
    return list;
}

TEST(CutSegment, CrossingTwoSidesLeavesBothEnds) {
    const MSegmentCut cut = CutSegment({0, 0}, {10, 0}, Box(4, -1, 6, 1));
    EXPECT_TRUE(cut.reachesInside);
    EXPECT_EQ(cut.kept, Spans({{0, 0.4}, {0.6, 1}}));
}

TEST(CutSegment, ThroughTwoCornersIsCutAtBoth) {
    // A strict crossing test finds nothing here and takes the whole line for inside.
    const MSegmentCut cut = CutSegment({0, 0}, {10, 10}, Box(4, 4, 6, 6));
    EXPECT_TRUE(cut.reachesInside);
    EXPECT_EQ(cut.kept, Spans({{0, 0.4}, {0.6, 1}}));
}

TEST(CutSegment, WhollyInsideIsErased) {
    const MSegmentCut cut = CutSegment({1, 1}, {3, 2}, Box(0, 0, 4, 4));
    EXPECT_TRUE(cut.reachesInside);
    EXPECT_TRUE(cut.kept.empty());
}

TEST(CutSegment, FromCornerToCornerInsideIsErased) {
    const MSegmentCut cut = CutSegment({0, 0}, {4, 4}, Box(0, 0, 4, 4));
    EXPECT_TRUE(cut.reachesInside);
    EXPECT_TRUE(cut.kept.empty());
}

TEST(CutSegment, ContactsWithoutEnteringLeaveTheSegmentWhole) {
    const MCutRegion box = Box(4, 4, 6, 6);
    const std::vector<MParamSpan> whole{{0, 1}};
    for (const auto& [a, b] : std::vector<std::pair<MFloatPoint, MFloatPoint>>{
             {{0, 8}, {8, 0}},    // touches the corner (4, 4) from outside
             {{0, 4}, {10, 4}},   // runs along the bottom edge and beyond
             {{4, 4}, {6, 4}},    // exactly the bottom edge
             {{0, 5}, {4, 5}},    // ends on the left edge
             {{5, 6}, {5, 9}},    // starts on the top edge
             {{6, 6}, {9, 9}},    // starts at a corner, leaving
             {{-5, -5}, {-1, 2}}  // far away
         }) {
        const MSegmentCut cut = CutSegment(a, b, box);
        EXPECT_FALSE(cut.reachesInside) << a.x << "," << a.y << " " << b.x << "," << b.y;
        EXPECT_EQ(cut.kept, whole);
    }
}

TEST(CutSegment, EnteringFromAnEdgeOrCornerIsCut) {
    const MCutRegion box = Box(0, 0, 10, 10);
    EXPECT_EQ(CutSegment({5, 10}, {5, 20}, box).kept, Spans({{0, 1}}));
    const MSegmentCut down = CutSegment({5, 20}, {5, 5}, box);
    EXPECT_TRUE(down.reachesInside);
    EXPECT_EQ(down.kept, Spans({{0, 2.0 / 3}}));
    const MSegmentCut diagonal = CutSegment({-5, -5}, {5, 5}, box);
    EXPECT_EQ(diagonal.kept, Spans({{0, 0.5}}));
}

TEST(CutSegment, AlongAnEdgeThenInsideKeepsTheEdgePart) {
    // An L-shaped region: the segment runs along the step's edge, then through the inside.
    const MFloatPoint outline[] = {{0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 5}, {0, 5}};
    const MSegmentCut cut = CutSegment({0, 5}, {10, 5}, MCutRegion(outline));
    EXPECT_TRUE(cut.reachesInside);
    EXPECT_EQ(cut.kept, Spans({{0, 0.5}}));
}

TEST(CutSegment, ZeroLengthSegmentIsInsideOrUntouched) {
    const MCutRegion box = Box(0, 0, 10, 10);
    const MSegmentCut inside = CutSegment({3, 3}, {3, 3}, box);
    EXPECT_TRUE(inside.reachesInside);
    EXPECT_TRUE(inside.kept.empty());
    EXPECT_FALSE(CutSegment({0, 3}, {0, 3}, box).reachesInside);
}

TEST(CutRegion, RegionsWithoutAreaCutNothing) {
    const MFloatPoint two[] = {{0, 0}, {10, 10}};
    const MFloatPoint flat[] = {{0, 0}, {5, 5}, {10, 10}, {2, 2}};
    for (const MCutRegion& region :
         {MCutRegion(two), MCutRegion(flat), Box(3, 3, 3, 3), Box(0, 5, 10, 5), MCutRegion(),
          MCutRegion::BetweenLines({0, 0}, {10, 0}, {20, 0}, {30, 0})}) {
        EXPECT_FALSE(region.CanCut());
        EXPECT_FALSE(region.IsInside({5, 5}));
        const MSegmentCut cut = CutSegment({-100, 5}, {100, 5}, region);
        EXPECT_FALSE(cut.reachesInside);
        EXPECT_EQ(cut.kept, Spans({{0, 1}}));
    }
    const MFloatPoint nan[] = {{0, 0}, {10, 0}, {0, std::nan("")}};
    EXPECT_FALSE(MCutRegion(nan).CanCut());
}

TEST(CutRegion, BetweenLinesOrdersTheCornersSoSidesDoNotCross) {
    auto corners = [](const MCutRegion& r) {
        return std::vector<MFloatPoint>(r.GetOutline().begin(), r.GetOutline().end());
    };
    // Same direction: a0, b0, b1, a1.
    EXPECT_EQ(corners(MCutRegion::BetweenLines({0, 0}, {10, 0}, {0, 5}, {10, 5})),
              (std::vector<MFloatPoint>{{0, 0}, {10, 0}, {10, 5}, {0, 5}}));
    // Opposite directions: a0, b0, a1, b1.
    const MCutRegion opposite = MCutRegion::BetweenLines({0, 0}, {10, 0}, {10, 5}, {0, 5});
    EXPECT_EQ(corners(opposite), (std::vector<MFloatPoint>{{0, 0}, {10, 0}, {10, 5}, {0, 5}}));
    EXPECT_TRUE(opposite.IsInside({5, 2}));
    EXPECT_FALSE(opposite.IsInside({5, 5}));  // on a side
}

TEST(CutRegion, BetweenLinesIsTheSameQuadrilateralWhicheverWayEachLineRuns) {
    // Line 1 lies off to the side of line 0's start: comparing directions alone gives a bow-tie for
    // two of these orders. The quadrilateral (0, 0), (10, 0), (-2, 3), (-1, 1) leaves the segment
    // y = 0.5 from x = -3 to x = 11 outside it up to x = -0.5 and from x = 8 on.
    const MFloatPoint a0(0, 0), b0(10, 0), a1(-1, 1), b1(-2, 3);
    const struct {
        MFloatPoint a0, b0, a1, b1;
    } orders[] = {{a0, b0, a1, b1}, {a0, b0, b1, a1}, {b0, a0, a1, b1}, {b1, a1, a0, b0}};
    for (const auto& o : orders) {
        SCOPED_TRACE(testing::Message() << o.a0.x << "," << o.a0.y << " " << o.a1.x << "," << o.a1.y);
        const MSegmentCut cut =
            CutSegment({-3, 0.5}, {11, 0.5}, MCutRegion::BetweenLines(o.a0, o.b0, o.a1, o.b1));
        ASSERT_EQ(cut.kept.size(), 2u);
        EXPECT_DOUBLE_EQ(cut.kept[0].t0, 0.0);
        EXPECT_NEAR(cut.kept[0].t1, 2.5 / 14, 1e-12);
        EXPECT_NEAR(cut.kept[1].t0, 11.0 / 14, 1e-12);
        EXPECT_DOUBLE_EQ(cut.kept[1].t1, 1.0);
    }
}

// Family lines y = c through the origin, direction (1, 0): positive side above.
MLineFamily Horizontal(std::vector<double> offsets) {
    return {{0, 0}, {1, 0}, std::move(offsets)};
}

std::vector<double> Along(std::vector<MFamilyCrossing> crossings, int line = 0) {
    std::vector<double> out;
    for (const MFamilyCrossing& c : crossings)
        if (c.line == line) out.push_back(c.along);
    std::sort(out.begin(), out.end());
    return out;
}

TEST(CrossLineFamily, AVertexOnTheLineCountsOnceWhenTheOutlinePassesThrough) {
    // A diamond: the line y = 0 passes through its left and right vertices.
    const MFloatPoint diamond[] = {{0, 0}, {5, -5}, {10, 0}, {5, 5}};
    const std::vector<MFamilyCrossing> c = CrossLineFamily(diamond, true, Horizontal({0}));
    EXPECT_EQ(Along(c), (std::vector<double>{0, 10}));
    for (const MFamilyCrossing& x : c)
        EXPECT_TRUE(x.point == MFloatPoint(0, 0) || x.point == MFloatPoint(10, 0));  // the vertices exactly
    // Touching: the line y = 5 meets only the top vertex; y = -5 the bottom one.
    EXPECT_EQ(Along(CrossLineFamily(diamond, true, Horizontal({5}))).size() % 2, 0u);
    EXPECT_EQ(Along(CrossLineFamily(diamond, true, Horizontal({-5}))).size() % 2, 0u);
}

TEST(CrossLineFamily, ARunAlongTheLineCountsByTheEdgesAroundIt) {
    // A step: the outline runs along y = 5 from (10, 5) to (5, 5) with the region only below that
    // run. The line counts as lying just above it: inside from x = 0 to 5 only.
    const MFloatPoint step[] = {{0, 0}, {10, 0}, {10, 5}, {5, 5}, {5, 10}, {0, 10}};
    EXPECT_EQ(Along(CrossLineFamily(step, true, Horizontal({5}))), (std::vector<double>{0, 5}));
    // A bump on top: the run from (3, 5) to (7, 5) has the region above it; the line y = 5 is
    // taken as lying just above, inside the bump.
    const MFloatPoint bump[] = {{0, 0}, {10, 0}, {10, 5}, {7, 5}, {7, 8}, {3, 8}, {3, 5}, {0, 5}};
    EXPECT_EQ(Along(CrossLineFamily(bump, true, Horizontal({5}))), (std::vector<double>{3, 7}));
}

TEST(CrossLineFamily, OpenPolylinesAndEveryLineOfTheFamily) {
    const MFloatPoint zigzag[] = {{0, -1}, {2, 3}, {4, -1}, {6, 3}};
    const std::vector<MFamilyCrossing> c = CrossLineFamily(zigzag, false, Horizontal({-2, 0, 1, 3, 4}));
    EXPECT_TRUE(Along(c, 0).empty());
    EXPECT_EQ(Along(c, 1).size(), 3u);
    EXPECT_EQ(Along(c, 2).size(), 3u);
    EXPECT_TRUE(Along(c, 3).empty());  // peaks touch from below: no end strictly above
    EXPECT_TRUE(Along(c, 4).empty());
    EXPECT_DOUBLE_EQ(Along(c, 1)[0], 0.5);
    EXPECT_TRUE(CrossLineFamily(zigzag, false, Horizontal({})).empty());
    EXPECT_TRUE(CrossLineFamily(std::span<const MFloatPoint>(zigzag, 1), false, Horizontal({0})).empty());
}

TEST(CrossLineFamily, ADiagonalFamilyMeetsGridVerticesExactly) {
    // Rising lines through (5, 5) with the integer direction (1, 1): the one through (0, 0) and
    // (10, 10) meets the square's corners, once each.
    const MFloatPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const MLineFamily family{{5, 5}, {1, 1}, {0}};
    const std::vector<MFamilyCrossing> c = CrossLineFamily(square, true, family);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(std::min(c[0].along, c[1].along), -10);
    EXPECT_EQ(std::max(c[0].along, c[1].along), 10);
}

}  // namespace
