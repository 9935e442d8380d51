// The select tool's drawing attributes: with a selection the setters change the selected shapes
// (each kind of value only the shapes that have it) in one undo step, and the getters answer the
// selection's common value; with nothing selected both act on the program-wide attributes.
#include "document/ToolSettings.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "tools/PickList.h"
#include "tools/select/SelectTool.h"
#include "view/TessarayView.h"

namespace {

bool All(MCadShape*) {
    return true;
}
bool WithText(MCadShape* shape) {
    return shape->HasText() != FALSE;
}
bool MultiText(MCadShape* shape) {
    return dynamic_cast<MMultiTextShape*>(shape) != nullptr;
}

}  // namespace

void MSelectTool::SetLineColor(MTessarayView* view, COLORREF color) {
    ChangeSelection(
        view, All, [&](MCadShape* s) { s->SetColor(color); }, [&] { MDrawTool::SetLineColor(view, color); });
}

void MSelectTool::SetFaceColor(MTessarayView* view, const MFillStyle& fill) {
    ChangeSelection(
        view, All, [&](MCadShape* s) { s->SetFillStyle(fill); },
        [&] { MDrawTool::SetFaceColor(view, fill); });
}

void MSelectTool::SetTextColor(MTessarayView* view, COLORREF color) {
    ChangeSelection(
        view, All, [&](MCadShape* s) { s->SetTextColor(color); },
        [&] { MDrawTool::SetTextColor(view, color); });
}

void MSelectTool::SetLineWidth(MTessarayView* view, double width) {
    ChangeSelection(
        view, All, [&](MCadShape* s) { s->SetLineWidth(width); },
        [&] { MDrawTool::SetLineWidth(view, width); });
}

void MSelectTool::SetLineType(MTessarayView* view, int type) {
    ChangeSelection(
        view, All, [&](MCadShape* s) { s->SetLineStyle(type); }, [&] { MDrawTool::SetLineType(view, type); });
}

void MSelectTool::SetStartArrowType(MTessarayView* view, int type) {
    const double size = GetDrawAttributes().arrows.startSize;
    ChangeSelection(
        view, All,
        [&](MCadShape* s) {
            MArrowInfo arrows = s->GetArrows();
            arrows.startStyle = type;
            if (type != kArrowNone && arrows.startSize == 0.0) arrows.startSize = size;
            s->SetArrows(arrows);
        },
        [&] { MDrawTool::SetStartArrowType(view, type); });
}

void MSelectTool::SetEndArrowType(MTessarayView* view, int type) {
    const double size = GetDrawAttributes().arrows.endSize;
    ChangeSelection(
        view, All,
        [&](MCadShape* s) {
            MArrowInfo arrows = s->GetArrows();
            arrows.endStyle = type;
            if (type != kArrowNone && arrows.endSize == 0.0) arrows.endSize = size;
            s->SetArrows(arrows);
        },
        [&] { MDrawTool::SetEndArrowType(view, type); });
}

void MSelectTool::SetStartArrowSize(MTessarayView* view, double size) {
    ChangeSelection(
        view, [](MCadShape* s) { return s->GetArrows().startStyle != kArrowNone; },
        [&](MCadShape* s) {
            MArrowInfo arrows = s->GetArrows();
            arrows.startSize = size;
            s->SetArrows(arrows);
        },
        [&] { MDrawTool::SetStartArrowSize(view, size); });
}

void MSelectTool::SetEndArrowSize(MTessarayView* view, double size) {
    ChangeSelection(
        view, [](MCadShape* s) { return s->GetArrows().endStyle != kArrowNone; },
        [&](MCadShape* s) {
            MArrowInfo arrows = s->GetArrows();
            arrows.endSize = size;
            s->SetArrows(arrows);
        },
        [&] { MDrawTool::SetEndArrowSize(view, size); });
}

void MSelectTool::SetFontSize(MTessarayView* view, double size) {
    // The control shows millimetres on paper; the shapes keep drawing units.
    ChangeSelection(
        view, WithText, [&](MCadShape* s) { s->SetTextSize(view->PaperToDocLength(size)); },
        [&] { MDrawTool::SetFontSize(view, size); });
}

