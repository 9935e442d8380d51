#include <gtest/gtest.h>

#include <memory>

#include "model/geometry/Geometry.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/gdi/DC.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

namespace {

class LShapeArrayTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }
    MLShapeArray list{TRUE};
};

MLineShape* Line(COLORREF color) {
    auto* l = new MLineShape({0, 0}, {1, 0});
    l->SetColor(color);
    return l;
}

}  // namespace

TEST_F(LShapeArrayTest, ColourIsTheCommonValueOrMinusOne) {
    EXPECT_EQ(list.GetColor(), COLORREF(-1));
    list.Add(Line(0), 1);
    list.Add(Line(0), 2);
    EXPECT_EQ(list.GetColor(), 0u);
    list.Add(Line(0xFF), 3);
    EXPECT_EQ(list.GetColor(), COLORREF(-1));
    list.SetColor(0x00FF00);
    EXPECT_EQ(list.GetColor(), 0x00FF00u);
}

TEST_F(LShapeArrayTest, LineAttributesAreCommonOrMixed) {
    EXPECT_EQ(list.GetLineWidth(), -1.0);
    EXPECT_EQ(list.GetLineStyle(), -1);
    list.Add(Line(0), 0);
    list.Add(new MPolygonShape(FALSE), 0);
    EXPECT_EQ(list.GetLineWidth(), 0.0);
    EXPECT_EQ(list.GetLineStyle(), 0);
    list.GetAt(0)->SetLineWidth(0.25);
    EXPECT_EQ(list.GetLineWidth(), -1.0);
    list.SetLineWidth(0.5);
    list.SetLineStyle(3);
    EXPECT_EQ(list.GetLineWidth(), 0.5);
    EXPECT_EQ(list.GetLineStyle(), 3);
}

TEST_F(LShapeArrayTest, TextAttributesLookOnlyAtTextMembers) {
    EXPECT_EQ(list.GetTextSize(), 0.0);
    EXPECT_EQ(list.GetFontName(), "");
    list.Add(Line(0), 0);
    EXPECT_FALSE(list.HasTextFlag(kTextBold));
    EXPECT_FALSE(list.HasTextFlag(kTextFrame));
    list.Add(new FakeTextShape("A", 5.0, kTextBold | kTextFrame), 0);
    EXPECT_EQ(list.GetTextSize(), 5.0);
    EXPECT_EQ(list.GetFontName(), "A");
    EXPECT_TRUE(list.HasTextFlag(kTextBold));
    EXPECT_TRUE(list.HasTextFlag(kTextFrame));
    EXPECT_FALSE(list.HasTextFlag(kTextItalic));
    list.Add(new FakeTextShape("B", 4.0, kTextFrame), 0);
    EXPECT_EQ(list.GetTextSize(), 0.0);
    EXPECT_EQ(list.GetFontName(), "");
    EXPECT_FALSE(list.HasTextFlag(kTextBold));
    EXPECT_TRUE(list.HasTextFlag(kTextFrame));
    list.SetFontName("ＭＳ ゴシック");
    list.SetTextSize(3.5);
    EXPECT_EQ(list.GetFontName(), "ＭＳ ゴシック");
    EXPECT_EQ(list.GetTextSize(), 3.5);
}

TEST_F(LShapeArrayTest, AlignmentPartsBecomeZeroWhereMultiLineTextsDiffer) {
    EXPECT_EQ(list.GetAlignment(), 0);
    auto* a = new FakeTextShape("A", 5, 0, kShapeMultiText);
    a->m_alignment = 1 | 8;
    auto* single = new FakeTextShape("A", 5, 0, kShapeText);
    single->m_alignment = 2 | 4;
    list.Add(a, 0);
    list.Add(single, 0);  // not a multi-line text: ignored
    EXPECT_EQ(list.GetAlignment(), 1 | 8);
    auto* b = new FakeTextShape("A", 5, 0, kShapeMultiText);
    b->m_alignment = 1 | 4;
    list.Add(b, 0);
    EXPECT_EQ(list.GetAlignment(), 1);
}

TEST_F(LShapeArrayTest, ArrowsAreComparedEndByEnd) {
    const MArrowInfo empty = list.GetArrows();
    EXPECT_EQ(empty, MArrowInfo(255, -1.0, 255, -1.0));
    MLineShape* a = Line(0);
    a->SetArrowsEx(1, 3.0, 0, 9.0);
    MLineShape* b = Line(0);
    b->SetArrowsEx(1, 4.0, 0, 2.0);
    list.Add(a, 0);
    EXPECT_EQ(list.GetArrows(), MArrowInfo(1, 3.0, 0, 0.0));  // a style-0 end has size 0
    list.Add(b, 0);
    EXPECT_EQ(list.GetArrows(), MArrowInfo(1, -1.0, 0, 0.0));
    MLineShape* c = Line(0);
    c->SetArrowsEx(2, 3.0, 0, 0.0);
    list.Add(c, 0);
    EXPECT_EQ(list.GetArrows().startStyle, 255);
}

