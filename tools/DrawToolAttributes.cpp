// The tool base: the program-wide drawing attributes, the commands and frame controls that set
// them, and their transfer into new shapes at commit.
#include <cmath>

#include "document/TessarayDoc.h"
#include "document/ToolSettings.h"
#include "model/settings/LineStyle.h"
#include "model/shapes/CadShape.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/CmdUI.h"
#include "resources/ResourceIds.h"
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

void MDrawTool::SetLineColor(MTessarayView*, COLORREF color) {
    Attr().lineColor = color;
}
void MDrawTool::SetFaceColor(MTessarayView*, const MFillStyle& fill) {
    Attr().faceFill = fill;
}
void MDrawTool::SetLineType(MTessarayView*, int type) {
    Attr().lineType = type;
}
void MDrawTool::SetLineWidth(MTessarayView*, double width) {
    Attr().lineWidth = width;
}
void MDrawTool::SetStartArrowType(MTessarayView*, int type) {
    Attr().arrows.startStyle = type;
}
void MDrawTool::SetEndArrowType(MTessarayView*, int type) {
    Attr().arrows.endStyle = type;
}
void MDrawTool::SetStartArrowSize(MTessarayView*, double size) {
    Attr().arrows.startSize = size;
}
void MDrawTool::SetEndArrowSize(MTessarayView*, double size) {
    Attr().arrows.endSize = size;
}
void MDrawTool::SetFontSize(MTessarayView*, double size) {
    Attr().fontSize = size;
}
void MDrawTool::SetFontName(MTessarayView*, const CString& name) {
    Attr().fontName = name;
}
void MDrawTool::SetBold(MTessarayView*, BOOL on) {
    Attr().bold = on;
}
void MDrawTool::SetItalic(MTessarayView*, BOOL on) {
    Attr().italic = on;
}
void MDrawTool::SetUnderline(MTessarayView*, BOOL on) {
    Attr().underline = on;
}
void MDrawTool::SetTextFrame(MTessarayView*, BOOL on) {
    Attr().textFrame = on;
}
void MDrawTool::SetTextColor(MTessarayView*, COLORREF color) {
    Attr().textColor = color;
}
void MDrawTool::SetHorzAlign(MTessarayView*, int align) {
    Attr().alignment = (Attr().alignment & 0xC) | (align & 3);
}
void MDrawTool::SetVertAlign(MTessarayView*, int align) {
    Attr().alignment = (Attr().alignment & 3) | (align & 0xC);
}

COLORREF MDrawTool::GetLineColor() {
    return Attr().lineColor;
}
MFillStyle MDrawTool::GetFaceColor() {
    return Attr().faceFill;
}
int MDrawTool::GetLineType() {
    return Attr().lineType;
}
double MDrawTool::GetLineWidth() {
    return Attr().lineWidth;
}
double MDrawTool::GetFontSize() {
    return Attr().fontSize;
}
CString MDrawTool::GetFontName() {
    return Attr().fontName;
}
BOOL MDrawTool::GetBold() {
    return Attr().bold;
}
BOOL MDrawTool::GetItalic() {
    return Attr().italic;
}
BOOL MDrawTool::GetUnderline() {
    return Attr().underline;
}
BOOL MDrawTool::GetTextFrame() {
    return Attr().textFrame;
}
COLORREF MDrawTool::GetTextColor() {
    return Attr().textColor;
}
int MDrawTool::GetAlignment() {
    return Attr().alignment;
}
MArrowInfo MDrawTool::GetArrowStyle() {
    return Attr().arrows;
}

int MDrawTool::GetLineColorCommand() {
    const COLORREF color = GetLineColor();
    for (int k = 0; k < kMenuColorCount; ++k)
        if (kMenuColors[k] == color) return static_cast<int>(ID_LINE_COLOR_FIRST) + k;
    return -1;
}

int MDrawTool::GetFaceColorCommand() {
    const MFillStyle fill = GetFaceColor();
    if (fill.IsGradation()) return -1;
    const COLORREF color = fill.IsNone() ? kNoColor : fill.GetColor(0);
    for (int k = 0; k < kMenuColorCount; ++k)
        if (kMenuColors[k] == color) return static_cast<int>(ID_FACE_COLOR_FIRST) + k;
    return -1;
}

void MDrawTool::UpdateLineTypeUI(CCmdUI* ui, int type) {
    ui->Enable(TRUE);
    ui->SetCheck(GetLineType() == type ? 1 : 0);
}

void MDrawTool::OnLineWidthPreset(MTessarayView* view, int index) {
    SetLineWidth(view, Attr().presetWidths[index]);
}

