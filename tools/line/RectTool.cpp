#include "tools/line/RectTool.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "model/geometry/Geometry.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/RectShape.h"
#include "platform/Exceptions.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/SettingLine.h"

namespace {

CProgramSlot<int>& PolygonFlagSlot() {
    static auto& slot = *new CProgramSlot<int>();
    return slot;
}

// Width or height vanishing next to the other: two clicks on one row, Shift with one difference 0,
// a locked size of 0. Such a rectangle would commit as lines on top of each other.
bool IsFlat(double w, double h) {
    const double tolerance = kZeroTolerance * std::max(std::fabs(w), std::fabs(h));
    return !(std::fabs(w) > tolerance) || !(std::fabs(h) > tolerance);
}

}  // namespace

int& RectPolygonFlag() {
    return PolygonFlagSlot().Get();
}

MRectTool::MRectTool(int toolId) : MLockedValueTool(toolId) {
    // Both sides fixed: the rectangle follows the pointer from the start, and a click places it.
    DeclareSteps(
        IDS_RECT_STEPS, 0,
        {MToolStep::SkippedWhen([this] { return IsWidthLocked() && IsHeightLocked(); }), MToolStep()});
    SetLockedValues({IDD_RECT_INPUT,
                     {{.value = &m_width,
                       .lock = &m_widthLocked,
                       .editId = IDC_RECT_WIDTH,
                       .checkId = IDC_RECT_WIDTH_LOCK},
                      {.value = &m_height,
                       .lock = &m_heightLocked,
                       .editId = IDC_RECT_HEIGHT,
                       .checkId = IDC_RECT_HEIGHT_LOCK}}});
}

MCadShape* MRectTool::NewShape(MTessarayView*) {
    return new MRectShape();
}

void MRectTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT flags) {
    if (GetStep() == 0) m_anchor = cursor;
    double w = m_width, h = m_height;
    if (m_widthLocked && m_heightLocked) {
        m_anchor = cursor;
    } else {
        if (!m_widthLocked) w = cursor.x - m_anchor.x;
        if (!m_heightLocked) h = cursor.y - m_anchor.y;
        if (flags & MK_SHIFT) {
            // A square: the longer side shortened to the shorter, each keeping its sign.
            const double side = std::min(std::fabs(w), std::fabs(h));
            w = std::copysign(side, w);
            h = std::copysign(side, h);
        }
    }
    if (auto* rect = dynamic_cast<MRectShape*>(Lists().NewShape(0)))
        rect->SetRect(m_anchor.x, m_anchor.y, w, h);
}

void MRectTool::AddDialogExtras(MNumericEntryDialog& dialog) {
    dialog.AddCheck(IDC_RECT_POLYGON, &RectPolygonFlag());
}

void MRectTool::DecideAndReset(MTessarayView* view) {
    auto* rect = Lists().NewCount() == 1 ? dynamic_cast<MRectShape*>(Lists().NewShape(0)) : nullptr;
    if (rect && IsFlat(rect->m_size.cx, rect->m_size.cy)) {
        Reset();
        return;
    }
    if (rect && !RectPolygonFlag()) {
        if (rect->GetPointCount() < MRectShape::kCorners) AfxThrowInvalidArgException();
        const int layer = Lists().NewLayer(0);
        Lists().NewShapes().RemoveAt(0);
        const std::unique_ptr<MRectShape> owned(rect);
        for (int from : {3, 0, 1, 2}) {
            auto line = std::make_unique<MLineShape>(rect->GetPoint(from), rect->GetPoint((from + 1) % 4));
            Lists().AddNewExpanded(line.get(), layer);
            line.release();
        }
    }
    MDrawTool::DecideAndReset(view);
}

void MRectTool::SaveSettings(std::ostream& os) {
    MDrawTool::SaveSettings(os);
    WriteSettingLine(os, {m_width, m_height, static_cast<double>(RectPolygonFlag())});
}

void MRectTool::LoadSettings(std::istream& is) {
    MDrawTool::LoadSettings(is);
    const MSettingLineReader line(is);
    if (!line.HasLine()) return;
    m_width = line.Number(0).value_or(kDefaultSize);
    m_height = line.Number(1).value_or(kDefaultSize);
    if (const auto flag = line.Integer(2)) RectPolygonFlag() = *flag ? 1 : 0;
}
