#include <gtest/gtest.h>

#include "tests/model/shapes/ShapeTestSupport.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/containers/ShapeArray.h"
#include "platform/gdi/DC.h"

using namespace shapetest;

namespace {

class CountedLine : public MLineShape {
public:
    CountedLine(const MFloatPoint& a, const MFloatPoint& b) : MLineShape(a, b) { ++live; }
    ~CountedLine() override { --live; }
    static inline int live = 0;
};

class ShapeArrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        CountedLine::live = 0;
    }
};

MPolygonShape* Square(double x, double y, double size) {
    auto* p = new MPolygonShape(TRUE);
    p->AddPoint({x, y});
    p->AddPoint({x + size, y});
    p->AddPoint({x + size, y + size});
    p->AddPoint({x, y + size});
    return p;
}

}  // namespace

TEST_F(ShapeArrayTest, ExtentsOfAnEmptyArrayAreZeroAndOtherwiseTheUnion) {
    MShapeArray array(TRUE);
    EXPECT_TRUE(array.GetExtent().IsNull());
    EXPECT_TRUE(array.GetDrawExtent().IsNull());
    TestView view;
    array.Add(new MLineShape({1, 1}, {2, 3}));
    array.Add(Square(-4, 5, 2));
    array.RecalcAll(&view);
    const MFloatRect e = array.GetExtent();
    EXPECT_EQ(e, MFloatRect(-4, 1, 2, 7));
}

TEST_F(ShapeArrayTest, FindSearchesFromTheEndAndRemoveOnlyForgets) {
    MShapeArray array(TRUE);
    auto* a = new CountedLine({0, 0}, {1, 0});
    auto* b = new CountedLine({0, 0}, {2, 0});
    array.Add(a);
    array.Add(b);
    array.Add(a);
    EXPECT_EQ(array.Find(a), 2);
    EXPECT_EQ(array.Find(nullptr), -1);
    EXPECT_EQ(array.Remove(a), 2);
    EXPECT_EQ(array.GetSize(), 2);
    EXPECT_EQ(CountedLine::live, 2);
    EXPECT_EQ(array.Remove(b), 1);
    EXPECT_EQ(CountedLine::live, 2);
    delete b;
    // a is still listed once; the owning array deletes it.
}

TEST_F(ShapeArrayTest, OnlyAnOwningArrayDeletesItsShapes) {
    auto* a = new CountedLine({0, 0}, {1, 0});
    {
        MShapeArray borrowed(FALSE);
        borrowed.Add(a);
        borrowed.Add(nullptr);
    }
    EXPECT_EQ(CountedLine::live, 1);
    {
        MShapeArray owner(TRUE);
        owner.Add(a);
        owner.Add(a);  // listed twice, deleted once
        owner.Add(nullptr);
    }
    EXPECT_EQ(CountedLine::live, 0);
}

TEST_F(ShapeArrayTest, TextReadingSkipsUnknownShapesThatCountAsOneOfTheCount) {
    TextInput in(
        "\t3\n"
        "LINE\n"
        "\t0 0 1 1 0 0 0 0 0 0 0\n"
        "GIZMO\n"
        "\t12 13\n"
        "\t14\n"
        "POLYGON\n"
        "\t0 0 0 16777216 3 0 0 0 0\n"
        "\t3\n"
        "\t0 0\n"
        "\t1 0\n"
        "\t1 1\n"
        "LINE\n"
        "\t5 5 6 6 0 0 0 0 0 0 0\n");
    MShapeArray array(TRUE);
    array.ReadText(nullptr, in);
    ASSERT_EQ(array.GetSize(), 2);
    EXPECT_NE(dynamic_cast<MLineShape*>(array[0]), nullptr);
    EXPECT_NE(dynamic_cast<MPolygonShape*>(array[1]), nullptr);
    // The fourth record did not belong to the array and is still there to read.
    std::unique_ptr<MCadShape> next(ReadShapeText(nullptr, in));
    EXPECT_NE(dynamic_cast<MLineShape*>(next.get()), nullptr);
}

