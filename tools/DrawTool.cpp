#include "tools/DrawTool.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "document/TessarayDoc.h"
#include "document/UndoPackScope.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/containers/PackShape.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "platform/ui/Cursor.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/WinApp.h"
#include "resources/ResourceIds.h"
#include "view/Grid.h"
#include "view/TessarayView.h"

namespace {

constexpr double kDeadZonePixels = 8.0;
constexpr COLORREF kWhite = RGB(255, 255, 255);

std::vector<CString> SplitPrompts(const CString& text) {
    std::vector<CString> tokens;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t nl = text.find('\n', start);
        const CString token = text.substr(start, nl == CString::npos ? CString::npos : nl - start);
        if (!token.empty()) tokens.push_back(token);
        if (nl == CString::npos) break;
        start = nl + 1;
    }
    return tokens;
}

CRect NormalisedDeviceRect(MTessarayView* view, CDC* dc, const MFloatRect& extent, int inflate) {
    CRect r = view->DocToDeviceRect(dc, extent);
    r.NormalizeRect();
    r.InflateRect(inflate, inflate);
    return r;
}

}  // namespace

// ----- MLPointShapeArray ------------------------------------------------------------------------

const MLPointShapeArray::Entry& MLPointShapeArray::GetAt(int index) const {
    if (index < 0 || index >= GetSize()) AfxThrowInvalidArgException();
    return m_entries[static_cast<std::size_t>(index)];
}

int MLPointShapeArray::Add(MCadShape* shape, int layer, const MFloatPoint& point) {
    m_entries.push_back({shape, layer, point});
    return GetSize() - 1;
}

void MLPointShapeArray::RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) AfxThrowInvalidArgException();
    m_entries.erase(m_entries.begin() + index);
}

int MLPointShapeArray::Find(const MCadShape* shape) const {
    for (int i = GetSize() - 1; i >= 0; --i)
        if (m_entries[static_cast<std::size_t>(i)].shape == shape) return i;
    return -1;
}

// ----- construction and identity ----------------------------------------------------------------

MDrawTool::MDrawTool(int toolId)
    : m_toolId(toolId),
      m_editedShapes(std::make_unique<MLShapeArray>(FALSE)),
      m_newShapes(std::make_unique<MLShapeArray>(TRUE)),
      m_picks(std::make_unique<MLPointShapeArray>()) {
    ResetBase();
}

MDrawTool::~MDrawTool() {
    m_newShapes->DeleteAll();
}

void MDrawTool::SetCommandInfo(UINT cmdId, BOOL autoLayer, const CString& key) {
    const CString text = AfxLoadString(cmdId);
    const std::size_t nl = text.find('\n');
    if (nl == CString::npos) {
        m_title.clear();
    } else {
        const std::size_t next = text.find('\n', nl + 1);
        m_title = text.substr(nl + 1, next == CString::npos ? CString::npos : next - nl - 1);
    }
    m_autoLayer = autoLayer;
    m_commandId = cmdId;
    m_key = key;
}

void MDrawTool::LoadPrompt(UINT stepPromptsId, UINT pickPromptsId) {
    m_stepPrompts.clear();
    m_pickPrompts.clear();
    if (stepPromptsId) m_stepPrompts = SplitPrompts(AfxLoadString(stepPromptsId));
    if (pickPromptsId) m_pickPrompts = SplitPrompts(AfxLoadString(pickPromptsId));
}

BOOL MDrawTool::HasSettings() const {
    return m_autoLayer && !m_autoLayerName.empty();
}

MTessarayDoc* MDrawTool::Document(MTessarayView* view) const {
    return view ? view->GetDocument() : nullptr;
}

// ----- lifecycle --------------------------------------------------------------------------------

void MDrawTool::ResetBase() {
    m_newShapes->DeleteAll();
    m_editedShapes->RemoveAll();
    m_picks->RemoveAll();
    m_step = 0;
    m_guideLineShown = FALSE;
    m_snapped = FALSE;
    m_buttonDown = FALSE;
    m_tracking = FALSE;
    m_crossMarkShown = FALSE;
    ClearEntryFlags();
    m_fixedAngleSet = FALSE;
}

void MDrawTool::Reset() {
    m_newShapes->DeleteAll();
    m_editedShapes->RemoveAll();
    ClearPicks();
    m_step = 0;
    m_guideLineShown = FALSE;
    m_snapped = FALSE;
    m_buttonDown = FALSE;
    m_tracking = FALSE;
    m_crossMarkShown = FALSE;
    ClearEntryFlags();
    ClearConstraint();
    if (!m_keepValues) ReleaseConstraint();
    UpdatePrompt();
}

