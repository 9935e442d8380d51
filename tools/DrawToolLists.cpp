// The tool base: the lists of new, edited and picked shapes, the commits that turn them into one
// undo step, and picking by click and rubber band.
#include <algorithm>
#include <map>
#include <unordered_set>

#include "document/TessarayDoc.h"
#include "document/UndoPackScope.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/containers/PackShape.h"
#include "platform/Exceptions.h"
#include "platform/gdi/DC.h"
#include "platform/ui/Cursor.h"
#include "tools/DrawTool.h"
#include "tools/PickList.h"
#include "tools/ToolScopes.h"
#include "view/TessarayView.h"

namespace {

void InvalidateArea(MTessarayView* view, const MFloatRect& area) {
    if (area.IsNull()) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    CRect r = view->DocToDeviceRect(dc.get(), area);
    r.NormalizeRect();
    r.InflateRect(2, 2);
    view->InvalidateRect(&r, TRUE);
}

}  // namespace

// ----- new shapes -------------------------------------------------------------------------------

int MDrawTool::GetNewCount() const {
    return m_newShapes->GetSize();
}

MCadShape* MDrawTool::GetNewShape(int index) const {
    return m_newShapes->GetAt(index);
}

int MDrawTool::GetNewShapeLayer(int index) const {
    return static_cast<int>(m_newShapes->GetValueAt(index));
}

void MDrawTool::SetNewShape(int index, MCadShape* shape, int layer) {
    MCadShape* old = GetNewShape(index);
    m_newShapes->SetAt(index, shape, static_cast<DWORD>(layer));
    if (old != shape) delete old;
}

int MDrawTool::CreateAndAddShape(MTessarayView* view) {
    std::unique_ptr<MCadShape> shape(NewShape(view));
    if (!shape) return 0;
    m_newShapes->Add(shape.get(), static_cast<DWORD>(-1));
    shape.release();
    return 1;
}

void MDrawTool::AddNewShapeExpanded(MCadShape* shape, int layer) {
    if (auto* pack = dynamic_cast<MPackShape*>(shape)) {
        for (int i = 0; i < pack->GetShapeCount(); ++i)
            AddNewShapeExpanded(pack->GetShapeAt(i), layer);
        return;
    }
    m_newShapes->Add(shape, static_cast<DWORD>(layer));
}

void MDrawTool::InsertNewShapeExpanded(int position, MCadShape* shape, int layer) {
    if (auto* pack = dynamic_cast<MPackShape*>(shape)) {
        for (int i = 0; i < pack->GetShapeCount(); ++i) {
            const int before = GetNewCount();
            InsertNewShapeExpanded(position, pack->GetShapeAt(i), layer);
            position += GetNewCount() - before;
        }
        return;
    }
    m_newShapes->InsertAt(std::clamp(position, 0, GetNewCount()), shape, static_cast<DWORD>(layer));
}

void MDrawTool::RecalcNewShapes(MTessarayView* view) {
    m_newShapes->Recalc(view);
}

void MDrawTool::ApplyAttributes(MTessarayView* view) {
    for (int i = 0; i < GetNewCount(); ++i)
        if (MCadShape* shape = GetNewShape(i)) ApplyAttributesTo(view, shape);
}

// ----- edited shapes ----------------------------------------------------------------------------

int MDrawTool::GetOriginalCount() const {
    return m_editedShapes->GetSize();
}

MCadShape* MDrawTool::GetOriginalShape(int index) const {
    return m_editedShapes->GetAt(index);
}

int MDrawTool::GetOriginalLayer(int index) const {
    return static_cast<int>(m_editedShapes->GetValueAt(index));
}

void MDrawTool::AddOriginalShape(MCadShape* shape, int layer) {
    m_editedShapes->Add(shape, static_cast<DWORD>(layer));
}

void MDrawTool::AddReplacement(MCadShape* copy, int pickIndex) {
    if (!copy) return;
    std::unique_ptr<MCadShape> owned(copy);
    const int layer = GetPickLayer(pickIndex);
    AddOriginalShape(GetPickShape(pickIndex), layer);
    try {
        m_newShapes->Add(copy, static_cast<DWORD>(layer));
    } catch (...) {
        m_editedShapes->RemoveAt(GetOriginalCount() - 1);
        throw;
    }
    owned.release();
}

