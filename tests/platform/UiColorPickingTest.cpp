// What the colour controls stand on: grid popups of owner-drawn items, the colour dialog under a
// runner, sliders, member controls in place of a template's, pictures, and the frame and state
// drawing of buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/gdi/ControlDrawing.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/Picture.h"
#include "platform/ui/ColorDialog.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Menu.h"
#include "platform/ui/OwnerDraw.h"
#include "platform/ui/SliderCtrl.h"
#include "resources/ResourceFormats.h"

namespace {

// Items 10 wide (plus the check mark's 13) and 12 high that paint their data as a colour.
class SwatchMenu : public CMenu {
public:
    void MeasureItem(MEASUREITEMSTRUCT* mis) override {
        mis->itemWidth = 10;
        mis->itemHeight = 12;
    }
    void DrawItem(DRAWITEMSTRUCT* dis) override {
        dis->hDC->FillSolidRect(
            &dis->rcItem, (dis->itemState & ODS_CHECKED) ? 0x0000FFu : static_cast<COLORREF>(dis->itemData));
    }
};

class MenuOwner : public CWnd {
public:
    void OnInitMenuPopup(CMenu* menu, UINT, BOOL) override { menu->CheckMenuItem(3, MF_CHECKED); }
    void OnDrawItem(int id, DRAWITEMSTRUCT* dis) override {
        if (dis->CtlType == ODT_MENU) drawn.push_back(dis->itemID);
        CWnd::OnDrawItem(id, dis);
    }
    std::vector<UINT> drawn;
};

SwatchMenu MakeGrid() {
    SwatchMenu menu;
    menu.CreatePopupMenu();
    menu.AppendOwnerDrawn(0, 1, 0x00FF00);
    menu.AppendOwnerDrawn(0, 2, 0x00FF00);
    menu.AppendOwnerDrawn(MF_MENUBREAK, 3, 0xFF0000);
    menu.AppendOwnerDrawn(0, 4, 0xFF0000);
    menu.AppendMenu(MF_SEPARATOR | MF_MENUBARBREAK);
    menu.AppendMenu(MF_STRING, 77, "その他...");
    return menu;
}

TEST(UiGridMenu, ColumnsOfOwnerDrawnItemsAreShownAndChosenWithTheMouse) {
    MenuOwner owner;
    owner.Create(nullptr, 0);
    SwatchMenu menu = MakeGrid();
    EXPECT_EQ(menu.Items()[0].data, 0x00FF00u);
    EXPECT_NE(menu.GetMenuState(1, MF_BYCOMMAND) & MF_OWNERDRAW, 0u);
    QImage shown;
    QTimer::singleShot(0, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        shown = popup->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The first item of the second column: 2 of frame and one column of 23 to its left.
        const QPointF at(2 + 23 + 5, 2 + 5);
        QMouseEvent move(QEvent::MouseMove, at, popup->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(popup, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, at, popup->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(popup, &release);
    });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &owner), 3);
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixel(2 + 11, 2 + 6), qRgb(0, 255, 0));    // item 1, column 0
    EXPECT_EQ(shown.pixel(2 + 11, 14 + 6), qRgb(0, 255, 0));   // item 2 below it
    EXPECT_EQ(shown.pixel(25 + 11, 14 + 6), qRgb(0, 0, 255));  // item 4 (blue) in the second column
    EXPECT_EQ(shown.pixel(25 + 11, 2 + 6), qRgb(255, 0, 0));   // item 3, checked by the owner's update
    EXPECT_GT(shown.width(), 2 * 23 + 4 + 20);                 // the bar and the text column follow
    EXPECT_GE(owner.drawn.size(), 4u);                         // drawn through the owner
}

TEST(UiGridMenu, EscapeChoosesNothingAndTheRunnerSeesFlagsAndChecks) {
    MenuOwner owner;
    owner.Create(nullptr, 0);
    SwatchMenu menu = MakeGrid();
    QTimer::singleShot(0, [] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(popup, &escape);
    });
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner), 0);

    DialogRunner runner;
    runner.ScriptPopupMenu(77);
    EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &owner), 77);
    const auto& items = runner.Popups().back().items;
    ASSERT_EQ(items.size(), 6u);
    EXPECT_NE(items[2].flags & MF_MENUBREAK, 0u);
    EXPECT_NE(items[2].flags & MF_CHECKED, 0u);
    EXPECT_NE(items[4].flags & MF_MENUBARBREAK, 0u);
    EXPECT_EQ(items[4].id, 0u);
}

TEST(UiColorDialog, ScriptsAnswerWithAColourOrCancelAndCustomColoursComeBack) {
    DialogRunner runner;
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i)
        custom[i] = 0x010101u * static_cast<COLORREF>(i);
    runner.Script(CColorDialog::IDD, DialogScript()
                                         .Do([](CDialog& d) {
                                             auto& dialog = dynamic_cast<CColorDialog&>(d);
                                             EXPECT_EQ(dialog.GetColor(), 0x123456u);
                                             dialog.m_cc.lpCustColors[4] = 0xABCDEF;
                                         })
                                         .ChooseColor(0x00FF80));
    CColorDialog dialog(0x123456);
    dialog.m_cc.lpCustColors = custom;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetColor(), 0x00FF80u);
    EXPECT_EQ(custom[4], 0xABCDEFu);

    runner.Script(CColorDialog::IDD, DialogScript().Cancel());
    CColorDialog cancelled(0x123456);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetColor(), 0x123456u);
    ASSERT_EQ(runner.Dialogs().size(), 2u);
    EXPECT_EQ(runner.Dialogs()[1].id, CColorDialog::IDD);
    EXPECT_TRUE(runner.Dialogs()[1].scripted);
}

