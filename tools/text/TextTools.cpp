#include "tools/text/TextTools.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <ostream>

#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/text/MultiTextShape.h"
#include "platform/ProgramState.h"
#include "platform/gdi/DC.h"
#include "resources/ResourceIds.h"
#include "tools/AttributeChange.h"
#include "tools/SettingLine.h"
#include "tools/ToolScopes.h"
#include "tools/text/ToolbarFont.h"
#include "view/TessarayView.h"

namespace {

constexpr double kDegree = kPi / 180.0;

CProgramSlot<int>& TextVerticalSlot() {
    static auto& slot = *new CProgramSlot<int>();
    return slot;
}
CProgramSlot<int>& MultiTextVerticalSlot() {
    static auto& slot = *new CProgramSlot<int>();
    return slot;
}

// A size that could not be drawn makes a text vanish at its commit.
double LoadedSize(const std::optional<double>& value, double fallback) {
    return value && std::isfinite(*value) && *value > 0.0 ? *value : fallback;
}

}  // namespace

int& TextVerticalWriting() {
    return TextVerticalSlot().Get();
}
int& MultiTextVerticalWriting() {
    return MultiTextVerticalSlot().Get();
}

// ----- both tools -------------------------------------------------------------------------------

MTextToolBase::MTextToolBase(int toolId)
    : MDrawTool(toolId), m_fontName(MDrawTool::GetAttribute(MAttribute::kFontName).Name()) {}

MTextShape* MTextToolBase::Floating() const {
    if (GetStep() != 1 || Lists().NewCount() < 1) return nullptr;
    return dynamic_cast<MTextShape*>(Lists().NewShape(0));
}

template <class Change>
void MTextToolBase::ChangeFloating(MTessarayView* view, Change change) {
    MTextShape* shape = Floating();
    if (!shape || !view) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    change(*shape);
    shape->MeasureText(view);
    Lists().RecalcNew(view);
}

void MTextToolBase::ApplyAttributeChange(MTessarayView* view, const MAttributeChange& change) {
    MDrawTool::ApplyAttributeChange(view, change);
    switch (change.which) {
        case MAttribute::kFontSize:
            ChangeFloating(view,
                           [&](MTextShape& s) { s.SetTextSize(view->PaperToDocLength(change.Size())); });
            break;
        case MAttribute::kFontName:
            ChangeFloating(view, [&](MTextShape& s) { s.SetFontName(change.Name()); });
            break;
        case MAttribute::kBold:
            ChangeFloating(view, [&](MTextShape& s) { s.SetTextFlag(kTextBold, change.Number()); });
            break;
        case MAttribute::kItalic:
            ChangeFloating(view, [&](MTextShape& s) { s.SetTextFlag(kTextItalic, change.Number()); });
            break;
        case MAttribute::kUnderline:
            ChangeFloating(view, [&](MTextShape& s) { s.SetTextFlag(kTextUnderline, change.Number()); });
            break;
        default:
            break;
    }
}

void MTextToolBase::ApplyFont(MTessarayView* view, MTextShapeBase& shape, const CString& font, double size) {
    shape.SetFontName(font);
    shape.SetTextSize(view->PaperToDocLength(size));
    shape.SetTextFlag(kTextBold, GetAttribute(MAttribute::kBold).Number());
    shape.SetTextFlag(kTextItalic, GetAttribute(MAttribute::kItalic).Number());
    shape.SetTextFlag(kTextUnderline, GetAttribute(MAttribute::kUnderline).Number());
}

std::vector<MToolStep> MTextToolBase::PlacingSteps() {
    return {MToolStep::TakenAtPress([this](MTessarayView* view, const MFloatPoint& p) {
                // Held here while the dialog runs: Cancel and failures leave nothing behind.
                std::unique_ptr<MCadShape> taken(Lists().NewShape(0));
                Lists().NewShapes().RemoveAll();
                auto* text = dynamic_cast<MTextShape*>(taken.get());
                if (text && AskText(view, *text, p)) {
                    Lists().AddNewExpanded(taken.release(), -1);
                    return true;
                }
                taken.reset();
                End(view, FALSE);
                return false;
            }),
            MToolStep()};
}

void MTextToolBase::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    // The text was measured when it was made: a floating text only moves.
    if (MTextShape* shape = Floating()) shape->SetPoint(cursor);
}

// ----- the one-line text ------------------------------------------------------------------------

MTextTool::MTextTool(int toolId) : MTextToolBase(toolId) {
    DeclareSteps(IDS_TEXT_STEPS, 0, PlacingSteps());
}

MCadShape* MTextTool::NewShape(MTessarayView*) {
    return new MTextShape();
}

