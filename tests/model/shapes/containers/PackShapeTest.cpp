#include <gtest/gtest.h>

#include "tests/model/shapes/ShapeTestSupport.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/containers/PackShape.h"
#include "model/shapes/containers/ShapeArray.h"

using namespace shapetest;

namespace {

class PackShapeTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }
    TestView view;
};

}  // namespace

TEST_F(PackShapeTest, DeletingAPackLeavesItsMembersInTheirLayer) {
    MShapeArray layer(TRUE);
    auto* pack = new MPackShape;
    for (int i = 0; i < 3; ++i) {
        auto* line = new MLineShape({0, 0}, {double(i + 1), 0});
        layer.Add(line);
        pack->AddShape(line);
    }
    delete pack;
    ASSERT_EQ(layer.GetSize(), 3);
    EXPECT_EQ(static_cast<MLineShape*>(layer[2])->m_end, MFloatPoint(3, 0));
}

TEST_F(PackShapeTest, RecalcOfAnEmptyPackKeepsZeroExtents) {
    MPackShape pack;
    EXPECT_TRUE(pack.m_extent.IsNull());
    pack.Recalc(&view);
    EXPECT_TRUE(pack.m_extent.IsNull());
    EXPECT_TRUE(pack.m_drawExtent.IsNull());
    EXPECT_EQ(pack.GetTypeId(), 0);
    EXPECT_EQ(pack.GetTypeName(), "");
}

TEST_F(PackShapeTest, RecalcTakesTheUnionAndMoveReachesEveryMember) {
    MLineShape a({0, 0}, {1, 2});
    MLineShape b({-3, 1}, {0, 0});
    MPackShape pack;
    pack.AddShape(&a);
    pack.AddShape(&b);
    pack.Recalc(&view);
    EXPECT_EQ(pack.m_extent, MFloatRect(-3, 0, 1, 2));
    pack.Move({1, 1});
    EXPECT_EQ(a.m_start, MFloatPoint(1, 1));
    EXPECT_EQ(b.m_start, MFloatPoint(-2, 2));
    EXPECT_EQ(pack.GetShapeCount(), 2);
    EXPECT_EQ(pack.GetShapeAt(1), &b);
    EXPECT_THROW(pack.GetShapeAt(2), CInvalidArgException);
    EXPECT_THROW(pack.GetShapeAt(-1), CInvalidArgException);
}

TEST_F(PackShapeTest, APackReadFromAnArchiveHandsItsMembersOver) {
    MLineShape a({0, 0}, {1, 2});
    MPackShape pack;
    pack.AddShape(&a);
    auto back = LoadObject<MPackShape>(StoreObject(&pack));
    ASSERT_EQ(back->GetShapeCount(), 1);
    std::unique_ptr<MCadShape> member(back->GetShapeAt(0));  // the taker owns the copy
    EXPECT_NE(member.get(), &a);
    EXPECT_EQ(static_cast<MLineShape*>(member.get())->m_end, MFloatPoint(1, 2));
    EXPECT_FALSE(back->GetMembers().IsOwner());

    // Empty entries are not handed over.
    pack.GetMembers().InsertAt(0, static_cast<MCadShape*>(nullptr));
    pack.AddShape(nullptr);
    auto again = LoadObject<MPackShape>(StoreObject(&pack));
    ASSERT_EQ(again->GetShapeCount(), 1);
    std::unique_ptr<MCadShape> only(again->GetShapeAt(0));
    EXPECT_NE(only, nullptr);
}
