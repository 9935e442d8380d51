// The select tool's arrangement commands: each one undo step whose undo gives the file back byte
// for byte, the copies selected afterwards; a piece that takes its original's place keeps its layer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "model/FillStyle.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/containers/PackShape.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/ui/Beep.h"
#include "tests/tools/select/SelectTestSupport.h"

using namespace selecttest;

namespace {

MCadShape* ShapeAt(SelectHarness& h, int layer, int index) {
    return h.doc.GetLayers()->GetLayer(layer)->GetAt(index);
}
int CountOn(SelectHarness& h, int layer) {
    return h.doc.GetLayers()->GetLayer(layer)->GetSize();
}
MLineShape* LineOn(SelectHarness& h, int layer, int index) {
    return dynamic_cast<MLineShape*>(ShapeAt(h, layer, index));
}
// Picks the shapes at the pixel points, the first by a click, the others by Shift+click.
void PickAll(SelectHarness& h, const std::vector<MFloatPoint>& points) {
    for (std::size_t i = 0; i < points.size(); ++i)
        h.Click(points[i], i == 0 ? 0 : MK_SHIFT);
    ASSERT_EQ(h.Picks(), static_cast<int>(points.size()));
}
// Every pick is a shape of the drawing.
void ExpectPicksInDrawing(SelectHarness& h, int count) {
    ASSERT_EQ(h.Picks(), count);
    for (int i = 0; i < count; ++i)
        EXPECT_GE(h.doc.GetLayers()->FindLayerOf(h.Pick(i)), 0) << "pick " << i;
}
// The command is one undo step (undo ends the selection, so its picks are checked before).
void OneStep(SelectHarness& h, UINT id, int picks) {
    h.ExpectOneUndoStep([&] {
        h.view->SendCommand(id);
        ExpectPicksInDrawing(h, picks);
    });
}
MPolygonShape* Poly(SelectHarness& h, const std::vector<CPoint>& pixels, bool closed, int layer = 0) {
    auto* polygon = h.Polygon(pixels, layer);
    polygon->SetClosed(closed);
    polygon->Recalc(h.view.get());
    return polygon;
}

const std::vector<UINT> kTable = {
    ID_GROUP,          ID_UNGROUP,          ID_MIRROR_X,     ID_MIRROR_Y,         ID_ROTATE_LEFT,
    ID_ROTATE_RIGHT,   ID_BRING_TO_FRONT,   ID_SEND_TO_BACK, ID_ALIGN_LEFT,       ID_ALIGN_TOP,
    ID_ALIGN_BOTTOM,   ID_ALIGN_BASE_X,     ID_ALIGN_BASE_Y, ID_ALIGN_RIGHT,      ID_SPACE_EVENLY_X,
    ID_SPACE_EVENLY_Y, ID_EXPLODE_TO_LINES, ID_EDIT_SHAPE,   ID_ROTATE_LEFT_HERE, ID_ROTATE_RIGHT_HERE,
    ID_MIRROR_X_HERE,  ID_MIRROR_Y_HERE};

}  // namespace

// ----- enabling ---------------------------------------------------------------------------------

