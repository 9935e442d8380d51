#include "model/shapes/dimension/RadiusShape.h"

#include <cmath>
#include <istream>
#include <memory>
#include <ostream>

#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Archive.h"

IMPLEMENT_SERIAL(MRadiusSizeShape, MSizeBaseShape, 1)
IMPLEMENT_SERIAL(MDiameterSizeShape, MSizeBaseShape, 1)

// ---- shared part ---------------------------------------------------------------------------------

MCircleSizeShape::MCircleSizeShape() = default;
MCircleSizeShape::~MCircleSizeShape() = default;

void MCircleSizeShape::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar << m_center << m_radius << m_angle << m_textDistance;
    else
        ar >> m_center >> m_radius >> m_angle >> m_textDistance;
    MSizeBaseShape::Serialize(ar);
}

void MCircleSizeShape::SetCircle(const MFloatPoint& centre, double radius, double angle,
                                 double textDistance) {
    m_center = centre;
    m_radius = radius;
    m_angle = angle;
    m_textDistance = textDistance;
    DeleteMembers();
}

MFloatPoint MCircleSizeShape::PointAt(double distance) const {
    return m_center + MFloatPoint(std::cos(m_angle), std::sin(m_angle)) * distance;
}

BOOL MCircleSizeShape::IsValid() const {
    return std::fabs(m_radius) >= kZeroTolerance ? TRUE : FALSE;
}

bool MCircleSizeShape::HasFiniteValues() const {
    return IsFinite(m_center) && AllFinite({m_radius, m_angle, m_textDistance}) &&
           MSizeBaseShape::HasFiniteValues();
}

double MCircleSizeShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                    int kinds, double best) {
    if (!(kinds & kSnapCenter)) return best;
    return OfferSnapCandidate(snap, cursor, aperture, m_center, kSnapCenter, best, this);
}

void MCircleSizeShape::Move(const MFloatPoint& offset) {
    MGroupShape::Move(offset);
    m_extent.Offset(offset);
    OffsetDrawExtent(offset);
    m_center += offset;
}

void MCircleSizeShape::ScaleCircle(const MFloatPoint& centre, double sx, double sy) {
    // The square root of a negative product is not a number; a negative factor mirrors instead.
    const double f = std::sqrt(std::fabs(sx * sy));
    m_center = {centre.x + (m_center.x - centre.x) * sx, centre.y + (m_center.y - centre.y) * sy};
    m_radius *= f;
    m_textDistance *= f;
    if (sx < 0) m_angle = NormalizeAngle(kPi - m_angle);
    if (sy < 0) m_angle = NormalizeAngle(-m_angle);
    DeleteMembers();
    m_extent.Scale(centre, sx, sy);
    m_extent.Normalize();
    UpdateText();
}

void MCircleSizeShape::MirrorX(double x, double) {
    m_angle = NormalizeAngle(kPi - m_angle);
    m_center.x = 2 * x - m_center.x;
    DeleteMembers();
}

void MCircleSizeShape::MirrorY(double, double y) {
    m_angle = NormalizeAngle(-m_angle);
    m_center.y = 2 * y - m_center.y;
    DeleteMembers();
}

void MCircleSizeShape::Rotate(double cx, double cy, double angle) {
    m_angle = NormalizeAngle(m_angle + angle);
    m_center.RotateAbout(MFloatPoint(cx, cy), angle);
    DeleteMembers();
}

void MCircleSizeShape::MoveCirclePoint(const MFloatPoint& to, BOOL opposite) {
    const double q = m_textDistance / m_radius;
    const MFloatPoint v = to - m_center;
    if (v.GetLength() > GetRelativeTolerance(m_radius)) {
        m_radius = v.GetLength();
        m_angle = opposite ? NormalizeAngle(v.GetAngle() + kPi) : v.GetAngle();
    }
    m_textDistance = q * m_radius;
}

void MCircleSizeShape::MoveTextPoint(const MFloatPoint& to) {
    MFloatPoint foot;
    GetPerpendicularFoot(&foot, PointAt(m_radius), m_center, to);
    m_textDistance = (foot - m_center).GetLength();
    // Dragged through the centre, the dimension turns to the other side.
    if (m_textDistance > kZeroTolerance) m_angle = (foot - m_center).GetAngle();
}

void MCircleSizeShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_center << ' ' << m_radius << ' ' << m_angle << ' ' << m_textDistance << ' ';
    WriteBaseText(os);
}

void MCircleSizeShape::ReadText(CDocument*, std::istream& is) {
    MFloatPoint centre;
    double radius = 0, angle = 0, distance = 0;
    is >> centre >> radius >> angle >> distance;
    if (is.fail()) return;
    m_center = centre;
    m_radius = radius;
    m_angle = angle;
    m_textDistance = distance;
    ReadBaseText(is);
}

// ---- radius ---------------------------------------------------------------------------------------

MRadiusSizeShape::MRadiusSizeShape() = default;
MRadiusSizeShape::~MRadiusSizeShape() = default;

