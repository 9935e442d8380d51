#include <gtest/gtest.h>

#include <cmath>

#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/PaperInfo.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/containers/ShapeArray.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/model/shapes/annotation/AnnotationTestSupport.h"

using namespace shapetest;
using namespace annotationtest;

namespace {

class SizeShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        ResetSizeFormats();
        GetDefaultSizeStyle() = MSizeStyle();
    }

    // A horizontal dimension of (0, 0)-(100, 0) with its line at y = 20.
    static std::unique_ptr<MSizeShape> Horizontal(double length = 100) {
        auto s = std::make_unique<MSizeShape>();
        s->SetPoints({0, 0}, {length, 0}, {0, 20}, {length, 20}, {length / 2, 20});
        s->UpdateText();
        return s;
    }

    template <class T>
    static T* Member(MSizeShape& s, int i) {
        return dynamic_cast<T*>(s.GetShapeAt(i));
    }

    TestView view;  // no paper: style millimetres are drawing units
};

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tolerance = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
}

}  // namespace

TEST_F(SizeShapeTest, DefaultsAndIdentity) {
    MSizeShape s;
    EXPECT_EQ(s.GetTypeName(), "SIZE");
    EXPECT_EQ(s.GetTypeId(), 11);
    EXPECT_EQ(s.GetColor(), 0u);
    EXPECT_EQ(s.GetTextColor(), 0u);
    EXPECT_EQ(s.GetSizeStyle(), MSizeStyle());
    EXPECT_EQ(s.GetSizeStyle().m_fontName, "ＭＳ ゴシック");
    EXPECT_FALSE(s.IsPlainGroup());
    EXPECT_FALSE(s.IsBuilt());
    EXPECT_FALSE(s.IsValid());
    EXPECT_TRUE(s.HasCapability(kShapeCanFlipX) && s.HasCapability(kShapeCanReshape));
    MSizeBaseShape base;
    EXPECT_EQ(base.GetTypeName(), "GROUP");
    EXPECT_EQ(base.GetTypeId(), 8);
}

TEST_F(SizeShapeTest, AHorizontalDimensionMeasuresItsLength) {
    auto s = Horizontal();
    EXPECT_EQ(s->GetText(), " 100 ");
    s->Recalc(&view);
    ASSERT_EQ(s->GetShapeCount(), 4);
    auto* text = Member<MTextShape>(*s, 0);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->GetString(), " 100 ");
    EXPECT_EQ(text->GetAngle(), 0.0);
    EXPECT_EQ(text->GetAlignment(), 9);
    ExpectNear(text->GetPoint(), {50, 21});  // centred on E, one text gap above the line
    EXPECT_EQ(text->GetTextSize(), 3.0);
    EXPECT_EQ(text->GetFontName(), "ＭＳ ゴシック");
    // Extension lines from the gap off the measured points to the overshoot past the line.
    auto* ext = Member<MLineShape>(*s, 1);
    ASSERT_TRUE(ext);
    ExpectNear(ext->m_start, {0, 2});
    ExpectNear(ext->m_end, {0, 22});
    ExpectNear(Member<MLineShape>(*s, 2)->m_end, {100, 22});
    auto* line = Member<MPolygonShape>(*s, 3);
    ASSERT_TRUE(line);
    EXPECT_FALSE(line->IsClosed());
    ExpectNear(line->GetPoint(0), {0, 20});
    ExpectNear(line->GetPoint(1), {100, 20});
    EXPECT_EQ(line->GetArrows(), MArrowInfo(1, 3.0, 1, 3.0));
    EXPECT_TRUE(s->IsValid());
    EXPECT_EQ(s->GetCenter(), MFloatPoint(50, 0));
}

TEST_F(SizeShapeTest, TheTextUsesTheCurrentLinearFormat) {
    MSizeFormatInfo hundredths("0.01", "L=", "mm", 0.01, TRUE, TRUE, 0);
    SetCurrentSizeFormat(SIZEFORMAT_LINEAR, hundredths);
    auto s = Horizontal(2.675);  // a decimal half, 2.67499999... in binary
    EXPECT_EQ(s->GetText(), "L=2.68mm");
    s = Horizontal(1234.5);
    EXPECT_EQ(s->GetText(), "L=1,234.50mm");
    ResetSizeFormats();
}

