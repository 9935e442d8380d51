#include "interchange/JwcReader.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <memory>
#include <utility>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/JwcFileIo.h"
#include "interchange/JwcPenSettings.h"
#include "model/shapes/lines/MarkShape.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "resources/ResourceIds.h"

namespace {

constexpr std::string_view kSignature = "jw_cad(c)data.......";
constexpr std::string_view kVariantFloat = "a.f.m...............";
constexpr std::string_view kVariantShort = "a...m...............";
constexpr std::string_view kVariantOld = "a...................";

// Block offsets of a drawing file.
constexpr std::size_t kSettingsOffset = 200;
constexpr std::size_t kStringRangeOffset = 600;
constexpr std::size_t kMarksOffset = 800;
constexpr std::size_t kMarkEntries = 101;
constexpr std::size_t kMarksSize = kMarkEntries * 9;
constexpr std::size_t kTextKindsOffset = kMarksOffset + kMarksSize;
constexpr std::size_t kTextKindsSize = 88;
constexpr std::size_t kGroupsOffset = kTextKindsOffset + kTextKindsSize;
constexpr std::size_t kGroupFlagsSize = 16 + 256 + 16 + 256 + 16;
constexpr std::size_t kLayerNamesSize = 256 * 8 + 16 * 16;

struct PaperEntry {
    int code;
    const char* name;
    const char* text;
    double width;
    double height;
};
constexpr PaperEntry kPapers[] = {
    {0, "A0", "1189mm×841mm", 1189, 841},  {1, "A1", "841mm×594mm", 841, 594},
    {2, "A2", "594mm×420mm", 594, 420},    {4, "A4", "297mm×210mm", 297, 210},
    {20, "2A", "A0×2", 1682, 1189},        {30, "3A", "A0×4", 2378, 1682},
    {40, "4A", "A0×8", 3364, 2378},        {50, "5A", "A0×16", 4756, 3364},
    {100, "10m", "10m", 10000, 7071},      {500, "50m", "50m", 50000, 35355},
    {1000, "100m", "100m", 100000, 70711},
};

// "%f" in the C locale.
std::string FormatFixed(double value) {
    TextOutput os;
    os << std::fixed << std::setprecision(6) << value;
    return os.str();
}

// "ssss:oooo" (hexadecimal) as the address segment × 16 + offset.
bool ParseAddress(const std::string& token, std::uint32_t& out) {
    const std::size_t colon = token.find(':');
    if (colon == std::string::npos) return false;
    auto hex = [](std::string_view digits, std::uint32_t& value) {
        if (digits.empty() || digits.size() > 4) return false;
        value = 0;
        for (char c : digits) {
            int d;
            if (c >= '0' && c <= '9')
                d = c - '0';
            else if (c >= 'a' && c <= 'f')
                d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                d = c - 'A' + 10;
            else
                return false;
            value = value * 16 + static_cast<std::uint32_t>(d);
        }
        return true;
    };
    std::uint32_t segment = 0, offset = 0;
    if (!hex(std::string_view(token).substr(0, colon), segment) ||
        !hex(std::string_view(token).substr(colon + 1), offset))
        return false;
    out = segment * 16 + offset;
    return true;
}

std::vector<std::string> SplitCommas(std::string_view block) {
    block = block.substr(0, block.find('\0'));
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= block.size()) {
        std::size_t end = block.find(',', start);
        if (end == std::string_view::npos) end = block.size();
        std::string_view t = block.substr(start, end - start);
        while (!t.empty() &&
               (t.front() == ' ' || t.front() == '\t' || t.front() == '\r' || t.front() == '\n'))
            t.remove_prefix(1);
        while (!t.empty() && (t.back() == ' ' || t.back() == '\t' || t.back() == '\r' || t.back() == '\n'))
            t.remove_suffix(1);
        out.emplace_back(t);
        start = end + 1;
    }
    return out;
}

}  // namespace

MPaperSizeInfo GetJWCPaperSize(int code) {
    for (const PaperEntry& e : kPapers)
        if (e.code == code) return MPaperSizeInfo(e.name, e.text, e.width, e.height);
    return MPaperSizeInfo("A3", "420mm×297mm", 420, 297);
}

