// The element records of an XDF drawing: each data line becomes its shape, which goes to the open
// group or to its layer.
#include <cmath>
#include <memory>
#include <utility>

#include "document/TessarayDoc.h"
#include "interchange/XdfReader.h"
#include "interchange/XdfTokens.h"
#include "model/FillStyle.h"
#include "model/helpers/StoredText.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/dimension/SizeStyle.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"

static_assert(xdf::Values::kLayers == MXDFReader::kLayers);

const char* MXDFReader::KindName(int state) {
    switch (state) {
        case kLine:
            return "LINE";
        case kCircle:
            return "CIRCLE";
        case kArc:
            return "ARC";
        case kGroup:
            return "GROUP";
        case kString:
        case kStringText:
            return "STRING";
        case kHatch:
            return "HATCH";
        case kSize:
            return "SIZE";
        case kDaen:
            return "DAEN";
        case kSpline:
        case kSplinePoint:
            return "SPLINE";
        case kLoop:
        case kLoopPoint:
            return "LOOP";
        default:
            return "FONT";
    }
}

void MXDFReader::HandleElementLine(std::string_view line) {
    const std::vector<std::string_view> tokens = xdf::Tokens(line);
    if (m_state == kNone) {
        if (tokens.empty()) return;
        ++m_started;
        const auto it = m_elements.find(tokens[0]);
        m_state = it == m_elements.end() ? kNone : it->second;
        if (m_state == kFont) {
            std::size_t at = line.find(tokens[0]) + tokens[0].size();
            while (at < line.size() && line[at] == ' ')
                ++at;
            const std::size_t end = line.find_first_of("\t\n", at);
            m_fontName = line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
            if (CutToStoredText(m_fontName)) m_losses.Note(kTextsCutNote);
        }
        return;
    }
    const int state = std::exchange(m_state, kNone);
    if (HandleData(state, line, tokens)) return;
    m_state = state;
    EndPending();
    // A data line that is missing leaves the next element's keyword in its place.
    if (!tokens.empty() && m_elements.contains(tokens[0])) HandleElementLine(line);
}

void MXDFReader::EndPending() {
    const int state = std::exchange(m_state, kNone);
    if (state == kNone || state == kFont) return;
    if (state == kSplinePoint || state == kLoopPoint)
        FinishSpline(state);
    else
        Lose(state);
}

void MXDFReader::Lose(int state) {
    m_losses.Drop(KindName(state));
    AddStep(nullptr, 0);
}

bool MXDFReader::HandleData(int state, std::string_view line, const std::vector<std::string_view>& tokens) {
    m_record = state;
    xdf::Values v(tokens);
    switch (state) {
        case kGroup: {
            int count = 0;
            if (!v.Integer(count)) return false;
            // A group that expects no member would take the next shape in; it has none and is
            // nothing.
            if (count <= 0) return true;
            // Deeper groups than the program keeps are folded into the deepest one it keeps.
            if (m_groups.GetSize() >= kMaxGroupNesting) {
                ++m_foldedGroups;
                m_groups.Push(nullptr, count);
            } else {
                m_groups.Push(std::make_unique<MGroupShape>(), count);
            }
            return true;
        }
        case kString: {
            double x = 0, y = 0, n1 = 0, height = 0, n2 = 0, angle = 0;
            int layer = 0;
            if (!v.Number(x) || !v.Number(y) || !v.Number(n1) || !v.Number(height) || !v.Number(n2) ||
                !v.Number(angle) || !v.Layer(layer))
                return false;
            m_textPosition = ToDrawing(x, y);
            m_textNumber = n1;
            m_textHeight = height;
            m_textAngle = angle;
            m_textLayer = layer;
            m_state = kStringText;
            return true;
        }
        case kStringText:
            return HandleText(line);
        case kFont:
            return true;
        case kSize:
            return HandleSize(tokens);
        case kSpline:
        case kLoop: {
            int count = 0, layer = 0, type = 0;
            if (!v.Integer(count) || count <= 0 || !v.Layer(layer) || !v.Integer(type)) return false;
            m_splineRemaining = count;
            m_splineLayer = layer;
            m_splineType = type;
            m_splinePoints.RemoveAll();
            m_state = state == kSpline ? kSplinePoint : kLoopPoint;
            return true;
        }
        case kSplinePoint:
        case kLoopPoint:
            return HandleSplinePoint(state, tokens);
        default:
            return HandleShapeData(state, tokens);
    }
}

