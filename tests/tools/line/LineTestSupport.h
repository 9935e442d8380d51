// Helpers of the line tools' tests: a harness on a chosen tool with points given from the middle of
// the paper, and the committed lines and polygons read from the drawing at full precision.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "tests/tools/ToolTestSupport.h"

namespace linetest {

// The drawing's origin, mid-paper: a grid point.
inline const MFloatPoint kBase(21000, 14850);
inline MFloatPoint At(double dx, double dy) {
    return MFloatPoint(kBase.x + dx, kBase.y + dy);
}
// A point relative to the base.
inline MFloatPoint Rel(const MFloatPoint& p) {
    return p - kBase;
}

template <class T>
std::vector<T*> ShapesOf(MTessarayDoc& doc, int layer = 0) {
    std::vector<T*> out;
    const MLayer* l = doc.GetLayers()->GetLayer(layer);
    for (int i = 0; i < l->GetSize(); ++i)
        if (auto* shape = dynamic_cast<T*>(l->GetAt(i))) out.push_back(shape);
    return out;
}

// The committed lines only (a polygon is no line).
inline std::vector<MLineShape*> LinesOf(MTessarayDoc& doc, int layer = 0) {
    std::vector<MLineShape*> out;
    for (MLineShape* line : ShapesOf<MLineShape>(doc, layer))
        out.push_back(line);
    return out;
}

inline std::vector<MFloatPoint> Vertices(const MPolygonShape& polygon) {
    std::vector<MFloatPoint> out;
    for (int i = 0; i < polygon.GetPointCount(); ++i)
        out.push_back(Rel(polygon.GetPoint(i)));
    return out;
}

inline ::testing::AssertionResult Near(const MFloatPoint& a, const MFloatPoint& b, double tolerance = 1e-6) {
    if (std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << a.x << ", " << a.y << ") is not (" << b.x << ", " << b.y << ")";
}

struct LineHarness : tooltest::ToolHarness {
    explicit LineHarness(UINT command, int layers = 1) : tooltest::ToolHarness(800, 600, layers) {
        Choose(command);
        GetOptionRecord().m_snap = kSnapGrid;
    }
    // The context menu at p with the item chosen, as the user does.
    void ChooseFromMenu(const MFloatPoint& p, UINT command) {
        frame.SetActiveView(view.get());
        MoveTo(p);
        dialogs.ScriptPopupMenu(command);
        RightClick(p);
        frame.SetActiveView(nullptr);
    }
    template <class T>
    T* As() {
        return dynamic_cast<T*>(Tool());
    }
};

}  // namespace linetest
