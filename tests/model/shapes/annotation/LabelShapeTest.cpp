#include <gtest/gtest.h>

#include <cmath>

#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "model/PaperInfo.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Exceptions.h"
#include "tests/model/shapes/annotation/AnnotationTestSupport.h"

using namespace shapetest;
using namespace annotationtest;

namespace {

class LabelShapeTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }

    static std::unique_ptr<MLabelShape> Make(std::initializer_list<MFloatPoint> leader,
                                             const char* text = "注記") {
        auto l = std::make_unique<MLabelShape>();
        for (const MFloatPoint& p : leader)
            l->AddLeaderPoint(nullptr, p);
        l->SetString(text);
        return l;
    }
    TestView view;
};

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tolerance = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
}

}  // namespace

TEST_F(LabelShapeTest, DefaultsAndMembers) {
    MLabelShape l;
    EXPECT_EQ(l.GetTypeName(), "LABEL");
    EXPECT_EQ(l.GetTypeId(), 23);
    EXPECT_EQ(l.GetShapeCount(), 3);
    EXPECT_EQ(l.GetLeaderPointCount(), 0);
    EXPECT_EQ(l.GetTextSize(), 4.0);
    EXPECT_EQ(l.GetArrows(), MArrowInfo(1, 3.0, 0, 0.0));
    EXPECT_TRUE(l.HasText());
    EXPECT_FALSE(l.IsPlainGroup());
    MLabelShapeBase base;
    EXPECT_EQ(base.GetTypeName(), "GROUP");
    EXPECT_EQ(base.GetShapeCount(), 1);
    // A leader without points lays out nothing.
    l.Recalc(&view);
    EXPECT_EQ(l.GetUnderline()->m_start, MFloatPoint());
}