TEST(SelectToolArrange, EnablingFollowsTheSelection) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 50, 100, 50);
    h.Line(0, 100, 100, 100);
    Poly(h, {{200, 0}, {300, 0}, {300, 60}}, true);
    struct Row {
        UINT id;
        bool none, one, two, three, polygon;
    };
    const std::vector<Row> rows = {
        {ID_GROUP, false, true, true, true, true},
        {ID_UNGROUP, false, false, false, false, false},
        {ID_MIRROR_X, false, true, true, true, true},
        {ID_ROTATE_LEFT, false, true, true, true, true},
        {ID_BRING_TO_FRONT, false, true, true, true, true},
        {ID_SEND_TO_BACK, false, true, true, true, true},
        {ID_ALIGN_LEFT, false, false, true, true, false},
        {ID_ALIGN_BASE_Y, false, false, true, true, false},
        {ID_SPACE_EVENLY_X, false, false, false, true, false},
        {ID_SPACE_EVENLY_Y, false, false, false, true, false},
        {ID_EXPLODE_TO_LINES, false, false, false, false, true},
        {ID_MIRROR_X_HERE, false, true, true, true, true},
    };
    const auto check = [&](const char* state, bool Row::*column) {
        for (const Row& row : rows)
            EXPECT_EQ(h.ItemState(row.id).first, row.*column) << state << ": command " << row.id;
    };
    check("none", &Row::none);
    h.Click(h.P(50, 0));
    check("one line", &Row::one);
    h.Click(h.P(50, 50), MK_SHIFT);
    check("two lines", &Row::two);
    h.Click(h.P(50, 100), MK_SHIFT);
    check("three lines", &Row::three);
    h.Click(h.P(250, 0));
    check("one polygon", &Row::polygon);
    // A group enables ungroup.
    h.Click(h.P(50, 0));
    h.Click(h.P(50, 50), MK_SHIFT);
    h.view->SendCommand(ID_GROUP);
    EXPECT_TRUE(h.ItemState(ID_UNGROUP).first);
    // During a drag of copies the transforms are off.
    h.Press(h.P(50, 0));
    h.MoveTo(h.P(80, 30));
    EXPECT_FALSE(h.ItemState(ID_MIRROR_X).first);
    EXPECT_FALSE(h.ItemState(ID_EXPLODE_TO_LINES).first);
    h.Release(h.P(80, 30));
}

TEST(SelectToolArrange, EveryCommandWithAnEmptySelectionChangesNothing) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    Poly(h, {{200, 0}, {300, 0}, {300, 60}}, true);
    for (UINT id : kTable)
        ExpectNoChange(h, [&] { h.view->SendCommand(id); });
    ExpectNoChange(h, [&] { h.Select()->DeleteSelection(h.view.get()); });
}

// ----- flips and rotations ----------------------------------------------------------------------

TEST(SelectToolArrange, FlipsOneShapeAboutItsCentreAndTwoAboutTheirUnion) {
    SelectHarness h;
    h.Line(0, 0, 100, 40);
    h.Line(200, 0, 240, 0);
    h.Click(h.P(50, 20));
    OneStep(h, ID_MIRROR_X, 1);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(100, 0)));
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_end, h.P(0, 40)));
    // Both: about the union's centre x = 120.
    PickAll(h, {h.P(50, 20), h.P(220, 0)});
    OneStep(h, ID_MIRROR_X, 2);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(140, 0)));
    EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_start, h.P(40, 0)));
    EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_end, h.P(0, 0)));
}

TEST(SelectToolArrange, RotatesAndFlipsAboutTheCentreOrTheContextPoint) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    OneStep(h, ID_ROTATE_LEFT, 1);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(50, -50)));
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_end, h.P(50, 50)));
    h.Click(h.P(50, 0));
    OneStep(h, ID_ROTATE_RIGHT, 1);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(0, 0)));
    // About the right click's point (150, 0).
    h.Click(h.P(50, 0));
    h.RightClick(h.P(150, 0));
    OneStep(h, ID_ROTATE_LEFT_HERE, 1);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(150, -150)));
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_end, h.P(150, -50)));
    h.Click(h.P(150, -100));
    h.RightClick(h.P(150, 0));
    OneStep(h, ID_MIRROR_Y_HERE, 1);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(150, 150)));
}

// ----- order ------------------------------------------------------------------------------------

