// The number and name combos on a toolbar of a frame: typing, Enter and Escape through the
// keyboard road, list choices, the ranges of each class, rounding, and the notifications that
// reach the frame's command router.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <vector>

#include "platform/ui/FrameWnd.h"
#include "platform/ui/ToolBar.h"
#include "widgets/NameComboBox.h"
#include "widgets/SizeComboBox.h"

namespace {

enum : UINT { kZoomId = 33083, kFontSizeId = 1274, kWidthId = 1275, kArrowSizeId = 1276, kFontId = 1277 };

class NumberNameCombos : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame.Create("combos"));
        ASSERT_TRUE(bar.Create(&frame));
        const UINT ids[] = {kZoomId, kFontSizeId, kWidthId, kArrowSizeId, kFontId};
        ASSERT_TRUE(bar.SetButtons(ids, 5));
        Place(zoom, 0, kZoomId);
        Place(fontSize, 1, kFontSizeId);
        Place(width, 2, kWidthId);
        Place(arrowSize, 3, kArrowSizeId);
        Place(font, 4, kFontId);
        for (const char* item : {"10", "50", "100", "200"})
            zoom.AddString(item);
        for (UINT id : ids)
            frame.Commands().OnNotify(NM_RETURN, id, [this, id](NMHDR* nm, LRESULT*) {
                ASSERT_EQ(nm->idFrom, id);
                notified.push_back(id);
            });
    }
    void Place(CComboBox& combo, int slot, UINT id) {
        ASSERT_TRUE(combo.Create(CBS_DROPDOWN, &bar, id));
        ASSERT_TRUE(bar.SetButtonControl(slot, &combo));
    }
    // As the user's keys in the combo's edit field.
    static void Key(CComboBox& combo, Qt::Key key, bool repeat = false) {
        QLineEdit* edit = qobject_cast<QComboBox*>(combo.GetWidget())->lineEdit();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(edit, &press);
    }
    static void Type(CComboBox& combo, const char* text) { combo.TypeText(text); }

    CFrameWnd frame;
    CToolBar bar;
    MSizeComboBox zoom;
    MSizeComboBox fontSize;
    MWidthComboBox width;
    MArrowSizeComboBox arrowSize;
    MNameComboBox font;
    std::vector<UINT> notified;
};

