#include "tools/text/LabelTools.h"

#include <cmath>
#include <ostream>
#include <sstream>
#include <string>

#include "model/helpers/TextStream.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShapeBase.h"
#include "platform/gdi/DC.h"
#include "resources/ResourceIds.h"
#include "tools/AttributeChange.h"
#include "tools/ToolScopes.h"
#include "tools/SettingLine.h"
#include "tools/text/ToolbarFont.h"
#include "view/TessarayView.h"

namespace {

double Positive(const std::optional<double>& value, double fallback) {
    return value && std::isfinite(*value) && *value > 0.0 ? *value : fallback;
}

BOOL Flag(const std::optional<double>& value) {
    return value && *value != 0.0 ? TRUE : FALSE;
}

}  // namespace

// ----- both tools -------------------------------------------------------------------------------

MLeaderTextTool::MLeaderTextTool(int toolId, double textSize)
    : MContLineTool(toolId), m_fontName(GetDefaultTextFace()), m_textSize(textSize) {
    ReleaseConstraint();
}

void MLeaderTextTool::ApplyAttributeChange(MTessarayView* view, const MAttributeChange& change) {
    if (change.which == MAttribute::kStartArrowType)
        m_endKind = change.Number();
    else if (change.which == MAttribute::kStartArrowSize)
        m_endSize = change.Size();
    else
        MContLineTool::ApplyAttributeChange(view, change);
}

MAttributeChange MLeaderTextTool::GetAttribute(MAttribute which) {
    switch (which) {
        case MAttribute::kStartArrowType:
            return {which, m_endKind};
        case MAttribute::kStartArrowSize:
            return {which, m_endSize};
        case MAttribute::kEndArrowType:
            return {which, kArrowNone};
        case MAttribute::kEndArrowSize:
            return {which, 0.0};
        default:
            return MContLineTool::GetAttribute(which);
    }
}

void MLeaderTextTool::OnNumericInput(MTessarayView* view) {
    RunLockDialog(view, IDD_LINE1_INPUT);
}

void MLeaderTextTool::OnDecide(MTessarayView* view) {
    if (!Chain() || !view) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    // Held here while the dialog runs: Cancel and failures leave nothing behind.
    std::unique_ptr<MCadShape> chain(Lists().NewShape(0));
    Lists().NewShapes().RemoveAll();
    const auto& leader = static_cast<const MPolygonShape&>(*chain);
    if (leader.GetPointCount() > 1) {
        if (std::unique_ptr<MLabelShapeBase> shape = AskAndMake(view)) {
            for (int i = 0; i < leader.GetPointCount(); ++i)
                shape->AddLeaderPoint(view, leader.GetPoint(i));
            ApplyTextFlags(*shape);
            shape->Recalc(view);
            Lists().AddNewExpanded(shape.release(), -1);
            Commit(view, FALSE, FALSE);
        }
    }
    chain->Recalc(view);
    CRect area = view->DocToDeviceRect(dc.get(), chain->GetDrawExtent());
    area.NormalizeRect();
    area.InflateRect(2, 2);
    view->InvalidateRect(&area, TRUE);
    Reset();
}

void MLeaderTextTool::ApplyTextFlags(MLabelShapeBase& shape) {
    shape.SetTextFlag(kTextBold, GetAttribute(MAttribute::kBold).Number());
    shape.SetTextFlag(kTextItalic, GetAttribute(MAttribute::kItalic).Number());
    shape.SetTextFlag(kTextUnderline, GetAttribute(MAttribute::kUnderline).Number());
}

int MLeaderTextTool::LoadedEndKind(const std::optional<double>& value) {
    // The kinds the leader-end combo offers, 0 to 6.
    return value && *value >= 0.0 && *value <= 6.0 ? int(*value) : kDefaultEndKind;
}

void MLeaderTextTool::SaveLeaderSettings(std::ostream& os, std::initializer_list<double> numbers,
                                         bool spaceAtEnd) {
    MLineTool::SaveSettings(os);
    os << '\t' << m_fontName << '\n';
    std::ostringstream line;
    WriteSettingLine(line, numbers);
    std::string text = line.str();
    if (spaceAtEnd) text.insert(text.size() - 1, 1, ' ');
    os << text << '\t' << m_text << '\n';
}

template <class ReadNumbers>
void MLeaderTextTool::LoadLeaderSettings(std::istream& is, ReadNumbers readNumbers) {
    MLineTool::LoadSettings(is);
    ReadTextString(is, m_fontName, TRUE);
    readNumbers();
    ReadTextString(is, m_text, TRUE);
}

// ----- the label --------------------------------------------------------------------------------

MLabelTool::MLabelTool(int toolId) : MLeaderTextTool(toolId, 10.0) {}