bool MXDFReader::HandleShapeData(int state, const std::vector<std::string_view>& tokens) {
    xdf::Values v(tokens);
    auto point = [&](MFloatPoint& out) {
        double x = 0, y = 0;
        if (!v.Number(x) || !v.Number(y)) return false;
        out = ToDrawing(x, y);
        return true;
    };
    MFloatPoint p1, p2;
    double r = 0, start = 0, end = 0, ry = 0, angle = 0;
    int layer = 0, type = 0, flags = 0, kind = 0;
    switch (state) {
        case kLine: {
            if (!point(p1) || !point(p2) || !v.Layer(layer) || !v.Integer(type) || !v.Integer(flags) ||
                !v.Integer(kind))
                return false;
            if (flags == 0) {
                Finish(std::make_unique<MLineShape>(p1, p2), layer, type);
                return true;
            }
            auto polygon = std::make_unique<MPolygonShape>(FALSE);
            polygon->AddPoint(p1);
            polygon->AddPoint(p2);
            polygon->SetArrowsEx((flags & 1) ? ArrowStyleOf(kind) : 0, m_arrowSize,
                                 (flags & 2) ? ArrowStyleOf(kind) : 0, m_arrowSize);
            Finish(std::move(polygon), layer, type);
            return true;
        }
        case kCircle: {
            if (!point(p1) || !v.Number(r) || !v.Layer(layer) || !v.Integer(type)) return false;
            auto circle = std::make_unique<MCircleShape>();
            circle->SetCircle(p1.x, p1.y, r);
            Finish(std::move(circle), layer, type);
            return true;
        }
        case kArc: {
            if (!point(p1) || !v.Number(r) || !v.Number(start) || !v.Number(end) || !v.Layer(layer) ||
                !v.Integer(type) || !v.Integer(flags) || !v.Integer(kind))
                return false;
            auto arc = std::make_unique<MCircleArcShape>();
            arc->SetArc(p1.x, p1.y, r, start, end);
            arc->SetArrowsEx((flags & 1) ? ArrowStyleOf(kind) : 0, m_arrowSize,
                             (flags & 2) ? ArrowStyleOf(kind) : 0, m_arrowSize);
            Finish(std::move(arc), layer, type);
            return true;
        }
        case kHatch:
            if (!point(p1) || !point(p2) || !v.Layer(layer) || !v.Integer(type)) return false;
            Finish(std::make_unique<MLineShape>(p1, p2), layer, type);
            return true;
        case kDaen: {
            if (!point(p1) || !v.Number(r) || !v.Number(ry) || !v.Number(angle) || !v.Layer(layer) ||
                !v.Integer(type))
                return false;
            auto ellipse = std::make_unique<MEllipseShape>();
            ellipse->SetEllipse(p1.x, p1.y, r, ry);
            ellipse->SetFillStyle(MFillStyle(kNoColor));
            std::unique_ptr<MCadShape> shape = std::move(ellipse);
            if (angle != 0) {
                if (MCadShape* rotated = shape->CreateRotated(p1.x, p1.y, angle)) shape.reset(rotated);
            }
            Finish(std::move(shape), layer, type);
            return true;
        }
        default:
            return true;
    }
}

bool MXDFReader::HandleText(std::string_view line) {
    std::string string(line.size() > 1 ? line.substr(1) : std::string_view());
    if (CutToStoredText(string)) m_losses.Note(kTextsCutNote);
    const double size = m_textHeight / m_doc.GetPaperInfo().GetScale();
    // A taller text would measure a box beyond the range of numbers.
    if (!(std::fabs(size) <= kMaxReach)) {
        Lose(kStringText);
        return true;
    }
    auto text = std::make_unique<MTextShape>();
    text->SetString(string);
    text->SetFontName(m_fontName.empty() ? m_defaultFont : m_fontName);
    text->SetTextSize(size);
    text->SetAngle(m_textAngle);
    text->SetAlignment(8);
    text->SetPoint(m_textPosition);
    AddStep(std::move(text), m_textLayer);
    return true;
}