TEST_F(NumberNameCombos, EnterCommitsTheValueRoundedToOneDecimal) {
    fontSize.SetValue(10.5);
    EXPECT_EQ(fontSize.GetWindowText(), "10.5");
    Type(fontSize, "12.34");
    Key(fontSize, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(fontSize.GetValue(), 12.3);
    EXPECT_EQ(fontSize.GetWindowText(), "12.3");
    EXPECT_EQ(notified, std::vector<UINT>{kFontSizeId});
    // A value outside the range keeps the old one and shows it again; the owner still hears.
    Type(fontSize, "1500");
    Key(fontSize, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(fontSize.GetValue(), 12.3);
    EXPECT_EQ(fontSize.GetWindowText(), "12.3");
    EXPECT_EQ(notified.size(), 2u);
    // A repeated Enter does nothing.
    Type(fontSize, "14");
    Key(fontSize, Qt::Key_Return, true);
    EXPECT_DOUBLE_EQ(fontSize.GetValue(), 12.3);
    EXPECT_EQ(notified.size(), 2u);
    // Escape shows the stored value again; its repeat does nothing.
    Key(fontSize, Qt::Key_Escape, true);
    EXPECT_EQ(fontSize.GetWindowText(), "14");
    Key(fontSize, Qt::Key_Escape);
    EXPECT_EQ(fontSize.GetWindowText(), "12.3");
    EXPECT_EQ(notified.size(), 2u);
}

TEST_F(NumberNameCombos, EachClassHasItsRange) {
    width.SetValue(0.5);
    width.SetText("0");
    EXPECT_DOUBLE_EQ(width.GetValue(), 0.0);  // 0 <= x
    width.SetText("100");
    EXPECT_DOUBLE_EQ(width.GetValue(), 0.0);  // x < 100
    arrowSize.SetValue(3.0);
    arrowSize.SetText("0");
    EXPECT_DOUBLE_EQ(arrowSize.GetValue(), 3.0);  // 0 < x
    arrowSize.SetText("99.9");
    EXPECT_DOUBLE_EQ(arrowSize.GetValue(), 99.9);
    zoom.SetText("1000");
    EXPECT_DOUBLE_EQ(zoom.GetValue(), 1000.0);  // x <= 1000
}

// The rounded value is the one the range must take: a value that rounds out of it is refused.
TEST_F(NumberNameCombos, AValueThatRoundsOutOfTheRangeIsRefused) {
    width.SetValue(0.3);
    width.SetText("99.96");
    EXPECT_DOUBLE_EQ(width.GetValue(), 0.3);
    EXPECT_EQ(width.GetWindowText(), "0.3");
    width.SetText("99.94");
    EXPECT_DOUBLE_EQ(width.GetValue(), 99.9);
    for (MSizeComboBox* combo : {static_cast<MSizeComboBox*>(&arrowSize), &fontSize, &zoom}) {
        combo->SetValue(2.0);
        combo->SetText("0.04");
        EXPECT_DOUBLE_EQ(combo->GetValue(), 2.0);
        EXPECT_EQ(combo->GetWindowText(), "2");
        combo->SetText("0.05");
        EXPECT_DOUBLE_EQ(combo->GetValue(), 0.1);
    }
    zoom.SetText("1000.04");
    EXPECT_DOUBLE_EQ(zoom.GetValue(), 1000.0);
}

TEST_F(NumberNameCombos, EmptyTextStoresMinusOneAndTellsNobody) {
    fontSize.SetValue(9.0);
    fontSize.SetText("");
    EXPECT_DOUBLE_EQ(fontSize.GetValue(), -1.0);
    EXPECT_TRUE(notified.empty());
}

TEST_F(NumberNameCombos, ValuesOfTheListSelectTheirItem) {
    Type(zoom, "100");
    Key(zoom, Qt::Key_Return);
    EXPECT_EQ(zoom.GetCurSel(), 2);
    EXPECT_DOUBLE_EQ(zoom.GetValue(), 100.0);
    zoom.ChooseItem(3);  // a choice copies the item's text and commits it
    EXPECT_DOUBLE_EQ(zoom.GetValue(), 200.0);
    EXPECT_EQ(notified, (std::vector<UINT>{kZoomId, kZoomId}));
    zoom.SetValue(75.0);
    EXPECT_EQ(zoom.GetWindowText(), "75");
}

TEST_F(NumberNameCombos, TheNameComboCommitsOnEnterAndRestoresOnEscape) {
    font.SetName("ＭＳ 明朝");
    EXPECT_EQ(font.GetWindowText(), "ＭＳ 明朝");
    EXPECT_TRUE(notified.empty());
    Type(font, "ＭＳ ゴシック");
    Key(font, Qt::Key_Escape);
    EXPECT_EQ(font.GetWindowText(), "ＭＳ 明朝");
    Type(font, "ＭＳ ゴシック");
    Key(font, Qt::Key_Return);
    EXPECT_EQ(font.GetName(), "ＭＳ ゴシック");
    EXPECT_EQ(notified, std::vector<UINT>{kFontId});
    Key(font, Qt::Key_Return, true);
    EXPECT_EQ(notified.size(), 1u);
    Type(font, "Arial");
    Key(font, Qt::Key_Escape);
    EXPECT_EQ(font.GetWindowText(), "ＭＳ ゴシック");
    font.SetText("Century");
    EXPECT_EQ(font.GetName(), "Century");
    EXPECT_EQ(notified.size(), 2u);
}

// A window that records the notifications it receives.
class Listener : public CWnd {
public:
    Listener() {
        Commands().OnNotify(NM_RETURN, kFontId, [this](NMHDR*, LRESULT*) { ++returns; });
    }
    int returns = 0;
};

TEST(NameComboOwner, TheOwnerHearsElseTheParent) {
    Listener parent, owner;
    parent.Create(nullptr, 0);
    owner.Create(nullptr, 0);
    MNameComboBox combo;
    combo.Create(CBS_DROPDOWN, &parent, kFontId);
    combo.SetText("a");
    EXPECT_EQ(parent.returns, 1);
    combo.SetOwner(&owner);
    combo.SetText("b");
    EXPECT_EQ(owner.returns, 1);
    EXPECT_EQ(parent.returns, 1);
}

}  // namespace
