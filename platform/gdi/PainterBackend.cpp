// The QPainter back end: GDI's pixel rules on Qt's raster engine. Lines go through pixel
// indices (the last pixel of a line is left out, as GDI does), fills cover the pixels whose
// centres lie inside, antialiasing is always off for geometry. Raster operations other than
// copying are applied pixel by pixel from a coverage image, so every pixel of one primitive is
// combined exactly once (drawing twice in XOR restores the image). Solid fills and thin solid
// lines copied onto an image with at most a rectangular clip, most of what a drawing is made
// of, go to a rasterizer of our own that writes the pixels directly.
#include <QPageLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPrinter>
#include <QSvgRenderer>
#include <QTransform>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <optional>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "platform/gdi/FastDeflate.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/GdiRaster.h"
#include "platform/gdi/PrintedRuns.h"
#include "platform/gdi/QtGdi.h"
#include "platform/gdi/RunClip.h"

namespace {

constexpr COLORREF kInvalidColor = 0xFFFFFFFF;
// Above this character height text is drawn as a path clipped to the target.
constexpr double kPathTextEm = 1024.0;
// Lines waiting for the printer are drawn at the latest when their path holds this many points.
constexpr int kMostWaitingPoints = 4096;

Qt::BrushStyle HatchStyle(int hatch) {
    switch (hatch) {
        case HS_HORIZONTAL:
            return Qt::HorPattern;
        case HS_VERTICAL:
            return Qt::VerPattern;
        case HS_FDIAGONAL:
            return Qt::FDiagPattern;
        case HS_BDIAGONAL:
            return Qt::BDiagPattern;
        case HS_CROSS:
            return Qt::CrossPattern;
        default:
            return Qt::DiagCrossPattern;
    }
}

QRgb ApplyRop2(int rop, QRgb pen, QRgb dst) {
    const quint32 p = pen & 0xFFFFFF;
    const quint32 d = dst & 0xFFFFFF;
    quint32 r;
    switch (rop) {
        case R2_BLACK:
            r = 0;
            break;
        case R2_NOTMERGEPEN:
            r = ~(p | d);
            break;
        case R2_MASKNOTPEN:
            r = ~p & d;
            break;
        case R2_NOTCOPYPEN:
            r = ~p;
            break;
        case R2_MASKPENNOT:
            r = p & ~d;
            break;
        case R2_NOT:
            r = ~d;
            break;
        case R2_XORPEN:
            r = p ^ d;
            break;
        case R2_NOTMASKPEN:
            r = ~(p & d);
            break;
        case R2_MASKPEN:
            r = p & d;
            break;
        case R2_NOTXORPEN:
            r = ~(p ^ d);
            break;
        case R2_NOP:
            r = d;
            break;
        case R2_MERGENOTPEN:
            r = ~p | d;
            break;
        case R2_MERGEPENNOT:
            r = p | ~d;
            break;
        case R2_MERGEPEN:
            r = p | d;
            break;
        case R2_WHITE:
            r = 0xFFFFFF;
            break;
        default:
            r = p;
            break;
    }
    return 0xFF000000u | (r & 0xFFFFFF);
}

// Reads pixels of a packed device-independent bitmap that the caller has validated.
class DibReader {
public:
    DibReader(const BITMAPINFO* info, const void* bits) : m_h(info->bmiHeader) {
        m_bits = static_cast<const BYTE*>(bits);
        m_width = m_h.biWidth;
        m_height = std::abs(m_h.biHeight);
        m_bottomUp = m_h.biHeight > 0;
        m_stride = ((static_cast<qint64>(m_width) * m_h.biBitCount + 31) / 32) * 4;
        const auto* table = reinterpret_cast<const BYTE*>(info) + m_h.biSize;
        if (m_h.biCompression == BI_BITFIELDS) {
            std::memcpy(m_masks, table, sizeof(m_masks));
        } else if (m_h.biBitCount == 16) {
            m_masks[0] = 0x7C00, m_masks[1] = 0x03E0, m_masks[2] = 0x001F;
        } else if (m_h.biBitCount == 32) {
            m_masks[0] = 0xFF0000, m_masks[1] = 0x00FF00, m_masks[2] = 0x0000FF;
        }
        if (m_h.biBitCount <= 8) {
            const DWORD count = m_h.biClrUsed ? m_h.biClrUsed : (1u << m_h.biBitCount);
            m_colors.resize(std::min<DWORD>(count, 256));
            for (std::size_t i = 0; i < m_colors.size(); ++i) {
                const BYTE* q = table + 4 * i;
                m_colors[i] = qRgb(q[2], q[1], q[0]);
            }
        }
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool BottomUp() const { return m_bottomUp; }

    // Row as stored (0 is the first row in memory).
    QRgb Pixel(int x, int memoryRow) const {
        const BYTE* row = m_bits + m_stride * memoryRow;
        switch (m_h.biBitCount) {
            case 1:
                return Index((row[x >> 3] >> (7 - (x & 7))) & 1);
            case 4:
                return Index((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
            case 8:
                return Index(row[x]);
            case 16:
                return Masked(row[2 * x] | (row[2 * x + 1] << 8));
            case 24:
                return qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            default: {
                const BYTE* p = row + 4 * x;
                return Masked(p[0] | (p[1] << 8) | (p[2] << 16) | (DWORD(p[3]) << 24));
            }
        }
    }

private:
    QRgb Index(unsigned i) const { return i < m_colors.size() ? m_colors[i] : qRgb(0, 0, 0); }
    static int Channel(DWORD v, DWORD mask) {
        if (!mask) return 0;
        int shift = 0;
        while (!((mask >> shift) & 1))
            ++shift;
        const DWORD m = mask >> shift;
        const DWORD c = (v & mask) >> shift;
        return m ? static_cast<int>((c * 255 + m / 2) / m) : 0;
    }
    QRgb Masked(DWORD v) const {
        return qRgb(Channel(v, m_masks[0]), Channel(v, m_masks[1]), Channel(v, m_masks[2]));
    }

    BITMAPINFOHEADER m_h;
    const BYTE* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_bottomUp = true;
    qint64 m_stride = 0;
    DWORD m_masks[3] = {0, 0, 0};
    std::vector<QRgb> m_colors;
};

// Figures drawn directly land anywhere on a large image, a row of pixels per page of memory:
// its whole pages of huge size keep the address translations of a full screen in a handful
// of entries. Only advice: where the system declines, nothing changes.
void AdviseHugePages(const void* data, std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHuge = std::uintptr_t(1) << 21;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1), last = (begin + size) & ~(kHuge - 1);
    if (last <= first) return;
    // Every paint makes a new context on the same surface: advise each buffer once.
    static std::atomic<std::uintptr_t> advised{0};
    if (advised.exchange(first) == first) return;
    void* const pages = reinterpret_cast<void*>(first);
    madvise(pages, last - first, MADV_HUGEPAGE);
    // The pixels exist already (the image is filled when made): gather them now rather than
    // whenever the system gets round to it.
#ifdef MADV_COLLAPSE
    madvise(pages, last - first, MADV_COLLAPSE);
#else
    madvise(pages, last - first, 25);  // MADV_COLLAPSE of newer kernels; older ones refuse it
#endif
#else
    (void)data, (void)size;
#endif
}

class PainterBackend;
// One painter at a time may work on an image: a back end that starts painting first finishes
// the painter another context left open on the same image.
std::map<const QImage*, PainterBackend*>& ActivePainters() {
    static std::map<const QImage*, PainterBackend*> active;
    return active;
}

class PainterBackend final : public GdiBackend {
public:
    explicit PainterBackend(std::shared_ptr<CBitmap::Surface> surface)
        : m_surface(std::move(surface)), m_image(&m_surface->image) {}
    explicit PainterBackend(QImage* image) : m_image(image) {}
    PainterBackend(QPainter* painter, const PainterTargetInfo& info) : m_external(painter), m_info(info) {}
    // A printer: the painter belongs to the back end and runs from StartDoc to EndDoc.
    explicit PainterBackend(QPrinter* printer) : m_printer(printer) {
        const int dpi = printer->resolution();
        const QPageLayout layout = printer->pageLayout();
        const QRect paint = layout.paintRectPixels(dpi);
        const QRect full = layout.fullRectPixels(dpi);
        m_info.dpiX = m_info.dpiY = dpi;
        m_info.printing = true;
        m_info.pixelSize = CSize(paint.width(), paint.height());
        m_info.physicalSize = CSize(full.width(), full.height());
        m_info.physicalOffset = CPoint(paint.left() - full.left(), paint.top() - full.top());
    }

    int StartDoc(const std::string& name) override {
        if (!m_printer || m_ownedPainter) return m_printer ? 1 : 0;
        if (!name.empty()) m_printer->setDocName(QString::fromStdString(name));
        m_ownedPainter = std::make_unique<QPainter>();
        m_fastDeflate.emplace();
        if (!m_ownedPainter->begin(m_printer)) {
            m_ownedPainter.reset();
            m_fastDeflate.reset();
            return 0;
        }
        m_external = m_ownedPainter.get();
        m_appliedClip = m_clipSerial - 1;
        m_pages = 0;
        return 1;
    }
    int StartPage() override {
        if (!m_ownedPainter) return m_printer ? 0 : 1;
        DrawWaitingLines();
        if (m_pages++ > 0 && !m_printer->newPage()) return 0;
        return 1;
    }
    int EndDoc() override {
        if (!m_ownedPainter) return m_printer ? 0 : 1;
        DrawWaitingLines();
        m_external = nullptr;
        const bool ok = m_ownedPainter->end();
        m_ownedPainter.reset();
        m_fastDeflate.reset();
        return ok ? 1 : 0;
    }
    int AbortDoc() override {
        if (!m_ownedPainter) return m_printer ? 0 : 1;
        m_linesWait = false;
        m_printer->abort();
        m_external = nullptr;
        m_ownedPainter->end();
        m_ownedPainter.reset();
        m_fastDeflate.reset();
        return 1;
    }
    ~PainterBackend() override {
        DrawWaitingLines();
        Flush();
        if (m_ownedPainter) m_ownedPainter->end();
    }

    int GetDeviceCaps(int index) const override {
        const CRect b = GetBounds();
        const int dpiX = m_image ? 96 : m_info.dpiX;
        const int dpiY = m_image ? 96 : m_info.dpiY;
        switch (index) {
            case TECHNOLOGY:
                return m_info.printing ? DT_RASPRINTER : DT_RASDISPLAY;
            case LOGPIXELSX:
                return dpiX;
            case LOGPIXELSY:
                return dpiY;
            case HORZRES:
                return b.Width();
            case VERTRES:
                return b.Height();
            case HORZSIZE:
                return dpiX > 0 ? static_cast<int>(std::lround(b.Width() * 25.4 / dpiX)) : 0;
            case VERTSIZE:
                return dpiY > 0 ? static_cast<int>(std::lround(b.Height() * 25.4 / dpiY)) : 0;
            case BITSPIXEL:
                return IsMonochrome() ? 1 : 32;
            case PLANES:
                return 1;
            case NUMCOLORS:
                return IsMonochrome() ? 2 : -1;
            case PHYSICALWIDTH:
                return m_info.printing ? m_info.physicalSize.cx : 0;
            case PHYSICALHEIGHT:
                return m_info.printing ? m_info.physicalSize.cy : 0;
            case PHYSICALOFFSETX:
                return m_info.printing ? m_info.physicalOffset.x : 0;
            case PHYSICALOFFSETY:
                return m_info.printing ? m_info.physicalOffset.y : 0;
            default:
                return 0;
        }
    }

    CRect GetBounds() const override {
        if (m_image) return CRect(0, 0, m_image->width(), m_image->height());
        return CRect(0, 0, m_info.pixelSize.cx, m_info.pixelSize.cy);
    }
    bool IsPrinting() const override { return m_info.printing; }
    bool IsMonochrome() const override { return m_surface && m_surface->monochrome; }
    // Images draw thin lines directly with exact clipping; the painter's path cuts them first.
    bool TakesLongThinLines() const override { return m_image && !m_external; }
    // A printer's page keeps curves as curves: a fraction of the bytes of their polylines.
    bool TakesCurves() const override { return m_printer != nullptr; }

    void Beziers(const GdiPointF* points, int count, const GdiAttributes& a) override {
        if (a.pen.lopnStyle == PS_NULL || a.rop2 == R2_NOP || ClipIsEmpty() || count < 4) return;
        if (a.rop2 != R2_COPYPEN) {
            std::vector<GdiPointF> flat;
            FlattenBeziers(points, count, flat);
            const int n = static_cast<int>(flat.size());
            GdiBackend::Polylines(flat.data(), &n, 1, a);
            return;
        }
        // Thin lines run through pixel indices; wide lines are areas centred on the pixels.
        const double shift = a.pen.lopnWidth.x > 1 ? 0.5 : 0.0;
        const auto at = [&](int i) { return QPointF(points[i].x + shift, points[i].y + shift); };
        if (!Styled(a.pen) && WaitWith(PenOf(a.pen))) {
            m_printPath.moveTo(at(0));
            for (int i = 1; i + 2 < count; i += 3)
                m_printPath.cubicTo(at(i), at(i + 1), at(i + 2));
            return;
        }
        QPainter* p = BeginCall();
        if (!p) return;
        QPainterPath path(at(0));
        for (int i = 1; i + 2 < count; i += 3)
            path.cubicTo(at(i), at(i + 1), at(i + 2));
        p->setPen(PenOf(a.pen));
        p->setBrush(Qt::NoBrush);
        p->drawPath(path);
        EndCall();
    }

    void SetClip(const CRgn* clip) override {
        DrawWaitingLines();
        if (clip && clip->GetData())
            m_clip = clip->GetData()->path;
        else if (clip)
            m_clip = QPainterPath();
        else
            m_clip.reset();
        // A clip of whole pixels in one rectangle (the usual update region) keeps the direct path.
        m_clipRect.reset();
        m_clipComplex = false;
        if (m_clip && !m_clip->isEmpty()) {
            RECT box;
            if (clip->GetRgnBox(&box) == SIMPLEREGION &&
                m_clip->boundingRect() ==
                    QRectF(box.left, box.top, box.right - box.left, box.bottom - box.top))
                m_clipRect = CRect(box);
            else
                m_clipComplex = true;
        }
        ++m_clipSerial;
    }

    void DrawFigure(const GdiFigure& figure, const GdiAttributes& a) override {
        const bool fill = a.brush.lbStyle != BS_NULL && !figure.fillCounts.empty();
        const bool lines = a.pen.lopnStyle != PS_NULL && !figure.lineCounts.empty();
        if (!fill && !lines) return;
        if (a.rop2 == R2_NOP || ClipIsEmpty()) return;
        // Each part goes straight to the pixels when it can; the fill comes first either way.
        const bool fillDirect = fill && Copies(a.rop2) && a.brush.lbStyle == BS_SOLID && BeginDirect() &&
                                m_raster.Admit(figure.fill.data(), int(figure.fill.size()), 0.5);
        // Exclusive or only without a fill: the painter's fill and the outline would both flip
        // the pixels they share.
        const bool linesRaster = lines && !fill &&
                                 RasterRuns(figure.lines.data(), figure.lineCounts.data(),
                                            int(figure.lineCounts.size()), int(figure.lines.size()), a);
        const bool linesDirect = lines && !linesRaster && Copies(a.rop2) && ThinSolid(a.pen) &&
                                 BeginDirect() &&
                                 m_raster.Admit(figure.lines.data(), int(figure.lines.size()), 1.0);
        if (fillDirect) {
            // Fill rings come in corner coordinates: the pixel (x, y) is the point (x + 0.5, y + 0.5).
            m_raster.FillPolygons(figure.fill.data(), figure.fillCounts.data(), int(figure.fillCounts.size()),
                                  a.polyFillMode == WINDING, Ink(a.brush.lbColor, a.rop2), -0.5);
        }
        const bool linesPainted = lines && !linesDirect && !linesRaster;
        if ((fill && !fillDirect) || linesPainted) PaintFigure(figure, a, fill && !fillDirect, linesPainted);
        if (linesDirect && BeginDirect())
            m_raster.StrokeRuns(figure.lines.data(), figure.lineCounts.data(), int(figure.lineCounts.size()),
                                Ink(a.pen.lopnColor, a.rop2));
    }

    // Thin solid runs of whole points, copied or combined by exclusive or (the tracking figures),
    // always with the raster's pixels: what a paint of a region shows must be what a paint of the
    // whole client or a client DC shows there, or a repaint, or the erasing of an XOR figure,
    // leaves a residue. A clip that is not one rectangle goes through a mask of its pixels. False,
    // drawing nothing, for anything else.
    bool RasterRuns(const GdiPointF* points, const int* counts, int runCount, int total,
                    const GdiAttributes& a) {
        const bool flips = a.rop2 == R2_XORPEN;
        if ((!flips && !Copies(a.rop2)) || !ThinSolid(a.pen) || !m_image || m_external || !DirectFormat())
            return false;
        const std::uint32_t ink = flips ? Ink(a.pen.lopnColor, R2_COPYPEN) : Ink(a.pen.lopnColor, a.rop2);
        if (!m_clipComplex) {
            if (!BeginDirect() || !m_raster.Admit(points, total, 1.0)) return false;
            if (flips)
                m_raster.XorRuns(points, counts, runCount, ink);
            else
                m_raster.StrokeRuns(points, counts, runCount, ink);
            return true;
        }
        if (!GdiRaster::IsOnGrid(points, total, 1.0)) return false;
        const QRect area = Extent(points, counts, runCount, 1).toAlignedRect() & ToQRect(GetBounds()) &
                           m_clip->boundingRect().toAlignedRect();
        if (area.isEmpty()) return true;
        m_shifted.assign(points, points + total);
        for (GdiPointF& p : m_shifted)
            p.x -= area.left(), p.y -= area.top();
        // The figure on pixels of its own (0: untouched), then through the clip's mask.
        std::vector<std::uint32_t> figure(std::size_t(area.width()) * std::size_t(area.height()), 0u);
        GdiRaster raster;
        raster.SetTarget(figure.data(), area.width(), CRect(0, 0, area.width(), area.height()));
        if (flips)
            raster.XorRuns(m_shifted.data(), counts, runCount, ink);
        else
            raster.StrokeRuns(m_shifted.data(), counts, runCount, ink);
        QImage mask(area.size(), QImage::Format_Alpha8);
        mask.fill(0);
        {
            QPainter mp(&mask);
            mp.translate(-area.left(), -area.top());
            mp.fillPath(*m_clip, QColor(0, 0, 0));
        }
        Claim();
        if (m_painter && !m_image->isDetached()) Flush();
        for (int y = 0; y < area.height(); ++y) {
            const std::uint32_t* f = figure.data() + std::size_t(y) * std::size_t(area.width());
            const uchar* inside = mask.constScanLine(y);
            auto* dst = reinterpret_cast<std::uint32_t*>(m_image->scanLine(area.top() + y)) + area.left();
            for (int x = 0; x < area.width(); ++x)
                if (f[x] && inside[x]) dst[x] = flips ? (dst[x] ^ (f[x] & 0xFFFFFFu)) | 0xFF000000u : f[x];
        }
        return true;
    }

    bool DirectFormat() const {
        const QImage::Format f = m_image->format();
        return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
               f == QImage::Format_ARGB32_Premultiplied;
    }

    // The painter's part of a figure.
    void PaintFigure(const GdiFigure& figure, const GdiAttributes& a, bool fill, bool lines) {
        QRectF extent;
        if (fill)
            extent = Extent(figure.fill.data(), figure.fillCounts.data(), int(figure.fillCounts.size()), 0);
        if (lines)
            extent |= Extent(figure.lines.data(), figure.lineCounts.data(), int(figure.lineCounts.size()),
                             a.pen.lopnWidth.x);
        Draw(extent, a.rop2, [&](QPainter& p, const std::function<QColor(COLORREF)>& colour) {
            if (fill) {
                QPainterPath path;
                path.setFillRule(a.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
                int k = 0;
                QPolygonF poly;
                for (int n : figure.fillCounts) {
                    if (n >= 3) {
                        poly.clear();
                        poly.reserve(n);
                        for (int j = 0; j < n; ++j)
                            poly << QPointF(figure.fill[k + j].x, figure.fill[k + j].y);
                        path.addPolygon(poly);
                        path.closeSubpath();
                    }
                    k += n;
                }
                FillPath(p, path, a, colour);
            }
            if (lines) {
                int n = 0;
                const int* counts = nullptr;
                const GdiPointF* runs = CutLongRuns(figure.lines.data(), figure.lineCounts.data(),
                                                    int(figure.lineCounts.size()), a.pen, counts, n);
                DrawLines(p, runs, counts, n, a.pen, colour);
            }
        });
    }

    // Polygons the raster fills and outlines itself, clipping them exactly.
    bool RastersPolygons(const GdiAttributes& a) const {
        const bool fill = a.brush.lbStyle != BS_NULL;
        const bool pen = a.pen.lopnStyle != PS_NULL;
        return m_image && !m_external && !m_clipComplex && DirectFormat() && Copies(a.rop2) &&
               (!fill || a.brush.lbStyle == BS_SOLID) && (!pen || ThinSolid(a.pen));
    }
    bool TakesLongPolygons(const GdiAttributes& a) const override { return RastersPolygons(a); }

    void Polygons(const GdiPointF* points, const int* counts, int polygonCount,
                  const GdiAttributes& a) override {
        const bool fill = a.brush.lbStyle != BS_NULL;
        const bool pen = a.pen.lopnStyle != PS_NULL;
        if ((!fill && !pen) || a.rop2 == R2_NOP || ClipIsEmpty()) return;
        if (RastersPolygons(a) && BeginDirect() &&
            m_raster.DrawPolygons(points, counts, polygonCount, a.polyFillMode == WINDING, fill,
                                  fill ? Ink(a.brush.lbColor, a.rop2) : 0, pen,
                                  pen ? Ink(a.pen.lopnColor, a.rop2) : 0))
            return;
        GdiBackend::Polygons(points, counts, polygonCount, a);
    }

    void Polylines(const GdiPointF* points, const int* counts, int polylineCount,
                   const GdiAttributes& a) override {
        if (a.pen.lopnStyle == PS_NULL || a.rop2 == R2_NOP || ClipIsEmpty()) return;
        int total = 0;
        for (int i = 0; i < polylineCount; ++i)
            total += counts[i];
        if (RasterRuns(points, counts, polylineCount, total, a)) return;
        if (a.rop2 != R2_COPYPEN) {
            GdiBackend::Polylines(points, counts, polylineCount, a);
            return;
        }
        int n = 0;
        const int* cutCounts = nullptr;
        if (m_ownedPainter && m_external == m_ownedPainter.get() && !Styled(a.pen)) {
            const GdiPointF* runs = CutLongRuns(points, counts, polylineCount, a.pen, cutCounts, n);
            PrintRuns(runs, cutCounts, n, a.pen);
            return;
        }
        QPainter* p = BeginCall();
        if (!p) return;
        const GdiPointF* runs = CutLongRuns(points, counts, polylineCount, a.pen, cutCounts, n);
        DrawLines(*p, runs, cutCounts, n, a.pen, [this](COLORREF c) { return Colour(c); });
        EndCall();
    }

    static bool Styled(const LOGPEN& pen) {
        return pen.lopnWidth.x <= 1 && pen.lopnStyle >= PS_DASH && pen.lopnStyle <= PS_DASHDOTDOT;
    }

    // A printer's page takes consecutive runs of one pen, of one call or of many, as one path
    // under one stroke, each run with only the points that change its line. The ink is opaque,
    // so the order of the pieces is not seen. The runs wait until another pen comes, anything
    // else is drawn (every drawing starts with BeginCall), the clip changes or the page ends.
    void PrintRuns(const GdiPointF* points, const int* counts, int n, const LOGPEN& lp) {
        const bool wide = lp.lopnWidth.x > 1;
        // Thin lines run through pixel indices; wide lines are areas centred on the pixels.
        const double shift = wide ? 0.5 : 0.0;
        const QPen& pen = PenOf(lp);
        for (int i = 0, k = 0; i < n; k += counts[i++]) {
            m_printRun.clear();
            const int kept = AppendPrintedRun(points + k, counts[i], m_printRun);
            if (kept == 1 && wide) {
                // A point: wide pens leave a dot, thin ones nothing (GDI skips empty lines).
                QPainter* p = BeginCall();
                if (!p) return;
                p->setPen(pen);
                p->setBrush(Qt::NoBrush);
                p->drawPoint(QPointF(m_printRun[0].x + shift, m_printRun[0].y + shift));
                EndCall();
            } else if (kept >= 2) {
                if (!WaitWith(pen)) return;
                m_printPath.moveTo(m_printRun[0].x + shift, m_printRun[0].y + shift);
                for (int j = 1; j < kept; ++j)
                    m_printPath.lineTo(m_printRun[j].x + shift, m_printRun[j].y + shift);
            }
        }
    }

    // Makes the waiting path the one of the pen, drawing what waits for another first. False
    // where lines do not wait: not a printer's page, or no painter.
    bool WaitWith(const QPen& pen) {
        if (!m_ownedPainter || m_external != m_ownedPainter.get()) return false;
        if (m_linesWait && (m_waitingPen != pen || m_printPath.elementCount() > kMostWaitingPoints))
            DrawWaitingLines();
        if (!m_linesWait) {
            // The painter takes the clip now; a new clip draws the waiting lines first.
            if (!BeginCall()) return false;
            EndCall();
            m_waitingPen = pen;
            m_linesWait = true;
        }
        return true;
    }

    void DrawWaitingLines() {
        if (!m_linesWait) return;
        m_linesWait = false;
        QPainter* p = m_ownedPainter.get();
        if (p && p->isActive() && !m_printPath.isEmpty()) {
            p->setPen(m_waitingPen);
            p->setBrush(Qt::NoBrush);
            p->drawPath(m_printPath);
        }
        m_printPath.clear();
    }

    // The pen of the last lines drawn, kept whole: the painter finds a pen it is given again
    // unchanged at once, by its shared data, and writes nothing to its device for it.
    const QPen& PenOf(const LOGPEN& lp) {
        const QColor colour = Colour(lp.lopnColor);
        if (!m_penValid || lp.lopnStyle != m_penLog.lopnStyle || lp.lopnWidth.x != m_penLog.lopnWidth.x ||
            colour != m_penColour) {
            m_pen = LinePen(lp, colour);
            m_penLog = lp;
            m_penColour = colour;
            m_penValid = true;
        }
        return m_pen;
    }

    // Runs cut to the target and a margin, as the context cuts them for other back ends: the
    // painter is not given coordinates far beyond the target.
    const GdiPointF* CutLongRuns(const GdiPointF* points, const int* counts, int n, const LOGPEN& pen,
                                 const int*& outCounts, int& outN) {
        const int penWidth = pen.lopnWidth.x;
        const bool styled = penWidth <= 1 && pen.lopnStyle >= PS_DASH && pen.lopnStyle <= PS_DASHDOTDOT;
        const CRect b = GetBounds();
        const double m = 32.0 + std::max(penWidth, 1);
        const double l = b.left - m, t = b.top - m, r = b.right + m, bt = b.bottom + m;
        int total = 0;
        for (int i = 0; i < n; ++i)
            total += counts[i];
        bool inside = true;
        for (int i = 0; i < total && inside; ++i)
            inside = points[i].x >= l && points[i].x <= r && points[i].y >= t && points[i].y <= bt;
        if (inside) {
            outCounts = counts, outN = n;
            return points;
        }
        m_cutPoints.clear();
        m_cutCounts.clear();
        const gdi::Guard guard{l, t, r, bt};
        for (int i = 0, k = 0; i < n; k += counts[i++])
            gdi::ClipRun(points + k, counts[i], guard, m_cutPoints, m_cutCounts, styled);
        outCounts = m_cutCounts.data(), outN = int(m_cutCounts.size());
        return m_cutPoints.data();
    }

    void PatBlt(const CRect& rect, DWORD rop, const GdiAttributes& a) override {
        GdiAttributes fill = a;
        int rop2;
        switch (rop) {
            case PATCOPY:
                rop2 = R2_COPYPEN;
                break;
            case PATINVERT:
                rop2 = R2_XORPEN;
                break;
            case DSTINVERT:
                rop2 = R2_NOT;
                break;
            case BLACKNESS:
                rop2 = R2_BLACK;
                break;
            case WHITENESS:
                rop2 = R2_WHITE;
                break;
            default:
                return;
        }
        if (rop2 != R2_COPYPEN && rop2 != R2_XORPEN) fill.brush = LOGBRUSH{BS_SOLID, 0, 0};
        if (fill.brush.lbStyle == BS_NULL || ClipIsEmpty()) return;
        if (Copies(rop2) && fill.brush.lbStyle == BS_SOLID && BeginDirect()) {
            m_raster.FillRect(rect, Ink(fill.brush.lbColor, rop2));
            return;
        }
        const QRectF r(rect.left, rect.top, rect.Width(), rect.Height());
        Draw(r, rop2, [&](QPainter& p, const std::function<QColor(COLORREF)>& colour) {
            QPainterPath path;
            path.addRect(r);
            FillPath(p, path, fill, colour);
        });
    }

    void TextOut(double x, double y, UINT options, const RECT* rect, const std::string& text,
                 const GdiAttributes& a) override {
        const double dpi = m_image ? 96.0 : m_info.dpiY;
        const GdiFont& f = FontFor(a.font, dpi);
        // Only text laid out glyph by glyph needs the glyphs; the rest needs their width.
        const bool byGlyph = f.vertical || f.em > kPathTextEm;
        std::vector<GdiGlyph> glyphs;
        double width = 0.0;
        if (byGlyph) {
            glyphs = SplitGlyphs(f, text);
            for (const GdiGlyph& g : glyphs)
                width += g.advance;
        } else {
            width = TextAdvance(f, text);
        }

        const bool mono = IsMonochrome();
        std::optional<QFont> monoFont;
        if (mono && !byGlyph) {
            monoFont = f.font;
            monoFont->setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::NoAntialias));
        }
        const QFont& font = monoFont ? *monoFont : f.font;
        // Unturned and unclipped, a printer's text goes where it stands without a state of its
        // own: the printer's engine writes its whole state again (pen and all) for every change
        // of the transform and every restored state.
        const bool inPlace =
            !byGlyph && !rect && f.escapement == 0.0 && m_ownedPainter && m_external == m_ownedPainter.get();
        QPainter* p = BeginCall(!inPlace, byGlyph ? nullptr : &font);
        if (!p) return;
        if (p->testRenderHint(QPainter::TextAntialiasing) != !mono)
            p->setRenderHint(QPainter::TextAntialiasing, !mono);
        if (rect) {
            const QRect r =
                QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)).normalized();
            if (options & ETO_OPAQUE) p->fillRect(r, Colour(a.bkColor));
            if (options & ETO_CLIPPED) p->setClipRect(r, Qt::IntersectClip);
        }
        const UINT align = a.textAlign;
        const double x0 = (align & TA_CENTER) == TA_CENTER ? -width / 2 : (align & TA_RIGHT) ? -width : 0.0;
        const double baseline = (align & TA_BASELINE) == TA_BASELINE ? 0.0
                                : (align & TA_BOTTOM)                ? -f.descent
                                                                     : f.ascent;
        QTransform frame;
        frame.translate(x, y);
        frame.rotate(-f.escapement);
        const QRectF cell(x0, baseline - f.ascent, width, f.ascent + f.descent);
        const QRectF onDevice = frame.mapRect(cell).adjusted(-2, -2, 2, 2);
        const CRect b = GetBounds();
        if (!onDevice.intersects(QRectF(b.left, b.top, b.Width(), b.Height())) || text.empty()) {
            EndCall();
            return;
        }
        const QPointF at = inPlace ? QPointF(x, y) : QPointF();
        if (!inPlace) p->setTransform(frame, true);
        if (a.bkMode == OPAQUE) p->fillRect(cell.translated(at), Colour(a.bkColor));
        const QColor ink = Colour(a.textColor);
        if (!byGlyph) {
            if (!m_fontKept) p->setFont(font);
            p->setPen(ink);
            p->drawText(QPointF(x0, baseline) + at,
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        } else {
            // Glyph by glyph: full-width characters of a vertical face stand upright in the run,
            // centred on its middle line; large text goes through a path clipped to the target.
            const double scale = f.em > kPathTextEm ? f.em / 256.0 : 1.0;
            QFont font = f.font;
            font.setPointSizeF(f.em / scale * 72.0 / dpi);
            QPainterPath path;
            double pos = x0;
            const double middle = baseline + (f.descent - f.ascent) / 2;
            for (const GdiGlyph& g : glyphs) {
                QPainterPath glyph;
                glyph.addText(QPointF(0, 0), font, g.text);
                QTransform t;
                if (f.vertical) {
                    // The ideographic em box spans 0.88 em above to 0.12 em below the baseline.
                    t.translate(pos + g.advance / 2, middle);
                    if (g.fullWidth) t.rotate(-90);
                    t.scale(scale, scale);
                    t.translate(-g.advance / scale / 2, 0.38 * f.em / scale);
                } else {
                    t.translate(pos, baseline);
                    t.scale(scale, scale);
                }
                path.addPath(t.map(glyph));
                pos += g.advance;
            }
            if (f.em > kPathTextEm) {
                // Keep only what can show: the target plus a margin, in the text's frame.
                QPainterPath visible;
                visible.addRect(QRectF(b.left - 4, b.top - 4, b.Width() + 8, b.Height() + 8));
                path = path.intersected(frame.inverted().map(visible));
            }
            p->setRenderHint(QPainter::Antialiasing, !mono);
            p->fillPath(path, ink);
            if (f.font.underline() || f.font.strikeOut()) {
                const double thick = std::max(1.0, f.em / 14);
                if (f.font.underline()) p->fillRect(QRectF(x0, baseline + f.descent / 3, width, thick), ink);
                if (f.font.strikeOut()) p->fillRect(QRectF(x0, middle - thick / 2, width, thick), ink);
            }
        }
        EndCall();
    }

