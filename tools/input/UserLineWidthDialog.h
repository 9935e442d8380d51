// The user's own line width ("任意..."): a number from 0 (excluded) to 25.5 mm, with the ten most
// recent widths offered in the combo.
#pragma once

#include <array>
#include <string>

#include "platform/ui/Dialog.h"

// A ring of the ten most recent texts: adding overwrites the oldest.
class MStringRing {
public:
    static constexpr int kSize = 10;
    void Add(const std::string& text);
    bool Contains(const std::string& text) const;
    // Entry i counted from the newest (0) to the oldest (9); empty entries included.
    const std::string& Newest(int i) const;
    void Clear();

private:
    std::array<std::string, kSize> m_entries;
    int m_head = 0;
};

// The program's user line width (mm, 1.0 at start) and its ring of recent widths.
double& UserLineWidth();
MStringRing& UserLineWidthRing();
// Back to the start values.
void ResetUserLineWidth();

// Dialog 148. With width 0 it shows the user width and OK stores the result in it (and its text
// in the ring); with another width it shows that and stores nothing.
class MUserLineWidthDialog : public CDialog {
public:
    MUserLineWidthDialog(CWnd* parent, double width);
    // The accepted width after OK.
    double GetWidth() const { return m_width; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string m_text;
    double m_width;
    bool m_store;
};

// The number the text begins with, as atof reads it in the C locale (blanks before it skipped,
// "1.5mm" is 1.5); false when there is none or it is not finite.
bool ParseLeadingNumber(const std::string& text, double* value);
