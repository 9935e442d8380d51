#include "platform/gdi/EmfBackend.h"

#include <QPolygon>
#include <QRegion>
#include <QString>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "platform/gdi/DC.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/QtGdi.h"

namespace {

constexpr DWORD kSignature = 0x464D4520;  // " EMF"
constexpr DWORD kVersion = 0x00010000;
constexpr std::size_t kHeaderFixed = 108;  // with the pixel-format and micrometre extensions
constexpr DWORD kStock = 0x80000000;
constexpr DWORD kStockNullBrush = kStock | 5;
constexpr DWORD kStockNullPen = kStock | 8;
constexpr DWORD kGmCompatible = 1;
constexpr std::size_t kLogFontBytes = 320;  // EXTLOGFONTW, as GDI writes it
constexpr COLORREF kClrInvalid = 0xFFFFFFFF;
constexpr DWORD kRdhRectangles = 1;

LONG RoundLong(double v) {
    return static_cast<LONG>(std::clamp(std::lround(v), long(INT_MIN / 2), long(INT_MAX / 2)));
}

bool SameFont(const LOGFONT& a, const LOGFONT& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfEscapement == b.lfEscapement &&
           a.lfOrientation == b.lfOrientation && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
           a.lfUnderline == b.lfUnderline && a.lfStrikeOut == b.lfStrikeOut && a.lfCharSet == b.lfCharSet &&
           a.lfOutPrecision == b.lfOutPrecision && a.lfClipPrecision == b.lfClipPrecision &&
           a.lfQuality == b.lfQuality && a.lfPitchAndFamily == b.lfPitchAndFamily &&
           a.lfFaceName == b.lfFaceName;
}

// Colour-table and mask bytes that follow a validated header.
std::size_t DibInfoBytes(const BITMAPINFOHEADER& h) {
    std::size_t n = h.biSize;
    if (h.biBitCount <= 8)
        n += 4u * (h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount));
    else if (h.biCompression == BI_BITFIELDS && h.biSize == 40)
        n += 12;
    return n;
}

std::size_t DibBitsBytes(const BITMAPINFOHEADER& h) {
    const std::size_t stride = ((static_cast<std::size_t>(h.biWidth) * h.biBitCount + 31) / 32) * 4;
    return stride * static_cast<std::size_t>(std::abs(static_cast<long long>(h.biHeight)));
}

}  // namespace

EmfReference ScreenEmfReference() {
    EmfReference r;
    r.devicePixels = CSize(1920, 1440);
    r.millimeters = CSize(508, 381);
    return r;
}

EmfReference EmfReferenceOf(const CDC* dc) {
    if (!dc) return ScreenEmfReference();
    EmfReference r;
    r.dpiX = std::max(1, dc->GetDeviceCaps(LOGPIXELSX));
    r.dpiY = std::max(1, dc->GetDeviceCaps(LOGPIXELSY));
    r.technology = dc->GetDeviceCaps(TECHNOLOGY);
    r.devicePixels = CSize(dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    if (r.devicePixels.cx <= 0 || r.devicePixels.cy <= 0) {
        const EmfReference screen = ScreenEmfReference();
        r.devicePixels = CSize(screen.devicePixels.cx * r.dpiX / 96, screen.devicePixels.cy * r.dpiY / 96);
    }
    r.millimeters = CSize(static_cast<LONG>(std::lround(r.devicePixels.cx * 25.4 / r.dpiX)),
                          static_cast<LONG>(std::lround(r.devicePixels.cy * 25.4 / r.dpiY)));
    return r;
}

EmfBackend::EmfBackend(const EmfReference& reference, const RECT& frame, const std::string& description)
    : m_ref(reference), m_frame(frame) {
    if (m_ref.dpiX <= 0) m_ref.dpiX = 96;
    if (m_ref.dpiY <= 0) m_ref.dpiY = 96;
    const QString d = QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size()));
    m_description.assign(reinterpret_cast<const char16_t*>(d.utf16()), static_cast<std::size_t>(d.size()));
    // The frame in device units: the surface the drawing may cover.
    const double px = m_ref.dpiX / 2540.0, py = m_ref.dpiY / 2540.0;
    const LONG l = static_cast<LONG>(std::floor(std::min(frame.left, frame.right) * px));
    const LONG t = static_cast<LONG>(std::floor(std::min(frame.top, frame.bottom) * py));
    const LONG r = static_cast<LONG>(std::ceil(std::max(frame.left, frame.right) * px)) + 1;
    const LONG b = static_cast<LONG>(std::ceil(std::max(frame.top, frame.bottom) * py)) + 1;
    m_bounds = CRect(l, t, std::max(r, l + 1), std::max(b, t + 1));
    m_handles.push_back(true);
    m_data.reserve(4096);
    // The picture keeps the state of the context it is played on.
    Begin(EMR_SAVEDC);
    End();
}

