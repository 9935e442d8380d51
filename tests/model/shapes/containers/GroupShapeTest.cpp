#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

namespace {

class GroupShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        ResetTextNesting();
    }
    TestView view;
};

MLineShape* Line(MFloatPoint a, MFloatPoint b, COLORREF color = 0) {
    auto* l = new MLineShape(a, b);
    l->SetColor(color);
    return l;
}

}  // namespace

TEST_F(GroupShapeTest, AnEmptyGroupHasZeroExtentsAndFindsNothing) {
    MGroupShape group;
    EXPECT_TRUE(group.m_extent.IsNull());
    EXPECT_TRUE(group.GetDrawExtent().IsNull());
    group.Recalc(&view);
    EXPECT_TRUE(group.m_extent.IsNull());
    EXPECT_EQ(group.GetCenter(), MFloatPoint(0, 0));
    // Asking an empty group for its snap points must not reach for a member before the first.
    MSnapPoint snap;
    EXPECT_EQ(group.SnapPoints(snap, {0, 0}, MFloatRect(-1, -1, 1, 1), 0xFF, 5.0), 5.0);
    EXPECT_EQ(snap.kind, 0);
    EXPECT_EQ(group.GetColor(), COLORREF(-1));
    EXPECT_EQ(group.GetLineWidth(), -1.0);
    EXPECT_TRUE(group.HasCapability(kShapeCanFlipX));
    EXPECT_EQ(group.GetGripCount(), 0);
    EXPECT_EQ(group.GetGrip(0), MFloatPoint(0, 0));
}

TEST_F(GroupShapeTest, ColourAndFontAreCommonValues) {
    MGroupShape group;
    group.AddShape(Line({0, 0}, {1, 0}, RGB(255, 0, 0)));
    group.AddShape(Line({0, 0}, {0, 1}, RGB(255, 0, 0)));
    EXPECT_EQ(group.GetColor(), RGB(255, 0, 0));
    group.AddShape(Line({0, 0}, {1, 1}, RGB(0, 0, 255)));
    EXPECT_EQ(group.GetColor(), COLORREF(-1));

    MGroupShape texts;
    texts.AddShape(new FakeTextShape("A"));
    texts.AddShape(Line({0, 0}, {1, 0}));
    EXPECT_TRUE(texts.HasText());
    EXPECT_EQ(texts.TextStyle().fontName.Name(), "A");
    EXPECT_EQ(texts.TextStyle().size, 5.0);
    texts.AddShape(new FakeTextShape("B", 5.0));
    EXPECT_EQ(texts.TextStyle().fontName.Name(), "");
    EXPECT_EQ(texts.TextStyle().size, 5.0);
    texts.SetTextFlag(kTextBold, TRUE);
    EXPECT_TRUE(texts.HasTextFlag(kTextBold));
    EXPECT_FALSE(texts.HasTextFlag(kTextItalic));
}

// A change of text style reaches the members in font, size and the four member bits only: the
// frame, vertical writing and the text colour are no group's to pass on.
TEST_F(GroupShapeTest, TextStyleChangesReachTheMembersInTheirOwnProperties) {
    const struct {
        MTextStyleChange change;
        CString font;
        double size;
        int flags;
    } rows[] = {
        {MTextStyleChange::Font(MTextFontName("B")), "B", 5.0, 0},
        {MTextStyleChange::Size(2.0), "A", 2.0, 0},
        {MTextStyleChange::Flag(kTextUnderline, true), "A", 5.0, kTextUnderline},
        {MTextStyleChange::Flag(kTextFrame, true), "A", 5.0, 0},
        {MTextStyleChange::Flags(kTextFrame | kTextItalic), "A", 5.0, kTextItalic},
        {MTextStyleChange::Color(RGB(0, 0, 255)), "A", 5.0, 0},
    };
    for (const auto& row : rows) {
        MGroupShape group;
        auto* member = new FakeTextShape("A", 5.0);
        group.AddShape(member);
        group.ChangeTextStyle(row.change);
        EXPECT_EQ(member->m_font, row.font) << row.change.fields;
        EXPECT_EQ(member->m_size, row.size) << row.change.fields;
        EXPECT_EQ(member->m_flags, row.flags) << row.change.fields;
    }
}

