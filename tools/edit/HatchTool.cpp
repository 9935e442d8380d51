#include "tools/edit/HatchTool.h"

#include <cmath>
#include <memory>
#include <sstream>

#include "document/DocShapeArray.h"
#include "model/geometry/Hatch.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/DrawMenu.h"
#include "tools/PickList.h"
#include "tools/SettingLine.h"
#include "view/TessarayView.h"

namespace {

// More lines than this take long and much memory: the user decides.
constexpr double kAskAboveLines = 100000.0;

std::vector<MHatchBoundary> BoundariesOf(const MLPointShapeArray& picks) {
    std::vector<MHatchBoundary> out;
    for (int i = 0; i < picks.GetSize(); ++i) {
        const MCadShape* shape = picks.GetShape(i);
        if (const auto* line = dynamic_cast<const MLineShape*>(shape)) {
            out.push_back(MHatchBoundary::Line(line->m_start, line->m_end));
        } else if (const auto* outline = dynamic_cast<const MPolygonShape*>(shape)) {
            const MFloatPointArray& p = outline->GetPoints();
            out.push_back(
                MHatchBoundary::Outline({p.GetData(), p.GetData() + p.GetSize()}, outline->IsClosed()));
        }
    }
    return out;
}

MHatchSettings SettingsFor(const MHatchValues& values, MTessarayView* view) {
    MHatchSettings s;
    s.pitch = view->PaperToDocLength(values.pitch);
    s.spacing = view->PaperToDocLength(values.spacing);
    s.lineCount = values.lineCount;
    s.mode = values.mode;
    for (std::size_t k = 0; k < 4; ++k)
        s.directions[k] = values.directions[k] != 0;
    return s;
}

}  // namespace

MHatchTool::MHatchTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(0, IDS_HATCH_PICKS);
    Commands().OnCommand(
        ID_HATCH_LAST_SELECTION, [this] { RunGuarded(GetView(), [&] { PickRemembered(GetView()); }); },
        [this](CCmdUI* ui) { ui->Enable(!m_remembered.empty()); });
}

MHatchTool::~MHatchTool() {
    ForgetSelection();
}

MCadShape* MHatchTool::FilterPickTarget(MCadShape* shape) {
    return dynamic_cast<MLineShape*>(shape) || dynamic_cast<MPolygonShape*>(shape) ? shape : nullptr;
}

void MHatchTool::OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    if (Lists().PickCount() == 0 || (flags & (MK_SHIFT | MK_CONTROL))) {
        MDrawTool::OnRButtonDown(view, x, y, flags);
        return;
    }
    RunGuarded(view, [&] { Hatch(view, CPoint(x, y)); });
}

void MHatchTool::BuildContextMenu(MTessarayView* view, MDrawMenu* menu, int x, int y) {
    MDrawTool::BuildContextMenu(view, menu, x, y);
    menu->InsertMenu(0, MF_BYPOSITION | MF_SEPARATOR);
    menu->InsertMenu(0, MF_BYPOSITION | MF_STRING, ID_HATCH_LAST_SELECTION,
                     AfxLoadString(ID_HATCH_LAST_SELECTION));
}

void MHatchTool::End(MTessarayView* view, BOOL switching) {
    m_ending = switching;
    MDrawTool::End(view, switching);
    m_ending = FALSE;
}

void MHatchTool::Reset() {
    MDrawTool::Reset();
    if (m_ending) ForgetSelection();
}

// ----- the hatch --------------------------------------------------------------------------------

void MHatchTool::Hatch(MTessarayView* view, const CPoint& click) {
    MHatchDialog dialog(view, m_values);
    if (dialog.DoModal() != IDOK) return;
    m_values = dialog.GetValues();
    if (!(m_values.pitch > 0)) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const MFloatPoint side = view->DeviceToDoc(dc.get(), click);
    dc.reset();
    m_snappingThrough = true;
    const MFloatPoint through = Snap(view, click.x, click.y, 0).point;
    m_snappingThrough = false;
    if (!ConfirmLineCount(view, through)) return;
    if (MakeHatchGroup(view, through, side)) Commit(view, FALSE, FALSE);
    Remember(Document(view));
    Lists().Picks().Invalidate(view, TRUE);
    Lists().ClearPicks();
}

