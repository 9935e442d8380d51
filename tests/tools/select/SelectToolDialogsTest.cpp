// The select tool's commands that ask for values: rotate, scale and move by dialog, move to
// another layer and register as part. Each OK is one undo step; Cancel and refusals change nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/parts/CadParts.h"
#include "model/shapes/containers/GroupShape.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/FrameWnd.h"
#include "platform/ui/WinApp.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/select/SelectTestSupport.h"
#include "tools/select/SelectDialogs.h"
#include "view/ViewFrame.h"

using namespace selecttest;

namespace {

MLineShape* LineOn(SelectHarness& h, int layer, int index) {
    return dynamic_cast<MLineShape*>(h.doc.GetLayers()->GetLayer(layer)->GetAt(index));
}
int CountOn(SelectHarness& h, int layer) {
    return h.doc.GetLayers()->GetLayer(layer)->GetSize();
}
// The command is one undo step (undo ends the selection, so the picks are counted before).
void OneStep(SelectHarness& h, UINT id, int picks) {
    h.ExpectOneUndoStep([&] {
        h.view->SendCommand(id);
        EXPECT_EQ(h.Picks(), picks);
    });
}
bool Enabled(CDialog& d, int id) {
    CWnd* control = d.GetDlgItem(id);
    return control && control->IsWindowEnabled();
}
std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

}  // namespace

// ----- rotate -----------------------------------------------------------------------------------

TEST(SelectToolDialogs, RotatesByTheTypedAngleAboutTheCentreAndKeepsTheAngle) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    h.dialogs.Script(IDD_ROTATE_SHAPES, DialogScript().SetText(IDC_ROTATE_SHAPES_ANGLE, "30").Ok());
    OneStep(h, ID_ROTATE_ANGLE, 1);
    const MFloatPoint c = (h.P(0, 0) + h.P(100, 0)) * 0.5;
    const double half = (h.P(100, 0).x - h.P(0, 0).x) / 2;
    const MFloatPoint end = LineOn(h, 0, 0)->m_end;
    EXPECT_NEAR(end.x, c.x + half * std::cos(M_PI / 6), 1e-6);
    EXPECT_NEAR(end.y, c.y + half * std::sin(M_PI / 6), 1e-6);
    // The next opening shows the last angle; Cancel changes nothing.
    h.Click(h.P(50, 0));
    std::string shown;
    h.dialogs.Script(IDD_ROTATE_SHAPES, DialogScript().Read(IDC_ROTATE_SHAPES_ANGLE, &shown).Cancel());
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_ROTATE_ANGLE); });
    EXPECT_EQ(shown, "30");
}

// ----- scale ------------------------------------------------------------------------------------

TEST(SelectToolDialogs, ScalesByPercentAboutTheCentre) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Line(0, 50, 100, 50);
    h.Click(h.P(50, 0));
    h.Click(h.P(50, 50), MK_SHIFT);
    h.dialogs.Script(IDD_SCALE_SHAPES, DialogScript()
                                           .Click(IDC_SCALE_BY_PERCENT)
                                           .SetText(IDC_SCALE_X_PERCENT, "200")
                                           .SetCheck(IDC_SCALE_SAME_PERCENT, 0)
                                           .SetText(IDC_SCALE_Y_PERCENT, "50")
                                           .Ok());
    OneStep(h, ID_SCALE_SHAPES, 2);
    // About the centre (50, 25): x doubled, y halved.
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, MFloatPoint(h.P(-50, 0).x, (h.P(0, 0).y + h.P(0, 25).y) / 2)));
    EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_end, MFloatPoint(h.P(150, 0).x, (h.P(0, 50).y + h.P(0, 25).y) / 2)));
}

