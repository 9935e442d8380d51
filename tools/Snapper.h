// The tools' snapping, from a pointer position to the point a tool takes: the document's snap search
// (through the view's query, which the view may cancel), the grid, and the searches on a locus that
// the constraints use. The snapper keeps the last result: the tool's current point, its snap record
// and whether the view marks it.
#pragma once

#include <functional>

#include "model/SnapPoint.h"
#include "model/geometry/FloatPoint.h"
#include "platform/WinTypes.h"

class MCadShape;
class MFloatPointArray;
class MTessarayView;

// What snapping made of a pointer position.
struct MSnapResult {
    // The point taken, in drawing units.
    MFloatPoint point;
    // What was found there: the kind (0: nothing) and the shapes.
    MSnapPoint record;
    // The record's kind has a marker and a cursor.
    bool marked = false;
};

class MSnapper {
public:
    using OnLocus = std::function<bool(const MFloatPoint&)>;
    using Crossings = std::function<void(MCadShape*, MFloatPointArray*)>;

    // The document's snap point of the kinds at the device point; else, with the grid kind on and
    // the grid allowed, the grid point nearest to plain; else plain with kind 0.
    MSnapPoint Find(MTessarayView* view, int x, int y, WORD kinds, bool gridAllowed,
                    const MFloatPoint& plain) const;
    // The snap search of a point constrained to a locus, at pt: a snap point on the locus
    // (onLocus), else the crossing of the shape under pt with the locus (crossings) nearest to pt
    // within the aperture. Kind 0 when neither.
    MSnapPoint FindOnLocus(MTessarayView* view, WORD kinds, const MFloatPoint& pt, const OnLocus& onLocus,
                           const Crossings& crossings) const;
    // The grid point at pt when the grid kind is on and accept says it lies on the locus; kind 0
    // otherwise.
    MSnapPoint FindGridOnLocus(MTessarayView* view, WORD kinds, const MFloatPoint& pt,
                               const OnLocus& accept) const;

    const MSnapResult& Last() const { return m_last; }
    // The record of the road in progress (a constraint records the point it found).
    void SetRecord(const MSnapPoint& record) { m_last.record = record; }
    // Ends the road at point: a record whose kind has no cursor becomes a plain record of the point.
    const MSnapResult& Finish(const MFloatPoint& point);
    // The view stops marking the last point.
    void Unmark() { m_last.marked = false; }

    // The snap cursor index of a snap kind: 1 end point, 2 intersection, 3 mid point, 4 centre,
    // 5 on shape, 6 base point, 0 none (the grid included).
    static int CursorIndex(WORD kind);
    // The cursor resource of an index 1..6; 0 for none.
    static UINT CursorResource(int index);

private:
    MSnapResult m_last;
};
