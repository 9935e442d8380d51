// A combo box for a number (the zoom percent, sizes): it keeps a value, accepts typed or chosen
// text only inside the range its class allows, shows the value with at most one decimal, and tells
// the window it reports to (NM_RETURN) when a value is committed.
#pragma once

#include <string>

#include "platform/ui/Controls.h"

using CString = std::string;

class MSizeComboBox : public CComboBox {
public:
    // Creates the combo as control nID of pParent; committed values are reported to pNotify.
    BOOL Create(UINT style, CWnd* pParent, UINT nID, CWnd* pNotify);

    void SetValue(double value);
    // Puts the text into the control, then commits it.
    void SetText(const CString& text);
    double GetValue() const { return m_value; }
    // Shows the value (selects the list item of that value when there is one).
    virtual void UpdateText();
    // The values the combo accepts: 0 < x <= the maximum (1000 unless set).
    virtual BOOL IsValid(double value) const;
    void SetMaximum(double maximum) { m_maximum = maximum; }
    // Takes the control's text: an empty text stores -1 and reports nothing; a valid number is
    // stored rounded to one decimal; then the value is shown and reported.
    void Commit();

    BOOL OnCommand(UINT nID, int nCode, CWnd* pCtrl) override;
    UINT PreTranslateKeyDown(UINT nChar, UINT nFlags) override;

private:
    double m_value = 0.0;
    double m_maximum = 1000.0;
    CWnd* m_notify = nullptr;
};

// floor(x / 10^n + 0.5) × 10^n.
double RoundTo(double x, int n);
