// The select tool: the press that picks, the tracker and the cursor, decide and cancel.
#include <algorithm>
#include <cstdlib>

#include "document/DocShapeArray.h"
#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/gdi/DC.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/PickList.h"
#include "tools/ToolScopes.h"
#include "tools/select/SelectionEdits.h"
#include "view/TessarayView.h"

MSelectTool::MSelectTool(int toolId) : MDrawTool(toolId), m_edits(std::make_unique<MSelectionEdits>(*this)) {
    RegisterSelectCommands();
    m_edits->RegisterCommands();
}

MSelectTool::~MSelectTool() = default;

// ----- lifecycle --------------------------------------------------------------------------------

void MSelectTool::End(MTessarayView* view, BOOL switching) {
    if (view) m_handles.Invalidate(view);
    MDrawTool::End(view, switching);
}

void MSelectTool::Reset() {
    MDrawTool::Reset();
    m_handles.Forget();
    m_copyOnDrop = FALSE;
    m_justPicked = nullptr;
}

void MSelectTool::ReleaseConstraint() {
    ClearConstraint();
    m_copyOnDrop = FALSE;
}

// ----- the press --------------------------------------------------------------------------------

MCadShape* MSelectTool::FindSnappedTarget(MTessarayView* view, CPoint device, int* layer) {
    MTessarayDoc* doc = Document(view);
    const WORD kinds = GetSnapFlags(view);
    if (!kinds) return nullptr;
    const MSnapPoint record = doc->FindSnapPoint(view->SnapQueryAt(device.x, device.y, kinds));
    if (!record.kind) return nullptr;
    MCadShape* shape = FilterPickTarget(record.shape1);
    if (!shape) return nullptr;
    // The snap search also sees layers that are only shown: their shapes are not to be edited.
    MDocShapeArray* layers = doc->GetLayers();
    *layer = layers->FindLayerOf(shape);
    return *layer >= 0 && layers->IsEditable(*layer) ? shape : nullptr;
}

MCadShape* MSelectTool::FindPressTarget(MTessarayView* view, CPoint device, int handle, MFloatPoint* p,
                                        int* layer) {
    MCadShape* target = nullptr;
    if (handle > 0 && Lists().PickCount() > 0) {
        target = Lists().Pick(0);
        *layer = Lists().PickLayer(0);
        *p = m_handles.At(handle - 1);
    } else {
        target = FindSnappedTarget(view, device, layer);
    }
    if (!target) {
        const CPoint logical = view->DocToLogical(*p);
        target = FilterPickTarget(Document(view)->HitTest(view, logical.x, logical.y, layer, kPickTolerance));
    }
    return target;
}

void MSelectTool::BeginHandleDrag(MTessarayView* view, int handle, const MFloatPoint& p) {
    m_previous = m_dragOrigin = p;
    Lists().NewShapes().DeleteAll();
    for (int i = 0; i < Lists().PickCount(); ++i) {
        std::unique_ptr<MCadShape> copy(Lists().Pick(i)->Clone());
        copy->Recalc(view);
        Lists().AddNewExpanded(copy.get(), Lists().PickLayer(i));
        copy.release();
    }
    m_handles.Hold(handle, Lists().NewShapes().GetExtent());
}

void MSelectTool::PrepareMoveCopies(MTessarayView* view) {
    Lists().NewShapes().DeleteAll();
    for (int i = 0; i < Lists().PickCount(); ++i) {
        std::unique_ptr<MCadShape> copy(Lists().Pick(i)->Duplicate());
        Lists().AddNewExpanded(copy.get(), Lists().PickLayer(i));
        copy.release();
    }
    Lists().RecalcNew(view);
}

int MSelectTool::OnPickAt(MTessarayView* view, double x, double y, UINT flags) {
    if (!Document(view)) return 0;
    SetView(view);
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MFloatPoint p(x, y);
    const CPoint device = view->DocToDevice(dc.get(), p);
    // Handles that were not shown take no press (after a move to another layer, for instance).
    const int handle = m_handles.IsShown() ? m_handles.HitTest(view, device.x, device.y) : 0;
    m_handles.Hide(view);
    MTrackerScope tracker(*this, view, dc.get());
    if (handle > 0 && m_handles.CanReshape()) {
        BeginHandleDrag(view, handle - 1, p);
        return 1;
    }
    int layer = -1;
    MCadShape* target = FindPressTarget(view, device, handle, &p, &layer);
    m_handles.LetGo();
    m_previous = m_dragOrigin = p;
    if (!target) {
        Lists().ClearPicks();
        Tracker().BeginBand(p);
        return 1;
    }
    if (Lists().Picks().Find(target) < 0) {
        if (!(flags & MK_SHIFT)) Lists().ClearPicks();
        Lists().AddPick(target, p, layer);
        m_justPicked = target;
        if (OnPickShape(view, p.x, p.y, flags)) Commit(view, FALSE, FALSE);
    } else {
        m_justPicked = nullptr;
    }
    if (Lists().PickCount() > 0) PrepareMoveCopies(view);
    return 1;
}

