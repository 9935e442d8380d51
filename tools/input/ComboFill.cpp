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

void FillArrowStyleCombo(CComboBox& combo, int selection) {
    static const UINT kindTexts[] = {62766, 62649, 62650, 62695, 62696, 62697, 62698};
    for (UINT id : kindTexts)
        combo.AddString(AfxLoadString(id));
    combo.SetCurSel(selection);
}
