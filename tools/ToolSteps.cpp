// The declared steps' road: which step a release takes, which ones a fixed value passes over and
// when the construction is complete.
#include "tools/ToolSteps.h"

#include <algorithm>
#include <cstddef>

const MToolStep* MToolSteps::Find(int step) const {
    if (step < 0 || static_cast<std::size_t>(step) >= m_declared.size()) return nullptr;
    return &m_declared[static_cast<std::size_t>(step)];
}

void MToolSteps::SetPrompts(std::vector<CString> steps, std::vector<CString> picks) {
    m_stepPrompts = std::move(steps);
    m_pickPrompts = std::move(picks);
}

CString MToolSteps::Prompt(bool picking, int step, int pickCount) const {
    if (picking || step < 0) {
        if (m_pickPrompts.empty()) return CString();
        return m_pickPrompts[static_cast<std::size_t>(
            std::min(pickCount, static_cast<int>(m_pickPrompts.size()) - 1))];
    }
    if (static_cast<std::size_t>(step) < m_stepPrompts.size())
        return m_stepPrompts[static_cast<std::size_t>(step)];
    return CString();
}

MFloatPoint MToolSteps::Point(int step) const {
    return HasPoint(step) ? *m_points[step] : MFloatPoint();
}

BOOL MToolSteps::HasPoint(int step) const {
    return step >= 0 && static_cast<std::size_t>(step) < m_points.size() && m_points[step] ? TRUE : FALSE;
}

BOOL MToolSteps::IsSkipped(int step) const {
    const MToolStep* declared = Find(step);
    return declared && declared->fixed && declared->fixed() ? TRUE : FALSE;
}

BOOL MToolSteps::IsFinal(int current) const {
    const int count = static_cast<int>(m_declared.size());
    if (current < 0) return FALSE;
    if (current < count && m_declared[current].repeats) return FALSE;
    for (int step = current + 1; step < count; ++step)
        if (!IsSkipped(step)) return FALSE;
    return TRUE;
}

void MToolSteps::Take(int& current, const MFloatPoint& point, const std::function<bool()>& sound) {
    if (m_declared.empty()) {
        ++current;
        return;
    }
    const int count = static_cast<int>(m_declared.size());
    if (current >= 0) {
        if (!sound()) return;
        if (m_points.size() <= static_cast<std::size_t>(current)) m_points.resize(current + 1);
        m_points[current] = point;
        if (current < count && m_declared[current].repeats) return;
    }
    ++current;
    PassFixed(current);
}

void MToolSteps::PassFixed(int& current) const {
    // A value fixed while its step is current passes it at once. The last step stays: its release
    // completes.
    const int count = static_cast<int>(m_declared.size());
    while (current >= 0 && current + 1 < count && IsSkipped(current))
        ++current;
}

void MToolSteps::BeginAgain(int& current, int step) {
    if (step < -1 || step > current) return;
    current = step;
    const std::size_t kept = step < 0 ? 0 : static_cast<std::size_t>(step);
    if (m_points.size() > kept) m_points.resize(kept);
}
