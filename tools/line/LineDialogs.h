// The numeric dialogs of the line tools beyond the locks of 131 and 229 (the line tool's table):
// the continuous line's locks with its polyline box (257), the wall's (on this class) and the XY
// line's length and snap step (265).
#pragma once

#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "tools/input/NumericEntryDialog.h"

class MInputLineDialog : public MNumericEntryDialog {
public:
    MInputLineDialog(MTessarayView* view, double* length, BOOL* lengthLock, double* angle, BOOL* angleLock,
                     BOOL* keepValues, UINT templateId = IDD_LINE_INPUT);
};

class MInputContLineDialog : public MInputLineDialog {
public:
    MInputContLineDialog(MTessarayView* view, double* length, BOOL* lengthLock, double* angle,
                         BOOL* angleLock, BOOL* polyline, BOOL* keepValues);
};

// The snap step is shown in degrees and given back in radians; text that is no finite number
// gives 0, which the tool takes as its default step.
class MInputXYLineDialog : public MNumericEntryDialog {
public:
    MInputXYLineDialog(MTessarayView* view, double* length, BOOL* lengthLock, double* step, BOOL* keepValues);
    // The steps offered (string 62793) and the one shown first for a step in radians.
    static std::vector<std::string> StepList();
    static std::string InitialStepText(const std::vector<std::string>& list, double step);
    // Degrees text to radians; 0 for text that is no finite number.
    static double ParseStep(const std::string& text);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    double* m_step;
    std::vector<std::string> m_list;
    std::string m_text;
};
