// Owner-drawn list boxes, check list boxes, notifications reflected to their control, bitmap menu
// items and the font families of the font engine.
#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <set>

#include "platform/gdi/DC.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/ui/CheckListBox.h"
#include "platform/ui/Controls.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/Menu.h"
#include "platform/ui/OwnerDraw.h"

namespace {

// A list whose items draw their data as a colour.
class SwatchList : public CListBox {
public:
    void DrawItem(DRAWITEMSTRUCT* dis) override {
        actions.push_back(dis->itemAction);
        if (dis->itemAction == ODA_DRAWENTIRE)
            dis->hDC->FillSolidRect(&dis->rcItem, static_cast<COLORREF>(dis->itemData));
        else if (dis->itemAction == ODA_SELECT && (dis->itemState & ODS_SELECTED))
            dis->hDC->FillSolidRect(dis->rcItem.left, dis->rcItem.top, 2, 2, 0);
    }
    void MeasureItem(MEASUREITEMSTRUCT* mis) override { mis->itemHeight = 21; }
    std::vector<UINT> actions;
};

class Owner : public CWnd {
public:
    Owner() {
        Commands().OnControl(CLBN_CHKCHANGE, 7, [this] { ++ticks; });
        Commands().OnControl(CBN_SELENDOK, 8, [this] { ++choices; });
    }
    int ticks = 0;
    int choices = 0;
};

TEST(UiOwnerDraw, AListPaintsItsItemsThroughDrawItem) {
    CWnd parent;
    parent.Create(nullptr, 0);
    SwatchList list;
    ASSERT_TRUE(list.Create(LBS_OWNERDRAWFIXED, &parent, 6));
    EXPECT_EQ(list.GetItemHeight(0), 21);  // MeasureItem decides until a height is set
    list.SetItemData(list.AddString(""), 0x00FF00);
    list.SetItemData(list.AddString(""), 0x0000FF);
    list.SetItemHeight(0, 12);
    EXPECT_EQ(list.GetItemHeight(0), 12);

    CDC dc;
    dc.CreateImageDC(30, 12);
    ASSERT_TRUE(DrawOwnerDrawItem(&list, 1, ODA_DRAWENTIRE, 0, &dc, CRect(0, 0, 30, 12)));
    EXPECT_EQ(dc.GetPixel(15, 6), 0x0000FFu);

    // A repaint of the widget: entire, then selection, each item on its own rows.
    auto* widget = qobject_cast<QListWidget*>(list.GetWidget());
    widget->resize(40, 60);
    list.SetCurSel(0);
    const QImage image = widget->grab().toImage();
    const QPoint o = widget->viewport()->pos();
    EXPECT_EQ(image.pixelColor(o.x() + 20, o.y() + 5), QColor(0, 255, 0));
    EXPECT_EQ(image.pixelColor(o.x() + 20, o.y() + 17), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(o.x() + 20, o.y() + 30), QColor(255, 0, 0));  // no third item
    EXPECT_EQ(image.pixelColor(o.x(), o.y()), QColor(0, 0, 0));              // the selected item's mark
    ASSERT_GE(list.actions.size(), 2u);

    CListBox plain;
    plain.Create(0, &parent, 9);
    EXPECT_FALSE(DrawOwnerDrawItem(&plain, 0, ODA_DRAWENTIRE, 0, &dc, CRect(0, 0, 30, 12)));
}

TEST(UiOwnerDraw, CheckListMarksItemsAndReportsTheUsersTicks) {
    Owner owner;
    owner.Create(nullptr, 0);
    CCheckListBox list;
    ASSERT_TRUE(list.Create(0, &owner, 7));
    list.AddString("標準");
    static_cast<CListBox&>(list).AddString("ズーム");  // marks however items are added
    EXPECT_EQ(list.GetCheck(0), BST_UNCHECKED);
    EXPECT_EQ(list.GetCheck(1), BST_UNCHECKED);
    EXPECT_EQ(list.GetCheck(2), LB_ERR);
    list.SetCheck(1, BST_CHECKED);
    EXPECT_EQ(list.GetCheck(1), BST_CHECKED);
    EXPECT_EQ(owner.ticks, 0);  // set by the program: nobody is told
    list.ClickCheck(0);
    EXPECT_EQ(list.GetCheck(0), BST_CHECKED);
    EXPECT_EQ(owner.ticks, 1);
    list.EnableWindow(FALSE);
    list.ClickCheck(0);
    EXPECT_EQ(list.GetCheck(0), BST_CHECKED);
}

// A combo that takes its own choices, as the number combos do.
class SelfCommittingCombo : public CComboBox {
public:
    BOOL OnReflectedCommand(int code) override {
        if (code != CBN_SELENDOK) return FALSE;
        ++taken;
        return consume;
    }
    int taken = 0;
    BOOL consume = TRUE;
};

TEST(UiOwnerDraw, NotificationsReachTheControlBeforeItsOwner) {
    Owner owner;
    owner.Create(nullptr, 0);
    CComboBox created;
    created.Create(CBS_DROPDOWNLIST, &owner, 8);
    created.AddString("a");
    created.AddString("b");
    // A member bound to the window later receives the reflected notifications.
    SelfCommittingCombo member;
    member.Attach(created.GetWidget(), false);
    member.SetDlgCtrlID(8);
    created.ChooseItem(1);
    EXPECT_EQ(member.taken, 1);
    EXPECT_EQ(owner.choices, 0);
    member.consume = FALSE;
    created.ChooseItem(0);
    EXPECT_EQ(member.taken, 2);
    EXPECT_EQ(owner.choices, 1);
    member.Detach();
}

TEST(UiOwnerDraw, BitmapItemsShowTheirPictureAndKeepTheirCommand) {
    CBitmap picture;
    ASSERT_TRUE(picture.CreateCompatibleBitmap(nullptr, 90, 14));
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        CBitmap* old = dc.SelectObject(&picture);
        dc.FillSolidRect(0, 0, 90, 14, 0xC0C0C0);
        dc.FillSolidRect(0, 6, 90, 2, 0);
        dc.SelectObject(old);
    }
    CMenu popup;
    popup.CreatePopupMenu();
    ASSERT_TRUE(popup.AppendMenu(MF_BITMAP, 400, &picture));
    popup.AppendMenu(MF_STRING, 401, "実線");
    ASSERT_TRUE(popup.ModifyMenu(401, MF_BYCOMMAND | MF_BITMAP, 401, &picture));
    EXPECT_FALSE(popup.AppendMenu(MF_BITMAP, 402, static_cast<const CBitmap*>(nullptr)));
    ASSERT_EQ(popup.GetMenuItemCount(), 2u);
    for (UINT id : {400u, 401u}) {
        EXPECT_NE(popup.GetMenuState(id, MF_BYCOMMAND) & MF_BITMAP, 0u);
        EXPECT_EQ(popup.FindItem(id, MF_BYCOMMAND)->bitmap, &picture);
    }
    // Back to text: no picture any more.
    popup.ModifyMenu(401, MF_BYCOMMAND | MF_STRING, 401, "破線");
    EXPECT_EQ(popup.GetMenuState(401, MF_BYCOMMAND) & MF_BITMAP, 0u);
    EXPECT_EQ(popup.FindItem(401, MF_BYCOMMAND)->bitmap, nullptr);

