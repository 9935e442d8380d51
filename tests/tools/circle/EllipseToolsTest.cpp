// The ellipse tools through the view: centre and radii, two corners, a fixed size placed by one
// click at the chosen point of its box, and flat ellipses that are not committed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/shapes/curves/EllipseShape.h"
#include "tests/tools/circle/CircleFamilyHarness.h"
#include "tools/circle/EllipseTools.h"

using namespace circletest;

namespace {

using EllipseHarness = FamilyHarness<MEllipseTool>;
using ExtentHarness = FamilyHarness<MEllipseExtentTool>;

void FixSize(ExtentHarness& h, const std::string& rx, const std::string& ry, int anchor, bool keep) {
    h.Numeric(IDD_2P_ELLIPSE_INPUT, DialogScript()
                                        .SetText(IDC_ELLIPSE_RX, rx)
                                        .SetText(IDC_ELLIPSE_RY, ry)
                                        .SetCheck(IDC_ELLIPSE_ANCHOR + anchor, 1)
                                        .SetCheck(IDC_KEEP_VALUES, keep)
                                        .Ok());
}

}  // namespace

TEST(EllipseTool, CentreThenEachRadiusMakeTheEllipseInOneUndoStep) {
    EllipseHarness h(ID_TOOL_ELLIPSE);
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[楕円]:中心点（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        EXPECT_EQ(h.Prompt(), "[楕円]:よこ半径（Ctrl+右ボタンで数値入力）");
        // The second click's height plays no part.
        h.Click(At(15000, 5000));
        EXPECT_EQ(h.Prompt(), "[楕円]:たて半径（Ctrl+右ボタンで数値入力）");
        h.MoveTo(At(4000, 6000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(7000, 10000));
    });
    EXPECT_TRUE(Near(h.Saved("ELLIPSE", 4), {kBase.x, kBase.y, 15000, 10000}));
    EXPECT_TRUE(h.NoXorResidue());

    h.Click(At(0, 0));
    h.Click(At(15000, 5000));
    h.Click(At(7000, 10000), MK_SHIFT);
    EXPECT_TRUE(Near(h.Saved("ELLIPSE", 4), {kBase.x, kBase.y, 15000, 15000})) << "Shift makes a circle";
}

TEST(EllipseTool, AFixedHorizontalRadiusSavesItsClick) {
    EllipseHarness h(ID_TOOL_ELLIPSE);
    h.Numeric(IDD_ELLIPSE_INPUT,
              DialogScript().SetText(IDC_ELLIPSE_RX, "5000").SetCheck(IDC_ELLIPSE_RX_CHECK, 1).Ok());
    h.ExpectOneUndoStep([&] {
        h.Click(At(-2000, 0));
        h.Click(At(3000, 4000));
    });
    const MFloatPoint c = At(-2000, 0);
    EXPECT_TRUE(Near(h.Saved("ELLIPSE", 4), {c.x, c.y, 5000, 4000}));
    // Both fixed: one click.
    h.Numeric(IDD_ELLIPSE_INPUT, DialogScript()
                                     .SetCheck(IDC_ELLIPSE_RX_CHECK, 1)
                                     .SetText(IDC_ELLIPSE_RY, "2000")
                                     .SetCheck(IDC_ELLIPSE_RY_CHECK, 1)
                                     .Ok());
    h.ExpectOneUndoStep([&] { h.Click(At(1000, 1000)); });
    const MFloatPoint d = At(1000, 1000);
    EXPECT_TRUE(Near(h.Saved("ELLIPSE", 4), {d.x, d.y, 5000, 2000}));
}

TEST(EllipseTool, AThirdClickOnTheCentresRowCommitsNothing) {
    EllipseHarness h(ID_TOOL_ELLIPSE);
    h.Click(At(0, 0));
    h.Click(At(6000, 0));
    h.Click(At(3000, 0));
    EXPECT_EQ(h.UndoSteps(), 0) << "a flat ellipse would enter the drawing as a doubled line";
    EXPECT_EQ(h.ShapeCount(), 0);
    EXPECT_EQ(h.tool->GetStep(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(EllipseExtentTool, TwoCornersBoundTheEllipse) {
    ExtentHarness h(ID_TOOL_ELLIPSEEXTENT);
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[２点楕円]:頂点１（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        EXPECT_EQ(h.Prompt(), "[２点楕円]:頂点2（Ctrl+右ボタンで数値入力）");
        h.MoveTo(At(6000, 3000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(10000, -4000));
    });
    const MFloatPoint c = At(5000, -2000);
    EXPECT_TRUE(Near(h.Saved("ELLIPSE", 4), {c.x, c.y, 5000, 2000}));
    // Shift: the circle in the dragged rectangle, from the first corner.
    h.Click(At(0, 0));
    h.Click(At(10000, -4000), MK_SHIFT);
    const MFloatPoint d = At(2000, -2000);
    EXPECT_TRUE(Near(h.Saved("ELLIPSE", 4), {d.x, d.y, 2000, 2000}));
}

TEST(EllipseExtentTool, AFixedSizeIsPlacedByOneClickAtItsAnchor) {
    ExtentHarness h(ID_TOOL_ELLIPSEEXTENT);
    const struct {
        int anchor;
        MFloatPoint centre;
    } cases[] = {{0, At(10000, -5000)}, {8, At(-10000, 5000)}, {4, At(0, 0)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.anchor);
        FixSize(h, "10000", "5000", c.anchor, false);
        ASSERT_TRUE(h.tool->IsConstrained());
        h.ExpectOneUndoStep([&] { h.Click(At(0, 0)); });
        EXPECT_TRUE(Near(h.Saved("ELLIPSE", 4), {c.centre.x, c.centre.y, 10000, 5000}));
        EXPECT_FALSE(h.tool->IsConstrained());
        EXPECT_EQ(h.tool->GetAnchor(), c.anchor);
    }
}

TEST(EllipseExtentTool, CornersOnOneRowCommitNothing) {
    ExtentHarness h(ID_TOOL_ELLIPSEEXTENT);
    h.Click(At(0, 0));
    h.Click(At(8000, 0));
    h.Click(At(0, 3000));
    h.Click(At(0, -3000));
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_EQ(h.tool->GetStep(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}
