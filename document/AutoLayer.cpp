#include "document/AutoLayer.h"

#include "document/DocumentTool.h"
#include "document/TessarayDoc.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"

MAutoLayerAssignment::MAutoLayerAssignment(const MTessarayDoc& doc, const MDocumentToolArray& tools) {
    for (int i = 0; i < tools.GetToolCount(); ++i) {
        const MDocumentTool* tool = tools.GetToolAt(i);
        if (!tool || !tool->IsAutoLayerCapable()) continue;
        m_rows.push_back(tool->GetTitle());
        m_bindings[tool->GetTitle()] = tool->GetAutoLayerName();
    }
    m_entries.push_back(AfxLoadString(IDS_NO_LAYER_BINDING));
    const MDocShapeArray* layers = doc.GetLayers();
    for (int i = 0; i < layers->GetLayerCount(); ++i)
        m_entries.push_back(layers->GetLayer(i)->m_name);
}

CString MAutoLayerAssignment::GetRowLayer(int row) const {
    const auto it = m_bindings.find(GetRowTitle(row));
    return it == m_bindings.end() ? CString() : it->second;
}

CString MAutoLayerAssignment::GetRowText(int row) const {
    const CString layer = GetRowLayer(row);
    return layer.empty() ? m_entries.front() : layer;
}

int MAutoLayerAssignment::EntryForRows(const std::vector<int>& rows) const {
    if (rows.empty()) return kUnchanged;
    const CString name = GetRowLayer(rows.front());
    for (int row : rows)
        if (GetRowLayer(row) != name) return -1;
    if (name.empty()) return 0;
    for (std::size_t i = 1; i < m_entries.size(); ++i)
        if (m_entries[i] == name) return static_cast<int>(i);
    return -1;
}

void MAutoLayerAssignment::ChooseEntry(const std::vector<int>& rows, int entry) {
    if (entry < 0 || entry >= static_cast<int>(m_entries.size())) return;
    const CString name = entry == 0 ? CString() : m_entries[static_cast<std::size_t>(entry)];
    for (int row : rows)
        if (row >= 0 && row < GetRowCount()) m_bindings[GetRowTitle(row)] = name;
}

void MAutoLayerAssignment::Apply(MDocumentToolArray& tools) const {
    for (const auto& [title, layer] : m_bindings)
        if (MDocumentTool* tool = tools.FindByTitle(title)) tool->SetAutoLayerName(layer);
}
