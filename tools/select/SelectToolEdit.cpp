// The view's Edit Delete, Edit Copy and paste reach the drawing through the select tool: each
// change is one commit, so one undo step.
#include <memory>
#include <vector>

#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/containers/PackShape.h"
#include "tools/select/SelectTool.h"
#include "view/TessarayView.h"

void MSelectTool::DeleteSelection(MTessarayView* view) {
    if (Lists().PickCount() == 0 || !IsPickMode() || !view) return;
    m_handles.Hide(view);
    for (int i = 0; i < Lists().PickCount(); ++i)
        Lists().AddEdited(Lists().Pick(i), Lists().PickLayer(i));
    Commit(view, FALSE, FALSE);
    End(view, FALSE);
}

MPackShape* MSelectTool::CreateSelectionPack(MTessarayView* view) {
    auto pack = std::make_unique<MPackShape>();
    for (int i = 0; i < Lists().PickCount(); ++i)
        pack->AddShape(Lists().Pick(i));
    pack->Recalc(view);
    return pack.release();
}

void MSelectTool::InsertShape(MTessarayView* view, MCadShape* shape) {
    End(view, FALSE);
    try {
        Lists().AddNewExpanded(shape, -1);
        Commit(view, FALSE, TRUE);
    } catch (...) {
        // The caller still owns what the drawing did not take: the list forgets it undeleted.
        for (int j = 0; j < Lists().NewCount(); ++j)
            Lists().NewShapes().SetAt(j, nullptr, static_cast<DWORD>(Lists().NewLayer(j)));
        Lists().NewShapes().RemoveAll();
        throw;
    }
    m_handles.Show(view);
}
