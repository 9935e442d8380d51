#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/Dib.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/picture/BitmapShape.h"
#include "tests/model/shapes/curves/CurveTestSupport.h"

using namespace shapetest;
using namespace curvetest;

namespace {

class ArcShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        PointEditFlag = FALSE;
    }
    void TearDown() override { PointEditFlag = FALSE; }
    TestView view;
};

MCircleArcShape Arc(double cx, double cy, double r, double start, double end) {
    MCircleArcShape a;
    a.SetArc(cx, cy, r, start, end);
    return a;
}

MCircleFanShape Fan(double cx, double cy, double r, double start, double end) {
    MCircleFanShape f;
    f.SetArc(cx, cy, r, start, end);
    return f;
}

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tol = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
}

}  // namespace

TEST_F(ArcShapeTest, EqualAnglesMakeAFullTurn) {
    MCircleArcShape a = Arc(0, 0, 10, 0, 0);
    EXPECT_DOUBLE_EQ(a.m_endAngle, kTwoPi);
    ASSERT_EQ(a.GetPointCount(), 49);
    ExpectNear(a.GetPoint(0), {10, 0});
    ExpectNear(a.GetPoint(48), {10, 0});
    ExpectNear(a.GetPoint(24), {-10, 0});
    EXPECT_FALSE(a.IsClosed());
    EXPECT_FALSE(a.IsVertexSnap());
    EXPECT_EQ(a.GetTypeName(), "ARC");
    EXPECT_EQ(a.GetTypeId(), 3);
}

TEST_F(ArcShapeTest, EndIsRaisedByWholeTurns) {
    MCircleArcShape a = Arc(0, 0, 10, 3, -3);
    EXPECT_DOUBLE_EQ(a.m_endAngle, -3 + kTwoPi);
    // Counter-clockwise from 3 through pi.
    ExpectNear(a.GetPoint(24), {-10, 0});
    ExpectNear(a.GetPoint(0), {10 * std::cos(3.0), 10 * std::sin(3.0)});
    MCircleArcShape b = Arc(0, 0, 1, 0.5, 0.5 - 3 * kTwoPi);
    EXPECT_NEAR(b.m_endAngle, 0.5 + kTwoPi, 1e-12);
}

TEST_F(ArcShapeTest, DamagedAnglesNeitherHangNorPoison) {
    MCircleArcShape a = Arc(0, 0, 1, std::numeric_limits<double>::quiet_NaN(), 1);
    EXPECT_EQ(a.m_startAngle, 0.0);
    EXPECT_EQ(a.m_endAngle, 1.0);
    MCircleArcShape b = Arc(0, 0, 1, 1e300, -1e300);
    EXPECT_GT(b.m_endAngle, b.m_startAngle);
    EXPECT_LE(b.m_endAngle - b.m_startAngle, kTwoPi + 1e-9);
    for (const MFloatPoint& p : b.GetPoints())
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    MCircleArcShape c = Arc(0, 0, 1, 0, std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(c.m_endAngle, kTwoPi);
}

// Far-off or non-finite angles from the setters: every outline, drawing, area and transform
// finishes (an added turn no longer moves an angle near 1e17).
TEST_F(ArcShapeTest, FarOffAnglesFromTheSettersFinish) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double start, end;
    } cases[] = {{1e17, 1e17},   {-3e16, -3e16}, {1e17, 1e17 + 64}, {2e17, -2e17}, {-1e300, 1e300},
                 {1e308, 1e308}, {5e9, 5e9 - 1}, {nan, nan},        {inf, -inf}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.end);
        MCircleArcShape arc = Arc(0, 0, 2, c.start, c.end);
        MCircleFanShape fan = Fan(0, 0, 2, c.start, c.end);
        for (MCircleArcShape* s : {&arc, static_cast<MCircleArcShape*>(&fan)}) {
            EXPECT_GT(s->m_endAngle, s->m_startAngle);
            EXPECT_LE(s->m_endAngle - s->m_startAngle, kTwoPi);
            for (const MFloatPoint& p : s->GetPoints())
                EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
            s->Recalc(&view);
            Canvas canvas(60, 60);
            s->Draw(&view, &canvas.dc);
            if (std::isfinite(c.start)) s->Rotate(0, 0, c.start);
            s->MirrorX(1, 0);
            EXPECT_TRUE(std::isfinite(s->GetArea()));
        }
        // Straight into the members, without an outline rebuild.
        fan.m_startAngle = c.start;
        fan.m_endAngle = c.end;
        EXPECT_TRUE(std::isfinite(fan.GetArea()));

        if (!std::isfinite(c.start)) continue;
        MBitmapShape bitmap;
        auto dib = std::make_unique<MDib>(4, 2, 24);
        ASSERT_TRUE(dib->CreateSection(nullptr));
        bitmap.SetImage(std::move(dib));
        bitmap.SetRect(0, 2, 4, 0);
        bitmap.Rotate(0, 0, c.start);
        EXPECT_TRUE(bitmap.HasImage());
    }
}

