// The numeric dialogs of the three-point, arc, half and quarter circle and ellipse tools. Each is a
// field list of MNumericEntryDialog over the tool's entry values (its Values) and keep-values flag;
// RunEntryDialog shows it on copies and takes them back on IDOK, so that Cancel and a refused entry
// change nothing.
#pragma once

#include <vector>

#include "platform/Strings.h"
#include "tools/input/NumericEntryDialog.h"

// Fields whose box is also ticked by focusing the edit, and radii that must be above 0 (a ticked
// one, or any without a box): a radius of 0 or less would make a shape the commit drops after the
// user clicked, so the dialog refuses it and stays open.
class MCircleEntryDialog : public MNumericEntryDialog {
public:
    using MNumericEntryDialog::MNumericEntryDialog;

    void AddFocusField(int editId, int checkId, Kind kind, double* value, BOOL* use);
    void RequirePositive(int editId, int checkId, UINT messageId);
    void RequireRange(int editId, double low, double high);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    struct Pair {
        int editId;
        int checkId;
    };
    struct Positive {
        int editId;
        int checkId;
        UINT messageId;
    };
    struct Range {
        int editId;
        double low;
        double high;
    };
    std::vector<Pair> m_focusPairs;
    std::vector<Positive> m_positive;
    std::vector<Range> m_ranges;
};

// The fixed radius of the three-point circle and arc tools.
class MInput3PArcDialog : public MCircleEntryDialog {
public:
    struct Values {
        double radius;
        BOOL radiusFixed;
    };
    MInput3PArcDialog(MTessarayView* view, Values* values, BOOL* keepValues);
};

// The fixed radius, start and end directions (radians) of the arc and sector tools.
class MInputCircleArcDialog : public MCircleEntryDialog {
public:
    struct Values {
        double radius;
        double startAngle;
        double endAngle;
        BOOL radiusFixed;
        BOOL startFixed;
        BOOL endFixed;
    };
    MInputCircleArcDialog(MTessarayView* view, Values* values, BOOL* keepValues);
};

// The fixed radius and direction (radians, shown in -360 ... 360 degrees) of the half and quarter
// circle tools.
class MInputHalfCircle : public MCircleEntryDialog {
public:
    struct Values {
        double radius;
        double angle;
        BOOL radiusFixed;
        BOOL angleFixed;
    };
    MInputHalfCircle(MTessarayView* view, Values* values, BOOL* keepValues);
};

// The fixed radii of the ellipse tool.
class MInputEllipseDialog : public MCircleEntryDialog {
public:
    struct Values {
        double rx;
        double ry;
        BOOL rxFixed;
        BOOL ryFixed;
    };
    MInputEllipseDialog(MTessarayView* view, Values* values, BOOL* keepValues);
};

// The size of the two-corner ellipse tool and its anchor (0 ... 8, row by row from the top left).
// The radii are checked on OK only, so that a bad value loaded from a drawing does not greet the
// user as the dialog opens.
class MInput2PEllipseDialog : public MCircleEntryDialog {
public:
    struct Values {
        double rx;
        double ry;
        int anchor;
    };
    MInput2PEllipseDialog(MTessarayView* view, Values* values, BOOL* keepValues);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int* m_anchor;
};

// Shows the dialog on copies of the values; on IDOK, when accept(copy) agrees, takes them back with
// the keep-values flag. TRUE when it took them.
template <class Dialog, class Accept>
bool RunEntryDialog(MTessarayView* view, typename Dialog::Values& values, BOOL& keepValues, Accept accept) {
    typename Dialog::Values shown = values;
    BOOL keepShown = keepValues;
    Dialog dialog(view, &shown, &keepShown);
    if (dialog.DoModal() != IDOK || !accept(shown)) return false;
    values = shown;
    keepValues = keepShown;
    return true;
}

template <class Dialog>
bool RunEntryDialog(MTessarayView* view, typename Dialog::Values& values, BOOL& keepValues) {
    return RunEntryDialog<Dialog>(view, values, keepValues,
                                  [](const typename Dialog::Values&) { return true; });
}
