#include "model/shapes/dimension/SizeBaseShape.h"

#include <cmath>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>

#include "model/CadView.h"
#include "model/PaperInfo.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/ArchiveString.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Archive.h"
#include "platform/TextFile.h"

IMPLEMENT_SERIAL(MSizeBaseShape, MGroupShape, 1)

MSizeBaseShape::MSizeBaseShape() : m_style(GetDefaultSizeStyle()) {}
MSizeBaseShape::~MSizeBaseShape() = default;

void MSizeBaseShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_text << m_stroke << static_cast<DWORD>(m_textColor) << m_fill;
        WriteArchiveString(ar, m_style.m_fontName);
        ar << m_style.m_textHeight << m_style.m_extensionGap << m_style.m_outsideLeader
           << m_style.m_extensionOvershoot << m_style.m_textGap
           << static_cast<std::int32_t>(m_style.m_arrowStyle) << m_style.m_arrowSize
           << static_cast<std::int32_t>(m_flags);
    } else {
        DWORD textColor = 0;
        std::int32_t arrowStyle = 0, flags = 0;
        ar >> m_text >> m_stroke >> textColor >> m_fill;
        ReadArchiveString(ar, m_style.m_fontName);
        ar >> m_style.m_textHeight >> m_style.m_extensionGap >> m_style.m_outsideLeader >>
            m_style.m_extensionOvershoot >> m_style.m_textGap >> arrowStyle >> m_style.m_arrowSize >> flags;
        m_textColor = textColor;
        m_style.m_arrowStyle = arrowStyle;
        m_flags = flags;
        DeleteMembers();
    }
}

int MSizeBaseShape::GetHandleCount() const {
    return 4;
}

MFloatPoint MSizeBaseShape::GetHandle(int index) const {
    switch (index) {
        case 0:
            return m_extent.TopLeft();
        case 1:
            return m_extent.TopRight();
        case 2:
            return m_extent.BottomRight();
        default:
            return m_extent.BottomLeft();
    }
}

void MSizeBaseShape::EnsureMembers(MCadView* view) const {
    // The members are a cache of the dimension's own fields.
    if (!IsBuilt() && view) const_cast<MSizeBaseShape*>(this)->Recalc(view);
}

void MSizeBaseShape::EnsureMembersForExport(double paperScale) const {
    if (IsBuilt()) return;
    MPaperInfo paper;
    paper.SetScale("", paperScale > 0.0 && std::isfinite(paperScale) ? paperScale : 1.0);
    MCadView view(&paper);
    const_cast<MSizeBaseShape*>(this)->Recalc(&view);
}

void MSizeBaseShape::ScaleBy(const MShapeScale& scale) {
    MShapeScale plain = scale;
    plain.all = false;
    MGroupShape::ScaleBy(plain);
}

void MSizeBaseShape::Recalc(MCadView* view) {
    Rebuild(view);
    if (!IsBuilt() && GetHandleCount() > 0) {
        // Not built without a view: the extent covers at least the defining points, so that the
        // visibility tests before drawing let the first drawing build the members.
        MFloatRect r(GetHandle(0), GetHandle(0));
        for (int i = 1; i < GetHandleCount(); ++i)
            r.AddPoint(GetHandle(i));
        r.Normalize();
        m_extent = r;
        SetDrawExtent(r);
        return;
    }
    MGroupShape::Recalc(view);
}

void MSizeBaseShape::SetFillStyle(const MFillStyle& fill) {
    m_fill = fill;
    MGroupShape::SetFillStyle(fill);
}
MFillStyle MSizeBaseShape::GetFillStyle() const {
    return m_fill;
}
MStroke MSizeBaseShape::GetStrokeAttributes() const {
    return m_stroke;
}
void MSizeBaseShape::ChangeStroke(const MStrokeChange& change) {
    change.StoreIn(m_stroke);
    MGroupShape::ChangeStroke(change);
}
MTextPresence MSizeBaseShape::GetTextStyle(MTextStyle* style) const {
    const MTextPresence presence = MGroupShape::GetTextStyle(style);
    if (style) style->color = m_textColor;
    return presence;
}
void MSizeBaseShape::ChangeTextStyle(const MTextStyleChange& change) {
    if (change.fields & kTextStyleColor) m_textColor = change.value.color;
    MGroupShape::ChangeTextStyle(change);
}

void MSizeBaseShape::UpdateText() {}

MSizeBaseShape::Lengths MSizeBaseShape::GetLengths(MCadView* view) const {
    return {view->PaperToDocLength(m_style.m_textHeight), view->PaperToDocLength(m_style.m_extensionGap),
            view->PaperToDocLength(m_style.m_outsideLeader),
            view->PaperToDocLength(m_style.m_extensionOvershoot), view->PaperToDocLength(m_style.m_textGap)};
}

MTextShape* MSizeBaseShape::NewTextMember(const Lengths& lengths) const {
    auto* text = new MTextShape;
    text->SetColor(m_stroke.color);
    text->SetTextColor(m_textColor);
    text->SetFillStyle(m_fill);
    text->SetFontName(m_style.m_fontName);
    text->SetTextSize(lengths.textHeight);
    text->SetString(m_text);
    return text;
}

