// Helpers of the select and stretch tools' tests: a harness with the select tool current and
// drawing points on whole pixels, so that presses land exactly on shapes and handles.
#pragma once

#include <string>
#include <vector>

#include "model/shapes/PointEdit.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/select/SelectionEdits.h"
#include "tools/select/StretchTool.h"

namespace selecttest {

class SelectHarness : public tooltest::ToolHarness {
public:
    SelectHarness(int layers = 1) : ToolHarness(800, 600, layers) {
        PointEditMode = FALSE;
        Choose(ID_TOOL_SELECT);
    }
    ~SelectHarness() { PointEditMode = FALSE; }

    MSelectTool* Select() const { return dynamic_cast<MSelectTool*>(Tool()); }
    MStretchTool* Stretch() const { return dynamic_cast<MStretchTool*>(Tool()); }

    // The drawing point of a pixel counted from the origin pixel (200, 420), y up.
    MFloatPoint P(int dx, int dy) { return ToDrawing(CPoint(200 + dx, 420 - dy)); }
    // Drawing units per pixel.
    double Unit() { return P(100, 0).x / 100 - P(0, 0).x / 100; }

    MLineShape* Line(int x0, int y0, int x1, int y1, int layer = 0) {
        const MFloatPoint a = P(x0, y0), b = P(x1, y1);
        return Shown(AddLine(a.x, a.y, b.x, b.y, layer));
    }
    MPolygonShape* Polygon(const std::vector<CPoint>& pixels, int layer = 0) {
        auto* polygon = new MPolygonShape(TRUE);
        for (const CPoint& c : pixels)
            polygon->AddPoint(P(c.x, c.y));
        return Add(polygon, layer);
    }
    MCircleShape* Circle(int cx, int cy, int r, int layer = 0) {
        const MFloatPoint c = P(cx, cy);
        return Shown(AddCircle(c.x, c.y, r * Unit(), layer));
    }
    // A shape added by the caller (the document owns it then).
    template <class T>
    T* Add(T* shape, int layer = 0) {
        doc.AppendShape(shape, layer);
        shape->Recalc(view.get());
        return Shown(shape);
    }
    // The view paints the shape added behind its back.
    template <class T>
    T* Shown(T* shape) {
        view->Invalidate();
        view->UpdateWindow();
        return shape;
    }

    int Picks() { return Tool()->Lists().PickCount(); }
    MCadShape* Pick(int i) { return Tool()->Lists().Pick(i); }
    // The colour of the screen pixel at a drawing point.
    QRgb PixelAt(const MFloatPoint& p) {
        view->UpdateWindow();
        const CPoint c = ToClient(p);
        return Surface().pixel(c.x, c.y);
    }
};

// The action leaves the drawing and the undo history as they were.
inline void ExpectNoChange(tooltest::ToolHarness& h, const std::function<void()>& action) {
    const std::string before = h.NativeText();
    const int steps = h.UndoSteps();
    action();
    EXPECT_EQ(h.NativeText(), before) << "the drawing is unchanged";
    EXPECT_EQ(h.UndoSteps(), steps) << "no undo step";
}

inline ::testing::AssertionResult Near(const MFloatPoint& a, const MFloatPoint& b, double tolerance = 1e-6) {
    if (std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ") is not (" << b.x << ", " << b.y << ")";
}

}  // namespace selecttest
