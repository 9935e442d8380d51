#include "tools/edit/CopyTools.h"

#include <cmath>

#include "model/geometry/Geometry.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "resources/ResourceIds.h"
#include "tools/ToolScopes.h"
#include "tools/edit/CopyDialogs.h"
#include "view/TessarayView.h"

namespace {
constexpr double kCopyDegreesToRadians = kPi / 180.0;
constexpr double kWholeTurnTolerance = 1e-9;
}  // namespace

// ----- both tools ------------------------------------------------------------------------------

MCopyTool::MCopyTool(int toolId) : MDrawTool(toolId), m_noShapes(std::make_unique<MLShapeArray>(FALSE)) {}

MCopyTool::~MCopyTool() = default;

void MCopyTool::Reset() {
    m_templates.clear();
    m_positions.clear();
    m_targets.clear();
    m_angles.clear();
    m_turnedExtents.clear();
    m_perCopy = 0;
    m_deferPlacing = FALSE;
    m_waiting = FALSE;
    MDrawTool::Reset();
}

void MCopyTool::End(MTessarayView* view, BOOL switching) {
    // The base takes away what the copies cover: they stand where the frame was shown first.
    PlaceWaitingCopies();
    MDrawTool::End(view, switching);
}

void MCopyTool::OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    if (Lists().PickCount() == 0 || Lists().NewCount() > 0) {
        MDrawTool::OnRButtonDown(view, x, y, flags);
        return;
    }
    RunGuarded(view, [&] {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        const MFloatPoint reference = Snap(view, x, y, flags).point;
        if (!RunDialog(view)) return;
        m_reference = reference;
        CreateAndAddShape(view);
        m_positions.assign(m_count, m_reference);
        m_targets = m_positions;
        m_angles.assign(m_count, 0.0);
        Lists().RecalcNew(view);
        m_extent = MFloatRect();
        for (int k = 0; k < m_perCopy; ++k)
            if (k == 0)
                m_extent = Lists().NewShape(k)->GetExtent();
            else
                m_extent.Union(Lists().NewShape(k)->GetExtent());
    });
}

int MCopyTool::CreateAndAddShape(MTessarayView*) {
    for (int i = 0; i < m_count; ++i)
        for (int j = 0; j < Lists().PickCount(); ++j) {
            std::unique_ptr<MCadShape> copy(Lists().Pick(j)->Duplicate());
            Lists().AddNewExpanded(copy.get(), Lists().PickLayer(j));
            copy.release();
        }
    m_perCopy = m_count > 0 ? Lists().NewCount() / m_count : 0;
    if (RotatesCopies())
        for (int k = 0; k < m_perCopy; ++k)
            m_templates.emplace_back(Lists().NewShape(k)->Duplicate());
    return Lists().NewCount() > 0 ? 1 : 0;
}

void MCopyTool::PlaceCopy(int index, const MFloatPoint& p, double angle) {
    if (index < 0 || index >= static_cast<int>(m_positions.size())) return;
    m_targets[index] = p;
    m_angles[index] = angle;
    if (m_deferPlacing)
        m_waiting = TRUE;
    else
        ApplyPlace(index);
}

void MCopyTool::ApplyPlace(int index) {
    const MFloatPoint p = m_targets[index];
    const int first = index * m_perCopy;
    if (!m_templates.empty()) {
        const MFloatPoint offset(p.x - m_reference.x, p.y - m_reference.y);
        for (int k = 0; k < m_perCopy; ++k) {
            std::unique_ptr<MCadShape> turned(
                m_templates[k]->CreateRotated(m_reference.x, m_reference.y, m_angles[index]));
            turned->Move(offset);
            Lists().SetNewShape(first + k, turned.release(), Lists().NewLayer(first + k));
        }
    } else {
        const MFloatPoint offset(p.x - m_positions[index].x, p.y - m_positions[index].y);
        if (offset.x != 0.0 || offset.y != 0.0)
            for (int k = 0; k < m_perCopy; ++k)
                Lists().NewShape(first + k)->Move(offset);
    }
    m_positions[index] = p;
}

void MCopyTool::PlaceWaitingCopies() {
    if (!m_waiting) return;
    m_waiting = FALSE;
    for (int i = 0; i < static_cast<int>(m_targets.size()); ++i)
        ApplyPlace(i);
}

BOOL MCopyTool::ShowsFrameOnly() const {
    const int limit = GetOptionRecord().m_drawLimit;
    return limit != 0 && Lists().NewCount() > limit && m_perCopy > 0;
}

