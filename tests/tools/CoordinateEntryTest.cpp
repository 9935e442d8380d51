// Typed coordinates: Shift + right click or the command opens the coordinate-entry dialog; a
// complete entry draws at once, a partial one presses at the base and constrains the moves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "model/shapes/lines/LineShape.h"
#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"

using namespace tooltest;

namespace {

struct EntryHarness : ToolHarness {
    EntryHarness() { tool = Use(new RecordingLineTool(), ID_TOOL_LINE); }
    MLineShape* Line(int index) {
        return dynamic_cast<MLineShape*>(doc.GetLayers()->GetLayer(0)->GetAt(index));
    }
    // The drawing point a click at p lands on (the pixel's point).
    MFloatPoint Pixel(const MFloatPoint& p) { return ToDrawing(ToClient(p)); }
    RecordingLineTool* tool;
};

DialogScript Cartesian(const char* x, int xOn, const char* y, int yOn, UINT base) {
    return DialogScript()
        .Click(IDC_JUMP_CARTESIAN)
        .Click(base)
        .SetCheck(IDC_JUMP_X_CHECK, xOn)
        .SetCheck(IDC_JUMP_Y_CHECK, yOn)
        .SetText(IDC_JUMP_X, x)
        .SetText(IDC_JUMP_Y, y)
        .Ok();
}

}  // namespace

TEST(CoordinateEntry, ACompleteCartesianEntryDrawsFromTheClickInOneStep) {
    EntryHarness h;
    const MFloatPoint base = h.Pixel({3000, 3000});
    h.dialogs.Script(IDD_COORDINATE_ENTRY, Cartesian("2000", 1, "1000", 1, IDC_JUMP_OFFSET));
    h.RightClick(base, MK_SHIFT);
    EXPECT_EQ(h.UndoSteps(), 1);
    ASSERT_NE(h.Line(0), nullptr);
    EXPECT_TRUE(h.Line(0)->m_start.IsEqual(base));
    EXPECT_TRUE(h.Line(0)->m_end.IsEqual(base + MFloatPoint(2000, 1000)));
    EXPECT_FALSE(h.tool->GetPointConstraint().HasEntry());
    EXPECT_TRUE(h.NoXorResidue());
    h.view->SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(h.doc.GetLayers()->GetLayer(0)->GetSize(), 0);
}

TEST(CoordinateEntry, ACompletePolarEntryFromTheLastPoint) {
    EntryHarness h;
    h.Drag({1000, 1000}, {2000, 1500});
    const MFloatPoint last = h.Line(0)->m_end;
    h.dialogs.Script(IDD_COORDINATE_ENTRY, DialogScript()
                                               .Click(IDC_JUMP_POLAR)
                                               .Click(IDC_JUMP_RELATIVE)
                                               .SetText(IDC_JUMP_DISTANCE, "1000")
                                               .SetText(IDC_JUMP_ANGLE, "90")
                                               .Ok());
    h.RightClick({6000, 6000}, MK_SHIFT);
    EXPECT_EQ(h.UndoSteps(), 2);
    MLineShape* line = h.Line(1);
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->m_start.IsEqual(last)) << "relative: the last released point";
    EXPECT_NEAR(line->m_end.x, last.x, 1e-9);
    EXPECT_NEAR(line->m_end.y, last.y + 1000, 1e-9);
}

TEST(CoordinateEntry, OnlyXPressesAtTheBaseAndKeepsXWhileMoving) {
    EntryHarness h;
    const MFloatPoint base = h.Pixel({3000, 3000});
    h.dialogs.Script(IDD_COORDINATE_ENTRY, Cartesian("500", 1, "0", 0, IDC_JUMP_OFFSET));
    h.RightClick(base, MK_SHIFT);
    EXPECT_TRUE(h.tool->GetPointConstraint().HasEntry());
    ASSERT_EQ(h.tool->Lists().NewCount(), 1);
    auto* line = static_cast<MLineShape*>(h.tool->Lists().NewShape(0));
    EXPECT_TRUE(line->m_start.IsEqual(base));
    // A small move near the click stays in the dead zone around the click, not around (0, 0).
    const CPoint click = h.ToClient(base);
    h.MoveToClient(CPoint(click.x + 3, click.y + 3));
    EXPECT_TRUE(line->m_end.IsEqual(base));
    h.MoveTo({6000, 4200});
    EXPECT_EQ(line->m_end.x, base.x + 500);
    h.MoveTo({1000, 2000});
    EXPECT_EQ(line->m_end.x, base.x + 500);
    // The user's next click: its press finds the entry's press still down, its release completes.
    h.Click({1200, 2400});
    ASSERT_EQ(h.UndoSteps(), 1);
    EXPECT_EQ(h.Line(0)->m_end.x, base.x + 500);
    EXPECT_FALSE(h.tool->GetPointConstraint().HasEntry());
}

