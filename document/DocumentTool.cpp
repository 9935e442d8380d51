#include "document/DocumentTool.h"

#include <istream>
#include <ostream>
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

void MDocumentToolArray::LoadSettings(std::istream& is) {
    // The count line is not used further; a body without one starts with its first key.
    const int first = is.peek();
    if (first == '\t' || first == ' ' || (first >= '0' && first <= '9')) SkipTextLine(is);
    while (is.good()) {
        const int c = is.peek();
        if (c == '[' || c == std::char_traits<char>::eof()) break;
        const CString key = ReadTextLine(is);
        if (is.fail()) break;
        const std::string line = ReadTextLine(is);
        if (is.fail()) break;
        // The layer line is a TAB and the name.
        const CString layer = line.empty() ? CString() : CString(line.substr(1));
        if (MDocumentTool* tool = FindByKey(key)) {
            tool->SetAutoLayerName(layer);
            tool->LoadSettings(is);
        }
    }
}
