#include "model/SnapPoint.h"

#include <algorithm>
#include <cmath>

#include "platform/Exceptions.h"

namespace {
MFloatRect* g_offerReach = nullptr;
const MSnapCancel* g_cancel = nullptr;
}  // namespace

MSnapCancelScope::MSnapCancelScope(const MSnapCancel* cancel) : m_previous(g_cancel) {
    g_cancel = cancel;
}

MSnapCancelScope::~MSnapCancelScope() {
    g_cancel = m_previous;
}

bool SnapSearchCancelled() {
    return g_cancel && *g_cancel && (*g_cancel)();
}

MSnapOfferWatch::MSnapOfferWatch(MFloatRect* reach) : m_previous(g_offerReach) {
    g_offerReach = reach;
}

MSnapOfferWatch::~MSnapOfferWatch() {
    g_offerReach = m_previous;
}

double OfferSnapCandidate(MSnapPoint& best, const MFloatPoint& cursor, const MFloatRect& searchRect,
                          const MFloatPoint& candidate, WORD kind, double bestDistance, MCadShape* shape,
                          MCadShape* extra) {
    if (g_offerReach) {
        MFloatRect& r = *g_offerReach;
        r.left = std::min(r.left, candidate.x);
        r.right = std::max(r.right, candidate.x);
        r.bottom = std::min(r.bottom, candidate.y);
        r.top = std::max(r.top, candidate.y);
    }
    if (!searchRect.ContainsPoint(candidate)) return bestDistance;
    const double d = std::hypot(candidate.x - cursor.x, candidate.y - cursor.y);
    // Strictly nearer only: the first of equally near candidates stays. A NaN never wins.
    if (!(d < bestDistance)) return bestDistance;
    best.x = candidate.x;
    best.y = candidate.y;
    best.kind = kind;
    best.shape1 = shape;
    best.shape2 = extra;
    return d;
}

int MSnapPointArray::Add(const MFloatPoint& point, WORD kind, MCadShape* shape1, MCadShape* shape2) {
    m_points.emplace_back(point, kind, shape1, shape2);
    return static_cast<int>(m_points.size()) - 1;
}

void MSnapPointArray::RemoveAt(int index) {
    if (index < 0 || index >= GetCount()) AfxThrowInvalidArgException();
    m_points.erase(m_points.begin() + index);
}

void MSnapPointArray::RemoveAll() {
    m_points.clear();
    m_points.shrink_to_fit();
}

const MSnapPoint& MSnapPointArray::GetAt(int index) const {
    if (index < 0 || index >= GetCount()) AfxThrowInvalidArgException();
    return m_points[static_cast<std::size_t>(index)];
}

int MSnapPointArray::FindByShape(const MCadShape* shape) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_points[static_cast<std::size_t>(i)].shape1 == shape) return i;
    return -1;
}

int MSnapPointArray::FindByShapePair(const MCadShape* shapeA, const MCadShape* shapeB, int start) const {
    for (int i = start < 0 ? 0 : start; i < GetCount(); ++i) {
        const MSnapPoint& p = m_points[static_cast<std::size_t>(i)];
        if (p.InvolvesShape(shapeA) && p.InvolvesShape(shapeB)) return i;
    }
    return -1;
}
