// The crosshair and the tools' XOR figures outside the sheet, and after the view scrolls or zooms.
#include <cstdlib>
#include <functional>

#include "resources/ResourceIds.h"
#include "tests/view/ViewTestSupport.h"

using namespace viewtest;

namespace {

constexpr COLORREF kYellow = RGB(255, 255, 0);  // the blue crosshair in XOR over the white sheet

class Crosshair : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        m_previous = SetDocumentToolArray(&tools);
        line = tools.Add(ID_TOOL_LINE, "直線");
        RecentTools()[0] = line;
        GetOptionRecord().m_show = 0;  // nothing but the sheet
    }
    void TearDown() override {
        SetDocumentToolArray(m_previous);
        ClearToolSwitching();
    }

    FakeToolArray tools;
    RecordingTool* line = nullptr;

private:
    MDocumentToolArray* m_previous = nullptr;
};

// Some channel differs by a visible amount.
bool StandsOut(COLORREF pixel, COLORREF from) {
    return std::max({std::abs(GetRValue(pixel) - GetRValue(from)),
                     std::abs(GetGValue(pixel) - GetGValue(from)),
                     std::abs(GetBValue(pixel) - GetBValue(from))}) >= 48;
}

}  // namespace

// White in XOR over the classic 128 grey gave 127: no rubber band and no crosshair outside the sheet.
TEST_F(Crosshair, XorFiguresStandOutOverTheAreaOutsideTheSheet) {
    ViewHarness h(900, 450);
    const COLORREF grey = GetSysColor(COLOR_APPWORKSPACE);
    const QImage bare = h.Repaint();
    ASSERT_EQ(PixelAt(bare, 20, 150), grey) << "the left strip lies outside the sheet";
    h.Move(CPoint(20, 200));
    EXPECT_TRUE(StandsOut(PixelAt(h.Surface(), 20, 300), grey)) << "the crosshair";
}

// The crosshair used to move with a scroll, leaving the uncovered strip without it, and stay cut by a zoom.
TEST_F(Crosshair, StaysWholeAfterTheViewScrollsOrZooms) {
    const struct {
        const char* name;
        std::function<void(ViewHarness&)> act;
    } cases[] = {
        {"wheel", [](ViewHarness& h) { h.Wheel(-240); }},
        {"Ctrl+wheel zoom", [](ViewHarness& h) { h.Wheel(120, Qt::ControlModifier); }},
        {"key", [](ViewHarness& h) { h.Key(Qt::Key_Right); }},
        {"zoom command", [](ViewHarness& h) { h.view->SendCommand(ID_ZOOM_OUT); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViewHarness h(640, 480);
        h.view->ZoomAt(h.view->GetClientCentre(), 4.0, TRUE);  // the sheet fills the client area
        // Two moves: the pointer may already be at the second point.
        h.Move(CPoint(290, 190));
        h.Move(CPoint(300, 200));
        const CPoint before = h.view->GetScrollPosition();
        const double zoom = h.view->GetZoom();
        c.act(h);
        h.view->UpdateWindow();
        ASSERT_TRUE(h.view->GetScrollPosition() != before || h.view->GetZoom() != zoom) << "the view moved";

        const QImage shown = h.Surface();
        EXPECT_EQ(DifferentPixels(shown, h.Repaint()), 0) << "a moved crosshair left behind";
        std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
        const CPoint at = h.view->DocToDevice(dc.get(), line->current);
        dc.reset();
        ASSERT_TRUE(at.x > 0 && at.x < shown.width() && at.y > 0 && at.y < shown.height());
        int missing = 0;
        for (int x = 0; x < shown.width(); ++x)
            missing += x != at.x && PixelAt(shown, x, at.y) != kYellow;
        for (int y = 0; y < shown.height(); ++y)
            missing += y != at.y && PixelAt(shown, at.x, y) != kYellow;
        EXPECT_EQ(missing, 0) << "pixels of the crosshair's row and column without it";
    }
}
