#include "tools/edit/HoleTool.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "model/geometry/RegionErase.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/ui/Cursor.h"
#include "resources/ResourceIds.h"
#include "tools/PickList.h"
#include "tools/edit/CutReplacements.h"
#include "view/TessarayView.h"

namespace {

bool IsCuttable(const MCadShape* shape) {
    return dynamic_cast<const MLineShape*>(shape) || dynamic_cast<const MPolygonShape*>(shape);
}

bool Overlaps(MFloatRect extent, const MFloatRect& box) {
    extent.Normalize();
    return extent.left <= box.right && extent.right >= box.left && extent.bottom <= box.top &&
           extent.top >= box.bottom;
}

// The cuttable shapes of the editable layers whose extent meets the box (top above bottom). The
// document's crossing test counts only crossings strictly inside the box's sides, so a line through
// a corner would be missed; the cut itself decides what reaches inside.
void CollectNear(const MTessarayDoc& doc, const MFloatRect& box, MLPointShapeArray& out) {
    const MDocShapeArray* layers = doc.GetLayers();
    for (int i = 0; i < layers->GetLayerCount(); ++i) {
        if (!layers->IsEditable(i)) continue;
        const MLayer* layer = layers->GetLayer(i);
        for (int k = 0; k < layer->GetSize(); ++k) {
            MCadShape* shape = layer->GetAt(k);
            if (shape && IsCuttable(shape) && Overlaps(shape->GetExtent(), box))
                out.Add(shape, shape->GetCenter(), i);
        }
    }
}

}  // namespace

// ----- rectangle --------------------------------------------------------------------------------

MHoleTool::MHoleTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(0, IDS_HOLE_PICKS);
}

MCadShape* MHoleTool::FilterPickTarget(MCadShape* shape) {
    return IsCuttable(shape) ? shape : nullptr;
}

void MHoleTool::PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT) {
    MTessarayDoc* doc = Document(view);
    if (!doc) return;
    MLPointShapeArray near;
    CollectNear(*doc, MCutRegion::Rectangle({x0, y0}, {x1, y1}).GetBounds(), near);
    for (int i = 0; i < near.GetSize(); ++i)
        if (Lists().Picks().Find(near.GetShape(i)) < 0 && FilterPickTarget(near.GetShape(i)))
            Lists().AddPick(near.GetShape(i), near.GetPoint(i), near.GetLayer(i));
}

void MHoleTool::PickAt(MTessarayView* view, double x, double y, UINT) {
    const MCutRegion region = MCutRegion::Rectangle(Tracker().Anchor(), MFloatPoint(x, y));
    const MFloatRect& box = region.GetBounds();
    // Shapes whose extent the rectangle holds (edges included) go whole, as the band shows them.
    MCutReplacements pieces;
    std::vector<const MCadShape*> erased;
    for (int i = 0; i < Lists().PickCount(); ++i) {
        MCadShape* shape = Lists().Pick(i);
        const MFloatRect& e = shape->GetExtent();
        const bool inside = e.left >= box.left && e.right <= box.right &&
                            std::min(e.top, e.bottom) >= box.bottom && std::max(e.top, e.bottom) <= box.top;
        if (!inside || !region.CanCut()) continue;
        pieces.Replace(shape, Lists().PickLayer(i), {});
        erased.push_back(shape);
    }
    for (int i = 0; i < Lists().PickCount(); ++i) {
        MCadShape* shape = Lists().Pick(i);
        if (std::find(erased.begin(), erased.end(), shape) == erased.end())
            CutShape(*shape, region, pieces, Lists().PickLayer(i));
    }
    Lists().ClearPicks();
    pieces.Commit(*this, view);
    Reset();
}

void MHoleTool::EraseInRegion(MTessarayView* view, const MLPointShapeArray& shapes, const MCutRegion& region,
                              std::span<const MCadShape* const> keep) {
    MCutReplacements pieces;
    for (int i = 0; i < shapes.GetSize(); ++i) {
        MCadShape* shape = shapes.GetShape(i);
        if (!IsCuttable(shape) || std::find(keep.begin(), keep.end(), shape) != keep.end()) continue;
        CutShape(*shape, region, pieces, shapes.GetLayer(i));
    }
    pieces.Commit(*this, view);
}

bool MHoleTool::CutShape(const MCadShape& shape, const MCutRegion& region, MCutReplacements& pieces,
                         int layer) {
    MRegionCut cut;
    if (const auto* line = dynamic_cast<const MLineShape*>(&shape)) {
        cut = CutLineByRegion(line->m_start, line->m_end, region);
    } else if (const auto* outline = dynamic_cast<const MPolygonShape*>(&shape)) {
        const MFloatPointArray& p = outline->GetPoints();
        cut = CutOutlineByRegion({p.GetData(), p.GetData() + p.GetSize()}, outline->IsClosed(), region);
    }
    if (!cut.reachesInside) return false;
    std::vector<std::unique_ptr<MCadShape>> made;
    made.reserve(cut.runs.size());
    for (const std::vector<MFloatPoint>& run : cut.runs)
        made.push_back(MakeRunPiece(shape, run));
    pieces.Replace(const_cast<MCadShape*>(&shape), layer, std::move(made));
    return true;
}

// ----- between two lines ------------------------------------------------------------------------

MHole2LineTool::MHole2LineTool(int toolId) : MHoleTool(toolId) {
    LoadPrompt(0, IDS_HOLE2LINE_PICKS);
}

MCadShape* MHole2LineTool::FilterPickTarget(MCadShape* shape) {
    return dynamic_cast<MLineShape*>(shape);
}

int MHole2LineTool::OnPickShape(MTessarayView* view, double, double, UINT) {
    if (Lists().PickCount() < 2) return 0;
    MCadShape* lines[2] = {Lists().Pick(0), Lists().Pick(1)};
    const auto* l0 = static_cast<const MLineShape*>(lines[0]);
    const auto* l1 = static_cast<const MLineShape*>(lines[1]);
    const MCutRegion region = MCutRegion::BetweenLines(l0->m_start, l0->m_end, l1->m_start, l1->m_end);
    Lists().ClearPicks();
    MTessarayDoc* doc = Document(view);
    if (doc && region.CanCut()) {
        CWaitCursor wait;
        MLPointShapeArray found;
        CollectNear(*doc, region.GetBounds(), found);
        const MCadShape* keep[2] = {lines[0], lines[1]};
        EraseInRegion(view, found, region, keep);
    }
    Reset();
    return 0;
}
