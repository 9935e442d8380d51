#include "tools/select/StretchTool.h"

#include "model/shapes/CadShape.h"
#include "model/shapes/PointEdit.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/PickList.h"
#include "tools/ToolScopes.h"
#include "view/TessarayView.h"

namespace {

constexpr int kMarkHalf = 4;
constexpr COLORREF kRegionColor = RGB(0, 255, 0);

}  // namespace

void MStretchHandle::Move(const MFloatPoint& offset) {
    if (!m_shape) return;
    int index = m_index;
    m_shape->MoveGrip(&index, m_position + offset, FALSE);
}

MStretchTool::MStretchTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(IDS_STRETCH_STEPS, IDS_STRETCH_PICKS);
    Commands().OnCommand(
        ID_POINT_EDIT, [this] { OnTogglePointEdit(GetView()); },
        [](CCmdUI* ui) {
            ui->Enable(TRUE);
            ui->SetCheck(PointEditMode ? 1 : 0);
        });
}

MFloatRect MStretchTool::GetRegion() const {
    MFloatRect region = Tracker().Band();
    region.Normalize();
    return region;
}

// ----- lifecycle --------------------------------------------------------------------------------

void MStretchTool::End(MTessarayView* view, BOOL switching) {
    if (view && Lists().PickCount() > 0 && Lists().NewCount() == 0) {
        InvalidateMarks(view);
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        CRect r = view->DocToDeviceRect(dc.get(), GetRegion());
        r.NormalizeRect();
        r.InflateRect(2, 2);
        view->InvalidateRect(&r, TRUE);
    }
    MDrawTool::End(view, switching);
}

void MStretchTool::Reset() {
    MDrawTool::Reset();
    m_handles.clear();
    m_wholeMove.clear();
    m_inside.clear();
    m_outside.clear();
}

// ----- marks ------------------------------------------------------------------------------------

void MStretchTool::RebuildMarks() {
    m_inside.clear();
    m_outside.clear();
    m_wholeMove.clear();
    m_handles.clear();
    const MFloatRect region = GetRegion();
    for (int i = 0; i < Lists().PickCount(); ++i) {
        MCadShape* shape = Lists().Pick(i);
        const bool whole = region.ContainsRect(shape->GetExtent());
        if (whole) m_wholeMove.push_back(shape);
        for (int j = 0; j < shape->GetGripCount(); ++j) {
            const MFloatPoint grip = shape->GetGrip(j);
            if (whole || region.ContainsPoint(grip)) {
                if (!whole) m_handles.emplace_back(shape, j, grip);
                m_inside.push_back(grip);
            } else {
                m_outside.push_back(grip);
            }
        }
    }
}

void MStretchTool::InvalidateMarks(MTessarayView* view) {
    if (!view || (m_inside.empty() && m_outside.empty())) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    for (const std::vector<MFloatPoint>* points : {&m_outside, &m_inside})
        for (const MFloatPoint& p : *points) {
            const CPoint d = view->DocToDevice(dc.get(), p);
            CRect r(d.x - kMarkHalf - 1, d.y - kMarkHalf - 1, d.x + kMarkHalf + 2, d.y + kMarkHalf + 2);
            view->InvalidateRect(&r, TRUE);
        }
}

void MStretchTool::OnTogglePointEdit(MTessarayView* view) {
    InvalidateMarks(view);
    PointEditMode = !PointEditMode;
    RebuildMarks();
    InvalidateMarks(view);
}

void MStretchTool::DrawMarks(MTessarayView* view, CDC* dc) {
    {
        CPen pen(PS_SOLID, 1, kRegionColor);
        CSelectScope selectPen(dc, &pen);
        CSelectScope brush(dc, NULL_BRUSH);
        CRect r = view->DocToLogicalRect(GetRegion());
        r.NormalizeRect();
        dc->Rectangle(&r);
    }
    const int oldRop = dc->SetROP2(R2_COPYPEN);
    const auto squares = [&](const std::vector<MFloatPoint>& points, int pen, int brush) {
        CSelectScope selectPen(dc, pen);
        CSelectScope selectBrush(dc, brush);
        for (const MFloatPoint& p : points) {
            const CPoint c = view->DocToLogical(p);
            dc->Rectangle(c.x - kMarkHalf, c.y - kMarkHalf, c.x + kMarkHalf + 1, c.y + kMarkHalf + 1);
        }
    };
    squares(m_outside, BLACK_PEN, WHITE_BRUSH);
    squares(m_inside, WHITE_PEN, BLACK_BRUSH);
    dc->SetROP2(oldRop);
}