    void StretchDib(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                    const BITMAPINFO* info, const void* bits, DWORD rop, const GdiAttributes& a) override {
        if (wDst == 0 || hDst == 0 || wSrc == 0 || hSrc == 0) return;
        DibReader dib(info, bits);
        bool flipX = false, flipY = false;
        auto normalise = [](int& start, int& extent, bool& flip) {
            if (extent < 0) {
                start += extent;
                extent = -extent;
                flip = !flip;
            }
        };
        normalise(xDst, wDst, flipX);
        normalise(yDst, hDst, flipY);
        normalise(xSrc, wSrc, flipX);
        normalise(ySrc, hSrc, flipY);
        QRect area = QRect(xDst, yDst, wDst, hDst) & ToQRect(GetBounds());
        if (m_clip) area &= m_clip->boundingRect().toAlignedRect();
        if (area.isEmpty()) return;
        // Printers get at most a few million computed pixels; Qt scales the rest.
        const double reduce =
            m_image ? 1.0 : std::max(1.0, std::sqrt(double(area.width()) * area.height() / 4.0e6));
        const int pw = std::max(1, static_cast<int>(area.width() / reduce));
        const int ph = std::max(1, static_cast<int>(area.height() / reduce));
        QImage piece(pw, ph, QImage::Format_RGB32);
        const bool shrinkX = wSrc > wDst, shrinkY = hSrc > hDst;
        const int mode = a.stretchMode;
        auto sourceColumn = [&](double u) {
            const double v = flipX ? 1.0 - u : u;
            return std::clamp(xSrc + static_cast<int>(std::floor(v * wSrc)), 0, dib.Width() - 1);
        };
        auto sourceRow = [&](double v) {  // v from the top of the destination
            const double t = flipY ? 1.0 - v : v;
            const int k = std::clamp(static_cast<int>(std::floor(t * hSrc)), 0, hSrc - 1);
            // Bottom-up bitmaps store their bottom row first and count ySrc from the bottom.
            const int memory = dib.BottomUp() ? ySrc + hSrc - 1 - k : ySrc + k;
            return std::clamp(memory, 0, dib.Height() - 1);
        };
        for (int py = 0; py < ph; ++py) {
            auto* out = reinterpret_cast<QRgb*>(piece.scanLine(py));
            const double dy0 = area.top() + py * reduce - yDst;
            for (int px = 0; px < pw; ++px) {
                const double dx0 = area.left() + px * reduce - xDst;
                const double u0 = dx0 / wDst, u1 = (dx0 + reduce) / wDst;
                const double v0 = dy0 / hDst, v1 = (dy0 + reduce) / hDst;
                if ((!shrinkX && !shrinkY) || mode == COLORONCOLOR || mode == WHITEONBLACK) {
                    out[px] = dib.Pixel(sourceColumn((u0 + u1) / 2), sourceRow((v0 + v1) / 2));
                    continue;
                }
                // Shrinking: combine up to 8 x 8 samples of the pixels that meet in this one.
                const int nx = shrinkX ? std::clamp(static_cast<int>(std::ceil((u1 - u0) * wSrc)), 1, 8) : 1;
                const int ny = shrinkY ? std::clamp(static_cast<int>(std::ceil((v1 - v0) * hSrc)), 1, 8) : 1;
                quint32 andValue = 0xFFFFFFFF;
                int sr = 0, sg = 0, sb = 0;
                for (int j = 0; j < ny; ++j) {
                    const int row = sourceRow(v0 + (v1 - v0) * (j + 0.5) / ny);
                    for (int i = 0; i < nx; ++i) {
                        const QRgb c = dib.Pixel(sourceColumn(u0 + (u1 - u0) * (i + 0.5) / nx), row);
                        andValue &= c;
                        sr += qRed(c), sg += qGreen(c), sb += qBlue(c);
                    }
                }
                const int n = nx * ny;
                out[px] = mode == HALFTONE ? qRgb(sr / n, sg / n, sb / n) : (andValue | 0xFF000000);
            }
        }
        if (IsMonochrome()) ToMonochromeImage(piece);
        Blit(QRectF(area), piece, rop);
    }