TEST(SelectToolDialogs, RefusesFactorsAndSizesNotAboveZero) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    MessageBoxRecorder messages;
    struct Case {
        const char* what;
        DialogScript script;
    };
    const Case cases[] = {
        {"zero percent", DialogScript().Click(IDC_SCALE_BY_PERCENT).SetText(IDC_SCALE_X_PERCENT, "0").Ok()},
        {"negative vertical percent", DialogScript()
                                          .Click(IDC_SCALE_BY_PERCENT)
                                          .SetCheck(IDC_SCALE_SAME_PERCENT, 0)
                                          .SetText(IDC_SCALE_Y_PERCENT, "-50")
                                          .Ok()},
        {"negative width", DialogScript()
                               .Click(IDC_SCALE_BY_SIZE)
                               .Click(IDC_SCALE_WIDTH_ONLY)
                               .SetText(IDC_SCALE_WIDTH, "-10")
                               .Ok()},
        {"zero height", DialogScript()
                            .Click(IDC_SCALE_BY_SIZE)
                            .Click(IDC_SCALE_BOTH_SIZES)
                            .SetText(IDC_SCALE_HEIGHT, "0")
                            .Ok()},
    };
    for (const Case& c : cases) {
        const std::size_t seen = messages.Messages().size();
        h.dialogs.Script(IDD_SCALE_SHAPES, c.script);
        ExpectNoChange(h, [&] { h.view->SendCommand(ID_SCALE_SHAPES); });
        EXPECT_TRUE(h.dialogs.Dialogs().back().leftOpen) << c.what;
        ASSERT_EQ(messages.Messages().size(), seen + 1) << c.what;
        EXPECT_TRUE(messages.Saw(IDS_NOT_POSITIVE)) << c.what;
    }
}

TEST(SelectToolDialogs, ScalesToAWidthOrBothSizesAndKeepsTheMode) {
    SelectHarness h;
    h.Line(0, 0, 100, 40);
    h.Click(h.P(50, 20));
    const double width = h.view->DocToUserLength(h.P(100, 0).x - h.P(0, 0).x);
    std::string shownWidth;
    h.dialogs.Script(IDD_SCALE_SHAPES, DialogScript()
                                           .Click(IDC_SCALE_BY_SIZE)
                                           .Click(IDC_SCALE_WIDTH_ONLY)
                                           .Read(IDC_SCALE_WIDTH, &shownWidth)
                                           .SetText(IDC_SCALE_WIDTH, Number(width * 2))
                                           .Ok());
    OneStep(h, ID_SCALE_SHAPES, 1);
    EXPECT_NEAR(std::stod(shownWidth), width, 1e-6) << "the dialog shows the selection's width";
    // Width only scales both ways by the same factor about the centre (50, 20).
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(-50, -20)));
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_end, h.P(150, 60)));
    // The mode stays; both sizes give two factors.
    h.Click(h.P(50, 20));
    const double height = h.view->DocToUserLength(h.P(0, 80).y - h.P(0, 0).y);
    h.dialogs.Script(IDD_SCALE_SHAPES, DialogScript()
                                           .Do([](CDialog& d) {
                                               EXPECT_TRUE(d.IsDlgButtonChecked(IDC_SCALE_BY_SIZE));
                                               EXPECT_TRUE(d.IsDlgButtonChecked(IDC_SCALE_WIDTH_ONLY));
                                           })
                                           .Click(IDC_SCALE_BOTH_SIZES)
                                           .SetText(IDC_SCALE_WIDTH, Number(width))
                                           .SetText(IDC_SCALE_HEIGHT, Number(height / 2))
                                           .Ok());
    OneStep(h, ID_SCALE_SHAPES, 1);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(0, 0)));
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_end, h.P(100, 40)));
}

TEST(SelectToolDialogs, AZeroWidthSelectionScalesByOneToAWidth) {
    SelectHarness h;
    h.Line(50, 0, 50, 100);
    h.Click(h.P(50, 50));
    h.dialogs.Script(IDD_SCALE_SHAPES, DialogScript()
                                           .Click(IDC_SCALE_BY_SIZE)
                                           .Click(IDC_SCALE_WIDTH_ONLY)
                                           .SetText(IDC_SCALE_WIDTH, "25")
                                           .Ok());
    h.view->SendCommand(ID_SCALE_SHAPES);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, h.P(50, 0)));
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_end, h.P(50, 100)));
}

