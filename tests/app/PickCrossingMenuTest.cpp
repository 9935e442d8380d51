// "部分選択" (rubber bands pick what they cross too) reached from the 編集 menu and the select
// tool's popups, checked while the pick mode has crossing, and its prompt in the status bar.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "model/shapes/lines/LineShape.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/MessageTranslation.h"
#include "platform/ui/StatusBar.h"
#include "resources/ResourceIds.h"
#include "tests/app/AppTestSupport.h"
#include "view/TessarayView.h"

namespace {

constexpr int kEditMenu = 1;

class PickCrossingMenu : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        Frame()->GetWidget()->resize(900, 700);
        Frame()->ShowWindow(SW_SHOWNORMAL);
        QApplication::processEvents();
        View()->SendCommand(ID_TOOL_SELECT);
    }
    CWnd* View() { return app.GetView(); }
    // The item's check and grey flags after the 編集 menu's update pass.
    UINT EditMenuState() {
        CMenu* edit = Frame()->GetMenu()->GetSubMenu(kEditMenu);
        Frame()->OnInitMenuPopup(edit, kEditMenu, FALSE);
        return edit->GetMenuState(ID_PICK_CROSSING, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED);
    }
    // The right click on an empty spot, choosing the item; its flags in that popup, or ~0u when the
    // popup has no such item.
    UINT ChooseFromPopup() {
        runner.ScriptPopupMenu(ID_PICK_CROSSING);
        View()->OnRButtonDown(MK_RBUTTON, CPoint(600, 500));
        View()->OnRButtonUp(0, CPoint(600, 500));
        QApplication::processEvents();
        if (runner.Popups().empty()) return ~0u;
        for (const DialogRunner::MenuItemState& item : runner.Popups().back().items)
            if (item.id == ID_PICK_CROSSING && item.depth == 0) {
                EXPECT_EQ(item.text, "部分選択(&B)");
                return item.flags & (MF_CHECKED | MF_GRAYED);
            }
        return ~0u;
    }

    DialogRunner runner;
};

}  // namespace

TEST_F(PickCrossingMenu, TheEditMenuAndTheSelectPopupsOfferItCheckedByTheModeAndItToggles) {
    Doc().AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(10000, 5000)), -1);
    const struct {
        bool selection;
        int intercept;
    } cases[] = {{false, 1}, {false, 3}, {true, 1}, {true, 3}};
    for (const auto& c : cases) {
        if (c.selection) View()->SendCommand(ID_EDIT_SELECT_ALL);
        GetOptionRecord().m_intercept = c.intercept;
        const UINT checked = (c.intercept & 2) ? static_cast<UINT>(MF_CHECKED) : 0u;
        EXPECT_EQ(EditMenuState(), checked) << c.intercept;
        EXPECT_EQ(ChooseFromPopup(), checked) << c.selection << " " << c.intercept;
        EXPECT_EQ(GetOptionRecord().m_intercept, c.intercept ^ 2) << "chosen, it switches crossing";
    }
    // From the menu bar too.
    Frame()->SendCommand(ID_PICK_CROSSING);
    EXPECT_EQ(GetOptionRecord().m_intercept, 3);
}

TEST_F(PickCrossingMenu, HighlightingTheItemShowsItsPromptAndClosingTheMenuTheToolsOneAgain) {
    CStatusBar& status = Frame()->GetStatusBarCtrl();
    View()->SendCommand(ID_TOOL_LINE);
    const std::string toolPrompt = status.GetPaneText(0);
    ASSERT_EQ(toolPrompt.rfind("[", 0), 0u) << toolPrompt;
    QMenu* edit =
        qobject_cast<QMainWindow*>(Frame()->GetWidget())->menuBar()->actions().at(kEditMenu)->menu();
    ASSERT_NE(edit, nullptr);
    emit edit->aboutToShow();
    for (QAction* action : edit->actions())
        if (action->data().toUInt() == ID_PICK_CROSSING) action->hover();
    EXPECT_EQ(status.GetPaneText(0), "範囲で選択するとき、枠に掛かる図形も選択します");
    emit edit->aboutToHide();
    EXPECT_EQ(status.GetPaneText(0), toolPrompt);
}
