// The fusion tool through the view: two clicked closed shapes, the operation chosen in its dialog,
// the result polygons in place of both shapes in one undo step.
#include <cmath>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/ToolSettings.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "tests/tools/edit/EditTestSupport.h"

using namespace tooltest;
using namespace edittest;

namespace {

class Fusion : public ::testing::Test {
protected:
    Fusion() : px(h, CPoint(300, 400)) { h.Choose(ID_TOOL_FUSION); }
    // An axis-aligned closed rectangle between pixel offsets.
    MPolygonShape* Box(int x0, int y0, int x1, int y1) {
        auto* shape = new MPolygonShape(TRUE);
        for (const MFloatPoint& p : {px(x0, y0), px(x1, y0), px(x1, y1), px(x0, y1)})
            shape->AddPoint(p);
        shape->SetColor(RGB(0, 128, 0));
        h.doc.AppendShape(shape, 0);
        shape->Recalc(h.view.get());
        return shape;
    }
    // Clicks the two shapes at points of their outlines and answers the dialog with the button.
    void Combine(const MFloatPoint& first, const MFloatPoint& second, UINT button) {
        h.Repaint();
        h.Click(first);
        if (button)
            h.dialogs.Script(IDD_FUSION_OPERATOR, DialogScript().Click(static_cast<int>(button)));
        else
            h.dialogs.Script(IDD_FUSION_OPERATOR, DialogScript().Cancel());
        h.Click(second);
    }
    std::vector<MPolygonShape*> Outlines() {
        std::vector<MPolygonShape*> out;
        const MLayer* shapes = h.doc.GetLayers()->GetLayer(0);
        for (int i = 0; i < shapes->GetSize(); ++i)
            if (auto* p = dynamic_cast<MPolygonShape*>(shapes->GetAt(i))) out.push_back(p);
        return out;
    }
    // The areas of the drawing's polygons, in square pixels, in drawing order.
    std::vector<long> Areas() {
        std::vector<long> out;
        const double unit = px.Unit();
        for (MPolygonShape* p : Outlines())
            out.push_back(std::lround(std::fabs(p->GetSignedArea()) / (unit * unit)));
        return out;
    }
    // Rectangles A (0, 0)-(100, 100) and B (50, 50)-(150, 150) overlapping in a quarter of each.
    void Overlapping(UINT button) {
        Box(0, 0, 100, 100);
        Box(50, 50, 150, 150);
        h.ExpectOneUndoStep([&] { Combine(px(0, 30), px(150, 120), button); });
        EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
        EXPECT_TRUE(h.NoXorResidue());
    }
    ToolHarness h;
    PixelGrid px;
};

}  // namespace

TEST_F(Fusion, AndOfTwoOverlappingRectanglesIsTheirOverlap) {
    EXPECT_EQ(h.Prompt(), "[演算]:１つめの図形選択");
    Overlapping(IDC_FUSION_AND);
    EXPECT_EQ(Areas(), std::vector<long>{2500});
    EXPECT_TRUE(Outlines()[0]->IsClosedFlag());
}

TEST_F(Fusion, OrOfTwoOverlappingRectanglesIsTheirUnion) {
    Overlapping(IDC_FUSION_OR);
    EXPECT_EQ(Areas(), std::vector<long>{17500});
}

TEST_F(Fusion, MinusCutsTheOverlapAwayFromTheFirst) {
    Overlapping(IDC_FUSION_MINUS);
    EXPECT_EQ(Areas(), std::vector<long>{7500});
    EXPECT_EQ(Outlines()[0]->GetPointCount(), 6) << "an L-shaped outline";
}

TEST_F(Fusion, OneRectangleInsideAnother) {
    Box(0, 0, 200, 200);
    Box(50, 50, 100, 100);
    h.ExpectOneUndoStep([&] { Combine(px(0, 30), px(100, 70), IDC_FUSION_MINUS); });
    std::vector<long> areas = Areas();
    std::sort(areas.begin(), areas.end());
    EXPECT_EQ(areas, (std::vector<long>{2500, 40000})) << "the outer and the inner outline";

    h.view->SendCommand(ID_EDIT_UNDO);
    h.ExpectOneUndoStep([&] { Combine(px(0, 30), px(100, 70), IDC_FUSION_AND); });
    EXPECT_EQ(Areas(), std::vector<long>{2500});
    h.view->SendCommand(ID_EDIT_UNDO);
    h.ExpectOneUndoStep([&] { Combine(px(0, 30), px(100, 70), IDC_FUSION_OR); });
    EXPECT_EQ(Areas(), std::vector<long>{40000});
}

TEST_F(Fusion, SeparateShapesAndCancel) {
    Box(0, 0, 50, 50);
    Box(100, 0, 150, 50);
    // AND of separate shapes is empty: nothing changes.
    ExpectNoChange(h, [&] { Combine(px(0, 30), px(150, 30), IDC_FUSION_AND); });
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    ExpectNoChange(h, [&] { Combine(px(0, 30), px(150, 30), 0); });
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    // After the dialog the next click is a whole click: it picks again.
    h.Click(px(0, 30));
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 1);
    h.Tool()->End(h.view.get(), FALSE);

    h.ExpectOneUndoStep([&] { Combine(px(0, 30), px(150, 30), IDC_FUSION_OR); });
    EXPECT_EQ(Areas(), (std::vector<long>{2500, 2500}));
    h.view->SendCommand(ID_EDIT_UNDO);
    h.ExpectOneUndoStep([&] { Combine(px(0, 30), px(150, 30), IDC_FUSION_MINUS); });
    EXPECT_EQ(Areas(), std::vector<long>{2500});
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(Fusion, ACircleAndAnEllipseCombineAsPolygonsWithTheCurrentAttributes) {
    MDrawAttributes& attributes = GetDrawAttributes();
    attributes.lineColor = RGB(255, 0, 0);
    attributes.lineWidth = 0.7;
    const double unit = px.Unit();
    h.AddCircle(px(0, 0).x, px(0, 0).y, 60 * unit);
    auto* ellipse = new MEllipseShape();
    ellipse->SetEllipse(px(60, 0).x, px(60, 0).y, 60 * unit, 30 * unit);
    h.doc.AppendShape(ellipse, 0);
    ellipse->Recalc(h.view.get());
    h.ExpectOneUndoStep([&] { Combine(px(-60, 0), px(120, 0), IDC_FUSION_OR); });
    const std::vector<MPolygonShape*> outlines = Outlines();
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_EQ(outlines[0]->GetTypeName(), MPolygonShape().GetTypeName()) << "a plain polygon";
    EXPECT_EQ(outlines[0]->GetColor(), RGB(255, 0, 0));
    EXPECT_DOUBLE_EQ(outlines[0]->GetLineWidth(), 0.7);
}
