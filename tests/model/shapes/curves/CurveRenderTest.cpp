// Circles, arcs, sectors, ellipses, splines and rectangles drawn into images through the device
// context, at two zoom factors: the pixels a user expects are covered, and no others.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/model/shapes/curves/CurveTestSupport.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/lines/RectShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"

using namespace shapetest;
using namespace curvetest;

namespace {

constexpr COLORREF kInk = RGB(0, 0, 255);
constexpr COLORREF kFill = RGB(255, 255, 0);
constexpr COLORREF kWhite = 0xFFFFFF;

class CurveRenderTest : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override { EnsureRegistered(); }
    // Logical pixels per drawing unit.
    double Zoom() const { return GetParam(); }
    // The pixel of a drawing point.
    int Px(double x) const { return static_cast<int>(std::floor(x * Zoom() + 0.5)); }
    int Py(double y) const { return static_cast<int>(std::floor(-y * Zoom() + 0.5)); }
    // Ink within one pixel of the drawing point.
    bool InkAt(Canvas& c, double x, double y, COLORREF colour = kInk) const {
        return c.CountNear(Px(x), Py(y), 1, colour) > 0;
    }
    int Size() const { return static_cast<int>(12 * Zoom()); }
};

template <class T>
void Prepare(T& shape, MCadView* view) {
    shape.SetColor(kInk);
    shape.Recalc(view);
}

}  // namespace

TEST_P(CurveRenderTest, CircleOutline) {
    TestView view(Zoom());
    MCircleShape circle;
    circle.SetCircle(6, -6, 4);
    Prepare(circle, &view);
    Canvas canvas(Size(), Size());
    circle.Draw(&view, &canvas.dc);
    for (int k = 0; k < 16; ++k) {
        const double a = k * kPi / 8;
        EXPECT_TRUE(InkAt(canvas, 6 + 4 * std::cos(a), -6 + 4 * std::sin(a))) << k;
    }
    EXPECT_EQ(canvas.At(Px(6), Py(-6)), kWhite);
    EXPECT_EQ(canvas.At(Px(6), Py(-3)), kWhite);  // inside, no fill
    EXPECT_EQ(canvas.At(Px(0.5), Py(-0.5)), kWhite);
    // About one pixel per pixel of circumference.
    const double circumference = 2 * kPi * 4 * Zoom();
    const int ink = canvas.Count(kInk);
    EXPECT_GT(ink, 0.8 * circumference);
    EXPECT_LT(ink, 1.6 * circumference);
}

TEST_P(CurveRenderTest, FilledCircleCoversItsInside) {
    TestView view(Zoom());
    MCircleShape circle;
    circle.SetCircle(6, -6, 4);
    circle.SetFillStyle(MFillStyle(kFill));
    Prepare(circle, &view);
    Canvas canvas(Size(), Size());
    circle.Draw(&view, &canvas.dc);
    EXPECT_EQ(canvas.At(Px(6), Py(-6)), kFill);
    EXPECT_EQ(canvas.At(Px(8.5), Py(-6)), kFill);
    EXPECT_EQ(canvas.At(Px(6), Py(-10.5)), kWhite);
    const double area = kPi * 16 * Zoom() * Zoom();
    EXPECT_NEAR(canvas.Count(kFill) + canvas.Count(kInk), area, 0.1 * area);
}

TEST_P(CurveRenderTest, ArcCoversOnlyItsSweep) {
    TestView view(Zoom());
    MCircleArcShape arc;
    arc.SetArc(6, -6, 4, 0, kPi / 2);
    Prepare(arc, &view);
    Canvas canvas(Size(), Size());
    arc.Draw(&view, &canvas.dc);
    EXPECT_TRUE(InkAt(canvas, 10, -6));
    EXPECT_TRUE(InkAt(canvas, 6, -2));
    EXPECT_TRUE(InkAt(canvas, 6 + 4 * std::cos(kPi / 4), -6 + 4 * std::sin(kPi / 4)));
    EXPECT_FALSE(InkAt(canvas, 2, -6));
    EXPECT_FALSE(InkAt(canvas, 6, -10));
    EXPECT_FALSE(InkAt(canvas, 8, -4));  // an arc has no chord
    const double length = kPi / 2 * 4 * Zoom();
    EXPECT_GT(canvas.Count(kInk), 0.8 * length);
    EXPECT_LT(canvas.Count(kInk), 1.6 * length);
}

