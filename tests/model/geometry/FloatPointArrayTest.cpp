#include <gtest/gtest.h>

#include "model/geometry/Geometry.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/TextFile.h"
#include "tests/model/geometry/PointList.h"

namespace {

TEST(FloatPointArray, ArrayOperationsAndBounds) {
    MFloatPointArray a;
    EXPECT_EQ(a.Add({1, 1}), 0);
    EXPECT_EQ(a.Add({3, 3}), 1);
    a.InsertAt(1, {2, 2});
    EXPECT_EQ(a.GetSize(), 3);
    EXPECT_EQ(a.GetCount(), 3);
    EXPECT_EQ(a[1], MFloatPoint(2, 2));
    a.SetAt(0, {0, 0});
    a.ElementAt(2).x = 5;
    EXPECT_EQ(a.GetAt(2), MFloatPoint(5, 3));
    a.RemoveAt(1);
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a.GetData()[1], MFloatPoint(5, 3));
    EXPECT_THROW(a.GetAt(2), CInvalidArgException);
    EXPECT_THROW(a[-1], CInvalidArgException);
    EXPECT_THROW(a.RemoveAt(1, 2), CInvalidArgException);
    EXPECT_THROW(a.SetSize(-1), CInvalidArgException);
    a.SetSize(4);
    EXPECT_EQ(a[3], MFloatPoint());
    a.RemoveAll();
    EXPECT_TRUE(a.IsEmpty());

    MDoubleArray d;
    d.Add(0.5);
    d.Add(-1);
    EXPECT_EQ(d.GetSize(), 2);
    EXPECT_EQ(d[1], -1);
}

TEST(FloatPointArray, CopyAndAddArray) {
    MFloatPointArray a = Points({{1, 2}, {3, 4}});
    MFloatPointArray b = Points({{9, 9}});
    b = a;
    EXPECT_EQ(b.GetSize(), 2);
    b.AddArray(a);
    EXPECT_EQ(b.GetSize(), 4);
    EXPECT_EQ(b[2], MFloatPoint(1, 2));
    b.AddArray(b);  // appending to itself doubles it
    EXPECT_EQ(b.GetSize(), 8);
    EXPECT_EQ(b[7], MFloatPoint(3, 4));
}

TEST(FloatPointArray, GetAtWrapped) {
    const MFloatPointArray a = Points({{0, 0}, {1, 0}, {2, 0}});
    EXPECT_EQ(a.GetAtWrapped(4, TRUE), MFloatPoint(1, 0));
    EXPECT_EQ(a.GetAtWrapped(2, FALSE), MFloatPoint(2, 0));
    EXPECT_THROW(a.GetAtWrapped(3, FALSE), CInvalidArgException);
    EXPECT_THROW(a.GetAtWrapped(-1, TRUE), CInvalidArgException);  // the remainder stays negative
    // An empty array has no index to wrap to; no division by zero.
    EXPECT_THROW(MFloatPointArray().GetAtWrapped(0, TRUE), CInvalidArgException);
    EXPECT_THROW(MFloatPointArray().GetAtWrapped(5, FALSE), CInvalidArgException);
}

TEST(FloatPointArray, SortByDistanceNearestFirstAndStable) {
    MFloatPointArray a = Points({{10, 0}, {0, 3}, {-3, 0}, {1, 0}, {0, -10}});
    a.SortByDistance({0, 0});
    EXPECT_EQ(a[0], MFloatPoint(1, 0));
    EXPECT_EQ(a[1], MFloatPoint(0, 3));  // before (-3, 0): equal distance, original order kept
    EXPECT_EQ(a[2], MFloatPoint(-3, 0));
    EXPECT_EQ(a[3], MFloatPoint(10, 0));
    EXPECT_EQ(a[4], MFloatPoint(0, -10));
}