TEST_F(ArcShapeTest, HitTestLimitedToTheArcAndItsInside) {
    MCircleArcShape a = Arc(0, 0, 10, 0, kPi / 2);
    EXPECT_FALSE(a.IsAngleOnArc(kPi / 2));  // the ends do not count
    EXPECT_FALSE(a.IsAngleOnArc(0));
    EXPECT_TRUE(a.IsAngleOnArc(kPi / 4));
    EXPECT_TRUE(Arc(0, 0, 10, 3, -3).IsAngleOnArc(-3.1));  // one turn up
    MFloatPoint foot;
    EXPECT_FALSE(a.HitTest(&view, CPoint(0, -100), &foot, 3));  // angle pi/2 exactly
    EXPECT_TRUE(a.HitTest(&view, CPoint(71, -71), &foot, 3));
    EXPECT_NEAR(foot.GetLength(), 10, 1e-9);
    EXPECT_FALSE(a.HitTest(&view, CPoint(-71, 71), &foot, 3));  // the missing part of the circle
}

TEST_F(ArcShapeTest, MirrorsAndRotationTurnTheAngles) {
    MCircleArcShape a = Arc(5, 0, 10, 0, kPi / 2);
    a.MirrorX(0, 0);
    ExpectNear(a.m_center, {-5, 0});
    EXPECT_DOUBLE_EQ(a.m_startAngle, kPi / 2);
    EXPECT_DOUBLE_EQ(a.m_endAngle, kPi);
    ExpectNear(a.GetPoint(0), {-5, 10});
    ExpectNear(a.GetPoint(48), {-15, 0});

    MCircleArcShape b = Arc(5, 0, 10, 0, kPi / 2);
    b.MirrorY(0, 0);
    EXPECT_DOUBLE_EQ(b.m_startAngle, -kPi / 2);
    EXPECT_DOUBLE_EQ(b.m_endAngle, 0);
    ExpectNear(b.GetPoint(0), {5, -10});

    MCircleArcShape c = Arc(5, 0, 10, 0, kPi / 2);
    c.Rotate(0, 0, kPi / 2);
    ExpectNear(c.m_center, {0, 5});
    EXPECT_DOUBLE_EQ(c.m_startAngle, kPi / 2);
    EXPECT_DOUBLE_EQ(c.m_endAngle, kPi);

    // A full turn stays full whatever the normalisation does to its angles.
    MCircleArcShape full = Arc(0, 0, 1, 0, kTwoPi);
    full.MirrorX(0, 0);
    EXPECT_NEAR(full.m_endAngle - full.m_startAngle, kTwoPi, 1e-12);
    full.Rotate(0, 0, 1);
    EXPECT_NEAR(full.m_endAngle - full.m_startAngle, kTwoPi, 1e-12);

    std::unique_ptr<MCadShape> copy(Arc(5, 0, 10, 0, kPi / 2).CreateMirroredX(0, 0));
    ASSERT_EQ(copy->GetRuntimeClass(), RUNTIME_CLASS(MCircleArcShape));
    EXPECT_DOUBLE_EQ(static_cast<MCircleArcShape*>(copy.get())->m_endAngle, kPi);
    std::unique_ptr<MCadShape> turned(Arc(5, 0, 10, 0, kPi / 2).CreateRotated(0, 0, kPi));
    EXPECT_DOUBLE_EQ(static_cast<MCircleArcShape*>(turned.get())->m_startAngle, kPi);
}

