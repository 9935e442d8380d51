// The numeric dialog of the chamfer tool.
#pragma once

#include "tools/input/NumericEntryDialog.h"

// The program-wide chamfer lengths and keep-values flag (GetChamferEntry).
class MInputEdgeDialog : public MNumericEntryDialog {
public:
    explicit MInputEdgeDialog(MTessarayView* view);
};
