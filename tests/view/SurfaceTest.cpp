// The view window's persistent surface: invalidation and painting in Windows' order, client
// contexts drawing between paints, and scrolling that moves what is drawn.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/QtView.h"
#include "platform/ui/View.h"

namespace {

// Paints a diagonal of coloured squares in logical coordinates and counts its paints.
class SquaresView : public CScrollView {
public:
    void OnDraw(CDC* dc) override {
        ++draws;
        for (int i = 0; i < 40; ++i)
            dc->FillSolidRect(i * 50, i * 50, 40, 40, RGB(200, i * 5, 0));
    }
    int draws = 0;
};

struct Window {
    SquaresView view;
    Window() {
        view.Create(nullptr, 1);
        view.GetWidget()->resize(300, 200);
        view.GetWidget()->show();
        QApplication::processEvents();
        view.SetScrollSizes(MM_TEXT, CSize(2000, 2000));
        view.Invalidate();
        view.UpdateWindow();
    }
    QImage Surface() { return ViewSurfaceImage(view).copy(); }
    QImage Reference() {
        CDC dc;
        dc.CreateImageDC(300, 200);
        view.OnEraseBkgnd(&dc);
        view.OnPrepareDC(&dc, nullptr);
        view.OnDraw(&dc);
        return GetDCImage(dc)->copy();
    }
};

bool Same(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST(ViewSurface, InvalidationWaitsForThePaint) {
    Window w;
    EXPECT_FALSE(w.view.GetUpdateRect(nullptr));
    const int draws = w.view.draws;
    const CRect part(10, 10, 60, 40);
    w.view.InvalidateRect(&part);
    CRect pending;
    ASSERT_TRUE(w.view.GetUpdateRect(&pending));
    EXPECT_EQ(pending, part);
    EXPECT_EQ(w.view.draws, draws);
    w.view.UpdateWindow();
    EXPECT_EQ(w.view.draws, draws + 1);
    EXPECT_FALSE(w.view.GetUpdateRect(nullptr));
    // Nothing invalid: UpdateWindow paints nothing.
    w.view.UpdateWindow();
    EXPECT_EQ(w.view.draws, draws + 1);
    // Far outside the client: nothing to paint, and no overflow.
    const CRect far(-2000000000, -2000000000, 2000000000, -1999999990);
    w.view.InvalidateRect(&far);
    EXPECT_FALSE(w.view.GetUpdateRect(nullptr));
}

TEST(ViewSurface, ClientContextsDrawBetweenPaintsAndPaintsRepairOnlyTheRegion) {
    Window w;
    const QImage painted = w.Surface();
    {
        std::unique_ptr<CDC> dc = w.view.GetClientDC();
        dc->FillSolidRect(100, 100, 30, 30, RGB(0, 0, 255));
    }
    QImage drawn = w.Surface();
    EXPECT_EQ(FromQRgb(drawn.pixel(110, 110)), RGB(0, 0, 255));
    // A paint of another region keeps what the client context drew.
    const CRect other(0, 0, 20, 20);
    w.view.InvalidateRect(&other);
    w.view.UpdateWindow();
    EXPECT_EQ(FromQRgb(w.Surface().pixel(110, 110)), RGB(0, 0, 255));
    // Repainting that area repairs it.
    const CRect spot(100, 100, 130, 130);
    w.view.InvalidateRect(&spot);
    w.view.UpdateWindow();
    EXPECT_TRUE(Same(w.Surface(), painted));
    // The window shows the surface, painting what is invalid first.
    w.view.Invalidate();
    EXPECT_TRUE(Same(w.view.GetWidget()->grab().toImage(), painted));
    EXPECT_FALSE(w.view.GetUpdateRect(nullptr));
}

TEST(ViewSurface, ScrollingMovesTheSurfaceAndPaintsTheUncoveredStrip) {
    Window w;
    {
        std::unique_ptr<CDC> dc = w.view.GetClientDC();
        dc->FillSolidRect(150, 120, 10, 10, RGB(0, 255, 0));
    }
    const int draws = w.view.draws;
    EXPECT_TRUE(w.view.OnScrollBy(CSize(30, 20), TRUE));
    EXPECT_EQ(w.view.GetScrollPosition(), CPoint(30, 20));
    // What was drawn moved with the drawing.
    EXPECT_EQ(FromQRgb(w.Surface().pixel(125, 105)), RGB(0, 255, 0));
    // Only the strips were invalid; painting them makes the rest agree with a fresh rendering.
    CRect pending;
    ASSERT_TRUE(w.view.GetUpdateRect(&pending));
    w.view.UpdateWindow();
    EXPECT_EQ(w.view.draws, draws + 1);
    const CRect mark(120, 100, 130, 110);
    w.view.InvalidateRect(&mark);
    w.view.UpdateWindow();
    EXPECT_TRUE(Same(w.Surface(), w.Reference()));
    // Limits: nothing to scroll past the end.
    w.view.ScrollToPosition(CPoint(5000, 5000));
    EXPECT_EQ(w.view.GetScrollPosition(), CPoint(1700, 1800));
    EXPECT_FALSE(w.view.OnScrollBy(CSize(10, 10), TRUE));
    EXPECT_TRUE(w.view.OnScroll(0x06FF, 0, TRUE));  // vertical SB_TOP
    EXPECT_EQ(w.view.GetScrollPosition(), CPoint(1700, 0));
    w.view.UpdateWindow();
    EXPECT_TRUE(Same(w.Surface(), w.Reference()));
}

TEST(ViewSurface, ResizingRepaintsTheWholeSurface) {
    Window w;
    w.view.GetWidget()->resize(320, 260);
    QApplication::processEvents();
    const QImage grabbed = w.view.GetWidget()->grab().toImage();
    EXPECT_EQ(grabbed.size(), QSize(320, 260));
    CDC dc;
    dc.CreateImageDC(320, 260);
    w.view.OnEraseBkgnd(&dc);
    w.view.OnPrepareDC(&dc, nullptr);
    w.view.OnDraw(&dc);
    EXPECT_TRUE(Same(grabbed, *GetDCImage(dc)));
}
