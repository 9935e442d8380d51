// The select tool's commands: the attributes of the selection, typed moves, moves from the context
// point, the parts-bar drag and the select filter.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/ToolSettings.h"
#include "platform/ui/CheckListBox.h"
#include "platform/ui/WinApp.h"
#include "tests/tools/select/SelectTestSupport.h"
#include "tools/AttributeChange.h"

using namespace selecttest;

namespace {

MLineShape* LineAt(SelectHarness& h, int index) {
    return dynamic_cast<MLineShape*>(h.doc.GetLayers()->GetLayer(0)->GetAt(index));
}
int ShapeCount(SelectHarness& h) {
    return h.doc.GetLayers()->GetLayer(0)->GetSize();
}

// The dialog's values are the program's and go into the drawing file: the entry is made before,
// so that only the move changes the file.
DialogScript Move(double x, double y, int copy = 0) {
    MCoordinateEntry& entry = GetCoordinateEntry();
    entry.kind = MCoordinateEntry::kCartesian;
    entry.baseMode = MCoordinateEntry::kOffset;
    entry.x = x;
    entry.y = y;
    entry.xChecked = entry.yChecked = TRUE;
    return DialogScript()
        .Click(IDC_JUMP_CARTESIAN)
        .Click(IDC_JUMP_OFFSET)
        .SetCheck(IDC_JUMP_X_CHECK, 1)
        .SetCheck(IDC_JUMP_Y_CHECK, 1)
        .SetText(IDC_JUMP_X, std::to_string(x))
        .SetText(IDC_JUMP_Y, std::to_string(y))
        .SetCheck(IDC_JUMP_COPY, copy)
        .Ok();
}

// ----- attributes -------------------------------------------------------------------------------

TEST(SelectToolAttributes, LineColourChangesOnlyTheSelectionOrOnlyTheProgramsValue) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 50, 100, 50);
    h.Click(h.P(50, 0));
    const COLORREF before = GetDrawAttributes().lineColor;
    h.ExpectOneUndoStep([&] {
        h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kLineColor, RGB(255, 0, 0)});
    });
    EXPECT_EQ(LineAt(h, 0)->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(LineAt(h, 1)->GetColor(), RGB(0, 0, 0));
    EXPECT_EQ(GetDrawAttributes().lineColor, before) << "the program's colour stays";

    ASSERT_EQ(h.Picks(), 0);
    const int steps = h.UndoSteps();
    h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kLineColor, RGB(0, 0, 255)});
    EXPECT_EQ(GetDrawAttributes().lineColor, RGB(0, 0, 255));
    EXPECT_EQ(h.UndoSteps(), steps);
    EXPECT_EQ(LineAt(h, 0)->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(LineAt(h, 1)->GetColor(), RGB(0, 0, 0));
}

TEST(SelectToolAttributes, ChangesKeepTheSelectionWithItsHandles) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kLineWidth, 0.5});
    ASSERT_EQ(h.Picks(), 1);
    EXPECT_EQ(h.Pick(0), LineAt(h, 0));
    EXPECT_DOUBLE_EQ(LineAt(h, 0)->GetLineWidth(), 0.5);
    EXPECT_TRUE(h.Select()->Handles().IsShown());
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectToolAttributes, TextValuesMakeNoStepWithoutText) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    ExpectNoChange(h, [&] {
        h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kFontSize, 7.0});
        h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kBold, TRUE});
        h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kHorzAlign, 2});
    });
    EXPECT_EQ(h.Picks(), 1) << "the selection stays";
    EXPECT_DOUBLE_EQ(GetDrawAttributes().fontSize, 4.0) << "nor the program's value";
}

