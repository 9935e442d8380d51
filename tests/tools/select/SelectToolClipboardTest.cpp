// The keys and the clipboard reach the drawing through the select tool: Delete removes the
// selection, Ctrl+C and Ctrl+V copy and paste it, each change one undo step.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/MessageTranslation.h"
#include "tests/tools/select/SelectTestSupport.h"

using namespace selecttest;

namespace {

// The frame with the program's accelerators, the view active in it.
struct KeyHarness : SelectHarness {
    explicit KeyHarness(int layers = 1) : SelectHarness(layers) {
        frame.LoadAccelTable(IDR_MAINFRAME);
        frame.SetActiveView(view.get());
    }
    ~KeyHarness() { frame.SetActiveView(nullptr); }
    // The key as the frame's accelerators turn it into a command for the active view.
    void PressKey(UINT key, unsigned char modifiers = 0) {
        const UINT command = frame.FindAccelerator(key, modifiers);
        ASSERT_NE(command, 0u) << "key " << key;
        view->SendCommand(command);
    }
    int CountOn(int layer) { return doc.GetLayers()->GetLayer(layer)->GetSize(); }
};

}  // namespace

TEST(SelectToolKeys, DeleteRemovesShapesOfTwoLayersInOneStep) {
    KeyHarness h(2);
    h.view->SendCommand(ID_OTHER_LAYERS_EDIT);
    h.Line(0, 0, 100, 0, 0);
    h.Line(0, 50, 100, 50, 1);
    MLineShape* stays = h.Line(0, 100, 100, 100, 0);
    h.Click(h.P(50, 0));
    h.Click(h.P(50, 50), MK_SHIFT);
    h.ExpectOneUndoStep([&] {
        h.PressKey(kVkDelete);
        EXPECT_EQ(h.Picks(), 0);
        EXPECT_FALSE(h.Select()->Handles().IsShown());
    });
    EXPECT_EQ(h.CountOn(0), 1);
    EXPECT_EQ(h.CountOn(1), 0);
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(0)->GetAt(0), stays);
    // Nothing selected: the key does nothing.
    ExpectNoChange(h, [&] { h.PressKey(kVkDelete); });
}

TEST(SelectToolKeys, CopyLeavesTheDrawingAndPasteAddsOneStepSelected) {
    KeyHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 50, 100, 50);
    h.Click(h.P(50, 0));
    h.Click(h.P(50, 50), MK_SHIFT);
    ExpectNoChange(h, [&] { h.PressKey('C', kAccelControl); });
    EXPECT_EQ(h.Picks(), 2) << "copying keeps the selection";
    h.ExpectOneUndoStep([&] {
        h.PressKey('V', kAccelControl);
        ASSERT_EQ(h.CountOn(0), 4);
        ASSERT_EQ(h.Picks(), 2) << "the pasted shapes are the selection";
        EXPECT_EQ(h.Pick(0), h.doc.GetLayers()->GetLayer(0)->GetAt(2));
        EXPECT_EQ(h.Pick(1), h.doc.GetLayers()->GetLayer(0)->GetAt(3));
        EXPECT_TRUE(h.Select()->Handles().IsShown());
    });
    EXPECT_TRUE(h.NoXorResidue());
}
