// Declared steps: which step a release takes, which ones a fixed value passes over, when the
// construction completes, and a point the figure cannot take.
#include <gmock/gmock.h>

#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"

using namespace tooltest;

namespace {

// A line from step 0's point to the cursor, in three steps; the middle one is passed over while
// `fixed`, and a figure on the start point cannot be taken.
class ThreeStepTool : public MDrawTool {
public:
    ThreeStepTool() : MDrawTool(1) {
        DeclareSteps(0, 0, {MToolStep(), MToolStep::SkippedWhen([this] { return fixed; }), MToolStep()});
    }
    MCadShape* NewShape(MTessarayView*) override { return new MLineShape(); }
    void BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) override {
        auto* line = static_cast<MLineShape*>(GetNewShape(0));
        line->m_start = m_step <= 0 ? cursor : StepPoint(0);
        line->m_end = cursor;
    }
    BOOL IsStepPointSound() override {
        const auto* line = static_cast<MLineShape*>(GetNewShape(0));
        return m_step < 1 || !line->m_start.IsEqual(line->m_end);
    }
    bool fixed = false;
};

struct StepCase {
    const char* name;
    bool fixedBefore;        // fixed before the first click
    bool fixedAtStepOne;     // fixed while step 1 is current, then a move
    std::vector<int> steps;  // the step after each click; 0 after the last means committed
};

class DeclaredSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(DeclaredSteps, AReleaseTakesItsStepAndTheLastOneCompletesInOneUndoStep) {
    const StepCase& c = GetParam();
    ToolHarness h;
    auto* tool = h.Use(new ThreeStepTool, ID_TOOL_LINE);
    tool->fixed = c.fixedBefore;
    const int before = h.UndoSteps();
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        if (i == 1 && c.fixedAtStepOne) {
            tool->fixed = true;
            h.Press({4000.0 + 500 * i, 3000});
            EXPECT_EQ(tool->GetStep(), 2) << "a value fixed while its step is current passes it";
            h.Release({4000.0 + 500 * i, 3000});
        } else {
            h.Click({4000.0 + 500 * i, 3000});
        }
        EXPECT_EQ(tool->GetStep(), c.steps[i]) << "click " << i;
    }
    EXPECT_EQ(h.UndoSteps(), before + 1);
    EXPECT_EQ(tool->GetNewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

INSTANTIATE_TEST_SUITE_P(Tools, DeclaredSteps,
                         ::testing::Values(StepCase{"Plain", false, false, {1, 2, 0}},
                                           StepCase{"FixedBefore", true, false, {2, 0}},
                                           StepCase{"FixedMidway", false, true, {1, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DeclaredStepsPoint, AnUnsoundPointIsAskedAgainAndTheConstructionGoesOnFromThere) {
    ToolHarness h;
    auto* tool = h.Use(new ThreeStepTool, ID_TOOL_LINE);
    h.Click({4000, 3000});
    ASSERT_EQ(tool->GetStep(), 1);
    h.Click({4000, 3000});
    EXPECT_EQ(tool->GetStep(), 1) << "the start point again is no second point";
    h.Click({5000, 3000});
    EXPECT_EQ(tool->GetStep(), 2);
    EXPECT_TRUE(tool->StepPoint(1).IsEqual(tool->GetCurrentPoint())) << "the release point is kept";
    h.ExpectOneUndoStep([&] { h.Click({6000, 3000}); });
}

}  // namespace