EmfBackend::~EmfBackend() = default;

// ----- record writing ---------------------------------------------------------------------------

void EmfBackend::Begin(DWORD type) {
    m_recordStart = m_data.size();
    Put32(type);
    Put32(0);  // size, patched by End
}

void EmfBackend::Put32(DWORD v) {
    const BYTE b[4] = {BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
    m_data.insert(m_data.end(), b, b + 4);
}

void EmfBackend::Put16(WORD v) {
    const BYTE b[2] = {BYTE(v), BYTE(v >> 8)};
    m_data.insert(m_data.end(), b, b + 2);
}

void EmfBackend::PutRect(const RECT& r) {
    PutLong(r.left), PutLong(r.top), PutLong(r.right), PutLong(r.bottom);
}

void EmfBackend::PutBytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const BYTE*>(data);
    m_data.insert(m_data.end(), p, p + n);
}

void EmfBackend::Patch32(std::size_t at, DWORD v) {
    m_data[at] = BYTE(v), m_data[at + 1] = BYTE(v >> 8), m_data[at + 2] = BYTE(v >> 16),
    m_data[at + 3] = BYTE(v >> 24);
}

void EmfBackend::End() {
    while ((m_data.size() - m_recordStart) % 4)
        m_data.push_back(0);
    Patch32(m_recordStart + 4, static_cast<DWORD>(m_data.size() - m_recordStart));
    ++m_recordCount;
}

void EmfBackend::Simple(DWORD type, DWORD value) {
    Begin(type);
    Put32(value);
    End();
}

void EmfBackend::SetMode(DWORD type, DWORD value, DWORD& cache) {
    if (cache == value) return;
    cache = value;
    Simple(type, value);
}

void EmfBackend::ApplyModes(const GdiAttributes& a) {
    SetMode(EMR_SETROP2, static_cast<DWORD>(a.rop2), m_rop2);
    SetMode(EMR_SETPOLYFILLMODE, static_cast<DWORD>(a.polyFillMode), m_fillMode);
    SetMode(EMR_SETBKMODE, static_cast<DWORD>(a.bkMode), m_bkMode);
    SetMode(EMR_SETBKCOLOR, a.bkColor & 0xFFFFFF, m_bkColor);
}

void EmfBackend::Touch(const RECT& r) {
    if (!m_touched) {
        m_drawn = r;
        m_touched = true;
        return;
    }
    m_drawn.left = std::min(m_drawn.left, r.left);
    m_drawn.top = std::min(m_drawn.top, r.top);
    m_drawn.right = std::max(m_drawn.right, r.right);
    m_drawn.bottom = std::max(m_drawn.bottom, r.bottom);
}

RECT EmfBackend::RecordBounds(const GdiPointF* points, int count, int grow) const {
    double l = 1e300, t = 1e300, r = -1e300, b = -1e300;
    for (int i = 0; i < count; ++i) {
        l = std::min(l, points[i].x), r = std::max(r, points[i].x);
        t = std::min(t, points[i].y), b = std::max(b, points[i].y);
    }
    if (l > r) return RECT{0, 0, -1, -1};
    return RECT{RoundLong(l) - grow, RoundLong(t) - grow, RoundLong(r) + grow, RoundLong(b) + grow};
}

// ----- objects ----------------------------------------------------------------------------------

DWORD EmfBackend::AllocateHandle() {
    for (std::size_t i = 1; i < m_handles.size(); ++i)
        if (!m_handles[i]) {
            m_handles[i] = true;
            return static_cast<DWORD>(i);
        }
    m_handles.push_back(true);
    return static_cast<DWORD>(m_handles.size() - 1);
}