TEST_F(LShapeArrayTest, FillOfOneShapeComesBackUnchanged) {
    EXPECT_EQ(list.GetFillStyle(), MFillStyle(COLORREF(-1)));
    auto* p = new MPolygonShape(TRUE);
    const MFillStyle gradation(kFillCircular, 0.25, 0.75, RGB(255, 0, 0), RGB(0, 0, 255));
    p->SetFillStyle(gradation);
    list.Add(p, 0);
    EXPECT_EQ(list.GetFillStyle(), gradation);
    list.Add(new MPolygonShape(TRUE), 0);
    EXPECT_EQ(list.GetFillStyle(), MFillStyle(COLORREF(-1)));
}

TEST_F(LShapeArrayTest, ValuesStayAlignedWithTheShapes) {
    MLineShape* a = Line(1);
    MLineShape* b = Line(2);
    MLineShape* c = Line(3);
    list.Add(a, 10);
    list.Add(b, 20);
    list.Add(c, 30);
    EXPECT_EQ(list.Remove(b), 1);
    ASSERT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.GetAt(1), c);
    EXPECT_EQ(list.GetValueAt(1), 30u);
    list.InsertAt(0, Line(4), 40);
    EXPECT_EQ(list.GetValueAt(0), 40u);
    EXPECT_EQ(list.GetValueAt(1), 10u);
    // Still alive here: once freed, a new shape may take its address.
    EXPECT_EQ(list.Remove(b), -1);
    delete b;
    EXPECT_THROW(list.GetAt(3), CInvalidArgException);
    EXPECT_THROW(list.GetValueAt(-1), CInvalidArgException);
    EXPECT_THROW(list.RemoveAt(3), CInvalidArgException);
    EXPECT_THROW(list.SetAt(3, a, 0), CInvalidArgException);
}

TEST_F(LShapeArrayTest, EditCapabilitiesAreTheAndOfTheMembers) {
    EXPECT_FALSE(list.SupportsEdit1());
    list.Add(Line(0), 0);
    EXPECT_TRUE(list.SupportsEdit1());
    EXPECT_TRUE(list.SupportsEdit4());
    list.Add(new MCadShape, 0);
    EXPECT_FALSE(list.SupportsEdit3());
}

TEST_F(LShapeArrayTest, TransformsReachEveryMember) {
    MLineShape* a = Line(0);
    list.Add(a, 0);
    list.MirrorX(5, 0);
    EXPECT_EQ(a->m_end, MFloatPoint(9, 0));
    list.Move({1, 1});
    EXPECT_EQ(a->m_start, MFloatPoint(11, 1));
    list.Rotate(11, 1, kPi);
    EXPECT_NEAR(a->m_end.x, 12, 1e-12);
}

TEST_F(LShapeArrayTest, ANonOwningListLeavesItsShapesAlive) {
    auto line = std::make_unique<MLineShape>(MFloatPoint(0, 0), MFloatPoint(1, 1));
    {
        MLShapeArray borrowed(FALSE);
        borrowed.Add(line.get(), 7);
        borrowed.RemoveAll();
        borrowed.Add(line.get(), 8);
    }
    EXPECT_EQ(line->m_end, MFloatPoint(1, 1));  // still alive (ASan would report otherwise)
}

TEST_F(LShapeArrayTest, ArchiveRoundTripKeepsShapesAndValues) {
    list.Add(Line(5), 3);
    list.Add(new MPolygonShape(FALSE), 9);
    auto back = LoadObject<MLShapeArray>(StoreObject(&list));
    ASSERT_EQ(back->GetSize(), 2);
    EXPECT_EQ(back->GetValueAt(0), 3u);
    EXPECT_EQ(back->GetValueAt(1), 9u);
    EXPECT_EQ(back->GetAt(0)->GetColor(), 5u);
    EXPECT_TRUE(back->IsOwner());
}

TEST_F(LShapeArrayTest, MarksTheSelectionInGreenAndOptionallyWideYellow) {
    TestView view;
    list.Add(new MLineShape({1, -2}, {9, -2}), 0);
    list.Recalc(&view);
    const int saved = GetOptionRecord().m_drawSelectedShape;
    GetOptionRecord().m_drawSelectedShape = 1;
    CDC plain;
    ASSERT_TRUE(plain.CreateImageDC(100, 40));
    list.DrawMarked(&view, &plain);
    plain.Flush();
    EXPECT_EQ(plain.GetPixel(50, 20), RGB(0, 255, 0));
    EXPECT_EQ(plain.GetPixel(50, 21), 0xFFFFFFu);
    GetOptionRecord().m_drawSelectedShape = 2;
    CDC wide;
    ASSERT_TRUE(wide.CreateImageDC(100, 40));
    list.DrawMarked(&view, &wide);
    wide.Flush();
    EXPECT_EQ(wide.GetPixel(50, 20), RGB(255, 255, 0));
    EXPECT_EQ(wide.GetPixel(50, 21), RGB(255, 255, 0));
    GetOptionRecord().m_drawSelectedShape = saved;
    EXPECT_EQ(list.HitTest(&view, 50, 20, 2), list.GetAt(0));
}
