// Helpers of the figure tools' tests: points on the grid around mid-paper, where clicks land
// exactly, and the shapes of the drawing as the document holds them.
#pragma once

#include <vector>

#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "tests/tools/ToolTestSupport.h"
#include "tests/tools/edit/EditTestSupport.h"

namespace figuretest {

using edittest::ExpectNoChange;
using edittest::Lines;
using edittest::Records;
using edittest::Segment;

// The drawing's origin, mid-paper: a grid point.
inline const MFloatPoint kBase(21000, 14850);
inline MFloatPoint At(double dx, double dy) {
    return MFloatPoint(kBase.x + dx, kBase.y + dy);
}

struct FigureHarness : tooltest::ToolHarness {
    explicit FigureHarness(UINT command) {
        Choose(command);
        GetOptionRecord().m_snap = kSnapGrid;
    }
    // The shapes of the first layer, in drawing order.
    std::vector<MCadShape*> Shapes() {
        std::vector<MCadShape*> out;
        const MLayer* layer = doc.GetLayers()->GetLayer(0);
        for (int i = 0; i < layer->GetSize(); ++i)
            out.push_back(layer->GetAt(i));
        return out;
    }
    template <class T>
    T* Last() {
        const std::vector<MCadShape*> shapes = Shapes();
        return shapes.empty() ? nullptr : dynamic_cast<T*>(shapes.back());
    }
};

inline ::testing::AssertionResult Near(const MFloatPoint& got, const MFloatPoint& want,
                                       double tolerance = 1e-6) {
    if (std::fabs(got.x - want.x) <= tolerance && std::fabs(got.y - want.y) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << got.x << ", " << got.y << ") is not (" << want.x << ", " << want.y << ")";
}

}  // namespace figuretest
