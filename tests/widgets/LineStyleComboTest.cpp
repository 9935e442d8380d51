// The line-style combo: its items, its pictures (painted through the owner-draw road, on images and
// on the widget itself) and its selection by line-style word, also inside a scripted dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>

#include "model/settings/LineStyle.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogRunner.h"
#include "tests/widgets/ControlsTestSupport.h"
#include "widgets/LineStyleCombo.h"

using namespace controlstest;

namespace {

constexpr UINT kComboId = 1270;
constexpr int kWidth = 120;
constexpr int kHeight = 16;
// The sample's line: half height of the item shrunk by 2.
constexpr int kLineY = 2 + (kHeight - 4) / 2;

class LineStyleComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitLineStyles();
        parent.Create(nullptr, 0);
        ASSERT_TRUE(combo.Create(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, &parent, kComboId));
        combo.FillStyles(kHeight);
    }
    std::unique_ptr<CDC> Item(int index, UINT state = 0, UINT action = ODA_DRAWENTIRE) {
        return PaintItem(combo, index, action, state, kWidth, kHeight);
    }

    CWnd parent;
    MLineStyleCombo combo;
};

TEST_F(LineStyleComboTest, HoldsTheNineStylesAndTheAuxiliaryLine) {
    ASSERT_EQ(combo.GetCount(), 10);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(combo.GetItemData(i), static_cast<DWORD_PTR>(i));
    EXPECT_EQ(combo.GetItemData(9), 136u);
    EXPECT_EQ(combo.GetItemHeight(0), kHeight);
    EXPECT_EQ(combo.GetItemHeight(-1), kHeight);
    MEASUREITEMSTRUCT mis;
    combo.MeasureItem(&mis);
    EXPECT_EQ(mis.itemHeight, static_cast<UINT>(kHeight));
}

TEST_F(LineStyleComboTest, SelectionIsReadAndWrittenAsLineStyleWords) {
    EXPECT_EQ(combo.GetCurStyle(), -1);  // nothing selected: never a style
    combo.SelectStyle(136);
    EXPECT_EQ(combo.GetCurSel(), 9);
    EXPECT_EQ(combo.GetCurStyle(), 136);
    combo.SelectStyle(3);
    EXPECT_EQ(combo.GetCurStyle(), 3);
    combo.SelectStyle(9);  // no item has it
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.GetCurStyle(), -1);
    combo.SelectStyle(2);
    combo.SelectStyle(-1);
    EXPECT_EQ(combo.GetCurStyle(), -1);
}

TEST_F(LineStyleComboTest, ContinuousLineRunsAcrossTheShrunkItem) {
    auto dc = Item(0);
    EXPECT_EQ(dc->GetPixel(1, kLineY), kWhite);
    for (int x = 2; x < kWidth - 2; ++x)
        ASSERT_EQ(dc->GetPixel(x, kLineY), kBlack) << x;
    EXPECT_EQ(dc->GetPixel(kWidth - 2, kLineY), kWhite);
    // Nothing else: one row of ink.
    EXPECT_EQ(CountColor(*dc, kBlack, 0, 0, kWidth, kHeight), kWidth - 4);
}

TEST_F(LineStyleComboTest, DashesAndGapsFollowTheMillimetresAt96Dpi) {
    auto dc = Item(2);  // 2.5 mm dashes and gaps: 9 pixels
    for (int x = 2; x < 11; ++x)
        EXPECT_EQ(dc->GetPixel(x, kLineY), kBlack) << x;
    for (int x = 11; x < 20; ++x)
        EXPECT_EQ(dc->GetPixel(x, kLineY), kWhite) << x;
    EXPECT_EQ(dc->GetPixel(20, kLineY), kBlack);
}

