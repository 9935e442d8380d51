#include "tools/edit/DividTool.h"

#include <cmath>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "tools/SettingLine.h"
#include "view/TessarayView.h"

namespace {

constexpr short kCircleType = 2;
constexpr short kArcType = 3;

double Turn(double a) {
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

// A full circle or an arc (counter-clockwise from start over span).
struct MTrueCircle {
    MFloatPoint centre;
    double radius = 0.0;
    bool full = true;
    double start = 0.0, span = 2 * kPi;

    double AngleOf(const MFloatPoint& p) const { return std::atan2(p.y - centre.y, p.x - centre.x); }
    MFloatPoint At(double a) const {
        return MFloatPoint(centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
    }
    // Along the arc from its start, the nearer end when p's direction misses the arc.
    double ArcParameter(const MFloatPoint& p) const {
        const double u = Turn(AngleOf(p) - start);
        if (u <= span) return u;
        return u - span < 2 * kPi - u ? span : 0.0;
    }
    MFloatPoint Nearest(const MFloatPoint& p) const {
        return full ? At(AngleOf(p)) : At(start + ArcParameter(p));
    }
    void Divide(const MFloatPoint& a, const MFloatPoint& b, int count, const MFloatPoint& hint,
                MFloatPointArray& out) const {
        double from = 0.0, way = 0.0;
        if (full) {
            from = AngleOf(a);
            way = Turn(AngleOf(b) - from);
            if (way < kZeroTolerance)
                way = 2 * kPi;
            else if (Turn(AngleOf(hint) - from) > way)
                way -= 2 * kPi;
        } else {
            const double ua = ArcParameter(a);
            from = start + ua;
            way = ArcParameter(b) - ua;
        }
        for (int k = 1; k < count; ++k)
            out.Add(At(from + way * k / count));
    }
};

std::optional<MTrueCircle> TrueCircleOf(const MCadShape* shape) {
    if (shape->GetTypeId() == kCircleType) {
        const auto* circle = static_cast<const MCircleShape*>(shape);
        return MTrueCircle{circle->m_center, circle->m_radius};
    }
    if (shape->GetTypeId() == kArcType) {
        const auto* arc = static_cast<const MCircleArcShape*>(shape);
        double start = arc->m_startAngle, end = arc->m_endAngle;
        NormalizeArcAngles(start, end);
        return MTrueCircle{arc->m_center, arc->m_radius, false, start, end - start};
    }
    return std::nullopt;
}

}  // namespace

MDividTool::MDividTool(int toolId) : MDrawTool(toolId) {
    // The end's release asks for the count; only a closed way with its ends apart asks the way round.
    DeclareSteps(IDS_DIVID_STEPS, IDS_DIVID_PICKS,
                 {MToolStep(), MToolStep::AskedAtRelease([this](MTessarayView* view, const MFloatPoint&) {
                      return FinishEnd(view);
                  }),
                  MToolStep::SkippedWhen([this] { return !GoesRound(); })});
    ClearConstraint();
}

MDividTool::~MDividTool() = default;

void MDividTool::Reset() {
    m_division.reset();
    m_divided = nullptr;
    MDrawTool::Reset();
}

MCadShape* MDividTool::NewShape(MTessarayView*) {
    return new MMarkShape();
}

MCadShape* MDividTool::FilterPickTarget(MCadShape* shape) {
    if (dynamic_cast<MLineShape*>(shape) || dynamic_cast<MPolygonShape*>(shape)) return shape;
    return nullptr;
}

bool MDividTool::IsClosedPath() const {
    const auto* polygon = dynamic_cast<const MPolygonShape*>(Lists().Pick(0));
    if (!polygon) return false;
    if (auto circle = TrueCircleOf(polygon)) return circle->full;
    return polygon->IsClosedFlag() != FALSE;
}

MFloatPoint MDividTool::OnShape(const MFloatPoint& p) const {
    const MCadShape* shape = Lists().Pick(0);
    MFloatPoint q = p;
    if (auto circle = TrueCircleOf(shape))
        q = circle->Nearest(p);
    else if (const auto* polygon = dynamic_cast<const MPolygonShape*>(shape))
        polygon->GetNearestPoint(&q, p);
    else if (const auto* line = dynamic_cast<const MLineShape*>(shape))
        line->NearestPoint(&q, p);
    return q;
}

void MDividTool::Divide(const MFloatPoint& hint, MFloatPointArray& out) {
    out.RemoveAll();
    const MCadShape* shape = Lists().Pick(0);
    const MFloatPoint a = MarkAt(0), b = MarkAt(1);
    if (auto circle = TrueCircleOf(shape)) {
        circle->Divide(a, b, m_count, hint, out);
    } else if (const auto* polygon = dynamic_cast<const MPolygonShape*>(shape)) {
        // The moves that choose the way round only look for the hint's segment.
        const MFloatPointArray& points = polygon->GetPoints();
        const BOOL closed = polygon->IsClosedFlag();
        if (!m_division || m_divided != shape || !m_division->Matches(a, b, points, closed, m_count)) {
            m_division = std::make_unique<MPolylineDivision>(a, b, points, closed, m_count);
            m_divided = shape;
        }
        m_division->Divide(hint, out);
    } else if (const auto* line = dynamic_cast<const MLineShape*>(shape)) {
        MFloatPointArray ends;
        ends.Add(line->m_start);
        ends.Add(line->m_end);
        DividePolyline(a, b, ends, FALSE, m_count, out, hint);
    }
}

MFloatPoint MDividTool::MarkAt(int index) const {
    return static_cast<const MMarkShape*>(Lists().NewShape(index))->m_position;
}

void MDividTool::SetMark(int index, const MFloatPoint& p) {
    while (Lists().NewCount() <= index)
        Lists().AddNewExpanded(new MMarkShape(), -1);
    static_cast<MMarkShape*>(Lists().NewShape(index))->m_position = p;
}

void MDividTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    const MCadShape* shape = Lists().PickCount() > 0 ? Lists().Pick(0) : nullptr;
    const auto* polygon = dynamic_cast<const MPolygonShape*>(shape);
    // A way of fewer than two points cannot be picked: nothing to divide.
    if (!shape || (polygon && polygon->GetPointCount() < 2) ||
        (!polygon && !dynamic_cast<const MLineShape*>(shape)))
        return;
    const MFloatPoint q = OnShape(cursor);
    if (GetStep() <= 0) {
        SetMark(0, q);
    } else if (GetStep() == 1) {
        SetMark(1, q);
    } else {
        MFloatPointArray points;
        Divide(q, points);
        for (int i = 0; i < points.GetSize() && i + 2 < Lists().NewCount(); ++i)
            static_cast<MMarkShape*>(Lists().NewShape(i + 2))->m_position = points[i];
    }
}

bool MDividTool::GoesRound() const {
    if (Lists().PickCount() < 1 || Lists().NewCount() < 2) return false;
    const MFloatPoint a = MarkAt(0), b = MarkAt(1);
    return IsClosedPath() && std::hypot(b.x - a.x, b.y - a.y) > kZeroTolerance;
}

bool MDividTool::FinishEnd(MTessarayView* view) {
    MInputDividDialog dialog(view, m_count);
    const MFloatPoint a = MarkAt(0), b = MarkAt(1);
    const bool apart = std::hypot(b.x - a.x, b.y - a.y) > kZeroTolerance;
    // Start and end on one point of an open way divide nothing: every mark would stack there.
    if (dialog.DoModal() != IDOK || dialog.GetCount() < 2 || (!apart && !IsClosedPath())) {
        // Discarded as a cancel does, but without End's repaint: inside the release the view has
        // its cross-hair erased, and a repaint now would leave a piece of it behind.
        Reset();
        return false;
    }
    m_count = dialog.GetCount();
    MFloatPointArray points;
    Divide(GetCurrentPoint(), points);
    for (int i = 0; i < points.GetSize(); ++i)
        SetMark(Lists().NewCount(), points[i]);
    return true;
}

void MDividTool::SaveSettings(std::ostream& os) {
    MDrawTool::SaveSettings(os);
    os << '\t' << std::to_string(m_count) << '\n';
}

void MDividTool::LoadSettings(std::istream& is) {
    MDrawTool::LoadSettings(is);
    const long long count = MSettingLineReader(is).LeadingInteger(0).value_or(0);
    m_count = count >= 2 && count <= kMaxCount ? static_cast<int>(count) : kDefaultCount;
}

MInputDividDialog::MInputDividDialog(CWnd* parent, int count)
    : MNumericEntryDialog(IDD_DIVID_INPUT, parent), m_count(static_cast<UINT>(count)) {
    AddField(IDC_DIVID_COUNT, &m_count, 0, MDividTool::kMaxCount);
}
