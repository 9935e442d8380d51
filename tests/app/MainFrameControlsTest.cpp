// The attribute controls of the text and figure-style toolbars: their slots, widths and lists, the
// drawing attributes they drive through the current tool, the idle pass that writes values back
// (never over the user's typing, never as a new command), the attribute menus and the font
// settings of the profile.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QKeyEvent>
#include <QLineEdit>
#include <functional>

#include "document/ToolSettings.h"
#include "platform/Strings.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Idle.h"
#include "platform/ui/ScrollBar.h"
#include "resources/ResourceIds.h"
#include "tests/app/AppTestSupport.h"
#include "tools/AttributeChange.h"
#include "tools/DrawToolArray.h"
#include "view/TessarayView.h"

namespace {

// A tool that counts how often the attributes are set through it.
class CountingTool : public MDrawTool {
public:
    using MDrawTool::MDrawTool;
    void ApplyAttributeChange(MTessarayView* v, const MAttributeChange& c) override {
        ++sets, MDrawTool::ApplyAttributeChange(v, c);
    }
    int sets = 0;
};

struct Slot {
    int bar;
    int index;
    UINT id;
    int buttons;
    bool combo;
};
const Slot kSlots[] = {
    {2, 5, ID_ZOOM_COMBO, 1, true},         {15, 3, IDC_FONT_NAME, 4, true},
    {15, 5, IDC_FONT_SIZE, 1, true},        {15, 12, IDC_TEXT_COLOR, 2, false},
    {16, 2, IDC_LINE_COLOR, 2, false},      {16, 4, IDC_FACE_COLOR, 2, false},
    {16, 6, IDC_LINE_STYLE, 3, true},       {16, 7, IDC_LINE_WIDTH, 1, true},
    {16, 9, IDC_START_ARROW_TYPE, 2, true}, {16, 10, IDC_START_ARROW_SIZE, 1, true},
    {16, 12, IDC_END_ARROW_TYPE, 2, true},  {16, 13, IDC_END_ARROW_SIZE, 1, true},
};

class MainFrameControls : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        Frame()->GetWidget()->resize(1600, 800);
        Frame()->ShowWindow(SW_SHOWNORMAL);
        QApplication::processEvents();
    }
    template <class T>
    T& Control(UINT id) {
        return *dynamic_cast<T*>(Frame()->GetAttributeControl(id));
    }
    CComboBox& Combo(UINT id) { return Control<CComboBox>(id); }
    CountingTool* UseCountingTool() {
        auto* tool = new CountingTool(0);
        for (const MToolRegistration& row : GetToolRegistry())
            if (row.commandId == ID_TOOL_LINE) tool->SetCommandInfo(ID_TOOL_LINE, row.autoLayer, row.key);
        app.GetView()->SendCommand(ID_TOOL_CIRCLE);
        GetDrawToolArray().Replace(tool);
        app.GetView()->SendCommand(ID_TOOL_LINE);
        return tool;
    }
    // Types into the combo's field as the user does, without Enter.
    void Type(UINT id, const std::string& text) {
        auto* combo = qobject_cast<QComboBox*>(Combo(id).GetWidget());
        Frame()->GetWidget()->activateWindow();
        combo->lineEdit()->setFocus();
        QApplication::processEvents();
        combo->lineEdit()->setText(QString::fromStdString(text));
    }
    void PressEnter(UINT id) {
        auto* combo = qobject_cast<QComboBox*>(Combo(id).GetWidget());
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(combo->lineEdit(), &enter);
    }
};

}  // namespace