void MCopyTool::OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    if (Tracker().IsBanding() || !ShowsFrameOnly()) {
        MDrawTool::OnMoveAt(view, dc, pt, flags);
        return;
    }
    // No copy moves and none is recalculated: the frame of their places is all that is drawn.
    MTrackerScope tracker(*this, view, dc);
    m_deferPlacing = TRUE;
    OnPoint(view, pt.x, pt.y, kPhaseMove, flags);
    m_deferPlacing = FALSE;
}

MFloatRect MCopyTool::TurnedExtent(MTessarayView* view, double angle) {
    if (m_templates.empty() || angle == 0.0) return m_extent;
    const auto known = m_turnedExtents.find(angle);
    if (known != m_turnedExtents.end()) return known->second;
    // Placing moves turn the copies afresh each time; remember only the latest turns.
    if (m_turnedExtents.size() > 4 * m_targets.size()) m_turnedExtents.clear();
    MFloatRect extent;
    for (int k = 0; k < m_perCopy; ++k) {
        std::unique_ptr<MCadShape> turned(m_templates[k]->CreateRotated(m_reference.x, m_reference.y, angle));
        turned->Recalc(view);
        if (k == 0)
            extent = turned->GetExtent();
        else
            extent.Union(turned->GetExtent());
    }
    m_turnedExtents.emplace(angle, extent);
    return extent;
}

MFloatRect MCopyTool::WaitingFrame(MTessarayView* view) {
    MFloatRect frame;
    for (int i = 0; i < static_cast<int>(m_targets.size()); ++i) {
        MFloatRect r = TurnedExtent(view, m_angles[i]);
        r.Offset(MFloatPoint(m_targets[i].x - m_reference.x, m_targets[i].y - m_reference.y));
        if (i == 0)
            frame = r;
        else
            frame.Union(r);
    }
    return frame;
}

void MCopyTool::DrawTracker(MTessarayView* view, CDC* dc) {
    const BOOL copiesShown = Lists().NewCount() == 0 || ShowsCopies();
    if ((copiesShown && !ShowsFrameOnly()) || !view || !dc) {
        MDrawTool::DrawTracker(view, dc);
        return;
    }
    // The base draws the picks, the guide line and the cross mark while an empty list stands in
    // for the copies, which may still wait at earlier places; the frame is drawn at their own.
    Lists().SwapNew(m_noShapes);
    struct SwapBack {
        MCopyTool& tool;
        ~SwapBack() { tool.Lists().SwapNew(tool.m_noShapes); }
    } swapBack{*this};
    MDrawTool::DrawTracker(view, dc);
    if (!copiesShown) return;
    CRect r = view->DocToLogicalRect(WaitingFrame(view));
    r.NormalizeRect();
    const int oldRop = dc->SetROP2(R2_XORPEN);
    CPen pen(PS_DOT, 1, RGB(255, 255, 255));
    CSelectScope selectPen(dc, &pen);
    CSelectScope selectBrush(dc, NULL_BRUSH);
    dc->Rectangle(&r);
    dc->SetROP2(oldRop);
}

// ----- along a line ----------------------------------------------------------------------------

MCopyLineTool::MCopyLineTool(int toolId) : MCopyTool(toolId) {
    DeclareSteps(IDS_COPYLINE_STEPS, IDS_COPYLINE_PICKS, {MToolStep(), MToolStep()});
}

BOOL MCopyLineTool::RunDialog(MTessarayView* view) {
    MInputLineCopyDialog dialog(view);
    if (dialog.DoModal() != IDOK) return FALSE;
    const MLineCopyValues& v = GetLineCopyValues();
    m_count = v.count;
    m_spacing = view->UserToDocLength(v.spacing);
    m_angle = v.angle * kCopyDegreesToRadians;
    m_spacingFixed = v.spacingFixed ? TRUE : FALSE;
    m_angleFixed = v.angleFixed ? TRUE : FALSE;
    m_rotate = v.rotate ? TRUE : FALSE;
    return TRUE;
}

