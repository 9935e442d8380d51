// The one path of the tools into the drawing: Commit and CommitAt, each one undo step.
#include "model/shapes/containers/PackShape.h"
#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"

using namespace tooltest;

namespace {

std::vector<MCadShape*> Shapes(MTessarayDoc& doc, int layer) {
    std::vector<MCadShape*> shapes;
    const MLayer* l = doc.GetLayers()->GetLayer(layer);
    for (int i = 0; i < l->GetSize(); ++i)
        shapes.push_back(l->GetAt(i));
    return shapes;
}

MLineShape* Line(double x0, double y0, double x1, double y1) {
    return new MLineShape(MFloatPoint(x0, y0), MFloatPoint(x1, y1));
}

// The shapes of the drawing as lines "x0,y0-x1,y1" per layer, in order.
std::vector<std::string> Lines(MTessarayDoc& doc, int layer) {
    std::vector<std::string> out;
    for (MCadShape* s : Shapes(doc, layer)) {
        auto* line = dynamic_cast<MLineShape*>(s);
        out.push_back(line ? std::to_string(static_cast<int>(line->m_start.x)) + "-" +
                                 std::to_string(static_cast<int>(line->m_end.x))
                           : "?");
    }
    return out;
}

class Commit : public ::testing::Test {
protected:
    Commit() : h(800, 600, 2) {
        tool = h.Choose(ID_TOOL_LINE);
        for (int i = 0; i < 3; ++i)
            h.AddLine(1000 * i, 0, 1000 * i + 500, 0, 1);
        h.Repaint();
    }
    MTessarayView* View() { return h.view.get(); }
    // Picks every shape of the layer.
    void PickLayer(int layer) {
        for (MCadShape* s : Shapes(h.doc, layer))
            tool->Lists().AddPick(s, s->GetCenter(), layer);
    }
    ToolHarness h;
    MDrawTool* tool;
};

}  // namespace

TEST_F(Commit, AReplacementTakesItsOriginalsIndexAndLayer) {
    PickLayer(1);
    MCadShape* middle = Shapes(h.doc, 1)[1];
    h.ExpectOneUndoStep([&] {
        EXPECT_EQ(tool->ReplaceEach(
                      View(),
                      [&](MTessarayView*, MCadShape* s) -> MCadShape* {
                          return s == middle ? Line(7000, 0, 7500, 0) : nullptr;
                      },
                      FALSE),
                  1);
        // The replaced shape is no pick any more; the others still are.
        EXPECT_EQ(tool->Lists().PickCount(), 2);
        EXPECT_EQ(tool->Lists().Picks().Find(middle), -1);
    });
    EXPECT_EQ(Lines(h.doc, 1), (std::vector<std::string>{"0-500", "7000-7500", "2000-2500"}));
    EXPECT_TRUE(Shapes(h.doc, 0).empty());
}

TEST_F(Commit, AnInvalidPairedCopyTakesItsOriginalOut) {
    MCadShape* first = Shapes(h.doc, 1)[0];
    tool->Lists().AddNewExpanded(Line(5, 5, 5, 5), 1);  // a point: not a valid line
    tool->Lists().AddEdited(first, 1);
    h.ExpectOneUndoStep([&] { EXPECT_EQ(tool->Commit(View(), FALSE, FALSE), 0); });
    EXPECT_EQ(Lines(h.doc, 1), (std::vector<std::string>{"1000-1500", "2000-2500"}));
}

TEST_F(Commit, WithoutReplacingTheOriginalsGoAndTheNewShapesAreAppended) {
    const std::vector<MCadShape*> before = Shapes(h.doc, 1);
    tool->Lists().AddNewExpanded(Line(8000, 0, 8500, 0), 1);
    tool->Lists().AddEdited(before[0], 1);
    h.ExpectOneUndoStep([&] { tool->Commit(View(), TRUE, FALSE); });
    EXPECT_EQ(Lines(h.doc, 1), (std::vector<std::string>{"1000-1500", "2000-2500", "8000-8500"}));
}

