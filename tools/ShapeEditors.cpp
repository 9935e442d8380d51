#include "tools/ShapeEditors.h"

#include <memory>

#include "model/CadView.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/ShapeEditors.h"
#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/dimension/SizeBaseShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"

namespace {

// What the one-line and the multi-line text dialogs share: string, angle, alignment, direction.
void FillTextDialog(MTextInputDialog& dialog, const MTextShape& text) {
    dialog.m_text = text.GetString();
    dialog.m_angle = text.GetAngle() / kPi * 180;
    dialog.SetAlignment(text.GetAlignment());
    dialog.m_vertical = text.IsVertical();
}

void TakeTextDialog(const MTextInputDialog& dialog, MTextShape& text) {
    text.SetString(dialog.GetText());
    text.SetTextFlag(kTextVertical, dialog.m_vertical);
    text.SetAngle(dialog.m_angle * kPi / 180);
    text.SetAlignment(dialog.GetAlignment());
}

BOOL EditText(MCadShape& shape, MCadView* view) {
    auto& text = static_cast<MTextShape&>(shape);
    std::unique_ptr<MTextInputDialog> dialog = GetShapeDialogFactory().CreateTextInputDialog();
    if (!dialog) return FALSE;
    FillTextDialog(*dialog, text);
    if (dialog->DoModal() != IDOK) return FALSE;
    TakeTextDialog(*dialog, text);
    text.MeasureText(view);
    return TRUE;
}

// The box keeps its size: nothing is measured.
BOOL EditMultiText(MCadShape& shape, MCadView*) {
    auto& text = static_cast<MMultiTextShape&>(shape);
    std::unique_ptr<MInputMultiTextDialog> dialog = GetShapeDialogFactory().CreateInputMultiTextDialog();
    if (!dialog) return FALSE;
    FillTextDialog(*dialog, text);
    dialog->m_wrap = text.IsWrap();
    if (dialog->DoModal() != IDOK) return FALSE;
    TakeTextDialog(*dialog, text);
    text.SetWrap(dialog->m_wrap);
    return TRUE;
}

BOOL EditLabel(MCadShape& shape, MCadView* view) {
    auto& label = static_cast<MLabelShape&>(shape);
    std::unique_ptr<MInputLabelDialog> dialog = GetShapeDialogFactory().CreateInputLabelDialog(view);
    if (!dialog) return FALSE;
    MCadView fallback;
    const MCadView& v = view ? *view : fallback;
    dialog->m_string = label.GetString();
    dialog->m_fontName = label.GetFontName();
    dialog->m_textSize = v.DocToPaperLength(label.GetTextSize());
    dialog->m_textOffset = v.DocToPaperLength(label.GetTextOffset());
    dialog->m_arrowStyle = label.GetArrowStyle();
    dialog->m_arrowSize = label.GetArrowSize();
    if (dialog->DoModal() != IDOK) return FALSE;
    label.SetString(dialog->m_string);
    label.SetFontName(dialog->m_fontName);
    label.SetTextSize(v.PaperToDocLength(dialog->m_textSize));
    label.SetTextOffset(v.PaperToDocLength(dialog->m_textOffset));
    label.SetLeaderArrow(dialog->m_arrowStyle, dialog->m_arrowSize);
    label.Recalc(view);
    return TRUE;
}

BOOL EditBalloon(MCadShape& shape, MCadView* view) {
    auto& balloon = static_cast<MBalloonShape&>(shape);
    std::unique_ptr<MInputBalloonDialog> dialog = GetShapeDialogFactory().CreateInputBalloonDialog(view);
    if (!dialog) return FALSE;
    MCadView fallback;
    const MCadView& v = view ? *view : fallback;
    dialog->m_string = balloon.GetString();
    dialog->m_fontName = balloon.GetFontName();
    dialog->m_textSize = v.DocToPaperLength(balloon.GetTextSize());
    dialog->m_arrowStyle = balloon.GetArrowStyle();
    dialog->m_arrowSize = balloon.GetArrowSize();
    // The bounds are drawing units like the circle they limit; the dialog shows paper millimetres
    // as it does for the text size.
    dialog->m_maxRadius = v.DocToPaperLength(balloon.GetMaxRadius());
    dialog->m_minRadius = v.DocToPaperLength(balloon.GetMinRadius());
    dialog->m_useMaxRadius = balloon.GetMaxRadius() > 0;
    dialog->m_useMinRadius = balloon.GetMinRadius() > 0;
    if (dialog->DoModal() != IDOK) return FALSE;
    balloon.SetString(dialog->m_string);
    balloon.SetFontName(dialog->m_fontName);
    balloon.SetTextSize(v.PaperToDocLength(dialog->m_textSize));
    balloon.SetLeaderArrow(dialog->m_arrowStyle, dialog->m_arrowSize);
    balloon.SetRadiusBounds(dialog->m_useMinRadius ? v.PaperToDocLength(dialog->m_minRadius) : 0.0,
                            dialog->m_useMaxRadius ? v.PaperToDocLength(dialog->m_maxRadius) : 0.0);
    balloon.Recalc(view);
    return TRUE;
}

// The dimension text dialog: style, user text or the computed one.
BOOL EditDimension(MCadShape& shape, MCadView* view) {
    auto& size = static_cast<MSizeBaseShape&>(shape);
    std::unique_ptr<MInputSizeTextDialog> dialog =
        GetShapeDialogFactory().CreateInputSizeTextDialog(view, &size);
    if (!dialog) return FALSE;
    MSizeStyle style = size.GetSizeStyle();
    dialog->m_userText = size.IsUserText();
    dialog->m_text = size.GetText();
    dialog->m_style = &style;
    if (dialog->DoModal() != IDOK) return FALSE;
    size.SetSizeStyle(style);
    if (dialog->m_userText) {
        size.SetFlags(size.GetFlags() | MSizeBaseShape::kUserText);
        size.SetText(dialog->m_text);
    } else {
        size.SetFlags(size.GetFlags() & ~MSizeBaseShape::kUserText);
        size.UpdateText();
    }
    size.Recalc(view);
    return TRUE;
}

}  // namespace

void InstallToolShapeEditors() {
    RegisterShapeEditor(RUNTIME_CLASS(MTextShape), EditText);
    RegisterShapeEditor(RUNTIME_CLASS(MMultiTextShape), EditMultiText);
    RegisterShapeEditor(RUNTIME_CLASS(MLabelShape), EditLabel);
    RegisterShapeEditor(RUNTIME_CLASS(MBalloonShape), EditBalloon);
    RegisterShapeEditor(RUNTIME_CLASS(MSizeBaseShape), EditDimension);
}