    // In a frame's menu the item shows the picture's black band, without text.
    CFrameWnd frame;
    frame.Create("menu");
    CMenu bar;
    bar.CreateMenu();
    bar.AppendMenu("線種(&S)", std::move(popup));
    frame.SetMenu(std::move(bar));
    auto* window = qobject_cast<QMainWindow*>(frame.GetWidget());
    QMenu* qmenu = window->menuBar()->actions().front()->menu();
    ASSERT_NE(qmenu, nullptr);
    ASSERT_EQ(qmenu->actions().size(), 2);
    EXPECT_TRUE(qmenu->actions()[0]->text().isEmpty());
    EXPECT_EQ(qmenu->actions()[0]->data().toUInt(), 400u);
    EXPECT_EQ(qmenu->actions()[1]->text(), QStringLiteral("破線"));
    qmenu->adjustSize();
    EXPECT_GE(qmenu->sizeHint().width(), 90);
    const QImage image = qmenu->grab().toImage();
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = image.pixelColor(x, y) == QColor(0, 0, 0) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    EXPECT_EQ(longest, 90);
}

TEST(UiOwnerDraw, FontFamiliesNameEachFaceOnce) {
    const std::vector<std::string> families = EnumFontFamilies();
    ASSERT_GT(families.size(), 10u);
    EXPECT_EQ(families.front(), "ＭＳ ゴシック");
    std::set<std::string> seen;
    for (const std::string& name : families) {
        EXPECT_TRUE(seen.insert(QString::fromStdString(name).toLower().toStdString()).second) << name;
        EXPECT_NE(name.front(), '@');
    }
}

}  // namespace
