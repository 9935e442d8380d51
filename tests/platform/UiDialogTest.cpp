// Dialog templates, data exchange and validation, and the scripted dialog runner.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/MessageBoxUi.h"
#include "resources/ResourceIds.h"
#include "tests/support/TestSupport.h"

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);

namespace {

constexpr unsigned kTestDialog = 9001;

void RegisterTestTemplate() {
    CDialog::RegisterTemplate(kTestDialog,
                              {{DlgOp::Dialog, 9001, "テスト", 0, 0, 0},
                               {DlgOp::Check, 1001, "半径", 0, 0, 0},
                               {DlgOp::Edit, 1002, nullptr, 0, 10, 0},
                               {DlgOp::Label, kIdStatic, "mm", 0, 0, 0},
                               {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::Label, kIdStatic, "個数", 0, 0, 0},
                               {DlgOp::Edit, 1003, nullptr, 0, 6, 0},
                               {DlgOp::Spin, 1105, nullptr, 0, 0, 0},
                               {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::GroupBegin, kIdStatic, "座標", 0, 0, 0},
                               {DlgOp::RadioFirst, 1043, "直交座標", 0, 0, 0},
                               {DlgOp::Radio, 1146, "極座標", 0, 0, 0},
                               {DlgOp::GroupEnd, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::Span, kIdStatic, nullptr, 0, 3, 0},
                               {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::RadioFirst, 1042, "絶対", 0, 0, 0},
                               {DlgOp::Radio, 1145, "相対", 0, 0, 0},
                               {DlgOp::Radio, 1225, "ｵﾌｾｯﾄ", 0, 0, 0},
                               {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::Combo, 1052, "実線\n点線\n一点鎖線", CBS_DROPDOWNLIST, 10, 0},
                               {DlgOp::Edit, 1004, nullptr, 0, 10, 0},
                               {DlgOp::ListBox, 1020, nullptr, LBS_SORT, 10, 3},
                               {DlgOp::Buttons, kIdStatic, nullptr, 0, 0, 0},
                               {DlgOp::PushButton, 1121, "AND", 0, 0, 0},
                               {DlgOp::DefPushButton, kIdOk, "OK", 0, 0, 0},
                               {DlgOp::PushButton, kIdCancel, "ｷｬﾝｾﾙ", 0, 0, 0},
                               {DlgOp::EndDialog, kIdStatic, nullptr, 0, 0, 0}});
}

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(kTestDialog) {
        RegisterTestTemplate();
        TickOnEdit(1002, 1001);
        Commands().OnCommand(1121, [this] { EndDialog(1121); });
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        auto* spin = GetDlgItemAs<CSpinButtonCtrl>(1105);
        spin->SetRange32(2, 8);
        for (const char* s : {"い", "あ", "う"})
            GetDlgItemAs<CListBox>(1020)->AddString(s);
        GetDlgItemAs<CListBox>(1020)->SetCurSel(listIndex);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        // The text first: loading it ticks the box (EN_CHANGE), and the box then takes its own value.
        DDX_Text(pDX, 1002, radius);
        DDV_MinMaxDouble(pDX, radius, -360.0, 360.0);
        DDX_Check(pDX, 1001, useRadius);
        DDX_Text(pDX, 1003, count);
        DDV_MinMaxInt(pDX, count, 2, 8);
        DDX_Radio(pDX, 1043, kind);
        DDX_Radio(pDX, 1042, base);
        DDX_CBIndex(pDX, 1052, style);
        DDX_Text(pDX, 1004, name);
        DDV_MaxChars(pDX, name, 4);
    }
    int useRadius = 0;
    double radius = 90.0;
    int count = 4;
    int kind = 1;
    int base = -1;
    int style = 2;
    int listIndex = -1;
    std::string name;
};

}  // namespace

