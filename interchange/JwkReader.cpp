#include "interchange/JwkReader.h"

#include <algorithm>
#include <cmath>

#include "document/parts/CadParts.h"
#include "interchange/JwcFileIo.h"
#include "interchange/JwcReader.h"
#include "model/CadView.h"
#include "model/PaperInfo.h"
#include "model/shapes/containers/GroupShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"

namespace {
constexpr std::string_view kPartsSignature = "jw_cad(c)sym........";
constexpr std::size_t kRecordsOffset = 400;
// The reference codes place the base point across the part's extent (4 and 92 its edges); far past
// them it would leave the range of numbers.
constexpr double kMaxReference = 1e6;
constexpr const char* kReferenceNote = "基準点が使えない値のため、既定の位置にしました。";
}  // namespace

MJWKReader::MJWKReader() = default;

MJWKReader::~MJWKReader() = default;

int MJWKReader::Refuse(UINT id) {
    AfxMessageBox(AfxLoadString(id), MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

int MJWKReader::Read(const std::string& path) {
    m_group.reset();
    std::string bytes;
    if (!ReadImportFile(path, bytes)) return Refuse(IDS_CANNOT_OPEN_FILE);
    return ReadBytes(bytes);
}

int MJWKReader::ReadBytes(std::string_view bytes) {
    m_group.reset();
    m_losses.Clear();
    const auto* data = reinterpret_cast<const BYTE*>(bytes.data());
    const std::size_t size = bytes.size();
    if (size < 20 || bytes.substr(0, 20) != kPartsSignature) return Refuse(IDS_JWK_NOT_JWK_FILE);
    if (size < kRecordsOffset) return Refuse(IDS_CANNOT_OPEN_FILE);

    // The settings line ends at its first missing value; what is missing stays 0 (or 1 for the
    // scale).
    const auto tokens = jwc::SplitSettings(bytes.substr(kBlockSize, kBlockSize));
    const auto limit = static_cast<std::int64_t>(size);
    // Values 1-4 counts, 5 and 6 the reference position, 8 the string block's length, 9 the scale
    // denominator; 7 is not used.
    int present = 0;
    double values[10] = {};
    while (present < 9 && jwc::TokenNumber(tokens, present + 1, values[present + 1]))
        ++present;
    std::int64_t counts[4] = {0, 0, 0, 0};  // lines, arcs, points, texts
    for (int n = 1; n <= std::min(present, 4); ++n)
        if (!jwc::TokenCount(tokens, n, limit, counts[n - 1])) return Refuse(IDS_CANNOT_OPEN_FILE);
    std::int64_t stringLength = 0;
    if (present >= 8 && !jwc::TokenCount(tokens, 8, limit, stringLength)) return Refuse(IDS_CANNOT_OPEN_FILE);
    m_lineCount = counts[0];
    m_arcCount = counts[1];
    m_pointCount = counts[2];
    m_textCount = counts[3];

    const std::uint64_t linesOffset = kRecordsOffset;
    const std::uint64_t arcsOffset = linesOffset + static_cast<std::uint64_t>(m_lineCount) * kLineRecord;
    const std::uint64_t pointsOffset = arcsOffset + static_cast<std::uint64_t>(m_arcCount) * kArcRecord;
    const std::uint64_t textsOffset = pointsOffset + static_cast<std::uint64_t>(m_pointCount) * kPointRecord;
    const std::uint64_t blockOffset = textsOffset + static_cast<std::uint64_t>(m_textCount) * kTextRecord;
    if (blockOffset + static_cast<std::uint64_t>(stringLength) > size) return Refuse(IDS_CANNOT_OPEN_FILE);
    m_stringStart = 0;
    m_stringEnd = static_cast<std::uint32_t>(std::min<std::int64_t>(stringLength, 0xFFFFFFFF));
    const std::string_view block = bytes.substr(blockOffset, static_cast<std::size_t>(stringLength));
    for (std::int64_t i = 0; i < m_textCount; ++i)
        if (!CheckTextRecord(data + textsOffset + i * kTextRecord, block.size()))
            return Refuse(IDS_CANNOT_OPEN_FILE);

    TakePlacement(values, present, tokens.size());
    for (std::int64_t i = 0; i < m_lineCount; ++i)
        ReadLineRecord(data + linesOffset + i * kLineRecord);
    for (std::int64_t i = 0; i < m_arcCount; ++i)
        ReadArcRecord(data + arcsOffset + i * kArcRecord);
    for (std::int64_t i = 0; i < m_pointCount; ++i)
        ReadPointRecord(data + pointsOffset + i * kPointRecord);
    for (std::int64_t i = 0; i < m_textCount; ++i)
        ReadTextRecord(data + textsOffset + i * kTextRecord, block);
    m_losses.Report(false);
    return 1;
}

void MJWKReader::TakePlacement(const double* values, int present, std::size_t given) {
    m_refX = present >= 5 ? values[5] : 0.0;
    m_refY = present >= 6 ? values[6] : 0.0;
    if (std::fabs(m_refX) > kMaxReference || std::fabs(m_refY) > kMaxReference) {
        m_losses.Note(kReferenceNote);
        m_refX = m_refY = 0.0;
    }
    // A scale that is given yet cannot be used, also one the values before it kept from being
    // read, is 1:1.
    double denominator = present >= 9 ? values[9] : 1.0;
    if ((present < 9 && given >= 9) || !IsUsablePaperScale(1.0 / denominator)) {
        m_losses.Note(kScaleNote);
        denominator = 1.0;
    }
    m_unitScale = 1.0 / denominator;
}

void MJWKReader::AddShape(MCadShape* shape, int) {
    std::unique_ptr<MCadShape> owned(shape);
    if (!shape || !shape->IsValid()) return;
    if (!m_group) m_group = std::make_unique<MGroupShape>();
    m_group->AddShape(owned.release());
}

MCadParts* MJWKReader::CreateParts(MCadView* view, const CString& name) {
    if (!m_group) return nullptr;
    MPaperInfo paper = (view && view->GetPaperInfo()) ? *view->GetPaperInfo() : MPaperInfo();
    paper.SetScale(paper.GetScaleInfo().m_name, 1.0);
    MCadView partView(&paper);
    m_group->Recalc(&partView);
    const MFloatRect& e = m_group->GetExtent();
    const double c = std::max(e.GetWidth(), e.GetHeight());
    m_group->SetBasePoint(MFloatPoint(e.left + c * (m_refX - 4) / 88, e.bottom + c * (m_refY - 4) / 88));
    std::unique_ptr<MCadShape> copy(m_group->Duplicate());
    return new MCadParts(&partView, name, copy.release(), 1, m_unitScale);
}
