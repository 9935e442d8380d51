#include "platform/gdi/GdiObjects.h"

#include <QPainter>
#include <QPolygonF>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"

BOOL CGdiObject::DeleteObject() {
    if (m_stock || !m_valid) return FALSE;
    m_valid = false;
    return TRUE;
}

// Pens, brushes, fonts ------------------------------------------------------------------------

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    if (m_valid || style < PS_SOLID || style > PS_INSIDEFRAME) return FALSE;
    m_log.lopnStyle = static_cast<UINT>(style);
    m_log.lopnWidth = POINT{std::max(width, 0), 0};
    m_log.lopnColor = color;
    m_valid = true;
    return TRUE;
}

BOOL CPen::CreatePenIndirect(const LOGPEN& logPen) {
    return CreatePen(static_cast<int>(logPen.lopnStyle), logPen.lopnWidth.x, logPen.lopnColor);
}

BOOL CPen::GetLogPen(LOGPEN* logPen) const {
    if (!m_valid || !logPen) return FALSE;
    *logPen = m_log;
    return TRUE;
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return CreateBrushIndirect(LOGBRUSH{BS_SOLID, color, 0});
}

BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return FALSE;
    return CreateBrushIndirect(LOGBRUSH{BS_HATCHED, color, hatch});
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH& logBrush) {
    if (m_valid || logBrush.lbStyle > BS_HATCHED) return FALSE;
    m_log = logBrush;
    m_valid = true;
    return TRUE;
}

BOOL CBrush::GetLogBrush(LOGBRUSH* logBrush) const {
    if (!m_valid || !logBrush) return FALSE;
    *logBrush = m_log;
    return TRUE;
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont) {
    if (m_valid || !logFont) return FALSE;
    m_log = *logFont;
    m_valid = true;
    return TRUE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, const std::string& faceName) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    lf.lfFaceName = faceName;
    return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONT* logFont) const {
    if (!m_valid || !logFont) return 0;
    *logFont = m_log;
    return static_cast<int>(sizeof(LOGFONT));
}

// Regions ---------------------------------------------------------------------------------------

namespace {

int RegionKind(const QPainterPath& path) {
    const QRectF box = path.boundingRect();
    if (path.isEmpty() || box.isEmpty()) return NULLREGION;
    // A rectangle is a closed figure whose every vertex is a corner of its bounding box.
    if (path.elementCount() > 5) return COMPLEXREGION;
    int corners = 0;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const bool onX = e.x == box.left() || e.x == box.right(),
                   onY = e.y == box.top() || e.y == box.bottom();
        if (!onX || !onY) return COMPLEXREGION;
        corners |= (e.x == box.left() ? 1 : 2) << (e.y == box.top() ? 0 : 2);
    }
    return corners == 0xF ? SIMPLEREGION : COMPLEXREGION;
}

QPainterPath PolygonsPath(const POINT* points, const int* counts, int polygonCount, int fillMode) {
    QPainterPath path;
    path.setFillRule(fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    int k = 0;
    for (int i = 0; i < polygonCount; ++i) {
        const int n = counts[i];
        if (n < 0) return {};
        if (n >= 3) {
            QPolygonF poly;
            poly.reserve(n);
            for (int j = 0; j < n; ++j)
                poly << QPointF(points[k + j].x, points[k + j].y);
            path.addPolygon(poly);
            path.closeSubpath();
        }
        k += n;
    }
    return path;
}

}  // namespace

CRgn::CRgn() : CGdiObject(Kind::Region) {}
CRgn::~CRgn() = default;

CRgn::CRgn(const CRgn& other) : CGdiObject(other) {
    if (other.m_data) m_data = std::make_unique<Data>(*other.m_data);
}

CRgn& CRgn::operator=(const CRgn& other) {
    if (this != &other) {
        CGdiObject::operator=(other);
        m_data = other.m_data ? std::make_unique<Data>(*other.m_data) : nullptr;
    }
    return *this;
}

void CRgn::SetData(std::unique_ptr<Data> data) {
    m_data = std::move(data);
    m_valid = m_data != nullptr;
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    if (m_valid) return FALSE;
    auto data = std::make_unique<Data>();
    const QRectF r = QRectF(QPointF(left, top), QPointF(right, bottom)).normalized();
    if (!r.isEmpty()) data->path.addRect(r);
    SetData(std::move(data));
    return TRUE;
}

