// The print-area tool through the view: the frame of factor × page follows the pointer, a click
// centres the print area there and the previous tool returns; the drawing never changes.
#include <gmock/gmock.h>

#include "model/PaperInfo.h"
#include "model/shapes/lines/RectShape.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/view/PrintAreaTool.h"

using namespace tooltest;

namespace {

class PrintAreaTool : public ::testing::Test {
protected:
    PrintAreaTool() {
        h.doc.SetPaper(MPaperSizeInfo("Custom", "600mm×400mm", 600, 400), MPaperScaleInfo("1 : 1", 1.0),
                       TRUE);
        h.view->OnPaperReplayed();
        h.doc.SetModifiedFlag(FALSE);
        h.view->m_pageWidth = 200;
        h.view->m_pageHeight = 287;
        h.view->m_printFactor = 1.0;
        h.view->m_printArea = h.view->GetPrintArea();
        h.Repaint();
        h.Choose(ID_TOOL_LINE);
        tool = dynamic_cast<MPrintAreaTool*>(h.Choose(ID_TOOL_PRINTAREA));
        CRect client;
        h.view->GetClientRect(&client);
        centre = client.CenterPoint();
    }
    void TypeFactor(const char* text) {
        h.dialogs.Script(IDD_PRINTAREA_INPUT, DialogScript().SetText(IDC_PRINT_FACTOR, text).Ok().Cancel());
        h.RightClick(h.ToDrawing(centre), MK_CONTROL);
    }
    ToolHarness h;
    MPrintAreaTool* tool = nullptr;
    CPoint centre;
};

}  // namespace

TEST_F(PrintAreaTool, FactorsOutside0_01To100AreRefused) {
    ASSERT_NE(tool, nullptr);
    MessageBoxRecorder messages;
    TypeFactor("0");
    TypeFactor("150");
    EXPECT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(tool->GetFactor(), 1.0);
    TypeFactor("2");
    EXPECT_EQ(tool->GetFactor(), 2.0);
    EXPECT_EQ(messages.Messages().size(), 2u);
}

TEST_F(PrintAreaTool, TheFrameFollowsThePointerAndAClickCentresThePrintAreaThere) {
    ASSERT_EQ(h.view->PaperScale(), 1.0);
    TypeFactor("2");
    const std::string drawing = h.NativeText();
    const int steps = h.UndoSteps();
    const MFloatPoint p = h.ToDrawing(CPoint(centre.x + 30, centre.y - 20));
    h.MoveTo(p);
    MRectShape* frame = tool->GetFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_DOUBLE_EQ(frame->m_size.cx, 400);
    EXPECT_DOUBLE_EQ(frame->m_size.cy, 574);
    EXPECT_DOUBLE_EQ(frame->m_origin.x + 200, p.x);
    EXPECT_DOUBLE_EQ(frame->m_origin.y + 287, p.y);
    EXPECT_EQ(frame->GetColor(), 0x0000FFu);
    EXPECT_TRUE(h.NoXorResidue());

    const MFloatPoint q = h.ToDrawing(CPoint(centre.x - 10, centre.y + 15));
    h.Click(q);
    EXPECT_EQ(h.view->m_printFactor, 2.0);
    const MFloatPoint c = h.view->DocToPaper(q);
    EXPECT_DOUBLE_EQ(h.view->m_printCentre.x, c.x);
    EXPECT_DOUBLE_EQ(h.view->m_printCentre.y, c.y);
    const MFloatRect area = h.view->m_printArea;
    EXPECT_DOUBLE_EQ(area.right - area.left, 400);
    EXPECT_EQ(h.view->GetTool()->GetCommandId(), static_cast<UINT>(ID_TOOL_LINE))
        << "the previous tool is back";
    EXPECT_EQ(h.NativeText(), drawing);
    EXPECT_EQ(h.UndoSteps(), steps);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(PrintAreaTool, LeavingTheToolDiscardsTheFrame) {
    h.MoveTo(h.ToDrawing(CPoint(centre.x + 30, centre.y - 20)));
    ASSERT_NE(tool->GetFrame(), nullptr);
    EXPECT_TRUE(h.EndLeavesNoResidue());
    EXPECT_EQ(tool->GetFrame(), nullptr);
    EXPECT_EQ(h.UndoSteps(), 0);
}

TEST_F(PrintAreaTool, CancelTakesTheFrameAwayAndTheToolStays) {
    const std::string drawing = h.NativeText();
    h.MoveTo(h.ToDrawing(CPoint(centre.x + 40, centre.y - 25)));
    ASSERT_NE(tool->GetFrame(), nullptr);
    EXPECT_TRUE(h.ItemState(ID_CANCEL_DRAWING).first);
    const MFloatRect area = h.view->m_printArea;
    h.view->SendCommand(ID_CANCEL_DRAWING);
    h.view->UpdateWindow();
    EXPECT_EQ(tool->GetFrame(), nullptr);
    EXPECT_EQ(DifferentPixels(h.Surface(), h.RenderReference()), 0) << "no frame left on the screen";
    EXPECT_EQ(h.view->GetTool(), tool) << "cancel places nothing and does not hand back";
    EXPECT_EQ(h.view->m_printArea.left, area.left);
    EXPECT_EQ(h.view->m_printArea.top, area.top);
    EXPECT_EQ(h.NativeText(), drawing);
    EXPECT_EQ(h.UndoSteps(), 0);
    // The next move shows the frame again.
    h.MoveTo(h.ToDrawing(CPoint(centre.x - 30, centre.y + 20)));
    EXPECT_NE(tool->GetFrame(), nullptr);
    EXPECT_TRUE(h.NoXorResidue());
}
