#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <random>
#include <vector>

#include "platform/gdi/DC.h"
#include "platform/gdi/GdiRaster.h"
#include "platform/gdi/QtGdi.h"

namespace {

constexpr std::uint32_t kInk = 0xFF102030u;
constexpr std::uint32_t kPaper = 0xFFFFFFFFu;

struct Canvas {
    explicit Canvas(int w, int h) : image(w, h, QImage::Format_RGB32) { image.fill(kPaper); }
    GdiRaster& Raster(CRect clip = CRect()) {
        if (clip.IsRectEmpty()) clip = CRect(0, 0, image.width(), image.height());
        raster.SetTarget(reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, clip);
        return raster;
    }
    QImage image;
    GdiRaster raster;
};

std::vector<GdiPointF> RandomRing(std::mt19937& random, int n, int low, int high) {
    std::uniform_int_distribution<int> c(low, high);
    std::vector<GdiPointF> ring(n);
    for (GdiPointF& p : ring)
        p = {double(c(random)), double(c(random))};
    return ring;
}

int Ink(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != kPaper;
    return n;
}

}  // namespace

// Whether the point (x, y) lies exactly on one of the figure's edges.
static bool OnAnEdge(int x, int y, const std::vector<GdiPointF>& points, const std::vector<int>& counts) {
    int k = 0;
    for (int n : counts) {
        for (int j = 0; j < n; ++j) {
            const GdiPointF a = points[k + j], b = points[k + (j + 1) % n];
            const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
            if (cross == 0 && std::min(a.x, b.x) <= x && x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= y &&
                y <= std::max(a.y, b.y))
                return true;
        }
        k += n;
    }
    return false;
}

// The fill takes the pixels whose points lie inside: the painter's aliased fill of the figure
// moved by half a pixel (the painter samples pixel centres) gives the same pixels except where
// a point lies exactly on an edge, for random self-crossing and touching figures under both rules.
TEST(GdiRasterTest, FillsTakeThePixelsWhosePointsLieInside) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> ringCount(1, 3), pointCount(3, 9);
    int onEdges = 0;
    for (int trial = 0; trial < 600; ++trial) {
        std::vector<GdiPointF> points;
        std::vector<int> counts;
        const int rings = ringCount(random);
        for (int r = 0; r < rings; ++r) {
            const auto ring = RandomRing(random, pointCount(random), -6, 46);
            points.insert(points.end(), ring.begin(), ring.end());
            counts.push_back(int(ring.size()));
        }
        const bool winding = trial % 2 == 0;
        const bool clipped = trial % 3 == 0;
        Canvas ours(40, 40);
        ours.Raster(clipped ? CRect(3, 5, 31, 37) : CRect())
            .FillPolygons(points.data(), counts.data(), rings, winding, kInk);

        QImage theirs(40, 40, QImage::Format_RGB32);
        theirs.fill(kPaper);
        {
            QPainter p(&theirs);
            p.setRenderHint(QPainter::Antialiasing, false);
            if (clipped) p.setClipRect(QRect(3, 5, 28, 32));
            QPainterPath path;
            path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
            int k = 0;
            for (int n : counts) {
                QPolygonF poly;
                for (int j = 0; j < n; ++j)
                    poly << QPointF(points[k + j].x + 0.5, points[k + j].y + 0.5);
                path.addPolygon(poly);
                path.closeSubpath();
                k += n;
            }
            p.fillPath(path, QColor::fromRgb(kInk));
        }
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (ours.image.pixel(x, y) != theirs.pixel(x, y)) {
                    ASSERT_TRUE(OnAnEdge(x, y, points, counts)) << trial << ": " << x << "," << y;
                    ++onEdges;
                }

        // Corner coordinates (offset -0.5) give the same pixels.
        std::vector<GdiPointF> corners = points;
        for (GdiPointF& p : corners)
            p.x += 0.5, p.y += 0.5;
        Canvas again(40, 40);
        again.Raster(clipped ? CRect(3, 5, 31, 37) : CRect())
            .FillPolygons(corners.data(), counts.data(), rings, winding, kInk, -0.5);
        ASSERT_EQ(again.image, ours.image) << trial;
    }
    EXPECT_GT(onEdges, 0);  // the comparison did meet points on edges
}

