// The snap search near the cursor (through the layers' indexes) against the walk over every shape:
// the same point, kind and shapes for every kind, and still so after each kind of edit.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
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
        unitScaleX = paperScaleX = 1.0;
        unitScaleY = paperScaleY = -1.0;
        unitInvX = paperInvX = 1.0;
        unitInvY = paperInvY = -1.0;
        pixelDiagonal = std::sqrt(2.0);
    }
};

struct Answer {
    WORD kind = 0;
    MSnapPoint record;
};

Answer Search(MTessarayDoc& doc, MCadView& view, CPoint at, WORD kinds, bool indexed) {
    doc.GetLayers()->SetSnapIndexing(indexed);
    Answer a;
    MFloatPoint point;
    a.kind = doc.FindSnapPoint(&view, at.x, at.y, &point, kinds, &a.record, FALSE);
    doc.GetLayers()->SetSnapIndexing(true);
    return a;
}

std::string Describe(const Answer& a) {
    return std::to_string(a.kind) + " at " + std::to_string(a.record.x) + "," + std::to_string(a.record.y);
}

// Both searches agree bit for bit; true when something was found.
bool ExpectSameAnswer(MTessarayDoc& doc, MCadView& view, CPoint at, WORD kinds, const std::string& where) {
    const Answer walk = Search(doc, view, at, kinds, false);
    const Answer near = Search(doc, view, at, kinds, true);
    const std::string what = where + " kinds " + std::to_string(kinds) + " at pixel " + std::to_string(at.x) +
                             "," + std::to_string(at.y) + ": walk " + Describe(walk) + ", index " + Describe(near);
    EXPECT_EQ(walk.kind, near.kind) << what;
    EXPECT_EQ(walk.record.kind, near.record.kind) << what;
    EXPECT_EQ(walk.record.x, near.record.x) << what;
    EXPECT_EQ(walk.record.y, near.record.y) << what;
    EXPECT_EQ(walk.record.shape1, near.record.shape1) << what;
    EXPECT_EQ(walk.record.shape2, near.record.shape2) << what;
    return walk.kind != 0;
}

// A drawing of lines long and short (axis-parallel, coinciding, crossing at shared points),
// polygons, circles, arcs whose centre lies outside their extent, rectangles and groups, over three
// layers of which one is hidden.
void AddRandomDrawing(MTessarayDoc& doc, PixelView& view, unsigned seed, std::vector<MFloatPoint>& spots) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> coord(0.0, 400.0);
    std::uniform_real_distribution<double> small(-30.0, 30.0);
    std::uniform_int_distribution<int> pick(0, 9);
    doc.AddLayer(new MLayer("b", TRUE, TRUE, TRUE));
    doc.AddLayer(new MLayer("hidden", FALSE, TRUE, TRUE));
    const auto y = [&] { return -coord(random); };
    for (int i = 0; i < 600; ++i) {
        const int layer = i % 3;
        const MFloatPoint p(coord(random), y());
        MCadShape* shape = nullptr;
        switch (pick(random)) {
            case 0:  // long
                shape = Line(p.x, p.y, coord(random), y());
                break;
            case 1:  // horizontal or vertical, on whole pixels
                shape = i % 2 ? Line(std::round(p.x), std::round(p.y), std::round(p.x) + 40, std::round(p.y))
                              : Line(std::round(p.x), std::round(p.y), std::round(p.x), std::round(p.y) - 40);
                break;
            case 2: {  // from an earlier spot: shared end points and equal distances
                const MFloatPoint from = spots.empty() ? p : spots[random() % spots.size()];
                shape = Line(from.x, from.y, from.x + small(random), from.y + small(random));
                break;
            }
            case 3: {
                auto* polygon = new MPolygonShape(i % 2 == 0);
                for (int k = 0; k < 5; ++k)
                    polygon->AddPoint(MFloatPoint(p.x + small(random) * 2, p.y + small(random) * 2));
                shape = polygon;
                break;
            }
            case 4: {
                auto* circle = new MCircleShape();
                circle->SetCircle(p.x, p.y, std::fabs(small(random)) + 1);
                shape = circle;
                break;
            }
            case 5: {
                auto* arc = new MCircleArcShape();
                arc->SetArc(p.x, p.y, 20 + std::fabs(small(random)), 0.2, 0.9);
                shape = arc;
                break;
            }
            case 6: {
                auto* rect = new MRectShape();
                rect->SetRect(p.x, p.y, std::fabs(small(random)) + 1, std::fabs(small(random)) + 1);
                shape = rect;
                break;
            }
            case 7: {
                auto* group = new MGroupShape();
                group->AddShape(Line(p.x, p.y, p.x + small(random), p.y + small(random)));
                group->AddShape(Line(p.x + small(random), p.y, p.x, p.y + small(random)));
                group->Recalc(&view);
                shape = group;
                break;
            }
            default:
                shape = Line(p.x, p.y, p.x + small(random), p.y + small(random));
                break;
        }
        doc.AddShape(shape, layer);
        spots.push_back(p);
    }
}