BOOL CRgn::CreateRectRgnIndirect(const RECT* rect) {
    return rect && CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

BOOL CRgn::CreatePolyPolygonRgn(const POINT* points, const int* counts, int polygonCount, int fillMode) {
    if (m_valid || !points || !counts || polygonCount < 1) return FALSE;
    auto data = std::make_unique<Data>();
    data->path = PolygonsPath(points, counts, polygonCount, fillMode);
    SetData(std::move(data));
    return TRUE;
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    if (!a || !a->m_data || (mode != RGN_COPY && (!b || !b->m_data))) return RGN_ERROR;
    QPainterPath result;
    const QPainterPath& pa = a->m_data->path;
    switch (mode) {
        case RGN_COPY:
            result = pa;
            break;
        case RGN_AND:
            result = pa.intersected(b->m_data->path);
            break;
        case RGN_OR:
            result = pa.united(b->m_data->path);
            break;
        case RGN_DIFF:
            result = pa.subtracted(b->m_data->path);
            break;
        case RGN_XOR:
            result = pa.subtracted(b->m_data->path).united(b->m_data->path.subtracted(pa));
            break;
        default:
            return RGN_ERROR;
    }
    auto data = std::make_unique<Data>();
    data->path = result.simplified();
    SetData(std::move(data));
    return RegionKind(m_data->path);
}

int CRgn::OffsetRgn(int dx, int dy) {
    if (!m_data) return RGN_ERROR;
    m_data->path.translate(dx, dy);
    return RegionKind(m_data->path);
}

BOOL CRgn::PtInRegion(int x, int y) const {
    return m_data && m_data->path.contains(QPointF(x + 0.5, y + 0.5)) ? TRUE : FALSE;
}

BOOL CRgn::RectInRegion(const RECT* rect) const {
    if (!m_data || !rect) return FALSE;
    const QRectF r = QRectF(QPointF(rect->left, rect->top), QPointF(rect->right, rect->bottom)).normalized();
    return !r.isEmpty() && m_data->path.intersects(r) ? TRUE : FALSE;
}

int CRgn::GetRgnBox(RECT* rect) const {
    if (!m_data || !rect) return RGN_ERROR;
    const QRectF box = m_data->path.boundingRect();
    if (m_data->path.isEmpty() || box.isEmpty()) {
        *rect = RECT{};
        return NULLREGION;
    }
    *rect = RECT{static_cast<LONG>(std::floor(box.left())), static_cast<LONG>(std::floor(box.top())),
                 static_cast<LONG>(std::ceil(box.right())), static_cast<LONG>(std::ceil(box.bottom()))};
    return RegionKind(m_data->path);
}

BOOL CRgn::DeleteObject() {
    if (!m_valid) return FALSE;
    m_data.reset();
    m_valid = false;
    return TRUE;
}

// Bitmaps ---------------------------------------------------------------------------------------

namespace {

// Larger surfaces are refused rather than risking an allocation failure.
constexpr qint64 kMaxSurfacePixels = qint64(1) << 28;

std::shared_ptr<CBitmap::Surface> NewSurface(int width, int height, bool monochrome) {
    if (width <= 0 || height <= 0 || qint64(width) * height > kMaxSurfacePixels) return nullptr;
    auto s = std::make_shared<CBitmap::Surface>();
    s->image = QImage(width, height, QImage::Format_RGB32);
    if (s->image.isNull()) return nullptr;
    s->image.setDotsPerMeterX(3780);
    s->image.setDotsPerMeterY(3780);
    s->image.fill(Qt::black);
    s->monochrome = monochrome;
    return s;
}

}  // namespace

COLORREF ToMonochrome(COLORREF c) {
    const int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
    return sum >= 384 ? 0xFFFFFF : 0;
}

CBitmap::CBitmap() : CGdiObject(Kind::Bitmap) {}
CBitmap::~CBitmap() = default;

void CBitmap::SetSurface(std::shared_ptr<Surface> surface) {
    m_surface = std::move(surface);
    m_valid = m_surface != nullptr;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    if (m_valid) return FALSE;
    bool mono = false;
    if (dc) {
        const CBitmap* current = dc->GetCurrentBitmap();
        mono = current ? current->IsMonochrome() != FALSE
                       : (dc->GetBackend() && dc->GetBackend()->IsMonochrome());
    }
    auto s = NewSurface(width, height, mono);
    if (!s) return FALSE;
    SetSurface(std::move(s));
    return TRUE;
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (m_valid || planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32))
        return FALSE;
    auto s = NewSurface(width, height, bitsPerPixel == 1);
    if (!s) return FALSE;
    if (bits) {
        const auto* src = static_cast<const BYTE*>(bits);
        const std::size_t stride = ((static_cast<std::size_t>(width) * bitsPerPixel + 15) / 16) * 2;
        for (int y = 0; y < height; ++y) {
            const BYTE* row = src + stride * y;
            auto* out = reinterpret_cast<QRgb*>(s->image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                if (bitsPerPixel == 1) {
                    out[x] = (row[x / 8] & (0x80 >> (x % 8))) ? 0xFFFFFFFF : 0xFF000000;
                } else {
                    const BYTE* p = row + x * (bitsPerPixel / 8);
                    out[x] = qRgb(p[2], p[1], p[0]);
                }
            }
        }
    }
    SetSurface(std::move(s));
    return TRUE;
}

