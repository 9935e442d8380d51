#include "model/shapes/annotation/BalloonShape.h"

#include <cmath>
#include <istream>
#include <memory>
#include <ostream>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "model/helpers/ArchiveString.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Archive.h"
#include "platform/TextFile.h"

IMPLEMENT_SERIAL(MBalloonShape, MLabelShapeBase, 1)

MBalloonShape::MBalloonShape() {
    AddShape(new MCircleShape);
    AddShape(new MTextShape);
}
MBalloonShape::~MBalloonShape() = default;

void MBalloonShape::Serialize(CArchive& ar) {
    MLabelShapeBase::Serialize(ar);
    if (ar.IsStoring()) {
        WriteArchiveString(ar, m_string);
        ar << m_minRadius << m_maxRadius;
    } else {
        ReadArchiveString(ar, m_string);
        ar >> m_minRadius >> m_maxRadius;
    }
}

MCircleShape* MBalloonShape::GetCircle() const {
    return GetMemberAs<MCircleShape>(1);
}
MTextShape* MBalloonShape::GetTextMember() const {
    return GetMemberAs<MTextShape>(2);
}

void MBalloonShape::SetString(const CString& text) {
    m_string = text;
    MarkStale();
}
void MBalloonShape::SetRadiusBounds(double minimum, double maximum) {
    m_minRadius = minimum;
    m_maxRadius = maximum;
    MarkStale();
}

BOOL MBalloonShape::HasLayoutMembers() const {
    return GetShapeCount() >= 3 && dynamic_cast<MPolygonShape*>(GetShapeAt(0)) &&
           dynamic_cast<MCircleShape*>(GetShapeAt(1)) && dynamic_cast<MTextShape*>(GetShapeAt(2));
}

double MBalloonShape::SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture,
                                 int kinds, double best) {
    return SnapLeaderAndOutline(snap, cursor, aperture, kinds, best);
}

void MBalloonShape::LayOutMembers(MCadView* view, const MFloatPointArray& v, int t) {
    MCircleShape* circle = GetCircle();
    MTextShape* text = GetTextMember();
    MeasureTextMember(view, text, m_string);
    text->SetAlignment(kAlignCentre | kAlignMiddle);

    const double w = text->GetBoxWidth(), h = text->GetBoxHeight();
    double radius = std::sqrt(w * w + h * h) / 2;
    if (m_minRadius > 0 && radius < m_minRadius) radius = m_minRadius;
    if (m_maxRadius > 0 && radius > m_maxRadius) radius = m_maxRadius;
    MFloatPoint centre = v[0];
    if (t > 0) {
        const MFloatPoint d = v[t] - v[t - 1];
        centre = v[t] + d * (radius / d.GetLength());
    }
    text->MoveTo(view, centre);
    circle->SetCircle(centre.x, centre.y, radius);
    ApplyLineAttributes(circle);
    circle->SetFillStyle(GetFillStyle());
}

short MBalloonShape::GetTypeId() const {
    return kShapeBalloon;
}
MCadShape* MBalloonShape::CreateNew() const {
    return new MBalloonShape;
}

void MBalloonShape::WriteText(CDocument*, std::ostream& os) const {
    WriteAttributeLine(os);
    os << '\n';
    os << '\t' << m_minRadius << ' ' << m_maxRadius << '\n';
    WriteTextLines(os, m_string);
    WriteTextLines(os, m_fontName.Name());
    os << '\t' << m_textSize << ' ' << m_textFlags << ' ' << static_cast<unsigned long>(m_textColor) << '\n';
    WriteLeaderText(os);
}

void MBalloonShape::ReadText(CDocument*, std::istream& is) {
    MarkStale();
    if (!ReadAttributeNumbers(is)) return;
    MFillStyle fill;
    ReadFillStyleText(is, fill);
    if (is.fail()) return;
    m_fill = fill;
    SkipTextLine(is);
    double minimum = 0, maximum = 0;
    is >> minimum >> maximum;
    if (is.fail()) return;
    m_minRadius = minimum;
    m_maxRadius = maximum;
    SkipTextLine(is);
    ReadTextLines(is, m_string);
    CString fontName = m_fontName.Name();
    ReadTextLines(is, fontName);
    m_fontName = MTextFontName(fontName);
    if (is.fail()) return;
    // Older files end the line before the text colour: it is then the line colour.
    m_textColor = m_stroke.color;
    double textSize = 0;
    int flags = 0;
    is >> textSize >> flags;
    if (is.fail()) return;
    m_textSize = textSize;
    m_textFlags = flags;
    ReadTextColorAndLeader(is);
}

bool MBalloonShape::HasFiniteValues() const {
    return AllFinite({m_minRadius, m_maxRadius}) && MLabelShapeBase::HasFiniteValues();
}