TEST(GdiRasterTest, PointsOnLeftAndTopEdgesAreInsideOnRightAndBottomOutside) {
    Canvas canvas(20, 20);
    const GdiPointF diamond[] = {{10, 2}, {16, 8}, {10, 14}, {4, 8}};
    const int count = 4;
    canvas.Raster().FillPolygons(diamond, &count, 1, false, kInk);
    EXPECT_EQ(canvas.image.pixel(10, 3), kInk);
    EXPECT_EQ(canvas.image.pixel(4, 8), kInk);     // left vertex
    EXPECT_EQ(canvas.image.pixel(7, 5), kInk);     // upper left edge
    EXPECT_EQ(canvas.image.pixel(13, 5), kPaper);  // upper right edge
    EXPECT_EQ(canvas.image.pixel(12, 5), kInk);
    EXPECT_EQ(canvas.image.pixel(10, 14), kPaper);  // bottom vertex
    EXPECT_EQ(canvas.image.pixel(16, 8), kPaper);   // right vertex
}

TEST(GdiRasterTest, LinesLeaveOutTheirLastPixelAndStayNearTheLine) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> c(0, 39);
    for (int trial = 0; trial < 500; ++trial) {
        const GdiPointF a{double(c(random)), double(c(random))}, b{double(c(random)), double(c(random))};
        Canvas canvas(40, 40);
        const GdiPointF run[] = {a, b};
        const int count = 2;
        canvas.Raster().StrokeRuns(run, &count, 1, kInk);
        const int dx = int(b.x - a.x), dy = int(b.y - a.y);
        ASSERT_EQ(Ink(canvas.image), std::max(std::abs(dx), std::abs(dy))) << trial;
        if (dx == 0 && dy == 0) continue;
        EXPECT_EQ(canvas.image.pixel(int(a.x), int(a.y)), kInk);
        EXPECT_EQ(canvas.image.pixel(int(b.x), int(b.y)), kPaper);
        // Every pixel lies within half a pixel of the line along the minor axis.
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                if (canvas.image.pixel(x, y) != kInk) continue;
                const double off = xMajor ? a.y + (x - a.x) * dy / dx - y : a.x + (y - a.y) * dx / dy - x;
                EXPECT_LE(std::fabs(off), 0.5) << trial;
            }
    }
}

TEST(GdiRasterTest, ClippingKeepsExactlyThePixelsInsideTheClip) {
    std::mt19937 random(5);
    const CRect clip(7, 4, 29, 33);
    for (int trial = 0; trial < 300; ++trial) {
        const auto ring = RandomRing(random, 5, -20, 60);
        const int count = 5;
        Canvas full(40, 40), clipped(40, 40);
        full.Raster().StrokeRings(ring.data(), &count, 1, kInk);
        full.Raster().FillPolygons(ring.data(), &count, 1, true, kInk);
        clipped.Raster(clip).StrokeRings(ring.data(), &count, 1, kInk);
        clipped.Raster(clip).FillPolygons(ring.data(), &count, 1, true, kInk);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const QRgb expected = clip.PtInRect(CPoint(x, y)) ? full.image.pixel(x, y) : kPaper;
                ASSERT_EQ(clipped.image.pixel(x, y), expected) << trial << " " << x << "," << y;
            }
    }
}

// Pixels of the background that cannot be reached from the border through background pixels.
static int EnclosedPaper(const QImage& image) {
    const int w = image.width(), h = image.height();
    std::vector<char> seen(w * h, 0);
    std::vector<int> stack;
    for (int x = 0; x < w; ++x)
        stack.push_back(x), stack.push_back((h - 1) * w + x);
    for (int y = 0; y < h; ++y)
        stack.push_back(y * w), stack.push_back(y * w + w - 1);
    while (!stack.empty()) {
        const int i = stack.back();
        stack.pop_back();
        if (seen[i] || image.pixel(i % w, i / w) != kPaper) continue;
        seen[i] = 1;
        const int x = i % w, y = i / w;
        if (x > 0) stack.push_back(i - 1);
        if (x + 1 < w) stack.push_back(i + 1);
        if (y > 0) stack.push_back(i - w);
        if (y + 1 < h) stack.push_back(i + w);
    }
    int enclosed = 0;
    for (int i = 0; i < w * h; ++i)
        enclosed += !seen[i] && image.pixel(i % w, i / w) == kPaper;
    return enclosed;
}