TEST(UiDialogs, ScriptPutsValuesInAndTakesThemOut) {
    MessageBoxRecorder boxes;
    DialogRunner runner;
    std::string shownRadius, shownCount;
    bool kindShown = false, tickedAtStart = true;
    runner.Script(kTestDialog, DialogScript()
                                   .Do([&](CDialog& d) { tickedAtStart = d.IsDlgButtonChecked(1001); })
                                   .Read(1002, &shownRadius)
                                   .Read(1003, &shownCount)
                                   .Do([&](CDialog& d) { kindShown = d.IsDlgButtonChecked(1146); })
                                   .SetText(1002, " 12.5 ")
                                   .SetText(1003, "7")
                                   .Click(1043)
                                   .Click(1225)
                                   .Select(1052, 0)
                                   .SetText(1004, "ab")
                                   .Ok());
    TestDialog dlg;
    dlg.useRadius = 0;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shownRadius, "90");
    EXPECT_EQ(shownCount, "4");
    EXPECT_TRUE(kindShown);
    EXPECT_FALSE(tickedAtStart);
    EXPECT_DOUBLE_EQ(dlg.radius, 12.5);
    EXPECT_EQ(dlg.count, 7);
    EXPECT_EQ(dlg.useRadius, 1);  // typing into the edit ticked its box
    EXPECT_EQ(dlg.kind, 0);
    EXPECT_EQ(dlg.base, 2);
    EXPECT_EQ(dlg.style, 0);
    EXPECT_EQ(dlg.name, "ab");
    EXPECT_TRUE(boxes.Messages().empty());
    ASSERT_EQ(runner.Dialogs().size(), 1u);
    EXPECT_TRUE(runner.Dialogs()[0].scripted);
    EXPECT_FALSE(runner.Dialogs()[0].leftOpen);
    // The controls are gone after DoModal.
    EXPECT_EQ(dlg.GetDlgItem(1002), nullptr);
}

TEST(UiDialogs, ValidationRefusalKeepsTheDialogOpenWithTheMessage) {
    MessageBoxRecorder boxes;
    DialogRunner runner;
    bool openAfterRefusal = false;
    runner.Script(kTestDialog, DialogScript()
                                   .SetText(1002, "400")
                                   .Ok()
                                   .Do([&](CDialog& d) { openAfterRefusal = d.IsRunning(); })
                                   .SetText(1002, "abc")
                                   .Ok()
                                   .SetText(1002, "-360")
                                   .SetText(1003, "9")
                                   .Ok()
                                   .SetText(1003, "8")
                                   .SetText(1004, "ｱｲｳｴｵ")  // five CP932 bytes
                                   .Ok()
                                   .SetText(1004, "ｱｲｳｴ")
                                   .Ok());
    TestDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(openAfterRefusal);
    ASSERT_EQ(boxes.Messages().size(), 4u);
    EXPECT_EQ(boxes.Messages()[0].text, AfxFormatString2(IDS_DDX_REAL_RANGE, "-360", "360"));
    EXPECT_TRUE(boxes.Saw(IDS_DDX_PARSE_REAL));
    EXPECT_EQ(boxes.Messages()[2].text, AfxFormatString2(IDS_DDX_INT_RANGE, "2", "8"));
    EXPECT_EQ(boxes.Messages()[3].text, AfxFormatString1(IDS_DDX_STRING_SIZE, "4"));
    EXPECT_DOUBLE_EQ(dlg.radius, -360.0);
    EXPECT_EQ(dlg.count, 8);
}

TEST(UiDialogs, CancelButtonsAndUnscriptedDialogs) {
    MessageBoxRecorder boxes;
    DialogRunner runner;
    runner.Script(kTestDialog, DialogScript().SetText(1002, "1").Cancel());
    runner.Script(kTestDialog, DialogScript().Click(1121));
    runner.Script(kTestDialog, DialogScript().SetText(1002, "1"));  // ends with the dialog open
    TestDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_DOUBLE_EQ(dlg.radius, 90.0);
    EXPECT_EQ(dlg.DoModal(), 1121);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);  // no script: cancelled, shown nowhere
    ASSERT_EQ(runner.Dialogs().size(), 4u);
    EXPECT_TRUE(runner.Dialogs()[2].leftOpen);
    EXPECT_FALSE(runner.Dialogs()[3].scripted);
    EXPECT_EQ(runner.OpenedIds(),
              (std::vector<unsigned>{kTestDialog, kTestDialog, kTestDialog, kTestDialog}));
    CDialog missing(424242);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(runner.Opened(424242));
}