// A dialog with a slider, an owner-drawn button bound to a member, and a picture button.
class SliderDialog : public CDialog {
public:
    static constexpr UINT kTemplate = 9301;
    SliderDialog() : CDialog(kTemplate) {
        CDialog::RegisterTemplate(kTemplate, {{DlgOp::Dialog, kTemplate, "slider", 0, 0, 0},
                                              {DlgOp::Slider, 11, nullptr, 0, 10, 0},
                                              {DlgOp::PushButton, 12, "", BS_OWNERDRAW, 40, 20},
                                              {DlgOp::Buttons, kIdStatic, nullptr, 0, 0, 0},
                                              {DlgOp::DefPushButton, kIdOk, "OK", 0, 0, 0},
                                              {DlgOp::EndDialog, kIdStatic, nullptr, 0, 0, 0}});
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Slider(pDX, 11, position);
        DDX_Control(pDX, 12, member);
    }
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar) override {
        codes.push_back(code);
        seen = static_cast<int>(pos);
        nullBar = bar == nullptr;
    }
    int position = 30;
    int seen = -1;
    bool nullBar = false;
    std::vector<UINT> codes;
    CButton member;
};

TEST(UiSlider, MovesReachTheOwnerAsHorizontalScrollsAndExchangeItsPosition) {
    DialogRunner runner;
    int before = -1;
    bool bound = false;
    QSize size;
    runner.Script(SliderDialog::kTemplate, DialogScript()
                                               .Do([&](CDialog& d) {
                                                   before = d.GetDlgItemAs<CSliderCtrl>(11)->GetPos();
                                                   auto& dialog = static_cast<SliderDialog&>(d);
                                                   bound = d.GetDlgItem(12) == &dialog.member;
                                                   size = dialog.member.GetWidget()->minimumSize();
                                               })
                                               .MoveSlider(11, 70)
                                               .Ok());
    SliderDialog dialog;
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(before, 30);  // setting it in code says nothing
    EXPECT_EQ(dialog.position, 70);
    EXPECT_EQ(dialog.seen, 70);
    EXPECT_TRUE(dialog.nullBar);
    EXPECT_EQ(dialog.codes, (std::vector<UINT>{TB_THUMBTRACK, TB_ENDTRACK}));
    EXPECT_TRUE(bound);  // GetDlgItem answers the member
    EXPECT_EQ(size, QSize(40, 20));
}

TEST(UiControlDrawing, PushFramesAreRaisedOrSunkenAndAdjustTheRectangle) {
    CDC dc;
    dc.CreateImageDC(20, 20);
    RECT r{0, 0, 20, 20};
    ASSERT_TRUE(DrawFrameControl(&dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_EQ(CRect(r), CRect(2, 2, 18, 18));
    EXPECT_EQ(dc.GetPixel(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(dc.GetPixel(19, 19), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(dc.GetPixel(18, 10), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(dc.GetPixel(10, 10), GetSysColor(COLOR_BTNFACE));
    RECT pushed{0, 0, 20, 20};
    DrawFrameControl(&dc, &pushed, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(CRect(pushed), CRect(0, 0, 20, 20));
    EXPECT_EQ(dc.GetPixel(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(dc.GetPixel(1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_FALSE(DrawFrameControl(&dc, &pushed, 3, 0));
}

TEST(UiControlDrawing, StatesEmbossOrDitherWhatThePictureInks) {
    auto square = [](CDC& d, const CRect& r) {
        CRect inner = r;
        inner.DeflateRect(2, 2);
        d.FillSolidRect(&inner, 0x0000FF);
    };
    CDC dc;
    dc.CreateImageDC(10, 10);
    dc.FillSolidRect(0, 0, 10, 10, 0x00FF00);
    ASSERT_TRUE(DrawState(&dc, CRect(0, 0, 10, 10), square, DSS_DISABLED));
    EXPECT_EQ(dc.GetPixel(0, 0), 0x00FF00u);  // not inked: kept
    EXPECT_EQ(dc.GetPixel(4, 4), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(dc.GetPixel(8, 8), GetSysColor(COLOR_BTNHIGHLIGHT));  // one down and right of the ink

    dc.FillSolidRect(0, 0, 10, 10, 0x00FF00);
    DrawState(&dc, CRect(0, 0, 10, 10), square, DSS_UNION);
    EXPECT_EQ(dc.GetPixel(4, 4), 0x0000FFu);
    EXPECT_EQ(dc.GetPixel(4, 5), 0x00FF00u);
    EXPECT_EQ(dc.GetPixel(1, 1), 0x00FF00u);

    DrawState(&dc, CRect(0, 0, 10, 10), square, DSS_NORMAL);
    EXPECT_EQ(dc.GetPixel(4, 5), 0x0000FFu);
}

TEST(UiPictures, ButtonPicturesAreDrawnAtTheirSizeWhereAsked) {
    CSize size;
    ASSERT_TRUE(GetPictureSize(1269, &size));
    EXPECT_EQ(size, CSize(16, 15));
    EXPECT_FALSE(GetPictureSize(4711, &size));
    CDC dc;
    dc.CreateImageDC(40, 30);
    EXPECT_FALSE(DrawPicture(&dc, 4711, 0, 0));
    ASSERT_TRUE(DrawPicture(&dc, 262, 10, 5));
    dc.Flush();
    int inside = 0, outside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            (x >= 10 && x < 26 && y >= 5 && y < 20 ? inside : outside) += dc.GetPixel(x, y) != 0xFFFFFFu;
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
}

}  // namespace