// A convex figure filled and outlined in one colour is solid: the outline meets the fill
// everywhere, thin slivers included, and covers every vertex and the right and bottom edges.
TEST(GdiRasterTest, OutlineMeetsTheFillWithoutPinholes) {
    std::mt19937 random(3);
    for (int trial = 0; trial < 1000; ++trial) {
        const int count = 3;
        const auto ring = RandomRing(random, count, 2, 37);
        Canvas canvas(40, 40);
        canvas.Raster().FillPolygons(ring.data(), &count, 1, true, kInk);
        canvas.Raster().StrokeRings(ring.data(), &count, 1, kInk);
        for (const GdiPointF& p : ring)
            ASSERT_EQ(canvas.image.pixel(int(p.x), int(p.y)), kInk) << trial;
        ASSERT_EQ(EnclosedPaper(canvas.image), 0) << trial;
    }
    Canvas square(20, 20);
    const GdiPointF pts[] = {{2, 2}, {12, 2}, {12, 12}, {2, 12}};
    const int count = 4;
    square.Raster().FillPolygons(pts, &count, 1, true, kInk);
    EXPECT_EQ(Ink(square.image), 100);
    square.Raster().StrokeRings(pts, &count, 1, kInk);
    EXPECT_EQ(Ink(square.image), 121);
}

TEST(GdiRasterTest, OnlyPointsOnTheGridWithinRangeAreTaken) {
    const GdiPointF whole[] = {{1, 2}, {-3, 40000}};
    const GdiPointF half[] = {{1, 2.5}};
    const GdiPointF quarter[] = {{1, 2.25}};
    const GdiPointF huge[] = {{1e9, 0}};
    const GdiPointF nan[] = {{std::nan(""), 0}};
    EXPECT_TRUE(GdiRaster::IsOnGrid(whole, 2, 1.0));
    EXPECT_FALSE(GdiRaster::IsOnGrid(half, 1, 1.0));
    EXPECT_TRUE(GdiRaster::IsOnGrid(half, 1, 0.5));
    EXPECT_FALSE(GdiRaster::IsOnGrid(quarter, 1, 0.5));
    EXPECT_FALSE(GdiRaster::IsOnGrid(huge, 1, 1.0));
    EXPECT_FALSE(GdiRaster::IsOnGrid(nan, 1, 0.5));
}

// Rings far apart are filled one by one; the result is the figure's all the same.
TEST(GdiRasterTest, RingsApartFillLikeOneFigure) {
    std::mt19937 random(17);
    for (int trial = 0; trial < 600; ++trial) {
        std::vector<GdiPointF> points;
        std::vector<int> counts;
        for (int r = 0; r < 4; ++r) {
            auto ring = RandomRing(random, 3 + trial % 5, 0, 18);
            for (GdiPointF& p : ring)
                p.x += 20 * (r % 2), p.y += 20 * (r / 2);
            points.insert(points.end(), ring.begin(), ring.end());
            counts.push_back(int(ring.size()));
        }
        // Every third trial without the outline, which would hide the fill's own edge pixels.
        const bool pen = trial % 3 != 0;
        Canvas together(40, 40), alone(40, 40);
        together.Raster().DrawPolygons(points.data(), counts.data(), 4, trial % 2 == 0, true, kInk, pen,
                                       kInk);
        int k = 0;
        for (int n : counts) {
            alone.Raster().FillPolygons(points.data() + k, &n, 1, trial % 2 == 0, kInk);
            if (pen) alone.Raster().StrokeRings(points.data() + k, &n, 1, kInk);
            k += n;
        }
        ASSERT_EQ(together.image, alone.image) << trial;
    }
}

