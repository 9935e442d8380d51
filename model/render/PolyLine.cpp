#include "model/render/PolyLine.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/CadView.h"
#include "model/geometry/Geometry.h"
#include "model/render/DrawFlags.h"
#include "model/render/RenderClip.h"
#include "model/settings/LineStyle.h"
#include "platform/ProgramState.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "resources/ResourceIds.h"

namespace {

// Far more pieces than any screen can show; a walk that gets here stops.
constexpr std::size_t kMaxPieces = 4000000;

bool IsZeroLength(const MFloatPoint& a, const MFloatPoint& b) {
    return a.x == b.x && a.y == b.y;
}

// Length and direction; the square root is all the precision the outlines need (far cheaper
// than hypot for the many short pieces of a dashed line).
double Length(const MFloatPoint& v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}
MFloatPoint Unit(const MFloatPoint& v) {
    const double len = Length(v);
    if (len < kZeroTolerance) return {};
    return {v.x / len, v.y / len};
}

bool Inside(const MFloatPoint& p, const MFloatRect& r) {
    return p.x >= r.left && p.x <= r.right && p.y >= r.bottom && p.y <= r.top;
}

// The view's drawing-to-logical mapping, read once per call: the same arithmetic as
// MCadView::DocToLogical (scale about the paper origin, nearest integer, limited range).
struct LogicalMapping {
    explicit LogicalMapping(const MCadView* view)
        : ox(view->OriginOffsetX()), oy(view->OriginOffsetY()), sx(view->unitScaleX), sy(view->unitScaleY) {}
    // floor(v + 0.5) by truncation, corrected below zero; v is not NaN.
    static LONG NearestOf(double v) {
        constexpr double kLimit = double(1 << 29);
        const double t = std::clamp(v, -kLimit, kLimit) + 0.5;
        const auto i = static_cast<LONG>(t);
        return double(i) > t ? i - 1 : i;
    }
    static LONG Nearest(double v) { return std::isnan(v) ? 0 : NearestOf(v); }
    POINT operator()(const MFloatPoint& p) const {
        return POINT{Nearest((p.x + ox) * sx), Nearest((p.y + oy) * sy)};
    }
    // A point of the (finite) visible rectangle.
    POINT Finite(const MFloatPoint& p) const {
        return POINT{NearestOf((p.x + ox) * sx), NearestOf((p.y + oy) * sy)};
    }
    double ox, oy, sx, sy;
};

}  // namespace

namespace {
bool& MetafileDrawing() {
    static auto& slot = *new CProgramSlot<bool>;
    return slot.Get();
}
}  // namespace

bool IsMetafileDrawing() {
    return MetafileDrawing();
}
void SetMetafileDrawing(bool drawing) {
    MetafileDrawing() = drawing;
}

MPolyLine& GetPolyLineRenderer() {
    static MPolyLine renderer;
    return renderer;
}

void MPolyLine::Draw(MCadView* view, CDC* dc, const MFloatPoint* points, int count, double width,
                     int lineStyle, BOOL closed) {
    if (!view || !dc || !points || count < 2) return;
    const bool auxiliary = IsAuxiliaryLineStyle(lineStyle);
    // Auxiliary lines are construction aids: never printed, never put into metafiles.
    if (auxiliary && (dc->IsPrinting() || IsMetafileDrawing())) return;
    const MLineStyleTable& table = GetLineStyleTable();
    const int index = MLineStyleTable::IndexOf(lineStyle);
    const MLineStyle* style = index != 0 && index < table.GetSize() ? &table.GetAt(index) : nullptr;
    DrawStyled(view, dc, points, count, width, style, auxiliary, closed);
}