TEST_F(Commit, TheAutomaticLayerTakesEveryNewShapeLeftOver) {
    tool->SetAutoLayerName(h.doc.GetLayers()->GetLayer(0)->m_name);
    h.doc.GetLayers()->SetCurrentLayer(1);
    tool->Lists().AddNewExpanded(Line(8000, 0, 8500, 0), -1);
    tool->Lists().AddNewExpanded(Line(9000, 0, 9500, 0), 1);
    h.ExpectOneUndoStep([&] { EXPECT_EQ(tool->Commit(View(), FALSE, FALSE), 2); });
    EXPECT_EQ(Lines(h.doc, 0), (std::vector<std::string>{"8000-8500", "9000-9500"}));
    EXPECT_EQ(Lines(h.doc, 1).back(), "2000-2500");
    // A name no layer has: every shape to its own layer, -1 to the current one.
    tool->SetAutoLayerName("なし");
    tool->Lists().AddNewExpanded(Line(100, 0, 150, 0), -1);
    tool->Commit(View(), FALSE, FALSE);
    EXPECT_EQ(Lines(h.doc, 1).back(), "100-150");
    EXPECT_EQ(Lines(h.doc, 0).size(), 2u);
}

TEST_F(Commit, APackGivesItsMembersNotItself) {
    MPackShape pack;
    pack.AddShape(Line(8000, 0, 8500, 0));
    pack.AddShape(Line(9000, 0, 9500, 0));
    tool->Lists().AddNewExpanded(&pack, 0);
    ASSERT_EQ(tool->Lists().NewCount(), 2);
    pack.GetMembers().RemoveAll();  // the members belong to the tool now
    tool->Commit(View(), FALSE, FALSE);
    EXPECT_EQ(Lines(h.doc, 0), (std::vector<std::string>{"8000-8500", "9000-9500"}));
}

TEST_F(Commit, ACommitOfInvalidShapesOnlyAddsNoStepAndKeepsRedo) {
    h.doc.BeginUndo();
    h.doc.AddShape(Line(0, 100, 50, 100), 0);
    h.doc.EndUndo();
    h.view->SendCommand(ID_EDIT_UNDO);
    const std::string before = h.NativeText();
    const int undo = h.UndoSteps();
    tool->Lists().AddNewExpanded(Line(1, 1, 1, 1), -1);
    tool->Lists().AddNewExpanded(Line(2, 2, 2, 2), -1);
    EXPECT_EQ(tool->Commit(View(), FALSE, FALSE), 0);
    EXPECT_EQ(h.NativeText(), before);
    EXPECT_EQ(h.UndoSteps(), undo);
    EXPECT_TRUE(h.doc.CanRedo());
    // Nothing at all to commit: nothing happens either.
    EXPECT_EQ(tool->Commit(View(), FALSE, FALSE), 0);
    EXPECT_EQ(h.UndoSteps(), undo);
}

TEST_F(Commit, CommitAtKeepsTheShapesOrderAtAPositionAndAtTheEnd) {
    for (int x : {8000, 9000})
        tool->Lists().AddNewExpanded(Line(x, 0, x + 500, 0), 1);
    h.ExpectOneUndoStep([&] { EXPECT_EQ(tool->CommitAt(View(), 0, FALSE), 2); });
    EXPECT_EQ(Lines(h.doc, 1),
              (std::vector<std::string>{"8000-8500", "9000-9500", "0-500", "1000-1500", "2000-2500"}));
    for (int x : {3000, 4000})
        tool->Lists().AddNewExpanded(Line(x, 0, x + 500, 0), 1);
    tool->CommitAt(View(), -1, FALSE);
    EXPECT_EQ(Lines(h.doc, 1).back(), "4000-4500");
    EXPECT_EQ(Lines(h.doc, 1)[5], "3000-3500");
}

TEST_F(Commit, SelectMakesTheCommittedShapesThePicks) {
    h.doc.GetLayers()->SetCurrentLayer(1);
    tool->Lists().AddPick(Shapes(h.doc, 1)[0], MFloatPoint(), 1);
    tool->Lists().AddNewExpanded(Line(8000, 0, 8500, 0), -1);
    tool->Lists().AddNewExpanded(Line(9000, 1000, 9500, 1000), 0);
    tool->Commit(View(), FALSE, TRUE);
    ASSERT_EQ(tool->Lists().PickCount(), 2);
    EXPECT_EQ(tool->Lists().Pick(0), Shapes(h.doc, 1).back());
    EXPECT_EQ(tool->Lists().PickLayer(0), 1) << "the layer the shape went to";
    EXPECT_EQ(tool->Lists().Pick(1), Shapes(h.doc, 0).back());
    EXPECT_TRUE(tool->Lists().PickPoint(0).IsEqual(MFloatPoint(8750, 500)));
}

