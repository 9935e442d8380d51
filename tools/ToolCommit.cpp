// A tool's commit: the new and edited shapes into the document as one undo step.
#include "tools/ToolCommit.h"

#include <map>
#include <memory>
#include <unordered_set>

#include "document/TessarayDoc.h"
#include "document/UndoPackScope.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/gdi/DC.h"
#include "platform/ui/Cursor.h"
#include "tools/DrawTool.h"
#include "tools/PickList.h"
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

MToolCommit::MToolCommit(MDrawTool& tool, MTessarayView* view, MToolLists& lists)
    : m_tool(tool),
      m_view(view),
      m_doc(view ? view->GetDocument() : nullptr),
      m_lists(lists),
      m_new(lists.NewShapes()),
      m_edited(lists.EditedShapes()) {}

int MToolCommit::Paired(int pairs, BOOL noReplace, BOOL select) {
    if (!m_doc) return 0;
    m_new.Recalc(m_view);
    CWaitCursor wait;
    m_tool.ApplyAttributes(m_view);
    MUndoPackScope pack(*m_doc, m_view, MUndoPackScope::kDeferred);
    pairs = DropInvalidNewShapes(pack, pairs);
    if (select) {
        m_lists.Picks().Invalidate(m_view, TRUE);
        m_lists.ClearPicks();
    }
    if (m_new.GetSize() == 0 && m_edited.GetSize() == 0) return 0;
    const std::vector<MCadShape*> shapes = NewShapesNow();
    const MFloatRect area = m_new.GetDrawExtent();
    ReplaceOriginals(pack, noReplace ? 0 : pairs);
    AddRemaining(pack, -1);
    return Finish(shapes, area, select);
}

int MToolCommit::At(int position, BOOL select) {
    if (!m_doc) return 0;
    CWaitCursor wait;
    m_tool.ApplyAttributes(m_view);
    MUndoPackScope pack(*m_doc, m_view, MUndoPackScope::kDeferred);
    DropInvalidNewShapes(pack, 0);
    if (select) {
        m_lists.Picks().Invalidate(m_view, TRUE);
        m_lists.ClearPicks();
    }
    const std::vector<MCadShape*> shapes = NewShapesNow();
    const MFloatRect area = m_new.GetDrawExtent();
    ReplaceOriginals(pack, 0);
    AddRemaining(pack, position);
    return Finish(shapes, area, select);
}

template <class Take>
void MToolCommit::HandOver(int index, int layer, Take take) {
    MCadShape* shape = m_new.GetAt(index);
    try {
        take(shape);
    } catch (...) {
        // Taken before the failure: the document's open pack now decides its fate.
        if (m_doc->GetLayers()->FindLayerOf(shape) >= 0)
            m_new.SetAt(index, nullptr, static_cast<DWORD>(layer));
        throw;
    }
    // The entry stays, empty, with the layer the shape went to.
    m_new.SetAt(index, nullptr, static_cast<DWORD>(layer));
}

int MToolCommit::DropInvalidNewShapes(MUndoPackScope& pack, int pairs) {
    // A paired copy that became invalid takes its edited shape out of the drawing with it: an edit
    // that collapses a shape removes it.
    int i = 0;
    while (i < m_new.GetSize()) {
        MCadShape* shape = m_new.GetAt(i);
        shape->Recalc(m_view);
        if (shape->IsValid()) {
            ++i;
            continue;
        }
        m_new.RemoveAt(i);
        shape->Invalidate(m_view, TRUE);
        delete shape;
        if (i >= pairs) continue;
        MCadShape* old = m_edited.GetAt(i);
        const int layer = static_cast<int>(m_edited.GetValueAt(i));
        if (m_doc->GetLayers()->FindLayerOf(old) >= 0) {
            old->Invalidate(m_view, TRUE);
            pack.Open();
            if (m_doc->RemoveShape(old, layer, TRUE) < 0) m_doc->RemoveShape(old, -1, TRUE);
        }
        m_edited.RemoveAt(i);
        --pairs;
    }
    return pairs;
}

