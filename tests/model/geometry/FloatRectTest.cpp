#include <gtest/gtest.h>

#include <cstring>

#include "model/geometry/Geometry.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/TextFile.h"

namespace {

TEST(FloatRect, ConstructorTakesLeftBottomRightTop) {
    const MFloatRect r(0, 0, 10, 5);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.bottom, 0);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.GetWidth(), 10);
    EXPECT_EQ(r.GetHeight(), 5);
    EXPECT_EQ(r.GetCenter(), MFloatPoint(5, 2.5));
    EXPECT_EQ(r.TopLeft(), MFloatPoint(0, 5));
    EXPECT_EQ(r.BottomRight(), MFloatPoint(10, 0));

    const MFloatRect s(MFloatPoint(1, 2), MFloatSize(3, 4));
    EXPECT_EQ(s, MFloatRect(1, 2, 4, 6));
}

TEST(FloatRect, ArchiveAndTextUseLeftBottomRightTop) {
    const MFloatRect r(0, 0, 10, 5);
    TextOutput out;
    out << r;
    EXPECT_EQ(out.str(), "0 0 10 5");

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << MFloatRect(1, 2, 3, 4);
    }
    double v[4];
    ASSERT_EQ(file.Data().size(), sizeof v);
    std::memcpy(v, file.Data().data(), sizeof v);
    EXPECT_EQ(v[0], 1);  // left
    EXPECT_EQ(v[1], 2);  // bottom
    EXPECT_EQ(v[2], 3);  // right
    EXPECT_EQ(v[3], 4);  // top

    CMemFile in(file.Data());
    CArchive ar(&in, CArchive::load);
    MFloatRect back;
    ar >> back;
    EXPECT_EQ(back, MFloatRect(1, 2, 3, 4));

    TextInput text("5 6 7 8");
    text >> back;
    EXPECT_EQ(back, MFloatRect(5, 6, 7, 8));
}

TEST(FloatRect, NormalizeOrdersEdgesWithYUp) {
    MFloatRect r(10, 5, 0, 0);  // left 10, bottom 5, right 0, top 0
    r.Normalize();
    EXPECT_EQ(r, MFloatRect(0, 0, 10, 5));
}

TEST(FloatRect, GrowingOperations) {
    MFloatRect r;
    r.SetFromPoints({1, 1}, {-2, 3}, {4, -5}, {0, 0});
    EXPECT_EQ(r, MFloatRect(-2, -5, 4, 3));
    r.AddPoint({10, 1});
    EXPECT_EQ(r.right, 10);
    r.Inflate(1, 2);
    EXPECT_EQ(r, MFloatRect(-3, -7, 11, 5));
    r.Offset({1, 1});
    EXPECT_EQ(r, MFloatRect(-2, -6, 12, 6));

    MFloatRect u(0, 0, 1, 1), out;
    u.Union(MFloatRect(2, -1, 3, 0.5), &out);
    EXPECT_EQ(u, MFloatRect(0, -1, 3, 1));
    EXPECT_EQ(out, u);
}

TEST(FloatRect, ScaleExchangesTopAndBottomUntilNormalised) {
    MFloatRect r(0, 0, 10, 4);
    r.Scale({0, 0}, 2, 3);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 20);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 12);
    r.Normalize();
    EXPECT_EQ(r, MFloatRect(0, 0, 20, 12));
}

TEST(FloatRect, RotateBoundsTakesTheBoxOfTheTurnedCorners) {
    MFloatRect r(-1, -1, 1, 1);
    r.RotateBounds({0, 0}, kPi / 4);
    EXPECT_NEAR(r.right, std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(r.left, -std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(r.top, std::sqrt(2.0), 1e-15);
}

TEST(FloatRect, IntersectionTouchingAndDisjoint) {
    const MFloatRect a(0, 0, 10, 10);
    EXPECT_EQ(a.GetIntersection(MFloatRect(5, 5, 20, 20)), MFloatRect(5, 5, 10, 10));
    // Touching at an edge: a zero-width overlap, not the empty rectangle.
    const MFloatRect touch = a.GetIntersection(MFloatRect(10, 2, 20, 8));
    EXPECT_EQ(touch, MFloatRect(10, 2, 10, 8));
    EXPECT_FALSE(touch.IsNull());
    EXPECT_TRUE(a.GetIntersection(MFloatRect(11, 0, 20, 10)).IsNull());

    MFloatRect b = a, out(1, 1, 1, 1);
    b.Intersect(MFloatRect(20, 20, 30, 30), &out);
    EXPECT_TRUE(b.IsNull());
    EXPECT_TRUE(out.IsNull());
}

TEST(FloatRect, ContainmentIncludesEdges) {
    const MFloatRect a(0, 0, 10, 10);
    EXPECT_TRUE(a.ContainsPoint({0, 10}));
    EXPECT_FALSE(a.ContainsPoint({10.0001, 5}));
    EXPECT_TRUE(a.ContainsRect(MFloatRect(0, 0, 10, 10)));
    EXPECT_FALSE(a.ContainsRect(MFloatRect(0, 0, 10, 11)));
    EXPECT_TRUE(a.Overlaps(MFloatRect(10, 10, 12, 12)));  // corners touch
    EXPECT_FALSE(a.Overlaps(MFloatRect(10.5, 0, 12, 12)));
    EXPECT_TRUE(a != MFloatRect(0, 0, 10, 9));
    EXPECT_FALSE(a != MFloatRect(0, 0, 10, 10));
}

}  // namespace