TEST_F(SizeShapeTest, TheTextIsNeverUpsideDown) {
    MSizeShape s;
    s.SetPoints({100, 0}, {0, 0}, {100, 20}, {0, 20}, {50, 20});  // right to left
    s.Recalc(&view);
    EXPECT_EQ(Member<MTextShape>(s, 0)->GetAngle(), 0.0);
    s.SetPoints({0, 0}, {0, 100}, {20, 0}, {20, 100}, {20, 50});
    s.Recalc(&view);
    EXPECT_EQ(Member<MTextShape>(s, 0)->GetAngle(), kPi / 2);
    s.SetPoints({0, 100}, {0, 0}, {20, 100}, {20, 0}, {20, 50});  // pointing down
    s.Recalc(&view);
    EXPECT_EQ(Member<MTextShape>(s, 0)->GetAngle(), kPi / 2);
    // Text of a vertical dimension stands left of the line: anchor one gap towards -x.
    ExpectNear(Member<MTextShape>(s, 0)->GetPoint(), {19, 50});
    s.SetPoints({0, 0}, {-10, -10}, {0, 0}, {-10, -10}, {-5, -5});  // down-left diagonal
    s.Recalc(&view);
    EXPECT_NEAR(Member<MTextShape>(s, 0)->GetAngle(), kPi / 4, 1e-12);
    // A zero-length dimension line gives angle 0 and the value 0.
    s.SetPoints({0, 0}, {0, 0}, {0, 5}, {0, 5}, {0, 5});
    s.UpdateText();
    s.Recalc(&view);
    EXPECT_EQ(Member<MTextShape>(s, 0)->GetAngle(), 0.0);
    EXPECT_EQ(s.GetText(), " 0 ");
}

TEST_F(SizeShapeTest, ATextWiderThanTheLinePutsTheArrowsOutside) {
    auto s = Horizontal(2);
    s->Recalc(&view);
    auto* text = Member<MTextShape>(*s, 0);
    const double w = text->GetBoxWidth();
    ASSERT_GT(w, 2.0);
    ASSERT_EQ(s->GetShapeCount(), 6);
    auto* atC = Member<MPolygonShape>(*s, 3);
    auto* atD = Member<MPolygonShape>(*s, 4);
    auto* plain = Member<MLineShape>(*s, 5);
    ASSERT_TRUE(atC && atD && plain);
    // Each leader is a leader length long and ends with its arrow tip on its end of the line.
    ExpectNear(atC->GetPoint(0), {-8, 20});
    ExpectNear(atC->GetPoint(1), {0, 20});
    ExpectNear(atD->GetPoint(0), {10, 20});
    ExpectNear(atD->GetPoint(1), {2, 20});
    EXPECT_EQ(atC->GetArrows(), MArrowInfo(0, 0.0, 1, 3.0));
    EXPECT_EQ(plain->GetArrows(), MArrowInfo());
    ExpectNear(plain->m_start, {0, 20});
    ExpectNear(plain->m_end, {2, 20});

    // With short leaders the text reaches past the ends: the leaders run on under the text.
    MSizeStyle style;
    style.m_outsideLeader = 0.01;
    s->SetSizeStyle(style);
    s->DeleteMembers();
    s->Recalc(&view);
    ExpectNear(Member<MPolygonShape>(*s, 3)->GetPoint(0), {1 - w / 2, 20});
    ExpectNear(Member<MPolygonShape>(*s, 4)->GetPoint(0), {1 + w / 2, 20});
}

TEST_F(SizeShapeTest, HandlesKeepTheExtensionLinesPerpendicular) {
    auto s = Horizontal();
    EXPECT_EQ(s->GetHandleCount(), 6);
    EXPECT_EQ(s->GetHandle(4), MFloatPoint(50, 0));
    int index = 1;
    s->MoveHandle(&index, {150, -10}, FALSE);
    EXPECT_EQ(s->GetB(), MFloatPoint(150, -10));
    ExpectNear(s->GetD(), {150, 20});
    ExpectNear(s->GetE(), {75, 20});  // keeps its relative place
    EXPECT_EQ(s->GetText(), " 150 ");
    EXPECT_FALSE(s->IsBuilt());

    index = 4;  // the measured points move across the line
    s->MoveHandle(&index, {75, -20}, FALSE);
    ExpectNear(s->GetA(), {0, -15});
    ExpectNear(s->GetB(), {150, -25});
    ExpectNear(s->GetC(), {0, 20});

    index = 2;  // C slides along the line; A follows on the line through B
    s->MoveHandle(&index, {-10, 30}, FALSE);
    ExpectNear(s->GetC(), {-10, 20});
    EXPECT_NEAR(s->GetA().x, -10, 1e-9);
    EXPECT_EQ(s->GetText(), " 160 ");

    // Refused: B dragged onto A changes no point.
    const MFloatPoint b = s->GetB();
    index = 1;
    s->MoveHandle(&index, s->GetA(), FALSE);
    EXPECT_EQ(s->GetB(), b);

    // E slides along the line and never changes the text.
    s->SetText("typed");
    index = 5;
    s->MoveHandle(&index, {40, 100}, FALSE);
    ExpectNear(s->GetE(), {40, 20});
    EXPECT_EQ(s->GetText(), "typed");
}

