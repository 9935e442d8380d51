// Circles, arcs, sectors, ellipses and rectangles compute their outline when asked. Every reader
// must see, bit for bit, the vertices a plain polygon built from the same numbers holds, through
// transforms, point edits, copies and round trips; and a shape that is only measured or tested
// keeps no vertices of its own (a drawn arc keeps the outline it worked out, until it changes).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "interchange/DxfOutStream.h"
#include "interchange/DxfShapeExport.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/lines/RectShape.h"
#include "tests/model/shapes/curves/CurveTestSupport.h"

using namespace shapetest;

namespace {

constexpr double kStep = 0.1308996938995747;

// The outline as the shapes built it when they kept it, written out independently.
MFloatPointArray ReferenceOutline(const MPolygonShape& shape) {
    MFloatPointArray out;
    if (const auto* rect = dynamic_cast<const MRectShape*>(&shape)) {
        const double x = rect->m_origin.x, y = rect->m_origin.y, w = rect->m_size.cx, h = rect->m_size.cy;
        out.Add({x, y + h});
        out.Add({x + w, y + h});
        out.Add({x + w, y});
        out.Add({x, y});
    } else if (const auto* e = dynamic_cast<const MEllipseShape*>(&shape)) {
        for (int k = 0; k < 48; ++k)
            out.Add({e->m_center.x + e->m_radiusX * std::cos(k * kStep),
                     e->m_center.y + e->m_radiusY * std::sin(k * kStep)});
    } else if (const auto* arc = dynamic_cast<const MCircleArcShape*>(&shape)) {
        const double step = (arc->m_endAngle - arc->m_startAngle) / 48;
        double angle = arc->m_startAngle;
        for (int i = 0; i < 49; ++i, angle += step)
            out.Add({arc->m_center.x + arc->m_radius * std::cos(angle),
                     arc->m_center.y + arc->m_radius * std::sin(angle)});
        if (dynamic_cast<const MCircleFanShape*>(&shape)) out.Add(arc->m_center);
    } else if (const auto* c = dynamic_cast<const MCircleShape*>(&shape)) {
        for (int k = 0; k < 48; ++k)
            out.Add({c->m_center.x + c->m_radius * std::cos(k * kStep),
                     c->m_center.y + c->m_radius * std::sin(k * kStep)});
    }
    return out;
}

bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void ExpectSamePoints(const MFloatPointArray& got, const MFloatPointArray& expected) {
    ASSERT_EQ(got.GetSize(), expected.GetSize());
    for (int i = 0; i < got.GetSize(); ++i)
        EXPECT_TRUE(SameBits(got[i].x, expected[i].x) && SameBits(got[i].y, expected[i].y))
            << "vertex " << i << ": " << got[i].x << ", " << got[i].y << " for " << expected[i].x << ", "
            << expected[i].y;
}

std::string DxfOf(const MPolygonShape& shape) {
    MDXFOutStream out;
    ExportPolygonDxf(shape, out, "0", {1.5, -2.0}, 1.0);
    return out.GetText();
}

// The readers of the polygon's own code on the shape against a plain polygon of the expected
// vertices; then the array GetPoints hands out.
void ExpectReadsAsPolygon(MPolygonShape& shape, const MFloatPointArray& expected) {
    TestView view;
    MPolygonShape plain(shape.IsClosedFlag());
    plain.m_flags = shape.GetFlags();
    for (const MFloatPoint& p : expected)
        plain.AddPoint(p);
    plain.CopyStyleFrom(&shape);
    shape.Recalc(&view);
    plain.Recalc(&view);
    EXPECT_EQ(shape.GetExtent(), plain.GetExtent());
    EXPECT_EQ(shape.GetDrawExtent(), plain.GetDrawExtent());
    EXPECT_EQ(shape.GetPointCount(), expected.GetSize());
    const MFloatRect box = plain.GetExtent();
    const MFloatPoint mid = box.GetCenter();
    const MFloatPoint far(box.right + 1.0, box.top + 0.5);
    for (const MFloatRect& r : {box, MFloatRect(mid, far), MFloatRect(mid, mid)})
        EXPECT_EQ(shape.MPolygonShape::IsInRect(r), plain.IsInRect(r));
    EXPECT_EQ(shape.MPolygonShape::GetSide(mid.x, mid.y), plain.GetSide(mid.x, mid.y));
    MFloatPointArray crossings, plainCrossings;
    EXPECT_EQ(shape.MPolygonShape::IntersectSegment(mid, far, &crossings, kBoundedA | kBoundedB),
              plain.IntersectSegment(mid, far, &plainCrossings, kBoundedA | kBoundedB));
    ExpectSamePoints(crossings, plainCrossings);
    MFloatPointArray hits, plainHits;
    EXPECT_EQ(shape.MPolygonShape::IntersectCircle(far.x, far.y, 0, 0, box.GetWidth(), &hits),
              plain.IntersectCircle(far.x, far.y, 0, 0, box.GetWidth(), &plainHits));
    ExpectSamePoints(hits, plainHits);
    for (const MFloatPoint& p : {expected[0], (expected[0] + expected[1]) / 2, mid}) {
        MFloatPoint foot, plainFoot;
        const CPoint at = view.DocToLogical(p);
        EXPECT_EQ(shape.MPolygonShape::HitTest(&view, at, &foot, 4), plain.HitTest(&view, at, &plainFoot, 4));
        EXPECT_TRUE(SameBits(foot.x, plainFoot.x) && SameBits(foot.y, plainFoot.y));
    }
    EXPECT_TRUE(SameBits(shape.MPolygonShape::GetArea(), plain.GetArea()));
    EXPECT_EQ(shape.MPolygonShape::IsValid(), plain.IsValid());
    EXPECT_EQ(DxfOf(shape), DxfOf(plain));
    const std::unique_ptr<MPolygonShape> copy(shape.CopyAsPolygon());
    ExpectSamePoints(copy->m_points, expected);
    ExpectSamePoints(shape.GetPoints(), expected);
}

// Reading a shape in every way above keeps no vertices unless GetPoints was asked.
void ExpectLeanAs(MPolygonShape& shape, const MFloatPointArray& expected) {
    TestView view;
    shape.Recalc(&view);
    (void)shape.IsInRect(shape.GetExtent());
    (void)shape.HitTest(&view, view.DocToLogical(expected[0]), nullptr, 4);
    (void)DxfOf(shape);
    EXPECT_TRUE(shape.m_points.IsEmpty());
    ExpectReadsAsPolygon(shape, expected);
}

void ExpectComputedAndLean(MPolygonShape& shape) {
    ExpectLeanAs(shape, ReferenceOutline(shape));
}

// A plain polygon of the shape's outline as it stands, to be given the same edits.
std::unique_ptr<MPolygonShape> PlainTwin(const MPolygonShape& shape) {
    auto plain = std::make_unique<MPolygonShape>(shape.IsClosedFlag());
    plain->m_flags = shape.GetFlags();
    for (const MFloatPoint& p : ReferenceOutline(shape))
        plain->AddPoint(p);
    return plain;
}

// The vertices without asking GetPoints (which would keep a copy).
MFloatPointArray VerticesOf(const MPolygonShape& shape) {
    const std::unique_ptr<MPolygonShape> copy(shape.CopyAsPolygon());
    return copy->m_points;
}

class ComputedOutlineTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureRegistered();
        PointEditFlag = FALSE;
    }
    void TearDown() override { PointEditFlag = FALSE; }
};