TEST(SelectToolArrange, ToTopAndBottomKeepLayersAndStackInTheSelectionsOrder) {
    // Lines a b c on layer 0 and d e on layer 1, from the bottom up; the picks in their order.
    const struct {
        UINT command;
        std::vector<char> picks;
        std::string layer0, layer1;
    } cases[] = {
        // On top the first picked lies uppermost; at the bottom it lies lowest.
        {ID_BRING_TO_FRONT, {'a', 'c', 'e'}, "bca", "de"},
        {ID_BRING_TO_FRONT, {'c', 'a', 'e'}, "bac", "de"},
        {ID_SEND_TO_BACK, {'c', 'a', 'e'}, "cab", "ed"},
        {ID_SEND_TO_BACK, {'a', 'c'}, "acb", "de"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.picks.begin(), c.picks.end()));
        SelectHarness h(2);
        h.view->SendCommand(ID_OTHER_LAYERS_EDIT);
        const std::map<char, CPoint> at = {
            {'a', {0, 0}}, {'b', {0, 50}}, {'c', {0, 100}}, {'d', {200, 0}}, {'e', {200, 50}}};
        for (const auto& [name, p] : at)
            h.Line(p.x, p.y, p.x + 100, p.y, p.x < 200 ? 0 : 1);
        std::vector<MFloatPoint> points;
        for (char name : c.picks)
            points.push_back(h.P(at.at(name).x + 50, at.at(name).y));
        PickAll(h, points);
        OneStep(h, c.command, static_cast<int>(c.picks.size()));
        const auto names = [&](int layer) {
            std::string out;
            for (int i = 0; i < CountOn(h, layer); ++i)
                for (const auto& [name, p] : at)
                    if (Near(LineOn(h, layer, i)->m_start, h.P(p.x, p.y))) out += name;
            return out;
        };
        EXPECT_EQ(names(0), c.layer0);
        EXPECT_EQ(names(1), c.layer1);
        // The copies stay picked in the selection's order: twice more changes nothing.
        PickAll(h, points);
        h.view->SendCommand(c.command);
        h.view->SendCommand(c.command);
        EXPECT_EQ(names(0), c.layer0) << "again";
        EXPECT_EQ(names(1), c.layer1) << "again";
    }
}

// ----- align and distribute ---------------------------------------------------------------------

TEST(SelectToolArrange, AlignsToTheUnionExtent) {
    struct Case {
        UINT id;
        CPoint firstStart, secondStart;
    };
    // Lines (0,0)-(40,20) and (100,60)-(120,100): union (0,0)-(120,100), centre (60,50).
    const std::vector<Case> cases = {
        {ID_ALIGN_LEFT, {0, 0}, {0, 60}},     {ID_ALIGN_RIGHT, {80, 0}, {100, 60}},
        {ID_ALIGN_TOP, {0, 80}, {100, 60}},   {ID_ALIGN_BOTTOM, {0, 0}, {100, 0}},
        {ID_ALIGN_BASE_X, {40, 0}, {50, 60}}, {ID_ALIGN_BASE_Y, {0, 40}, {100, 30}},
    };
    for (const Case& c : cases) {
        SelectHarness h;
        h.Line(0, 0, 40, 20);
        h.Line(100, 60, 120, 100);
        PickAll(h, {h.P(20, 10), h.P(110, 80)});
        OneStep(h, c.id, 2);
        EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(c.firstStart.x, c.firstStart.y))) << c.id;
        EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_start, h.P(c.secondStart.x, c.secondStart.y))) << c.id;
    }
}

TEST(SelectToolArrange, DistributeMovesTheMiddleCentreToEqualSteps) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(200, 40, 300, 40);
    h.Line(400, 10, 500, 10);
    PickAll(h, {h.P(50, 0), h.P(250, 40), h.P(450, 10)});
    OneStep(h, ID_SPACE_EVENLY_Y, 3);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(0, 0)));
    EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_start, h.P(200, 40)));
    EXPECT_TRUE(Near(LineOn(h, 0, 2)->m_start, h.P(400, 20)));
}

// ----- explode ----------------------------------------------------------------------------------

