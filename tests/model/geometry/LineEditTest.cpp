#include <gtest/gtest.h>

#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/geometry/LineEdit.h"

namespace {

void ExpectPoint(const MFloatPoint& actual, double x, double y, double tol = 1e-9) {
    EXPECT_NEAR(actual.x, x, tol);
    EXPECT_NEAR(actual.y, y, tol);
}

void ExpectLine(const MLineEnds& actual, MFloatPoint start, MFloatPoint end, double tol = 1e-9) {
    ExpectPoint(actual.start, start.x, start.y, tol);
    ExpectPoint(actual.end, end.x, end.y, tol);
}

const MLineEnds kXAxis{{0, 0}, {100, 0}};
const MLineEnds kYAxis{{0, 0}, {0, 100}};

TEST(LineCrossing, ParallelIsASineWhateverTheUnits) {
    // Lines a micrometre long at right angles cross; the squared-determinant test calls them parallel.
    EXPECT_FALSE(AreDirectionsParallel({1e-6, 0}, {0, 1e-6}));
    EXPECT_TRUE(AreLinesParallel({0, 0}, {1e-6, 0}, {0, 0}, {0, 1e-6}));
    for (double scale : {1e-5, 1.0, 1e5}) {
        EXPECT_TRUE(AreDirectionsParallel(MFloatPoint(1, 1e-13) * scale, MFloatPoint(1, 0) * scale)) << scale;
        EXPECT_FALSE(AreDirectionsParallel(MFloatPoint(1, 1e-10) * scale, MFloatPoint(1, 0) * scale))
            << scale;
        EXPECT_TRUE(AreDirectionsParallel(MFloatPoint(-3, 0) * scale, MFloatPoint(1, 0) * scale)) << scale;
    }
    EXPECT_TRUE(AreDirectionsParallel({0, 0}, {1, 1}));  // no direction: parallel to everything
    EXPECT_TRUE(AreDirectionsParallel({NAN, 0}, {0, 1}));
}

TEST(LineCrossing, PointAndParametersOnBothLines) {
    const auto x = CrossLines({{0, 0}, {10, 0}}, {{4, -2}, {4, 6}});
    ASSERT_TRUE(x);
    ExpectPoint(x->point, 4, 0);
    EXPECT_NEAR(x->t0, 0.4, 1e-15);
    EXPECT_NEAR(x->t1, 0.25, 1e-15);
    // Unbounded: a crossing beyond both ends.
    const auto far = CrossLines({{0, 0}, {1, 0}}, {{5, 1}, {5, 2}});
    ASSERT_TRUE(far);
    EXPECT_NEAR(far->t0, 5, 1e-12);
    EXPECT_NEAR(far->t1, -1, 1e-12);
    EXPECT_FALSE(CrossLines({{0, 0}, {1, 1}}, {{0, 1}, {1, 2}}));
    EXPECT_FALSE(CrossLines({{3, 3}, {3, 3}}, kYAxis));  // a zero-length line has no direction
    EXPECT_FALSE(HasDirection({{1e5, 1e5}, {1e5 + 1e-11, 1e5}}));
    EXPECT_TRUE(HasDirection({{1e5, 1e5}, {1e5 + 1e-6, 1e5}}));
}

TEST(KeptEnd, TheEndOnTheFarSideOfTheClickFromTheCut) {
    EXPECT_EQ(GetKeptEnd(0.5, 0.8), MLineEnd::End);
    EXPECT_EQ(GetKeptEnd(0.5, 0.2), MLineEnd::Start);
    EXPECT_EQ(GetKeptEnd(-0.5, 0.0), MLineEnd::End);     // a click on the start end point itself
    EXPECT_EQ(GetKeptEnd(1.0, 1.003), MLineEnd::Start);  // a click just beyond the end still picks it
    // A click on the cut itself keeps the longer part.
    EXPECT_EQ(GetKeptEnd(0.3, 0.3), MLineEnd::End);
    EXPECT_EQ(GetKeptEnd(0.7, 0.7), MLineEnd::Start);
    EXPECT_EQ(GetKeptEnd(1.0, 1.0), MLineEnd::Start);
}

TEST(ExtendToLine, MovesTheEndOnTheBoundarysSideOfTheClick) {
    const MLineEnds line{{0, 0}, {10, 0}};
    const MLineEnds at20{{20, -5}, {20, 5}}, at5{{5, -5}, {5, 5}};
    ExpectLine(*ExtendToLine(line, {3, 0.1}, at20), {0, 0}, {20, 0});
    ExpectLine(*ExtendToLine(line, {8, 0}, at5), {5, 0}, {10, 0});
    ExpectLine(*ExtendToLine(line, {2, 0}, at5), {0, 0}, {5, 0});
    // Picked on its end point (0, 0), the boundary behind it: the line grows to (-5, 0), keeping all
    // of itself.
    ExpectLine(*ExtendToLine(line, {0, 0}, {{-5, -5}, {-5, 5}}), {-5, 0}, {10, 0});
    ExpectLine(*ExtendToLine(line, {0.2, -0.1}, {{-5, -5}, {-5, 5}}), {-5, 0}, {10, 0});
    // The line keeps its orientation, so each end keeps its arrow.
    ExpectLine(*ExtendToLine({{10, 0}, {0, 0}}, {8, 0}, at5), {10, 0}, {5, 0});
}

TEST(ExtendToLine, ParallelOrAlreadyThereChangesNothing) {
    const MLineEnds line{{0, 0}, {10, 0}};
    EXPECT_FALSE(ExtendToLine(line, {5, 0}, {{0, 3}, {10, 3}}));
    EXPECT_FALSE(ExtendToLine(line, {5, 0}, {{0, 3}, {10, 3 + 1e-12}}));  // nearly parallel
    EXPECT_FALSE(ExtendToLine(line, {5, 0}, {{10, -1}, {10, 1}}));
    EXPECT_FALSE(ExtendToLine({{2, 2}, {2, 2}}, {2, 2}, {{5, -5}, {5, 5}}));
}

TEST(CutLines, AtACrossingStrictlyInside) {
    const MLineEnds line{{0, 0}, {10, 0}};
    const auto cut = CutAtCrossing(line, {{4, 3}, {4, 1}});  // the cutter counts as unbounded
    ASSERT_TRUE(cut);
    ExpectPoint(cut->point, 4, 0);
    ExpectLine(cut->first, {0, 0}, {4, 0});
    ExpectLine(cut->second, {4, 0}, {10, 0});
    EXPECT_EQ(cut->first.end, cut->second.start);
    EXPECT_FALSE(CutAtCrossing(line, {{10, -1}, {10, 1}}));  // at an end point
    EXPECT_FALSE(CutAtCrossing(line, {{0, -1}, {0, 1}}));
    EXPECT_FALSE(CutAtCrossing(line, {{12, -1}, {12, 1}}));
    EXPECT_FALSE(CutAtCrossing(line, {{0, 1}, {10, 1}}));
}

TEST(CutLines, AtTheFootOfAPoint) {
    const MLineEnds line{{0, 0}, {10, 10}};
    const auto cut = CutAtFoot(line, {10, 0});
    ASSERT_TRUE(cut);
    ExpectPoint(cut->point, 5, 5);
    ExpectLine(cut->first, {0, 0}, {5, 5});
    ExpectLine(cut->second, {5, 5}, {10, 10});
    // With the foot outside or on an end there is no cut point at all.
    EXPECT_FALSE(CutAtFoot(line, {20, 0}));
    EXPECT_FALSE(CutAtFoot(line, {-3, 3}));
    EXPECT_FALSE(CutAtFoot(line, {-1, -1}));
    EXPECT_FALSE(CutAtFoot({{1, 1}, {1, 1}}, {1, 1}));
}

TEST(CutLines, ANewEndHasNoArrow) {
    const MArrowInfo whole(kArrowFilled, 3.0, kArrowOpen, 2.0);
    const MArrowInfo first = CutPieceArrows(whole, MLineEnd::Start);
    EXPECT_EQ(first.startStyle, kArrowFilled);
    EXPECT_EQ(first.endStyle, kArrowNone);
    EXPECT_EQ(first.startSize, 3.0);
    const MArrowInfo second = CutPieceArrows(whole, MLineEnd::End);
    EXPECT_EQ(second.startStyle, kArrowNone);
    EXPECT_EQ(second.endStyle, kArrowOpen);
    EXPECT_EQ(second.endSize, 2.0);
}

TEST(Fillet, ThroughTheCursorTakesTheLargerCircle) {
    const auto corner = MakeLineCorner(kXAxis, kYAxis);
    ASSERT_TRUE(corner);
    const auto f = FilletThroughPoint(*corner, {10, 10});
    ASSERT_TRUE(f);
    const double r = 10 * (2 + std::sqrt(2.0));
    EXPECT_NEAR(f->radius, r, 1e-9);
    ExpectPoint(f->centre, r, r);
    ExpectPoint(f->tangent0, r, 0);
    ExpectPoint(f->tangent1, 0, r);
    ExpectLine(f->line0, {r, 0}, {100, 0});
    ExpectLine(f->line1, {0, r}, {0, 100});
    // The quarter towards the corner: counter-clockwise from the tangent on x = 0 (at 180°) to the
    // one on y = 0 (at 270°), not the three quarters the other way.
    EXPECT_NEAR(f->startAngle, kPi, 1e-12);
    EXPECT_NEAR(f->endAngle, 1.5 * kPi, 1e-12);
}

TEST(Fillet, FixedRadiusInTheCursorsQuadrant) {
    const auto corner = MakeLineCorner({{-100, 0}, {100, 0}}, {{0, -100}, {0, 100}});
    ASSERT_TRUE(corner);
    const auto f = FilletWithRadius(*corner, {20, 30}, 5);
    ASSERT_TRUE(f);
    ExpectPoint(f->centre, 5, 5);
    ExpectLine(f->line0, {5, 0}, {100, 0});
    ExpectLine(f->line1, {0, 5}, {0, 100});
    const auto third = FilletWithRadius(*corner, {-20, -3}, -5);  // |radius|
    ASSERT_TRUE(third);
    EXPECT_EQ(third->radius, 5);
    ExpectPoint(third->centre, -5, -5);
    ExpectLine(third->line0, {-100, 0}, {-5, 0});
    ExpectLine(third->line1, {0, -100}, {0, -5});
    EXPECT_FALSE(FilletWithRadius(*corner, {20, 30}, NAN));
}

TEST(Fillet, LinesShortOfTheCornerAreLengthened) {
    const auto corner = MakeLineCorner({{20, 0}, {100, 0}}, {{0, 100}, {0, 30}});
    ASSERT_TRUE(corner);
    const auto f = FilletWithRadius(*corner, {40, 40}, 5);
    ASSERT_TRUE(f);
    ExpectLine(f->line0, {5, 0}, {100, 0});
    ExpectLine(f->line1, {0, 100}, {0, 5});  // orientation kept
}

TEST(Fillet, RadiusZeroMakesASharpCorner) {
    const auto corner = MakeLineCorner({{20, 0}, {100, 0}}, {{0, -10}, {0, 100}});
    ASSERT_TRUE(corner);
    const auto f = FilletWithRadius(*corner, {30, 30}, 0);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->radius, 0);
    ExpectLine(f->line0, {0, 0}, {100, 0});
    ExpectLine(f->line1, {0, 0}, {0, 100});  // the kept side comes from the cursor's quadrant
}

