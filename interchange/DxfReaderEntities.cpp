// The reader's entity half: turns the entities of ENTITIES and BLOCKS into shapes and resolves
// their colours and line types. Block definitions and placements are in DxfReaderBlocks.cpp.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfBlockCopy.h"
#include "interchange/DxfColor.h"
#include "interchange/DxfReader.h"
#include "interchange/DxfReaderKeywords.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "model/shapes/text/TextShapeBase.h"
#include "platform/Cp932.h"

namespace {

// Section states of the front end that matter here.
constexpr int kSectionEntities = 2;
constexpr int kSectionBlocks = 6;

// POLYLINE and VERTEX flags.
constexpr int kPolylineClosed = 1;
constexpr int kPolylineCurveFit = 2;
constexpr int kPolylineSplineFit = 4;
constexpr int kPolyline3D = 8 | 16 | 64;  // 3D polyline, polygon mesh, polyface mesh
constexpr int kVertexSplineFit = 8;
constexpr int kVertexPolyfaceMesh = 64;
constexpr int kVertexFaceRecord = 128;

int EntityKind(std::string_view name) {
    if (name.empty()) return 0;
    switch (name[0]) {
        case 'A':
            if (name == "ARC") return kDxfArc;
            if (name == "ATTRIB") return kDxfAttrib;
            break;
        case 'C':
            if (name == "CIRCLE") return kDxfCircle;
            break;
        case 'D':
            if (name == "DIMENSION") return kDxfDimension;
            break;
        case 'I':
            if (name == "INSERT") return kDxfInsert;
            break;
        case 'L':
            if (name == "LINE") return kDxfLine;
            if (name == "LWPOLYLINE") return kDxfLwPolyline;
            if (name == "LEADER") return kDxfLeader;
            break;
        case 'M':
            if (name == "MTEXT") return kDxfMText;
            break;
        case 'P':
            if (name == "POLYLINE") return kDxfPolyline;
            break;
        case 'S':
            if (name == "SEQEND") return kDxfSeqEnd;
            if (name == "SOLID") return kDxfSolid;
            break;
        case 'T':
            if (name == "TEXT") return kDxfText;
            break;
        case 'V':
            if (name == "VERTEX") return kDxfVertex;
            break;
        default:
            break;
    }
    return 0;
}

// MTEXT attachment point (71) to the alignment word.
int AttachmentAlignment(int attachment) {
    static const int kAlignments[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    return attachment >= 1 && attachment <= 9 ? kAlignments[attachment - 1] : 0;
}

// TEXT vertical justification (73: 0 baseline, 1 bottom, 2 middle, 3 top) as alignment bits.
int TextVerticalAlignment(int justify) {
    switch (justify) {
        case 2:
            return kAlignMiddle;
        case 3:
            return 0;
        default:
            return kAlignBottom;
    }
}

// Extrusion directions this close to the z axis (relative) count as on it.
constexpr double kPlaneTolerance = 1e-9;
// The list of kinds not imported is cut after this many names.
constexpr std::size_t kMaxSkippedKinds = 24;

// Where a point of an entity's own coordinate system lies in the drawing, seen from above: the
// arbitrary-axis rule of DXF builds the system's x and y axes from its extrusion direction.
MFloatPoint PlanOfOcsPoint(const MFloatPoint& p, const double normal[3], double elevation) {
    const auto unit = [](double v[3]) {
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        for (int i = 0; i < 3; ++i)
            v[i] /= length;
    };
    const auto cross = [](const double a[3], const double b[3], double out[3]) {
        out[0] = a[1] * b[2] - a[2] * b[1];
        out[1] = a[2] * b[0] - a[0] * b[2];
        out[2] = a[0] * b[1] - a[1] * b[0];
    };
    double n[3] = {normal[0], normal[1], normal[2]};
    unit(n);
    static const double kWorldY[3] = {0.0, 1.0, 0.0};
    static const double kWorldZ[3] = {0.0, 0.0, 1.0};
    constexpr double kNearZ = 1.0 / 64.0;
    double ax[3], ay[3];
    cross(std::fabs(n[0]) < kNearZ && std::fabs(n[1]) < kNearZ ? kWorldY : kWorldZ, n, ax);
    unit(ax);
    cross(n, ax, ay);
    unit(ay);
    return MFloatPoint(p.x * ax[0] + p.y * ay[0] + elevation * n[0],
                       p.x * ax[1] + p.y * ay[1] + elevation * n[1]);
}

constexpr int kArcSteps = MCircleArcShape::kArcPoints - 1;

// The arc from a to b whose bulge is the tangent of a quarter of its turn (positive
// counter-clockwise). None when the chord has no length, or when the circle is so large against
// the chord (a bulge near zero or near infinity) that the chord's ends cannot be told apart on it:
// the segment is then drawn straight, as for a bulge that is no number.
struct BulgeArc {
    MFloatPoint centre;
    double radius, start, sweep;
};

std::optional<BulgeArc> ArcOfBulge(const MFloatPoint& a, const MFloatPoint& b, double bulge) {
    const MFloatPoint chord = b - a;
    const double c = chord.GetLength();
    if (!(c > 0.0) || !std::isfinite(c) || bulge == 0.0 || !std::isfinite(bulge)) return std::nullopt;
    // The centre's distance from the chord, c (1 - bulge^2) / (4 bulge), without the square that
    // overflows.
    const double offset = c / 4 * (1 / bulge - bulge);
    const MFloatPoint left(-chord.y / c, chord.x / c);
    BulgeArc arc;
    arc.centre = (a + b) / 2 + left * offset;
    arc.radius = c / 4 * std::fabs(1 / bulge + bulge);
    arc.sweep = 4.0 * std::atan(bulge);
    if (!std::isfinite(std::fabs(arc.centre.x) + std::fabs(arc.centre.y) + arc.radius) ||
        !(arc.radius * std::numeric_limits<double>::epsilon() <= c))
        return std::nullopt;
    arc.start = std::atan2(a.y - arc.centre.y, a.x - arc.centre.x);
    return arc;
}

// The steps of an arc: those of a circle for the same turn (a small arc takes few), at least two.
int StepsOf(const BulgeArc& arc) {
    const double steps = std::ceil(std::fabs(arc.sweep) / MCircleShape::kOutlineStep * (1 - 1e-9));
    return std::clamp(static_cast<int>(std::min(steps, double{kArcSteps})), 2, kArcSteps);
}

// The points of the arc in so many steps, its ends left out.
template <class Add>
void AddArcPoints(Add& add, const BulgeArc& arc, int steps) {
    for (int k = 1; k < steps; ++k) {
        const double angle = arc.start + arc.sweep * k / steps;
        add(arc.centre + MFloatPoint(std::cos(angle), std::sin(angle)) * arc.radius);
    }
}

}  // namespace

// The points are counted first, so that the shape holds no spare room.
template <class PointAt, class BulgeAt>
std::unique_ptr<MPolygonShape> MDXFReader::BulgedPolygon(std::size_t n, PointAt point, BulgeAt bulge,
                                                         bool closed) {
    const auto arcs = [&](auto&& visit) {
        for (std::size_t i = 0; i < n; ++i) {
            const bool last = i + 1 == n;
            if (last && !closed) break;
            if (const std::optional<BulgeArc> arc = ArcOfBulge(point(i), point(last ? 0 : i + 1), bulge(i)))
                visit(i, *arc);
        }
    };
    // Past the limit an arc takes the points left, and then none: its segment is drawn straight.
    std::vector<std::uint8_t> steps;
    std::size_t count = n;
    arcs([&](std::size_t, const BulgeArc& arc) {
        const std::size_t wanted = static_cast<std::size_t>(StepsOf(arc)) - 1;
        const std::size_t added = std::min(wanted, m_arcPointLimit - std::min(m_arcPointLimit, m_arcPoints));
        if (added < wanted) ++m_arcsCut;
        m_arcPoints += added;
        count += added;
        steps.push_back(static_cast<std::uint8_t>(added + 1));
    });
    auto polygon = std::make_unique<MPolygonShape>(static_cast<int>(count), closed ? TRUE : FALSE);
    int next = 0;
    const auto add = [&](const MFloatPoint& p) { polygon->SetPoint(next++, p); };
    std::size_t done = 0;  // points taken
    std::size_t arc = 0;
    arcs([&](std::size_t i, const BulgeArc& bulgeArc) {
        for (; done <= i; ++done)
            add(point(done));
        AddArcPoints(add, bulgeArc, steps[arc++]);
    });
    for (; done < n; ++done)
        add(point(done));
    return polygon;
}

bool IsPlainFillOf(const MFillStyle& fill, COLORREF color) {
    return !fill.IsNone() && fill.GetKind() == kFillPlain && fill.GetColorCount() == 1 &&
           fill.GetColor(0) == color;
}

std::string MDXFReader::DecodeText(std::string_view raw) const {
    return m_encoding.Decode(raw);
}

void MDXFReader::CutLongText(std::string& text) {
    if (CutToStoredText(text)) m_textsCut = true;
}

void MDXFReader::PlaceText(MTextShape* text, const MFloatPoint& point) {
    // The box is measured by the view's recalculation of every shape before it shows the drawing;
    // measuring here as well would double the cost of texts, the largest part of a reading.
    if (m_measureTexts)
        text->MoveTo(nullptr, point);
    else
        text->SetPoint(point);
}

void MDXFReader::HandleEntities(int code, std::string_view value) {
    int layer = -1;
    std::unique_ptr<MCadShape> shape = ConvertEntity(code, value, &layer);
    if (!shape) return;
    const bool placeholder = shape.get() == m_builtPlaceholder;
    const int index = m_doc.AppendShape(shape.release(), layer);
    if (placeholder) RecordLayerMark(layer, index);
}

std::unique_ptr<MCadShape> MDXFReader::ConvertEntity(int code, std::string_view value, int* layer) {
    if (code != 0) {
        // The groups of an MTEXT's embedded object (after 101) would overwrite the text's own.
        if (code == 101) m_store.embedded = true;
        if (!m_store.embedded) StoreGroup(code, value);
        return nullptr;
    }
    m_builtPlaceholder = nullptr;
    std::unique_ptr<MCadShape> shape = ConvertWithPlane(BuildEntity(m_entityKind), m_entityKind);
    if (shape && shape.get() != m_builtPlaceholder && !HasNumbersInRange(*shape)) {
        // What the program's own file could not give back, or the view could not fit, stays out.
        CountSkipped(m_entityKind == kDxfSeqEnd ? "POLYLINE" : m_entityName);
        shape.reset();
    }

    m_list10.clear();
    m_list20.clear();
    m_bulges.clear();
    for (MFloatPoint& p : m_store.points)
        p = MFloatPoint();
    m_store.hasPoint1 = m_store.hasPoint3 = false;
    m_store.chunks.clear();  // the chunks of one MTEXT, also while a POLYLINE keeps the rest

    // A placement's attributes are its record's; its group is filled once every block is read.
    const bool placeholder = shape && shape.get() == m_builtPlaceholder;
    if (shape) {
        *layer = LayerIndex(m_store.layer);
        if (!placeholder) ApplyStyle(shape.get(), m_sectionState == kSectionEntities);
    }
    if (!m_polyline) ResetGroupStore(true);
    const std::string_view name = DxfKeyword(value);
    m_entityKind = EntityKind(name);
    m_entityName.assign(name);
    if (m_entityKind == 0) CountSkipped(name);
    if (m_entityKind == kDxfVertex) {
        m_store.vertexFlags = 0;
        m_store.bulge = 0.0;
    }
    if (shape && !placeholder && !shape->IsValid()) shape.reset();
    return shape;
}

bool MDXFReader::HasNumbersInRange(const MCadShape& shape) {
    // A text's box is measured later from its height, which the reach holds far enough below the
    // largest number for the longest text.
    return shape.HasFiniteValues() && ReachOf(shape, MFloatPoint()) <= kMaxReach;
}

MDXFReader::Plane MDXFReader::PlaneOf(const double e[3]) {
    const double length = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
    if (!(length > 0.0) || !std::isfinite(length)) return Plane::kDrawing;
    if (std::fabs(e[0]) > kPlaneTolerance * length || std::fabs(e[1]) > kPlaneTolerance * length)
        return Plane::kTilted;
    return e[2] > 0.0 ? Plane::kDrawing : Plane::kMirrored;
}

MDXFReader::Plane MDXFReader::EntityPlane() const {
    return PlaneOf(m_store.extrusion);
}

std::unique_ptr<MCadShape> MDXFReader::ConvertWithPlane(std::unique_ptr<MCadShape> shape, int kind) {
    if (!shape || shape.get() == m_builtPlaceholder) return shape;
    Ocs ocs;
    switch (kind) {
        case kDxfCircle:
        case kDxfArc:
        case kDxfText:
        case kDxfAttrib:
        case kDxfSolid:
        case kDxfLwPolyline:
            std::copy(m_store.extrusion, m_store.extrusion + 3, ocs.normal);
            ocs.elevation = m_store.elevation;
            break;
        case kDxfSeqEnd:
            ocs = m_polylineOcs;
            break;
        default:
            return shape;
    }
    const Plane plane = PlaneOf(ocs.normal);
    if (plane == Plane::kDrawing) return shape;
    if (plane == Plane::kMirrored) {
        MirrorAboutYAxis(shape.get());
        return shape;
    }
    // Out of the drawing's plane: a polygon's points are taken as seen from above; circles, arcs
    // and texts would be other shapes there, so they are told instead.
    auto* polygon = dynamic_cast<MPolygonShape*>(shape.get());
    const bool outline = kind == kDxfLwPolyline || kind == kDxfSolid || kind == kDxfSeqEnd;
    if (outline && polygon && !dynamic_cast<MSplineShapeBase*>(polygon)) {
        const MFloatPointArray& points = polygon->GetPoints();
        for (int i = 0; i < points.GetSize(); ++i)
            polygon->SetPoint(i, PlanOfOcsPoint(points[i], ocs.normal, ocs.elevation));
        return shape;
    }
    CountSkipped((kind == kDxfSeqEnd ? std::string("POLYLINE") : m_entityName) + " (3D)");
    return nullptr;
}

void MDXFReader::CountSkipped(std::string_view kind) {
    // Structure, and what is no drawing (views, attribute templates of blocks).
    static constexpr std::string_view kNotDrawn[] = {"",    "ENDBLK",   "BLOCK",  "ENDSEC",
                                                     "EOF", "VIEWPORT", "ATTDEF", "SECTION"};
    for (std::string_view name : kNotDrawn)
        if (kind == name) return;
    KindCounts* counts = &m_skipped;
    if (m_sectionState == kSectionBlocks) {
        // Between blocks nothing belongs to the drawing.
        if (m_openBlocks.empty()) return;
        counts = &m_blockSkipped[m_openBlocks.back()];
    }
    // Names of damaged files stay short and printable.
    std::string name;
    for (char c : kind.substr(0, 40))
        name += c >= ' ' && c < 0x7F ? c : '?';
    AddKind(*counts, name, 1);
}

void MDXFReader::AddKind(KindCounts& counts, const std::string& kind, std::uint64_t n) {
    // The list stays short; counts multiplied by placements stop at the largest int.
    const std::string& name = counts.size() >= kMaxSkippedKinds && counts.count(kind) == 0 ? "..." : kind;
    int& count = counts[name];
    const std::uint64_t sum = static_cast<std::uint64_t>(count) + n;
    count = static_cast<int>(std::min<std::uint64_t>(sum, INT_MAX));
}

void MDXFReader::AddBlockLosses(const MGroupShape* owner, const MGroupShape& block, std::uint64_t copies) {
    const auto lost = m_blockSkipped.find(&block);
    if (lost == m_blockSkipped.end() || copies == 0) return;
    KindCounts& counts = owner ? m_blockSkipped[owner] : m_skipped;
    for (const auto& [kind, n] : lost->second)
        AddKind(counts, kind, std::min<std::uint64_t>(static_cast<std::uint64_t>(n) * copies, INT_MAX));
}

std::unique_ptr<MCadShape> MDXFReader::BuildEntity(int kind) {
    const GroupStore& s = m_store;
    switch (kind) {
        case kDxfLine:
            return std::make_unique<MLineShape>(s.points[0], s.points[1]);
        case kDxfCircle: {
            auto circle = std::make_unique<MCircleShape>();
            circle->SetCircle(s.points[0].x, s.points[0].y, s.d40);
            return circle;
        }
        case kDxfArc: {
            auto arc = std::make_unique<MCircleArcShape>();
            arc->SetArc(s.points[0].x, s.points[0].y, s.d40, s.a50, s.a51);
            return arc;
        }
        case kDxfText:
        case kDxfAttrib:
            return BuildText();
        case kDxfPolyline:
            OpenPolyline();
            return nullptr;
        case kDxfVertex:
            if (m_polyline) m_vertices.push_back({s.points[0], s.vertexFlags, s.bulge});
            return nullptr;
        case kDxfSeqEnd:
            return ClosePolyline();
        case kDxfSolid:
            return BuildSolid();
        case kDxfInsert:
            return PlaceBlock(true);
        case kDxfDimension:
            return PlaceBlock(false);
        case kDxfMText:
            return BuildMText();
        case kDxfLwPolyline:
            return BuildPointList((s.i70 & 1) != 0);
        case kDxfLeader:
            return BuildPointList(false);
        default:
            return nullptr;
    }
}

void MDXFReader::SetupText(MCadShape* shape) {
    const auto style = m_styleFlags.find(DxfUpper(m_store.style));
    const int flags = style == m_styleFlags.end() ? 0 : style->second;
    shape->SetTextFlag(kTextVertical, (flags & 4) ? TRUE : FALSE);
    shape->ChangeTextStyle(MTextStyleChange::Font(MTextFontName(m_fontName)));
}

std::unique_ptr<MCadShape> MDXFReader::BuildText() {
    const GroupStore& s = m_store;
    auto text = std::make_unique<MTextShape>();
    // A text has one line: a line feed of its caret codes reads as a blank.
    std::string string = DecodeDxfPercentCodes(DecodeDxfCarets(DecodeText(s.text)));
    std::replace(string.begin(), string.end(), '\n', ' ');
    CutLongText(string);
    text->SetString(string);
    SetupText(text.get());
    int alignment = kAlignBottom;
    MFloatPoint point = s.points[0];
    // A justified text stands at its alignment point (11/21); group 10 then only repeats where the
    // writing program last laid it out, and some programs leave it at the alignment point too.
    if (s.hasPoint1 && (s.i72 != 0 || s.i73 != 0)) {
        if (text->HasTextFlag(kTextVertical)) {
            // Vertical writing justifies along the column: 72 is then 0 top, 1 middle, 2 bottom.
            alignment = kAlignCentre | (s.i72 == 1 ? kAlignMiddle : s.i72 == 2 ? kAlignBottom : 0);
            point = s.points[1];
        } else if (s.i72 == 0 || s.i72 == 1 || s.i72 == 2 || s.i72 == 4) {
            alignment = s.i72 == 4 ? kAlignCentre | kAlignMiddle : s.i72 | TextVerticalAlignment(s.i73);
            point = s.points[1];
        }
    }
    text->SetAlignment(alignment);
    text->SetTextSize(s.d40);
    text->SetAngle(s.a50);
    PlaceText(text.get(), point);
    return text;
}

std::unique_ptr<MCadShape> MDXFReader::BuildMText() {
    const GroupStore& s = m_store;
    // Long texts come in group-3 chunks before the last chunk in group 1; a character may be split
    // between chunks, so the bytes are joined before they are decoded.
    MDXFTextDecoder decoder;
    std::string text = decoder.Decode(DecodeDxfCarets(DecodeText(s.chunks + s.text)));
    CutLongText(text);
    if (text.empty()) return nullptr;
    int lines = 1;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '\n') ++lines;

