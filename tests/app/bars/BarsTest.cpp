// Controls over toolbar slots and the toolbar chooser.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QWidget>

#include "app/bars/ToolBarControls.h"
#include "app/bars/ToolbarDialog.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/ScrollBar.h"

namespace {

// A button that records how it is asked to draw itself.
class RecordingButton : public CButton {
public:
    void DrawItem(DRAWITEMSTRUCT* dis) override {
        draws.push_back(*dis);
        dis->hDC->FillSolidRect(&dis->rcItem, 0x0000FF);
    }
    std::vector<DRAWITEMSTRUCT> draws;
};

class ToolBarSlots : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame.Create("bars"));
        ASSERT_TRUE(bar.Create(&frame));
        const UINT ids[] = {101, 1269, ID_SEPARATOR, 1278};
        ASSERT_TRUE(bar.SetButtons(ids, 4));
    }
    CFrameWnd frame;
    CToolBar bar;
};

TEST_F(ToolBarSlots, AComboTakesButtonWidthsPlusAThumbAndItsListDropsButtonHeights) {
    CComboBox combo;
    ASSERT_TRUE(CreateToolBarComboBox(bar, 1, combo, 1269, 3, 8, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED));
    const int width = 3 * CToolBar::kButtonWidth + GetSystemMetrics(SM_CXHTHUMB) + 8;
    EXPECT_EQ(combo.GetDlgCtrlID(), 1269u);
    EXPECT_EQ(combo.GetWidget()->width(), width);
    EXPECT_NE(combo.GetStyle() & CBS_OWNERDRAWFIXED, 0u);
    CRect slot;
    ASSERT_TRUE(bar.GetItemRect(1, &slot));
    EXPECT_EQ(slot.Width(), width);
    ASSERT_TRUE(bar.GetItemRect(3, &slot));
    EXPECT_EQ(slot.left, CToolBar::kButtonWidth + width + CToolBar::kSeparatorWidth);

    // Eight button heights of 16-pixel items.
    for (int i = 0; i < 20; ++i)
        combo.AddString("");
    combo.SetItemHeight(0, 16);
    auto* widget = qobject_cast<QComboBox*>(combo.GetWidget());
    widget->showPopup();
    EXPECT_EQ(widget->maxVisibleItems(), (8 * CToolBar::kButtonHeight) / 16);
    widget->hidePopup();

    // Its choices reach the frame's router.
    int chosen = 0;
    frame.Commands().OnControl(CBN_SELENDOK, 1269, [&] { ++chosen; });
    combo.ChooseItem(2);
    EXPECT_EQ(chosen, 1);
}

TEST_F(ToolBarSlots, AnOwnerDrawnButtonTakesItsSlot) {
    RecordingButton button;
    ASSERT_TRUE(CreateToolBarButton(bar, 3, button, 1278, 2));
    EXPECT_EQ(button.GetDlgCtrlID(), 1278u);
    EXPECT_EQ(button.GetButtonStyle() & 0xF, static_cast<UINT>(BS_OWNERDRAW));
    EXPECT_EQ(button.GetWidget()->width(), 2 * CToolBar::kButtonWidth);
    EXPECT_EQ(button.GetWindowText(), "");

    // The widget paints through DrawItem.
    const QImage image = button.GetWidget()->grab().toImage();
    ASSERT_FALSE(button.draws.empty());
    EXPECT_EQ(button.draws.back().CtlType, static_cast<UINT>(ODT_BUTTON));
    EXPECT_EQ(button.draws.back().CtlID, 1278u);
    EXPECT_EQ(button.draws.back().itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(255, 0, 0));

    int clicks = 0;
    frame.Commands().OnCommand(1278, [&] { ++clicks; });
    button.Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ToolBarSlots, ASlotPastTheEndCreatesNothing) {
    CComboBox combo;
    EXPECT_FALSE(CreateToolBarComboBox(bar, 4, combo, 1269, 3, 8, CBS_DROPDOWNLIST));
    EXPECT_EQ(combo.GetWidget(), nullptr);
    EXPECT_FALSE(CreateToolBarComboBox(bar, -1, combo, 1269, 3, 8, CBS_DROPDOWNLIST));
    CButton button;
    EXPECT_FALSE(CreateToolBarButton(bar, 7, button, 1278, 1));
    EXPECT_EQ(button.GetWidget(), nullptr);
    EXPECT_EQ(bar.GetCount(), 4);
}

class ToolbarChooser : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < MToolbarDialog::kToolbarCount; ++i)
            dialog.SetToolbar(i, "バー" + std::to_string(i), i % 3 == 0 ? 1 : 0);
    }
    DialogRunner runner;
    MToolbarDialog dialog;
};

TEST_F(ToolbarChooser, ShowsEveryTitleWithItsMark) {
    std::vector<std::pair<std::string, int>> shown;
    runner.Script(184, DialogScript()
                           .Do([&](CDialog& d) {
                               auto* list = d.GetDlgItemAs<CCheckListBox>(1294);
                               ASSERT_NE(list, nullptr);
                               for (int i = 0; i < list->GetCount(); ++i)
                                   shown.emplace_back(list->GetText(i), list->GetCheck(i));
                           })
                           .Ok());
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_EQ(shown.size(), 18u);
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(shown[static_cast<std::size_t>(i)].first, "バー" + std::to_string(i));
        EXPECT_EQ(shown[static_cast<std::size_t>(i)].second, i % 3 == 0 ? 1 : 0);
        EXPECT_EQ(dialog.GetVisible(i), i % 3 == 0 ? 1 : 0);
    }
}

TEST_F(ToolbarChooser, UncheckingEveryBarHidesThemAll) {
    DialogScript script;
    for (int i = 0; i < 18; ++i)
        script.CheckItem(1294, i, 0);
    runner.Script(184, script.Ok());
    EXPECT_EQ(dialog.DoModal(), IDOK);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(dialog.GetVisible(i), 0) << i;
}

TEST_F(ToolbarChooser, TickingOneShowsItAndCancelKeepsTheFlags) {
    runner.Script(184, DialogScript().CheckItem(1294, 5).CheckItem(1294, 0, 0).Cancel());
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetVisible(5), 0);
    EXPECT_EQ(dialog.GetVisible(0), 1);

    runner.Script(184, DialogScript().CheckItem(1294, 5).Ok());
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetVisible(5), 1);
    EXPECT_EQ(dialog.GetVisible(0), 1);
    EXPECT_EQ(dialog.GetVisible(1), 0);
}

}  // namespace