MJWCReader::MJWCReader(MTessarayDoc& doc) : m_doc(doc) {
    for (int i = 0; i < kJWLayers; ++i) {
        m_layerNames[static_cast<std::size_t>(i)] = DefaultLayerName(i);
        m_layerMap[static_cast<std::size_t>(i)] = -1;
    }
}

MJWCReader::~MJWCReader() = default;

CString MJWCReader::DefaultLayerName(int jwLayer) {
    auto name = [](int layer) {
        return std::to_string(layer / 16 + 1) + "-" + std::to_string(layer % 16 + 1);
    };
    // Every reading names all 256 layers, twice: the names are made once.
    static const std::array<CString, kJWLayers> names = [&name] {
        std::array<CString, kJWLayers> all;
        for (int i = 0; i < kJWLayers; ++i)
            all[static_cast<std::size_t>(i)] = name(i);
        return all;
    }();
    return jwLayer >= 0 && jwLayer < kJWLayers ? names[static_cast<std::size_t>(jwLayer)] : name(jwLayer);
}

int MJWCReader::GetDocumentLayer(int jwLayer) const {
    return (jwLayer >= 0 && jwLayer < kJWLayers) ? m_layerMap[static_cast<std::size_t>(jwLayer)] : -1;
}

double MJWCReader::GetUnitScale() const {
    return m_doc.GetPaperInfo().GetScale();
}