    void BitBlt(const CRect& dst, const CBitmap::Surface& src, CPoint srcOrigin, COLORREF srcBkColor,
                DWORD rop, const GdiAttributes& a) override {
        QRect area = ToQRect(dst) & ToQRect(GetBounds());
        QRect from = area.translated(srcOrigin.x - dst.left, srcOrigin.y - dst.top) & src.image.rect();
        area = from.translated(dst.left - srcOrigin.x, dst.top - srcOrigin.y);
        if (area.isEmpty()) return;
        QImage piece = src.image.copy(from).convertToFormat(QImage::Format_RGB32);
        const bool targetMono = IsMonochrome();
        if (src.monochrome && !targetMono) {
            const QRgb fg = Colour(a.textColor).rgb(), bg = Colour(a.bkColor).rgb();
            for (int y = 0; y < piece.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(piece.scanLine(y));
                for (int x = 0; x < piece.width(); ++x)
                    row[x] = (row[x] & 0xFFFFFF) ? bg : fg;
            }
        } else if (!src.monochrome && targetMono) {
            const QRgb key =
                0xFF000000u | qRgb(GetRValue(srcBkColor), GetGValue(srcBkColor), GetBValue(srcBkColor));
            for (int y = 0; y < piece.height(); ++y) {
                auto* row = reinterpret_cast<QRgb*>(piece.scanLine(y));
                for (int x = 0; x < piece.width(); ++x)
                    row[x] = (row[x] | 0xFF000000u) == key ? 0xFFFFFFFF : 0xFF000000;
            }
        }
        Blit(QRectF(area), piece, rop);
    }

