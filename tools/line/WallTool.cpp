#include "tools/line/WallTool.h"

#include <algorithm>
#include <cmath>
#include <istream>
#include <memory>
#include <ostream>
#include <vector>

#include "document/DocShapeArray.h"
#include "document/TessarayDoc.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/render/PolyLine.h"
#include "model/settings/LineStyle.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "tools/SettingLine.h"
#include "tools/ToolScopes.h"
#include "tools/line/WallDialogs.h"
#include "view/TessarayView.h"

namespace {

// The offsets of a direction's left and right outlines.
MFloatPoint LeftOffset(const MFloatPoint& u, double width) {
    return MFloatPoint(-u.y * width, u.x * width);
}
MFloatPoint RightOffset(const MFloatPoint& u, double width) {
    return MFloatPoint(u.y * width, -u.x * width);
}

// The last entry of the line-style list.
constexpr int kAuxiliaryLineStyle = 0x88;

std::vector<MFloatPoint> PointsOf(const MPolygonShape& polygon) {
    std::vector<MFloatPoint> points;
    for (int i = 0; i < polygon.GetPointCount(); ++i)
        points.push_back(polygon.GetPoint(i));
    return points;
}

// The first vertex of a polyline's tail, which holds its last two segments: the pointer moves
// the last vertex and the corner before it.
std::size_t TailStart(std::size_t count) {
    return count > 3 ? count - 3 : 0;
}

// The fixed parts (up to the tail's first vertex) and the tails of the polylines, in the pen of
// the marked tracker; two calls with the same points leave the XOR screen as it was.
void DrawParts(MTessarayView* view, CDC* dc, const std::array<std::vector<MFloatPoint>, 3>& polylines,
               bool fixedParts) {
    CPen green(PS_SOLID, 1, RGB(0, 255, 0));
    CSelectScope selectGreen(dc, &green);
    CSelectScope selectBrush(dc, NULL_BRUSH);
    MPolyLine& renderer = GetPolyLineRenderer();
    for (const std::vector<MFloatPoint>& points : polylines) {
        const std::size_t s = TailStart(points.size());
        if (fixedParts && s > 0) renderer.DrawThin(view, dc, points.data(), static_cast<int>(s + 1), FALSE);
        renderer.DrawThin(view, dc, points.data() + s, static_cast<int>(points.size() - s), FALSE);
    }
}

// The polylines agree up to the first vertex of their tails.
bool SameFixedParts(const std::array<std::vector<MFloatPoint>, 3>& a,
                    const std::array<std::vector<MFloatPoint>, 3>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].size() != b[i].size()) return false;
        const std::size_t s = TailStart(a[i].size());
        if (s > 0 && !std::equal(a[i].begin(), a[i].begin() + s + 1, b[i].begin())) return false;
    }
    return true;
}

}  // namespace

void MWallStyle::MakeSound() {
    if (!std::isfinite(leftWidth)) leftWidth = 100.0;
    if (!std::isfinite(rightWidth)) rightWidth = 100.0;
    width = std::isfinite(width) ? std::clamp(width, 0.0, kMaxWidth) : 0.0;
    // The entries of the line-style list: the table's styles, then the auxiliary line.
    if (lineStyle < 0 || lineStyle > GetLineStyleTable().GetSize()) lineStyle = 0;
}

MWallTool::MWallTool(int toolId) : MContLineTool(toolId) {}

MPolygonShape* MWallTool::Outline(int which) const {
    return Lists().NewCount() == 3 ? dynamic_cast<MPolygonShape*>(Lists().NewShape(which)) : nullptr;
}

int MWallTool::CreateAndAddShape(MTessarayView* view) {
    for (int i = 0; i < 3; ++i)
        MDrawTool::CreateAndAddShape(view);
    return 3;
}

void MWallTool::ForEachPolyline(void (*action)(MPolygonShape&, const MFloatPoint&), const MFloatPoint& p) {
    for (int i = 0; i < 3; ++i)
        if (MPolygonShape* polyline = Outline(i)) action(*polyline, p);
}

