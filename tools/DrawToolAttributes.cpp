// The tool base: the program-wide drawing attributes, the commands and frame controls that set
// them, and their transfer into new shapes at commit.
#include <cmath>

#include "document/TessarayDoc.h"
#include "document/ToolSettings.h"
#include "model/settings/LineStyle.h"
#include "model/shapes/CadShape.h"
#include "platform/Exceptions.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/CmdUI.h"
#include "resources/ResourceIds.h"
#include "tools/AttributeChange.h"
#include "tools/AttributeCommands.h"
#include "tools/DrawTool.h"
#include "tools/input/AttributeControls.h"
#include "tools/input/UserLineWidthDialog.h"
#include "view/TessarayView.h"

namespace {

// Numbers shown by a control count as the value when they differ by less than this.
constexpr double kShownValueTolerance = 0.0001;
// A colour button's answer for "no colour chosen".
constexpr COLORREF kNoButtonColor = static_cast<COLORREF>(-1);

MDrawAttributes& Attr() {
    return GetDrawAttributes();
}

// An arrow end that draws nothing is stored as none with size 0.
void NormalizeArrowEnd(int& style, double& size) {
    if (style < 1 || !(size > 0.0)) {
        style = kArrowNone;
        size = 0.0;
    }
}

double RoundToHundredths(double value) {
    return std::floor(value / 0.01 + 0.5) * 0.01;
}

std::string TrimBlanks(const std::string& text) {
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The number a control shows when it is one a size or width may take.
std::optional<double> ShownNumber(UINT id) {
    MAttributeControls* controls = GetAttributeControls();
    if (!controls) return std::nullopt;
    const std::optional<double> value = controls->GetNumber(id);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

// The control shows the value unless the user is typing in it.
void ShowNumber(UINT id, double value) {
    MAttributeControls* controls = GetAttributeControls();
    if (!controls || controls->HasFocus(id)) return;
    const std::optional<double> shown = controls->GetNumber(id);
    if (!shown || !(std::fabs(*shown - value) < kShownValueTolerance)) controls->SetNumber(id, value);
}

void ShowIndex(UINT id, int value) {
    MAttributeControls* controls = GetAttributeControls();
    if (!controls || controls->HasFocus(id)) return;
    if (controls->GetIndex(id) != value) controls->SetIndex(id, value);
}

void ShowColor(UINT id, COLORREF value) {
    MAttributeControls* controls = GetAttributeControls();
    if (!controls || controls->HasFocus(id)) return;
    if (controls->GetColor(id) != value) controls->SetColor(id, value);
}

}  // namespace

// ----- the values -------------------------------------------------------------------------------

void MDrawTool::ApplyAttributeChange(MTessarayView*, const MAttributeChange& change) {
    MDrawAttributes& a = Attr();
    switch (change.which) {
        case MAttribute::kLineColor:
            a.lineColor = change.Color();
            break;
        case MAttribute::kTextColor:
            a.textColor = change.Color();
            break;
        case MAttribute::kFaceColor:
            a.faceFill = change.Fill();
            break;
        case MAttribute::kLineType:
            a.lineType = change.Number();
            break;
        case MAttribute::kStartArrowType:
            a.arrows.startStyle = change.Number();
            break;
        case MAttribute::kEndArrowType:
            a.arrows.endStyle = change.Number();
            break;
        case MAttribute::kBold:
            a.bold = change.Number();
            break;
        case MAttribute::kItalic:
            a.italic = change.Number();
            break;
        case MAttribute::kUnderline:
            a.underline = change.Number();
            break;
        case MAttribute::kTextFrame:
            a.textFrame = change.Number();
            break;
        case MAttribute::kHorzAlign:
            a.alignment = (a.alignment & 0xC) | (change.Number() & 3);
            break;
        case MAttribute::kVertAlign:
            a.alignment = (a.alignment & 3) | (change.Number() & 0xC);
            break;
        case MAttribute::kLineWidth:
            a.lineWidth = change.Size();
            break;
        case MAttribute::kStartArrowSize:
            a.arrows.startSize = change.Size();
            break;
        case MAttribute::kEndArrowSize:
            a.arrows.endSize = change.Size();
            break;
        case MAttribute::kFontSize:
            a.fontSize = change.Size();
            break;
        case MAttribute::kFontName:
            a.fontName = change.Name();
            break;
    }
}

MAttributeChange MDrawTool::GetAttribute(MAttribute which) {
    const MDrawAttributes& a = Attr();
    switch (which) {
        case MAttribute::kLineColor:
            return {which, a.lineColor};
        case MAttribute::kTextColor:
            return {which, a.textColor};
        case MAttribute::kFaceColor:
            return {which, a.faceFill};
        case MAttribute::kLineType:
            return {which, a.lineType};
        case MAttribute::kStartArrowType:
            return {which, a.arrows.startStyle};
        case MAttribute::kEndArrowType:
            return {which, a.arrows.endStyle};
        case MAttribute::kBold:
            return {which, a.bold};
        case MAttribute::kItalic:
            return {which, a.italic};
        case MAttribute::kUnderline:
            return {which, a.underline};
        case MAttribute::kTextFrame:
            return {which, a.textFrame};
        case MAttribute::kHorzAlign:
            return {which, a.alignment & 3};
        case MAttribute::kVertAlign:
            return {which, a.alignment & 0xC};
        case MAttribute::kLineWidth:
            return {which, a.lineWidth};
        case MAttribute::kStartArrowSize:
            return {which, a.arrows.startSize};
        case MAttribute::kEndArrowSize:
            return {which, a.arrows.endSize};
        case MAttribute::kFontSize:
            return {which, a.fontSize};
        case MAttribute::kFontName:
            return {which, a.fontName};
    }
    throw CInvalidArgException();
}

int LineColorCommand(MDrawTool& tool) {
    const COLORREF color = tool.GetAttribute(MAttribute::kLineColor).Color();
    for (int k = 0; k < kMenuColorCount; ++k)
        if (kMenuColors[k] == color) return static_cast<int>(ID_LINE_COLOR_FIRST) + k;
    return -1;
}

int FaceColorCommand(MDrawTool& tool) {
    const MFillStyle fill = tool.GetAttribute(MAttribute::kFaceColor).Fill();
    if (fill.IsGradation()) return -1;
    const COLORREF color = fill.IsNone() ? kNoColor : fill.GetColor(0);
    for (int k = 0; k < kMenuColorCount; ++k)
        if (kMenuColors[k] == color) return static_cast<int>(ID_FACE_COLOR_FIRST) + k;
    return -1;
}

// ----- into new shapes --------------------------------------------------------------------------

void MDrawTool::ApplyAttributesTo(MTessarayView*, MCadShape* shape) {
    const auto get = [this](MAttribute which) { return GetAttribute(which); };
    shape->SetTextFlag(kTextFrame, get(MAttribute::kTextFrame).Number());
    shape->ChangeTextStyle(MTextStyleChange::Color(get(MAttribute::kTextColor).Color()));
    shape->SetColor(get(MAttribute::kLineColor).Color());
    shape->SetLineStyle(get(MAttribute::kLineType).Number());
    shape->SetLineWidth(get(MAttribute::kLineWidth).Size());
    shape->SetFillStyle(get(MAttribute::kFaceColor).Fill());
    MArrowInfo arrows{get(MAttribute::kStartArrowType).Number(), get(MAttribute::kStartArrowSize).Size(),
                      get(MAttribute::kEndArrowType).Number(), get(MAttribute::kEndArrowSize).Size()};
    NormalizeArrowEnd(arrows.startStyle, arrows.startSize);
    NormalizeArrowEnd(arrows.endStyle, arrows.endSize);
    shape->SetArrows(arrows);
}

// ----- commands ---------------------------------------------------------------------------------

namespace {

// The colour under the tool's current point: the snapped shape's own colour (a framed text's too),
// else the drawing's pixel there, rendered without the cross-hair and the tool's XOR figure.
COLORREF ColorAtCursor(const MDrawTool& tool, MTessarayView* view) {
    const WORD kind = tool.GetSnapRecord().kind;
    MCadShape* shape = tool.GetSnapRecord().shape1;
    if (shape && (kind == kSnapEndPoint || kind == kSnapOnShape || kind == kSnapMidPoint ||
                  kind == kSnapIntersection)) {
        if (!shape->IsText() || shape->HasTextFlag(kTextFrame)) return shape->GetColor();
    }
    // The screen holds the cross-hair and the tool's figure in XOR over the drawing: the colour is
    // read from a rendering of the drawing alone.
    CRect client;
    view->GetClientRect(&client);
    std::unique_ptr<CDC> screen = view->GetPreparedClientDC();
    const CPoint device = view->DocToDevice(screen.get(), tool.GetCurrentPoint());
    screen.reset();
    if (!client.PtInRect(device)) return kNoColor;
    CDC dc;
    if (!dc.CreateImageDC(client.Width(), client.Height())) return kNoColor;
    view->OnEraseBkgnd(&dc);
    view->OnPrepareDC(&dc, nullptr);
    if (MTessarayDoc* doc = view->GetDocument()) doc->Draw(view, &dc);
    CPoint logical = device;
    dc.DPtoLP(&logical);
    return dc.GetPixel(logical);
}

void UpdateLineTypeUI(MDrawTool& tool, CCmdUI* ui, int type) {
    ui->Enable(TRUE);
    ui->SetCheck(tool.GetAttribute(MAttribute::kLineType).Number() == type ? 1 : 0);
}

void UpdateLineWidthUI(MDrawTool& tool, CCmdUI* ui, int index) {
    ui->Enable(TRUE);
    const double width = tool.GetAttribute(MAttribute::kLineWidth).Size();
    ui->SetCheck(std::fabs(width - Attr().presetWidths[index]) < 2.220446e-15 ? 1 : 0);
}

// The text toggles and alignments, numeric input and coordinate input.
void RegisterTextAndEntryCommands(MDrawTool& tool) {
    CCommandMap& map = tool.Commands();
    const auto enabled = [](CCmdUI* ui) { ui->Enable(TRUE); };
    // A command that sets the attribute to the value, checked while it has it.
    const auto choice = [&](UINT id, MAttribute which, int value) {
        map.OnCommand(
            id,
            [&tool, which, value] {
                tool.ApplyAttributeChange(tool.GetView(), {which, value});
            },
            [&tool, which, value](CCmdUI* ui) {
                ui->Enable(TRUE);
                ui->SetCheck(tool.GetAttribute(which).Number() == value ? 1 : 0);
            });
    };
    const auto toggle = [&](UINT id, MAttribute which) {
        map.OnCommand(
            id,
            [&tool, which] {
                tool.ApplyAttributeChange(tool.GetView(),
                                          {which, tool.GetAttribute(which).Number() ? FALSE : TRUE});
            },
            [&tool, which](CCmdUI* ui) {
                ui->Enable(TRUE);
                ui->SetCheck(tool.GetAttribute(which).Number() ? 1 : 0);
            });
    };
    toggle(ID_BOLD, MAttribute::kBold);
    toggle(ID_ITALIC, MAttribute::kItalic);
    toggle(ID_UNDERLINE, MAttribute::kUnderline);
    toggle(ID_TEXT_FRAME, MAttribute::kTextFrame);
    const UINT horz[] = {ID_TEXT_ALIGN_LEFT, ID_TEXT_ALIGN_CENTER, ID_TEXT_ALIGN_RIGHT};
    const UINT vert[] = {ID_TEXT_ALIGN_TOP, ID_TEXT_ALIGN_MIDDLE, ID_TEXT_ALIGN_BOTTOM};
    for (int i = 0; i < 3; ++i) {
        choice(horz[i], MAttribute::kHorzAlign, i);
        choice(vert[i], MAttribute::kVertAlign, i * 4);
    }
    map.OnCommand(
        ID_NUMERIC_INPUT, [&tool] { tool.RunNumericInput(tool.GetView()); },
        [&tool](CCmdUI* ui) { ui->Enable(tool.CanNumericInput()); });
    map.OnCommand(
        ID_COORDINATE_INPUT, [&tool] { tool.OnCoordinateInput(tool.GetView(), nullptr, 0); }, enabled);
}

void RegisterLineCommands(MDrawTool& tool) {
    CCommandMap& map = tool.Commands();
    const UINT types[] = {ID_LINE_SOLID, ID_LINE_DASHED, ID_LINE_DOTTED, ID_LINE_CHAIN, ID_LINE_DOUBLE_CHAIN};
    for (int i = 0; i < 5; ++i)
        map.OnCommand(
            types[i],
            [&tool, i] {
                tool.ApplyAttributeChange(tool.GetView(), {MAttribute::kLineType, i});
            },
            [&tool, i](CCmdUI* ui) { UpdateLineTypeUI(tool, ui, i); });
    map.OnCommandRange(ID_LINE_STYLE_FIRST, ID_LINE_STYLE_LAST, [&tool](UINT id) {
        tool.ApplyAttributeChange(tool.GetView(),
                                  {MAttribute::kLineType, static_cast<int>(id - ID_LINE_STYLE_FIRST)});
    });
    map.OnUpdateRange(ID_LINE_STYLE_FIRST, ID_LINE_STYLE_LAST, [&tool](CCmdUI* ui) {
        UpdateLineTypeUI(tool, ui, static_cast<int>(ui->m_nID - ID_LINE_STYLE_FIRST));
    });
    const UINT presets[] = {ID_WIDTH_THIN, ID_WIDTH_MEDIUM, ID_WIDTH_THICK};
    for (int i = 0; i < 3; ++i)
        map.OnCommand(
            presets[i],
            [&tool, i] {
                tool.ApplyAttributeChange(tool.GetView(), {MAttribute::kLineWidth, Attr().presetWidths[i]});
            },
            [&tool, i](CCmdUI* ui) { UpdateLineWidthUI(tool, ui, i); });
    map.OnCommand(
        ID_WIDTH_USER,
        [&tool] {
            MUserLineWidthDialog dialog(tool.GetView(), 0.0);
            if (dialog.DoModal() == IDOK)
                tool.ApplyAttributeChange(tool.GetView(), {MAttribute::kLineWidth, UserLineWidth()});
        },
        [](CCmdUI* ui) { ui->Enable(TRUE); });
}

void RegisterColorCommands(MDrawTool& tool) {
    CCommandMap& map = tool.Commands();
    const auto enabled = [](CCmdUI* ui) { ui->Enable(TRUE); };
    map.OnCommandRange(ID_LINE_COLOR_FIRST, ID_LINE_COLOR_LAST, [&tool](UINT id) {
        tool.ApplyAttributeChange(tool.GetView(),
                                  {MAttribute::kLineColor, kMenuColors[id - ID_LINE_COLOR_FIRST]});
    });
    map.OnUpdateRange(ID_LINE_COLOR_FIRST, ID_LINE_COLOR_LAST, [&tool](CCmdUI* ui) {
        ui->Enable(TRUE);
        ui->SetCheck(LineColorCommand(tool) == static_cast<int>(ui->m_nID) ? 1 : 0);
    });
    map.OnCommandRange(ID_FACE_COLOR_FIRST, ID_FACE_COLOR_LAST, [&tool](UINT id) {
        tool.ApplyAttributeChange(
            tool.GetView(), {MAttribute::kFaceColor, MFillStyle(kMenuColors[id - ID_FACE_COLOR_FIRST])});
    });
    map.OnUpdateRange(ID_FACE_COLOR_FIRST, ID_FACE_COLOR_LAST, [&tool](CCmdUI* ui) {
        ui->Enable(TRUE);
        ui->SetCheck(FaceColorCommand(tool) == static_cast<int>(ui->m_nID) ? 1 : 0);
    });
    const auto copyColor = [&](UINT id, MAttribute which) {
        map.OnCommand(
            id,
            [&tool, which] {
                const COLORREF color = ColorAtCursor(tool, tool.GetView());
                tool.ApplyAttributeChange(tool.GetView(), which == MAttribute::kFaceColor
                                                              ? MAttributeChange{which, MFillStyle(color)}
                                                              : MAttributeChange{which, color});
            },
            enabled);
    };
    copyColor(ID_COPY_COLOR_TO_LINE, MAttribute::kLineColor);
    copyColor(ID_COPY_COLOR_TO_FACE, MAttribute::kFaceColor);
    copyColor(ID_COPY_COLOR_TO_TEXT, MAttribute::kTextColor);
}

// The frame's attribute controls and the notification with which each offers a value: colour
// buttons report a click, combos a choice, typed values the return key.
struct ControlRow {
    UINT id;
    int code;
    MAttribute which;
};
constexpr ControlRow kControlRows[] = {
    {IDC_LINE_COLOR, NM_CLICK, MAttribute::kLineColor},
    {IDC_TEXT_COLOR, NM_CLICK, MAttribute::kTextColor},
    {IDC_FACE_COLOR, NM_CLICK, MAttribute::kFaceColor},
    {IDC_LINE_STYLE, CBN_SELENDOK, MAttribute::kLineType},
    {IDC_START_ARROW_TYPE, CBN_SELENDOK, MAttribute::kStartArrowType},
    {IDC_END_ARROW_TYPE, CBN_SELENDOK, MAttribute::kEndArrowType},
    {IDC_LINE_WIDTH, NM_RETURN, MAttribute::kLineWidth},
    {IDC_START_ARROW_SIZE, NM_RETURN, MAttribute::kStartArrowSize},
    {IDC_END_ARROW_SIZE, NM_RETURN, MAttribute::kEndArrowSize},
    {IDC_FONT_SIZE, NM_RETURN, MAttribute::kFontSize},
    {IDC_FONT_NAME, NM_RETURN, MAttribute::kFontName},
};

// The value the control offers for its attribute, nothing when it offers none the attribute may
// take: a colour button showing none, a style the table lacks, a negative kind, a size not above 0
// (a width may be 0; sizes are taken to two decimals), a blank font name.
std::optional<MAttributeChange::Value> OfferedValue(UINT id, MAttribute which) {
    MAttributeControls* c = GetAttributeControls();
    if (!c) return std::nullopt;
    switch (which) {
        case MAttribute::kLineColor:
        case MAttribute::kTextColor:
            if (const std::optional<COLORREF> color = c->GetColor(id); color && *color != kNoButtonColor)
                return *color;
            return std::nullopt;
        case MAttribute::kFaceColor:
            if (std::optional<MFillStyle> fill = c->GetFill(id)) return std::move(*fill);
            return std::nullopt;
        case MAttribute::kLineType:
        case MAttribute::kStartArrowType:
        case MAttribute::kEndArrowType: {
            const std::optional<int> index = c->GetIndex(id);
            if (!index || *index < 0) return std::nullopt;
            if (which == MAttribute::kLineType && !GetLineStyleTable().Find(*index)) return std::nullopt;
            return *index;
        }
        case MAttribute::kFontName: {
            const std::optional<std::string> text = c->GetText(id);
            std::string name = text ? TrimBlanks(*text) : std::string();
            if (name.empty()) return std::nullopt;
            return name;
        }
        default: {
            const std::optional<double> value = ShownNumber(id);
            if (!value || !(which == MAttribute::kLineWidth ? *value >= 0.0 : *value > 0.0))
                return std::nullopt;
            return RoundToHundredths(*value);
        }
    }
}

// The control shows the value unless the user is typing in it.
void ShowValue(UINT id, const MAttributeChange& current) {
    MAttributeControls* c = GetAttributeControls();
    if (!c || c->HasFocus(id)) return;
    const MAttributeChange::Value& value = current.value;
    if (std::holds_alternative<COLORREF>(value))
        ShowColor(id, current.Color());
    else if (std::holds_alternative<int>(value))
        ShowIndex(id, current.Number());
    else if (std::holds_alternative<double>(value))
        ShowNumber(id, current.Size());
    else if (std::holds_alternative<MFillStyle>(value) && c->GetFill(id) != current.Fill())
        c->SetFill(id, current.Fill());
    else if (std::holds_alternative<std::string>(value) && c->GetText(id) != current.Name())
        c->SetText(id, current.Name());
}

void RegisterControlCommands(MDrawTool& tool) {
    CCommandMap& map = tool.Commands();
    for (const ControlRow& row : kControlRows) {
        const auto take = [&tool, row] {
            if (std::optional<MAttributeChange::Value> value = OfferedValue(row.id, row.which))
                tool.ApplyAttributeChange(tool.GetView(), {row.which, std::move(*value)});
        };
        if (row.code == CBN_SELENDOK)
            map.OnControl(row.code, row.id, take);
        else
            map.OnNotify(row.code, row.id, [take](NMHDR*, LRESULT*) { take(); });
        map.OnUpdate(row.id, [&tool, row](CCmdUI* ui) {
            if (row.which == MAttribute::kLineType) ui->Enable(TRUE);
            ShowValue(row.id, tool.GetAttribute(row.which));
        });
    }
}

}  // namespace

void RegisterAttributeCommands(MDrawTool& tool) {
    RegisterTextAndEntryCommands(tool);
    RegisterLineCommands(tool);
    RegisterColorCommands(tool);
    RegisterControlCommands(tool);
}

// ----- the installed controls -------------------------------------------------------------------

namespace {
CProgramSlot<MAttributeControls*>& InstalledControls() {
    static auto& slot = *new CProgramSlot<MAttributeControls*>;
    return slot;
}
}  // namespace

MAttributeControls* GetAttributeControls() {
    return InstalledControls().Get();
}

MAttributeControls* SetAttributeControls(MAttributeControls* controls) {
    return InstalledControls().Exchange(controls);
}
