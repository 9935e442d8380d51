// The reader's front end: the import entry with the paper question, the reading loop with its
// progress dialog and the section state machine. The HEADER and the TABLES are in
// DxfReaderTables.cpp, entities and blocks in DxfReaderEntities.cpp and DxfReaderBlocks.cpp.
#include "interchange/DxfReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "document/Layer.h"
#include "document/PaperSettings.h"
#include "document/TessarayDoc.h"
#include "interchange/DxfImportUi.h"
#include "interchange/DxfReaderKeywords.h"
#include "model/helpers/ImportLosses.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "resources/ResourceIds.h"

namespace {

// Larger files are refused rather than read into memory.
constexpr std::uint64_t kMaxDxfFile = std::uint64_t{2} << 30;

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kCutShortText = "ファイルが途中で終わっています。読み込めた部分だけを開きました。";
constexpr const char* kLongLineText =
    "ファイルに長すぎる行があります。その前までに読み込めた部分だけを開きました。";
constexpr const char* kBinaryText = "バイナリ形式のDXFファイルは読み込めません。";
constexpr const char* kCrOnlyText = "改行コードが CR だけのDXFファイルは読み込めません。";
constexpr const char* kLimitsText =
    "図面範囲 ($LIMMIN, $LIMMAX) が使えない値のため、図面範囲を使わずに読み込みました。";
constexpr const char* kExpansionLimitedText =
    "ブロックの配置が多すぎるため、配置できなかったブロックがあります。";
constexpr const char* kNestingLimitedText =
    "ブロックの入れ子が深すぎるため、配置できなかったブロックがあります。";

// Section states; the values are those of the section map.
enum : int { kOutside = 0, kEof = 1, kEntities = 2, kAfterSection = 3, kUnknownSection = 4, kTables = 5 };
enum : int { kBlocks = 6, kHeader = 7 };
// How much of a file's start tells a CR-only file.
constexpr std::size_t kHeadSize = 4096;
int SectionValue(std::string_view name) {
    if (name == "HEADER") return kHeader;
    if (name == "BLOCKS") return kBlocks;
    if (name == "ENTITIES") return kEntities;
    if (name == "TABLES") return kTables;
    if (name == "ENDSEC") return kOutside;
    if (name == "EOF") return kEof;
    return kUnknownSection;
}

// Whether the line is a group code: an integer, perhaps with blanks around it.
bool ParseGroupCode(std::string_view line, int& code) {
    const std::string_view s = DxfKeyword(line);
    const std::size_t sign = !s.empty() && (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (s.size() == sign || s.find_first_not_of("0123456789", sign) != std::string_view::npos) return false;
    code = AtoI(s);
    return true;
}

// The name of a record (section, table entry, entity, object): letters, digits, '_' and '-'.
bool IsRecordName(std::string_view name) {
    bool letter = false;
    for (char c : name) {
        const bool alpha = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!alpha && !(c >= '0' && c <= '9') && c != '_' && c != '-') return false;
        letter = letter || alpha;
    }
    return letter;
}

}  // namespace

std::string_view DxfKeyword(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
        value.remove_suffix(1);
    return value;
}

double DxfReal(std::string_view value) {
    const double v = AtoF(value);
    return std::isfinite(v) ? v : 0.0;
}

MDXFReader::MDXFReader(MTessarayDoc& doc) : m_doc(doc) {
    CProfile& profile = AfxGetProfile();
    m_fontName = profile.GetProfileString("DXF", "FONT");
    if (m_fontName.empty()) {
        profile.WriteProfileString("DXF", "FONT", AfxLoadString(IDS_DEFAULT_FONT));
        m_fontName = profile.GetProfileString("DXF", "FONT");
    }
}

MDXFReader::~MDXFReader() = default;

int MDXFReader::Prepare(const std::string& path) {
    m_prepared = true;
    Form form = Form::kOther;
    try {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_size) > kMaxDxfFile)
            AfxThrowFileException(CFileException::genericException, EFBIG, path);
        // The file stays open for the reading, which takes it a piece at a time.
        m_file = std::make_unique<CFile>(path, CFile::modeRead);
        // Nothing is asked about a file that is no drawing at all.
        MDXFPairSource head(*m_file, m_pieceSize);
        form = FormOf(head);
        m_file->Seek(0, CFile::begin);
    } catch (const CFileException&) {
        form = Form::kOther;
    }
    if (form != Form::kAscii) {
        m_file.reset();
        Refuse(form);
        return 0;
    }
    MDXFImportUi* ui = GetDXFImportUi();
    if (!ui) return 1;
    m_keptOrigin = m_doc.GetOrigin();
    SetDefaultPaper(m_doc.GetPaperInfo());
    const int result = ui->RunPaperDialog(m_doc);
    m_autoScale = 0;
    if (result == IDCANCEL) return 0;
    if (result != IDOK) return 1;
    m_paperChosen = true;
    const int answer = AfxMessageBox(IDS_DXF_AUTO_SCALE, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return 0;
    if (answer == IDYES) m_autoScale = 1;
    return 1;
}

