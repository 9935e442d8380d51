// The angle of a fixed-direction constraint ("角度入力"): degrees from -360 to 360, kept between
// uses in the program-wide angle.
#pragma once

#include "tools/input/NumericEntryDialog.h"

// The program's angle changes only with an accepted value: a refused one leaves it as it was.
class MAngleDialog : public MNumericEntryDialog {
public:
    explicit MAngleDialog(CWnd* parent = nullptr);
};
