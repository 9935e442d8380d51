#include "document/parts/CadPartsList.h"

#include <cerrno>
#include <istream>
#include <map>
#include <memory>
#include <ostream>

#include "document/MirrorOStream.h"
#include "document/TessarayDoc.h"
#include "document/parts/CadParts.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeFactory.h"
#include "model/shapes/TextReadLosses.h"
#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "resources/ResourceIds.h"

namespace {

enum Section { kUnknown = 0, kName = 1, kSize = 2, kParts = 3, kEof = 4 };

int SectionOf(const std::string& keyword) {
    static const std::map<std::string, int> kSections = {
        {"NAME", kName}, {"SIZE", kSize}, {"PARTS", kParts}, {"EOF", kEof}};
    const auto it = kSections.find(keyword);
    return it == kSections.end() ? kUnknown : it->second;
}

constexpr const char* kPartsLeftOutText = "次の部品は数値が正しくないため読み込みませんでした:";
constexpr const char* kTextsCutText = "長すぎる文字列は途中までを読み込みました。";

// The parts left out whole, then what their shapes lost, in one message.
void ReportLosses(const MIncomingShapes& incoming, const MTextReadLosses& losses, const CString& path) {
    std::string text = incoming.LossText(kPartsLeftOutText, kTextsCutText);
    const std::string shapes = losses.GetText();
    if (!shapes.empty()) text += (text.empty() ? "" : "\n\n") + shapes;
    if (!text.empty()) AfxMessageBox("\"" + path + "\"\n\n" + text, MB_OK | MB_ICONINFORMATION);
}

[[noreturn]] void Refuse(UINT id, const CString& path) {
    AfxMessageBox(AfxFormatString1(id, path), MB_OK);
    AfxThrowArchiveException(CArchiveException::badIndex, path);
}

}  // namespace

// ---- MCadPartsList ------------------------------------------------------------------------------

MCadPartsList::MCadPartsList() = default;

MCadPartsList::MCadPartsList(const CString& name) : m_name(name) {}

MCadPartsList::~MCadPartsList() = default;

int MCadPartsList::Add(MCadParts* part) {
    m_modified = 1;
    return MObArray::Add(part);
}

void MCadPartsList::RemoveAt(int index) {
    if (index < 0 || index >= GetSize()) return;
    MObArray::RemoveAt(index);
    m_modified = 1;
}

MCadParts* MCadPartsList::GetAt(int index) const {
    if (index < 0 || index >= GetSize()) return nullptr;
    return static_cast<MCadParts*>(MObArray::GetAt(index));
}

void MCadPartsList::RemoveAll() {
    DeleteAll();
}

MCadParts* MCadPartsList::GetCurrent() const {
    return GetAt(m_current);
}

MCadShape* MCadPartsList::GetCurrent(MCadView* view) const {
    const MCadParts* part = GetCurrent();
    return part ? part->Instantiate(view) : nullptr;
}

void MCadPartsList::SetName(const CString& name) {
    m_name = name;
    m_modified = 1;
}

void MCadPartsList::WritePartsFile(std::ostream& os) const {
    os << AfxLoadString(IDS_PARTS_SIGNATURE) << '\n'
       << kPartsFileVersion << "\n[NAME]\n\t" << m_name << "\n[SIZE]\n\t" << GetSize() << '\n';
    for (int i = 0; i < GetSize(); ++i) {
        ResetTextNesting();
        os << "[PARTS]\n";
        GetAt(i)->WritePartText(os);
    }
    os << "[EOF]\n";
}

void MCadPartsList::LoadPartsFile(std::istream& is) {
    RemoveAll();
    std::string header;
    std::getline(is, header);
    if (header != AfxLoadString(IDS_PARTS_SIGNATURE)) Refuse(IDS_WRONG_FILE_TYPE, m_path);
    int version = 0;
    is >> version;
    if (is.fail() && !is.bad()) {
        is.clear();
        version = 0;
    }
    SkipTextLine(is);
    if (version > kPartsFileVersion) Refuse(IDS_UNSUPPORTED_VERSION, m_path);
    ReadPartsFile(is);
    m_modified = 0;
}

void MCadPartsList::ReadPartsFile(std::istream& is) {
    // A part's shape is admitted whole below; the members of its groups are admitted as they are
    // read, and its pictures are counted, through the file's losses.
    MIncomingShapes incoming;
    MTextReadLosses losses;
    MTextReadLosses::Scope scope(losses);
    while (is.good()) {
        SkipTextComment(is);
        const int c = is.peek();
        if (c == std::char_traits<char>::eof()) break;
        int section = kUnknown;
        if (c == '[') {
            std::string line;
            std::getline(is, line);
            if (line.size() > static_cast<std::size_t>(kMaxTextLine)) line.resize(kMaxTextLine);
            const std::size_t close = line.find(']');
            section = SectionOf(close == std::string::npos ? std::string() : line.substr(1, close - 1));
        }
        switch (section) {
            case kName:
                ReadTextString(is, m_name, TRUE);
                break;
            case kSize: {
                int count = 0;
                is >> count;
                if (!is.fail()) SkipTextLine(is);
                break;
            }
            case kParts: {
                ResetTextNesting();
                auto part = std::make_unique<MCadParts>();
                if (part->ReadPartText(is, incoming)) Add(part.release());
                break;
            }
            case kEof:
                break;
            default:
                SkipTextLine(is);
                break;
        }
        if (is.fail() && !is.eof() && !is.bad()) {
            is.clear();
            errno = 0;
            SkipTextLine(is);
        }
    }
    ReportLosses(incoming, losses, m_path);
}

// ---- MCadPartsListList --------------------------------------------------------------------------

MCadPartsListList::MCadPartsListList() = default;

MCadPartsListList::~MCadPartsListList() = default;

MCadPartsList* MCadPartsListList::GetAt(int index) const {
    if (index < 0 || index >= GetSize()) return nullptr;
    return static_cast<MCadPartsList*>(MObArray::GetAt(index));
}

MCadPartsList* MCadPartsListList::GetCurrent() const {
    return GetAt(m_current);
}

int MCadPartsListList::FindPath(const CString& path) const {
    for (int i = 0; i < GetSize(); ++i)
        if (GetAt(i)->m_path == path) return i;
    return -1;
}

// ---- Files --------------------------------------------------------------------------------------

BOOL SavePartsListFile(MCadPartsList& list) {
    MMirrorOStream os;
    os.Open(list.m_path, MMirrorOStream::kSafe);
    os.precision(15);
    if (os) list.WritePartsFile(os);
    const BOOL closed = os.IsOpen() ? os.Close() : FALSE;
    if (!closed || os.fail()) {
        MTessarayDoc::ReportFileError(os.GetError() ? os.GetError() : EIO);
        return FALSE;
    }
    // Every change writes the list again: only a loss the file did not have yet is told.
    if (os.GetReplacedCount() > list.m_replacedInFile) MTessarayDoc::ReportCharactersReplaced();
    list.m_replacedInFile = os.GetReplacedCount();
    return TRUE;
}

void LoadPartsListFile(MCadPartsList& list, const CString& path) {
    list.m_path = path;
    std::string text;
    try {
        const std::vector<BYTE> bytes = ReadWholeFile(path);
        text = DecodeTextFile(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (const CFileException&) {
        text.clear();  // refused below as a file of the wrong kind, as its first line is empty
    }
    TextInput is(std::move(text));
    list.LoadPartsFile(is);
}
