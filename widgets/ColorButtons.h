// The drop-down colour buttons: an owner-drawn push button showing its colour; a click opens the
// palette menu below it, and a choice there sets the colour and tells the owner (or, without one,
// the parent) with a WM_NOTIFY of code NM_CLICK and the button's id. The menu's commands go to the
// button alone, never along the frame's route: "無色" of a line button (200) must not reach the
// tools' palette command 200.
// - MColorSelectButton: the 64 palette colours, commands firstId .. firstId + 63.
// - MLineColorButton: adds "無色" (200, no colour) and "その他..." (299, the colour dialog).
// - MFaceColorButton: holds a whole fill (MFillStyle) and adds "無色" (300), "その他..." (398)
//   and "ｸﾞﾗﾃﾞｰｼｮﾝ..." (399, the gradation dialog).
// In a dialog, bind a member to a DRAWNBUTTON of the template with DDX_Control.
#pragma once

#include <memory>

#include "model/FillStyle.h"
#include "platform/ui/Controls.h"
#include "widgets/ColorMenu.h"

class MColorSelectButton : public CButton {
public:
    explicit MColorSelectButton(UINT firstId = 1);

    // An owner-drawn push button (WS_CHILD | WS_VISIBLE | BS_OWNERDRAW) at rect of pParent with
    // the menu's commands from firstId.
    BOOL Create(CWnd* pParent, const CRect& rect, UINT nID, UINT firstId);
    // However it is created (a toolbar's slot, a plain push-button style), it draws itself.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void SetFirstId(UINT firstId);
    UINT GetFirstId() const { return m_firstId; }
    UINT GetLastId() const { return m_lastId; }
    // The palette colour of a command of this button's menu.
    COLORREF ColorOfCommand(UINT id) const;

    virtual COLORREF GetColor() const { return m_color; }
    // Stores the colour and repaints.
    virtual void SetColor(COLORREF color);
    // A new popup of the 64 palette items (the caller owns it).
    virtual std::unique_ptr<MColorMenu> CreateColorMenu();

    // The push-button frame, the picture of the button's id (if there is one) at the top left,
    // and the swatch (embossed when the button is disabled).
    void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) override;
    // A command of the palette sets its colour and notifies; others go to the handler table.
    BOOL OnCommand(UINT nID, int nCode, CWnd* pCtrl) override;
    // The button's own click opens the menu.
    BOOL OnReflectedCommand(int nCode) override;
    // Checks the item of the current colour.
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;

    // Opens the menu below the button and carries out the chosen command.
    void ShowColorMenu();

protected:
    // The swatch inside rect: nothing for values above 0x1000001; a shadow frame and inside it the
    // colour, or a cross for no colour.
    virtual void DrawSwatch(CDC* dc, const CRect& rect);
    // Repaints and tells the owner of a new colour.
    void ColorChosen();
    void Repaint();

private:
    COLORREF m_color = 255;
    UINT m_firstId = 1;
    UINT m_lastId = 64;
};

class MLineColorButton : public MColorSelectButton {
public:
    static constexpr UINT kNoColorCommand = 200;
    static constexpr UINT kOtherColorCommand = 299;

    MLineColorButton();
    std::unique_ptr<MColorMenu> CreateColorMenu() override;
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;

private:
    void ChooseOtherColor();
};

class MFaceColorButton : public MColorSelectButton {
public:
    static constexpr UINT kNoFillCommand = 300;
    static constexpr UINT kOtherColorCommand = 398;
    static constexpr UINT kGradationCommand = 399;

    MFaceColorButton();
    // kNoColor for no fill, (COLORREF)-1 for a gradation, the plain colour otherwise.
    COLORREF GetColor() const override;
    // The fill becomes the plain colour (kNoColor: no fill).
    void SetColor(COLORREF color) override;
    void SetFillStyle(const MFillStyle& fill);
    const MFillStyle& GetFillStyle() const { return m_fill; }
    std::unique_ptr<MColorMenu> CreateColorMenu() override;
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) override;
    // Gives the button a fill chosen elsewhere (the gradation dialog's "更新"): repaint, notify.
    void ApplyFill(const MFillStyle& fill);

protected:
    void DrawSwatch(CDC* dc, const CRect& rect) override;

private:
    void ChooseOtherColor();
    void ChooseGradation();

    MFillStyle m_fill;
};

// Runs the colour dialog from start (black when start is no colour) with the 16 custom colours of
// the profile section "ColorDialog" ("0" .. "15"; a value that is no colour reads as white),
// writes them back whether or not the user confirmed, and gives the chosen colour on OK.
BOOL ChooseColorWithDialog(CWnd* pOwner, COLORREF start, COLORREF& chosen);