TEST(SelectToolArrange, ExplodeGivesEveryEdgeAndKeepsAFill) {
    SelectHarness h;
    MPolygonShape* rect = Poly(h, {{0, 0}, {100, 0}, {100, 60}, {0, 60}}, true);
    rect->SetFillStyle(MFillStyle(RGB(0, 255, 0)));
    h.Click(h.P(50, 0));
    OneStep(h, ID_EXPLODE_TO_LINES, 5);
    ASSERT_EQ(CountOn(h, 0), 5);
    auto* fill = dynamic_cast<MPolygonShape*>(ShapeAt(h, 0, 0));
    ASSERT_NE(fill, nullptr) << "the fill-only copy takes the rectangle's place";
    EXPECT_EQ(fill->GetColor(), kNoColor);
    EXPECT_FALSE(fill->GetFillStyle().IsNone());
    EXPECT_TRUE(Near(LineOn(h, 0, 4)->m_start, h.P(0, 60)));
    EXPECT_TRUE(Near(LineOn(h, 0, 4)->m_end, h.P(0, 0)));
}

TEST(SelectToolArrange, ExplodeClosesATriangleAndLeavesAnOpenPolygonOpen) {
    SelectHarness t;
    Poly(t, {{0, 0}, {100, 0}, {100, 60}}, true);
    Poly(t, {{200, 0}, {300, 0}, {300, 60}, {200, 60}}, false);
    t.Click(t.P(50, 0));
    OneStep(t, ID_EXPLODE_TO_LINES, 3);
    EXPECT_EQ(CountOn(t, 0), 4) << "a closed triangle gives three lines";
    t.Click(t.P(250, 0));
    ASSERT_EQ(t.Picks(), 1);
    OneStep(t, ID_EXPLODE_TO_LINES, 3);
    EXPECT_EQ(CountOn(t, 0), 6) << "an open polygon of 4 vertices gives 3 lines";
}

TEST(SelectToolArrange, ExplodedPiecesStayInTheirPolygonsLayerAndPlace) {
    SelectHarness h(2);
    h.view->SendCommand(ID_OTHER_LAYERS_EDIT);
    MLineShape* before0 = h.Line(0, 200, 100, 200, 0);
    Poly(h, {{0, 0}, {100, 0}, {100, 60}}, false, 0);
    MLineShape* after0 = h.Line(0, 250, 100, 250, 0);
    Poly(h, {{200, 0}, {300, 0}, {300, 60}}, false, 1);
    PickAll(h, {h.P(50, 0), h.P(250, 0)});
    OneStep(h, ID_EXPLODE_TO_LINES, 4);
    ASSERT_EQ(CountOn(h, 0), 4);
    ASSERT_EQ(CountOn(h, 1), 2);
    EXPECT_EQ(ShapeAt(h, 0, 0), before0);
    EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_start, h.P(0, 0))) << "the first piece in the polygon's place";
    EXPECT_EQ(ShapeAt(h, 0, 2), after0);
    EXPECT_TRUE(Near(LineOn(h, 0, 3)->m_start, h.P(100, 0)));
    EXPECT_TRUE(Near(LineOn(h, 1, 0)->m_start, h.P(200, 0)));
    EXPECT_TRUE(Near(LineOn(h, 1, 1)->m_start, h.P(300, 0)));
}

// ----- group and ungroup ------------------------------------------------------------------------

TEST(SelectToolArrange, GroupTakesTheFirstShapesPlaceAndLayer) {
    SelectHarness h(2);
    h.view->SendCommand(ID_OTHER_LAYERS_EDIT);
    h.Line(0, 0, 100, 0, 1);
    MLineShape* other = h.Line(0, 100, 100, 100, 1);
    h.Line(200, 0, 300, 0, 0);
    h.doc.GetLayers()->SetCurrentLayer(0);
    PickAll(h, {h.P(50, 0), h.P(250, 0)});
    OneStep(h, ID_GROUP, 1);
    EXPECT_EQ(CountOn(h, 0), 0);
    ASSERT_EQ(CountOn(h, 1), 2);
    auto* group = dynamic_cast<MGroupShape*>(ShapeAt(h, 1, 0));
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->GetShapeCount(), 2);
    EXPECT_EQ(ShapeAt(h, 1, 1), other);
}

