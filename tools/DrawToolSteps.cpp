// The tool base: the doors to the declared steps (MToolSteps). A tool that declares its steps
// writes only its figure; the base decides which step a release takes, which ones a fixed value
// passes over and when the construction is complete.
#include <utility>

#include "tools/DrawTool.h"

void MDrawTool::DeclareSteps(UINT stepPromptsId, UINT pickPromptsId, std::vector<MToolStep> steps) {
    LoadPrompt(stepPromptsId, pickPromptsId);
    m_steps.Declare(std::move(steps));
}

int MDrawTool::OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) {
    if (!m_steps.IsDeclared()) return 1;
    const MFloatPoint cursor(x, y);
    m_steps.PassFixed(m_step);
    if (phase == kPhasePress)
        if (const MToolStep* step = m_steps.Find(m_step); step && step->atPress) {
            if (!step->atPress(view, cursor)) return 0;
            m_steps.Take(m_step, cursor, [this] { return IsStepPointSound() != FALSE; });
        }
    BuildFigure(view, cursor, flags);
    if (phase != kPhaseTest || !IsStepPointSound()) return 0;
    if (const MToolStep* step = m_steps.Find(m_step);
        step && step->atRelease && !step->atRelease(view, cursor))
        return 1;
    return m_steps.IsFinal(m_step);
}

void MDrawTool::BeginStepAgain(int step) {
    m_steps.BeginAgain(m_step, step);
}
