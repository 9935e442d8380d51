// The native drawing file (".qfd") and the routing of opening and saving by extension.
#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <istream>
#include <ostream>

#include "document/DocumentTool.h"
#include "document/DocumentView.h"
#include "document/Interchange.h"
#include "document/MirrorOStream.h"
#include "document/PaperSettings.h"
#include "document/TessarayDoc.h"
#include "document/ToolSettings.h"
#include "model/helpers/AsciiText.h"
#include "model/helpers/TextStream.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/TextReadLosses.h"
#include "platform/Cp932.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "resources/ResourceIds.h"

namespace {

constexpr char kTextSignature[] = "$$TessarayText$$";  // IDS_TEXT_SIGNATURE
constexpr std::size_t kSignatureLength = 16;
constexpr const char* kCharactersReplacedText =
    "ファイルに書けない文字を「?」に置き換えて保存しました。図面の文字はそのままです。";
constexpr const char* kEndedEarlyText = "は途中で終わっています。";
constexpr const char* kOpenedUntitledText = "読み込めた部分を無題の図面として開きました。";
// A drawing larger than this is refused rather than read into memory.
constexpr std::uint64_t kMaxDrawingFile = 1ull << 30;

enum SectionCode { kNoSection = 0, kPaper, kOrigin, kGrid, kTool, kTools, kLayers, kLayer, kEof };

SectionCode SectionOf(std::string_view name) {
    static constexpr struct {
        const char* name;
        SectionCode code;
    } kSections[] = {{"PAPER", kPaper}, {"ORIGIN", kOrigin}, {"GRID", kGrid},   {"TOOL", kTool},
                     {"TOOLS", kTools}, {"LAYERS", kLayers}, {"LAYER", kLayer}, {"EOF", kEof}};
    for (const auto& s : kSections)
        if (name == s.name) return s.code;
    return kNoSection;
}

std::string UpperExtension(const std::string& path) {
    return AsciiUpper(PathExtension(path));
}

// One value line, parsed on its own so that a missing value never consumes the next line. False
// when the next line is a section line or the stream has ended.
bool ReadValueLine(std::istream& is, std::string& line) {
    const int c = is.peek();
    if (c == '[' || c == std::char_traits<char>::eof()) return false;
    line = ReadTextLine(is);
    return !is.bad();
}

bool ReadTwoDoubles(std::istream& is, double& a, double& b) {
    std::string line;
    if (!ReadValueLine(is, line)) return false;
    TextInput values(line);
    double x = 0.0, y = 0.0;
    if (!(values >> x >> y)) return false;
    a = x;
    b = y;
    return true;
}

// The lines up to the next section line, as they stand.
std::string CaptureSectionBody(std::istream& is) {
    std::string body;
    std::string line;
    while (is.good()) {
        const int c = is.peek();
        if (c == '[' || c == std::char_traits<char>::eof()) break;
        if (!std::getline(is, line)) break;
        body += line;
        body += '\n';
    }
    return body;
}

}  // namespace

// The tool sections are kept as text and applied only when the whole file has been read, since
// they change program-wide values.
struct MTessarayDoc::ToolText {
    bool toolArray;
    std::string body;
};

struct MTessarayDoc::Content {
    std::unique_ptr<MDocShapeArray> layers = std::make_unique<MDocShapeArray>();
    MPaperInfo paper;
    MFloatPoint origin;
    double gridX = 1000.0;
    double gridY = 1000.0;
    bool hasCurrent = false;  // a [LAYERS] header gave the current layer
    bool sawEnd = false;      // the "[EOF]" line: a file without it was cut short
    std::vector<ToolText> tools;
    MTextReadLosses losses;
};

void MTessarayDoc::ReportCharactersReplaced() {
    AfxMessageBox(kCharactersReplacedText, MB_OK | MB_ICONINFORMATION);
}

void MTessarayDoc::ReportCutShort(const std::string& path) {
    AfxMessageBox("\"" + path + "\"" + kEndedEarlyText + kOpenedUntitledText, MB_OK | MB_ICONEXCLAMATION);
}

