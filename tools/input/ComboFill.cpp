#include "tools/input/ComboFill.h"

#include "platform/Strings.h"
#include "platform/gdi/FontFamilies.h"

void FillFontCombo(CComboBox& combo) {
    combo.ResetContent();
    for (const std::string& name : EnumFontFamilies()) {
        if (name.empty() || name.front() == '@') continue;
        if (combo.AddString(name) < 0) return;
    }
}

void FillFontComboSelecting(CComboBox& combo, const std::string& name) {
    FillFontCombo(combo);
    // The combo's own search ignores case.
    int item = -1;
    for (int i = 0; i < combo.GetCount() && item < 0; ++i)
        if (combo.GetLBText(i) == name) item = i;
    if (item < 0 && !name.empty()) item = combo.AddString(name);
    combo.SetCurSel(item);
}

std::string SelectedComboText(const CComboBox& combo) {
    const int sel = combo.GetCurSel();
    return sel >= 0 ? combo.GetLBText(sel) : std::string();
}

void FillArrowStyleCombo(CComboBox& combo, int selection) {
    static const UINT kindTexts[] = {62766, 62649, 62650, 62695, 62696, 62697, 62698};
    for (UINT id : kindTexts)
        combo.AddString(AfxLoadString(id));
    combo.SetCurSel(selection);
}