TEST(CoordinateEntry, FromTheCommandAStoredOffsetShowsAsRelativeAndCancelClearsTheFlags) {
    EntryHarness h;
    GetCoordinateEntry().baseMode = MCoordinateEntry::kOffset;
    bool relativeShown = false, offsetEnabled = true;
    h.dialogs.Script(IDD_COORDINATE_ENTRY, DialogScript()
                                               .Do([&](CDialog& d) {
                                                   relativeShown = d.IsDlgButtonChecked(IDC_JUMP_RELATIVE);
                                                   offsetEnabled =
                                                       d.GetDlgItem(IDC_JUMP_OFFSET)->IsWindowEnabled();
                                               })
                                               .Cancel());
    h.view->SendCommand(ID_COORDINATE_INPUT);
    EXPECT_TRUE(relativeShown);
    EXPECT_FALSE(offsetEnabled);
    EXPECT_EQ(GetCoordinateEntry().baseMode, MCoordinateEntry::kOffset) << "cancel keeps the values";

    h.dialogs.Script(IDD_COORDINATE_ENTRY, Cartesian("500", 1, "0", 0, IDC_JUMP_OFFSET));
    h.RightClick({3000, 3000}, MK_SHIFT);
    ASSERT_TRUE(h.tool->GetPointConstraint().HasEntry());
    h.dialogs.Script(IDD_COORDINATE_ENTRY, DialogScript().Cancel());
    h.RightClick({3000, 3000}, MK_SHIFT);
    EXPECT_FALSE(h.tool->GetPointConstraint().HasEntry());
}

TEST(CoordinateEntry, EditsFollowTheKindAndTheirBoxes) {
    EntryHarness h;
    std::map<int, bool> enabled;
    const auto look = [&](CDialog& d) {
        for (int id : {IDC_JUMP_X, IDC_JUMP_Y, IDC_JUMP_DISTANCE, IDC_JUMP_ANGLE, IDC_JUMP_X_CHECK,
                       IDC_JUMP_DISTANCE_CHECK})
            enabled[id] = d.GetDlgItem(id)->IsWindowEnabled();
    };
    h.dialogs.Script(
        IDD_COORDINATE_ENTRY,
        DialogScript().Click(IDC_JUMP_CARTESIAN).SetCheck(IDC_JUMP_Y_CHECK, 0).Do(look).Cancel());
    h.view->SendCommand(ID_COORDINATE_INPUT);
    EXPECT_TRUE(enabled[IDC_JUMP_X]);
    EXPECT_FALSE(enabled[IDC_JUMP_Y]) << "its box is clear";
    EXPECT_FALSE(enabled[IDC_JUMP_DISTANCE]);
    EXPECT_FALSE(enabled[IDC_JUMP_DISTANCE_CHECK]);
    h.dialogs.Script(IDD_COORDINATE_ENTRY, DialogScript().Click(IDC_JUMP_POLAR).Do(look).Cancel());
    h.view->SendCommand(ID_COORDINATE_INPUT);
    EXPECT_FALSE(enabled[IDC_JUMP_X]);
    EXPECT_FALSE(enabled[IDC_JUMP_X_CHECK]);
    EXPECT_TRUE(enabled[IDC_JUMP_DISTANCE]);
    EXPECT_TRUE(enabled[IDC_JUMP_ANGLE]);
}

TEST(CoordinateEntry, TheValuesTravelWithTheDrawing) {
    EntryHarness h;
    h.dialogs.Script(IDD_COORDINATE_ENTRY, DialogScript()
                                               .Click(IDC_JUMP_POLAR)
                                               .Click(IDC_JUMP_ABSOLUTE)
                                               .SetCheck(IDC_JUMP_ANGLE_CHECK, 0)
                                               .SetText(IDC_JUMP_DISTANCE, "1234.5")
                                               .SetText(IDC_JUMP_ANGLE, "-30")
                                               .Cancel());
    h.view->SendCommand(ID_COORDINATE_INPUT);
    EXPECT_EQ(GetCoordinateEntry().distance, 1000.0) << "cancelled: unchanged";
    h.dialogs.Script(IDD_COORDINATE_ENTRY, DialogScript()
                                               .Click(IDC_JUMP_POLAR)
                                               .Click(IDC_JUMP_ABSOLUTE)
                                               .SetCheck(IDC_JUMP_ANGLE_CHECK, 0)
                                               .SetCheck(IDC_JUMP_DISTANCE_CHECK, 0)
                                               .SetText(IDC_JUMP_DISTANCE, "1234.5")
                                               .SetText(IDC_JUMP_ANGLE, "-30")
                                               .Ok());
    h.view->SendCommand(ID_COORDINATE_INPUT);
    const MCoordinateEntry typed = GetCoordinateEntry();
    EXPECT_EQ(typed.kind, MCoordinateEntry::kPolar);
    EXPECT_EQ(typed.distance, 1234.5);
    std::ostringstream saved;
    h.doc.WriteText(saved);
    ResetToolSettings();
    const std::string text = saved.str();
    ASSERT_TRUE(h.doc.OpenNativeBytes(text, "entry.qfd"));
    const MCoordinateEntry& opened = GetCoordinateEntry();
    EXPECT_EQ(opened.baseMode, MCoordinateEntry::kAbsolute);
    EXPECT_EQ(opened.kind, MCoordinateEntry::kPolar);
    EXPECT_EQ(opened.distance, 1234.5);
    EXPECT_EQ(opened.angle, -30.0);
    EXPECT_FALSE(opened.angleChecked);
    EXPECT_FALSE(opened.distanceChecked);
}
