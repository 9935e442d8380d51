// The controls of the zoom, text and figure-style toolbars: creation in their slots, their font and
// lists, the font settings of the profile, the values the tools read and write through
// MAttributeControls, and the colour and line-style menus.
#include <QWidget>
#include <cmath>
#include <sstream>

#include "app/MainFrame.h"
#include "app/bars/ToolBarControls.h"
#include "document/ToolSettings.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/gdi/QtGdi.h"
#include "resources/ResourceIds.h"
#include "widgets/MenuBitmaps.h"

namespace {

constexpr int kTextBarIndex = 15;
constexpr int kStyleBarIndex = 16;
constexpr int kDropButtons = 6;
constexpr int kStyleItemHeight = 16;
constexpr int kControlFontHeight = -14;
constexpr DWORD kComboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP;
// The number combos are typed into (a width, a size + Enter), so all are editable; their fields
// always scroll sideways.
constexpr DWORD kEditCombo = kComboStyle | CBS_DROPDOWN | CBS_HASSTRINGS;
constexpr DWORD kDrawnCombo = kComboStyle | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED;

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, ','))
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

void FillList(CComboBox& combo, UINT listId) {
    for (const std::string& item : SplitCommas(AfxLoadString(listId)))
        combo.AddString(item);
}

// "No value" as the tools understand it: -1 for an empty number.
std::optional<double> NumberOf(const MSizeComboBox& combo) {
    const double value = combo.GetValue();
    if (value < 0.0 || !std::isfinite(value)) return std::nullopt;
    return RoundTo(value, -2);
}

// The font size the profile gives: "0" (or text that reads as 0) is 3, a value the size combo
// refuses reads as the default size, so a damaged profile never gives a giant or negative text.
double ProfileFontSize(const MSizeComboBox& combo) {
    std::string text = Trim(AfxGetProfile().GetProfileString("FONT", "FONTSIZE"));
    if (text.empty()) text = AfxLoadString(IDS_FONT_SIZE_DEFAULT);
    const double size = AtoF(text);
    if (size == 0.0) return 3.0;
    if (!std::isfinite(size) || !combo.IsValid(size)) return AtoF(AfxLoadString(IDS_FONT_SIZE_DEFAULT));
    return size;
}

}  // namespace

BOOL MMainFrame::CreateControls() {
    CToolBar& zoomBar = GetToolBar(kZoomBarIndex);
    CToolBar& textBar = GetToolBar(kTextBarIndex);
    CToolBar& styleBar = GetToolBar(kStyleBarIndex);
    if (!CreateToolBarComboBox(zoomBar, zoomBar.CommandToIndex(ID_ZOOM_COMBO), m_zoomCombo, ID_ZOOM_COMBO, 1,
                               kDropButtons, kEditCombo) ||
        !CreateToolBarComboBox(textBar, 3, m_fontNameCombo, IDC_FONT_NAME, 4, kDropButtons,
                               kEditCombo | CBS_SORT) ||
        !CreateToolBarComboBox(textBar, 5, m_fontSizeCombo, IDC_FONT_SIZE, 1, kDropButtons, kEditCombo) ||
        !CreateToolBarButton(textBar, 12, m_textColorButton, IDC_TEXT_COLOR, 2) ||
        !CreateToolBarButton(styleBar, 2, m_lineColorButton, IDC_LINE_COLOR, 2) ||
        !CreateToolBarButton(styleBar, 4, m_faceColorButton, IDC_FACE_COLOR, 2) ||
        !CreateToolBarComboBox(styleBar, 6, m_lineStyleCombo, IDC_LINE_STYLE, 3, kDropButtons, kDrawnCombo) ||
        !CreateToolBarComboBox(styleBar, 7, m_lineWidthCombo, IDC_LINE_WIDTH, 1, kDropButtons, kEditCombo) ||
        !CreateToolBarComboBox(styleBar, 9, m_startArrowCombo, IDC_START_ARROW_TYPE, 2, kDropButtons,
                               kDrawnCombo) ||
        !CreateToolBarComboBox(styleBar, 10, m_startArrowSizeCombo, IDC_START_ARROW_SIZE, 1, kDropButtons,
                               kEditCombo) ||
        !CreateToolBarComboBox(styleBar, 12, m_endArrowCombo, IDC_END_ARROW_TYPE, 2, kDropButtons,
                               kDrawnCombo) ||
        !CreateToolBarComboBox(styleBar, 13, m_endArrowSizeCombo, IDC_END_ARROW_SIZE, 1, kDropButtons,
                               kEditCombo))
        return FALSE;
    m_textColorButton.SetFirstId(1000);
    m_lineColorButton.SetFirstId(1000);
    m_faceColorButton.SetFirstId(500);
    m_lineStyleCombo.FillStyles(kStyleItemHeight);
    m_startArrowCombo.FillStyles(0, kStyleItemHeight);
    m_endArrowCombo.FillStyles(1, kStyleItemHeight);
    // The controls' tips are those of their slots.
    for (UINT id :
         {UINT(IDC_FONT_NAME), UINT(IDC_FONT_SIZE), UINT(IDC_TEXT_COLOR), UINT(IDC_LINE_COLOR),
          UINT(IDC_FACE_COLOR), UINT(IDC_LINE_STYLE), UINT(IDC_LINE_WIDTH), UINT(IDC_START_ARROW_TYPE),
          UINT(IDC_START_ARROW_SIZE), UINT(IDC_END_ARROW_TYPE), UINT(IDC_END_ARROW_SIZE)}) {
        const std::string text = AfxLoadString(id);
        if (QWidget* w = GetAttributeControl(id)->GetWidget())
            w->setToolTip(QString::fromStdString(text.substr(text.find('\n') + 1)));
    }
    return TRUE;
}

