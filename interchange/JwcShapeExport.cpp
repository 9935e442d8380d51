#include "interchange/JwcShapeExport.h"

#include <algorithm>
#include <cmath>

#include "interchange/JwcRecords.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/containers/GeneratedGroupShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"

// Named, so that the helpers of the two exporters stay apart in a unity batch.
namespace jwcexport {
namespace {

// A reader beside it in a unity batch may keep a kPi of its own.
using ::kPi;
using MVertexList = MPolygonShape::MVertexList;

// JW_CAD's tilt of a quarter turn, in 1/65536 degree.
constexpr LONG kJWCQuarterTurn = 90 * 65536;

MFloatPoint Polar(double angle) {
    return {std::cos(angle), std::sin(angle)};
}

BYTE LayerByte(int layer) {
    return static_cast<BYTE>(std::clamp(layer, 0, 255));
}

// The line type and pen of a record in the shape's style: 0 for no style, 9 for an auxiliary
// line, else the style index + 1.
template <class Record>
void SetStyle(Record& r, const MCadShape& shape, int layer) {
    r.lineType = static_cast<BYTE>(GetJWCLineType(shape.GetLineStyle()));
    r.pen = static_cast<BYTE>(GetJWCColorNumber(shape.GetColor()));
    r.layer = LayerByte(layer);
}

void Segment(const MCadShape& shape, MJWCLineArray& lines, int layer, double scale, const MFloatPoint& a,
             const MFloatPoint& b) {
    MJWCLine& r = lines.AddNew();
    r.x1 = ToJWCFloat(a.x * scale);
    r.y1 = ToJWCFloat(a.y * scale);
    r.x2 = ToJWCFloat(b.x * scale);
    r.y2 = ToJWCFloat(b.y * scale);
    SetStyle(r, shape, layer);
}

// Arrow styles 1 to 4 as line records: the head sits at tip with angle pointing from the tip back
// into the line; size is in paper millimetres. The second wing is computed from the first's angle,
// as the exports of stored drawings have always done.
void ArrowLines(const MCadShape& shape, MJWCLineArray& lines, int layer, double scale, double paperScale,
                const MFloatPoint& tip, double angle, int style, double size) {
    if (style < kArrowOpen || style > kArrowCross) return;
    const double length = size / paperScale;
    auto add = [&](const MFloatPoint& a, const MFloatPoint& b) { Segment(shape, lines, layer, scale, a, b); };
    auto stroke = [&](double u) {
        const MFloatPoint d = Polar(u) * (length / 2);
        add(tip + d, tip - d);
    };
    if (style == kArrowOpen || style == kArrowFilled) {
        const double a1 = angle - 0.2617993877991494;
        const double a2 = a1 + 0.5235987755982988;
        const MFloatPoint w1 = tip + Polar(a1) * length;
        const MFloatPoint w2 = tip + Polar(a2) * length;
        add(w1, tip);
        add(tip, w2);
        if (style == kArrowFilled) add(w2, w1);
    } else {
        stroke(angle + kPi / 4);
        if (style == kArrowCross) stroke(angle + kPi / 4 + kPi / 2);
    }
}

// Arrow styles 5 and 6 as one full-circle record.
void ArrowCircle(const MCadShape& shape, MJWCArcArray& arcs, int layer, double scale, double paperScale,
                 const MFloatPoint& tip, int style, double size) {
    if (style != kArrowHollowCircle && style != kArrowFilledCircle) return;
    MJWCArc& r = arcs.AddNew();
    r.cx = ToJWCFloat(tip.x * scale);
    r.cy = ToJWCFloat(tip.y * scale);
    r.radius = ToJWCFloat(scale * (size / paperScale) * 0.5);
    SetStyle(r, shape, layer);
}

// ---- lines -------------------------------------------------------------------------------------

void LineLines(const MLineShape& s, MJWCLineArray& lines, int layer, double scale, double paperScale) {
    Segment(s, lines, layer, scale, s.m_start, s.m_end);
    if ((s.m_end - s.m_start).GetLength() == 0.0) return;
    const double theta = s.GetAngle();
    const MArrowInfo& arrows = s.m_arrows;
    ArrowLines(s, lines, layer, scale, paperScale, s.m_start, theta, arrows.startStyle, arrows.startSize);
    ArrowLines(s, lines, layer, scale, paperScale, s.m_end, theta + kPi, arrows.endStyle, arrows.endSize);
}

// The stroke heads at the first and last drawn edges of an open outline.
void PolygonArrowLines(const MPolygonShape& s, MJWCLineArray& lines, int layer, double scale,
                       double paperScale) {
    const MVertexList v(s);
    const MArrowInfo& arrows = s.m_arrows;
    if (const int g = MPolygonShape::FirstDrawnEdge(v); g >= 0)
        ArrowLines(s, lines, layer, scale, paperScale, v[g], (v[g + 1] - v[g]).GetAngle(), arrows.startStyle,
                   arrows.startSize);
    if (const int i = MPolygonShape::LastDrawnEdge(v); i >= 0)
        ArrowLines(s, lines, layer, scale, paperScale, v[i + 1], (v[i + 1] - v[i]).GetAngle() + kPi,
                   arrows.endStyle, arrows.endSize);
}

void PolygonLines(const MPolygonShape& s, MJWCLineArray& lines, int layer, double scale, double paperScale) {
    const MVertexList v(s);
    const int n = v.GetSize();
    if (n < 2) return;
    for (int i = 0; i + 1 < n; ++i)
        Segment(s, lines, layer, scale, v[i], v[i + 1]);
    if (s.IsClosedFlag()) {
        Segment(s, lines, layer, scale, v[n - 1], v[0]);
        return;
    }
    PolygonArrowLines(s, lines, layer, scale, paperScale);
}

void ArcLines(const MCircleArcShape& s, MJWCLineArray& lines, int layer, double scale, double paperScale) {
    const MVertexList v(s);
    const int n = v.GetSize();
    if (n < 2) return;
    if (s.IsClosedFlag()) {
        Segment(s, lines, layer, scale, v[0], v[n - 1]);
        return;
    }
    // The arc itself is the arc record; only the stroke heads become lines.
    PolygonArrowLines(s, lines, layer, scale, paperScale);
}

void FanLines(const MCircleFanShape& s, MJWCLineArray& lines, int layer, double scale) {
    const MVertexList v(s);
    if (v.GetSize() < MCircleFanShape::kFanPoints) return;
    Segment(s, lines, layer, scale, v[0], v[MCircleFanShape::kFanPoints - 1]);
    Segment(s, lines, layer, scale, v[MCircleFanShape::kFanPoints - 1], v[MCircleArcShape::kArcPoints - 1]);
}

// The frame as four line records when the frame flag is set and the frame has a colour.
void TextFrameLines(const MTextShapeBase& s, MJWCLineArray& lines, int layer, double scale) {
    if (!s.HasFrame() || s.GetColor() == kNoColor) return;
    MFloatPoint c[4];
    s.GetBoxCorners(c);
    for (int i = 0; i < 4; ++i)
        Segment(s, lines, layer, scale, c[i], c[(i + 1) % 4]);
}

// ---- arcs --------------------------------------------------------------------------------------

void LineArcs(const MLineShape& s, MJWCArcArray& arcs, int layer, double scale, double paperScale) {
    if ((s.m_end - s.m_start).GetLength() == 0.0) return;
    const MArrowInfo& arrows = s.m_arrows;
    ArrowCircle(s, arcs, layer, scale, paperScale, s.m_start, arrows.startStyle, arrows.startSize);
    ArrowCircle(s, arcs, layer, scale, paperScale, s.m_end, arrows.endStyle, arrows.endSize);
}

void PolygonArcs(const MPolygonShape& s, MJWCArcArray& arcs, int layer, double scale, double paperScale) {
    const MVertexList v(s);
    if (v.GetSize() < 2 || s.IsClosedFlag()) return;
    const MArrowInfo& arrows = s.m_arrows;
    if (const int g = MPolygonShape::FirstDrawnEdge(v); g >= 0)
        ArrowCircle(s, arcs, layer, scale, paperScale, v[g], arrows.startStyle, arrows.startSize);
    if (const int i = MPolygonShape::LastDrawnEdge(v); i >= 0)
        ArrowCircle(s, arcs, layer, scale, paperScale, v[i + 1], arrows.endStyle, arrows.endSize);
}

void CircleArcs(const MCircleShape& s, MJWCArcArray& arcs, int layer, double scale) {
    MJWCArc& r = arcs.AddNew();
    r.cx = ToJWCFloat(s.m_center.x * scale);
    r.cy = ToJWCFloat(s.m_center.y * scale);
    r.radius = ToJWCFloat(s.m_radius * scale);
    r.flatness = MJWCArc::kCircleFlatness;
    r.startAngle = 0;
    r.endAngle = 0;
    SetStyle(r, s, layer);
}

// The arc record, then (open arcs) the circle heads as the polyline family has them.
void ArcArcs(const MCircleArcShape& s, MJWCArcArray& arcs, int layer, double scale, double paperScale) {
    MJWCArc& r = arcs.AddNew();
    r.cx = ToJWCFloat(s.m_center.x * scale);
    r.cy = ToJWCFloat(s.m_center.y * scale);
    r.radius = ToJWCFloat(s.m_radius * scale);
    r.flatness = MJWCArc::kCircleFlatness;
    r.startAngle = ToJWCAngle(s.m_startAngle);
    r.endAngle = ToJWCAngle(s.m_endAngle);
    SetStyle(r, s, layer);
    if (!s.IsClosedFlag()) PolygonArcs(s, arcs, layer, scale, paperScale);
}

void EllipseArcs(const MEllipseShape& s, MJWCArcArray& arcs, int layer, double scale) {
    MJWCArc& r = arcs.AddNew();
    r.cx = ToJWCFloat(s.m_center.x * scale);
    r.cy = ToJWCFloat(s.m_center.y * scale);
    const double rx = std::fabs(s.m_radiusX), ry = std::fabs(s.m_radiusY);
    // The flatness is a 16-bit ratio to the radius along x. An ellipse more than 6.5535 times as
    // tall as wide would overflow it, so it goes out with its y radius as the major axis, turned
    // by a quarter.
    const double flatness = ry * 10000 / rx;
    if (rx > 0 && flatness <= 65535.0) {
        r.radius = ToJWCFloat(rx * scale);
        r.flatness = static_cast<WORD>(flatness);
    } else if (ry > 0) {
        r.radius = ToJWCFloat(ry * scale);
        r.flatness = static_cast<WORD>(rx * 10000 / ry);
        r.tilt = kJWCQuarterTurn;
    } else {
        r.radius = 0.0f;
        r.flatness = MJWCArc::kCircleFlatness;
    }
    r.startAngle = 0;
    r.endAngle = 0;
    SetStyle(r, s, layer);
}

// ---- strings -----------------------------------------------------------------------------------

void TextString(const MTextShape& s, MJWCStringArray& strings, int layer, double scale, double paperScale,
                MJWCStringList& texts, const double heights[11]) {
    const double a = s.GetEffectiveAngle();
    const MFloatPoint start = (s.GetRotatedOrigin() + MFloatPoint(0, s.GetBoxHeight()).GetRotated(a)) * scale;
    const MFloatPoint end = start + MFloatPoint(s.GetBoxWidth(), 0).GetRotated(a) * scale;
    WORD offset = 0;
    // A full string block cannot address another text: leave it out rather than wrap the offset.
    if (!texts.Add(s.GetString(), offset)) return;
    MJWCString& r = strings.AddNew();
    r.x1 = ToJWCFloat(start.x);
    r.y1 = ToJWCFloat(start.y);
    r.x2 = ToJWCFloat(end.x);
    r.y2 = ToJWCFloat(end.y);
    r.offset = offset;
    r.sizeKind = static_cast<BYTE>(FindJWCTextKind(s.GetTextSize() * paperScale, heights));
    r.layer = LayerByte(layer);
    r.flags = s.IsVertical() ? MJWCString::kVertical : 0;
}

// One string per line, each a one-line text standing where the line is drawn.
void MultiTextStrings(const MMultiTextShape& s, MJWCStringArray& strings, int layer, double scale,
                      double paperScale, MJWCStringList& texts, const double heights[11]) {
    int alignment = 0;
    for (const MMultiTextShape::ExportLine& l : s.GetExportLines(paperScale, &alignment))
        TextString(*s.MakeLineText(l.text, alignment, l.anchor), strings, layer, scale, paperScale, texts,
                   heights);
}

template <class T>
const T* As(const MCadShape& shape) {
    return dynamic_cast<const T*>(&shape);
}

// The members of a group, made first for the paper scale when the group generates them (a shape
// read but never drawn); null for other kinds.
const MGroupShape* Members(const MCadShape& shape, double paperScale) {
    switch (shape.GetTypeId()) {
        case kShapeSize:
        case kShapeRadius:
        case kShapeDiameter:
        case kShapeAngle:
        case kShapeLabel:
        case kShapeBalloon:
            if (auto* s = As<MGeneratedGroupShape>(shape)) s->EnsureMembersForExport(paperScale);
            [[fallthrough]];
        case kShapeGroup:
            return As<MGroupShape>(shape);
        default:
            return nullptr;
    }
}

template <class Fn>
bool ForEachMember(const MCadShape& shape, double paperScale, Fn fn) {
    const MGroupShape* group = Members(shape, paperScale);
    if (!group) return false;
    for (int i = 0; i < group->GetShapeCount(); ++i)
        if (const MCadShape* member = group->GetShapeAt(i)) fn(*member);
    return true;
}

void Lines(const MCadShape& shape, MJWCLineArray& lines, int layer, double scale, double paperScale) {
    if (ForEachMember(shape, paperScale,
                      [&](const MCadShape& m) { ExportShapeJwcLines(m, lines, layer, scale, paperScale); }))
        return;
    switch (shape.GetTypeId()) {
        case kShapeLine:
            if (auto* s = As<MLineShape>(shape)) LineLines(*s, lines, layer, scale, paperScale);
            break;
        case kShapePolygon:
        case kShapeRect:
        case kShapeSpline:
        case kShapeSplineLoop:
            if (auto* s = As<MPolygonShape>(shape)) PolygonLines(*s, lines, layer, scale, paperScale);
            break;
        case kShapeArc:
            if (auto* s = As<MCircleArcShape>(shape)) ArcLines(*s, lines, layer, scale, paperScale);
            break;
        case kShapeFan:
            if (auto* s = As<MCircleFanShape>(shape)) FanLines(*s, lines, layer, scale);
            break;
        case kShapeText:
        case kShapeMultiText:
            if (auto* s = As<MTextShapeBase>(shape)) TextFrameLines(*s, lines, layer, scale);
            break;
        default:  // circles and ellipses are arc records
            break;
    }
}

void Arcs(const MCadShape& shape, MJWCArcArray& arcs, int layer, double scale, double paperScale) {
    if (ForEachMember(shape, paperScale,
                      [&](const MCadShape& m) { ExportShapeJwcArcs(m, arcs, layer, scale, paperScale); }))
        return;
    switch (shape.GetTypeId()) {
        case kShapeLine:
            if (auto* s = As<MLineShape>(shape)) LineArcs(*s, arcs, layer, scale, paperScale);
            break;
        case kShapePolygon:
        case kShapeRect:
        case kShapeSpline:
        case kShapeSplineLoop:
            if (auto* s = As<MPolygonShape>(shape)) PolygonArcs(*s, arcs, layer, scale, paperScale);
            break;
        case kShapeCircle:
            if (auto* s = As<MCircleShape>(shape)) CircleArcs(*s, arcs, layer, scale);
            break;
        case kShapeArc:
        case kShapeFan:
            if (auto* s = As<MCircleArcShape>(shape)) ArcArcs(*s, arcs, layer, scale, paperScale);
            break;
        case kShapeEllipse:
            if (auto* s = As<MEllipseShape>(shape)) EllipseArcs(*s, arcs, layer, scale);
            break;
        default:
            break;
    }
}

void Strings(const MCadShape& shape, MJWCStringArray& strings, int layer, double scale, double paperScale,
             MJWCStringList& texts, const double heights[11]) {
    if (ForEachMember(shape, paperScale, [&](const MCadShape& m) {
            ExportShapeJwcStrings(m, strings, layer, scale, paperScale, texts, heights);
        }))
        return;
    switch (shape.GetTypeId()) {
        case kShapeText:
            if (auto* s = As<MTextShape>(shape))
                TextString(*s, strings, layer, scale, paperScale, texts, heights);
            break;
        case kShapeMultiText:
            if (auto* s = As<MMultiTextShape>(shape))
                MultiTextStrings(*s, strings, layer, scale, paperScale, texts, heights);
            break;
        default:
            break;
    }
}

void Points(const MCadShape& shape, MJWCVPointArray& points, int layer, double scale, double paperScale) {
    if (ForEachMember(shape, paperScale,
                      [&](const MCadShape& m) { ExportShapeJwcPoints(m, points, layer, scale, paperScale); }))
        return;
    if (shape.GetTypeId() != kShapeMark) return;
    if (auto* s = As<MMarkShape>(shape)) {
        MJWCVPoint& r = points.AddNew();
        r.x = ToJWCFloat(s->m_position.x * scale);
        r.y = ToJWCFloat(s->m_position.y * scale);
        r.layer = LayerByte(layer);
    }
}

}  // namespace
}  // namespace jwcexport

void ExportShapeJwcLines(const MCadShape& shape, MJWCLineArray& lines, int layer, double scale,
                         double paperScale) {
    jwcexport::Lines(shape, lines, layer, scale, paperScale);
}

void ExportShapeJwcArcs(const MCadShape& shape, MJWCArcArray& arcs, int layer, double scale,
                        double paperScale) {
    jwcexport::Arcs(shape, arcs, layer, scale, paperScale);
}

void ExportShapeJwcStrings(const MCadShape& shape, MJWCStringArray& strings, int layer, double scale,
                           double paperScale, MJWCStringList& texts, const double heights[11]) {
    jwcexport::Strings(shape, strings, layer, scale, paperScale, texts, heights);
}

void ExportShapeJwcPoints(const MCadShape& shape, MJWCVPointArray& points, int layer, double scale,
                          double paperScale) {
    jwcexport::Points(shape, points, layer, scale, paperScale);
}