TEST_F(ArcShapeTest, PointEditHandlesTurnTheEndsAndSetTheRadius) {
    MCircleArcShape a = Arc(0, 0, 10, 0, kPi / 2);
    a.Recalc(&view);
    EXPECT_EQ(a.GetHandleCount(), 8);
    PointEditFlag = TRUE;
    ASSERT_EQ(a.GetHandleCount(), 6);
    ExpectNear(a.GetHandle(0), {10, 0});
    ExpectNear(a.GetHandle(1), {0, 10});
    EXPECT_EQ(a.GetHandle(5), MFloatPoint(-10, 0));
    EXPECT_EQ(a.GetHandle(6), MFloatPoint(0, 0));

    int index = 0;
    a.MoveHandle(&index, {0, -3}, FALSE);
    EXPECT_DOUBLE_EQ(a.m_startAngle, -kPi / 2);
    EXPECT_DOUBLE_EQ(a.m_endAngle, kPi / 2);
    index = 1;
    a.MoveHandle(&index, {0, -20}, FALSE);  // onto the start: nothing
    EXPECT_DOUBLE_EQ(a.m_endAngle, kPi / 2);
    a.MoveHandle(&index, {-1, -1}, FALSE);  // below the start: one turn up
    EXPECT_DOUBLE_EQ(a.m_endAngle, -3 * kPi / 4 + kTwoPi);
    index = 4;
    a.MoveHandle(&index, {3, -4}, FALSE);
    EXPECT_EQ(a.m_radius, 4.0);
    index = 3;
    a.MoveHandle(&index, {0, 9}, FALSE);  // onto the centre's x: nothing
    EXPECT_EQ(a.m_radius, 4.0);
}

TEST_F(ArcShapeTest, ConcentricIntersectionOnlyOnTheArc) {
    MCircleArcShape a = Arc(0, 0, 10, 0, kPi / 2);
    MFloatPointArray out;
    EXPECT_EQ(a.IntersectCircle(0, 0, 5, 5, 10, &out), 1);
    EXPECT_EQ(a.IntersectCircle(0, 0, -5, 5, 10, &out), 0);
    EXPECT_EQ(a.IntersectCircle(0, 0, 5, 5, 9, &out), 0);
    EXPECT_EQ(out.GetSize(), 1);
    const MCadShape& shape = a;
    EXPECT_EQ(shape.IntersectCircle(0, 0, 5, -5, 10, &out), 0);  // off the arc, also through the base
    EXPECT_EQ(shape.IntersectCircle(0, 0, 1, 2, 10, &out), 1);
    MFloatPointArray crossings;
    EXPECT_EQ(a.IntersectCircle(10, 10, 10, 10, 8, &crossings), 2);
}

TEST_F(ArcShapeTest, SnapsCentreEndsAndMiddle) {
    MCircleArcShape a = Arc(0, 0, 10, 0, kPi / 2);
    EXPECT_EQ(Snap(a, {0.5, 0.5}, kSnapCenter | kSnapEndPoint | kSnapMidPoint).kind, kSnapCenter);
    MSnapPoint start = Snap(a, {9, -1}, kSnapCenter | kSnapEndPoint | kSnapMidPoint);
    EXPECT_EQ(start.kind, kSnapEndPoint);
    ExpectNear(start.GetPoint(), {10, 0});
    MSnapPoint end = Snap(a, {0, 11}, kSnapEndPoint);
    ExpectNear(end.GetPoint(), {0, 10});
    MSnapPoint mid = Snap(a, {7, 7}, kSnapCenter | kSnapEndPoint | kSnapMidPoint);
    EXPECT_EQ(mid.kind, kSnapMidPoint);
    ExpectNear(mid.GetPoint(), {10 * std::cos(kPi / 4), 10 * std::sin(kPi / 4)});
    // The circle's quadrant points are not offered.
    EXPECT_NE(Snap(a, {-10, 0}, kSnapMidPoint).GetPoint(), MFloatPoint(-10, 0));
}

TEST_F(ArcShapeTest, AreaBetweenArcAndChord) {
    MCircleArcShape a = Arc(0, 0, 10, 0, kPi / 2);
    EXPECT_NEAR(a.GetArea(), (kPi / 4 - 0.5) * 100, 0.05);
}

