// The numeric dialogs of the fillet and chamfer tools.
#pragma once

#include "tools/input/NumericEntryDialog.h"

// The fixed radius (drawing units in, user units shown) and the tool's keep-values flag.
class MInputRoundDialog : public MNumericEntryDialog {
public:
    MInputRoundDialog(MTessarayView* view, double* radius, BOOL* keepValues);
};

// The program-wide chamfer lengths and keep-values flag (GetChamferEntry).
class MInputEdgeDialog : public MNumericEntryDialog {
public:
    explicit MInputEdgeDialog(MTessarayView* view);
};