BOOL CBitmap::CreateFromDib(const BITMAPINFO* info, const void* bits) {
    if (m_valid || !info || !bits) return FALSE;
    const LONG w = info->bmiHeader.biWidth;
    const LONG h = info->bmiHeader.biHeight;
    if (w <= 0 || h == 0 || h == std::numeric_limits<LONG>::min()) return FALSE;
    auto s = NewSurface(w, std::abs(h), false);
    if (!s) return FALSE;
    s->image.fill(Qt::white);
    SetSurface(s);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(this);
    dc.SetStretchBltMode(COLORONCOLOR);
    const int lines =
        dc.StretchDIBits(0, 0, w, std::abs(h), 0, 0, w, std::abs(h), bits, info, DIB_RGB_COLORS, SRCCOPY);
    dc.DeleteDC();
    if (lines == 0) {
        SetSurface(nullptr);
        return FALSE;
    }
    return TRUE;
}

int CBitmap::GetBitmap(BITMAP* bitmap) const {
    if (!m_surface || !bitmap) return 0;
    bitmap->bmType = 0;
    bitmap->bmWidth = m_surface->image.width();
    bitmap->bmHeight = m_surface->image.height();
    bitmap->bmPlanes = 1;
    bitmap->bmBitsPixel = m_surface->monochrome ? 1 : 32;
    bitmap->bmWidthBytes = m_surface->monochrome ? ((bitmap->bmWidth + 15) / 16) * 2 : bitmap->bmWidth * 4;
    return static_cast<int>(sizeof(BITMAP));
}

CSize CBitmap::GetBitmapDimension() const {
    return m_surface ? CSize(m_surface->image.width(), m_surface->image.height()) : CSize();
}

BOOL CBitmap::IsMonochrome() const {
    return m_surface && m_surface->monochrome ? TRUE : FALSE;
}

COLORREF CBitmap::GetPixel(int x, int y) const {
    if (!m_surface || !m_surface->image.valid(x, y)) return 0xFFFFFFFF;
    return FromQRgb(m_surface->image.pixel(x, y));
}

BOOL CBitmap::DeleteObject() {
    if (!m_valid) return FALSE;
    m_surface.reset();
    m_valid = false;
    return TRUE;
}

// Palettes --------------------------------------------------------------------------------------

BOOL CPalette::CreatePalette(const std::vector<COLORREF>& entries) {
    if (m_valid || entries.empty()) return FALSE;
    m_entries = entries;
    m_valid = true;
    return TRUE;
}

UINT CPalette::GetNearestPaletteIndex(COLORREF color) const {
    UINT best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const long dr = long(GetRValue(m_entries[i])) - GetRValue(color);
        const long dg = long(GetGValue(m_entries[i])) - GetGValue(color);
        const long db = long(GetBValue(m_entries[i])) - GetBValue(color);
        const long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<UINT>(i);
        }
    }
    return best;
}