TEST_F(SizeShapeTest, UserTextSurvivesHandlesAndScaling) {
    auto s = Horizontal();
    s->SetFlags(MSizeBaseShape::kUserText);
    s->SetText("約100");
    int index = 1;
    s->MoveHandle(&index, {200, 0}, FALSE);
    s->ScaleXY({0, 0}, 2, 2);
    EXPECT_EQ(s->GetText(), "約100");
    s->SetFlags(0);
    s->UpdateText();
    EXPECT_EQ(s->GetText(), " 400 ");
}

TEST_F(SizeShapeTest, NonUniformScalingKeepsTheExtensionLinesPerpendicular) {
    MSizeShape s;
    // An aligned dimension of (0, 0)-(10, 10) with its line offset up-left.
    s.SetPoints({0, 0}, {10, 10}, {-5, 5}, {5, 15}, {0, 10});
    s.ScaleXY({0, 0}, 3, 1);
    const MFloatPoint v = s.GetD() - s.GetC();
    EXPECT_NEAR((s.GetC() - s.GetA()).Dot(v), 0, 1e-9);
    EXPECT_NEAR((s.GetD() - s.GetB()).Dot(v), 0, 1e-9);
    EXPECT_EQ(s.GetA(), MFloatPoint(0, 0));
    EXPECT_EQ(s.GetB(), MFloatPoint(30, 10));
    s.ScaleXY({0, 0}, 1e-20, 1);  // a vanishing factor does nothing
    EXPECT_EQ(s.GetB(), MFloatPoint(30, 10));
}

TEST_F(SizeShapeTest, TransformsMakeTheDimensionStaleAndKeepTheText) {
    auto s = Horizontal();
    s->Recalc(&view);
    s->Rotate(0, 0, kPi / 2);
    EXPECT_FALSE(s->IsBuilt());
    ExpectNear(s->GetD(), {-20, 100});
    EXPECT_EQ(s->GetText(), " 100 ");
    s->MirrorX(0, 0);
    ExpectNear(s->GetD(), {20, 100});
    s->MirrorY(0, 50);
    ExpectNear(s->GetD(), {20, 0});
    s->Recalc(&view);
    s->Move({1, 2});
    EXPECT_TRUE(s->IsBuilt());  // the members moved along
    ExpectNear(s->GetD(), {21, 2});
    ExpectNear(Member<MPolygonShape>(*s, 3)->GetPoint(1), {21, 2});
}

TEST_F(SizeShapeTest, SnapsToTheMeasuredPointsAndTheLineEnds) {
    auto s = Horizontal();
    MSnapPoint snap;
    const MFloatRect all(-1000, -1000, 1000, 1000);
    s->SnapPoints(snap, {99, 19}, all, kSnapEndPoint, DBL_MAX);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(100, 20));
    EXPECT_EQ(snap.shape1, s.get());
    MSnapPoint none;
    EXPECT_EQ(s->SnapPoints(none, {99, 19}, all, kSnapCenter, 5.0), 5.0);
}