int MRadiusSizeShape::GetHandleCount() const {
    return 2;
}
MFloatPoint MRadiusSizeShape::GetHandle(int index) const {
    return index == 0 ? PointAt(m_radius) : PointAt(m_textDistance);
}

void MRadiusSizeShape::MoveHandle(int* index, const MFloatPoint& to, BOOL, MFloatRect*) {
    if (m_radius < kZeroTolerance) return;
    if (index && *index == 0)
        MoveCirclePoint(to, FALSE);
    else
        MoveTextPoint(to);
    UpdateText();
    DeleteMembers();
}

void MRadiusSizeShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& centre = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::sqrt(std::fabs(sx * sy)) < kZeroTolerance) return;
    ScaleCircle(centre, sx, sy);
}

short MRadiusSizeShape::GetTypeId() const {
    return kShapeRadius;
}
MCadShape* MRadiusSizeShape::CreateNew() const {
    return new MRadiusSizeShape;
}

void MRadiusSizeShape::UpdateText() {
    if (IsUserText()) return;
    m_text = GetCurrentSizeFormat(SIZEFORMAT_RADIUS).Format(m_radius, TRUE, TRUE);
}

void MRadiusSizeShape::Rebuild(MCadView* view) {
    if (!view) return;
    const Lengths len = GetLengths(view);
    const MFloatPoint onCircle = PointAt(m_radius);
    const MFloatPoint textPoint = PointAt(m_textDistance);
    std::unique_ptr<MTextShape> text(NewTextMember(len));
    const double angle = GetTextAngle(onCircle - m_center);
    text->SetAngle(angle);
    text->MeasureText(view);
    text->SetAlignment(kAlignCentreBottom);
    text->MoveTo(view, textPoint + MFloatPoint(0, len.textGap).GetRotated(angle));
    const double w = text->GetBoxWidth();
    DeleteMembers();
    AddShape(text.release());

    const int arrowStyle = m_style.m_arrowStyle;
    const double arrowSize = m_style.m_arrowSize;
    const MFloatPoint dir(std::cos(m_angle), std::sin(m_angle));
    if (m_textDistance <= m_radius) {
        auto* line = new MPolygonShape(FALSE);
        line->AddPoint(m_center);
        line->AddPoint(onCircle);
        ApplyLineAttributes(line, TRUE);
        line->SetArrowsEx(kArrowNone, 0.0, arrowStyle, arrowSize);
        AddShape(line);
        return;
    }
    // The text stands outside: the arrow points inward at the circle from an outer leader that
    // reaches half the text past the text point.
    auto* leader = new MPolygonShape(FALSE);
    leader->AddPoint(onCircle);
    leader->AddPoint(onCircle + dir * (w / 2 + m_textDistance - m_radius));
    ApplyLineAttributes(leader, TRUE);
    leader->SetArrowsEx(arrowStyle, arrowSize, kArrowNone, 0.0);
    AddShape(leader);
    if (m_flags & kNoInsideLine) return;
    MFloatPoint start = m_center;
    const double toCentre = (m_center - onCircle).GetLength();
    if (!(m_flags & kLineFromCentre) && toCentre > kZeroTolerance)
        start = onCircle + (m_center - onCircle) / toCentre * len.outsideLeader;
    auto* inside = new MLineShape(start, onCircle);
    ApplyLineAttributes(inside, FALSE);
    AddShape(inside);
}

// ---- diameter -------------------------------------------------------------------------------------

MDiameterSizeShape::MDiameterSizeShape() = default;
MDiameterSizeShape::~MDiameterSizeShape() = default;

int MDiameterSizeShape::GetHandleCount() const {
    return 3;
}
MFloatPoint MDiameterSizeShape::GetHandle(int index) const {
    switch (index) {
        case 0:
            return PointAt(m_radius);
        case 1:
            return PointAt(-m_radius);
        default:
            return PointAt(m_textDistance);
    }
}

void MDiameterSizeShape::MoveHandle(int* index, const MFloatPoint& to, BOOL, MFloatRect*) {
    if (m_radius < kZeroTolerance) return;
    const int handle = index ? *index : 2;
    if (handle == 0 || handle == 1)
        MoveCirclePoint(to, handle == 1);
    else
        MoveTextPoint(to);
    UpdateText();
    DeleteMembers();
}

void MDiameterSizeShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& centre = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    ScaleCircle(centre, sx, sy);
}

short MDiameterSizeShape::GetTypeId() const {
    return kShapeDiameter;
}
MCadShape* MDiameterSizeShape::CreateNew() const {
    return new MDiameterSizeShape;
}

void MDiameterSizeShape::UpdateText() {
    if (IsUserText()) return;
    m_text = GetCurrentSizeFormat(SIZEFORMAT_DIAMETER).Format(2 * m_radius, TRUE, TRUE);
}

void MDiameterSizeShape::Rebuild(MCadView* view) {
    if (!view) return;
    BuildLinearMembers(view, PointAt(-m_radius), PointAt(m_radius), PointAt(m_textDistance), nullptr,
                       nullptr);
}
