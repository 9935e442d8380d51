// The tangent-circle solvers on hand-made configurations.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/lines/LineShape.h"
#include "tools/circle/TangentCircles.h"

namespace {

void ExpectCircle(const MTangentCircle& c, double x, double y, double r, double tol = 1e-9) {
    EXPECT_NEAR(c.centre.x, x, tol);
    EXPECT_NEAR(c.centre.y, y, tol);
    EXPECT_NEAR(c.radius, r, tol);
}

MTouchInput Fixed(MFloatPoint cursor, double radius) {
    return {cursor, cursor, radius, true};
}
MTouchInput Free(MFloatPoint cursor, MFloatPoint centre = {}) {
    return {cursor, centre, (cursor - centre).GetLength(), false};
}

bool Touches(const MTangentCircle& t, const MTouchCircle& c, double tol = 1e-9) {
    const double d = (t.centre - c.centre).GetLength();
    return std::fabs(d - (t.radius + c.radius)) <= tol ||
           std::fabs(d - std::fabs(t.radius - c.radius)) <= tol;
}

const MTouchLine kXAxis{{0, 0}, {100, 0}, {50, 0}};

TEST(TouchOneShape, LineWithAFixedRadiusOnTheCursorsSide) {
    ExpectCircle(SolveTouchLine(Fixed({50, 20}, 10), kXAxis), 50, 10, 10);
    ExpectCircle(SolveTouchLine(Fixed({50, -20}, 10), kXAxis), 50, -10, 10);
    // On the line: the left of its direction.
    ExpectCircle(SolveTouchLine(Fixed({50, 0}, 10), kXAxis), 50, 10, 10);
    ExpectCircle(SolveTouchLine(Fixed({50, 0}, 10), {{100, 0}, {0, 0}, {50, 0}}), 50, -10, 10);
    ExpectCircle(SolveTouchLine(Free({30, -7}), kXAxis), 30, -7, 7);
}

TEST(TouchOneShape, ALineOfLengthZeroGivesNoNumbersThatAreNotFinite) {
    const MTouchLine point{{5, 5}, {5, 5}, {5, 5}};
    ExpectCircle(SolveTouchLine(Fixed({5, 5}, 10), point), 15, 5, 10);
    ExpectCircle(SolveTouchLine(Fixed({5, 8}, 10), point), 5, 15, 10);
    ExpectCircle(SolveTouchLine(Free({5, 8}), point), 5, 8, 3);
    const MTangentCircle c = SolveTouchLineCircle(Free({20, 20}), point, {{0, 0}, 3, {3, 0}});
    EXPECT_TRUE(std::isfinite(c.centre.x) && std::isfinite(c.centre.y) && std::isfinite(c.radius));
}

TEST(TouchOneShape, CircleFreeTouchesTheSideOfThePick) {
    const MTouchCircle circle{{0, 0}, 10, {10, 0}};
    ExpectCircle(SolveTouchCircle(Free({30, 0}), circle), 30, 0, 20);
    ExpectCircle(SolveTouchCircle(Free({-30, 0}), circle), -30, 0, 40);
    ExpectCircle(SolveTouchCircle(Free({3, 4}), circle), 3, 4, 5);
}

TEST(TouchOneShape, CircleFixedTouchesNearestTheCursor) {
    const MTouchCircle circle{{0, 0}, 10, {10, 0}};
    ExpectCircle(SolveTouchCircle(Fixed({0, 40}, 5), circle), 0, 15, 5);
    ExpectCircle(SolveTouchCircle(Fixed({0, -4}, 5), circle), 0, -5, 5);  // inside: from within
    ExpectCircle(SolveTouchCircle(Fixed({0, 0}, 5), circle), 5, 0, 5);
}

TEST(TouchTwoLines, FixedRadiusInThePickedAngleNearestTheCursor) {
    const MTouchLine y0{{0, 0}, {100, 0}, {30, 0}};
    const MTouchLine x0{{0, 0}, {0, 100}, {0, 30}};
    ExpectCircle(SolveTouchLineLine(Fixed({8, 3}, 5), y0, x0), 5, 5, 5);
    ExpectCircle(SolveTouchLineLine(Fixed({-8, -3}, 5), y0, x0), -5, -5, 5);
    // Free: the cursor's foot on the bisector.
    ExpectCircle(SolveTouchLineLine(Free({8, 4}), y0, x0), 6, 6, 6);
    // Parallel lines: the middle line, half their distance.
    const MTouchLine y10{{100, 10}, {0, 10}, {40, 10}};
    ExpectCircle(SolveTouchLineLine(Fixed({20, 3}, 1), y0, y10), 20, 5, 5);
}

TEST(TouchTwoLines, WithoutTheFirstTheCentreIsKept) {
    const MTouchLine y0{{0, 0}, {100, 0}, {30, 0}};
    ExpectCircle(SolveTouchLineLine(Free({70, 90}, {50, 30}), std::nullopt, y0), 50, 30, 30);
}

TEST(TouchThreeLines, IncircleOfThePickedTriangle) {
    const MTouchLine a{{-10, 0}, {20, 0}, {4, 0}};
    const MTouchLine b{{0, -10}, {0, 20}, {0, 4}};
    const MTouchLine c{{0, 10}, {10, 0}, {5, 5}};
    const double r = (20 - std::sqrt(200.0)) / 2;
    ExpectCircle(SolveTouchLineLineLine(Free({1, 1}), a, b, c), r, r, r);
    // x = 0 picked beyond the slanted side: the excircle in that angle.
    const MTouchLine bOther{{0, -10}, {0, 20}, {0, 15}};
    const double re = (20 + std::sqrt(200.0)) / 2;
    ExpectCircle(SolveTouchLineLineLine(Free({1, 1}), a, bOther, c), re, re, re);
}

TEST(TouchLineAndCircle, OnTheLineThroughTheCursorAndTheCentre) {
    const MTouchCircle circle{{0, 50}, 10, {0, 40}};
    const MTangentCircle t = SolveTouchLineCircle(Free({0, 20}), kXAxis, circle);
    // Between the line and the circle, square to the line: the gap of 40 filled.
    ExpectCircle(t, 0, 20, 20);
    // Beyond the circle the remaining circle encloses it.
    ExpectCircle(SolveTouchLineCircle(Free({0, 80}), kXAxis, circle), 0, 30, 30);
    // Parallel to the line: on the cursor's side, touching the circle from outside.
    ExpectCircle(SolveTouchLineCircle(Free({-30, 50}), kXAxis, circle), -60, 50, 50);
}

TEST(TouchLineAndCircle, WithoutTheLineTheTouchNearerThePick) {
    const MTouchCircle circle{{0, 0}, 10, {10, 0}};
    ExpectCircle(SolveTouchLineCircle(Free({}, {30, 0}), std::nullopt, circle), 30, 0, 20);
    ExpectCircle(SolveTouchLineCircle(Free({}, {30, 0}), std::nullopt, {{0, 0}, 10, {-10, 0}}), 30, 0, 40);
}

TEST(TouchTwoCircles, ThroughTheCursor) {
    const MTouchCircle a{{0, 0}, 1, {1, 0}};
    const MTouchCircle b{{4, 0.5}, 1.5, {2.5, 0.5}};
    const MTangentCircle t = SolveTouchCircleCircle(Free({2, 3}), a, b);
    EXPECT_NEAR((t.centre - MFloatPoint(2, 3)).GetLength(), t.radius, 1e-12);
    EXPECT_TRUE(Touches(t, a, 1e-12));
    EXPECT_TRUE(Touches(t, b, 1e-12));
    // Every candidate of the closed form passes through the point and touches both, or is the gap
    // circle.
    for (double s1 : {1.0, -1.0})
        for (const MTangentCircle& c : CirclesThroughPointTouchingTwoCircles({2, 3}, s1, {4, 0.5}, 1.5)) {
            EXPECT_NEAR((c.centre - MFloatPoint(2, 3)).GetLength(), c.radius, 1e-12);
            EXPECT_TRUE(Touches(c, a, 1e-12) && Touches(c, b, 1e-12));
        }
}

TEST(TouchTwoCircles, OverlappingCirclesWithoutASolutionGetTheCircleInTheirOverlap) {
    // Through the centre of circle 1, touching it from outside: no such circle exists.
    for (const MTangentCircle& c : CirclesThroughPointTouchingTwoCircles({0, 0}, 10, {12, 0}, 10))
        ExpectCircle(c, 6, 0, 4);
    for (const MTangentCircle& c : CirclesTouchingThreeCircles(10, {12, 0}, 10, {0, 0}, 5))
        ExpectCircle(c, 6, 0, 4);
    // One circle inside the other: the circle between them that holds the inner one.
    for (const MTangentCircle& c : CirclesThroughPointTouchingTwoCircles({0, 0}, 2, {1, 0}, 10))
        ExpectCircle(c, -3.5, 0, 5.5);
    // Coincident centres: zero.
    for (const MTangentCircle& c : CirclesTouchingThreeCircles(3, {0, 0}, 5, {9, 9}, 1))
        ExpectCircle(c, 0, 0, 0);
}

TEST(TouchTwoCircles, AnswersScaleWithTheDrawing) {
    // The same figure in metres, in millimetres and far from the origin: the same circle, scaled
    // (far out, coordinates themselves are rounded to about 1e-10).
    const MTangentCircle unit =
        SolveTouchCircleCircle(Free({2, 3}), {{0, 0}, 1, {1, 0}}, {{4, 0.5}, 1.5, {2.5, 0.5}});
    for (double scale : {1e-4, 1e4})
        for (const MFloatPoint origin : {MFloatPoint(), MFloatPoint(1e6, -1e6)}) {
            auto at = [&](double x, double y) { return origin + MFloatPoint(x, y) * scale; };
            const MTangentCircle t = SolveTouchCircleCircle(Free(at(2, 3)), {at(0, 0), 1 * scale, at(1, 0)},
                                                            {at(4, 0.5), 1.5 * scale, at(2.5, 0.5)});
            const MFloatPoint expected = at(unit.centre.x, unit.centre.y);
            EXPECT_NEAR(t.centre.x, expected.x, 1e-9 * scale + 1e-9);
            EXPECT_NEAR(t.centre.y, expected.y, 1e-9 * scale + 1e-9);
            EXPECT_NEAR(t.radius, unit.radius * scale, 1e-9 * scale + 1e-9);
        }
}

TEST(TouchTwoCircles, CollinearCentresAreSolvedNotFallenBackOn) {
    // The cursor on the line of centres: the circles through it above and below.
    const MTangentPair through = CirclesThroughPointTouchingTwoCircles({5, 0}, 1, {10, 0}, 1);
    ExpectCircle(through[0].centre.y > 0 ? through[0] : through[1], 5, 12, 12);
    ExpectCircle(through[0].centre.y > 0 ? through[1] : through[0], 5, -12, 12);
    // Three circles in a row: the circles holding all three.
    const MTangentPair three = CirclesTouchingThreeCircles(1, {10, 0}, 2, {20, 0}, 1);
    ExpectCircle(three[0].centre.y > 0 ? three[0] : three[1], 10, 49.5, 51.5);
    ExpectCircle(three[0].centre.y > 0 ? three[1] : three[0], 10, -49.5, 51.5);
}

TEST(TouchThreeCircles, CoincidentCirclesUseTheFirstCandidate) {
    const MTouchCircle c{{7, 7}, 5, {12, 7}};
    ExpectCircle(SolveTouchCircleCircleCircle(Free({0, 0}), c, c, c), 7, 7, 0);
}

TEST(TouchThreeCircles, ACircleOfRadiusZeroDoesNotCount) {
    // Three circles through the origin, picked there: the circle of radius 0 at the origin touches
    // all three at the picks, but a real circle is chosen.
    const MTouchCircle a{{-10, 0}, 10, {0, 0}}, b{{0, 10}, 10, {0, 0}}, c{{10, 0}, 10, {0, 0}};
    const MTangentCircle t = SolveTouchCircleCircleCircle(Free({0, 0}), a, b, c);
    EXPECT_GT(t.radius, 1);
    EXPECT_TRUE(Touches(t, a) && Touches(t, b) && Touches(t, c));
}

TEST(TouchTwoLinesAndCircle, NearestThePicks) {
    const MTouchLine y0{{0, 0}, {100, 0}, {20, 0}};
    const MTouchLine x0{{0, 100}, {0, 0}, {0, 20}};
    const MTouchCircle circle{{50, 50}, 10, {43, 43}};
    const MTangentCircle t = SolveTouchLineLineCircle(Free({0, 0}), y0, x0, circle);
    // The circle in the corner: centre (r, r), |centre - (50, 50)| = r + 10.
    const double r = 110 - std::sqrt(110.0 * 110.0 - 4900.0);
    ExpectCircle(t, r, r, r);
}

TEST(TouchTwoLinesAndCircle, ParallelLinesCentreOnTheMiddleLine) {
    const MTouchLine y0{{0, 0}, {100, 0}, {40, 0}};
    const MTouchLine y20{{100, 20}, {0, 20}, {40, 20}};
    const MTouchCircle circle{{10, 10}, 5, {15, 10}};
    const MTangentCircle t = SolveTouchLineLineCircle(Free({0, 0}), y0, y20, circle);
    ExpectCircle(t, 10 + std::sqrt(15.0 * 15.0), 10, 10);
}

TEST(TouchShapes, ReadsLinesAndFullCircles) {
    MLineShape line({0, 0}, {10, 0});
    const auto l = ReadTouchShape(&line, {5, 0});
    ASSERT_TRUE(l && std::holds_alternative<MTouchLine>(*l));
    EXPECT_EQ(std::get<MTouchLine>(*l).end, MFloatPoint(10, 0));
    MCircleArcShape arc;
    arc.SetArc(3, 4, 5, 0, 1);
    const auto a = ReadTouchShape(&arc, {8, 4});
    ASSERT_TRUE(a && std::holds_alternative<MTouchCircle>(*a));
    EXPECT_EQ(std::get<MTouchCircle>(*a).radius, 5);
    MLineShape point({2, 2}, {2, 2});
    EXPECT_FALSE(ReadTouchShape(&point, {2, 2}));
    MEllipseShape ellipse;
    EXPECT_FALSE(ReadTouchShape(&ellipse, {0, 0}));
}

TEST(TouchShapes, TheConstructionTableChoosesTheSolver) {
    const MTouchShape y0 = MTouchLine{{0, 0}, {100, 0}, {30, 0}};
    const MTouchShape x0 = MTouchLine{{0, 0}, {0, 100}, {0, 30}};
    // Nothing picked: the tool's own centre and radius.
    ExpectCircle(SolveTouch(Free({3, 4}), std::nullopt, std::nullopt, std::nullopt), 0, 0, 5);
    // The centre clicked at (50, 30), then the line: touching it at once.
    ExpectCircle(SolveTouch(Free({50, 30}, {50, 30}), std::nullopt, y0, std::nullopt), 50, 30, 30);
    ExpectCircle(SolveTouch(Fixed({50, 20}, 10), y0, std::nullopt, std::nullopt), 50, 10, 10);
    ExpectCircle(SolveTouch(Fixed({8, 3}, 5), y0, x0, std::nullopt), 5, 5, 5);
    // The triangle's sides picked on the triangle: its incircle, whichever side came first.
    const MTouchShape a = MTouchLine{{0, 0}, {100, 0}, {4, 0}};
    const MTouchShape b = MTouchLine{{0, 0}, {0, 100}, {0, 4}};
    const MTouchShape slant = MTouchLine{{0, 10}, {10, 0}, {5, 5}};
    const double r = (20 - std::sqrt(200.0)) / 2;
    ExpectCircle(SolveTouch(Free({1, 1}), a, b, slant), r, r, r);
    ExpectCircle(SolveTouch(Free({1, 1}), slant, a, b), r, r, r);
    // A circle and a line in either order give the same circle.
    const MTouchShape circle = MTouchCircle{{0, 50}, 10, {0, 40}};
    ExpectCircle(SolveTouch(Free({0, 20}), y0, circle, std::nullopt), 0, 20, 20);
    ExpectCircle(SolveTouch(Free({0, 20}), circle, y0, std::nullopt), 0, 20, 20);
}

}  // namespace