void EmfBackend::DeleteHandle(DWORD handle) {
    if (!handle || handle >= m_handles.size()) return;
    Simple(EMR_DELETEOBJECT, handle);
    m_handles[handle] = false;
}

void EmfBackend::SelectPen(const LOGPEN& pen, bool none) {
    none = none || pen.lopnStyle == PS_NULL;
    if (none) {
        if (m_penSelected != Selected::Null) Simple(EMR_SELECTOBJECT, kStockNullPen);
        m_penSelected = Selected::Null;
        return;
    }
    // The pen made last stays alive while the null pen stands in for it, so it can come back.
    const bool same = m_penHandle && m_pen.lopnStyle == pen.lopnStyle &&
                      m_pen.lopnWidth.x == pen.lopnWidth.x &&
                      (m_pen.lopnColor & 0xFFFFFF) == (pen.lopnColor & 0xFFFFFF);
    if (same) {
        if (m_penSelected != Selected::Made) Simple(EMR_SELECTOBJECT, m_penHandle);
        m_penSelected = Selected::Made;
        return;
    }
    const DWORD old = m_penHandle;
    const DWORD h = AllocateHandle();
    Begin(EMR_CREATEPEN);
    Put32(h);
    Put32(pen.lopnStyle);
    PutLong(std::max<LONG>(0, pen.lopnWidth.x));
    PutLong(0);
    Put32(pen.lopnColor & 0xFFFFFF);
    End();
    Simple(EMR_SELECTOBJECT, h);
    DeleteHandle(old);
    m_penHandle = h;
    m_penSelected = Selected::Made;
    m_pen = pen;
}

void EmfBackend::SelectBrush(const LOGBRUSH& brush, bool none) {
    none = none || brush.lbStyle == BS_NULL;
    if (none) {
        if (m_brushSelected != Selected::Null) Simple(EMR_SELECTOBJECT, kStockNullBrush);
        m_brushSelected = Selected::Null;
        return;
    }
    const bool same = m_brushHandle && m_brush.lbStyle == brush.lbStyle &&
                      (m_brush.lbColor & 0xFFFFFF) == (brush.lbColor & 0xFFFFFF) &&
                      (brush.lbStyle != BS_HATCHED || m_brush.lbHatch == brush.lbHatch);
    if (same) {
        if (m_brushSelected != Selected::Made) Simple(EMR_SELECTOBJECT, m_brushHandle);
        m_brushSelected = Selected::Made;
        return;
    }
    const DWORD old = m_brushHandle;
    const DWORD h = AllocateHandle();
    Begin(EMR_CREATEBRUSHINDIRECT);
    Put32(h);
    Put32(brush.lbStyle);
    Put32(brush.lbColor & 0xFFFFFF);
    Put32(brush.lbStyle == BS_HATCHED ? static_cast<DWORD>(brush.lbHatch) : 0);
    End();
    Simple(EMR_SELECTOBJECT, h);
    DeleteHandle(old);
    m_brushHandle = h;
    m_brushSelected = Selected::Made;
    m_brush = brush;
}

void EmfBackend::SelectFont(const LOGFONT& font) {
    if (m_fontKnown && SameFont(m_font, font)) return;
    const DWORD old = m_fontHandle;
    const DWORD h = AllocateHandle();
    Begin(EMR_EXTCREATEFONTINDIRECTW);
    Put32(h);
    const std::size_t start = Here();
    PutLong(font.lfHeight), PutLong(font.lfWidth), PutLong(font.lfEscapement), PutLong(font.lfOrientation);
    PutLong(font.lfWeight);
    const BYTE flags[8] = {font.lfItalic,  font.lfUnderline,     font.lfStrikeOut,
                           font.lfCharSet, font.lfOutPrecision,  font.lfClipPrecision,
                           font.lfQuality, font.lfPitchAndFamily};
    PutBytes(flags, 8);
    // The face: at most 31 UTF-16 units and a NUL, in 32 units; a character is never cut in half.
    const QString face =
        QString::fromUtf8(font.lfFaceName.data(), static_cast<qsizetype>(font.lfFaceName.size()));
    int units = std::min<int>(31, static_cast<int>(face.size()));
    if (units > 0 && units < face.size() && face.at(units - 1).isHighSurrogate()) --units;
    for (int i = 0; i < 32; ++i)
        Put16(i < units ? face.at(i).unicode() : 0);
    while (Here() - start < kLogFontBytes)
        m_data.push_back(0);
    End();
    Simple(EMR_SELECTOBJECT, h);
    m_fontHandle = h;
    DeleteHandle(old);
    m_fontKnown = true;
    m_font = font;
}