TEST_F(GroupShapeTest, BasePointFollowsMovesAndMirrors) {
    MGroupShape group;
    group.AddShape(Line({0, 0}, {4, 2}));
    group.Recalc(&view);
    EXPECT_EQ(group.GetCenter(), MFloatPoint(2, 1));
    group.SetBasePoint({1, 2});
    group.Move({10, 0});
    EXPECT_EQ(group.GetCenter(), MFloatPoint(11, 2));
    group.SetBasePoint({1, 2});
    group.MirrorX(5, 0);
    EXPECT_EQ(group.GetCenter(), MFloatPoint(9, 2));
    group.MirrorY(0, 3);
    EXPECT_EQ(group.GetCenter(), MFloatPoint(9, 4));
    group.Rotate(9, 0, kPi / 2);
    EXPECT_NEAR(group.GetCenter().x, 5, 1e-12);
    EXPECT_NEAR(group.GetCenter().y, 0, 1e-12);
    group.Scale({0, 0}, 2);
    EXPECT_NEAR(group.GetCenter().x, 10, 1e-12);
}

TEST_F(GroupShapeTest, ScalingAndRotationReachTheMembers) {
    MGroupShape group;
    auto* line = Line({1, 1}, {3, 1});
    group.AddShape(line);
    group.Recalc(&view);
    group.ScaleXY({1, 1}, 2, 3);
    EXPECT_EQ(line->m_end, MFloatPoint(5, 1));
    EXPECT_EQ(group.m_extent, MFloatRect(1, 1, 5, 1));
    group.ScaleXY({1, 1}, 0, 3);  // a zero factor changes nothing
    EXPECT_EQ(line->m_end, MFloatPoint(5, 1));
    std::unique_ptr<MCadShape> rotated(group.CreateRotated(1, 1, kPi / 2));
    auto* copy = static_cast<MGroupShape*>(rotated.get());
    ASSERT_EQ(copy->GetShapeCount(), 1);
    const auto* member = static_cast<MLineShape*>(copy->GetShapeAt(0));
    EXPECT_NEAR(member->m_end.x, 1, 1e-12);
    EXPECT_NEAR(member->m_end.y, 5, 1e-12);
    EXPECT_EQ(line->m_end, MFloatPoint(5, 1));  // the original is untouched
    EXPECT_FALSE(copy->HasBasePoint());

    group.SetBasePoint({3, 1});
    std::unique_ptr<MCadShape> mirrored(group.CreateMirroredX(0, 0));
    EXPECT_EQ(static_cast<MGroupShape*>(mirrored.get())->GetCenter(), MFloatPoint(-3, 1));
    std::unique_ptr<MCadShape> flipped(group.CreateMirroredY(0, 0));
    EXPECT_EQ(static_cast<MGroupShape*>(flipped.get())->GetCenter(), MFloatPoint(3, -1));
}