bool MXDFReader::HandleSize(const std::vector<std::string_view>& tokens) {
    xdf::Values v(tokens);
    MFloatPoint p[5];
    double n[9] = {};
    int layer = 0, kind = 0;
    for (MFloatPoint& q : p) {
        double x = 0, y = 0;
        if (!v.Number(x) || !v.Number(y)) return false;
        q = ToDrawing(x, y);
    }
    for (int i = 1; i <= 8; ++i)
        if (!v.Number(n[i])) return false;
    if (!v.Layer(layer) || !v.Integer(kind)) return false;
    auto size = std::make_unique<MSizeShape>();
    size->SetPoints(p[0], p[1], p[2], p[3], p[4]);
    size->SetText(GetCurrentSizeFormat(SIZEFORMAT_LINEAR).Format(n[8], TRUE, TRUE));
    MSizeStyle style = size->GetSizeStyle();
    style.m_fontName = m_fontName.empty() ? m_defaultFont : m_fontName;
    style.m_textHeight = n[6];
    style.m_extensionGap = n[2];
    style.m_outsideLeader = n[4];
    style.m_extensionOvershoot = n[3];
    style.m_textGap = n[1];
    style.m_arrowStyle = ArrowStyleOf(kind);
    style.m_arrowSize = m_arrowSize;
    size->SetSizeStyle(style);
    size->Rebuild(m_doc.GetOffscreenView());
    Finish(std::move(size), layer, 0);
    return true;
}

bool MXDFReader::HandleSplinePoint(int state, const std::vector<std::string_view>& tokens) {
    xdf::Values v(tokens);
    double x = 0, y = 0;
    if (!v.Number(x) || !v.Number(y)) return false;
    m_splinePoints.Add(ToDrawing(x, y));
    if (--m_splineRemaining > 0) {
        m_state = state;
        return true;
    }
    FinishSpline(state);
    return true;
}

void MXDFReader::FinishSpline(int state) {
    m_record = state;
    // A curve needs two points; one that stopped short keeps those it has.
    if (m_splinePoints.GetSize() < 2) {
        m_splinePoints.RemoveAll();
        m_splineRemaining = 0;
        Lose(state);
        return;
    }
    if (m_splineRemaining > 0) ++m_unfinishedSplines;
    if (state == kSplinePoint) {
        auto spline = std::make_unique<MSplineShape>();
        spline->SetControlPoints(m_splinePoints);
        Finish(std::move(spline), m_splineLayer, m_splineType);
    } else {
        auto loop = std::make_unique<MSplineLoopShape>();
        loop->SetControlPoints(m_splinePoints);
        loop->SetFillStyle(MFillStyle(kNoColor));
        Finish(std::move(loop), m_splineLayer, m_splineType);
    }
    m_splinePoints.RemoveAll();
    m_splineRemaining = 0;
}

void MXDFReader::Finish(std::unique_ptr<MCadShape> shape, int layer, int lineType) {
    shape->SetLineStyle(LineStyleOf(lineType));
    shape->SetColor(LayerColor(layer));
    AddStep(std::move(shape), layer);
}

void MXDFReader::AddStep(std::unique_ptr<MCadShape> shape, int layer) {
    // What the saved drawing could not give back stays out, yet it takes its place in a group.
    if (shape && !shape->HasFiniteValues()) {
        m_losses.Drop(KindName(m_record));
        shape.reset();
    }
    // A folded group that completes passes no shape down, yet counts as one member there.
    while (!m_groups.IsEmpty()) {
        MXDFGroup& top = m_groups.Top();
        if (shape) {
            (top.group ? top.group.get() : m_groups.DeepestShape())->AddShape(shape.release());
            top.layer = layer;
        }
        if (++top.received < top.expected) return;
        layer = top.layer;
        shape = m_groups.Pop();
        if (shape && static_cast<MGroupShape*>(shape.get())->GetShapeCount() == 0) shape.reset();
    }
    if (!shape) return;
    m_doc.AppendShape(shape.release(), m_layerBase + layer);
    ++m_counts[static_cast<std::size_t>(layer)];
}

void MXDFReader::CloseGroups() {
    while (!m_groups.IsEmpty()) {
        const int layer = m_groups.Top().layer;
        std::unique_ptr<MGroupShape> group = m_groups.Pop();
        if (!group || group->GetShapeCount() == 0) continue;
        ++m_unfinishedGroups;
        AddStep(std::move(group), layer);
    }
}
