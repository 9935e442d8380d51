// The select tool's drawing attributes: with a selection a change goes to the selected shapes
// (each kind of value only the shapes that have it) in one undo step, and the answer is the
// selection's common value; with nothing selected both act on the program-wide attributes.
#include "document/ToolSettings.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "tools/AttributeChange.h"
#include "tools/PickList.h"
#include "tools/select/SelectionEdits.h"
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

void MSelectTool::ApplyAttributeChange(MTessarayView* view, const MAttributeChange& change) {
    const auto global = [&] { MDrawTool::ApplyAttributeChange(view, change); };
    const auto each = [&](auto take, auto make) { m_edits->ChangeSelection(view, take, make, global); };
    // An arrow end given a kind takes the program-wide size when it had none.
    const auto arrowKind = [&](int MArrowInfo::*kind, double MArrowInfo::*size) {
        const int type = change.Number();
        const double fallback = GetDrawAttributes().arrows.*size;
        each(All, [&](MCadShape* s) {
            MArrowInfo arrows = s->GetArrows();
            arrows.*kind = type;
            if (type != kArrowNone && arrows.*size == 0.0) arrows.*size = fallback;
            s->SetArrows(arrows);
        });
    };
    // Only ends that draw a head take a size.
    const auto arrowSize = [&](int MArrowInfo::*kind, double MArrowInfo::*size) {
        each([&](MCadShape* s) { return s->GetArrows().*kind != kArrowNone; },
             [&](MCadShape* s) {
                 MArrowInfo arrows = s->GetArrows();
                 arrows.*size = change.Size();
                 s->SetArrows(arrows);
             });
    };
    switch (change.which) {
        case MAttribute::kLineColor:
            return each(All, [&](MCadShape* s) { s->SetColor(change.Color()); });
        case MAttribute::kTextColor:
            return each(All,
                        [&](MCadShape* s) { s->ChangeTextStyle(MTextStyleChange::Color(change.Color())); });
        case MAttribute::kFaceColor:
            return each(All, [&](MCadShape* s) { s->SetFillStyle(change.Fill()); });
        case MAttribute::kLineType:
            return each(All, [&](MCadShape* s) { s->SetLineStyle(change.Number()); });
        case MAttribute::kLineWidth:
            return each(All, [&](MCadShape* s) { s->SetLineWidth(change.Size()); });
        case MAttribute::kStartArrowType:
            return arrowKind(&MArrowInfo::startStyle, &MArrowInfo::startSize);
        case MAttribute::kEndArrowType:
            return arrowKind(&MArrowInfo::endStyle, &MArrowInfo::endSize);
        case MAttribute::kStartArrowSize:
            return arrowSize(&MArrowInfo::startStyle, &MArrowInfo::startSize);
        case MAttribute::kEndArrowSize:
            return arrowSize(&MArrowInfo::endStyle, &MArrowInfo::endSize);
        case MAttribute::kFontSize:
            // The control shows millimetres on paper; the shapes keep drawing units.
            return each(WithText, [&](MCadShape* s) {
                s->ChangeTextStyle(MTextStyleChange::Size(view->PaperToDocLength(change.Size())));
            });
        case MAttribute::kFontName:
            return each(WithText, [&](MCadShape* s) {
                s->ChangeTextStyle(MTextStyleChange::Font(MTextFontName(change.Name())));
            });
        case MAttribute::kBold:
            return each(WithText, [&](MCadShape* s) { s->SetTextFlag(kTextBold, change.Number()); });
        case MAttribute::kItalic:
            return each(WithText, [&](MCadShape* s) { s->SetTextFlag(kTextItalic, change.Number()); });
        case MAttribute::kUnderline:
            return each(WithText, [&](MCadShape* s) { s->SetTextFlag(kTextUnderline, change.Number()); });
        case MAttribute::kTextFrame:
            return each([](MCadShape* s) { return s->IsText() != FALSE; },
                        [&](MCadShape* s) { s->SetTextFlag(kTextFrame, change.Number()); });
        case MAttribute::kHorzAlign:
            return each(MultiText, [&](MCadShape* s) {
                static_cast<MMultiTextShape*>(s)->SetHorzAlign(change.Number() & 3);
            });
        case MAttribute::kVertAlign:
            return each(MultiText, [&](MCadShape* s) {
                static_cast<MMultiTextShape*>(s)->SetVertAlign(change.Number() & 0xC);
            });
    }
}

MAttributeChange MSelectTool::GetAttribute(MAttribute which) {
    if (Lists().PickCount() == 0) return MDrawTool::GetAttribute(which);
    const MLPointShapeArray& picks = Lists().Picks();
    switch (which) {
        case MAttribute::kLineColor:
            return {which, picks.GetColor()};
        case MAttribute::kTextColor:
            return {which, picks.GetTextColor()};
        case MAttribute::kFaceColor:
            return {which, picks.GetFillStyle()};
        case MAttribute::kLineType:
            return {which, picks.GetLineStyle()};
        case MAttribute::kStartArrowType:
            return {which, picks.GetArrows().startStyle};
        case MAttribute::kEndArrowType:
            return {which, picks.GetArrows().endStyle};
        case MAttribute::kBold:
            return {which, picks.HasTextFlag(kTextBold)};
        case MAttribute::kItalic:
            return {which, picks.HasTextFlag(kTextItalic)};
        case MAttribute::kUnderline:
            return {which, picks.HasTextFlag(kTextUnderline)};
        case MAttribute::kTextFrame:
            return {which, picks.HasTextFlag(kTextFrame)};
        case MAttribute::kHorzAlign:
            return {which, picks.GetAlignment() & 3};
        case MAttribute::kVertAlign:
            return {which, picks.GetAlignment() & 0xC};
        case MAttribute::kLineWidth:
            return {which, picks.GetLineWidth()};
        case MAttribute::kStartArrowSize:
            return {which, picks.GetArrows().startSize};
        case MAttribute::kEndArrowSize:
            return {which, picks.GetArrows().endSize};
        case MAttribute::kFontSize: {
            const double size = picks.GetTextSize();
            return {which, GetView() && size != 0.0 ? GetView()->DocToPaperLength(size) : size};
        }
        case MAttribute::kFontName:
            return {which, picks.GetFontName()};
    }
    return MDrawTool::GetAttribute(which);
}
