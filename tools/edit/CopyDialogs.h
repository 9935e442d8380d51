// The dialogs of the parallel and rotated copy tools and their values, which every use of the
// tools shares while the program runs (not saved).
#pragma once

#include "tools/input/NumericEntryDialog.h"

class MTessarayView;

// The number of copies the dialogs accept.
constexpr int kMinCopies = 2;
constexpr int kMaxCopies = 32000;

struct MLineCopyValues {
    int count = 4;
    double spacing = 1000.0;  // user units
    double angle = 0.0;       // degrees
    int spacingFixed = 0, angleFixed = 0, rotate = 0;
};
MLineCopyValues& GetLineCopyValues();

struct MRotCopyValues {
    int count = 4;
    double radius = 1000.0;                     // user units
    double startAngle = 0.0, endAngle = 270.0;  // degrees
    int radiusFixed = 0, startFixed = 0, endFixed = 0, rotate = 0;
};
MRotCopyValues& GetRotCopyValues();

// "線上複写": count 2 … 32000, spacing, angle 0 … 360°, each fixed by its box, and "回転". OK
// stores the values program-wide; Cancel changes nothing.
class MInputLineCopyDialog : public MNumericEntryDialog {
public:
    explicit MInputLineCopyDialog(MTessarayView* view);

protected:
    BOOL OnInitDialog() override;
};

// "円上複写": count 2 … 32000, radius, start and end angles 0 … 360°, each fixed by its box, and
// "回転".
class MInputRotCopyDialog : public MNumericEntryDialog {
public:
    explicit MInputRotCopyDialog(MTessarayView* view);

protected:
    BOOL OnInitDialog() override;
};
