#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "model/geometry/Trim.h"

namespace {

using Pieces = std::vector<MFloatSegment>;

// Meeting points come from intersecting carriers: equal within rounding.
::testing::AssertionResult SamePieces(const Pieces& actual, const Pieces& expected) {
    auto near = [](const MFloatPoint& a, const MFloatPoint& b) { return (a - b).GetLength() < 1e-12; };
    bool same = actual.size() == expected.size();
    for (std::size_t i = 0; same && i < actual.size(); ++i)
        same = near(actual[i].start, expected[i].start) && near(actual[i].end, expected[i].end);
    if (same) return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    for (const MFloatSegment& p : actual)
        failure << "(" << p.start.x << ", " << p.start.y << ")-(" << p.end.x << ", " << p.end.y << ") ";
    return failure;
}

// The rectangle from (-3, -3) to (3, 3), dragged from its lower left corner.
std::vector<MTrimOutcome> TrimInSquare(const std::vector<MFloatSegment>& lines) {
    return TrimLines(lines, {-3, -3}, {3, 3});
}

TEST(TrimLines, OvershootsAreCutBackToTheCorner) {
    const std::vector<MFloatSegment> lines{{{-10, 0}, {2, 0}}, {{0, -2}, {0, 10}}};
    for (const auto& [press, release] : std::vector<std::pair<MFloatPoint, MFloatPoint>>{
             {{-3, -3}, {3, 3}}, {{3, 3}, {-3, -3}}, {{-3, 3}, {3, -3}}}) {
        const std::vector<MTrimOutcome> out = TrimLines(lines, press, release);
        ASSERT_EQ(out.size(), 2u);
        EXPECT_TRUE(out[0].changed);
        EXPECT_TRUE(SamePieces(out[0].pieces, {{{-10, 0}, {0, 0}}}));
        EXPECT_TRUE(SamePieces(out[1].pieces, {{{0, 0}, {0, 10}}}));
    }
}

TEST(TrimLines, GapsAreClosedAtTheCorner) {
    const std::vector<MTrimOutcome> out = TrimInSquare({{{-10, 0}, {-1, 0}}, {{0, -2}, {0, 10}}});
    EXPECT_TRUE(SamePieces(out[0].pieces, {{{-10, 0}, {0, 0}}}));
    EXPECT_TRUE(SamePieces(out[1].pieces, {{{0, 0}, {0, 10}}}));
}

TEST(TrimLines, TheEndTheSideCrossedMovesEvenWhenTheMeetingPointLiesBeyondIt) {
    // The slanted line's carrier meets y = 0 at (5, 0), beyond the right side: moving the start
    // there would turn the line round onto (5, 0)-(2, 0).
    const std::vector<MTrimOutcome> out = TrimInSquare({{{-10, 0}, {2, 0}}, {{-3, 4}, {1, 2}}});
    EXPECT_TRUE(SamePieces(out[0].pieces, {{{-10, 0}, {5, 0}}}));
    EXPECT_TRUE(SamePieces(out[1].pieces, {{{-3, 4}, {5, 0}}}));
}

TEST(TrimLines, ALineMeetingNoOtherIsLeftAlone) {
    // The short line counts as parallel to both others by the intersection routine's tolerance,
    // while those two do meet: there is no meeting point for it to move to.
    const MFloatSegment tiny{{2.5, 0}, {2.5 + 1e-9, 0}};
    const std::vector<MTrimOutcome> out = TrimInSquare({tiny, {{0, -2}, {0, 10}}, {{-2, -2}, {2, 1}}});
    EXPECT_FALSE(out[0].changed);
    EXPECT_TRUE(SamePieces(out[0].pieces, {tiny}));
    // Parallel lines alone: nothing changes.
    const std::vector<MTrimOutcome> parallel = TrimInSquare({{{-10, 0}, {2, 0}}, {{-10, 1}, {2, 1}}});
    EXPECT_FALSE(parallel[0].changed);
    EXPECT_FALSE(parallel[1].changed);
}

TEST(TrimLines, CrossingLinesAreSplitWhereTheyCross) {
    const std::vector<MTrimOutcome> out = TrimInSquare({{{-10, 0}, {10, 0}}, {{0, -10}, {0, 10}}});
    EXPECT_TRUE(SamePieces(out[0].pieces, {{{-10, 0}, {0, 0}}, {{0, 0}, {10, 0}}}));
    EXPECT_TRUE(SamePieces(out[1].pieces, {{{0, -10}, {0, 0}}, {{0, 0}, {0, 10}}}));
}

TEST(TrimLines, TwoSidesCuttingBackToTheSameCrossingGiveOnePiece) {
    // Both sides' nearest crossing with another line lies beyond the right side.
    const std::vector<MTrimOutcome> out = TrimInSquare({{{-10, 0}, {10, 0}}, {{0, 4}, {8, -4}}});
    EXPECT_TRUE(SamePieces(out[0].pieces, {{{-10, 0}, {4, 0}}}));
}

// Lines inside on the square's diagonal: their carrier passes the corners, so no side stretches
// them, and a vertical line crossing the top and bottom sides meets them.
TEST(TrimLines, AnInsideLineLosesThePartBetweenItsMeetingPoints) {
    const MFloatSegment diagonal{{-2, -2}, {2, 2}};
    std::vector<MTrimOutcome> out = TrimInSquare({diagonal, {{1, -5}, {1, 5}}});
    EXPECT_TRUE(SamePieces(out[0].pieces, {{{-2, -2}, {1, 1}}, {{1, 1}, {2, 2}}}));
    out = TrimInSquare({diagonal, {{0, -5}, {0, 5}}, {{1, -5}, {1, 5}}});
    EXPECT_TRUE(SamePieces(out[0].pieces, {{{-2, -2}, {0, 0}}, {{1, 1}, {2, 2}}}));
}

TEST(TrimLines, AnInsideLineWithMeetingPointsBeyondItsEndsIsStretchedNotTurnedBack) {
    const MFloatSegment diagonal{{-2, -2}, {-1, -1}};
    std::vector<MTrimOutcome> out = TrimInSquare({diagonal, {{1, -5}, {1, 5}}, {{2, -5}, {2, 5}}});
    EXPECT_TRUE(SamePieces(out[0].pieces, {{{-2, -2}, {1, 1}}}));
    out = TrimInSquare({diagonal, {{1, -5}, {1, 5}}, {{-2.5, -5}, {-2.5, 5}}});
    EXPECT_TRUE(SamePieces(out[0].pieces, {{{-2.5, -2.5}, {1, 1}}}));
    // A meeting point at an end: the part up to the next one goes.
    out = TrimInSquare({diagonal, {{-2, -5}, {-2, 5}}, {{-1.5, -5}, {-1.5, 5}}});
    EXPECT_TRUE(SamePieces(out[0].pieces, {{{-1.5, -1.5}, {-1, -1}}}));
}

TEST(TrimLines, FewerThanTwoLinesOrNoAreaChangeNothing) {
    const std::vector<MFloatSegment> one{{{-10, 0}, {2, 0}}};
    EXPECT_FALSE(TrimInSquare(one)[0].changed);
    const std::vector<MFloatSegment> two{{{-10, 0}, {2, 0}}, {{0, -2}, {0, 10}}};
    for (const MTrimOutcome& o : TrimLines(two, {1, -3}, {1, 3}))
        EXPECT_FALSE(o.changed);
    for (const MTrimOutcome& o : TrimLines(two, {1, 1}, {1, 1}))
        EXPECT_FALSE(o.changed);
    EXPECT_TRUE(TrimLines({}, {0, 0}, {1, 1}).empty());
}

// ---- Property: random line sets ----

double Along(const MFloatSegment& line, const MFloatPoint& p) {
    const MFloatPoint d = line.end - line.start;
    return (p - line.start).Dot(d) / d.Dot(d);
}

void CheckOutcome(const MFloatSegment& line, const MTrimOutcome& o) {
    ASSERT_FALSE(o.pieces.empty());
    if (!o.changed) {
        EXPECT_EQ(o.pieces, Pieces{line});
        return;
    }
    const MFloatPoint d = line.end - line.start;
    const double length = d.GetLength();
    double lastEnd = -HUGE_VAL;
    for (const MFloatSegment& p : o.pieces) {
        for (const MFloatPoint& q : {p.start, p.end}) {
            ASSERT_TRUE(std::isfinite(q.x) && std::isfinite(q.y));
            const double scale = 1 + length + (q - line.start).GetLength();
            EXPECT_LE(std::fabs(d.Cross(q - line.start)) / length, 1e-9 * scale) << "off the carrier";
        }
        const double t0 = Along(line, p.start), t1 = Along(line, p.end);
        EXPECT_GT(t1 - t0, kCutParamTolerance) << "zero length or against the line";
        EXPECT_GE(t0, lastEnd - 1e-12) << "overlaps the piece before";
        lastEnd = t1;
    }
}

TEST(TrimLines, RandomLineSetsGiveSoundPieces) {
    std::mt19937 random(171);
    std::uniform_real_distribution<double> coord(-10, 10);
    std::uniform_int_distribution<int> count(2, 12), grid(-6, 6), kind(0, 2);
    for (int i = 0; i < 3000; ++i) {
        std::vector<MFloatSegment> lines(count(random));
        const bool onGrid = i % 2 == 0;
        auto point = [&] {
            return onGrid ? MFloatPoint(grid(random), grid(random))
                          : MFloatPoint(coord(random), coord(random));
        };
        for (MFloatSegment& l : lines) {
            l.start = point();
            // Axis-parallel lines now and then, so that sides run along lines and lines are parallel.
            const MFloatPoint e = point();
            l.end = kind(random) == 0 ? MFloatPoint(e.x, l.start.y) : e;
        }
        const MFloatPoint press = point() * 0.5, release = point() * 0.5;
        const std::vector<MTrimOutcome> out = TrimLines(lines, press, release);
        ASSERT_EQ(out.size(), lines.size());
        SCOPED_TRACE(::testing::Message() << "case " << i);
        for (std::size_t k = 0; k < lines.size(); ++k)
            CheckOutcome(lines[k], out[k]);
        if (HasFailure()) break;
    }
}

}  // namespace