TEST(SelectToolDialogs, ScaleControlsFollowTheModeAndTheChoice) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    h.dialogs.Script(IDD_SCALE_SHAPES,
                     DialogScript()
                         .Click(IDC_SCALE_BY_PERCENT)
                         .SetCheck(IDC_SCALE_SAME_PERCENT, 1)
                         .Do([](CDialog& d) {
                             EXPECT_TRUE(Enabled(d, IDC_SCALE_X_PERCENT));
                             EXPECT_FALSE(Enabled(d, IDC_SCALE_Y_PERCENT)) << "same percent";
                             EXPECT_FALSE(Enabled(d, IDC_SCALE_WIDTH));
                             EXPECT_FALSE(Enabled(d, IDC_SCALE_WIDTH_ONLY));
                         })
                         .SetCheck(IDC_SCALE_SAME_PERCENT, 0)
                         .Do([](CDialog& d) { EXPECT_TRUE(Enabled(d, IDC_SCALE_Y_PERCENT)); })
                         .Click(IDC_SCALE_BY_SIZE)
                         .Click(IDC_SCALE_HEIGHT_ONLY)
                         .Do([](CDialog& d) {
                             EXPECT_FALSE(Enabled(d, IDC_SCALE_X_PERCENT));
                             EXPECT_FALSE(Enabled(d, IDC_SCALE_SAME_PERCENT));
                             EXPECT_TRUE(Enabled(d, IDC_SCALE_BOTH_SIZES));
                             EXPECT_FALSE(Enabled(d, IDC_SCALE_WIDTH));
                             EXPECT_TRUE(Enabled(d, IDC_SCALE_HEIGHT));
                         })
                         .Click(IDC_SCALE_BOTH_SIZES)
                         .Do([](CDialog& d) {
                             EXPECT_TRUE(Enabled(d, IDC_SCALE_WIDTH));
                             EXPECT_TRUE(Enabled(d, IDC_SCALE_HEIGHT));
                         })
                         .Cancel());
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_SCALE_SHAPES); });
    EXPECT_TRUE(h.dialogs.Opened(IDD_SCALE_SHAPES));
}

// ----- move -------------------------------------------------------------------------------------

TEST(SelectToolDialogs, MovesOrCopiesByTheTypedOffset) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    h.Click(h.P(50, 0));
    const MFloatPoint start = LineOn(h, 0, 0)->m_start;
    h.dialogs.Script(IDD_MOVE_SHAPES, DialogScript()
                                          .SetText(IDC_MOVE_SHAPES_X, "10")
                                          .SetText(IDC_MOVE_SHAPES_Y, "-5")
                                          .SetCheck(IDC_MOVE_SHAPES_COPY, 0)
                                          .Ok());
    OneStep(h, ID_MOVE_SHAPES, 1);
    const MFloatPoint d(h.view->UserToDocLength(10), h.view->UserToDocLength(-5));
    ASSERT_EQ(CountOn(h, 0), 1);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, start + d));
    // With copy the original stays (the copy is selected).
    const MLineShape* moved = LineOn(h, 0, 0);
    h.Click(h.ToDrawing(h.ToClient((moved->m_start + moved->m_end) * 0.5)));
    h.dialogs.Script(IDD_MOVE_SHAPES, DialogScript().SetCheck(IDC_MOVE_SHAPES_COPY, 1).Ok());
    OneStep(h, ID_MOVE_SHAPES, 1);
    ASSERT_EQ(CountOn(h, 0), 2);
    EXPECT_TRUE(Near(LineOn(h, 0, 0)->m_start, start + d));
    EXPECT_TRUE(Near(LineOn(h, 0, 1)->m_start, start + d + d));
}

