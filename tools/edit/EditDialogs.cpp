#include "tools/edit/EditDialogs.h"

#include "document/ToolSettings.h"
#include "resources/ResourceIds.h"

MInputEdgeDialog::MInputEdgeDialog(MTessarayView* view)
    : MNumericEntryDialog(IDD_EDGE_INPUT, view, &GetChamferEntry().keepValues) {
    AddField(IDC_EDGE_LENGTH1, 0, kLength, &GetChamferEntry().length1, nullptr);
    AddField(IDC_EDGE_LENGTH2, 0, kLength, &GetChamferEntry().length2, nullptr);
}