int MJWCReader::Refuse(UINT id) {
    AfxMessageBox(AfxLoadString(id), MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

int MJWCReader::Prepare(const std::string& path) {
    m_prepared = true;
    m_bytes.clear();
    MJWCPenSettings pens;
    if (!AskJWCPenSettings(pens)) return 0;
    SetPenSettings(pens);
    m_fontName = GetJWCFontName(AfxGetProfile());
    if (!ReadImportFile(path, m_bytes)) return Refuse(IDS_CANNOT_OPEN_FILE);
    if (Check(m_bytes)) return 1;
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    return 0;
}

int MJWCReader::Read(const std::string& path) {
    // One preparation serves one reading.
    const bool prepared = std::exchange(m_prepared, false);
    if (!prepared && !Prepare(path)) return 0;
    m_prepared = false;
    if (m_bytes.empty()) return 0;
    const std::string bytes = std::move(m_bytes);
    m_bytes.clear();
    Import(bytes);
    return 1;
}

int MJWCReader::ReadBytes(std::string_view bytes) {
    if (!Check(bytes)) return 0;
    Import(bytes);
    return 1;
}

bool MJWCReader::Check(std::string_view bytes) {
    const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    const std::size_t size = bytes.size();
    m_losses.Clear();

    if (size < 40 || bytes.substr(0, 20) != kSignature) return Refuse(IDS_JWC_NOT_JWC_FILE);
    const std::string_view variant = bytes.substr(20, 20);
    if (variant == kVariantFloat)
        m_variant = kFloatGroupScales;
    else if (variant == kVariantShort)
        m_variant = 0;
    else if (variant == kVariantOld)
        m_variant = kFixedPaperWidth;
    else
        return Refuse(IDS_JWC_UNKNOWN_VERSION);
    if (size < kGroupsOffset) return Refuse(IDS_CANNOT_OPEN_FILE);

    const auto tokens = jwc::SplitSettings(bytes.substr(kSettingsOffset, kBlockSize));
    const auto limit = static_cast<std::int64_t>(size);
    if (!jwc::TokenCount(tokens, 1, limit, m_lineCount) || !jwc::TokenCount(tokens, 2, limit, m_arcCount) ||
        !jwc::TokenCount(tokens, 3, limit, m_textCount) || !jwc::TokenCount(tokens, 4, limit, m_pointCount) ||
        !jwc::TokenCount(tokens, 5, static_cast<std::int64_t>(kMarkEntries) - 1, m_markCount))
        return Refuse(IDS_CANNOT_OPEN_FILE);
    if (!CheckPaper(tokens)) return false;
    const double factor = m_paperSize.m_width / m_paperWidthUnits * m_scaleDenominator;
    const double scale = 1.0 / m_scaleDenominator;

    const auto range = SplitCommas(bytes.substr(kStringRangeOffset, kBlockSize));
    m_stringStart = m_stringEnd = 0;
    if (range.size() >= 2 && ParseAddress(range[0], m_stringStart) && ParseAddress(range[1], m_stringEnd)) {
        if (m_stringEnd < m_stringStart) return Refuse(IDS_CANNOT_OPEN_FILE);
    } else if (m_textCount > 0) {
        return Refuse(IDS_CANNOT_OPEN_FILE);
    }
    const std::uint64_t stringLength = m_stringEnd - m_stringStart;

    const std::uint64_t groupScales = 16u * ((m_variant & kFloatGroupScales) ? 4u : 2u);
    const std::uint64_t linesOffset = kGroupsOffset + groupScales + kGroupFlagsSize;
    const std::uint64_t arcsOffset = linesOffset + static_cast<std::uint64_t>(m_lineCount) * kLineRecord;
    const std::uint64_t textsOffset = arcsOffset + static_cast<std::uint64_t>(m_arcCount) * kArcRecord;
    const std::uint64_t blockOffset = textsOffset + static_cast<std::uint64_t>(m_textCount) * kTextRecord;
    const std::uint64_t pointsOffset = blockOffset + stringLength;
    const std::uint64_t namesOffset = pointsOffset + static_cast<std::uint64_t>(m_pointCount) * kPointRecord;
    if (namesOffset + kLayerNamesSize > size) return Refuse(IDS_CANNOT_OPEN_FILE);

    const std::string_view block = bytes.substr(blockOffset, stringLength);
    for (std::int64_t i = 0; i < m_textCount; ++i)
        if (!CheckTextRecord(data + textsOffset + i * kTextRecord, block.size()))
            return Refuse(IDS_CANNOT_OPEN_FILE);

    const BYTE* kinds = data + kTextKindsOffset;
    for (int k = 0; k < kTextKinds; ++k) {
        m_kindColors[k] = jwc::S16(kinds + 2 * k);
        m_kindWidths[k] = jwc::S16(kinds + 22 + 2 * k) * 0.05;
        m_kindHeights[k] = jwc::S16(kinds + 44 + 2 * k) * 0.1;
        m_kindSpacings[k] = jwc::S16(kinds + 66 + 2 * k) * 0.1;
    }
    m_layout = Layout{factor,      scale,        linesOffset,  arcsOffset, textsOffset,
                      blockOffset, stringLength, pointsOffset, namesOffset};
    return true;
}

bool MJWCReader::CheckPaper(const std::vector<std::string>& tokens) {
    if (tokens.size() < 10) return Refuse(IDS_CANNOT_OPEN_FILE);
    // A scale the program cannot work with would put every shape beyond the range of numbers.
    if (!jwc::TokenNumber(tokens, 10, m_scaleDenominator) || !IsUsablePaperScale(1.0 / m_scaleDenominator)) {
        m_losses.Note(kScaleNote);
        m_scaleDenominator = 1.0;
    }
    double code = 3;
    if (jwc::TokenNumber(tokens, 12, code) && code == std::floor(code) && std::fabs(code) < 1e6)
        m_paperCode = static_cast<int>(code);
    else
        m_paperCode = 3;
    if (m_variant & kFixedPaperWidth) {
        m_paperWidthUnits = 518.0;
    } else if (!jwc::TokenNumber(tokens, 31, m_paperWidthUnits) || !(m_paperWidthUnits > 0)) {
        return Refuse(IDS_CANNOT_OPEN_FILE);
    }
    m_paperSize = GetJWCPaperSize(m_paperCode);
    // Paper millimetres per file unit, as far as a scale may go.
    if (!IsUsablePaperScale(m_paperSize.m_width / m_paperWidthUnits)) return Refuse(IDS_CANNOT_OPEN_FILE);
    return true;
}

void MJWCReader::Import(std::string_view bytes) {
    const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    const auto& [factor, scale, linesOffset, arcsOffset, textsOffset, blockOffset, stringLength, pointsOffset,
                 namesOffset] = m_layout;
    const std::string_view block = bytes.substr(blockOffset, stringLength);
    m_factor = factor;
    if (m_scaleDenominator > 1)
        m_paperScale.Set("1:" + FormatFixed(m_scaleDenominator), scale);
    else
        m_paperScale.Set(FormatFixed(1.0 / m_scaleDenominator) + ":1", scale);
    m_doc.SetPaper(m_paperSize, m_paperScale, TRUE);

    for (int i = 0; i < kJWLayers; ++i) {
        m_layerNames[static_cast<std::size_t>(i)] = DefaultLayerName(i);
        m_layerMap[static_cast<std::size_t>(i)] = -1;
    }

    for (std::int64_t k = 1; k <= m_markCount; ++k) {
        const double x = jwc::F32(data + kMarksOffset + 4 * k) * m_factor;
        const double y = jwc::F32(data + kMarksOffset + 4 * kMarkEntries + 4 * k) * m_factor;
        const int layer = data[kMarksOffset + 8 * kMarkEntries + k];
        auto mark = std::make_unique<MMarkShape>();
        mark->m_position = MFloatPoint(x, y);
        mark->m_size = 2.0;
        Deliver(std::move(mark), layer, kMarkKind);
    }
    for (std::int64_t i = 0; i < m_lineCount; ++i)
        ReadLineRecord(data + linesOffset + i * kLineRecord);
    for (std::int64_t i = 0; i < m_arcCount; ++i)
        ReadArcRecord(data + arcsOffset + i * kArcRecord);
    for (std::int64_t i = 0; i < m_textCount; ++i)
        ReadTextRecord(data + textsOffset + i * kTextRecord, block);
    for (std::int64_t i = 0; i < m_pointCount; ++i)
        ReadPointRecord(data + pointsOffset + i * kPointRecord);
    NameLayers(data + namesOffset);
    m_losses.Report(false);
}

void MJWCReader::AddShape(MCadShape* shape, int jwLayer) {
    std::unique_ptr<MCadShape> owned(shape);
    if (!shape || !shape->IsValid()) return;
    jwLayer = std::clamp(jwLayer, 0, kJWLayers - 1);
    int& target = m_layerMap[static_cast<std::size_t>(jwLayer)];
    if (target < 0) {
        int lower = jwLayer - 1;
        while (lower >= 0 && m_layerMap[static_cast<std::size_t>(lower)] < 0)
            --lower;
        const int position = lower < 0 ? 0 : m_layerMap[static_cast<std::size_t>(lower)] + 1;
        auto layer =
            std::make_unique<MLayer>(m_layerNames[static_cast<std::size_t>(jwLayer)], TRUE, TRUE, TRUE);
        const int count = m_doc.GetLayers()->GetLayerCount();
        int index;
        if (position >= count) {
            index = m_doc.AddLayer(layer.release());
        } else {
            index = m_doc.InsertLayer(position, layer.release());
            for (int& mapped : m_layerMap)
                if (mapped >= index) ++mapped;
        }
        target = index;
    }
    m_doc.AppendShape(owned.release(), target);
}

void MJWCReader::NameLayers(const BYTE* names) {
    MDocShapeArray* layers = m_doc.GetLayers();
    for (int jw = 0; jw < kJWLayers; ++jw) {
        const int index = m_layerMap[static_cast<std::size_t>(jw)];
        MLayer* layer = layers->GetLayer(index);
        if (!layer) continue;
        const int group = jw / 16, within = jw % 16;
        CString groupName = jwc::FixedName(names + 256 * 8 + 16 * group, 16);
        CString layerName = jwc::FixedName(names + 8 * jw, 8);
        if (groupName.empty()) groupName = std::to_string(group);
        if (layerName.empty()) layerName = std::to_string(within);
        const CString composed = groupName + "-" + layerName;
        CString name = composed;
        for (int counter = 1;; ++counter) {
            const int found = layers->FindLayerByName(name);
            if (found < 0 || found == index) break;
            name = composed + "-" + std::to_string(counter);
        }
        layer->SetName(name);
    }
}
