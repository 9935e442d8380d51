#include "interchange/XdfReader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <utility>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/JwcFileIo.h"
#include "model/FillStyle.h"
#include "model/geometry/Geometry.h"
#include "model/settings/OptionRecord.h"
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
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "resources/ResourceIds.h"

namespace {

CProgramSlot<MXDFProgress*>& ProgressSlot() {
    static auto& slot = *new CProgramSlot<MXDFProgress*>;
    return slot;
}

std::vector<std::string> Tokens(std::string_view line) {
    std::vector<std::string> out;
    std::size_t i = 0;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (i < line.size()) {
        while (i < line.size() && blank(line[i]))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !blank(line[i]))
            ++i;
        if (i > start) out.emplace_back(line.substr(start, i - start));
    }
    return out;
}

// Successive values of one record; any value that is missing or no finite number fails it.
class Values {
public:
    explicit Values(const std::vector<std::string>& tokens, std::size_t first = 0)
        : m_tokens(tokens), m_next(first) {}
    bool Number(double& out) {
        if (m_next >= m_tokens.size()) return false;
        double v = 0;
        if (!ParseDouble(m_tokens[m_next], v) || !std::isfinite(v)) return false;
        ++m_next;
        out = v;
        return true;
    }
    bool Integer(int& out) {
        double v = 0;
        if (!Number(v) || std::fabs(v) > 2147483647.0) return false;
        out = static_cast<int>(v);
        return true;
    }
    // A layer number 0..99; any other number fails the record, as there is no such layer.
    bool Layer(int& out) { return Integer(out) && out >= 0 && out < MXDFReader::kLayers; }

private:
    const std::vector<std::string>& m_tokens;
    std::size_t m_next;
};

constexpr const char* kCutShortText = "ファイルが途中で終わっています。読み込めた部分だけを開きました。";

}  // namespace

MXDFProgress* GetXDFProgress() {
    return ProgressSlot().Get();
}

MXDFProgress* SetXDFProgress(MXDFProgress* progress) {
    return ProgressSlot().Exchange(progress);
}

// ---- MXDFGroupStack -----------------------------------------------------------------------------

MXDFGroupStack::MXDFGroupStack() = default;
MXDFGroupStack::~MXDFGroupStack() = default;

void MXDFGroupStack::Push(std::unique_ptr<MGroupShape> group, int expected) {
    m_entries.push_back(MXDFGroup{std::move(group), expected, 0});
}

MGroupShape* MXDFGroupStack::DeepestShape() const {
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it)
        if (it->group) return it->group.get();
    return nullptr;
}

std::unique_ptr<MGroupShape> MXDFGroupStack::Pop() {
    std::unique_ptr<MGroupShape> group = std::move(m_entries.back().group);
    m_entries.pop_back();
    return group;
}

void MXDFGroupStack::RemoveAll() {
    m_entries.clear();
}

// ---- MXDFReader ---------------------------------------------------------------------------------

MXDFReader::MXDFReader(MTessarayDoc& doc)
    : m_defaultFont(GetOptionRecord().m_fontName.empty() ? GetDefaultTextFace()
                                                         : GetOptionRecord().m_fontName),
      m_doc(doc),
      m_sections{{"START", kStart}, {"END", kEnd},     {"ELEMENT", kElement}, {"ORIGIN", kOrigin},
                 {"PAPER", kPaper}, {"SCALE", kScale}, {"PEN", kPen},         {"ARROW", kArrow}},
      m_elements{{"LINE", kLine},     {"CIRCLE", kCircle}, {"ARC", kArc},     {"GROUP", kGroup},
                 {"STRING", kString}, {"FONT", kFont},     {"HATCH", kHatch}, {"SIZE", kSize},
                 {"DAEN", kDaen},     {"SPLINE", kSpline}, {"LOOP", kLoop}} {}

MXDFReader::~MXDFReader() = default;

COLORREF MXDFReader::PenColor(int code) {
    static const COLORREF kColors[10] = {0x000000, 0xFF0000, 0x0000FF, 0xFF00FF, 0x00FF00,
                                         0xFFFF00, 0x00FFFF, 0xFFFFFF, 0x800000, 0x000080};
    return (code >= 0 && code < 10) ? kColors[code] : 0;
}

int MXDFReader::ArrowStyleOf(int kind) {
    static const int kStyles[5] = {1, 5, 8, 3, 7};
    if (kind >= 0 && kind <= 4) return kStyles[kind];
    if (kind >= 5 && kind <= 9) return 1;
    return 0;
}

int MXDFReader::LineStyleOf(int type) {
    return (type >= 0 && type <= 4) ? type : 0;
}

COLORREF MXDFReader::LayerColor(int layer) const {
    return (layer >= 0 && layer < kLayers) ? PenColor(m_penCodes[static_cast<std::size_t>(layer)]) : 0;
}