std::vector<std::unique_ptr<MPolygonShape>> RoundShapes() {
    std::vector<std::unique_ptr<MPolygonShape>> shapes;
    auto circle = std::make_unique<MCircleShape>();
    circle->SetCircle(12.25, -7.5, 3.75);
    shapes.push_back(std::move(circle));
    auto arc = std::make_unique<MCircleArcShape>();
    arc->SetArc(-4.5, 9.0, 6.0, 0.3, 2.9);
    shapes.push_back(std::move(arc));
    auto fan = std::make_unique<MCircleFanShape>();
    fan->SetArc(100.0, 50.0, 2.5, 5.0, 1.0);
    shapes.push_back(std::move(fan));
    auto ellipse = std::make_unique<MEllipseShape>();
    ellipse->SetEllipse(3.0, 4.0, 7.5, 2.25);
    shapes.push_back(std::move(ellipse));
    auto rect = std::make_unique<MRectShape>();
    rect->SetRect(-3.0, 2.0, 8.5, -4.25);
    shapes.push_back(std::move(rect));
    return shapes;
}

}  // namespace

TEST_F(ComputedOutlineTest, FreshShapesReadAsTheirOutlineAndKeepNoVertices) {
    for (auto& shape : RoundShapes()) {
        SCOPED_TRACE(shape->GetTypeName());
        ExpectComputedAndLean(*shape);
    }
    // Before any numbers are set the outline is the origin, as the presized vertices were.
    MCircleArcShape arc;
    ExpectSamePoints(arc.GetPoints(), ReferenceOutline(arc));
    EXPECT_EQ(arc.GetPoint(48), MFloatPoint(0, 0));
}