void MSelectTool::SetFontName(MTessarayView* view, const CString& name) {
    ChangeSelection(
        view, WithText, [&](MCadShape* s) { s->SetFontName(name); },
        [&] { MDrawTool::SetFontName(view, name); });
}

void MSelectTool::SetBold(MTessarayView* view, BOOL on) {
    ChangeSelection(
        view, WithText, [&](MCadShape* s) { s->SetTextFlag2(on); }, [&] { MDrawTool::SetBold(view, on); });
}

void MSelectTool::SetItalic(MTessarayView* view, BOOL on) {
    ChangeSelection(
        view, WithText, [&](MCadShape* s) { s->SetTextFlag1(on); }, [&] { MDrawTool::SetItalic(view, on); });
}

void MSelectTool::SetUnderline(MTessarayView* view, BOOL on) {
    ChangeSelection(
        view, WithText, [&](MCadShape* s) { s->SetTextFlag4(on); },
        [&] { MDrawTool::SetUnderline(view, on); });
}

void MSelectTool::SetTextFrame(MTessarayView* view, BOOL on) {
    ChangeSelection(
        view, [](MCadShape* s) { return s->IsText() != FALSE; }, [&](MCadShape* s) { s->SetTextFlag40(on); },
        [&] { MDrawTool::SetTextFrame(view, on); });
}

void MSelectTool::SetHorzAlign(MTessarayView* view, int align) {
    ChangeSelection(
        view, MultiText, [&](MCadShape* s) { static_cast<MMultiTextShape*>(s)->SetHorzAlign(align & 3); },
        [&] { MDrawTool::SetHorzAlign(view, align); });
}

void MSelectTool::SetVertAlign(MTessarayView* view, int align) {
    ChangeSelection(
        view, MultiText, [&](MCadShape* s) { static_cast<MMultiTextShape*>(s)->SetVertAlign(align & 0xC); },
        [&] { MDrawTool::SetVertAlign(view, align); });
}

// ----- getters ----------------------------------------------------------------------------------

COLORREF MSelectTool::GetLineColor() {
    return GetPickCount() > 0 ? GetPickArray()->GetColor() : MDrawTool::GetLineColor();
}

MFillStyle MSelectTool::GetFaceColor() {
    return GetPickCount() > 0 ? GetPickArray()->GetFillStyle() : MDrawTool::GetFaceColor();
}

int MSelectTool::GetLineType() {
    return GetPickCount() > 0 ? GetPickArray()->GetLineStyle() : MDrawTool::GetLineType();
}

double MSelectTool::GetLineWidth() {
    return GetPickCount() > 0 ? GetPickArray()->GetLineWidth() : MDrawTool::GetLineWidth();
}

double MSelectTool::GetFontSize() {
    if (GetPickCount() == 0) return MDrawTool::GetFontSize();
    const double size = GetPickArray()->GetTextSize();
    return m_view && size != 0.0 ? m_view->DocToPaperLength(size) : size;
}

CString MSelectTool::GetFontName() {
    return GetPickCount() > 0 ? GetPickArray()->GetFontName() : MDrawTool::GetFontName();
}

BOOL MSelectTool::GetBold() {
    return GetPickCount() > 0 ? GetPickArray()->IsTextFlag2() : MDrawTool::GetBold();
}

BOOL MSelectTool::GetItalic() {
    return GetPickCount() > 0 ? GetPickArray()->IsTextFlag1() : MDrawTool::GetItalic();
}

BOOL MSelectTool::GetUnderline() {
    return GetPickCount() > 0 ? GetPickArray()->IsTextFlag4() : MDrawTool::GetUnderline();
}

BOOL MSelectTool::GetTextFrame() {
    return GetPickCount() > 0 ? GetPickArray()->IsTextFlag40() : MDrawTool::GetTextFrame();
}

COLORREF MSelectTool::GetTextColor() {
    return GetPickCount() > 0 ? GetPickArray()->GetTextColor() : MDrawTool::GetTextColor();
}

int MSelectTool::GetAlignment() {
    return GetPickCount() > 0 ? GetPickArray()->GetAlignment() : MDrawTool::GetAlignment();
}

MArrowInfo MSelectTool::GetArrowStyle() {
    return GetPickCount() > 0 ? GetPickArray()->GetArrows() : MDrawTool::GetArrowStyle();
}