TEST_F(ArcShapeTest, ArchiveAndTextRoundTrips) {
    MCircleArcShape a = Arc(1, 2, 3, 0.25, 2.5);
    a.SetColor(RGB(0, 0, 255));
    a.SetLineWidth(0.25);
    a.SetArrowsEx(1, 2.0, 3, 4.0);
    EXPECT_EQ(ShapeText(a), "ARC\n\t1 2 3 0.25 2.5 16711680 0 0.25 16777216 1 2 3 4\n");
    std::unique_ptr<MCircleArcShape> fromArchive = ArchiveRoundTrip(a);
    ASSERT_TRUE(fromArchive);
    EXPECT_EQ(fromArchive->m_endAngle, 2.5);
    EXPECT_EQ(fromArchive->GetArrows(), MArrowInfo(1, 2.0, 3, 4.0));
    EXPECT_EQ(fromArchive->GetPoint(30), a.GetPoint(30));
    std::unique_ptr<MCircleArcShape> fromText = TextRoundTrip(a);
    ASSERT_TRUE(fromText);
    EXPECT_EQ(fromText->GetArrows(), MArrowInfo(1, 2.0, 3, 4.0));
    EXPECT_EQ(fromText->m_startAngle, 0.25);
    // Angles stored out of order come back in order.
    std::unique_ptr<MCadShape> raw = ReadShape("ARC\n\t0 0 1 1 -1 0 0 0 16777216 0 0 0 0\n");
    ASSERT_TRUE(raw);
    EXPECT_DOUBLE_EQ(static_cast<MCircleArcShape*>(raw.get())->m_endAngle, -1 + kTwoPi);
}

// The document writes 15 significant digits: 2 pi becomes 6.28318530717959, a little past it. The
// full turn read back must stay one through later turns and mirrors, which normalise both angles
// and used to leave the end a rounding step past the start (an arc of almost nothing).
TEST_F(ArcShapeTest, FullTurnsSurviveTheTextFormAndLaterTurns) {
    const auto sweep = [](const MCadShape& s) {
        const auto& a = static_cast<const MCircleArcShape&>(s);
        return a.m_endAngle - a.m_startAngle;
    };
    std::unique_ptr<MCadShape> legacy =
        ReadShape("ARC\n\t0 0 10 0 6.28318530717959 0 0 0 16777216 0 0 0 0\n");
    ASSERT_TRUE(legacy);
    EXPECT_DOUBLE_EQ(sweep(*legacy), kTwoPi);
    legacy->Rotate(0, 0, 1);
    EXPECT_DOUBLE_EQ(sweep(*legacy), kTwoPi);

    MCircleArcShape arc;
    MCircleFanShape fan;
    for (MCircleArcShape* shape :
         {static_cast<MCircleArcShape*>(&arc), static_cast<MCircleArcShape*>(&fan)}) {
        for (double start : {0.0, 0.3, -2.5, 3.1, 100.0}) {
            shape->SetArc(1, 2, 5, start, start);
            TextOutput out;
            out.precision(15);
            WriteShapeText(nullptr, out, shape);
            std::unique_ptr<MCadShape> back = ReadShape(out.str());
            ASSERT_TRUE(back) << out.str();
            EXPECT_NEAR(sweep(*back), kTwoPi, 1e-12) << out.str();
            TextOutput again;
            again.precision(15);
            WriteShapeText(nullptr, again, back.get());
            EXPECT_EQ(again.str(), out.str());
            for (int i = 1; i <= 40; ++i) {
                back->Rotate(3, -1, 0.1 * i + start);
                if (i % 3 == 0) back->MirrorX(0.5, 0);
                if (i % 5 == 0) back->MirrorY(0, 0.5);
                ASSERT_NEAR(sweep(*back), kTwoPi, 1e-12) << start << " turn " << i;
            }
            EXPECT_NEAR((back->GetPoints()[0] - back->GetPoints()[24]).GetLength(), 10, 1e-9);
        }
    }
    // An arc just short of a full turn keeps its gap.
    MCircleArcShape open = Arc(0, 0, 1, 0, kTwoPi - 1e-9);
    open.Rotate(0, 0, 1);
    EXPECT_NEAR(sweep(open), kTwoPi - 1e-9, 1e-12);
}