TEST_F(ComputedOutlineTest, TransformsFollowTheNumbersAndMovesShiftTheVertices) {
    for (auto& shape : RoundShapes()) {
        SCOPED_TRACE(shape->GetTypeName());
        // A move shifts the vertices themselves, as it always did.
        MFloatPointArray moved = ReferenceOutline(*shape);
        const MFloatPoint offset(3.3, -1.7);
        for (MFloatPoint& p : moved)
            p += offset;
        shape->Move(offset);
        ExpectReadsAsPolygon(*shape, moved);
        // Every other change rebuilds the outline from the numbers, and drops the kept vertices.
        shape->Rotate(1.0, 2.0, kPi / 2);
        ExpectComputedAndLean(*shape);
        shape->Rotate(-1.0, 0.5, 0.7);
        ExpectComputedAndLean(*shape);
        shape->MirrorX(4.0, 0.0);
        ExpectComputedAndLean(*shape);
        shape->MirrorY(0.0, -6.0);
        ExpectComputedAndLean(*shape);
        shape->ScaleXY({2.0, 1.0}, 1.5, 0.75);
        ExpectComputedAndLean(*shape);
        MFloatRect stretched = shape->GetExtent();
        int handle = 2;
        shape->MoveHandle(&handle, {stretched.right + 2.0, stretched.bottom - 1.0}, FALSE, &stretched);
        ExpectReadsAsPolygon(*shape, ReferenceOutline(*shape));
    }
}

TEST_F(ComputedOutlineTest, PointEditsUndoCopiesAndClones) {
    for (auto& shape : RoundShapes()) {
        SCOPED_TRACE(shape->GetTypeName());
        PointEditFlag = TRUE;
        int handle = 1;
        const MFloatPoint grip = shape->GetHandle(handle);
        shape->MoveHandle(&handle, grip + MFloatPoint(0.5, 0.25), FALSE);
        ExpectComputedAndLean(*shape);
        // Undo keeps copies through the archive form; a copy in point-edit mode keeps its class.
        const std::unique_ptr<MCadShape> undo(shape->Duplicate());
        auto* copy = dynamic_cast<MPolygonShape*>(undo.get());
        ASSERT_TRUE(copy);
        ExpectComputedAndLean(*copy);
        ExpectSamePoints(copy->GetPoints(), shape->GetPoints());
        PointEditFlag = FALSE;
        const std::unique_ptr<MCadShape> clone(shape->Clone());
        ExpectSamePoints(clone->GetPoints(), shape->GetPoints());
        const std::unique_ptr<MPolygonShape> archived = curvetest::ArchiveRoundTrip(*shape);
        ASSERT_TRUE(archived);
        ExpectSamePoints(archived->GetPoints(), shape->GetPoints());
    }
}

