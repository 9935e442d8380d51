#include "model/shapes/annotation/LabelShapeBase.h"

#include <cstdint>
#include <istream>
#include <ostream>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/helpers/ArchiveString.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Archive.h"
#include "platform/TextFile.h"

IMPLEMENT_SERIAL(MLabelShapeBase, MGroupShape, 1)

MLabelShapeBase::MLabelShapeBase() {
    AddShape(new MPolygonShape(FALSE));
}
MLabelShapeBase::~MLabelShapeBase() = default;

void MLabelShapeBase::Serialize(CArchive& ar) {
    MGroupShape::Serialize(ar);
    if (ar.IsStoring()) {
        // The stroke in the label's own order: width, style, colour.
        ar << m_stroke.width << static_cast<std::int32_t>(m_stroke.style)
           << static_cast<DWORD>(m_stroke.color) << static_cast<DWORD>(m_textColor) << m_fill;
        WriteArchiveString(ar, m_fontName.Name());
        ar << m_textSize << static_cast<std::int32_t>(m_textFlags) << static_cast<std::int32_t>(m_arrowStyle)
           << m_arrowSize;
    } else {
        std::int32_t lineStyle = 0, textFlags = 0, arrowStyle = 0;
        DWORD color = 0, textColor = 0;
        ar >> m_stroke.width >> lineStyle >> color >> textColor >> m_fill;
        CString fontName;
        ReadArchiveString(ar, fontName);
        m_fontName = MTextFontName(fontName);
        ar >> m_textSize >> textFlags >> arrowStyle >> m_arrowSize;
        m_stroke.style = lineStyle;
        m_stroke.color = color;
        m_textColor = textColor;
        m_textFlags = textFlags;
        m_arrowStyle = arrowStyle;
        MarkStale();
    }
}

MPolygonShape* MLabelShapeBase::GetLeader() const {
    return GetMemberAs<MPolygonShape>(0);
}

void MLabelShapeBase::AddLeaderPoint(MCadView*, const MFloatPoint& p) {
    GetLeader()->AddPoint(p);
    MarkStale();
}
void MLabelShapeBase::RemoveLastLeaderPoint() {
    GetLeader()->RemoveLastPoint();
    MarkStale();
}
void MLabelShapeBase::DeleteLeaderPoint(int index) {
    GetLeader()->DeleteVertex(index);
    MarkStale();
}
int MLabelShapeBase::GetLeaderPointCount() const {
    return GetLeader()->GetPointCount();
}
void MLabelShapeBase::MoveLastLeaderPoint(const MFloatPoint& p) {
    GetLeader()->MoveLastPoint(p);
    MarkStale();
}

int MLabelShapeBase::GetHandleCount() const {
    return GetLeaderPointCount();
}
MFloatPoint MLabelShapeBase::GetHandle(int index) const {
    return GetLeader()->GetPoint(index);
}

void MLabelShapeBase::MoveHandle(int* index, const MFloatPoint& to, BOOL, MFloatRect*) {
    if (!index) AfxThrowInvalidArgException();
    MPolygonShape* leader = GetLeader();
    if (*index < 0 || *index >= leader->GetPointCount()) AfxThrowInvalidArgException();
    leader->SetPoint(*index, to);
    MarkStale();
}

BOOL MLabelShapeBase::HasLayoutMembers() const {
    return GetShapeCount() > 0 && dynamic_cast<MPolygonShape*>(GetShapeAt(0)) != nullptr;
}

void MLabelShapeBase::EnsureMembers(MCadView* view) const {
    if (!m_layoutStale || !HasLayoutMembers()) return;
    // The members are a cache of the fields and the leader.
    const_cast<MLabelShapeBase*>(this)->Recalc(view);
    m_layoutStale = FALSE;
}

MFloatPoint MLabelShapeBase::GetCenter() const {
    const MPolygonShape* leader = GetShapeCount() > 0 ? dynamic_cast<MPolygonShape*>(GetShapeAt(0)) : nullptr;
    if (leader && leader->GetPointCount() > 0) return leader->GetPoint(0);
    return m_extent.GetCenter();
}

void MLabelShapeBase::SetFillStyle(const MFillStyle& fill) {
    m_fill = fill;
    MarkStale();
}
MFillStyle MLabelShapeBase::GetFillStyle() const {
    return m_fill;
}
MStroke MLabelShapeBase::GetStrokeAttributes() const {
    return m_stroke;
}
void MLabelShapeBase::ChangeStroke(const MStrokeChange& change) {
    change.StoreIn(m_stroke);
    MarkStale();
}
MTextPresence MLabelShapeBase::GetTextStyle(MTextStyle* style) const {
    if (style) *style = {m_fontName, m_textSize, m_textColor, m_textFlags, 0};
    return MTextPresence::kHasText;
}
void MLabelShapeBase::ChangeTextStyle(const MTextStyleChange& change) {
    MTextStyle style = TextStyle();
    change.ApplyTo(style);
    m_fontName = style.fontName;
    m_textSize = style.size;
    m_textColor = style.color;
    m_textFlags = style.flags;
    MarkStale();
}

