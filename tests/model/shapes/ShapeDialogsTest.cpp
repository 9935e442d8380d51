#include <gtest/gtest.h>

#include "model/shapes/ShapeDialogs.h"

namespace {

// A scripted factory, as the tests of shapes with editors install it.
class ScriptedFactory : public MShapeDialogFactory {
public:
    std::unique_ptr<MTextInputDialog> CreateTextInputDialog() override {
        struct Dialog : MTextInputDialog {
            int DoModal() override {
                m_text = "typed";
                m_angle = 30;
                m_alignIndex = 5;  // right, middle
                return 1;
            }
        };
        return std::make_unique<Dialog>();
    }
};

}  // namespace

TEST(ShapeDialogsTest, TheDefaultFactoryCancelsEveryDialog) {
    MShapeDialogFactory& factory = GetShapeDialogFactory();
    EXPECT_EQ(factory.CreateTextInputDialog()->DoModal(), 2);
    EXPECT_EQ(factory.CreateInputMultiTextDialog()->DoModal(), 2);
    EXPECT_EQ(factory.CreateInputLabelDialog(nullptr)->DoModal(), 2);
    EXPECT_EQ(factory.CreateInputBalloonDialog(nullptr)->DoModal(), 2);
    EXPECT_EQ(factory.CreateInputSizeTextDialog(nullptr, nullptr)->DoModal(), 2);
    EXPECT_EQ(factory.CreateSizeSetupDialog(nullptr, nullptr)->DoModal(), 2);
}

TEST(ShapeDialogsTest, AnInstalledFactoryIsUsedUntilItIsRemoved) {
    ScriptedFactory scripted;
    EXPECT_TRUE(IsDefaultShapeDialogFactory());
    MShapeDialogFactory* previous = SetShapeDialogFactory(&scripted);
    EXPECT_FALSE(IsDefaultShapeDialogFactory());
    auto dialog = GetShapeDialogFactory().CreateTextInputDialog();
    dialog->SetAlignment(0);
    ASSERT_EQ(dialog->DoModal(), 1);
    EXPECT_EQ(dialog->GetText(), "typed");
    EXPECT_EQ(dialog->GetAlignment(), 2 | 4);
    SetShapeDialogFactory(previous);
    EXPECT_TRUE(IsDefaultShapeDialogFactory());  // the default itself handed back
    EXPECT_EQ(GetShapeDialogFactory().CreateTextInputDialog()->DoModal(), 2);
    SetShapeDialogFactory(nullptr);
    EXPECT_EQ(GetShapeDialogFactory().CreateTextInputDialog()->DoModal(), 2);
}

TEST(ShapeDialogsTest, AlignmentWordAndChoiceIndexMapBothWays) {
    auto holder = GetShapeDialogFactory().CreateInputMultiTextDialog();
    MInputMultiTextDialog& dialog = *holder;
    for (int h = 0; h < 3; ++h)
        for (int v : {0, 4, 8}) {
            dialog.SetAlignment(h | v);
            EXPECT_EQ(dialog.GetAlignment(), h | v);
        }
    dialog.SetAlignment(8 | 2);
    EXPECT_EQ(dialog.m_alignIndex, 8);
}

TEST(ShapeDialogsTest, MultiLineTextComesBackWithLineFeedsOnly) {
    auto dialog = GetShapeDialogFactory().CreateInputMultiTextDialog();
    dialog->m_text = "one\r\ntwo\r\n\r\nthree";
    EXPECT_EQ(dialog->GetText(), "one\ntwo\n\nthree");
}
