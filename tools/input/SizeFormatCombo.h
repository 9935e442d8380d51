// The combos that choose one of the named dimension number formats.
#pragma once

#include "model/shapes/dimension/SizeFormatInfo.h"
#include "platform/ui/Controls.h"

// Empties the combo and adds the names of the list's formats in list order, leaving out the
// template for new formats wherever it stands, then selects the first item whose text is exactly
// name. The index of that item, or the number of items (nothing selected) when none has it.
int FillSizeFormatCombo(CComboBox* combo, const std::string& name);
// FillSizeFormatCombo with current's name, or with the first field of string defaultId when
// current has no name.
int SelectSizeFormatInCombo(CComboBox* combo, const MSizeFormatInfo& current, UINT defaultId);