TEST_F(LineStyleComboTest, AuxiliaryItemWritesItsLabelThenTheDots) {
    auto dc = Item(9);
    CFont font;
    font.CreateFont(kHeight - 4, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
    CFont* old = dc->SelectObject(&font);
    const int textWidth = dc->GetTextExtent(AfxLoadString(62795)).cx;
    dc->SelectObject(old);
    ASSERT_GT(textWidth, 8);
    const int dots = 2 + textWidth + 2;
    EXPECT_GT(CountOther(*dc, kWhite, 2, 0, 2 + textWidth, kHeight), 20);  // "補助"
    // 0.625 mm on (2 pixels), 1.875 mm off (7 pixels), from 2 pixels after the text.
    EXPECT_EQ(dc->GetPixel(dots - 1, kLineY), kWhite);
    EXPECT_EQ(dc->GetPixel(dots, kLineY), kBlack);
    EXPECT_EQ(dc->GetPixel(dots + 1, kLineY), kBlack);
    EXPECT_EQ(dc->GetPixel(dots + 2, kLineY), kWhite);
    EXPECT_EQ(dc->GetPixel(dots + 9, kLineY), kBlack);
}

TEST_F(LineStyleComboTest, DisabledItemsAreGreyAndFramesShowSelectionAndFocus) {
    auto grey = Item(0, ODS_DISABLED | ODS_GRAYED);
    EXPECT_EQ(CountColor(*grey, kGrey, 0, 0, kWidth, kHeight), kWidth - 4);
    EXPECT_EQ(CountColor(*grey, kBlack, 0, 0, kWidth, kHeight), 0);
    auto label = Item(9, ODS_GRAYED);
    EXPECT_EQ(CountColor(*label, kBlack, 0, 0, kWidth, kHeight), 0);
    EXPECT_GT(CountColor(*label, kGrey, 0, 0, kWidth, kHeight), 20);

    auto selected = Item(4, ODS_SELECTED, ODA_SELECT);
    EXPECT_EQ(CountColor(*selected, kBlack, 0, 0, kWidth, kHeight), 2 * kWidth + 2 * kHeight - 4);
    EXPECT_EQ(selected->GetPixel(kWidth / 2, kLineY), kWhite);  // the frame only
    auto unselected = Item(4, 0, ODA_SELECT);
    EXPECT_EQ(CountColor(*unselected, kWhite, 0, 0, kWidth, kHeight), kWidth * kHeight);

    auto focused = Item(4, ODS_FOCUS, ODA_FOCUS);
    EXPECT_EQ(focused->GetPixel(1, 1), kGrey);
    EXPECT_EQ(focused->GetPixel(kWidth - 2, kHeight - 2), kGrey);
    EXPECT_EQ(CountColor(*focused, kGrey, 1, 1, kWidth - 1, kHeight - 1),
              2 * (kWidth - 2) + 2 * (kHeight - 2) - 4);
}

// The widget paints its field and its list through the same DrawItem.
TEST_F(LineStyleComboTest, TheWidgetPaintsTheSelectedStyleInItsField) {
    auto* widget = qobject_cast<QComboBox*>(combo.GetWidget());
    ASSERT_NE(widget, nullptr);
    widget->resize(kWidth + 30, widget->sizeHint().height());
    EXPECT_GE(widget->sizeHint().height(), kHeight + 2);
    auto blackColumns = [&] {
        const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int longest = 0;
        for (int y = 0; y < image.height(); ++y) {
            int run = 0;
            for (int x = 0; x < image.width(); ++x) {
                run = image.pixel(x, y) == qRgb(0, 0, 0) ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        }
        return longest;
    };
    EXPECT_LT(blackColumns(), 40);  // nothing selected: no sample
    combo.SelectStyle(0);
    EXPECT_GT(blackColumns(), 60);  // the continuous line

    QImage list(kWidth, kHeight, QImage::Format_RGB32);
    list.fill(Qt::red);
    {
        QPainter painter(&list);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, kWidth, kHeight);
        option.state = QStyle::State_Enabled | QStyle::State_Selected;
        widget->itemDelegate()->paint(&painter, option, widget->model()->index(2, 0));
    }
    EXPECT_EQ(list.pixel(0, 0), qRgb(0, 0, 0));              // selected: black frame
    EXPECT_EQ(list.pixel(5, kLineY), qRgb(0, 0, 0));         // a dash
    EXPECT_EQ(list.pixel(15, kLineY), qRgb(255, 255, 255));  // a gap, on the window colour
    EXPECT_EQ(widget->itemDelegate()->sizeHint(QStyleOptionViewItem(), widget->model()->index(0, 0)).height(),
              kHeight);
}

// A tool dialog holding the combo: its template asks for an owner-drawn combo, the dialog binds
// its member to it.
class StyleDialog : public CDialog {
public:
    static constexpr UINT kTemplate = 9171;
    StyleDialog() : CDialog(kTemplate) {
        CDialog::RegisterTemplate(
            kTemplate, {{DlgOp::Dialog, kTemplate, "線種", 0, 0, 0},
                        {DlgOp::Combo, kComboId, nullptr, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 12, 0},
                        {DlgOp::Buttons, kIdStatic, nullptr, 0, 0, 0},
                        {DlgOp::DefPushButton, kIdOk, "OK", 0, 0, 0},
                        {DlgOp::PushButton, kIdCancel, "ｷｬﾝｾﾙ", 0, 0, 0},
                        {DlgOp::EndDialog, kIdStatic, nullptr, 0, 0, 0}});
        Commands().OnControl(CBN_SELENDOK, kComboId, [this] { ++choices; });
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_combo.FillStyles(kHeight);
        m_combo.SelectStyle(style);
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kComboId, m_combo);
        if (pDX->m_bSaveAndValidate) style = m_combo.GetCurStyle();
    }
    int style = 0;
    int choices = 0;
    MLineStyleCombo m_combo;
};

TEST(LineStyleComboDialog, AScriptChoosesTheAuxiliaryLineByIndex) {
    InitLineStyles();
    DialogRunner runner;
    int painted = 0;
    runner.Script(StyleDialog::kTemplate, DialogScript()
                                              .Select(kComboId, 9)
                                              .Do([&](CDialog& d) {
                                                  // The member draws the items of the template's control.
                                                  auto dc = PaintItem(*d.GetDlgItem(kComboId), 9,
                                                                      ODA_DRAWENTIRE, 0, kWidth, kHeight);
                                                  painted = CountColor(*dc, kBlack, 0, 0, kWidth, kHeight);
                                              })
                                              .Ok());
    StyleDialog dlg;
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.style, 136);
    EXPECT_EQ(dlg.choices, 1);
    EXPECT_GT(painted, 20);
}

}  // namespace
