// The tools' shape editors: each fills its dialog from the shape, in paper millimetres where the
// dialog shows lengths, and applies it back only on IDOK.
#include <gtest/gtest.h>

#include <memory>
#include <numbers>

#include "model/PaperInfo.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/ShapeEditors.h"
#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/dimension/AngleShape.h"
#include "model/shapes/dimension/RadiusShape.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/model/shapes/ShapeTestSupport.h"
#include "tools/ShapeEditors.h"

namespace {

class ShapeEditorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        shapetest::EnsureRegistered();
        InstallToolShapeEditors();
        ResetSizeFormats();
        GetDefaultSizeStyle() = MSizeStyle();
        // The tests' own dialogs go over the default factory, whose dialogs cancel.
        m_installed = SetShapeDialogFactory(nullptr);
    }
    void TearDown() override { SetShapeDialogFactory(m_installed); }
    static std::unique_ptr<MLabelShape> MakeLabel(std::initializer_list<MFloatPoint> leader) {
        auto l = std::make_unique<MLabelShape>();
        for (const MFloatPoint& p : leader)
            l->AddLeaderPoint(nullptr, p);
        l->SetString("注記");
        return l;
    }
    static std::unique_ptr<MBalloonShape> MakeBalloon(std::initializer_list<MFloatPoint> leader) {
        auto b = std::make_unique<MBalloonShape>();
        for (const MFloatPoint& p : leader)
            b->AddLeaderPoint(nullptr, p);
        b->SetString("12");
        return b;
    }
    static MTextShape MakeText(const char* s) {
        MTextShape t;
        t.SetString(s);
        t.SetTextSize(8.0);
        return t;
    }
    // A box 50 wide and 30 high, text height 10.
    static MMultiTextShape MakeBox(const char* text) {
        MMultiTextShape t;
        t.SetString(text);
        t.SetTextSize(10);
        t.SetBoxSize(50, -30);
        return t;
    }
    // A horizontal dimension of (0, 0)-(100, 0) with its line at y = 20.
    static std::unique_ptr<MSizeShape> Horizontal() {
        auto s = std::make_unique<MSizeShape>();
        s->SetPoints({0, 0}, {100, 0}, {0, 20}, {100, 20}, {50, 20});
        s->UpdateText();
        return s;
    }
    shapetest::TestView view;  // 10 pixels per drawing unit
    MShapeDialogFactory* m_installed = nullptr;
};

struct LabelFactory : MShapeDialogFactory {
    std::unique_ptr<MInputLabelDialog> CreateInputLabelDialog(MCadView*) override {
        struct Dialog : MInputLabelDialog {
            int DoModal() override {
                seenSize = m_textSize;
                seenOffset = m_textOffset;
                m_string = "edited";
                m_textSize = 5;
                m_textOffset = 1;
                m_arrowStyle = 6;
                m_arrowSize = 2;
                return IDOK;
            }
        };
        return std::make_unique<Dialog>();
    }
    static inline double seenSize = 0, seenOffset = 0;
};

struct BalloonFactory : MShapeDialogFactory {
    std::unique_ptr<MInputBalloonDialog> CreateInputBalloonDialog(MCadView*) override {
        struct Dialog : MInputBalloonDialog {
            int DoModal() override {
                seenMax = m_maxRadius;
                seenUseMin = m_useMinRadius;
                m_string = "B";
                m_textSize = 3;
                m_minRadius = 5;
                m_useMinRadius = TRUE;
                m_maxRadius = 8;
                m_useMaxRadius = FALSE;
                return IDOK;
            }
        };
        return std::make_unique<Dialog>();
    }
    static inline double seenMax = 0;
    static inline BOOL seenUseMin = TRUE;
};

