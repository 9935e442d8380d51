// The select tool: the selection's handles, the press that picks, the tracker and the cursor.
#include <algorithm>
#include <cstdlib>

#include "document/DocShapeArray.h"
#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
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
    if (view) InvalidateHandles(view);
    MDrawTool::End(view, switching);
}

void MSelectTool::Reset() {
    MDrawTool::Reset();
    m_handlesShown = FALSE;
    m_handle = -1;
    m_copyOnDrop = FALSE;
    m_justPicked = nullptr;
}

void MSelectTool::ReleaseConstraint() {
    ClearConstraint();
    m_copyOnDrop = FALSE;
}

// ----- handles ----------------------------------------------------------------------------------

int MSelectTool::GetSelectionHandleCount() const {
    const int count = GetPickCount();
    if (count == 0) return 0;
    return count == 1 ? GetPickShape(0)->GetHandleCount() : kFrameHandleCount;
}

namespace {

// Handle index of the frame r of several shapes.
MFloatPoint FrameHandle(const MFloatRect& r, int index) {
    const double midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    switch (index) {
        case 0:
            return MFloatPoint(r.right, r.top);
        case 1:
            return MFloatPoint(r.right, r.bottom);
        case 2:
            return MFloatPoint(r.left, r.bottom);
        case 3:
            return MFloatPoint(r.left, r.top);
        case 4:
            return MFloatPoint(r.right, midY);
        case 5:
            return MFloatPoint(midX, r.bottom);
        case 6:
            return MFloatPoint(r.left, midY);
        default:
            return MFloatPoint(midX, r.top);
    }
}

}  // namespace

MFloatPoint MSelectTool::GetSelectionHandle(int index) const {
    const int count = GetPickCount();
    if (count == 0) return MFloatPoint(0.0, 0.0);
    if (count == 1) return GetPickShape(0)->GetHandle(index);
    return FrameHandle(GetPickArray()->GetShapes().GetExtent(), index);
}

std::vector<MFloatPoint> MSelectTool::SelectionHandles() const {
    // The frame of a large selection is its union extent: measured once for all eight handles.
    std::vector<MFloatPoint> handles;
    const int count = GetSelectionHandleCount();
    if (GetPickCount() > 1) {
        const MFloatRect frame = GetPickArray()->GetShapes().GetExtent();
        for (int i = 0; i < count; ++i)
            handles.push_back(FrameHandle(frame, i));
    } else {
        for (int i = 0; i < count; ++i)
            handles.push_back(GetSelectionHandle(i));
    }
    return handles;
}

