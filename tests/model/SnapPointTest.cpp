#include <gtest/gtest.h>

#include <cfloat>

#include "model/SnapPoint.h"
#include "platform/Exceptions.h"

namespace {

// Distinct addresses standing in for shapes; the snap code never dereferences them.
MCadShape* const kShapeA = reinterpret_cast<MCadShape*>(0x1000);
MCadShape* const kShapeB = reinterpret_cast<MCadShape*>(0x2000);
MCadShape* const kShapeC = reinterpret_cast<MCadShape*>(0x3000);

const MFloatPoint kCursor(0, 0);
// Left -5, bottom -5, right 5, top 5.
const MFloatRect kSquare(-5, -5, 5, 5);

}  // namespace

TEST(SnapPoint, NearestCandidateInsideTheSquareWins) {
    MSnapPoint best;
    double d = DBL_MAX;
    d = OfferSnapCandidate(best, kCursor, kSquare, {3, 0}, kSnapEndPoint, d, kShapeA);
    EXPECT_DOUBLE_EQ(d, 3.0);
    d = OfferSnapCandidate(best, kCursor, kSquare, {0, -2}, kSnapMidPoint, d, kShapeB, kShapeC);
    EXPECT_DOUBLE_EQ(d, 2.0);
    d = OfferSnapCandidate(best, kCursor, kSquare, {4, 4}, kSnapCenter, d, kShapeC);
    EXPECT_DOUBLE_EQ(d, 2.0);
    EXPECT_EQ(best.x, 0.0);
    EXPECT_EQ(best.y, -2.0);
    EXPECT_EQ(best.kind, kSnapMidPoint);
    EXPECT_EQ(best.shape1, kShapeB);
    EXPECT_EQ(best.shape2, kShapeC);
}

TEST(SnapPoint, TheSquareIsInclusiveOnAllEdgesAndNothingOutsideCounts) {
    for (MFloatPoint p : {MFloatPoint(5, 0), MFloatPoint(-5, 0), MFloatPoint(0, 5), MFloatPoint(0, -5),
                          MFloatPoint(5, 5), MFloatPoint(-5, -5)}) {
        MSnapPoint best;
        EXPECT_LT(OfferSnapCandidate(best, kCursor, kSquare, p, kSnapGrid, DBL_MAX, nullptr), DBL_MAX)
            << p.x << "," << p.y;
        EXPECT_EQ(best.kind, kSnapGrid);
    }
    // Just outside, even when nearer than anything found so far.
    MSnapPoint best;
    EXPECT_EQ(OfferSnapCandidate(best, kCursor, kSquare, {5.000001, 0}, kSnapEndPoint, DBL_MAX, kShapeA),
              DBL_MAX);
    EXPECT_EQ(OfferSnapCandidate(best, {4, 0}, kSquare, {5.5, 0}, kSnapEndPoint, DBL_MAX, kShapeA), DBL_MAX);
    EXPECT_EQ(best.kind, 0);
    EXPECT_EQ(best.shape1, nullptr);
}

TEST(SnapPoint, OfEquallyNearCandidatesTheFirstOfferedStays) {
    MSnapPoint best;
    double d = OfferSnapCandidate(best, kCursor, kSquare, {3, 4}, kSnapEndPoint, DBL_MAX, kShapeA);
    EXPECT_DOUBLE_EQ(d, 5.0);
    // The square is inclusive: (3, 4) lies inside. Another shape at the same distance.
    d = OfferSnapCandidate(best, kCursor, kSquare, {-4, 3}, kSnapIntersection, d, kShapeB, kShapeC);
    d = OfferSnapCandidate(best, kCursor, kSquare, {0, -5}, kSnapCenter, d, kShapeC);
    EXPECT_DOUBLE_EQ(d, 5.0);
    EXPECT_EQ(best.x, 3.0);
    EXPECT_EQ(best.kind, kSnapEndPoint);
    EXPECT_EQ(best.shape1, kShapeA);
    EXPECT_EQ(best.shape2, nullptr);

    // A candidate on the cursor itself wins over everything.
    d = OfferSnapCandidate(best, kCursor, kSquare, {0, 0}, kSnapBasePoint, d, kShapeC);
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(best.kind, kSnapBasePoint);
}

TEST(SnapPoint, RecordsAndTheCollector) {
    const MSnapPoint p(1.5, -2.5, kSnapOnShape);
    EXPECT_EQ(p.GetPoint(), MFloatPoint(1.5, -2.5));
    EXPECT_EQ(p.kind, kSnapOnShape);
    EXPECT_EQ(p.shape1, nullptr);

    MSnapPointArrayBase base;
    EXPECT_EQ(base.Add({1, 1}, kSnapIntersection, kShapeA, kShapeB), 0);
    EXPECT_EQ(base.GetCount(), 0);

    MSnapPointArray a;
    MSnapPointArrayBase& collector = a;
    EXPECT_EQ(collector.Add({1, 1}, kSnapIntersection, kShapeA, kShapeB), 0);
    EXPECT_EQ(collector.Add({2, 2}, kSnapIntersection, kShapeC, kShapeA), 1);
    EXPECT_EQ(collector.Add({3, 3}, kSnapIntersection, kShapeB, kShapeC), 2);
    EXPECT_EQ(collector.GetCount(), 3);

    EXPECT_TRUE(a.GetAt(1).InvolvesShape(kShapeA));
    EXPECT_FALSE(a.GetAt(1).InvolvesShape(kShapeB));
    EXPECT_EQ(a.FindByShape(kShapeC), 1);
    EXPECT_EQ(a.FindByShape(nullptr), -1);
    // Stored as (C, A), asked as (A, C).
    EXPECT_EQ(a.FindByShapePair(kShapeA, kShapeC, 0), 1);
    EXPECT_EQ(a.FindByShapePair(kShapeC, kShapeB, 0), 2);
    EXPECT_EQ(a.FindByShapePair(kShapeA, kShapeB, 1), -1);
    EXPECT_EQ(a.FindByShapePair(kShapeA, kShapeB, 5), -1);

    collector.RemoveAt(2);
    ASSERT_EQ(a.GetCount(), 2);
    EXPECT_EQ(a.GetAt(0).GetPoint(), MFloatPoint(1, 1));
    EXPECT_EQ(a.GetAt(1).GetPoint(), MFloatPoint(2, 2));
    EXPECT_EQ(a.GetAt(1).shape1, kShapeC);
    EXPECT_THROW(collector.RemoveAt(2), CInvalidArgException);
    EXPECT_THROW(collector.RemoveAt(-1), CInvalidArgException);
    EXPECT_THROW(a.GetAt(2), CInvalidArgException);

    collector.RemoveAt(0);
    EXPECT_EQ(a.GetAt(0).shape2, kShapeA);
    collector.RemoveAll();
    EXPECT_EQ(a.GetCount(), 0);
    EXPECT_EQ(a.FindByShape(kShapeC), -1);
}
