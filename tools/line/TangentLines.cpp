#include "tools/line/TangentLines.h"

#include <cmath>

namespace {
// Below this the squared distances count as zero (a tangent would not be defined).
constexpr double kTangentZero = 2.220446e-15;
}  // namespace

std::optional<std::pair<MFloatPoint, MFloatPoint>> TangentPoints(const MTangentCircleTarget& circle,
                                                                 const MFloatPoint& p) {
    const double r = circle.radius;
    const MFloatPoint d = p - circle.centre;
    const double d2 = d.Dot(d);
    const double rest = d2 - r * r;
    if (!(std::fabs(r * 2.220446049250313e-16 * 10) < rest)) return std::nullopt;
    const double f = std::sqrt(rest);
    const MFloatPoint across(d.y, -d.x);
    const MFloatPoint along = d * (r * r);
    return std::make_pair(circle.centre + (along + across * (r * f)) / d2,
                          circle.centre + (along - across * (r * f)) / d2);
}

std::optional<MFloatPoint> TangentPointNear(const MTangentCircleTarget& circle, const MFloatPoint& p,
                                            const MFloatPoint& pick) {
    const auto points = TangentPoints(circle, p);
    if (!points) return std::nullopt;
    const double first = (points->first - pick).GetLength();
    const double second = (points->second - pick).GetLength();
    return first < second ? points->first : points->second;
}

std::vector<MTangentSegment> CommonTangents(const MTangentCircleTarget& first,
                                            const MTangentCircleTarget& second) {
    std::vector<MTangentSegment> out;
    const MFloatPoint c1 = first.centre, c2 = second.centre;
    const double r1 = first.radius, r2 = second.radius;
    const MFloatPoint d = c2 - c1;
    const double d2 = d.Dot(d);
    const double dr = r2 - r1;
    if (!(d2 - dr * dr > kTangentZero)) return out;
    // Outer tangents: unit normals n with n·d = -dr, both ends on the same side.
    const double f = std::sqrt(d2 - dr * dr);
    const MFloatPoint n1((f * d.y - dr * d.x) / d2, (-dr * d.y - f * d.x) / d2);
    const MFloatPoint n2(-(dr * d.x + f * d.y) / d2, (f * d.x - dr * d.y) / d2);
    for (const MFloatPoint& n : {n1, n2})
        out.push_back({c1 + n * r1, c2 + n * r2});
    const double s = -(r1 + r2);
    if (!(d2 - s * s >= kTangentZero)) return out;
    // Inner tangents: the ends on opposite sides.
    const double g = std::sqrt(d2 - s * s);
    const MFloatPoint n3((g * d.y - s * d.x) / d2, (-s * d.y - g * d.x) / d2);
    const MFloatPoint n4((-s * d.x - g * d.y) / d2, (g * d.x - s * d.y) / d2);
    for (const MFloatPoint& n : {n3, n4})
        out.push_back({c1 + n * r1, c2 - n * r2});
    return out;
}

std::optional<MTangentSegment> NearestCommonTangent(const MTangentCircleTarget& first,
                                                    const MTangentCircleTarget& second,
                                                    const MFloatPoint& start, const MFloatPoint& point) {
    std::optional<MTangentSegment> best;
    double bestScore = 0.0;
    for (const MTangentSegment& t : CommonTangents(first, second)) {
        const double score = (start - t.start).GetLength() * (point - t.end).GetLength();
        if (!best || score < bestScore) {
            best = t;
            bestScore = score;
        }
    }
    return best;
}
