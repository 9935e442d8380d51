// Lines tangent to circles: the touching points of the tangents from a point outside a circle, and
// the common tangents of two circles. Pure geometry for the line tools' tangent construction.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "model/geometry/FloatPoint.h"

struct MTangentCircleTarget {
    MFloatPoint centre;
    double radius = 0.0;
};

struct MTangentSegment {
    MFloatPoint start;  // on the first circle
    MFloatPoint end;    // on the second circle
};

// The two touching points of the tangents from p, or nothing when p lies inside or on the circle.
std::optional<std::pair<MFloatPoint, MFloatPoint>> TangentPoints(const MTangentCircleTarget& circle,
                                                                 const MFloatPoint& p);
// The touching point seen from p that lies nearer the pick point (the second only when strictly
// nearer); nothing when p lies inside or on the circle.
std::optional<MFloatPoint> TangentPointNear(const MTangentCircleTarget& circle, const MFloatPoint& p,
                                            const MFloatPoint& pick);
// The common tangents: the two outer ones unless one circle lies inside the other, then the two inner
// ones when the circles lie apart. Each segment runs from the first circle to the second.
std::vector<MTangentSegment> CommonTangents(const MTangentCircleTarget& first,
                                            const MTangentCircleTarget& second);
// The common tangent whose ends lie nearest the start and the point (the smallest product of the
// two distances; a later one only when strictly smaller); nothing when there is none.
std::optional<MTangentSegment> NearestCommonTangent(const MTangentCircleTarget& first,
                                                    const MTangentCircleTarget& second,
                                                    const MFloatPoint& start, const MFloatPoint& point);
