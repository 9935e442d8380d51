#include "tools/text/TextDialogs.h"

#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"
#include "tools/input/StoredTextExchange.h"

namespace {

// The fields both dialogs share; the alignment index is the radio group's.
template <class Dialog>
void ExchangeTextFields(CDataExchange* pDX, Dialog& d) {
    DDX_StoredText(pDX, IDC_TEXT_STRING, d.m_text);
    DDX_Text(pDX, IDC_TEXT_ANGLE, d.m_angle);
    DDX_Check(pDX, IDC_TEXT_VERTICAL, d.m_vertical);
    DDX_Radio(pDX, IDC_TEXT_ALIGN_FIRST, d.m_alignIndex);
}

// A CR before every LF that has none, so that a multi-line edit shows the lines.
CString WithCarriageReturns(const CString& text) {
    CString out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace

MToolTextInputDialog::MToolTextInputDialog(CWnd* parent) : CDialog(IDD, parent) {
    m_text = "Text";
}

void MToolTextInputDialog::DoDataExchange(CDataExchange* pDX) {
    ExchangeTextFields(pDX, *this);
}

MToolInputMultiTextDialog::MToolInputMultiTextDialog(CWnd* parent) : CDialog(IDD, parent) {
    m_text = "Text";
}

BOOL MToolInputMultiTextDialog::OnInitDialog() {
    m_text = WithCarriageReturns(m_text);
    return CDialog::OnInitDialog();
}

void MToolInputMultiTextDialog::DoDataExchange(CDataExchange* pDX) {
    ExchangeTextFields(pDX, *this);
    DDX_Check(pDX, IDC_TEXT_WRAP, m_wrap);
}