TEST(UiDialogs, SpinListAndComboControls) {
    MessageBoxRecorder boxes;
    DialogRunner runner;
    std::string afterUp, afterClamp;
    std::vector<std::string> listed;
    runner.Script(kTestDialog,
                  DialogScript()
                      .Spin(1105, 2)
                      .Read(1003, &afterUp)
                      .Spin(1105, 10)
                      .Read(1003, &afterClamp)
                      .Do([&](CDialog& d) {
                          auto* list = d.GetDlgItemAs<CListBox>(1020);
                          for (int i = 0; i < list->GetCount(); ++i)
                              listed.push_back(list->GetText(i));
                          EXPECT_EQ(list->GetCurSel(), LB_ERR);
                          EXPECT_EQ(d.GetDlgItemAs<CComboBox>(1052)->GetLBText(1), "点線");
                          EXPECT_EQ(d.GetDlgItemAs<CComboBox>(1052)->FindStringExact(-1, "一点鎖線"), 2);
                          EXPECT_EQ(d.GetDlgItemAs<CEdit>(1052), nullptr);  // wrong kind
                      })
                      .Select(1020, 1)
                      .Do([&](CDialog& d) {
                          EXPECT_EQ(d.GetDlgItemAs<CListBox>(1020)->GetCurSel(), 1);
                          EXPECT_EQ(d.GetDlgItemText(1052), "一点鎖線");
                      })
                      .Ok());
    TestDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(afterUp, "6");
    EXPECT_EQ(afterClamp, "8");
    EXPECT_EQ(dlg.count, 8);
    EXPECT_EQ(listed, (std::vector<std::string>{"あ", "い", "う"}));  // LBS_SORT
}

TEST(UiDialogs, TemplatesAreLaidOutInRowsAndGroups) {
    DialogRunner runner;
    runner.Script(kTestDialog, DialogScript().Do([](CDialog& d) {
        auto* dialog = qobject_cast<QDialog*>(d.GetWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle().toStdString(), "テスト");
        dialog->show();  // hidden widgets defer their layouts
        QApplication::processEvents();
        QWidget* check = d.GetDlgItem(1001)->GetWidget();
        QWidget* radiusEdit = d.GetDlgItem(1002)->GetWidget();
        QWidget* countEdit = d.GetDlgItem(1003)->GetWidget();
        // Same row, left to right; the next row below; columns line up across rows.
        EXPECT_LT(check->mapTo(dialog, QPoint()).x(), radiusEdit->mapTo(dialog, QPoint()).x());
        EXPECT_LT(radiusEdit->mapTo(dialog, QPoint()).y() + 2, countEdit->mapTo(dialog, QPoint()).y());
        EXPECT_EQ(radiusEdit->mapTo(dialog, QPoint()).x(), countEdit->mapTo(dialog, QPoint()).x());
        // The radio buttons of the group box sit inside it.
        EXPECT_NE(qobject_cast<QGroupBox*>(d.GetDlgItem(1043)->GetWidget()->parentWidget()), nullptr);
        // The spin's arrows sit right of their buddy.
        QWidget* spin = d.GetDlgItem(1105)->GetWidget();
        EXPECT_GE(spin->mapTo(dialog, QPoint()).x(),
                  countEdit->mapTo(dialog, QPoint()).x() + countEdit->width());
    }));
    TestDialog dlg;
    dlg.DoModal();
}