struct TextEditFactory : MShapeDialogFactory {
    std::unique_ptr<MTextInputDialog> CreateTextInputDialog() override {
        struct Dialog : MTextInputDialog {
            int DoModal() override {
                seenText = m_text;
                seenAngle = m_angle;
                seenAlignment = GetAlignment();
                m_text = "新しい";
                m_angle = 90;
                m_alignIndex = 4;  // centre, middle
                m_vertical = TRUE;
                return IDOK;
            }
        };
        return std::make_unique<Dialog>();
    }
    static inline CString seenText;
    static inline double seenAngle = 0;
    static inline int seenAlignment = 0;
};

struct SizeTextFactory : MShapeDialogFactory {
    std::unique_ptr<MInputSizeTextDialog> CreateInputSizeTextDialog(MCadView*, MCadShape*) override {
        struct Dialog : MInputSizeTextDialog {
            int DoModal() override {
                seen = m_text;
                m_style->m_textHeight = 5;
                m_userText = userText;
                m_text = "手入力";
                return IDOK;
            }
        };
        return std::make_unique<Dialog>();
    }
    static inline CString seen;
    static inline BOOL userText = TRUE;
};

}  // namespace

// A shape takes the editor of its nearest class that has one: the dimensions share theirs, while
// the plain group they are stored as, the label's base and a line have none.
TEST_F(ShapeEditorsTest, WhichShapesCanBeEdited) {
    EXPECT_TRUE(CanEditShape(MLabelShape()));
    EXPECT_TRUE(CanEditShape(MBalloonShape()));
    EXPECT_TRUE(CanEditShape(MMultiTextShape()));
    EXPECT_TRUE(CanEditShape(MSizeShape()));
    EXPECT_TRUE(CanEditShape(MAngleShape()));
    EXPECT_TRUE(CanEditShape(MRadiusSizeShape()));
    EXPECT_FALSE(CanEditShape(MLabelShapeBase()));
    EXPECT_FALSE(CanEditShape(MGroupShape()));
    EXPECT_FALSE(CanEditShape(MLineShape()));
}

TEST_F(ShapeEditorsTest, LabelEditWorksInPaperMillimetres) {
    MPaperInfo paper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1 : 100", 0.01), 1, 0);
    MCadView scaled(&paper);
    LabelFactory factory;
    MShapeDialogFactory* previous = SetShapeDialogFactory(&factory);
    auto l = MakeLabel({{0, 0}, {100, 100}});
    l->SetTextSize(400);
    l->SetTextOffset(50);
    EXPECT_TRUE(EditShape(*l, &scaled));
    SetShapeDialogFactory(previous);
    EXPECT_DOUBLE_EQ(LabelFactory::seenSize, 4);
    EXPECT_DOUBLE_EQ(LabelFactory::seenOffset, 0.5);
    EXPECT_EQ(l->GetString(), "edited");
    EXPECT_DOUBLE_EQ(l->GetTextSize(), 500);
    EXPECT_DOUBLE_EQ(l->GetTextOffset(), 100);
    EXPECT_EQ(l->GetArrows(), MArrowInfo(6, 2.0, 0, 0.0));
    EXPECT_EQ(l->GetTextMember()->GetString(), "edited");
    EXPECT_FALSE(EditShape(*l, &scaled));  // the default factory cancels
}

TEST_F(ShapeEditorsTest, BalloonRadiusBoundsAreEditedInPaperMillimetresLikeTheTextSize) {
    MPaperInfo paper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1 : 100", 0.01), 1, 0);
    MCadView scaled(&paper);
    BalloonFactory factory;
    MShapeDialogFactory* previous = SetShapeDialogFactory(&factory);
    auto b = MakeBalloon({{0, 0}, {1000, 0}});
    b->SetRadiusBounds(0, 600);  // 6 mm on paper
    EXPECT_TRUE(EditShape(*b, &scaled));
    SetShapeDialogFactory(previous);
    EXPECT_DOUBLE_EQ(BalloonFactory::seenMax, 6);
    EXPECT_FALSE(BalloonFactory::seenUseMin);
    EXPECT_DOUBLE_EQ(b->GetTextSize(), 300);
    EXPECT_DOUBLE_EQ(b->GetMinRadius(), 500);
    EXPECT_EQ(b->GetMaxRadius(), 0.0);
    // The 5 mm bound holds the circle on paper at 1 : 100.
    EXPECT_GE(b->GetCircle()->m_radius, 500);
}

