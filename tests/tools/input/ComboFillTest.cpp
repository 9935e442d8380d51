// The shared combo fillers: font names and arrow kinds.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>

#include "tools/input/ComboFill.h"

namespace {

std::vector<std::string> Items(const CComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.GetCount(); ++i)
        items.push_back(combo.GetLBText(i));
    return items;
}

TEST(ComboFill, FontNamesHoldTheWindowsFacesAndTheInstalledFamilies) {
    CWnd parent;
    parent.Create(nullptr, 0);
    CComboBox combo;
    combo.Create(CBS_DROPDOWN | CBS_SORT, &parent, 1);
    combo.AddString("古い項目");
    FillFontCombo(combo);
    const std::vector<std::string> items = Items(combo);
    auto has = [&](const std::string& name) {
        return std::find(items.begin(), items.end(), name) != items.end();
    };
    EXPECT_FALSE(has("古い項目"));  // emptied first
    EXPECT_TRUE(has("ＭＳ ゴシック"));
    EXPECT_TRUE(has("ＭＳ 明朝"));
    int installed = 0;
    for (const QString& family : QFontDatabase::families())
        installed += !QFontDatabase::isPrivateFamily(family) && has(family.toStdString());
    EXPECT_GT(installed, 0);
    for (const std::string& name : items)
        EXPECT_NE(name.front(), '@') << name;
    EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    }));
}

TEST(ComboFill, ArrowKindsAreListedInTheTableOrderAndSelected) {
    CWnd parent;
    parent.Create(nullptr, 0);
    CComboBox combo;
    combo.Create(CBS_DROPDOWNLIST, &parent, 1);
    FillArrowStyleCombo(combo, 4);
    const char* texts[] = {"なし", "矢印", "三角", "斜線", "バツ", "白丸", "黒丸"};
    ASSERT_EQ(combo.GetCount(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(combo.GetLBText(i), texts[i]);
    EXPECT_EQ(combo.GetCurSel(), 4);
}

}  // namespace