int MDXFReader::Read(const std::string& path) {
    if (!m_prepared && !Prepare(path)) return 0;
    if (m_paperChosen) {
        m_doc.SetPaper(GetDefaultPaperSize(), GetDefaultPaperScale(), GetDefaultPaper().horizontal);
        m_doc.SetOrigin(m_keptOrigin);
    }
    std::unique_ptr<CFile> file = std::move(m_file);
    if (!file) {
        // Prepare did not keep the file (it refused it, or the caller reads on after a Cancel).
        file = std::make_unique<CFile>();
        if (!file->Open(path, CFile::modeRead)) {
            AfxMessageBox(IDS_CANNOT_OPEN_FILE, MB_OK | MB_ICONEXCLAMATION);
            return 0;
        }
    }
    {
        MDXFPairSource check(*file, m_pieceSize);
        if (const Form form = FormOf(check); form != Form::kAscii) {
            Refuse(form);
            return 0;
        }
    }
    file->Seek(0, CFile::begin);
    MDXFPairSource source(*file, m_pieceSize);
    return ReadPairs(source);
}

bool MDXFReader::LooksLikeDxf(std::string_view bytes) {
    MDXFPairSource source(bytes);
    return LooksLikeDxf(source);
}

bool MDXFReader::LooksLikeDxf(MDXFPairSource& source) {
    source.Skip(kByteOrderMark);
    std::string_view codeLine, value;
    // A few hundred pairs are enough: writers open with comments, then a section.
    for (int pairs = 0; pairs < 256; ++pairs) {
        const int lines = source.NextPair(codeLine, value);
        if (lines == 0) return pairs > 0;
        int code = 0;
        if (!ParseGroupCode(codeLine, code) || lines == 1) return false;
        if (code == 0) {
            const std::string_view name = DxfKeyword(value);
            return name == "SECTION" || name == "EOF";
        }
    }
    return true;
}

MDXFReader::Form MDXFReader::FormOf(MDXFPairSource& source) {
    if (source.StartsWith(kBinarySentinel)) return Form::kBinary;
    std::string head(source.Peek(kHeadSize));
    if (LooksLikeDxf(source)) return Form::kAscii;
    if (head.find('\n') != std::string::npos || head.find('\r') == std::string::npos) return Form::kOther;
    std::replace(head.begin(), head.end(), '\r', '\n');
    return LooksLikeDxf(head) ? Form::kCrOnly : Form::kOther;
}

void MDXFReader::Refuse(Form form) {
    if (form == Form::kBinary)
        AfxMessageBox(kBinaryText, MB_OK | MB_ICONEXCLAMATION);
    else if (form == Form::kCrOnly)
        AfxMessageBox(kCrOnlyText, MB_OK | MB_ICONEXCLAMATION);
    else
        AfxMessageBox(IDS_CANNOT_OPEN_FILE, MB_OK | MB_ICONEXCLAMATION);
}

int MDXFReader::ReadBytes(std::string_view bytes) {
    MDXFPairSource check(bytes);
    if (const Form form = FormOf(check); form != Form::kAscii) {
        Refuse(form);
        return 0;
    }
    MDXFPairSource source(bytes);
    return ReadPairs(source);
}

int MDXFReader::ReadPairs(MDXFPairSource& source) {
    if (source.Skip(kByteOrderMark)) m_encoding.SetCodePage("UTF8");
    m_paperScale = m_doc.GetPaperInfo().GetScale();

    // Layers already in the document are found by name like the ones the tables add.
    m_layerIndex.clear();
    m_lastLayerIndex = -1;
    MDocShapeArray* layers = m_doc.GetLayers();
    for (int i = layers->GetLayerCount() - 1; i >= 0; --i)
        m_layerIndex[layers->GetLayer(i)->GetName()] = i;

    int result = 0;
    try {
        result = ReadLoop(source);
    } catch (...) {
        // What was read stays, as after a normal end; the caller reports the failure.
        m_polyline.reset();
        DropPlaceholders();
        FinishLayers(false);
        throw;
    }
    if (result) ReportLosses();
    return result;
}