void MWallTool::UpdateWallOutline(MTessarayView* view, const MFloatPoint& p) {
    MPolygonShape *left = Outline(0), *right = Outline(1), *centre = Outline(2);
    if (!left || !right || !centre) return;
    const int n = centre->GetPointCount();
    if (n <= 1) return;
    const int c = n - 1;
    const double wl = view ? view->UserToDocLength(m_style.leftWidth) : m_style.leftWidth;
    const double wr = view ? view->UserToDocLength(m_style.rightWidth) : m_style.rightWidth;
    centre->SetPoint(c, p);
    const MFloatPoint d = p - centre->GetPoint(c - 1);
    if (d.GetLength() == 0.0) {
        left->SetPoint(c, left->GetPoint(c - 1));
        right->SetPoint(c, right->GetPoint(c - 1));
        return;
    }
    const MFloatPoint u = d / d.GetLength();
    left->SetPoint(c, p + LeftOffset(u, wl));
    right->SetPoint(c, p + RightOffset(u, wr));
    if (c == 1) {
        left->SetPoint(0, left->GetPoint(1) - d);
        right->SetPoint(0, right->GetPoint(1) - d);
        return;
    }
    for (int j = c - 1; j >= 1; --j) {
        const MFloatPoint e = centre->GetPoint(j) - centre->GetPoint(j - 1);
        if (e.GetLength() == 0.0) continue;
        const MFloatPoint v = e / e.GetLength();
        const MFloatPoint leftCorner = centre->GetPoint(j) + LeftOffset(v, wl);
        const MFloatPoint rightCorner = centre->GetPoint(j) + RightOffset(v, wr);
        // Parallel segments meet at the offset of their shared vertex: the new end would leave a
        // spur along every wall clicked through points in a row.
        if (u.Cross(v) * u.Cross(v) <= kZeroTolerance) {
            left->SetPoint(j, leftCorner);
            right->SetPoint(j, rightCorner);
            return;
        }
        MFloatPoint corner;
        IntersectLines(&corner, left->GetPoint(c), leftCorner, d, e);
        left->SetPoint(j, corner);
        IntersectLines(&corner, right->GetPoint(c), rightCorner, d, e);
        right->SetPoint(j, corner);
        return;
    }
    left->SetPoint(0, left->GetPoint(c));
    right->SetPoint(0, right->GetPoint(c));
}

void MWallTool::AddWallVertex(MTessarayView* view, const MFloatPoint& p) {
    MPolygonShape* centre = Outline(2);
    if (!centre) return;
    const int n = centre->GetPointCount();
    if (n >= 2 && centre->GetPoint(n - 2) == p) return;
    UpdateWallOutline(view, p);
    for (int i = 0; i < 3; ++i)
        if (MPolygonShape* polyline = Outline(i))
            polyline->AddPoint(polyline->GetPoint(polyline->GetPointCount() - 1));
}

void MWallTool::BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) {
    MPolygonShape* centre = Outline(2);
    if (!centre) return;
    const int n = centre->GetPointCount();
    if (n == 0) {
        ForEachPolyline([](MPolygonShape& s, const MFloatPoint& q) { s.AddPoint(q); }, cursor);
        return;
    }
    // The start stays where the button went down.
    if (n < 2) return;
    MFloatPoint point = cursor;
    MFloatPoint fixed = centre->GetPoint(n - 2);
    ApplyTangentTargets(view, &fixed, &point, 0, flags);
    centre->SetPoint(n - 2, fixed);
    UpdateWallOutline(view, point);
}

void MWallTool::FixVertex(MTessarayView* view) {
    MPolygonShape* centre = Outline(2);
    if (!centre) return;
    const bool segment = centre->GetPointCount() >= 2;
    AddWallVertex(view, centre->GetLastPoint());
    if (segment) DropSegmentConstraints();
}

MWallTool::WallPoints MWallTool::CopyPoints() const {
    WallPoints points;
    for (int i = 0; i < 3; ++i)
        if (const MPolygonShape* polyline = Outline(i)) points[i] = PointsOf(*polyline);
    return points;
}

bool MWallTool::DrawsTailApart() const {
    // The wide second pass would overlap itself where the parts meet.
    return Outline(2) && GetOptionRecord().m_drawSelectedShape != 2;
}

void MWallTool::DrawNewShapes(MTessarayView* view, CDC* dc) {
    if (!DrawsTailApart()) {
        MContLineTool::DrawNewShapes(view, dc);
        return;
    }
    DrawParts(view, dc, CopyPoints(), true);
}

void MWallTool::OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) {
    const int limit = GetOptionRecord().m_drawLimit;
    if (!dc || !DrawsTailApart() || Tracker().IsHidden() || Lists().PickCount() > 0 ||
        Tracker().guideLineShown || Tracker().crossMarkShown || Tracker().IsBanding() ||
        (limit != 0 && Lists().NewCount() > limit)) {
        MContLineTool::OnMoveAt(view, dc, pt, flags);
        return;
    }
    const WallPoints before = CopyPoints();
    OnPoint(view, pt.x, pt.y, kPhaseMove, flags);
    Lists().RecalcNew(view);
    const WallPoints after = CopyPoints();
    // A corner sought past a zero-length segment lies before the tail: then all of it.
    const bool fixedParts = !SameFixedParts(before, after);
    const int oldRop = dc->SetROP2(R2_XORPEN);
    DrawParts(view, dc, before, fixedParts);
    DrawParts(view, dc, after, fixedParts);
    dc->SetROP2(oldRop);
}

