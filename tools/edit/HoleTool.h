// Partial erase: the parts of lines and outlines inside a region go, the rest stays as pieces with
// the shape's style and layer in its place. The region is a dragged rectangle, or the four-sided
// area between two picked lines.
#pragma once

#include <span>

#include "tools/DrawTool.h"

class MCutRegion;
class MLPointShapeArray;
class MCutReplacements;

// Drag a rectangle: what lies inside it is erased.
class MHoleTool : public MDrawTool {
public:
    explicit MHoleTool(int toolId);
    // Shapes inside or crossing the band, whatever the program-wide pick mode says.
    UINT GetPickTraits() override {
        return kPicking | kPickByRect | kGridWhilePicking | kMarkPicks | kBandTakesCrossing;
    }
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    // The pieces keep the style of the shape they come from.
    void ApplyAttributes(MTessarayView*) override {}
    // Every line and outline near the band: the cut decides which reach inside.
    void PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT flags) override;
    void PickAt(MTessarayView* view, double x, double y, UINT flags) override;

protected:
    // Every line and polygon-family shape of `shapes` that reaches inside the region is replaced
    // by its pieces outside it; shapes listed in `keep` and shapes of other kinds stay. The
    // replacement is one commit; nothing happens when no shape reaches inside.
    void EraseInRegion(MTessarayView* view, const MLPointShapeArray& shapes, const MCutRegion& region,
                       std::span<const MCadShape* const> keep = {});
    // The pieces of one shape outside the region; false when no part of it lies inside.
    static bool CutShape(const MCadShape& shape, const MCutRegion& region, MCutReplacements& pieces,
                         int layer);
};

// Pick two lines: what lies between them is erased; the two lines stay. A drag off the lines is
// the rectangle erase, of the lines only.
class MHole2LineTool : public MHoleTool {
public:
    explicit MHole2LineTool(int toolId);
    UINT GetPickTraits() override { return kPickTraitsDefault | kPicking | kPickByRect | kBandTakesCrossing; }
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    // The erase between the lines, on the second pick.
    int OnPickShape(MTessarayView* view, double x, double y, UINT flags) override;
};
