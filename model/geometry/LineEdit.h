// Edits of straight lines against each other, as pure functions of points: where two picked lines
// cross, which end of a picked line stays, fillets and chamfers at a corner, extending to a boundary
// and cutting in two. Every result keeps a line's orientation, so each end keeps its own arrow head;
// an end made by a cut gets none (CutPieceArrows). No result (std::nullopt) means "change nothing".
#pragma once

#include <optional>

#include "model/ArrowInfo.h"
#include "model/geometry/FloatPoint.h"

// Two directions are parallel when |d0 × d1| <= kParallelSine · |d0| · |d1|: the sine of their angle,
// whatever the drawing's units. A zero vector is parallel to everything.
inline constexpr double kParallelSine = 1e-12;
// Parameters closer than this (in fractions of a line's length) count as the same place: a crossing
// "strictly inside" a line lies in (kSameParameter, 1 - kSameParameter).
inline constexpr double kSameParameter = 1e-12;

bool AreDirectionsParallel(const MFloatPoint& d0, const MFloatPoint& d1);

// A straight line by its end points, taken as unbounded where a crossing is concerned.
struct MLineEnds {
    MFloatPoint start;
    MFloatPoint end;

    MFloatPoint Direction() const { return end - start; }
    // The point at parameter t (0 the start, 1 the end).
    MFloatPoint At(double t) const { return start + (end - start) * t; }
    bool operator==(const MLineEnds& o) const { return start == o.start && end == o.end; }
};

// Longer than the zero tolerance relative to the size of its coordinates: imported drawings can hold
// lines of length zero, which have no direction.
bool HasDirection(const MLineEnds& line);

// Parameter of the foot of p along the line (0 at the start, 1 at the end); 0 without a direction.
double GetLineParameter(const MLineEnds& line, const MFloatPoint& p);
// Distance from p to the unbounded line; |p - start| without a direction.
double GetDistanceToLine(const MLineEnds& line, const MFloatPoint& p);

// Where two unbounded lines cross, with the parameters there along each line.
struct MLineCrossing {
    MFloatPoint point;
    double t0 = 0.0;
    double t1 = 0.0;
};
// Nothing for parallel lines (AreDirectionsParallel) and for lines without a direction.
std::optional<MLineCrossing> CrossLines(const MLineEnds& l0, const MLineEnds& l1);

enum class MLineEnd { Start, End };
// The end that stays when a line is edited at parameter tCut and the user clicked at tClick: the end
// on the far side of the click from the cut, so the part the user picked is kept. Decided by
// parameters, so a click snapped onto an end point or the crossing still tells the sides apart; pass
// the unsnapped click. A remaining tie keeps the longer part.
MLineEnd GetKeptEnd(double tCut, double tClick);
inline MFloatPoint GetEnd(const MLineEnds& line, MLineEnd which) {
    return which == MLineEnd::Start ? line.start : line.end;
}
// The line with the other end than `kept` moved to p.
MLineEnds WithMovedEnd(const MLineEnds& line, MLineEnd kept, const MFloatPoint& p);

// ----- extend and cut -------------------------------------------------------------------------

// The line lengthened or shortened to the unbounded boundary: the end on the boundary's side of the
// click moves onto it. Nothing when the lines are parallel or nothing would change.
std::optional<MLineEnds> ExtendToLine(const MLineEnds& line, const MFloatPoint& click,
                                      const MLineEnds& boundary);

// A line cut in two: `first` runs from the start to the cut, `second` from the cut to the end.
struct MLineCut {
    MFloatPoint point;
    MLineEnds first;
    MLineEnds second;
};
// Cut where the unbounded cutter crosses the line strictly inside it.
std::optional<MLineCut> CutAtCrossing(const MLineEnds& line, const MLineEnds& cutter);
// Cut at the foot of the perpendicular from q, when it lies strictly inside the line.
std::optional<MLineCut> CutAtFoot(const MLineEnds& line, const MFloatPoint& q);
// Arrows of a cut piece that holds the original end `kept`: that end's head stays, the cut end has
// none (first piece: MLineEnd::Start, second piece: MLineEnd::End).
MArrowInfo CutPieceArrows(const MArrowInfo& whole, MLineEnd kept);

// ----- corners: fillet and chamfer ------------------------------------------------------------

// Two picked lines that cross (nothing for parallel ones) and their crossing.
struct MLineCorner {
    MLineEnds line0;
    MLineEnds line1;
    MLineCrossing crossing;
};
std::optional<MLineCorner> MakeLineCorner(const MLineEnds& line0, const MLineEnds& line1);

// A fillet: the arc (counter-clockwise from startAngle to endAngle, radians) and the two edited
// copies, each running from its kept end to its tangent point.
struct MFillet {
    MFloatPoint centre;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
    MFloatPoint tangent0;
    MFloatPoint tangent1;
    MLineEnds line0;
    MLineEnds line1;
};
// The larger of the circles through q that touch both lines, the kept parts being those on q's side
// of the crossing. Nothing when q lies on a line or on the crossing, or when a tangent point falls on
// or beyond its kept end (the copy would run over ground that was never part of the line).
std::optional<MFillet> FilletThroughPoint(const MLineCorner& corner, const MFloatPoint& q);
// The fillet of |radius| in the quadrant of q (as chosen by FilletThroughPoint's circle); radius 0
// gives the sharp corner (both copies end at the crossing, the arc has radius 0).
std::optional<MFillet> FilletWithRadius(const MLineCorner& corner, const MFloatPoint& q, double radius);

// A chamfer: the chamfer line from the end on line 0 to the end on line 1, and the edited copies.
struct MChamfer {
    MLineEnds chamfer;
    MLineEnds line0;
    MLineEnds line1;
};
// The chamfer that cuts |length0| off line 0 and |length1| off line 1, measured from the crossing
// along the kept parts (the ends on the far side of each unsnapped click). Nothing when a length is
// not finite or not shorter than its kept part.
std::optional<MChamfer> ChamferWithLengths(const MLineCorner& corner, const MFloatPoint& click0,
                                           const MFloatPoint& click1, double length0, double length1);
// The chamfer through q, square to the bisector of the kept parts. With q at or behind the crossing
// both ends collapse onto it (a sharp corner whose chamfer line has length zero). Nothing when an
// end falls on or beyond its kept end.
std::optional<MChamfer> ChamferThroughPoint(const MLineCorner& corner, const MFloatPoint& click0,
                                            const MFloatPoint& click1, const MFloatPoint& q);
