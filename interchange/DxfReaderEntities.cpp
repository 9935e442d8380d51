// The reader's entity half: turns the entities of ENTITIES and BLOCKS into shapes, keeps block
// definitions and places copies of them, and resolves colours and line types.
#include <algorithm>
#include <cmath>

#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfReader.h"
#include "interchange/DxfReaderKeywords.h"
#include "model/exchange/DxfColor.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/text/TextShape.h"
#include "model/shapes/text/TextShapeBase.h"
#include "platform/Cp932.h"

namespace {

// Section states of the front end that matter here.
constexpr int kSectionEntities = 2;
constexpr int kSectionBlocks = 6;

// Block states.
enum : int { kBlockHeader = 1, kBlockOutside = 2, kBlockValues = 3, kBlockEntities = 4 };

// POLYLINE and VERTEX flags.
constexpr int kPolylineClosed = 1;
constexpr int kPolylineCurveFit = 2;
constexpr int kPolylineSplineFit = 4;
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

bool IsPlainFillOf(const MFillStyle& fill, COLORREF color) {
    return !fill.IsNone() && fill.GetKind() == kFillPlain && fill.GetColorCount() == 1 &&
           fill.GetColor(0) == color;
}

}  // namespace

std::string MDXFReader::DecodeText(std::string_view raw) const {
    return m_encoding.Decode(raw);
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
    if (shape) m_doc.AppendShape(shape.release(), layer);
}

void MDXFReader::HandleBlocks(int code, std::string_view value) {
    const std::string_view keyword = code == 0 ? DxfKeyword(value) : std::string_view();
    switch (m_blockState) {
        case kBlockOutside:
            if (code == 0 && keyword == "BLOCK") m_blockState = kBlockHeader;
            return;
        case kBlockHeader:
            if (code == 2) {
                const std::string name = DecodeDxfPercentCodes(m_encoding.Decode(value));
                // A block of the same name replaces the earlier one, which no open block may keep.
                if (MGroupShape* old = m_blocks.Find(name)) std::erase(m_openBlocks, old);
                m_openBlocks.push_back(m_blocks.Replace(name, std::make_unique<MGroupShape>()));
                m_blockState = kBlockValues;
            }
            break;
        case kBlockValues:
            if (code != 0) {
                StoreGroup(code, value);
                break;
            }
            m_blockState = kBlockEntities;
            if (!m_openBlocks.empty()) m_openBlocks.back()->SetBasePoint(m_store.points[0]);
            [[fallthrough]];
        case kBlockEntities: {
            int layer = -1;
            std::unique_ptr<MCadShape> shape = ConvertEntity(code, value, &layer);
            if (shape && !m_openBlocks.empty()) {
                MGroupShape* group = m_openBlocks.back();
                m_blocks.AddWeight(group, WeightOf(shape.get()));
                group->AddShape(shape.release());
            }
            break;
        }
        default:
            break;
    }
    if (code == 0 && keyword == "ENDBLK") {
        if (!m_openBlocks.empty()) m_openBlocks.pop_back();
        m_blockState = kBlockOutside;
    }
}

std::unique_ptr<MCadShape> MDXFReader::ConvertEntity(int code, std::string_view value, int* layer) {
    if (code != 0) {
        StoreGroup(code, value);
        return nullptr;
    }
    std::unique_ptr<MCadShape> shape = BuildEntity(m_entityKind);

    m_list10.clear();
    m_list20.clear();
    for (MFloatPoint& p : m_store.points)
        p = MFloatPoint();
    m_store.hasPoint1 = m_store.hasPoint3 = false;
    m_store.chunks.clear();  // the chunks of one MTEXT, also while a POLYLINE keeps the rest

    if (shape) {
        *layer = LayerIndex(m_store.layer);
        ApplyStyle(shape.get(), m_sectionState == kSectionEntities);
    }
    if (!m_polyline) ResetGroupStore(true);
    m_entityKind = EntityKind(DxfKeyword(value));
    if (m_entityKind == kDxfVertex) m_store.vertexFlags = 0;
    if (shape && !shape->IsValid()) shape.reset();
    return shape;
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
            if (m_polyline) m_vertices.push_back({s.points[0], s.vertexFlags});
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
    shape->SetTextFlag80((flags & 4) ? TRUE : FALSE);
    shape->SetFontName(m_fontName);
}

