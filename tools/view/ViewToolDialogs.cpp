#include "tools/view/ViewToolDialogs.h"

#include "platform/ui/DataExchange.h"
#include "resources/ResourceIds.h"

MInputOriginDialog::MInputOriginDialog(MTessarayView* view, double* dx, double* dy)
    : MNumericEntryDialog(IDD_ORIGIN_INPUT, view, nullptr) {
    AddField(IDC_ORIGIN_X, 0, kLength, dx, nullptr);
    AddField(IDC_ORIGIN_Y, 0, kLength, dy, nullptr);
}

MInputPrintAreaDialog::MInputPrintAreaDialog(CWnd* parent, double factor)
    : MNumericEntryDialog(IDD_PRINTAREA_INPUT, parent), m_factor(factor) {
    AddField(IDC_PRINT_FACTOR, 0, kPlain, &m_factor, nullptr);
    RequireRange(IDC_PRINT_FACTOR, kMinFactor, kMaxFactor);
}
