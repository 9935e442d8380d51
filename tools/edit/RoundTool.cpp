#include "tools/edit/RoundTool.h"

#include <cmath>

#include "model/shapes/curves/ArcShape.h"
#include "platform/Strings.h"
#include "resources/ResourceIds.h"

MRoundTool::MRoundTool(int toolId) : MLockedValueTool(toolId) {
    LoadPrompt(IDS_ROUND_STEPS, IDS_ROUND_PICKS);
    SetLockedValues({IDD_ROUND_INPUT,
                     {{.value = &m_radius, .lock = &m_fixedRadius, .editId = IDC_ROUND_RADIUS}},
                     false,
                     MSettingRule::kStream});
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
    static_cast<MCircleArcShape*>(Lists().NewShape(2))
        ->SetArc(fillet->centre.x, fillet->centre.y, fillet->radius, fillet->startAngle, fillet->endAngle);
    return true;
}
