// Hatch and fusion over every kind of closed outline, kept or computed: clicked on its edge, each is
// one boundary, whole.

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "model/geometry/Geometry.h"
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

template <class T, class F>
MCadShape* Make(F set) {
    T* shape = new T();
    set(*shape);
    return shape;
}

MCadShape* Square(const PixelGrid& px, int at) {
    auto* shape = new MPolygonShape(TRUE);
    for (const MFloatPoint& p : {px(at, at), px(at + 100, at), px(at + 100, at + 100), px(at, at + 100)})
        shape->AddPoint(p);
    return shape;
}

// Each shape spans pixels (0, 0)-(100, 100) and has an edge through (0, 50); null when drawn by the tool.
MCadShape* Outline(int kind, ToolHarness& h, const PixelGrid& px) {
    const MFloatPoint o = px(0, 0), c = px(50, 50), a = px(-20, -10), b = px(80, 90);
    const double r = px(50, 0).x - o.x;
    switch (kind) {
        case 0:
            return Square(px, 0);
        case 1:  // a rectangle drawn with its polygon box
            RectPolygonFlag() = 1;
            h.Choose(ID_TOOL_RECT);
            h.Click(o);
            h.Click(px(100, 100));
            return nullptr;
        case 2:  // a rectangle moved twice
            return Make<MRectShape>([&](auto& s) {
                s.SetRect(a.x, a.y, b.x - a.x, b.y - a.y);
                s.GetPoints();
                s.Move(px(10, 5) - o);
                s.Move(px(10, 5) - o);
            });
        case 3:
            return Make<MCircleShape>([&](auto& s) { s.SetCircle(c.x, c.y, r); });
        case 4:
            return Make<MEllipseShape>([&](auto& s) { s.SetEllipse(c.x, c.y, r, 0.8 * r); });
        default:
            return Make<MCircleFanShape>([&](auto& s) { s.SetArc(o.x, o.y, 2 * r, 0.0, kPi / 2); });
    }
}

void Append(ToolHarness& h, MCadShape* shape) {
    h.doc.AppendShape(shape, 0);
    shape->Recalc(h.view.get());
}

int Count(ToolHarness& h) {
    return h.doc.GetLayers()->GetLayer(0)->GetSize();
}

}  // namespace

TEST(ClosedOutlineKinds, HatchAndFusionTakeEachWhole) {
    for (int kind = 0; kind < 6; ++kind) {
        SCOPED_TRACE(kind);
        ToolHarness h;
        const PixelGrid px(h, CPoint(300, 400));
        if (MCadShape* shape = Outline(kind, h, px)) Append(h, shape);

        // The one clicked outline bounds the hatch by itself.
        h.Choose(ID_TOOL_HATCH);
        h.Repaint();
        h.Click(px(0, 50));
        EXPECT_EQ(h.Tool()->Lists().PickCount(), 1);
        h.dialogs.Script(IDD_HATCH, DialogScript().SetText(IDC_HATCH_PITCH, "3").Ok());
        h.RightClick(px(30, 50));
        EXPECT_EQ(Count(h), 2) << "the outline and its hatch";
        h.view->SendCommand(ID_EDIT_UNDO);

        // OR with an overlapping square leaves one shape in place of both.
        Append(h, Square(px, 50));
        h.Choose(ID_TOOL_FUSION);
        h.Repaint();
        h.Click(px(0, 50));
        h.dialogs.Script(IDD_FUSION_OPERATOR, DialogScript().Click(IDC_FUSION_OR));
        h.Click(px(150, 120));
        EXPECT_EQ(Count(h), 1);
    }
}
