#include "model/shapes/dimension/SizeShape.h"

#include <cmath>
#include <istream>
#include <ostream>

#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/Archive.h"

IMPLEMENT_SERIAL(MSizeShape, MSizeBaseShape, 1)

namespace {

MFloatPoint ScaledAbout(const MFloatPoint& p, const MFloatPoint& c, double sx, double sy) {
    return {c.x + (p.x - c.x) * sx, c.y + (p.y - c.y) * sy};
}

MFloatPoint Foot(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& p) {
    MFloatPoint f;
    GetPerpendicularFoot(&f, a, b, p);
    return f;
}

}  // namespace

MSizeShape::MSizeShape() = default;
MSizeShape::~MSizeShape() = default;

void MSizeShape::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar << m_a << m_b << m_c << m_d << m_e;
    else
        ar >> m_a >> m_b >> m_c >> m_d >> m_e;
    MSizeBaseShape::Serialize(ar);
}

void MSizeShape::SetPoints(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& c,
                           const MFloatPoint& d, const MFloatPoint& e) {
    m_a = a, m_b = b, m_c = c, m_d = d, m_e = e;
    DeleteMembers();
}

int MSizeShape::GetHandleCount() const {
    return 6;
}

MFloatPoint MSizeShape::GetHandle(int index) const {
    switch (index) {
        case 0:
            return m_a;
        case 1:
            return m_b;
        case 2:
            return m_c;
        case 3:
            return m_d;
        case 4:
            return (m_a + m_b) / 2;
        default:
            return m_e;
    }
}

void MSizeShape::MoveHandle(int* index, const MFloatPoint& to, BOOL, MFloatRect*) {
    const int handle = index ? *index : 5;
    const MFloatPoint f = Foot(m_c, m_d, to);
    if (handle < 0 || handle > 4) {
        m_e = f;
        DeleteMembers();
        return;
    }
    const double length = (m_d - m_c).GetLength();
    const MFloatPoint r = length < kZeroTolerance ? MFloatPoint() : (m_e - m_c) / length;
    switch (handle) {
        case 0:
            if (!(to.IsEqual(m_b) && f.IsEqual(m_d))) m_a = to, m_c = f;
            break;
        case 1:
            if (!to.IsEqual(m_a) && !f.IsEqual(m_c)) m_b = to, m_d = f;
            break;
        case 2: {
            MFloatPoint a;
            IntersectLines(&a, m_b, f, m_b - m_a, m_a - m_c);
            if (!f.IsEqual(m_d) && !a.IsEqual(m_b)) m_a = a, m_c = f;
            break;
        }
        case 3: {
            MFloatPoint b;
            IntersectLines(&b, m_a, f, m_b - m_a, m_b - m_d);
            if (!f.IsEqual(m_c) && !b.IsEqual(m_a)) m_b = b, m_d = f;
            break;
        }
        default: {
            const MFloatPoint m = (m_a + m_b) / 2;
            const MFloatPoint t = (to - f) - (m - Foot(m_c, m_d, m));
            if (!(m_a + t).IsEqual(m_b + t)) m_a += t, m_b += t;
            break;
        }
    }
    m_e = m_c + r * (m_d - m_c).GetLength();
    DeleteMembers();
    UpdateText();
}

void MSizeShape::ScaleBy(const MShapeScale& scale) {
    const MFloatPoint& centre = scale.centre;
    const double sx = scale.sx, sy = scale.sy;
    if (std::fabs(sx) < kZeroTolerance || std::fabs(sy) < kZeroTolerance) return;
    for (MFloatPoint* p : {&m_a, &m_b, &m_c, &m_d, &m_e})
        *p = ScaledAbout(*p, centre, sx, sy);
    // A non-uniform scale would tilt the extension lines: put C and D back at the feet.
    const double length = (m_d - m_c).GetLength();
    const MFloatPoint r = length < kZeroTolerance ? MFloatPoint() : (m_e - m_c) / length;
    const MFloatPoint c = Foot(m_c, m_d, m_a);
    const MFloatPoint d = Foot(m_c, m_d, m_b);
    m_c = c, m_d = d;
    m_e = m_c + r * (m_d - m_c).GetLength();
    DeleteMembers();
    m_extent.Scale(centre, sx, sy);
    m_extent.Normalize();
    UpdateText();
}

void MSizeShape::Move(const MFloatPoint& offset) {
    MGroupShape::Move(offset);
    m_extent.Offset(offset);
    OffsetDrawExtent(offset);
    for (MFloatPoint* p : {&m_a, &m_b, &m_c, &m_d, &m_e})
        *p += offset;
}

MFloatPoint MSizeShape::GetCenter() const {
    return (m_a + m_b) / 2;
}

double MSizeShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                              int kinds, double best) {
    if (!(kinds & kSnapEndPoint)) return best;
    for (const MFloatPoint& p : {m_a, m_c, m_b, m_d})
        best = OfferSnapCandidate(snap, cursor, aperture, p, kSnapEndPoint, best, this);
    return best;
}

BOOL MSizeShape::IsValid() const {
    return (m_d - m_c).GetLength() > kZeroTolerance ? TRUE : FALSE;
}

bool MSizeShape::HasFiniteValues() const {
    for (const MFloatPoint* p : {&m_a, &m_b, &m_c, &m_d, &m_e})
        if (!IsFinite(*p)) return false;
    return MSizeBaseShape::HasFiniteValues();
}

void MSizeShape::MirrorX(double x, double) {
    for (MFloatPoint* p : {&m_a, &m_b, &m_c, &m_d, &m_e})
        p->x = 2 * x - p->x;
    DeleteMembers();
}

void MSizeShape::MirrorY(double, double y) {
    for (MFloatPoint* p : {&m_a, &m_b, &m_c, &m_d, &m_e})
        p->y = 2 * y - p->y;
    DeleteMembers();
}

void MSizeShape::Rotate(double cx, double cy, double angle) {
    const MFloatPoint c(cx, cy);
    for (MFloatPoint* p : {&m_a, &m_b, &m_c, &m_d, &m_e})
        *p = c + (*p - c).GetRotated(angle);
    DeleteMembers();
}

short MSizeShape::GetTypeId() const {
    return kShapeSize;
}
MCadShape* MSizeShape::CreateNew() const {
    return new MSizeShape;
}

void MSizeShape::WriteText(CDocument*, std::ostream& os) const {
    os << '\t' << m_a << ' ' << m_b << ' ' << m_c << ' ' << m_d << ' ' << m_e << ' ';
    WriteBaseText(os);
}

void MSizeShape::ReadText(CDocument*, std::istream& is) {
    MFloatPoint a, b, c, d, e;
    is >> a >> b >> c >> d >> e;
    if (is.fail()) return;
    m_a = a, m_b = b, m_c = c, m_d = d, m_e = e;
    ReadBaseText(is);
}

void MSizeShape::Rebuild(MCadView* view) {
    if (!view) return;
    BuildLinearMembers(view, m_c, m_d, m_e, &m_a, &m_b);
}

void MSizeShape::UpdateText() {
    if (IsUserText()) return;
    m_text = GetCurrentSizeFormat(SIZEFORMAT_LINEAR).Format((m_d - m_c).GetLength(), TRUE, TRUE);
}