void MStretchTool::DrawTracker(MTessarayView* view, CDC* dc) {
    if (!view || !dc) return;
    MDrawTool::DrawTracker(view, dc);
    if (Lists().PickCount() == 0 || Lists().NewCount() > 0) return;
    const int oldRop = dc->SetROP2(R2_XORPEN);
    DrawMarks(view, dc);
    dc->SetROP2(oldRop);
}

// ----- picking ----------------------------------------------------------------------------------

MCadShape* MStretchTool::FilterPickTarget(MCadShape* shape) {
    if (!shape) return nullptr;
    const MFloatRect region = GetRegion();
    if (region.ContainsRect(shape->GetExtent())) return shape;
    for (int j = 0; j < shape->GetGripCount(); ++j)
        if (region.ContainsPoint(shape->GetGrip(j))) return shape;
    return nullptr;
}

void MStretchTool::PickAt(MTessarayView*, double, double, UINT) {
    RebuildMarks();
}

void MStretchTool::PrepareCopies() {
    Lists().NewShapes().DeleteAll();
    m_handles.clear();
    m_wholeMove.clear();
    const MFloatRect region = GetRegion();
    for (int i = 0; i < Lists().PickCount(); ++i) {
        MCadShape* shape = Lists().Pick(i);
        const bool whole = region.ContainsRect(shape->GetExtent());
        std::unique_ptr<MCadShape> copy(whole ? shape->Duplicate() : shape->Clone());
        copy->Recalc(GetView());
        MCadShape* c = copy.get();
        Lists().AddNewExpanded(copy.release(), Lists().PickLayer(i));
        if (whole) {
            m_wholeMove.push_back(c);
            continue;
        }
        for (int j = 0; j < c->GetGripCount(); ++j) {
            const MFloatPoint grip = c->GetGrip(j);
            if (region.ContainsPoint(grip)) m_handles.emplace_back(c, j, grip);
        }
    }
}

int MStretchTool::OnPickAt(MTessarayView* view, double x, double y, UINT flags) {
    SetView(view);
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    InvalidateMarks(view);
    const MFloatPoint p(x, y);
    if (Lists().PickCount() > 0) {
        m_origin = p;
        if (!GetRegion().ContainsPoint(p)) {
            // Outside the region: the region and its picks are given up.
            End(view, FALSE);
            return 0;
        }
        m_previous = p;
        PrepareCopies();
        return Lists().NewCount() > 0 ? 1 : 0;
    }
    if (!(GetPickTraits() & kPickByRect)) return 0;
    Tracker().BeginBand(MFloatPoint(x, y));
    return 1;
}

// ----- the stretch ------------------------------------------------------------------------------

BOOL MStretchTool::ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags) {
    if (MDrawTool::ApplyConstraint(view, x, y, pt, flags)) return TRUE;
    if (Lists().NewCount() == 0 || !(flags & MK_SHIFT)) return FALSE;
    *pt = ConstrainAngleLength(view, m_origin, *pt, 0.0, FALSE, 0.0, FALSE, flags);
    return TRUE;
}

int MStretchTool::OnPoint(MTessarayView*, double x, double y, int phase, UINT flags) {
    if (phase != kPhaseMove && phase != kPhaseTest) return 0;
    const MFloatPoint p(x, y);
    const MFloatPoint total = p - m_origin;
    const MFloatPoint step = p - m_previous;
    m_previous = p;
    if (HasMoved()) {
        for (MCadShape* shape : m_wholeMove)
            shape->Move(step);
        for (MStretchHandle& handle : m_handles)
            handle.Move(total);
    }
    if (phase != kPhaseTest) return 0;
    if (!HasMoved()) {
        Lists().NewShapes().DeleteAll();
        m_handles.clear();
        m_wholeMove.clear();
    } else if (!(flags & MK_CONTROL)) {
        for (int i = 0; i < Lists().PickCount(); ++i)
            Lists().AddEdited(Lists().Pick(i), Lists().PickLayer(i));
    }
    return 1;
}

void MStretchTool::DecideAndReset(MTessarayView* view) {
    // The region follows only a stretch: a click inside without a drag leaves it where it is.
    if (Lists().NewCount() > 0) {
        Commit(view, FALSE, TRUE);
        const MFloatPoint offset = m_previous - m_origin;
        Tracker().MoveBand(offset);
    }
    RebuildMarks();
    InvalidateMarks(view);
}