void MDrawTool::End(MTessarayView* view, BOOL) {
    if (view) {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        if (GetNewCount() > 0) {
            m_newShapes->Recalc(view);
            const CRect r = NormalisedDeviceRect(view, dc.get(), m_newShapes->GetDrawExtent(), 2);
            view->InvalidateRect(&r, TRUE);
        }
        for (int i = 0; i < GetPickCount(); ++i) {
            MCadShape* shape = m_picks->GetAt(i).shape;
            if (!shape) continue;
            const CRect r = NormalisedDeviceRect(view, dc.get(), shape->GetDrawExtent(), 2);
            view->InvalidateRect(&r, TRUE);
        }
        if (m_guideLineShown) {
            CRect r(view->DocToDevice(dc.get(), m_guideLine[0]), view->DocToDevice(dc.get(), m_guideLine[1]));
            r.NormalizeRect();
            r.InflateRect(1, 1);
            view->InvalidateRect(&r, TRUE);
        }
        if (m_crossMarkShown) {
            const CPoint p = view->DocToDevice(dc.get(), m_crossMarkPoint);
            CRect r(p.x - 4, p.y - 4, p.x + 5, p.y + 5);
            r.InflateRect(1, 1);
            view->InvalidateRect(&r, TRUE);
        }
        if (m_tracking) {
            MFloatRect band;
            band.left = m_rubberX0;
            band.top = m_rubberY0;
            band.right = m_rubberX1;
            band.bottom = m_rubberY1;
            const CRect r = NormalisedDeviceRect(view, dc.get(), band, 1);
            view->InvalidateRect(&r, TRUE);
        }
    }
    Reset();
    if (view) view->UpdateWindow();
}

BOOL MDrawTool::CanCancel() {
    return GetNewCount() > 0;
}

void MDrawTool::OnCancel(MTessarayView* view) {
    if (GetNewCount() > 0) End(view, FALSE);
}

// ----- events -----------------------------------------------------------------------------------

MXorTrackerScope::MXorTrackerScope(MDrawTool& tool, MTessarayView* view, CDC* dc, bool shownNow)
    : m_tool(tool), m_view(view), m_dc(dc), m_exceptions(std::uncaught_exceptions()) {
    if (shownNow) m_tool.DrawTracker(m_view, m_dc);
}

MXorTrackerScope::~MXorTrackerScope() noexcept(false) {
    if (!m_dismissed && std::uncaught_exceptions() == m_exceptions) m_tool.DrawTracker(m_view, m_dc);
}

void MDrawTool::OnLButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    if (m_buttonDown) return;
    m_buttonDown = TRUE;
    m_moved = FALSE;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    m_pressPoint = CPoint(x, y);
    MFloatPoint pt;
    SnapPoint(view, x, y, &pt, flags);
    OnButtonDownAt(view, dc.get(), pt, flags);
    UpdatePrompt();
}

void MDrawTool::OnLButtonUp(MTessarayView* view, int x, int y, UINT flags) {
    if (!m_buttonDown) return;
    m_buttonDown = FALSE;
    MFloatPoint pt;
    SnapPoint(view, x, y, &pt, flags);
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    OnButtonUpAt(view, dc.get(), pt, flags);
    view->m_anchorPoint = pt;
    m_moved = FALSE;
    ClearEntryFlags();
    UpdatePrompt();
}

void MDrawTool::OnMouseMove(MTessarayView* view, int x, int y, UINT flags) {
    const double dx = x - m_pressPoint.x;
    const double dy = y - m_pressPoint.y;
    if (!m_moved && std::hypot(dx, dy) < kDeadZonePixels) return;
    m_moved = TRUE;
    MFloatPoint pt;
    SnapPoint(view, x, y, &pt, flags);
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    OnMoveAt(view, dc.get(), pt, flags);
    UpdatePrompt();
}

void MDrawTool::OnLButtonDblClk(MTessarayView* view, int, int, UINT) {
    OnDoubleClickHook(view);
    OnDecide(view);
    m_buttonDown = FALSE;
}

void MDrawTool::OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    m_contextPoint = CPoint(x, y);
    if (flags & MK_SHIFT)
        OnCoordinateInput(view, &m_contextPoint, flags & ~static_cast<UINT>(MK_SHIFT));
    else if (flags & MK_CONTROL)
        OnNumericInput(view);
    else
        ShowContextMenu(view, x, y, flags);
}

void MDrawTool::Report(MTessarayView* view) {
    Reset();
    if (MTessarayDoc* doc = Document(view)) {
        doc->CancelUndo();
        doc->ReportOutOfMemory(view);
    }
}

