#include "tools/input/UserLineWidthDialog.h"

#include <charconv>
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

bool ParseWholeNumber(const std::string& text, double* value) {
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return false;
    const std::size_t last = text.find_last_not_of(blanks) + 1;
    std::size_t start = first;
    if (text[start] == '+') ++start;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(text.data() + start, text.data() + last, v);
    if (ec != std::errc() || end != text.data() + last || !std::isfinite(v)) return false;
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
    // Text that is no finite number is refused like an out-of-range one: a NaN would pass both
    // bounds and reach every new shape.
    if (!ParseWholeNumber(text, &w) || w <= 0.0 || w > kMaxWidth) {
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