bool MHatchTool::ConfirmLineCount(MTessarayView* view, const MFloatPoint& through) {
    const MHatchEstimate estimate =
        EstimateHatchLines(BoundariesOf(Lists().Picks()), through, SettingsFor(m_values, view));
    if (estimate.belowResolution || !(estimate.lines <= kAskAboveLines)) {
        std::ostringstream count;
        count.imbue(std::locale::classic());
        count.precision(0);
        count << std::fixed << (std::isfinite(estimate.lines) ? estimate.lines : 1e300);
        return AfxMessageBox(AfxFormatString1(IDS_HATCH_TOO_MANY_LINES, count.str()),
                             MB_YESNO | MB_ICONQUESTION) == IDYES &&
               !estimate.belowResolution;
    }
    return true;
}

bool MHatchTool::MakeHatchGroup(MTessarayView* view, const MFloatPoint& through, const MFloatPoint& side) {
    const std::vector<MFloatSegment> pieces =
        LayHatch(BoundariesOf(Lists().Picks()), through, side, SettingsFor(m_values, view));
    if (pieces.empty()) return false;
    auto group = std::make_unique<MGroupShape>();
    for (const MFloatSegment& s : pieces)
        group->AddShape(new MLineShape(s.start, s.end));
    Lists().AddNewExpanded(group.get(), -1);
    group.release();
    return true;
}

// ----- the remembered selection -----------------------------------------------------------------

void MHatchTool::Remember(MTessarayDoc* doc) {
    ForgetSelection();
    if (!doc) return;
    for (int i = 0; i < Lists().PickCount(); ++i)
        m_remembered.push_back({Lists().Pick(i), Lists().PickLayer(i), Lists().PickPoint(i)});
    if (m_remembered.empty()) return;
    m_rememberedDoc = doc;
    doc->AddShapeLeaveListener(this);
}

void MHatchTool::ForgetSelection() {
    m_remembered.clear();
    if (m_rememberedDoc) m_rememberedDoc->RemoveShapeLeaveListener(this);
    m_rememberedDoc = nullptr;
}

void MHatchTool::ForgetEntry(int index) {
    if (index < 0 || index >= GetRememberedCount()) return;
    m_remembered.erase(m_remembered.begin() + index);
    if (m_remembered.empty()) ForgetSelection();
}

void MHatchTool::OnShapeLeft(MTessarayDoc& doc, const MCadShape* shape) {
    if (&doc != m_rememberedDoc) return;
    if (!shape) {
        ForgetSelection();
        return;
    }
    for (int i = GetRememberedCount() - 1; i >= 0; --i)
        if (m_remembered[static_cast<std::size_t>(i)].shape == shape) ForgetEntry(i);
}

void MHatchTool::PickRemembered(MTessarayView* view) {
    End(view, FALSE);
    MTessarayDoc* doc = Document(view);
    if (!doc || doc != m_rememberedDoc) return;
    for (const Remembered& r : m_remembered)
        if (doc->GetLayers()->FindShape(r.shape, r.layer) >= 0) Lists().AddPick(r.shape, r.point, r.layer);
    if (Lists().PickCount() > 0) Lists().Picks().Invalidate(view, TRUE);
}

// ----- settings ---------------------------------------------------------------------------------

void MHatchTool::SaveSettings(std::ostream& os) {
    const auto& d = m_values.directions;
    WriteSettingLine(
        os, {static_cast<double>(m_values.mode), m_values.pitch, static_cast<double>(m_values.lineCount),
             m_values.spacing, static_cast<double>(d[0]), static_cast<double>(d[1]),
             static_cast<double>(d[2]), static_cast<double>(d[3])});
}

void MHatchTool::LoadSettings(std::istream& is) {
    // A value that does not read keeps the value before.
    const MSettingLineReader line(is, MSettingRule::kStream);
    if (!line.HasLine()) return;
    m_values.mode = line.Integer(0).value_or(m_values.mode);
    m_values.pitch = line.Number(1).value_or(m_values.pitch);
    m_values.lineCount = line.Integer(2).value_or(m_values.lineCount);
    m_values.spacing = line.Number(3).value_or(m_values.spacing);
    std::size_t index = 4;
    for (int& on : m_values.directions)
        on = line.Integer(index++).value_or(on);
    m_values.Clamp();
}
