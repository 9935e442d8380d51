// The hatch dialog's directions as check buttons showing their lines; the line count grouped under 種類.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DialogRunner.h"
#include "resources/ResourceIds.h"
#include "tools/edit/HatchDialog.h"

namespace {

constexpr int kDirections[4] = {IDC_HATCH_HORIZONTAL, IDC_HATCH_VERTICAL, IDC_HATCH_FALLING,
                                IDC_HATCH_RISING};

// The dark pixels of a square picture, as rows of '#' and '.'.
std::vector<std::string> Dark(const CBitmap& picture, int side) {
    std::vector<std::string> rows;
    for (int y = 0; y < side; ++y) {
        rows.emplace_back();
        for (int x = 0; x < side; ++x)
            rows.back() += (picture.GetPixel(x, y) & 0xFFFFFF) == 0 ? '#' : '.';
    }
    return rows;
}

}  // namespace

TEST(HatchDialog, DirectionsAreCheckButtonsShowingTheirLines) {
    DialogRunner runner;
    MHatchValues values;
    MHatchDialog dialog(nullptr, values);
    bool looked = false;
    runner.Script(IDD_HATCH,
                  DialogScript()
                      .Do([&](CDialog& d) {
                          for (int k = 0; k < 4; ++k) {
                              auto* button = d.GetDlgItemAs<CButton>(kDirections[k]);
                              ASSERT_NE(button, nullptr);
                              EXPECT_EQ(button->GetBitmap(), &dialog.GetDirectionPicture(k)) << k;
                              EXPECT_EQ(button->GetButtonStyle() & 0xF, 0u) << "a button, not a box";
                          }
                          const CSize size = dialog.GetDirectionPicture(0).GetBitmapDimension();
                          ASSERT_TRUE(size.cx == size.cy && size.cx > 4);
                          const std::size_t side = size.cx, mid = side / 2;
                          // Each picture holds exactly its line, end to end.
                          for (int k = 0; k < 4; ++k) {
                              std::vector<std::string> line(side, std::string(side, '.'));
                              for (std::size_t i = 0; i < side; ++i) {
                                  const std::size_t x[4] = {i, mid, i, i}, y[4] = {mid, i, i, side - 1 - i};
                                  line[y[k]][x[k]] = '#';
                              }
                              EXPECT_EQ(Dark(dialog.GetDirectionPicture(k), int(side)), line) << k;
                          }
                          int kinds = 0;
                          for (QGroupBox* box : d.GetWidget()->findChildren<QGroupBox*>())
                              kinds += box->title() == QStringLiteral("種類");
                          EXPECT_EQ(kinds, 2);
                          looked = true;
                      })
                      .SetCheck(IDC_HATCH_FALLING, 1)
                      .SetCheck(IDC_HATCH_RISING, 0)
                      .Ok());
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(looked);
    EXPECT_EQ(dialog.GetValues().directions, (std::array<int, 4>{0, 0, 1, 0}));
}
