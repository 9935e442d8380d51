#include "tools/edit/FusionTool.h"

#include <memory>

#include "model/geometry/PolygonBoolean.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

MFusionTool::MFusionTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(0, IDS_FUSION_PICKS);
}

MCadShape* MFusionTool::FilterPickTarget(MCadShape* shape) {
    auto* outline = dynamic_cast<MPolygonShape*>(shape);
    return outline && outline->IsClosedFlag() ? shape : nullptr;
}

int MFusionTool::OnPickShape(MTessarayView* view, double, double, UINT) {
    if (Lists().PickCount() < 2) return 0;
    MFusionOperatorDialog dialog(view);
    const int answer = dialog.DoModal();
    MFusionResult result;
    if (answer == IDOK) {
        const auto* first = static_cast<const MPolygonShape*>(Lists().Pick(0));
        const auto* second = static_cast<const MPolygonShape*>(Lists().Pick(1));
        result = CombineOutlines(first->GetPoints(), second->GetPoints(),
                                 static_cast<MFusionOperation>(dialog.GetOperation()));
    }
    // Cancelled, empty or failed: the picks go and the drawing stays.
    if (answer != IDOK || !result.IsDone() || result.loops.empty()) {
        End(view, FALSE);
        return 0;
    }
    for (const MFloatPointArray& loop : result.loops) {
        auto polygon = std::make_unique<MPolygonShape>(TRUE);
        for (int i = 0; i < loop.GetSize(); ++i)
            polygon->AddPoint(loop.GetAt(i));
        Lists().AddNewExpanded(polygon.get(), -1);
        polygon.release();
    }
    for (int i = 0; i < 2; ++i)
        Lists().AddEdited(Lists().Pick(i), Lists().PickLayer(i));
    Lists().ClearPicks();
    return 1;
}

// ----- the operation dialog ---------------------------------------------------------------------

MFusionOperatorDialog::MFusionOperatorDialog(CWnd* parent) : CDialog(IDD_FUSION_OPERATOR, parent) {
    Commands().OnCommand(IDC_FUSION_AND, [this] { Choose(static_cast<int>(MFusionOperation::And)); });
    Commands().OnCommand(IDC_FUSION_OR, [this] { Choose(static_cast<int>(MFusionOperation::Or)); });
    Commands().OnCommand(IDC_FUSION_MINUS, [this] { Choose(static_cast<int>(MFusionOperation::Minus)); });
}

void MFusionOperatorDialog::Choose(int operation) {
    m_operation = operation;
    EndDialog(IDOK);
}