// An axis-parallel member cannot hold a 30 degree turn: in place it would only move, so the group
// holds the turned outline instead; quarter turns keep the member's own class.
TEST_F(GroupShapeTest, RotationInPlaceTurnsAxisParallelMembersToo) {
    MGroupShape group;
    auto* rect = new MRectShape;
    rect->SetRect(0, 0, 4, 2);
    rect->SetColor(RGB(255, 0, 0));
    auto* ellipse = new MEllipseShape;
    ellipse->SetEllipse(10, 0, 4, 2);
    auto* line = Line({0, 0}, {1, 0});
    group.AddShape(rect);
    group.AddShape(ellipse);
    group.AddShape(line);
    auto* inner = new MGroupShape;
    auto* nestedRect = new MRectShape;
    nestedRect->SetRect(-4, -2, 4, 2);
    inner->AddShape(nestedRect);
    group.AddShape(inner);

    const double angle = kPi / 6;
    group.Rotate(0, 0, angle);
    ASSERT_EQ(group.GetShapeCount(), 4);
    const auto* turnedRect = group.GetShapeAt(0);
    ASSERT_EQ(turnedRect->GetRuntimeClass(), RUNTIME_CLASS(MPolygonShape));
    const MFloatPoint corner = MFloatPoint(4, 2).GetRotated(angle);  // the far corner
    bool found = false;
    for (const MFloatPoint& p : turnedRect->GetPoints())
        found = found || (p - corner).GetLength() < 1e-9;
    EXPECT_TRUE(found);
    EXPECT_EQ(turnedRect->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(group.GetShapeAt(1)->GetRuntimeClass(), RUNTIME_CLASS(MPolygonShape));
    const MFloatPoint end = MFloatPoint(14, 0).GetRotated(angle);
    EXPECT_NEAR(group.GetShapeAt(1)->GetPoints()[0].x, end.x, 1e-9);
    EXPECT_NEAR(group.GetShapeAt(1)->GetPoints()[0].y, end.y, 1e-9);
    EXPECT_EQ(group.GetShapeAt(2), line);  // shapes that hold the angle turn in place
    EXPECT_NEAR(line->m_end.y, std::sin(angle), 1e-12);
    ASSERT_EQ(group.GetShapeAt(3), inner);
    EXPECT_EQ(inner->GetShapeAt(0)->GetRuntimeClass(), RUNTIME_CLASS(MPolygonShape));

    MGroupShape quarter;
    auto* kept = new MRectShape;
    kept->SetRect(0, 0, 4, 2);
    quarter.AddShape(kept);
    quarter.Rotate(0, 0, kPi / 2);
    ASSERT_EQ(quarter.GetShapeAt(0), kept);
    EXPECT_NEAR(kept->m_size.cx, -2, 1e-12);
    EXPECT_NEAR(kept->m_size.cy, 4, 1e-12);
}

TEST_F(GroupShapeTest, GripsAreNumberedAcrossTheMembers) {
    MGroupShape group;
    group.AddShape(Line({0, 0}, {1, 0}));
    group.AddShape(Line({5, 5}, {6, 6}));
    EXPECT_EQ(group.GetGripCount(), 4);
    EXPECT_EQ(group.GetGrip(2), MFloatPoint(5, 5));
    EXPECT_EQ(group.GetGrip(4), MFloatPoint(0, 0));
    int index = 3;
    group.MoveGrip(&index, {9, 9}, FALSE);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(static_cast<MLineShape*>(group.GetShapeAt(1))->m_end, MFloatPoint(9, 9));
    index = 7;
    group.MoveGrip(&index, {1, 1}, FALSE);  // past the total: nothing
    EXPECT_EQ(index, 7);
}

TEST_F(GroupShapeTest, SnapsOfMembersReportTheGroup) {
    MGroupShape group;
    group.AddShape(Line({-5, 0}, {5, 0}));
    group.AddShape(Line({0, -5}, {0, 5}));
    group.Recalc(&view);
    MSnapPoint snap;
    const MFloatRect aperture(-1, -1, 1, 1);
    double best = group.SnapPoints(snap, {0.2, 0.1}, aperture, kSnapIntersection, DBL_MAX);
    EXPECT_EQ(snap.kind, kSnapIntersection);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(0, 0));
    EXPECT_EQ(snap.shape1, &group);
    EXPECT_NEAR(best, std::hypot(0.2, 0.1), 1e-12);

    MSnapPoint end;
    best = group.SnapPoints(end, {4.5, 0.2}, MFloatRect(4, -1, 6, 1), kSnapEndPoint, DBL_MAX);
    EXPECT_EQ(end.kind, kSnapEndPoint);
    EXPECT_EQ(end.GetPoint(), MFloatPoint(5, 0));
    EXPECT_EQ(end.shape1, &group);
}

