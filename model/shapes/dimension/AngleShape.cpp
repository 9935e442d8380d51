#include "model/shapes/dimension/AngleShape.h"

#include <cmath>
#include <istream>
#include <memory>
#include <ostream>

#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Archive.h"

IMPLEMENT_SERIAL(MAngleShape, MSizeBaseShape, 1)

namespace {

// Angles closer than this count as one.
constexpr double kAngleTolerance = 6.9757369960172635e-15;

}  // namespace

MAngleShape::MAngleShape() = default;
MAngleShape::~MAngleShape() = default;

void MAngleShape::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar << m_center << m_radius << m_start << m_end << m_textAngle;
    else
        ar >> m_center >> m_radius >> m_start >> m_end >> m_textAngle;
    MSizeBaseShape::Serialize(ar);
}

void MAngleShape::NormalizeAngles() {
    m_start = NormalizeAngle(m_start);
    m_end = NormalizeAngle(m_end);
    if (m_end < m_start) m_end += kTwoPi;
}

void MAngleShape::SetAngles(const MFloatPoint& vertex, double radius, double start, double end,
                            double textAngle) {
    m_center = vertex;
    m_radius = radius;
    m_start = start;
    m_end = end;
    m_textAngle = textAngle;
    NormalizeAngles();
    DeleteMembers();
}

MFloatPoint MAngleShape::PointAt(double angle) const {
    return m_center + MFloatPoint(std::cos(angle), std::sin(angle)) * m_radius;
}

int MAngleShape::GetHandleCount() const {
    return 3;
}

MFloatPoint MAngleShape::GetHandle(int index) const {
    return PointAt(index == 0 ? m_start : index == 1 ? m_end : m_textAngle);
}

void MAngleShape::MoveHandle(int* index, const MFloatPoint& to, BOOL keepRatio, MFloatRect*) {
    if (keepRatio) {
        m_radius = (to - m_center).GetLength();
        DeleteMembers();
        return;
    }
    const int handle = index ? *index : 2;
    const double b = (to - m_center).GetAngle();
    if (handle == 0 || handle == 1) {
        const double span = m_end - m_start;
        const double k = std::fabs(span) <= kAngleTolerance ? 0.0 : (m_textAngle - m_start) / span;
        if (handle == 0) {
            if (std::fabs(NormalizeAngle(b - m_end)) > kAngleTolerance) m_start = b;
        } else {
            if (std::fabs(NormalizeAngle(b - m_start)) > kAngleTolerance) m_end = b;
        }
        NormalizeAngles();
        m_textAngle = m_start + (m_end - m_start) * k;
    } else {
        m_textAngle = b;
    }
    UpdateText();
    DeleteMembers();
}

double MAngleShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                               int kinds, double best) {
    if (kinds & kSnapEndPoint) {
        best = OfferSnapCandidate(snap, cursor, aperture, PointAt(m_start), kSnapEndPoint, best, this);
        best = OfferSnapCandidate(snap, cursor, aperture, PointAt(m_end), kSnapEndPoint, best, this);
    }
    if (kinds & kSnapCenter)
        best = OfferSnapCandidate(snap, cursor, aperture, m_center, kSnapCenter, best, this);
    return best;
}

void MAngleShape::Move(const MFloatPoint& offset) {
    MGroupShape::Move(offset);
    m_extent.Offset(offset);
    OffsetDrawExtent(offset);
    m_center += offset;
}

void MAngleShape::ScaleEvenly(const MFloatPoint& centre, double factor) {
    if (std::fabs(factor) < kZeroTolerance) return;
    m_center = centre + (m_center - centre) * factor;
    m_radius *= std::fabs(factor);
    if (factor < 0) {
        // A point reflection turns the whole dimension by pi.
        m_start += kPi, m_end += kPi;
        m_textAngle = NormalizeAngle(m_textAngle + kPi);
        NormalizeAngles();
    }
    DeleteMembers();
    m_extent.Scale(centre, factor, factor);
    m_extent.Normalize();
    UpdateText();
}

void MAngleShape::ScaleBy(const MShapeScale& scale) {
    if (scale.uniform) return ScaleEvenly(scale.centre, scale.sx);
    const MFloatPoint& centre = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    const double f = std::sqrt(std::fabs(sx * sy));
    if (f < kZeroTolerance) return;
    m_center = {centre.x + (m_center.x - centre.x) * sx, centre.y + (m_center.y - centre.y) * sy};
    m_radius *= f;
    if (sx < 0) {
        const double start = kPi - m_end, end = kPi - m_start;
        m_start = start, m_end = end;
        m_textAngle = NormalizeAngle(kPi - m_textAngle);
        NormalizeAngles();
    }
    if (sy < 0) {
        const double start = -m_end, end = -m_start;
        m_start = start, m_end = end;
        m_textAngle = NormalizeAngle(-m_textAngle);
        NormalizeAngles();
    }
    DeleteMembers();
    m_extent.Scale(centre, sx, sy);
    m_extent.Normalize();
    UpdateText();
}