// Grouped without a bound, the deepest groups were folded away when the drawing was saved or copied.
TEST(SelectToolArrange, GroupRefusesToNestDeeperThanTheLimit) {
    SelectHarness h;
    auto* chain = new MGroupShape;
    MGroupShape* level = chain;
    for (int depth = 1; depth < kMaxGroupNesting - 1; ++depth)
        level = static_cast<MGroupShape*>(level->GetShapeAt(level->AddShape(new MGroupShape)));
    level->AddShape(new MLineShape(h.P(0, 0), h.P(100, 0)));
    h.Add(chain);
    h.Line(200, 0, 300, 0);
    h.Line(400, 0, 500, 0);
    PickAll(h, {h.P(50, 0), h.P(250, 0)});
    OneStep(h, ID_GROUP, 1);
    PickAll(h, {h.P(50, 0), h.P(450, 0)});
    MessageBoxRecorder messages;
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_GROUP); });
    EXPECT_EQ(h.Picks(), 2);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].text,
              AfxFormatString1(IDS_GROUP_TOO_DEEP, std::to_string(kMaxGroupNesting)));
}

TEST(SelectToolArrange, UngroupPutsEachFirstMemberInItsGroupsPlaceAndTheRestOnTheCurrentLayer) {
    SelectHarness h(2);
    h.view->SendCommand(ID_OTHER_LAYERS_EDIT);
    h.Line(0, 0, 100, 0, 0);
    h.Line(0, 50, 100, 50, 0);
    h.Line(0, 100, 100, 100, 0);
    MLineShape* after = h.Line(0, 150, 100, 150, 0);
    h.Line(200, 0, 300, 0, 1);
    h.Line(200, 50, 300, 50, 1);
    PickAll(h, {h.P(50, 0), h.P(50, 50), h.P(50, 100)});
    h.view->SendCommand(ID_GROUP);
    PickAll(h, {h.P(250, 0), h.P(250, 50)});
    h.view->SendCommand(ID_GROUP);
    h.doc.GetLayers()->SetCurrentLayer(1);
    PickAll(h, {h.P(50, 0), h.P(250, 0)});
    OneStep(h, ID_UNGROUP, 5);
    ASSERT_EQ(CountOn(h, 0), 2);
    ASSERT_EQ(CountOn(h, 1), 4);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(0, 0))) << "where the first group was";
    EXPECT_EQ(ShapeAt(h, 0, 1), after);
    EXPECT_TRUE(Near(LineOn(h, 1, 0)->m_start, h.P(200, 0))) << "where the second group was";
    EXPECT_TRUE(Near(LineOn(h, 1, 1)->m_start, h.P(0, 50)));
    EXPECT_TRUE(Near(LineOn(h, 1, 2)->m_start, h.P(0, 100)));
    EXPECT_TRUE(Near(LineOn(h, 1, 3)->m_start, h.P(200, 50)));
}

// ----- the view's selection services ------------------------------------------------------------

TEST(SelectToolServices, DeleteOnTwoLayersIsOneStepAndThePackLeavesTheShapes) {
    SelectHarness h(2);
    h.view->SendCommand(ID_OTHER_LAYERS_EDIT);
    h.Line(0, 0, 100, 0, 0);
    h.Line(200, 0, 300, 0, 1);
    PickAll(h, {h.P(50, 0), h.P(250, 0)});
    {
        std::unique_ptr<MPackShape> pack(h.Select()->CreateSelectionPack(h.view.get()));
        ASSERT_EQ(pack->GetShapeCount(), 2);
        EXPECT_EQ(pack->GetShapeAt(0), h.Pick(0));
    }
    EXPECT_EQ(CountOn(h, 0) + CountOn(h, 1), 2) << "deleting the pack leaves the shapes";
    OneStep(h, ID_EDIT_CLEAR, 0);
    EXPECT_EQ(CountOn(h, 0) + CountOn(h, 1), 0);
    EXPECT_EQ(h.Picks(), 0);
}