    const int alignment = AttachmentAlignment(s.i71);
    const MFloatPoint direction = s.points[1];
    const double angle = direction.x != 0.0 || direction.y != 0.0 ? direction.GetAngle() : s.a50;
    if (lines == 1) {
        auto single = std::make_unique<MTextShape>();
        single->SetString(text);
        SetupText(single.get());
        single->SetAlignment(alignment);
        single->SetTextSize(s.d40);
        single->SetAngle(angle);
        PlaceText(single.get(), s.points[0]);
        return single;
    }
    auto multi = std::make_unique<MMultiTextShape>();
    multi->SetString(text);
    SetupText(multi.get());
    multi->SetAlignment(alignment);
    multi->SetLayoutFlags(alignment & 0xF);
    multi->SetTextSize(s.d40);
    multi->SetAngle(angle);
    double width = s.d41;
    if (!s.has41 || !(width > 0.0)) {
        // No reference width: the box takes the width of the longest line, measured or, without
        // the fonts, estimated from half-width cells of the text height.
        if (m_measureTexts) {
            multi->MeasureText(nullptr);
            width = multi->GetBoxWidth();
        } else {
            std::size_t cells = 0;
            for (const std::string& line : MMultiTextShape::SplitLines(text))
                cells = std::max(cells, Cp932Length(line));
            width = static_cast<double>(cells) * s.d40 / 2;
        }
    }
    const double height = -lines * s.d40;
    if (!std::isfinite(width) || !std::isfinite(height)) {
        // A box beyond the range of numbers: the program's own file could not give it back.
        CountSkipped(m_entityName);
        return nullptr;
    }
    multi->SetBoxSize(width, height);
    multi->SetPoint(s.points[0]);
    return multi;
}