void MToolCommit::ReplaceOriginals(MUndoPackScope& pack, int pairs) {
    std::vector<const MCadShape*> originals;
    originals.reserve(static_cast<std::size_t>(m_edited.GetSize()));
    for (int j = 0; j < m_edited.GetSize(); ++j)
        originals.push_back(m_edited.GetAt(j));
    // One pass finds every original. One no longer in the drawing (its layer went meanwhile) is
    // neither replaced nor removed: its copy is dropped rather than added a second time.
    const std::vector<MTessarayDoc::ShapePlace> places = m_doc->LocateShapes(originals);
    for (int j = 0; j < pairs; ++j) {
        const MTessarayDoc::ShapePlace& place = places[static_cast<std::size_t>(j)];
        if (place.layer < 0) {
            MCadShape* copy = m_new.GetAt(j);
            m_new.SetAt(j, nullptr, static_cast<DWORD>(kDroppedShape));
            delete copy;
            continue;
        }
        pack.Open();
        MCadShape* old = m_edited.GetAt(j);
        HandOver(j, place.layer, [&](MCadShape* shape) { m_doc->ReplaceShapeAt(place, old, shape); });
    }
    for (int j = pairs; j < m_edited.GetSize(); ++j) {
        const MTessarayDoc::ShapePlace& place = places[static_cast<std::size_t>(j)];
        if (place.layer < 0) continue;
        pack.Open();
        m_doc->RemoveShape(m_edited.GetAt(j), place.layer, TRUE);
    }
    if (m_edited.GetSize() > 0) {
        m_edited.Invalidate(m_view, TRUE);
        m_edited.RemoveAll();
        ForgetPicksOf(originals);
    }
}

void MToolCommit::AddRemaining(MUndoPackScope& pack, int position) {
    MDocShapeArray* layers = m_doc->GetLayers();
    // The automatic layer takes every shape that does not replace one of the drawing, those the
    // tool put on a layer of its own too; without one each goes to its own or the current layer.
    const int autoLayer = m_doc->FindAutoLayer(m_tool.GetAutoLayerName());
    // Counted per layer: shapes of several layers each keep their order from the position.
    std::map<int, int> inserted;
    for (int j = 0; j < m_new.GetSize(); ++j) {
        if (!m_new.GetAt(j)) continue;
        int layer = static_cast<int>(m_new.GetValueAt(j));
        if (autoLayer >= 0) layer = autoLayer;
        pack.Open();
        const auto landed = [&] {
            const int l = layers->ResolveLayer(layer);
            return l >= 0 ? l : layers->GetCurrentLayerIndex();
        };
        if (position < 0) {
            HandOver(j, layer, [&](MCadShape* shape) { m_doc->AddShape(shape, layer); });
        } else {
            // Each after the one before: the shapes keep their order.
            int& before = inserted[landed()];
            HandOver(j, layer,
                     [&](MCadShape* shape) { m_doc->InsertShape(position + before, shape, layer); });
            ++before;
        }
        m_new.SetAt(j, nullptr, static_cast<DWORD>(landed()));
    }
}

int MToolCommit::Finish(const std::vector<MCadShape*>& shapes, const MFloatRect& area, BOOL select) {
    // Every entry of the new list is empty now, its value the layer the shape went to.
    int handed = 0;
    MFloatRect extent;
    bool first = true;
    for (std::size_t j = 0; j < shapes.size(); ++j) {
        const int layer = static_cast<int>(m_new.GetValueAt(static_cast<int>(j)));
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
            const int layer = static_cast<int>(m_new.GetValueAt(static_cast<int>(j)));
            if (layer != kDroppedShape) m_lists.AddPick(shapes[j], centre, layer);
        }
    }
    m_new.RemoveAll();
    InvalidateArea(m_view, area);
    return handed;
}

std::vector<MCadShape*> MToolCommit::NewShapesNow() const {
    std::vector<MCadShape*> shapes;
    shapes.reserve(static_cast<std::size_t>(m_new.GetSize()));
    for (int j = 0; j < m_new.GetSize(); ++j)
        shapes.push_back(m_new.GetAt(j));
    return shapes;
}

void MToolCommit::ForgetPicksOf(const std::vector<const MCadShape*>& shapes) {
    if (shapes.empty() || m_lists.PickCount() == 0) return;
    const std::unordered_set<const MCadShape*> gone(shapes.begin(), shapes.end());
    for (int i = m_lists.PickCount() - 1; i >= 0; --i)
        if (gone.count(m_lists.Pick(i))) m_lists.RemovePickAt(i);
}