TEST(SelectToolAttributes, ArrowSizesGoOnlyToShapesWithThatArrow) {
    SelectHarness h;
    MLineShape* a = h.Line(0, 0, 100, 0);
    a->SetArrowsEx(kArrowOpen, 2.0, kArrowNone, 0.0);
    h.Line(0, 50, 100, 50);
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    h.ExpectOneUndoStep([&] {
        h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kStartArrowSize, 5.0});
    });
    EXPECT_DOUBLE_EQ(LineAt(h, 0)->GetArrows().startSize, 5.0);
    EXPECT_EQ(LineAt(h, 1)->GetArrows().startStyle, kArrowNone);
    EXPECT_DOUBLE_EQ(LineAt(h, 1)->GetArrows().startSize, 0.0);
}

TEST(SelectToolAttributes, ArrowTypeTakesTheProgramsSizeWhereThereWasNone) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    GetDrawAttributes().arrows.endSize = 3.5;
    h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kEndArrowType, kArrowFilled});
    EXPECT_EQ(LineAt(h, 0)->GetArrows().endStyle, kArrowFilled);
    EXPECT_DOUBLE_EQ(LineAt(h, 0)->GetArrows().endSize, 3.5);
}

TEST(SelectToolAttributes, GettersAnswerTheCommonOrTheMixedValue) {
    SelectHarness h;
    MLineShape* a = h.Line(0, 0, 100, 0);
    MLineShape* b = h.Line(0, 50, 100, 50);
    a->SetColor(RGB(255, 0, 0));
    b->SetColor(RGB(255, 0, 0));
    b->SetLineWidth(0.7);
    GetDrawAttributes().lineColor = RGB(0, 0, 255);
    EXPECT_EQ(h.Select()->GetAttribute(MAttribute::kLineColor).Color(), RGB(0, 0, 255))
        << "nothing selected: the program's";
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(h.Select()->GetAttribute(MAttribute::kLineColor).Color(), RGB(255, 0, 0));
    EXPECT_DOUBLE_EQ(h.Select()->GetAttribute(MAttribute::kLineWidth).Size(), -1.0);
    EXPECT_DOUBLE_EQ(h.Select()->GetAttribute(MAttribute::kFontSize).Size(), 0.0);
}

// ----- typed moves ------------------------------------------------------------------------------

TEST(SelectToolCoordinateInput, MovesARubberBandSelectionByExactlyTheOffset) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 50, 100, 50);
    h.Drag(h.P(-20, -20), h.P(150, 80));
    ASSERT_EQ(h.Picks(), 2);
    const MFloatPoint a = LineAt(h, 0)->m_start, b = LineAt(h, 1)->m_end;
    h.dialogs.Script(IDD_COORDINATE_ENTRY, Move(1000, -500));
    h.ExpectOneUndoStep([&] { h.view->SendCommand(ID_COORDINATE_INPUT); });
    ASSERT_EQ(ShapeCount(h), 2);
    EXPECT_TRUE(Near(LineAt(h, 0)->m_start, MFloatPoint(a.x + 1000, a.y - 500), 1e-9));
    EXPECT_TRUE(Near(LineAt(h, 1)->m_end, MFloatPoint(b.x + 1000, b.y - 500), 1e-9));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectToolCoordinateInput, TheCopyBoxKeepsTheOriginals) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    GetCoordinateEntry().angle = 90.0;  // one line: the dialog offers the angle across it
    h.dialogs.Script(IDD_COORDINATE_ENTRY, Move(0, 2000, 1));
    h.ExpectOneUndoStep([&] { h.view->SendCommand(ID_COORDINATE_INPUT); });
    ASSERT_EQ(ShapeCount(h), 2);
    EXPECT_TRUE(
        Near(LineAt(h, 1)->m_start, MFloatPoint(LineAt(h, 0)->m_start.x, LineAt(h, 0)->m_start.y + 2000)));
}

