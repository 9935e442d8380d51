#include <gtest/gtest.h>

#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/PackShape.h"
#include "model/shapes/containers/ShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "tests/model/shapes/ShapeTestSupport.h"

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
    EXPECT_TRUE(pack.GetDrawExtent().IsNull());
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

// A pack owns none of its members. Read inside a group, or inside a pack whose reading then fails,
// it would leave them without an owner (the leak checker sees them): read as an element, it gives
// way to its members.
TEST_F(PackShapeTest, APackReadAsAnElementGivesWayToItsMembers) {
    MLineShape a({0, 0}, {1, 2}), b({3, 4}, {5, 6}), c({7, 8}, {9, 10});
    auto* inner = new MPackShape;
    inner->AddShape(&a);
    inner->AddShape(&b);
    MGroupShape group;
    group.AddShape(inner);
    auto back = LoadObject<MGroupShape>(StoreObject(&group));
    group.GetMembers().SetOwner(FALSE);
    delete inner;
    ASSERT_EQ(back->GetShapeCount(), 2);
    EXPECT_EQ(static_cast<MLineShape*>(back->GetShapeAt(1))->m_end, MFloatPoint(5, 6));
    EXPECT_TRUE(back->GetMembers().IsOwner());

    MPackShape outer, nested;
    nested.AddShape(&a);
    nested.AddShape(&b);
    outer.AddShape(&nested);
    outer.AddShape(&c);
    const std::vector<BYTE> bytes = StoreObject(&outer);
    auto flat = LoadObject<MPackShape>(bytes);
    ASSERT_EQ(flat->GetShapeCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dynamic_cast<MPackShape*>(flat->GetShapeAt(i)), nullptr);
    flat->GetMembers().DeleteAll();
    // Cut anywhere, the reading fails and nothing stays behind.
    for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
        const std::vector<BYTE> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(LoadObject<MPackShape>(part), CArchiveException) << cut;
    }
}