TEST_F(MainFrameControls, ControlsSitInTheirSlotsWithTheirWidthsListsAndFont) {
    // As created, before any idle pass shows the tool's values.
    app.ExitInstance();
    ASSERT_TRUE(app.CreateMainWindow());
    for (const Slot& slot : kSlots) {
        EXPECT_EQ(Frame()->GetToolBar(slot.bar).GetItemID(slot.index), slot.id);
        CWnd* control =
            slot.id == ID_ZOOM_COMBO ? &Frame()->GetZoomCombo() : Frame()->GetAttributeControl(slot.id);
        ASSERT_NE(control, nullptr) << slot.id;
        EXPECT_EQ(control->GetDlgCtrlID(), slot.id);
        const int width =
            slot.buttons * CToolBar::kButtonWidth + (slot.combo ? GetSystemMetrics(SM_CXHTHUMB) + 8 : 0);
        EXPECT_EQ(control->GetWidget()->width(), width) << slot.id;
        if (!slot.combo) continue;
        const QFont font = control->GetWidget()->font();
        EXPECT_NEAR(font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0, 14.0, 0.5)
            << slot.id;
    }
    EXPECT_EQ(Combo(IDC_FONT_SIZE).GetCount(), 14);
    EXPECT_EQ(Frame()->GetZoomCombo().GetCount(), 8);
    EXPECT_EQ(Combo(IDC_LINE_WIDTH).GetCount(), 6);
    EXPECT_EQ(Combo(IDC_LINE_WIDTH).GetCurSel(), 0);
    for (UINT id : {UINT(IDC_START_ARROW_SIZE), UINT(IDC_END_ARROW_SIZE)}) {
        EXPECT_EQ(Combo(id).GetCount(), 12);
        EXPECT_EQ(Combo(id).GetCurSel(), -1);
        EXPECT_EQ(Frame()->GetNumber(id), std::nullopt);
    }
    EXPECT_EQ(Combo(IDC_LINE_STYLE).GetCount(), 10);
    EXPECT_EQ(Combo(IDC_START_ARROW_TYPE).GetCount(), 7);
    EXPECT_GT(Combo(IDC_FONT_NAME).GetCount(), 0);
    EXPECT_EQ(GetDrawAttributes().presetWidths[2], 0.5);
}

TEST_F(MainFrameControls, TheControlsDriveTheCurrentTool) {
    DialogRunner runner;
    MDrawAttributes& a = GetDrawAttributes();
    CountingTool* tool = UseCountingTool();
    Combo(IDC_LINE_STYLE).ChooseItem(2);
    EXPECT_EQ(a.lineType, 2);
    Control<MSizeComboBox>(IDC_LINE_WIDTH).SetText("0.3");
    EXPECT_DOUBLE_EQ(a.lineWidth, 0.3);
    Combo(IDC_START_ARROW_TYPE).ChooseItem(3);
    EXPECT_EQ(a.arrows.startStyle, 3);
    Control<MSizeComboBox>(IDC_END_ARROW_SIZE).SetText("2.5");
    EXPECT_DOUBLE_EQ(a.arrows.endSize, 2.5);
    runner.ScriptPopupMenu(1000 + 2);
    Control<MLineColorButton>(IDC_LINE_COLOR).Click();
    const COLORREF chosen = Control<MLineColorButton>(IDC_LINE_COLOR).GetColor();
    EXPECT_NE(chosen, 0u);
    EXPECT_EQ(a.lineColor, chosen);
    Control<MNameComboBox>(IDC_FONT_NAME).SetText("  Noto Sans  ");
    EXPECT_EQ(a.fontName, "Noto Sans");
    EXPECT_EQ(tool->sets, 6);

    // Typed text with Enter, as the user does.
    Type(IDC_LINE_WIDTH, "0.5");
    PressEnter(IDC_LINE_WIDTH);
    EXPECT_DOUBLE_EQ(a.lineWidth, 0.5);
}

TEST_F(MainFrameControls, TheIdlePassShowsValuesButNeverOverTypingAndNeverAsACommand) {
    CountingTool* tool = UseCountingTool();
    MDrawAttributes& a = GetDrawAttributes();
    a.lineWidth = 0.7;
    a.lineType = 3;
    a.arrows.startStyle = 4;
    a.arrows.startSize = 6.0;
    a.fontName = "Sans";
    a.fontSize = 12.0;
    a.lineColor = 0x0000FF;
    const int undo = Doc().GetUndoStack().GetCount();
    AfxRunIdleNow();
    EXPECT_DOUBLE_EQ(Frame()->GetLineWidth(), 0.7);
    EXPECT_EQ(Frame()->GetIndex(IDC_LINE_STYLE), 3);
    EXPECT_EQ(Frame()->GetIndex(IDC_START_ARROW_TYPE), 4);
    EXPECT_DOUBLE_EQ(Frame()->GetStartArrowSize(), 6.0);
    EXPECT_EQ(Frame()->GetFontName(), "Sans");
    EXPECT_DOUBLE_EQ(Frame()->GetFontSize(), 12.0);
    EXPECT_EQ(Frame()->GetColor(IDC_LINE_COLOR), 0x0000FFu);
    EXPECT_EQ(tool->sets, 0) << "a value shown by the idle pass is not applied again";
    for (const Slot& slot : kSlots)
        if (slot.id != ID_ZOOM_COMBO)
            EXPECT_TRUE(Frame()->GetAttributeControl(slot.id)->GetWidget()->isEnabled()) << slot.id;
    EXPECT_EQ(Doc().GetUndoStack().GetCount(), undo);

    // The width set by command shows after the idle pass, but not while the user types there.
    Type(IDC_LINE_WIDTH, "0.3");
    app.GetView()->SendCommand(ID_WIDTH_THICK);
    for (int i = 0; i < 10; ++i)
        AfxRunIdleNow();
    auto* combo = qobject_cast<QComboBox*>(Combo(IDC_LINE_WIDTH).GetWidget());
    EXPECT_EQ(combo->lineEdit()->text(), "0.3");
    EXPECT_DOUBLE_EQ(GetDrawAttributes().lineWidth, 0.5);
    // Leaving the field commits what was typed.
    app.GetView()->GetWidget()->setFocus();
    QApplication::processEvents();
    AfxRunIdleNow();
    EXPECT_DOUBLE_EQ(GetDrawAttributes().lineWidth, 0.3);
    EXPECT_DOUBLE_EQ(Frame()->GetLineWidth(), 0.3);
    EXPECT_EQ(tool->sets, 2);
}

