// Snap records and the rule by which every shape offers its snap candidates: the nearest candidate
// inside the search square wins, and of equally near candidates the first offered stays.
#pragma once

#include <functional>
#include <vector>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class MCadShape;
class MCadView;

// Snap kinds (16-bit); a snap mode is a set of them.
enum : WORD {
    kSnapEndPoint = 0x1,
    kSnapIntersection = 0x2,
    kSnapMidPoint = 0x4,
    kSnapCenter = 0x8,
    kSnapGrid = 0x10,
    kSnapBasePoint = 0x20,
    kSnapOnShape = 0x1000,
};

struct MSnapPoint {
    MSnapPoint() = default;
    MSnapPoint(double px, double py, WORD k) : x(px), y(py), kind(k) {}
    MSnapPoint(const MFloatPoint& p, WORD k, MCadShape* s1 = nullptr, MCadShape* s2 = nullptr)
        : x(p.x), y(p.y), kind(k), shape1(s1), shape2(s2) {}

    MFloatPoint GetPoint() const { return MFloatPoint(x, y); }
    bool InvolvesShape(const MCadShape* shape) const { return shape1 == shape || shape2 == shape; }

    double x = 0.0;
    double y = 0.0;
    // 0 while nothing has been found.
    WORD kind = 0;
    // The shape that produced the point, or null.
    MCadShape* shape1 = nullptr;
    // For an intersection the other shape; otherwise whatever the offering shape passes (mostly null).
    MCadShape* shape2 = nullptr;
};

// Offers one candidate to a search. The candidate must lie inside the search rectangle (edges
// included, y up) and be strictly nearer the cursor than the best so far; then it becomes the best
// record and its distance is returned. Otherwise bestDistance comes back unchanged. A search starts
// with bestDistance = DBL_MAX and a record of kind 0.
double OfferSnapCandidate(MSnapPoint& best, const MFloatPoint& cursor, const MFloatRect& searchRect,
                          const MFloatPoint& candidate, WORD kind, double bestDistance, MCadShape* shape,
                          MCadShape* extra = nullptr);

// While one lives, every candidate offered through OfferSnapCandidate, inside the search rectangle
// or not, also grows *reach (the snap index learns from it where a shape offers its points). One at
// a time, on the user-interface thread.
class MSnapOfferWatch {
public:
    explicit MSnapOfferWatch(MFloatRect* reach);
    ~MSnapOfferWatch();
    MSnapOfferWatch(const MSnapOfferWatch&) = delete;
    MSnapOfferWatch& operator=(const MSnapOfferWatch&) = delete;

private:
    MFloatRect* m_previous;
};

// Asked between the shapes of a long snap search; true ends the search with the best found so far.
using MSnapCancel = std::function<bool()>;

// One snap search near the pointer. The point kinds need only the cursor and the aperture square
// around it in drawing units; the on-shape kind hit-tests in the view's logical pixels.
struct MSnapQuery {
    MFloatPoint cursor;
    // Normalised (left <= right, bottom <= top).
    MFloatRect aperture;
    WORD kinds = 0;
    // Snaps on the current layer only, whatever the layer display mode says.
    bool currentLayerOnly = false;
    // For the on-shape kind: the view, the cursor and the aperture in its logical pixels, and the
    // hit tolerance in the same pixels.
    MCadView* view = nullptr;
    CPoint logicalCursor;
    CRect logicalAperture;
    int tolerance = 0;
    // Empty: the search runs to its end.
    MSnapCancel cancel;
};

// While one lives, SnapSearchCancelled asks its predicate: the snap search installs the query's, so
// that shapes walking members of their own (groups) stop with it. One at a time, on the
// user-interface thread; a null predicate (or none installed) never cancels.
class MSnapCancelScope {
public:
    explicit MSnapCancelScope(const MSnapCancel* cancel);
    ~MSnapCancelScope();
    MSnapCancelScope(const MSnapCancelScope&) = delete;
    MSnapCancelScope& operator=(const MSnapCancelScope&) = delete;

private:
    const MSnapCancel* m_previous;
};
bool SnapSearchCancelled();

// What a collector of snap points offers the shapes; the base collects nothing.
class MSnapPointArrayBase {
public:
    virtual ~MSnapPointArrayBase() = default;
    virtual int Add(const MFloatPoint& point, WORD kind, MCadShape* shape1, MCadShape* shape2) { return 0; }
    virtual void RemoveAt(int index) {}
    virtual int GetCount() const { return 0; }
    virtual void RemoveAll() {}
};

// Snap records in the order they were added.
class MSnapPointArray : public MSnapPointArrayBase {
public:
    int Add(const MFloatPoint& point, WORD kind, MCadShape* shape1, MCadShape* shape2) override;
    // Raises CInvalidArgException for an index outside 0..count-1.
    void RemoveAt(int index) override;
    int GetCount() const override { return static_cast<int>(m_points.size()); }
    void RemoveAll() override;

    // Raises CInvalidArgException for an index outside 0..count-1.
    const MSnapPoint& GetAt(int index) const;
    // Index of the first record produced by the shape, or -1.
    int FindByShape(const MCadShape* shape) const;
    // From start on, the first record that involves both shapes (in either order), or -1.
    int FindByShapePair(const MCadShape* shapeA, const MCadShape* shapeB, int start = 0) const;

private:
    std::vector<MSnapPoint> m_points;
};
