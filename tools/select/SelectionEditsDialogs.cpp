// The edits of the selection that ask for values first: rotate, scale and move by dialog, move
// to another layer, register as part. Cancel changes nothing.
#include <cmath>
#include <memory>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "document/parts/CadParts.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "platform/Strings.h"
#include "platform/ui/Dialog.h"
#include "tools/PickList.h"
#include "tools/select/SelectDialogs.h"
#include "tools/select/SelectionEdits.h"
#include "view/TessarayView.h"
#include "view/ViewFrame.h"

void MSelectionEdits::RotateByDialog(MTessarayView* view) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view ||
        !m_tool.Lists().Picks().SupportsEdit3())
        return;
    MInputRotateRadius dialog(view);
    if (dialog.DoModal() != IDOK) return;
    Rotate(view, dialog.GetAngle() * M_PI / 180.0);
}

void MSelectionEdits::ScaleByDialog(MTessarayView* view) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    // The sizes as drawn now: a copy recalculated for this view gives the current extent.
    MFloatRect e;
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i) {
        std::unique_ptr<MCadShape> copy(m_tool.Lists().Pick(i)->Duplicate());
        copy->Recalc(view);
        MFloatRect r = copy->GetExtent();
        r.Normalize();
        if (i == 0)
            e = r;
        else
            e.Union(r);
    }
    MInputSizingDialog dialog(view, view->DocToUserLength(e.right - e.left),
                              view->DocToUserLength(e.top - e.bottom));
    if (dialog.DoModal() != IDOK) return;
    double sx = 1.0, sy = 1.0;
    dialog.GetFactors(&sx, &sy);
    Scale(view, sx, sy);
}

void MSelectionEdits::MoveByDialog(MTessarayView* view) {
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !view) return;
    MInputMovingDialog dialog(view);
    if (dialog.DoModal() != IDOK) return;
    const MMoveValues& v = GetMoveValues();
    Move(view, MFloatPoint(view->UserToDocLength(v.dx), view->UserToDocLength(v.dy)), v.copy);
}

void MSelectionEdits::MoveToLayer(MTessarayView* view) {
    MTessarayDoc* doc = m_tool.Document(view);
    if (m_tool.Lists().PickCount() == 0 || !m_tool.IsPickMode() || !doc) return;
    MShapeLayerMoveDialog dialog(view);
    if (dialog.DoModal() != IDOK) return;
    const int target = dialog.GetLayer();
    const MLayer* layer = doc->GetLayers()->GetLayer(target);
    if (target < 0 || target >= doc->GetLayers()->GetLayerCount() || !layer) return;
    m_tool.Handles().Hide(view);
    for (int i = 0; i < m_tool.Lists().PickCount(); ++i) {
        std::unique_ptr<MCadShape> copy(m_tool.Lists().Pick(i)->Duplicate());
        m_tool.Lists().AddNewExpanded(copy.get(), target);
        copy.release();
        m_tool.Lists().AddEdited(m_tool.Lists().Pick(i), m_tool.Lists().PickLayer(i));
    }
    // Shapes on a layer that is hidden or cannot be picked may not stay picked: their handles
    // would answer presses over nothing the user sees.
    const BOOL keep = layer->IsVisible() && layer->IsSelectable();
    m_tool.Commit(view, TRUE, keep);
    if (!keep) m_tool.End(view, FALSE);
    m_tool.Handles().Invalidate(view);
}

void MSelectionEdits::RegisterAsPart(MTessarayView* view) {
    if (m_tool.Lists().PickCount() != 1 || !view) return;
    const auto* group = dynamic_cast<const MGroupShape*>(m_tool.Lists().Pick(0));
    if (!group) return;
    MPartsNameDialog dialog(view);
    if (dialog.DoModal() != IDOK) return;
    // A part without a name would have no label under its icon in the parts bar.
    const std::string& name = dialog.GetName();
    const auto first = name.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        AfxMessageBox(IDS_NAME_EMPTY, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    auto part =
        std::make_unique<MCadParts>(view, name.substr(first, name.find_last_not_of(" \t\r\n") - first + 1),
                                    group->Duplicate(), dialog.GetFitToScale(), view->PaperScale());
    if (MViewFrame* frame = GetViewFrame()) frame->AddPartsToCurrentList(std::move(part));
}