TEST(Fillet, NoCircleOnALineOrAtTheCrossing) {
    const auto corner = MakeLineCorner(kXAxis, kYAxis);
    ASSERT_TRUE(corner);
    EXPECT_FALSE(FilletThroughPoint(*corner, {30, 0}));
    EXPECT_FALSE(FilletThroughPoint(*corner, {0, 30}));
    EXPECT_FALSE(FilletThroughPoint(*corner, {0, 0}));
    EXPECT_FALSE(FilletWithRadius(*corner, {0, 0}, 5));
    EXPECT_FALSE(FilletWithRadius(*corner, {30, 0}, 5));
}

TEST(Fillet, ATangentPointBeyondTheKeptEndIsNoResult) {
    // Line 0 is 3 long: radius 5 would make its copy run from (5, 0) back to (3, 0).
    const auto corner = MakeLineCorner({{0, 0}, {3, 0}}, kYAxis);
    ASSERT_TRUE(corner);
    EXPECT_FALSE(FilletWithRadius(*corner, {2, 2}, 5));
    EXPECT_FALSE(FilletWithRadius(*corner, {2, 2}, 3));  // exactly at the end: nothing would remain
    EXPECT_TRUE(FilletWithRadius(*corner, {2, 2}, 2));
    // A line lying wholly on the other side of the crossing than the cursor.
    const auto behind = MakeLineCorner({{-50, 0}, {-10, 0}}, kYAxis);
    ASSERT_TRUE(behind);
    EXPECT_FALSE(FilletWithRadius(*behind, {10, 10}, 5));
    EXPECT_FALSE(FilletWithRadius(*behind, {10, 10}, 0));
}