    void DrawPicture(const CRect& dst, const char* svg) override {
        QSvgRenderer renderer(QByteArray(svg ? svg : ""));
        if (!renderer.isValid()) return;
        QPainter* p = BeginCall(true);
        if (!p) return;
        renderer.render(p, QRectF(ToQRect(dst)));
        EndCall();
    }

    COLORREF GetPixel(int x, int y) const override {
        if (!m_image || !m_image->valid(x, y)) return kInvalidColor;
        if (m_clip && !m_clip->contains(QPointF(x + 0.5, y + 0.5))) return kInvalidColor;
        return FromQRgb(m_image->pixel(x, y));
    }

    COLORREF SetPixel(int x, int y, COLORREF color) override {
        if (!m_image || !m_image->valid(x, y)) return kInvalidColor;
        if (m_clip && !m_clip->contains(QPointF(x + 0.5, y + 0.5))) return kInvalidColor;
        const QColor c = Colour(color);
        Claim();
        m_image->setPixel(x, y, c.rgb());
        return FromQRgb(c.rgb());
    }

    void Flush() override {
        DrawWaitingLines();
        if (m_painter) {
            m_painter->end();
            m_painter.reset();
            auto& active = ActivePainters();
            auto it = active.find(m_image);
            if (it != active.end() && it->second == this) active.erase(it);
        }
    }