TEST(SelectToolDialogs, NumericCommandsWantASelection) {
    SelectHarness h;
    h.Line(0, 0, 100, 0);
    for (UINT id : {ID_ROTATE_ANGLE, ID_SCALE_SHAPES, ID_MOVE_SHAPES, ID_MOVE_TO_LAYER, ID_ADD_PART}) {
        EXPECT_FALSE(h.ItemState(id).first) << id;
        ExpectNoChange(h, [&] { h.view->SendCommand(id); });
    }
    EXPECT_TRUE(h.dialogs.Dialogs().empty()) << "no dialog opens without a selection";
    h.Click(h.P(50, 0));
    for (UINT id : {ID_ROTATE_ANGLE, ID_SCALE_SHAPES, ID_MOVE_SHAPES, ID_MOVE_TO_LAYER})
        EXPECT_TRUE(h.ItemState(id).first) << id;
    EXPECT_FALSE(h.ItemState(ID_ADD_PART).first) << "a line is no group";
}

// ----- move to another layer --------------------------------------------------------------------

TEST(SelectToolDialogs, MovesToTheChosenLayerInOneStep) {
    SelectHarness h(3);
    h.view->SendCommand(ID_OTHER_LAYERS_EDIT);
    h.Line(0, 0, 100, 0, 0);
    h.Line(0, 50, 100, 50, 1);
    h.Line(0, 100, 100, 100, 2);
    h.Click(h.P(50, 0));
    h.Click(h.P(50, 50), MK_SHIFT);
    std::vector<std::string> names(3);
    h.dialogs.Script(IDD_SHAPE_LAYER_MOVE, DialogScript()
                                               .Do([&](CDialog& d) {
                                                   auto* combo = d.GetDlgItemAs<CComboBox>(IDC_SHAPE_LAYER);
                                                   ASSERT_TRUE(combo);
                                                   EXPECT_EQ(combo->GetCount(), 3) << "every layer";
                                                   EXPECT_EQ(combo->GetCurSel(),
                                                             h.doc.GetLayers()->GetCurrentLayerIndex());
                                               })
                                               .Select(IDC_SHAPE_LAYER, 2)
                                               .Ok());
    OneStep(h, ID_MOVE_TO_LAYER, 2);
    EXPECT_EQ(CountOn(h, 0), 0);
    EXPECT_EQ(CountOn(h, 1), 0);
    ASSERT_EQ(CountOn(h, 2), 3) << "appended to the chosen layer";
    EXPECT_TRUE(Near(LineOn(h, 2, 1)->m_start, h.P(0, 0)));
    EXPECT_TRUE(Near(LineOn(h, 2, 2)->m_start, h.P(0, 50)));
    EXPECT_FALSE(h.Select()->Handles().IsShown());
    // Cancel changes nothing.
    h.dialogs.Script(IDD_SHAPE_LAYER_MOVE, DialogScript().Select(IDC_SHAPE_LAYER, 0).Cancel());
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_MOVE_TO_LAYER); });
}

TEST(SelectToolDialogs, HiddenHandlesTakeNoPress) {
    SelectHarness h(2);
    h.Line(0, 0, 100, 0, 0);
    h.Click(h.P(50, 0));
    h.dialogs.Script(IDD_SHAPE_LAYER_MOVE, DialogScript().Select(IDC_SHAPE_LAYER, 1).Ok());
    h.view->SendCommand(ID_MOVE_TO_LAYER);
    ASSERT_EQ(h.Picks(), 1);
    const std::string before = h.NativeText();
    // A drag from where the end handle would be does not reshape the line.
    h.Drag(h.P(100, 0), h.P(150, 80));
    const MLineShape* line = LineOn(h, 1, 0);
    ASSERT_TRUE(line);
    EXPECT_FALSE(Near(line->m_end, h.P(150, 80))) << "the end was not dragged by a hidden handle";
}

