#include "model/geometry/Trim.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "model/geometry/Geometry.h"

namespace {

// A part of a line between two of its points, t0 < t1 along the line's own parameter.
struct Span {
    double t0;
    double t1;
    MFloatPoint p0;
    MFloatPoint p1;
};

// For up to four points on a segment a + s·d, the first of the nearest candidates offered; all are
// given by their parameters s along the same segment.
class NearestFinder {
public:
    void AddTarget(double s, const MFloatPoint& x) { m_targets[m_count++] = {s, x, kNoAnswer, 0.0}; }
    int GetCount() const { return m_count; }
    const MFloatPoint& GetTarget(int k) const { return m_targets[k].x; }
    void Offer(double s) {
        for (int k = 0; k < m_count; ++k) {
            Target& t = m_targets[k];
            const double d = std::fabs(s - t.s);
            if (d < t.distance) t.distance = d, t.best = s;
        }
    }
    std::optional<double> GetNearest(int k) const {
        if (m_targets[k].distance == kNoAnswer) return std::nullopt;
        return m_targets[k].best;
    }

private:
    struct Target {
        double s;
        MFloatPoint x;
        double distance;
        double best;
    };
    std::array<Target, 4> m_targets;
    int m_count = 0;
};

// The parameter along a + s·da where it meets b + u·db (IntersectSegments' arithmetic, so the
// point a + da·s is the one it gives); nothing for lines parallel by its tolerance, or, when
// bounded, for a crossing not strictly inside both.
std::optional<double> Meet(const MFloatPoint& a, const MFloatPoint& da, const MFloatPoint& b,
                           const MFloatPoint& db, bool bounded) {
    const double det = da.Cross(db);
    if (det * det < kZeroTolerance) return std::nullopt;
    const MFloatPoint w = b - a;
    const double s = w.Cross(db) / det;
    if (!bounded) return s;
    const double u = w.Cross(da) / det;
    auto inside = [](double v) { return v >= kSegmentParamMin && v <= kSegmentParamMax; };
    if (!inside(s) || !inside(u)) return std::nullopt;
    return s;
}

struct Box {
    double x0, y0, x1, y1;

    explicit Box(const MFloatSegment& s)
        : x0(std::min(s.start.x, s.end.x)),
          y0(std::min(s.start.y, s.end.y)),
          x1(std::max(s.start.x, s.end.x)),
          y1(std::max(s.start.y, s.end.y)) {}
    bool Overlaps(const Box& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
};

// Sorted; parts that overlap by more than the tolerance become one, parts that only touch stay
// apart (a line split at a meeting point keeps both sides), and none is shorter than the tolerance.
std::vector<Span> Union(std::vector<Span> spans) {
    std::erase_if(spans, [](const Span& s) { return !(s.t1 - s.t0 > kCutParamTolerance); });
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.t0 < b.t0; });
    std::vector<Span> out;
    for (const Span& s : spans) {
        if (!out.empty() && s.t0 < out.back().t1 - kCutParamTolerance) {
            if (s.t1 > out.back().t1) out.back().t1 = s.t1, out.back().p1 = s.p1;
        } else {
            out.push_back(s);
        }
    }
    return out;
}

class Trimmer {
public:
    Trimmer(std::span<const MFloatSegment> lines, const std::array<MFloatPoint, 4>& corners)
        : m_lines(lines), m_corners(corners), m_work(lines.begin(), lines.end()) {}

    std::vector<MTrimOutcome> Run() {
        const int n = static_cast<int>(m_lines.size());
        for (int w = 0; w < n; ++w)
            Stretch(w);
        for (const MFloatSegment& s : m_work)
            m_boxes.emplace_back(s);
        std::vector<std::vector<Span>> spans(n);
        std::vector<int> crossed;
        for (int w = 0; w < n; ++w)
            if (CutCrossed(w, &spans[w])) crossed.push_back(w);
        for (int i = 0; i < n; ++i)
            if (!std::binary_search(crossed.begin(), crossed.end(), i)) spans[i] = SplitInside(i, crossed);
        std::vector<MTrimOutcome> out(n);
        for (int i = 0; i < n; ++i)
            out[i] = Outcome(i, Union(std::move(spans[i])));
        return out;
    }

private:
    MFloatPoint Corner(int k) const { return m_corners[k % 4]; }
    bool IsUsable(int i) const { return m_lines[i].start != m_lines[i].end; }

    // The parameter of p along the original line i (0 at its start, 1 at its end).
    double Along(int i, const MFloatPoint& p) const {
        const MFloatPoint d = m_lines[i].end - m_lines[i].start;
        return (p - m_lines[i].start).Dot(d) / d.Dot(d);
    }
    Span Part(int i, const MFloatPoint& p0, const MFloatPoint& p1) const {
        return {Along(i, p0), Along(i, p1), p0, p1};
    }