TEST(UiDialogs, ResourceTemplateAndDefaultExchange) {
    MessageBoxRecorder boxes;
    DialogRunner runner;
    struct AngleDialog : CDialog {
        AngleDialog() : CDialog(237) {}
        void DoDataExchange(CDataExchange* pDX) override {
            DDX_Text(pDX, 1142, angle);
            DDV_MinMaxDouble(pDX, angle, -360.0, 360.0);
        }
        double angle = 1.0 / 3.0;
    } dlg;
    std::string shown;
    runner.Script(237, DialogScript().Read(1142, &shown).SetText(1142, "400").Ok().SetText(1142, "1e2").Ok());
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(shown, "0.333333333333333");  // fifteen significant digits
    EXPECT_DOUBLE_EQ(dlg.angle, 100.0);
    EXPECT_EQ(boxes.Messages().size(), 1u);
}

TEST(UiDialogs, ExceptionDuringInitialisationIsReported) {
    MessageBoxRecorder boxes;
    DialogRunner runner;
    struct Failing : CDialog {
        Failing() : CDialog(237) {}
        BOOL OnInitDialog() override { AfxThrowMemoryException(); }
    } dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(boxes.Saw(IDS_EXCEPTION_MEMORY));
}

namespace {
// Acts on the modal window once the modal loop runs; gives up (rejecting it) if nothing was found.
void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        if (QWidget* w = QApplication::activeModalWidget()) act(w);
    });
    QTimer::singleShot(3000, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->done(-2);
    });
}
}  // namespace