TEST(SelectToolDialogs, ShapesMovedToAHiddenOrLockedLayerAreNoLongerSelected) {
    for (int flag : {MLayer::kVisible, MLayer::kSelectable}) {
        SelectHarness h(2);
        MLayer* target = h.doc.GetLayers()->GetLayer(1);
        target->SetFlags(target->GetFlags() & ~flag);
        h.Line(0, 0, 100, 0, 0);
        h.Click(h.P(50, 0));
        h.dialogs.Script(IDD_SHAPE_LAYER_MOVE, DialogScript().Select(IDC_SHAPE_LAYER, 1).Ok());
        h.ExpectOneUndoStep([&] { h.view->SendCommand(ID_MOVE_TO_LAYER); });
        EXPECT_EQ(CountOn(h, 1), 1) << "flag " << flag;
        EXPECT_EQ(h.Picks(), 0) << "flag " << flag;
        EXPECT_FALSE(h.Select()->Handles().IsShown());
        EXPECT_TRUE(h.NoXorResidue());
    }
}

// ----- register as part -------------------------------------------------------------------------

namespace {

class PartsFrame : public CFrameWnd, public MViewFrame {
public:
    double GetZoomPercent() override { return 100; }
    void SetZoomPercent(double) override {}
    CWnd* GetZoomEdit() override { return nullptr; }
    bool AddPartsToCurrentList(std::unique_ptr<MCadParts> part) override {
        ++offered;
        if (!accept) return false;
        parts.push_back(std::move(part));
        return true;
    }
    bool accept = true;
    int offered = 0;
    std::vector<std::unique_ptr<MCadParts>> parts;
};

}  // namespace

TEST(SelectToolDialogs, RegistersTheSelectedGroupAsAPart) {
    SelectHarness h;
    PartsFrame frame;
    frame.Create("parts");
    CWnd* main = h.app.m_pMainWnd;
    h.app.m_pMainWnd = &frame;
    h.Line(0, 0, 100, 0);
    h.Line(0, 50, 100, 50);
    h.Click(h.P(50, 0));
    h.Click(h.P(50, 50), MK_SHIFT);
    h.view->SendCommand(ID_GROUP);
    h.Click(h.P(50, 0));
    ASSERT_TRUE(h.ItemState(ID_ADD_PART).first);
    h.dialogs.Script(IDD_PARTS_NAME,
                     DialogScript()
                         .Do([](CDialog& d) { EXPECT_TRUE(d.IsDlgButtonChecked(IDC_PARTS_FIT_SCALE)); })
                         .SetText(IDC_PARTS_NAME, "扉")
                         .SetCheck(IDC_PARTS_FIT_SCALE, 0)
                         .Ok());
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_ADD_PART); });
    ASSERT_EQ(frame.parts.size(), 1u);
    const MCadParts& part = *frame.parts[0];
    EXPECT_EQ(part.m_name, "扉");
    EXPECT_EQ(part.m_keepSize, 0);
    EXPECT_EQ(part.m_registeredScale, h.view->PaperScale());
    ASSERT_TRUE(dynamic_cast<MGroupShape*>(part.GetShape()));
    EXPECT_NE(part.GetShape(), h.Pick(0)) << "the part has a copy";
    EXPECT_EQ(h.Picks(), 1) << "the selection stays";
    // A refused part is dropped (sanitizers see it deleted); Cancel offers nothing.
    frame.accept = false;
    h.dialogs.Script(IDD_PARTS_NAME, DialogScript().SetText(IDC_PARTS_NAME, "x").Ok());
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_ADD_PART); });
    EXPECT_EQ(frame.offered, 2);
    h.dialogs.Script(IDD_PARTS_NAME, DialogScript().Cancel());
    ExpectNoChange(h, [&] { h.view->SendCommand(ID_ADD_PART); });
    EXPECT_EQ(frame.offered, 2);
    h.app.m_pMainWnd = main;
}
