// The layer tab strip: tab bookkeeping, hit tests, painting, the splitter, the arrows, and the
// drawing view's reactions to clicks on tabs.
#include "platform/Exceptions.h"
#include "platform/ui/DialogRunner.h"
#include "tests/view/ViewTestSupport.h"

using namespace viewtest;

namespace {

class TabStrip : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
};

// A plain tab strip view without layers.
class PlainTabs : public MTabScrollView {
public:
    void OnDraw(CDC*) override {}
};

}  // namespace

TEST_F(TabStrip, NamesMustBeNewAndNonEmptyUnlessForced) {
    PlainTabs tabs;
    EXPECT_TRUE(tabs.AddTab("A", 0, FALSE));
    EXPECT_FALSE(tabs.AddTab("A", 0, FALSE));
    EXPECT_FALSE(tabs.AddTab("", 0, FALSE));
    EXPECT_TRUE(tabs.AddTab("A", 0, TRUE));
    EXPECT_TRUE(tabs.AddTab("", 0, TRUE));
    EXPECT_TRUE(tabs.InsertTab(0, "B", 0, FALSE));
    EXPECT_TRUE(tabs.InsertTab(-1, "C", 0, FALSE));
    ASSERT_EQ(tabs.GetTabCount(), 5);
    EXPECT_EQ(tabs.GetTabName(0), "B");
    EXPECT_EQ(tabs.GetTabName(4), "C");
    EXPECT_EQ(tabs.FindTab("A"), 1);
    EXPECT_EQ(tabs.FindTab("Z"), -1);
    EXPECT_THROW(tabs.GetTabName(5), CInvalidArgException);
    EXPECT_THROW(tabs.RemoveTab(-1), CInvalidArgException);
    EXPECT_THROW(tabs.SetActiveTab(9), CInvalidArgException);
    tabs.SetActiveTab(2);
    EXPECT_TRUE(tabs.IsTabActive(2));
    EXPECT_FALSE(tabs.IsTabActive(1));
    tabs.RemoveTab(0);
    EXPECT_EQ(tabs.GetTabName(0), "A");
}

TEST_F(TabStrip, ClicksOnTabsMakeTheirLayersCurrent) {
    ViewHarness h(800, 600, 3);
    ASSERT_EQ(h.view->GetTabCount(), 3);
    for (int i : {2, 0, 1}) {
        const CPoint p = h.TabPoint(i);
        ASSERT_GE(p.x, 0) << "tab " << i;
        h.Click(p);
        EXPECT_EQ(h.view->GetCurrentTab(), i);
        EXPECT_EQ(h.doc.GetLayers()->GetCurrentLayerIndex(), i);
    }
    // Beside the tabs nothing changes.
    const CRect area = h.view->GetTabAreaRect();
    h.Click(CPoint(area.right - 3, area.top + 5));
    EXPECT_EQ(h.view->GetCurrentTab(), 1);
}

TEST_F(TabStrip, SelectingAShownLayerDoesNotRepaintAHiddenOneDoes) {
    ViewHarness h(800, 600, 3);
    h.Repaint();
    ASSERT_EQ(GetOptionRecord().m_layer, 12);
    int paints = h.view->GetPaintCount();
    h.Click(h.TabPoint(1));
    ASSERT_EQ(h.view->GetCurrentTab(), 1);
    EXPECT_FALSE(h.view->GetUpdateRect(nullptr));
    EXPECT_EQ(h.view->GetPaintCount(), paints);
    h.doc.GetLayers()->GetLayer(2)->SetVisible(FALSE);
    h.Click(h.TabPoint(2));
    ASSERT_EQ(h.view->GetCurrentTab(), 2);
    h.view->UpdateWindow();
    EXPECT_EQ(h.view->GetPaintCount(), paints + 1);
    // In the grey mode every switch repaints.
    GetOptionRecord().m_layer = 2;
    h.Click(h.TabPoint(0));
    h.view->UpdateWindow();
    EXPECT_EQ(h.view->GetPaintCount(), paints + 2);
}

TEST_F(TabStrip, RightClickShowsTheTabMenuOrTheShortMenu) {
    DialogRunner runner;
    ViewHarness h(800, 600, 2);
    const CPoint tab = h.TabPoint(1);
    h.MouseAt(QEvent::MouseButtonPress, tab, Qt::RightButton, Qt::RightButton);
    h.MouseAt(QEvent::MouseButtonRelease, tab, Qt::RightButton, Qt::NoButton);
    ASSERT_EQ(runner.Popups().size(), 1u);
    EXPECT_EQ(h.view->GetCurrentTab(), 1);
    const CRect area = h.view->GetTabAreaRect();
    h.MouseAt(QEvent::MouseButtonPress, CPoint(area.right - 4, area.top + 4), Qt::RightButton,
              Qt::RightButton);
    ASSERT_EQ(runner.Popups().size(), 2u);
    EXPECT_EQ(h.view->GetCurrentTab(), 1);
    // The short menu offers appending a layer, the tab menu deleting one.
    auto has = [](const DialogRunner::PopupRecord& r, UINT id) {
        for (const auto& item : r.items)
            if (item.id == id) return true;
        return false;
    };
    EXPECT_TRUE(has(runner.Popups()[0], 32825));
    EXPECT_FALSE(has(runner.Popups()[1], 32825));
    EXPECT_TRUE(has(runner.Popups()[1], 32830));
}