TEST_P(CurveRenderTest, SectorShowsItsRadii) {
    TestView view(Zoom());
    MCircleFanShape fan;
    fan.SetArc(6, -6, 4, 0, kPi / 2);
    Prepare(fan, &view);
    Canvas canvas(Size(), Size());
    fan.Draw(&view, &canvas.dc);
    EXPECT_TRUE(InkAt(canvas, 8, -6));
    EXPECT_TRUE(InkAt(canvas, 6, -4));
    EXPECT_FALSE(InkAt(canvas, 8, -4));
}

TEST_P(CurveRenderTest, EllipseOutline) {
    TestView view(Zoom());
    MEllipseShape ellipse;
    ellipse.SetEllipse(6, -6, 5, 2);
    Prepare(ellipse, &view);
    Canvas canvas(Size(), Size());
    ellipse.Draw(&view, &canvas.dc);
    EXPECT_TRUE(InkAt(canvas, 11, -6));
    EXPECT_TRUE(InkAt(canvas, 1, -6));
    EXPECT_TRUE(InkAt(canvas, 6, -4));
    EXPECT_TRUE(InkAt(canvas, 6, -8));
    EXPECT_FALSE(InkAt(canvas, 6, -2));
    EXPECT_FALSE(InkAt(canvas, 6, -6));
    EXPECT_FALSE(InkAt(canvas, 11, -4));
}

TEST_P(CurveRenderTest, SplinesThroughTheirPoints) {
    TestView view(Zoom());
    MSplineShape open;
    for (const MFloatPoint& p : {MFloatPoint(1, -8), MFloatPoint(6, -2), MFloatPoint(11, -8)})
        open.AddControlPoint(p);
    Prepare(open, &view);
    Canvas canvas(Size(), Size());
    open.Draw(&view, &canvas.dc);
    EXPECT_TRUE(InkAt(canvas, 1, -8));
    EXPECT_TRUE(InkAt(canvas, 6, -2));
    EXPECT_TRUE(InkAt(canvas, 11, -8));
    EXPECT_FALSE(InkAt(canvas, 6, -8));  // open: no closing edge
    EXPECT_FALSE(InkAt(canvas, 6, -5));

    MSplineLoopShape loop;
    for (const MFloatPoint& p :
         {MFloatPoint(2, -6), MFloatPoint(6, -2), MFloatPoint(10, -6), MFloatPoint(6, -10)})
        loop.AddControlPoint(p);
    loop.SetFillStyle(MFillStyle(kFill));
    Prepare(loop, &view);
    Canvas closed(Size(), Size());
    loop.Draw(&view, &closed.dc);
    EXPECT_TRUE(InkAt(closed, 2, -6));
    EXPECT_TRUE(InkAt(closed, 6, -10));
    EXPECT_EQ(closed.At(Px(6), Py(-6)), kFill);
    EXPECT_EQ(closed.At(Px(1), Py(-1)), kWhite);
}

TEST_P(CurveRenderTest, RectangleAfterInPlaceTurn) {
    TestView view(Zoom());
    MRectShape rect;
    rect.SetRect(2, -4, 6, 2);
    rect.Rotate(5, -3, kPi / 2);  // now x 4..6, y -6..0
    Prepare(rect, &view);
    Canvas canvas(Size(), Size());
    rect.Draw(&view, &canvas.dc);
    EXPECT_TRUE(InkAt(canvas, 4, -3));
    EXPECT_TRUE(InkAt(canvas, 6, -3));
    EXPECT_TRUE(InkAt(canvas, 5, -6));
    EXPECT_FALSE(InkAt(canvas, 2, -3));
    EXPECT_FALSE(InkAt(canvas, 5, -3));
}

INSTANTIATE_TEST_SUITE_P(TwoZooms, CurveRenderTest, ::testing::Values(10.0, 20.0));