std::unique_ptr<MLabelShapeBase> MLabelTool::AskAndMake(MTessarayView* view) {
    std::unique_ptr<MInputLabelDialog> dialog = GetShapeDialogFactory().CreateInputLabelDialog(view);
    dialog->m_string = m_text;
    dialog->m_fontName = ToolbarFontName(*this);
    dialog->m_textSize = ToolbarFontSize(*this, m_textSize);
    dialog->m_textOffset = m_gap;
    dialog->m_arrowStyle = m_endKind;
    dialog->m_arrowSize = m_endSize;
    if (dialog->DoModal() != IDOK) return nullptr;
    m_text = dialog->m_string;
    m_fontName = dialog->m_fontName;
    m_textSize = dialog->m_textSize;
    m_gap = dialog->m_textOffset;
    m_endKind = dialog->m_arrowStyle;
    m_endSize = dialog->m_arrowSize;
    auto shape = std::make_unique<MLabelShape>();
    shape->SetLeaderArrow(m_endKind, m_endSize);
    shape->SetString(m_text);
    shape->SetFontName(m_fontName);
    shape->SetTextSize(view->PaperToDocLength(m_textSize));
    shape->SetTextOffset(view->PaperToDocLength(m_gap));
    return shape;
}

void MLabelTool::SaveSettings(std::ostream& os) {
    SaveLeaderSettings(os, {m_textSize, m_gap, double(m_endKind), m_endSize}, true);
}

void MLabelTool::LoadSettings(std::istream& is) {
    LoadLeaderSettings(is, [&] {
        const auto values = ReadSettingLine(is, 4);
        m_textSize = Positive(values[0], 10.0);
        m_gap = values[1] && std::isfinite(*values[1]) ? *values[1] : 1.0;
        m_endKind = LoadedEndKind(values[2]);
        m_endSize = Positive(values[3], kDefaultEndSize);
    });
}

// ----- the balloon ------------------------------------------------------------------------------

MBalloonTool::MBalloonTool(int toolId) : MLeaderTextTool(toolId, 7.0) {}

std::unique_ptr<MLabelShapeBase> MBalloonTool::AskAndMake(MTessarayView* view) {
    std::unique_ptr<MInputBalloonDialog> dialog = GetShapeDialogFactory().CreateInputBalloonDialog(view);
    dialog->m_string = m_text;
    dialog->m_fontName = ToolbarFontName(*this);
    dialog->m_textSize = ToolbarFontSize(*this, m_textSize);
    dialog->m_arrowStyle = m_endKind;
    dialog->m_arrowSize = m_endSize;
    dialog->m_maxRadius = m_maxRadius;
    dialog->m_minRadius = m_minRadius;
    dialog->m_useMaxRadius = m_useMaxRadius;
    dialog->m_useMinRadius = m_useMinRadius;
    if (dialog->DoModal() != IDOK) return nullptr;
    m_text = dialog->m_string;
    m_fontName = dialog->m_fontName;
    m_textSize = dialog->m_textSize;
    m_endKind = dialog->m_arrowStyle;
    m_endSize = dialog->m_arrowSize;
    m_maxRadius = dialog->m_maxRadius;
    m_minRadius = dialog->m_minRadius;
    m_useMaxRadius = dialog->m_useMaxRadius;
    m_useMinRadius = dialog->m_useMinRadius;
    auto shape = std::make_unique<MBalloonShape>();
    shape->SetLeaderArrow(m_endKind, m_endSize);
    // The bounds limit the circle in drawing units, as the text size does.
    shape->SetRadiusBounds(m_useMinRadius ? view->PaperToDocLength(m_minRadius) : 0.0,
                           m_useMaxRadius ? view->PaperToDocLength(m_maxRadius) : 0.0);
    shape->SetString(m_text);
    shape->SetFontName(m_fontName);
    shape->SetTextSize(view->PaperToDocLength(m_textSize));
    return shape;
}

void MBalloonTool::SaveSettings(std::ostream& os) {
    SaveLeaderSettings(os,
                       {m_textSize, double(m_endKind), m_endSize, m_maxRadius, m_minRadius,
                        m_useMaxRadius ? 1.0 : 0.0, m_useMinRadius ? 1.0 : 0.0},
                       false);
}

void MBalloonTool::LoadSettings(std::istream& is) {
    LoadLeaderSettings(is, [&] {
        const auto values = ReadSettingLine(is, 7);
        m_textSize = Positive(values[0], 7.0);
        m_endKind = LoadedEndKind(values[1]);
        m_endSize = Positive(values[2], kDefaultEndSize);
        m_maxRadius = Positive(values[3], 32.0);
        m_minRadius = Positive(values[4], 4.0);
        m_useMaxRadius = Flag(values[5]);
        m_useMinRadius = Flag(values[6]);
    });
}