// ----- GdiBackend -------------------------------------------------------------------------------

int EmfBackend::GetDeviceCaps(int index) const {
    switch (index) {
        case TECHNOLOGY:
            return m_ref.technology;
        case LOGPIXELSX:
            return m_ref.dpiX;
        case LOGPIXELSY:
            return m_ref.dpiY;
        case HORZRES:
            return m_ref.devicePixels.cx;
        case VERTRES:
            return m_ref.devicePixels.cy;
        case HORZSIZE:
            return m_ref.millimeters.cx;
        case VERTSIZE:
            return m_ref.millimeters.cy;
        case BITSPIXEL:
            return 32;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        default:
            return 0;
    }
}

void EmfBackend::SetClip(const CRgn* clip) {
    if (m_finished) return;
    constexpr DWORD kRgnCopy = 5;
    if (!clip) {
        if (!m_clipped) return;
        m_clipped = false;
        Begin(EMR_EXTSELECTCLIPRGN);
        Put32(0);
        Put32(kRgnCopy);
        End();
        return;
    }
    // The region as GDI keeps it: bands of rectangles in device units.
    QRegion region;
    if (const CRgn::Data* data = clip->GetData()) {
        const Qt::FillRule rule = data->path.fillRule();
        for (const QPolygonF& polygon : data->path.toFillPolygons()) {
            const QRegion part(polygon.toPolygon(), rule);
            region = rule == Qt::OddEvenFill ? region.xored(part) : region.united(part);
        }
    }
    m_clipped = true;
    const QRect box = region.boundingRect();
    const int count = static_cast<int>(region.rectCount());
    Begin(EMR_EXTSELECTCLIPRGN);
    Put32(32 + 16 * static_cast<DWORD>(count));
    Put32(kRgnCopy);
    Put32(32);
    Put32(kRdhRectangles);
    Put32(static_cast<DWORD>(count));
    Put32(16 * static_cast<DWORD>(count));
    PutRect(RECT{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()});
    for (const QRect& r : region)
        PutRect(RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
    End();
}

void EmfBackend::WritePoly(bool polygon, const GdiPointF* points, const int* counts, int figureCount) {
    int total = 0;
    for (int i = 0; i < figureCount; ++i)
        total += counts[i];
    if (total <= 0) return;
    std::vector<POINT> p(static_cast<std::size_t>(total));
    bool small = true;
    for (int i = 0; i < total; ++i) {
        p[i] = POINT{RoundLong(points[i].x), RoundLong(points[i].y)};
        small = small && p[i].x >= SHRT_MIN && p[i].x <= SHRT_MAX && p[i].y >= SHRT_MIN && p[i].y <= SHRT_MAX;
    }
    const int grow = std::max<int>(0, polygon ? 0 : m_pen.lopnWidth.x / 2);
    RECT bounds = RecordBounds(points, total, grow);
    const bool single = figureCount == 1;
    DWORD type;
    if (single)
        type = polygon ? (small ? EMR_POLYGON16 : EMR_POLYGON) : (small ? EMR_POLYLINE16 : EMR_POLYLINE);
    else
        type = polygon ? (small ? EMR_POLYPOLYGON16 : EMR_POLYPOLYGON)
                       : (small ? EMR_POLYPOLYLINE16 : EMR_POLYPOLYLINE);
    Begin(type);
    PutRect(bounds);
    if (!single) {
        Put32(static_cast<DWORD>(figureCount));
        Put32(static_cast<DWORD>(total));
        for (int i = 0; i < figureCount; ++i)
            Put32(static_cast<DWORD>(counts[i]));
    } else {
        Put32(static_cast<DWORD>(total));
    }
    for (const POINT& q : p) {
        if (small) {
            Put16(static_cast<WORD>(static_cast<std::int16_t>(q.x)));
            Put16(static_cast<WORD>(static_cast<std::int16_t>(q.y)));
        } else {
            PutLong(q.x), PutLong(q.y);
        }
    }
    End();
    Touch(bounds);
}

void EmfBackend::DrawFigure(const GdiFigure& figure, const GdiAttributes& a) {
    if (m_finished) return;
    const bool fill = a.brush.lbStyle != BS_NULL && !figure.fillCounts.empty();
    const bool lines = a.pen.lopnStyle != PS_NULL && !figure.lineCounts.empty();
    if (!fill && !lines) return;
    ApplyModes(a);
    if (fill) {
        // Rings of fewer than three corners enclose nothing. The rings come in corner coordinates;
        // GDI's are half a pixel less, rounded with halves up (floor(x - 0.5 + 0.5)): a ring of
        // whole pixels then fills exactly the pixels its figure covers.
        std::vector<GdiPointF> pts;
        std::vector<int> counts;
        int k = 0;
        for (int n : figure.fillCounts) {
            if (n >= 3) {
                for (int j = k; j < k + n; ++j)
                    pts.push_back(GdiPointF{std::floor(figure.fill[j].x), std::floor(figure.fill[j].y)});
                counts.push_back(n);
            }
            k += n;
        }
        if (!counts.empty()) {
            SelectPen(a.pen, true);
            SelectBrush(a.brush, false);
            WritePoly(true, pts.data(), counts.data(), static_cast<int>(counts.size()));
        }
    }
    if (lines)
        Polylines(figure.lines.data(), figure.lineCounts.data(), static_cast<int>(figure.lineCounts.size()),
                  a);
}

void EmfBackend::Polylines(const GdiPointF* points, const int* counts, int polylineCount,
                           const GdiAttributes& a) {
    if (m_finished || a.pen.lopnStyle == PS_NULL || polylineCount <= 0) return;
    ApplyModes(a);
    SelectPen(a.pen, false);
    // Runs of one point draw nothing; the others keep their order.
    std::vector<GdiPointF> pts;
    std::vector<int> kept;
    int k = 0;
    for (int i = 0; i < polylineCount; ++i) {
        if (counts[i] >= 2) {
            pts.insert(pts.end(), points + k, points + k + counts[i]);
            kept.push_back(counts[i]);
        }
        k += counts[i];
    }
    if (!kept.empty()) WritePoly(false, pts.data(), kept.data(), static_cast<int>(kept.size()));
}

void EmfBackend::Polygons(const GdiPointF* points, const int* counts, int polygonCount,
                          const GdiAttributes& a) {
    if (m_finished || polygonCount <= 0) return;
    const bool fill = a.brush.lbStyle != BS_NULL;
    const bool pen = a.pen.lopnStyle != PS_NULL;
    if (!fill && !pen) return;
    for (int i = 0; i < polygonCount; ++i)
        if (counts[i] < 3) {
            // A degenerate ring: GDI would outline it; the figure form keeps that.
            GdiBackend::Polygons(points, counts, polygonCount, a);
            return;
        }
    ApplyModes(a);
    SelectPen(a.pen, !pen);
    SelectBrush(a.brush, !fill);
    WritePoly(true, points, counts, polygonCount);
}

void EmfBackend::PatBlt(const CRect& rect, DWORD rop, const GdiAttributes& a) {
    if (m_finished || rect.IsRectEmpty()) return;
    LOGBRUSH brush = a.brush;
    switch (rop) {
        case PATCOPY:
            break;
        case WHITENESS:
            brush = LOGBRUSH{BS_SOLID, 0xFFFFFF, 0};
            break;
        case BLACKNESS:
            brush = LOGBRUSH{BS_SOLID, 0, 0};
            break;
        default: {
            // Inverting operations have no figure form: the block transfer without a source.
            ApplyModes(a);
            SelectBrush(a.brush, false);
            Begin(EMR_BITBLT);
            const RECT b{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
            PutRect(b);
            PutLong(rect.left), PutLong(rect.top), PutLong(rect.Width()), PutLong(rect.Height());
            Put32(rop);
            PutLong(0), PutLong(0);
            const float identity[6] = {1, 0, 0, 1, 0, 0};
            PutBytes(identity, sizeof(identity));
            Put32(0), Put32(DIB_RGB_COLORS);
            Put32(0), Put32(0), Put32(0), Put32(0);
            End();
            Touch(b);
            return;
        }
    }
    if (brush.lbStyle == BS_NULL) return;
    GdiAttributes fill = a;
    fill.rop2 = R2_COPYPEN;
    ApplyModes(fill);
    SelectPen(a.pen, true);
    SelectBrush(brush, false);
    const GdiPointF ring[4] = {{double(rect.left), double(rect.top)},
                               {double(rect.right), double(rect.top)},
                               {double(rect.right), double(rect.bottom)},
                               {double(rect.left), double(rect.bottom)}};
    const int four = 4;
    WritePoly(true, ring, &four, 1);
}

void EmfBackend::TextOut(double x, double y, UINT options, const RECT* rect, const std::string& text,
                         const GdiAttributes& a) {
    if (m_finished) return;
    ApplyModes(a);
    SetMode(EMR_SETTEXTALIGN, a.textAlign, m_textAlign);
    SetMode(EMR_SETTEXTCOLOR, a.textColor & 0xFFFFFF, m_textColor);
    SelectFont(a.font);

    // UTF-16 units with their advances; the running position is rounded, so the sum stays exact.
    const GdiFont f = MakeGdiFont(a.font, m_ref.dpiY);
    std::u16string units;
    std::vector<LONG> dx;
    double pos = 0.0;
    LONG placed = 0;
    for (const GdiGlyph& g : SplitGlyphs(f, text)) {
        pos += g.advance;
        const LONG next = RoundLong(pos);
        for (qsizetype i = 0; i < g.text.size(); ++i) {
            units.push_back(g.text.at(i).unicode());
            dx.push_back(i == 0 ? next - placed : 0);
        }
        placed = next;
    }
    const double width = pos;

    // Bounds: the text cell turned by the escapement, and the opaque rectangle.
    const UINT align = a.textAlign;
    const double x0 = (align & TA_CENTER) == TA_CENTER ? -width / 2 : (align & TA_RIGHT) ? -width : 0.0;
    const double top = (align & TA_BASELINE) == TA_BASELINE ? -f.ascent
                       : (align & TA_BOTTOM)                ? -(f.ascent + f.descent)
                                                            : 0.0;
    const double angle = f.escapement * 3.14159265358979323846 / 180.0;
    const double c = std::cos(angle), s = std::sin(angle);
    const GdiPointF cell[4] = {{x0, top},
                               {x0 + width, top},
                               {x0 + width, top + f.ascent + f.descent},
                               {x0, top + f.ascent + f.descent}};
    GdiPointF turned[4];
    for (int i = 0; i < 4; ++i)
        turned[i] = {x + cell[i].x * c + cell[i].y * s, y - cell[i].x * s + cell[i].y * c};
    RECT bounds = units.empty() ? RECT{0, 0, -1, -1} : RecordBounds(turned, 4, 1);
    RECT clipRect{0, 0, -1, -1};
    if (rect) {
        clipRect = RECT{std::min(rect->left, rect->right), std::min(rect->top, rect->bottom),
                        std::max(rect->left, rect->right), std::max(rect->top, rect->bottom)};
        if (options & ETO_OPAQUE) {
            const RECT r{clipRect.left, clipRect.top, clipRect.right - 1, clipRect.bottom - 1};
            bounds = units.empty() ? r
                                   : RECT{std::min(bounds.left, r.left), std::min(bounds.top, r.top),
                                          std::max(bounds.right, r.right), std::max(bounds.bottom, r.bottom)};
        }
    }

    const DWORD n = static_cast<DWORD>(units.size());
    constexpr DWORD kFixed = 76;
    const DWORD offString = kFixed;
    const DWORD offDx = offString + ((2 * n + 3) / 4) * 4;
    Begin(EMR_EXTTEXTOUTW);
    PutRect(bounds);
    Put32(kGmCompatible);
    const float scaleX = static_cast<float>(2540.0 / m_ref.dpiX),
                scaleY = static_cast<float>(2540.0 / m_ref.dpiY);
    PutBytes(&scaleX, 4);
    PutBytes(&scaleY, 4);
    PutLong(RoundLong(x)), PutLong(RoundLong(y));
    Put32(n);
    Put32(n ? offString : 0);
    Put32(options & (ETO_OPAQUE | ETO_CLIPPED));
    PutRect(clipRect);
    Put32(n ? offDx : 0);
    for (char16_t u : units)
        Put16(u);
    while ((Here() - m_recordStart) % 4)
        m_data.push_back(0);
    for (LONG d : dx)
        PutLong(d);
    End();
    if (bounds.right >= bounds.left) Touch(bounds);
}

void EmfBackend::WriteDib(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                          const BYTE* info, std::size_t infoBytes, const BYTE* bits, std::size_t bitsBytes,
                          DWORD rop) {
    const RECT bounds{std::min(xDst, xDst + wDst), std::min(yDst, yDst + hDst),
                      std::max(xDst, xDst + wDst) - 1, std::max(yDst, yDst + hDst) - 1};
    constexpr DWORD kFixed = 80;
    const DWORD infoPadded = static_cast<DWORD>((infoBytes + 3) / 4 * 4);
    Begin(EMR_STRETCHDIBITS);
    PutRect(bounds);
    PutLong(xDst), PutLong(yDst), PutLong(xSrc), PutLong(ySrc), PutLong(wSrc), PutLong(hSrc);
    Put32(kFixed);
    Put32(static_cast<DWORD>(infoBytes));
    Put32(kFixed + infoPadded);
    Put32(static_cast<DWORD>(bitsBytes));
    Put32(DIB_RGB_COLORS);
    Put32(rop);
    PutLong(wDst), PutLong(hDst);
    PutBytes(info, infoBytes);
    while (Here() - m_recordStart < kFixed + infoPadded)
        m_data.push_back(0);
    PutBytes(bits, bitsBytes);
    End();
    Touch(bounds);
}

void EmfBackend::StretchDib(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                            const BITMAPINFO* info, const void* bits, DWORD rop, const GdiAttributes& a) {
    if (m_finished || !info || !bits || wDst == 0 || hDst == 0) return;
    ApplyModes(a);
    SetMode(EMR_SETSTRETCHBLTMODE, static_cast<DWORD>(a.stretchMode), m_stretchMode);
    const BITMAPINFOHEADER& h = info->bmiHeader;
    WriteDib(xDst, yDst, wDst, hDst, xSrc, ySrc, wSrc, hSrc, reinterpret_cast<const BYTE*>(info),
             DibInfoBytes(h), static_cast<const BYTE*>(bits), DibBitsBytes(h), rop);
}

void EmfBackend::BitBlt(const CRect& dst, const CBitmap::Surface& src, CPoint srcOrigin, COLORREF, DWORD rop,
                        const GdiAttributes& a) {
    if (m_finished) return;
    const QRect from = QRect(srcOrigin.x, srcOrigin.y, dst.Width(), dst.Height()) & src.image.rect();
    if (from.isEmpty()) return;
    // The source pixels as a bottom-up 32-bit DIB; monochrome sources take text and background colours.
    QImage pixels = src.image.copy(from).convertToFormat(QImage::Format_RGB32);
    const QRgb fg =
        0xFF000000u | qRgb(GetRValue(a.textColor), GetGValue(a.textColor), GetBValue(a.textColor));
    const QRgb bg = 0xFF000000u | qRgb(GetRValue(a.bkColor), GetGValue(a.bkColor), GetBValue(a.bkColor));
    BITMAPINFOHEADER h;
    h.biWidth = pixels.width();
    h.biHeight = pixels.height();
    h.biBitCount = 32;
    h.biSizeImage = static_cast<DWORD>(4 * pixels.width() * pixels.height());
    std::vector<BYTE> bitsOut(h.biSizeImage);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(pixels.height() - 1 - y));
        BYTE* out = bitsOut.data() + 4 * static_cast<std::size_t>(y) * pixels.width();
        for (int x = 0; x < pixels.width(); ++x) {
            QRgb c = row[x];
            if (src.monochrome) c = (c & 0xFFFFFF) ? bg : fg;
            out[4 * x] = BYTE(qBlue(c)), out[4 * x + 1] = BYTE(qGreen(c)), out[4 * x + 2] = BYTE(qRed(c));
            out[4 * x + 3] = 0;
        }
    }
    ApplyModes(a);
    const int xDst = dst.left + (from.left() - srcOrigin.x), yDst = dst.top + (from.top() - srcOrigin.y);
    WriteDib(xDst, yDst, from.width(), from.height(), 0, 0, from.width(), from.height(),
             reinterpret_cast<const BYTE*>(&h), sizeof(h), bitsOut.data(), bitsOut.size(), rop);
}

