// The zoom tool through the view: a dragged rectangle fills the window, clicks change nothing,
// the right button zooms out about the pointer.
#include <cmath>

#include <gmock/gmock.h>

#include "tests/tools/ToolTestSupport.h"
#include "tools/view/ZoomTool.h"

using namespace tooltest;

namespace {

class ZoomTool : public ::testing::Test {
protected:
    ZoomTool() {
        tool = dynamic_cast<MZoomTool*>(h.Choose(ID_TOOL_ZOOM));
        h.view->GetClientRect(&client);
        centre = client.CenterPoint();
    }
    // The drawing rectangle the window shows.
    MFloatRect Shown() {
        std::unique_ptr<CDC> dc = h.view->GetPreparedClientDC();
        return h.view->DeviceRectToDoc(dc.get(), client);
    }
    ToolHarness h;
    MZoomTool* tool = nullptr;
    CRect client;
    CPoint centre;
};

}  // namespace

TEST_F(ZoomTool, ARectangleAQuarterWideAndASixthHighZoomsByFourAboutItsCentre) {
    ASSERT_NE(tool, nullptr);
    const MFloatRect before = Shown();
    const double zoom = h.view->GetZoom();
    // A window of 400 × 300 units would take a 100 × 50 rectangle: the same proportions.
    const double w = (before.right - before.left) / 4, hgt = (before.top - before.bottom) / 6;
    const MFloatPoint mid = h.ToDrawing(centre);
    const MFloatPoint a(mid.x - w / 2 + w / 10, mid.y + hgt / 2), b(mid.x + w / 2 + w / 10, mid.y - hgt / 2);
    h.Drag(a, b);
    EXPECT_NEAR(h.view->GetZoom() / zoom, 4.0, 0.02);
    const CPoint c = h.ToClient(MFloatPoint((a.x + b.x) / 2, (a.y + b.y) / 2));
    EXPECT_LE(std::abs(c.x - centre.x), 1);
    EXPECT_LE(std::abs(c.y - centre.y), 1);
    const MFloatRect after = Shown();
    EXPECT_NEAR((after.right - after.left) / (b.x - a.x), 1.0, 0.02) << "the width fills the window";
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_FALSE(h.doc.IsModified());
}

TEST_F(ZoomTool, AClickAndAPressReleasedInsideTheDeadZoneChangeNothing) {
    const double zoom = h.view->GetZoom();
    const MFloatRect before = Shown();
    h.PressAt(centre);
    h.ReleaseAt(centre);
    h.PressAt(centre);
    h.ReleaseAt(CPoint(centre.x + 5, centre.y + 5));
    h.PressAt(centre);
    h.MoveToClient(CPoint(centre.x + 4, centre.y - 6));
    h.ReleaseAt(CPoint(centre.x + 7, centre.y - 7));
    EXPECT_EQ(h.view->GetZoom(), zoom);
    const MFloatRect after = Shown();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(ZoomTool, TheRightButtonHalvesTheZoomWithThePointerInTheMiddle) {
    // In first, so that zooming out does not meet the sheet's edge.
    const MFloatPoint mid = h.ToDrawing(centre);
    const MFloatRect shown = Shown();
    const double w = (shown.right - shown.left) / 8, hgt = (shown.top - shown.bottom) / 8;
    h.Drag({mid.x - w, mid.y + hgt}, {mid.x + w, mid.y - hgt});
    const double zoom = h.view->GetZoom();
    const MFloatPoint p = h.ToDrawing(CPoint(centre.x + 60, centre.y - 40));
    h.dialogs.ScriptPopupMenu(0);
    h.RightClick(p);
    EXPECT_TRUE(h.dialogs.Popups().empty()) << "no context menu";
    EXPECT_NEAR(h.view->GetZoom() / zoom, 0.5, 1e-9);
    const CPoint c = h.ToClient(p);
    EXPECT_LE(std::abs(c.x - centre.x), 1);
    EXPECT_LE(std::abs(c.y - centre.y), 1);
    EXPECT_TRUE(h.NoXorResidue());
    EXPECT_EQ(h.UndoSteps(), 0);
}
