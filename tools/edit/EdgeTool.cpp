#include "tools/edit/EdgeTool.h"

#include "document/ToolSettings.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "tools/edit/EditDialogs.h"

MEdgeTool::MEdgeTool(int toolId) : MLockedValueTool(toolId) {
    LoadPrompt(IDS_EDGE_STEPS, IDS_EDGE_PICKS);
    SetLockedValues({IDD_EDGE_INPUT,
                     {{.value = &m_length1, .lock = &m_fixedLengths, .editId = IDC_EDGE_LENGTH1},
                      {.value = &m_length2, .lock = &m_fixedLengths, .editId = IDC_EDGE_LENGTH2}},
                     false,
                     MSettingRule::kStream});
}

MCadShape* MEdgeTool::NewCornerShape() {
    return new MLineShape();
}

bool MEdgeTool::Follow(const MFloatPoint& q) {
    const MFloatPoint click0 = Lists().PickPoint(0), click1 = Lists().PickPoint(1);
    const std::optional<MChamfer> chamfer =
        m_fixedLengths ? ChamferWithLengths(Corner(), click0, click1, m_length1, m_length2)
                       : ChamferThroughPoint(Corner(), click0, click1, q);
    if (!chamfer) return false;
    SetCopies(chamfer->line0, chamfer->line1);
    auto* line = static_cast<MLineShape*>(Lists().NewShape(2));
    line->m_start = chamfer->chamfer.start;
    line->m_end = chamfer->chamfer.end;
    return true;
}

void MEdgeTool::OnNumericInput(MTessarayView* view) {
    MChamferEntry& entry = GetChamferEntry();
    entry.length1 = m_length1;
    entry.length2 = m_length2;
    MInputEdgeDialog dialog(view);
    if (dialog.DoModal() != IDOK) return;
    m_fixedLengths = TRUE;
    m_length1 = entry.length1;
    m_length2 = entry.length2;
    SetKeepValues(entry.keepValues);
    CommitFixed(view);
}