TEST_F(SizeShapeTest, BothFormsRoundTripAndRebuildIdentically) {
    auto s = Horizontal();
    s->SetColor(RGB(255, 0, 0));
    s->SetTextColor(RGB(0, 0, 255));
    s->SetLineWidth(0.35);
    s->SetLineStyle(2);
    s->SetFillStyle(MFillStyle(RGB(1, 2, 3)));
    s->SetFlags(MSizeBaseShape::kUserText);
    s->SetText("二行の\n寸法");
    MSizeStyle style;
    style.m_fontName = "ＭＳ 明朝";
    style.m_textHeight = 2.5;
    style.m_extensionGap = 1.5;
    style.m_outsideLeader = 6;
    style.m_extensionOvershoot = 1.25;
    style.m_textGap = 0.75;
    style.m_arrowStyle = 2;
    style.m_arrowSize = 2.5;
    s->SetSizeStyle(style);
    s->Recalc(&view);

    auto check = [&](MCadShape* shape) {
        auto* c = dynamic_cast<MSizeShape*>(shape);
        ASSERT_TRUE(c);
        EXPECT_FALSE(c->IsBuilt());
        EXPECT_EQ(c->GetA(), s->GetA());
        EXPECT_EQ(c->GetB(), s->GetB());
        EXPECT_EQ(c->GetC(), s->GetC());
        EXPECT_EQ(c->GetD(), s->GetD());
        EXPECT_EQ(c->GetE(), s->GetE());
        EXPECT_EQ(c->GetColor(), RGB(255, 0, 0));
        EXPECT_EQ(c->GetTextColor(), RGB(0, 0, 255));
        EXPECT_EQ(c->GetLineWidth(), 0.35);
        EXPECT_EQ(c->GetLineStyle(), 2);
        EXPECT_EQ(c->GetFillStyle(), MFillStyle(RGB(1, 2, 3)));
        EXPECT_EQ(c->GetFlags(), 1);
        EXPECT_EQ(c->GetText(), "二行の\n寸法");
        EXPECT_EQ(c->GetSizeStyle(), style);
        c->Recalc(&view);
        ASSERT_EQ(c->GetShapeCount(), s->GetShapeCount());
        EXPECT_EQ(c->m_extent, s->m_extent);
        for (int i = 0; i < c->GetShapeCount(); ++i)
            EXPECT_EQ(c->GetShapeAt(i)->GetRuntimeClass(), s->GetShapeAt(i)->GetRuntimeClass());
    };
    auto loaded = LoadObject<MSizeShape>(StoreObject(s.get()));
    check(loaded.get());
    auto read = ReadShape(ShapeText(*s));
    check(read.get());
    std::unique_ptr<MCadShape> copy(s->Clone());
    check(copy.get());
}

TEST_F(SizeShapeTest, ADamagedRecordFailsTheRead) {
    auto s = Horizontal();
    std::string text = ShapeText(*s);
    EXPECT_TRUE(ReadShape(text));
    const auto tab = text.find('\t', text.find('\n') + 2);
    EXPECT_FALSE(ReadShape(text.substr(0, tab)));  // the style lines are missing
}

TEST_F(SizeShapeTest, ADimensionNeverDrawnIsStillExported) {
    // Read from a file, it has no members until something builds them: exports build them for
    // the paper scale they are given.
    auto read = ReadShape(ShapeText(*Horizontal()));
    ASSERT_TRUE(read);
    MDXFOutStream out;
    ExportShapeDxf(*read, out, "DIM", {0, 0}, 0.01);  // 1 : 100
    const std::string dxf = out.GetText();
    EXPECT_EQ(CountEntities(dxf, "TEXT"), 1);
    EXPECT_EQ(DxfValues(dxf, 1), std::vector<std::string>{" 100 "});
    EXPECT_EQ(DxfValues(dxf, 40), std::vector<std::string>{"300"});  // 3 mm on paper
    EXPECT_GE(CountEntities(dxf, "LINE"), 2);
    // At 1 : 100 the 3 mm text is wider than the line: two leaders and their heads.
    EXPECT_EQ(CountEntities(dxf, "POLYLINE"), 4);

    auto again = ReadShape(ShapeText(*Horizontal()));
    MJWCLineArray lines;
    MJWCStringArray strings;
    MJWCStringList texts;
    ExportShapeJwcStrings(*again, strings, 0, 1.0, 1.0, texts, kJWCTextKindHeights);
    ExportShapeJwcLines(*again, lines, 0, 1.0, 1.0);
    EXPECT_EQ(strings.GetSize(), 1);
    EXPECT_EQ(lines.GetSize(), 3 + 4);  // two extension lines, the line, two open arrow heads
}

TEST_F(SizeShapeTest, ADimensionNeverDrawnIsHit) {
    MShapeArray layer(TRUE);
    layer.Add(ReadShape(ShapeText(*Horizontal())).release());
    MCadShape* s = layer.GetAt(0);
    const CPoint onLine = view.DocToLogical(MFloatPoint(30, 20));
    EXPECT_TRUE(s->HitTest(&view, onLine, nullptr, 3));
    auto fresh = ReadShape(ShapeText(*Horizontal()));
    MShapeArray other(TRUE);
    other.Add(fresh.release());
    EXPECT_EQ(other.HitTest(&view, onLine.x, onLine.y, 3), other.GetAt(0));
    EXPECT_EQ(other.HitTest(&view, onLine.x, onLine.y + 60, 3), nullptr);
}

