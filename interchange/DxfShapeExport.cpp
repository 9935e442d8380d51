#include "interchange/DxfShapeExport.h"

#include <cmath>

#include "interchange/DxfColor.h"
#include "interchange/DxfOutStream.h"
#include "model/geometry/Geometry.h"
#include "model/geometry/Radian.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/containers/GeneratedGroupShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "model/shapes/text/TextShapeBase.h"

// Named, so that the helpers of the two exporters stay apart in a unity batch.
namespace dxfexport {
namespace {

// A reader beside it in a unity batch may keep a kPi of its own.
using ::kPi;
using MVertexList = MPolygonShape::MVertexList;

MFloatPoint Polar(double angle) {
    return {std::cos(angle), std::sin(angle)};
}

int DxfColor(const MCadShape& shape) {
    return GetDXFColorNumber(shape.GetColor());
}

// One LINE from a to b in the shape's style.
void Segment(const MCadShape& shape, MDXFOutStream& out, const std::string& layer, const MFloatPoint& origin,
             const MFloatPoint& a, const MFloatPoint& b) {
    out.WriteString(0, "LINE");
    out.WriteString(8, layer);
    out.WriteString(6, shape.GetLineStyleName());
    out.WriteInt(62, DxfColor(shape));
    out.WritePoint(10, a - origin);
    out.WritePoint(11, b - origin);
}

// One arrow head: it sits at tip with angle pointing from the tip back into the line; size is in
// paper millimetres. The second wing is computed from the first's angle, as the exports of stored
// drawings have always done.
void ArrowHead(const MCadShape& shape, MDXFOutStream& out, const std::string& layer,
               const MFloatPoint& origin, const MFloatPoint& tip, double angle, double paperScale, int style,
               double size) {
    if (style < kArrowOpen || style > kArrowFilledCircle) return;
    const double length = size / paperScale;
    const double half = length / 2;
    const std::string lineType = shape.GetLineStyleName();
    const int color = DxfColor(shape);
    auto entity = [&](const char* name) {
        out.WriteString(0, name);
        out.WriteString(8, layer);
        out.WriteString(6, lineType);
        out.WriteInt(62, color);
    };
    auto line = [&](double u) {
        const MFloatPoint d = Polar(u) * half;
        Segment(shape, out, layer, origin, tip + d, tip - d);
    };
    switch (style) {
        case kArrowOpen:
        case kArrowFilled: {
            const double a1 = angle - 0.2617993877991494;
            const double a2 = a1 + 0.5235987755982988;
            const MFloatPoint w1 = tip + Polar(a1) * length;
            const MFloatPoint w2 = tip + Polar(a2) * length;
            entity("POLYLINE");
            out.WriteInt(66, 1);
            out.WriteInt(10, 0);
            out.WriteInt(20, 0);
            out.WriteInt(30, 0);
            if (style == kArrowFilled) out.WriteInt(70, 1);
            for (const MFloatPoint& p : {w1, tip, w2}) {
                out.WriteString(0, "VERTEX");
                out.WriteString(8, layer);
                out.WritePoint(10, p - origin);
            }
            out.WriteString(0, "SEQEND");
            break;
        }
        case kArrowSlash:
            line(angle + kPi / 4);
            break;
        case kArrowCross:
            line(angle + kPi / 4);
            line(angle + kPi / 4 + kPi / 2);
            break;
        default:
            entity("CIRCLE");
            out.WritePoint(10, tip - origin);
            out.WriteDouble(40, half);
            break;
    }
}

void Line(const MLineShape& s, MDXFOutStream& out, const std::string& layer, const MFloatPoint& origin,
          double paperScale) {
    Segment(s, out, layer, origin, s.m_start, s.m_end);
    if ((s.m_end - s.m_start).GetLength() == 0.0) return;
    const double theta = s.GetAngle();
    const MArrowInfo& arrows = s.m_arrows;
    if (arrows.startStyle != kArrowNone)
        ArrowHead(s, out, layer, origin, s.m_start, theta, paperScale, arrows.startStyle, arrows.startSize);
    if (arrows.endStyle != kArrowNone)
        ArrowHead(s, out, layer, origin, s.m_end, theta + kPi, paperScale, arrows.endStyle, arrows.endSize);
}

// The arrow heads at the first and last drawn edges of an open outline.
void PolygonArrowHeads(const MPolygonShape& s, MDXFOutStream& out, const std::string& layer,
                       const MFloatPoint& origin, double paperScale) {
    const MVertexList v(s);
    const MArrowInfo& arrows = s.m_arrows;
    if (arrows.startStyle != kArrowNone) {
        const int g = MPolygonShape::FirstDrawnEdge(v);
        if (g >= 0)
            ArrowHead(s, out, layer, origin, v[g], (v[g + 1] - v[g]).GetAngle(), paperScale,
                      arrows.startStyle, arrows.startSize);
    }
    if (arrows.endStyle != kArrowNone) {
        const int i = MPolygonShape::LastDrawnEdge(v);
        if (i >= 0)
            ArrowHead(s, out, layer, origin, v[i + 1], (v[i + 1] - v[i]).GetAngle() + kPi, paperScale,
                      arrows.endStyle, arrows.endSize);
    }
}

void Circle(const MCircleShape& s, MDXFOutStream& out, const std::string& layer, const MFloatPoint& origin) {
    out.WriteString(0, "CIRCLE");
    out.WriteString(8, layer);
    out.WriteString(6, s.GetLineStyleName());
    out.WriteInt(62, DxfColor(s));
    out.WritePoint(10, s.m_center - origin);
    out.WriteDouble(40, s.m_radius);
}

void ArcEntity(const MCircleArcShape& s, MDXFOutStream& out, const std::string& layer,
               const MFloatPoint& origin) {
    out.WriteString(0, "ARC");
    out.WriteString(8, layer);
    out.WriteString(6, s.GetLineStyleName());
    out.WriteInt(62, DxfColor(s));
    out.WritePoint(10, s.m_center - origin);
    out.WriteDouble(40, s.m_radius);
    out.WriteDouble(50, MRadian(s.m_startAngle).ToDegrees360());
    out.WriteDouble(51, MRadian(s.m_endAngle).ToDegrees360());
}

void Arc(const MCircleArcShape& s, MDXFOutStream& out, const std::string& layer, const MFloatPoint& origin,
         double paperScale) {
    ArcEntity(s, out, layer, origin);
    const MVertexList v(s);
    const int n = v.GetSize();
    if (n < 2) return;
    // A closed arc shows its chord on screen and in JW_CAD; DXF carries it as a line too.
    if (s.IsClosedFlag()) {
        Segment(s, out, layer, origin, v[0], v[n - 1]);
        return;
    }
    // The arrow heads the arc shows on screen, as the polyline family exports them.
    PolygonArrowHeads(s, out, layer, origin, paperScale);
}

void Fan(const MCircleFanShape& s, MDXFOutStream& out, const std::string& layer, const MFloatPoint& origin) {
    ArcEntity(s, out, layer, origin);
    // The radii are part of the sector's outline; an ARC entity alone would lose them.
    const MVertexList v(s);
    if (v.GetSize() < MCircleFanShape::kFanPoints) return;
    Segment(s, out, layer, origin, v[0], s.m_center);
    Segment(s, out, layer, origin, s.m_center, v[MCircleArcShape::kArcPoints - 1]);
}

// The frame as four lines when the frame flag is set and the frame has a colour.
void TextFrame(const MTextShapeBase& s, MDXFOutStream& out, const std::string& layer,
               const MFloatPoint& origin) {
    if (!s.HasFrame() || s.GetColor() == kNoColor) return;
    MFloatPoint c[4];
    s.GetBoxCorners(c);
    for (int i = 0; i < 4; ++i)
        Segment(s, out, layer, origin, c[i], c[(i + 1) % 4]);
}

void TextEntity(const MTextShape& s, MDXFOutStream& out, const std::string& layer,
                const MFloatPoint& origin) {
    const BOOL vertical = s.IsVertical();
    const int alignment = s.GetAlignment();
    int horizontal = alignment & 3;
    if (horizontal == 3) horizontal = 0;
    int verticalBits = (alignment >> 2) & 3;
    if (verticalBits == 3) verticalBits = 0;

    MFloatPoint insertion = s.GetPoint();
    if (vertical && horizontal != kAlignCentre) {
        const double shift = horizontal == kAlignRight ? s.GetBoxHeight() / 2 : -s.GetBoxHeight() / 2;
        insertion += MFloatPoint(shift, 0).GetRotated(s.GetAngle());
    }
    out.WriteString(0, "TEXT");
    out.WriteString(8, layer);
    out.WriteInt(62, GetDXFColorNumber(s.GetTextColor()));
    out.WritePoint(10, insertion - origin);
    bool second = false;
    const int justify = vertical ? verticalBits : horizontal;
    if (justify != 0) {
        out.WriteInt(72, justify);
        second = true;
    }
    if (!vertical && (alignment & 0xC) != kAlignBottom) {
        out.WriteInt(73, (alignment & 0xC) == 0 ? 3 : 2);
        second = true;
    }
    if (second) out.WritePoint(11, s.GetPoint() - origin);
    out.WriteDouble(40, s.GetTextSize());
    out.WriteInt(41, 1);
    if (s.GetAngle() != 0.0) out.WriteDouble(50, MRadian(s.GetAngle()).ToDegrees360());
    out.WriteString(1, s.GetString());
    if (vertical) out.WriteString(7, "TATEGAKI");
}

void Text(const MTextShape& s, MDXFOutStream& out, const std::string& layer, const MFloatPoint& origin) {
    TextEntity(s, out, layer, origin);
    TextFrame(s, out, layer, origin);
}

// One TEXT per line, each a one-line text standing where the line is drawn, then the frame.
void MultiText(const MMultiTextShape& s, MDXFOutStream& out, const std::string& layer,
               const MFloatPoint& origin, double paperScale) {
    int alignment = 0;
    for (const MMultiTextShape::ExportLine& l : s.GetExportLines(paperScale, &alignment))
        Text(*s.MakeLineText(l.text, alignment, l.anchor), out, layer, origin);
    TextFrame(s, out, layer, origin);
}

template <class T>
const T* As(const MCadShape& shape) {
    return dynamic_cast<const T*>(&shape);
}

void Polygon(const MPolygonShape& s, MDXFOutStream& out, const std::string& layer, const MFloatPoint& origin,
             double paperScale) {
    const MVertexList v(s);
    if (v.GetSize() < 2) return;
    out.WriteString(0, "POLYLINE");
    out.WriteString(8, layer);
    out.WriteString(6, s.GetLineStyleName());
    out.WriteInt(62, DxfColor(s));
    out.WriteInt(66, 1);
    out.WriteInt(10, 0);
    out.WriteInt(20, 0);
    out.WriteInt(30, 0);
    if (s.IsClosedFlag()) out.WriteInt(70, 1);
    for (const MFloatPoint& p : v) {
        out.WriteString(0, "VERTEX");
        out.WriteString(8, layer);
        out.WritePoint(10, p - origin);
    }
    out.WriteString(0, "SEQEND");
    if (s.IsClosedFlag()) return;
    PolygonArrowHeads(s, out, layer, origin, paperScale);
}

void Shape(const MCadShape& shape, MDXFOutStream& out, const std::string& layer, const MFloatPoint& origin,
           double paperScale) {
    switch (shape.GetTypeId()) {
        case kShapeLine:
            if (auto* s = As<MLineShape>(shape)) Line(*s, out, layer, origin, paperScale);
            break;
        case kShapePolygon:
        case kShapeRect:
        case kShapeSpline:
        case kShapeSplineLoop:
        case kShapeEllipse:  // as its outline: the polyline every reader knows
            if (auto* s = As<MPolygonShape>(shape)) Polygon(*s, out, layer, origin, paperScale);
            break;
        case kShapeCircle:
            if (auto* s = As<MCircleShape>(shape)) Circle(*s, out, layer, origin);
            break;
        case kShapeArc:
            if (auto* s = As<MCircleArcShape>(shape)) Arc(*s, out, layer, origin, paperScale);
            break;
        case kShapeFan:
            if (auto* s = As<MCircleFanShape>(shape)) Fan(*s, out, layer, origin);
            break;
        case kShapeText:
            if (auto* s = As<MTextShape>(shape)) Text(*s, out, layer, origin);
            break;
        case kShapeMultiText:
            if (auto* s = As<MMultiTextShape>(shape)) MultiText(*s, out, layer, origin, paperScale);
            break;
        case kShapeSize:
        case kShapeRadius:
        case kShapeDiameter:
        case kShapeAngle:
        case kShapeLabel:
        case kShapeBalloon:
            // Generated members are made for the paper scale first (a shape read but never drawn).
            if (auto* s = As<MGeneratedGroupShape>(shape)) s->EnsureMembersForExport(paperScale);
            [[fallthrough]];
        case kShapeGroup:
            if (auto* s = As<MGroupShape>(shape))
                for (int i = 0; i < s->GetShapeCount(); ++i)
                    if (const MCadShape* member = s->GetShapeAt(i))
                        ExportShapeDxf(*member, out, layer, origin, paperScale);
            break;
        default:  // marks, pictures, embedded objects
            break;
    }
}

}  // namespace
}  // namespace dxfexport

void ExportPolygonDxf(const MPolygonShape& s, MDXFOutStream& out, const std::string& layer,
                      const MFloatPoint& origin, double paperScale) {
    dxfexport::Polygon(s, out, layer, origin, paperScale);
}

void ExportShapeDxf(const MCadShape& shape, MDXFOutStream& out, const std::string& layer,
                    const MFloatPoint& origin, double paperScale) {
    dxfexport::Shape(shape, out, layer, origin, paperScale);
}