TEST_F(ArcShapeTest, DxfArcCarriesItsArrowHeads) {
    MCircleArcShape plain = Arc(3, 4, 2, -kPi / 2, kPi / 2);
    MDXFOutStream out;
    ExportShapeDxf(plain, out, "0", {1, 1}, 1.0);
    EXPECT_EQ(out.GetText(),
              "  0\nARC\n  8\n0\n  6\nCONTINUOUS\n 62\n7\n 10\n2\n 20\n3\n 40\n2\n 50\n270\n 51\n90\n");

    MCircleArcShape headed = Arc(0, 0, 10, 0, kPi / 2);
    headed.SetArrowsEx(3, 2.0, 6, 2.0);
    MDXFOutStream withHeads;
    ExportShapeDxf(headed, withHeads, "0", {0, 0}, 1.0);
    EXPECT_EQ(DxfEntities(withHeads.GetText()), (std::vector<std::string>{"ARC", "LINE", "CIRCLE"}));
    // The slash crosses the start point; the circle head sits on the end point.
    const auto groups = DxfGroups(withHeads.GetText());
    std::vector<double> circle;
    bool inCircle = false;
    for (const auto& [code, value] : groups) {
        if (code == 0) inCircle = value == "CIRCLE";
        if (inCircle && (code == 10 || code == 20 || code == 40)) circle.push_back(std::stod(value));
    }
    ASSERT_EQ(circle.size(), 3u);
    EXPECT_NEAR(circle[0], 0, 1e-9);
    EXPECT_NEAR(circle[1], 10, 1e-9);
    EXPECT_EQ(circle[2], 1.0);

    MCircleArcShape chord = Arc(0, 0, 10, 0, kPi / 2);
    chord.SetClosed(TRUE);
    MDXFOutStream chordOut;
    ExportShapeDxf(chord, chordOut, "0", {0, 0}, 1.0);
    EXPECT_EQ(DxfEntities(chordOut.GetText()), (std::vector<std::string>{"ARC", "LINE"}));
}

TEST_F(ArcShapeTest, JwcArcRecordAndHeads) {
    MCircleArcShape a = Arc(1, 2, 3, -kPi / 2, 0);
    MJWCArcArray arcs;
    ExportShapeJwcArcs(a, arcs, 4, 10.0, 1.0);
    ASSERT_EQ(arcs.GetSize(), 1);
    EXPECT_EQ(arcs[0].startAngle, 17694720);
    EXPECT_EQ(arcs[0].endAngle, 0);
    EXPECT_EQ(arcs[0].flatness, 10000);
    EXPECT_EQ(arcs[0].cx, 10.0f);
    EXPECT_EQ(arcs[0].radius, 30.0f);
    EXPECT_EQ(arcs[0].layer, 4);
    MJWCLineArray lines;
    ExportShapeJwcLines(a, lines, 4, 10.0, 1.0);
    EXPECT_EQ(lines.GetSize(), 0);  // the arc itself is no line

    a.SetArrowsEx(1, 2.0, 5, 2.0);
    MJWCLineArray headLines;
    ExportShapeJwcLines(a, headLines, 4, 10.0, 1.0);
    EXPECT_EQ(headLines.GetSize(), 2);  // the open head's two wings
    MJWCArcArray headArcs;
    ExportShapeJwcArcs(a, headArcs, 4, 10.0, 1.0);
    ASSERT_EQ(headArcs.GetSize(), 2);  // the arc, then the circle head at the end point
    EXPECT_NEAR(headArcs[1].cx, 40.0f, 1e-4);
    EXPECT_NEAR(headArcs[1].cy, 20.0f, 1e-4);

    a.SetClosed(TRUE);
    MJWCLineArray chord;
    ExportShapeJwcLines(a, chord, 0, 1.0, 1.0);
    ASSERT_EQ(chord.GetSize(), 1);
    EXPECT_NEAR(chord[0].x1, 1.0f, 1e-5);
    EXPECT_NEAR(chord[0].y1, -1.0f, 1e-5);
    EXPECT_NEAR(chord[0].x2, 4.0f, 1e-5);
    EXPECT_NEAR(chord[0].y2, 2.0f, 1e-5);
}

