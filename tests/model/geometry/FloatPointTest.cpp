#include <gtest/gtest.h>

#include <cstring>

#include <sstream>

#include "model/geometry/Geometry.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/TextFile.h"

namespace {

TEST(FloatPoint, ArithmeticAndLength) {
    const MFloatPoint a(3, 4), b(1, -2);
    EXPECT_EQ(a + b, MFloatPoint(4, 2));
    EXPECT_EQ(a - b, MFloatPoint(2, 6));
    EXPECT_EQ(-a, MFloatPoint(-3, -4));
    EXPECT_EQ(a * 2, MFloatPoint(6, 8));
    EXPECT_EQ(a / 2, MFloatPoint(1.5, 2));
    EXPECT_DOUBLE_EQ(a.Dot(b), -5);
    EXPECT_DOUBLE_EQ(a.GetLength(), 5);
}

TEST(FloatPoint, AngleCoversAllQuadrantsAndZero) {
    EXPECT_DOUBLE_EQ(MFloatPoint(1, 0).GetAngle(), 0);
    EXPECT_DOUBLE_EQ(MFloatPoint(0, 2).GetAngle(), kPi / 2);
    EXPECT_DOUBLE_EQ(MFloatPoint(-1, 0).GetAngle(), kPi);  // (-pi, pi]: the negative axis is +pi
    EXPECT_DOUBLE_EQ(MFloatPoint(0, -1).GetAngle(), -kPi / 2);
    EXPECT_DOUBLE_EQ(MFloatPoint(-1, -1).GetAngle(), -3 * kPi / 4);
    EXPECT_EQ(MFloatPoint().GetAngle(), 0.0);
}

TEST(FloatPoint, UnitOfTinyVectorIsZero) {
    EXPECT_EQ(MFloatPoint(1e-16, 0).GetUnit(), MFloatPoint(0, 0));
    const MFloatPoint u = MFloatPoint(3, 4).GetUnit();
    EXPECT_DOUBLE_EQ(u.x, 0.6);
    EXPECT_DOUBLE_EQ(u.y, 0.8);
}

TEST(FloatPoint, RotationsAboutOriginAndCentre) {
    MFloatPoint p(1, 0);
    const MFloatPoint r = p.GetRotated(kPi / 2);
    EXPECT_NEAR(r.x, 0, 1e-15);
    EXPECT_NEAR(r.y, 1, 1e-15);
    EXPECT_EQ(p, MFloatPoint(1, 0));  // GetRotated leaves the point alone

    p.RotateAbout(MFloatPoint(1, 1), kPi);
    EXPECT_NEAR(p.x, 1, 1e-15);
    EXPECT_NEAR(p.y, 2, 1e-15);

    MFloatPoint c;
    c.SetOnCircle(10, 20, 5, kPi / 2);
    EXPECT_NEAR(c.x, 10, 1e-14);
    EXPECT_NEAR(c.y, 25, 1e-14);
}

TEST(FloatPoint, IsEqualIsRelativeToDistanceFromOrigin) {
    EXPECT_TRUE(MFloatPoint(0, 0).IsEqual(MFloatPoint(0, 0)));
    EXPECT_TRUE(MFloatPoint(1e6, 1e6).IsEqual(MFloatPoint(1e6 + 1e-9, 1e6)));
    EXPECT_FALSE(MFloatPoint(1, 1).IsEqual(MFloatPoint(1 + 1e-9, 1)));
    EXPECT_FALSE(MFloatPoint(0, 0).IsEqual(MFloatPoint(1e-300, 0)));
}

TEST(FloatPoint, ArchiveFormIsTwoDoubles) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << MFloatPoint(1.5, -2.25) << MFloatSize(3, 4);
    }
    ASSERT_EQ(file.Data().size(), 32u);
    double x = 0;
    std::memcpy(&x, file.Data().data(), 8);
    EXPECT_EQ(x, 1.5);

    CMemFile in(file.Data());
    CArchive ar(&in, CArchive::load);
    MFloatPoint p;
    MFloatSize s;
    ar >> p >> s;
    EXPECT_EQ(p, MFloatPoint(1.5, -2.25));
    EXPECT_EQ(s, MFloatSize(3, 4));
}

TEST(FloatPoint, TextFormIsTwoNumbersWithOneBlank) {
    TextOutput out;
    out << MFloatPoint(1.5, -2) << '|' << MFloatSize(210, 297);
    EXPECT_EQ(out.str(), "1.5 -2|210 297");

    TextInput in("  7.25 -3e2\n");
    MFloatPoint p;
    in >> p;
    EXPECT_TRUE(in);
    EXPECT_EQ(p, MFloatPoint(7.25, -300));
}

}  // namespace
