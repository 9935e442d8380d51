// The dimension settings (141) from the view's command and the dimension text (263) from a
// dimension's Edit, scripted.
#include <sstream>

#include "model/shapes/ShapeEditors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "tests/tools/dimension/DimensionTestSupport.h"

using namespace dimtest;
using ::testing::HasSubstr;

namespace {

constexpr UINT kSizeSettingsCommand = 32783;
constexpr int kFormatCombos[] = {1115, 1116, 1113, 1114};

std::string WrittenBlock() {
    std::ostringstream os;
    WriteSizeSettings(os);
    return os.str();
}

// The items of a combo of the live dialog.
std::vector<std::string> Items(CDialog& d, int id) {
    std::vector<std::string> items;
    auto* combo = d.GetDlgItemAs<CComboBox>(id);
    for (int i = 0; i < combo->GetCount(); ++i)
        items.push_back(combo->GetLBText(i));
    return items;
}

}  // namespace

TEST(SizeSetupDialog, TheCommandEditsTheStyleAndTheFourFormats) {
    DimensionHarness h;
    ASSERT_TRUE(h.ItemState(kSizeSettingsCommand).first);
    h.dialogs.Script(141, DialogScript()
                              .SetText(1022, "4.5")
                              .SetText(1015, "1.5")
                              .SetText(1016, "2.5")
                              .SetText(1017, "3.5")
                              .SetText(1018, "9")
                              .Select(1020, 3)
                              .SetText(1019, "2.25")
                              .SelectString(1115, "1,234")
                              .SelectString(1116, "1,234.1°")
                              .SelectString(1113, "R1,234.1")
                              .SelectString(1114, "Φ1,234.1")
                              .Ok());
    h.view->SendCommand(kSizeSettingsCommand);
    const MSizeStyle& style = GetDefaultSizeStyle();
    EXPECT_EQ(style.m_textHeight, 4.5);
    EXPECT_EQ(style.m_textGap, 1.5);
    EXPECT_EQ(style.m_extensionGap, 2.5);
    EXPECT_EQ(style.m_extensionOvershoot, 3.5);  // "線下がり"
    EXPECT_EQ(style.m_outsideLeader, 9.0);       // "はみ出し"
    EXPECT_EQ(style.m_arrowStyle, 3);
    EXPECT_EQ(style.m_arrowSize, 2.25);
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_LINEAR).m_name, "1,234");
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_ANGLE).m_name, "1,234.1°");
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_RADIUS).m_name, "R1,234.1");
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_DIAMETER).m_name, "Φ1,234.1");

    // The drawing's "SIZE" block holds them and gives them back.
    EXPECT_THAT(h.NativeText(), HasSubstr("\t4.5 2.5 9 3.5 1.5 3 2.25\n\t1,234\n"));
    const std::string block = WrittenBlock();
    const MSizeStyle edited = style;
    ResetSizeFormats();
    GetDefaultSizeStyle() = MSizeStyle();
    std::istringstream in(block);
    ASSERT_TRUE(ReadSizeSettings(in));
    EXPECT_EQ(GetDefaultSizeStyle(), edited);
    EXPECT_EQ(WrittenBlock(), block);
}

TEST(SizeSetupDialog, CancelChangesNothing) {
    DimensionHarness h;
    const std::string before = WrittenBlock();
    h.dialogs.Script(141,
                     DialogScript().SetText(1022, "9").Select(1020, 0).SelectString(1115, "1,234").Cancel());
    h.view->SendCommand(kSizeSettingsCommand);
    EXPECT_TRUE(h.dialogs.Opened(141));
    EXPECT_EQ(WrittenBlock(), before);
}

TEST(SizeSetupDialog, AFormatAddedInTheFormatDialogIsOfferedAtOnce) {
    DimensionHarness h;
    h.dialogs.Script(169, DialogScript().SelectString(1123, "新規").SetText(1126, "自分").Click(1121).Ok());
    std::vector<std::vector<std::string>> shown;
    h.dialogs.Script(141, DialogScript()
                              .Click(1127)
                              .Do([&](CDialog& d) {
                                  for (int id : kFormatCombos)
                                      shown.push_back(Items(d, id));
                              })
                              .SelectString(1115, "自分")
                              .Ok());
    h.view->SendCommand(kSizeSettingsCommand);
    ASSERT_EQ(shown.size(), 4u);
    for (const auto& items : shown) {
        ASSERT_EQ(items.size(), 10u);
        EXPECT_EQ(items[9], "自分");  // before the template, which no combo offers
    }
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_LINEAR).m_name, "自分");
    // The others kept what they showed.
    EXPECT_EQ(GetCurrentSizeFormat(SIZEFORMAT_ANGLE).m_name, "1234.1°");
}

