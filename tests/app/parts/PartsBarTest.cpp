// The parts bar in the main window: the files it loads and keeps, its size, showing and docking,
// and its context menus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QMainWindow>

#include "model/Dib.h"
#include "platform/Profile.h"
#include "platform/gdi/GdiObjects.h"
#include "tests/app/parts/PartsTestSupport.h"

namespace {

class PartsBar : public PartsBarProgram {};

std::vector<std::string> MenuTexts(const DialogRunner::PopupRecord& popup) {
    std::vector<std::string> texts;
    for (const auto& item : popup.items)
        if (item.id != 0) texts.push_back(item.text);
    return texts;
}

}  // namespace

TEST_F(PartsBar, ProfileValuesLoadInOrderUntilTheFirstMissingOne) {
    const std::string a = WriteList("a.qfp", "機械", {"ボルト", "ナット"});
    const std::string b = WriteList("b.qfp", "電気");
    const std::string c = WriteList("c.qfp", "建築");
    LoadFromProfile({{"0", a}, {"1", b}, {"3", c}});
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"機械", "電気"}));
    EXPECT_EQ(Bar().GetTabCtrl().GetCurSel(), 0);
    ASSERT_EQ(Bar().GetListCtrl().GetItemCount(), 2);
    EXPECT_EQ(Bar().GetListCtrl().GetItemText(1), "ナット");

    // Another tab shows its own parts.
    Bar().GetTabCtrl().ClickTab(1);
    EXPECT_EQ(Bar().GetListCtrl().GetItemCount(), 0);
    EXPECT_EQ(Bar().GetSelectedParts(), nullptr);
}

TEST_F(PartsBar, AMissingFileIsReportedOnceAndAFileListedTwiceGivesOneTab) {
    const std::string a = WriteList("a.qfp", "機械");
    const std::string b = WriteList("b.qfp", "電気");
    MessageBoxRecorder messages;
    LoadFromProfile({{"0", a}, {"1", PathOf("gone.qfp")}, {"2", dir + "/./a.qfp"}, {"3", b}});
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"機械", "電気"}));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("gone.qfp"), std::string::npos);
}

TEST_F(PartsBar, ClosingWritesThePathsInTabOrderAndTheDockingFlag) {
    const std::string a = WriteList("a.qfp", "機械");
    const std::string b = WriteList("b.qfp", "電気");
    AfxGetProfile().WriteProfileString("Parts\\path", "5", "stale.qfp");
    LoadFromProfile({{"0", b}, {"1", a}});
    Command(ID_VIEW_PARTS_DOCKING);
    Frame()->SaveSettings();
    CProfile& profile = AfxGetProfile();
    EXPECT_EQ(profile.GetProfileString("Parts\\path", "0", ""), b);
    EXPECT_EQ(profile.GetProfileString("Parts\\path", "1", ""), a);
    EXPECT_EQ(profile.GetProfileString("Parts\\path", "5", ""), "");
    EXPECT_EQ(profile.GetProfileInt("ToolBar", "PartsDialog", 1), 0);
}

