// The tab control, the icon view of a list with in-place renaming, and dialog bars on dock widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMainWindow>
#include <optional>
#include <vector>

#include "platform/gdi/GdiObjects.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogBar.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/IconListCtrl.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/TabCtrl.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr UINT kTabs = 1191;
constexpr UINT kList = 1182;

// A window that records the notifications of its controls.
class Owner : public CWnd {
public:
    Owner() {
        Create(nullptr, 100);
        for (int code :
             std::initializer_list<int>{TCN_SELCHANGE, NM_RCLICK, NM_DBLCLK, NM_RETURN, LVN_BEGINDRAG}) {
            Commands().OnNotify(code, kTabs, [this, code](NMHDR*, LRESULT*) { codes.push_back(code); });
            Commands().OnNotify(code, kList, [this, code](NMHDR* nm, LRESULT*) {
                codes.push_back(code);
                items.push_back(reinterpret_cast<NMLISTVIEW*>(nm)->iItem);
            });
        }
        Commands().OnNotify(LVN_ENDLABELEDIT, kList, [this](NMHDR* nm, LRESULT*) {
            const LVITEM& item = reinterpret_cast<NMLVDISPINFO*>(nm)->item;
            edited.push_back(item.pszText ? std::optional<std::string>(item.pszText) : std::nullopt);
        });
    }
    std::vector<int> codes;
    std::vector<int> items;
    std::vector<std::optional<std::string>> edited;
};

void PressKey(CWnd* wnd, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(wnd->GetWidget(), &press);
}

}  // namespace

TEST(UiTabCtrl, OnlyTheUsersChoiceNotifiesAndRightClicksReportTheTabUnderTheCursor) {
    Owner owner;
    CTabCtrl tabs;
    ASSERT_TRUE(tabs.Create(0, &owner, kTabs));
    tabs.InsertItem(0, "機械");
    tabs.InsertItem(1, "電気");
    tabs.InsertItem(1, "建築");
    EXPECT_EQ(tabs.GetItemCount(), 3);
    EXPECT_EQ(tabs.GetItemText(1), "建築");
    EXPECT_EQ(tabs.SetCurSel(2), 0);
    EXPECT_EQ(tabs.SetCurSel(7), -1);
    EXPECT_EQ(tabs.GetCurSel(), 2);
    EXPECT_TRUE(owner.codes.empty());

    tabs.ClickTab(1);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_EQ(owner.codes, std::vector<int>{TCN_SELCHANGE});

    tabs.GetWidget()->resize(400, 40);
    tabs.RightClick(CPoint(2, 5));
    EXPECT_EQ(owner.codes.back(), NM_RCLICK);
    CPoint cursor;
    GetCursorPos(&cursor);
    tabs.ScreenToClient(&cursor);
    EXPECT_EQ(tabs.HitTest(cursor), 0);

    // The display area lies below the captions, inside the given rectangle.
    CRect area(0, 0, 200, 300);
    tabs.AdjustRect(FALSE, &area);
    EXPECT_GT(area.top, 10);
    EXPECT_LT(area.bottom, 300);
    EXPECT_TRUE(tabs.DeleteAllItems());
    EXPECT_EQ(tabs.GetCurSel(), -1);
}

TEST(UiIconList, ShowsImagesAndReportsClicksEnterAndDrags) {
    Owner owner;
    CIconListCtrl list;
    ASSERT_TRUE(
        list.Create(UINT{LVS_SINGLESEL} | UINT{LVS_AUTOARRANGE} | UINT{LVS_EDITLABELS}, &owner, kList));
    CImageList images;
    ASSERT_TRUE(images.Create(32, 32, ILC_MASK | ILC_COLOR4, 4, 1));
    CBitmap picture, mask;
    picture.CreateBitmap(32, 32, 1, 1, nullptr);
    mask.CreateBitmap(32, 32, 1, 1, nullptr);
    EXPECT_EQ(images.Add(&picture, &mask), 0);
    EXPECT_EQ(images.Add(&picture, &mask), 1);
    list.SetImageList(&images, LVSIL_NORMAL);
    list.InsertItem(0, "ボルト", 0);
    list.InsertItem(1, "ナット", 1);
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), -1);

    list.DoubleClickItem(1);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
    list.PressEnter();
    list.RightClickItem(0);
    list.BeginItemDrag(1);
    EXPECT_EQ(owner.codes, (std::vector<int>{NM_DBLCLK, NM_RETURN, NM_RCLICK, LVN_BEGINDRAG}));
    EXPECT_EQ(owner.items, (std::vector<int>{1, 1, 0, 1}));
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST(UiIconList, InPlaceRenamingEndsWithTheTextOnEnterAndWithNoneOnEscape) {
    Owner owner;
    CIconListCtrl list;
    ASSERT_TRUE(list.Create(LVS_EDITLABELS, &owner, kList));
    list.InsertItem(0, "ボルト", -1);

    CEdit* edit = list.EditLabel(0);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->GetWindowText(), "ボルト");
    edit->SetWindowText("六角ボルト");
    PressKey(edit, Qt::Key_Return);
    EXPECT_EQ(list.GetEditControl(), nullptr);

    edit = list.EditLabel(0);
    ASSERT_NE(edit, nullptr);
    edit->SetWindowText("別名");
    PressKey(edit, Qt::Key_Escape);

    ASSERT_EQ(owner.edited.size(), 2u);
    EXPECT_EQ(owner.edited[0], std::optional<std::string>("六角ボルト"));
    EXPECT_EQ(owner.edited[1], std::nullopt);
    // The owner decides the text: the control keeps its own until told.
    EXPECT_EQ(list.GetItemText(0), "ボルト");
}

TEST(UiDialogBar, DocksLeftHiddenShowsThroughTheFrameAndFloatsWhenItMayNotDock) {
    ResetProgramState();
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create("frame"));
    CDialogBar bar;
    ASSERT_TRUE(bar.Create(&frame, CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC, 209, "TestBar"));
    bar.SetWindowText("部品");
    auto* window = qobject_cast<QMainWindow*>(frame.GetWidget());
    auto* dock = qobject_cast<QDockWidget*>(bar.GetDockWidget());
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock->windowTitle().toStdString(), "部品");
    EXPECT_EQ(window->dockWidgetArea(dock), Qt::LeftDockWidgetArea);
    EXPECT_FALSE(bar.IsBarVisible());

    frame.ShowControlBar(&bar, TRUE, FALSE);
    EXPECT_TRUE(bar.IsBarVisible());
    EXPECT_EQ(bar.GetBarStyle() & CBRS_FLOATING, 0u);

    bar.EnableDocking(0);
    bar.Float(CPoint(40, 50));
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_EQ(bar.GetBarStyle() & CBRS_FLOATING, static_cast<DWORD>(CBRS_FLOATING));
    EXPECT_EQ(dock->allowedAreas(), Qt::NoDockWidgetArea);

    // The bar is kept in the frame's layout under its name.
    const std::vector<BYTE> state = frame.GetBarState(1);
    bar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    bar.Dock();
    frame.ShowControlBar(&bar, FALSE, FALSE);
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_TRUE(frame.SetBarState(state, 1));
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_TRUE(bar.IsBarVisible());
    ResetProgramState();
}
