#include <gtest/gtest.h>

#include "interchange/DxfColor.h"
#include "interchange/JwcRecords.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/ShapeEditors.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/GdiBackend.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

namespace {

class CadShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        PrintBlackWhite() = 0;
    }
    void TearDown() override {
        PrintBlackWhite() = 0;
    }
    TestView view;
};

// A shape that records the stretch the base class's handle dragging asks for.
class StretchProbe : public MCadShape {
public:
    void ScaleBy(const MShapeScale& scale) override {
        if (scale.uniform || !scale.all) return;  // only ScaleAllXY counts
        calls++;
        anchor = scale.centre;
        factorX = scale.sx;
        factorY = scale.sy;
    }
    int calls = 0;
    MFloatPoint anchor;
    double factorX = 0, factorY = 0;
};

StretchProbe Probe(const MFloatRect& extent) {
    StretchProbe p;
    p.m_extent = extent;
    return p;
}

// A printer that draws nothing: only IsPrinting matters to the colour mapping.
class NullPrinter : public GdiBackend {
public:
    int GetDeviceCaps(int index) const override {
        return index == LOGPIXELSX || index == LOGPIXELSY ? 600 : 0;
    }
    CRect GetBounds() const override { return CRect(0, 0, 100, 100); }
    bool IsPrinting() const override { return true; }
    void SetClip(const CRgn*) override {}
    void DrawFigure(const GdiFigure&, const GdiAttributes&) override {}
    void PatBlt(const CRect&, DWORD, const GdiAttributes&) override {}
    void TextOut(double, double, UINT, const RECT*, const std::string&, const GdiAttributes&) override {}
    void StretchDib(int, int, int, int, int, int, int, int, const BITMAPINFO*, const void*, DWORD,
                    const GdiAttributes&) override {}
    void BitBlt(const CRect&, const CBitmap::Surface&, CPoint, COLORREF, DWORD,
                const GdiAttributes&) override {}
    COLORREF GetPixel(int, int) const override { return 0xFFFFFF; }
    COLORREF SetPixel(int, int, COLORREF c) override { return c; }
};

}  // namespace

TEST_F(CadShapeTest, TheBaseAnswersItsNoneValues) {
    MCadShape shape;
    EXPECT_TRUE(shape.m_extent.IsNull());
    EXPECT_TRUE(shape.GetDrawExtent().IsNull());
    EXPECT_TRUE(shape.IsClosed());
    EXPECT_EQ(shape.GetHandleCount(), 8);
    EXPECT_EQ(shape.GetColor(), kNoColor);
    EXPECT_EQ(shape.TextStyle().color, kNoColor);
    EXPECT_EQ(shape.GetLineWidth(), -1.0);
    EXPECT_EQ(shape.GetLineStyle(), -1);
    EXPECT_EQ(shape.GetLineStyleName(), "");
    EXPECT_TRUE(shape.GetFillStyle().IsNone());
    EXPECT_EQ(shape.GetArrows(), MArrowInfo());
    EXPECT_EQ(shape.GetDirectionAngle({}), DBL_MAX);
    EXPECT_EQ(shape.GetNormalAngle({}, nullptr), DBL_MAX);
    EXPECT_EQ(shape.GetTangentAngle({}, nullptr), DBL_MAX);
    EXPECT_EQ(shape.GetTypeId(), 0);
    EXPECT_EQ(shape.GetTypeName(), "");
    EXPECT_EQ(shape.CreateNew(), nullptr);
    EXPECT_FALSE(shape.HasCapability(kShapeCanFlipX));
    EXPECT_FALSE(CanEditShape(shape));
    EXPECT_FALSE(EditShape(shape, &view));
    EXPECT_EQ(GetJWCLineType(shape.GetLineStyle()), 0);
    EXPECT_EQ(GetDXFColorNumber(shape.GetColor()), 7);
    EXPECT_EQ(GetJWCColorNumber(shape.GetColor()), 2);
}