BOOL MPolyLine::DrawCurve(MCadView* view, CDC* dc, const MFloatPoint* points, int count, double width,
                          int lineStyle) {
    if (!view || !dc || !points || count < 4 || (count - 1) % 3 != 0 || !dc->TakesCurves()) return FALSE;
    if (width != 0.0 || IsAuxiliaryLineStyle(lineStyle)) return FALSE;
    // Only where Draw would draw one continuous thin run.
    const MLineStyleTable& table = GetLineStyleTable();
    const int index = MLineStyleTable::IndexOf(lineStyle);
    if (index != 0 && index < table.GetSize()) {
        const MLineStyle& style = table.GetAt(index);
        if (!(style.m_dashes.GetSize() == 1 && style.m_dashes[0] == 0.0)) return FALSE;
    }
    if (!VisibleDocRect(view, dc, 0.0, m_visible)) return TRUE;
    // A curve lies within its control points: inside the visible rectangle it needs no cutting.
    for (int i = 0; i < count && !m_visible.IsNull(); ++i)
        if (!Inside(points[i], m_visible)) return FALSE;
    const LogicalMapping map(view);
    m_logical.clear();
    constexpr LONG kLow = std::numeric_limits<LONG>::lowest(), kHigh = std::numeric_limits<LONG>::max();
    LONG left = kHigh, top = kHigh, right = kLow, bottom = kLow;
    for (int i = 0; i < count; ++i) {
        const POINT p = map(points[i]);
        m_logical.push_back(p);
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    // An outline of a few pixels has few distinct vertices: as a polyline it is no larger.
    if (right - left < kMinCurvePixels && bottom - top < kMinCurvePixels) return FALSE;
    dc->PolyBezier(m_logical.data(), count);
    return TRUE;
}

void MPolyLine::DrawStyled(MCadView* view, CDC* dc, const MFloatPoint* points, int count, double width,
                           const MLineStyle* style, BOOL auxiliary, BOOL closed) {
    if (!view || !dc || !points || count < 2) return;
    m_width = width != 0.0 ? view->PaperToDocLength(width) : 0.0;
    m_pixelDiagonal = view->PaperToDocLength(view->pixelDiagonal);
    const bool wide = m_width != 0.0;
    if (!std::isfinite(m_width)) return;
    if (!VisibleDocRect(view, dc, std::fabs(m_width), m_visible)) return;

    // A thin continuous line wholly inside goes straight to logical points, without the copies.
    const bool patterned = style && !(style->m_dashes.GetSize() == 1 && style->m_dashes[0] == 0.0);
    if (!wide && !patterned &&
        ThinRunToLogical(view, points, count, closed, !closed && !IsMetafileDrawing())) {
        EmitLines(dc, auxiliary);
        return;
    }

    m_sequence.clear();
    if (closed) {
        const MFloatPoint m = (points[count - 1] + points[0]) * 0.5;
        m_sequence.push_back(m);
        m_sequence.insert(m_sequence.end(), points, points + count);
        m_sequence.push_back(m);
    } else {
        m_sequence.assign(points, points + count);
    }
    m_polygonPoints.clear();
    m_polygonCounts.clear();
    m_linePoints.clear();
    m_lineCounts.clear();

    bool continuous = true;
    if (patterned) {
        const int k = style->m_dashes.GetSize();
        if (k == 0) return;
        if (view->PaperToDocLength(style->m_dashes[0]) != 0.0) {
            m_dashLengths.resize(k);
            m_dashOn.resize(k);
            double period = 0.0;
            for (int i = 0; i < k; ++i) {
                const double d = style->m_dashes[i];
                const bool dot = i > 0 && d == 0.0;
                m_dashLengths[i] = dot ? m_pixelDiagonal : std::fabs(view->PaperToDocLength(d));
                m_dashOn[i] = d > 0.0 || dot;
                period += m_dashLengths[i];
            }
            // A pattern that repeats within a pixel or two looks continuous and would make a
            // piece for every few pixels of an arbitrarily long line: draw it continuous.
            const double pixels = period * std::max(std::fabs(view->unitScaleX), std::fabs(view->unitScaleY));
            if (pixels >= kMinPatternPixels && std::isfinite(pixels)) {
                continuous = false;
                Dashed(m_sequence.data(), static_cast<int>(m_sequence.size()), wide);
            }
        }
    }
    if (continuous) {
        if (wide)
            Outline(m_sequence.data(), static_cast<int>(m_sequence.size()), !closed, false);
        else
            Path(m_sequence.data(), static_cast<int>(m_sequence.size()), !closed && !IsMetafileDrawing());
    }
    Emit(view, dc, wide, auxiliary);
}

void MPolyLine::DrawThin(MCadView* view, CDC* dc, const MFloatPoint* points, int count, BOOL closed) {
    if (!view || !dc || !points || count < 2) return;
    if (!VisibleDocRect(view, dc, 0.0, m_visible)) return;
    m_polygonPoints.clear();
    m_polygonCounts.clear();
    m_linePoints.assign(points, points + count);
    if (closed) m_linePoints.push_back(points[0]);
    m_lineCounts.assign(1, static_cast<int>(m_linePoints.size()));
    Emit(view, dc, false, false);
}

void MPolyLine::Outline(const MFloatPoint* seq, int n, bool extendEnds, bool strictJoins) {
    const double w = m_width;
    if (n == 2 && !IsZeroLength(seq[0], seq[1])) {
        // A straight piece (every dash of a straight line): the rectangle the steps below make.
        const MFloatPoint u = Unit(seq[1] - seq[0]);
        const MFloatPoint v(u.y * w / 2, -u.x * w / 2);
        MFloatPoint s = seq[0], e = seq[1];
        if (extendEnds) s -= u * (w / 2), e += u * (w / 2);
        m_polygonPoints.push_back(s + v);
        m_polygonPoints.push_back(e + v);
        m_polygonPoints.push_back(e - v);
        m_polygonPoints.push_back(s - v);
        m_polygonCounts.push_back(4);
        return;
    }
    int first = 0;
    while (first + 1 < n && IsZeroLength(seq[first], seq[first + 1]))
        ++first;
    if (first + 1 >= n) return;
    MFloatPoint prevStart = seq[first];
    MFloatPoint d = seq[first + 1] - seq[first];
    MFloatPoint u = Unit(d);
    MFloatPoint v(u.y * w / 2, -u.x * w / 2);
    m_side1.clear();
    m_side2.clear();
    MFloatPoint s = seq[first];
    if (extendEnds) s -= u * (w / 2);
    m_side1.push_back(s + v);
    m_side2.push_back(s - v);
    int i = first + 1;  // q = seq[i] ends the current segment
    while (true) {
        int j = i;
        while (j + 1 < n && IsZeroLength(seq[j], seq[j + 1]))
            ++j;
        if (j + 1 >= n) break;
        const MFloatPoint q = seq[i];
        const MFloatPoint d2 = seq[j + 1] - q;
        const MFloatPoint u2 = Unit(d2);
        const MFloatPoint v2(u2.y * w / 2, -u2.x * w / 2);
        MFloatPoint inner;
        const double t = IntersectLines(&inner, q - v, q - v2, d, d2);
        // Inside a dash a join may not reach past either of the pieces it joins.
        const bool fits = !strictJoins || t * Length(d) < Length(d2);
        if (t <= 0.0 || t >= 1.0 || !fits) {
            m_side1.push_back(q + v);
            m_side1.push_back(q + v2);
            m_side2.push_back(q - v);
            m_side2.push_back(q - v2);
        } else {
            m_side2.push_back(inner);
            MFloatPoint outer;
            IntersectLines(&outer, q + v, q + v2, d, d2);
            if (Length(outer - q) <= std::fabs(w)) {
                m_side1.push_back(outer);
            } else {
                m_side1.push_back(q + v);
                m_side1.push_back(q + v2);
            }
        }
        prevStart = q;
        d = d2;
        u = u2;
        v = v2;
        i = j + 1;
    }
    MFloatPoint e = seq[i];
    if (extendEnds) e += u * (w / 2);
    m_side1.push_back(e + v);
    m_side2.push_back(e - v);
    m_polygonPoints.insert(m_polygonPoints.end(), m_side1.begin(), m_side1.end());
    m_polygonPoints.insert(m_polygonPoints.end(), m_side2.rbegin(), m_side2.rend());
    m_polygonCounts.push_back(static_cast<int>(m_side1.size() + m_side2.size()));
}

void MPolyLine::Path(const MFloatPoint* seq, int n, bool lengthenEnd) {
    const std::size_t start = m_linePoints.size();
    m_linePoints.insert(m_linePoints.end(), seq, seq + n);
    if (lengthenEnd) {
        // Lengthened by one pixel's diagonal so that the end pixel, which GDI leaves out, shows.
        for (int i = n - 1; i > 0; --i) {
            if (!IsZeroLength(seq[i - 1], seq[i])) {
                m_linePoints.back() += Unit(seq[i] - seq[i - 1]) * m_pixelDiagonal;
                break;
            }
        }
    }
    m_lineCounts.push_back(static_cast<int>(m_linePoints.size() - start));
}

// The pattern's walk along the path: the current entry, what is left of it and the piece being
// built. Pieces end where entries end, so a piece never runs past a start of the pattern; the walk
// skips only whole periods, from one start to another, and therefore makes the pieces a walk
// along the whole path makes, whatever part of the path is visible.
struct MPolyLine::Walk {
    MPolyLine& line;
    const bool wide;
    double period = 0.0;
    int index = 0;
    double remaining = 0.0;
    bool inPiece = false;
    std::size_t pieces = 0;

    Walk(MPolyLine& l, bool w) : line(l), wide(w), remaining(l.m_dashLengths[0]) {
        for (double d : line.m_dashLengths)
            period += d;
    }
    bool AtStart() const { return index == 0 && remaining == line.m_dashLengths[0]; }
    bool Full() const { return pieces >= kMaxPieces; }
    bool Dash() const { return line.m_dashOn[static_cast<std::size_t>(index)] != 0; }
    void Begin(const MFloatPoint& p) {
        inPiece = true;
        line.m_piece.push_back(p);
    }
    void NextEntry() {
        index = (index + 1) % static_cast<int>(line.m_dashLengths.size());
        remaining = line.m_dashLengths[static_cast<std::size_t>(index)];
    }
    void ClosePiece() {
        std::vector<MFloatPoint>& piece = line.m_piece;
        if (inPiece && piece.size() >= 2) {
            if (wide) {
                line.Outline(piece.data(), static_cast<int>(piece.size()), false, true);
            } else {
                line.m_linePoints.insert(line.m_linePoints.end(), piece.begin(), piece.end());
                line.m_lineCounts.push_back(static_cast<int>(piece.size()));
            }
            ++pieces;
        }
        inPiece = false;
        piece.clear();
    }

    // Along a + u * pos up to end (b itself when end is the segment's end), or only up to the
    // first start of the pattern at or after stopFrom.
    void Along(const MFloatPoint& a, const MFloatPoint& b, const MFloatPoint& u, double& pos, double end,
               double stopFrom) {
        if (pos >= end) return;
        const bool segmentEnd = end >= Length(b - a);
        if (Dash() && !inPiece) Begin(a + u * pos);
        while (!Full() && !(AtStart() && pos >= stopFrom)) {
            if (remaining > end - pos) {
                remaining -= end - pos;
                pos = end;
                if (Dash()) line.m_piece.push_back(segmentEnd ? b : a + u * end);
                return;
            }
            const double next = pos + remaining;
            if (next == pos) {
                // An entry below the spacing of doubles here (far along a huge segment) would
                // never move on: the rest is continuous.
                if (!inPiece) Begin(a + u * pos);
                line.m_piece.push_back(segmentEnd ? b : a + u * end);
                ClosePiece();
                pos = end;
                return;
            }
            pos = next;
            if (Dash()) {
                line.m_piece.push_back(a + u * pos);
                ClosePiece();
            }
            NextEntry();
            if (Dash()) Begin(a + u * pos);
        }
    }

    // From a start of the pattern, on by whole periods to the last start at or before target.
    void SkipPeriods(const MFloatPoint& a, const MFloatPoint& u, double& pos, double target) {
        if (!AtStart() || !(period > 0.0) || target - pos < period) return;
        ClosePiece();
        pos += std::floor((target - pos) / period) * period;
        if (Dash()) Begin(a + u * pos);
    }
};

void MPolyLine::Dashed(const MFloatPoint* seq, int n, bool wide) {
    Walk walk(*this, wide);
    const bool clip = !m_visible.IsNull();
    for (int s = 0; s + 1 < n && !walk.Full(); ++s) {
        const MFloatPoint a = seq[s], b = seq[s + 1];
        if (IsZeroLength(a, b)) continue;
        const double length = Length(b - a);
        const MFloatPoint u = (b - a) / length;
        double t0 = 0.0, t1 = 1.0;
        const bool shown = !clip || ClipSegmentToRect(a, b, m_visible, t0, t1);
        double pos = 0.0;
        // The period begun on the segment before, where a piece may run on round the corner.
        walk.Along(a, b, u, pos, length, 0.0);
        if (shown) {
            walk.SkipPeriods(a, u, pos, t0 * length);
            walk.Along(a, b, u, pos, length, t1 < 1.0 ? t1 * length : length);
        }
        // The last period, whose piece may run on into the next segment.
        walk.SkipPeriods(a, u, pos, length);
        walk.Along(a, b, u, pos, length, length);
    }
    walk.ClosePiece();
}

void MPolyLine::Emit(MCadView* view, CDC* dc, bool wide, bool auxiliary) {
    m_logical.clear();
    m_logicalCounts.clear();
    if (wide) {
        ConvertPolygons(view);
        if (m_logicalCounts.empty()) return;
        CPen pen;
        CBrush brush;
        if (auxiliary) {
            pen.CreatePen(PS_SOLID, 1, kAuxiliaryColor);
            brush.CreateSolidBrush(kAuxiliaryColor);
        }
        CSelectScope selectPen(dc, auxiliary ? &pen : nullptr);
        CSelectScope selectBrush(dc, auxiliary ? &brush : nullptr);
        dc->PolyPolygon(m_logical.data(), m_logicalCounts.data(), static_cast<int>(m_logicalCounts.size()));
    } else {
        ConvertLines(view);
        EmitLines(dc, auxiliary);
    }
}

void MPolyLine::EmitLines(CDC* dc, bool auxiliary) {
    if (m_logicalCounts.empty()) return;
    CPen pen;
    if (auxiliary) pen.CreatePen(PS_SOLID, 1, kAuxiliaryColor);
    CSelectScope selectPen(dc, auxiliary ? &pen : nullptr);
    dc->PolyPolyline(m_logical.data(), m_logicalCounts.data(), static_cast<int>(m_logicalCounts.size()));
}

bool MPolyLine::ThinRunToLogical(MCadView* view, const MFloatPoint* points, int count, bool closed,
                                 bool lengthenEnd) {
    // The same points, in the same order and arithmetic, as the sequence Path and ConvertLines make.
    MFloatPoint last = points[count - 1];
    if (lengthenEnd) {
        for (int i = count - 1; i > 0; --i) {
            if (!IsZeroLength(points[i - 1], points[i])) {
                last += Unit(points[i] - points[i - 1]) * m_pixelDiagonal;
                break;
            }
        }
    }
    const LogicalMapping map(view);
    const bool clip = !m_visible.IsNull();
    m_logical.clear();
    m_logicalCounts.clear();
    const std::size_t n = static_cast<std::size_t>(count) + (closed ? 2 : 0);
    m_logical.resize(n);
    POINT* out = m_logical.data();
    const auto put = [&](const MFloatPoint& p) {
        if (clip && !Inside(p, m_visible)) return false;
        *out++ = map(p);
        return true;
    };
    const MFloatPoint middle = (points[count - 1] + points[0]) * 0.5;
    if (closed && !put(middle)) return false;
    for (int i = 0; i + 1 < count; ++i)
        if (!put(points[i])) return false;
    if (!put(last)) return false;
    if (closed && !put(middle)) return false;
    m_logicalCounts.push_back(static_cast<int>(n));
    return true;
}

void MPolyLine::ConvertPolygons(MCadView* view) {
    const LogicalMapping map(view);
    const bool clip = !m_visible.IsNull();
    std::size_t k = 0;
    for (int n : m_polygonCounts) {
        const MFloatPoint* ring = m_polygonPoints.data() + k;
        k += static_cast<std::size_t>(n);
        const std::size_t at = m_logical.size();
        m_logical.resize(at + n);
        bool inside = true;
        if (clip) {
            // Converted while tested; a ring that leaves the rectangle is taken back and clipped.
            for (int i = 0; i < n && inside; ++i) {
                inside = Inside(ring[i], m_visible);
                if (inside) m_logical[at + i] = map.Finite(ring[i]);
            }
        } else {
            for (int i = 0; i < n; ++i)
                m_logical[at + i] = map(ring[i]);
        }
        if (inside) {
            m_logicalCounts.push_back(n);
        } else {
            m_logical.resize(at);
            m_one.assign(ring, ring + n);
            m_oneCount.assign(1, n);
            ClipAndConvertPolygons(view, m_visible, m_one, m_oneCount, m_logical, m_logicalCounts, m_clipA,
                                   m_clipB);
        }
    }
}

void MPolyLine::ConvertLines(MCadView* view) {
    const LogicalMapping map(view);
    const bool clip = !m_visible.IsNull();
    std::size_t k = 0;
    for (int n : m_lineCounts) {
        const MFloatPoint* run = m_linePoints.data() + k;
        k += static_cast<std::size_t>(n);
        if (n < 2) continue;
        bool inside = true;
        for (int i = 0; clip && i < n && inside; ++i)
            inside = Inside(run[i], m_visible);
        if (inside) {
            for (int i = 0; i < n; ++i)
                m_logical.push_back(map(run[i]));
            m_logicalCounts.push_back(n);
        } else {
            m_one.assign(run, run + n);
            m_oneCount.assign(1, n);
            ClipAndConvertLines(view, m_visible, m_one, m_oneCount, m_logical, m_logicalCounts);
        }
    }
}

void DrawLineStyleSample(CDC* dc, int lineStyle, int x, int y, int right, int height) {
    if (!dc || lineStyle < 0) return;
    // Called from paint handlers: a style outside the table paints nothing rather than throwing.
    const MLineStyle* style = GetLineStyleTable().Find(lineStyle);
    if (!style) return;
    const double p = dc->GetDeviceCaps(LOGPIXELSX) / 25.4;
    if (MPolyLine::IsAuxiliaryLineStyle(lineStyle)) {
        CFont font;
        font.CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
        CSelectScope selectFont(dc, &font);
        const std::string label = AfxLoadString(IDS_AUXILIARY_LINE);
        dc->TextOut(x, y, label);
        x += dc->GetTextExtent(label).cx + 2;
    }
    const int yc = y + height / 2;
    dc->MoveTo(x, yc);
    const int k = style->m_dashes.GetSize();
    if (k == 0) return;
    // Every entry advances at least one pixel, so the loop ends after right - x entries at most.
    for (int i = 0; x < right; i = (i + 1) % k) {
        const double e = style->m_dashes[i];
        if (e == 0.0) {
            dc->LineTo(right, yc);
            return;
        }
        const double step = std::min(std::fabs(e) * p, double(right - x) + 1e6);
        x += std::max(1, static_cast<int>(step));
        if (e < 0)
            dc->MoveTo(x, yc);
        else
            dc->LineTo(x, yc);
    }
}
