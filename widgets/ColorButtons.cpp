#include "widgets/ColorButtons.h"

#include <string>

#include "model/render/PolyFace.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/gdi/ControlDrawing.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Picture.h"
#include "platform/ui/ColorDialog.h"
#include "widgets/ColorPalette.h"
#include "widgets/GradationDialog.h"
#include "widgets/OwnerDrawnItem.h"

namespace {

constexpr const char* kCustomColorSection = "ColorDialog";
constexpr COLORREF kNotAColor = static_cast<COLORREF>(-1);

// Checks the menu item of a command, unless there is none (0 would name a separator).
void CheckCommand(CMenu* menu, UINT command) {
    if (menu && command != 0) menu->CheckMenuItem(command, MF_CHECKED);
}

// The swatch's frame; returns the rectangle inside it.
CRect SwatchFrame(CDC* dc, const CRect& rect) {
    CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
    dc->FrameRect(&rect, &shadow);
    CRect inside = rect;
    inside.DeflateRect(2, 2);
    return inside;
}

// No colour: the button face outlined in black, with both diagonals.
void DrawCross(CDC* dc, const CRect& r) {
    DrawNoColorCross(dc, r, 0, GetSysColor(COLOR_BTNFACE));
}

// A colour the colour dialog can start from: black for what is no colour.
COLORREF StartColor(COLORREF color) {
    return color > 0xFFFFFF ? 0 : color;
}

}  // namespace

BOOL ChooseColorWithDialog(CWnd* pOwner, COLORREF start, COLORREF& chosen) {
    CProfile& profile = AfxGetProfile();
    COLORREF custom[CColorDialog::kCustomColors];
    for (int i = 0; i < CColorDialog::kCustomColors; ++i) {
        const int value = profile.GetProfileInt(kCustomColorSection, std::to_string(i), 0xFFFFFF);
        // A damaged entry is no colour: it reads as the default.
        custom[i] = value >= 0 && value <= 0xFFFFFF ? static_cast<COLORREF>(value) : 0xFFFFFFu;
    }
    CColorDialog dialog(StartColor(start), 0, pOwner);
    dialog.m_cc.lpCustColors = custom;
    const int result = dialog.DoModal();
    for (int i = 0; i < CColorDialog::kCustomColors; ++i)
        profile.WriteProfileInt(kCustomColorSection, std::to_string(i),
                                static_cast<int>(custom[i] & 0xFFFFFF));
    if (result != IDOK) return FALSE;
    chosen = dialog.GetColor();
    return TRUE;
}

// ----- MColorSelectButton ----------------------------------------------------------------------

MColorSelectButton::MColorSelectButton(UINT firstId) {
    SetFirstId(firstId);
}

BOOL MColorSelectButton::Create(CWnd* pParent, const CRect& rect, UINT nID, UINT firstId) {
    SetFirstId(firstId);
    return CButton::Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, pParent, nID);
}

BOOL MColorSelectButton::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style = (cs.style & ~0xFu) | BS_OWNERDRAW;
    return TRUE;
}

void MColorSelectButton::SetFirstId(UINT firstId) {
    m_firstId = firstId;
    m_lastId = firstId + kPaletteColorCount - 1;
}

COLORREF MColorSelectButton::ColorOfCommand(UINT id) const {
    return ::ColorOfCommand(id, m_firstId);
}

void MColorSelectButton::SetColor(COLORREF color) {
    m_color = color;
    Repaint();
}

std::unique_ptr<MColorMenu> MColorSelectButton::CreateColorMenu() {
    auto menu = std::make_unique<MColorMenu>();
    menu->AppendPalette(m_firstId);
    return menu;
}

void MColorSelectButton::Repaint() {
    if (IsWindow()) Invalidate();
}

void MColorSelectButton::ColorChosen() {
    Repaint();
    NotifyOwner(NM_CLICK);
}

void MColorSelectButton::ShowColorMenu() {
    CRect rect;
    GetWindowRect(&rect);
    std::unique_ptr<MColorMenu> menu = CreateColorMenu();
    // The choice comes back here and is carried out by this button only.
    const UINT command =
        static_cast<UINT>(menu->TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD, rect.left, rect.bottom, this));
    menu.reset();
    if (command) SendCommand(command);
}

BOOL MColorSelectButton::OnReflectedCommand(int nCode) {
    if (nCode != BN_CLICKED) return FALSE;
    ShowColorMenu();
    return TRUE;
}

BOOL MColorSelectButton::OnCommand(UINT nID, int nCode, CWnd* pCtrl) {
    if (nCode == CN_COMMAND && nID >= m_firstId && nID <= m_lastId) {
        SetColor(ColorOfCommand(nID));
        ColorChosen();
        return TRUE;
    }
    return CButton::OnCommand(nID, nCode, pCtrl);
}

void MColorSelectButton::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL) {
    CheckCommand(pPopupMenu, CommandOfColor(GetColor(), m_firstId));
}