TEST_F(MainFrameControls, TheMenusOfferColoursAndStylesAsPictures) {
    CMenu* menu = Frame()->GetMenu();
    const auto popupOf = [&](const std::string& text) -> const CMenu* {
        std::function<const CMenu*(const CMenu&)> find = [&](const CMenu& m) -> const CMenu* {
            for (const CMenu::Item& item : m.Items()) {
                if (item.popup && item.text == text) return item.popup.get();
                if (item.popup)
                    if (const CMenu* found = find(*item.popup)) return found;
            }
            return nullptr;
        };
        return find(*menu);
    };
    const CMenu* colours = popupOf("線色(&L)");
    ASSERT_NE(colours, nullptr);
    ASSERT_EQ(colours->Items().size(), 16u);
    for (UINT i = 0; i < 16; ++i) {
        EXPECT_EQ(colours->Items()[i].id, 200 + i);
        EXPECT_TRUE(colours->Items()[i].flags & MF_BITMAP);
    }
    ASSERT_NE(popupOf("面色(&F)"), nullptr);
    EXPECT_EQ(popupOf("面色(&F)")->Items().back().id, 315u);
    const CMenu* styles = popupOf("線種(&S)");
    ASSERT_NE(styles, nullptr);
    ASSERT_EQ(styles->Items().size(), 9u);
    EXPECT_EQ(styles->Items()[8].id, 408u);

    // Choosing an item sets the attribute; the last colour is no colour.
    Frame()->SendCommand(215);
    EXPECT_EQ(GetDrawAttributes().lineColor, kNoColor);
    Frame()->SendCommand(404);
    EXPECT_EQ(GetDrawAttributes().lineType, 4);
    // The tools' context menu gets copies.
    CMenu copy;
    copy.CreatePopupMenu();
    ASSERT_TRUE(Frame()->MakeAttributeMenu(ID_MENU_LINE_STYLE, &copy));
    EXPECT_EQ(copy.Items().size(), 9u);
}

TEST_F(MainFrameControls, FontSettingsComeFromTheProfileAndAreWrittenBack) {
    struct Case {
        const char* name;
        const char* size;
        const char* wantName;
        double wantSize;
    };
    const Case cases[] = {
        {"  Noto Sans CJK JP  ", "0", "Noto Sans CJK JP", 3.0},
        {"", "-1", "ＭＳ ゴシック", 4.0},
        {"Sans", "1e9", "Sans", 4.0},
        {"Sans", "nan", "Sans", 4.0},
        {"Sans", "  8  ", "Sans", 8.0},
        {"Sans", "", "Sans", 4.0},
        {"Sans", "abc", "Sans", 3.0},
    };
    CProfile& profile = AfxGetProfile();
    for (const Case& c : cases) {
        app.ExitInstance();
        profile.WriteProfileString("FONT", "FONTNAME", c.name);
        profile.WriteProfileString("FONT", "FONTSIZE", c.size);
        ASSERT_TRUE(app.CreateMainWindow());
        EXPECT_EQ(GetDrawAttributes().fontName, c.wantName) << c.name;
        EXPECT_EQ(Frame()->GetFontName(), c.wantName);
        EXPECT_EQ(GetDrawAttributes().fontSize, c.wantSize) << c.size;
        EXPECT_DOUBLE_EQ(Frame()->GetFontSize(), c.wantSize) << c.size;
    }
    GetDrawAttributes().fontSize = 2.5;
    GetDrawAttributes().fontName = "Serif";
    Frame()->SaveSettings();
    EXPECT_EQ(profile.GetProfileString("FONT", "FONTSIZE"), "2.5");
    EXPECT_EQ(profile.GetProfileString("FONT", "FONTNAME"), "Serif");
}
