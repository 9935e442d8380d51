// The tool base: declared steps. A tool that declares its steps writes only its figure; the base
// decides which step a release takes, which ones a fixed value passes over and when the
// construction is complete.
#include <cstddef>
#include <utility>

#include "tools/DrawTool.h"

void MDrawTool::DeclareSteps(UINT stepPromptsId, UINT pickPromptsId, std::vector<MToolStep> steps) {
    LoadPrompt(stepPromptsId, pickPromptsId);
    m_declaredSteps = std::move(steps);
}

int MDrawTool::OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) {
    if (m_declaredSteps.empty()) return 1;
    const MFloatPoint cursor(x, y);
    const int count = static_cast<int>(m_declaredSteps.size());
    PassFixedSteps();
    if (phase == kPhasePress && m_step >= 0 && m_step < count && m_declaredSteps[m_step].atPress) {
        if (!m_declaredSteps[m_step].atPress(view, cursor)) return 0;
        TakeStep(cursor);
    }
    BuildFigure(view, cursor, flags);
    if (phase != kPhaseTest || !IsStepPointSound()) return 0;
    if (m_step >= 0 && m_step < count && m_declaredSteps[m_step].atRelease &&
        !m_declaredSteps[m_step].atRelease(view, cursor))
        return 1;
    return IsFinalStep();
}

MFloatPoint MDrawTool::StepPoint(int step) const {
    return HasStepPoint(step) ? *m_stepPoints[step] : MFloatPoint();
}

BOOL MDrawTool::HasStepPoint(int step) const {
    return step >= 0 && static_cast<std::size_t>(step) < m_stepPoints.size() && m_stepPoints[step] ? TRUE
                                                                                                   : FALSE;
}

void MDrawTool::BeginStepAgain(int step) {
    if (step < -1 || step > m_step) return;
    m_step = step;
    const std::size_t kept = step < 0 ? 0 : static_cast<std::size_t>(step);
    if (m_stepPoints.size() > kept) m_stepPoints.resize(kept);
}

BOOL MDrawTool::IsStepSkipped(int step) const {
    if (step < 0 || static_cast<std::size_t>(step) >= m_declaredSteps.size()) return FALSE;
    const MToolStep& declared = m_declaredSteps[step];
    return declared.fixed && declared.fixed() ? TRUE : FALSE;
}

BOOL MDrawTool::IsFinalStep() const {
    const int count = static_cast<int>(m_declaredSteps.size());
    if (m_step < 0) return FALSE;
    if (m_step < count && m_declaredSteps[m_step].repeats) return FALSE;
    for (int step = m_step + 1; step < count; ++step)
        if (!IsStepSkipped(step)) return FALSE;
    return TRUE;
}

void MDrawTool::TakeStep(const MFloatPoint& point) {
    if (m_declaredSteps.empty()) {
        ++m_step;
        return;
    }
    const int count = static_cast<int>(m_declaredSteps.size());
    if (m_step >= 0) {
        if (!IsStepPointSound()) return;
        if (m_stepPoints.size() <= static_cast<std::size_t>(m_step)) m_stepPoints.resize(m_step + 1);
        m_stepPoints[m_step] = point;
        if (m_step < count && m_declaredSteps[m_step].repeats) return;
    }
    ++m_step;
    PassFixedSteps();
}

void MDrawTool::PassFixedSteps() {
    // A value fixed while its step is current passes it at once. The last step stays: its release
    // completes.
    const int count = static_cast<int>(m_declaredSteps.size());
    while (m_step >= 0 && m_step + 1 < count && IsStepSkipped(m_step))
        ++m_step;
}
