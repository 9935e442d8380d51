#include "platform/ui/DataExchange.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/Cp932.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "platform/ui/Controls.h"
#include "platform/ui/SliderCtrl.h"
#include "platform/ui/detail/WndImpl.h"
#include "resources/ResourceIds.h"

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

CWnd* CDataExchange::PrepareCtrl(int nIDC) {
    CWnd* ctrl = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nIDC) : nullptr;
    if (!ctrl) AfxThrowInvalidArgException();
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return ctrl;
}

CWnd* CDataExchange::PrepareEditCtrl(int nIDC) {
    CWnd* ctrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return ctrl;
}

void CDataExchange::Fail() {
    if (CWnd* ctrl = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(m_idLastControl) : nullptr) {
        ctrl->SetFocus();
        if (auto* edit = dynamic_cast<CEdit*>(ctrl); edit && m_bEditLastControl) edit->SetSel(0, -1);
    }
    AfxThrowUserException();
}

namespace {

[[noreturn]] void Refuse(CDataExchange* pDX, const std::string& message) {
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

// One number with blanks around it, finite, and nothing else.
bool ParseReal(const std::string& text, double& value) {
    std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return false;
    const std::size_t e = text.find_last_not_of(" \t");
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    if (*first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last && std::isfinite(value);
}

std::string TextOf(CDataExchange* pDX, int nIDC) {
    return pDX->PrepareEditCtrl(nIDC)->GetWindowText();
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value) {
    CWnd* ctrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ctrl->GetWindowText();
    else
        ctrl->SetWindowText(value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ui_detail::ParseWindowsInt(TextOf(pDX, nIDC), true, v))
            Refuse(pDX, AfxLoadString(IDS_DDX_PARSE_INT));
        value = static_cast<int>(v);
    } else {
        pDX->PrepareEditCtrl(nIDC)->SetWindowText(std::to_string(value));
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    if (pDX->m_bSaveAndValidate) {
        long long v = 0;
        if (!ui_detail::ParseWindowsInt(TextOf(pDX, nIDC), false, v))
            Refuse(pDX, AfxLoadString(IDS_DDX_PARSE_UINT));
        value = static_cast<UINT>(v);
    } else {
        pDX->PrepareEditCtrl(nIDC)->SetWindowText(std::to_string(value));
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    if (pDX->m_bSaveAndValidate) {
        double v = 0;
        if (!ParseReal(TextOf(pDX, nIDC), v)) Refuse(pDX, AfxLoadString(IDS_DDX_PARSE_REAL));
        value = v;
    } else {
        pDX->PrepareEditCtrl(nIDC)->SetWindowText(FormatG(value, 15));
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value) {
    if (pDX->m_bSaveAndValidate) {
        double v = 0;
        if (!ParseReal(TextOf(pDX, nIDC), v) || std::fabs(v) > std::numeric_limits<float>::max())
            Refuse(pDX, AfxLoadString(IDS_DDX_PARSE_REAL));
        value = static_cast<float>(v);
    } else {
        pDX->PrepareEditCtrl(nIDC)->SetWindowText(FormatG(value, 6));
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    auto* button = dynamic_cast<CButton*>(pDX->PrepareCtrl(nIDC));
    if (!button) AfxThrowInvalidArgException();
    if (pDX->m_bSaveAndValidate)
        value = button->GetCheck();
    else
        button->SetCheck(value < 0 || value > 2 ? 0 : value);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    pDX->PrepareCtrl(nIDC);
    const std::vector<UINT>* group = nullptr;
    for (const auto& g : pDX->m_pDlgWnd->GetImpl().radioGroups)
        if (!g.empty() && g.front() == static_cast<UINT>(nIDC)) group = &g;
    if (!group) AfxThrowInvalidArgException();
    if (pDX->m_bSaveAndValidate) {
        value = -1;
        for (std::size_t i = 0; i < group->size(); ++i)
            if (pDX->m_pDlgWnd->IsDlgButtonChecked(static_cast<int>((*group)[i]))) {
                value = static_cast<int>(i);
                break;
            }
    } else {
        for (std::size_t i = 0; i < group->size(); ++i)
            pDX->m_pDlgWnd->CheckDlgButton(static_cast<int>((*group)[i]),
                                           static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED);
    }
}

namespace {
template <class T>
T* Prepared(CDataExchange* pDX, int nIDC) {
    auto* ctrl = dynamic_cast<T*>(pDX->PrepareCtrl(nIDC));
    if (!ctrl) AfxThrowInvalidArgException();
    return ctrl;
}
}  // namespace

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    auto* combo = Prepared<CComboBox>(pDX, nIDC);
    if (pDX->m_bSaveAndValidate)
        index = combo->GetCurSel();
    else
        combo->SetCurSel(index);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, std::string& value) {
    auto* combo = Prepared<CComboBox>(pDX, nIDC);
    pDX->m_bEditLastControl = combo->IsEditable();
    if (pDX->m_bSaveAndValidate) {
        value = combo->GetWindowText();
    } else if (combo->SelectString(-1, value) == CB_ERR) {
        combo->SetWindowText(value);
    }
}

void DDX_CBStringExact(CDataExchange* pDX, int nIDC, std::string& value) {
    auto* combo = Prepared<CComboBox>(pDX, nIDC);
    pDX->m_bEditLastControl = combo->IsEditable();
    if (pDX->m_bSaveAndValidate) {
        value = combo->GetWindowText();
    } else {
        const int i = combo->FindStringExact(-1, value);
        if (i != CB_ERR)
            combo->SetCurSel(i);
        else
            combo->SetWindowText(value);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    auto* list = Prepared<CListBox>(pDX, nIDC);
    if (pDX->m_bSaveAndValidate)
        index = list->GetCurSel();
    else
        list->SetCurSel(index);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, std::string& value) {
    auto* list = Prepared<CListBox>(pDX, nIDC);
    if (pDX->m_bSaveAndValidate) {
        const int i = list->GetCurSel();
        value = i >= 0 ? list->GetText(i) : std::string();
    } else if (list->SelectString(-1, value) == LB_ERR) {
        list->SetCurSel(-1);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    CWnd* ctrl = pDX->PrepareCtrl(nIDC);
    if (&control == ctrl || control.GetWidget() == ctrl->GetWidget()) return;
    control.Attach(ctrl->GetWidget(), false);
    control.SetDlgCtrlID(static_cast<UINT>(nIDC));
    control.SetOwner(pDX->m_pDlgWnd);
    // The program's class now stands for the control, also for GetDlgItem.
    pDX->m_pDlgWnd->ReplaceDlgItem(static_cast<UINT>(nIDC), &control);
}

void DDX_Slider(CDataExchange* pDX, int nIDC, int& value) {
    auto* slider = dynamic_cast<CSliderCtrl*>(pDX->PrepareCtrl(nIDC));
    if (!slider) AfxThrowInvalidArgException();
    if (pDX->m_bSaveAndValidate)
        value = slider->GetPos();
    else
        slider->SetPos(value);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    Refuse(pDX, AfxFormatString2(IDS_DDX_INT_RANGE, std::to_string(minVal), std::to_string(maxVal)));
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    Refuse(pDX, AfxFormatString2(IDS_DDX_INT_RANGE, std::to_string(minVal), std::to_string(maxVal)));
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    Refuse(pDX, AfxFormatString2(IDS_DDX_REAL_RANGE, FormatG(minVal, 15), FormatG(maxVal, 15)));
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int nChars) {
    // Characters as the program's code page counts them: bytes of CP932.
    if (!pDX->m_bSaveAndValidate || Cp932Length(value) <= static_cast<std::size_t>(std::max(0, nChars)))
        return;
    Refuse(pDX, AfxFormatString1(IDS_DDX_STRING_SIZE, std::to_string(nChars)));
}