TEST_F(SizeShapeTest, WithoutAViewTheExtentCoversTheDefiningPoints) {
    auto read = ReadShape(ShapeText(*Horizontal()));
    read->Recalc(nullptr);
    auto* s = dynamic_cast<MSizeShape*>(read.get());
    EXPECT_FALSE(s->IsBuilt());
    EXPECT_EQ(s->m_extent, MFloatRect(0, 0, 100, 20));
    // The first drawing is then not culled, and builds it.
    MShapeArray layer(FALSE);
    layer.Add(s);
    Image image(view, 1100, 300, {-5, -5});
    layer.DrawClipped(&view, &image.dc());
    EXPECT_TRUE(s->IsBuilt());
    EXPECT_GT(image.CountInk(), 100);
}

TEST_F(SizeShapeTest, AttributeSettersReachTheMembers) {
    auto s = Horizontal();
    s->Recalc(&view);
    s->SetColor(RGB(0, 128, 0));
    s->SetLineWidth(0.5);
    EXPECT_EQ(Member<MLineShape>(*s, 1)->GetColor(), RGB(0, 128, 0));
    EXPECT_EQ(Member<MPolygonShape>(*s, 3)->GetLineWidth(), 0.5);
    s->SetTextColor(RGB(1, 1, 1));  // stored only, until the next rebuild
    EXPECT_EQ(Member<MTextShape>(*s, 0)->GetTextColor(), 0u);
    EXPECT_EQ(s->GetTextColor(), RGB(1, 1, 1));
    // Base handles are the extent's corners; grips forward to handles.
    MSizeBaseShape base;
    base.m_extent = MFloatRect(0, 0, 10, 5);
    EXPECT_EQ(base.GetHandle(0), MFloatPoint(0, 5));
    EXPECT_EQ(base.GetHandle(2), MFloatPoint(10, 0));
    EXPECT_EQ(s->GetGripCount(), 6);
    EXPECT_EQ(s->GetGrip(3), s->GetD());
}

TEST_F(SizeShapeTest, StyleLengthsArePaperMillimetres) {
    MPaperInfo paper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1 : 50", 0.02), 1, 0);
    MCadView scaled(&paper);
    auto s = Horizontal(1000);
    s->Recalc(&scaled);
    auto* text = dynamic_cast<MTextShape*>(s->GetShapeAt(0));
    EXPECT_DOUBLE_EQ(text->GetTextSize(), 150);                                             // 3 mm at 1 : 50
    ExpectNear(text->GetPoint(), {500, 70});                                                // a 1 mm gap
    EXPECT_EQ(dynamic_cast<MPolygonShape*>(s->GetShapeAt(3))->GetArrows().startSize, 3.0);  // stays mm
}

TEST_F(SizeShapeTest, DrawnDimensionShowsArrowTipsExtensionLinesAndText) {
    auto s = Horizontal(40);
    s->SetPoints({5, 0}, {45, 0}, {5, 10}, {45, 10}, {25, 10});
    s->UpdateText();
    Image image(view, 600, 300, {0, -5});
    s->Draw(&view, &image.dc());  // builds the members itself
    EXPECT_TRUE(s->IsBuilt());
    // Arrow tips sit on the extension lines, at C and D.
    const CPoint c = image.Device({5, 10}), d = image.Device({45, 10});
    EXPECT_TRUE(image.IsInk(c.x, c.y));
    EXPECT_TRUE(image.IsInk(d.x, d.y));
    // The open heads spread from the tips into the line: ink above and below just inside.
    const CPoint head = image.Device({5 + 2.5, 10});
    EXPECT_GT(image.CountInk(CRect(head.x - 2, head.y - 8, head.x + 3, head.y - 2)), 0);
    EXPECT_GT(image.CountInk(CRect(head.x - 2, head.y + 2, head.x + 3, head.y + 8)), 0);
    // The extension line at A, from the gap up past the line.
    const CPoint ext = image.Device({5, 6});
    EXPECT_TRUE(image.IsInk(ext.x, ext.y));
    const CPoint gap = image.Device({5, 1});
    EXPECT_FALSE(image.IsInk(gap.x, gap.y));
    // The text stands above the line, centred on E.
    auto* text = dynamic_cast<MTextShape*>(s->GetShapeAt(0));
    MFloatPoint corners[4];
    text->GetBoxCorners(corners);
    const CPoint tl = image.Device(corners[3]), br = image.Device(corners[1]);
    EXPECT_GT(image.CountInk(CRect(tl.x, tl.y, br.x, br.y)), 20);
    EXPECT_LT(br.y, c.y);
    EXPECT_NEAR((tl.x + br.x) / 2.0, image.Device({25, 10}).x, 1.5);
}
