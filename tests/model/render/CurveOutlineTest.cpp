// Round outlines on contexts that keep curves (printers): the pieces that stand for circles, arcs
// and ellipses, and which outlines go as curves and which keep their vertices.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "model/CadView.h"
#include "model/PaperInfo.h"
#include "model/geometry/Geometry.h"
#include "model/render/BezierOutline.h"
#include "model/settings/LineStyle.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "platform/gdi/DC.h"
#include "tests/model/render/RecordingBackend.h"
#include "tests/support/TestSupport.h"

namespace {

MFloatPoint PointAt(const MFloatPoint* c, double t) {
    const double u = 1 - t;
    return c[0] * (u * u * u) + c[1] * (3 * u * u * t) + c[2] * (3 * u * t * t) + c[3] * (t * t * t);
}

// How far a point is from the ellipse, as the ellipse's own equation minus one.
double OffEllipse(const MFloatPoint& p, const MFloatPoint& c, double rx, double ry) {
    const double x = (p.x - c.x) / rx, y = (p.y - c.y) / ry;
    return std::fabs(x * x + y * y - 1.0);
}

// Paper at 1 : 1, 10 pixels per millimetre, as the renderer tests draw.
class CurveOutline : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        view.SetScale(nullptr, 254.0 / 96.0);
    }

    // A context whose back end records, taking curves as a printer does (or not).
    RecordingBackend* Record(CDC& dc, bool curves = true) {
        auto backend = std::make_unique<RecordingBackend>(CRect(0, 0, 4000, 4000), 96, true);
        backend->curves = curves;
        RecordingBackend* raw = backend.get();
        dc.AttachBackend(std::move(backend), true);
        return raw;
    }
    static int Count(const RecordingBackend& r, RecordingBackend::Call::Kind kind) {
        int n = 0;
        for (const auto& c : r.calls)
            n += c.kind == kind;
        return n;
    }
    static const RecordingBackend::Call* FirstCurve(const RecordingBackend& r) {
        for (const auto& c : r.calls)
            if (c.kind == RecordingBackend::Call::Curves) return &c;
        return nullptr;
    }

    MPaperInfo paper{MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1 : 1", 1.0), 1, 0};
    MCadView view{&paper};
};

}  // namespace

TEST_F(CurveOutline, ArcPiecesStartAndEndOnTheEllipseAndStayCloseBetween) {
    const MFloatPoint c(12, -7);
    const double rx = 40, ry = 25;
    for (const double sweep : {kPi / 3, kPi / 2, 3.0, 2 * kPi, -kPi / 2, -5.0}) {
        std::vector<MFloatPoint> run;
        AppendArcPieces(run, c, rx, ry, 0.4, sweep);
        const int pieces = static_cast<int>(std::ceil(std::fabs(sweep) / (kPi / 2) - 1e-9));
        ASSERT_EQ(run.size(), 1u + 3u * pieces) << sweep;
        EXPECT_LT((run.front() - MFloatPoint(c.x + rx * std::cos(0.4), c.y + ry * std::sin(0.4))).GetLength(),
                  1e-12);
        const double end = 0.4 + sweep;
        EXPECT_LT((run.back() - MFloatPoint(c.x + rx * std::cos(end), c.y + ry * std::sin(end))).GetLength(),
                  1e-12);
        for (std::size_t i = 0; i + 3 < run.size(); i += 3) {
            EXPECT_LT(OffEllipse(run[i + 3], c, rx, ry), 1e-12);
            for (const double t : {0.25, 0.5, 0.75})
                EXPECT_LT(OffEllipse(PointAt(&run[i], t), c, rx, ry), 1e-3) << sweep << " " << t;
        }
    }
}

TEST_F(CurveOutline, StraightPiecesJoinARunToTheArcAndCloseIt) {
    std::vector<MFloatPoint> run{{0, 0}};
    AppendArcPieces(run, {0, 0}, 10, 10, 0.0, kPi / 2);
    ASSERT_EQ(run.size(), 7u);  // a straight piece out to the arc, then one quarter
    EXPECT_EQ(run[3], MFloatPoint(10, 0));
    EXPECT_NEAR(run[1].x, 10.0 / 3, 1e-12);
    EXPECT_NEAR(run[2].x, 20.0 / 3, 1e-12);
    EXPECT_EQ(run[1].y, 0.0);
    AppendLinePiece(run, run.front());
    ASSERT_EQ(run.size(), 10u);
    EXPECT_EQ(run.back(), MFloatPoint(0, 0));
}

