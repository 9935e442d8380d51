// The DXF import's window side: the paper dialog before reading, the progress window with its
// Cancel, and the main window, which takes no commands and does not close while the import
// dispatches window events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/interchange/DxfReadDialog.h"
#include "interchange/DxfImportUi.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Menu.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/TestSupport.h"
#include "view/TessarayView.h"

namespace {

constexpr UINT kPaperDialog = 178;
constexpr UINT kIdsAutoScale = 62719;

class DxfImportUi : public StartedProgram {
protected:
    void SetUp() override {
        StartedProgram::SetUp();
        Frame()->ShowWindow(SW_SHOWNORMAL);
        QApplication::processEvents();
        dir = MakeTempDir("dxf_import_ui");
    }

    QDialog* ProgressWindow() { return Frame()->GetWidget()->findChild<QDialog*>("208"); }

    // A DXF file of n lines, enough pairs for many rounds of event dispatching.
    std::string WriteLines(int n) {
        std::ostringstream text;
        text << "0\nSECTION\n2\nENTITIES\n";
        for (int i = 0; i < n; ++i)
            text << "0\nLINE\n8\nWalls\n10\n" << i << "\n20\n0\n11\n" << i << "\n21\n100\n";
        text << "0\nENDSEC\n0\nEOF\n";
        const std::string path = dir + "/lines.dxf";
        std::ofstream(path, std::ios::binary) << text.str();
        return path;
    }
    // Whether the snap popup shows the item disabled after its update pass.
    bool MenuItemGrayed(UINT id) {
        CMenu* menu = Frame()->GetMenu();
        for (UINT i = 0; i < menu->GetMenuItemCount(); ++i)
            if (menu->Items()[i].text.rfind("スナップ", 0) == 0) {
                CMenu* popup = menu->GetSubMenu(static_cast<int>(i));
                Frame()->OnInitMenuPopup(popup, i, FALSE);
                return (popup->GetMenuState(id, MF_BYCOMMAND) & MF_GRAYED) != 0;
            }
        ADD_FAILURE() << "no snap menu";
        return false;
    }
    // Runs `during` at every round of event dispatching of the import, with the round's number.
    void WhilePumping(std::function<void(int)> during) {
        m_during = std::move(during);
        m_rounds = 0;
        m_timer = std::make_unique<QTimer>();
        m_timer->setInterval(0);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] {
            if (IsDXFImportPumping()) m_during(++m_rounds);
        });
        m_timer->start();
    }
    int Rounds() const { return m_rounds; }

    std::string dir;
    MessageBoxRecorder boxes{IDNO};

private:
    std::unique_ptr<QTimer> m_timer;
    std::function<void(int)> m_during;
    int m_rounds = 0;
};

}  // namespace

TEST_F(DxfImportUi, StartUpInstallsTheDialogs) {
    EXPECT_NE(dynamic_cast<MDXFImportDialogs*>(GetDXFImportUi()), nullptr);
}

TEST_F(DxfImportUi, WhileTheImportPumpsTheMainWindowTakesNoCommandsAndStaysOpen) {
    const std::string path = WriteLines(3000);
    DialogRunner runner;
    runner.Script(kPaperDialog, DialogScript().Select(1037, 2).Ok());  // 1 : 50
    const WORD snap = GetOptionRecord().m_snap;
    bool mainEnabled = true, progressShown = false, cancelEnabled = false, grayed = false;
    BOOL commandTaken = FALSE;
    bool stillOpen = false;
    std::string title, text;
    WhilePumping([&](int round) {
        QDialog* progress = ProgressWindow();
        if (!progress) return;
        text = progress->findChild<QLabel*>("1147")->text().toStdString();
        if (round != 1) return;
        mainEnabled = Frame()->GetWidget()->isEnabled();
        progressShown = progress->isVisible();
        title = progress->windowTitle().toStdString();
        cancelEnabled = progress->findChild<QPushButton*>("1307")->isEnabled();
        grayed = MenuItemGrayed(ID_SNAP_END_POINT);
        // The menu's way and the routing itself.
        Frame()->SendCommand(ID_SNAP_END_POINT);
        commandTaken = Frame()->OnCmdMsg(ID_SNAP_END_POINT, CN_COMMAND, nullptr, nullptr);
        Frame()->GetWidget()->close();
        Frame()->OnClose();
        stillOpen = Frame()->IsWindow() && Frame()->GetWidget()->isVisible();
    });
    ASSERT_TRUE(app.OpenDocumentFile(path));

    EXPECT_GT(Rounds(), 2);
    EXPECT_TRUE(runner.Opened(kPaperDialog));
    EXPECT_TRUE(boxes.Saw(kIdsAutoScale));
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(progressShown);
    EXPECT_EQ(title, "読み込み中");
    EXPECT_TRUE(cancelEnabled);
    EXPECT_EQ(text.rfind("Reading...", 0), 0u) << text;
    EXPECT_TRUE(grayed);
    EXPECT_TRUE(commandTaken);
    EXPECT_EQ(GetOptionRecord().m_snap, snap) << "no command ran";
    EXPECT_TRUE(stillOpen);

    // Afterwards the drawing is there, the window is back and the command acts again.
    EXPECT_EQ(ShapeCount(), 3000);
    EXPECT_EQ(Doc().GetPaperInfo().GetScale(), 0.02);
    EXPECT_FALSE(IsDXFImportPumping());
    EXPECT_EQ(ProgressWindow(), nullptr);
    EXPECT_TRUE(Frame()->GetWidget()->isEnabled());
    EXPECT_FALSE(MenuItemGrayed(ID_SNAP_END_POINT));
    Frame()->SendCommand(ID_SNAP_END_POINT);
    EXPECT_NE(GetOptionRecord().m_snap, snap);
}

TEST_F(DxfImportUi, CancelButtonCloseBoxAndPaperCancelEndWithAnEmptyDrawing) {
    const std::string path = WriteLines(3000);
    enum How { kCancelButton, kCloseBox, kPaperCancel };
    for (How how : {kCancelButton, kCloseBox, kPaperCancel}) {
        SCOPED_TRACE(how);
        DialogRunner runner;
        if (how == kPaperCancel)
            runner.Script(kPaperDialog, DialogScript().Cancel());
        else
            runner.Script(kPaperDialog, DialogScript().Ok());
        bool visibleAfterCancel = false;
        WhilePumping([&](int round) {
            QDialog* progress = ProgressWindow();
            if (round != 2 || !progress) return;
            if (how == kCancelButton)
                progress->findChild<QPushButton*>("1307")->click();
            else
                progress->close();
            visibleAfterCancel = progress->isVisible();
        });
        EXPECT_FALSE(app.OpenDocumentFile(path));
        EXPECT_TRUE(runner.Opened(kPaperDialog));
        EXPECT_EQ(ShapeCount(), 0);
        EXPECT_EQ(Doc().GetLayers()->GetLayerCount(), 1);
        EXPECT_EQ(app.GetView()->GetTabCount(), 1);
        if (how == kPaperCancel) {
            EXPECT_EQ(Rounds(), 0) << "nothing was read";
        } else {
            EXPECT_EQ(Rounds(), 2) << "reading stops at the next round";
            EXPECT_TRUE(visibleAfterCancel) << "the window goes when the import has stopped";
        }
        EXPECT_EQ(ProgressWindow(), nullptr);
        EXPECT_TRUE(Frame()->GetWidget()->isEnabled());
        EXPECT_FALSE(IsDXFImportPumping());
    }
}