TEST_F(ShapeArrayTest, DamagedShapesAreDroppedAndReadingGoesOn) {
    TextInput in(
        "\t3\n"
        "LINE\n"
        "\t0 0 one 1 0 0 0 0 0 0 0\n"
        "LINE\n"
        "\t0 0 1 1 0 0 0 0 0 0 0\n"
        "LINE\n"
        "\t2 2 3 3 0 0 0 0 0 0 0\n");
    MShapeArray array(TRUE);
    array.ReadText(nullptr, in);
    EXPECT_EQ(array.GetSize(), 2);
}

TEST_F(ShapeArrayTest, AStreamThatEndsEarlyKeepsTheShapesRead) {
    TextInput in("\t5\nLINE\n\t0 0 1 1 0 0 0 0 0 0 0\n");
    MShapeArray array(TRUE);
    array.ReadText(nullptr, in);
    EXPECT_EQ(array.GetSize(), 1);
}

TEST_F(ShapeArrayTest, TheWrittenCountIsTheNumberOfShapesWritten) {
    // Null entries and shapes without a text form are not written, so the count leaves them out;
    // otherwise a group read back would swallow the shapes that follow it.
    auto* group = new MGroupShape;
    group->AddShape(new MLineShape({0, 0}, {1, 0}));
    group->GetMembers().Add(nullptr);
    group->AddShape(new MCadShape);
    group->AddShape(new MLineShape({0, 0}, {0, 1}));
    MShapeArray layer(TRUE);
    layer.Add(group);
    layer.Add(nullptr);
    layer.Add(new MLineShape({7, 7}, {8, 8}));

    TextOutput out;
    layer.WriteText(nullptr, out);
    EXPECT_EQ(out.str().rfind("\t2\nGROUP\n\t2\n", 0), 0u) << out.str();

    TextInput in(out.str());
    MShapeArray back(TRUE);
    back.ReadText(nullptr, in);
    ASSERT_EQ(back.GetSize(), 2);
    EXPECT_EQ(static_cast<MGroupShape*>(back[0])->GetShapeCount(), 2);
    auto* last = dynamic_cast<MLineShape*>(back[1]);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->m_start, MFloatPoint(7, 7));
}

TEST_F(ShapeArrayTest, GroupMemberListReadsWithAndWithoutTheBasePointLine) {
    {
        TextInput in("\t1\n\t1 2.5 -3\nLINE\n\t0 0 1 1 0 0 0 0 0 0 0\n");
        MShapeArray4Group members;
        members.ReadText(nullptr, in);
        EXPECT_TRUE(members.HasBasePoint());
        EXPECT_EQ(members.GetBasePoint(), MFloatPoint(2.5, -3));
        EXPECT_EQ(members.GetSize(), 1);
    }
    {
        TextInput in("\t1\nLINE\n\t0 0 1 1 0 0 0 0 0 0 0\n");
        MShapeArray4Group members;
        members.ReadText(nullptr, in);
        EXPECT_FALSE(members.HasBasePoint());
        EXPECT_EQ(members.GetSize(), 1);
        TestView view;
        members.RecalcAll(&view);
        // Without a base point the centre of the members stands in.
        EXPECT_EQ(members.GetBasePoint(), MFloatPoint(0.5, 0.5));
    }
}

TEST_F(ShapeArrayTest, GroupMemberListMovesItsBasePoint) {
    MShapeArray4Group members;
    members.Add(new MLineShape({0, 0}, {1, 0}));
    members.SetBasePoint({1, 2});
    members.Move({10, 0});
    EXPECT_EQ(members.GetBasePoint(), MFloatPoint(11, 2));
    EXPECT_EQ(static_cast<MLineShape*>(members[0])->m_start, MFloatPoint(10, 0));
}

