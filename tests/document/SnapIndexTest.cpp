// The snap search through the layers' indexes against the walk over every shape: the same answer for
// every kind, and still so after each kind of edit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/RectShape.h"
#include "tests/document/DocumentTestSupport.h"

using namespace doctest;

namespace {

class SnapIndex : public DocumentTest {};

// One logical pixel per drawing unit, y up in the drawing: pixel (x, y) is the point (x, -y).
class PixelView : public MCadView {
public:
    PixelView() {
        unitScaleX = paperScaleX = unitInvX = paperInvX = 1.0;
        unitScaleY = paperScaleY = unitInvY = paperInvY = -1.0;
        pixelDiagonal = std::sqrt(2.0);
    }
};

// Kind returned, then the record's kind, point and shapes.
using Answer = std::tuple<WORD, WORD, double, double, MCadShape*, MCadShape*>;

Answer Search(MTessarayDoc& doc, MCadView& view, CPoint at, WORD kinds, bool indexed) {
    doc.GetLayers()->SetSnapIndexing(indexed);
    const MSnapPoint r = doc.FindSnapPoint(view.SnapQueryAt(at.x, at.y, kinds));
    doc.GetLayers()->SetSnapIndexing(true);
    return {r.kind, r.kind, r.x, r.y, r.shape1, r.shape2};
}

// Both searches agree bit for bit; the kind found.
WORD ExpectSameAnswer(MTessarayDoc& doc, MCadView& view, CPoint at, WORD kinds, const std::string& where) {
    const Answer walk = Search(doc, view, at, kinds, false);
    EXPECT_EQ(Search(doc, view, at, kinds, true), walk)
        << where << ", kinds " << kinds << " at " << at.x << "," << at.y;
    return std::get<0>(walk);
}

template <class T, class F>
T* Make(F set) {
    T* shape = new T();
    set(*shape);
    return shape;
}

// Lines (some on whole pixels along the apertures' edges, some sharing end points), polygons, circles,
// arcs centred outside their extent, rectangles and groups over three layers, one hidden.
void AddRandomDrawing(MTessarayDoc& doc, PixelView& view, unsigned round, std::vector<MFloatPoint>& spots) {
    std::mt19937 random(round);
    std::uniform_real_distribution<double> coord(0.0, 400.0), small(-30.0, 30.0);
    doc.AddLayer(new MLayer("b", TRUE, TRUE, TRUE));
    doc.AddLayer(new MLayer("hidden", FALSE, TRUE, TRUE));
    for (int i = 0; i < 600; ++i) {
        const MFloatPoint p(coord(random), -coord(random)), q(std::round(p.x), std::round(p.y));
        const MFloatPoint near = spots.empty() ? p : spots[random() % spots.size()];
        const double d = small(random), e = small(random);
        const std::function<MCadShape*()> kinds[] = {
            [&] { return Line(p.x, p.y, coord(random), -coord(random)); },
            [&] { return Line(q.x, q.y, q.x + (i % 3 ? 40 : 0), q.y - (i % 3 == 1 ? 0 : 40)); },
            [&] { return Line(near.x, near.y, near.x + d, near.y + e); },
            [&] {
                auto* polygon = new MPolygonShape(i % 2 == 0);
                for (int k = 0; k < 5; ++k)
                    polygon->AddPoint(MFloatPoint(p.x + small(random) * 2, p.y + small(random) * 2));
                return polygon;
            },
            [&] { return Make<MCircleShape>([&](auto& s) { s.SetCircle(p.x, p.y, std::fabs(d) + 1); }); },
            [&] {
                return Make<MCircleArcShape>(
                    [&](auto& s) { s.SetArc(p.x, p.y, 20 + std::fabs(d), 0.2, 0.9); });
            },
            [&] {
                return Make<MRectShape>(
                    [&](auto& s) { s.SetRect(p.x, p.y, std::fabs(d) + 1, std::fabs(e) + 1); });
            },
            [&] {
                return Make<MGroupShape>([&](auto& s) {
                    s.AddShape(Line(p.x, p.y, p.x + d, p.y + e));
                    s.AddShape(Line(p.x + e, p.y, p.x, p.y + d));
                    s.Recalc(&view);
                });
            },
            [&] { return Line(p.x, p.y, p.x + d, p.y + e); },
        };
        MCadShape* shape = kinds[std::min<unsigned>(random() % 10, 8)]();
        doc.AddShape(shape, i % 3);
        spots.push_back(p);
    }
}

}  // namespace