void MXDFReader::CreateLayers() {
    // Every reading makes all the layers: their names are made once.
    static const std::array<CString, kLayers> names = [] {
        std::array<CString, kLayers> all;
        for (int i = 0; i < kLayers; ++i)
            all[static_cast<std::size_t>(i)] = "Layer" + std::to_string(i + 1);
        return all;
    }();
    m_layerBase = m_doc.GetLayers()->GetLayerCount();
    for (int i = 0; i < kLayers; ++i) {
        m_doc.AddLayer(new MLayer(names[static_cast<std::size_t>(i)], TRUE, TRUE, TRUE));
        // Layers without a PEN entry draw in black: pen 7 (white) is taken as 0, as the PEN
        // section does.
        m_penCodes[static_cast<std::size_t>(i)] = 0;
        m_counts[static_cast<std::size_t>(i)] = 0;
    }
    m_layersCreated = true;
}

void MXDFReader::RemoveEmptyLayers() {
    if (!m_layersCreated) return;
    for (int i = kLayers - 1; i >= 0; --i) {
        if (m_counts[static_cast<std::size_t>(i)] != 0) continue;
        delete m_doc.RemoveLayer(m_layerBase + i, FALSE);
    }
    m_layersCreated = false;
    if (m_doc.GetLayers()->GetLayerCount() == 0) m_doc.AddNewLayer();
}

