// Reproducible random configurations, coordinates from 1 to 1e5, every other one moved 1e6 from the
// origin. Known circles: shapes are built touching a chosen circle and picked at their touching
// points; the solver must give that circle back. Free configurations: whatever the shapes, the
// answer is finite and touches what it can.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "model/geometry/Geometry.h"
#include "model/geometry/LineEdit.h"
#include "tools/circle/TangentCircles.h"

namespace {

constexpr int kRounds = 2000;

class TangentConfigs : public ::testing::Test {
protected:
    std::mt19937_64 rng{7340021};
    MFloatPoint offset;
    double size = 0;  // the configuration's size, grown by every shape made

    double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
    bool Coin() { return Uniform(0, 1) < 0.5; }

    void Begin(int round) {
        offset = round % 2 ? MFloatPoint(1e6, 1e6) : MFloatPoint();
        size = 0;
    }
    void Grow(const MFloatPoint& p, const MFloatPoint& from) {
        size = std::max({size, std::fabs(p.x - from.x), std::fabs(p.y - from.y)});
    }
    MFloatPoint Point() { return offset + MFloatPoint(Uniform(1, 1e5), Uniform(1, 1e5)); }
    MFloatPoint Direction() {
        const double a = Uniform(-kPi, kPi);
        return {std::cos(a), std::sin(a)};
    }
    MTangentCircle Known() {
        const MTangentCircle t{Point(), Uniform(1, 1e4)};
        size = std::max(size, t.radius);
        return t;
    }
    // A circle touching t at its pick: from outside, or inside t when `inner`.
    MTouchCircle CircleTouching(const MTangentCircle& t, bool inner) {
        const MFloatPoint u = Direction();
        const MFloatPoint contact = t.centre + u * t.radius;
        const double r = inner ? t.radius * Uniform(0.05, 0.9) : Uniform(1, 1e4);
        const MTouchCircle c{inner ? contact - u * r : contact + u * r, r, contact};
        Grow(c.centre, t.centre);
        size = std::max(size, r);
        return c;
    }
    MTouchLine LineTouching(const MTangentCircle& t) {
        const MFloatPoint u = Direction();
        const MFloatPoint contact = t.centre + u * t.radius;
        const MFloatPoint d(-u.y, u.x);
        MTouchLine l{contact - d * Uniform(1, 5e4), contact + d * Uniform(1, 5e4), contact};
        if (Coin()) std::swap(l.start, l.end);
        Grow(l.start, t.centre);
        Grow(l.end, t.centre);
        return l;
    }
    MTouchCircle AnyCircle() {
        const MTouchCircle c{Point(), Uniform(1, 3e4), {}};
        const MFloatPoint pick = c.centre + Direction() * c.radius;
        Grow(c.centre, offset);
        size = std::max(size, c.radius);
        return {c.centre, c.radius, pick};
    }
    MTouchLine AnyLine() {
        const MFloatPoint a = Point(), b = Point();
        Grow(a, offset);
        Grow(b, offset);
        return {a, b, a + (b - a) * Uniform(0, 1)};
    }
    MTouchInput Cursor(const MFloatPoint& p) { return {p, p, 0.0, false}; }

