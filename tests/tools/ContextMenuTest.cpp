// The right-click menu of the tools, opened by a real right click through the view and read from
// the popup as it was shown.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"
#include "tools/DrawMenu.h"
#include "view/ViewFrame.h"

using namespace tooltest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// A line tool whose capabilities a test sets; counts the constraint commands it receives.
class CapableTool : public RecordingLineTool {
public:
    BOOL CanDecide() override { return decide; }
    BOOL CanCancel() override { return cancel; }
    unsigned GetConstraintModes() override {
        return (angle ? kModeParallel | kModeAngle : 0u) | (perpendicular ? kModePerpendicular : 0u) |
               (tangent ? kModeTangent : 0u) | (touch ? kModeTouch : 0u);
    }
    BOOL IsConstrained() override { return constrained; }
    void OnConstraintMode(MTessarayView*, MConstraintMode mode) override {
        if (mode == kModeParallel) ++parallels;
    }
    void OnDecide(MTessarayView*) override { ++decisions; }
    void ReleaseConstraint() override {
        ++releases;
        RecordingLineTool::ReleaseConstraint();
    }

    BOOL decide = FALSE, cancel = FALSE, angle = FALSE, perpendicular = FALSE, tangent = FALSE, touch = FALSE,
         constrained = FALSE;
    int parallels = 0, decisions = 0, releases = 0;
};

struct MenuHarness : ToolHarness {
    MenuHarness() {
        // The chosen command takes the frame's road to the view and its tool.
        frame.SetActiveView(view.get());
        tool = Use(new CapableTool(), ID_TOOL_LINE);
        for (int i = 0; i < kRecentToolCount; ++i)
            RecentTools()[i] = nullptr;
    }
    ~MenuHarness() { frame.SetActiveView(nullptr); }
    // The texts of the menu's own items from the top ("-" for a separator) after a right click.
    std::vector<std::string> OpenMenu() {
        RightClick({3000, 3000});
        QApplication::processEvents();
        std::vector<std::string> texts;
        if (dialogs.Popups().empty()) return texts;
        for (const DialogRunner::MenuItemState& item : dialogs.Popups().back().items)
            if (item.depth == 0) texts.push_back((item.flags & MF_SEPARATOR) ? "-" : item.text);
        return texts;
    }
    CapableTool* tool;
};

const std::vector<std::string> kStandard = {
    "この色を", "-",           "線色",         "面色", "線種",         "線幅",
    "-",        "-",           "貼り付け(&P)", "-",    "元に戻す(&U)", "やり直し(&R)",
    "-",        "数値入力...", "座標入力...",  "-",    "スナップ(&S)", "グリッド...(&G)"};

// The items above the standard part.
std::vector<std::string> Head(const std::vector<std::string>& items) {
    return std::vector<std::string>(items.begin(), items.end() - static_cast<long>(kStandard.size()));
}

}  // namespace

TEST(ContextMenu, APlainToolShowsTheStandardMenu) {
    MenuHarness h;
    EXPECT_THAT(h.OpenMenu(), ElementsAreArray(kStandard));
    const auto& items = h.dialogs.Popups().back().items;
    const auto flagsOf = [&](UINT id) {
        for (const auto& item : items)
            if (item.id == id) return item.flags;
        return ~0u;
    };
    EXPECT_TRUE(flagsOf(ID_NUMERIC_INPUT) & MF_GRAYED) << "the tool has no numeric dialog";
    EXPECT_FALSE(flagsOf(ID_COORDINATE_INPUT) & MF_GRAYED);
    EXPECT_FALSE(flagsOf(ID_COPY_COLOR_TO_LINE) & MF_GRAYED);
}

