#include <gtest/gtest.h>

#include <cmath>

#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/PaperInfo.h"
#include "model/geometry/Geometry.h"
#include "model/render/DrawFlags.h"
#include "model/shapes/lines/MarkShape.h"
#include "tests/model/render/RecordingBackend.h"
#include "tests/model/shapes/curves/CurveTestSupport.h"

using namespace shapetest;
using namespace curvetest;

namespace {

class MarkShapeTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }
    void TearDown() override { SetMetafileDrawing(false); }
    TestView view;
};

MMarkShape Mark(double x, double y) {
    MMarkShape m;
    m.m_position = {x, y};
    return m;
}

constexpr COLORREF kWhite = 0xFFFFFF;

}  // namespace

TEST_F(MarkShapeTest, DefaultsAndTextForm) {
    MMarkShape m;
    EXPECT_EQ(m.m_size, 2.0);
    EXPECT_EQ(m.m_position, MFloatPoint(0, 0));
    EXPECT_EQ(m.GetTypeName(), "MARK");
    EXPECT_EQ(m.GetTypeId(), 20);
    EXPECT_EQ(m.GetColor(), kNoColor);
    EXPECT_EQ(m.GetLineStyle(), -1);
    EXPECT_TRUE(m.GetFillStyle().IsNone());
    EXPECT_TRUE(m.HasCapability(kShapeCanFlipX) && m.HasCapability(kShapeCanFlipY) && m.HasCapability(kShapeCanRotate) && m.HasCapability(kShapeCanReshape));
    EXPECT_EQ(ShapeText(Mark(1.5, -2)), "MARK\n\t1.5 -2 2\n");
    std::unique_ptr<MMarkShape> copy = TextRoundTrip(Mark(1.5, -2));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->m_position, MFloatPoint(1.5, -2));
    MMarkShape big = Mark(3, 4);
    big.m_size = 3.5;
    std::unique_ptr<MMarkShape> archived = ArchiveRoundTrip(big);
    ASSERT_TRUE(archived);
    EXPECT_EQ(archived->m_size, 3.5);
    EXPECT_EQ(archived->m_position, MFloatPoint(3, 4));
    EXPECT_FALSE(ReadShape("MARK\n\t1 x\n"));
}

TEST_F(MarkShapeTest, ScalingMovesThePositionOnly) {
    MMarkShape m = Mark(1, 1);
    m.ScaleXY({0, 0}, 2, 2);
    EXPECT_EQ(m.m_position, MFloatPoint(2, 2));
    EXPECT_EQ(m.m_size, 2.0);
    EXPECT_EQ(m.m_extent, MFloatRect(0, 0, 4, 4));
    m.ScaleXY({0, 0}, -1, 0.5);
    EXPECT_EQ(m.m_position, MFloatPoint(-2, 1));
    m.ScaleXY({0, 0}, 0, 3);
    EXPECT_EQ(m.m_position, MFloatPoint(-2, 1));

    MMarkShape h = Mark(1, 1);
    h.Recalc(&view);
    ASSERT_EQ(h.GetHandleCount(), 1);
    EXPECT_EQ(h.GetHandle(5), MFloatPoint(1, 1));
    int index = kHandleTopRight;
    h.MoveHandle(&index, {7, 7}, FALSE);  // anchor (-1, -1), factor 2
    EXPECT_EQ(h.m_position, MFloatPoint(3, 3));
}

TEST_F(MarkShapeTest, TransformsMoveThePosition) {
    MMarkShape m = Mark(1, 2);
    m.MirrorX(3, 0);
    EXPECT_EQ(m.m_position, MFloatPoint(5, 2));
    m.MirrorY(0, 0);
    EXPECT_EQ(m.m_position, MFloatPoint(5, -2));
    m.Rotate(0, 0, kPi / 2);
    EXPECT_NEAR(m.m_position.x, 2, 1e-12);
    EXPECT_NEAR(m.m_position.y, 5, 1e-12);
    m.Move({1, 1});
    EXPECT_NEAR(m.m_position.x, 3, 1e-12);
    EXPECT_EQ(m.m_size, 2.0);
}

TEST_F(MarkShapeTest, ExtentsOnDrawingAndOnPaper) {
    MPaperInfo paper;  // 1 : 100
    MCadView paperView(&paper);
    MMarkShape m = Mark(10, 20);
    m.Recalc(&paperView);
    EXPECT_EQ(m.m_extent, MFloatRect(8, 18, 12, 22));
    const double s = paperView.PaperToDocLength(2.0);
    EXPECT_NEAR(s, 200.0, 1e-9);
    EXPECT_EQ(m.GetDrawExtent(), MFloatRect(10 - s, 20 - s, 10 + s, 20 + s));
}

TEST_F(MarkShapeTest, SnapsItsPositionAsAnEndPoint) {
    MMarkShape m = Mark(3, 4);
    MSnapPoint snap = Snap(m, {3.5, 4}, kSnapEndPoint);
    EXPECT_EQ(snap.kind, kSnapEndPoint);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(3, 4));
    EXPECT_EQ(Snap(m, {3.5, 4}, kSnapCenter | kSnapMidPoint).kind, 0);
}