std::unique_ptr<MCadShape> MDXFReader::BuildPointList(bool closed) {
    const std::size_t count = std::min(m_list10.size(), m_list20.size());
    if (count < 2) return nullptr;
    const bool bulged = m_entityKind == kDxfLwPolyline;
    return BulgedPolygon(
        count, [&](std::size_t i) { return MFloatPoint(m_list10[i], m_list20[i]); },
        [&](std::size_t i) { return bulged && i < m_bulges.size() ? m_bulges[i] : 0.0; }, closed);
}

std::unique_ptr<MCadShape> MDXFReader::BuildSolid() {
    const GroupStore& s = m_store;
    // A solid of three corners may leave out the fourth, which then is the third.
    const MFloatPoint p3 = s.hasPoint3 ? s.points[3] : s.points[2];
    const bool four = s.points[2] != p3;
    auto polygon = std::make_unique<MPolygonShape>(four ? 4 : 3, TRUE);
    polygon->SetPoint(0, s.points[0]);
    polygon->SetPoint(1, s.points[1]);
    polygon->SetPoint(2, p3);
    if (four) polygon->SetPoint(3, s.points[2]);
    polygon->SetFillStyle(MFillStyle(EntityColor()));
    return polygon;
}

void MDXFReader::OpenPolyline() {
    m_polyline.reset();
    m_vertices.clear();
    m_polylineFlags = m_store.i70;
    // 3D polylines and meshes are in the drawing's coordinates; a 2D polyline is in its own.
    m_polylineOcs = Ocs();
    if (!(m_store.i70 & kPolyline3D)) {
        std::copy(m_store.extrusion, m_store.extrusion + 3, m_polylineOcs.normal);
        m_polylineOcs.elevation = m_store.elevation;
    }
    const int flags = m_polylineFlags;
    if (flags > 1 && (flags & (kPolylineCurveFit | kPolylineSplineFit))) {
        if (flags & kPolylineClosed)
            m_polyline = std::make_unique<MSplineLoopShape>();
        else
            m_polyline = std::make_unique<MSplineShape>();
    } else {
        m_polyline = std::make_unique<MPolygonShape>((flags & kPolylineClosed) ? TRUE : FALSE);
    }
}