TEST_F(GroupShapeTest, HitTestReportsTheNearestHittingMembersFoot) {
    MGroupShape group;
    group.AddShape(Line({0, 0}, {10, 0}));
    group.AddShape(Line({0, 0.2}, {10, 0.2}));
    group.Recalc(&view);
    // Cursor at logical (50, -2), drawing (5, 0.2): both lines lie within 3 pixels.
    MFloatPoint foot;
    EXPECT_TRUE(group.HitTest(&view, CPoint(50, -2), &foot, 3));
    EXPECT_EQ(foot, MFloatPoint(5, 0.2));
    EXPECT_FALSE(group.HitTest(&view, CPoint(50, 40), &foot, 3));
}

TEST_F(GroupShapeTest, ArchiveCarriesOnlyTheMembers) {
    MGroupShape group;
    group.AddShape(Line({1, 2}, {3, 4}, 0xFF));
    group.SetBasePoint({2, 2});
    group.Recalc(&view);
    auto back = LoadObject<MGroupShape>(StoreObject(&group));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->m_extent.IsNull());  // extents come back with Recalc
    back->Recalc(&view);
    EXPECT_EQ(back->m_extent, group.m_extent);
    EXPECT_EQ(back->GetColor(), 0xFFu);
    EXPECT_EQ(back->GetCenter(), MFloatPoint(2, 2));
    EXPECT_TRUE(back->GetMembers().IsOwner());

    std::unique_ptr<MCadShape> dup(group.Duplicate());
    auto* copy = dynamic_cast<MGroupShape*>(dup.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_extent, group.m_extent);
    EXPECT_NE(copy->GetShapeAt(0), group.GetShapeAt(0));
    EXPECT_EQ(copy->GetCenter(), MFloatPoint(2, 2));
}

// The members' owns flag comes before the base point. Stored as 0 and cut after it, the group that
// the archive deletes must still delete its members (the leak checker sees any that stay).
TEST_F(GroupShapeTest, ACutArchiveWithAClearedOwnsFlagLeaksNoMember) {
    MGroupShape group;
    group.AddShape(Line({1, 2}, {3, 4}));
    group.AddShape(Line({5, 6}, {7, 8}));
    std::vector<BYTE> bytes = StoreObject(&group);
    // owns (int32), has-base-point (int32), x and y (doubles) end the record.
    const std::size_t owns = bytes.size() - 24;
    ASSERT_EQ(bytes[owns], 1);
    bytes[owns] = 0;
    for (std::size_t cut = owns + 4; cut < bytes.size(); ++cut) {
        const std::vector<BYTE> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(LoadObject<MGroupShape>(part), CArchiveException) << "cut at " << cut;
    }
    // Whole, the group owns its members whatever the flag said.
    auto back = LoadObject<MGroupShape>(bytes);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->GetMembers().IsOwner());
    EXPECT_EQ(back->GetShapeCount(), 2);
}

TEST_F(GroupShapeTest, TextFormRoundTripsAndEndsWithZero) {
    MGroupShape group;
    group.AddShape(Line({1.5, 2}, {3, 4.25}, 255));
    auto* inner = new MGroupShape;
    inner->AddShape(Line({0, 0}, {1, 1}));
    group.AddShape(inner);
    group.SetBasePoint({0.5, -1});
    const std::string text = ShapeText(group);
    EXPECT_EQ(text,
              "GROUP\n\t2\n\t1 0.5 -1\n"
              "LINE\n\t1.5 2 3 4.25 255 0 0 0 0 0 0\n"
              "GROUP\n\t1\n\t0 0 0\nLINE\n\t0 0 1 1 0 0 0 0 0 0 0\n0\n"
              "0\n");
    std::unique_ptr<MCadShape> back = ReadShape(text);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(ShapeText(*back), text);
}