double MSizeBaseShape::GetTextAngle(const MFloatPoint& v) {
    if (v.GetLength() < kZeroTolerance) return 0.0;
    if (v.x == 0.0) return kPi / 2;
    double a = v.GetAngle();
    if (a > kPi / 2)
        a -= kPi;
    else if (a < -kPi / 2)
        a += kPi;
    return a;
}

void MSizeBaseShape::ApplyLineAttributes(MCadShape* shape, BOOL fill) const {
    shape->SetColor(m_stroke.color);
    shape->SetLineWidth(m_stroke.width);
    shape->SetLineStyle(m_stroke.style);
    if (fill) shape->SetFillStyle(MFillStyle(m_stroke.color));
}

void MSizeBaseShape::BuildLinearMembers(MCadView* view, const MFloatPoint& c, const MFloatPoint& d,
                                        const MFloatPoint& e, const MFloatPoint* a, const MFloatPoint* b) {
    const Lengths len = GetLengths(view);
    std::unique_ptr<MTextShape> text(NewTextMember(len));
    const MFloatPoint v = d - c;
    const double angle = GetTextAngle(v);
    text->SetAngle(angle);
    text->MeasureText(view);
    text->SetAlignment(kAlignCentreBottom);
    text->MoveTo(view, e + MFloatPoint(0, len.textGap).GetRotated(angle));
    const double w = text->GetBoxWidth();
    DeleteMembers();
    AddShape(text.release());

    // Extension lines from a gap off the measured point to a little past the dimension line.
    auto extension = [&](const MFloatPoint& p, const MFloatPoint& q) {
        const double l = (q - p).GetLength();
        if (l < kZeroTolerance) return;
        const MFloatPoint u = (q - p) / l;
        auto* line = new MLineShape(p + u * len.extensionGap, q + u * len.extensionOvershoot);
        ApplyLineAttributes(line, TRUE);
        AddShape(line);
    };
    if (a) extension(*a, c);
    if (b) extension(*b, d);

    const MFloatPoint dir(std::cos(angle), std::sin(angle));
    MFloatPoint s1 = e - dir * (w / 2), s2 = e + dir * (w / 2);
    double k = -1.0;
    if (v.Dot(s2 - s1) < 0) {
        std::swap(s1, s2);
        k = 1.0;
    }
    const double m1 = v.Dot(s1 - c);
    const double m2 = (c - d).Dot(s2 - d);
    const int arrowStyle = m_style.m_arrowStyle;
    const double arrowSize = m_style.m_arrowSize;
    if (m1 >= 0 && m2 >= 0) {
        auto* line = new MPolygonShape(FALSE);
        line->AddPoint(c);
        line->AddPoint(d);
        ApplyLineAttributes(line, TRUE);
        line->SetArrowsEx(arrowStyle, arrowSize, arrowStyle, arrowSize);
        AddShape(line);
        return;
    }
    // The text does not fit between the ends: the arrows point inward from outside.
    auto leader = [&](const MFloatPoint& end, double sign, const MFloatPoint& textEnd, double m) {
        MFloatPoint outer = textEnd;
        if ((textEnd - end).GetLength() < len.outsideLeader || m > 0)
            outer = end + dir * (sign * k * len.outsideLeader);
        auto* line = new MPolygonShape(FALSE);
        line->AddPoint(outer);
        line->AddPoint(end);
        ApplyLineAttributes(line, TRUE);
        line->SetArrowsEx(kArrowNone, 0.0, arrowStyle, arrowSize);
        AddShape(line);
    };
    leader(c, 1.0, s1, m1);
    leader(d, -1.0, s2, m2);
    auto* line = new MLineShape(c, d);
    ApplyLineAttributes(line, TRUE);
    AddShape(line);
}

void MSizeBaseShape::WriteBaseText(std::ostream& os) const {
    WriteStrokeText(os, m_stroke);
    os << ' ' << m_flags << ' ' << static_cast<unsigned long>(m_textColor) << ' ';
    WriteFillStyleText(os, m_fill);
    os << '\n';
    m_style.WriteText(os);
    WriteTextLines(os, m_text);
}

void MSizeBaseShape::ReadBaseText(std::istream& is) {
    MStroke stroke;
    int flags = 0;
    ReadStrokeText(is, stroke);
    is >> flags;
    if (is.fail()) return;
    m_stroke = stroke;
    m_flags = flags;
    std::string rest;
    ReadTextString(is, rest, FALSE);
    TextInput line(rest);
    unsigned long textColor = 0;
    if (line >> textColor) {
        m_textColor = static_cast<COLORREF>(textColor);
        MFillStyle fill;
        line >> std::ws;
        if (!line.eof()) {
            ReadFillStyleText(line, fill);
            if (!line.fail()) m_fill = fill;
        }
    }
    if (!m_style.ReadText(is)) return;
    ReadTextLines(is, m_text);
    DeleteMembers();
}

bool MSizeBaseShape::HasFiniteValues() const {
    const MSizeStyle& s = m_style;
    return AllFinite({s.m_textHeight, s.m_extensionGap, s.m_outsideLeader, s.m_extensionOvershoot, s.m_textGap,
                      s.m_arrowSize}) &&
           MGeneratedGroupShape::HasFiniteValues();
}
