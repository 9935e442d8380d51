// The tool base: the road from a mouse message to a construction step or a pick, snapping, the
// cursor and the XOR tracker.
#include <cmath>

#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/gdi/DC.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/DrawTool.h"
#include "tools/PickList.h"
#include "tools/ToolScopes.h"
#include "view/Grid.h"
#include "view/TessarayView.h"

namespace {

constexpr double kDeadZonePixels = 8.0;
}  // namespace

// ----- device level -----------------------------------------------------------------------------

void MDrawTool::OnLButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    if (m_buttonDown) return;
    RunGuarded(view, [&] {
        HoldPress(CPoint(x, y));
        m_pointerPoint = CPoint(x, y);
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        const MFloatPoint pt = Snap(view, x, y, flags).point;
        OnButtonDownAt(view, dc.get(), pt, flags);
        UpdatePrompt();
    });
}

void MDrawTool::HoldPress(const CPoint& at) {
    m_buttonDown = TRUE;
    m_moved = FALSE;
    m_pressPoint = at;
}

void MDrawTool::OnLButtonUp(MTessarayView* view, int x, int y, UINT flags) {
    if (!m_buttonDown) return;
    m_buttonDown = FALSE;
    m_pointerPoint = CPoint(x, y);
    RunGuarded(view, [&] {
        const MFloatPoint pt = Snap(view, x, y, flags).point;
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        OnButtonUpAt(view, dc.get(), pt, flags);
        view->SetAnchorPoint(pt);
        m_moved = FALSE;
        m_pointConstraint.ClearEntry();
        UpdatePrompt();
    });
}

void MDrawTool::OnMouseMove(MTessarayView* view, int x, int y, UINT flags) {
    // Moves inside the dead zone around the last press are dropped before any work, with the
    // button down or not; the first move at 8 pixels or more lets every move pass until the next
    // press or release.
    m_pointerPoint = CPoint(x, y);
    if (!m_moved && std::hypot(x - m_pressPoint.x, y - m_pressPoint.y) < kDeadZonePixels) return;
    m_moved = TRUE;
    RunGuarded(view, [&] {
        const MFloatPoint pt = Snap(view, x, y, flags).point;
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        OnMoveAt(view, dc.get(), pt, flags);
        UpdatePrompt();
    });
}

void MDrawTool::OnLButtonDblClk(MTessarayView* view, int, int, UINT) {
    RunGuarded(view, [&] {
        OnDoubleClickHook(view);
        OnDecide(view);
    });
    m_buttonDown = FALSE;
}

void MDrawTool::ClickAtPoint(MTessarayView* view, const MFloatPoint& point, UINT flags) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const CPoint p = view->DocToDevice(dc.get(), point);
    dc.reset();
    OnLButtonDown(view, p.x, p.y, flags);
    OnLButtonUp(view, p.x, p.y, flags);
}

void MDrawTool::RunNumericInput(MTessarayView* view) {
    OnNumericInput(view);
    // A held button leaves the figure to the drag; pick steps show no figure.
    if (!view || m_lists.NewCount() == 0 || IsPickMode() || m_buttonDown) return;
    const MFloatPoint pt = Snap(view, m_pointerPoint.x, m_pointerPoint.y, 0).point;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    OnMoveAt(view, dc.get(), pt, 0);
    UpdatePrompt();
}

// ----- drawing-point level ----------------------------------------------------------------------

void MDrawTool::OnButtonDownAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    if (IsPickMode()) {
        OnPickAt(view, pt.x, pt.y, flags);
        return;
    }
    MTrackerScope tracker(*this, view, dc);
    if (m_lists.NewCount() < 1) CreateAndAddShape(view);
    if (m_lists.NewCount() > 0) {
        OnPoint(view, pt.x, pt.y, kPhasePress, flags);
        m_lists.RecalcNew(view);
    }
}

void MDrawTool::OnButtonUpAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    MTrackerScope tracker(*this, view, dc);
    if (m_tracker.IsBanding()) {
        m_tracker.EndBand(pt);
        const MFloatRect band = m_tracker.Band();
        PickInRect(view, band.left, band.top, band.right, band.bottom, flags);
        if (m_lists.PickCount() > 0) PickAt(view, pt.x, pt.y, flags);
    }
    if (m_lists.NewCount() == 0) {
        if (IsPickMode()) return;
        CreateAndAddShape(view);
        // The shape was made at the release: its first step has not begun, and the pick prompt
        // shows until it does.
        m_step = -1;
    }
    if (IsPickMode()) return;
    if (OnPoint(view, pt.x, pt.y, kPhaseTest, flags)) {
        DecideAndReset(view);
        return;
    }
    m_steps.Take(m_step, pt, [this] { return IsStepPointSound() != FALSE; });
    OnPoint(view, pt.x, pt.y, kPhaseAdvance, flags);
    m_lists.RecalcNew(view);
}