TEST_F(GroupShapeTest, ReaderSkipsTheLinesNamedByTheTrailingCount) {
    TextInput in(
        "GROUP\n\t1\n\t0 0 0\nLINE\n\t0 0 1 1 0 0 0 0 0 0 0\n"
        "2\nLINE this is skipped\n\tso is this\n"
        "LINE\n\t5 5 6 6 0 0 0 0 0 0 0\n");
    std::unique_ptr<MCadShape> group(ReadShapeText(nullptr, in));
    ASSERT_NE(dynamic_cast<MGroupShape*>(group.get()), nullptr);
    std::unique_ptr<MCadShape> next(ReadShapeText(nullptr, in));
    auto* line = dynamic_cast<MLineShape*>(next.get());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_start, MFloatPoint(5, 5));
}

namespace {

// Each level a line and the next group: depth groups, depth lines.
std::unique_ptr<MGroupShape> Chain(int depth) {
    auto outer = std::make_unique<MGroupShape>();
    MGroupShape* level = outer.get();
    for (int i = 1; i <= depth; ++i) {
        level->AddShape(Line({0, 0}, {double(i), 0}));
        if (i == depth) break;
        auto* inner = new MGroupShape;
        level->AddShape(inner);
        level = inner;
    }
    return outer;
}


}  // namespace

// Written as they stood, the deepest groups made a file, a copy or a part the readers refuse whole.
TEST_F(GroupShapeTest, BothFormsFoldGroupsPastTheNestingLimitIntoTheDeepestOne) {
    const int depth = kMaxGroupNesting + 60;
    const std::unique_ptr<MGroupShape> chain = Chain(depth);
    std::unique_ptr<MCadShape> back = ReadShape(ShapeText(*chain));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(DepthAndLines(back.get()), std::make_pair(kMaxGroupNesting, depth));
    back = LoadObject<MGroupShape>(StoreObject(chain.get()));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(DepthAndLines(back.get()), std::make_pair(kMaxGroupNesting, depth));
    // At the limit itself nothing is folded.
    const std::unique_ptr<MGroupShape> full = Chain(kMaxGroupNesting);
    back = ReadShape(ShapeText(*full));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(ShapeText(*back), ShapeText(*full));
}

// Before, the archive took groups as deep as its own object limit, past what the text form reads.
TEST_F(GroupShapeTest, TheArchiveReadsNoDeeperThanTheNestingLimit) {
    const std::vector<BYTE> bytes = StoreObject(Chain(60).get());
    std::vector<std::unique_ptr<MTextNestingGuard>> open;
    for (int i = 0; i < kMaxGroupNesting - 50; ++i)
        open.push_back(std::make_unique<MTextNestingGuard>());
    EXPECT_THROW(LoadObject<MGroupShape>(bytes), CArchiveException);
    open.clear();
    EXPECT_NE(LoadObject<MGroupShape>(bytes), nullptr);
}

// A label or balloon counted as one more group in the archive only: one below the deepest group was
// written, then refused, and with it any copy, paste or undo of its layer.
TEST_F(GroupShapeTest, TheArchiveTakesBackWhatItWritesBelowTheDeepestGroupAndNoGroupInALabel) {
    const auto label = [](MLabelShapeBase* l) {
        l->AddLeaderPoint(nullptr, {0, 0});
        l->AddLeaderPoint(nullptr, {5, 5});
        return l;
    };
    const auto dimension = [] {
        auto* d = new MSizeShape;
        d->SetPoints({0, 0}, {10, 0}, {0, 2}, {10, 2}, {5, 2});
        return d;
    };
    struct Case {
        const char* what;
        int depth;
        std::function<MCadShape*()> inner;
        bool reads;
    };
    const Case cases[] = {
        {"label in the deepest group", kMaxGroupNesting, [&] { return label(new MLabelShape); }, true},
        {"balloon folded into the deepest group", kMaxGroupNesting + 60,
         [&] { return label(new MBalloonShape); }, true},
        {"dimension in the deepest group", kMaxGroupNesting, dimension, true},
        {"label holding a label", 1,
         [&] {
             MLabelShapeBase* l = label(new MLabelShape);
             l->AddShape(label(new MLabelShape));
             return l;
         },
         false},
        {"label holding a group", 1,
         [&] {
             MLabelShapeBase* l = label(new MBalloonShape);
             l->AddShape(Chain(1).release());
             return l;
         },
         false},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<MGroupShape> chain = Chain(c.depth);
        MGroupShape* deepest = chain.get();
        while (auto* inner = dynamic_cast<MGroupShape*>(deepest->GetShapeAt(deepest->GetShapeCount() - 1)))
            deepest = inner;
        deepest->AddShape(c.inner());
        const std::vector<BYTE> bytes = StoreObject(chain.get());
        if (!c.reads) {
            EXPECT_THROW(LoadObject<MGroupShape>(bytes), CArchiveException) << c.what;
            continue;
        }
        std::unique_ptr<MGroupShape> back;
        EXPECT_NO_THROW(back = LoadObject<MGroupShape>(bytes)) << c.what;
        ASSERT_NE(back, nullptr) << c.what;
        EXPECT_EQ(ShapeText(*back), ShapeText(*chain)) << c.what;
    }
}