    // Before this back end touches its image, no other one may paint on it.
    void Claim() {
        if (!m_image) return;
        auto& active = ActivePainters();
        if (active.empty()) return;
        auto it = active.find(m_image);
        if (it != active.end() && it->second != this) it->second->Flush();
    }

    QImage* Image() const { return m_image; }

private:
    static QRect ToQRect(const CRect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

    QColor Colour(COLORREF c) const {
        c &= 0xFFFFFF;
        if (IsMonochrome()) c = ToMonochrome(c);
        return ToQColor(c);
    }

    static void ToMonochromeImage(QImage& image) {
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                row[x] = ToMonochrome(FromQRgb(row[x])) ? 0xFFFFFFFF : 0xFF000000;
        }
    }

    // The font of the last text drawn: a drawing's texts mostly share one, and finding it among
    // the kept fonts means a lookup by its whole description and a copy.
    const GdiFont& FontFor(const LOGFONT& lf, double dpi) {
        const LOGFONT& k = m_textFontLog;
        if (!m_textFontValid || dpi != m_textFontDpi || lf.lfHeight != k.lfHeight ||
            lf.lfWidth != k.lfWidth || lf.lfEscapement != k.lfEscapement || lf.lfWeight != k.lfWeight ||
            lf.lfItalic != k.lfItalic || lf.lfUnderline != k.lfUnderline || lf.lfStrikeOut != k.lfStrikeOut ||
            lf.lfFaceName != k.lfFaceName) {
            m_textFont = MakeGdiFont(lf, dpi);
            m_textFontLog = lf;
            m_textFontDpi = dpi;
            m_textFontValid = true;
        }
        return m_textFont;
    }

