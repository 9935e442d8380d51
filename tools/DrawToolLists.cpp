// The tool base: the lists of new, edited and picked shapes, the doors to the commit that turns
// them into one undo step (MToolCommit), and picking by click and rubber band.
#include <algorithm>
#include <unordered_set>

#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/containers/PackShape.h"
#include "platform/Exceptions.h"
#include "platform/gdi/DC.h"
#include "tools/DrawTool.h"
#include "tools/PickList.h"
#include "tools/ToolCommit.h"
#include "tools/ToolScopes.h"
#include "view/TessarayView.h"

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

void MDrawTool::ForgetOriginals() {
    m_editedShapes->RemoveAll();
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

// ----- commit -----------------------------------------------------------------------------------

int MDrawTool::Commit(MTessarayView* view, BOOL noReplace, BOOL select) {
    const int pairs = std::min(GetOriginalCount(), GetNewCount());
    return MToolCommit(*this, view, *m_newShapes, *m_editedShapes).Paired(pairs, noReplace, select);
}

int MDrawTool::CommitPairs(MTessarayView* view, int pairs, BOOL select) {
    pairs = std::clamp(pairs, 0, std::min(GetOriginalCount(), GetNewCount()));
    return MToolCommit(*this, view, *m_newShapes, *m_editedShapes).Paired(pairs, FALSE, select);
}

int MDrawTool::CommitAt(MTessarayView* view, int position, BOOL select) {
    return MToolCommit(*this, view, *m_newShapes, *m_editedShapes).At(position, select);
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
        const int index = m_picks->Find(shape);
        if (index >= 0) {
            RemovePickAt(index);
            return 0;
        }
        AddPick(shape, press, layer);
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