void MLabelShapeBase::SetArrows(const MArrowInfo& arrows) {
    m_arrowStyle = arrows.startStyle;
    m_arrowSize = arrows.startStyle != kArrowNone ? arrows.startSize : 0.0;
    MarkStale();
}
MArrowInfo MLabelShapeBase::GetArrows() const {
    return MArrowInfo(m_arrowStyle, m_arrowSize, kArrowNone, 0.0);
}

void MLabelShapeBase::MirrorX(double x, double y) {
    GetLeader()->MirrorX(x, y);
    MarkStale();
}
void MLabelShapeBase::MirrorY(double x, double y) {
    GetLeader()->MirrorY(x, y);
    MarkStale();
}
void MLabelShapeBase::Rotate(double cx, double cy, double angle) {
    GetLeader()->Rotate(cx, cy, angle);
    MarkStale();
}

int MLabelShapeBase::FindLastSegment(const MFloatPointArray& v) {
    for (int t = v.GetSize() - 1; t >= 1; --t)
        if ((v[t] - v[t - 1]).GetLength() > 0.0) return t;
    return 0;
}

void MLabelShapeBase::ApplyLineAttributes(MCadShape* shape) const {
    shape->SetColor(m_stroke.color);
    shape->SetLineWidth(m_stroke.width);
    shape->SetLineStyle(m_stroke.style);
}

void MLabelShapeBase::Recalc(MCadView* view) {
    const MFloatPointArray& v = GetLeader()->GetPoints();
    m_layoutStale = FALSE;
    if (v.GetSize() == 0) return;
    LayOutMembers(view, v, FindLastSegment(v));
    ApplyLeaderAttributes();
    MGroupShape::Recalc(view);
}

void MLabelShapeBase::LayOutMembers(MCadView*, const MFloatPointArray&, int) {}

void MLabelShapeBase::ApplyLeaderAttributes() const {
    MPolygonShape* leader = GetLeader();
    ApplyLineAttributes(leader);
    leader->SetArrowsEx(m_arrowStyle, m_arrowSize, kArrowNone, 0.0);
}

void MLabelShapeBase::MeasureTextMember(MCadView* view, MTextShape* text, const CString& string) const {
    text->SetString(string);
    text->SetFontName(m_fontName);
    text->SetTextSize(m_textSize);
    text->SetTextFlags(m_textFlags);
    text->SetFillStyle(GetFillStyle());
    text->SetColor(GetColor());
    text->SetTextColor(GetTextColor());
    text->MeasureText(view);
}

double MLabelShapeBase::SnapLeaderAndOutline(MSnapPoint& snap, const MFloatPoint& cursor,
                                             const MFloatRect& aperture, int kinds, double best) {
    EnsureMembers(nullptr);
    const double start = best;
    if (GetShapeCount() > 0) best = GetShapeAt(0)->SnapPoints(snap, cursor, aperture, kinds, best);
    if (GetShapeCount() > 1) best = GetShapeAt(1)->SnapPoints(snap, cursor, aperture, kinds, best);
    if (kinds & kSnapBasePoint)
        best = OfferSnapCandidate(snap, cursor, aperture, GetCenter(), kSnapBasePoint, best, this);
    if (best < start) snap.shape1 = this;
    return best;
}

void MLabelShapeBase::WriteAttributeLine(std::ostream& os) const {
    os << '\t';
    WriteStrokeText(os, m_stroke);
    os << ' ' << m_arrowStyle << ' ' << m_arrowSize << ' ';
    WriteFillStyleText(os, m_fill);
}

void MLabelShapeBase::WriteLeaderText(std::ostream& os) const {
    const MPolygonShape* leader = GetShapeCount() > 0 ? dynamic_cast<MPolygonShape*>(GetShapeAt(0)) : nullptr;
    if (leader)
        leader->m_points.WriteText(os);
    else
        MFloatPointArray().WriteText(os);
}

BOOL MLabelShapeBase::ReadAttributeNumbers(std::istream& is) {
    MStroke stroke;
    int arrowStyle = 0;
    double arrowSize = 0;
    ReadStrokeText(is, stroke);
    is >> arrowStyle >> arrowSize;
    if (is.fail()) return FALSE;
    m_stroke = stroke;
    m_arrowStyle = arrowStyle;
    m_arrowSize = arrowSize;
    return TRUE;
}

void MLabelShapeBase::ReadTextColorAndLeader(std::istream& is) {
    std::string rest;
    ReadTextString(is, rest, FALSE);
    TextInput line(rest);
    unsigned long textColor = 0;
    if (line >> textColor) m_textColor = static_cast<COLORREF>(textColor);
    GetLeader()->m_points.ReadText(is);
}

bool MLabelShapeBase::HasFiniteValues() const {
    return AllFinite({m_textSize, m_arrowSize}) && MGeneratedGroupShape::HasFiniteValues();
}
