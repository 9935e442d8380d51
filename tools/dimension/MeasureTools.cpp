#include "tools/dimension/MeasureTools.h"

#include <cmath>
#include <memory>
#include <unordered_set>
#include <vector>

#include "model/geometry/Geometry.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/gdi/DC.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/ConstrainedSnap.h"
#include "tools/ToolScopes.h"
#include "tools/dimension/MeasureDialogs.h"
#include "view/TessarayView.h"

// ----- length -----------------------------------------------------------------------------------

MMeasureLengthTool::MMeasureLengthTool(int toolId) : MDrawTool(toolId) {
    // Every release fixes the point that followed the pointer.
    const auto fix = [this](MTessarayView*, const MFloatPoint&) {
        if (MPolygonShape* polyline = Polyline(); polyline && polyline->GetPointCount() > 0)
            polyline->AddPoint(polyline->GetLastPoint());
        return true;
    };
    DeclareSteps(IDS_MEASURELENGTH_STEPS, 0, {MToolStep::AskedAtRelease(fix), MToolStep::Repeating(fix)});
}

MCadShape* MMeasureLengthTool::NewShape(MTessarayView*) {
    return new MPolygonShape(FALSE);
}

MPolygonShape* MMeasureLengthTool::Polyline() const {
    return Lists().NewCount() > 0 ? dynamic_cast<MPolygonShape*>(Lists().NewShape(0)) : nullptr;
}

void MMeasureLengthTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT flags) {
    MPolygonShape* polyline = Polyline();
    if (!polyline) return;
    const int n = polyline->GetPointCount();
    if (n == 0) {
        polyline->AddPoint(cursor);
        return;
    }
    MFloatPoint q = cursor;
    if ((flags & MK_SHIFT) && n >= 2) {
        const MFloatPoint base = polyline->GetPoint(n - 2);
        q = AlongNearerAxis(base, q);
    }
    polyline->SetLastPoint(q);
}

void MMeasureLengthTool::OnDoubleClickHook(MTessarayView*) {
    if (MPolygonShape* polyline = Polyline()) polyline->RemoveLastPoint();
}

BOOL MMeasureLengthTool::CanDecide() {
    const MPolygonShape* polyline = Polyline();
    return polyline && polyline->GetPointCount() > 1;
}

void MMeasureLengthTool::OnDecide(MTessarayView* view) {
    if (!view) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    if (const MPolygonShape* polyline = Polyline(); polyline && polyline->GetPointCount() >= 2)
        ShowResult(view, *polyline);
    End(view, FALSE);
}

void MMeasureLengthTool::ShowResult(MTessarayView* view, const MPolygonShape& polyline) {
    std::vector<MFloatPoint> points;
    for (int i = 0; i < polyline.GetPointCount(); ++i)
        points.push_back(view->DocToUser(polyline.GetPoint(i)));
    if (points.size() == 2) {
        const MFloatPoint d = points[1] - points[0];
        const double angle = std::fabs(std::atan2(d.y, d.x)) * 180.0 / kPi;
        MMeasureLengthDialog dialog(view, points[0].x, points[0].y, points[1].x, points[1].y, d.GetLength(),
                                    angle);
        dialog.DoModal();
        return;
    }
    std::vector<double> lengths;
    for (std::size_t i = 1; i < points.size(); ++i)
        lengths.push_back((points[i] - points[i - 1]).GetLength());
    MLengthReportDialog dialog(view);
    dialog.m_report = LengthReport(lengths);
    dialog.DoModal();
}

void MMeasureLengthTool::OnCancel(MTessarayView* view) {
    MPolygonShape* polyline = Polyline();
    if (!polyline || !view) return;
    {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        polyline->RemoveLastPoint();
        OnPoint(view, GetCurrentPoint().x, GetCurrentPoint().y, kPhaseMove, 0);
        Lists().RecalcNew(view);
    }
    if (polyline->GetPointCount() <= 1) End(view, FALSE);
}

// ----- angle ------------------------------------------------------------------------------------

MMeasureAngleTool::MMeasureAngleTool(int toolId) : MLinePairTool(toolId) {
    LoadPrompt(0, IDS_MEASUREANGLE_PICKS);
}

int MMeasureAngleTool::OnPickShape(MTessarayView* view, double, double, UINT) {
    if (Lists().PickCount() < 2) return 0;
    const std::optional<MPickedLineRays> rays = PickedRays();
    if (!rays) {
        // Parallel: the second line is asked again.
        while (Lists().PickCount() > 1)
            Lists().RemovePickAt(Lists().PickCount() - 1);
        return 0;
    }
    MMeasureAngleDialog dialog(view, GetAngleBetweenRays(rays->ray0, rays->ray1) * 180.0 / kPi);
    dialog.DoModal();
    // The press's tracker scope has erased the picks: starting again empty ends the operation.
    Reset();
    return 0;
}

// ----- area -------------------------------------------------------------------------------------

MMeasureAreaTool::MMeasureAreaTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(0, IDS_MEASUREAREA_PICKS);
}

MCadShape* MMeasureAreaTool::FilterPickTarget(MCadShape* shape) {
    auto* polygon = dynamic_cast<MPolygonShape*>(shape);
    return polygon && polygon->IsClosedFlag() ? polygon : nullptr;
}

double MMeasureAreaTool::PickedArea() const {
    // A shape clicked and then caught by a band again is one area.
    std::unordered_set<const MCadShape*> counted;
    double area = 0.0;
    for (int i = 0; i < Lists().PickCount(); ++i) {
        const auto* polygon = dynamic_cast<const MPolygonShape*>(Lists().Pick(i));
        if (polygon && counted.insert(polygon).second) area += polygon->GetArea();
    }
    return area;
}

void MMeasureAreaTool::OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    if (Lists().PickCount() == 0) {
        MDrawTool::OnRButtonDown(view, x, y, flags);
        return;
    }
    RunGuarded(view, [&] {
        MMeasureAreaDialog dialog(view, PickedArea());
        dialog.DoModal();
        End(view, FALSE);
    });
}