TEST(SelectToolServices, InsertAddsOneStepAndSelects) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    auto* pack = new MPackShape();
    pack->AddShape(new MLineShape(h.P(0, 50), h.P(100, 50)));
    pack->AddShape(new MLineShape(h.P(0, 100), h.P(100, 100)));
    h.ExpectOneUndoStep([&] {
        h.Select()->InsertShape(h.view.get(), pack);
        ExpectPicksInDrawing(h, 2);
        EXPECT_TRUE(h.Select()->Handles().IsShown());
    });
    for (int i = 0; i < pack->GetShapeCount(); ++i)
        EXPECT_EQ(pack->GetShapeAt(i), ShapeAt(h, 0, i + 1));
    delete pack;
    EXPECT_EQ(CountOn(h, 0), 3);
}

// ----- join into polylines ----------------------------------------------------------------------

namespace {

MPolygonShape* PolygonOn(SelectHarness& h, int layer, int index) {
    return dynamic_cast<MPolygonShape*>(ShapeAt(h, layer, index));
}
void ExpectVertices(SelectHarness& h, MPolygonShape* p, const std::vector<CPoint>& pixels) {
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->GetPointCount(), static_cast<int>(pixels.size()));
    for (std::size_t k = 0; k < pixels.size(); ++k)
        EXPECT_TRUE(Near(p->GetPoint(static_cast<int>(k)), h.P(pixels[k].x, pixels[k].y))) << "vertex " << k;
}

}  // namespace

TEST(SelectToolJoin, ThreeLinesCloseInTheSecondLinesPlace) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    MLineShape* other = h.Line(300, 0, 400, 0);
    h.Line(100, 0, 100, 100);
    h.Line(100, 100, 0, 0);
    PickAll(h, {h.P(50, 0), h.P(100, 50), h.P(50, 50)});
    OneStep(h, ID_JOIN_POLYLINE, 1);
    ASSERT_EQ(CountOn(h, 0), 2);
    EXPECT_EQ(ShapeAt(h, 0, 0), other);
    MPolygonShape* p = PolygonOn(h, 0, 1);
    ExpectVertices(h, p, {{100, 100}, {0, 0}, {100, 0}});
    EXPECT_TRUE(p->IsClosed());
}

TEST(SelectToolJoin, TwoLinesMakeAnOpenPolygonAndAnUntouchedLineStays) {
    SelectHarness h;
    h.Line(100, 0, 200, 0);
    h.Line(0, 0, 100, 0);
    MLineShape* apart = h.Line(0, 100, 100, 100);
    PickAll(h, {h.P(150, 0), h.P(50, 0), h.P(50, 100)});
    OneStep(h, ID_JOIN_POLYLINE, 1);
    ASSERT_EQ(CountOn(h, 0), 2);
    ExpectVertices(h, PolygonOn(h, 0, 0), {{0, 0}, {100, 0}, {200, 0}});
    EXPECT_FALSE(PolygonOn(h, 0, 0)->IsClosed());
    EXPECT_EQ(ShapeAt(h, 0, 1), apart);
}

TEST(SelectToolJoin, ThreeSegmentsAtOnePointInventNoEdge) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 0, 0, 100);
    MLineShape* branch = h.Line(0, 0, -100, 0);
    PickAll(h, {h.P(50, 0), h.P(0, 50), h.P(-50, 0)});
    OneStep(h, ID_JOIN_POLYLINE, 1);
    ASSERT_EQ(CountOn(h, 0), 2);
    ExpectVertices(h, PolygonOn(h, 0, 0), {{0, 100}, {0, 0}, {100, 0}});
    EXPECT_EQ(ShapeAt(h, 0, 1), branch) << "the branch stays as it was";
}

