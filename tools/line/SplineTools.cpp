#include "tools/line/SplineTools.h"

#include <memory>

#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "platform/gdi/DC.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/ConstrainedSnap.h"
#include "tools/ToolScopes.h"
#include "view/TessarayView.h"

MSplineToolBase::MSplineToolBase(int toolId, int minimumPoints, UINT prompts)
    : MDrawTool(toolId), m_minimumPoints(minimumPoints) {
    // Every release after the start fixes the control point that followed the pointer.
    const auto fix = [this](MTessarayView*, const MFloatPoint&) {
        if (MSplineShapeBase* spline = Spline(); spline && spline->GetControlPointCount() > 0)
            spline->AddControlPoint(spline->GetControlPoint(spline->GetControlPointCount() - 1));
        return true;
    };
    DeclareSteps(prompts, 0, {MToolStep::AskedAtRelease(fix), MToolStep::Repeating(fix)});
}

MSplineShapeBase* MSplineToolBase::Spline() const {
    return Lists().NewCount() ? dynamic_cast<MSplineShapeBase*>(Lists().NewShape(0)) : nullptr;
}

void MSplineToolBase::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT flags) {
    MSplineShapeBase* spline = Spline();
    if (!spline) return;
    const int count = spline->GetControlPointCount();
    if (count == 0) {
        spline->AddControlPoint(cursor);
        return;
    }
    MFloatPoint p = cursor;
    if ((flags & MK_SHIFT) && count >= 2) {
        const MFloatPoint before = spline->GetControlPoint(count - 2);
        p = AlongNearerAxis(before, cursor);
    }
    spline->SetLastControlPoint(p);
}

void MSplineToolBase::OnDoubleClickHook(MTessarayView* view) {
    MSplineShapeBase* spline = Spline();
    if (!spline || !view) return;
    {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        spline->RemoveLastControlPoint();
        Lists().RecalcNew(view);
    }
    // A double click ends either curve at two control points; the decide that follows finds
    // nothing left to do.
    Finish(view, kDoubleClickPoints);
}

BOOL MSplineToolBase::CanDecide() {
    const MSplineShapeBase* spline = Spline();
    return spline && spline->GetControlPointCount() >= m_minimumPoints;
}

void MSplineToolBase::OnDecide(MTessarayView* view) {
    if (!Spline() || !view) return;
    Finish(view, m_minimumPoints);
}

void MSplineToolBase::Finish(MTessarayView* view, int minimumPoints) {
    if (Spline()->GetControlPointCount() < minimumPoints) {
        End(view, FALSE);
        return;
    }
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    DecideAndReset(view);
}

void MSplineToolBase::OnCancel(MTessarayView* view) {
    MSplineShapeBase* spline = Spline();
    if (!spline || !view) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    spline->RemoveLastControlPoint();
    if (spline->GetControlPointCount() <= 1) {
        End(view, FALSE);
        return;
    }
    OnPoint(view, GetCurrentPoint().x, GetCurrentPoint().y, kPhaseMove, 0);
    Lists().RecalcNew(view);
}

MSplineTool::MSplineTool(int toolId) : MSplineToolBase(toolId, 2, IDS_SPLINE_STEPS) {}

MCadShape* MSplineTool::NewShape(MTessarayView*) {
    return new MSplineShape();
}

MSplineLoopTool::MSplineLoopTool(int toolId) : MSplineToolBase(toolId, 3, IDS_SPLINELOOP_STEPS) {}

MCadShape* MSplineLoopTool::NewShape(MTessarayView*) {
    return new MSplineLoopShape();
}