std::unique_ptr<MCadShape> MDXFReader::BuildText() {
    const GroupStore& s = m_store;
    auto text = std::make_unique<MTextShape>();
    text->SetString(DecodeDxfPercentCodes(DecodeText(s.text)));
    SetupText(text.get());
    int alignment = kAlignBottom;
    MFloatPoint point = s.points[0];
    // A justified text stands at its alignment point (11/21); group 10 then only repeats where the
    // writing program last laid it out, and some programs leave it at the alignment point too.
    if (s.hasPoint1 && (s.i72 != 0 || s.i73 != 0)) {
        if (text->IsTextFlag80()) {
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
    const std::string text = decoder.Decode(DecodeText(s.chunks + s.text));
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
    multi->SetBoxSize(width, -lines * s.d40);
    multi->SetPoint(s.points[0]);
    return multi;
}

std::unique_ptr<MCadShape> MDXFReader::BuildPointList(bool closed) {
    const std::size_t count = std::min(m_list10.size(), m_list20.size());
    if (count < 2) return nullptr;
    auto polygon = std::make_unique<MPolygonShape>(closed ? TRUE : FALSE);
    for (std::size_t i = 0; i < count; ++i)
        polygon->AddPoint(MFloatPoint(m_list10[i], m_list20[i]));
    return polygon;
}

std::unique_ptr<MCadShape> MDXFReader::BuildSolid() {
    const GroupStore& s = m_store;
    // A solid of three corners may leave out the fourth, which then is the third.
    const MFloatPoint p3 = s.hasPoint3 ? s.points[3] : s.points[2];
    auto polygon = std::make_unique<MPolygonShape>(TRUE);
    polygon->AddPoint(s.points[0]);
    polygon->AddPoint(s.points[1]);
    polygon->AddPoint(p3);
    if (s.points[2] != p3) polygon->AddPoint(s.points[2]);
    polygon->SetFillStyle(MFillStyle(EntityColor()));
    return polygon;
}

void MDXFReader::OpenPolyline() {
    m_polyline.reset();
    m_vertices.clear();
    m_polylineFlags = m_store.i70;
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
    } else {
        for (const Vertex& v : vertices)
            shape->AddPoint(v.point);
    }
    return shape;
}

std::unique_ptr<MCadShape> MDXFReader::PlaceBlock(bool insert) {
    const MGroupShape* block = m_blocks.Find(m_store.name);
    if (!block || block->GetShapeCount() == 0) return nullptr;
    const std::size_t weight = m_blocks.GetWeight(block);
    if (weight > m_expansionLimit || m_expanded > m_expansionLimit - weight) {
        m_expansionLimited = true;
        return nullptr;
    }
    m_expanded += weight;

    std::unique_ptr<MCadShape> copy(block->Duplicate());
    if (insert) {
        const MFloatPoint p = m_store.points[0];
        copy->Move(p - copy->GetCenter());
        if (m_store.d41 != 1.0 || m_store.d42 != 1.0) copy->ScaleXY(p, m_store.d41, m_store.d42);
        if (m_store.a50 != 0.0) copy->Rotate(p.x, p.y, m_store.a50);
    }
    return copy;
}

COLORREF MDXFReader::EntityColor() const {
    if (m_sectionState == kSectionBlocks && m_store.layer == "0") return kByBlockColor;
    int number = m_store.color;
    if (number == 256) {
        const auto it = m_layerColors.find(m_store.layer);
        if (it == m_layerColors.end() || it->second == 256) return 0;
        number = it->second;
    }
    return ColorOfNumber(number);
}

int MDXFReader::EntityLineStyle() const {
    if (m_sectionState == kSectionBlocks && m_store.layer == "0") return kByBlockLineStyle;
    std::string name = DxfUpper(m_store.lineType);
    if (name.empty() || name == "BYLAYER") {
        const auto it = m_layerLineTypes.find(m_store.layer);
        name = it == m_layerLineTypes.end() ? std::string() : DxfUpper(it->second);
    }
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
        shape->SetTextColor(c);
        if (IsPlainFillOf(shape->GetFillStyle(), kByBlockColor)) shape->SetFillStyle(MFillStyle(c));
    }
    shape->SetLineWidth(0.0);
}

void MDXFReader::ResolveByBlock(MCadShape* shape, COLORREF color, int lineStyle, bool keepByBlock) {
    if (auto* group = dynamic_cast<MGroupShape*>(shape)) {
        for (int i = 0; i < group->GetShapeCount(); ++i)
            ResolveByBlock(group->GetShapeAt(i), color, lineStyle, keepByBlock);
        return;
    }
    COLORREF c = color;
    int style = lineStyle == kByBlockLineStyle ? kByBlockStyleMark : lineStyle;
    if (!keepByBlock) {
        if (c == kByBlockColor) c = 0;
        if (style == kByBlockStyleMark) style = 0;
    }
    if (shape->GetLineStyle() == kByBlockStyleMark) shape->SetLineStyle(style);
    if (shape->GetColor() == kByBlockColor) shape->SetColor(c);
    if (shape->GetTextColor() == kByBlockColor) shape->SetTextColor(c);
    if (IsPlainFillOf(shape->GetFillStyle(), kByBlockColor)) shape->SetFillStyle(MFillStyle(c));
}

std::size_t MDXFReader::WeightOf(const MCadShape* shape) {
    if (const auto* group = dynamic_cast<const MGroupShape*>(shape)) {
        std::size_t weight = 8;
        for (int i = 0; i < group->GetShapeCount(); ++i)
            weight += WeightOf(group->GetShapeAt(i));
        return weight;
    }
    if (const auto* polygon = dynamic_cast<const MPolygonShape*>(shape))
        return 8 + static_cast<std::size_t>(polygon->GetPoints().GetSize());
    if (const auto* text = dynamic_cast<const MTextShape*>(shape)) return 8 + text->GetString().size() / 16;
    return 8;
}
