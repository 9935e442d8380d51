#include "model/shapes/annotation/LabelShape.h"

#include <istream>
#include <memory>
#include <ostream>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/helpers/ArchiveString.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Archive.h"
#include "platform/TextFile.h"

IMPLEMENT_SERIAL(MLabelShape, MLabelShapeBase, 1)

MLabelShape::MLabelShape() {
    AddShape(new MLineShape);
    AddShape(new MTextShape);
}
MLabelShape::~MLabelShape() = default;

void MLabelShape::Serialize(CArchive& ar) {
    MLabelShapeBase::Serialize(ar);
    if (ar.IsStoring()) {
        WriteArchiveString(ar, m_string);
        ar << m_textOffset;
    } else {
        ReadArchiveString(ar, m_string);
        ar >> m_textOffset;
    }
}

MLineShape* MLabelShape::GetUnderline() const {
    return GetMemberAs<MLineShape>(1);
}
MTextShape* MLabelShape::GetTextMember() const {
    return GetMemberAs<MTextShape>(2);
}

void MLabelShape::SetString(const CString& text) {
    m_string = text;
    MarkStale();
}
void MLabelShape::SetTextOffset(double offset) {
    m_textOffset = offset;
    MarkStale();
}

BOOL MLabelShape::HasLayoutMembers() const {
    return GetShapeCount() >= 3 && dynamic_cast<MPolygonShape*>(GetShapeAt(0)) &&
           dynamic_cast<MLineShape*>(GetShapeAt(1)) && dynamic_cast<MTextShape*>(GetShapeAt(2));
}

double MLabelShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                               int kinds, double best) {
    return SnapLeaderAndOutline(snap, cursor, aperture, kinds, best);
}

void MLabelShape::LayOutMembers(MCadView* view, const MFloatPointArray& v, int t) {
    MLineShape* underline = GetUnderline();
    MTextShape* text = GetTextMember();
    MeasureTextMember(view, text, m_string);

    MFloatPoint anchor = v[0] + MFloatPoint(0, m_textOffset);
    if (t == 0) {
        underline->m_start = underline->m_end = v[0];
    } else {
        const double w = text->GetBoxWidth();
        const bool leftward = v[t].x < v[t - 1].x;
        const double farX = leftward ? v[t].x - w : v[t].x + w;
        underline->m_start = v[t];
        underline->m_end = MFloatPoint(farX, v[t].y);
        text->SetAlignment(leftward ? kAlignBottom : kAlignBottom | kAlignRight);
        anchor = MFloatPoint(farX, v[t].y + m_textOffset);
    }
    text->MoveTo(view, anchor);
    ApplyLineAttributes(underline);
}

short MLabelShape::GetTypeId() const {
    return kShapeLabel;
}
MCadShape* MLabelShape::CreateNew() const {
    return new MLabelShape;
}

void MLabelShape::WriteText(CDocument*, std::ostream& os) const {
    WriteAttributeLine(os);
    os << '\n';
    WriteTextLines(os, m_string);
    WriteTextLines(os, m_fontName.Name());
    os << '\t' << m_textSize << ' ' << m_textFlags << ' ' << m_textOffset << ' '
       << static_cast<unsigned long>(m_textColor) << '\n';
    WriteLeaderText(os);
}

void MLabelShape::ReadText(CDocument*, std::istream& is) {
    MarkStale();
    if (!ReadAttributeNumbers(is)) return;
    std::string rest;
    ReadTextString(is, rest, FALSE);
    {
        TextInput line(rest);
        line >> std::ws;
        if (!line.eof()) {
            MFillStyle fill;
            ReadFillStyleText(line, fill);
            if (!line.fail()) m_fill = fill;
        }
    }
    ReadTextLines(is, m_string);
    CString fontName = m_fontName.Name();
    ReadTextLines(is, fontName);
    m_fontName = MTextFontName(fontName);
    if (is.fail()) return;
    // Older files end the line before the text colour: it is then the line colour.
    m_textColor = m_stroke.color;
    double textSize = 0, offset = 0;
    int flags = 0;
    is >> textSize >> flags >> offset;
    if (is.fail()) return;
    m_textSize = textSize;
    m_textFlags = flags;
    m_textOffset = offset;
    ReadTextColorAndLeader(is);
}

bool MLabelShape::HasFiniteValues() const {
    return std::isfinite(m_textOffset) && MLabelShapeBase::HasFiniteValues();
}