TEST_F(ShapeArrayTest, ArchiveRoundTripKeepsShapesNullsAndOwnership) {
    MShapeArray4Group members;
    members.Add(new MLineShape({1, 2}, {3, 4}));
    members.Add(nullptr);
    members.Add(Square(0, 0, 2));
    members.SetBasePoint({5, 6});
    auto back = LoadObject<MShapeArray4Group>(StoreObject(&members));
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetSize(), 3);
    EXPECT_EQ(static_cast<MLineShape*>(back->GetAt(0))->m_end, MFloatPoint(3, 4));
    EXPECT_EQ(back->GetAt(1), nullptr);
    EXPECT_EQ(static_cast<MPolygonShape*>(back->GetAt(2))->GetPointCount(), 4);
    EXPECT_TRUE(back->IsOwner());
    EXPECT_EQ(back->GetBasePoint(), MFloatPoint(5, 6));
}

TEST_F(ShapeArrayTest, DamagedArchivesRaiseAndLeakNothing) {
    MShapeArray array(TRUE);
    for (int i = 0; i < 5; ++i)
        array.Add(new MLineShape({0, 0}, {double(i), 1}));
    std::vector<BYTE> bytes = StoreObject(&array);
    for (std::size_t cut : {bytes.size() - 1, bytes.size() / 2, std::size_t(12)}) {
        std::vector<BYTE> truncated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(LoadObject<MShapeArray>(truncated), CArchiveException) << cut;
    }
    // A non-owning array deletes what it read before the failure.
    MShapeArray borrowed(FALSE);
    for (int i = 0; i < 3; ++i)
        borrowed.Add(array[i]);
    CMemFile store;
    {
        CArchive ar(&store, CArchive::store);
        borrowed.Serialize(ar);
    }
    std::vector<BYTE> raw = store.Detach();
    raw.resize(raw.size() - 6);
    MShapeArray target(FALSE);
    CMemFile load(raw);
    CArchive ar(&load, CArchive::load);
    EXPECT_THROW(target.Serialize(ar), CArchiveException);
    EXPECT_EQ(target.GetSize(), 0);
}

TEST_F(ShapeArrayTest, AShapeListedTwiceInAnArchiveIsRefused) {
    // One object stored twice comes back as a back-reference, which would give it two owners.
    MShapeArray borrowed(FALSE);
    MLineShape line({0, 0}, {1, 1});
    borrowed.Add(&line);
    borrowed.Add(&line);
    std::vector<BYTE> bytes = StoreObject(&borrowed);
    EXPECT_THROW(LoadObject<MShapeArray>(bytes), CArchiveException);
}

TEST_F(ShapeArrayTest, HitTestFindsTheTopmostShape) {
    TestView view;
    MShapeArray array(TRUE);
    auto* below = new MLineShape({0, 0}, {10, 0});
    auto* above = new MLineShape({5, -5}, {5, 5});
    array.Add(below);
    array.Add(above);
    array.RecalcAll(&view);
    EXPECT_EQ(array.HitTest(&view, 50, 0, 3), above);  // both pass through (50, 0)
    EXPECT_EQ(array.HitTest(&view, 20, 0, 3), below);
    EXPECT_EQ(array.HitTest(&view, 20, 20, 3), nullptr);
    EXPECT_EQ(array.HitTestDeviceRect(&view, CRect(10, -2, 30, 2)), below);
}

TEST_F(ShapeArrayTest, DrawingSkipsShapesOutsideTheClip) {
    TestView view;
    MShapeArray array(TRUE);
    auto* inside = new MLineShape({1, -1}, {3, -1});
    inside->SetColor(RGB(255, 0, 0));
    auto* outside = new MLineShape({1, -30}, {3, -30});
    array.Add(inside);
    array.Add(outside);
    array.RecalcAll(&view);
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(40, 40));
    array.DrawClipped(&view, &dc);
    dc.Flush();
    EXPECT_EQ(dc.GetPixel(20, 10), RGB(255, 0, 0));
    CDC grey;
    ASSERT_TRUE(grey.CreateImageDC(40, 40));
    array.DrawGrayedVisible(&view, &grey);
    grey.Flush();
    EXPECT_EQ(grey.GetPixel(20, 10), GetSysColor(COLOR_GRAYTEXT));
}