TEST_F(CadShapeTest, TextFlagSettersGoThroughTheFlagWord) {
    FakeTextShape text("A", 1.0, 0);
    text.SetTextFlag(kTextBold, TRUE);
    text.SetTextFlag(kTextVertical, TRUE);
    EXPECT_EQ(text.TextStyle().flags, kTextBold | kTextVertical);
    EXPECT_TRUE(text.HasTextFlag(kTextBold));
    EXPECT_TRUE(text.HasTextFlag(kTextVertical));
    text.SetTextFlag(kTextBold, FALSE);
    text.SetTextFlag(kTextFrame, TRUE);
    EXPECT_EQ(text.TextStyle().flags, kTextVertical | kTextFrame);
    EXPECT_FALSE(text.HasTextFlag(kTextItalic));
}

TEST_F(CadShapeTest, HandlesOfTheExtent) {
    MCadShape shape;
    shape.m_extent = MFloatRect(0, 0, 4, 2);
    EXPECT_EQ(shape.GetHandle(kHandleTopRight), MFloatPoint(4, 2));
    EXPECT_EQ(shape.GetHandle(kHandleBottomLeft), MFloatPoint(0, 0));
    EXPECT_EQ(shape.GetHandle(kHandleLeft), MFloatPoint(0, 1));
    EXPECT_EQ(shape.GetHandle(kHandleBottom), MFloatPoint(2, 0));
    EXPECT_EQ(shape.GetHandle(99), MFloatPoint(2, 2));  // any other index: top-middle
    EXPECT_EQ(shape.GetCenter(), MFloatPoint(2, 1));
    const MFloatPointArray& points = shape.GetPoints();
    ASSERT_EQ(points.GetSize(), 4);
    EXPECT_EQ(points[0], MFloatPoint(0, 2));
    EXPECT_EQ(points[2], MFloatPoint(4, 0));
}

TEST_F(CadShapeTest, OutlinesOfDifferentShapesDoNotOverwriteEachOther) {
    MCadShape a, b;
    a.m_extent = MFloatRect(0, 0, 1, 1);
    b.m_extent = MFloatRect(5, 5, 6, 6);
    const MFloatPointArray& pa = a.GetPoints();
    const MFloatPointArray& pb = b.GetPoints();
    MLineShape line({7, 7}, {8, 8});
    const MFloatPointArray& pl = line.GetPoints();
    EXPECT_EQ(pa[0], MFloatPoint(0, 1));
    EXPECT_EQ(pb[0], MFloatPoint(5, 6));
    EXPECT_EQ(pl[1], MFloatPoint(8, 8));
}

TEST_F(CadShapeTest, MoveHandleStretchesAboutTheOppositeSide) {
    StretchProbe p = Probe(MFloatRect(0, 0, 4, 2));
    int index = kHandleTopRight;
    p.MoveHandle(&index, {8, 3}, FALSE);
    EXPECT_EQ(p.anchor, MFloatPoint(0, 0));
    EXPECT_DOUBLE_EQ(p.factorX, 2.0);
    EXPECT_DOUBLE_EQ(p.factorY, 1.5);
    EXPECT_EQ(index, kHandleTopRight);

    // Dragged to the left of the anchor, handle 0 becomes handle 3 and mirrors the shape.
    p = Probe(MFloatRect(0, 0, 4, 2));
    index = kHandleTopRight;
    p.MoveHandle(&index, {-2, 1}, FALSE);
    EXPECT_DOUBLE_EQ(p.factorX, -0.5);
    EXPECT_EQ(index, kHandleTopLeft);

    // Onto the anchor's x: nothing changes.
    p = Probe(MFloatRect(0, 0, 4, 2));
    index = kHandleTopRight;
    p.MoveHandle(&index, {0, 1}, FALSE);
    EXPECT_EQ(p.calls, 0);
    EXPECT_EQ(index, kHandleTopRight);

    // Handle 6 dragged below the anchor's y keeps its index (only x moves).
    p = Probe(MFloatRect(0, 0, 4, 2));
    index = kHandleLeft;
    p.MoveHandle(&index, {1, -5}, FALSE);
    EXPECT_EQ(index, kHandleLeft);
    EXPECT_EQ(p.anchor, MFloatPoint(4, 1));
    EXPECT_DOUBLE_EQ(p.factorX, 0.75);
    EXPECT_DOUBLE_EQ(p.factorY, 1.0);

    // Handle 1 dragged above the top flips vertically: 1 <-> 0.
    p = Probe(MFloatRect(0, 0, 4, 2));
    index = kHandleBottomRight;
    p.MoveHandle(&index, {4, 6}, FALSE);
    EXPECT_DOUBLE_EQ(p.factorY, -2.0);
    EXPECT_EQ(index, kHandleTopRight);

    // keepRatio on handle 4 scales both axes by the x factor.
    p = Probe(MFloatRect(0, 0, 4, 2));
    index = kHandleRight;
    p.MoveHandle(&index, {6, 9}, TRUE);
    EXPECT_DOUBLE_EQ(p.factorX, 1.5);
    EXPECT_DOUBLE_EQ(p.factorY, 1.5);

    // With a rectangle, the stretch works on it and it receives the new edges.
    p = Probe(MFloatRect(0, 0, 4, 2));
    MFloatRect r(10, 10, 20, 20);
    index = kHandleBottomLeft;
    p.MoveHandle(&index, {25, 15}, FALSE, &r);
    EXPECT_EQ(p.anchor, MFloatPoint(20, 20));
    EXPECT_DOUBLE_EQ(p.factorX, -0.5);
    EXPECT_EQ(r, MFloatRect(20, 15, 25, 20));
    EXPECT_EQ(index, kHandleBottomRight);

    // A degenerate extent keeps factor 1 on its flat axis.
    p = Probe(MFloatRect(0, 1, 4, 1));
    index = kHandleTopRight;
    p.MoveHandle(&index, {8, 3}, FALSE);
    EXPECT_DOUBLE_EQ(p.factorX, 2.0);
    EXPECT_DOUBLE_EQ(p.factorY, 1.0);
}