bool MTextTool::AskText(MTessarayView* view, MTextShape& s, const MFloatPoint& p) {
    std::unique_ptr<MTextInputDialog> dialog = GetShapeDialogFactory().CreateTextInputDialog();
    dialog->m_text = m_text;
    dialog->SetAlignment(m_alignment);
    dialog->m_angle = m_angle / kDegree;
    dialog->m_vertical = TextVerticalWriting();
    if (dialog->DoModal() != IDOK) return false;
    TextVerticalWriting() = dialog->m_vertical ? 1 : 0;
    // One line: a pasted line break would end the text's settings line.
    CString text = dialog->GetText();
    text.erase(std::min(text.find_first_of("\r\n"), text.size()));
    // An empty text could never be seen or picked: it counts as a cancel.
    if (text.empty()) return false;
    m_textSize = ToolbarFontSize(*this, m_textSize);
    m_fontName = ToolbarFontName(*this);
    m_angle = dialog->m_angle * kDegree;
    m_alignment = dialog->GetAlignment();
    m_text = text;
    s.SetString(m_text);
    ApplyFont(view, s, m_fontName, m_textSize);
    s.SetAngle(m_angle);
    s.SetAlignment(m_alignment);
    s.SetTextFlag(kTextVertical, TextVerticalWriting());
    s.MoveTo(view, p);
    return true;
}

void MTextTool::SaveSettings(std::ostream& os) {
    MDrawTool::SaveSettings(os);
    os << '\t' << m_fontName << '\n';
    WriteSettingLine(os, {double(m_alignment), m_reserved, m_textSize, m_angle});
    os << '\t' << m_text << '\n';
}

void MTextTool::LoadSettings(std::istream& is) {
    MDrawTool::LoadSettings(is);
    ReadTextString(is, m_fontName, TRUE);
    const auto values = ReadSettingLine(is, 4);
    m_alignment = LoadedInt(values[0], 0) & 0xF;
    m_reserved = values[1].value_or(0.0);
    m_textSize = LoadedSize(values[2], kDefaultTextSize);
    m_angle = LoadedAngle(values[3], 0.0);
    ReadTextString(is, m_text, TRUE);
}

// ----- the multi-line text ----------------------------------------------------------------------

MMultiTextTool::MMultiTextTool(int toolId) : MTextToolBase(toolId) {
    DeclareSteps(IDS_MULTITEXT_STEPS, 0, PlacingSteps());
}

MCadShape* MMultiTextTool::NewShape(MTessarayView*) {
    return new MMultiTextShape();
}

bool MMultiTextTool::AskText(MTessarayView* view, MTextShape& s, const MFloatPoint& p) {
    std::unique_ptr<MInputMultiTextDialog> dialog = GetShapeDialogFactory().CreateInputMultiTextDialog();
    dialog->m_text = m_text;
    dialog->SetAlignment(m_alignment);
    dialog->m_angle = m_angle / kDegree;
    dialog->m_vertical = MultiTextVerticalWriting();
    dialog->m_wrap = m_wrap;
    if (dialog->DoModal() != IDOK) return false;
    MultiTextVerticalWriting() = dialog->m_vertical ? 1 : 0;
    // Nothing but line breaks could never be seen or picked: it counts as a cancel.
    const CString text = dialog->GetText();
    if (text.find_first_not_of("\r\n") == CString::npos) return false;
    m_text = text;
    m_fontName = ToolbarFontName(*this);
    m_textSize = ToolbarFontSize(*this, m_textSize);
    m_alignment = dialog->GetAlignment();
    m_wrap = dialog->m_wrap ? TRUE : FALSE;
    m_angle = dialog->m_angle * kDegree;
    auto& multi = static_cast<MMultiTextShape&>(s);
    multi.SetString(m_text);
    ApplyFont(view, multi, m_fontName, m_textSize);
    multi.SetAlignment(m_alignment);
    multi.SetAngle(m_angle);
    multi.SetTextFlag(kTextVertical, MultiTextVerticalWriting());
    multi.SetWrap(m_wrap);
    // The lines are aligned as the toolbar shows; the dialog's word places the box.
    multi.SetHorzAlign(GetAttribute(MAttribute::kHorzAlign).Number());
    multi.SetVertAlign(GetAttribute(MAttribute::kVertAlign).Number());
    multi.MoveTo(view, p);
    return true;
}

void MMultiTextTool::ApplyAttributeChange(MTessarayView* view, const MAttributeChange& change) {
    MTextToolBase::ApplyAttributeChange(view, change);
    if (change.which == MAttribute::kHorzAlign)
        ChangeFloating(
            view, [&](MTextShape& s) { static_cast<MMultiTextShape&>(s).SetHorzAlign(change.Number()); });
    else if (change.which == MAttribute::kVertAlign)
        ChangeFloating(
            view, [&](MTextShape& s) { static_cast<MMultiTextShape&>(s).SetVertAlign(change.Number()); });
}

void MMultiTextTool::SaveSettings(std::ostream& os) {
    MDrawTool::SaveSettings(os);
    os << '\t' << m_alignment << '\n';
    os << '\t' << m_fontName << '\n';
    WriteSettingLine(os, {m_reserved, m_textSize, m_angle, m_wrap ? 1.0 : 0.0});
    WriteTextLines(os, m_text);
}

void MMultiTextTool::LoadSettings(std::istream& is) {
    MDrawTool::LoadSettings(is);
    const auto word = ReadSettingLine(is, 1);
    m_alignment = LoadedInt(word[0], 0) & 0xF;
    ReadTextString(is, m_fontName, TRUE);
    const auto values = ReadSettingLine(is, 4);
    m_reserved = values[0].value_or(0.0);
    m_textSize = LoadedSize(values[1], kDefaultTextSize);
    m_angle = LoadedAngle(values[2], 0.0);
    m_wrap = values[3] && *values[3] != 0.0 ? TRUE : FALSE;
    ReadTextLines(is, m_text);
}
