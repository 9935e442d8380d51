#include "tools/input/SizeFormatCombo.h"

int FillSizeFormatCombo(CComboBox* combo, const std::string& name) {
    combo->ResetContent();
    int found = -1;
    const int count = GetSizeFormatCount();
    for (int i = 0; i < count; ++i) {
        const MSizeFormatInfo format = GetSizeFormatAt(i);
        if (format.m_kind == MSizeFormatInfo::kTemplateFormat) continue;
        const int item = combo->AddString(format.m_name);
        // Exact and case-sensitive, as the list finds formats.
        if (found < 0 && item >= 0 && format.m_name == name) found = item;
    }
    if (found < 0) return combo->GetCount();
    combo->SetCurSel(found);
    return found;
}

int SelectSizeFormatInCombo(CComboBox* combo, const MSizeFormatInfo& current, UINT defaultId) {
    const std::string name = current.m_name.empty() ? GetDefaultSizeFormatName(defaultId) : current.m_name;
    return FillSizeFormatCombo(combo, name);
}