MFloatPoint MSelectTool::GetSelectionCenter() const {
    if (GetPickCount() == 1) return GetPickShape(0)->GetCenter();
    const MFloatRect r = GetPickArray()->GetShapes().GetExtent();
    return MFloatPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

int MSelectTool::HitTestHandle(MTessarayView* view, int x, int y) const {
    const std::vector<MFloatPoint> handles = SelectionHandles();
    if (handles.empty()) return 0;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    for (int i = 0; i < static_cast<int>(handles.size()); ++i) {
        const CPoint d = view->DocToDevice(dc.get(), handles[i]);
        if (std::abs(d.x - x) <= kHandleHalf && std::abs(d.y - y) <= kHandleHalf) return i + 1;
    }
    return 0;
}

void MSelectTool::InvalidateHandles(MTessarayView* view) {
    if (!view) return;
    const std::vector<MFloatPoint> handles = SelectionHandles();
    if (handles.empty()) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    for (const MFloatPoint& h : handles) {
        const CPoint d = view->DocToDevice(dc.get(), h);
        CRect r(d.x - kHandleHalf - 1, d.y - kHandleHalf - 1, d.x + kHandleHalf + 2, d.y + kHandleHalf + 2);
        view->InvalidateRect(&r, TRUE);
    }
}

void MSelectTool::HideHandles(MTessarayView* view) {
    m_handlesShown = FALSE;
    InvalidateHandles(view);
}

void MSelectTool::ShowHandles(MTessarayView* view) {
    m_handlesShown = TRUE;
    InvalidateHandles(view);
}

BOOL MSelectTool::HandlesReshape() const {
    return GetPickArray()->SupportsEdit4() && m_handlesDeform;
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
    if (handle > 0 && GetPickCount() > 0) {
        target = GetPickShape(0);
        *layer = GetPickLayer(0);
        *p = GetSelectionHandle(handle - 1);
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
    m_handle = handle;
    m_previous = m_dragOrigin = p;
    m_newShapes->DeleteAll();
    for (int i = 0; i < GetPickCount(); ++i) {
        std::unique_ptr<MCadShape> copy(GetPickShape(i)->Clone());
        copy->Recalc(view);
        AddNewShapeExpanded(copy.get(), GetPickLayer(i));
        copy.release();
    }
    m_frame = m_newShapes->GetExtent();
}

void MSelectTool::PrepareMoveCopies(MTessarayView* view) {
    m_newShapes->DeleteAll();
    for (int i = 0; i < GetPickCount(); ++i) {
        std::unique_ptr<MCadShape> copy(GetPickShape(i)->Duplicate());
        AddNewShapeExpanded(copy.get(), GetPickLayer(i));
        copy.release();
    }
    RecalcNewShapes(view);
}

int MSelectTool::OnPickAt(MTessarayView* view, double x, double y, UINT flags) {
    if (!Document(view)) return 0;
    m_view = view;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MFloatPoint p(x, y);
    const CPoint device = view->DocToDevice(dc.get(), p);
    // Handles that were not shown take no press (after a move to another layer, for instance).
    const int handle = m_handlesShown ? HitTestHandle(view, device.x, device.y) : 0;
    HideHandles(view);
    MTrackerScope tracker(*this, view, dc.get());
    if (handle > 0 && HandlesReshape()) {
        BeginHandleDrag(view, handle - 1, p);
        return 1;
    }
    int layer = -1;
    MCadShape* target = FindPressTarget(view, device, handle, &p, &layer);
    m_handle = -1;
    m_previous = m_dragOrigin = p;
    if (!target) {
        ClearPicks();
        BeginTrack(view, p.x, p.y, flags);
        return 1;
    }
    if (GetPickArray()->Find(target) < 0) {
        if (!(flags & MK_SHIFT)) ClearPicks();
        AddPick(target, p, layer);
        m_justPicked = target;
        if (OnPickShape(view, p.x, p.y, flags)) Commit(view, FALSE, FALSE);
    } else {
        m_justPicked = nullptr;
    }
    if (GetPickCount() > 0) PrepareMoveCopies(view);
    return 1;
}

void MSelectTool::PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT flags) {
    MDrawTool::PickInRect(view, x0, y0, x1, y1, flags);
    if (GetPickCount() > 0) ShowHandles(view);
}

void MSelectTool::SelectAll(MTessarayView* view) {
    if (!view) return;
    RunGuarded(view, [&] {
        End(view, FALSE);
        MDrawTool::SelectAll(view);
        if (GetPickCount() > 0) m_handlesShown = TRUE;
        InvalidateHandles(view);
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        DrawTracker(view, dc.get());
    });
}

// ----- decide and cancel ------------------------------------------------------------------------

void MSelectTool::OnDecide(MTessarayView* view) {
    // Only copies that follow the mouse are decided: the selection itself stays where it is, and
    // no shape is left behind in the edited list.
    if (!view || GetPickCount() == 0 || GetNewCount() == 0) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    if (!m_copyOnDrop && GetNewCount() == GetPickCount())
        for (int i = 0; i < GetPickCount(); ++i)
            AddOriginalShape(GetPickShape(i), GetPickLayer(i));
    m_buttonDown = FALSE;
    m_copyOnDrop = FALSE;
    DecideAndReset(view);
}

void MSelectTool::OnCancel(MTessarayView* view) {
    End(view, FALSE);
}

void MSelectTool::DecideAndReset(MTessarayView* view) {
    if (GetNewCount() > 0)
        Commit(view, FALSE, TRUE);
    else
        m_editedShapes->RemoveAll();
    m_handle = -1;
    ShowHandles(view);
}

// ----- tracker and cursor -----------------------------------------------------------------------

void MSelectTool::DrawHandles(MTessarayView* view, CDC* dc) {
    const std::vector<MFloatPoint> handles = SelectionHandles();
    if (handles.empty()) return;
    const int oldRop = dc->SetROP2(R2_COPYPEN);
    const bool reshape = HandlesReshape();
    CSelectScope pen(dc, reshape ? WHITE_PEN : BLACK_PEN);
    CSelectScope brush(dc, reshape ? BLACK_BRUSH : WHITE_BRUSH);
    for (const MFloatPoint& h : handles) {
        const CPoint c = view->DocToLogical(h);
        dc->Rectangle(c.x - kHandleHalf, c.y - kHandleHalf, c.x + kHandleHalf + 1, c.y + kHandleHalf + 1);
    }
    dc->SetROP2(oldRop);
}

void MSelectTool::OnDoubleClickHook(MTessarayView* view) {
    m_edits->EditShape(view);
}

void MSelectTool::PaintTracker(MTessarayView* view, CDC* dc) {
    MDrawTool::PaintTracker(view, dc);
    // The handles are opaque: only a paint draws them, over the XOR figures, and an invalidation
    // takes them away, so that no XOR pass ever crosses them.
    if (m_handlesShown && view && dc) DrawHandles(view, dc);
}

BOOL MSelectTool::MarksPicks() {
    return GetOptionRecord().m_drawSelectedShape > 0 && GetNewCount() == 0;
}

BOOL MSelectTool::OnSetCursor(MTessarayView* view, int, int, UINT hitTest) {
    if (hitTest != HTCLIENT || !view) return FALSE;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const CPoint device = view->DocToDevice(dc.get(), GetCurrentPoint());
    UINT resource = 0;
    if (m_handlesShown && GetPickArray()->SupportsEdit4() && HitTestHandle(view, device.x, device.y) > 0) {
        resource = IDR_HANDLE_CURSOR;
    } else if (GetPickCount() > 0) {
        const CPoint logical = view->DocToLogical(GetCurrentPoint());
        if (GetPickArray()->GetShapes().HitTest(view, logical.x, logical.y, kPickTolerance))
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
