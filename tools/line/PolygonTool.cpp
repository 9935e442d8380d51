#include "tools/line/PolygonTool.h"

#include <memory>

#include "model/shapes/lines/PolygonShape.h"
#include "platform/gdi/DC.h"
#include "resources/ResourceIds.h"
#include "tools/ToolScopes.h"
#include "view/TessarayView.h"

MPolygonTool::MPolygonTool(int toolId) : MContLineTool(toolId) {
    ReleaseConstraint();
}

MCadShape* MPolygonTool::NewShape(MTessarayView*) {
    return new MPolygonShape(TRUE);
}

void MPolygonTool::OnNumericInput(MTessarayView* view) {
    RunLockDialog(view, IDD_LINE1_INPUT);
}

void MPolygonTool::OnDecide(MTessarayView* view) {
    MPolygonShape* chain = Chain();
    if (chain && view) {
        std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
        MTrackerScope tracker(*this, view, dc.get());
        // Closed and never split; a single vertex goes with the reset.
        if (chain->GetPointCount() > 1) Commit(view, FALSE, FALSE);
        Reset();
        return;
    }
    Reset();
}