// ----- picks ------------------------------------------------------------------------------------

int MDrawTool::GetPickCount() const {
    return m_picks->GetSize();
}

MCadShape* MDrawTool::GetPickShape(int index) const {
    return m_picks->GetShape(index);
}

MFloatPoint MDrawTool::GetPickPoint(int index) const {
    return m_picks->GetPoint(index);
}

int MDrawTool::GetPickLayer(int index) const {
    return m_picks->GetLayer(index);
}

void MDrawTool::AddPick(MCadShape* shape, const MFloatPoint& point, int layer) {
    m_picks->Add(shape, point, layer);
}

int MDrawTool::RemovePick(MCadShape* shape) {
    return m_picks->Remove(shape);
}

void MDrawTool::RemovePickAt(int index) {
    m_picks->RemoveAt(index);
}

void MDrawTool::ClearPicks() {
    m_picks->RemoveAll();
}

void MDrawTool::ForgetPicksOf(const std::vector<const MCadShape*>& shapes) {
    if (shapes.empty() || GetPickCount() == 0) return;
    const std::unordered_set<const MCadShape*> gone(shapes.begin(), shapes.end());
    for (int i = GetPickCount() - 1; i >= 0; --i)
        if (gone.count(GetPickShape(i))) RemovePickAt(i);
}

// ----- commit -----------------------------------------------------------------------------------

template <class Take>
void MDrawTool::HandOver(MTessarayView* view, int index, int layer, Take take) {
    MCadShape* shape = GetNewShape(index);
    try {
        take(shape);
    } catch (...) {
        // Taken before the failure: the document's open pack now decides its fate.
        MTessarayDoc* doc = Document(view);
        if (doc && doc->GetLayers()->FindLayerOf(shape) >= 0)
            m_newShapes->SetAt(index, nullptr, static_cast<DWORD>(layer));
        throw;
    }
    // The entry stays, empty, with the layer the shape went to.
    m_newShapes->SetAt(index, nullptr, static_cast<DWORD>(layer));
}

int MDrawTool::DropInvalidNewShapes(MTessarayView* view, MUndoPackScope& pack, int pairs) {
    MTessarayDoc* doc = Document(view);
    // A paired copy that became invalid takes its edited shape out of the drawing with it: an edit
    // that collapses a shape removes it.
    int i = 0;
    while (i < GetNewCount()) {
        MCadShape* shape = GetNewShape(i);
        shape->Recalc(view);
        if (shape->IsValid()) {
            ++i;
            continue;
        }
        m_newShapes->RemoveAt(i);
        shape->Invalidate(view, TRUE);
        delete shape;
        if (i >= pairs) continue;
        MCadShape* old = GetOriginalShape(i);
        const int layer = GetOriginalLayer(i);
        if (doc->GetLayers()->FindLayerOf(old) >= 0) {
            old->Invalidate(view, TRUE);
            pack.Open();
            if (doc->RemoveShape(old, layer, TRUE) < 0) doc->RemoveShape(old, -1, TRUE);
        }
        m_editedShapes->RemoveAt(i);
        --pairs;
    }
    return pairs;
}

