// The origin tool through the view: a click and a typed offset move the origin of view and
// document alike, mark the drawing modified and survive a save.
#include <gmock/gmock.h>

#include <QLabel>
#include <QWidget>

#include "model/SnapPoint.h"
#include "model/settings/OptionRecord.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/view/OriginTool.h"

using namespace tooltest;

TEST(OriginTool, AClickThenATypedOffsetMoveViewAndDocumentOriginAndSurviveASave) {
    ToolHarness h;
    // The click lands exactly on (25, 40): the end of a line there, snapped.
    h.AddLine(25, 40, 25 + 2000, 40 + 1000);
    h.doc.SetModifiedFlag(FALSE);
    GetOptionRecord().m_snap = kSnapEndPoint;
    ASSERT_NE(dynamic_cast<MOriginTool*>(h.Choose(ID_TOOL_ORIGIN)), nullptr);
    const std::string drawing = h.NativeText();
    const int steps = h.UndoSteps();
    h.Click({25, 40});
    EXPECT_EQ(h.view->userOrigin, MFloatPoint(25, 40));
    EXPECT_EQ(h.doc.GetOrigin(), MFloatPoint(25, 40));
    EXPECT_TRUE(h.doc.IsModified()) << "closing the drawing must ask to save the new origin";
    EXPECT_TRUE(h.NoXorResidue());

    h.doc.SetModifiedFlag(FALSE);
    h.dialogs.Script(IDD_ORIGIN_INPUT,
                     DialogScript().SetText(IDC_ORIGIN_X, "10").SetText(IDC_ORIGIN_Y, "-5").Ok());
    h.RightClick({0, 0}, MK_CONTROL);
    EXPECT_EQ(h.view->userOrigin, MFloatPoint(35, 35));
    EXPECT_EQ(h.doc.GetOrigin(), MFloatPoint(35, 35)) << "the next save writes the origin shown";
    EXPECT_TRUE(h.doc.IsModified());
    EXPECT_EQ(h.UndoSteps(), steps) << "the origin stays outside undo";

    const std::string path = MakeTempDir("origin-tool") + "/origin.qfd";
    ASSERT_TRUE(h.doc.OnSaveDocument(path));
    MTessarayDoc again;
    ASSERT_TRUE(again.OnOpenDocument(path));
    EXPECT_EQ(again.GetOrigin(), MFloatPoint(35, 35));
    EXPECT_THAT(h.NativeText(), ::testing::HasSubstr("[ORIGIN]\n\t35 35\n"));
    (void)drawing;
}

TEST(OriginTool, ACancelledOffsetChangesNothing) {
    ToolHarness h;
    h.Choose(ID_TOOL_ORIGIN);
    const MFloatPoint origin = h.view->userOrigin;
    h.dialogs.Script(IDD_ORIGIN_INPUT, DialogScript().SetText(IDC_ORIGIN_X, "10").Cancel());
    h.RightClick({0, 0}, MK_CONTROL);
    EXPECT_TRUE(h.dialogs.Opened(IDD_ORIGIN_INPUT));
    EXPECT_EQ(h.view->userOrigin, origin);
    EXPECT_FALSE(h.doc.IsModified());
}

TEST(OriginTool, TheOriginStaysOutOfUndoAndLeavesTheRedoStepAlone) {
    ToolHarness h;
    GetOptionRecord().m_snap = 0;
    h.Choose(ID_TOOL_LINE);
    h.Click({3000, 3000});
    h.Click({6000, 4000});
    ASSERT_EQ(h.UndoSteps(), 1);
    const std::string withLine = h.NativeText();
    h.view->SendCommand(ID_EDIT_UNDO);
    ASSERT_EQ(h.RedoSteps(), 1);

    h.Choose(ID_TOOL_ORIGIN);
    h.Click({5000, 2000});
    const MFloatPoint clicked = h.doc.GetOrigin();
    EXPECT_EQ(h.view->userOrigin, clicked);
    h.dialogs.Script(IDD_ORIGIN_INPUT,
                     DialogScript().SetText(IDC_ORIGIN_X, "10").SetText(IDC_ORIGIN_Y, "-5").Ok());
    h.RightClick({0, 0}, MK_CONTROL);
    const MFloatPoint moved(clicked.x + 10, clicked.y - 5);
    EXPECT_EQ(h.doc.GetOrigin(), moved);
    EXPECT_EQ(h.UndoSteps(), 0);
    EXPECT_EQ(h.RedoSteps(), 1) << "a new origin is no operation that drops the redo step";

    // Redo and undo bring the line back and take it away; the origin stays.
    h.view->SendCommand(ID_EDIT_REDO);
    EXPECT_EQ(h.doc.GetOrigin(), moved);
    EXPECT_EQ(h.view->userOrigin, moved);
    h.view->SendCommand(ID_EDIT_UNDO);
    EXPECT_EQ(h.doc.GetOrigin(), moved);
    EXPECT_EQ(h.view->userOrigin, moved);
    h.view->SendCommand(ID_EDIT_REDO);
    EXPECT_NE(h.NativeText(), withLine) << "the saved drawing carries the new origin";
}

TEST(OriginTool, TheDialogAsksInTwoTexts) {
    ToolHarness h;
    h.Choose(ID_TOOL_ORIGIN);
    std::vector<std::string> texts;
    h.dialogs.Script(IDD_ORIGIN_INPUT,
                     DialogScript()
                         .Do([&](CDialog& d) {
                             for (const QLabel* label : d.GetWidget()->findChildren<QLabel*>())
                                 texts.push_back(label->text().toStdString());
                         })
                         .Cancel());
    h.RightClick({0, 0}, MK_CONTROL);
    EXPECT_THAT(texts, ::testing::IsSupersetOf({"現在の原点からの相対値", "を入力してください"}));
}