// A destructor per level ran out of stack long before this depth.
TEST_F(GroupShapeTest, AnyNestingIsDeletedWithoutExhaustingTheStack) {
    Chain(300000).reset();
    MShapeArray layer(TRUE);
    layer.Add(Chain(300000).release());
    layer.DeleteAll();
    EXPECT_EQ(layer.GetSize(), 0);
}

TEST_F(GroupShapeTest, ConstructorCopiesTheSelection) {
    MLShapeArray selection(FALSE);
    MLineShape a({0, 0}, {1, 0});
    MLineShape b({0, 0}, {0, 1});
    selection.Add(&a, 0);
    selection.Add(&b, 0);
    MGroupShape group(&view, selection);
    ASSERT_EQ(group.GetShapeCount(), 2);
    EXPECT_NE(group.GetShapeAt(0), &a);
    EXPECT_EQ(static_cast<MLineShape*>(group.GetShapeAt(1))->m_end, MFloatPoint(0, 1));
    EXPECT_TRUE(group.IsPlainGroup());
    EXPECT_FALSE(group.IsInRect(MFloatRect(-10, -10, 10, 10)));
}

TEST_F(GroupShapeTest, CopiesHoldEveryMemberInOrderAndShareNone) {
    MGroupShape group;
    for (int i = 0; i < 9; ++i)
        group.AddShape(Line({0, 0}, {1.0 + i, 2.0 * i}));
    group.Recalc(&view);
    for (bool clone : {false, true}) {
        std::unique_ptr<MCadShape> copy(clone ? group.Clone() : group.Duplicate());
        auto* g = dynamic_cast<MGroupShape*>(copy.get());
        ASSERT_NE(g, nullptr);
        ASSERT_EQ(g->GetShapeCount(), 9);
        for (int i = 0; i < 9; ++i) {
            auto* line = dynamic_cast<MLineShape*>(g->GetShapeAt(i));
            ASSERT_NE(line, nullptr);
            EXPECT_NE(line, group.GetShapeAt(i));
            EXPECT_EQ(line->m_end, MFloatPoint(1.0 + i, 2.0 * i));
        }
        // The copy's list was sized for its members: one more still goes at the end.
        EXPECT_EQ(g->AddShape(Line({0, 0}, {5, 5})), 9);
    }
}

TEST_F(GroupShapeTest, ExportsForwardToEveryMember) {
    MGroupShape group;
    group.AddShape(Line({0, 0}, {1, 0}));
    group.AddShape(Line({0, 0}, {0, 1}));
    MJWCLineArray lines;
    ExportShapeJwcLines(group, lines, 3, 2.0, 1.0);
    ASSERT_EQ(lines.GetSize(), 2);
    EXPECT_EQ(lines[1].y2, 2.0f);
    EXPECT_EQ(lines[1].layer, 3);
    MDXFOutStream dxf;
    ExportShapeDxf(group, dxf, "0", {0, 0}, 1.0);
    std::size_t count = 0;
    for (std::size_t at = 0; (at = dxf.GetText().find("\nLINE\n", at)) != std::string::npos; ++at)
        ++count;
    EXPECT_EQ(count, 2u);
}
