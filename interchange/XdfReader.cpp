#include "interchange/XdfReader.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/JwcFileIo.h"
#include "interchange/XdfTokens.h"
#include "model/PaperInfo.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/text/TextShapeBase.h"
#include "platform/Cp932.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "resources/ResourceIds.h"

namespace {

CProgramSlot<MXDFProgress*>& ProgressSlot() {
    static auto& slot = *new CProgramSlot<MXDFProgress*>;
    return slot;
}

constexpr std::string_view kXdfByteOrderMark = "\xEF\xBB\xBF";
// The largest side of a paper, in millimetres: ten times the largest paper the program lists.
constexpr double kMaxPaperSide = 1e6;

constexpr const char* kXdfCutShortText = "ファイルが途中で終わっています。読み込めた部分だけを開きました。";
constexpr const char* kXdfScaleNote = "縮尺 [SCALE] が使えない値のため、元の縮尺で読み込みました。";
constexpr const char* kXdfOriginNote = "原点 [ORIGIN] が使えない値のため、原点をずらさずに読み込みました。";
constexpr const char* kXdfPaperNote = "用紙 [PAPER] の大きさが使えない値のため、元の用紙で読み込みました。";

constexpr struct {
    std::string_view name;
    int section;
} kSectionNames[] = {{"START", MXDFReader::kStart},     {"END", MXDFReader::kEnd},
                     {"ELEMENT", MXDFReader::kElement}, {"ORIGIN", MXDFReader::kOrigin},
                     {"PAPER", MXDFReader::kPaper},     {"SCALE", MXDFReader::kScale},
                     {"PEN", MXDFReader::kPen},         {"ARROW", MXDFReader::kArrow}};

std::string_view WithoutCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

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

int MXDFReader::SectionOf(std::string_view line) {
    if (line.empty() || line[0] != '[') return -1;
    const std::string_view name = line.substr(1, line.find(']') - 1);
    for (const auto& s : kSectionNames)
        if (s.name == name) return s.section;
    return 0;
}

bool MXDFReader::LooksLikeXdf(std::string_view text) {
    if (text.starts_with(kXdfByteOrderMark)) text.remove_prefix(kXdfByteOrderMark.size());
    // Other programs may begin with lines of their own; any section of the format makes a drawing.
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        if (SectionOf(WithoutCr(text.substr(at, end - at))) > 0) return true;
        at = end + 1;
    }
    return false;
}

std::string MXDFReader::DecodeFile(std::string_view bytes) {
    if (!bytes.starts_with(kXdfByteOrderMark)) return DecodeTextFile(bytes);
    // The mark says UTF-8; bytes that are no UTF-8 become '?'.
    bytes.remove_prefix(kXdfByteOrderMark.size());
    std::string text;
    if (IsAscii(bytes) || !ConvertEncoding(bytes, "UTF-8", "UTF-8", text)) text.assign(bytes);
    return text;
}

