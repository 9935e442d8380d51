#include "tools/line/ContLineTool.h"

#include <memory>
#include <vector>

#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "resources/ResourceIds.h"
#include "tools/SettingLine.h"
#include "tools/ToolScopes.h"
#include "tools/line/LineDialogs.h"
#include "view/TessarayView.h"

MContLineTool::MContLineTool(int toolId) : MLineTool(toolId) {
    // Every release after the start fixes a vertex.
    const auto fix = [this](MTessarayView* view, const MFloatPoint&) {
        FixVertex(view);
        return true;
    };
    DeclareSteps(IDS_CONTLINE_STEPS, 0, {MToolStep::AskedAtRelease(fix), MToolStep::Repeating(fix)});
}

MPolygonShape* MContLineTool::Chain() const {
    return Lists().NewCount() > 0 ? dynamic_cast<MPolygonShape*>(Lists().NewShape(0)) : nullptr;
}

void MContLineTool::OnDoubleClickHook(MTessarayView*) {
    // The double click's first release appended the vertex that followed the pointer.
    if (MPolygonShape* chain = Chain()) chain->RemoveLastPoint();
}

MCadShape* MContLineTool::NewShape(MTessarayView*) {
    return new MPolygonShape(FALSE);
}

void MContLineTool::DropSegmentConstraints() {
    ClearConstraint();
    if (KeepsValues())
        m_angleLock = FALSE;
    else
        ReleaseConstraint();
}

void MContLineTool::BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) {
    MPolygonShape* chain = Chain();
    if (!chain) return;
    if (chain->GetPointCount() == 0) {
        chain->AddPoint(cursor);
        return;
    }
    MFloatPoint point = cursor;
    const int before = chain->GetPointCount() - 2;
    if (before >= 0) {
        MFloatPoint fixed = chain->GetPoint(before);
        ApplyTangentTargets(view, &fixed, &point, 0, flags);
        chain->SetPoint(before, fixed);
    }
    chain->SetLastPoint(point);
}

void MContLineTool::FixVertex(MTessarayView*) {
    MPolygonShape* chain = Chain();
    if (!chain) return;
    const bool segment = chain->GetPointCount() >= 2;
    chain->AddPoint(chain->GetLastPoint());
    if (segment) DropSegmentConstraints();
}

void MContLineTool::OnNumericInput(MTessarayView* view) {
    BOOL keep = KeepsValues();
    MInputContLineDialog dialog(view, &m_lockLength, &m_lengthLock, &m_lockAngle, &m_angleLock, &m_polyline,
                                &keep);
    const int answer = dialog.DoModal();
    SetKeepValues(keep);
    if (answer != IDOK) return;
    SanitizeLocks();
    if (m_angleLock) ClearConstraint();
}

BOOL MContLineTool::CanDecide() {
    const MPolygonShape* chain = Chain();
    return chain && chain->GetPointCount() > 1;
}

void MContLineTool::OnDecide(MTessarayView* view) {
    MPolygonShape* chain = Chain();
    if (!chain || !view) {
        Reset();
        return;
    }
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    if (chain->GetPointCount() > 1) {
        if (!m_polyline) SplitIntoLines(*chain);
        Commit(view, FALSE, FALSE);
    }
    Reset();
}

void MContLineTool::SplitIntoLines(const MPolygonShape& chain) {
    std::vector<MFloatPoint> points;
    for (int i = 0; i < chain.GetPointCount(); ++i)
        points.push_back(chain.GetPoint(i));
    Lists().NewShapes().DeleteAll();
    for (std::size_t i = 1; i < points.size(); ++i)
        Lists().AddNewExpanded(new MLineShape(points[i - 1], points[i]), -1);
}

void MContLineTool::OnCancel(MTessarayView* view) {
    MPolygonShape* chain = Chain();
    if (!chain || !view) return;
    {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        chain->RemoveLastPoint();
        OnPoint(view, GetCurrentPoint().x, GetCurrentPoint().y, kPhaseMove, 0);
        Lists().RecalcNew(view);
    }
    if (chain->GetPointCount() <= 1) End(view, FALSE);
}

void MContLineTool::OnConstraintMode(MTessarayView* view, MConstraintMode mode) {
    if (mode != kModeTangent) {
        MLineTool::OnConstraintMode(view, mode);
        return;
    }
    MCadShape* shape = TangentShape();
    MPolygonShape* chain = Chain();
    if (!shape || !view || !chain || chain->GetPointCount() < 2) return;
    SetTangentTarget(1, shape, GetSnapRecord().GetPoint());
    ClickAtPoint(view, GetSnapRecord().GetPoint(), 0);
    ClearConstraint();
}

BOOL MContLineTool::GetConstraintBase(MFloatPoint* base) {
    const MPolygonShape* chain = Chain();
    if (!chain || chain->GetPointCount() < 2) return FALSE;
    *base = chain->GetPoint(chain->GetPointCount() - 2);
    return TRUE;
}

void MContLineTool::SaveSettings(std::ostream& os) {
    WriteSettingLine(os, {m_lockLength, m_lockAngle, m_polyline ? 1.0 : 0.0});
}

void MContLineTool::LoadSettings(std::istream& is) {
    double polyline = 0.0;
    ReadValues(is, {{&m_lockLength, kDefaultLength}, {&m_lockAngle, 0.0}, {&polyline, 0.0}});
    m_polyline = polyline != 0.0 ? TRUE : FALSE;
}
