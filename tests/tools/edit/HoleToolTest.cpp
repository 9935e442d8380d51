// The two partial-erase tools through the view: a dragged rectangle, and the area between two picked
// lines. Drags snap to the grid, so regions corners land exactly on grid points.
#include <gmock/gmock.h>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "model/SnapPoint.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/tools/edit/EditTestSupport.h"
#include "view/Grid.h"

using namespace tooltest;
using namespace edittest;

namespace {

// A grid point left of the middle of the paper, so that what the tests change stays clear of the
// page lines (a partial repaint draws their dashes in another phase).
const MFloatPoint kBase(13000, 14850);

class Erase : public ::testing::Test {
protected:
    Erase() {
        GetOptionRecord().m_snap = kSnapGrid;
        step = h.view->GetGrid()->m_pitchX;
    }
    // Grid point (i, j) counted from the base.
    MFloatPoint G(double i, double j) const { return {kBase.x + i * step, kBase.y + j * step}; }
    MLineShape* Line(MFloatPoint a, MFloatPoint b, int layer = 0) {
        return h.AddLine(a.x, a.y, b.x, b.y, layer);
    }
    MPolygonShape* Outline(std::initializer_list<MFloatPoint> points, bool closed) {
        auto* shape = new MPolygonShape(closed);
        for (const MFloatPoint& p : points)
            shape->AddPoint(p);
        shape->SetFillStyle(MFillStyle(RGB(0, 255, 0)));
        h.doc.AppendShape(shape, 0);
        shape->Recalc(h.view.get());
        return shape;
    }
    void DragErase(MFloatPoint a, MFloatPoint b) {
        h.Repaint();
        h.ExpectOneUndoStep([&] { h.Drag(a, b); });
        EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
        EXPECT_TRUE(h.NoXorResidue());
    }
    std::vector<MPolygonShape*> OutlinesOnLayer(int layer) {
        std::vector<MPolygonShape*> out;
        const MLayer* shapes = h.doc.GetLayers()->GetLayer(layer);
        for (int i = 0; i < shapes->GetSize(); ++i)
            if (auto* p = dynamic_cast<MPolygonShape*>(shapes->GetAt(i))) out.push_back(p);
        return out;
    }
    ToolHarness h{800, 600, 2};
    double step = 0;
};

}  // namespace

TEST_F(Erase, ARectangleCutsALineInTwoAndErasesWhatLiesInside) {
    h.Choose(ID_TOOL_HOLE);
    EXPECT_EQ(h.Prompt(), "[部分消去]:左ボタンドラッグで消去する部分を指定");
    Line(G(0, 0), G(10, 0));
    Line(G(4.5, 0.5), G(5.5, 0.5));
    DragErase(G(4, -1), G(6, 1));
    const std::string text = h.NativeText();
    EXPECT_EQ(Lines(text).size(), 2u);
    EXPECT_TRUE(HasLine(text, G(0, 0), G(4, 0), 0));
    EXPECT_TRUE(HasLine(text, G(6, 0), G(10, 0), 0));
}

TEST_F(Erase, ALineThroughTheCornersKeepsItsPartsOutside) {
    h.Choose(ID_TOOL_HOLE);
    Line(G(0, 0), G(10, 10));
    DragErase(G(4, 4), G(6, 6));
    const std::string text = h.NativeText();
    EXPECT_EQ(Lines(text).size(), 2u);
    EXPECT_TRUE(HasLine(text, G(0, 0), G(4, 4), 0));
    EXPECT_TRUE(HasLine(text, G(6, 6), G(10, 10), 0));
}

