// Combo boxes for numbers (the zoom percent, the font size, the line width, arrow sizes): each keeps
// a value, accepts typed or chosen text only inside the range its class allows, shows the value
// with at most one decimal, and tells its parent window (NM_RETURN) when a value is committed.
#pragma once

#include <string>

#include "platform/ui/Controls.h"

using CString = std::string;

class MSizeComboBox : public CComboBox {
public:
    void SetValue(double value);
    // Puts the text into the control, then commits it.
    void SetText(const CString& text);
    // -1 after an empty text was committed.
    double GetValue() const { return m_value; }
    // Shows the value (selects the list item of that value when there is one).
    virtual void UpdateText();
    // The values the combo accepts: 0 < x <= the maximum (1000 unless set: zoom percent, font size).
    virtual BOOL IsValid(double value) const;
    void SetMaximum(double maximum) { m_maximum = maximum; }
    // Takes the control's text: an empty text stores -1 and reports nothing; otherwise the number
    // rounded to one decimal is stored when the combo accepts the rounded value (else the old value
    // stays); then the value is shown and reported to the parent.
    void Commit();

    // The list's choice and the loss of the focus commit.
    BOOL OnReflectedCommand(int nCode) override;
    // Enter commits, Escape shows the stored value again; their repeats do nothing.
    UINT PreTranslateKeyDown(UINT nChar, UINT nFlags) override;

private:
    double m_value = 0.0;
    double m_maximum = 1000.0;
};

// Line widths in millimetres: 0 <= x < 100.
class MWidthComboBox : public MSizeComboBox {
public:
    BOOL IsValid(double value) const override;
};

// Arrow-head sizes in millimetres: 0 < x < 100.
class MArrowSizeComboBox : public MSizeComboBox {
public:
    BOOL IsValid(double value) const override;
};

// floor(x / 10^n + 0.5) × 10^n.
double RoundTo(double x, int n);