TEST_F(CadShapeTest, DrawExtentGrowsByTheWholeWidth) {
    MPolygonShape p(TRUE);
    p.AddPoint({0, 0});
    p.AddPoint({4, 2});
    p.SetLineWidth(-2.0);
    p.Recalc(&view);
    EXPECT_EQ(p.GetDrawExtent(), p.m_extent);
    p.SetLineWidth(0.5);
    p.Recalc(&view);
    EXPECT_EQ(p.GetDrawExtent(), MFloatRect(-0.5, -0.5, 4.5, 2.5));
}

TEST_F(CadShapeTest, LineStyleNamesAndJwcNumbers) {
    MLineShape line;
    line.SetLineStyle(-1);
    EXPECT_EQ(GetJWCLineType(line.GetLineStyle()), 0);
    EXPECT_EQ(line.GetLineStyleName(), "");
    line.SetLineStyle(0x80 | 4);
    EXPECT_EQ(GetJWCLineType(line.GetLineStyle()), 9);
    EXPECT_EQ(line.GetLineStyleName(), "HOJO");
    line.SetLineStyle(4);
    EXPECT_EQ(GetJWCLineType(line.GetLineStyle()), 5);
    EXPECT_EQ(line.GetLineStyleName(), "CENTER1");
    line.SetLineStyle(120);  // outside the table: named as the continuous style, no exception
    EXPECT_EQ(line.GetLineStyleName(), "CONTINUOUS");
}

TEST_F(CadShapeTest, IntersectsRectOnlyWhenTheOutlineCrossesTheRectangle) {
    MPolygonShape square(TRUE);
    for (MFloatPoint q : {MFloatPoint(0, 0), MFloatPoint(2, 0), MFloatPoint(2, 2), MFloatPoint(0, 2)})
        square.AddPoint(q);
    EXPECT_FALSE(square.IntersectsRect(MFloatRect(-1, -1, 3, 3)));
    EXPECT_TRUE(square.IntersectsRect(MFloatRect(1, 1, 3, 3)));
    EXPECT_TRUE(square.IntersectsRect(MFloatRect(-1, 0.5, 0.5, 1.5)));  // crosses the closing edge
    MCadShape box;
    box.m_extent = MFloatRect(0, 0, 2, 2);
    EXPECT_TRUE(box.IntersectsRect(MFloatRect(1, 1, 3, 3)));
    EXPECT_TRUE(box.IsInRect(MFloatRect(2, 2, 3, 3)));  // touching counts
}