void MTessarayDoc::ReportRead(const std::string& path, bool cutShort, const MTextReadLosses& losses) {
    if (losses.IsEmpty()) {
        if (cutShort) ReportCutShort(path);
        return;
    }
    const bool untitled = cutShort || losses.LeftOut();
    std::string text = "\"" + path + "\"" + (cutShort ? kEndedEarlyText : "") + "\n\n" + losses.GetText();
    if (untitled) text += std::string("\n\n") + kOpenedUntitledText;
    AfxMessageBox(text, MB_OK | (untitled ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
}

std::string MTessarayDoc::FileErrorText(int error) {
    if (error == 0) return AfxLoadString(IDS_CANNOT_OPEN_FILE);
    UINT id = IDS_FILE_FAILED;
    switch (error) {
        case EACCES:
        case EPERM:
            id = IDS_FILE_NO_PERMISSION;
            break;
        case ENOSPC:
        case EDQUOT:
            id = IDS_FILE_NO_SPACE;
            break;
        case ENOENT:
        case ENOTDIR:
            id = IDS_FILE_NOT_FOUND;
            break;
        case EROFS:
            id = IDS_FILE_READ_ONLY;
            break;
        case EFBIG:
            id = IDS_FILE_TOO_LARGE;
            break;
        case ENOMEM:
            id = IDS_EXCEPTION_MEMORY;
            break;
        case ENOTSUP:
            id = IDS_EXCEPTION_NOT_SUPPORTED;
            break;
        default:
            break;
    }
    // The system's own words (English on most systems) only as the detail.
    return AfxLoadString(id) + "\n\n" + Cp932Cut(std::strerror(error), 128);
}

void MTessarayDoc::ReportFileError(int error) {
    AfxMessageBox(FileErrorText(error), MB_OK | MB_ICONEXCLAMATION);
}

// ---- Reading ------------------------------------------------------------------------------------

void MTessarayDoc::ReadSections(std::istream& is, Content& c) {
    ResetTextNesting();
    MTextReadLosses::Scope losses(c.losses);
    int toolVersion = 0;
    while (!is.bad() && !is.eof()) {
        const int next = is.peek();
        if (next == std::char_traits<char>::eof()) break;
        if (next == '#') {
            SkipTextLine(is);
            continue;
        }
        SectionCode code = kNoSection;
        bool headerRead = false;
        if (next == '[') {
            const std::string header = ReadTextLine(is);
            headerRead = true;
            const std::string_view line(header);
            const auto close = line.find(']');
            code = SectionOf(
                line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        }
        switch (code) {
            case kPaper:
                c.paper.ReadText(is);
                break;
            case kOrigin: {
                double x = 0.0, y = 0.0;
                if (ReadTwoDoubles(is, x, y) && std::isfinite(x) && std::isfinite(y))
                    c.origin = MFloatPoint(x, y);
                break;
            }
            case kGrid: {
                // A pitch the grid cannot use falls back to the default.
                double x = 0.0, y = 0.0;
                if (ReadTwoDoubles(is, x, y)) {
                    c.gridX = std::isfinite(x) && x > 0 ? x : GetDefaultPaper().gridWidth;
                    c.gridY = std::isfinite(y) && y > 0 ? y : GetDefaultPaper().gridHeight;
                }
                break;
            }
            case kTool: {
                std::string line;
                int version = 0;
                if (ReadValueLine(is, line)) {
                    TextInput value(line);
                    short v = 0;
                    if (value >> v) version = v;
                }
                toolVersion = version;
                if (toolVersion == 1) c.tools.push_back({false, CaptureSectionBody(is)});
                break;
            }
            case kTools:
                // Another version's body is skipped line by line below.
                if (toolVersion == 1) c.tools.push_back({true, CaptureSectionBody(is)});
                break;
            case kLayers:
                c.layers->ReadLayersHeader(this, is);
                c.hasCurrent = true;
                break;
            case kLayer: {
                auto layer = std::make_unique<MLayer>();
                layer->ReadText(this, is);
                c.layers->AddLayer(layer.release());
                break;
            }
            case kEof:
                c.sawEnd = true;
                break;
            case kNoSection:
                // The header line of an unknown section has been read already: the next line may
                // open a known section.
                if (!headerRead) SkipTextLine(is);
                break;
        }
        if (is.fail() && !is.bad() && !is.eof()) {
            is.clear();
            errno = 0;
            SkipTextLine(is);
        }
    }
}

void MTessarayDoc::Adopt(Content& c) {
    // The layers read are appended (recorded when a pack is open), as each "[LAYER]" section is.
    MLayerArray& read = c.layers->GetLayers();
    for (int i = 0; i < read.GetSize(); ++i) {
        auto* layer = static_cast<MLayer*>(read.GetAt(i));
        read.SetAt(i, nullptr);
        const int index = m_layers->AddLayer(layer);
        if (m_openPack) m_openPack->RecordInsert(layer, index);
    }
    read.RemoveAll();
    if (c.hasCurrent) m_layers->m_current = c.layers->m_current;
    m_paper = c.paper;
    m_origin = c.origin;
    m_gridX = c.gridX;
    m_gridY = c.gridY;
    for (const ToolText& t : c.tools) {
        TextInput in(t.body);
        if (!t.toolArray)
            ReadCommonToolSettings(in);
        else if (MDocumentToolArray* tools = GetDocumentToolArray())
            tools->LoadSettings(in);
    }
    // The rest of the program expects a layer to draw into and a current index inside the list.
    if (m_layers->GetLayerCount() == 0) AddNewLayer();
    m_layers->ClampCurrent();
    MarkModified();
}

BOOL MTessarayDoc::ReadTextSections(std::istream& is) {
    Content c;
    c.paper = m_paper;
    c.origin = m_origin;
    c.gridX = m_gridX;
    c.gridY = m_gridY;
    ReadSections(is, c);
    Adopt(c);
    return TRUE;
}

BOOL MTessarayDoc::OnOpenDocument(const std::string& path) {
    m_fitOnFirstUpdate = 0;
    errno = 0;
    switch (ImportByExtension(path)) {
        case kImported:
            SetModifiedFlag(FALSE);
            SetImported(1);
            return TRUE;
        case kImportFailed:
            // The reader has told the user why. The previous drawing is gone already, so what is
            // left becomes an untitled drawing that can never be saved over the previous file.
            ClearPathName();
            SetModifiedFlag(FALSE);
            return FALSE;
        case kImportRefused:
            return FALSE;
        case kNotAnImport:
            break;
    }

    std::vector<BYTE> bytes;
    try {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_size) > kMaxDrawingFile) {
            ReportFileError(EFBIG);
            return FALSE;
        }
        bytes = ReadWholeFile(path);
    } catch (const CFileException& e) {
        ReportFileError(e.m_lOsError);
        return FALSE;
    } catch (const std::bad_alloc&) {
        ReportFileError(ENOMEM);
        return FALSE;
    }

    return OpenNativeBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), path);
}