int MDXFReader::ReadLoop(MDXFPairSource& source) {
    std::unique_ptr<MDXFReadProgress> ownProgress;
    MDXFReadProgress* progress = m_externalProgress;
    if (!progress) {
        if (MDXFImportUi* ui = GetDXFImportUi()) {
            ownProgress = ui->CreateProgress();
            progress = ownProgress.get();
        }
    }

    m_sectionState = kOutside;
    m_tableState = kDxfBetweenTables;
    m_blockState = 2;
    ResetGroupStore(true);
    m_lineTypes["BYBLOCK"] = kByBlockLineStyle;
    ForgetLayerTables();

    std::optional<MDXFImportPumpScope> pumping;
    if (progress) pumping.emplace();

    bool cancelled = false;
    bool sawEnd = false;
    std::string_view codeLine, value;
    std::size_t pairs = 0;
    for (int counter = 1; m_sectionState != kEof; ++counter, ++pairs) {
        if (source.NextPair(codeLine, value) != 2) break;
        int code = 0;
        if (!ParseGroupCode(codeLine, code) || (code == 0 && !IsRecordName(DxfKeyword(value)))) {
            // A line lost or added puts values where codes belong: lines are passed over one at a
            // time until codes and values pair up again, so that no value is taken for a record.
            source.RereadValue();
            ++m_unreadLines;
            continue;
        }
        if (progress && counter % kProgressInterval == 1) {
            progress->PumpMessages();
            progress->SetText("Reading..." + std::to_string(counter));
            if (progress->IsCancelled()) {
                cancelled = true;
                break;
            }
        }
        HandleSection(code, value);
        if (code == 0 && m_sectionState == kOutside && DxfKeyword(value) == "EOF") sawEnd = true;
    }
    if (m_sectionState == kEof) sawEnd = true;
    ownProgress.reset();
    pumping.reset();

    m_polyline.reset();
    m_vertices.clear();
    // A file that stops inside a section, or before its end mark, was cut short.
    m_cutShort = !cancelled && !sawEnd;
    m_longLine = source.HitLongLine();
    // Limits that far out would move the drawing out of the range of numbers when it is fitted.
    const MFloatRect& l = m_limits;
    if (!(std::max({std::fabs(l.left), std::fabs(l.right), std::fabs(l.top), std::fabs(l.bottom)}) <=
          kMaxReach)) {
        m_limitsRefused = true;
        m_extentsValid = 0;
    }
    m_expansionBudget = std::min(m_expansionLimit, std::max(kMinExpansion, pairs * kExpansionPerPair));
    if (cancelled)
        DropPlaceholders();
    else
        ResolvePlacements();
    FinishLayers(cancelled);
    return cancelled ? 0 : 1;
}

void MDXFReader::ReportLosses() {
    MImportLosses losses;
    if (m_cutShort) losses.Note(m_longLine ? kLongLineText : kCutShortText);
    if (m_unreadLines > 0)
        losses.Note("読めない行 (" + std::to_string(m_unreadLines) + "行) は読み飛ばしました。");
    if (m_unendedBlocks > 0)
        losses.Note("ENDBLK のないブロック (" + std::to_string(m_unendedBlocks) +
                    "個) は、次のブロックかセクションまでを読み込みました。");
    if (m_expansionLimited) losses.Note(kExpansionLimitedText);
    if (m_nestingLimited) losses.Note(kNestingLimitedText);
    if (m_arcsCut > 0)
        losses.Note("円弧が多すぎるため、一部の円弧 (" + std::to_string(m_arcsCut) +
                    "個) は少ない点で読み込みました。");
    if (m_textsCut) losses.Note(kTextsCutNote);
    if (m_limitsRefused) losses.Note(kLimitsText);
    for (const auto& [kind, count] : m_skipped)
        losses.Drop(kind, count);
    losses.Report(m_cutShort || m_unreadLines > 0 || m_expansionLimited || m_nestingLimited || m_arcsCut > 0);
}

void MDXFReader::FinishLayers(bool cancelled) {
    MDocShapeArray* layers = m_doc.GetLayers();
    for (int i = layers->GetLayerCount() - 1; i >= 0; --i) {
        if (!cancelled && layers->GetLayer(i)->GetSize() > 0) continue;
        delete m_doc.RemoveLayer(i, FALSE);
    }
    m_layerIndex.clear();
    m_lastLayerIndex = -1;
    if (layers->GetLayerCount() == 0) m_doc.AddNewLayer();
}

void MDXFReader::ResetGroupStore(bool clearKind) {
    GroupStore& s = m_store;
    s.layer = "UNKNOWN";
    if (clearKind) m_entityKind = 0;
    s.color = 256;
    s.text.clear();
    s.chunks.clear();
    s.name.clear();
    s.rawName.clear();
    s.lineType.clear();
    s.style.clear();
    s.d40 = 0.0;
    s.i70 = s.i71 = s.i72 = s.i73 = 0;
    s.vertexFlags = 0;
    s.bulge = 0.0;
    s.extrusion[0] = s.extrusion[1] = 0.0;
    s.extrusion[2] = 1.0;
    s.elevation = 0.0;
    s.embedded = false;
    s.a50 = s.a51 = 0.0;
    s.d41 = s.d42 = 1.0;
    s.d44 = s.d45 = 0.0;
    s.has41 = false;
}

