// The crosshair and the tools' XOR figures as the user sees them: over the area outside the sheet,
// and whole after the view scrolls or zooms under a pointer that has not moved.
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
        // Nothing but the sheet, so that every pixel of the crosshair is known.
        GetOptionRecord().m_show = 0;
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

// Whether the pixel stands out from the colour: some channel differs by a visible amount.
bool StandsOut(COLORREF pixel, COLORREF from) {
    const int d =
        std::max({std::abs(GetRValue(pixel) - GetRValue(from)), std::abs(GetGValue(pixel) - GetGValue(from)),
                  std::abs(GetBValue(pixel) - GetBValue(from))});
    return d >= 48;
}

}  // namespace

// White in XOR over the classic 128 grey gave 127: a line started outside the sheet had no rubber
// band and no crosshair until it reached the paper.
TEST_F(Crosshair, XorFiguresStandOutOverTheAreaOutsideTheSheet) {
    ViewHarness h(900, 450);
    const COLORREF grey = GetSysColor(COLOR_APPWORKSPACE);
    const QImage bare = h.Repaint();
    ASSERT_EQ(PixelAt(bare, 6, 150), grey) << "the left strip lies outside the sheet";
    ASSERT_EQ(PixelAt(bare, 20, 150), grey);

    // A tracker (white) from a grey point to the pointer, and the crosshair (blue) there.
    {
        std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
        line->trackerFrom = line->current = h.view->DeviceToDoc(dc.get(), CPoint(6, 100));
    }
    line->tracker = true;
    h.Repaint();
    h.Move(CPoint(20, 200));
    const QImage shown = h.Surface();
    EXPECT_TRUE(StandsOut(PixelAt(shown, 20, 300), grey)) << "the crosshair's vertical line";
    EXPECT_TRUE(StandsOut(PixelAt(shown, 3, 200), grey)) << "its horizontal line";
    EXPECT_TRUE(StandsOut(PixelAt(shown, 6, 150), grey)) << "the tracker's far side";
    EXPECT_EQ(DifferentPixels(h.Surface(), h.Repaint()), 0);
}

// The crosshair used to keep the extent of the client area it was placed in: a scroll moved it
// with the drawing and left the uncovered strip without it, a zoom left it cut at the old size.
TEST_F(Crosshair, StaysWholeAfterTheViewScrollsOrZooms) {
    const struct {
        const char* name;
        std::function<void(ViewHarness&)> act;
    } cases[] = {
        {"wheel", [](ViewHarness& h) { h.Wheel(-240); }},
        {"wheel up", [](ViewHarness& h) { h.Wheel(360); }},
        {"Ctrl+wheel zoom", [](ViewHarness& h) { h.Wheel(120, Qt::ControlModifier); }},
        {"key", [](ViewHarness& h) { h.Key(Qt::Key_Right); }},
        {"zoom command", [](ViewHarness& h) { h.view->SendCommand(ID_ZOOM_OUT); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViewHarness h(640, 480);
        // Deep enough that the sheet fills the client area and scrolls every way.
        h.view->ZoomAt(h.view->GetClientCentre(), 4.0, TRUE);
        // Two moves: the pointer may already be at the second point (an earlier window's).
        h.Move(CPoint(290, 190));
        h.Move(CPoint(300, 200));
        const CPoint before = h.view->GetScrollPosition();
        const double zoom = h.view->GetZoom();
        c.act(h);
        h.view->UpdateWindow();
        ASSERT_TRUE(h.view->GetScrollPosition() != before || h.view->GetZoom() != zoom) << "the view moved";

        const QImage shown = h.Surface();
        EXPECT_EQ(DifferentPixels(shown, h.Repaint()), 0);
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
