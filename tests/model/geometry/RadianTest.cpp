#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/geometry/Geometry.h"

namespace {

TEST(NormalizeAngle, OrdinaryValues) {
    EXPECT_EQ(NormalizeAngle(3 * kPi), kPi);
    EXPECT_EQ(NormalizeAngle(-3 * kPi), -kPi);
    EXPECT_EQ(NormalizeAngle(kPi), kPi);
    EXPECT_EQ(NormalizeAngle(-kPi), -kPi);
    EXPECT_EQ(NormalizeAngle(1.0), 1.0);
    EXPECT_NEAR(NormalizeAngle(2 * kPi + 0.5), 0.5, 1e-15);
    EXPECT_NEAR(NormalizeAngle(-7 * kPi / 2), kPi / 2, 1e-14);
}

TEST(NormalizeAngle, HugeAndNonFiniteAnglesEndAtOnce) {
    const double huge = NormalizeAngle(1e300);
    EXPECT_GE(huge, -kPi);
    EXPECT_LE(huge, kPi);
    const double big = NormalizeAngle(1e6 + 0.25);
    EXPECT_NEAR(std::cos(big), std::cos(1e6 + 0.25), 1e-9);
    EXPECT_EQ(NormalizeAngle(std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(NormalizeAngle(-std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(NormalizeAngle(std::numeric_limits<double>::quiet_NaN()), 0.0);
    EXPECT_EQ(NormalizeAngle(DBL_MAX), NormalizeAngle(DBL_MAX));  // finishes
}

TEST(Radian, OperationsStayNormalised) {
    MRadian a(3 * kPi / 4);
    const MRadian b = a + kPi / 2;  // 5pi/4 -> -3pi/4
    EXPECT_NEAR(b, -3 * kPi / 4, 1e-15);
    a += kPi;
    EXPECT_NEAR(a, -kPi / 4, 1e-15);
    EXPECT_NEAR(MRadian(kPi / 2) * 3, -kPi / 2, 1e-15);
    EXPECT_NEAR(MRadian(kPi) / 2, kPi / 2, 1e-15);
    EXPECT_NEAR(MRadian(-kPi) - 1, kPi - 1, 1e-15);
    EXPECT_NEAR(MRadian(1) + 1, 2.0, 1e-15);  // an int operand
    EXPECT_NEAR(MRadian(3) + MRadian(3), 6 - 2 * kPi, 1e-15);
}

TEST(Radian, Degrees) {
    MRadian a;
    a.SetDegrees(270);
    EXPECT_NEAR(a, -kPi / 2, 1e-15);
    EXPECT_NEAR(a.ToDegrees(), -90, 1e-12);
    EXPECT_NEAR(a.ToDegrees360(), 270, 1e-12);
    a.SetDegrees(180);
    EXPECT_NEAR(a.ToDegrees360(), 180, 1e-12);
    EXPECT_LT(MRadian(-1e-300).ToDegrees360(), 360.0);
}

TEST(BisectorAngle, HalfwayAlongTheCounterClockwiseTurn) {
    EXPECT_NEAR(GetBisectorAngle(0, kPi / 2), kPi / 4, 1e-15);
    // From a quarter turn back to 0 the counter-clockwise way is three quarters round.
    EXPECT_NEAR(GetBisectorAngle(kPi / 2, 0), -3 * kPi / 4, 1e-15);
    EXPECT_NEAR(GetBisectorAngle(3 * kPi / 4, -3 * kPi / 4), kPi, 1e-15);
    double out = 0;
    GetBisectorAngle(&out, 0, kPi / 2);
    EXPECT_NEAR(out, kPi / 4, 1e-15);
}

}  // namespace