    // The painter for one call, with GDI's rendering settings and the clip applied. Calls that
    // change more than pen, brush and composition ask for the state to be saved.
    // A text's font (textFont) stays on a painter of our own from call to call.
    QPainter* BeginCall(bool saveState = false, const QFont* textFont = nullptr) {
        DrawWaitingLines();
        QPainter* p = m_external;
        if (p && p == m_ownedPainter.get()) {
            // The printer's painter is ours alone: like an image's, it keeps its clip between
            // calls. Saving around every call would put an empty state block per call into the
            // printer's output.
            if (!p->isActive()) return nullptr;
            KeepClipAndSave(p, saveState, textFont);
        } else if (p) {
            if (!p->isActive()) return nullptr;
            p->save();
            m_callSaved = true;
            m_fontKept = false;
            if (m_clip) p->setClipPath(*m_clip, Qt::IntersectClip);
        } else {
            if (!m_image) return nullptr;
            if (!m_painter) {
                Claim();
                m_painter = std::make_unique<QPainter>();
                if (!m_painter->begin(m_image)) {
                    m_painter.reset();
                    return nullptr;
                }
                ActivePainters()[m_image] = this;
                m_appliedClip = m_clipSerial - 1;
            }
            p = m_painter.get();
            KeepClipAndSave(p, saveState, textFont);
        }
        // Set only when different: a printer's engine writes its state again for every change.
        if (p->testRenderHint(QPainter::Antialiasing)) p->setRenderHint(QPainter::Antialiasing, false);
        if (p->compositionMode() != QPainter::CompositionMode_SourceOver)
            p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        return p;
    }