TEST_F(Commit, EditsOfShapesWhoseLayerWentAddNothing) {
    auto* picker = h.Use(new PickingTool, ID_TOOL_SELECT);
    for (MCadShape* s : Shapes(h.doc, 1))
        picker->Lists().AddPick(s, s->GetCenter(), 1);
    // The layer goes (and comes back as a copy) while the tool still holds its shapes.
    h.doc.BeginUndo();
    std::unique_ptr<MLayer> copy(h.doc.GetLayers()->GetLayer(1)->Clone(&h.doc));
    h.doc.RemoveLayer(1, TRUE);
    h.doc.AddLayer(copy.release());
    h.doc.EndUndo();
    const std::string before = h.NativeText();
    const int undo = h.UndoSteps();
    h.view->SendCommand(kRecolourCommand);
    EXPECT_EQ(h.NativeText(), before) << "no copies appended beside the moved shapes";
    EXPECT_EQ(h.UndoSteps(), undo);
    for (MCadShape* s : Shapes(h.doc, 1))
        picker->Lists().AddPick(s, s->GetCenter(), 1);
    h.doc.BeginUndo();
    h.doc.RemoveLayer(1, TRUE);
    h.doc.EndUndo();
    h.view->SendCommand(kDeleteCommand);
    EXPECT_EQ(h.UndoSteps(), undo + 1) << "a delete of shapes no longer there adds no step";
}

TEST_F(Commit, MovingALayerEndsTheToolSoThatLaterEditsFindNothingToDuplicate) {
    auto* picker = h.Use(new PickingTool, ID_TOOL_SELECT);
    for (MCadShape* s : Shapes(h.doc, 1))
        picker->Lists().AddPick(s, s->GetCenter(), 1);
    h.dialogs.Script(155, DialogScript().Select(1065, 1).Select(1066, 0).Ok());
    h.view->SendCommand(32831);  // "レイヤーの移動"
    ASSERT_EQ(Lines(h.doc, 0).size(), 3u);
    EXPECT_EQ(picker->Lists().PickCount(), 0);
    h.view->SendCommand(kRecolourCommand);
    h.view->SendCommand(kDeleteCommand);
    EXPECT_EQ(Lines(h.doc, 0).size(), 3u);
    EXPECT_EQ(Lines(h.doc, 1).size(), 0u);
}

TEST_F(Commit, AFailureAtTheThirdShapeLeavesTheDrawingAndTheHistoryAsTheyWere) {
    MessageBoxRecorder boxes(IDNO);
    h.doc.BeginUndo();
    h.doc.AddShape(Line(0, 100, 50, 100), 0);
    h.doc.EndUndo();
    h.view->SendCommand(ID_EDIT_UNDO);
    PickLayer(1);
    tool->Lists().AddNewExpanded(Line(0, 2000, 500, 2000), -1);
    const std::string before = h.NativeText();
    const int undo = h.UndoSteps();
    int made = 0;
    EXPECT_FALSE(tool->RunGuarded(View(), [&] {
        tool->ReplaceEach(
            View(),
            [&](MTessarayView*, MCadShape* s) -> MCadShape* {
                auto* line = static_cast<MLineShape*>(s);
                if (++made == 3) return new FailingLine(line->m_start, line->m_end);
                return Line(line->m_start.x, 9, line->m_end.x, 9);
            },
            FALSE);
    }));
    EXPECT_EQ(h.NativeText(), before);
    EXPECT_EQ(h.UndoSteps(), undo);
    EXPECT_TRUE(h.doc.CanRedo());
    EXPECT_TRUE(boxes.Saw(IDS_OUT_OF_MEMORY_ASK));
    EXPECT_EQ(tool->Lists().NewCount(), 0);
    // Every shape on screen is alive: a repaint draws them all.
    EXPECT_EQ(DifferentPixels(h.Repaint(), h.RenderReference()), 0);
}