BOOL MTessarayDoc::OpenNativeBytes(std::string_view bytes, const std::string& path) {
    if (bytes.empty()) {
        // An empty file opens as a new drawing under its name.
        DeleteContents();
        OnNewDocument();
        SetPathName(path, TRUE);
        SetModifiedFlag(FALSE);
        return TRUE;
    }
    const std::string_view signature = bytes.substr(0, kSignatureLength);
    if (signature != kTextSignature) {
        // Also the archive signature "$$TessarayFile$$" (string 62677): no archive form of the
        // document exists, and opening such a file empty would invite saving over it.
        AfxMessageBox(AfxFormatString1(IDS_WRONG_FILE_TYPE, path), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }

    try {
        TextInput is(DecodeTextFile(bytes));
        SkipTextLine(is);  // the rest of the signature line
        std::string version;
        ReadValueLine(is, version);  // any version is accepted

        // The file is read aside; the current drawing goes only when the reading has succeeded.
        Content c;
        c.paper = m_paper;
        c.origin = m_origin;
        c.gridX = m_gridX;
        c.gridY = m_gridY;
        ReadSections(is, c);
        if (is.bad()) {
            ReportFileError(errno);
            return FALSE;
        }
        DeleteContents();
        Adopt(c);
        // An earlier import's flag would make this drawing untitled and keep it out of the recent
        // files. A file cut short, or one the reader left something of out, opens untitled the same
        // way: saving must not put the part that was read in place of the whole file.
        SetImported(c.sawEnd && !c.losses.LeftOut() ? 0 : 1);
        ReportRead(path, !c.sawEnd, c.losses);
    } catch (const std::bad_alloc&) {
        ReportFileError(ENOMEM);
        return FALSE;
    } catch (const CException&) {
        ReportFileError(0);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void MTessarayDoc::ResetForImport() {
    DeleteContents();
    CDocument::OnNewDocument();
    m_paper.SetOriginPosition(MPaperInfo::kOriginBottomLeft);
    m_openPack.reset();
    DeleteContents();
}

MTessarayDoc::ImportResult MTessarayDoc::ImportByExtension(const std::string& path) {
    const std::string ext = UpperExtension(path);
    MInterchangeFormat format;
    if (ext == ".XDF")
        format = MInterchangeFormat::kXdf;
    else if (ext == ".DXF")
        format = MInterchangeFormat::kDxf;
    else if (ext == ".JWC")
        format = MInterchangeFormat::kJwc;
    else
        return kNotAnImport;
    MInterchangeFactory* factory = GetInterchangeFactory();
    if (!factory) return kNotAnImport;
    std::unique_ptr<MDocumentReader> reader = factory->CreateReader(format, *this);
    if (!reader) return kNotAnImport;
    // A file the reader refuses, or an import the user cancels, leaves the open drawing as it is.
    try {
        if (!reader->Prepare(path)) return kImportRefused;
    } catch (const std::bad_alloc&) {
        ReportFileError(ENOMEM);
        return kImportRefused;
    }

    ResetForImport();
    int ok = 0;
    try {
        ok = reader->Read(path);
        if (ok && format == MInterchangeFormat::kDxf) {
            m_fitOnFirstUpdate = reader->GetFitOnFirstUpdate();
            m_importedExtentsValid = reader->GetExtentsValid();
            m_importedExtents = reader->GetExtents();
        }
    } catch (const std::bad_alloc&) {
        ReportFileError(ENOMEM);
    } catch (const CException&) {
        ReportFileError(0);
    }
    if (m_layers->GetLayerCount() == 0) AddNewLayer();
    m_layers->ClampCurrent();
    return ok ? kImported : kImportFailed;
}

// ---- Writing ------------------------------------------------------------------------------------

void MTessarayDoc::WriteHeaderSections(std::ostream& os) {
    os << kTextSignature << "\n1\n[PAPER]\n";
    m_paper.WriteText(os);
    os << "[ORIGIN]\n\t" << m_origin.x << ' ' << m_origin.y << "\n[GRID]\n\t" << m_gridX << ' ' << m_gridY
       << '\n';
}

void MTessarayDoc::WriteToolSections(std::ostream& os) {
    os << "[TOOL]\n\t1\n";
    WriteCommonToolSettings(os);
    os << "[TOOLS]\n";
    if (const MDocumentToolArray* tools = GetDocumentToolArray())
        tools->SaveSettings(os);
    else
        os << "\t0\n";
}

void MTessarayDoc::WriteLayerSections(std::ostream& os) {
    os << "[LAYERS]\n";
    m_layers->WriteText(this, os);
}

void MTessarayDoc::WriteText(std::ostream& os) {
    const std::streamsize precision = os.precision(15);
    ResetTextNesting();
    WriteHeaderSections(os);
    WriteToolSections(os);
    WriteLayerSections(os);
    os << "[EOF]\n";
    os.precision(precision);
}

BOOL MTessarayDoc::WriteTextDocument(const std::string& path) {
    SetBinaryBlockCompression(GetOptionRecord().m_saveCompress != 0);
    ResetTextNesting();
    MMirrorOStream out;
    out.Open(path, GetOptionRecord().m_saveBackupMode);
    out.precision(15);
    const auto failed = [&out] {
        if (!out.fail()) return false;
        out.Close();  // removes the temporary file; the target stays as it was
        ReportFileError(out.GetError() ? out.GetError() : EIO);
        return true;
    };
    if (failed()) return FALSE;
    try {
        WriteHeaderSections(out);
        if (failed()) return FALSE;
        WriteToolSections(out);
        if (failed()) return FALSE;
        WriteLayerSections(out);
        if (failed()) return FALSE;
        out << "[EOF]\n";
    } catch (const std::bad_alloc&) {
        out.setstate(std::ios::badbit);
        out.Close();
        ReportFileError(ENOMEM);
        return FALSE;
    } catch (const CException&) {
        out.setstate(std::ios::badbit);
        out.Close();
        ReportFileError(EIO);
        return FALSE;
    }
    // Closing replaces the target; a failure there (a full disk, a refused rename) is a failed save.
    if (!out.Close()) {
        ReportFileError(out.GetError() ? out.GetError() : EIO);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    SetImported(0);
    // The drawing keeps those characters; only the file lost them.
    if (out.GetReplacedCount() > 0) ReportCharactersReplaced();
    return TRUE;
}

BOOL MTessarayDoc::OnSaveDocument(const std::string& path) {
    const std::string ext = UpperExtension(path);
    if (ext == ".EMF") {
        if (auto* view = dynamic_cast<MDocumentView*>(GetFirstView())) return view->ExportMetafile(path);
        ReportFileError(ENOTSUP);
        return FALSE;
    }
    if (ext == ".DXF" || ext == ".JWC") {
        MInterchangeFactory* factory = GetInterchangeFactory();
        std::unique_ptr<MDocumentWriter> writer =
            factory ? factory->CreateWriter(
                          ext == ".DXF" ? MInterchangeFormat::kDxf : MInterchangeFormat::kJwc, *this)
                    : nullptr;
        if (!writer) {
            ReportFileError(ENOTSUP);
            return FALSE;
        }
        try {
            // Writers report their own failures (62700); the save must not count as done.
            if (!writer->Write(path)) return FALSE;
        } catch (const std::bad_alloc&) {
            ReportFileError(ENOMEM);
            return FALSE;
        } catch (const CException&) {
            ReportFileError(EIO);
            return FALSE;
        }
        return TRUE;
    }
    return WriteTextDocument(path);
}