    // A painter of our own keeps its clip from call to call; it changes only when the clip does.
    void KeepClipAndSave(QPainter* p, bool saveState, const QFont* textFont) {
        if (m_appliedClip != m_clipSerial) {
            if (m_clip)
                p->setClipPath(*m_clip);
            else
                p->setClipping(false);
            m_appliedClip = m_clipSerial;
        }
        // Set outside the call's saved state, the font stays for the next text: set anew inside
        // it, the text engine would look the font's face up again for every text.
        m_fontKept = textFont != nullptr;
        if (textFont && !(p->font() == *textFont)) p->setFont(*textFont);
        m_callSaved = saveState;
        if (saveState) p->save();
    }

    void EndCall() {
        QPainter* p = m_external ? m_external : m_painter.get();
        if (p && m_callSaved) p->restore();
        m_callSaved = false;
    }

    // Raster operations that put one colour, whatever the destination holds.
    static bool Copies(int rop2) {
        return rop2 == R2_COPYPEN || rop2 == R2_BLACK || rop2 == R2_WHITE || rop2 == R2_NOTCOPYPEN;
    }
    static bool ThinSolid(const LOGPEN& pen) { return pen.lopnStyle == PS_SOLID && pen.lopnWidth.x <= 1; }

    // The pixel value that a copying raster operation puts for a colour.
    std::uint32_t Ink(COLORREF c, int rop2) const {
        switch (rop2) {
            case R2_BLACK:
                return 0xFF000000u;
            case R2_WHITE:
                return 0xFFFFFFFFu;
            case R2_NOTCOPYPEN:
                c = ~c;
                break;
            default:
                break;
        }
        c &= 0xFFFFFF;
        if (IsMonochrome()) c = ToMonochrome(c);
        return 0xFF000000u | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) |
               GetBValue(c);
    }

    // Prepares the rasterizer of our own on the image; false where the painter must draw (other
    // targets and formats, a clip that is not one rectangle of whole pixels).
    bool BeginDirect() {
        if (!m_image || m_external || m_clipComplex || !DirectFormat()) return false;
        Claim();
        // An open painter keeps drawing into the same pixels unless the image would detach.
        if (m_painter && !m_image->isDetached()) Flush();
        CRect clip(0, 0, m_image->width(), m_image->height());
        if (m_clipRect && !clip.IntersectRect(clip, *m_clipRect)) clip.SetRectEmpty();
        m_raster.SetTarget(reinterpret_cast<std::uint32_t*>(m_image->bits()), m_image->bytesPerLine() / 4,
                           clip);
        AdviseHugePages(m_image->constBits(), std::size_t(m_image->sizeInBytes()));
        return true;
    }

    bool ClipIsEmpty() const { return m_clip && m_clip->isEmpty(); }

    static QRectF Extent(const GdiPointF* points, const int* counts, int n, int penWidth) {
        double l = 1e300, t = 1e300, r = -1e300, b = -1e300;
        int k = 0;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < counts[i]; ++j, ++k) {
                l = std::min(l, points[k].x), r = std::max(r, points[k].x);
                t = std::min(t, points[k].y), b = std::max(b, points[k].y);
            }
        }
        if (l > r) return {};
        const double m = std::max(2, penWidth) + 2.0;
        return QRectF(QPointF(l - m, t - m), QPointF(r + m, b + m));
    }

    // Draws with the raster operation: copying straight through the painter, everything else
    // from a coverage image combined pixel by pixel.
    void Draw(const QRectF& extent, int rop2,
              const std::function<void(QPainter&, const std::function<QColor(COLORREF)>&)>& fn) {
        if (rop2 == R2_NOP || ClipIsEmpty() || extent.isEmpty()) return;
        auto plain = [this](COLORREF c) { return Colour(c); };
        if (rop2 == R2_COPYPEN || rop2 == R2_BLACK || rop2 == R2_WHITE || rop2 == R2_NOTCOPYPEN || !m_image) {
            QPainter* p = BeginCall();
            if (!p) return;
            if (rop2 == R2_BLACK || rop2 == R2_WHITE) {
                const QColor fixed = rop2 == R2_BLACK ? QColor(0, 0, 0) : QColor(255, 255, 255);
                fn(*p, [fixed](COLORREF) { return fixed; });
            } else if (rop2 == R2_NOTCOPYPEN) {
                fn(*p, [this](COLORREF c) { return Colour(~c & 0xFFFFFF); });
            } else {
                fn(*p, plain);
            }
            EndCall();
            return;
        }
        QRect area = extent.toAlignedRect() & ToQRect(GetBounds());
        if (m_clip) area &= m_clip->boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
        if (area.isEmpty()) return;
        QImage coverage(area.size(), QImage::Format_ARGB32_Premultiplied);
        coverage.fill(0);
        {
            QPainter cp(&coverage);
            cp.setRenderHint(QPainter::Antialiasing, false);
            cp.translate(-area.left(), -area.top());
            if (m_clip) cp.setClipPath(*m_clip);
            fn(cp, plain);
        }
        Claim();
        for (int y = 0; y < area.height(); ++y) {
            const auto* cov = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
            auto* dst = reinterpret_cast<QRgb*>(m_image->scanLine(area.top() + y)) + area.left();
            for (int x = 0; x < area.width(); ++x)
                if (qAlpha(cov[x])) dst[x] = ApplyRop2(rop2, cov[x], dst[x]);
        }
    }

    void FillPath(QPainter& p, const QPainterPath& path, const GdiAttributes& a,
                  const std::function<QColor(COLORREF)>& colour) {
        if (a.brush.lbStyle == BS_HATCHED) {
            if (a.bkMode == OPAQUE) p.fillPath(path, colour(a.bkColor));
            p.fillPath(path, QBrush(colour(a.brush.lbColor), HatchStyle(a.brush.lbHatch)));
        } else if (a.brush.lbStyle == BS_SOLID) {
            p.fillPath(path, colour(a.brush.lbColor));
        }
    }

    // The pen of GDI lines: wide ones round, thin ones one device pixel with GDI's dashes.
    static QPen LinePen(const LOGPEN& lp, const QColor& colour) {
        const int width = lp.lopnWidth.x;
        if (width > 1) return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        QPen pen(colour, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        switch (lp.lopnStyle) {
            case PS_DASH:
                pen.setDashPattern({18, 6});
                break;
            case PS_DOT:
                pen.setDashPattern({3, 3});
                break;
            case PS_DASHDOT:
                pen.setDashPattern({9, 6, 3, 6});
                break;
            case PS_DASHDOTDOT:
                pen.setDashPattern({9, 3, 3, 3, 3, 3});
                break;
            default:
                break;
        }
        return pen;
    }

    static void DrawLines(QPainter& p, const GdiPointF* points, const int* counts, int n, const LOGPEN& lp,
                          const std::function<QColor(COLORREF)>& colour) {
        if (lp.lopnStyle == PS_NULL) return;
        const bool wide = lp.lopnWidth.x > 1;
        QPen pen = LinePen(lp, colour(lp.lopnColor));
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const bool styled = Styled(lp);
        // The device in the runs' coordinates: a coverage image of the raster operations is
        // painted moved to its area, and a run is not to be dropped as lying off that image.
        const QRectF device = styled ? p.worldTransform().inverted().mapRect(
                                           QRectF(0, 0, p.device()->width(), p.device()->height()))
                                     : QRectF();
        // Thin lines run through pixel indices; wide lines are areas centred on the pixels.
        const double shift = wide ? 0.5 : 0.0;
        QPolygonF run;
        int k = 0;
        for (int i = 0; i < n; ++i) {
            const int c = counts[i];
            run.clear();
            bool moves = false;
            for (int j = 0; j < c; ++j) {
                run << QPointF(points[k + j].x + shift, points[k + j].y + shift);
                if (j > 0 && run[j] != run[0]) moves = true;
            }
            k += c;
            if (c < 2 && !(wide && c == 1)) continue;
            if (!moves) {
                // A point: wide pens leave a dot, thin ones nothing (GDI skips empty lines).
                if (wide) p.drawPoint(run.front());
                continue;
            }
            if (styled) {
                // The painter restarts a pattern wrongly where a line enters the device from
                // outside: the run starts on the device instead, its pattern moved on as far.
                pen.setDashOffset(StartOnDevice(run, device));
                p.setPen(pen);
                if (run.size() < 2) continue;
            }
            p.drawPolyline(run);
        }
    }

    // Drops the part of the run before it first meets the device; answers the length dropped.
    static double StartOnDevice(QPolygonF& run, const QRectF& device) {
        double dropped = 0.0;
        for (int j = 0; j + 1 < run.size(); ++j) {
            const QPointF a = run[j], b = run[j + 1];
            if (device.contains(a)) {
                run.remove(0, j);
                return dropped;
            }
            const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
            double t0 = 0.0, t1 = 1.0;
            const gdi::Guard box{device.left(), device.top(), device.right(), device.bottom()};
            if (gdi::ClipSegment(GdiPointF{a.x(), a.y()}, GdiPointF{b.x(), b.y()}, box, t0, t1)) {
                run.remove(0, j);
                run[0] = a + (b - a) * t0;
                return dropped + t0 * length;
            }
            dropped += length;
        }
        run.clear();
        return dropped;
    }

    void Blit(const QRectF& target, const QImage& piece, DWORD rop) {
        QPainter* p = BeginCall();
        if (!p) return;
        QImage source = piece;
        switch (rop) {
            case SRCINVERT:
                p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
                break;
            case SRCAND:
                p->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
                break;
            case SRCPAINT:
                p->setCompositionMode(QPainter::RasterOp_SourceOrDestination);
                break;
            case NOTSRCCOPY:
                source.invertPixels();
                p->setCompositionMode(QPainter::CompositionMode_Source);
                break;
            default:
                p->setCompositionMode(QPainter::CompositionMode_Source);
                break;
        }
        p->drawImage(target, source);
        EndCall();
    }

    std::shared_ptr<CBitmap::Surface> m_surface;
    QPrinter* m_printer = nullptr;
    std::unique_ptr<QPainter> m_ownedPainter;
    // From StartDoc to the end of the document: the PDF writer deflates its pages fast.
    std::optional<CFastDeflateScope> m_fastDeflate;
    int m_pages = 0;
    QImage* m_image = nullptr;
    QPainter* m_external = nullptr;
    PainterTargetInfo m_info;
    std::unique_ptr<QPainter> m_painter;
    std::optional<QPainterPath> m_clip;
    unsigned m_clipSerial = 0;
    unsigned m_appliedClip = ~0u;
    bool m_callSaved = false;
    bool m_fontKept = false;          // the call's text font is on the painter already
    std::optional<CRect> m_clipRect;  // the clip when it is one rectangle of whole pixels
    std::vector<GdiPointF> m_shifted;
    bool m_clipComplex = false;
    GdiRaster m_raster;
    std::vector<GdiPointF> m_cutPoints;
    std::vector<int> m_cutCounts;
    QPainterPath m_printPath;  // lines waiting for the printer, all of m_waitingPen
    QPen m_waitingPen;
    bool m_linesWait = false;
    std::vector<GdiPointF> m_printRun;
    QPen m_pen;
    LOGPEN m_penLog{};
    QColor m_penColour;
    bool m_penValid = false;
    GdiFont m_textFont;  // of m_textFontLog at m_textFontDpi
    LOGFONT m_textFontLog;
    double m_textFontDpi = 0.0;
    bool m_textFontValid = false;
};

}  // namespace