void MDrawTool::ReplaceOriginals(MTessarayView* view, MUndoPackScope& pack, int pairs) {
    MTessarayDoc* doc = Document(view);
    std::vector<const MCadShape*> originals;
    originals.reserve(static_cast<std::size_t>(GetOriginalCount()));
    for (int j = 0; j < GetOriginalCount(); ++j)
        originals.push_back(GetOriginalShape(j));
    // One pass finds every original. One no longer in the drawing (its layer went meanwhile) is
    // neither replaced nor removed: its copy is dropped rather than added a second time.
    const std::vector<MTessarayDoc::ShapePlace> places = doc->LocateShapes(originals);
    for (int j = 0; j < pairs; ++j) {
        const MTessarayDoc::ShapePlace& place = places[static_cast<std::size_t>(j)];
        if (place.layer < 0) {
            MCadShape* copy = GetNewShape(j);
            m_newShapes->SetAt(j, nullptr, static_cast<DWORD>(kDroppedShape));
            delete copy;
            continue;
        }
        pack.Open();
        MCadShape* old = GetOriginalShape(j);
        HandOver(view, j, place.layer, [&](MCadShape* shape) { doc->ReplaceShapeAt(place, old, shape); });
    }
    for (int j = pairs; j < GetOriginalCount(); ++j) {
        const MTessarayDoc::ShapePlace& place = places[static_cast<std::size_t>(j)];
        if (place.layer < 0) continue;
        pack.Open();
        doc->RemoveShape(GetOriginalShape(j), place.layer, TRUE);
    }
    if (GetOriginalCount() > 0) {
        m_editedShapes->Invalidate(view, TRUE);
        m_editedShapes->RemoveAll();
        // The edited shapes left the drawing: no pick may point at them any more.
        ForgetPicksOf(originals);
    }
}

void MDrawTool::AddRemainingNewShapes(MTessarayView* view, MUndoPackScope& pack, int position) {
    MTessarayDoc* doc = Document(view);
    MDocShapeArray* layers = doc->GetLayers();
    // The automatic layer takes every shape that does not replace one of the drawing, those the
    // tool put on a layer of its own too; without one each goes to its own or the current layer.
    const int autoLayer = doc->FindAutoLayer(m_autoLayerName);
    // Counted per layer: shapes of several layers each keep their order from the position.
    std::map<int, int> inserted;
    for (int j = 0; j < GetNewCount(); ++j) {
        if (!GetNewShape(j)) continue;
        int layer = GetNewShapeLayer(j);
        if (autoLayer >= 0) layer = autoLayer;
        pack.Open();
        const auto landed = [&] {
            const int l = layers->ResolveLayer(layer);
            return l >= 0 ? l : layers->GetCurrentLayerIndex();
        };
        if (position < 0) {
            HandOver(view, j, layer, [&](MCadShape* shape) { doc->AddShape(shape, layer); });
        } else {
            // Each after the one before: the shapes keep their order.
            int& before = inserted[landed()];
            HandOver(view, j, layer,
                     [&](MCadShape* shape) { doc->InsertShape(position + before, shape, layer); });
            ++before;
        }
        m_newShapes->SetAt(j, nullptr, static_cast<DWORD>(landed()));
    }
}

int MDrawTool::FinishCommit(MTessarayView* view, const std::vector<MCadShape*>& shapes,
                            const MFloatRect& area, BOOL select) {
    // Every entry of the new list is empty now, its value the layer the shape went to.
    int handed = 0;
    MFloatRect extent;
    bool first = true;
    for (std::size_t j = 0; j < shapes.size(); ++j) {
        const int layer = GetNewShapeLayer(static_cast<int>(j));
        if (layer == kDroppedShape) continue;
        ++handed;
        if (!select) continue;
        if (first)
            extent = shapes[j]->GetExtent();
        else
            extent.Union(shapes[j]->GetExtent());
        first = false;
    }
    if (select && handed > 0) {
        const MFloatPoint centre((extent.left + extent.right) / 2, (extent.top + extent.bottom) / 2);
        for (std::size_t j = 0; j < shapes.size(); ++j) {
            const int layer = GetNewShapeLayer(static_cast<int>(j));
            if (layer != kDroppedShape) AddPick(shapes[j], centre, layer);
        }
    }
    m_newShapes->RemoveAll();
    InvalidateArea(view, area);
    return handed;
}

int MDrawTool::Commit(MTessarayView* view, BOOL noReplace, BOOL select) {
    return CommitLists(view, std::min(GetOriginalCount(), GetNewCount()), noReplace, select);
}

int MDrawTool::CommitPairs(MTessarayView* view, int pairs, BOOL select) {
    pairs = std::clamp(pairs, 0, std::min(GetOriginalCount(), GetNewCount()));
    return CommitLists(view, pairs, FALSE, select);
}