TEST(ContextMenu, DecisionAndConstraintGroupsInTheirOrder) {
    struct Case {
        std::function<void(CapableTool&)> set;
        std::vector<std::string> head;
    };
    const std::vector<Case> cases = {
        {[](CapableTool& t) {
             t.decide = t.cancel = t.angle = t.perpendicular = t.tangent = t.touch = t.constrained = TRUE;
         },
         {"決定", "取消し", "-", "平行", "垂直", "角度...", "接線", "接する", "-", "制限解除", "-"}},
        {[](CapableTool& t) { t.decide = TRUE; }, {"決定", "-"}},
        {[](CapableTool& t) { t.cancel = TRUE; }, {"取消し", "-"}},
        {[](CapableTool& t) { t.angle = TRUE; }, {"平行", "-"}},
        {[](CapableTool& t) { t.perpendicular = TRUE; }, {"垂直", "角度...", "-"}},
        {[](CapableTool& t) { t.tangent = t.touch = TRUE; }, {"接線", "接する", "-"}},
        {[](CapableTool& t) { t.constrained = TRUE; }, {"制限解除", "-"}},
        {[](CapableTool& t) { t.decide = t.angle = TRUE; }, {"決定", "-", "平行", "-"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        MenuHarness h;
        cases[i].set(*h.tool);
        EXPECT_THAT(Head(h.OpenMenu()), ElementsAreArray(cases[i].head));
    }
}

TEST(ContextMenu, RecentToolsFromTheLastEntryLeavingOutEmptyAndUnregisteredOnes) {
    MenuHarness h;
    RecordingLineTool stranger(99);
    RecentTools()[0] = h.tool;
    RecentTools()[2] = GetDrawToolArray().FindByCommand(ID_TOOL_CIRCLE);
    RecentTools()[3] = &stranger;
    const std::vector<std::string> items = h.OpenMenu();
    RecentTools()[3] = nullptr;
    ASSERT_GT(items.size(), 8u);
    EXPECT_THAT(std::vector<std::string>(items.begin() + 6, items.begin() + 10),
                ElementsAre("-", "中心円", "直線", "-"));
    for (const auto& item : h.dialogs.Popups().back().items)
        EXPECT_NE(item.id, static_cast<UINT>(ID_RECENT_TOOLS));
}

TEST(ContextMenu, TheChosenItemReachesTheCurrentTool) {
    MenuHarness h;
    h.tool->angle = TRUE;
    h.tool->decide = TRUE;
    h.dialogs.ScriptPopupMenu(ID_PARALLEL);
    h.OpenMenu();
    EXPECT_EQ(h.tool->parallels, 1);
    h.dialogs.ScriptPopupMenu(ID_DECIDE);
    h.OpenMenu();
    EXPECT_EQ(h.tool->decisions, 1);
    h.dialogs.ScriptPopupMenu(ID_LINE_COLOR_FIRST + 2);
    h.OpenMenu();
    EXPECT_EQ(GetDrawAttributes().lineColor, 0u) << "the placeholder has no colour sub-menu without a frame";
    h.dialogs.ScriptPopupMenu(ID_WIDTH_THICK);
    h.OpenMenu();
    EXPECT_EQ(GetDrawAttributes().lineWidth, 0.5);
}

TEST(ContextMenu, AttachSubMenuTakesOnePopupOfTheResource) {
    MDrawMenu menu;
    EXPECT_FALSE(menu.AttachSubMenu(IDR_TOOL_MENU, 5));
    EXPECT_FALSE(menu.IsMenu());
    ASSERT_TRUE(menu.AttachSubMenu(IDR_TOOL_MENU, kToolMenuSnap));
    ASSERT_EQ(menu.GetMenuItemCount(), 2u);
    EXPECT_EQ(menu.GetMenuString(0, MF_BYPOSITION), "スナップ(&S)");
    EXPECT_NE(menu.GetSubMenu(0), nullptr);
    EXPECT_EQ(menu.GetMenuItemID(1), 32798u);
}

namespace {
// A main window that offers a colour sub-menu for the line-colour item only.
class ColourMenuFrame : public CFrameWnd, public MViewFrame {
public:
    double GetZoomPercent() override { return 100; }
    void SetZoomPercent(double) override {}
    CWnd* GetZoomEdit() override { return nullptr; }
    BOOL MakeAttributeMenu(UINT itemId, CMenu* popup) override {
        if (itemId != ID_MENU_LINE_COLOR) return FALSE;
        for (UINT k = 0; k < 16; ++k)
            popup->AppendMenu(MF_STRING, ID_LINE_COLOR_FIRST + k, "colour " + std::to_string(k));
        return TRUE;
    }
};
}  // namespace

TEST(ContextMenu, TheFramesSubMenuFillsItsPlaceholderAndItsChoiceArrives) {
    MenuHarness h;
    ColourMenuFrame frame;
    frame.Create("colours");
    frame.SetActiveView(h.view.get());
    h.app.m_pMainWnd = &frame;
    h.dialogs.ScriptPopupMenu(ID_LINE_COLOR_FIRST + 2);
    const std::vector<std::string> items = h.OpenMenu();
    h.app.m_pMainWnd = &h.frame;
    frame.SetActiveView(nullptr);
    EXPECT_THAT(items, ElementsAreArray(kStandard)) << "the items keep their texts";
    const auto& shown = h.dialogs.Popups().back().items;
    int colours = 0;
    bool placeholderLeft = false;
    for (const auto& item : shown) {
        if (item.depth == 1 && item.id >= ID_LINE_COLOR_FIRST && item.id <= ID_LINE_COLOR_LAST) ++colours;
        if (item.id == ID_MENU_LINE_COLOR) placeholderLeft = true;
    }
    EXPECT_EQ(colours, 16);
    EXPECT_FALSE(placeholderLeft) << "the item became the sub-menu";
    EXPECT_EQ(GetDrawAttributes().lineColor, 0x0000FFu);
}
