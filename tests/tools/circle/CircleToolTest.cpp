// The circle tool through the view: real clicks and moves, the fixed radius of its dialog, the touch
// command over lines and circles, and its settings line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "model/settings/OptionRecord.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/circle/CircleTool.h"

using namespace tooltest;
using ::testing::HasSubstr;

namespace {

// The drawing's origin, mid-paper: a grid point.
const MFloatPoint kBase(21000, 14850);
MFloatPoint At(double dx, double dy) {
    return MFloatPoint(kBase.x + dx, kBase.y + dy);
}

struct CircleHarness : ToolHarness {
    CircleHarness() {
        tool = dynamic_cast<MCircleTool*>(Choose(ID_TOOL_CIRCLE));
        // Points on the grid land exactly; the touch command takes the shape under the cursor.
        GetOptionRecord().m_snap = kSnapGrid | kSnapOnShape;
    }
    void TypeRadius(const std::string& text, bool keep = false) {
        dialogs.Script(IDD_CIRCLE_INPUT,
                       DialogScript().SetText(IDC_CIRCLE_RADIUS, text).SetCheck(IDC_KEEP_VALUES, keep).Ok());
        RightClick(At(0, 0), MK_CONTROL);
    }
    // The touch command over the shape at p, as the pointer brings it there.
    void TouchAt(const MFloatPoint& p) {
        MoveTo(p);
        ASSERT_TRUE(ItemState(ID_TOUCH).first);
        view->SendCommand(ID_TOUCH);
    }
    const MCircleShape* Shown() const {
        return tool->Lists().NewCount() ? dynamic_cast<const MCircleShape*>(tool->Lists().NewShape(0))
                                        : nullptr;
    }
    void ExpectShown(const MFloatPoint& centre, double radius) {
        const MCircleShape* circle = Shown();
        ASSERT_NE(circle, nullptr);
        EXPECT_NEAR(circle->m_center.x, centre.x, 1e-6);
        EXPECT_NEAR(circle->m_center.y, centre.y, 1e-6);
        EXPECT_NEAR(circle->m_radius, radius, 1e-6);
    }
    // The last circle of the drawing as saved.
    void ExpectSaved(const MFloatPoint& centre, double radius) {
        const std::string text = NativeText();
        const std::size_t at = text.rfind("CIRCLE\n\t");
        ASSERT_NE(at, std::string::npos) << "a circle was committed";
        std::istringstream values(text.substr(at + 8));
        double x = 0, y = 0, r = 0;
        values >> x >> y >> r;
        EXPECT_NEAR(x, centre.x, 1e-6);
        EXPECT_NEAR(y, centre.y, 1e-6);
        EXPECT_NEAR(r, radius, 1e-6);
    }
    MCircleTool* tool;
};

}  // namespace