// Cursors at random pixels and on the spots the shapes were built from (end points, centres).
std::vector<CPoint> Cursors(const std::vector<MFloatPoint>& spots, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pixel(-10, 410);
    std::vector<CPoint> cursors;
    for (int i = 0; i < 60; ++i)
        cursors.emplace_back(pixel(random), pixel(random));
    for (std::size_t i = 0; i < spots.size(); i += 15)
        cursors.emplace_back(static_cast<int>(std::lround(spots[i].x)) + static_cast<int>(i % 5) - 2,
                             static_cast<int>(std::lround(-spots[i].y)));
    return cursors;
}

}  // namespace

TEST_F(SnapIndex, FindsWhatTheWholeWalkFindsForEveryKindOnRandomDrawings) {
    const WORD kindSets[] = {kSnapEndPoint,
                             kSnapIntersection,
                             kSnapMidPoint,
                             kSnapCenter,
                             kSnapBasePoint,
                             kSnapOnShape,
                             kSnapEndPoint | kSnapIntersection | kSnapMidPoint | kSnapCenter | kSnapGrid |
                                 kSnapBasePoint | kSnapOnShape};
    PixelView view;
    for (const WORD layerMode : {WORD{0}, WORD{kLayerOthersSnap}}) {
        GetOptionRecord().m_layer = layerMode;
        for (unsigned seed = 1; seed <= 6; ++seed) {
            MTessarayDoc doc;
            doc.OnNewDocument();
            std::vector<MFloatPoint> spots;
            AddRandomDrawing(doc, view, seed, spots);
            int found = 0;
            for (const CPoint& at : Cursors(spots, seed))
                for (const WORD kinds : kindSets)
                    found += ExpectSameAnswer(doc, view, at, kinds, "seed " + std::to_string(seed)) ? 1 : 0;
            EXPECT_GT(found, 100) << "seed " << seed;
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
    struct Step {
        const char* edit;
        std::function<void()> apply;
        WORD expected;
    };
    const Step steps[] = {
        {"nothing near", [] {}, 0},
        {"add elsewhere", [&] { line = Line(150, -50, 160, -80), doc.AddShape(line, 0); }, 0},
        {"move onto the cursor in place", [&] { line->Move(MFloatPoint(-100, 0)), doc.SetModifiedFlag(); },
         kSnapEndPoint},
        {"move everything away", [&] { doc.MoveAll(100, 0); }, 0},
        {"move everything back", [&] { doc.MoveAll(-100, 0); }, kSnapEndPoint},
        {"delete", [&] { doc.RemoveShape(line, 0, TRUE); }, 0},
        {"undo the delete",
         [&] {
             doc.BeginUndo();
             doc.AddShape(line, 0);
             doc.EndUndo();
             doc.Undo(nullptr);
         },
         0},
        {"redo", [&] { doc.Redo(nullptr); }, kSnapEndPoint},
        {"a crossing on a new layer",
         [&] {
             layer = new MLayer("x", TRUE, TRUE, TRUE);
             layer->Add(Line(40, -60, 60, -40));
             layer->Add(Line(40, -40, 60, -60));
             doc.AddLayer(layer);
         },
         kSnapEndPoint},
        {"the layer's lines alone",
         [&] {
             doc.RemoveShape(line, 0, TRUE);
             delete line;
         },
         kSnapIntersection},
        {"layer removed", [&] { delete doc.RemoveLayer(doc.GetLayers()->FindLayer(layer), FALSE); }, 0},
    };
    for (const Step& step : steps) {
        step.apply();
        const Answer answer = Search(doc, view, at, kinds, true);
        EXPECT_EQ(answer.kind, step.expected) << step.edit;
        ExpectSameAnswer(doc, view, at, kinds, step.edit);
    }
    EXPECT_GT(doc.GetLayers()->SnapIndexBytes(), 0u);
}