TEST_F(ComputedOutlineTest, HeldVertexArrayStaysTheShapesUntilItChanges) {
    MCircleShape c;
    c.SetCircle(5.0, 5.0, 2.0);
    const MFloatPointArray& held = c.GetPoints();
    const MFloatPoint* data = held.GetData();
    EXPECT_EQ(&c.GetPoints(), &held);
    EXPECT_EQ(c.GetPoints().GetData(), data);
    // A move edits the held vertices in place.
    c.Move({1.0, 0.0});
    EXPECT_EQ(held.GetData(), data);
    EXPECT_EQ(held[0], MFloatPoint(8.0, 5.0));
    // An edited vertex keeps the vertices: the outline no longer follows centre and radius.
    c.SetPoint(0, {0.0, 0.0});
    EXPECT_EQ(c.GetPoint(0), MFloatPoint(0.0, 0.0));
    EXPECT_EQ(c.GetPoint(1), held[1]);
    std::vector<MFloatPoint> run;
    EXPECT_FALSE(c.GetOutlineCurve(run));
    // A new radius gives the outline back to the numbers.
    c.SetCircle(5.0, 5.0, 3.0);
    ExpectSamePoints(c.GetPoints(), ReferenceOutline(c));
    EXPECT_TRUE(c.GetOutlineCurve(run));
}

TEST_F(ComputedOutlineTest, ExtentIsTheBoxOfTheVerticesForAnyCircleOrArc) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> power(-6, 15);
    TestView view;
    for (int i = 0; i < 3000; ++i) {
        const double cx = unit(rng) * std::pow(10.0, power(rng));
        const double cy = unit(rng) * std::pow(10.0, power(rng));
        const double r = std::fabs(unit(rng)) * std::pow(10.0, power(rng));
        MCircleShape c;
        c.SetCircle(cx, cy, r);
        MCircleArcShape a;
        a.SetArc(cx, cy, r, unit(rng) * 10.0, unit(rng) * 10.0);
        for (MPolygonShape* shape : {static_cast<MPolygonShape*>(&c), static_cast<MPolygonShape*>(&a)}) {
            const MFloatPointArray expected = ReferenceOutline(*shape);
            MFloatRect box(expected[0], expected[0]);
            for (const MFloatPoint& p : expected)
                box.AddPoint(p);
            box.Normalize();
            shape->Recalc(&view);
            ASSERT_EQ(shape->GetExtent(), box) << cx << " " << cy << " " << r;
            ASSERT_TRUE(shape->m_points.IsEmpty());
        }
    }
}

namespace {

// Offsets whose sums round, over many magnitudes, and some that are exact.
MFloatPoint RandomOffset(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> power(-8, 12);
    return {unit(rng) * std::pow(10.0, power(rng)), unit(rng) * std::pow(10.0, power(rng))};
}

std::vector<std::unique_ptr<MPolygonShape>> RandomRoundShapes(std::mt19937_64& rng) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> power(-4, 9);
    auto value = [&] { return unit(rng) * std::pow(10.0, power(rng)); };
    std::vector<std::unique_ptr<MPolygonShape>> shapes;
    auto circle = std::make_unique<MCircleShape>();
    circle->SetCircle(value(), value(), std::fabs(value()));
    shapes.push_back(std::move(circle));
    auto arc = std::make_unique<MCircleArcShape>();
    arc->SetArc(value(), value(), std::fabs(value()), unit(rng) * 7.0, unit(rng) * 7.0);
    shapes.push_back(std::move(arc));
    auto fan = std::make_unique<MCircleFanShape>();
    fan->SetArc(value(), value(), std::fabs(value()), unit(rng) * 7.0, unit(rng) * 7.0);
    shapes.push_back(std::move(fan));
    auto ellipse = std::make_unique<MEllipseShape>();
    ellipse->SetEllipse(value(), value(), std::fabs(value()), std::fabs(value()));
    shapes.push_back(std::move(ellipse));
    auto rect = std::make_unique<MRectShape>();
    rect->SetRect(value(), value(), value(), value());
    shapes.push_back(std::move(rect));
    return shapes;
}

// The shape and its plain twin moved alike.
void MoveBoth(MPolygonShape& shape, MPolygonShape& plain, const MFloatPoint& offset) {
    shape.Move(offset);
    plain.Move(offset);
}

}  // namespace