TEST(SelectToolJoin, ChainsOnTwoLayersStayInTheirLayers) {
    SelectHarness h(2);
    h.view->SendCommand(ID_OTHER_LAYERS_EDIT);
    h.Line(0, 0, 100, 0, 0);
    h.Line(100, 0, 100, 100, 0);
    h.Line(200, 0, 300, 0, 1);
    h.Line(300, 0, 300, 100, 1);
    // (300, 70): the frame's right handle sits at (300, 50).
    PickAll(h, {h.P(50, 0), h.P(250, 0), h.P(100, 50), h.P(300, 70)});
    OneStep(h, ID_JOIN_POLYLINE, 2);
    ASSERT_EQ(CountOn(h, 0), 1);
    ASSERT_EQ(CountOn(h, 1), 1);
    ExpectVertices(h, PolygonOn(h, 0, 0), {{0, 0}, {100, 0}, {100, 100}});
    ExpectVertices(h, PolygonOn(h, 1, 0), {{200, 0}, {300, 0}, {300, 100}});
}

TEST(SelectToolJoin, ShapesThatTouchNothingChangeNothing) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 100, 100, 100);
    int beeps = 0;
    CProgramSlot<BeepHandler>::Override counting(MessageBeepSlot(), [&](UINT) { ++beeps; });
    PickAll(h, {h.P(50, 0), h.P(50, 100)});
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_JOIN_POLYLINE); });
    EXPECT_EQ(beeps, 1) << "the user hears that nothing was joined";
    EXPECT_EQ(h.Picks(), 0) << "each shape left the selection to start a chain";
    EXPECT_TRUE(h.NoXorResidue());
    PickAll(h, {h.P(50, 0), h.P(50, 100)});
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_JOIN_POLYLINE); });
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(h.Picks(), 0);
}

namespace {

// A line whose Recalc fails, as a shape read from a damaged clipboard might.
class FailingLine : public MLineShape {
public:
    using MLineShape::MLineShape;
    void Recalc(MCadView*) override { throw std::runtime_error("broken member"); }
};

}  // namespace

TEST(SelectToolServices, AnInsertThatFailsTakesNoneOfTheShapes) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    auto pack = std::make_unique<MPackShape>();
    std::vector<std::unique_ptr<MCadShape>> members;
    members.emplace_back(new MLineShape(h.P(0, 50), h.P(100, 50)));
    members.emplace_back(new MLineShape(h.P(0, 100), h.P(100, 100)));
    members.emplace_back(new FailingLine(h.P(0, 150), h.P(100, 150)));
    for (auto& m : members)
        pack->AddShape(m.get());
    ExpectNoChange(
        h, [&] { EXPECT_THROW(h.Select()->InsertShape(h.view.get(), pack.get()), std::runtime_error); });
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
    // The caller still owns every member: deleting them here is the only deletion.
}

TEST(SelectToolArrange, MovesWithAndWithoutCopyAndScalesAboutTheCentre) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    const MFloatPoint offset = h.P(0, 50) - h.P(0, 0);
    h.ExpectOneUndoStep([&] {
        h.Select()->Edits().Move(h.view.get(), offset, FALSE);
        ExpectPicksInDrawing(h, 1);
    });
    ASSERT_EQ(CountOn(h, 0), 1);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(0, 50)));
    h.Click(h.P(50, 50));
    h.ExpectOneUndoStep([&] {
        h.Select()->Edits().Move(h.view.get(), offset, TRUE);
        ExpectPicksInDrawing(h, 1);
    });
    ASSERT_EQ(CountOn(h, 0), 2) << "the original stays";
    EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_start, h.P(0, 100)));
    h.Click(h.P(50, 100));
    h.ExpectOneUndoStep([&] { h.Select()->Edits().Scale(h.view.get(), 2.0, 1.0); });
    EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_start, h.P(-50, 100)));
    EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_end, h.P(150, 100)));
    h.Click(h.P(50, 100));
    ExpectNoChange(h, [&] { h.Select()->Edits().Scale(h.view.get(), 1e-16, 1.0); });
}