std::unique_ptr<MCadShape> MDXFReader::ClosePolyline() {
    std::unique_ptr<MPolygonShape> shape = std::move(m_polyline);
    std::vector<Vertex> vertices;
    vertices.swap(m_vertices);
    if (!shape) return nullptr;

    // Face records of a polyface mesh carry vertex numbers, not positions.
    std::erase_if(vertices, [](const Vertex& v) {
        return (v.flags & kVertexFaceRecord) && !(v.flags & kVertexPolyfaceMesh);
    });
    auto* spline = dynamic_cast<MSplineShapeBase*>(shape.get());
    if (spline && (m_polylineFlags & kPolylineSplineFit)) {
        // A spline-fit polyline lists the frame's control points and the points of the fitted curve;
        // the spline shape passes through its points, so the curve's points are the ones to take.
        const bool hasFit = std::any_of(vertices.begin(), vertices.end(),
                                        [](const Vertex& v) { return (v.flags & kVertexSplineFit) != 0; });
        if (hasFit)
            std::erase_if(vertices, [](const Vertex& v) { return (v.flags & kVertexSplineFit) == 0; });
    }
    if (vertices.size() < 2) return nullptr;

    if (spline) {
        MFloatPointArray points;
        points.SetSize(static_cast<int>(vertices.size()));
        for (std::size_t i = 0; i < vertices.size(); ++i)
            points[static_cast<int>(i)] = vertices[i].point;
        spline->SetControlPoints(points);
        return shape;
    }
    // The polygon OpenPolyline made, built again at its final size.
    return BulgedPolygon(
        vertices.size(), [&](std::size_t i) { return vertices[i].point; },
        [&](std::size_t i) { return vertices[i].bulge; }, (m_polylineFlags & kPolylineClosed) != 0);
}

