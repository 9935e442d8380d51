#include "tools/dimension/SizeTool.h"

#include <cmath>
#include <memory>

#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/dimension/SizeTextLines.h"
#include "platform/gdi/DC.h"
#include "platform/ui/MessageTranslation.h"
#include "resources/ResourceIds.h"
#include "tools/SettingLine.h"
#include "tools/ToolScopes.h"
#include "tools/dimension/SizeDialogs.h"
#include "view/TessarayView.h"

namespace {

// Lengths below this count as zero.
constexpr double kZero = 2.220446e-15;

MFloatPoint Middle(const MFloatPoint& a, const MFloatPoint& b) {
    return (a + b) / 2.0;
}

}  // namespace

MSizeTool::MSizeTool(int toolId) : MLockedValueTool(toolId) {
    DeclareSteps(IDS_SIZE_STEPS, 0, {MToolStep(), MToolStep(), MToolStep()});
    SetLockedValues({MInputSizeDialog::IDD,
                     {{.value = &m_length,
                       .lock = &m_fixedLength,
                       .editId = IDC_LENGTH,
                       .checkId = IDC_FIXED_LENGTH,
                       .kind = MNumericEntryDialog::kPlain}}});
}

void MSizeTool::ReleaseConstraint() {
    MLockedValueTool::ReleaseConstraint();
    m_userText = FALSE;
}

MCadShape* MSizeTool::NewShape(MTessarayView*) {
    return new MSizeShape();
}

MSizeShape* MSizeTool::Shape() const {
    return Lists().NewCount() > 0 ? dynamic_cast<MSizeShape*>(Lists().NewShape(0)) : nullptr;
}

double MSizeTool::FixedDocLength(MTessarayView* view) const {
    const double length = std::abs(view->UserToDocLength(m_length));
    return std::isfinite(length) ? length : view->UserToDocLength(kDefaultLength);
}

void MSizeTool::BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT) {
    MSizeShape* shape = Shape();
    if (!shape) return;
    const MFloatPoint q = cursor;
    Points p{shape->GetA(), shape->GetB(), shape->GetC(), shape->GetD(), shape->GetE()};
    switch (GetStep()) {
        case 0:
            p = Points{q, q, q, q, q};
            if (!m_fixedLength) m_length = 0.0;
            break;
        case 1:
            PlaceEnd(view, q, p);
            break;
        case 2:
            PlaceLine(q, p);
            break;
        default:
            return;
    }
    shape->SetPoints(p.a, p.b, p.c, p.d, p.e);
    shape->SetFlags(m_userText ? MSizeBaseShape::kUserText : 0);
    if (m_userText) shape->SetText(m_text);
    shape->UpdateText();
    shape->Rebuild(view);
}

void MSizeTool::PlaceEnd(MTessarayView* view, MFloatPoint q, Points& p) {
    const MFloatPoint d = q - p.a;
    const double r = d.GetLength();
    if (m_fixedLength)
        q = p.a + (r > kZero ? d / r : MFloatPoint(1.0, 0.0)) * FixedDocLength(view);
    else
        m_length = view->DocToUserLength(r);
    p.b = p.d = q;
    p.c = p.a;
    p.e = m_autoTextPosition ? Middle(p.a, p.b) : q;
}

double MSizeTool::AxisEnd(MTessarayView* view, double q, double start) {
    if (m_fixedLength) return q - start >= 0.0 ? start + FixedDocLength(view) : start - FixedDocLength(view);
    m_length = view->DocToUserLength(std::abs(q - start));
    return q;
}

void MSizeTool::PlaceLine(const MFloatPoint& q, Points& p) {
    const MFloatPoint d = p.b - p.a;
    MFloatPoint o = q - p.a;
    // Start and end together have no direction: the line goes through q itself and measures 0.
    if (d.GetLength() > kZero) o -= d * (o.Dot(d) / d.Dot(d));
    p.c = p.a + o;
    p.d = p.b + o;
    p.e = m_autoTextPosition ? Middle(p.c, p.d) : q;
}