void MDrawTool::RecalcNewShapes(MTessarayView* view) {
    m_newShapes->Recalc(view);
}

void MDrawTool::OnButtonDownAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    try {
        if (IsPickMode()) {
            OnPickAt(view, pt.x, pt.y, flags);
            return;
        }
        // A first shape is not on the screen yet; a construction under way is.
        const bool shown = GetNewCount() > 0;
        if (!shown) CreateAndAddShape(view);
        MXorTrackerScope tracker(*this, view, dc, shown);
        if (GetNewCount() > 0) {
            OnPoint(view, pt.x, pt.y, 0, flags);
            RecalcNewShapes(view);
        }
    } catch (const CException&) {
        Report(view);
    }
}

void MDrawTool::OnButtonUpAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    try {
        MXorTrackerScope tracker(*this, view, dc);
        if (m_tracking) {
            EndTrack(view, pt.x, pt.y, flags);
            PickInRect(view, m_rubberX0, m_rubberY0, m_rubberX1, m_rubberY1, flags);
            if (GetPickCount() > 0) PickAt(view, pt.x, pt.y, flags);
        }
        if (GetNewCount() == 0) {
            if (IsPickMode()) return;
            CreateAndAddShape(view);
            m_step = -1;
        }
        // A pick leaves the tracker off, and so does a completed construction (it is committed).
        if (IsPickMode()) {
            tracker.Dismiss();
            return;
        }
        if (OnPoint(view, pt.x, pt.y, 2, flags)) {
            tracker.Dismiss();
            DecideAndReset(view);
            return;
        }
        ++m_step;
        OnPoint(view, pt.x, pt.y, 3, flags);
        RecalcNewShapes(view);
    } catch (const CException&) {
        Report(view);
    }
}

