// The base of the tools' own numeric dialogs. A tool declares its fields (edit, companion check
// box, kind, its value and use flag) and its keep-values flag; the dialog shows lengths in user
// units and angles in degrees, ticks a field's box as its edit is typed into, and on OK copies
// everything back (lengths in drawing units, angles in radians). Cancel changes nothing. Fields
// are read in the order they were added, each checked against its range as it is read.
//
//   MNumericEntryDialog dialog(IDD_CIRCLE_INPUT, view, &m_keepValues);
//   dialog.AddField(1040, 1041, MNumericEntryDialog::kLength, &m_radius, &m_useRadius);
//   dialog.DoModal();
//
// While any use flag is set the tool answers IsConstrained and applies the values; its
// ReleaseConstraint clears the flags, which Reset calls unless keep-values is set.
#pragma once

#include <vector>

#include "platform/ui/Dialog.h"

class MTessarayView;

class MNumericEntryDialog : public CDialog {
public:
    enum Kind { kLength, kAngle, kPlain };

    // keepValues: the tool's flag behind check box 1132 (null: the template has none).
    MNumericEntryDialog(UINT templateId, MTessarayView* view, BOOL* keepValues);
    // A dialog of plain numbers (no lengths to convert) over any window.
    MNumericEntryDialog(UINT templateId, CWnd* parent);
    // A field: checkId 0 for an edit without a box (use may then be null).
    void AddField(int editId, int checkId, Kind kind, double* value, BOOL* use);
    // A whole number in low ... high (the framework's messages), signed or not.
    void AddField(int editId, int* value, int low, int high);
    void AddField(int editId, UINT* value, UINT low, UINT high);
    // A field whose box is ticked by focusing its edit too.
    void AddFocusField(int editId, int checkId, Kind kind, double* value, BOOL* use);
    // A check box or a group of radio buttons (first button's id) of a value beside the numbers.
    void AddCheck(int checkId, BOOL* value);
    void AddRadio(int firstId, int* value);
    // On OK the shown number must lie in low ... high (the framework's message), and a number must
    // be above 0 (message messageId) when its box is ticked or it has none; else the dialog stays
    // open. Positive numbers are checked after every field is read.
    void RequireRange(int editId, double low, double high);
    void RequirePositive(int editId, int checkId, UINT messageId);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    struct Field {
        int editId;
        int checkId;
        Kind kind;
        double* value;
        BOOL* use;
        double shown;
        int checked;
        int* intValue = nullptr;
        UINT* uintValue = nullptr;
        int intShown = 0;
        UINT uintShown = 0;
        bool ranged = false;
        double low = 0.0;
        double high = 0.0;
    };
    double ToShown(const Field& field) const;
    double FromShown(const Field& field) const;

    struct Choice {
        int id;
        bool radio;
        int* value;
        int shown;
    };
    struct Pair {
        int editId;
        int checkId;
    };
    struct Positive {
        int editId;
        int checkId;
        UINT messageId;
    };

    MTessarayView* m_view = nullptr;
    BOOL* m_keepValues = nullptr;
    int m_keepShown = 0;
    std::vector<Field> m_fields;
    std::vector<Choice> m_choices;
    std::vector<Pair> m_focusPairs;
    std::vector<Positive> m_positive;
};