void MDrawTool::UpdateLineWidthUI(CCmdUI* ui, int index) {
    ui->Enable(TRUE);
    ui->SetCheck(std::fabs(GetLineWidth() - Attr().presetWidths[index]) < 2.220446e-15 ? 1 : 0);
}

// ----- into new shapes --------------------------------------------------------------------------

void MDrawTool::ApplyAttributesTo(MTessarayView*, MCadShape* shape) {
    shape->SetTextFlag40(GetTextFrame());
    shape->SetTextColor(GetTextColor());
    shape->SetColor(GetLineColor());
    shape->SetLineStyle(GetLineType());
    shape->SetLineWidth(GetLineWidth());
    shape->SetFillStyle(GetFaceColor());
    MArrowInfo arrows = GetArrowStyle();
    NormalizeArrowEnd(arrows.startStyle, arrows.startSize);
    NormalizeArrowEnd(arrows.endStyle, arrows.endSize);
    shape->SetArrows(arrows);
}

COLORREF MDrawTool::GetColorAtCursor(MTessarayView* view) {
    const WORD kind = GetSnapRecord().kind;
    MCadShape* shape = GetSnapRecord().shape1;
    if (shape && (kind == kSnapEndPoint || kind == kSnapOnShape || kind == kSnapMidPoint ||
                  kind == kSnapIntersection)) {
        if (!shape->IsText() || shape->IsTextFlag40()) return shape->GetColor();
    }
    // The screen holds the cross-hair and the tool's figure in XOR over the drawing: the colour is
    // read from a rendering of the drawing alone.
    CRect client;
    view->GetClientRect(&client);
    std::unique_ptr<CDC> screen = view->GetPreparedClientDC();
    const CPoint device = view->DocToDevice(screen.get(), GetCurrentPoint());
    screen.reset();
    if (!client.PtInRect(device)) return kNoColor;
    CDC dc;
    if (!dc.CreateImageDC(client.Width(), client.Height())) return kNoColor;
    view->OnEraseBkgnd(&dc);
    view->OnPrepareDC(&dc, nullptr);
    if (MTessarayDoc* doc = Document(view)) doc->Draw(view, &dc);
    CPoint logical = device;
    dc.DPtoLP(&logical);
    return dc.GetPixel(logical);
}

// ----- commands ---------------------------------------------------------------------------------

void MDrawTool::RegisterAttributeCommands() {
    CCommandMap& map = Commands();
    const auto enabled = [](CCmdUI* ui) { ui->Enable(TRUE); };
    const auto toggle = [&](UINT id, BOOL (MDrawTool::*get)(), void (MDrawTool::*set)(MTessarayView*, BOOL)) {
        map.OnCommand(
            id, [this, get, set] { (this->*set)(m_view, !(this->*get)()); },
            [this, get](CCmdUI* ui) {
                ui->Enable(TRUE);
                ui->SetCheck((this->*get)() ? 1 : 0);
            });
    };
    toggle(ID_BOLD, &MDrawTool::GetBold, &MDrawTool::SetBold);
    toggle(ID_ITALIC, &MDrawTool::GetItalic, &MDrawTool::SetItalic);
    toggle(ID_UNDERLINE, &MDrawTool::GetUnderline, &MDrawTool::SetUnderline);
    toggle(ID_TEXT_FRAME, &MDrawTool::GetTextFrame, &MDrawTool::SetTextFrame);
    const UINT horz[] = {ID_TEXT_ALIGN_LEFT, ID_TEXT_ALIGN_CENTER, ID_TEXT_ALIGN_RIGHT};
    const UINT vert[] = {ID_TEXT_ALIGN_TOP, ID_TEXT_ALIGN_MIDDLE, ID_TEXT_ALIGN_BOTTOM};
    for (int i = 0; i < 3; ++i) {
        map.OnCommand(
            horz[i], [this, i] { SetHorzAlign(m_view, i); },
            [this, i](CCmdUI* ui) {
                ui->Enable(TRUE);
                ui->SetCheck(GetHorzAlign() == i ? 1 : 0);
            });
        map.OnCommand(
            vert[i], [this, i] { SetVertAlign(m_view, i * 4); },
            [this, i](CCmdUI* ui) {
                ui->Enable(TRUE);
                ui->SetCheck(GetVertAlign() == i * 4 ? 1 : 0);
            });
    }
    map.OnCommand(
        ID_NUMERIC_INPUT, [this] { RunNumericInput(m_view); },
        [this](CCmdUI* ui) { ui->Enable(CanNumericInput()); });
    map.OnCommand(
        ID_COORDINATE_INPUT, [this] { OnCoordinateInput(m_view, nullptr, 0); }, enabled);
    RegisterLineCommands();
    RegisterColorCommands();
    RegisterControlCommands();
    RegisterControlSizeCommands();
}