void MAngleShape::MirrorX(double x, double) {
    const double start = kPi - m_end, end = kPi - m_start;
    m_start = start, m_end = end;
    NormalizeAngles();
    m_textAngle = NormalizeAngle(kPi - m_textAngle);
    m_center.x = 2 * x - m_center.x;
    DeleteMembers();
}

void MAngleShape::MirrorY(double, double y) {
    const double start = -m_end, end = -m_start;
    m_start = start, m_end = end;
    NormalizeAngles();
    m_textAngle = NormalizeAngle(-m_textAngle);
    m_center.y = 2 * y - m_center.y;
    DeleteMembers();
}

void MAngleShape::Rotate(double cx, double cy, double angle) {
    m_start += angle, m_end += angle;
    NormalizeAngles();
    m_textAngle = NormalizeAngle(m_textAngle + angle);
    m_center.RotateAbout(MFloatPoint(cx, cy), angle);
    DeleteMembers();
}

short MAngleShape::GetTypeId() const {
    return kShapeAngle;
}
MCadShape* MAngleShape::CreateNew() const {
    return new MAngleShape;
}

void MAngleShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_center << ' ' << m_radius << ' ' << m_start << ' ' << m_end << ' ' << m_textAngle << ' ';
    WriteBaseText(os);
}

void MAngleShape::ReadText(CDocument*, std::istream& is) {
    MFloatPoint centre;
    double radius = 0, start = 0, end = 0, text = 0;
    is >> centre >> radius >> start >> end >> text;
    if (is.fail()) return;
    m_center = centre;
    m_radius = radius;
    m_start = start;
    m_end = end;
    m_textAngle = text;
    ReadBaseText(is);
}

void MAngleShape::UpdateText() {
    if (IsUserText()) return;
    double degrees = NormalizeAngle(m_end - m_start) / kPi * 180;
    if (degrees < 0) degrees += 360;
    m_text = GetCurrentSizeFormat(SIZEFORMAT_ANGLE).Format(degrees, TRUE, TRUE);
}

void MAngleShape::Rebuild(MCadView* view) {
    if (!view) return;
    NormalizeAngles();
    const Lengths len = GetLengths(view);
    std::unique_ptr<MTextShape> text(NewTextMember(len));
    // Orientation and fit need the text direction within [-pi, pi] (handle moves may leave it a
    // turn off); the position is the same either way.
    const double at = NormalizeAngle(m_textAngle);
    if (at >= 0) {
        text->SetAngle(at - kPi / 2);
        text->SetAlignment(kAlignCentreBottom);
    } else {
        text->SetAngle(at + kPi / 2);
        text->SetAlignment(kAlignCentre);
    }
    text->MeasureText(view);
    text->MoveTo(view, m_center + MFloatPoint(std::cos(at), std::sin(at)) * (m_radius + len.textGap));
    const double w = text->GetBoxWidth();
    DeleteMembers();
    AddShape(text.release());

    const int arrowStyle = m_style.m_arrowStyle;
    const double arrowSize = m_style.m_arrowSize;
    auto arc = [&](double a0, double a1, int startStyle, int endStyle) {
        auto* shape = new MCircleArcShape;
        ApplyLineAttributes(shape, FALSE);
        shape->SetArc(m_center.x, m_center.y, m_radius, a0, a1);
        shape->SetArrowsEx(startStyle, startStyle ? arrowSize : 0.0, endStyle, endStyle ? arrowSize : 0.0);
        AddShape(shape);
    };
    const double d0 = NormalizeAngle(at - m_start);
    const double d1 = NormalizeAngle(at - m_end);
    const double m0 = d0 < 0 ? d0 + kTwoPi : d0;
    const double m1 = d1 < 0 ? d1 + kTwoPi : d1;
    if (m0 <= m1) {
        arc(m_start, m_end, arrowStyle, arrowStyle);
        return;
    }
    // The text lies outside the span: leaders point at the ends from outside, the one on the
    // text's side running on under the text.
    const double h = m_radius == 0.0 ? 0.0 : std::atan2(w / 2, m_radius);
    const double g = std::atan2(len.outsideLeader, m_radius);
    if (std::fabs(d0) > std::fabs(d1)) {
        arc(NormalizeAngle(m_start - g), NormalizeAngle(m_start), kArrowNone, arrowStyle);
        arc(NormalizeAngle(m_end), NormalizeAngle(at + h), arrowStyle, kArrowNone);
    } else {
        arc(NormalizeAngle(at - h), NormalizeAngle(m_start), kArrowNone, arrowStyle);
        arc(NormalizeAngle(m_end), NormalizeAngle(m_end + g), arrowStyle, kArrowNone);
    }
    arc(m_start, m_end, kArrowNone, kArrowNone);
}

bool MAngleShape::HasFiniteValues() const {
    return IsFinite(m_center) && AllFinite({m_radius, m_start, m_end, m_textAngle}) &&
           MSizeBaseShape::HasFiniteValues();
}