void MMainFrame::SetControlFont() {
    NONCLIENTMETRICS metrics{};
    LOGFONT font{};
    if (GetNonClientMetrics(&metrics)) {
        font = metrics.lfMenuFont;
        font.lfHeight = kControlFontHeight;
    } else if (auto* stock = dynamic_cast<CFont*>(GetStockObject(SYSTEM_FONT))) {
        stock->GetLogFont(&font);
    }
    m_controlFont.CreateFontIndirect(&font);
    const QFont qfont = MakeQFont(font, 96.0);
    for (CWnd* control : std::initializer_list<CWnd*>{
             &m_zoomCombo, &m_lineStyleCombo, &m_fontNameCombo, &m_fontSizeCombo, &m_lineWidthCombo,
             &m_startArrowCombo, &m_startArrowSizeCombo, &m_endArrowCombo, &m_endArrowSizeCombo})
        if (QWidget* w = control->GetWidget()) w->setFont(qfont);
}

void MMainFrame::FillControls() {
    FillList(m_zoomCombo, IDS_ZOOM_LIST);
    std::string zoom = Trim(AfxGetProfile().GetProfileString("ZOOM", "ZOOMPERCENT"));
    if (zoom.empty()) zoom = AfxLoadString(IDS_ZOOM_DEFAULT);
    m_zoomCombo.SetValue(AtoF(zoom));

    FillList(m_lineWidthCombo, IDS_WIDTH_LIST);
    m_lineWidthCombo.SetCurSel(0);
    m_lineWidthCombo.SetValue(AtoF(m_lineWidthCombo.GetLBText(0)));
    FillList(m_startArrowSizeCombo, IDS_ARROW_SIZE_LIST);
    FillList(m_endArrowSizeCombo, IDS_ARROW_SIZE_LIST);
    m_startArrowSizeCombo.SetValue(-1.0);
    m_endArrowSizeCombo.SetValue(-1.0);
}

void MMainFrame::ReadFontSettings() {
    for (const std::string& family : EnumFontFamilies())
        m_fontNameCombo.AddString(family);
    std::string name = Trim(AfxGetProfile().GetProfileString("FONT", "FONTNAME"));
    if (name.empty()) name = AfxLoadString(IDS_DEFAULT_FONT);
    m_fontNameCombo.SetName(name);
    MDrawAttributes& attributes = GetDrawAttributes();
    attributes.fontName = name;

    FillList(m_fontSizeCombo, IDS_FONT_SIZE_LIST);
    const double size = ProfileFontSize(m_fontSizeCombo);
    m_fontSizeCombo.SetValue(size);
    attributes.fontSize = size;
}

void MMainFrame::PatchMenu() {
    CMenu* menu = GetMenu();
    if (!menu) return;
    for (UINT id : {UINT(ID_MENU_LINE_COLOR), UINT(ID_MENU_FACE_COLOR), UINT(ID_MENU_LINE_STYLE)}) {
        CMenu popup;
        popup.CreatePopupMenu();
        if (!MakeAttributeMenu(id, &popup)) continue;
        const std::string text = menu->GetMenuString(id, MF_BYCOMMAND);
        menu->ModifyMenu(id, MF_BYCOMMAND | MF_POPUP, text, std::move(popup));
    }
}

BOOL MMainFrame::MakeAttributeMenu(UINT itemId, CMenu* popup) {
    if (!popup) return FALSE;
    switch (itemId) {
        case ID_MENU_LINE_COLOR:
            return BuildColorSwatchMenu(*popup, kLineColorCommandFirst);
        case ID_MENU_FACE_COLOR:
            return BuildColorSwatchMenu(*popup, kFaceColorCommandFirst);
        case ID_MENU_LINE_STYLE:
            return BuildLineStyleMenu(*popup);
        default:
            return FALSE;
    }
}

// ----- the values ---------------------------------------------------------------------------------

MSizeComboBox* MMainFrame::NumberCombo(UINT id) {
    switch (id) {
        case IDC_LINE_WIDTH:
            return &m_lineWidthCombo;
        case IDC_START_ARROW_SIZE:
            return &m_startArrowSizeCombo;
        case IDC_END_ARROW_SIZE:
            return &m_endArrowSizeCombo;
        case IDC_FONT_SIZE:
            return &m_fontSizeCombo;
        default:
            return nullptr;
    }
}