TEST_F(ComputedOutlineTest, MovedShapesStayComputedAndRoundAsShiftedVertices) {
    std::mt19937_64 rng(11);
    for (int i = 0; i < 400; ++i) {
        for (auto& shape : RandomRoundShapes(rng)) {
            SCOPED_TRACE(shape->GetTypeName());
            const auto plain = PlainTwin(*shape);
            MoveBoth(*shape, *plain, RandomOffset(rng));
            ASSERT_TRUE(shape->m_points.IsEmpty());
            ExpectSamePoints(VerticesOf(*shape), plain->m_points);
            MoveBoth(*shape, *plain, RandomOffset(rng));
            ASSERT_TRUE(shape->m_points.IsEmpty());
            ExpectSamePoints(VerticesOf(*shape), plain->m_points);
            if (i % 40 == 0) ExpectLeanAs(*shape, plain->m_points);
        }
    }
}

TEST_F(ComputedOutlineTest, AThirdMoveKeepsTheShiftedVertices) {
    const MFloatPoint offsets[] = {{0.1, -0.7}, {1e-9, 3.3}, {12345.678, 0.3}};
    for (const bool held : {false, true}) {
        for (auto& shape : RoundShapes()) {
            SCOPED_TRACE(shape->GetTypeName());
            const auto plain = PlainTwin(*shape);
            if (held) (void)shape->GetPoints();
            for (const MFloatPoint& offset : offsets)
                MoveBoth(*shape, *plain, offset);
            EXPECT_EQ(shape->m_points.IsEmpty(), false);
            ExpectReadsAsPolygon(*shape, plain->m_points);
            // And a fourth shifts them once more.
            MoveBoth(*shape, *plain, {-0.3, 0.9});
            ExpectSamePoints(shape->GetPoints(), plain->m_points);
        }
    }
}

TEST_F(ComputedOutlineTest, EditsAfterMovesActAsOnShiftedVertices) {
    const MFloatPoint first(0.1, -0.7), second(-2.2, 1e-3);
    using Edit = void (*)(MPolygonShape&);
    const Edit rebuilds[] = {
        [](MPolygonShape& s) { s.Rotate(1.0, 2.0, kPi / 2); },
        [](MPolygonShape& s) { s.Rotate(-1.0, 0.5, 0.7); },
        [](MPolygonShape& s) { s.MirrorX(4.0, 0.0); },
        [](MPolygonShape& s) { s.MirrorY(0.0, -6.0); },
        [](MPolygonShape& s) {
            s.ScaleXY({2.0, 1.0}, 1.5, 0.75);
        },
    };
    for (const Edit edit : rebuilds) {
        for (auto& shape : RoundShapes()) {
            SCOPED_TRACE(shape->GetTypeName());
            shape->Move(first);
            shape->Move(second);
            // Transforms other than a move rebuild the outline from the numbers, as before.
            edit(*shape);
            EXPECT_TRUE(shape->m_points.IsEmpty());
            ExpectSamePoints(VerticesOf(*shape), ReferenceOutline(*shape));
            // Moves after them start again from the rebuilt outline.
            const auto plain = PlainTwin(*shape);
            MoveBoth(*shape, *plain, first);
            ExpectLeanAs(*shape, plain->m_points);
        }
    }
    for (auto& shape : RoundShapes()) {
        SCOPED_TRACE(shape->GetTypeName());
        const auto plain = PlainTwin(*shape);
        MoveBoth(*shape, *plain, first);
        MoveBoth(*shape, *plain, second);
        // A vertex edit keeps the shifted vertices.
        shape->SetPoint(2, {5.0, 6.0});
        plain->SetPoint(2, {5.0, 6.0});
        ExpectReadsAsPolygon(*shape, plain->m_points);
        shape->Move(first);
        plain->Move(first);
        ExpectSamePoints(shape->GetPoints(), plain->m_points);
    }
}