int MDrawTool::CommitLists(MTessarayView* view, int pairs, BOOL noReplace, BOOL select) {
    MTessarayDoc* doc = Document(view);
    if (!doc) return 0;
    RecalcNewShapes(view);
    CWaitCursor wait;
    ApplyAttributes(view);
    MUndoPackScope pack(*doc, view, MUndoPackScope::kDeferred);
    pairs = DropInvalidNewShapes(view, pack, pairs);
    if (select) {
        m_picks->Invalidate(view, TRUE);
        ClearPicks();
    }
    if (GetNewCount() == 0 && GetOriginalCount() == 0) return 0;
    const std::vector<MCadShape*> shapes = NewShapesNow();
    const MFloatRect area = m_newShapes->GetDrawExtent();
    ReplaceOriginals(view, pack, noReplace ? 0 : pairs);
    AddRemainingNewShapes(view, pack, -1);
    return FinishCommit(view, shapes, area, select);
}

int MDrawTool::CommitAt(MTessarayView* view, int position, BOOL select) {
    MTessarayDoc* doc = Document(view);
    if (!doc) return 0;
    CWaitCursor wait;
    ApplyAttributes(view);
    MUndoPackScope pack(*doc, view, MUndoPackScope::kDeferred);
    DropInvalidNewShapes(view, pack, 0);
    if (select) {
        m_picks->Invalidate(view, TRUE);
        ClearPicks();
    }
    const std::vector<MCadShape*> shapes = NewShapesNow();
    const MFloatRect area = m_newShapes->GetDrawExtent();
    ReplaceOriginals(view, pack, 0);
    AddRemainingNewShapes(view, pack, position);
    return FinishCommit(view, shapes, area, select);
}

std::vector<MCadShape*> MDrawTool::NewShapesNow() const {
    std::vector<MCadShape*> shapes;
    shapes.reserve(static_cast<std::size_t>(GetNewCount()));
    for (int j = 0; j < GetNewCount(); ++j)
        shapes.push_back(GetNewShape(j));
    return shapes;
}

// ----- picking ----------------------------------------------------------------------------------

int MDrawTool::GetPickMode() {
    return GetOptionRecord().m_intercept;
}

void MDrawTool::SetPickMode(int mode) {
    GetOptionRecord().m_intercept = mode;
}

int MDrawTool::OnPickAt(MTessarayView* view, double x, double y, UINT flags) {
    MTessarayDoc* doc = Document(view);
    if (!doc) return 0;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    m_trackAnchor = MFloatPoint(x, y);
    const CPoint logical = view->DocToLogical(m_trackAnchor);
    int layer = -1;
    MCadShape* shape = doc->HitTest(view, logical.x, logical.y, &layer, 3);
    if (shape) shape = FilterPickTarget(shape);
    if (shape && (GetPickTraits() & kPickByClick)) {
        MTrackerScope tracker(*this, view, dc.get());
        // A second click on a picked shape unpicks it.
        const int index = m_picks->Find(shape);
        if (index >= 0) {
            RemovePickAt(index);
            return 0;
        }
        AddPick(shape, m_trackAnchor, layer);
        if (OnPickShape(view, x, y, flags)) Commit(view, FALSE, FALSE);
        return 1;
    }
    if (!(GetPickTraits() & kPickByRect)) return 0;
    MTrackerScope tracker(*this, view, dc.get());
    BeginTrack(view, x, y, flags);
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
    const int first = GetPickCount();
    doc->SelectShapesInRect(view, &m_picks->GetShapes(), &m_picks->GetPoints(), rect, GetPickMode());
    KeepNewPicks(*m_picks, first, [this](MCadShape* s) { return FilterPickTarget(s) != nullptr; });
}

void MDrawTool::PickAt(MTessarayView* view, double x, double y, UINT flags) {
    OnPickShape(view, x, y, flags);
}

void MDrawTool::SelectAll(MTessarayView* view) {
    MTessarayDoc* doc = Document(view);
    if (!doc) return;
    const int first = GetPickCount();
    doc->SelectAllShapes(view, &m_picks->GetShapes(), &m_picks->GetPoints());
    KeepNewPicks(*m_picks, first, [this](MCadShape* s) { return FilterPickTarget(s) != nullptr; });
}