    // A side crossing the line's extension beyond one end moves that end to the meeting point
    // nearest the crossing: stretched to a line it fell short of, or cut back to one it overshot.
    // The end moved is the one the side crossed, and never past the other end; with no meeting
    // point at all (every other line parallel) nothing moves.
    void Stretch(int w) {
        if (!IsUsable(w)) return;
        const MFloatSegment& line = m_lines[w];
        const MFloatPoint d = line.end - line.start;
        NearestFinder meetings;
        for (int k = 0; k < 4; ++k) {
            MFloatPoint x, ignored;
            if (IntersectSegments(line.start, line.end, Corner(k), Corner(k + 1), &x, kBoundedB) &&
                !IntersectSegments(line.start, line.end, Corner(k), Corner(k + 1), &ignored,
                                   kBoundedA | kBoundedB))
                meetings.AddTarget(Along(w, x), x);
        }
        if (meetings.GetCount() == 0) return;
        for (std::size_t j = 0; j < m_lines.size(); ++j) {
            if (static_cast<int>(j) == w) continue;
            const MFloatSegment& o = m_lines[j];
            if (const std::optional<double> s = Meet(line.start, d, o.start, o.end - o.start, false))
                meetings.Offer(*s);
        }
        MFloatSegment& work = m_work[w];
        for (int k = 0; k < meetings.GetCount(); ++k) {
            const std::optional<double> tl = meetings.GetNearest(k);
            if (!tl) continue;
            const MFloatPoint l = line.start + d * *tl;
            if (Along(w, meetings.GetTarget(k)) < 0.5) {
                if (*tl < Along(w, work.end) - kCutParamTolerance) work.start = l;
            } else if (*tl > Along(w, work.start) + kCutParamTolerance) {
                work.end = l;
            }
        }
    }

    // A line a side crosses keeps, for each such side, its part from the crossing's end to the
    // nearest crossing with another line; with no such crossing, its working segment.
    bool CutCrossed(int w, std::vector<Span>* spans) const {
        if (!IsUsable(w)) return false;
        const MFloatSegment& work = m_work[w];
        const MFloatPoint d = work.end - work.start;
        NearestFinder crossings;
        for (int k = 0; k < 4; ++k) {
            MFloatPoint x;
            if (IntersectSegments(work.start, work.end, Corner(k), Corner(k + 1), &x, kBoundedA | kBoundedB))
                crossings.AddTarget((x - work.start).Dot(d) / d.Dot(d), x);
        }
        if (crossings.GetCount() == 0) return false;
        for (std::size_t j = 0; j < m_work.size(); ++j) {
            if (static_cast<int>(j) == w || !m_boxes[w].Overlaps(m_boxes[j])) continue;
            const MFloatSegment& o = m_work[j];
            if (const std::optional<double> s = Meet(work.start, d, o.start, o.end - o.start, true))
                crossings.Offer(*s);
        }
        for (int k = 0; k < crossings.GetCount(); ++k) {
            const std::optional<double> s = crossings.GetNearest(k);
            if (!s) continue;
            const MFloatPoint& x = crossings.GetTarget(k);
            const MFloatPoint r = work.start + d * *s;
            if ((x - work.start).Dot(x - r) < 0)
                spans->push_back(Part(w, work.start, r));
            else
                spans->push_back(Part(w, r, work.end));
        }
        if (spans->empty()) spans->push_back(Part(w, work.start, work.end));
        return true;
    }

    // A line no side crosses loses its part between the first and the last place where a crossed
    // line's carrier meets it; meeting points that all lie beyond its ends stretch it to the
    // nearest of them on each side.
    std::vector<Span> SplitInside(int i, const std::vector<int>& crossed) const {
        const MFloatSegment& work = m_work[i];
        if (!IsUsable(i)) return {};
        const double ts = Along(i, work.start), te = Along(i, work.end);
        std::optional<MFloatPoint> first, last, before, after;
        double tFirst = 0, tLast = 0, tBefore = 0, tAfter = 0;
        for (int c : crossed) {
            MFloatPoint m;
            if (!IntersectSegments(m_lines[i].start, m_lines[i].end, m_lines[c].start, m_lines[c].end, &m, 0))
                continue;
            const double t = Along(i, m);
            if (t < ts - kCutParamTolerance) {
                if (!before || t > tBefore) before = m, tBefore = t;
            } else if (t > te + kCutParamTolerance) {
                if (!after || t < tAfter) after = m, tAfter = t;
            } else {
                if (!first || t < tFirst) first = m, tFirst = t;
                if (!last || t > tLast) last = m, tLast = t;
            }
        }
        if (!first) {
            return {{before ? tBefore : ts, after ? tAfter : te, before ? *before : work.start,
                     after ? *after : work.end}};
        }
        std::vector<Span> out;
        if (tFirst - ts > kCutParamTolerance) out.push_back({ts, tFirst, work.start, *first});
        if (te - tLast > kCutParamTolerance) out.push_back({tLast, te, *last, work.end});
        if (out.empty()) out.push_back({ts, te, work.start, work.end});
        return out;
    }

    MTrimOutcome Outcome(int i, const std::vector<Span>& spans) const {
        const MFloatSegment& line = m_lines[i];
        if (spans.empty() || (spans.size() == 1 && spans[0].p0 == line.start && spans[0].p1 == line.end))
            return {false, {line}};
        MTrimOutcome out{true, {}};
        for (const Span& s : spans)
            out.pieces.push_back({s.p0, s.p1});
        return out;
    }

    std::span<const MFloatSegment> m_lines;
    std::array<MFloatPoint, 4> m_corners;
    std::vector<MFloatSegment> m_work;  // the working ends S', E'
    std::vector<Box> m_boxes;           // of the working segments
};

}  // namespace

std::vector<MTrimOutcome> TrimLines(std::span<const MFloatSegment> lines, const MFloatPoint& press,
                                    const MFloatPoint& release) {
    const bool hasArea = press.x != release.x && press.y != release.y && IsFinite(press) && IsFinite(release);
    if (lines.size() < 2 || !hasArea) {
        std::vector<MTrimOutcome> out;
        for (const MFloatSegment& line : lines)
            out.push_back({false, {line}});
        return out;
    }
    const std::array<MFloatPoint, 4> corners{MFloatPoint(press.x, release.y), release,
                                             MFloatPoint(release.x, press.y), press};
    return Trimmer(lines, corners).Run();
}
