#include "tools/edit/RoundTool.h"

#include <cmath>

#include "model/shapes/curves/ArcShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"
#include "tools/SettingLine.h"
#include "tools/edit/EditDialogs.h"

MRoundTool::MRoundTool(int toolId) : MFilletChamferTool(toolId) {
    LoadPrompt(IDS_ROUND_STEPS, IDS_ROUND_PICKS);
}

MCadShape* MRoundTool::NewCornerShape() {
    return new MCircleArcShape();
}

bool MRoundTool::Follow(const MFloatPoint& q) {
    std::optional<MFillet> fillet;
    if (!m_fixedRadius)
        fillet = FilletThroughPoint(Corner(), q);
    else if (std::isfinite(m_radius))
        // A negative radius would put the arc in the quadrant opposite the cursor.
        fillet = FilletWithRadius(Corner(), q, std::fabs(m_radius));
    if (!fillet) return false;
    SetCopies(fillet->line0, fillet->line1);
    static_cast<MCircleArcShape*>(GetNewShape(2))
        ->SetArc(fillet->centre.x, fillet->centre.y, fillet->radius, fillet->startAngle, fillet->endAngle);
    return true;
}

void MRoundTool::OnNumericInput(MTessarayView* view) {
    MInputRoundDialog dialog(view, &m_radius, &m_keepValues);
    if (dialog.DoModal() == IDOK) m_fixedRadius = TRUE;
}

void MRoundTool::ReleaseConstraint() {
    m_fixedRadius = FALSE;
    MFilletChamferTool::ReleaseConstraint();
}

void MRoundTool::SaveSettings(std::ostream& os) {
    WriteSettingLine(os, {m_radius});
}

void MRoundTool::LoadSettings(std::istream& is) {
    ReadSettingValues(is, {&m_radius});
}