void MDrawTool::RegisterLineCommands() {
    CCommandMap& map = Commands();
    const UINT types[] = {ID_LINE_SOLID, ID_LINE_DASHED, ID_LINE_DOTTED, ID_LINE_CHAIN, ID_LINE_DOUBLE_CHAIN};
    for (int i = 0; i < 5; ++i)
        map.OnCommand(
            types[i], [this, i] { OnLineType(m_view, i); },
            [this, i](CCmdUI* ui) { UpdateLineTypeUI(ui, i); });
    map.OnCommandRange(ID_LINE_STYLE_FIRST, ID_LINE_STYLE_LAST,
                       [this](UINT id) { SetLineType(m_view, static_cast<int>(id - ID_LINE_STYLE_FIRST)); });
    map.OnUpdateRange(ID_LINE_STYLE_FIRST, ID_LINE_STYLE_LAST, [this](CCmdUI* ui) {
        ui->Enable(TRUE);
        ui->SetCheck(
            GetLineType() + static_cast<int>(ID_LINE_STYLE_FIRST) == static_cast<int>(ui->m_nID) ? 1 : 0);
    });
    const UINT presets[] = {ID_WIDTH_THIN, ID_WIDTH_MEDIUM, ID_WIDTH_THICK};
    for (int i = 0; i < 3; ++i)
        map.OnCommand(
            presets[i], [this, i] { OnLineWidthPreset(m_view, i); },
            [this, i](CCmdUI* ui) { UpdateLineWidthUI(ui, i); });
    map.OnCommand(
        ID_WIDTH_USER,
        [this] {
            MUserLineWidthDialog dialog(m_view, 0.0);
            if (dialog.DoModal() == IDOK) SetLineWidth(m_view, UserLineWidth());
        },
        [](CCmdUI* ui) { ui->Enable(TRUE); });
}

void MDrawTool::RegisterColorCommands() {
    CCommandMap& map = Commands();
    const auto enabled = [](CCmdUI* ui) { ui->Enable(TRUE); };
    map.OnCommandRange(ID_LINE_COLOR_FIRST, ID_LINE_COLOR_LAST,
                       [this](UINT id) { SetLineColor(m_view, kMenuColors[id - ID_LINE_COLOR_FIRST]); });
    map.OnUpdateRange(ID_LINE_COLOR_FIRST, ID_LINE_COLOR_LAST, [this](CCmdUI* ui) {
        ui->Enable(TRUE);
        ui->SetCheck(GetLineColorCommand() == static_cast<int>(ui->m_nID) ? 1 : 0);
    });
    map.OnCommandRange(ID_FACE_COLOR_FIRST, ID_FACE_COLOR_LAST, [this](UINT id) {
        SetFaceColor(m_view, MFillStyle(kMenuColors[id - ID_FACE_COLOR_FIRST]));
    });
    map.OnUpdateRange(ID_FACE_COLOR_FIRST, ID_FACE_COLOR_LAST, [this](CCmdUI* ui) {
        ui->Enable(TRUE);
        ui->SetCheck(GetFaceColorCommand() == static_cast<int>(ui->m_nID) ? 1 : 0);
    });
    map.OnCommand(
        ID_COPY_COLOR_TO_LINE, [this] { SetLineColor(m_view, GetColorAtCursor(m_view)); }, enabled);
    map.OnCommand(
        ID_COPY_COLOR_TO_FACE, [this] { SetFaceColor(m_view, MFillStyle(GetColorAtCursor(m_view))); },
        enabled);
    map.OnCommand(
        ID_COPY_COLOR_TO_TEXT, [this] { SetTextColor(m_view, GetColorAtCursor(m_view)); }, enabled);
}

