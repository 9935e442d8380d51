#include "app/SizeComboBox.h"

#include <cmath>

#include "platform/TextFile.h"
#include "platform/ui/MessageTranslation.h"

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

BOOL MSizeComboBox::Create(UINT style, CWnd* pParent, UINT nID, CWnd* pNotify) {
    if (!CComboBox::Create(style, pParent, nID)) return FALSE;
    // Its own notifications come back to the combo; committed values go to pNotify.
    SetOwner(this);
    m_notify = pNotify;
    return TRUE;
}

BOOL MSizeComboBox::IsValid(double value) const {
    return value > 0.0 && value <= m_maximum;
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
    const double x = AtoF(text);
    if (IsValid(x)) m_value = std::floor(x * 10.0 + 0.5) / 10.0;
    UpdateText();
    if (m_notify) {
        NMHDR nm;
        nm.hwndFrom = this;
        nm.idFrom = GetDlgCtrlID();
        nm.code = NM_RETURN;
        m_notify->SendNotify(nm);
    }
}

BOOL MSizeComboBox::OnCommand(UINT nID, int nCode, CWnd* pCtrl) {
    if (pCtrl != this) return CComboBox::OnCommand(nID, nCode, pCtrl);
    if (nCode == CBN_SELENDOK) {
        // The chosen item's text becomes the control's text before it is taken.
        const int sel = GetCurSel();
        if (sel >= 0) SetWindowText(GetLBText(sel));
        Commit();
    } else if (nCode == CBN_KILLFOCUS) {
        Commit();
    }
    return TRUE;
}

UINT MSizeComboBox::PreTranslateKeyDown(UINT nChar, UINT nFlags) {
    const bool repeat = (nFlags & 0x4000) != 0;
    if (nChar == VK_RETURN) {
        if (!repeat) Commit();
        return kKeyHandled;
    }
    if (nChar == VK_ESCAPE) {
        if (!repeat) UpdateText();
        return kKeyHandled;
    }
    return kKeyDispatch;
}