TEST_F(Erase, ALineEndingOnAnEdgeOrAnOutlineAroundTheRectangleStays) {
    h.Choose(ID_TOOL_HOLE);
    Line(G(0, 0), G(4, 0));
    Outline({G(-2, -3), G(12, -3), G(12, 3), G(-2, 3)}, true);
    h.Repaint();
    ExpectNoChange(h, [&] { h.Drag(G(4, -1), G(6, 1)); });
    ASSERT_EQ(OutlinesOnLayer(0).size(), 1u);
    EXPECT_TRUE(OutlinesOnLayer(0)[0]->IsClosedFlag());
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(Erase, AClosedRectangleCrossedOnOneSideComesBackAsOneOpenPolyline) {
    h.Choose(ID_TOOL_HOLE);
    Outline({G(0, 0), G(10, 0), G(10, 10), G(0, 10)}, true);
    DragErase(G(8, 4), G(12, 6));
    const std::vector<MPolygonShape*> outlines = OutlinesOnLayer(0);
    ASSERT_EQ(outlines.size(), 1u);
    const MPolygonShape& piece = *outlines[0];
    EXPECT_FALSE(piece.IsClosedFlag());
    EXPECT_FALSE(piece.GetFillStyle() == MFillStyle(RGB(0, 255, 0))) << "the fill is gone";
    // From one crossing round the far side to the other.
    ASSERT_EQ(piece.GetPointCount(), 6);
    const MFloatPoint a = piece.GetPoint(0), b = piece.GetPoint(5);
    EXPECT_TRUE((a == G(10, 6) && b == G(10, 4)) || (a == G(10, 4) && b == G(10, 6)));
}

TEST_F(Erase, PiecesKeepTheirLayerPlaceStyleAndOwnArrows) {
    GetOptionRecord().m_layer |= kLayerOthersSelectable;
    h.Choose(ID_TOOL_HOLE);
    Line(G(4.5, 0.2), G(5.5, 0.2));  // inside: erased whole, listed first
    Line(G(0, 0), G(10, 0));
    Line(G(0, 8), G(10, 8));
    MLineShape* styled = Line(G(0, 0.5), G(10, 0.5), 1);
    styled->SetColor(0xFF);
    styled->SetLineWidth(0.5);
    styled->SetLineStyle(1);
    styled->SetArrowsEx(1, 3.0, 2, 4.0);
    DragErase(G(4, -1), G(6, 1));
    const std::string text = h.NativeText();
    const std::size_t second = text.find("[LAYER]", text.find("[LAYER]") + 1);
    ASSERT_NE(second, std::string::npos);
    const std::vector<Segment> layer0 = Lines(text.substr(0, second));
    const std::vector<Segment> layer1 = Lines(text.substr(second));
    ASSERT_EQ(layer0.size(), 3u);
    ASSERT_EQ(layer1.size(), 2u);
    // In place: the first piece where its line was, the others after the layer's shapes.
    EXPECT_EQ(layer0[0].x1, G(4, 0).x);
    EXPECT_EQ(layer0[1].y0, G(0, 8).y);
    EXPECT_EQ(layer0[2].x0, G(6, 0).x);
    const std::vector<Values> styledPieces = Records(text.substr(second), "LINE");
    for (const Values& v : styledPieces) {
        EXPECT_EQ(v[4], 0xFF);
        EXPECT_EQ(v[5], 1);
        EXPECT_EQ(v[6], 0.5);
        const bool first = v[0] == G(0, 0.5).x;
        EXPECT_EQ(v[7], first ? 1 : 0) << "start arrow only where the line's own start stays";
        EXPECT_EQ(v[9], first ? 0 : 2) << "end arrow only where the line's own end stays";
    }
}

TEST_F(Erase, BetweenTwoLinesEverythingButTextsIsCut) {
    h.Choose(ID_TOOL_HOLE2LINE);
    Line(G(0, 0), G(10, 0));
    Line(G(0, 4), G(10, 4));
    Line(G(5, -2), G(5, 6));
    Line(G(2, 1), G(3, 1));  // wholly inside
    auto* text = new MTextShape();
    text->SetString("x");
    text->Move(G(6, 2) - MFloatPoint());
    h.doc.AppendShape(text, 0);
    text->Recalc(h.view.get());
    h.Repaint();
    const int texts = static_cast<int>(Records(h.NativeText(), "TEXT").size());
    h.Click(G(1, 0));
    h.ExpectOneUndoStep([&] { h.Click(G(1, 4)); });
    const std::string out = h.NativeText();
    EXPECT_EQ(Lines(out).size(), 4u);
    EXPECT_TRUE(HasLine(out, G(0, 0), G(10, 0), 0));
    EXPECT_TRUE(HasLine(out, G(0, 4), G(10, 4), 0));
    EXPECT_TRUE(HasLine(out, G(5, -2), G(5, 0), 0));
    EXPECT_TRUE(HasLine(out, G(5, 4), G(5, 6), 0));
    EXPECT_EQ(static_cast<int>(Records(out, "TEXT").size()), texts);
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(Erase, TwoLinesOfTheSameDirectionOrCollinearOnes) {
    h.Choose(ID_TOOL_HOLE2LINE);
    Line(G(0, 0), G(10, 0));
    Line(G(0, 4), G(10, 4));
    Line(G(2, -2), G(8, 6));
    h.Repaint();
    h.Click(G(1, 0));
    h.ExpectOneUndoStep([&] { h.Click(G(1, 4)); });
    const std::string out = h.NativeText();
    // Not the crossed quadrilateral (a0, b0, a1, b1): the band between the lines.
    EXPECT_EQ(Lines(out).size(), 4u);
    EXPECT_TRUE(HasLine(out, G(2, -2), G(3.5, 0), 1e-6));
    EXPECT_TRUE(HasLine(out, G(6.5, 4), G(8, 6), 1e-6));

    // Collinear lines enclose nothing: nothing changes.
    Line(G(0, 8), G(3, 8));
    Line(G(5, 8), G(9, 8));
    Line(G(4, 7), G(4, 9));
    h.Repaint();
    ExpectNoChange(h, [&] {
        h.Click(G(1, 8));
        h.Click(G(6, 8));
    });
}

TEST_F(Erase, ADragWithTheTwoLineToolIsTheRectangleEraseOfLines) {
    h.Choose(ID_TOOL_HOLE2LINE);
    Line(G(0, 0), G(10, 0));
    Line(G(0, 4), G(10, 4));
    Line(G(5, -2), G(5, 6));
    Outline({G(5.5, 0.5), G(8, 0.5), G(8, 3), G(5.5, 3)}, true);
    // The two-line tool snaps no pick to the grid: the corners land on pixels.
    const double pixel = h.ToDrawing(CPoint(1, 0)).x - h.ToDrawing(CPoint(0, 0)).x;
    DragErase(G(4, -1), G(6, 1));
    const std::string out = h.NativeText();
    EXPECT_EQ(Lines(out).size(), 5u);
    EXPECT_TRUE(HasLine(out, G(0, 0), G(4, 0), pixel));
    EXPECT_TRUE(HasLine(out, G(6, 0), G(10, 0), pixel));
    EXPECT_TRUE(HasLine(out, G(0, 4), G(10, 4), 0)) << "outside the rectangle";
    EXPECT_TRUE(HasLine(out, G(5, -2), G(5, -1), pixel));
    EXPECT_TRUE(HasLine(out, G(5, 1), G(5, 6), pixel));
    const std::vector<MPolygonShape*> outlines = OutlinesOnLayer(0);
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_TRUE(outlines[0]->IsClosedFlag()) << "the tool takes lines only";
}