// Through the device context: the direct path (copying) and the painter's path (XOR) cover the
// same pixels of a polygon, but for points exactly on an edge; a rectangular clip keeps the
// direct path and cuts exactly.
TEST(GdiRasterTest, ContextPathsAgreeOnPolygonPixels) {
    std::mt19937 random(23);
    for (int trial = 0; trial < 150; ++trial) {
        const auto ring = RandomRing(random, 3 + trial % 4, 2, 38);
        std::vector<POINT> pts;
        for (const GdiPointF& p : ring)
            pts.push_back(POINT{LONG(p.x), LONG(p.y)});
        auto draw = [&](int rop, const CRect* clip) {
            CDC dc;
            dc.CreateImageDC(40, 40);
            dc.SelectStockObject(NULL_PEN);
            // White XOR white is black: both paths leave black where they fill.
            dc.SelectStockObject(rop == R2_XORPEN ? WHITE_BRUSH : BLACK_BRUSH);
            dc.SetPolyFillMode(trial % 2 ? WINDING : ALTERNATE);
            dc.SetROP2(rop);
            if (clip) dc.IntersectClipRect(clip);
            dc.Polygon(pts.data(), int(pts.size()));
            return GetDCImage(dc)->copy();
        };
        const QImage copied = draw(R2_COPYPEN, nullptr);
        const QImage xored = draw(R2_XORPEN, nullptr);
        const std::vector<int> counts{int(ring.size())};
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (copied.pixel(x, y) != xored.pixel(x, y)) {
                    ASSERT_TRUE(OnAnEdge(x, y, ring, counts)) << trial;
                }
        const CRect clip(5, 7, 33, 30);
        const QImage clipped = draw(R2_COPYPEN, &clip);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(clipped.pixel(x, y), clip.PtInRect(CPoint(x, y)) ? copied.pixel(x, y) : 0xFFFFFFFFu)
                    << trial;
    }
}

// A polygon reaching far past the target is cut to the guard band and filled by the painter;
// its pixels agree with the same polygon drawn whole on a larger target (but for points exactly
// on an edge).
TEST(GdiRasterTest, PolygonsCutAtTheGuardAgreeWithWholeOnes) {
    std::mt19937 random(29);
    for (int trial = 0; trial < 100; ++trial) {
        const auto ring = RandomRing(random, 3 + trial % 4, -90, 130);
        std::vector<POINT> pts;
        for (const GdiPointF& p : ring)
            pts.push_back(POINT{LONG(p.x), LONG(p.y)});
        auto draw = [&](int size, int origin) {
            CDC dc;
            dc.CreateImageDC(size, size);
            dc.SetViewportOrg(origin, origin);
            dc.SelectStockObject(trial % 3 ? NULL_PEN : BLACK_PEN);
            dc.SelectStockObject(BLACK_BRUSH);
            dc.Polygon(pts.data(), int(pts.size()));
            return GetDCImage(dc)->copy();
        };
        const QImage cut = draw(40, 0), whole = draw(400, 150).copy(150, 150, 40, 40);
        const std::vector<int> counts{int(ring.size())};
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                if (cut.pixel(x, y) != whole.pixel(x, y)) {
                    ASSERT_TRUE(OnAnEdge(x, y, ring, counts)) << trial;
                }
    }
}

// A line reaching far beyond the target shows the pixels of the whole line: at each column the
// row nearest to it, however far away its ends lie.
TEST(GdiRasterTest, LongLinesShowTheirOwnPixelsInside) {
    std::mt19937 random(31);
    std::uniform_int_distribution<int> far(-3000000, 3000000);
    for (int trial = 0; trial < 200; ++trial) {
        const std::int64_t x0 = -5000000 - far(random) % 1000, x1 = 5000000 + far(random) % 1000;
        const std::int64_t y0 = 20 + far(random), y1 = 20 - (y0 - 20) + far(random) % 7;
        CDC dc;
        dc.CreateImageDC(40, 40);
        const POINT pts[] = {{LONG(x0), LONG(y0)}, {LONG(x1), LONG(y1)}};
        dc.Polyline(pts, 2);
        const QImage* image = GetDCImage(dc);
        int expected = 0;
        for (int x = 0; x < 40; ++x) {
            // ceil(y0 + (x - x0) dy / dx - 1/2), in integers.
            const std::int64_t dx = x1 - x0, dy = y1 - y0, m = 2 * y0 * dx + 2 * (x - x0) * dy - dx;
            const std::int64_t y = m >= 0 ? (m + 2 * dx - 1) / (2 * dx) : -((-m) / (2 * dx));
            if (y < 0 || y >= 40) continue;
            ++expected;
            ASSERT_EQ(image->pixel(x, int(y)), qRgb(0, 0, 0)) << trial << " column " << x;
        }
        ASSERT_EQ(Ink(*image), expected) << trial;
    }
}