TEST(Fillet, ParallelLinesHaveNoCorner) {
    EXPECT_FALSE(MakeLineCorner(kXAxis, {{100, 5}, {0, 5}}));  // antiparallel
    EXPECT_FALSE(MakeLineCorner(kXAxis, {{0, 5}, {100, 5 + 1e-11}}));
    // Long lines at a sine of 1e-13 have a large cross product, yet cross 5e13 away.
    EXPECT_FALSE(MakeLineCorner({{0, 0}, {1e5, 0}}, {{0, 5}, {1e5, 5 + 1e-8}}));
    EXPECT_FALSE(MakeLineCorner(kXAxis, {{7, 7}, {7, 7}}));
}

TEST(Chamfer, FixedLengthsAlongTheKeptParts) {
    const auto corner = MakeLineCorner({{-50, 0}, {100, 0}}, {{0, -50}, {0, 100}});
    ASSERT_TRUE(corner);
    const auto c = ChamferWithLengths(*corner, {60, 1}, {1, 60}, 10, -20);
    ASSERT_TRUE(c);
    ExpectLine(c->chamfer, {10, 0}, {0, 20});
    ExpectLine(c->line0, {10, 0}, {100, 0});
    ExpectLine(c->line1, {0, 20}, {0, 100});
    // Picked on the negative parts, the other ends stay.
    const auto other = ChamferWithLengths(*corner, {-40, 0}, {0, -40}, 10, 20);
    ASSERT_TRUE(other);
    ExpectLine(other->line0, {-50, 0}, {-10, 0});
    ExpectLine(other->line1, {0, -50}, {0, -20});
}