void MSelectTool::PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT flags) {
    MDrawTool::PickInRect(view, x0, y0, x1, y1, flags);
    if (Lists().PickCount() > 0) m_handles.Show(view);
}

void MSelectTool::SelectAll(MTessarayView* view) {
    if (!view) return;
    RunGuarded(view, [&] {
        End(view, FALSE);
        MDrawTool::SelectAll(view);
        if (Lists().PickCount() > 0)
            m_handles.Show(view);
        else
            m_handles.Invalidate(view);
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        DrawTracker(view, dc.get());
    });
}

// ----- decide and cancel ------------------------------------------------------------------------

void MSelectTool::OnDecide(MTessarayView* view) {
    // Only copies that follow the mouse are decided: the selection itself stays where it is, and
    // no shape is left behind in the edited list.
    if (!view || Lists().PickCount() == 0 || Lists().NewCount() == 0) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    if (!m_copyOnDrop && Lists().NewCount() == Lists().PickCount())
        for (int i = 0; i < Lists().PickCount(); ++i)
            Lists().AddEdited(Lists().Pick(i), Lists().PickLayer(i));
    ForgetPress();
    m_copyOnDrop = FALSE;
    DecideAndReset(view);
}

void MSelectTool::OnCancel(MTessarayView* view) {
    End(view, FALSE);
}

void MSelectTool::DecideAndReset(MTessarayView* view) {
    if (Lists().NewCount() > 0)
        Commit(view, FALSE, TRUE);
    else
        Lists().ForgetEdited();
    m_handles.LetGo();
    m_handles.Show(view);
}

// ----- tracker and cursor -----------------------------------------------------------------------

void MSelectTool::OnDoubleClickHook(MTessarayView* view) {
    m_edits->EditShape(view);
}

void MSelectTool::PaintTracker(MTessarayView* view, CDC* dc) {
    MDrawTool::PaintTracker(view, dc);
    // The handles are opaque: only a paint draws them, over the XOR figures, and an invalidation
    // takes them away, so that no XOR pass ever crosses them.
    if (m_handles.IsShown() && view && dc) m_handles.Draw(view, dc);
}

UINT MSelectTool::GetPickTraits() {
    if (Lists().NewCount() != 0) return kPickByClick | kPickByRect;
    return kPicking | kPickByClick | kPickByRect |
           (GetOptionRecord().m_drawSelectedShape > 0 ? kMarkPicks : kNoPickTrait);
}

BOOL MSelectTool::OnSetCursor(MTessarayView* view, int, int, UINT hitTest) {
    if (hitTest != HTCLIENT || !view) return FALSE;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const CPoint device = view->DocToDevice(dc.get(), GetCurrentPoint());
    UINT resource = 0;
    if (m_handles.IsShown() && Lists().Picks().SupportsEdit4() &&
        m_handles.HitTest(view, device.x, device.y) > 0) {
        resource = IDR_HANDLE_CURSOR;
    } else if (Lists().PickCount() > 0) {
        const CPoint logical = view->DocToLogical(GetCurrentPoint());
        if (Lists().Picks().GetShapes().HitTest(view, logical.x, logical.y, kPickTolerance))
            resource = IDR_MOVE_CURSOR;
    }
    if (!resource) return SetToolCursor(view);
    HCURSOR cursor = AfxLoadCursor(resource);
    if (!cursor) return FALSE;
    SetCursor(cursor);
    return TRUE;
}

WORD MSelectTool::GetSnapFlags(MTessarayView* view) {
    const WORD flags = MDrawTool::GetSnapFlags(view);
    return IsPickMode() ? static_cast<WORD>(flags & ~kSnapGrid) : flags;
}