void MWallTool::OnDoubleClickHook(MTessarayView*) {
    ForEachPolyline([](MPolygonShape& s, const MFloatPoint&) { s.RemoveLastPoint(); }, MFloatPoint());
}

void MWallTool::OnDecide(MTessarayView* view) {
    MPolygonShape* centre = Outline(2);
    if (!centre || !view) return;
    if (centre->GetPointCount() <= 1) {
        End(view, FALSE);
        return;
    }
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    int target = -1;
    MTessarayDoc* doc = Document(view);
    if (m_style.centreLine && doc) target = std::max(-1, doc->GetLayers()->FindLayerByName(m_style.layer));
    const std::vector<MFloatPoint> l = PointsOf(*Outline(0)), r = PointsOf(*Outline(1)),
                                   c = PointsOf(*centre);
    // The chains go before their lines come: the list holds each shape once.
    Lists().NewShapes().DeleteAll();
    for (std::size_t i = 1; i < c.size(); ++i) {
        if (m_style.centreLine) {
            auto line = std::make_unique<MLineShape>(c[i - 1], c[i]);
            line->SetColor(m_style.color);
            line->SetLineStyle(m_style.lineStyle < GetLineStyleTable().GetSize() ? m_style.lineStyle
                                                                                 : kAuxiliaryLineStyle);
            line->SetLineWidth(m_style.width);
            Lists().AddNewExpanded(line.release(), target);
        }
        for (const std::vector<MFloatPoint>* side : {&l, &r}) {
            auto line = std::make_unique<MLineShape>((*side)[i - 1], (*side)[i]);
            ApplyAttributesTo(view, line.get());
            Lists().AddNewExpanded(line.release(), -1);
        }
    }
    DecideAndReset(view);
}

void MWallTool::OnCancel(MTessarayView* view) {
    MPolygonShape* centre = Outline(2);
    if (!centre || !view) return;
    {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        ForEachPolyline([](MPolygonShape& s, const MFloatPoint&) { s.RemoveLastPoint(); }, MFloatPoint());
        OnPoint(view, GetCurrentPoint().x, GetCurrentPoint().y, kPhaseMove, 0);
        Lists().RecalcNew(view);
    }
    if (centre->GetPointCount() <= 1) End(view, FALSE);
}

void MWallTool::OnNumericInput(MTessarayView* view) {
    BOOL keep = KeepsValues();
    MInputWallLengthDialog dialog(view, &m_lockLength, &m_lengthLock, &m_lockAngle, &m_angleLock, &keep,
                                  &m_style);
    const int answer = dialog.DoModal();
    SetKeepValues(keep);
    if (answer != IDOK) return;
    SanitizeLocks();
    if (m_angleLock) ClearConstraint();
}

void MWallTool::SaveSettings(std::ostream& os) {
    MLineTool::SaveSettings(os);
    WriteSettingLine(os, {m_style.leftWidth, m_style.rightWidth, m_style.centreLine ? 1.0 : 0.0});
    os << '\t' << m_style.layer << '\n';
    WriteSettingLine(
        os, {static_cast<double>(m_style.color), static_cast<double>(m_style.lineStyle), m_style.width});
}

void MWallTool::LoadSettings(std::istream& is) {
    MLineTool::LoadSettings(is);
    double centreLine = 0.0, color = 0.0, lineStyle = 0.0;
    ReadValues(is, {{&m_style.leftWidth, 100.0}, {&m_style.rightWidth, 100.0}, {&centreLine, 0.0}});
    m_style.centreLine = centreLine != 0.0 ? TRUE : FALSE;
    ReadTextString(is, m_style.layer, TRUE);
    ReadValues(is, {{&color, 0.0}, {&lineStyle, 0.0}, {&m_style.width, 0.0}});
    m_style.color = color >= 0.0 && color <= 0xFFFFFFFF ? static_cast<COLORREF>(color) : 0;
    m_style.lineStyle = lineStyle >= -1e9 && lineStyle <= 1e9 ? static_cast<int>(lineStyle) : 0;
    m_style.MakeSound();
}