TEST(Chamfer, PickedOnTheEndPointAwayFromTheCorner) {
    // Line 0 runs from (10, 0) to the corner; a pick on (10, 0) keeps (10, 0).
    const auto corner = MakeLineCorner({{10, 0}, {0, 0}}, kYAxis);
    ASSERT_TRUE(corner);
    const auto c = ChamferWithLengths(*corner, {10, 0}, {0, 50}, 4, 4);
    ASSERT_TRUE(c);
    ExpectLine(c->line0, {10, 0}, {4, 0});
    ExpectLine(c->chamfer, {4, 0}, {0, 4});
}

TEST(Chamfer, LengthsNotShorterThanAKeptPartAreNoResult) {
    const auto corner = MakeLineCorner({{0, 0}, {10, 0}}, kYAxis);
    ASSERT_TRUE(corner);
    EXPECT_FALSE(ChamferWithLengths(*corner, {5, 0}, {0, 50}, 12, 5));
    EXPECT_FALSE(ChamferWithLengths(*corner, {5, 0}, {0, 50}, 10, 5));
    EXPECT_FALSE(ChamferWithLengths(*corner, {5, 0}, {0, 50}, 5, INFINITY));
    EXPECT_TRUE(ChamferWithLengths(*corner, {5, 0}, {0, 50}, 9.99, 5));
}

TEST(Chamfer, ThroughTheCursorSquareToTheBisector) {
    const auto corner = MakeLineCorner(kXAxis, kYAxis);
    ASSERT_TRUE(corner);
    const auto c = ChamferThroughPoint(*corner, {50, 0}, {0, 50}, {5, 5});
    ASSERT_TRUE(c);
    ExpectLine(c->chamfer, {10, 0}, {0, 10});
    ExpectLine(c->line0, {10, 0}, {100, 0});
    // At or behind the corner both ends collapse onto it.
    const auto sharp = ChamferThroughPoint(*corner, {50, 0}, {0, 50}, {-5, -2});
    ASSERT_TRUE(sharp);
    ExpectLine(sharp->chamfer, {0, 0}, {0, 0});
    ExpectLine(sharp->line1, {0, 0}, {0, 100});
    EXPECT_FALSE(ChamferThroughPoint(*corner, {50, 0}, {0, 50}, {60, 60}));
}

}  // namespace