void MDrawTool::OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    if (m_tracking && (pt.x != m_trackAnchor.x || pt.y != m_trackAnchor.y)) {
        MXorTrackerScope tracker(*this, view, dc);
        m_rubberX0 = m_trackAnchor.x;
        m_rubberY0 = pt.y;
        m_rubberX1 = pt.x;
        m_rubberY1 = m_trackAnchor.y;
    }
    if (GetNewCount() > 0) {
        MXorTrackerScope tracker(*this, view, dc);
        OnPoint(view, pt.x, pt.y, 1, flags);
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

void MDrawTool::DrawTracker(MTessarayView* view, CDC* dc) {
    if (!view || !dc) return;
    const int oldRop = dc->SetROP2(R2_XORPEN);
    if (GetPickCount() > 0) {
        MLShapeArray picked(FALSE);
        for (int i = 0; i < GetPickCount(); ++i)
            if (MCadShape* shape = m_picks->GetAt(i).shape) picked.Add(shape, 0);
        picked.DrawMarked(view, dc);
    }
    const int limit = GetOptionRecord().m_drawLimit;
    if (GetNewCount() > 0) {
        if (limit != 0 && GetNewCount() > limit) {
            CRect r = view->DocToLogicalRect(m_newShapes->GetExtent());
            r.NormalizeRect();
            CPen pen(PS_DOT, 1, kWhite);
            CSelectScope selectPen(dc, &pen);
            CSelectScope selectBrush(dc, NULL_BRUSH);
            dc->Rectangle(&r);
        } else {
            m_newShapes->DrawMarked(view, dc);
        }
    }
    if (m_guideLineShown) {
        CPen pen(PS_DOT, 1, kWhite);
        CSelectScope selectPen(dc, &pen);
        dc->MoveTo(view->DocToLogical(m_guideLine[0]));
        dc->LineTo(view->DocToLogical(m_guideLine[1]));
    }
    if (m_crossMarkShown) {
        const CPoint p = view->DocToLogical(m_crossMarkPoint);
        CPen pen(PS_SOLID, 1, kWhite);
        CSelectScope selectPen(dc, &pen);
        dc->MoveTo(p.x - 4, p.y - 4);
        dc->LineTo(p.x + 5, p.y + 5);
        dc->MoveTo(p.x - 4, p.y + 5);
        dc->LineTo(p.x + 5, p.y - 4);
    }
    if (m_tracking) {
        MFloatRect band;
        band.left = m_rubberX0;
        band.top = m_rubberY0;
        band.right = m_rubberX1;
        band.bottom = m_rubberY1;
        CRect r = view->DocToLogicalRect(band);
        r.NormalizeRect();
        CPen pen(PS_DOT, 1, kWhite);
        CSelectScope selectPen(dc, &pen);
        CSelectScope selectBrush(dc, NULL_BRUSH);
        dc->Rectangle(&r);
    }
    dc->SetROP2(oldRop);
}

BOOL MDrawTool::OnSetCursor(MTessarayView* view, int, int, UINT hitTest) {
    return hitTest == HTCLIENT ? SetToolCursor(view) : FALSE;
}

int MDrawTool::SnapCursorIndex(WORD kind) {
    if (kind & kSnapEndPoint) return 1;
    if (kind & kSnapIntersection) return 2;
    if (kind & kSnapMidPoint) return 3;
    if (kind & kSnapCenter) return 4;
    if (kind & kSnapOnShape) return 5;
    if (kind & kSnapBasePoint) return 6;
    return 0;
}

BOOL MDrawTool::SetToolCursor(MTessarayView*) {
    if (SnapCursorIndex(m_snap.kind) == 0) return FALSE;
    SetCursor(AfxLoadStandardCursor(IDC_CROSS));
    return TRUE;
}

// ----- snapping ---------------------------------------------------------------------------------

WORD MDrawTool::GetSnapFlags(MTessarayView*) {
    return SnapSuspended() ? 0 : GetOptionRecord().m_snap;
}

BOOL MDrawTool::ApplyConstraint(MTessarayView*, int, int, MFloatPoint* pt, UINT) {
    if (!m_xGiven && !m_yGiven && !m_angleGiven && !m_distanceGiven) return FALSE;
    if (!m_moved) {
        *pt = m_entryBase;
        return TRUE;
    }
    if (m_xGiven || m_yGiven) {
        if (m_xGiven) pt->x = m_entryBase.x + m_entryDx;
        if (m_yGiven) pt->y = m_entryBase.y + m_entryDy;
        return TRUE;
    }
    const MFloatPoint d = *pt - m_entryBase;
    double angle = m_angleGiven ? m_entryAngle : std::atan2(d.y, d.x);
    double distance = m_distanceGiven ? m_entryDistance : d.x * std::cos(angle) + d.y * std::sin(angle);
    *pt = MFloatPoint(m_entryBase.x + distance * std::cos(angle), m_entryBase.y + distance * std::sin(angle));
    return TRUE;
}

void MDrawTool::SnapPoint(MTessarayView* view, int x, int y, MFloatPoint* out, UINT flags) {
    bool entered = false;
    if (m_angleGiven && m_distanceGiven) {
        *out = m_moved ? MFloatPoint(m_entryBase.x + m_entryDistance * std::cos(m_entryAngle),
                                     m_entryBase.y + m_entryDistance * std::sin(m_entryAngle))
                       : m_entryBase;
        entered = true;
    } else if (m_xGiven && m_yGiven) {
        *out = m_moved ? MFloatPoint(m_entryBase.x + m_entryDx, m_entryBase.y + m_entryDy) : m_entryBase;
        entered = true;
    }
    if (entered) {
        m_snap = MSnapPoint(*out, 0);
    } else {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        CPoint logical(x, y);
        dc->DPtoLP(&logical);
        *out = view->LogicalToDoc(logical);
        dc.reset();
        if (ApplyConstraint(view, x, y, out, flags)) {
            m_snap = MSnapPoint(*out, 0);
        } else {
            const WORD kinds = GetSnapFlags(view);
            MSnapPoint record;
            MTessarayDoc* doc = Document(view);
            const WORD found = doc && kinds ? doc->FindSnapPoint(view, x, y, out, kinds, &record, FALSE) : 0;
            if (found) {
                m_snap = record;
                *out = record.GetPoint();
            } else if ((kinds & kSnapGrid) && view->GetGrid() &&
                       !(IsPickMode() && NoGridSnapWhilePicking())) {
                *out = view->GetGrid()->SnapDocPoint(view, *out);
                m_snap = MSnapPoint(*out, kSnapGrid);
            } else {
                m_snap = MSnapPoint(*out, 0);
            }
        }
    }
    if (SnapCursorIndex(m_snap.kind) == 0) {
        m_snapped = FALSE;
        m_snap = MSnapPoint(*out, 0);
    } else {
        m_snapped = TRUE;
    }
    m_currentPoint = *out;
}

// ----- construction and commit ------------------------------------------------------------------

int MDrawTool::CreateAndAddShape(MTessarayView* view) {
    MCadShape* shape = NewShape(view);
    if (!shape) return 0;
    m_newShapes->Add(shape, static_cast<DWORD>(-1));
    return 1;
}

void MDrawTool::Commit(MTessarayView* view, BOOL noReplace, BOOL) {
    MTessarayDoc* doc = Document(view);
    if (!doc || (GetNewCount() == 0 && GetOriginalCount() == 0)) return;
    MUndoPackScope pack(*doc);
    const int autoLayer = doc->FindAutoLayer(m_autoLayerName);
    const int originals = GetOriginalCount();
    for (int i = 0; i < GetNewCount(); ++i) {
        MCadShape* shape = GetNewShape(i);
        int layer = GetNewShapeLayer(i);
        if (!noReplace && i < originals) {
            doc->ReplaceShape(GetOriginalShape(i), shape, static_cast<int>(m_editedShapes->GetValueAt(i)));
        } else {
            if (autoLayer >= 0) layer = autoLayer;
            doc->AddShape(shape, layer);
        }
        shape->Recalc(view);
        shape->Invalidate(view, TRUE);
    }
    for (int i = noReplace ? 0 : GetNewCount(); i < originals; ++i) {
        MCadShape* old = GetOriginalShape(i);
        old->Invalidate(view, TRUE);
        doc->RemoveShape(old, static_cast<int>(m_editedShapes->GetValueAt(i)), TRUE);
    }
    // The document owns the shapes now: the lists only forget them.
    m_newShapes->RemoveAll();
    m_editedShapes->RemoveAll();
}

void MDrawTool::DecideAndReset(MTessarayView* view) {
    Commit(view, FALSE, FALSE);
    Reset();
}

void MDrawTool::ClickAtPoint(MTessarayView* view, const MFloatPoint& point, UINT flags) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const CPoint p = view->DocToDevice(dc.get(), point);
    dc.reset();
    OnLButtonDown(view, p.x, p.y, flags);
    OnLButtonUp(view, p.x, p.y, flags);
}

