// Fillers of the combo boxes that dialogs and toolbars share: the font names and the arrow-head
// kinds.
#pragma once

#include <string>

#include "platform/ui/Controls.h"

// Empties the combo and adds the font families text can be drawn in, in the font engine's order
// (a combo with CBS_SORT sorts them), leaving out vertical faces ("@..."). Stops early only when
// an item cannot be added.
void FillFontCombo(CComboBox& combo);
// FillFontCombo, then selects the item that is exactly name. A font this machine lacks is added,
// so that OK keeps the name it was given; an empty name selects nothing.
void FillFontComboSelecting(CComboBox& combo, const std::string& name);
// The text of the selected item; empty without a selection.
std::string SelectedComboText(const CComboBox& combo);
// Adds the seven arrow-head kinds as texts ("なし", "矢印", "三角", "斜線", "バツ", "白丸", "黒丸"),
// item index = kind, and selects the item `selection`.
void FillArrowStyleCombo(CComboBox& combo, int selection);