void MColorSelectButton::DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) {
    const DRAWITEMSTRUCT& dis = *lpDrawItemStruct;
    CDC* dc = dis.hDC;
    CRect rect = dis.rcItem;
    const UINT frame =
        DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | ((dis.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0u);
    DrawFrameControl(dc, &rect, DFC_BUTTON, frame);
    // The toolbar buttons' pictures (text, line, fill) sit at the top left.
    if (DrawPicture(dc, dis.CtlID, rect.left, rect.top)) rect.left += 16;
    rect.DeflateRect(1, 1);
    const UINT state = (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) ? DSS_DISABLED : DSS_NORMAL;
    DrawState(
        dc, rect, [this](CDC& d, const CRect& r) { DrawSwatch(&d, r); }, state);
}

void MColorSelectButton::DrawSwatch(CDC* dc, const CRect& rect) {
    const COLORREF color = GetColor();
    if (color > kNoColor + 1) return;
    const CRect inside = SwatchFrame(dc, rect);
    if (color == kNoColor)
        DrawCross(dc, inside);
    else if (color <= 0xFFFFFF && !inside.IsRectEmpty())
        dc->FillSolidRect(&inside, color);
}

// ----- MLineColorButton ------------------------------------------------------------------------

MLineColorButton::MLineColorButton() : MColorSelectButton(1) {
    Commands().OnCommand(kNoColorCommand, [this] {
        SetColor(kNoColor);
        ColorChosen();
    });
    Commands().OnCommand(kOtherColorCommand, [this] { ChooseOtherColor(); });
}

std::unique_ptr<MColorMenu> MLineColorButton::CreateColorMenu() {
    std::unique_ptr<MColorMenu> menu = MColorSelectButton::CreateColorMenu();
    menu->AppendMenu(MF_SEPARATOR | MF_MENUBARBREAK);
    menu->AppendMenu(MF_STRING, kNoColorCommand, "無色");
    menu->AppendMenu(MF_STRING, kOtherColorCommand, "その他...");
    return menu;
}

void MLineColorButton::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    if (GetColor() == kNoColor)
        CheckCommand(pPopupMenu, kNoColorCommand);
    else
        MColorSelectButton::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

void MLineColorButton::ChooseOtherColor() {
    COLORREF chosen = 0;
    if (!ChooseColorWithDialog(this, GetColor(), chosen)) return;
    SetColor(chosen);
    ColorChosen();
}

// ----- MFaceColorButton ------------------------------------------------------------------------

MFaceColorButton::MFaceColorButton() : MColorSelectButton(1), m_fill(255) {
    Commands().OnCommand(kNoFillCommand, [this] { ApplyFill(MFillStyle(kNoColor)); });
    Commands().OnCommand(kOtherColorCommand, [this] { ChooseOtherColor(); });
    Commands().OnCommand(kGradationCommand, [this] { ChooseGradation(); });
}

COLORREF MFaceColorButton::GetColor() const {
    if (m_fill.IsNone()) return kNoColor;
    if (m_fill.GetKind() != kFillPlain) return kNotAColor;
    return m_fill.GetColor(0);
}

void MFaceColorButton::SetColor(COLORREF color) {
    m_fill.SetColor(color);
    Repaint();
}

void MFaceColorButton::SetFillStyle(const MFillStyle& fill) {
    m_fill = fill;
    Repaint();
}

void MFaceColorButton::ApplyFill(const MFillStyle& fill) {
    SetFillStyle(fill);
    ColorChosen();
}

std::unique_ptr<MColorMenu> MFaceColorButton::CreateColorMenu() {
    std::unique_ptr<MColorMenu> menu = MColorSelectButton::CreateColorMenu();
    menu->AppendMenu(MF_SEPARATOR | MF_MENUBARBREAK);
    menu->AppendMenu(MF_STRING, kNoFillCommand, "無色");
    menu->AppendMenu(MF_STRING, kOtherColorCommand, "その他...");
    menu->AppendMenu(MF_STRING, kGradationCommand, "ｸﾞﾗﾃﾞｰｼｮﾝ...");
    return menu;
}

void MFaceColorButton::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
    if (m_fill.IsNone())
        CheckCommand(pPopupMenu, kNoFillCommand);
    else if (m_fill.GetKind() & 0x100)
        CheckCommand(pPopupMenu, kGradationCommand);
    else
        MColorSelectButton::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

void MFaceColorButton::ChooseOtherColor() {
    // Only a plain fill has a first colour to start from; no fill has no colours at all.
    COLORREF start = 0;
    if (!m_fill.IsNone() && m_fill.GetKind() == kFillPlain && m_fill.GetColor(0) != kNotAColor)
        start = m_fill.GetColor(0);
    COLORREF chosen = 0;
    if (!ChooseColorWithDialog(this, start, chosen)) return;
    ApplyFill(MFillStyle(chosen));
}

void MFaceColorButton::ChooseGradation() {
    MGradationDialog dialog(this);
    dialog.SetFill(m_fill);
    if (dialog.DoModal() != IDOK) return;
    MFillStyle fill;
    dialog.GetFill(fill);
    ApplyFill(fill);
}

void MFaceColorButton::DrawSwatch(CDC* dc, const CRect& rect) {
    if (m_fill.IsNone()) {
        DrawCross(dc, SwatchFrame(dc, rect));
        return;
    }
    if (m_fill.GetColor(0) == kNotAColor) return;
    const CRect inside = SwatchFrame(dc, rect);
    if (inside.IsRectEmpty()) return;
    if (!(m_fill.GetKind() & 0x100)) {
        if (m_fill.GetColor(0) <= 0xFFFFFF) dc->FillSolidRect(&inside, m_fill.GetColor(0));
        return;
    }
    const int saved = dc->SaveDC();
    dc->IntersectClipRect(&inside);
    DrawGradation(dc, inside, 32, m_fill.GetKind(), m_fill.GetColors(), m_fill.GetColorCount(),
                  m_fill.GetMiddle(), m_fill.GetAngle(), m_fill.GetCenterX(), m_fill.GetCenterY());
    dc->RestoreDC(saved);
}