void MDrawTool::OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    const MFloatPoint& anchor = m_tracker.Anchor();
    const bool band = m_tracker.IsBanding() && (pt.x != anchor.x || pt.y != anchor.y);
    if (!band && m_lists.NewCount() == 0) return;
    MTrackerScope tracker(*this, view, dc);
    if (band) m_tracker.FollowBand(pt);
    if (m_lists.NewCount() > 0) {
        OnPoint(view, pt.x, pt.y, kPhaseMove, flags);
        m_lists.RecalcNew(view);
    }
}

// ----- the XOR tracker --------------------------------------------------------------------------

void MDrawTool::DrawTracker(MTessarayView* view, CDC* dc) {
    if (!view || !dc) return;
    const int oldRop = dc->SetROP2(R2_XORPEN);
    if (m_lists.PickCount() > 0 && (GetPickTraits() & kMarkPicks))
        m_lists.Picks().GetShapes().DrawMarked(view, dc);
    const int limit = GetOptionRecord().m_drawLimit;
    if (m_lists.NewCount() > 0) {
        // Many new shapes follow the pointer as their frame only.
        if (limit != 0 && m_lists.NewCount() > limit)
            DrawTrackerFrame(dc, view->DocToLogicalRect(m_lists.NewShapes().GetExtent()));
        else
            DrawNewShapes(view, dc);
    }
    m_tracker.Draw(view, dc);
    dc->SetROP2(oldRop);
}

void MDrawTool::DrawNewShapes(MTessarayView* view, CDC* dc) {
    m_lists.NewShapes().DrawMarked(view, dc);
}

void MDrawTool::PaintTracker(MTessarayView* view, CDC* dc) {
    if (!m_tracker.IsHidden()) DrawTracker(view, dc);
}

// ----- cursor -----------------------------------------------------------------------------------

BOOL MDrawTool::OnSetCursor(MTessarayView* view, int, int, UINT hitTest) {
    return hitTest == HTCLIENT ? SetToolCursor(view) : FALSE;
}

BOOL MDrawTool::SetToolCursor(MTessarayView*) {
    const UINT resource = MSnapper::CursorResource(MSnapper::CursorIndex(GetSnapRecord().kind));
    if (!resource) return FALSE;
    HCURSOR cursor = AfxLoadCursor(resource);
    if (!cursor) return FALSE;
    SetCursor(cursor);
    return TRUE;
}

// ----- snapping ---------------------------------------------------------------------------------

WORD MDrawTool::GetSnapFlags(MTessarayView*) {
    return SnapSuspended() ? 0 : GetOptionRecord().m_snap;
}

MSnapResult MDrawTool::Snap(MTessarayView* view, int x, int y, UINT flags) {
    MFloatPoint out;
    if (m_pointConstraint.IsEntryComplete()) {
        out = m_moved ? m_pointConstraint.EntryPoint() : m_pointConstraint.GetEntry().base;
        m_snapper.SetRecord(MSnapPoint(out, 0));
    } else {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        CPoint logical(x, y);
        dc->DPtoLP(&logical);
        out = view->LogicalToDoc(logical);
        dc.reset();
        m_snapper.SetRecord(MSnapPoint(out, 0));
        if (ApplyConstraint(view, x, y, &out, flags)) {
            // A constraint records the point it found; one that recorded none gets a plain record.
            const MSnapPoint& record = GetSnapRecord();
            if (record.x != out.x || record.y != out.y) m_snapper.SetRecord(MSnapPoint(out, 0));
        } else {
            const UINT traits = GetPickTraits();
            const bool gridAllowed = !(traits & kPicking) || (traits & kGridWhilePicking);
            const MSnapPoint record = m_snapper.Find(view, x, y, GetSnapFlags(view), gridAllowed, out);
            m_snapper.SetRecord(record);
            out = record.GetPoint();
        }
    }
    return m_snapper.Finish(out);
}
