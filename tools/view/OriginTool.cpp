#include "tools/view/OriginTool.h"

#include "document/TessarayDoc.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "tools/view/ViewToolDialogs.h"
#include "view/TessarayView.h"

MOriginTool::MOriginTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(IDS_ORIGIN_PROMPT, 0);
}

void MOriginTool::OnButtonDownAt(MTessarayView* view, CDC*, const MFloatPoint& pt, UINT) {
    MoveOrigin(view, pt);
}

void MOriginTool::OnNumericInput(MTessarayView* view) {
    double dx = 0.0, dy = 0.0;
    MInputOriginDialog dialog(view, &dx, &dy);
    if (dialog.DoModal() != IDOK) return;
    MoveOrigin(view, MFloatPoint(view->userOrigin.x + dx, view->userOrigin.y + dy));
}

void MOriginTool::MoveOrigin(MTessarayView* view, const MFloatPoint& origin) {
    if (MTessarayDoc* doc = Document(view)) {
        // The document owns the origin: the next save writes the one shown.
        doc->SetOrigin(origin);
        doc->SetModifiedFlag(TRUE);
        view->FollowDocumentOrigin();
    } else {
        view->SetOrigin(origin.x, origin.y);
    }
    view->InvalidateRect(nullptr, TRUE);
}
