// The automatic layer assignment as the dialog "書込ﾚｲﾔ設定" edits it, without the window: one row
// per tool that may be bound to a layer, the choice list ("指定なし" and every layer name) and the
// binding of each tool title. After OK the bindings go back to the tools; the tools then commit
// their new shapes into the bound layer (MTessarayDoc::FindAutoLayer).
#pragma once

#include <map>
#include <string>
#include <vector>

using CString = std::string;

class MDocumentToolArray;
class MTessarayDoc;

class MAutoLayerAssignment {
public:
    // The rows are the tools of the array, in order, that are auto-layer capable.
    MAutoLayerAssignment(const MTessarayDoc& doc, const MDocumentToolArray& tools);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    const CString& GetRowTitle(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }
    // The bound layer name of a row's tool (empty for none).
    CString GetRowLayer(int row) const;
    // What column 2 shows: the name, or "指定なし" for none.
    CString GetRowText(int row) const;

    // The list box: entry 0 "指定なし", then the layer names in layer order.
    const std::vector<CString>& GetEntries() const { return m_entries; }

    // The list box selection that goes with the selected rows: 0 when all are unbound, the first
    // layer entry with their common name, -1 (no selection) when the names differ or no layer has
    // it. kUnchanged when no row is selected.
    static constexpr int kUnchanged = -2;
    int EntryForRows(const std::vector<int>& rows) const;
    // Choosing entry (>= 0) binds every selected row: entry 0 unbinds.
    void ChooseEntry(const std::vector<int>& rows, int entry);

    // OK: every binding to the tool of that title (found from the end of the array).
    void Apply(MDocumentToolArray& tools) const;

private:
    std::vector<CString> m_rows;            // tool titles
    std::map<CString, CString> m_bindings;  // title -> layer name
    std::vector<CString> m_entries;
};
