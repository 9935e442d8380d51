// The tangent constructions of the line tools over random circles: every segment touches its
// circles, the outer tangents exist whenever neither circle holds the other, the inner ones only
// for circles apart.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tools/line/TangentLines.h"

namespace {

// |(other - p)·(p - centre)| relative to the sizes: zero when the segment touches at p.
double Touching(const MFloatPoint& p, const MFloatPoint& other, const MTangentCircleTarget& c) {
    const double size = (other - p).GetLength() * c.radius;
    return size > 0 ? std::fabs((other - p).Dot(p - c.centre)) / size : 0.0;
}

}  // namespace

TEST(TangentLines, FromAPointBothTouchingPointsLieOnTheCircleSquareToTheRadius) {
    const MTangentCircleTarget c{{0, 0}, 50};
    const auto points = TangentPoints(c, {130, 0});
    ASSERT_TRUE(points);
    for (const MFloatPoint& t : {points->first, points->second}) {
        EXPECT_NEAR(t.GetLength(), 50, 1e-12);
        EXPECT_NEAR(Touching(t, {130, 0}, c), 0.0, 1e-12);
    }
    EXPECT_GT(TangentPointNear(c, {130, 0}, {0, 50})->y, 0);
    EXPECT_LT(TangentPointNear(c, {130, 0}, {0, -50})->y, 0);
    EXPECT_FALSE(TangentPoints(c, {10, 10})) << "inside";
    EXPECT_FALSE(TangentPoints(c, {50, 0})) << "on the circle";
}

TEST(TangentLines, TheIssueCirclesHaveFourTangentsAndEqualConcentricOnesNone) {
    const MTangentCircleTarget a{{0, 0}, 50}, b{{300, 40}, 80};
    const auto tangents = CommonTangents(a, b);
    ASSERT_EQ(tangents.size(), 4u);
    for (const MTangentSegment& t : tangents) {
        EXPECT_NEAR(Touching(t.start, t.end, a), 0.0, 1e-12);
        EXPECT_NEAR(Touching(t.end, t.start, b), 0.0, 1e-12);
    }
    EXPECT_TRUE(CommonTangents(a, a).empty());
    EXPECT_FALSE(NearestCommonTangent(a, a, {0, 50}, {0, -50}));
}

TEST(TangentLines, RandomCirclePairs) {
    std::mt19937_64 rng{2718281};
    std::uniform_real_distribution<double> coord(-1000, 1000), radius(1, 500);
    int overlapping = 0, apart = 0;
    for (int i = 0; i < 2000; ++i) {
        const MTangentCircleTarget a{{coord(rng), coord(rng)}, radius(rng)};
        const MTangentCircleTarget b{{coord(rng), coord(rng)}, radius(rng)};
        const double d = (b.centre - a.centre).GetLength();
        const auto tangents = CommonTangents(a, b);
        if (d <= std::fabs(a.radius - b.radius) * (1 + 1e-9)) {
            EXPECT_TRUE(tangents.empty()) << "one circle inside the other";
            continue;
        }
        if (d > (a.radius + b.radius) * (1 + 1e-9)) {
            ++apart;
            ASSERT_EQ(tangents.size(), 4u);
        } else if (d < (a.radius + b.radius) * (1 - 1e-9)) {
            ++overlapping;
            ASSERT_EQ(tangents.size(), 2u) << "overlapping: only the outer tangents";
        }
        for (const MTangentSegment& t : tangents) {
            EXPECT_NEAR((t.start - a.centre).GetLength(), a.radius, 1e-9 * 1000);
            EXPECT_NEAR((t.end - b.centre).GetLength(), b.radius, 1e-9 * 1000);
            EXPECT_NEAR(Touching(t.start, t.end, a), 0.0, 1e-9);
            EXPECT_NEAR(Touching(t.end, t.start, b), 0.0, 1e-9);
        }
        // The nearest tangent to its own contact points is that tangent.
        for (const MTangentSegment& t : tangents) {
            const auto nearest = NearestCommonTangent(a, b, t.start, t.end);
            ASSERT_TRUE(nearest);
            EXPECT_EQ(nearest->start, t.start);
            EXPECT_EQ(nearest->end, t.end);
        }
    }
    EXPECT_GT(overlapping, 100);
    EXPECT_GT(apart, 100);
}
