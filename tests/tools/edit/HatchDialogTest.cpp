// The hatch settings dialog as the user sees it: four check buttons showing their directions' lines,
// and the line-count group named as the direction group is.
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
    std::vector<std::string> rows(static_cast<std::size_t>(side),
                                  std::string(static_cast<std::size_t>(side), '.'));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if ((picture.GetPixel(x, y) & 0xFFFFFF) == 0)
                rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '#';
    return rows;
}

}  // namespace

TEST(HatchDialog, DirectionsAreCheckButtonsShowingTheirLines) {
    DialogRunner runner;
    MHatchValues values;
    MHatchDialog dialog(nullptr, values);
    bool looked = false;
    runner.Script(
        IDD_HATCH,
        DialogScript()
            .Do([&](CDialog& d) {
                auto* first = d.GetDlgItemAs<CButton>(IDC_HATCH_HORIZONTAL);
                ASSERT_NE(first, nullptr);
                for (int k = 0; k < 4; ++k) {
                    auto* button = d.GetDlgItemAs<CButton>(kDirections[k]);
                    ASSERT_NE(button, nullptr);
                    EXPECT_EQ(button->GetBitmap(), &dialog.GetDirectionPicture(k)) << k;
                    EXPECT_EQ(button->GetButtonStyle() & 0xF, 0u) << "a button, not a box";
                }
                const CSize size = dialog.GetDirectionPicture(0).GetBitmapDimension();
                ASSERT_EQ(size.cx, size.cy);
                ASSERT_GT(size.cx, 4);
                const int side = size.cx;
                const int mid = side / 2;
                // Each picture holds exactly its line, end to end.
                for (int k = 0; k < 4; ++k) {
                    const std::vector<std::string> dark = Dark(dialog.GetDirectionPicture(k), side);
                    int count = 0;
                    for (int i = 0; i < side; ++i) {
                        const std::array<int, 4> x = {i, mid, i, i};
                        const std::array<int, 4> y = {mid, i, i, side - 1 - i};
                        EXPECT_EQ(dark[static_cast<std::size_t>(y[k])][static_cast<std::size_t>(x[k])], '#')
                            << k << " at " << i;
                    }
                    for (const std::string& row : dark)
                        for (char c : row)
                            count += c == '#';
                    EXPECT_EQ(count, side) << k;
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