    double Tol() const { return kTouchTolerance * size; }
    bool Touches(const MTangentCircle& t, const MTouchCircle& c) const {
        const double d = (t.centre - c.centre).GetLength();
        return std::fabs(d - (t.radius + c.radius)) <= Tol() ||
               std::fabs(d - std::fabs(t.radius - c.radius)) <= Tol();
    }
    bool Touches(const MTangentCircle& t, const MTouchLine& l) const {
        return std::fabs(GetDistanceToLine({l.start, l.end}, t.centre) - t.radius) <= Tol();
    }
    bool Through(const MTangentCircle& t, const MFloatPoint& p) const {
        return std::fabs((t.centre - p).GetLength() - t.radius) <= Tol();
    }
    // The known circle came back: the same circle to well within what the eye can tell.
    void ExpectKnown(const MTangentCircle& got, const MTangentCircle& known) const {
        EXPECT_LE((got.centre - known.centre).GetLength(), 1e-7 * size);
        EXPECT_NEAR(got.radius, known.radius, 1e-7 * size);
    }
    // The gap circle that the two-circle forms fall back on, in drawing coordinates.
    static MTangentCircle Gap(const MTouchCircle& a, const MTouchCircle& b) {
        const MFloatPoint v = b.centre - a.centre;
        const double d = v.GetLength(), g = (d - a.radius - b.radius) / 2;
        return {a.centre + v * ((a.radius + g) / d), std::fabs(g)};
    }
    bool IsGap(const MTangentCircle& t, const MTouchCircle& a, const MTouchCircle& b) const {
        const MTangentCircle g = Gap(a, b);
        return (t.centre - g.centre).GetLength() <= Tol() && std::fabs(t.radius - g.radius) <= Tol();
    }
};

bool IsFinite(const MTangentCircle& t) {
    return std::isfinite(t.centre.x) && std::isfinite(t.centre.y) && std::isfinite(t.radius) && t.radius >= 0;
}

TEST_F(TangentConfigs, KnownCircleThroughTheCursorTouchingTwoCircles) {
    for (int i = 0; i < kRounds; ++i) {
        Begin(i);
        const MTangentCircle t = Known();
        const MTouchCircle a = CircleTouching(t, Coin()), b = CircleTouching(t, Coin());
        const MFloatPoint p = t.centre + Direction() * t.radius;
        SCOPED_TRACE(i);
        const MTangentCircle got = SolveTouchCircleCircle(Cursor(p), a, b);
        ExpectKnown(got, t);
        EXPECT_TRUE(Touches(got, a) && Touches(got, b) && Through(got, p));
    }
}

TEST_F(TangentConfigs, KnownCircleTouchingTwoCirclesAndALine) {
    int tried = 0;
    for (int i = 0; i < kRounds; ++i) {
        Begin(i);
        const MTangentCircle t = Known();
        // The sign patterns tried leave out both circles inside the circle on circle 1's side.
        const bool inner1 = Coin(), inner2 = !inner1 && Coin();
        const MTouchCircle a = CircleTouching(t, inner1), b = CircleTouching(t, inner2);
        const MTouchLine l = LineTouching(t);
        // Candidates lie on circle 1's side of the line.
        const MLineEnds line{l.start, l.end};
        const double side = (line.end - line.start).Cross(a.centre - line.start);
        if (side * (line.end - line.start).Cross(t.centre - line.start) <= 0) continue;
        ++tried;
        SCOPED_TRACE(i);
        const MTangentCircle got = SolveTouchCircleCircleLine(Cursor(Point()), a, b, l);
        ExpectKnown(got, t);
        EXPECT_TRUE(Touches(got, a) && Touches(got, b) && Touches(got, l));
    }
    EXPECT_GT(tried, kRounds / 3);
}

TEST_F(TangentConfigs, KnownCircleTouchingTwoLinesAndACircle) {
    for (int i = 0; i < kRounds; ++i) {
        Begin(i);
        const MTangentCircle t = Known();
        const MTouchLine a = LineTouching(t), b = LineTouching(t);
        const MTouchCircle c = CircleTouching(t, Coin());
        SCOPED_TRACE(i);
        const MTangentCircle got = SolveTouchLineLineCircle(Cursor(Point()), a, b, c);
        ExpectKnown(got, t);
        EXPECT_TRUE(Touches(got, a) && Touches(got, b) && Touches(got, c));
    }
}

TEST_F(TangentConfigs, KnownCircleTouchingThreeCircles) {
    int tried = 0;
    for (int i = 0; i < kRounds; ++i) {
        Begin(i);
        const MTangentCircle t = Known();
        const bool inner1 = Coin(), inner2 = Coin(), inner3 = Coin();
        // The sign patterns tried leave out the third circle alone touching the other way.
        if (inner1 == inner2 && inner3 != inner1) continue;
        ++tried;
        const MTouchCircle a = CircleTouching(t, inner1), b = CircleTouching(t, inner2),
                           c = CircleTouching(t, inner3);
        SCOPED_TRACE(i);
        const MTangentCircle got = SolveTouchCircleCircleCircle(Cursor(Point()), a, b, c);
        ExpectKnown(got, t);
        EXPECT_TRUE(Touches(got, a) && Touches(got, b) && Touches(got, c));
    }
    EXPECT_GT(tried, kRounds / 2);
}

TEST_F(TangentConfigs, KnownCircleTouchingThreeLines) {
    for (int i = 0; i < kRounds; ++i) {
        Begin(i);
        const MTangentCircle t = Known();
        const MTouchLine a = LineTouching(t), b = LineTouching(t), c = LineTouching(t);
        SCOPED_TRACE(i);
        const MTangentCircle got = SolveTouchLineLineLine(Cursor(Point()), a, b, c);
        ExpectKnown(got, t);
        EXPECT_TRUE(Touches(got, a) && Touches(got, b) && Touches(got, c));
    }
}

TEST_F(TangentConfigs, KnownCircleTouchingALineAndACircleCentredAtTheCursor) {
    for (int i = 0; i < kRounds; ++i) {
        Begin(i);
        const MTangentCircle t = Known();
        const MTouchLine l = LineTouching(t);
        const MTouchCircle c = CircleTouching(t, false);
        SCOPED_TRACE(i);
        const MTangentCircle got = SolveTouchLineCircle(Cursor(t.centre), l, c);
        EXPECT_TRUE(Touches(got, l) && Touches(got, c));
        // With the line nearly square to the ray the circle moves fast with its input, so the known
        // circle, itself rounded, is only met approximately.
        EXPECT_LE((got.centre - t.centre).GetLength(), 1e-4 * size);
    }
}

TEST_F(TangentConfigs, LineAndCircleTouchBothWhicheverWayTheLineWasDrawn) {
    for (int i = 0; i < kRounds; ++i) {
        Begin(i);
        const MTouchLine l = AnyLine();
        const MTouchCircle c = AnyCircle();
        const MFloatPoint p = Point();
        Grow(p, offset);
        SCOPED_TRACE(i);
        const MTangentCircle got = SolveTouchLineCircle(Cursor(p), l, c);
        ASSERT_TRUE(IsFinite(got));
        EXPECT_TRUE(Touches(got, l) && Touches(got, c));
        // Centred on the line through the cursor and the circle's centre.
        EXPECT_LE(GetDistanceToLine({p, c.centre}, got.centre), Tol());
        const MTangentCircle reversed =
            SolveTouchLineCircle(Cursor(p), MTouchLine{l.end, l.start, l.pick}, c);
        EXPECT_LE((got.centre - reversed.centre).GetLength(), Tol());
        EXPECT_NEAR(got.radius, reversed.radius, Tol());
    }
}

TEST_F(TangentConfigs, TwoCircleAnswersTouchBothCirclesOrFillTheirGap) {
    int gaps = 0;
    for (int i = 0; i < kRounds; ++i) {
        Begin(i);
        const MTouchCircle a = AnyCircle(), b = AnyCircle(), c = AnyCircle();
        const MTouchLine l = AnyLine();
        const MFloatPoint p = Point();
        Grow(p, offset);
        SCOPED_TRACE(i);
        const MTangentCircle through = SolveTouchCircleCircle(Cursor(p), a, b);
        const MTangentCircle withLine = SolveTouchCircleCircleLine(Cursor(p), a, b, l);
        const MTangentCircle three = SolveTouchCircleCircleCircle(Cursor(p), a, b, c);
        for (const MTangentCircle& t : {through, withLine, three}) {
            ASSERT_TRUE(IsFinite(t));
            // Whether the third condition could be met or not, circles 1 and 2 are touched.
            EXPECT_TRUE(Touches(t, a) && Touches(t, b));
        }
        gaps += IsGap(through, a, b) + IsGap(withLine, a, b) + IsGap(three, a, b);
        EXPECT_TRUE(Through(through, p) || IsGap(through, a, b));
        EXPECT_TRUE(Touches(withLine, l) || IsGap(withLine, a, b));
        EXPECT_TRUE(Touches(three, c) || IsGap(three, a, b));
    }
    EXPECT_GT(gaps, 0);  // the fallback was exercised
}

TEST_F(TangentConfigs, LineAnswersTouchTheirLines) {
    for (int i = 0; i < kRounds; ++i) {
        Begin(i);
        const MTouchLine a = AnyLine(), b = AnyLine(), c = AnyLine();
        const MTouchCircle circle = AnyCircle();
        const MFloatPoint p = Point();
        Grow(p, offset);
        const double r = Uniform(1, 1e4);
        SCOPED_TRACE(i);
        const MTangentCircle one = SolveTouchLine({p, p, r, true}, a);
        EXPECT_NEAR(GetDistanceToLine({a.start, a.end}, one.centre), r, Tol());
        for (const bool fixed : {false, true}) {
            const MTangentCircle two = SolveTouchLineLine({p, p, r, fixed}, a, b);
            ASSERT_TRUE(IsFinite(two));
            EXPECT_TRUE(Touches(two, a) && Touches(two, b));
        }
        const MTangentCircle three = SolveTouchLineLineLine(Cursor(p), a, b, c);
        EXPECT_TRUE(Touches(three, a) && Touches(three, b) && Touches(three, c));
        const MTangentCircle mixed = SolveTouchLineLineCircle(Cursor(p), a, b, circle);
        ASSERT_TRUE(IsFinite(mixed));
        const bool none = mixed.radius == 0 && mixed.centre == circle.centre;
        EXPECT_TRUE(none || (Touches(mixed, a) && Touches(mixed, b) && Touches(mixed, circle)));
    }
}

}  // namespace
