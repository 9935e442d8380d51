#include "widgets/SizeComboBox.h"

#include <cmath>

#include "platform/TextFile.h"
#include "widgets/ComboCommit.h"

namespace {
constexpr double kSameValue = 2.220446e-15;

// Integer digits, then "." and the tenth only when it is not zero: "12", "0.5", "2.5".
CString FormatOneDecimal(double value) {
    const double tenths = std::floor(std::fabs(value) * 10.0 + 0.5);
    const double whole = std::floor(tenths / 10.0);
    const int digit = static_cast<int>(tenths - whole * 10.0);
    CString text = (value < 0 && tenths > 0 ? "-" : "") + FormatG(whole, 17);
    if (digit != 0) text += "." + std::to_string(digit);
    return text;
}
}  // namespace

double RoundTo(double x, int n) {
    double step = 1.0;
    for (int i = 0; i < std::abs(n); ++i)
        step = n < 0 ? step * 0.1 : step * 10.0;
    return std::floor(x / step + 0.5) * step;
}

BOOL MSizeComboBox::IsValid(double value) const {
    return value > 0.0 && value <= m_maximum;
}

BOOL MWidthComboBox::IsValid(double value) const {
    return value >= 0.0 && value < 100.0;
}

BOOL MArrowSizeComboBox::IsValid(double value) const {
    return value > 0.0 && value < 100.0;
}

void MSizeComboBox::SetValue(double value) {
    m_value = value;
    UpdateText();
}

void MSizeComboBox::SetText(const CString& text) {
    SetWindowText(text);
    Commit();
}

void MSizeComboBox::UpdateText() {
    if (!IsValid(m_value)) {
        SetCurSel(-1);
        return;
    }
    const CString text = FormatOneDecimal(m_value);
    for (int i = 0; i < GetCount(); ++i) {
        if (std::fabs(AtoF(GetLBText(i)) - m_value) < kSameValue) {
            SetCurSel(i);
            return;
        }
    }
    SetWindowText(text);
}

void MSizeComboBox::Commit() {
    const CString text = GetWindowText();
    if (text.empty()) {
        m_value = -1.0;
        return;
    }
    // The rounded value is the one tested: "99.96" must not become a width of 100.
    const double rounded = std::floor(AtoF(text) * 10.0 + 0.5) / 10.0;
    if (IsValid(rounded)) m_value = rounded;
    UpdateText();
    if (CWnd* parent = GetParent()) {
        NMHDR nm;
        nm.hwndFrom = this;
        nm.idFrom = GetDlgCtrlID();
        nm.code = NM_RETURN;
        parent->SendNotify(nm);
    }
}

BOOL MSizeComboBox::OnReflectedCommand(int nCode) {
    return ComboCommitsOn(*this, nCode, [this] { Commit(); });
}

UINT MSizeComboBox::PreTranslateKeyDown(UINT nChar, UINT nFlags) {
    return ComboKeyDown(
        nChar, nFlags, [this] { Commit(); }, [this] { UpdateText(); });
}