MFloatPoint MDrawTool::ProjectPointOnLine(double x0, double y0, double x1, double y1) {
    if (std::fabs(y1 - y0) > std::fabs(x1 - x0)) return MFloatPoint(x0, y1);
    return MFloatPoint(x1, y0);
}

// ----- lists ------------------------------------------------------------------------------------

int MDrawTool::GetNewCount() const {
    return m_newShapes->GetSize();
}

MCadShape* MDrawTool::GetNewShape(int index) const {
    return m_newShapes->GetAt(index);
}

int MDrawTool::GetNewShapeLayer(int index) const {
    return static_cast<int>(m_newShapes->GetValueAt(index));
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

int MDrawTool::GetOriginalCount() const {
    return m_editedShapes->GetSize();
}

MCadShape* MDrawTool::GetOriginalShape(int index) const {
    return m_editedShapes->GetAt(index);
}

void MDrawTool::AddOriginalShape(MCadShape* shape, int layer) {
    m_editedShapes->Add(shape, static_cast<DWORD>(layer));
}

// ----- prompt and points ------------------------------------------------------------------------

CString MDrawTool::GetPromptText() {
    CString prompt;
    if (IsPickMode() || m_step < 0) {
        if (!m_pickPrompts.empty())
            prompt = m_pickPrompts[static_cast<std::size_t>(
                std::min(GetPickCount(), static_cast<int>(m_pickPrompts.size()) - 1))];
    } else if (static_cast<std::size_t>(m_step) < m_stepPrompts.size()) {
        prompt = m_stepPrompts[static_cast<std::size_t>(m_step)];
    }
    if (prompt.empty()) return CString();
    CString text = "[" + m_title + "]:" + prompt;
    if (CanNumericInput()) text += AfxLoadString(IDS_NUMERIC_INPUT_HINT);
    return text;
}

void MDrawTool::UpdatePrompt() {
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (!frame) return;
    frame->SetMessageText(GetPromptText());
}

void MDrawTool::GetCurrentPointDP(MFloatPoint* out, MTessarayView* view) {
    *out = view->DocToUser(m_currentPoint);
}

void MDrawTool::GetAnchorPointDP(MFloatPoint* out, MTessarayView* view) {
    *out = view->DocToUser(m_currentPoint) - view->DocToUser(view->m_anchorPoint);
}

MFloatPoint MDrawTool::GetUserPoint(MTessarayView* view) {
    return view->DocToUser(m_currentPoint);
}

MFloatPoint MDrawTool::GetUserOffset(MTessarayView* view) {
    return view->DocToUser(m_currentPoint) - view->DocToUser(view->m_anchorPoint);
}

BOOL MDrawTool::OnViewCmdMsg(MTessarayView* view, UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) {
    m_view = view;
    return CCmdTarget::OnCmdMsg(id, code, extra, info);
}
