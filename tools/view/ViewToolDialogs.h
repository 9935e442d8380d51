// The numeric dialogs of the origin and print-area tools.
#pragma once

#include "platform/ui/Dialog.h"
#include "tools/input/NumericEntryDialog.h"

// An offset of the origin from where it is, in user units (drawing units out). Opens at 0, 0.
class MInputOriginDialog : public MNumericEntryDialog {
public:
    MInputOriginDialog(MTessarayView* view, double* dx, double* dy);
};

// The print factor, 0.01 … 100 (the class library's range message otherwise).
class MInputPrintAreaDialog : public MNumericEntryDialog {
public:
    static constexpr double kMinFactor = 0.01;
    static constexpr double kMaxFactor = 100.0;

    MInputPrintAreaDialog(CWnd* parent, double factor);
    double GetFactor() const { return m_factor; }

private:
    double m_factor;
};