TEST_F(LabelShapeTest, TheUnderlineRunsOnFromTheLastSegment) {
    auto l = Make({{0, 0}, {10, 10}, {20, 10}});
    l->SetColor(RGB(255, 0, 0));
    l->SetTextColor(RGB(0, 0, 255));
    l->Recalc(&view);
    MTextShape* text = l->GetTextMember();
    const double w = text->GetBoxWidth();
    EXPECT_GT(w, 0);
    EXPECT_EQ(text->GetString(), "注記");
    EXPECT_EQ(text->GetTextSize(), 4.0);
    EXPECT_EQ(text->GetTextColor(), RGB(0, 0, 255));
    ExpectNear(l->GetUnderline()->m_start, {20, 10});
    ExpectNear(l->GetUnderline()->m_end, {20 + w, 10});
    EXPECT_EQ(text->GetAlignment(), 10);
    ExpectNear(text->GetPoint(), {20 + w, 10});
    // The text stands on the underline and covers it.
    ExpectNear(text->GetHandle(3), {20, 10});
    // The arrow is at the annotated point.
    EXPECT_EQ(l->GetLeader()->GetArrows(), MArrowInfo(1, 3.0, 0, 0.0));
    EXPECT_EQ(l->GetLeader()->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(l->GetUnderline()->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(l->GetCenter(), MFloatPoint(0, 0));

    l->SetTextOffset(1.5);
    l->Recalc(&view);
    ExpectNear(l->GetTextMember()->GetPoint(), {20 + w, 11.5});
}

TEST_F(LabelShapeTest, ALeftwardSegmentPutsTheNoteToTheLeft) {
    auto l = Make({{0, 0}, {-10, 10}, {-20, 10}, {-20, 10}});  // a repeated last point
    l->Recalc(&view);
    const double w = l->GetTextMember()->GetBoxWidth();
    ExpectNear(l->GetUnderline()->m_start, {-20, 10});
    ExpectNear(l->GetUnderline()->m_end, {-20 - w, 10});
    EXPECT_EQ(l->GetTextMember()->GetAlignment(), 8);
    ExpectNear(l->GetTextMember()->GetPoint(), {-20 - w, 10});
    // A leader of one point: an empty underline, the text raised by the offset.
    auto one = Make({{3, 4}});
    one->SetTextOffset(2);
    one->Recalc(&view);
    ExpectNear(one->GetUnderline()->m_end, {3, 4});
    ExpectNear(one->GetTextMember()->GetPoint(), {3, 6});
}

TEST_F(LabelShapeTest, LeaderOperationsAndHandles) {
    auto l = Make({{0, 0}, {10, 0}});
    l->MoveLastLeaderPoint({10, 5});
    EXPECT_EQ(l->GetHandle(1), MFloatPoint(10, 5));
    EXPECT_EQ(l->GetHandleCount(), 2);
    int index = 0;
    l->MoveHandle(&index, {-1, -1}, FALSE);
    EXPECT_EQ(l->GetLeader()->GetPoint(0), MFloatPoint(-1, -1));
    index = 5;
    EXPECT_THROW(l->MoveHandle(&index, {0, 0}, TRUE), CInvalidArgException);
    EXPECT_THROW(l->GetHandle(7), CInvalidArgException);
    l->AddLeaderPoint(&view, {20, 5});
    l->RemoveLastLeaderPoint();
    EXPECT_EQ(l->GetLeaderPointCount(), 2);
    l->DeleteLeaderPoint(0);  // refused with two points
    EXPECT_EQ(l->GetLeaderPointCount(), 2);
    EXPECT_EQ(l->GetGripCount(), 2);
    // A label whose members are gone cannot be laid out.
    MLabelShape broken;
    broken.GetMembers().DeleteAll();
    EXPECT_THROW(broken.GetLeader(), CInvalidArgException);
    EXPECT_THROW(broken.Recalc(&view), CInvalidArgException);
    EXPECT_THROW(broken.GetUnderline(), CInvalidArgException);
}

TEST_F(LabelShapeTest, AttributesAreStoredAndReachTheMembersAtTheNextLayout) {
    auto l = Make({{0, 0}, {10, 0}});
    l->Recalc(&view);
    l->SetColor(RGB(0, 255, 0));
    l->SetLineWidth(0.5);
    l->SetTextFlag(kTextBold, TRUE);
    l->SetArrows(MArrowInfo(0, 5.0, 2, 1.0));
    EXPECT_EQ(l->GetArrows(), MArrowInfo(0, 0.0, 0, 0.0));
    l->SetArrowsEx(2, 4.0, 3, 3.0);
    EXPECT_EQ(l->GetColor(), RGB(0, 255, 0));
    EXPECT_TRUE(l->HasTextFlag(kTextBold));
    EXPECT_FALSE(l->HasTextFlag(kTextItalic));
    EXPECT_EQ(l->GetLeader()->GetColor(), 0u);  // not yet
    l->Recalc(&view);
    EXPECT_EQ(l->GetLeader()->GetColor(), RGB(0, 255, 0));
    EXPECT_EQ(l->GetLeader()->GetArrows(), MArrowInfo(2, 4.0, 0, 0.0));
    EXPECT_EQ(l->GetUnderline()->GetLineWidth(), 0.5);
    EXPECT_EQ(l->GetTextMember()->GetTextFlags(), kTextBold);
}

TEST_F(LabelShapeTest, RotatingTurnsTheLeaderOnly) {
    auto l = Make({{0, 0}, {10, 0}});
    l->Recalc(&view);
    l->Rotate(0, 0, kPi / 2);
    ExpectNear(l->GetLeader()->GetPoint(1), {0, 10});
    l->Recalc(&view);
    const MLineShape* u = l->GetUnderline();
    EXPECT_EQ(u->m_start.y, u->m_end.y);             // still horizontal
    EXPECT_EQ(l->GetTextMember()->GetAngle(), 0.0);  // upright
    l->MirrorX(0, 0);
    l->MirrorY(0, 0);
    ExpectNear(l->GetLeader()->GetPoint(1), {0, -10});
    std::unique_ptr<MCadShape> turned(l->CreateRotated(0, 0, kPi));
    ASSERT_TRUE(dynamic_cast<MLabelShape*>(turned.get()));
    ExpectNear(static_cast<MLabelShape*>(turned.get())->GetLeader()->GetPoint(1), {0, 10});
}

TEST_F(LabelShapeTest, SnapsToLeaderUnderlineAndBasePoint) {
    auto l = Make({{0, 0}, {10, 10}, {20, 10}});
    l->Recalc(&view);
    const MFloatRect all(-100, -100, 100, 100);
    MSnapPoint snap;
    const MFloatPoint far = l->GetUnderline()->m_end;
    l->SnapPoints(snap, far + MFloatPoint(0.1, 0), all, kSnapEndPoint, DBL_MAX);
    ExpectNear(snap.GetPoint(), far);
    EXPECT_EQ(snap.shape1, l.get());
    MSnapPoint base;
    l->SnapPoints(base, {0.2, 0.1}, all, kSnapBasePoint, DBL_MAX);
    EXPECT_EQ(base.kind, kSnapBasePoint);
    EXPECT_EQ(base.GetPoint(), MFloatPoint(0, 0));
}

TEST_F(LabelShapeTest, BothFormsRoundTrip) {
    auto l = Make({{0, 0}, {10, 10}, {20, 10}}, "二行\nの注記");
    l->SetColor(RGB(1, 2, 3));
    l->SetTextColor(RGB(4, 5, 6));
    l->SetLineWidth(0.25);
    l->SetLineStyle(3);
    l->SetFillStyle(MFillStyle(RGB(200, 200, 0)));
    l->SetFontName("ＭＳ 明朝");
    l->SetTextSize(2.5);
    l->SetTextFlags(kTextItalic);
    l->SetTextOffset(0.75);
    l->SetArrowsEx(5, 2.0, 0, 0);
    l->Recalc(&view);
    auto check = [&](MCadShape* shape, bool membersStored) {
        auto* c = dynamic_cast<MLabelShape*>(shape);
        ASSERT_TRUE(c);
        EXPECT_EQ(c->GetString(), "二行\nの注記");
        EXPECT_EQ(c->GetColor(), RGB(1, 2, 3));
        EXPECT_EQ(c->GetTextColor(), RGB(4, 5, 6));
        EXPECT_EQ(c->GetLineWidth(), 0.25);
        EXPECT_EQ(c->GetLineStyle(), 3);
        EXPECT_EQ(c->GetFillStyle(), MFillStyle(RGB(200, 200, 0)));
        EXPECT_EQ(c->GetFontName(), "ＭＳ 明朝");
        EXPECT_EQ(c->GetTextSize(), 2.5);
        EXPECT_EQ(c->GetTextFlags(), kTextItalic);
        EXPECT_EQ(c->GetTextOffset(), 0.75);
        EXPECT_EQ(c->GetArrows(), MArrowInfo(5, 2.0, 0, 0.0));
        ASSERT_EQ(c->GetLeaderPointCount(), 3);
        EXPECT_EQ(c->GetLeader()->GetPoint(2), MFloatPoint(20, 10));
        if (membersStored) {
            EXPECT_EQ(c->GetTextMember()->GetString(), "二行\nの注記");
        }
        c->Recalc(&view);
        EXPECT_EQ(c->m_extent, l->m_extent);
    };
    std::unique_ptr<MCadShape> loaded(LoadObject<MCadShape>(StoreObject(l.get())));
    check(loaded.get(), true);
    check(ReadShape(ShapeText(*l)).get(), false);
    std::unique_ptr<MCadShape> copy(l->Clone());
    check(copy.get(), true);
}

TEST_F(LabelShapeTest, AnOlderTextFormWithoutTextColourTakesTheLineColour) {
    auto read = ReadShape("LABEL\n\t255 0 0 1 3 16777216\n\t1\n\tabc\n\t0\n\t4 0 0\n\t2\n\t0 0\n\t10 0\n");
    ASSERT_TRUE(read);
    auto* l = dynamic_cast<MLabelShape*>(read.get());
    ASSERT_TRUE(l);
    EXPECT_EQ(l->GetColor(), 255u);
    EXPECT_EQ(l->GetTextColor(), 255u);
    EXPECT_EQ(l->GetString(), "abc");
    EXPECT_EQ(l->GetLeaderPointCount(), 2);
    EXPECT_TRUE(l->GetFillStyle().IsNone());
    EXPECT_FALSE(ReadShape("LABEL\n\t255 0 x\n"));
}

TEST_F(LabelShapeTest, ALabelReadButNeverLaidOutExportsItsNote) {
    auto source = Make({{0, 0}, {10, 10}, {20, 10}}, "note");
    auto read = ReadShape(ShapeText(*source));
    ASSERT_TRUE(read);
    MDXFOutStream out;
    ExportShapeDxf(*read, out, "0", {0, 0}, 1.0);
    const std::string dxf = out.GetText();
    EXPECT_EQ(DxfValues(dxf, 1), std::vector<std::string>{"note"});
    EXPECT_EQ(CountEntities(dxf, "LINE"), 1);  // the underline
    // And it is hit on its underline without having been drawn.
    auto again = ReadShape(ShapeText(*source));
    const CPoint onUnderline = view.DocToLogical(MFloatPoint(21, 10));
    EXPECT_TRUE(again->HitTest(&view, onUnderline, nullptr, 3));
}

TEST_F(LabelShapeTest, DrawnLabelShowsArrowLeaderUnderlineAndText) {
    auto l = Make({{5, 5}, {15, 15}, {25, 15}}, "ABC");
    Image image(view, 600, 250, {0, 0});
    l->Draw(&view, &image.dc());  // lays itself out first
    EXPECT_FALSE(l->IsLayoutStale());
    // The arrow head at the annotated point and the leader's bend.
    const CPoint tip = image.Device({5, 5}), bend = image.Device({15, 15});
    EXPECT_TRUE(image.IsInk(tip.x, tip.y));
    EXPECT_TRUE(image.IsInk(bend.x, bend.y));
    const CPoint wing = image.Device({5 + 2.5, 5 + 1.5});  // inside the open head's V
    EXPECT_GT(image.CountInk(CRect(wing.x - 6, wing.y - 6, wing.x + 6, wing.y + 6)), 0);
    // The underline under the text, and the text above it.
    const double w = l->GetTextMember()->GetBoxWidth();
    const CPoint under = image.Device({25 + w / 2, 15});
    EXPECT_TRUE(image.IsInk(under.x, under.y));
    const CPoint above = image.Device({25, 15 + 4});
    const CPoint end = image.Device({25 + w, 15});
    EXPECT_GT(image.CountInk(CRect(above.x, above.y, end.x, end.y - 1)), 30);
    EXPECT_EQ(image.CountInk(CRect(above.x, end.y + 2, end.x, end.y + 30)), 0);  // nothing below
}

TEST_F(LabelShapeTest, ALabelWithoutItsMembersStillWritesARecord) {
    MLabelShape broken;
    broken.GetMembers().DeleteAll();
    const std::string text = ShapeText(broken);
    auto read = ReadShape(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(static_cast<MLabelShape&>(*read).GetLeaderPointCount(), 0);
    // Drawing and exporting it neither throws nor draws.
    MDXFOutStream out;
    EXPECT_NO_THROW(ExportShapeDxf(broken, out, "0", {0, 0}, 1.0));
    Image image(view, 50, 50, {0, 0});
    EXPECT_NO_THROW(broken.Draw(&view, &image.dc()));
    EXPECT_EQ(image.CountInk(), 0);
}
