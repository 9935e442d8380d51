#include "tools/dimension/RadialDimensionTools.h"

#include <cmath>
#include <memory>
#include <vector>

#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/dimension/RadiusShape.h"
#include "model/shapes/dimension/SizeTextLines.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "resources/ResourceIds.h"
#include "tools/SettingLine.h"
#include "tools/ToolScopes.h"
#include "tools/dimension/DimensionInputDialogs.h"
#include "tools/dimension/DimensionPlacement.h"
#include "view/TessarayView.h"

namespace {

// The flags of the first line (each 0 or 1) and the text line; false when the lines are missing.
bool ReadPlacement(std::istream& is, std::vector<BOOL*> flags, std::string& text) {
    const MSettingLineReader values(is);
    if (!values.HasLine()) return false;
    for (std::size_t i = 0; i < flags.size(); ++i)
        if (const auto value = values.Integer(i)) *flags[i] = *value != 0;
    // The whole rest of the line: an empty text, and leading blanks, are the user's.
    std::string line;
    if (!size_text::ReadValueLine(is, line)) return false;
    text = line;
    return true;
}

const char* Flag(BOOL on) {
    return on ? "1" : "0";
}

}  // namespace

// ----- both -------------------------------------------------------------------------------------

MCircleDimensionTool::MCircleDimensionTool(int toolId, UINT stepPromptsId, UINT pickPromptsId)
    : MDrawTool(toolId) {
    // After the circle is picked, one release places the text.
    DeclareSteps(stepPromptsId, pickPromptsId, {MToolStep()});
}

void MCircleDimensionTool::ReleaseConstraint() {
    ClearConstraint();
    m_userText = FALSE;
}

MCadShape* MCircleDimensionTool::FilterPickTarget(MCadShape* shape) {
    return dynamic_cast<MCircleShape*>(shape);
}

MCircleSizeShape* MCircleDimensionTool::Shape() const {
    return Lists().NewCount() > 0 ? dynamic_cast<MCircleSizeShape*>(Lists().NewShape(0)) : nullptr;
}

MCadShape* MCircleDimensionTool::NewShape(MTessarayView*) {
    const auto* circle =
        Lists().PickCount() > 0 ? dynamic_cast<const MCircleShape*>(Lists().Pick(0)) : nullptr;
    if (!circle) return nullptr;
    MCircleSizeShape* shape = NewDimension();
    shape->SetCircle(circle->m_center, circle->m_radius, 0.0, 0.0);
    return shape;
}

void MCircleDimensionTool::BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT) {
    MCircleSizeShape* shape = Shape();
    if (!shape || GetStep() != 0) return;
    const MFloatPoint v = cursor - shape->GetCircleCenter();
    const double distance = v.GetLength();
    const double angle = distance > 0.0 ? std::atan2(v.y, v.x) : 0.0;
    shape->SetCircle(shape->GetCircleCenter(), shape->GetRadius(), angle,
                     TextDistance(shape->GetRadius(), distance));
    shape->SetFlags((m_userText ? MSizeBaseShape::kUserText : 0) | PlacementFlags());
    if (m_userText) shape->SetText(m_text);
    shape->UpdateText();
    shape->Rebuild(view);
}

void MCircleDimensionTool::AfterNumericInput(MTessarayView* view) {
    MCircleSizeShape* shape = Shape();
    if (!shape) return;
    shape->SetSizeStyle(GetDefaultSizeStyle());
    // The dimension follows the cursor again under the new text and placement.
    OnPoint(view, GetCurrentPoint().x, GetCurrentPoint().y, kPhaseMove, 0);
    Lists().RecalcNew(view);
}

// ----- radius -----------------------------------------------------------------------------------

MRadiusTool::MRadiusTool(int toolId) : MCircleDimensionTool(toolId, IDS_RADIUS_STEPS, IDS_RADIUS_PICKS) {
    MDimensionPlacement& placement = GetDimensionPlacement();
    placement.radiusAutoText = TRUE;
    placement.noOvershoot = FALSE;
    placement.overshootFromCentre = FALSE;
}

MCircleSizeShape* MRadiusTool::NewDimension() const {
    return new MRadiusSizeShape();
}

double MRadiusTool::TextDistance(double radius, double distance) const {
    return GetDimensionPlacement().radiusAutoText ? radius * 0.5 : distance;
}

int MRadiusTool::PlacementFlags() const {
    const MDimensionPlacement& placement = GetDimensionPlacement();
    if (placement.noOvershoot) return MCircleSizeShape::kNoInsideLine;
    return placement.overshootFromCentre ? MCircleSizeShape::kLineFromCentre : 0;
}

void MRadiusTool::OnNumericInput(MTessarayView* view) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    MDimensionPlacement& placement = GetDimensionPlacement();
    MInputRadiusDialog dialog(view, Shape());
    dialog.SetValues(m_text, m_userText, placement.radiusAutoText, placement.noOvershoot,
                     placement.overshootFromCentre, KeepsValues());
    if (dialog.DoModal() != IDOK) return;
    m_userText = dialog.m_userText != 0;
    m_text = dialog.m_text;
    SetKeepValues(dialog.m_keep != 0);
    placement.radiusAutoText = dialog.m_autoTextPosition != 0;
    placement.noOvershoot = dialog.m_noOvershoot != 0;
    placement.overshootFromCentre = dialog.m_overshootFromCentre != 0;
    AfterNumericInput(view);
}

void MRadiusTool::SaveSettings(std::ostream& os) {
    const MDimensionPlacement& placement = GetDimensionPlacement();
    os << '\t' << Flag(placement.radiusAutoText) << ' ' << Flag(placement.noOvershoot) << ' '
       << Flag(placement.overshootFromCentre) << '\n';
    size_text::WriteValueLine(os, m_text);
}

void MRadiusTool::LoadSettings(std::istream& is) {
    MDimensionPlacement& placement = GetDimensionPlacement();
    ReadPlacement(is, {&placement.radiusAutoText, &placement.noOvershoot, &placement.overshootFromCentre},
                  m_text);
}

// ----- diameter ---------------------------------------------------------------------------------

MDiameterTool::MDiameterTool(int toolId)
    : MCircleDimensionTool(toolId, IDS_DIAMETER_STEPS, IDS_DIAMETER_PICKS) {
    GetDimensionPlacement().diameterAutoText = TRUE;
}

MCircleSizeShape* MDiameterTool::NewDimension() const {
    return new MDiameterSizeShape();
}

double MDiameterTool::TextDistance(double, double distance) const {
    return GetDimensionPlacement().diameterAutoText ? 0.0 : distance;
}

void MDiameterTool::OnNumericInput(MTessarayView* view) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    MDimensionPlacement& placement = GetDimensionPlacement();
    MInputDiamterDialog dialog(view, Shape());
    dialog.SetValues(m_text, m_userText, placement.diameterAutoText, KeepsValues());
    if (dialog.DoModal() != IDOK) return;
    m_userText = dialog.m_userText != 0;
    m_text = dialog.m_text;
    SetKeepValues(dialog.m_keep != 0);
    placement.diameterAutoText = dialog.m_autoTextPosition != 0;
    AfterNumericInput(view);
}

void MDiameterTool::SaveSettings(std::ostream& os) {
    os << '\t' << Flag(GetDimensionPlacement().diameterAutoText) << '\n';
    size_text::WriteValueLine(os, m_text);
}

void MDiameterTool::LoadSettings(std::istream& is) {
    ReadPlacement(is, {&GetDimensionPlacement().diameterAutoText}, m_text);
}