TEST_F(ComputedOutlineTest, CopiesOfMovedShapes) {
    const MFloatPoint first(0.1, -0.7), second(-2.2, 1e-3);
    for (auto& shape : RoundShapes()) {
        SCOPED_TRACE(shape->GetTypeName());
        const auto plain = PlainTwin(*shape);
        MoveBoth(*shape, *plain, first);
        MoveBoth(*shape, *plain, second);
        // A clone is a plain polygon of the shifted vertices.
        const std::unique_ptr<MCadShape> clone(shape->Clone());
        ExpectSamePoints(clone->GetPoints(), plain->m_points);
        // The archive form carries the numbers: the copies rebuild their outline from them.
        const std::unique_ptr<MPolygonShape> archived = curvetest::ArchiveRoundTrip(*shape);
        ASSERT_TRUE(archived);
        ExpectComputedAndLean(*archived);
        const std::unique_ptr<MCadShape> undo(shape->Duplicate());
        auto* copy = dynamic_cast<MPolygonShape*>(undo.get());
        ASSERT_TRUE(copy);
        EXPECT_EQ(shapetest::StoreObject(copy), shapetest::StoreObject(archived.get()));
        ExpectComputedAndLean(*copy);
        // The moved shape itself still reads as its shifted vertices.
        ExpectLeanAs(*shape, plain->m_points);
    }
}

TEST_F(ComputedOutlineTest, OutlineCurveOfMovedShapesAnswersAsKeptVerticesDid) {
    std::mt19937_64 rng(5);
    for (int i = 0; i < 200; ++i) {
        auto shapes = RandomRoundShapes(rng);
        for (size_t k = 0; k < shapes.size(); ++k) {
            // The same numbers twice; one keeps its vertices through a vertex rewritten to itself.
            const std::unique_ptr<MPolygonShape> kept(static_cast<MPolygonShape*>(shapes[k]->Duplicate()));
            for (int m = 0; m < 2; ++m) {
                const MFloatPoint offset = RandomOffset(rng);
                shapes[k]->Move(offset);
                if (m == 0) kept->SetPoint(0, kept->GetPoint(0));
                kept->Move(offset);
            }
            std::vector<MFloatPoint> run, keptRun;
            ASSERT_EQ(shapes[k]->GetOutlineCurve(run), kept->GetOutlineCurve(keptRun));
            ASSERT_EQ(run, keptRun);
            EXPECT_TRUE(shapes[k]->m_points.IsEmpty());
        }
    }
}

namespace {

// The shape and a plain polygon of the given vertices drawn alike at a zoom: the same pixels.
void ExpectDrawnAlike(MPolygonShape& shape, const MFloatPointArray& vertices, double zoom) {
    TestView view(zoom);
    MPolygonShape plain(shape.IsClosedFlag());
    plain.m_flags = shape.GetFlags();
    for (const MFloatPoint& p : vertices)
        plain.AddPoint(p);
    plain.CopyStyleFrom(&shape);
    curvetest::Canvas drawn(160, 160), expected(160, 160);
    shape.Recalc(&view);
    plain.Recalc(&view);
    shape.Draw(&view, &drawn.dc);
    plain.Draw(&view, &expected.dc);
    int differing = 0;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 160; ++x)
            differing += drawn.At(x, y) != expected.At(x, y);
    EXPECT_EQ(differing, 0) << "at zoom " << zoom;
}

}  // namespace