bool MXDFReader::LooksLikeXdf(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n'))
        ++at;
    const std::size_t end = text.find_first_of("\r\n", at);
    const std::string_view line =
        text.substr(at, end == std::string_view::npos ? text.size() - at : end - at);
    if (line.empty() || line[0] != '[') return false;
    // A section this reader skips may come first too; its name is still a plain word.
    const std::size_t close = line.find(']');
    const std::string_view name = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

int MXDFReader::Prepare(const std::string& path) {
    m_prepared = true;
    m_text.clear();
    std::string bytes;
    if (ReadImportFile(path, bytes)) {
        m_text = DecodeTextFile(bytes);
        if (LooksLikeXdf(m_text)) return 1;
    }
    m_text.clear();
    m_text.shrink_to_fit();
    AfxMessageBox(AfxLoadString(IDS_CANNOT_OPEN_FILE), MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

int MXDFReader::Read(const std::string& path) {
    MXDFProgress* progress = GetXDFProgress();
    if (progress) progress->BeginWait();
    // One preparation serves one reading.
    const bool prepared = std::exchange(m_prepared, false);
    if (!prepared && !Prepare(path)) {
        m_prepared = false;
        // Called on its own, a failed read leaves the document as a read of nothing would: with
        // a layer. Through the document, Prepare has refused before anything changed.
        CreateLayers();
        RemoveEmptyLayers();
        if (progress) progress->EndWait();
        return 0;
    }
    m_prepared = false;
    CreateLayers();
    int result = 0;
    try {
        TextInput is(std::move(m_text));
        m_text.clear();
        result = ReadFile(is, path);
    } catch (...) {
        RemoveEmptyLayers();
        if (progress) progress->EndWait();
        throw;
    }
    RemoveEmptyLayers();
    if (progress) progress->EndWait();
    return result;
}

int MXDFReader::ReadText(const std::string& text, const std::string& path) {
    CreateLayers();
    int result = 0;
    try {
        TextInput is(text);
        result = ReadFile(is, path);
    } catch (...) {
        RemoveEmptyLayers();
        throw;
    }
    RemoveEmptyLayers();
    return result;
}

void MXDFReader::ResetPending() {
    m_section = 0;
    m_state = kNone;
    m_originOffset = MFloatPoint();
    m_arrowSize = 3.0;
    m_textPosition = MFloatPoint();
    m_textNumber = 6.0;
    m_textHeight = 12.0;
    m_textAngle = 0.0;
    m_textLayer = 0;
    m_splineRemaining = 0;
    m_splinePoints.RemoveAll();
    m_fontName.clear();
    m_penIndex = 0;
    m_started = 0;
    m_sawEnd = false;
    m_foldedGroups = 0;
}

int MXDFReader::ReadFile(std::istream& is, const std::string& path) {
    ResetPending();
    MXDFProgress* progress = GetXDFProgress();
    struct DialogCloser {
        MXDFProgress* progress;
        MXDFGroupStack& groups;
        ~DialogCloser() {
            if (progress) progress->Close();
            groups.RemoveAll();
        }
    } closer{progress, m_groups};
    if (progress) {
        progress->Open(path);
        progress->SetRange(1);
        progress->SetPos(0);
    }
    std::string line;
    // Whole lines, however long: a line cut short would be read as the start of another record.
    while (m_section != kEnd && std::getline(is, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') {
            const std::size_t close = line.find(']');
            const std::string name =
                line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
            const auto it = m_sections.find(name);
            m_section = it == m_sections.end() ? 0 : it->second;
            if (m_section == kElement && progress && close != std::string::npos) {
                double upper = 0;
                const auto rest = Tokens(std::string_view(line).substr(close + 1));
                if (!rest.empty() && ParseDouble(rest[0], upper) && upper >= 0 && upper < 2147483647.0)
                    progress->SetRange(static_cast<int>(upper));
            }
            if (m_section == kPen) m_penIndex = 0;
            HandleSection(m_section, nullptr);
        } else {
            HandleSection(m_section, &line);
        }
        if (progress) progress->SetPos(m_started);
    }
    m_sawEnd = m_section == kEnd;
    if (progress) progress->Close();
    closer.progress = nullptr;
    ReportLosses();
    return 1;
}

void MXDFReader::ReportLosses() {
    std::string text;
    if (!m_sawEnd) text = kCutShortText;
    if (m_foldedGroups > 0) {
        if (!text.empty()) text += "\n\n";
        text += "グループの入れ子が" + std::to_string(kMaxGroupNesting) + "段を超える部分 (" +
                std::to_string(m_foldedGroups) + "個のグループ) は、グループを解いて読み込みました。";
    }
    if (!text.empty()) AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

MFloatPoint MXDFReader::ToDrawing(double x, double y) const {
    const double scale = m_doc.GetPaperInfo().GetScale();
    return MFloatPoint(x, y) + m_doc.ComputePaperOrigin() + m_originOffset / scale;
}

void MXDFReader::HandleSection(int section, const std::string* line) {
    if (!line) return;
    const std::vector<std::string> tokens = Tokens(*line);
    Values values(tokens);
    switch (section) {
        case kElement:
            HandleElementLine(*line);
            break;
        case kOrigin: {
            double x = 0, y = 0;
            if (values.Number(x)) {
                m_originOffset.x = x;
                if (values.Number(y)) m_originOffset.y = y;
            }
            break;
        }
        case kPaper: {
            if (tokens.empty()) break;
            Values numbers(tokens, 1);
            double w = 0, h = 0;
            if (!numbers.Number(w) || !numbers.Number(h) || !(w > 0) || !(h > 0)) break;
            const double larger = std::max(w, h), smaller = std::min(w, h);
            const std::string text = FormatG(larger) + "mm×" + FormatG(smaller) + "mm";
            m_doc.SetPaperSize(MPaperSizeInfo(tokens[0], text, larger, smaller), w >= h ? TRUE : FALSE);
            break;
        }
        case kScale: {
            double scale = 0;
            // A scale that is not positive would divide every later coordinate by zero.
            if (values.Number(scale) && scale > 0) m_doc.GetPaperInfo().SetScale("", scale);
            break;
        }
        case kPen:
            for (const std::string& token : tokens) {
                double v = 0;
                if (!ParseDouble(token, v) || !std::isfinite(v) || std::fabs(v) > 2147483647.0) continue;
                // Entries past the hundredth layer have no layer to colour.
                if (m_penIndex >= kLayers) break;
                int code = static_cast<int>(v) % 10;
                if (code < 0) code += 10;
                m_penCodes[static_cast<std::size_t>(m_penIndex++)] = code == 7 ? 0 : code;
            }
            break;
        case kArrow: {
            double size = 0;
            if (values.Number(size)) m_arrowSize = size;
            break;
        }
        default:
            break;
    }
}

void MXDFReader::HandleElementLine(const std::string& line) {
    const std::vector<std::string> tokens = Tokens(line);
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
            m_fontName = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
        }
        return;
    }
    const int state = m_state;
    m_state = kNone;
    if (!HandleData(state, line, tokens)) {
        m_state = kNone;
        m_splinePoints.RemoveAll();
    }
}

bool MXDFReader::HandleData(int state, const std::string& line, const std::vector<std::string>& tokens) {
    Values v(tokens);
    auto point = [&](MFloatPoint& out) {
        double x = 0, y = 0;
        if (!v.Number(x) || !v.Number(y)) return false;
        out = ToDrawing(x, y);
        return true;
    };
    const double paperScale = m_doc.GetPaperInfo().GetScale();
    switch (state) {
        case kLine: {
            MFloatPoint p1, p2;
            int layer = 0, type = 0, flags = 0, kind = 0;
            if (!point(p1) || !point(p2) || !v.Layer(layer) || !v.Integer(type) || !v.Integer(flags) ||
                !v.Integer(kind))
                return false;
            if (flags == 0) {
                Finish(std::make_unique<MLineShape>(p1, p2), layer, type);
            } else {
                auto polygon = std::make_unique<MPolygonShape>(FALSE);
                polygon->AddPoint(p1);
                polygon->AddPoint(p2);
                polygon->SetArrowsEx((flags & 1) ? ArrowStyleOf(kind) : 0, m_arrowSize,
                                     (flags & 2) ? ArrowStyleOf(kind) : 0, m_arrowSize);
                Finish(std::move(polygon), layer, type);
            }
            return true;
        }
        case kCircle: {
            MFloatPoint c;
            double r = 0;
            int layer = 0, type = 0;
            if (!point(c) || !v.Number(r) || !v.Layer(layer) || !v.Integer(type)) return false;
            auto circle = std::make_unique<MCircleShape>();
            circle->SetCircle(c.x, c.y, r);
            Finish(std::move(circle), layer, type);
            return true;
        }
        case kArc: {
            MFloatPoint c;
            double r = 0, start = 0, end = 0;
            int layer = 0, type = 0, flags = 0, kind = 0;
            if (!point(c) || !v.Number(r) || !v.Number(start) || !v.Number(end) || !v.Layer(layer) ||
                !v.Integer(type) || !v.Integer(flags) || !v.Integer(kind))
                return false;
            auto arc = std::make_unique<MCircleArcShape>();
            arc->SetArc(c.x, c.y, r, start, end);
            arc->SetArrowsEx((flags & 1) ? ArrowStyleOf(kind) : 0, m_arrowSize,
                             (flags & 2) ? ArrowStyleOf(kind) : 0, m_arrowSize);
            Finish(std::move(arc), layer, type);
            return true;
        }
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
            MFloatPoint p;
            double n1 = 0, height = 0, n2 = 0, angle = 0;
            int layer = 0;
            if (!point(p) || !v.Number(n1) || !v.Number(height) || !v.Number(n2) || !v.Number(angle) ||
                !v.Layer(layer))
                return false;
            m_textPosition = p;
            m_textNumber = n1;
            m_textHeight = height;
            m_textAngle = angle;
            m_textLayer = layer;
            m_state = kStringText;
            return true;
        }
        case kStringText: {
            auto text = std::make_unique<MTextShape>();
            text->SetString(line.size() > 1 ? line.substr(1) : std::string());
            text->SetFontName(m_fontName.empty() ? m_defaultFont : m_fontName);
            text->SetTextSize(m_textHeight / paperScale);
            text->SetAngle(m_textAngle);
            text->SetAlignment(8);
            text->SetPoint(m_textPosition);
            AddStep(std::move(text), m_textLayer);
            return true;
        }
        case kFont:
            return true;
        case kHatch: {
            MFloatPoint p1, p2;
            int layer = 0, type = 0;
            if (!point(p1) || !point(p2) || !v.Layer(layer) || !v.Integer(type)) return false;
            Finish(std::make_unique<MLineShape>(p1, p2), layer, type);
            return true;
        }
        case kSize: {
            MFloatPoint p[5];
            double n[9] = {};
            int layer = 0, kind = 0;
            for (MFloatPoint& q : p)
                if (!point(q)) return false;
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
        case kDaen: {
            MFloatPoint c;
            double rx = 0, ry = 0, angle = 0;
            int layer = 0, type = 0;
            if (!point(c) || !v.Number(rx) || !v.Number(ry) || !v.Number(angle) || !v.Layer(layer) ||
                !v.Integer(type))
                return false;
            auto ellipse = std::make_unique<MEllipseShape>();
            ellipse->SetEllipse(c.x, c.y, rx, ry);
            ellipse->SetFillStyle(MFillStyle(kNoColor));
            std::unique_ptr<MCadShape> shape = std::move(ellipse);
            if (angle != 0) {
                if (MCadShape* rotated = shape->CreateRotated(c.x, c.y, angle)) shape.reset(rotated);
            }
            Finish(std::move(shape), layer, type);
            return true;
        }
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
        case kLoopPoint: {
            MFloatPoint q;
            if (!point(q)) return false;
            m_splinePoints.Add(q);
            if (--m_splineRemaining > 0) {
                m_state = state;
                return true;
            }
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
            return true;
        }
        default:
            return true;
    }
}

void MXDFReader::Finish(std::unique_ptr<MCadShape> shape, int layer, int lineType) {
    shape->SetLineStyle(LineStyleOf(lineType));
    shape->SetColor(LayerColor(layer));
    AddStep(std::move(shape), layer);
}

void MXDFReader::AddStep(std::unique_ptr<MCadShape> shape, int layer) {
    // A folded group that completes passes no shape down, yet counts as one member there.
    while (!m_groups.IsEmpty()) {
        MXDFGroup& top = m_groups.Top();
        if (shape) (top.group ? top.group.get() : m_groups.DeepestShape())->AddShape(shape.release());
        if (++top.received < top.expected) return;
        shape = m_groups.Pop();
    }
    if (!shape) return;
    m_doc.AppendShape(shape.release(), m_layerBase + layer);
    ++m_counts[static_cast<std::size_t>(layer)];
}
