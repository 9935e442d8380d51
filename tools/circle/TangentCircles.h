// Circles that touch up to three lines and circles, for the circle tool's "touch" construction.
// Pure functions of plain values: lines count as unbounded, arcs and sectors as their full circles,
// and every shape comes with the point where it was picked, which chooses among the solutions. The
// tolerances are relative to the size of the configuration, so a drawing in millimetres far from the
// origin behaves as one near it, and no function returns a value that is not finite.
#pragma once

#include <array>
#include <optional>
#include <variant>

#include "model/geometry/FloatPoint.h"

class MCadShape;

// A picked line (unbounded) and a picked circle, each with its pick point.
struct MTouchLine {
    MFloatPoint start;
    MFloatPoint end;
    MFloatPoint pick;
};
struct MTouchCircle {
    MFloatPoint centre;
    double radius = 0.0;
    MFloatPoint pick;
};
using MTouchShape = std::variant<MTouchLine, MTouchCircle>;

// What the tool holds when it asks: the snapped cursor, the circle's current centre and radius, and
// whether the radius was fixed by numeric input.
struct MTouchInput {
    MFloatPoint cursor;
    MFloatPoint centre;
    double radius = 0.0;
    bool radiusFixed = false;
};

struct MTangentCircle {
    MFloatPoint centre;
    double radius = 0.0;
};
using MTangentPair = std::array<MTangentCircle, 2>;

// Touches are checked to this fraction of the configuration's size.
inline constexpr double kTouchTolerance = 1e-9;

// ----- for the tool ---------------------------------------------------------------------------

// A line of any line class that has a direction, or the full circle of a circle, arc or sector;
// nothing for no shape, other shapes and lines of length zero (which have no direction).
std::optional<MTouchShape> ReadTouchShape(const MCadShape* shape, const MFloatPoint& pick);

// The construction: with touch shape a picked before the centre, b and c after it, chooses the
// solver by their kinds (a none: b alone touches a circle centred at in.centre; a and b: the circle
// follows the cursor; all three: the circle touching them). Without any, returns in.centre and
// in.radius.
MTangentCircle SolveTouch(const MTouchInput& in, const std::optional<MTouchShape>& a,
                          const std::optional<MTouchShape>& b, const std::optional<MTouchShape>& c);

// ----- the solvers ----------------------------------------------------------------------------

// Fixed radius: the circle of that radius touching the line on the cursor's side (the line's left
// when the cursor lies on it). Free: centred at the cursor.
MTangentCircle SolveTouchLine(const MTouchInput& in, const MTouchLine& a);
// Fixed radius: touching the circle nearest the cursor (from inside when the cursor is inside). Free:
// centred at the cursor, touching the far side when the cursor and the pick lie on opposite sides.
MTangentCircle SolveTouchCircle(const MTouchInput& in, const MTouchCircle& a);
// Without a: centred at in.centre, touching b. With a: centred on the bisector of the picked angle
// (the middle line of parallel lines), at the cursor's foot, or with a fixed radius nearest it.
MTangentCircle SolveTouchLineLine(const MTouchInput& in, const std::optional<MTouchLine>& a,
                                  const MTouchLine& b);
// The incircle-like circle on the picked sides; falls back to the two-line and one-line solvers.
MTangentCircle SolveTouchLineLineLine(const MTouchInput& in, const MTouchLine& a, const MTouchLine& b,
                                      const MTouchLine& c);
// Without a line: centred at in.centre, the touch nearer b's pick. With one: centred on the line
// through the cursor and b's centre, nearest the cursor, whichever way the line was drawn.
MTangentCircle SolveTouchLineCircle(const MTouchInput& in, const std::optional<MTouchLine>& a,
                                    const MTouchCircle& b);
// Through the cursor, touching both circles nearest their picks.
MTangentCircle SolveTouchCircleCircle(const MTouchInput& in, const MTouchCircle& a, const MTouchCircle& b);
// Touching the two circles (nearest their picks) and the line.
MTangentCircle SolveTouchCircleCircleLine(const MTouchInput& in, const MTouchCircle& a, const MTouchCircle& b,
                                          const MTouchLine& c);
// Touching both lines and the circle, nearest all three picks.
MTangentCircle SolveTouchLineLineCircle(const MTouchInput& in, const MTouchLine& a, const MTouchLine& b,
                                        const MTouchCircle& c);
// Touching the three circles, nearest the picks on the first two.
MTangentCircle SolveTouchCircleCircleCircle(const MTouchInput& in, const MTouchCircle& a,
                                            const MTouchCircle& b, const MTouchCircle& c);

// ----- closed forms, the first circle at the origin ----------------------------------------------
// Radii are signed: the result (centre X, radius ρ ≥ 0) satisfies |X - ci| = |ρ ± Ri| with one
// common sign of ρ, i.e. a sign pattern of external and internal touches. A pair slot without such
// a circle holds the gap circle between circle 1 and circle 2 (inscribed in their overlap when they
// overlap; radius 0 at the origin when their centres coincide).

MTangentPair CirclesThroughPointTouchingTwoCircles(const MFloatPoint& p, double r1, const MFloatPoint& c2,
                                                   double r2);
// The line's side is the one holding circle 1 (else circle 2).
MTangentPair CirclesTouchingLineAndTwoCircles(const MFloatPoint& a, const MFloatPoint& b, double r1,
                                              const MFloatPoint& c2, double r2);
// The circle on the left of line 1 (a1 to b1) and on the circle's side of line 2 (or right and
// opposite, as ρ's sign flips). Parallel lines are solved too: the centres lie on the middle line.
// A slot without a solution holds radius 0 at the origin.
MTangentPair CirclesTouchingTwoLinesAndCircle(const MFloatPoint& a1, const MFloatPoint& b1,
                                              const MFloatPoint& a2, const MFloatPoint& b2, double r);
MTangentPair CirclesTouchingThreeCircles(double r1, const MFloatPoint& c2, double r2, const MFloatPoint& c3,
                                         double r3);