// An arc's outline takes sines and cosines: the first paint keeps it for the paints and the
// printing after it. Every change of the arc shifts or drops what was kept, and at any zoom the
// arc draws as the vertices it stands for.
TEST_F(ComputedOutlineTest, ADrawnArcKeepsItsOutlineUntilItChanges) {
    using Edit = void (*)(MPolygonShape&);
    const Edit rebuilds[] = {
        [](MPolygonShape& s) { s.Rotate(9.0, -8.0, 0.7); },
        [](MPolygonShape& s) {
            s.ScaleXY({8.0, -6.0}, 1.25, 0.75);
        },
        [](MPolygonShape& s) { s.MirrorX(8.0, 0.0); },
        [](MPolygonShape& s) { static_cast<MCircleArcShape&>(s).SetArc(7.0, -6.0, 3.0, 0.5, 2.0); },
    };
    auto arc = std::make_unique<MCircleArcShape>();
    arc->SetArc(8.0, -7.0, 4.0, 0.3, 2.9);
    auto fan = std::make_unique<MCircleFanShape>();
    fan->SetArc(7.0, -8.0, 2.5, 5.0, 1.0);
    for (MPolygonShape* shape :
         {static_cast<MPolygonShape*>(arc.get()), static_cast<MPolygonShape*>(fan.get())}) {
        SCOPED_TRACE(shape->GetTypeName());
        shape->SetColor(RGB(0, 0, 255));
        auto plain = PlainTwin(*shape);
        ExpectDrawnAlike(*shape, plain->m_points, 10.0);
        EXPECT_FALSE(shape->m_points.IsEmpty());
        ExpectSamePoints(shape->m_points, plain->m_points);
        // Moves shift what was kept, the third one too (the arc then keeps its vertices).
        for (const MFloatPoint& offset :
             {MFloatPoint(0.1, -0.7), MFloatPoint(1e-3, 0.3), MFloatPoint(-0.2, 0.1)}) {
            MoveBoth(*shape, *plain, offset);
            ExpectSamePoints(shape->GetPoints(), plain->m_points);
            ExpectDrawnAlike(*shape, plain->m_points, 13.0);
        }
        for (const Edit edit : rebuilds) {
            edit(*shape);
            EXPECT_TRUE(shape->m_points.IsEmpty());
            plain = PlainTwin(*shape);
            // Drawn at one zoom, kept, and drawn at another from what was kept.
            ExpectDrawnAlike(*shape, plain->m_points, 10.0);
            EXPECT_FALSE(shape->m_points.IsEmpty());
            ExpectDrawnAlike(*shape, plain->m_points, 17.5);
            MoveBoth(*shape, *plain, {0.25, -0.5});
            ExpectSamePoints(VerticesOf(*shape), plain->m_points);
            ExpectDrawnAlike(*shape, plain->m_points, 10.0);
        }
    }
}

// An arc's extent comes from the points about its ends and quarter turns alone: bit for bit the
// box of all its vertices, for arcs and sectors of any size and sweep, moved or not.
TEST_F(ComputedOutlineTest, ArcExtentFromItsExtremesIsTheBoxOfAllItsVertices) {
    std::mt19937_64 rng(23);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> power(-6, 15), moves(0, 2), pick(0, 5);
    TestView view;
    const double sweeps[] = {0.0, 1e-9, 0.048, 0.05, kPi / 2, 2 * kPi};
    for (int i = 0; i < 20000; ++i) {
        const double r = i % 97 == 0 ? 0.0 : std::fabs(unit(rng)) * std::pow(10.0, power(rng));
        const double start = i % 5 == 0 ? unit(rng) * 2000.0 : unit(rng) * 10.0;
        const double sweep = i % 3 == 0 ? sweeps[pick(rng)] : std::fabs(unit(rng)) * 7.0;
        std::unique_ptr<MCircleArcShape> arc(i % 2 ? new MCircleFanShape : new MCircleArcShape);
        arc->SetArc(unit(rng) * std::pow(10.0, power(rng)),
                    i % 89 == 0 ? 0.0 : unit(rng) * std::pow(10.0, power(rng)), r, start, start + sweep);
        for (int m = moves(rng); m > 0; --m)
            arc->Move(RandomOffset(rng));
        const MFloatPointArray vertices = VerticesOf(*arc);
        MFloatRect box(vertices[0], vertices[0]);
        for (const MFloatPoint& p : vertices)
            box.AddPoint(p);
        box.Normalize();
        arc->Recalc(&view);
        const MFloatRect extent = arc->GetExtent();
        ASSERT_TRUE(SameBits(extent.left, box.left) && SameBits(extent.top, box.top) &&
                    SameBits(extent.right, box.right) && SameBits(extent.bottom, box.bottom))
            << i << ": " << arc->m_center.x << " " << arc->m_center.y << " " << r << " " << start << " "
            << sweep;
        ASSERT_TRUE(arc->m_points.IsEmpty());
    }
}
