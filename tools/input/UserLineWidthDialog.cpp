#include "tools/input/UserLineWidthDialog.h"

#include <cmath>

#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "platform/ui/Controls.h"
#include "resources/ResourceIds.h"

namespace {
constexpr double kStartWidth = 1.0;
constexpr double kMaxWidth = 25.5;
}  // namespace

void MStringRing::Add(const std::string& text) {
    m_entries[static_cast<std::size_t>(m_head)] = text;
    m_head = (m_head + 1) % kSize;
}

bool MStringRing::Contains(const std::string& text) const {
    for (const std::string& entry : m_entries)
        if (entry == text) return true;
    return false;
}

const std::string& MStringRing::Newest(int i) const {
    return m_entries[static_cast<std::size_t>(((m_head - 1 - i) % kSize + kSize) % kSize)];
}

void MStringRing::Clear() {
    m_entries = {};
    m_head = 0;
}

namespace {
struct UserWidth {
    double width = kStartWidth;
    MStringRing ring;
};

CProgramSlot<UserWidth>& UserWidthSlot() {
    static auto& slot = *new CProgramSlot<UserWidth>;
    return slot;
}
}  // namespace

double& UserLineWidth() {
    return UserWidthSlot().Get().width;
}

MStringRing& UserLineWidthRing() {
    return UserWidthSlot().Get().ring;
}

void ResetUserLineWidth() {
    UserWidthSlot().Reset();
}

bool ParseLeadingNumber(const std::string& text, double* value) {
    double v = 0.0;
    if (!ParseDouble(text, v) || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

MUserLineWidthDialog::MUserLineWidthDialog(CWnd* parent, double width)
    : CDialog(IDD_USER_LINE_WIDTH, parent),
      m_text(FormatG(width != 0.0 ? width : UserLineWidth())),
      m_width(width != 0.0 ? width : UserLineWidth()),
      m_store(width == 0.0) {}

BOOL MUserLineWidthDialog::OnInitDialog() {
    if (auto* combo = GetDlgItemAs<CComboBox>(IDC_USER_WIDTH)) {
        for (int i = 0; i < MStringRing::kSize; ++i)
            combo->AddString(UserLineWidthRing().Newest(i));
        combo->SetWindowText(m_text);
    }
    return TRUE;
}

void MUserLineWidthDialog::OnOK() {
    auto* combo = GetDlgItemAs<CComboBox>(IDC_USER_WIDTH);
    const std::string text = combo ? combo->GetWindowText() : std::string();
    double w = 0.0;
    // Text that begins with no finite number is refused like an out-of-range one: a NaN would
    // pass both bounds and reach every new shape.
    if (!ParseLeadingNumber(text, &w) || w <= 0.0 || w > kMaxWidth) {
        AfxMessageBox(IDS_WIDTH_RANGE, MB_OK | MB_ICONEXCLAMATION);
        if (combo) GotoDlgCtrl(combo);
        return;
    }
    m_width = w;
    if (m_store) {
        UserLineWidth() = w;
        const std::string shown = FormatG(w);
        if (!UserLineWidthRing().Contains(shown)) UserLineWidthRing().Add(shown);
    }
    EndDialog(IDOK);
}
