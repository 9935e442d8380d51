// The declared steps of a construction, their prompts and the points their releases left. A tool
// declares its steps once (MDrawTool::DeclareSteps, or only the prompts with LoadPrompt); the tool base walks
// them over the tool's current step number: which step a release takes, which ones a fixed value passes over,
// when the construction is complete. The tool's figure reads the points through Steps().Point(i).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/geometry/FloatPoint.h"
#include "platform/WinTypes.h"

class MTessarayView;
using CString = std::string;

// One step of a construction: a release takes its point; its prompt is the step prompt of its
// index.
struct MToolStep {
    using Action = std::function<bool(MTessarayView*, const MFloatPoint&)>;
    // A fixed value stands for the point (a locked radius, say): the step is passed over, also
    // when the value is fixed while the step is current.
    std::function<bool()> fixed;
    // The press takes the step at once (a dialog, say), the figure goes on with the next step;
    // false when the action cancelled the construction. Null: the release takes it.
    Action atPress;
    // The release runs an action before the construction goes on or completes (a dialog, say);
    // false when the action dropped the construction: the release ends it.
    Action atRelease;
    // Every further release takes this step again (a chain): none completes the construction.
    bool repeats = false;

    static MToolStep SkippedWhen(std::function<bool()> fixed) {
        MToolStep step;
        step.fixed = std::move(fixed);
        return step;
    }
    static MToolStep TakenAtPress(Action action) {
        MToolStep step;
        step.atPress = std::move(action);
        return step;
    }
    static MToolStep AskedAtRelease(Action action) {
        MToolStep step;
        step.atRelease = std::move(action);
        return step;
    }
    static MToolStep Repeating(Action atRelease = nullptr) {
        MToolStep step;
        step.atRelease = std::move(atRelease);
        step.repeats = true;
        return step;
    }
};

class MToolSteps {
public:
    void Declare(std::vector<MToolStep> steps) { m_declared = std::move(steps); }
    BOOL IsDeclared() const { return m_declared.empty() ? FALSE : TRUE; }
    // The declared step, null outside them (-1 before the first has begun).
    const MToolStep* Find(int step) const;

    // The prompts of the steps (step i shows the i-th) and of the picks (the pick count's, the last
    // for more).
    void SetPrompts(std::vector<CString> steps, std::vector<CString> picks);
    const std::vector<CString>& StepPrompts() const { return m_stepPrompts; }
    const std::vector<CString>& PickPrompts() const { return m_pickPrompts; }
    // While picking (or before the first step has begun, -1) the pick count's prompt, else the
    // step's; empty for none.
    CString Prompt(bool picking, int step, int pickCount) const;

    // The point the release of a step left; a step passed over left none (the origin).
    MFloatPoint Point(int step) const;
    // Whether a release took the step (FALSE for one passed over or not reached).
    BOOL HasPoint(int step) const;
    // Every point forgotten (a new construction).
    void ForgetPoints() { m_points.clear(); }

    // The road over the tool's current step.
    // Whether a declared step is passed over now.
    BOOL IsSkipped(int step) const;
    // The release of the current step completes the construction: every later step is passed
    // over. Never before the first step has begun (-1) nor on a repeating step.
    BOOL IsFinal(int current) const;
    // A release that did not complete: the step's point is kept and the next step not passed over
    // begins; a repeating step stays, an unsound point (sound() false) is asked again. Without
    // declared steps the step only counts on.
    void Take(int& current, const MFloatPoint& point, const std::function<bool()>& sound);
    // From a step whose value is fixed on to the next declared one, up to the last.
    void PassFixed(int& current) const;
    // An earlier step (or -1) is current again; the points from it on are forgotten.
    void BeginAgain(int& current, int step);

private:
    std::vector<MToolStep> m_declared;
    std::vector<CString> m_stepPrompts;
    std::vector<CString> m_pickPrompts;
    std::vector<std::optional<MFloatPoint>> m_points;
};