TEST_F(TabStrip, TheSplitterResizesTheHorizontalBarWithinLimits) {
    ViewHarness h(800, 600);
    CRect client;
    h.view->GetClientRect(&client);
    const int arrows = 2 * GetSystemMetrics(SM_CXHSCROLL);
    const int before = h.view->GetHorzBarWidth();
    CRect splitter = h.view->GetSplitterRect();
    CPoint p(splitter.CenterPoint().x, splitter.CenterPoint().y);
    h.MouseAt(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    h.MouseAt(QEvent::MouseMove, CPoint(p.x - 50, p.y), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(h.view->GetHorzBarWidth(), before + 50);
    h.MouseAt(QEvent::MouseMove, CPoint(-2000, p.y), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(h.view->GetHorzBarWidth(), client.Width() - h.view->GetSplitterWidth() - arrows);
    h.MouseAt(QEvent::MouseMove, CPoint(5000, p.y), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(h.view->GetHorzBarWidth(), arrows);
    h.MouseAt(QEvent::MouseButtonRelease, CPoint(5000, p.y), Qt::LeftButton, Qt::NoButton);
    // The bar sits right of the splitter.
    CRect bar;
    h.view->GetScrollBarCtrl(SB_HORZ)->GetWindowRect(&bar);
    CPoint barLeft(bar.left, bar.top);
    h.view->ScreenToClient(&barLeft);
    EXPECT_EQ(barLeft.x, client.right - arrows);
}

TEST_F(TabStrip, ArrowsScrollTheTabsWithinTheirCount) {
    ViewHarness h(800, 600, 3);
    CScrollBar* arrows = h.view->GetTabArrows();
    ASSERT_NE(arrows, nullptr);
    arrows->SendScroll(SB_LINELEFT);
    EXPECT_EQ(h.view->GetFirstVisibleTab(), 0);
    for (int i = 0; i < 5; ++i)
        arrows->SendScroll(SB_LINERIGHT);
    EXPECT_EQ(h.view->GetFirstVisibleTab(), 2);
    // The first painted tab is the leftmost hit.
    const CRect row = h.view->GetRowRect();
    const int x = row.left + 2 * GetSystemMetrics(SM_CXHSCROLL) + h.view->GetRowHeight() / 4 + 2;
    EXPECT_EQ(h.view->TabHitTest(x, row.top + 3), 2);
    arrows->SendScroll(SB_LINELEFT);
    EXPECT_EQ(h.view->GetFirstVisibleTab(), 1);
}

TEST_F(TabStrip, TabsArePaintedByTheirLayersState) {
    ViewHarness h(800, 600, 3);
    h.doc.GetLayers()->GetLayer(2)->SetVisible(FALSE);
    h.view->OnTabSelect(1, 0, 0, 0);
    QImage row = h.Window()->grab().toImage();
    const CRect rowRect = h.view->GetRowRect();
    auto sample = [&](int tab) {
        const CPoint p = h.TabPoint(tab);
        // Just inside the tab's left slope, below its text.
        return PixelAt(row, p.x + 6, rowRect.bottom - 3);
    };
    EXPECT_EQ(sample(1), RGB(255, 255, 255));  // current: white
    EXPECT_EQ(sample(0), RGB(0xC0, 0xC0, 0xC0));
    // The hidden layer's name is grey, the others' black.
    auto darkest = [&](int tab) {
        const CPoint p = h.TabPoint(tab);
        COLORREF darkest = RGB(255, 255, 255);
        int best = 3 * 255;
        for (int x = p.x; x < p.x + 30; ++x)
            for (int y = rowRect.top + 2; y < rowRect.bottom - 2; ++y) {
                const COLORREF c = PixelAt(row, x, y);
                const int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
                if (sum < best) best = sum, darkest = c;
            }
        return darkest;
    };
    EXPECT_EQ(darkest(0), RGB(0, 0, 0));
    EXPECT_NE(darkest(2), RGB(0, 0, 0));
}

TEST_F(TabStrip, UndoOfALayerDeletionBringsItsTabBack) {
    ViewHarness h(800, 600, 3);
    h.view->OnTabSelect(0, 0, 0, 0);
    h.view->SendCommand(32825);
    ASSERT_EQ(h.doc.GetLayers()->GetLayerCount(), 2);
    EXPECT_EQ(h.view->GetTabCount(), 2);
    // The (new) last layer is current, not the first.
    EXPECT_EQ(h.view->GetCurrentTab(), 1);
    EXPECT_EQ(h.view->GetTabName(0), "Layer2");
    h.view->SendCommand(57643);
    EXPECT_EQ(h.doc.GetLayers()->GetLayerCount(), 3);
    ASSERT_EQ(h.view->GetTabCount(), 3);
    EXPECT_EQ(h.view->GetTabName(0), "Layer1");
}
