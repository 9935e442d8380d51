#include "model/geometry/Hatch.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>

namespace {

// Direction and step vector per MHatchDirection. Integer vectors keep the offsets of grid points
// exact, so a line through a grid vertex meets it exactly.
struct Frame {
    MFloatPoint direction;
    MFloatPoint step;
};
constexpr Frame kFrames[4] = {{{1, 0}, {0, 1}}, {{0, 1}, {1, 0}}, {{1, -1}, {1, 1}}, {{1, 1}, {1, -1}}};

// Lines closer than this many units in the last place of the coordinates do not move apart.
constexpr double kResolutionUlps = 4.0;
// Beyond this many lines the group counter, a double, could no longer step by one.
constexpr double kMaxLines = 1e15;

int Sign(double v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

std::optional<MFloatRect> GetExtent(std::span<const MHatchBoundary> boundaries) {
    std::optional<MFloatRect> box;
    for (const MHatchBoundary& b : boundaries) {
        if (b.points.size() < 2) continue;
        for (const MFloatPoint& p : b.points) {
            if (!IsFinite(p)) return std::nullopt;
            if (!box)
                box = MFloatRect(p, p);
            else
                box->AddPoint(p);
        }
    }
    return box;
}

bool IsBelowResolution(const MFloatRect& box, const MFloatPoint& through, const MHatchSettings& s) {
    if (!(s.pitch > 0) || !std::isfinite(s.pitch) || !(s.spacing >= 0) || !std::isfinite(s.spacing) ||
        s.lineCount < 1 || !IsFinite(through))
        return true;
    const double magnitude = std::max({std::fabs(box.left), std::fabs(box.right), std::fabs(box.top),
                                       std::fabs(box.bottom), std::fabs(through.x), std::fabs(through.y)});
    const double resolution = kResolutionUlps * DBL_EPSILON * magnitude;
    return s.pitch <= resolution || (s.lineCount > 1 && s.spacing > 0 && s.spacing <= resolution);
}

// The offsets (direction × (X − through)) of the lines strictly inside the extent: group g, line m
// lies g·pitch + m·spacing along the step vector from the line through `through`.
std::vector<double> LineOffsets(const Frame& frame, const MFloatPoint& through, const MFloatRect& box,
                                const MHatchSettings& s) {
    const double factor = frame.direction.Cross(frame.step);
    double lo = DBL_MAX, hi = -DBL_MAX;
    for (const MFloatPoint& corner : {box.TopLeft(), box.TopRight(), box.BottomLeft(), box.BottomRight()}) {
        const double level = frame.direction.Cross(corner - through);
        lo = std::min(lo, level), hi = std::max(hi, level);
    }
    const double tLo = std::min(lo / factor, hi / factor), tHi = std::max(lo / factor, hi / factor);
    std::vector<double> offsets;
    for (int m = 0; m < s.lineCount; ++m) {
        const double base = m * s.spacing;
        const double gFirst = std::floor((tLo - base) / s.pitch), gLast = std::ceil((tHi - base) / s.pitch);
        for (double g = gFirst; g <= gLast; ++g) {
            const double c = (g * s.pitch + base) * factor;
            if (c > lo && c < hi) offsets.push_back(c);
        }
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    return offsets;
}

// Whether the part of a line between two crossings belongs to the hatched region, kept up to date
// as the walk along the line passes each crossing.
class RegionStatus {
public:
    RegionStatus(std::span<const MHatchBoundary> boundaries, const MFloatPoint& sidePoint, int mode)
        : m_boundaries(boundaries),
          m_mode(mode),
          m_wanted(boundaries.size(), 0),
          m_inside(boundaries.size(), 0),
          m_line(boundaries.size(), -1) {
        for (std::size_t i = 0; i < boundaries.size(); ++i) {
            const MHatchBoundary& b = boundaries[i];
            if (b.kind == MHatchBoundary::Kind::Closed) {
                MFloatPointArray ring;
                for (const MFloatPoint& p : b.points)
                    ring.Add(p);
                m_wanted[i] = ring.IsPointInside(sidePoint) ? 1 : -1;
                if (m_wanted[i] == 1) ++m_wantedInside;
            } else if (b.kind == MHatchBoundary::Kind::Line && b.points.size() == 2) {
                m_wanted[i] = Sign((b.points[1] - b.points[0]).Cross(sidePoint - b.points[0]));
                if (m_wanted[i] != 0) m_sidedLines.push_back(static_cast<int>(i));
            }
        }
    }

    // Every line starts outside every outline, far from them all.
    void StartLine() {
        ++m_current;
        m_odd = false;
        m_mismatches = m_wantedInside;
    }

    void Cross(int boundary) {
        m_odd = !m_odd;
        if (m_boundaries[boundary].kind != MHatchBoundary::Kind::Closed) return;
        if (m_line[boundary] != m_current) m_line[boundary] = m_current, m_inside[boundary] = 0;
        const bool wasRight = (m_inside[boundary] ? 1 : -1) == m_wanted[boundary];
        m_inside[boundary] ^= 1;
        m_mismatches += wasRight ? 1 : -1;
    }

    bool Keeps(const MFloatPoint& mid) const {
        if (m_mode == 0) return m_odd;
        if (m_mismatches != 0) return false;
        return std::all_of(m_sidedLines.begin(), m_sidedLines.end(), [&](int i) {
            const std::vector<MFloatPoint>& p = m_boundaries[i].points;
            return Sign((p[1] - p[0]).Cross(mid - p[0])) == m_wanted[i];
        });
    }

private:
    std::span<const MHatchBoundary> m_boundaries;
    int m_mode;
    std::vector<int> m_wanted;      // per boundary: 1 inside, -1 outside, a line's side; 0 no rule
    std::vector<char> m_inside;     // per closed outline, along the line it was last crossed on
    std::vector<int> m_line;        // that line
    std::vector<int> m_sidedLines;  // lines with a side to keep
    int m_wantedInside = 0;         // outlines the side point lies inside
    int m_current = -1;             // lines walked so far
    int m_mismatches = 0;           // outlines whose state differs from the wanted one
    bool m_odd = false;             // crossings passed so far, over every boundary
};

struct Crossing {
    int line;
    double along;
    MFloatPoint point;
    int boundary;
};

// The crossings of every boundary with every line of the family, by line, then along each line.
std::vector<Crossing> CrossAll(std::span<const MHatchBoundary> boundaries, const MLineFamily& family) {
    std::vector<Crossing> all;
    for (std::size_t i = 0; i < boundaries.size(); ++i) {
        const MHatchBoundary& b = boundaries[i];
        for (const MFamilyCrossing& c :
             CrossLineFamily(b.points, b.kind == MHatchBoundary::Kind::Closed, family))
            all.push_back({c.line, c.along, c.point, static_cast<int>(i)});
    }
    // Bucketed by line first: each line holds few crossings, so sorting those is cheap.
    std::vector<std::size_t> start(family.offsets.size() + 1, 0);
    for (const Crossing& c : all)
        ++start[c.line + 1];
    for (std::size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<Crossing> sorted(all.size());
    std::vector<std::size_t> next(start.begin(), start.end() - 1);
    for (const Crossing& c : all)
        sorted[next[c.line]++] = c;
    for (std::size_t k = 0; k + 1 < start.size(); ++k)
        std::sort(sorted.begin() + start[k], sorted.begin() + start[k + 1],
                  [](const Crossing& a, const Crossing& b) { return a.along < b.along; });
    return sorted;
}

void CutLines(const std::vector<Crossing>& crossings, RegionStatus& status, double shortest,
              std::vector<MFloatSegment>* pieces) {
    for (std::size_t i = 0; i < crossings.size(); ++i) {
        const Crossing& c = crossings[i];
        if (i == 0 || crossings[i - 1].line != c.line) status.StartLine();
        status.Cross(c.boundary);
        if (i + 1 == crossings.size() || crossings[i + 1].line != c.line) continue;
        const Crossing& next = crossings[i + 1];
        if (next.along - c.along > shortest && status.Keeps((c.point + next.point) / 2))
            pieces->push_back({c.point, next.point});
    }
}

}  // namespace

MHatchEstimate EstimateHatchLines(std::span<const MHatchBoundary> boundaries, const MFloatPoint& through,
                                  const MHatchSettings& settings) {
    const std::optional<MFloatRect> box = GetExtent(boundaries);
    if (!box) return {};
    if (IsBelowResolution(*box, through, settings)) return {HUGE_VAL, true};
    const double diagonal = std::hypot(box->GetWidth(), box->GetHeight());
    double lines = 0.0;
    for (int k = 0; k < 4; ++k) {
        if (!settings.directions[k]) continue;
        const Frame& f = kFrames[k];
        const double perpendicularPitch =
            settings.pitch * std::fabs(f.direction.Cross(f.step)) / f.direction.GetLength();
        lines += (std::floor(diagonal / perpendicularPitch) + 1) * settings.lineCount;
    }
    return {lines, false};
}

std::vector<MFloatSegment> LayHatch(std::span<const MHatchBoundary> boundaries, const MFloatPoint& through,
                                    const MFloatPoint& sidePoint, const MHatchSettings& settings) {
    const std::optional<MFloatRect> box = GetExtent(boundaries);
    const MHatchEstimate estimate = EstimateHatchLines(boundaries, through, settings);
    if (!box || estimate.belowResolution || !(estimate.lines < kMaxLines) || !IsFinite(sidePoint)) return {};
    RegionStatus status(boundaries, sidePoint, settings.mode);
    std::vector<MFloatSegment> pieces;
    for (int k = 0; k < 4; ++k) {
        if (!settings.directions[k]) continue;
        const Frame& f = kFrames[k];
        const MLineFamily family{through, f.direction, LineOffsets(f, through, *box, settings)};
        const double shortest =
            kCutParamTolerance * std::hypot(box->GetWidth(), box->GetHeight()) * f.direction.GetLength();
        CutLines(CrossAll(boundaries, family), status, shortest, &pieces);
    }
    return pieces;
}
