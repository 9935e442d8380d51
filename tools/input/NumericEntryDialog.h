// The base of the tools' own numeric dialogs. A tool declares its fields (edit, companion check
// box, kind, its value and use flag) and its keep-values flag; the dialog shows lengths in user
// units and angles in degrees, ticks a field's box as its edit is typed into, and on OK copies
// everything back (lengths in drawing units, angles in radians). Cancel changes nothing.
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
    // A field: checkId 0 for an edit without a box (use may then be null).
    void AddField(int editId, int checkId, Kind kind, double* value, BOOL* use);

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
    };
    double ToShown(const Field& field) const;
    double FromShown(const Field& field) const;

    MTessarayView* m_view;
    BOOL* m_keepValues;
    int m_keepShown = 0;
    std::vector<Field> m_fields;
};