TEST_F(SnapIndex, FindsWhatTheWholeWalkFindsForEveryKindOnRandomDrawings) {
    const WORD kindSets[] = {kSnapEndPoint,  kSnapIntersection, kSnapMidPoint, kSnapCenter,
                             kSnapBasePoint, kSnapOnShape,      0x103F};
    PixelView view;
    for (const WORD layerMode : {WORD{0}, WORD{kLayerOthersSnap}}) {
        GetOptionRecord().m_layer = layerMode;
        for (unsigned round = 1; round <= 6; ++round) {
            MTessarayDoc doc;
            doc.OnNewDocument();
            std::vector<MFloatPoint> spots;
            AddRandomDrawing(doc, view, round, spots);
            // Cursors on and near the points the shapes were built from.
            int found = 0;
            for (std::size_t i = 0; i < spots.size(); i += 4) {
                const CPoint at(int(std::lround(spots[i].x)) + int(i % 9) - 4,
                                int(std::lround(-spots[i].y)) + int(i % 7) - 3);
                for (const WORD kinds : kindSets)
                    found += ExpectSameAnswer(doc, view, at, kinds, "drawing " + std::to_string(round)) != 0;
            }
            EXPECT_GT(found, 100) << "drawing " << round;
        }
    }
}

TEST_F(SnapIndex, FollowsEveryEdit) {
    GetOptionRecord().m_layer = kLayerOthersSnap;
    PixelView view;
    MTessarayDoc doc;
    doc.OnNewDocument();
    for (int i = 0; i < 200; ++i)
        doc.AddShape(Line(i * 2.0, -300, i * 2.0 + 1, -390), 0);
    const CPoint at(50, 50);  // the point (50, -50), far from every line
    const WORD kinds = kSnapEndPoint | kSnapIntersection;
    MCadShape* line = nullptr;
    MLayer* layer = nullptr;
    const struct {
        const char* edit;
        std::function<void()> apply;
        WORD expected;
    } steps[] = {
        {"add elsewhere", [&] { line = Line(150, -50, 160, -80), doc.AddShape(line, 0); }, 0},
        {"move in place", [&] { line->Move(MFloatPoint(-100, 0)), doc.SetModifiedFlag(); }, kSnapEndPoint},
        {"move everything away", [&] { doc.MoveAll(100, 0); }, 0},
        {"move everything back", [&] { doc.MoveAll(-100, 0); }, kSnapEndPoint},
        {"delete", [&] { doc.RemoveShape(line, 0, TRUE); }, 0},
        {"undo", [&] { doc.BeginUndo(), doc.AddShape(line, 0), doc.EndUndo(), doc.Undo(nullptr); }, 0},
        {"redo", [&] { doc.Redo(nullptr); }, kSnapEndPoint},
        {"crossing on a new layer",
         [&] {
             layer = new MLayer("x", TRUE, TRUE, TRUE);
             layer->Add(Line(40, -60, 60, -40));
             layer->Add(Line(40, -40, 60, -60));
             doc.AddLayer(layer);
         },
         kSnapEndPoint},
        {"the crossing alone", [&] { doc.RemoveShape(line, 0, TRUE), delete line; }, kSnapIntersection},
        {"layer removed", [&] { delete doc.RemoveLayer(doc.GetLayers()->FindLayer(layer), FALSE); }, 0},
    };
    for (const auto& step : steps) {
        step.apply();
        EXPECT_EQ(ExpectSameAnswer(doc, view, at, kinds, step.edit), step.expected) << step.edit;
    }
    EXPECT_GT(doc.GetLayers()->SnapIndexBytes(), 0u);
}

TEST_F(SnapIndex, ACancelledSearchAnswersWithWhatItFoundBeforeItStopped) {
    GetOptionRecord().m_layer = 0;
    PixelView view;
    // Ten end points in the aperture around (100, -100), each nearer than the one before; then a
    // group of the same lines alone on a layer.
    MTessarayDoc doc, grouped;
    doc.OnNewDocument();
    grouped.OnNewDocument();
    auto* group = new MGroupShape();
    for (int i = 0; i < 10; ++i) {
        doc.AddShape(Line(107 - 0.5 * i, -100, 107 - 0.5 * i, -300), 0);
        group->AddShape(Line(107 - 0.5 * i, -100, 107 - 0.5 * i, -300));
    }
    group->Recalc(&view);
    grouped.AddShape(group, 0);
    for (const bool indexed : {false, true}) {
        SCOPED_TRACE(indexed ? "indexed" : "whole walk");
        doc.GetLayers()->SetSnapIndexing(indexed);
        grouped.GetLayers()->SetSnapIndexing(indexed);
        MSnapQuery query = view.SnapQueryAt(100, 100, kSnapEndPoint);
        EXPECT_EQ(doc.FindSnapPoint(query).GetPoint(), MFloatPoint(102.5, -100));
        EXPECT_EQ(grouped.FindSnapPoint(query).GetPoint(), MFloatPoint(102.5, -100));
        int calls = 0;
        query.cancel = [&calls] { return ++calls > 3; };
        EXPECT_EQ(doc.FindSnapPoint(query).GetPoint(), MFloatPoint(106, -100));
        // The group stops between its members too.
        calls = 0;
        const MSnapPoint partial = grouped.FindSnapPoint(query);
        EXPECT_EQ(partial.kind, kSnapEndPoint);
        EXPECT_GT(partial.x, 104.0);
    }
}
