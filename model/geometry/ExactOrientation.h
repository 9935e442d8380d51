// Orientation signs that are exact for every finite double input, so that decisions taken about the
// same points from different sides (crossing or not, which side, which direction comes first) can
// never contradict each other.
#pragma once

#include "model/geometry/FloatPoint.h"

// Bound on the error of the orientation determinant computed in doubles (round to nearest),
// relative to the sum of the magnitudes of its two products: (3 + 16·eps)·eps, eps = 2^-53.
inline constexpr double kOrientationErrorBound = 3.3306690738754716e-16;

// +1 when c lies to the left of the directed line a -> b (a counter-clockwise turn), -1 to the right,
// 0 when the three points are exactly collinear. Products must not overflow (|coordinates| < 1e150).
int GetOrientationSign(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& c);

// Orders the directions from o towards p and towards q by their angle in [0, 2·pi), counter-clockwise
// from the positive x axis, exactly (no difference is rounded). p and q must differ from o. Negative
// when p's direction comes first, 0 for the same direction.
int CompareDirectionsAround(const MFloatPoint& o, const MFloatPoint& p, const MFloatPoint& q);