TEST_F(CurveOutline, PlainRoundOutlinesGoToAPrinterAsCurves) {
    MCircleShape circle;
    circle.SetCircle(20, -20, 10);
    MCircleArcShape arc;
    arc.SetArc(50, -20, 10, 0.5, 2.5);
    MCircleArcShape chord;
    chord.SetArc(80, -20, 10, 0.5, 5.0);
    chord.SetClosed(TRUE);
    MCircleFanShape fan;
    fan.SetArc(110, -20, 10, 0.5, 2.5);
    MEllipseShape ellipse;
    ellipse.SetEllipse(140, -20, 12, 6);
    struct Case {
        MCadShape* shape;
        std::size_t points;
    } cases[] = {{&circle, 13}, {&arc, 7}, {&chord, 1 + 3 * 3 + 3}, {&fan, 7 + 6}, {&ellipse, 13}};
    for (const Case& k : cases) {
        CDC dc;
        RecordingBackend* r = Record(dc);
        k.shape->Recalc(&view);
        k.shape->Draw(&view, &dc);
        const RecordingBackend::Call* curve = FirstCurve(*r);
        ASSERT_NE(curve, nullptr) << k.shape->GetTypeName();
        ASSERT_EQ(curve->runs.size(), 1u);
        EXPECT_EQ(curve->runs[0].size(), k.points) << k.shape->GetTypeName();
        EXPECT_EQ(Count(*r, RecordingBackend::Call::Lines), 0) << k.shape->GetTypeName();
    }
    // The circle's run in device pixels: its start on the right of the centre, 100 pixels out.
    CDC dc;
    RecordingBackend* r = Record(dc);
    circle.Move({1.5, 0});
    circle.Draw(&view, &dc);
    ASSERT_NE(FirstCurve(*r), nullptr) << "moved vertices and centre still agree";
    const GdiPointF start = FirstCurve(*r)->runs[0][0];
    const CPoint centre = view.DocToLogical(circle.m_center);
    EXPECT_NEAR(start.x - centre.x, 100, 1);
    EXPECT_NEAR(start.y - centre.y, 0, 1);
}

TEST_F(CurveOutline, OtherOutlinesAndOtherTargetsKeepTheirVertices) {
    const auto drawn = [&](MCadShape& shape, bool curves) {
        CDC dc;
        RecordingBackend* r = Record(dc, curves);
        shape.Recalc(&view);
        shape.Draw(&view, &dc);
        return std::make_pair(Count(*r, RecordingBackend::Call::Curves),
                              Count(*r, RecordingBackend::Call::Lines) +
                                  Count(*r, RecordingBackend::Call::Polygons) +
                                  Count(*r, RecordingBackend::Call::Figure));
    };
    MCircleShape circle;
    circle.SetCircle(20, -20, 10);
    EXPECT_EQ(drawn(circle, false).first, 0) << "a target without curves";
    EXPECT_GT(drawn(circle, false).second, 0);

    MCircleShape dashed;
    dashed.SetCircle(20, -20, 10);
    ASSERT_GT(GetLineStyleTable().GetAt(3).m_dashes.GetSize(), 1);
    dashed.SetLineStyle(3);
    EXPECT_EQ(drawn(dashed, true).first, 0);

    MCircleShape wide;
    wide.SetCircle(20, -20, 10);
    wide.SetLineWidth(0.5);
    EXPECT_EQ(drawn(wide, true).first, 0);

    MCircleShape filled;
    filled.SetCircle(20, -20, 10);
    filled.SetFillStyle(MFillStyle(RGB(200, 0, 0)));
    EXPECT_EQ(drawn(filled, true).first, 0);

    MCircleArcShape arrowed;
    arrowed.SetArc(50, -20, 10, 0.5, 2.5);
    arrowed.m_arrows.endStyle = 1;
    EXPECT_EQ(drawn(arrowed, true).first, 0);
    EXPECT_GT(drawn(arrowed, true).second, 0);

    // A few pixels across, the vertices are as few as the curve's numbers.
    MCircleShape dot;
    dot.SetCircle(20, -20, 0.5);
    EXPECT_EQ(drawn(dot, true).first, 0);
    EXPECT_GT(drawn(dot, true).second, 0);

    // Far outside the page the outline is cut to it as before.
    MCircleShape far;
    far.SetCircle(20, -20, 100000);
    EXPECT_EQ(drawn(far, true).first, 0);
}