TEST_F(PartsBar, StartsHiddenOnTheLeftToggledAndCheckedByItsCommand) {
    auto* window = qobject_cast<QMainWindow*>(Frame()->GetWidget());
    auto* dock = qobject_cast<QDockWidget*>(Bar().GetDockWidget());
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(window->dockWidgetArea(dock), Qt::LeftDockWidgetArea);
    EXPECT_EQ(dock->windowTitle().toStdString(), "部品");
    EXPECT_FALSE(Bar().IsBarVisible());
    EXPECT_EQ(ItemState(ID_VIEW_PARTS_LIST), std::make_pair(true, 0));

    Command(ID_VIEW_PARTS_LIST);
    EXPECT_TRUE(Bar().IsBarVisible());
    EXPECT_EQ(ItemState(ID_VIEW_PARTS_LIST), std::make_pair(true, 1));
    Command(ID_VIEW_PARTS_LIST);
    EXPECT_FALSE(Bar().IsBarVisible());

    // Not dockable: the bar floats and may dock nowhere; dockable again, left and right.
    EXPECT_EQ(ItemState(ID_VIEW_PARTS_DOCKING), std::make_pair(true, 1));
    Command(ID_VIEW_PARTS_DOCKING);
    EXPECT_TRUE(Bar().IsFloating());
    EXPECT_EQ(dock->allowedAreas(), Qt::NoDockWidgetArea);
    EXPECT_EQ(ItemState(ID_VIEW_PARTS_DOCKING), std::make_pair(true, 0));
    Command(ID_VIEW_PARTS_DOCKING);
    EXPECT_EQ(dock->allowedAreas(), Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
}

TEST_F(PartsBar, ReportsItsRememberedSizeWithinItsLimits) {
    auto* dock = qobject_cast<QDockWidget*>(Bar().GetDockWidget());
    Command(ID_VIEW_PARTS_DOCKING);  // floating, so that the size is the bar's own
    Command(ID_VIEW_PARTS_LIST);
    // The whole window, its frame included, is 300 × 500.
    const QSize frame = dock->frameGeometry().size() - dock->size();
    dock->resize(300 - frame.width(), 500 - frame.height());
    QApplication::processEvents();
    const CSize expected(300, 500);
    EXPECT_EQ(Bar().CalcDynamicLayout(-1, LM_HORZDOCK), expected);
    EXPECT_EQ(Bar().CalcDynamicLayout(-1, LM_VERTDOCK | LM_STRETCH), expected);
    EXPECT_EQ(Bar().CalcFixedLayout(FALSE, TRUE), expected);
    EXPECT_EQ(Bar().CalcDynamicLayout(-1, LM_MRUWIDTH), expected);
    EXPECT_EQ(Bar().CalcDynamicLayout(-1, LM_COMMIT), expected);

    // Dragged by an edge below the minimum: that length is 48, the other stays.
    EXPECT_EQ(Bar().CalcDynamicLayout(20, LM_LENGTHY), CSize(300, MPartsDialogBar::kMinSize));
    EXPECT_EQ(Bar().CalcDynamicLayout(-1, LM_VERTDOCK), CSize(300, MPartsDialogBar::kMinSize));
    EXPECT_EQ(Bar().CalcDynamicLayout(10, 0), CSize(MPartsDialogBar::kMinSize, MPartsDialogBar::kMinSize));
}

TEST_F(PartsBar, ItsWindowTakesTheRememberedSizeAndKeepsItsLimitsDockedAndFloating) {
    auto* window = qobject_cast<QMainWindow*>(Frame()->GetWidget());
    auto* dock = qobject_cast<QDockWidget*>(Bar().GetDockWidget());
    window->resize(900, 700);
    Frame()->ShowWindow(SW_SHOWNORMAL);
    Command(ID_VIEW_PARTS_LIST);
    QApplication::processEvents();
    const auto windowSize = [&] {
        CRect rect;
        Bar().GetBarWindowRect(&rect);
        return CSize(rect.Width(), rect.Height());
    };
    const CSize first(MPartsDialogBar::kWidth, MPartsDialogBar::kHeight);
    const CSize least(MPartsDialogBar::kMinSize, MPartsDialogBar::kMinSize);
    // Docked at the left as wide as remembered; floating, the size remembered from there.
    EXPECT_EQ(windowSize().cx, first.cx);
    Command(ID_VIEW_PARTS_DOCKING);
    QApplication::processEvents();
    ASSERT_TRUE(Bar().IsFloating());
    EXPECT_EQ(windowSize(), Bar().GetRememberedSize());
    // Made smaller than its limits allow, it stays at the limits, and that size is remembered.
    dock->resize(10, 10);
    QApplication::processEvents();
    EXPECT_EQ(windowSize(), least);
    EXPECT_EQ(Bar().GetRememberedSize(), least);
    // Docked again, no smaller either.
    Bar().Dock();
    QApplication::processEvents();
    dock->resize(10, 10);
    QApplication::processEvents();
    EXPECT_GE(windowSize().cx, least.cx);
    EXPECT_GE(windowSize().cy, least.cy);
}

TEST_F(PartsBar, ContextMenusOfferOnlyAddingWithoutAListAndNothingWithoutASelection) {
    Bar().GetListCtrl().RightClickItem(-1);
    ASSERT_EQ(dialogs.Popups().size(), 1u);
    EXPECT_EQ(MenuTexts(dialogs.Popups()[0]), std::vector<std::string>{"タブ追加..."});

    LoadFromProfile({{"0", WriteList("a.qfp", "機械", {"ボルト"})}});
    Bar().GetListCtrl().RightClickItem(-1);
    EXPECT_EQ(dialogs.Popups().size(), 1u);

    Bar().GetListCtrl().ClickItem(0);
    Bar().GetListCtrl().RightClickItem(0);
    ASSERT_EQ(dialogs.Popups().size(), 2u);
    EXPECT_EQ(MenuTexts(dialogs.Popups()[1]), (std::vector<std::string>{"名称変更", "ﾌﾟﾛﾊﾟﾃｨｰ...", "削除"}));

    Bar().GetTabCtrl().RightClick(CPoint(3, 3));
    ASSERT_EQ(dialogs.Popups().size(), 3u);
    EXPECT_EQ(MenuTexts(dialogs.Popups()[2]),
              (std::vector<std::string>{"タブ追加...", "タブ挿入...", "名称変更...", "移動...", "削除...",
                                        "JWK読込み..."}));
}

TEST_F(PartsBar, TheTabsAndAFloatingBarComeBackAfterARestart) {
    LoadFromProfile({{"0", WriteList("b.qfp", "B")}, {"1", WriteList("a.qfp", "A")}});
    Command(ID_VIEW_PARTS_DOCKING);
    app.m_pMainWnd = nullptr;
    Frame()->OnClose();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    app.ExitInstance();
    ASSERT_TRUE(app.CreateMainWindow());
    ASSERT_TRUE(app.NewDocument());
    Frame()->LoadPartsLists();
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"B", "A"}));
    EXPECT_TRUE(Bar().IsFloating());
    EXPECT_EQ(qobject_cast<QDockWidget*>(Bar().GetDockWidget())->allowedAreas(), Qt::NoDockWidgetArea);
    EXPECT_EQ(ItemState(ID_VIEW_PARTS_DOCKING), std::make_pair(true, 0));
}

TEST_F(PartsBar, IconsShowThePartsPicturesPixelForPixel) {
    std::unique_ptr<MCadParts> part = Part("ボルト", 200);
    ASSERT_NE(part->GetIcon(), nullptr);
    std::unique_ptr<CBitmap> fast = PartsIconBitmap(*part->GetIcon());
    std::unique_ptr<CBitmap> general = part->GetIcon()->CreateDDB(nullptr);
    ASSERT_NE(fast, nullptr);
    ASSERT_NE(general, nullptr);
    int black = 0;
    for (int y = 0; y < MCadParts::kIconSize; ++y)
        for (int x = 0; x < MCadParts::kIconSize; ++x) {
            ASSERT_EQ(fast->GetPixel(x, y), general->GetPixel(x, y)) << x << "," << y;
            black += fast->GetPixel(x, y) == 0 ? 1 : 0;
        }
    EXPECT_GT(black, 5);
}
