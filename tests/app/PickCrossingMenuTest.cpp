// "部分選択" (rubber bands pick what they cross too) in the 編集 menu and the select tool's popups.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "model/shapes/lines/LineShape.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/MessageTranslation.h"
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
    // Chooses the item from the popup of a right click on an empty spot: its flags there, ~0u if missing.
    UINT ChooseFromPopup() {
        runner.ScriptPopupMenu(ID_PICK_CROSSING);
        View()->OnRButtonDown(MK_RBUTTON, CPoint(600, 500));
        View()->OnRButtonUp(0, CPoint(600, 500));
        QApplication::processEvents();
        if (runner.Popups().empty()) return ~0u;
        for (const DialogRunner::MenuItemState& item : runner.Popups().back().items)
            if (item.id == ID_PICK_CROSSING && item.depth == 0) return item.flags & (MF_CHECKED | MF_GRAYED);
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
