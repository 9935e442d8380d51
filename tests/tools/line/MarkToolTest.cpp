// The mark tool through the view: one mark per click, placed where the button is released.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/shapes/lines/MarkShape.h"
#include "tests/tools/line/FigureTestSupport.h"

using namespace figuretest;
using ::testing::HasSubstr;

TEST(MarkTool, ADraggedMarkLandsWhereTheButtonIsReleased) {
    FigureHarness h(ID_TOOL_MARK);
    EXPECT_EQ(h.Prompt(), "[マーク]:点を打つ");
    h.ExpectOneUndoStep([&] {
        h.Press(At(0, 0));
        h.MoveTo(At(1000, 0));
        EXPECT_TRUE(h.NoXorResidue());
        h.MoveTo(At(2000, 1000));
        h.Release(At(2000, 1000));
    });
    ASSERT_EQ(h.Shapes().size(), 1u);
    EXPECT_TRUE(Near(h.Last<MMarkShape>()->m_position, At(2000, 1000)));
    EXPECT_THAT(h.NativeText(), HasSubstr("MARK\n\t23000 15850 2\n"));
    EXPECT_TRUE(h.NoXorResidue());
    // Moves without the button show nothing.
    h.MoveTo(At(5000, 5000));
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
}

TEST(MarkTool, EveryClickIsAMarkOfItsOwnUndoStep) {
    FigureHarness h(ID_TOOL_MARK);
    h.ExpectOneUndoStep([&] { h.Click(At(0, 0)); });
    h.ExpectOneUndoStep([&] { h.Click(At(1000, 1000)); });
    ASSERT_EQ(h.Shapes().size(), 2u);
    h.view->SendCommand(ID_EDIT_UNDO);
    ASSERT_EQ(h.Shapes().size(), 1u);
    EXPECT_TRUE(Near(h.Last<MMarkShape>()->m_position, At(0, 0)));
}