TEST(SizeSetupDialog, ABlockWithoutTheTemplateOffersEveryFormat) {
    DimensionHarness h;
    std::ostringstream os;
    os << "\t2\n\tA\n\t\n\t\n\t1 0 0 0\n\tB\n\t\n\t\n\t1 0 0 0\n";
    MSizeStyle().WriteText(os);
    for (int i = 0; i < 4; ++i)
        os << "\tB\n\t\n\t\n\t1 0 0 0\n";
    std::istringstream in(os.str());
    ASSERT_TRUE(ReadSizeSettings(in));
    std::vector<std::string> items;
    h.dialogs.Script(141, DialogScript().Do([&](CDialog& d) { items = Items(d, 1115); }).Cancel());
    h.view->SendCommand(kSizeSettingsCommand);
    EXPECT_EQ(items, (std::vector<std::string>{"A", "B"}));
}

TEST(SizeSetupDialog, AFontThisMachineLacksSurvivesOk) {
    DimensionHarness h;
    GetDefaultSizeStyle().m_fontName = "無い書体 Tessaray";
    std::string shown;
    h.dialogs.Script(141, DialogScript().Read(1021, &shown).SetText(1022, "5").Ok());
    h.view->SendCommand(kSizeSettingsCommand);
    EXPECT_EQ(shown, "無い書体 Tessaray");
    EXPECT_EQ(GetDefaultSizeStyle().m_fontName, "無い書体 Tessaray");
    EXPECT_EQ(GetDefaultSizeStyle().m_textHeight, 5.0);

    // An installed one chosen instead is taken.
    std::string chosen;
    h.dialogs.Script(141, DialogScript()
                              .Do([&](CDialog& d) {
                                  auto* combo = d.GetDlgItemAs<CComboBox>(1021);
                                  const int other = combo->GetLBText(0) == "無い書体 Tessaray" ? 1 : 0;
                                  ASSERT_LT(other, combo->GetCount());
                                  chosen = combo->GetLBText(other);
                                  combo->ChooseItem(other);
                              })
                              .Ok());
    h.view->SendCommand(kSizeSettingsCommand);
    EXPECT_EQ(GetDefaultSizeStyle().m_fontName, chosen);
}

TEST(SizeTextDialog, EditSetsTheUsersTextOrMeasuresAgain) {
    DimensionHarness h;
    h.Choose(ID_TOOL_SIZE);
    h.Dimension({0, 0}, {100, 0}, {50, 20});
    ASSERT_EQ(h.Dimensions().size(), 1u);
    MSizeShape& s = *h.Dimensions()[0];

    h.dialogs.Script(263, DialogScript().SetText(1093, "全長").Ok());
    EXPECT_TRUE(EditShape(s, h.view.get()));
    EXPECT_TRUE(s.IsUserText());
    EXPECT_EQ(s.GetText(), "全長");

    h.dialogs.Script(263, DialogScript().SetCheck(1090, 0).Ok());
    EXPECT_TRUE(EditShape(s, h.view.get()));
    EXPECT_FALSE(s.IsUserText());
    EXPECT_EQ(s.GetText(), " 100 ");
}

TEST(SizeTextDialog, OptionsEditTheDimensionsStyleAndCancelLeavesTheDimension) {
    DimensionHarness h;
    h.Choose(ID_TOOL_SIZE);
    h.Dimension({0, 0}, {100, 0}, {50, 20});
    MSizeShape& s = *h.Dimensions()[0];
    s.SetSizeStyle(MSizeStyle());  // not the program-wide one, to tell them apart

    h.dialogs.Script(141, DialogScript().SetText(1022, "7").Ok());
    h.dialogs.Script(263, DialogScript().Click(1086).Ok());
    EXPECT_TRUE(EditShape(s, h.view.get()));
    EXPECT_EQ(s.GetSizeStyle().m_textHeight, 7.0);
    EXPECT_EQ(s.GetSizeStyle().m_outsideLeader, MSizeStyle().m_outsideLeader);  // from the dimension
    // As the settings do everywhere, their OK also set the program-wide style.
    EXPECT_EQ(GetDefaultSizeStyle().m_textHeight, 7.0);

    const MSizeStyle kept = s.GetSizeStyle();
    h.dialogs.Script(141, DialogScript().SetText(1022, "8").Ok());
    h.dialogs.Script(263, DialogScript().SetText(1093, "いいえ").Click(1086).Cancel());
    EXPECT_FALSE(EditShape(s, h.view.get()));
    EXPECT_EQ(s.GetSizeStyle(), kept);
    EXPECT_EQ(s.GetText(), " 100 ");
    EXPECT_FALSE(s.IsUserText());
    EXPECT_EQ(GetDefaultSizeStyle().m_textHeight, 8.0);  // not taken back
}
