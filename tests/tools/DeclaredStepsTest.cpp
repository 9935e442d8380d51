// Declared steps: which step a release takes, which ones a fixed value passes over (also midway),
// when the construction completes, and a point the figure cannot take.
#include <gmock/gmock.h>

#include "tests/tools/TestTools.h"
#include "tests/tools/ToolTestSupport.h"

using namespace tooltest;

namespace {

// A line from step 0's point to the cursor in three steps; the middle one is passed over while
// `fixed`; a second point on the first is refused.
class ThreeStepTool : public MDrawTool {
public:
    ThreeStepTool() : MDrawTool(1) {
        DeclareSteps(0, 0, {MToolStep(), MToolStep::SkippedWhen([this] { return fixed; }), MToolStep()});
    }
    MCadShape* NewShape(MTessarayView*) override { return new MLineShape(); }
    void BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) override {
        auto* line = static_cast<MLineShape*>(Lists().NewShape(0));
        line->m_start = GetStep() <= 0 ? cursor : Steps().Point(0);
        line->m_end = cursor;
    }
    BOOL IsStepPointSound() override {
        const auto* line = static_cast<MLineShape*>(Lists().NewShape(0));
        return GetStep() < 1 || !line->m_start.IsEqual(line->m_end);
    }
    bool fixed = false;
};

struct StepCase {
    const char* name;
    int fixAfterClick;           // -1: fixed from the start; 99: never
    std::vector<double> clicks;  // x of each click
    std::vector<int> steps;  // the step after each click (or after the fixing move); 0 at the end: committed
};

class DeclaredSteps : public ::testing::TestWithParam<StepCase> {};

TEST_P(DeclaredSteps, AReleaseTakesItsStepAndTheLastOneCompletesInOneUndoStep) {
    const StepCase& c = GetParam();
    ToolHarness h;
    auto* tool = h.Use(new ThreeStepTool, ID_TOOL_LINE);
    tool->fixed = c.fixAfterClick < 0;
    const int before = h.UndoSteps();
    std::vector<int> steps;
    for (std::size_t i = 0; i < c.clicks.size(); ++i) {
        h.Click({c.clicks[i], 3000});
        steps.push_back(tool->GetStep());
        if (static_cast<int>(i) == c.fixAfterClick) {
            tool->fixed = true;
            h.MoveTo({c.clicks[i] + 800, 3000});
            steps.push_back(tool->GetStep());
        }
    }
    EXPECT_EQ(steps, c.steps);
    EXPECT_EQ(h.UndoSteps(), before + 1);
    EXPECT_TRUE(h.NoXorResidue());
}

INSTANTIATE_TEST_SUITE_P(
    Tools, DeclaredSteps,
    ::testing::Values(StepCase{"Plain", 99, {4000, 5000, 6000}, {1, 2, 0}},
                      StepCase{"FixedBefore", -1, {4000, 5000}, {2, 0}},
                      StepCase{"FixedMidway", 0, {4000, 5000}, {1, 2, 0}},
                      StepCase{"UnsoundAskedAgain", 99, {4000, 4000, 5000, 6000}, {1, 1, 2, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
