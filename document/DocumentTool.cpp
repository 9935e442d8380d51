#include "document/DocumentTool.h"

#include <istream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "model/helpers/TextStream.h"
#include "platform/ProgramState.h"

namespace {
CProgramSlot<MDocumentToolArray*>& ToolArraySlot() {
    static auto& slot = *new CProgramSlot<MDocumentToolArray*>;
    return slot;
}
}  // namespace

MDocumentToolArray* GetDocumentToolArray() {
    return ToolArraySlot().Get();
}

MDocumentToolArray* SetDocumentToolArray(MDocumentToolArray* tools) {
    return ToolArraySlot().Exchange(tools);
}

MDocumentTool* MDocumentToolArray::FindByTitle(const CString& title) const {
    for (int i = GetToolCount() - 1; i >= 0; --i)
        if (MDocumentTool* tool = GetToolAt(i); tool && tool->GetTitle() == title) return tool;
    return nullptr;
}

MDocumentTool* MDocumentToolArray::FindByKey(const CString& key) const {
    for (int i = 0; i < GetToolCount(); ++i)
        if (MDocumentTool* tool = GetToolAt(i); tool && tool->GetKey() == key) return tool;
    return nullptr;
}

void MDocumentToolArray::SaveSettings(std::ostream& os) const {
    os << '\t' << GetToolCount() << '\n';
    for (int i = 0; i < GetToolCount(); ++i) {
        MDocumentTool* tool = GetToolAt(i);
        if (!tool || !tool->HasSettings()) continue;
        os << tool->GetKey() << '\n' << '\t' << tool->GetAutoLayerName() << '\n';
        tool->SaveSettings(os);
    }
}

namespace {

// A value line of a tool: it begins with a TAB. Key and section lines never do.
bool AtValueLine(std::istream& is) {
    return is.good() && is.peek() == '\t';
}

// The value lines that follow, as the text a tool's reader takes: whatever a tool reads, it never
// reaches the next key or section, and the lines it leaves are not taken for keys.
std::string ReadValueLines(std::istream& is, std::vector<char>& line) {
    std::string block;
    while (AtValueLine(is)) {
        ReadTextLine(is, line.data(), static_cast<int>(line.size()));
        if (is.fail()) break;
        block += line.data();
        block += '\n';
    }
    return block;
}

}  // namespace

void MDocumentToolArray::LoadSettings(std::istream& is) {
    // The count line is not used further; a body without one starts with its first key.
    const int first = is.peek();
    if (first == '\t' || first == ' ' || (first >= '0' && first <= '9')) SkipTextLine(is);
    // Room for a value line's TAB and the longest text a tool's own reader takes after it, so that
    // a text the tool wrote comes back whole: up to three bytes here for each of the file's.
    std::vector<char> line(3 * kMaxTextLine + 2);
    while (is.good()) {
        const int c = is.peek();
        if (c == '[' || c == std::char_traits<char>::eof()) break;
        if (c == '\t') {
            // Lines of a tool no longer registered, or that a tool did not take.
            SkipTextLine(is);
            continue;
        }
        ReadTextLine(is, line.data(), static_cast<int>(line.size()));
        if (is.fail()) break;
        const CString key = line.data();
        // The layer line is a TAB and the name; a key without one has no automatic layer.
        CString layer;
        if (AtValueLine(is)) {
            ReadTextLine(is, line.data(), static_cast<int>(line.size()));
            if (is.fail()) break;
            layer = line.data() + 1;
        }
        MDocumentTool* tool = FindByKey(key);
        if (!tool) continue;
        tool->SetAutoLayerName(layer);
        std::istringstream values(ReadValueLines(is, line));
        tool->LoadSettings(values);
    }
}