CWnd* MMainFrame::GetAttributeControl(UINT id) {
    if (MSizeComboBox* combo = NumberCombo(id)) return combo;
    switch (id) {
        case IDC_TEXT_COLOR:
            return &m_textColorButton;
        case IDC_LINE_COLOR:
            return &m_lineColorButton;
        case IDC_FACE_COLOR:
            return &m_faceColorButton;
        case IDC_LINE_STYLE:
            return &m_lineStyleCombo;
        case IDC_START_ARROW_TYPE:
            return &m_startArrowCombo;
        case IDC_END_ARROW_TYPE:
            return &m_endArrowCombo;
        case IDC_FONT_NAME:
            return &m_fontNameCombo;
        default:
            return nullptr;
    }
}

double MMainFrame::GetLineWidth() const {
    return RoundTo(m_lineWidthCombo.GetValue(), -2);
}
void MMainFrame::SetLineWidth(double width) {
    m_lineWidthCombo.SetValue(width);
}
double MMainFrame::GetStartArrowSize() const {
    return RoundTo(m_startArrowSizeCombo.GetValue(), -2);
}
void MMainFrame::SetStartArrowSize(double size) {
    m_startArrowSizeCombo.SetValue(size);
}
double MMainFrame::GetEndArrowSize() const {
    return RoundTo(m_endArrowSizeCombo.GetValue(), -2);
}
void MMainFrame::SetEndArrowSize(double size) {
    m_endArrowSizeCombo.SetValue(size);
}
double MMainFrame::GetFontSize() const {
    return RoundTo(m_fontSizeCombo.GetValue(), -2);
}
void MMainFrame::SetFontSize(double size) {
    m_fontSizeCombo.SetValue(size);
}
std::string MMainFrame::GetFontName() const {
    return m_fontNameCombo.GetName();
}
void MMainFrame::SetFontName(const std::string& name) {
    m_fontNameCombo.SetName(name);
}

std::optional<COLORREF> MMainFrame::GetColor(UINT id) {
    switch (id) {
        case IDC_TEXT_COLOR:
            return m_textColorButton.GetColor();
        case IDC_LINE_COLOR:
            return m_lineColorButton.GetColor();
        case IDC_FACE_COLOR:
            return m_faceColorButton.GetColor();
        default:
            return std::nullopt;
    }
}

std::optional<MFillStyle> MMainFrame::GetFill(UINT id) {
    if (id != IDC_FACE_COLOR) return std::nullopt;
    return m_faceColorButton.GetFillStyle();
}

std::optional<int> MMainFrame::GetIndex(UINT id) {
    int value = -1;
    if (id == IDC_LINE_STYLE)
        value = m_lineStyleCombo.GetCurStyle();
    else if (id == IDC_START_ARROW_TYPE || id == IDC_END_ARROW_TYPE)
        value = (id == IDC_START_ARROW_TYPE ? m_startArrowCombo : m_endArrowCombo).GetCurStyle();
    if (value < 0 || value == MArrowStyleCombo::kNoKind) return std::nullopt;
    return value;
}

std::optional<double> MMainFrame::GetNumber(UINT id) {
    const MSizeComboBox* combo = NumberCombo(id);
    return combo ? NumberOf(*combo) : std::nullopt;
}

std::optional<std::string> MMainFrame::GetText(UINT id) {
    if (id != IDC_FONT_NAME || m_fontNameCombo.GetName().empty()) return std::nullopt;
    return m_fontNameCombo.GetName();
}

// The setters show a value without telling anybody: the tools call them in their update
// handlers, and a notification would apply the value again (with the select tool, an undo step
// at every idle pass).
void MMainFrame::SetColor(UINT id, COLORREF color) {
    if (id == IDC_TEXT_COLOR) m_textColorButton.SetColor(color);
    if (id == IDC_LINE_COLOR) m_lineColorButton.SetColor(color);
    if (id == IDC_FACE_COLOR) m_faceColorButton.SetColor(color);
}

void MMainFrame::SetFill(UINT id, const MFillStyle& fill) {
    if (id == IDC_FACE_COLOR) m_faceColorButton.SetFillStyle(fill);
}

void MMainFrame::SetIndex(UINT id, int value) {
    if (id == IDC_LINE_STYLE) m_lineStyleCombo.SelectStyle(value);
    if (id == IDC_START_ARROW_TYPE) m_startArrowCombo.SelectStyle(value);
    if (id == IDC_END_ARROW_TYPE) m_endArrowCombo.SelectStyle(value);
}

void MMainFrame::SetNumber(UINT id, double value) {
    if (MSizeComboBox* combo = NumberCombo(id)) combo->SetValue(value);
}

void MMainFrame::SetText(UINT id, const std::string& text) {
    if (id == IDC_FONT_NAME) m_fontNameCombo.SetName(text);
}

bool MMainFrame::HasFocus(UINT id) {
    CWnd* control = GetAttributeControl(id);
    return control && CWnd::GetFocus() == control;
}
