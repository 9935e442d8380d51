// A colour button on a toolbar: its choices reach the frame as the button's NM_CLICK, never as the
// menu's commands (whose ids the frame's route gives to the tools' palette).
#include <gtest/gtest.h>

#include "app/bars/ToolBarControls.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/FrameWnd.h"
#include "widgets/ColorButtons.h"

namespace {

TEST(ColorButtonOnToolBar, NoColourReachesTheFrameAsTheButtonsClickOnly) {
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create("bars"));
    CToolBar bar;
    ASSERT_TRUE(bar.Create(&frame));
    const UINT ids[] = {101, 1269, ID_SEPARATOR};
    ASSERT_TRUE(bar.SetButtons(ids, 3));
    MLineColorButton button;
    ASSERT_TRUE(CreateToolBarButton(bar, 1, button, 1269, 2));
    button.SetFirstId(1000);
    int palette = 0, clicks = 0;
    frame.Commands().OnCommand(200, [&] { ++palette; });  // the tools' black line colour
    frame.Commands().OnCommandRange(1000, 1063, [&](UINT) { ++palette; });
    frame.Commands().OnNotify(NM_CLICK, 1269, [&](NMHDR* nm, LRESULT*) {
        EXPECT_EQ(nm->hwndFrom, &button);
        ++clicks;
    });
    button.SetColor(0);
    DialogRunner runner;
    runner.ScriptPopupMenu(MLineColorButton::kNoColorCommand);
    button.Click();
    EXPECT_EQ(button.GetColor(), kNoColor);
    runner.ScriptPopupMenu(1000 + 8);
    button.Click();
    EXPECT_EQ(button.GetColor(), 0x580000u);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(palette, 0);
}

}  // namespace
