// The harness of the text, label and balloon tool tests: paper 1:50, the text toolbar showing
// "ＭＳ 明朝" at 5 mm, points about the middle of the view.
#pragma once

#include "model/PaperInfo.h"
#include "model/shapes/text/TextShape.h"
#include "tests/tools/FakeAttributeControls.h"
#include "tests/tools/ToolTestSupport.h"

namespace texttest {

struct TextHarness : tooltest::ToolHarness {
    TextHarness() {
        doc.SetPaper(MPaperSizeInfo("Custom", "600mm×400mm", 600, 400), MPaperScaleInfo("1 : 50", 0.02),
                     TRUE);
        controls.numbers[IDC_FONT_SIZE] = 5.0;
        controls.texts[IDC_FONT_NAME] = "ＭＳ 明朝";
        // The screen shows the new paper.
        Repaint();
    }
    MCadShape* Committed(int index) { return doc.GetLayers()->GetLayer(0)->GetAt(index); }
    // Points of the tests, about the middle of the view.
    MFloatPoint At(double x, double y) {
        const MFloatPoint middle = ToDrawing(CPoint(400, 300));
        return MFloatPoint(middle.x + x - 2500, middle.y + y - 2000);
    }
    // The drawing point a click at p gives: p through the screen's pixels.
    MFloatPoint OnScreen(const MFloatPoint& p) { return ToDrawing(ToClient(p)); }
    int CommittedCount() { return doc.GetLayers()->GetLayer(0)->GetSize(); }
    MTextShape* Floating() {
        MDrawTool* tool = Tool();
        return tool->Lists().NewCount() > 0 ? dynamic_cast<MTextShape*>(tool->Lists().NewShape(0)) : nullptr;
    }
    FakeControls controls;
};

}  // namespace texttest