void MCopyLineTool::BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) {
    const MFloatPoint c = cursor;
    if (GetStep() <= 0) {
        m_start = m_end = c;
        Tracker().crossMarkShown = TRUE;
        Tracker().crossMarkPoint = c;
        return;
    }
    const MFloatPoint q =
        ConstrainAngleLength(view, m_start, c, 0.0, FALSE, GetPointConstraint().GetFixedAngle(),
                             GetPointConstraint().HasFixedAngle(), flags);
    if (GetStep() == 1) {
        m_end = q;
        Tracker().crossMarkShown = FALSE;
        Tracker().guideLineShown = TRUE;
        Tracker().guideLine[0] = m_start;
        Tracker().guideLine[1] = m_end;
        const double dx = m_end.x - m_start.x, dy = m_end.y - m_start.y;
        if (!m_spacingFixed) m_spacing = m_count < 2 ? 0.0 : std::hypot(dx, dy) / (m_count - 1);
        if (!m_angleFixed) m_angle = std::atan2(dy, dx);
    }
    const MFloatPoint d(m_spacing * std::cos(m_angle), m_spacing * std::sin(m_angle));
    for (int i = 0; i < m_count; ++i)
        PlaceCopy(i, MFloatPoint(m_start.x + i * d.x, m_start.y + i * d.y), m_angle);
}

// ----- around a circle -------------------------------------------------------------------------

MCopyRotateTool::MCopyRotateTool(int toolId) : MCopyTool(toolId) {
    // A fixed radius, start or end angle passes its step.
    DeclareSteps(IDS_COPYROTATE_STEPS, IDS_COPYROTATE_PICKS,
                 {MToolStep(), MToolStep::SkippedWhen([this] { return m_radiusFixed != FALSE; }),
                  MToolStep::SkippedWhen([this] { return m_startFixed != FALSE; }),
                  MToolStep::SkippedWhen([this] { return m_endFixed != FALSE; })});
}

BOOL MCopyRotateTool::RunDialog(MTessarayView* view) {
    m_radius = m_startAngle = m_endAngle = 0.0;
    MInputRotCopyDialog dialog(view);
    if (dialog.DoModal() != IDOK) return FALSE;
    const MRotCopyValues& v = GetRotCopyValues();
    m_count = v.count;
    m_radiusFixed = v.radiusFixed ? TRUE : FALSE;
    m_startFixed = v.startFixed ? TRUE : FALSE;
    m_endFixed = v.endFixed ? TRUE : FALSE;
    m_rotate = v.rotate ? TRUE : FALSE;
    m_radius = m_radiusFixed ? view->UserToDocLength(v.radius) : 0.0;
    m_startAngle = m_startFixed ? v.startAngle * kCopyDegreesToRadians : 0.0;
    m_endAngle = m_endFixed ? v.endAngle * kCopyDegreesToRadians : 0.0;
    return TRUE;
}

double MCopyRotateTool::CopyAngle(double start, double end, int count, int i) {
    if (count < 2) return start;
    double span = std::fmod(end - start, 2 * kPi);
    if (span < 0) span += 2 * kPi;
    if (span < kWholeTurnTolerance || 2 * kPi - span < kWholeTurnTolerance)
        span = (count - 1) * 2 * kPi / count;
    return start + i * span / (count - 1);
}

void MCopyRotateTool::FollowStep(const MFloatPoint& c) {
    const double direction = std::atan2(c.y - m_centre.y, c.x - m_centre.x);
    if (GetStep() == 0) {
        m_centre = c;
        Tracker().crossMarkShown = TRUE;
        Tracker().crossMarkPoint = c;
        Tracker().guideLineShown = TRUE;
        Tracker().guideLine[0] = Tracker().guideLine[1] = c;
        return;
    }
    Tracker().crossMarkShown = FALSE;
    if (GetStep() == 1 && !m_radiusFixed) {
        m_radius = std::hypot(c.x - m_centre.x, c.y - m_centre.y);
        Tracker().guideLine[1] = c;
    }
    if (GetStep() == 2 && !m_startFixed) {
        Tracker().guideLine[1] = c;
        m_startAngle = direction;
        if (!m_endFixed) m_endAngle = direction;
    }
    if (GetStep() == 3 && !m_endFixed) {
        Tracker().guideLine[1] = c;
        m_endAngle = direction;
    }
}

void MCopyRotateTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    FollowStep(cursor);
    for (int i = 0; i < m_count; ++i) {
        const double a = CopyAngle(m_startAngle, m_endAngle, m_count, i);
        PlaceCopy(i, MFloatPoint(m_centre.x + m_radius * std::cos(a), m_centre.y + m_radius * std::sin(a)),
                  a - m_startAngle);
    }
}