TEST_F(ShapeEditorsTest, TextEditTakesTheDialogsValues) {
    TextEditFactory factory;
    using Factory = TextEditFactory;
    MShapeDialogFactory* previous = SetShapeDialogFactory(&factory);
    MTextShape t = MakeText("old");
    t.SetAngle(std::numbers::pi / 4);
    t.SetAlignment(9);
    EXPECT_TRUE(CanEditShape(t));
    EXPECT_TRUE(EditShape(t, &view));
    SetShapeDialogFactory(previous);
    EXPECT_EQ(Factory::seenText, "old");
    EXPECT_NEAR(Factory::seenAngle, 45, 1e-9);
    EXPECT_EQ(Factory::seenAlignment, 9);
    EXPECT_EQ(t.GetString(), "新しい");
    EXPECT_NEAR(t.GetAngle(), std::numbers::pi / 2, 1e-12);
    EXPECT_EQ(t.GetAlignment(), 5);
    EXPECT_TRUE(t.HasTextFlag(kTextVertical));
    EXPECT_NE(t.GetBoxWidth(), 1.0);  // measured again

    // The default factory cancels: nothing changes.
    EXPECT_FALSE(EditShape(t, &view));
    EXPECT_EQ(t.GetString(), "新しい");
}

TEST_F(ShapeEditorsTest, MultiTextEditTakesTextWrapAndAlignmentWithoutMeasuring) {
    struct Factory : MShapeDialogFactory {
        std::unique_ptr<MInputMultiTextDialog> CreateInputMultiTextDialog() override {
            struct Dialog : MInputMultiTextDialog {
                int DoModal() override {
                    m_text = "one\r\ntwo";
                    m_wrap = TRUE;
                    m_alignIndex = 8;
                    m_angle = 180;
                    return IDOK;
                }
            };
            return std::make_unique<Dialog>();
        }
    } factory;
    MShapeDialogFactory* previous = SetShapeDialogFactory(&factory);
    MMultiTextShape t = MakeBox("x");
    EXPECT_TRUE(EditShape(t, &view));
    SetShapeDialogFactory(previous);
    EXPECT_EQ(t.GetString(), "one\ntwo");
    EXPECT_TRUE(t.IsWrap());
    EXPECT_EQ(t.GetAlignment(), 10);
    EXPECT_NEAR(t.GetAngle(), std::numbers::pi, 1e-12);
    EXPECT_EQ(t.GetBoxWidth(), 50);
}

TEST_F(ShapeEditorsTest, DimensionEditTakesStyleAndUserText) {
    SizeTextFactory factory;
    SizeTextFactory::userText = TRUE;
    MShapeDialogFactory* previous = SetShapeDialogFactory(&factory);
    auto s = Horizontal();
    EXPECT_TRUE(EditShape(*s, &view));
    EXPECT_EQ(SizeTextFactory::seen, " 100 ");
    EXPECT_EQ(s->GetText(), "手入力");
    EXPECT_TRUE(s->IsUserText());
    EXPECT_EQ(s->GetSizeStyle().m_textHeight, 5);
    EXPECT_TRUE(s->IsBuilt());
    EXPECT_EQ(dynamic_cast<MTextShape*>(s->GetShapeAt(0))->GetTextSize(), 5);
    SizeTextFactory::userText = FALSE;
    EXPECT_TRUE(EditShape(*s, &view));
    EXPECT_FALSE(s->IsUserText());
    EXPECT_EQ(s->GetText(), " 100 ");
    SetShapeDialogFactory(previous);
    EXPECT_FALSE(EditShape(*s, &view));  // cancelled
}