TEST(CircleTool, TwoClicksDrawACircleInOneUndoStep) {
    CircleHarness h;
    ASSERT_NE(h.tool, nullptr);
    EXPECT_EQ(h.Prompt(), "[中心円]:中心点（Ctrl+右ボタンで数値入力）");
    h.ExpectOneUndoStep([&] {
        h.Click(At(0, 0));
        EXPECT_EQ(h.Prompt(), "[中心円]:半径（Ctrl+右ボタンで数値入力）");
        h.MoveTo(At(1000, 1000));
        h.ExpectShown(At(0, 0), std::hypot(1000, 1000));
        EXPECT_TRUE(h.NoXorResidue());
        h.Click(At(3000, 4000));
    });
    EXPECT_THAT(h.NativeText(), HasSubstr("CIRCLE\n\t21000 14850 5000 "));
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(CircleTool, AFixedRadiusPlacesTheCircleWithOneClickAndGoesUnlessKept) {
    CircleHarness h;
    h.TypeRadius("3000");
    ASSERT_TRUE(h.tool->IsRadiusFixed());
    EXPECT_TRUE(h.ItemState(ID_RELEASE_CONSTRAINT).first);
    h.ExpectOneUndoStep([&] { h.Click(At(1000, 1000)); });
    h.ExpectSaved(At(1000, 1000), 3000);
    EXPECT_FALSE(h.tool->IsRadiusFixed()) << "without the keep box the radius goes with the commit";

    h.TypeRadius("2000", true);
    h.ExpectOneUndoStep([&] { h.Click(At(-5000, 0)); });
    h.ExpectSaved(At(-5000, 0), 2000);
    EXPECT_TRUE(h.tool->IsRadiusFixed()) << "kept";
    h.ExpectOneUndoStep([&] { h.Click(At(5000, 0)); });
    h.ExpectSaved(At(5000, 0), 2000);

    h.view->SendCommand(ID_RELEASE_CONSTRAINT);
    EXPECT_FALSE(h.tool->IsRadiusFixed());
    h.Click(At(0, 0));
    EXPECT_EQ(h.tool->Lists().NewCount(), 1) << "two clicks again";
}

TEST(CircleTool, TheDialogRefusesARadiusNotAboveZero) {
    CircleHarness h;
    MessageBoxRecorder messages;
    h.dialogs.Script(IDD_CIRCLE_INPUT, DialogScript()
                                           .SetText(IDC_CIRCLE_RADIUS, "0")
                                           .Ok()
                                           .SetText(IDC_CIRCLE_RADIUS, "-5")
                                           .Ok()
                                           .SetText(IDC_CIRCLE_RADIUS, "nan")
                                           .Ok()
                                           .Cancel());
    h.RightClick(At(0, 0), MK_CONTROL);
    ASSERT_EQ(h.dialogs.Dialogs().size(), 1u);
    EXPECT_EQ(h.dialogs.Dialogs().back().result, IDCANCEL) << "the dialog stayed open to the end";
    ASSERT_EQ(messages.Messages().size(), 3u);
    EXPECT_EQ(messages.Messages()[0].text, "半径には0より大きい値を指定してください。");
    EXPECT_EQ(messages.Messages()[1].text, messages.Messages()[0].text);
    EXPECT_FALSE(h.tool->IsRadiusFixed());
    EXPECT_EQ(h.tool->GetRadius(), 100.0);
}

TEST(CircleTool, TouchingALineBeforeTheCentreFollowsThePointerOnItsSide) {
    CircleHarness h;
    h.AddLine(kBase.x, kBase.y, kBase.x + 10000, kBase.y);
    h.Repaint();
    h.TypeRadius("1000");
    // Chosen from the right-click menu, as the user does.
    h.frame.SetActiveView(h.view.get());
    h.MoveTo(At(3000, 0));
    h.dialogs.ScriptPopupMenu(ID_TOUCH);
    h.RightClick(At(3000, 0));
    h.frame.SetActiveView(nullptr);
    ASSERT_EQ(h.tool->GetStep(), 1);
    h.MoveTo(At(5000, 2000));
    h.ExpectShown(At(5000, 1000), 1000);
    h.MoveTo(At(5000, -2000));
    h.ExpectShown(At(5000, -1000), 1000);
    EXPECT_TRUE(h.NoXorResidue());
    h.ExpectOneUndoStep([&] { h.Click(At(5000, -2000)); });
    h.ExpectSaved(At(5000, -1000), 1000);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(CircleTool, TouchingACircleWithAFreeRadiusCentresAtThePointer) {
    CircleHarness h;
    h.AddCircle(kBase.x, kBase.y, 1000);
    h.TouchAt(At(1000, 0));
    h.MoveTo(At(3000, 0));
    h.ExpectShown(At(3000, 0), 2000);
    h.MoveTo(At(-3000, 0));
    // Beyond the centre it touches the far side.
    h.ExpectShown(At(-3000, 0), 4000);
    h.ExpectOneUndoStep([&] { h.Click(At(-3000, 0)); });
    h.ExpectSaved(At(-3000, 0), 4000);
}

TEST(CircleTool, TouchingALineAfterTheCentreCommitsAtOnce) {
    CircleHarness h;
    h.AddLine(kBase.x, kBase.y, kBase.x + 10000, kBase.y);
    h.ExpectOneUndoStep([&] {
        h.Click(At(5000, 3000));
        h.TouchAt(At(2000, 0));
    });
    h.ExpectSaved(At(5000, 3000), 3000);
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    // The touch shapes went with the reset: two clicks draw a plain circle.
    h.ExpectOneUndoStep([&] {
        h.Click(At(-8000, 5000));
        h.Click(At(-8000, 7000));
    });
    h.ExpectSaved(At(-8000, 5000), 2000);
}

TEST(CircleTool, TwoLinesWithAFixedRadiusGiveTheCircleInThePickedAngle) {
    CircleHarness h;
    h.AddLine(kBase.x, kBase.y, kBase.x + 10000, kBase.y);
    h.AddLine(kBase.x, kBase.y, kBase.x, kBase.y + 10000);
    h.TypeRadius("500");
    h.TouchAt(At(3000, 0));
    h.TouchAt(At(0, 3000));
    EXPECT_EQ(h.tool->GetStep(), 1);
    h.MoveTo(At(1000, 1000));
    h.ExpectShown(At(500, 500), 500);
    h.ExpectOneUndoStep([&] { h.Click(At(1000, 1000)); });
    h.ExpectSaved(At(500, 500), 500);
}

TEST(CircleTool, AThirdTouchCommitsTheCircleTouchingAllThree) {
    CircleHarness h;
    h.AddLine(kBase.x, kBase.y, kBase.x + 10000, kBase.y);
    h.AddLine(kBase.x, kBase.y, kBase.x, kBase.y + 10000);
    h.AddLine(kBase.x + 10000, kBase.y, kBase.x, kBase.y + 10000);
    h.Repaint();
    h.ExpectOneUndoStep([&] {
        h.TouchAt(At(3000, 0));
        h.TouchAt(At(0, 3000));
        h.TouchAt(At(5000, 5000));
    });
    const double r = (20000 - std::hypot(10000, 10000)) / 2;
    h.ExpectSaved(At(r, r), r);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(CircleTool, TouchIsOfferedOnlyOverAShapeItCanTouch) {
    CircleHarness h;
    h.AddLine(kBase.x, kBase.y, kBase.x + 10000, kBase.y);
    MLineShape* point = h.AddLine(kBase.x - 5000, kBase.y + 5000, kBase.x - 5000, kBase.y + 5000);
    h.AddCircle(kBase.x, kBase.y + 10000, 1000);
    EXPECT_EQ(h.tool->FilterTouchShape(point), nullptr) << "a line of length zero has no direction";
    h.MoveTo(At(-3000, 8000));
    EXPECT_FALSE(h.ItemState(ID_TOUCH).first) << "nothing under the pointer";

    h.TouchAt(At(3000, 0));
    h.MoveTo(At(6000, 0));
    EXPECT_FALSE(h.ItemState(ID_TOUCH).first) << "the line is touched already";
    h.MoveTo(At(0, 9000));
    EXPECT_TRUE(h.ItemState(ID_TOUCH).first) << "a circle";
}

TEST(CircleTool, TheRadiusTravelsInTheSettingsLine) {
    CircleHarness h;
    h.TypeRadius("12.5");
    std::ostringstream out;
    h.tool->SaveSettings(out);
    EXPECT_EQ(out.str(), "\t12.5\n");
    EXPECT_THAT(h.NativeText(), HasSubstr("CIRCLE\n\t\n\t12.5\n"));

    for (const char* bad : {"nan\n", "-1\n", "0\n", "inf\n", "\n"}) {
        std::istringstream in(bad);
        h.tool->LoadSettings(in);
        EXPECT_EQ(h.tool->GetRadius(), 100.0) << bad;
    }
    std::istringstream in(out.str() + "\t7\n");
    h.tool->LoadSettings(in);
    EXPECT_EQ(h.tool->GetRadius(), 12.5);
    EXPECT_EQ(in.peek(), '\t') << "the rest is not the circle's";
}

TEST(CircleTool, AnArcIsTouchedAsItsFullCircle) {
    CircleHarness h;
    auto* arc = new MCircleArcShape();
    arc->SetArc(kBase.x, kBase.y, 2000, 0.0, 1.5);
    h.doc.AppendShape(arc, 0);
    arc->Recalc(h.view.get());
    h.Repaint();
    h.TypeRadius("1000");
    h.TouchAt(At(2000 * std::cos(0.75), 2000 * std::sin(0.75)));
    // Beyond the arc's ends: the touch is on the rest of its circle, from outside.
    h.MoveTo(At(-5000, 0));
    h.ExpectShown(At(-3000, 0), 1000);
    EXPECT_TRUE(h.EndLeavesNoResidue());
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
}

TEST(CircleTool, UndoWhileAShapeIsPickedForgetsTheShape) {
    CircleHarness h;
    h.Click(At(0, 0));
    h.Click(At(2000, 0));
    ASSERT_EQ(h.UndoSteps(), 1);
    h.TouchAt(At(0, 2000));
    ASSERT_EQ(h.tool->GetStep(), 1);
    // The circle goes with the undo; the tool must not keep pointing at it.
    h.view->SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    h.ExpectOneUndoStep([&] {
        h.Click(At(5000, 0));
        h.MoveTo(At(5000, 2000));
        h.Click(At(5000, 1000));
    });
    h.ExpectSaved(At(5000, 0), 1000);
}