void MDXFReader::StoreGroup(int code, std::string_view value) {
    GroupStore& s = m_store;
    switch (code) {
        case 1:
            s.text.assign(value);
            break;
        case 2:
            s.rawName = m_encoding.Decode(value);
            s.name = DecodeDxfPercentCodes(s.rawName);
            break;
        case 3:
            // An MTEXT of more chunks than a text shape takes keeps what it can use.
            if (s.chunks.size() < MDXFPairSource::kMaxLine)
                s.chunks.append(value);
            else
                m_textsCut = true;
            break;
        case 6:
            s.lineType = DecodeDxfPercentCodes(m_encoding.Decode(value));
            break;
        case 7:
            s.style = m_encoding.Decode(value);
            break;
        case 8:
            s.layer = m_encoding.Decode(value);
            break;
        case 9:
            s.variable.assign(DxfKeyword(value));
            break;
        case 10:
            s.points[0].x = DxfReal(value);
            m_list10.push_back(s.points[0].x);
            break;
        case 20:
            s.points[0].y = DxfReal(value);
            m_list20.push_back(s.points[0].y);
            break;
        case 11:
        case 12:
        case 13:
        case 14:
        case 15:
            s.points[code - 10].x = DxfReal(value);
            if (code == 11) s.hasPoint1 = true;
            if (code == 13) s.hasPoint3 = true;
            break;
        case 21:
        case 22:
        case 23:
        case 24:
        case 25:
            s.points[code - 20].y = DxfReal(value);
            if (code == 21) s.hasPoint1 = true;
            if (code == 23) s.hasPoint3 = true;
            break;
        case 40:
            s.d40 = DxfReal(value);
            break;
        case 41:
            s.d41 = DxfReal(value);
            s.has41 = true;
            break;
        case 42:
            s.d42 = DxfReal(value);
            s.bulge = s.d42;
            // An LWPOLYLINE gives each vertex's bulge after its point.
            if (m_entityKind == kDxfLwPolyline && !m_list10.empty()) {
                m_bulges.resize(m_list10.size(), 0.0);
                m_bulges.back() = s.bulge;
            }
            break;
        case 44:
            s.d44 = DxfReal(value);
            break;
        case 45:
            s.d45 = DxfReal(value);
            break;
        case 30:
        case 38:
            s.elevation = DxfReal(value);
            break;
        case 210:
        case 220:
        case 230:
            s.extrusion[(code - 210) / 10] = DxfReal(value);
            break;
        // Whole turns are dropped: far from zero a turn is below the resolution of a double, and
        // an arc could never find its end angle past its start.
        case 50:
            s.a50 = std::fmod(DxfReal(value), 360.0) * kPi / 180.0;
            break;
        case 51:
            s.a51 = std::fmod(DxfReal(value), 360.0) * kPi / 180.0;
            break;
        case 62:
            s.color = AtoI(value);
            break;
        case 70:
            s.i70 = AtoI(value);
            if (m_entityKind == kDxfVertex) s.vertexFlags = s.i70;
            break;
        case 71:
            s.i71 = AtoI(value);
            break;
        case 72:
            s.i72 = AtoI(value);
            break;
        case 73:
            s.i73 = AtoI(value);
            break;
        default:
            break;
    }
}

void MDXFReader::HandleSection(int code, std::string_view value) {
    const std::string_view keyword = code == 0 ? DxfKeyword(value) : std::string_view();
    const bool inSection = m_sectionState == kEntities || m_sectionState > kAfterSection;
    if (inSection && (keyword == "SECTION" || keyword == "EOF")) {
        // The section's ENDSEC is missing: it ends here, and what follows is read.
        HandleSection(0, "ENDSEC");
    }
    switch (m_sectionState) {
        case kOutside:
            if (keyword == "SECTION") {
                m_sectionState = kAfterSection;
                ResetGroupStore(true);
            }
            return;
        case kAfterSection:
            if (code == 999) return;  // a comment
            m_sectionState = code == 2 ? SectionValue(DxfKeyword(value)) : kUnknownSection;
            return;
        case kHeader:
            HandleHeader(code, value);
            break;
        case kTables:
            HandleTables(code, value);
            break;
        case kBlocks:
            HandleBlocks(code, value);
            break;
        case kEntities:
            HandleEntities(code, value);
            break;
        default:
            break;
    }
    if (keyword == "ENDSEC") m_sectionState = kOutside;
}