void MDrawTool::RegisterControlCommands() {
    CCommandMap& map = Commands();
    const auto onClick = [&](UINT id, std::function<void()> take, CCommandMap::UpdateHandler show) {
        map.OnNotify(NM_CLICK, id, [take](NMHDR*, LRESULT*) { take(); });
        map.OnUpdate(id, std::move(show));
    };
    // The colour buttons: their colour unless they show none.
    const auto colorButton = [&](UINT id, void (MDrawTool::*set)(MTessarayView*, COLORREF),
                                 COLORREF (MDrawTool::*get)()) {
        onClick(
            id,
            [this, id, set] {
                MAttributeControls* c = GetAttributeControls();
                const std::optional<COLORREF> color = c ? c->GetColor(id) : std::nullopt;
                if (color && *color != kNoButtonColor) (this->*set)(m_view, *color);
            },
            [this, id, get](CCmdUI*) { ShowColor(id, (this->*get)()); });
    };
    colorButton(IDC_LINE_COLOR, &MDrawTool::SetLineColor, &MDrawTool::GetLineColor);
    colorButton(IDC_TEXT_COLOR, &MDrawTool::SetTextColor, &MDrawTool::GetTextColor);
    onClick(
        IDC_FACE_COLOR,
        [this] {
            MAttributeControls* c = GetAttributeControls();
            if (const std::optional<MFillStyle> fill = c ? c->GetFill(IDC_FACE_COLOR) : std::nullopt)
                SetFaceColor(m_view, *fill);
        },
        [this](CCmdUI*) {
            MAttributeControls* c = GetAttributeControls();
            if (!c || c->HasFocus(IDC_FACE_COLOR)) return;
            const MFillStyle fill = GetFaceColor();
            if (c->GetFill(IDC_FACE_COLOR) != fill) c->SetFill(IDC_FACE_COLOR, fill);
        });
    map.OnControl(CBN_SELENDOK, IDC_LINE_STYLE, [this] {
        MAttributeControls* c = GetAttributeControls();
        const std::optional<int> style = c ? c->GetIndex(IDC_LINE_STYLE) : std::nullopt;
        if (style && *style >= 0 && GetLineStyleTable().Find(*style)) SetLineType(m_view, *style);
    });
    map.OnUpdate(IDC_LINE_STYLE, [this](CCmdUI* ui) {
        ui->Enable(TRUE);
        ShowIndex(IDC_LINE_STYLE, GetLineType());
    });
}

void MDrawTool::RegisterControlSizeCommands() {
    CCommandMap& map = Commands();
    const auto arrowType = [&](UINT id, void (MDrawTool::*set)(MTessarayView*, int),
                               int (MDrawTool::*get)()) {
        map.OnControl(CBN_SELENDOK, id, [this, id, set] {
            MAttributeControls* c = GetAttributeControls();
            const std::optional<int> kind = c ? c->GetIndex(id) : std::nullopt;
            if (kind && *kind >= 0) (this->*set)(m_view, *kind);
        });
        map.OnUpdate(id, [this, id, get](CCmdUI*) { ShowIndex(id, (this->*get)()); });
    };
    arrowType(IDC_START_ARROW_TYPE, &MDrawTool::SetStartArrowType, &MDrawTool::GetStartArrowType);
    arrowType(IDC_END_ARROW_TYPE, &MDrawTool::SetEndArrowType, &MDrawTool::GetEndArrowType);
    // Sizes: the value when above 0 (a width may be 0).
    const auto size = [&](UINT id, bool zeroAllowed, void (MDrawTool::*set)(MTessarayView*, double),
                          double (MDrawTool::*get)()) {
        map.OnNotify(NM_RETURN, id, [this, id, zeroAllowed, set](NMHDR*, LRESULT*) {
            const std::optional<double> value = ShownNumber(id);
            if (!value) return;
            if (zeroAllowed ? *value >= 0.0 : *value > 0.0) (this->*set)(m_view, RoundToHundredths(*value));
        });
        map.OnUpdate(id, [this, id, get](CCmdUI*) { ShowNumber(id, (this->*get)()); });
    };
    size(IDC_LINE_WIDTH, true, &MDrawTool::SetLineWidth, &MDrawTool::GetLineWidth);
    size(IDC_START_ARROW_SIZE, false, &MDrawTool::SetStartArrowSize, &MDrawTool::GetStartArrowSize);
    size(IDC_END_ARROW_SIZE, false, &MDrawTool::SetEndArrowSize, &MDrawTool::GetEndArrowSize);
    size(IDC_FONT_SIZE, false, &MDrawTool::SetFontSize, &MDrawTool::GetFontSize);
    map.OnNotify(NM_RETURN, IDC_FONT_NAME, [this](NMHDR*, LRESULT*) {
        MAttributeControls* c = GetAttributeControls();
        const std::optional<std::string> text = c ? c->GetText(IDC_FONT_NAME) : std::nullopt;
        if (!text) return;
        const std::string name = TrimBlanks(*text);
        if (!name.empty()) SetFontName(m_view, name);
    });
    map.OnUpdate(IDC_FONT_NAME, [this](CCmdUI*) {
        MAttributeControls* c = GetAttributeControls();
        if (!c || c->HasFocus(IDC_FONT_NAME)) return;
        const CString name = GetFontName();
        if (c->GetText(IDC_FONT_NAME) != name) c->SetText(IDC_FONT_NAME, name);
    });
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