TEST_F(ArcShapeTest, JwcAnglesStayIn32Bits) {
    EXPECT_EQ(ToJWCAngle(kPi), 11796480);
    EXPECT_EQ(ToJWCAngle(-kPi / 2), 17694720);
    EXPECT_EQ(ToJWCAngle(3 * kPi), 35389440);  // more than a turn is kept as it is
    const LONG wrapped = ToJWCAngle(1e10);
    EXPECT_GE(wrapped, 0);
    EXPECT_LT(wrapped, 23592960);
    EXPECT_EQ(ToJWCAngle(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST_F(ArcShapeTest, FanOutlineClosesThroughTheCentre) {
    MCircleFanShape f = Fan(1, 1, 2, 0, kPi / 2);
    ASSERT_EQ(f.GetPointCount(), 50);
    EXPECT_EQ(f.GetPoint(49), MFloatPoint(1, 1));
    ExpectNear(f.GetPoint(48), {1, 3});
    EXPECT_TRUE(f.IsClosed());
    EXPECT_FALSE(f.IsVertexSnap());
    EXPECT_NEAR(f.GetArea(), kPi, 1e-12);
    EXPECT_EQ(f.GetTypeName(), "FAN");
    EXPECT_EQ(f.GetTypeId(), 4);
    f.SetArrowsEx(1, 2, 1, 2);  // a closed outline has no heads
    EXPECT_EQ(f.GetArrows(), MArrowInfo());
    std::unique_ptr<MCadShape> clone(f.Clone());
    EXPECT_EQ(clone->GetRuntimeClass(), RUNTIME_CLASS(MPolygonShape));
    EXPECT_EQ(clone->GetPoints().GetSize(), 50);
    EXPECT_TRUE(clone->IsClosed());
}

TEST_F(ArcShapeTest, FanHitsItsRadiiButNotTheChord) {
    MCircleFanShape f = Fan(0, 0, 10, 0, kPi / 2);
    MFloatPoint foot;
    EXPECT_TRUE(f.HitTest(&view, CPoint(50, 2), &foot, 3));  // middle of the first radius
    ExpectNear(foot, {5, 0});
    EXPECT_TRUE(f.HitTest(&view, CPoint(-1, -50), &foot, 3));  // the second radius
    ExpectNear(foot, {0, 5});
    EXPECT_FALSE(f.HitTest(&view, CPoint(50, -50), &foot, 3));  // on the chord
    EXPECT_TRUE(f.HitTest(&view, CPoint(71, -71), &foot, 3));   // on the arc
}

TEST_F(ArcShapeTest, FanSnapsTheMiddleOfItsRadii) {
    MCircleFanShape f = Fan(0, 0, 10, 0, kPi / 2);
    MSnapPoint first = Snap(f, {5, 1}, kSnapMidPoint);
    ExpectNear(first.GetPoint(), {5, 0});
    MSnapPoint second = Snap(f, {1, 5}, kSnapMidPoint);
    ExpectNear(second.GetPoint(), {0, 5});
    EXPECT_EQ(Snap(f, {9, 0}, kSnapEndPoint).kind, kSnapEndPoint);
}

TEST_F(ArcShapeTest, FanTextHasNoArrowsAndRoundTrips) {
    MCircleFanShape f = Fan(0, 0, 10, 0, 1);
    f.SetFillStyle(MFillStyle(RGB(255, 255, 0)));
    EXPECT_EQ(ShapeText(f), "FAN\n\t0 0 10 0 1 0 0 0 65535\n");
    std::unique_ptr<MCircleFanShape> copy = TextRoundTrip(f);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->GetPointCount(), 50);
    EXPECT_EQ(copy->GetFillStyle(), f.GetFillStyle());
    std::unique_ptr<MCircleFanShape> archived = ArchiveRoundTrip(f);
    ASSERT_TRUE(archived);
    EXPECT_EQ(archived->GetPoint(49), MFloatPoint(0, 0));
}

TEST_F(ArcShapeTest, FanExportsKeepTheRadii) {
    MCircleFanShape f = Fan(1, 1, 2, 0, kPi / 2);
    MDXFOutStream out;
    ExportShapeDxf(f, out, "0", {0, 0}, 1.0);
    EXPECT_EQ(DxfEntities(out.GetText()), (std::vector<std::string>{"ARC", "LINE", "LINE"}));
    const std::string text = out.GetText();
    EXPECT_NE(text.find("  0\nLINE\n  8\n0\n  6\nCONTINUOUS\n 62\n7\n 10\n3\n 20\n1\n 11\n1\n 21\n1\n"),
              std::string::npos);

    MJWCLineArray lines;
    ExportShapeJwcLines(f, lines, 0, 1.0, 1.0);
    ASSERT_EQ(lines.GetSize(), 2);
    EXPECT_EQ(lines[0].x1, 3.0f);
    EXPECT_EQ(lines[0].x2, 1.0f);
    EXPECT_EQ(lines[1].x1, 1.0f);
    EXPECT_NEAR(lines[1].y2, 3.0f, 1e-6);
    MJWCArcArray arcs;
    ExportShapeJwcArcs(f, arcs, 0, 1.0, 1.0);
    EXPECT_EQ(arcs.GetSize(), 1);
}