TEST_F(MarkShapeTest, DrawsABlueCrossOfFixedPaperSize) {
    MMarkShape m = Mark(5, -2);
    m.Recalc(&view);
    Canvas canvas(100, 40);
    m.Draw(&view, &canvas.dc);
    // The cross spans +- 2 paper millimetres = 20 pixels around (50, 20).
    EXPECT_EQ(canvas.At(50, 20), MMarkShape::kMarkColor);
    EXPECT_EQ(canvas.At(40, 10), MMarkShape::kMarkColor);
    EXPECT_EQ(canvas.At(60, 10), MMarkShape::kMarkColor);
    EXPECT_EQ(canvas.At(50, 10), kWhite);
    EXPECT_EQ(canvas.At(25, 20), kWhite);

    // At twice the zoom the cross doubles with the paper it is fixed on: +- 40 pixels.
    TestView zoomed(20.0);
    Canvas near(100, 100), far(100, 100);
    Mark(5, -5).Draw(&view, &near.dc);
    Mark(2.5, -2.5).Draw(&zoomed, &far.dc);
    EXPECT_EQ(near.At(50, 50), MMarkShape::kMarkColor);
    EXPECT_EQ(far.At(50, 50), MMarkShape::kMarkColor);
    EXPECT_EQ(near.At(25, 25), kWhite);
    EXPECT_EQ(far.At(25, 25), MMarkShape::kMarkColor);
    EXPECT_EQ(far.At(15, 85), MMarkShape::kMarkColor);
    EXPECT_EQ(far.At(5, 5), kWhite);
}

TEST_F(MarkShapeTest, NeverPrintedNorInMetafiles) {
    MMarkShape m = Mark(5, -2);
    m.Recalc(&view);
    CDC printer;
    auto backend = std::make_unique<RecordingBackend>(CRect(0, 0, 200, 200), 96, true);
    RecordingBackend* record = backend.get();
    printer.AttachBackend(std::move(backend), true);
    ASSERT_TRUE(printer.IsPrinting());
    m.Draw(&view, &printer);
    m.DrawIfVisible(&view, &printer);
    EXPECT_TRUE(record->calls.empty());

    SetMetafileDrawing(true);
    Canvas metafile(100, 40);
    m.Draw(&view, &metafile.dc);
    EXPECT_EQ(metafile.Count(MMarkShape::kMarkColor), 0);
    SetMetafileDrawing(false);

    Canvas screen(100, 40);
    m.DrawIfVisible(&view, &screen.dc);
    EXPECT_EQ(screen.At(50, 20), MMarkShape::kMarkColor);
    CDC nowhere;  // no attribute context
    m.Draw(&view, &nowhere);
}

TEST_F(MarkShapeTest, OtherDrawingManners) {
    MMarkShape m = Mark(5, -2);
    Canvas grey(100, 40);
    m.Render(&view, &grey.dc, MDrawMode::kGrayed);
    EXPECT_EQ(grey.At(50, 20), GetSysColor(COLOR_GRAYTEXT));
    Canvas black(100, 40);
    m.Render(&view, &black.dc, MDrawMode::kHighlight);
    EXPECT_EQ(black.At(40, 10), 0u);
    Canvas tracking(100, 40);
    CPen green(PS_SOLID, 1, RGB(0, 255, 0));
    tracking.dc.SelectObject(&green);
    m.Render(&view, &tracking.dc, MDrawMode::kTracking);
    EXPECT_EQ(tracking.At(60, 30), RGB(0, 255, 0));
}

TEST_F(MarkShapeTest, PixelTestsUseTheSmallSquare) {
    MMarkShape m = Mark(0, 0);
    m.Recalc(&view);
    EXPECT_TRUE(m.HitTestPixel(&view, CPoint(5, 0), 3));
    EXPECT_FALSE(m.HitTestPixel(&view, CPoint(6, 0), 3));
    EXPECT_TRUE(m.HitTestPixel(&view, CPoint(-5, -5), 3));
    EXPECT_TRUE(m.IntersectsDeviceRectPixel(&view, CRect(2, 2, 10, 10)));
    EXPECT_FALSE(m.IntersectsDeviceRectPixel(&view, CRect(3, 3, 10, 10)));
}

TEST_F(MarkShapeTest, JwcPointEntry) {
    MMarkShape m = Mark(1.5, -2);
    MJWCVPointArray points;
    ExportShapeJwcPoints(m, points, 300, 2.0, 1.0);
    ASSERT_EQ(points.GetSize(), 1);
    EXPECT_EQ(points[0].x, 3.0f);
    EXPECT_EQ(points[0].y, -4.0f);
    EXPECT_EQ(points[0].layer, 255);
    MJWCLineArray lines;
    ExportShapeJwcLines(m, lines, 0, 1.0, 1.0);
    EXPECT_EQ(lines.GetSize(), 0);
}