COLORREF EmfBackend::GetPixel(int, int) const {
    return kClrInvalid;
}

COLORREF EmfBackend::SetPixel(int x, int y, COLORREF color) {
    if (m_finished) return kClrInvalid;
    Begin(EMR_SETPIXELV);
    PutLong(x), PutLong(y);
    Put32(color & 0xFFFFFF);
    End();
    Touch(RECT{x, y, x, y});
    return color & 0xFFFFFF;
}

std::vector<BYTE> EmfBackend::Finish() {
    if (m_finished) return {};
    // Objects still selected are released, and the state the picture started with comes back.
    const DWORD stockPen = kStock | 7, stockBrush = kStock | 0, stockFont = kStock | 13;
    if (m_penHandle) {
        if (m_penSelected == Selected::Made) Simple(EMR_SELECTOBJECT, stockPen);
        DeleteHandle(m_penHandle), m_penHandle = 0;
    }
    if (m_brushHandle) {
        if (m_brushSelected == Selected::Made) Simple(EMR_SELECTOBJECT, stockBrush);
        DeleteHandle(m_brushHandle), m_brushHandle = 0;
    }
    if (m_fontHandle) Simple(EMR_SELECTOBJECT, stockFont), DeleteHandle(m_fontHandle), m_fontHandle = 0;
    Simple(EMR_RESTOREDC, static_cast<DWORD>(-1));
    m_finished = true;

    const std::size_t descBytes = m_description.empty() ? 0 : 2 * m_description.size();
    const std::size_t headerSize = kHeaderFixed + (descBytes + 3) / 4 * 4;
    constexpr std::size_t kEofSize = 20;
    const std::size_t total = headerSize + m_data.size() + kEofSize;
    std::vector<BYTE> out;
    out.reserve(total);
    auto put32 = [&out](DWORD v) {
        out.push_back(BYTE(v)), out.push_back(BYTE(v >> 8)), out.push_back(BYTE(v >> 16)),
            out.push_back(BYTE(v >> 24));
    };
    auto putRect = [&put32](const RECT& r) {
        put32(static_cast<DWORD>(r.left)), put32(static_cast<DWORD>(r.top)),
            put32(static_cast<DWORD>(r.right)), put32(static_cast<DWORD>(r.bottom));
    };
    put32(EMR_HEADER);
    put32(static_cast<DWORD>(headerSize));
    putRect(m_touched ? m_drawn : RECT{0, 0, -1, -1});
    putRect(m_frame);
    put32(kSignature);
    put32(kVersion);
    put32(static_cast<DWORD>(total));
    put32(static_cast<DWORD>(m_recordCount + 2));
    const DWORD handles = static_cast<DWORD>(std::min<std::size_t>(m_handles.size(), 0xFFFF));
    put32(handles);  // nHandles (16 bits) and the reserved word
    put32(static_cast<DWORD>(m_description.size()));
    put32(descBytes ? static_cast<DWORD>(kHeaderFixed) : 0);
    put32(0);  // palette entries
    put32(static_cast<DWORD>(m_ref.devicePixels.cx));
    put32(static_cast<DWORD>(m_ref.devicePixels.cy));
    put32(static_cast<DWORD>(m_ref.millimeters.cx));
    put32(static_cast<DWORD>(m_ref.millimeters.cy));
    put32(0), put32(0), put32(0);  // no pixel format, no OpenGL
    put32(static_cast<DWORD>(std::lround(m_ref.devicePixels.cx * 25400.0 / m_ref.dpiX)));
    put32(static_cast<DWORD>(std::lround(m_ref.devicePixels.cy * 25400.0 / m_ref.dpiY)));
    for (char16_t u : m_description)
        out.push_back(BYTE(u)), out.push_back(BYTE(u >> 8));
    while (out.size() < headerSize)
        out.push_back(0);
    out.insert(out.end(), m_data.begin(), m_data.end());
    put32(EMR_EOF);
    put32(static_cast<DWORD>(kEofSize));
    put32(0);
    put32(16);
    put32(static_cast<DWORD>(kEofSize));
    m_data.clear();
    m_data.shrink_to_fit();
    return out;
}