int MXDFReader::Prepare(const std::string& path) {
    m_prepared = true;
    m_text.clear();
    std::string bytes;
    if (ReadImportFile(path, bytes)) {
        m_text = DecodeFile(bytes);
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
    struct WaitEnder {
        MXDFProgress* progress;
        ~WaitEnder() {
            if (progress) progress->EndWait();
        }
    } ender{progress};
    const std::string text = std::move(m_text);
    m_text.clear();
    return ReadText(text, path);
}

int MXDFReader::ReadText(std::string_view text, const std::string& path) {
    CreateLayers();
    int result = 0;
    try {
        if (text.starts_with(kXdfByteOrderMark)) text.remove_prefix(kXdfByteOrderMark.size());
        result = ReadFile(text, path);
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
    m_record = kNone;
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
    m_longLines = 0;
    m_unfinishedGroups = 0;
    m_unfinishedSplines = 0;
    m_losses.Clear();
}

int MXDFReader::ReadFile(std::string_view text, const std::string& path) {
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
    for (std::size_t at = 0; m_section != kEnd && at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        ReadLine(WithoutCr(text.substr(at, end - at)));
        at = end + 1;
        if (progress) progress->SetPos(m_started);
    }
    m_sawEnd = m_section == kEnd;
    EndPending();
    CloseGroups();
    if (progress) progress->Close();
    closer.progress = nullptr;
    ReportLosses();
    return 1;
}

void MXDFReader::ReadLine(std::string_view line) {
    if (line.size() > kMaxLine) {
        // A line this long is no record; a text keeps its start, which is cut anyway.
        if (m_section == kElement && m_state == kStringText) {
            HandleSection(m_section, line.substr(0, kMaxLine));
            return;
        }
        ++m_longLines;
        if (m_section == kElement) EndPending();
        return;
    }
    const int section = SectionOf(line);
    if (section < 0) {
        HandleSection(m_section, line);
        return;
    }
    if (m_section == kElement) EndPending();
    m_section = section;
    const std::size_t close = line.find(']');
    if (m_section == kElement && close != std::string_view::npos) {
        double upper = 0;
        const auto rest = xdf::Tokens(line.substr(close + 1));
        if (MXDFProgress* progress = GetXDFProgress();
            progress && !rest.empty() && ParseDouble(rest[0], upper) && upper >= 0 && upper < 2147483647.0)
            progress->SetRange(static_cast<int>(upper));
    }
    if (m_section == kPen) m_penIndex = 0;
}

void MXDFReader::ReportLosses() {
    if (!m_sawEnd) m_losses.Note(kXdfCutShortText);
    if (m_longLines > 0)
        m_losses.Note("長すぎる行 (" + std::to_string(m_longLines) + "行) は読み飛ばしました。");
    if (m_foldedGroups > 0)
        m_losses.Note("グループの入れ子が" + std::to_string(kMaxGroupNesting) + "段を超える部分 (" +
                      std::to_string(m_foldedGroups) + "個のグループ) は、グループを解いて読み込みました。");
    if (m_unfinishedGroups > 0)
        m_losses.Note("図形の数が足りないグループ (" + std::to_string(m_unfinishedGroups) +
                      "個) は、読めた図形だけでグループにしました。");
    if (m_unfinishedSplines > 0)
        m_losses.Note("点の数が足りないスプライン (" + std::to_string(m_unfinishedSplines) +
                      "個) は、読めた点だけで作りました。");
    m_losses.Report(!m_sawEnd || m_longLines > 0);
}

MFloatPoint MXDFReader::ToDrawing(double x, double y) const {
    const double scale = m_doc.GetPaperInfo().GetScale();
    return MFloatPoint(x, y) + m_doc.ComputePaperOrigin() + m_originOffset / scale;
}

void MXDFReader::HandleSection(int section, std::string_view line) {
    const std::vector<std::string_view> tokens = xdf::Tokens(line);
    xdf::Values values(tokens);
    switch (section) {
        case kElement:
            HandleElementLine(line);
            break;
        case kOrigin: {
            double x = 0, y = 0;
            if (values.Number(x)) {
                if (!values.Number(y)) y = m_originOffset.y;
                SetOrigin(x, y);
            } else if (!tokens.empty()) {
                m_losses.Note(kXdfOriginNote);
            }
            break;
        }
        case kPaper:
            SetPaper(tokens);
            break;
        case kScale: {
            double scale = 0;
            if (values.Number(scale))
                SetScale(scale);
            else if (!tokens.empty())
                m_losses.Note(kXdfScaleNote);
            break;
        }
        case kPen:
            for (std::string_view token : tokens) {
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

void MXDFReader::SetScale(double scale) {
    // Every coordinate and text height is divided by the scale.
    if (!IsUsablePaperScale(scale)) {
        m_losses.Note(kXdfScaleNote);
        return;
    }
    m_doc.GetPaperInfo().SetScale("", scale);
    // An origin that fitted the old scale may reach too far at the new one.
    SetOrigin(m_originOffset.x, m_originOffset.y);
}

void MXDFReader::SetOrigin(double x, double y) {
    const double scale = m_doc.GetPaperInfo().GetScale();
    if (!(std::fabs(x) / scale <= kMaxReach && std::fabs(y) / scale <= kMaxReach)) {
        m_losses.Note(kXdfOriginNote);
        x = y = 0;
    }
    m_originOffset = MFloatPoint(x, y);
}

void MXDFReader::SetPaper(const std::vector<std::string_view>& tokens) {
    if (tokens.empty()) return;
    xdf::Values numbers(tokens, 1);
    double w = 0, h = 0;
    if (!numbers.Number(w) || !numbers.Number(h) || !(w > 0) || !(h > 0) || w > kMaxPaperSide ||
        h > kMaxPaperSide) {
        m_losses.Note(kXdfPaperNote);
        return;
    }
    const double larger = std::max(w, h), smaller = std::min(w, h);
    const std::string text = FormatG(larger) + "mm×" + FormatG(smaller) + "mm";
    m_doc.SetPaperSize(MPaperSizeInfo(std::string(tokens[0]), text, larger, smaller), w >= h ? TRUE : FALSE);
}