TEST(SelectToolCoordinateInput, CancelLeavesDrawingAndSelectionAndTheNextClickMovesNothing) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    ExpectNoChange(h, [&] {
        h.dialogs.Script(IDD_COORDINATE_ENTRY, DialogScript().Cancel());
        h.view->SendCommand(ID_COORDINATE_INPUT);
        EXPECT_EQ(h.Picks(), 1);
        EXPECT_EQ(h.Tool()->Lists().NewCount(), 0) << "no copies left to follow the mouse";
        EXPECT_TRUE(h.Select()->Handles().IsShown());
        EXPECT_TRUE(h.NoXorResidue());
        h.MoveTo(h.P(150, 100));
        h.Click(h.P(150, 100));
    });
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(SelectToolCoordinateInput, OneLinePresetsTheAngleAcrossIt) {
    SelectHarness h;
    // Direction 120 degrees: + 90 is 210, brought into 0..180 gives 30.
    h.Line(100, 0, 50, 87);
    h.view->SendCommand(ID_EDIT_SELECT_ALL);
    std::string angle;
    h.dialogs.Script(IDD_COORDINATE_ENTRY, DialogScript().Read(IDC_JUMP_ANGLE, &angle).Cancel());
    h.view->SendCommand(ID_COORDINATE_INPUT);
    EXPECT_NEAR(std::stod(angle), 30.0, 0.5);
}

// ----- the context point and the parts bar ------------------------------------------------------

TEST(SelectToolFollow, MoveHereAndCopyHereDropAtTheNextRelease) {
    for (UINT command : {ID_MOVE_HERE, ID_COPY_HERE}) {
        SelectHarness h;
        h.Line(0, 0, 100, 0);
        h.Click(h.P(50, 0));
        h.RightClick(h.P(100, 0));
        EXPECT_TRUE(h.ItemState(command).first);
        h.ExpectOneUndoStep([&] {
            h.view->SendCommand(command);
            h.MoveTo(h.P(120, 20));
            h.MoveTo(h.P(130, 30));
            h.Press(h.P(130, 30));
            h.Release(h.P(130, 30));
        });
        ASSERT_EQ(ShapeCount(h), command == ID_MOVE_HERE ? 1 : 2);
        EXPECT_TRUE(Near(LineAt(h, ShapeCount(h) - 1)->m_end, h.P(130, 30), 1e-9));
        EXPECT_TRUE(h.NoXorResidue());
    }
}

// The button went down in the parts bar: the view sees only the moves and the release.
struct PartDrag {
    SelectHarness& h;
    void Begin(CPoint at) {
        const CPoint c = h.ToClient(h.P(at.x, at.y));
        h.Select()->BeginDragShape(h.view.get(), new MLineShape(h.P(0, 0), h.P(40, 0)), c.x, c.y);
    }
    void Move(CPoint to) {
        const CPoint c = h.ToClient(h.P(to.x, to.y));
        h.view->OnClientMouseMove(0, c.x, c.y);
    }
    void Release(CPoint to) {
        const CPoint c = h.ToClient(h.P(to.x, to.y));
        h.view->OnClientLButtonUp(0, c.x, c.y);
    }
};

TEST(SelectToolFollow, APartDraggedInIsOneStepAndStaysSelected) {
    SelectHarness h;
    PartDrag drag{h};
    h.ExpectOneUndoStep([&] {
        drag.Begin(CPoint(100, 100));
        drag.Move(CPoint(120, 100));
        drag.Move(CPoint(150, 100));
        drag.Release(CPoint(150, 100));
        ASSERT_EQ(h.Picks(), 1);
        EXPECT_EQ(h.Pick(0), LineAt(h, 0));
        EXPECT_TRUE(h.NoXorResidue());
    });
    EXPECT_TRUE(Near(LineAt(h, 0)->m_start, h.P(130, 100), 1e-9));
}

TEST(SelectToolFollow, APartDroppedOutsideChangesNothing) {
    SelectHarness h;
    PartDrag drag{h};
    ExpectNoChange(h, [&] {
        drag.Begin(CPoint(100, 100));
        drag.Move(CPoint(120, 100));
        h.Select()->End(h.view.get(), FALSE);
        h.Click(h.P(200, 200));
    });
    EXPECT_TRUE(h.NoXorResidue());
}

