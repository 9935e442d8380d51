// Lists chosen with the mouse: the row becomes current before it is selected, and the dialog's
// handler must see the new choice (the paper dialog's scale list writes the scale box from it).
#include <QItemSelectionModel>
#include <QListWidget>

#include "document/PaperSettings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogRunner.h"
#include "tests/view/ViewTestSupport.h"
#include "view/dialogs/PaperDialog.h"

using namespace viewtest;

namespace {

constexpr UINT kPaperDialog = 178;
constexpr UINT ID_PAPER_SETTINGS = 32796;

// What a click on the row does to the list, in the order the item view does it.
void ClickRow(CDialog& d, int id, int row) {
    auto* list = qobject_cast<QListWidget*>(d.GetDlgItem(id)->GetWidget());
    ASSERT_NE(list, nullptr);
    const QModelIndex index = list->model()->index(row, 0);
    list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    list->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

TEST(PaperDialogList, AScaleClickedInTheListIsTheOneOkTakes) {
    ResetProgramState();
    // The dialog's OK keeps its choice as the program's default paper: put it back afterwards.
    struct Restore {
        MDefaultPaper paper = GetDefaultPaper();
        ~Restore() { GetDefaultPaper() = paper; }
    } restore;
    ViewHarness h(640, 480);
    std::string scaleText;
    DialogRunner runner;
    runner.Script(kPaperDialog, DialogScript()
                                    .Do([](CDialog& d) { ClickRow(d, 1037, 2); })  // 1 : 50
                                    .Read(1036, &scaleText)
                                    .Ok());
    h.view->SendCommand(ID_PAPER_SETTINGS);
    EXPECT_EQ(scaleText, "0.02");
    EXPECT_EQ(h.doc.GetPaperInfo().GetScale(), 0.02);
    EXPECT_EQ(h.doc.GetPaperInfo().GetScaleInfo().m_name, "1 : 50");
}

}  // namespace
