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
constexpr COLORREF kWhite = RGB(255, 255, 255);
// Frames wider and higher than this are drawn side by side.
constexpr int kFrameBySides = 64;

// A dotted or solid 1-pixel white pen and no brush, selected for the scope.
class MTrackerPen {
public:
    MTrackerPen(CDC* dc, int style) : m_dc(dc), m_pen(style, 1, kWhite) {
        m_oldPen = dc->SelectObject(&m_pen);
        m_oldBrush = dc->SelectStockObject(NULL_BRUSH);
    }
    ~MTrackerPen() {
        m_dc->SelectObject(m_oldPen);
        if (m_oldBrush) m_dc->SelectObject(m_oldBrush);
    }
    MTrackerPen(const MTrackerPen&) = delete;
    MTrackerPen& operator=(const MTrackerPen&) = delete;

private:
    CDC* m_dc;
    CPen m_pen;
    CPen* m_oldPen;
    CGdiObject* m_oldBrush;
};

void DrawFrame(CDC* dc, CRect r) {
    r.NormalizeRect();
    MTrackerPen pen(dc, PS_DOT);
    if (r.Width() <= kFrameBySides || r.Height() <= kFrameBySides) {
        dc->Rectangle(&r);
        return;
    }
    // A large frame side by side: the exclusive-or figure of a rectangle costs its whole area, a
    // side only its own pixels. Each side leaves out its last pixel, the next side's first.
    const CPoint corners[5] = {{r.left, r.top},
                               {r.right - 1, r.top},
                               {r.right - 1, r.bottom - 1},
                               {r.left, r.bottom - 1},
                               {r.left, r.top}};
    for (int i = 0; i < 4; ++i) {
        dc->MoveTo(corners[i]);
        dc->LineTo(corners[i + 1]);
    }
}

}  // namespace

// ----- device level -----------------------------------------------------------------------------

void MDrawTool::OnLButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    if (m_buttonDown) return;
    RunGuarded(view, [&] {
        m_buttonDown = TRUE;
        m_moved = FALSE;
        m_pointerPoint = CPoint(x, y);
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        m_pressPoint = CPoint(x, y);
        const MFloatPoint pt = Snap(view, x, y, flags).point;
        OnButtonDownAt(view, dc.get(), pt, flags);
        UpdatePrompt();
    });
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
        ClearEntryFlags();
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
    if (!view || GetNewCount() == 0 || IsPickMode() || m_buttonDown) return;
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
    if (GetNewCount() < 1) CreateAndAddShape(view);
    if (GetNewCount() > 0) {
        OnPoint(view, pt.x, pt.y, kPhasePress, flags);
        RecalcNewShapes(view);
    }
}

void MDrawTool::OnButtonUpAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    MTrackerScope tracker(*this, view, dc);
    if (m_tracking) {
        EndTrack(view, pt.x, pt.y, flags);
        PickInRect(view, m_rubberX0, m_rubberY0, m_rubberX1, m_rubberY1, flags);
        if (GetPickCount() > 0) PickAt(view, pt.x, pt.y, flags);
    }
    if (GetNewCount() == 0) {
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
    RecalcNewShapes(view);
}

void MDrawTool::OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    const bool band = m_tracking && (pt.x != m_trackAnchor.x || pt.y != m_trackAnchor.y);
    if (!band && GetNewCount() == 0) return;
    MTrackerScope tracker(*this, view, dc);
    if (band) {
        m_rubberX0 = m_trackAnchor.x;
        m_rubberY0 = pt.y;
        m_rubberX1 = pt.x;
        m_rubberY1 = m_trackAnchor.y;
    }
    if (GetNewCount() > 0) {
        OnPoint(view, pt.x, pt.y, kPhaseMove, flags);
        RecalcNewShapes(view);
    }
}

void MDrawTool::BeginTrack(MTessarayView*, double x, double y, UINT) {
    m_tracking = TRUE;
    m_trackAnchor = MFloatPoint(x, y);
    m_rubberX0 = m_rubberX1 = x;
    m_rubberY0 = m_rubberY1 = y;
}

void MDrawTool::EndTrack(MTessarayView*, double x, double y, UINT) {
    m_tracking = FALSE;
    m_rubberX0 = m_trackAnchor.x;
    m_rubberY0 = y;
    m_rubberX1 = x;
    m_rubberY1 = m_trackAnchor.y;
}

MFloatRect MDrawTool::RubberBand() const {
    MFloatRect band;
    band.left = m_rubberX0;
    band.top = m_rubberY0;
    band.right = m_rubberX1;
    band.bottom = m_rubberY1;
    return band;
}

// ----- the XOR tracker --------------------------------------------------------------------------

void MDrawTool::DrawTracker(MTessarayView* view, CDC* dc) {
    if (!view || !dc) return;
    const int oldRop = dc->SetROP2(R2_XORPEN);
    if (GetPickCount() > 0 && (GetPickTraits() & kMarkPicks)) m_picks->GetShapes().DrawMarked(view, dc);
    const int limit = GetOptionRecord().m_drawLimit;
    if (GetNewCount() > 0) {
        // Many new shapes follow the pointer as their frame only.
        if (limit != 0 && GetNewCount() > limit)
            DrawFrame(dc, view->DocToLogicalRect(m_newShapes->GetExtent()));
        else
            DrawNewShapes(view, dc);
    }
    if (m_guideLineShown) {
        MTrackerPen pen(dc, PS_DOT);
        dc->MoveTo(view->DocToLogical(m_guideLine[0]));
        dc->LineTo(view->DocToLogical(m_guideLine[1]));
    }
    if (m_crossMarkShown) {
        const CPoint p = view->DocToLogical(m_crossMarkPoint);
        MTrackerPen pen(dc, PS_SOLID);
        dc->MoveTo(p.x - 4, p.y - 4);
        dc->LineTo(p.x + 5, p.y + 5);
        dc->MoveTo(p.x - 4, p.y + 5);
        dc->LineTo(p.x + 5, p.y - 4);
    }
    if (m_tracking) {
        DrawFrame(dc, view->DocToLogicalRect(RubberBand()));
    }
    dc->SetROP2(oldRop);
}

void MDrawTool::DrawNewShapes(MTessarayView* view, CDC* dc) {
    m_newShapes->DrawMarked(view, dc);
}

void MDrawTool::PaintTracker(MTessarayView* view, CDC* dc) {
    if (m_trackerHidden == 0) DrawTracker(view, dc);
}

void MDrawTool::HideTracker(MTessarayView* view, CDC* dc) {
    if (m_trackerHidden++ == 0) DrawTracker(view, dc);
}

void MDrawTool::ShowTracker(MTessarayView* view, CDC* dc, bool draw) {
    if (m_trackerHidden > 0 && --m_trackerHidden == 0 && draw) DrawTracker(view, dc);
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
    if (m_angleGiven && m_distanceGiven) {
        out = m_moved ? MFloatPoint(m_entryBase.x + m_entryDistance * std::cos(m_entryAngle),
                                    m_entryBase.y + m_entryDistance * std::sin(m_entryAngle))
                      : m_entryBase;
        m_snapper.SetRecord(MSnapPoint(out, 0));
    } else if (m_xGiven && m_yGiven) {
        out = m_moved ? MFloatPoint(m_entryBase.x + m_entryDx, m_entryBase.y + m_entryDy) : m_entryBase;
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