TEST(UiDialogs, OnScreenDialogRunsItsModalLoop) {
    MessageBoxRecorder boxes;
    TestDialog dlg;
    WhenModal([](QWidget* w) {
        for (QLineEdit* e : w->findChildren<QLineEdit*>()) {
            if (e->text() == "90") e->setText("45");
        }
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->text() == "OK") b->click();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_DOUBLE_EQ(dlg.radius, 45.0);

    WhenModal([](QWidget* w) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(w, &escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(UiDialogs, OnScreenMessageBoxesAnswerWithTheChosenButton) {
    MessageBoxRecorder keep;  // restores the recorder afterwards
    AfxInstallMessageBoxUi();
    std::string buttons;
    WhenModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return;
        for (QAbstractButton* b : box->buttons())
            buttons += b->text().toStdString() + "|";
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QString::fromUtf8("いいえ(&N)")) b->click();
    });
    EXPECT_EQ(AfxMessageBox("保存しますか？", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    EXPECT_NE(buttons.find("はい(&Y)|"), std::string::npos);
    EXPECT_NE(buttons.find("キャンセル|"), std::string::npos);
    WhenModal([](QWidget* w) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(w, &escape);
    });
    EXPECT_EQ(AfxMessageBox("x", MB_YESNOCANCEL), IDCANCEL);
}

TEST(UiDialogs, UnattendedDialogsTakeWhatTheyShowAndMessageBoxesTheirDefaultButton) {
    MessageBoxRecorder boxes;  // a person's answer, which must not be asked
    DialogRunner runner;       // would cancel
    ::testing::internal::CaptureStderr();
    {
        const CUnattendedScope unattended("program: ");
        TestDialog shown;
        shown.radius = 12.5;
        EXPECT_EQ(shown.DoModal(), IDOK);
        EXPECT_DOUBLE_EQ(shown.radius, 12.5);
        // A value the dialog refuses: its message is told, and nobody can mend it.
        TestDialog refused;
        refused.count = 99;
        EXPECT_EQ(refused.DoModal(), IDCANCEL);
        EXPECT_EQ(refused.count, 99);
        const struct {
            UINT type;
            int answer;
        } questions[] = {
            {MB_YESNOCANCEL | MB_ICONQUESTION, IDYES},
            {MB_YESNO | MB_DEFBUTTON2, IDNO},
            {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        };
        for (const auto& q : questions)
            EXPECT_EQ(AfxMessageBox("question", q.type), q.answer) << q.type;
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_NE(err.find("program: " + AfxFormatString2(IDS_DDX_INT_RANGE, "2", "8") + "\n"),
              std::string::npos);
    EXPECT_NE(err.find("program: question\n"), std::string::npos);
    // Afterwards a person answers again.
    EXPECT_EQ(AfxMessageBox("question", MB_YESNO), IDOK);
    EXPECT_EQ(boxes.Messages().size(), 1u);
}

// Before, a message with the system's words on the error below it came out as several lines, the
// system's words alone on a line of their own.
TEST(UiDialogs, AnUnattendedMessageIsOneLineOfStandardError) {
    const struct {
        const char* text;
        const char* line;
    } messages[] = {
        {"ﾌｧｲﾙに書き込めません。\n\nNo space left on device",
         "ﾌｧｲﾙに書き込めません。 No space left on device"},
        {"a は既に存在します。\n上書きしますか?", "a は既に存在します。 上書きしますか?"},
        {"読み込めませんでした:\r\n    SPLINE 3\n    HATCH 2\n", "読み込めませんでした: SPLINE 3 HATCH 2"},
        {"one", "one"},
    };
    for (const auto& m : messages) {
        ::testing::internal::CaptureStderr();
        {
            const CUnattendedScope unattended("program: ");
            AfxMessageBox(m.text, MB_OK);
        }
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), std::string("program: ") + m.line + "\n");
    }
}

TEST(UiDialogs, APushLikeCheckButtonShowsItsPictureAndStaysDownWhileChecked) {
    CWnd owner;
    ASSERT_TRUE(owner.Create(nullptr, 0));
    int clicks = 0;
    owner.Commands().OnCommand(1077, [&] { ++clicks; });
    CButton button;
    ASSERT_TRUE(button.Create("─", CButton::Kind::Check, &owner, 1077, BS_PUSHLIKE | BS_BITMAP));
    std::vector<DWORD> pixels(24 * 24, 0xFF0000);  // red, as 0x00RRGGBB
    CBitmap picture;
    ASSERT_TRUE(picture.CreateBitmap(24, 24, 1, 32, pixels.data()));
    button.SetBitmap(&picture);
    QWidget* widget = button.GetWidget();
    widget->resize(widget->sizeHint());
    const QImage shown = widget->grab().toImage();
    int redPixels = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            redPixels += shown.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_GE(redPixels, 20 * 20 * shown.devicePixelRatio() * shown.devicePixelRatio());
    // A click puts it down (checked) and tells the owner; the next one lifts it.
    for (const int expected : {BST_CHECKED, BST_UNCHECKED}) {
        button.Click();
        EXPECT_EQ(button.GetCheck(), expected);
    }
    EXPECT_EQ(clicks, 2);
}

namespace {

constexpr unsigned kFocusDialog = 9002;

// Three edits (the second of several lines) around a check box, pre-filled as a dialog shows the
// values it was last closed with; focusOn: the control OnInitDialog gives the focus itself.
class FocusDialog : public CDialog {
public:
    FocusDialog() : CDialog(kFocusDialog) {
        CDialog::RegisterTemplate(kFocusDialog, {{DlgOp::Dialog, 9002, "入力", 0, 0, 0},
                                                 {DlgOp::Label, kIdStatic, "文字", 0, 0, 0},
                                                 {DlgOp::Edit, 1002, nullptr, 0, 10, 0},
                                                 {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
                                                 {DlgOp::Edit, 1003, nullptr, ES_MULTILINE, 10, 2},
                                                 {DlgOp::Row, kIdStatic, nullptr, 0, 0, 0},
                                                 {DlgOp::Check, 1001, "縦書き", 0, 0, 0},
                                                 {DlgOp::Edit, 1004, nullptr, 0, 6, 0},
                                                 {DlgOp::Buttons, kIdStatic, nullptr, 0, 0, 0},
                                                 {DlgOp::DefPushButton, kIdOk, "OK", 0, 0, 0},
                                                 {DlgOp::PushButton, kIdCancel, "ｷｬﾝｾﾙ", 0, 0, 0},
                                                 {DlgOp::EndDialog, kIdStatic, nullptr, 0, 0, 0}});
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (!focusOn) return TRUE;
        GotoDlgCtrl(GetDlgItem(focusOn));
        return FALSE;
    }
    void OnShowWindow(BOOL, UINT) override {
        if (caretFirstOnShow) GetDlgItemAs<CEdit>(1002)->SetSel(0, 0);
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, 1002, text);
        DDX_Text(pDX, 1003, lines);
        DDX_Text(pDX, 1004, angle);
    }
    int focusOn = 0;
    bool caretFirstOnShow = false;
    std::string text = "ABC", lines = "L1\r\nL2", angle = "45";
};

void Key(int key, const char* text = "", Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* w = QApplication::focusWidget();
    ASSERT_NE(w, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, mods, QString::fromUtf8(text));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, QString::fromUtf8(text));
    QApplication::sendEvent(w, &release);
}

void Type(const char* text) {
    for (const char* c = text; *c; ++c)
        Key(Qt::Key_A + (*c >= 'A' && *c <= 'Z' ? *c - 'A' : 0), std::string(1, *c).c_str());
}

// Clicks a widget near its right end, where the caret goes after the last character, as the
// window system delivers a click (the focus follows only such clicks).
void ClickAtEnd(QWidget* w) {
    QWidget* top = w->window();
    const QPoint at = w->mapTo(top, QPoint(w->width() - 4, w->height() / 2));
    static int time = 500000;
    for (const bool press : {true, false}) {
        qt_handleMouseEvent(top->windowHandle(), QPointF(at), QPointF(top->mapToGlobal(at)),
                            press ? Qt::LeftButton : Qt::NoButton, Qt::LeftButton,
                            press ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, Qt::NoModifier,
                            time += 1000);
        QApplication::processEvents();
    }
}

// Runs steps on the dialog once it is shown and has the focus, then cancels it.
void WhenFocused(CDialog& dlg, std::function<void()> steps) {
    WhenModal([&dlg, steps](QWidget* w) {
        w->activateWindow();
        QApplication::processEvents();
        for (int i = 0; i < 200 && !QApplication::focusWidget(); ++i)
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        steps();
        dlg.EndDialog(IDCANCEL);
    });
}

}  // namespace

// The edit that got the focus kept its caret after the text it was filled with, so typing
// appended to the last value instead of replacing it.
TEST(UiDialogs, AnEditFocusedByTheDialogOrByTabHasItsWholeTextChosen) {
    MessageBoxRecorder boxes;
    FocusDialog dlg;
    const auto text = [&dlg](int id) { return dlg.GetDlgItemText(id); };
    const struct {
        const char* what;
        std::function<void()> act;
        int id;
        std::string shown;
    } steps[] = {
        {"first focus", [] { Type("XY"); }, 1002, "XY"},
        {"tab into several lines", [] { Key(Qt::Key_Tab), Type("Z"); }, 1003, "Z"},
        {"tab past a check box", [] { Key(Qt::Key_Tab), Key(Qt::Key_Tab), Type("7"); }, 1004, "7"},
        {"back-tab", [] { Key(Qt::Key_Backtab), Key(Qt::Key_Backtab), Type("Q"); }, 1003, "Q"},
        {"a click places the caret", [&] { ClickAtEnd(dlg.GetDlgItem(1002)->GetWidget()), Type("W"); }, 1002,
         "XYW"},
    };
    WhenFocused(dlg, [&] {
        for (const auto& step : steps) {
            step.act();
            EXPECT_EQ(text(step.id), step.shown) << step.what;
        }
    });
    dlg.DoModal();

    // A dialog that chose its first control itself.
    FocusDialog own;
    own.focusOn = 1004;
    std::string first, chosen;
    WhenFocused(own, [&] {
        Type("8");
        first = own.GetDlgItemText(1002);
        chosen = own.GetDlgItemText(1004);
    });
    own.DoModal();
    EXPECT_EQ(first, "ABC");
    EXPECT_EQ(chosen, "8");

    // Showing comes after the first focus: a dialog may put the caret back there.
    FocusDialog shown;
    shown.caretFirstOnShow = true;
    WhenFocused(shown, [&] {
        Type("X");
        first = shown.GetDlgItemText(1002);
    });
    shown.DoModal();
    EXPECT_EQ(first, "XABC");
    EXPECT_TRUE(boxes.Messages().empty());
}
