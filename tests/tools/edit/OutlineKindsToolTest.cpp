// The hatch and fusion tools over every kind of closed outline, kept or computed when asked:
// clicked on its edge, each is one boundary, whole.
#include <functional>
#include <memory>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"
#include "tests/tools/edit/EditTestSupport.h"
#include "tools/line/RectTool.h"

using namespace tooltest;
using namespace edittest;

namespace {

// Each shape spans pixels (0, 0)-(100, 100) and has an edge through (0, 50).
struct Kind {
    const char* name;
    std::function<void(ToolHarness&, const PixelGrid&)> add;
};

void Append(ToolHarness& h, MCadShape* shape) {
    h.doc.AppendShape(shape, 0);
    shape->Recalc(h.view.get());
}

const Kind kKinds[] = {
    {"polygon",
     [](ToolHarness& h, const PixelGrid& px) {
         auto* shape = new MPolygonShape(TRUE);
         for (const MFloatPoint& p : {px(0, 0), px(100, 0), px(100, 100), px(0, 100)})
             shape->AddPoint(p);
         Append(h, shape);
     }},
    {"rectangle drawn with its polygon box",
     [](ToolHarness& h, const PixelGrid& px) {
         RectPolygonFlag() = 1;
         h.Choose(ID_TOOL_RECT);
         h.Click(px(0, 0));
         h.Click(px(100, 100));
     }},
    {"rectangle moved twice",
     [](ToolHarness& h, const PixelGrid& px) {
         auto* shape = new MRectShape();
         const MFloatPoint a = px(-20, -10), b = px(80, 90), step = (px(10, 5) - px(0, 0));
         shape->SetRect(a.x, a.y, b.x - a.x, b.y - a.y);
         shape->GetPoints();
         shape->Move(step);
         shape->Move(step);
         Append(h, shape);
     }},
    {"circle",
     [](ToolHarness& h, const PixelGrid& px) {
         auto* shape = new MCircleShape();
         shape->SetCircle(px(50, 50).x, px(50, 50).y, px(50, 0).x - px(0, 0).x);
         Append(h, shape);
     }},
    {"ellipse",
     [](ToolHarness& h, const PixelGrid& px) {
         auto* shape = new MEllipseShape();
         shape->SetEllipse(px(50, 50).x, px(50, 50).y, px(50, 0).x - px(0, 0).x, px(40, 0).x - px(0, 0).x);
         Append(h, shape);
     }},
    {"sector",
     [](ToolHarness& h, const PixelGrid& px) {
         auto* shape = new MCircleFanShape();
         shape->SetArc(px(0, 0).x, px(0, 0).y, px(100, 0).x - px(0, 0).x, 0.0, kPi / 2);
         Append(h, shape);
     }},
};

int CountOf(ToolHarness& h, const std::function<bool(MCadShape*)>& test) {
    int n = 0;
    const MLayer* shapes = h.doc.GetLayers()->GetLayer(0);
    for (int i = 0; i < shapes->GetSize(); ++i)
        n += test(shapes->GetAt(i)) ? 1 : 0;
    return n;
}

}  // namespace

TEST(ClosedOutlineKinds, HatchAndFusionTakeEachWhole) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        ToolHarness h;
        const PixelGrid px(h, CPoint(300, 400));
        kind.add(h, px);
        ASSERT_EQ(CountOf(h, [](MCadShape* s) { return dynamic_cast<MPolygonShape*>(s) != nullptr; }), 1);

        // The one clicked outline bounds the hatch by itself.
        h.Choose(ID_TOOL_HATCH);
        h.Repaint();
        h.Click(px(0, 50));
        EXPECT_EQ(h.Tool()->GetPickCount(), 1);
        h.dialogs.Script(IDD_HATCH, DialogScript().SetText(IDC_HATCH_PITCH, "3").Ok());
        h.ExpectOneUndoStep([&] { h.RightClick(px(30, 50)); });
        EXPECT_EQ(CountOf(h, [](MCadShape* s) { return dynamic_cast<MGroupShape*>(s) != nullptr; }), 1);
        h.view->SendCommand(ID_EDIT_UNDO);

        // OR with an overlapping square leaves one polygon in place of both.
        auto* square = new MPolygonShape(TRUE);
        for (const MFloatPoint& p : {px(50, 50), px(150, 50), px(150, 150), px(50, 150)})
            square->AddPoint(p);
        Append(h, square);
        h.Choose(ID_TOOL_FUSION);
        h.Repaint();
        h.Click(px(0, 50));
        EXPECT_EQ(h.Prompt(), "[演算]:２つめの図形選択");
        h.dialogs.Script(IDD_FUSION_OPERATOR, DialogScript().Click(IDC_FUSION_OR));
        h.ExpectOneUndoStep([&] { h.Click(px(150, 120)); });
        EXPECT_EQ(CountOf(h, [](MCadShape*) { return true; }), 1);
        EXPECT_TRUE(h.NoXorResidue());
    }
}