// ----- the filter -------------------------------------------------------------------------------

void StoreFilter(std::initializer_list<int> ids, int count) {
    CWinApp* app = AfxGetApp();
    app->WriteProfileInt("SELECT\\Filter", "NumID", count);
    int i = 0;
    for (int id : ids)
        app->WriteProfileInt("SELECT\\Filter", std::to_string(i++), id);
}

TEST(SelectFilter, TheStoredKindsAreCheckedAndOkStoresTheChoice) {
    SelectHarness h;
    StoreFilter({1, 2}, 2);
    std::vector<int> checks;
    h.dialogs.Script(IDD_SELECT_FILTER, DialogScript()
                                            .Do([&](CDialog& d) {
                                                auto* list = d.GetDlgItemAs<CCheckListBox>(IDC_FILTER_LIST);
                                                for (int i = 0; i < list->GetCount(); ++i)
                                                    checks.push_back(list->GetCheck(i));
                                            })
                                            .CheckItem(IDC_FILTER_LIST, 1, 0)
                                            .Ok());
    h.view->SendCommand(ID_SELECT_FILTER_OPTIONS);
    ASSERT_GE(checks.size(), 2u);
    EXPECT_EQ(checks[0], 1) << "LINE";
    EXPECT_EQ(checks[1], 1) << "CIRCLE";
    EXPECT_EQ(std::count(checks.begin(), checks.end(), 1), 2);
    EXPECT_EQ(h.Select()->Filter().Kinds(), std::vector<unsigned int>{1});
    EXPECT_EQ(AfxGetApp()->GetProfileInt("SELECT\\Filter", "NumID", -1), 1);
}

TEST(SelectFilter, CancelKeepsTheLoadedList) {
    SelectHarness h;
    StoreFilter({2}, 1);
    h.dialogs.Script(IDD_SELECT_FILTER, DialogScript().Click(IDC_FILTER_CHECK_ALL).Cancel());
    h.view->SendCommand(ID_SELECT_FILTER_OPTIONS);
    EXPECT_EQ(h.Select()->Filter().Kinds(), std::vector<unsigned int>{2});
}

TEST(SelectFilter, ADamagedCountOpensAtOnce) {
    for (int count : {INT_MAX, -5}) {
        SelectHarness h;
        StoreFilter({1}, count);
        bool opened = false;
        h.dialogs.Script(IDD_SELECT_FILTER, DialogScript().Do([&](CDialog&) { opened = true; }).Ok());
        h.view->SendCommand(ID_SELECT_FILTER_OPTIONS);
        EXPECT_TRUE(opened);
        EXPECT_LE(h.Select()->Filter().Kinds().size(), 1u);
    }
}

TEST(SelectFilter, WithTheFilterOnOtherKindsCannotBePicked) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Circle(250, 50, 40);
    h.Select()->Filter().Kinds() = {2};
    h.view->SendCommand(ID_SELECT_FILTER);
    EXPECT_EQ(h.ItemState(ID_SELECT_FILTER), std::make_pair(true, 1));
    h.Click(h.P(50, 0));
    EXPECT_EQ(h.Picks(), 0) << "by click";
    GetOptionRecord().m_snap = kSnapEndPoint;
    h.Click(h.P(100, 0));
    EXPECT_EQ(h.Picks(), 0) << "by snap point";
    GetOptionRecord().m_snap = 0;
    h.Drag(h.P(-20, -60), h.P(320, 120));
    ASSERT_EQ(h.Picks(), 1) << "by rubber band";
    EXPECT_EQ(h.Pick(0)->GetTypeId(), 2);
    h.Click(h.P(210, 50));
    EXPECT_EQ(h.Picks(), 1);
}

}  // namespace