TEST_F(CadShapeTest, DuplicateGivesTheSameClassFieldsAndExtents) {
    MPolygonShape p(FALSE);
    p.AddPoint({1, 2});
    p.AddPoint({3, 5});
    p.SetColor(0x00FF00);
    p.Recalc(&view);
    std::unique_ptr<MCadShape> copy(p.Duplicate());
    ASSERT_EQ(copy->GetRuntimeClass(), RUNTIME_CLASS(MPolygonShape));
    EXPECT_EQ(copy->m_extent, p.m_extent);
    EXPECT_EQ(copy->GetDrawExtent(), p.GetDrawExtent());
    EXPECT_EQ(copy->GetColor(), 0x00FF00u);
    EXPECT_EQ(ShapeText(*copy), ShapeText(p));
    std::unique_ptr<MCadShape> base(MCadShape().Duplicate());
    EXPECT_EQ(base->GetRuntimeClass(), RUNTIME_CLASS(MCadShape));
}

TEST_F(CadShapeTest, CopyStyleFromTakesEveryAttribute) {
    MPolygonShape source(FALSE);
    source.SetFillStyle(MFillStyle(RGB(1, 2, 3)));
    source.SetColor(RGB(9, 9, 9));
    source.SetLineStyle(3);
    source.SetLineWidth(0.4);
    source.SetArrowsEx(1, 2, 3, 4);
    MLineShape line;
    line.CopyStyleFrom(&source);
    EXPECT_EQ(line.GetColor(), RGB(9, 9, 9));
    EXPECT_EQ(line.GetLineStyle(), 3);
    EXPECT_EQ(line.GetLineWidth(), 0.4);
    EXPECT_EQ(line.GetArrows(), MArrowInfo(1, 2, 3, 4));
}

TEST_F(CadShapeTest, MonoMappingOnlyWhilePrintingInBlackAndWhite) {
    CDC screen;
    ASSERT_TRUE(screen.CreateImageDC(4, 4));
    PrintBlackWhite() = 1;
    EXPECT_EQ(MapColorForMono(&screen, 0x0000FF), 0x0000FFu);
    EXPECT_EQ(MapColorForMono(nullptr, 0x0000FF), 0x0000FFu);
    CDC printer;
    printer.AttachBackend(std::make_unique<NullPrinter>(), true);
    ASSERT_TRUE(printer.IsPrinting());
    EXPECT_EQ(MapColorForMono(&printer, kNoColor), kNoColor);
    EXPECT_EQ(MapColorForMono(&printer, 0xFFFFFF), 0xFFFFFFu);
    EXPECT_EQ(MapColorForMono(&printer, 0x0000FF), 0u);
    EXPECT_EQ(MapTextColorForMono(&printer, 0x00FF00), 0u);
    MFillStyle out;
    MapFillForMono(out, &printer, MFillStyle(kFillLinear, 0.0, 0xFFFFFF, 0x00FF00));
    EXPECT_EQ(out, MFillStyle(COLORREF(0)));
    MapFillForMono(out, &printer, MFillStyle(kFillLinear, 0.0, 0xFFFFFF, 0xFFFFFF));
    EXPECT_EQ(out, MFillStyle(COLORREF(0xFFFFFF)));
    MapFillForMono(out, &printer, MFillStyle());
    EXPECT_TRUE(out.IsNone());
    PrintBlackWhite() = 0;
    EXPECT_EQ(MapColorForMono(&printer, 0x0000FF), 0x0000FFu);
    const MFillStyle gradation(kFillCircular, 0.5, 0.5, 1, 2);
    MapFillForMono(out, &printer, gradation);
    EXPECT_EQ(out, gradation);
}

TEST_F(CadShapeTest, ArrowSamplesDrawInDevicePixels) {
    for (int style = 0; style <= 6; ++style) {
        CDC dc;
        ASSERT_TRUE(dc.CreateImageDC(60, 20));
        DrawArrowSample(&dc, style, 5, 10, 40, 9);
        dc.Flush();
        // The line runs from the head at x + d/2 = 9 to x + d/2 + length - d = 40.
        EXPECT_EQ(dc.GetPixel(30, 10), 0u) << style;
        EXPECT_EQ(dc.GetPixel(45, 10), 0xFFFFFFu) << style;
        int headPixels = 0;
        for (int x = 0; x < 22; ++x)
            for (int y = 4; y < 17; ++y)
                if (y != 10 && dc.GetPixel(x, y) == 0) ++headPixels;
        EXPECT_EQ(headPixels > 0, style != 0) << style;
    }
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(60, 20));
    DrawArrowSample(&dc, 7, 5, 10, 40, 9);  // unknown style: nothing
    dc.Flush();
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(dc.GetPixel(x, 10), 0xFFFFFFu);
}