std::unique_ptr<GdiBackend> MakeSurfaceBackend(std::shared_ptr<CBitmap::Surface> surface) {
    if (!surface) return nullptr;
    return std::make_unique<PainterBackend>(std::move(surface));
}

std::unique_ptr<GdiBackend> MakePainterBackend(QPainter* painter, const PainterTargetInfo& info) {
    if (!painter) return nullptr;
    return std::make_unique<PainterBackend>(painter, info);
}

std::unique_ptr<GdiBackend> MakeImageBackend(QImage* image) {
    if (!image || image->isNull()) return nullptr;
    return std::make_unique<PainterBackend>(image);
}

std::unique_ptr<GdiBackend> MakePrinterBackend(QPrinter* printer) {
    if (!printer) return nullptr;
    return std::make_unique<PainterBackend>(printer);
}

QImage* BackendImage(GdiBackend* backend) {
    auto* b = dynamic_cast<PainterBackend*>(backend);
    if (!b) return nullptr;
    b->Flush();
    return b->Image();
}

void FlattenBeziers(const GdiPointF* points, int count, std::vector<GdiPointF>& out) {
    out.clear();
    if (count < 1) return;
    out.push_back(points[0]);
    for (int i = 0; i + 3 < count; i += 3) {
        const GdiPointF* c = points + i;
        // The control polygon is longer than the curve and bounds its bending: its square root
        // in steps keeps the chords within a fifth of a pixel of a circular arc.
        const double reach = std::hypot(c[1].x - c[0].x, c[1].y - c[0].y) +
                             std::hypot(c[2].x - c[1].x, c[2].y - c[1].y) +
                             std::hypot(c[3].x - c[2].x, c[3].y - c[2].y);
        const int steps = std::clamp(static_cast<int>(std::ceil(std::sqrt(reach))), 1, 256);
        for (int k = 1; k <= steps; ++k) {
            const double t = double(k) / steps, u = 1.0 - t;
            const double a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
            out.push_back(GdiPointF{a * c[0].x + b * c[1].x + d * c[2].x + e * c[3].x,
                                    a * c[0].y + b * c[1].y + d * c[2].y + e * c[3].y});
        }
    }
}

void GdiBackend::Polylines(const GdiPointF* points, const int* counts, int polylineCount,
                           const GdiAttributes& a) {
    GdiFigure f;
    int total = 0;
    for (int i = 0; i < polylineCount; ++i)
        total += counts[i];
    f.lines.assign(points, points + total);
    f.lineCounts.assign(counts, counts + polylineCount);
    DrawFigure(f, a);
}

void GdiBackend::Polygons(const GdiPointF* points, const int* counts, int polygonCount,
                          const GdiAttributes& a) {
    GdiFigure f;
    int k = 0;
    for (int i = 0; i < polygonCount; ++i) {
        const int n = counts[i];
        // The fill covers the pixels whose own coordinates lie inside: in corner coordinates
        // the rings move by half a pixel.
        for (int j = 0; j < n; ++j)
            f.fill.push_back(GdiPointF{points[k + j].x + 0.5, points[k + j].y + 0.5});
        f.fillCounts.push_back(n);
        if (n >= 2) {
            f.lines.insert(f.lines.end(), points + k, points + k + n);
            f.lines.push_back(points[k]);
            f.lineCounts.push_back(n + 1);
        }
        k += n;
    }
    DrawFigure(f, a);
}

TEXTMETRIC GdiBackend::GetTextMetrics(const LOGFONT& font) const {
    return MeasureTextMetrics(font);
}

int GdiBackend::MeasureText(const LOGFONT& font, const std::string& text,
                            std::vector<int>* byteExtents) const {
    return MeasureTextWidth(font, text, byteExtents);
}
