// The tool base: the shape it constructs into its new shapes, the doors to the commit that turns
// its lists into one undo step (MToolCommit), and picking by click and rubber band.
#include <algorithm>
#include <unordered_set>

#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/Exceptions.h"
#include "platform/gdi/DC.h"
#include "tools/DrawTool.h"
#include "tools/PickList.h"
#include "tools/ToolCommit.h"
#include "tools/ToolScopes.h"
#include "view/TessarayView.h"

int MDrawTool::CreateAndAddShape(MTessarayView* view) {
    std::unique_ptr<MCadShape> shape(NewShape(view));
    if (!shape) return 0;
    m_lists.AddNew(shape.get(), -1);
    shape.release();
    return 1;
}

void MDrawTool::ApplyAttributes(MTessarayView* view) {
    for (int i = 0; i < m_lists.NewCount(); ++i)
        if (MCadShape* shape = m_lists.NewShape(i)) ApplyAttributesTo(view, shape);
}

// ----- commit -----------------------------------------------------------------------------------

int MDrawTool::Commit(MTessarayView* view, BOOL noReplace, BOOL select) {
    const int pairs = std::min(m_lists.EditedCount(), m_lists.NewCount());
    return MToolCommit(*this, view, m_lists).Paired(pairs, noReplace, select);
}

int MDrawTool::CommitPairs(MTessarayView* view, int pairs, BOOL select) {
    pairs = std::clamp(pairs, 0, std::min(m_lists.EditedCount(), m_lists.NewCount()));
    return MToolCommit(*this, view, m_lists).Paired(pairs, FALSE, select);
}

int MDrawTool::CommitAt(MTessarayView* view, int position, BOOL select) {
    return MToolCommit(*this, view, m_lists).At(position, select);
}

// ----- picking ----------------------------------------------------------------------------------

int MDrawTool::GetPickMode() {
    if (GetPickTraits() & kBandTakesCrossing) return kPickModeFixed | kPickInside | kPickCrossing;
    return GetOptionRecord().m_intercept;
}

void MDrawTool::SetPickMode(int mode) {
    if (!(GetPickTraits() & kBandTakesCrossing)) GetOptionRecord().m_intercept = mode;
}

int MDrawTool::OnPickAt(MTessarayView* view, double x, double y, UINT flags) {
    MTessarayDoc* doc = Document(view);
    if (!doc) return 0;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const MFloatPoint press(x, y);
    m_tracker.SetAnchor(press);
    const CPoint logical = view->DocToLogical(press);
    int layer = -1;
    MCadShape* shape = doc->HitTest(view, logical.x, logical.y, &layer, 3);
    if (shape) shape = FilterPickTarget(shape);
    if (shape && (GetPickTraits() & kPickByClick)) {
        MTrackerScope tracker(*this, view, dc.get());
        // A second click on a picked shape unpicks it.
        const int index = m_lists.Picks().Find(shape);
        if (index >= 0) {
            m_lists.RemovePickAt(index);
            return 0;
        }
        m_lists.AddPick(shape, press, layer);
        if (OnPickShape(view, x, y, flags)) Commit(view, FALSE, FALSE);
        return 1;
    }
    if (!(GetPickTraits() & kPickByRect)) return 0;
    MTrackerScope tracker(*this, view, dc.get());
    m_tracker.BeginBand(press);
    return 1;
}

namespace {

// Drops the picks from index `first` on that the tool refuses or that were already picked before.
template <class Filter>
void KeepNewPicks(MLPointShapeArray& picks, int first, Filter filter) {
    std::unordered_set<const MCadShape*> earlier;
    for (int i = 0; i < first; ++i)
        earlier.insert(picks.GetShape(i));
    for (int i = picks.GetSize() - 1; i >= first; --i) {
        MCadShape* shape = picks.GetShape(i);
        if (earlier.count(shape) || !filter(shape)) picks.RemoveAt(i);
    }
}

}  // namespace

void MDrawTool::PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT) {
    MTessarayDoc* doc = Document(view);
    if (!doc) return;
    // A quarter of a pixel around the band: shapes on its edge count as inside.
    const MFloatPoint pixel = view->LogicalToDocSize(CSize(1, 1));
    MFloatRect rect;
    rect.left = std::min(x0, x1) - std::fabs(pixel.x) / 4;
    rect.right = std::max(x0, x1) + std::fabs(pixel.x) / 4;
    rect.top = std::max(y0, y1) + std::fabs(pixel.y) / 4;
    rect.bottom = std::min(y0, y1) - std::fabs(pixel.y) / 4;
    const int first = m_lists.PickCount();
    doc->SelectShapesInRect(view, &m_lists.Picks().GetShapes(), &m_lists.Picks().GetPoints(), rect,
                            GetPickMode());
    KeepNewPicks(m_lists.Picks(), first, [this](MCadShape* s) { return FilterPickTarget(s) != nullptr; });
}

void MDrawTool::PickAt(MTessarayView* view, double x, double y, UINT flags) {
    OnPickShape(view, x, y, flags);
}

void MDrawTool::SelectAll(MTessarayView* view) {
    MTessarayDoc* doc = Document(view);
    if (!doc) return;
    const int first = m_lists.PickCount();
    doc->SelectAllShapes(view, &m_lists.Picks().GetShapes(), &m_lists.Picks().GetPoints());
    KeepNewPicks(m_lists.Picks(), first, [this](MCadShape* s) { return FilterPickTarget(s) != nullptr; });
}