const MDXFReader::LayerTables& MDXFReader::TablesOfLayer(const CString& layer) const {
    if (m_lastLayerTables && m_lastLayerTables->first == layer) return m_lastLayerTables->second;
    const auto [entry, added] = m_layerTables.try_emplace(layer);
    if (added) {
        LayerTables& tables = entry->second;
        const auto color = m_layerColors.find(layer);
        tables.color = color == m_layerColors.end() ? 256 : color->second;
        const auto lineType = m_layerLineTypes.find(layer);
        const auto style =
            m_lineTypes.find(lineType == m_layerLineTypes.end() ? std::string() : DxfUpper(lineType->second));
        tables.lineStyle = style == m_lineTypes.end() ? 0 : style->second;
    }
    m_lastLayerTables = &*entry;
    return entry->second;
}

void MDXFReader::ForgetLayerTables() {
    m_layerTables.clear();
    m_lastLayerTables = nullptr;
}

COLORREF MDXFReader::EntityColor() const {
    if (m_sectionState == kSectionBlocks && m_store.layer == "0") return kByBlockColor;
    int number = m_store.color;
    if (number == 256) {
        number = TablesOfLayer(m_store.layer).color;
        if (number == 256) return 0;
    }
    return ColorOfNumber(number);
}

int MDXFReader::EntityLineStyle() const {
    if (m_sectionState == kSectionBlocks && m_store.layer == "0") return kByBlockLineStyle;
    const std::string name = DxfUpper(m_store.lineType);
    if (name.empty() || name == "BYLAYER") return TablesOfLayer(m_store.layer).lineStyle;
    const auto it = m_lineTypes.find(name);
    return it == m_lineTypes.end() ? 0 : it->second;
}

void MDXFReader::ApplyStyle(MCadShape* shape, bool inEntities) {
    const COLORREF color = EntityColor();
    const int lineStyle = EntityLineStyle();
    if (dynamic_cast<MGroupShape*>(shape)) {
        // Block members keep their own attributes; only those "by block" take the placement's. Inside
        // a block definition a placement that is itself "by block" passes that on to its own
        // placement.
        ResolveByBlock(shape, color, lineStyle, !inEntities);
    } else {
        const bool byBlockStyle = lineStyle == kByBlockLineStyle;
        shape->SetLineStyle(byBlockStyle ? (inEntities ? 0 : kByBlockStyleMark) : lineStyle);
        const COLORREF c = inEntities && color == kByBlockColor ? 0 : color;
        shape->SetColor(c);
        shape->ChangeTextStyle(MTextStyleChange::Color(c));
        if (IsPlainFillOf(shape->GetFillStyle(), kByBlockColor)) shape->SetFillStyle(MFillStyle(c));
    }
    shape->SetLineWidth(0.0);
}