// Stock objects and system colours ----------------------------------------------------------------

CGdiObject* GetStockObject(int index) {
    struct Stock {
        CBrush brushes[6];
        CPen pens[3];
        CFont systemFont;
        CFont guiFont;
        Stock() {
            const COLORREF colours[5] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
            for (int i = 0; i < 5; ++i)
                brushes[i].CreateSolidBrush(colours[i]);
            brushes[5].CreateBrushIndirect(LOGBRUSH{BS_NULL, 0, 0});
            pens[0].CreatePen(PS_SOLID, 0, 0xFFFFFF);
            pens[1].CreatePen(PS_SOLID, 0, 0x000000);
            pens[2].CreatePen(PS_NULL, 0, 0);
            LOGFONT lf;
            lf.lfHeight = 16;
            lf.lfWeight = FW_BOLD;
            lf.lfCharSet = SHIFTJIS_CHARSET;
            lf.lfFaceName = "System";
            systemFont.CreateFontIndirect(&lf);
            lf.lfHeight = -12;
            lf.lfWeight = FW_NORMAL;
            lf.lfFaceName = "ＭＳ Ｐゴシック";
            guiFont.CreateFontIndirect(&lf);
        }
    };
    static Stock* stock = [] {
        auto* s = new Stock;  // lives for the whole program: contexts may still refer to it at exit
        for (auto& b : s->brushes)
            b.m_stock = true;
        for (auto& p : s->pens)
            p.m_stock = true;
        s->systemFont.m_stock = true;
        s->guiFont.m_stock = true;
        return s;
    }();
    if (index >= WHITE_BRUSH && index <= NULL_BRUSH) return &stock->brushes[index];
    if (index >= WHITE_PEN && index <= NULL_PEN) return &stock->pens[index - WHITE_PEN];
    if (index == SYSTEM_FONT) return &stock->systemFont;
    if (index == DEFAULT_GUI_FONT) return &stock->guiFont;
    return nullptr;
}

COLORREF GetSysColor(int index) {
    static const COLORREF classic[] = {
        RGB(192, 192, 192),  // scroll bar
        RGB(0, 128, 128),    // desktop
        RGB(0, 0, 128),      // active caption
        RGB(128, 128, 128),  // inactive caption
        RGB(192, 192, 192),  // menu
        RGB(255, 255, 255),  // window
        RGB(0, 0, 0),        // window frame
        RGB(0, 0, 0),        // menu text
        RGB(0, 0, 0),        // window text
        RGB(255, 255, 255),  // caption text
        RGB(192, 192, 192),  // active border
        RGB(192, 192, 192),  // inactive border
        // Not the classic 128 grey: white in XOR turns that into 127, so the trackers and the
        // cross-hair drawn in XOR would vanish over the view's area outside the sheet.
        RGB(171, 171, 171),  // application workspace
        RGB(0, 0, 128),      // highlight
        RGB(255, 255, 255),  // highlight text
        RGB(192, 192, 192),  // button face
        RGB(128, 128, 128),  // button shadow
        RGB(128, 128, 128),  // grey text
        RGB(0, 0, 0),        // button text
        RGB(192, 192, 192),  // inactive caption text
        RGB(255, 255, 255),  // button highlight
        RGB(0, 0, 0),        // 3D dark shadow
        RGB(223, 223, 223),  // 3D light
        RGB(0, 0, 0),        // tooltip text
        RGB(255, 255, 225),  // tooltip background
    };
    if (index < 0 || index >= static_cast<int>(std::size(classic))) return 0;
    return classic[index];
}

BOOL GetNonClientMetrics(NONCLIENTMETRICS* metrics) {
    if (!metrics) return FALSE;
    metrics->lfMenuFont = LOGFONT();
    metrics->lfMenuFont.lfHeight = -12;
    metrics->lfMenuFont.lfWeight = FW_NORMAL;
    metrics->lfMenuFont.lfCharSet = SHIFTJIS_CHARSET;
    metrics->lfMenuFont.lfFaceName = "MS UI Gothic";
    return TRUE;
}