TEST(FloatPointArray, IsPointInsideSquare) {
    const MFloatPointArray sq = Points({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_TRUE(sq.IsPointInside({5, 5}));
    EXPECT_FALSE(sq.IsPointInside({15, 5}));
    EXPECT_FALSE(sq.IsPointInside({-1, 5}));
    EXPECT_FALSE(sq.IsPointInside({10, 5}));  // on an edge
    EXPECT_FALSE(sq.IsPointInside({0, 5}));
    EXPECT_FALSE(sq.IsPointInside({5, 0}));    // on a horizontal edge
    EXPECT_FALSE(sq.IsPointInside({10, 10}));  // on a vertex
    EXPECT_FALSE(sq.IsPointInside({0, 0}));
    EXPECT_FALSE(Points({}).IsPointInside({0, 0}));
    EXPECT_FALSE(Points({{0, 0}}).IsPointInside({0, 0}));
    EXPECT_FALSE(Points({{0, 0}, {10, 10}}).IsPointInside({5, 5}));
}

TEST(FloatPointArray, IsPointInsideRayThroughVertices) {
    // A diamond: the ray from (1, 0) towards -x passes exactly through the vertex (-5, 0).
    const MFloatPointArray diamond = Points({{0, -5}, {5, 0}, {0, 5}, {-5, 0}});
    EXPECT_TRUE(diamond.IsPointInside({1, 0}));
    EXPECT_FALSE(diamond.IsPointInside({7, 0}));
    // A peak vertex level with the point: the ray touches it without crossing.
    const MFloatPointArray vee = Points({{0, 0}, {10, 10}, {20, 0}, {20, 20}, {0, 20}});
    EXPECT_TRUE(vee.IsPointInside({15, 10}));
    EXPECT_FALSE(vee.IsPointInside({25, 10}));
    EXPECT_TRUE(vee.IsPointInside({5, 15}));
}

TEST(FloatPointArray, IsPointInsideLevelWithAHorizontalEdge) {
    // Lower block 0..10 x 0..5 with an upper block 5..10 x 5..10. The point (7, 5) lies inside, on
    // the ray through the horizontal edge (5,5)-(0,5).
    const MFloatPointArray step = Points({{0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, 5}, {0, 5}});
    EXPECT_TRUE(step.IsPointInside({7, 5}));
    EXPECT_TRUE(step.IsPointInside({7, 7}));
    EXPECT_FALSE(step.IsPointInside({2, 7}));
    EXPECT_FALSE(step.IsPointInside({12, 5}));
    EXPECT_FALSE(step.IsPointInside({3, 5}));  // on the edge
    // A flat-topped ridge level with the point is touched, not crossed.
    const MFloatPointArray ridge = Points({{0, 0}, {2, 5}, {4, 5}, {6, 0}, {6, 10}, {0, 10}});
    EXPECT_TRUE(ridge.IsPointInside({5, 5}));
    EXPECT_TRUE(ridge.IsPointInside({1, 8}));
    EXPECT_FALSE(ridge.IsPointInside({8, 5}));
}

TEST(FloatPointArray, ArchiveIsCountAndRawPoints) {
    const MFloatPointArray a = Points({{1, 2}, {3, 4}});
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << a;
    }
    ASSERT_EQ(file.Data().size(), 2u + 32u);
    EXPECT_EQ(file.Data()[0], 2);

    CMemFile in(file.Data());
    CArchive ar(&in, CArchive::load);
    MFloatPointArray b = Points({{7, 7}});
    ar >> b;
    ASSERT_EQ(b.GetSize(), 2);
    EXPECT_EQ(b[1], MFloatPoint(3, 4));
}

TEST(FloatPointArray, ArchiveWithDamagedCountIsRefused) {
    std::vector<BYTE> bytes = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F};  // a huge DWORD count, no points
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    MFloatPointArray b;
    EXPECT_THROW(ar >> b, CArchiveException);
    EXPECT_EQ(b.GetSize(), 0);
}

TEST(FloatPointArray, TextRoundTrip) {
    TextOutput out;
    Points({{1.5, -2}, {100, 0.25}}).WriteText(out);
    EXPECT_EQ(out.str(), "\t2\n\t1.5 -2\n\t100 0.25\n");

    TextInput in(out.str() + "NEXT\n");
    MFloatPointArray b = Points({{9, 9}});
    b.ReadText(in);
    EXPECT_TRUE(in);
    ASSERT_EQ(b.GetSize(), 2);
    EXPECT_EQ(b[1], MFloatPoint(100, 0.25));
    std::string rest;
    std::getline(in, rest);
    EXPECT_EQ(rest, "NEXT");
}

TEST(FloatPointArray, TextWithHugeOrNegativeCountFails) {
    TextInput huge("\t2000000000\n\t1 2\n");
    MFloatPointArray b;
    b.ReadText(huge);
    EXPECT_FALSE(huge);
    EXPECT_EQ(b.GetSize(), 1);

    TextInput negative("\t-4\n\t1 2\n");
    b.ReadText(negative);
    EXPECT_FALSE(negative);
    EXPECT_EQ(b.GetSize(), 0);
}

}  // namespace
