#include "tools/view/ViewToolDialogs.h"

#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

MInputOriginDialog::MInputOriginDialog(MTessarayView* view, double* dx, double* dy)
    : MNumericEntryDialog(IDD_ORIGIN_INPUT, view, nullptr) {
    AddField(IDC_ORIGIN_X, 0, kLength, dx, nullptr);
    AddField(IDC_ORIGIN_Y, 0, kLength, dy, nullptr);
}

MInputPrintAreaDialog::MInputPrintAreaDialog(CWnd* parent, double factor)
    : CDialog(IDD_PRINTAREA_INPUT, parent), m_factor(factor) {}

void MInputPrintAreaDialog::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_PRINT_FACTOR, m_factor);
    DDV_MinMaxDouble(pDX, m_factor, kMinFactor, kMaxFactor);
}