BOOL MSizeTool::ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags) {
    if (MDrawTool::ApplyConstraint(view, x, y, pt, flags)) return TRUE;
    const MSizeShape* shape = Shape();
    if (!shape || GetStep() != 1 || (!m_fixedLength && !(flags & MK_SHIFT))) return FALSE;
    // A fixed length holds the point on its circle around the start, SHIFT on the nearer axis; the
    // drawing's snap points and the grid on that locus still catch it.
    *pt = ConstrainAngleLength(view, shape->GetA(), *pt, FixedDocLength(view), m_fixedLength, 0.0, FALSE,
                               flags);
    return TRUE;
}

void MSizeTool::OnNumericInput(MTessarayView* view) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    MInputSizeDialog dialog(view);
    dialog.SetValues(m_length, m_fixedLength, m_autoTextPosition, m_text, m_userText, KeepsValues());
    if (dialog.DoModal() != IDOK) return;
    m_length = dialog.m_length;
    m_fixedLength = dialog.m_fixedLength != 0;
    m_autoTextPosition = dialog.m_autoTextPosition != 0;
    m_text = dialog.m_text;
    m_userText = dialog.m_userText != 0;
    SetKeepValues(dialog.m_keep != 0);
    // The end point is taken again under the new values.
    BeginStepAgain(1);
    if (MSizeShape* shape = Shape()) {
        // The option button may have changed the style new dimensions take.
        shape->SetSizeStyle(GetDefaultSizeStyle());
        OnPoint(view, GetCurrentPoint().x, GetCurrentPoint().y, kPhaseMove, 0);
        Lists().RecalcNew(view);
    }
    UpdatePrompt();
}

void MSizeTool::SaveSettings(std::ostream& os) {
    os << '\t' << size_text::DoubleText(m_length) << ' ' << size_text::IntText(m_autoTextPosition ? 1 : 0)
       << '\n';
    size_text::WriteValueLine(os, m_text);
}

void MSizeTool::LoadSettings(std::istream& is) {
    const MSettingLineReader line(is);
    if (!line.HasLine()) return;
    // A damaged length would reach every dimension drawn with a fixed length.
    m_length = line.Number(0).value_or(kDefaultLength);
    if (const auto autoText = line.Integer(1)) m_autoTextPosition = *autoText != 0;
    // The whole rest of the line: an empty text, and leading blanks, are the user's.
    std::string text;
    if (size_text::ReadValueLine(is, text)) m_text = text;
}

// ----- horizontal -------------------------------------------------------------------------------

void MSizeXTool::PlaceEnd(MTessarayView* view, MFloatPoint q, Points& p) {
    q.x = AxisEnd(view, q.x, p.a.x);
    p.b = p.d = q;
    p.c = MFloatPoint(p.a.x, q.y);
    p.e = m_autoTextPosition ? MFloatPoint((q.x + p.a.x) / 2.0, q.y) : q;
}

void MSizeXTool::PlaceLine(const MFloatPoint& q, Points& p) {
    p.c.y = p.d.y = q.y;
    p.e = m_autoTextPosition ? MFloatPoint((p.c.x + p.d.x) / 2.0, q.y) : q;
}

// ----- vertical ---------------------------------------------------------------------------------

void MSizeYTool::PlaceEnd(MTessarayView* view, MFloatPoint q, Points& p) {
    q.y = AxisEnd(view, q.y, p.a.y);
    p.b = p.d = q;
    p.c = MFloatPoint(q.x, p.a.y);
    p.e = m_autoTextPosition ? MFloatPoint(q.x, (q.y + p.a.y) / 2.0) : q;
}

void MSizeYTool::PlaceLine(const MFloatPoint& q, Points& p) {
    p.c.x = p.d.x = q.x;
    p.e = m_autoTextPosition ? MFloatPoint(q.x, (p.c.y + p.d.y) / 2.0) : q;
}
