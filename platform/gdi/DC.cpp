#include "platform/gdi/DC.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/Cp932.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/QtGdi.h"
#include "platform/gdi/RunClip.h"

namespace {

using gdi::ClipRun;
using gdi::ClipSegment;
using gdi::Guard;
using gdi::Lerp;

// Device coordinates are kept within this range; beyond it nothing can be visible anyway.
constexpr double kCoordLimit = double(1 << 27);
// Clipped figures keep this margin (plus the pen width) around the target, so the cuts never show.
constexpr double kGuardMargin = 32.0;
constexpr double kPi = 3.14159265358979323846;

// Whether no point was held at the coordinate limit.
bool Unclamped(const GdiPointF* points, int count) {
    for (int i = 0; i < count; ++i)
        if (std::fabs(points[i].x) >= kCoordLimit || std::fabs(points[i].y) >= kCoordLimit) return false;
    return true;
}

// Sutherland-Hodgman against the guard. Inside the guard the winding of every point is kept,
// so rings of one figure may be clipped one by one.
void ClipRing(const GdiPointF* pts, int n, const Guard& g, std::vector<GdiPointF>& out,
              std::vector<int>& counts) {
    bool inside = true;
    for (int i = 0; i < n && inside; ++i)
        inside = g.Contains(pts[i]);
    if (inside) {
        out.insert(out.end(), pts, pts + n);
        counts.push_back(n);
        return;
    }
    std::vector<GdiPointF> a(pts, pts + n), b;
    for (int edge = 0; edge < 4 && !a.empty(); ++edge) {
        auto in = [&](const GdiPointF& p) {
            switch (edge) {
                case 0:
                    return p.x >= g.left;
                case 1:
                    return p.x <= g.right;
                case 2:
                    return p.y >= g.top;
                default:
                    return p.y <= g.bottom;
            }
        };
        auto cut = [&](const GdiPointF& p, const GdiPointF& q) {
            double t;
            switch (edge) {
                case 0:
                    t = (g.left - p.x) / (q.x - p.x);
                    break;
                case 1:
                    t = (g.right - p.x) / (q.x - p.x);
                    break;
                case 2:
                    t = (g.top - p.y) / (q.y - p.y);
                    break;
                default:
                    t = (g.bottom - p.y) / (q.y - p.y);
                    break;
            }
            GdiPointF r = Lerp(p, q, t);
            if (edge < 2)
                r.x = edge == 0 ? g.left : g.right;
            else
                r.y = edge == 2 ? g.top : g.bottom;
            return r;
        };
        b.clear();
        for (std::size_t i = 0; i < a.size(); ++i) {
            const GdiPointF& p = a[i];
            const GdiPointF& q = a[(i + 1) % a.size()];
            const bool pi = in(p), qi = in(q);
            if (pi) b.push_back(p);
            if (pi != qi) b.push_back(cut(p, q));
        }
        a.swap(b);
    }
    if (a.size() >= 3) {
        out.insert(out.end(), a.begin(), a.end());
        counts.push_back(static_cast<int>(a.size()));
    }
}

struct EllipseGeom {
    double cx, cy, rx, ry;
    GdiPointF At(double t) const { return {cx + rx * std::cos(t), cy - ry * std::sin(t)}; }
    // Parameter of the point where the ray from the centre towards (x, y) meets the ellipse.
    double ParamTowards(double x, double y) const {
        const double phi = std::atan2(-(y - cy), x - cx);
        return std::atan2(rx * std::sin(phi), ry * std::cos(phi));
    }
};

// Points of the arc from t0 to t1 (t1 > t0), the first one included. Pieces far from the
// guard are not refined, so a huge ellipse costs only what is near the target.
void AppendArc(const EllipseGeom& e, double t0, double t1, const Guard& g, std::vector<GdiPointF>& out) {
    const double r = std::max({std::abs(e.rx), std::abs(e.ry), 0.0});
    struct Piece {
        double t0, t1;
        GdiPointF p0, p1;
        int depth;
    };
    out.push_back(e.At(t0));
    const int pieces = std::max(1, static_cast<int>(std::ceil((t1 - t0) / (kPi / 4))));
    std::vector<Piece> stack;
    for (int i = pieces - 1; i >= 0; --i) {
        const double a = t0 + (t1 - t0) * i / pieces, b = t0 + (t1 - t0) * (i + 1) / pieces;
        stack.push_back({a, b, e.At(a), e.At(b), 0});
    }
    while (!stack.empty()) {
        const Piece p = stack.back();
        stack.pop_back();
        const double sag = r * (1.0 - std::cos((p.t1 - p.t0) / 2)) + 1.0;
        const bool near =
            std::min(p.p0.x, p.p1.x) - sag <= g.right && std::max(p.p0.x, p.p1.x) + sag >= g.left &&
            std::min(p.p0.y, p.p1.y) - sag <= g.bottom && std::max(p.p0.y, p.p1.y) + sag >= g.top;
        if (p.depth >= 48 || sag <= 1.25 || !near) {
            out.push_back(p.p1);
            continue;
        }
        const double tm = (p.t0 + p.t1) / 2;
        const GdiPointF pm = e.At(tm);
        stack.push_back({tm, p.t1, pm, p.p1, p.depth + 1});
        stack.push_back({p.t0, tm, p.p0, pm, p.depth + 1});
    }
}

struct State {
    GdiAttributes a;
    CPen* pen = nullptr;
    CBrush* brush = nullptr;
    CFont* font = nullptr;
    CPalette* palette = nullptr;
    CPoint windowOrg;
    CPoint viewportOrg;
    CPoint position;
    std::shared_ptr<const CRgn> clip;  // device coordinates; null: no clip
};

const CRect kNoBounds;

enum class ArcKind { Full, Arc, Pie, Chord };

// Normalised rectangle of a figure call in device coordinates (doubles, so nothing overflows).
struct DRect {
    double l, t, r, b;
};

}  // namespace

struct CDC::Impl {
    std::unique_ptr<GdiBackend> backend;
    bool printing = false;
    bool memory = false;
    std::shared_ptr<CBitmap::Surface> surface;  // image, hit-test and memory contexts
    CBitmap defaultBitmap;
    CBitmap* bitmap = nullptr;
    State s;
    std::vector<State> saved;
    // Scratch lists of the line and figure calls, kept between calls (back ends never call back).
    std::vector<GdiPointF> device, clipped;
    std::vector<int> clippedCounts;

    Impl() {
        s.pen = static_cast<CPen*>(GetStockObject(BLACK_PEN));
        s.brush = static_cast<CBrush*>(GetStockObject(WHITE_BRUSH));
        s.font = static_cast<CFont*>(GetStockObject(SYSTEM_FONT));
        s.a.pen = s.pen->GetLogPen();
        s.a.brush = s.brush->GetLogBrush();
        s.a.font = s.font->GetLogFont();
    }

    CRect Bounds() const { return backend ? backend->GetBounds() : kNoBounds; }

    GdiPointF ToDevice(const POINT& p) const {
        const double x = double(p.x) - s.windowOrg.x + s.viewportOrg.x;
        const double y = double(p.y) - s.windowOrg.y + s.viewportOrg.y;
        return {std::clamp(x, -kCoordLimit, kCoordLimit), std::clamp(y, -kCoordLimit, kCoordLimit)};
    }
    // Many points at once; whether all of them lie within the guard.
    bool ToDevice(const POINT* points, int count, GdiPointF* out, const Guard& g) const {
        const double ox = double(s.viewportOrg.x) - s.windowOrg.x,
                     oy = double(s.viewportOrg.y) - s.windowOrg.y;
        // The guard lies well within the coordinate limit: points inside it need no clamping,
        // so only a call with a point outside goes round again.
        bool inside = true;
        for (int i = 0; i < count; ++i) {
            const double x = points[i].x + ox, y = points[i].y + oy;
            out[i] = GdiPointF{x, y};
            inside &= (x >= g.left) & (x <= g.right) & (y >= g.top) & (y <= g.bottom);
        }
        if (inside) return true;
        for (int i = 0; i < count; ++i)
            out[i] = GdiPointF{std::clamp(points[i].x + ox, -kCoordLimit, kCoordLimit),
                               std::clamp(points[i].y + oy, -kCoordLimit, kCoordLimit)};
        return false;
    }
    static LONG ClampLong(double v) { return static_cast<LONG>(std::clamp(v, -kCoordLimit, kCoordLimit)); }
    CPoint ToDeviceInt(int x, int y) const {
        return CPoint(ClampLong(double(x) - s.windowOrg.x + s.viewportOrg.x),
                      ClampLong(double(y) - s.windowOrg.y + s.viewportOrg.y));
    }
    CPoint ToLogicalInt(int x, int y) const {
        return CPoint(ClampLong(double(x) - s.viewportOrg.x + s.windowOrg.x),
                      ClampLong(double(y) - s.viewportOrg.y + s.windowOrg.y));
    }

    // The part of the device that can show anything, widened so that cut ends stay invisible.
    bool MakeGuard(Guard& g, int penWidth) const {
        CRect b = Bounds();
        if (s.clip) {
            RECT box;
            if (s.clip->GetRgnBox(&box) == NULLREGION) return false;
            CRect c;
            if (!c.IntersectRect(b, box)) return false;
            b = c;
        }
        if (b.IsRectEmpty()) return false;
        const double m = kGuardMargin + std::max(penWidth, 1);
        g = {b.left - m, b.top - m, b.right + m, b.bottom + m};
        return true;
    }

    void ApplyClip() {
        if (backend) backend->SetClip(s.clip.get());
    }

    void SetBackend(std::unique_ptr<GdiBackend> b) {
        backend = std::move(b);
        ApplyClip();
    }

    // Device-space region of the whole target, for combinations without a clip.
    CRgn BoundsRegion() const {
        CRgn r;
        const CRect b = Bounds();
        r.CreateRectRgn(b.left, b.top, b.right, b.bottom);
        return r;
    }

    int SetClipRegion(const CRgn* region, int mode) {
        if (mode == RGN_COPY) {
            if (!region) {
                s.clip.reset();
            } else {
                if (!region->GetData()) return RGN_ERROR;
                s.clip = std::make_shared<CRgn>(*region);
            }
        } else {
            if (!region || !region->GetData()) return RGN_ERROR;
            const CRgn base = s.clip ? CRgn(*s.clip) : BoundsRegion();
            auto result = std::make_shared<CRgn>();
            if (result->CombineRgn(&base, region, mode) == RGN_ERROR) return RGN_ERROR;
            s.clip = std::move(result);
        }
        ApplyClip();
        if (!s.clip) return SIMPLEREGION;
        RECT box;
        return s.clip->GetRgnBox(&box);
    }

    bool CanDraw() const { return backend != nullptr; }

    // Thin solid runs go uncut to a back end that clips them itself (see TakesLongThinLines).
    bool KeepsRunsWhole() const {
        const LOGPEN& pen = s.a.pen;
        return backend && pen.lopnStyle == PS_SOLID && pen.lopnWidth.x <= 1 && backend->TakesLongThinLines();
    }
    void AddRun(const GdiPointF* pts, int n, const Guard& g, std::vector<GdiPointF>& out,
                std::vector<int>& counts) const {
        if (KeepsRunsWhole()) {
            out.insert(out.end(), pts, pts + n);
            counts.push_back(n);
        } else {
            const LOGPEN& pen = s.a.pen;
            ClipRun(pts, n, g, out, counts,
                    pen.lopnWidth.x <= 1 && pen.lopnStyle >= PS_DASH && pen.lopnStyle <= PS_DASHDOTDOT);
        }
    }

    void DrawFigure(const GdiFigure& f) {
        if (backend) backend->DrawFigure(f, s.a);
    }

    BOOL EllipseFigure(ArcKind kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
};

CDC::CDC() : m_impl(std::make_unique<Impl>()) {}
CDC::~CDC() = default;

BOOL CDC::CreateImageDC(int width, int height) {
    CBitmap bitmap;
    if (!bitmap.CreateBitmap(width, height, 1, 32, nullptr)) return FALSE;
    auto surface = bitmap.GetSurface();
    surface->image.fill(Qt::white);
    m_impl->memory = false;
    m_impl->bitmap = nullptr;
    m_impl->surface = surface;
    m_impl->printing = false;
    m_impl->SetBackend(MakeSurfaceBackend(surface));
    return TRUE;
}

BOOL CDC::CreateHitTestDC(int width, int height) {
    CBitmap bitmap;
    if (!bitmap.CreateBitmap(width, height, 1, 1, nullptr)) return FALSE;
    auto surface = bitmap.GetSurface();
    surface->image.fill(Qt::white);
    m_impl->memory = false;
    m_impl->bitmap = nullptr;
    m_impl->surface = surface;
    m_impl->printing = false;
    m_impl->SetBackend(MakeSurfaceBackend(surface));
    return TRUE;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    m_impl->defaultBitmap.DeleteObject();
    if (!m_impl->defaultBitmap.CreateBitmap(1, 1, 1, 1, nullptr)) return FALSE;
    m_impl->memory = true;
    m_impl->printing = false;
    m_impl->bitmap = nullptr;
    m_impl->surface.reset();
    m_impl->backend.reset();
    SelectObject(&m_impl->defaultBitmap);
    return TRUE;
}

void CDC::AttachBackend(std::unique_ptr<GdiBackend> backend, bool printing) {
    m_impl->memory = false;
    m_impl->bitmap = nullptr;
    m_impl->surface.reset();
    m_impl->printing = printing || (backend && backend->IsPrinting());
    m_impl->SetBackend(std::move(backend));
}

GdiBackend* CDC::GetBackend() const {
    return m_impl->backend.get();
}

BOOL CDC::DeleteDC() {
    if (!m_impl->backend && !m_impl->memory) return FALSE;
    m_impl->backend.reset();
    m_impl->surface.reset();
    m_impl->bitmap = nullptr;
    m_impl->memory = false;
    m_impl->printing = false;
    return TRUE;
}

BOOL CDC::HasAttribDC() const {
    return !m_impl->backend || m_impl->backend->HasAttribDC() ? TRUE : FALSE;
}
BOOL CDC::IsPrinting() const {
    return m_impl->printing ? TRUE : FALSE;
}

int CDC::GetDeviceCaps(int index) const {
    if (m_impl->backend) return m_impl->backend->GetDeviceCaps(index);
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return 96;
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case BITSPIXEL:
            return 32;
        case PLANES:
            return 1;
        default:
            return 0;
    }
}

void CDC::Flush() {
    if (m_impl->backend) m_impl->backend->Flush();
}

int CDC::StartDoc(const std::string& name) {
    return m_impl->backend ? m_impl->backend->StartDoc(name) : 0;
}
int CDC::StartPage() {
    return m_impl->backend ? m_impl->backend->StartPage() : 0;
}
int CDC::EndPage() {
    return m_impl->backend ? m_impl->backend->EndPage() : 0;
}
int CDC::EndDoc() {
    return m_impl->backend ? m_impl->backend->EndDoc() : 0;
}
int CDC::AbortDoc() {
    return m_impl->backend ? m_impl->backend->AbortDoc() : 0;
}

// Objects ---------------------------------------------------------------------------------------

CPen* CDC::SelectObject(CPen* pen) {
    if (!pen || !pen->IsValid()) return nullptr;
    CPen* old = m_impl->s.pen;
    m_impl->s.pen = pen;
    m_impl->s.a.pen = pen->GetLogPen();
    return old;
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (!brush || !brush->IsValid()) return nullptr;
    CBrush* old = m_impl->s.brush;
    m_impl->s.brush = brush;
    m_impl->s.a.brush = brush->GetLogBrush();
    return old;
}

CFont* CDC::SelectObject(CFont* font) {
    if (!font || !font->IsValid()) return nullptr;
    CFont* old = m_impl->s.font;
    m_impl->s.font = font;
    m_impl->s.a.font = font->GetLogFont();
    return old;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!m_impl->memory || !bitmap || !bitmap->IsValid()) return nullptr;
    CBitmap* old = m_impl->bitmap;
    if (m_impl->backend) m_impl->backend->Flush();
    m_impl->bitmap = bitmap;
    m_impl->surface = bitmap->GetSurface();
    m_impl->SetBackend(MakeSurfaceBackend(m_impl->surface));
    return old;
}

int CDC::SelectObject(CRgn* region) {
    return SelectClipRgn(region);
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
    if (!object) return nullptr;
    switch (object->GetKind()) {
        case CGdiObject::Kind::Pen:
            return SelectObject(static_cast<CPen*>(object));
        case CGdiObject::Kind::Brush:
            return SelectObject(static_cast<CBrush*>(object));
        case CGdiObject::Kind::Font:
            return SelectObject(static_cast<CFont*>(object));
        case CGdiObject::Kind::Bitmap:
            return SelectObject(static_cast<CBitmap*>(object));
        default:
            return nullptr;
    }
}

CGdiObject* CDC::SelectStockObject(int index) {
    return SelectObject(GetStockObject(index));
}

CPen* CDC::GetCurrentPen() const {
    return m_impl->s.pen;
}
CBrush* CDC::GetCurrentBrush() const {
    return m_impl->s.brush;
}
CFont* CDC::GetCurrentFont() const {
    return m_impl->s.font;
}
CBitmap* CDC::GetCurrentBitmap() const {
    return m_impl->bitmap;
}
const LOGPEN& CDC::GetCurrentLogPen() const {
    return m_impl->s.a.pen;
}
const LOGBRUSH& CDC::GetCurrentLogBrush() const {
    return m_impl->s.a.brush;
}
const LOGFONT& CDC::GetCurrentLogFont() const {
    return m_impl->s.a.font;
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL) {
    CPalette* old = m_impl->s.palette;
    m_impl->s.palette = palette;
    return old;
}

UINT CDC::RealizePalette() {
    return 0;
}

// Modes -----------------------------------------------------------------------------------------

int CDC::SetROP2(int mode) {
    const int old = m_impl->s.a.rop2;
    if (mode >= R2_BLACK && mode <= R2_WHITE) m_impl->s.a.rop2 = mode;
    return old;
}
int CDC::GetROP2() const {
    return m_impl->s.a.rop2;
}

int CDC::SetBkMode(int mode) {
    const int old = m_impl->s.a.bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE) m_impl->s.a.bkMode = mode;
    return old;
}
int CDC::GetBkMode() const {
    return m_impl->s.a.bkMode;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    return std::exchange(m_impl->s.a.bkColor, color);
}
COLORREF CDC::GetBkColor() const {
    return m_impl->s.a.bkColor;
}
COLORREF CDC::SetTextColor(COLORREF color) {
    return std::exchange(m_impl->s.a.textColor, color);
}
COLORREF CDC::GetTextColor() const {
    return m_impl->s.a.textColor;
}
UINT CDC::SetTextAlign(UINT flags) {
    return std::exchange(m_impl->s.a.textAlign, flags);
}
UINT CDC::GetTextAlign() const {
    return m_impl->s.a.textAlign;
}

int CDC::SetPolyFillMode(int mode) {
    const int old = m_impl->s.a.polyFillMode;
    if (mode == ALTERNATE || mode == WINDING) m_impl->s.a.polyFillMode = mode;
    return old;
}
int CDC::GetPolyFillMode() const {
    return m_impl->s.a.polyFillMode;
}

int CDC::SetStretchBltMode(int mode) {
    const int old = m_impl->s.a.stretchMode;
    if (mode >= BLACKONWHITE && mode <= HALFTONE) m_impl->s.a.stretchMode = mode;
    return old;
}
int CDC::GetStretchBltMode() const {
    return m_impl->s.a.stretchMode;
}

CPoint CDC::SetBrushOrg(int x, int y) {
    return std::exchange(m_impl->s.a.brushOrg, CPoint(x, y));
}

// Mapping ---------------------------------------------------------------------------------------

CPoint CDC::SetWindowOrg(int x, int y) {
    return std::exchange(m_impl->s.windowOrg, CPoint(x, y));
}
CPoint CDC::OffsetWindowOrg(int dx, int dy) {
    const CPoint old = m_impl->s.windowOrg;
    m_impl->s.windowOrg = CPoint(Impl::ClampLong(double(old.x) + dx), Impl::ClampLong(double(old.y) + dy));
    return old;
}
CPoint CDC::GetWindowOrg() const {
    return m_impl->s.windowOrg;
}
CPoint CDC::SetViewportOrg(int x, int y) {
    return std::exchange(m_impl->s.viewportOrg, CPoint(x, y));
}
CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    const CPoint old = m_impl->s.viewportOrg;
    m_impl->s.viewportOrg = CPoint(Impl::ClampLong(double(old.x) + dx), Impl::ClampLong(double(old.y) + dy));
    return old;
}
CPoint CDC::GetViewportOrg() const {
    return m_impl->s.viewportOrg;
}

void CDC::LPtoDP(POINT* points, int count) const {
    for (int i = 0; points && i < count; ++i)
        points[i] = m_impl->ToDeviceInt(points[i].x, points[i].y);
}
void CDC::LPtoDP(RECT* rect) const {
    if (!rect) return;
    const CPoint a = m_impl->ToDeviceInt(rect->left, rect->top),
                 b = m_impl->ToDeviceInt(rect->right, rect->bottom);
    *rect = RECT{a.x, a.y, b.x, b.y};
}
void CDC::DPtoLP(POINT* points, int count) const {
    for (int i = 0; points && i < count; ++i)
        points[i] = m_impl->ToLogicalInt(points[i].x, points[i].y);
}
void CDC::DPtoLP(RECT* rect) const {
    if (!rect) return;
    const CPoint a = m_impl->ToLogicalInt(rect->left, rect->top),
                 b = m_impl->ToLogicalInt(rect->right, rect->bottom);
    *rect = RECT{a.x, a.y, b.x, b.y};
}

// State stack -----------------------------------------------------------------------------------

int CDC::SaveDC() {
    m_impl->saved.push_back(m_impl->s);
    return static_cast<int>(m_impl->saved.size());
}

BOOL CDC::RestoreDC(int savedDC) {
    auto& saved = m_impl->saved;
    const int depth = static_cast<int>(saved.size());
    const int level = savedDC < 0 ? depth + 1 + savedDC : savedDC;
    if (level < 1 || level > depth) return FALSE;
    m_impl->s = saved[level - 1];
    saved.resize(level - 1);
    m_impl->ApplyClip();
    return TRUE;
}

// Clipping --------------------------------------------------------------------------------------

int CDC::SelectClipRgn(CRgn* region) {
    return m_impl->SetClipRegion(region, RGN_COPY);
}
int CDC::SelectClipRgn(CRgn* region, int mode) {
    return m_impl->SetClipRegion(region, mode);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    LPtoDP(&r);
    CRgn rgn;
    rgn.CreateRectRgnIndirect(&r);
    return m_impl->SetClipRegion(&rgn, RGN_AND);
}
int CDC::IntersectClipRect(const RECT* rect) {
    return rect ? IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom) : RGN_ERROR;
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    LPtoDP(&r);
    CRgn rgn;
    rgn.CreateRectRgnIndirect(&r);
    return m_impl->SetClipRegion(&rgn, RGN_DIFF);
}

int CDC::GetClipBox(RECT* rect) const {
    if (!rect) return RGN_ERROR;
    CRect box = m_impl->Bounds();
    int kind = box.IsRectEmpty() ? NULLREGION : SIMPLEREGION;
    if (m_impl->s.clip) {
        RECT c;
        kind = m_impl->s.clip->GetRgnBox(&c);
        if (!box.IntersectRect(box, c)) kind = NULLREGION;
    }
    if (kind == NULLREGION) box.SetRectEmpty();
    *rect = box;
    if (kind != NULLREGION) DPtoLP(rect);
    return kind;
}

BOOL CDC::RectVisible(const RECT* rect) const {
    if (!rect) return FALSE;
    CRect r(*rect);
    r.NormalizeRect();
    LPtoDP(&r);
    CRect visible;
    if (!visible.IntersectRect(r, m_impl->Bounds())) return FALSE;
    return !m_impl->s.clip || m_impl->s.clip->RectInRegion(&visible) ? TRUE : FALSE;
}

BOOL CDC::PtVisible(int x, int y) const {
    const CPoint p = m_impl->ToDeviceInt(x, y);
    if (!m_impl->Bounds().PtInRect(p)) return FALSE;
    return !m_impl->s.clip || m_impl->s.clip->PtInRegion(p.x, p.y) ? TRUE : FALSE;
}

// Lines and figures -----------------------------------------------------------------------------

CPoint CDC::MoveTo(int x, int y) {
    return std::exchange(m_impl->s.position, CPoint(x, y));
}

BOOL CDC::LineTo(int x, int y) {
    const POINT pts[2] = {m_impl->s.position, POINT{x, y}};
    m_impl->s.position = CPoint(x, y);
    return Polyline(pts, 2);
}

CPoint CDC::GetCurrentPosition() const {
    return m_impl->s.position;
}

BOOL CDC::Polyline(const POINT* points, int count) {
    if (!points || count < 2) return FALSE;
    return PolyPolyline(points, &count, 1);
}

BOOL CDC::PolyPolyline(const POINT* points, const DWORD* counts, int polylineCount) {
    if (!points || !counts || polylineCount <= 0) return FALSE;
    std::vector<int> c(polylineCount);
    for (int i = 0; i < polylineCount; ++i) {
        if (counts[i] > static_cast<DWORD>(std::numeric_limits<int>::max())) return FALSE;
        c[i] = static_cast<int>(counts[i]);
    }
    return PolyPolyline(points, c.data(), polylineCount);
}

BOOL CDC::PolyPolyline(const POINT* points, const int* counts, int polylineCount) {
    if (!points || !counts || polylineCount <= 0) return FALSE;
    for (int i = 0; i < polylineCount; ++i)
        if (counts[i] < 2) return FALSE;
    Guard g;
    if (!m_impl->CanDraw() || m_impl->s.a.pen.lopnStyle == PS_NULL ||
        !m_impl->MakeGuard(g, m_impl->s.a.pen.lopnWidth.x))
        return TRUE;
    std::vector<GdiPointF>& device = m_impl->device;
    std::vector<GdiPointF>& clipped = m_impl->clipped;
    std::vector<int>& counts2 = m_impl->clippedCounts;
    clipped.clear();
    counts2.clear();
    int k = 0;
    for (int i = 0; i < polylineCount; ++i) {
        device.resize(counts[i]);
        for (int j = 0; j < counts[i]; ++j)
            device[j] = m_impl->ToDevice(points[k + j]);
        m_impl->AddRun(device.data(), counts[i], g, clipped, counts2);
        k += counts[i];
    }
    if (!counts2.empty())
        m_impl->backend->Polylines(clipped.data(), counts2.data(), static_cast<int>(counts2.size()),
                                   m_impl->s.a);
    return TRUE;
}

BOOL CDC::PolyBezier(const POINT* points, int count) {
    if (!points || count < 4 || (count - 1) % 3 != 0) return FALSE;
    Guard g;
    if (!m_impl->CanDraw() || m_impl->s.a.pen.lopnStyle == PS_NULL ||
        !m_impl->MakeGuard(g, m_impl->s.a.pen.lopnWidth.x))
        return TRUE;
    std::vector<GdiPointF>& device = m_impl->device;
    device.resize(count);
    // A curve stays within its control points: inside the guard it needs no cutting.
    if (m_impl->ToDevice(points, count, device.data(), g) && m_impl->backend->TakesCurves()) {
        m_impl->backend->Beziers(device.data(), count, m_impl->s.a);
        return TRUE;
    }
    std::vector<GdiPointF> flat;
    FlattenBeziers(device.data(), count, flat);
    std::vector<GdiPointF>& clipped = m_impl->clipped;
    std::vector<int>& counts = m_impl->clippedCounts;
    clipped.clear();
    counts.clear();
    m_impl->AddRun(flat.data(), static_cast<int>(flat.size()), g, clipped, counts);
    if (!counts.empty())
        m_impl->backend->Polylines(clipped.data(), counts.data(), static_cast<int>(counts.size()),
                                   m_impl->s.a);
    return TRUE;
}

BOOL CDC::TakesCurves() const {
    return m_impl->backend && m_impl->backend->TakesCurves() ? TRUE : FALSE;
}

BOOL CDC::Polygon(const POINT* points, int count) {
    if (!points || count < 2) return FALSE;
    return PolyPolygon(points, &count, 1);
}

BOOL CDC::PolyPolygon(const POINT* points, const int* counts, int polygonCount) {
    if (!points || !counts || polygonCount <= 0) return FALSE;
    for (int i = 0; i < polygonCount; ++i)
        if (counts[i] < 2) return FALSE;
    Guard g;
    if (!m_impl->CanDraw() || !m_impl->MakeGuard(g, m_impl->s.a.pen.lopnWidth.x)) return TRUE;
    std::vector<GdiPointF>& device = m_impl->device;
    int total = 0;
    for (int i = 0; i < polygonCount; ++i)
        total += counts[i];
    if (device.size() < std::size_t(total)) device.resize(total);
    const bool allInside = m_impl->ToDevice(points, total, device.data(), g);
    if (allInside || (m_impl->backend->TakesLongPolygons(m_impl->s.a) && Unclamped(device.data(), total))) {
        m_impl->backend->Polygons(device.data(), counts, polygonCount, m_impl->s.a);
        return TRUE;
    }
    // Fill and outline are cut separately: the cut outline must not run along the guard. The
    // fill covers the pixels whose own coordinates lie inside, so in corner coordinates its
    // rings move by half a pixel.
    GdiFigure f;
    int k = 0;
    std::vector<GdiPointF> ring;
    for (int i = 0; i < polygonCount; ++i) {
        ring.clear();
        for (int j = 0; j < counts[i]; ++j)
            ring.push_back(GdiPointF{device[k + j].x + 0.5, device[k + j].y + 0.5});
        ClipRing(ring.data(), counts[i], g, f.fill, f.fillCounts);
        ring.assign(device.begin() + k, device.begin() + k + counts[i]);
        ring.push_back(device[k]);
        m_impl->AddRun(ring.data(), static_cast<int>(ring.size()), g, f.lines, f.lineCounts);
        k += counts[i];
    }
    m_impl->DrawFigure(f);
    return TRUE;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
    Guard g;
    if (!m_impl->CanDraw() || !m_impl->MakeGuard(g, m_impl->s.a.pen.lopnWidth.x)) return TRUE;
    GdiPointF a = m_impl->ToDevice(POINT{left, top}), b = m_impl->ToDevice(POINT{right, bottom});
    DRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    if (r.r - r.l < 1 || r.b - r.t < 1) return TRUE;
    const bool pen = m_impl->s.a.pen.lopnStyle != PS_NULL;
    GdiFigure f;
    // The frame lies inside the rectangle; the fill covers what is within it. Without a pen
    // the fill loses its right column and bottom row, as GDI's does.
    const DRect in = pen ? DRect{r.l + 1, r.t + 1, r.r - 1, r.b - 1} : DRect{r.l, r.t, r.r - 1, r.b - 1};
    if (in.r > in.l && in.b > in.t) {
        const GdiPointF ring[4] = {{in.l, in.t}, {in.r, in.t}, {in.r, in.b}, {in.l, in.b}};
        ClipRing(ring, 4, g, f.fill, f.fillCounts);
    }
    if (pen) {
        const GdiPointF frame[5] = {
            {r.l, r.t}, {r.r - 1, r.t}, {r.r - 1, r.b - 1}, {r.l, r.b - 1}, {r.l, r.t}};
        if (r.r - r.l == 1 || r.b - r.t == 1) {
            // A one-pixel-wide frame is a line; the closing point would be left out.
            const GdiPointF line[2] = {{r.l, r.t}, {r.r - 1 + (r.b - r.t == 1), r.b - 1 + (r.r - r.l == 1)}};
            m_impl->AddRun(line, 2, g, f.lines, f.lineCounts);
        } else {
            m_impl->AddRun(frame, 5, g, f.lines, f.lineCounts);
        }
    }
    m_impl->DrawFigure(f);
    return TRUE;
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom) {
    return m_impl->EllipseFigure(ArcKind::Full, left, top, right, bottom, 0, 0, 0, 0);
}
BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return m_impl->EllipseFigure(ArcKind::Arc, x1, y1, x2, y2, x3, y3, x4, y4);
}
BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return m_impl->EllipseFigure(ArcKind::Pie, x1, y1, x2, y2, x3, y3, x4, y4);
}
BOOL CDC::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    return m_impl->EllipseFigure(ArcKind::Chord, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Impl::EllipseFigure(ArcKind kind, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Impl& impl = *this;
    Guard g;
    if (!impl.CanDraw() || !impl.MakeGuard(g, impl.s.a.pen.lopnWidth.x)) return TRUE;
    const GdiPointF a = impl.ToDevice(POINT{x1, y1}), b = impl.ToDevice(POINT{x2, y2});
    const DRect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    if (r.r - r.l < 1 || r.b - r.t < 1) return TRUE;
    const bool pen = impl.s.a.pen.lopnStyle != PS_NULL;
    // The outline runs through the pixel centres of the rectangle's outer pixels.
    EllipseGeom e{(r.l + r.r - 1) / 2, (r.t + r.b - 1) / 2, (r.r - r.l - 1) / 2, (r.b - r.t - 1) / 2};
    double t0 = 0.0, t1 = 2 * kPi;
    if (kind != ArcKind::Full) {
        const GdiPointF s = impl.ToDevice(POINT{x3, y3}), t = impl.ToDevice(POINT{x4, y4});
        t0 = e.ParamTowards(s.x, s.y);
        t1 = e.ParamTowards(t.x, t.y);
        while (t1 <= t0)
            t1 += 2 * kPi;
    }
    std::vector<GdiPointF> outline;
    AppendArc(e, t0, t1, g, outline);
    const GdiPointF centre{e.cx, e.cy};
    GdiFigure f;
    if (kind != ArcKind::Arc) {
        // Fill: the same figure in corner coordinates, so that it covers the pixels within the
        // outline; without a pen the figure is one pixel smaller, as in GDI.
        std::vector<GdiPointF> area = outline;
        if (kind == ArcKind::Pie) area.push_back(centre);
        const double shift = pen ? 0.5 : 0.0;
        for (GdiPointF& p : area)
            p.x += shift, p.y += shift;
        if (!pen) {
            const EllipseGeom small{(r.l + r.r - 1) / 2, (r.t + r.b - 1) / 2, (r.r - r.l - 1) / 2,
                                    (r.b - r.t - 1) / 2};
            area.clear();
            AppendArc(small, t0, t1, g, area);
            if (kind == ArcKind::Pie) area.push_back(GdiPointF{small.cx, small.cy});
        }
        ClipRing(area.data(), static_cast<int>(area.size()), g, f.fill, f.fillCounts);
    }
    if (pen) {
        if (kind == ArcKind::Pie) outline.push_back(centre);
        if (kind != ArcKind::Arc) outline.push_back(outline.front());
        ClipRun(outline.data(), static_cast<int>(outline.size()), g, f.lines, f.lineCounts);
    }
    impl.DrawFigure(f);
    return TRUE;
}

// Rectangles and pixels -------------------------------------------------------------------------

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
    if (!m_impl->CanDraw()) return TRUE;
    const CPoint a = m_impl->ToDeviceInt(x, y);
    CRect r(a.x, a.y, Impl::ClampLong(double(a.x) + width), Impl::ClampLong(double(a.y) + height));
    r.NormalizeRect();
    CRect visible;
    if (!visible.IntersectRect(r, m_impl->Bounds())) return TRUE;
    m_impl->backend->PatBlt(visible, rop, m_impl->s.a);
    return TRUE;
}

void CDC::FillRect(const RECT* rect, CBrush* brush) {
    if (!rect || !brush || !brush->IsValid() || !m_impl->CanDraw()) return;
    CRect r(*rect);
    LPtoDP(&r);
    CRect visible;
    if (r.IsRectEmpty() || !visible.IntersectRect(r, m_impl->Bounds())) return;
    GdiAttributes a = m_impl->s.a;
    a.brush = brush->GetLogBrush();
    m_impl->backend->PatBlt(visible, PATCOPY, a);
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
    CBrush brush(color);
    FillRect(rect, &brush);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const RECT r{x, y, x + cx, y + cy};
    FillSolidRect(&r, color);
}

void CDC::FrameRect(const RECT* rect, CBrush* brush) {
    if (!rect) return;
    const CRect r(*rect);
    if (r.IsRectEmpty()) return;
    const RECT sides[4] = {{r.left, r.top, r.right, r.top + 1},
                           {r.left, r.bottom - 1, r.right, r.bottom},
                           {r.left, r.top, r.left + 1, r.bottom},
                           {r.right - 1, r.top, r.right, r.bottom}};
    for (const RECT& s : sides)
        FillRect(&s, brush);
}

void CDC::InvertRect(const RECT* rect) {
    if (!rect) return;
    const CRect r(*rect);
    PatBlt(r.left, r.top, r.Width(), r.Height(), DSTINVERT);
}

void CDC::DrawFocusRect(const RECT* rect) {
    if (!rect) return;
    CRect r(*rect);
    r.NormalizeRect();
    if (r.IsRectEmpty()) return;
    // Every other pixel of the frame inverted; drawing it twice removes it.
    auto flip = [this](int x, int y) {
        const COLORREF c = GetPixel(x, y);
        if (c != 0xFFFFFFFF) SetPixel(x, y, ~c & 0xFFFFFF);
    };
    for (int x = r.left; x < r.right; ++x) {
        if ((x - r.left) % 2 == 0) flip(x, r.top);
        if (r.bottom - 1 > r.top && (x - r.left + r.Height() - 1) % 2 == 0) flip(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        if ((y - r.top) % 2 == 0) flip(r.left, y);
        if (r.right - 1 > r.left && (y - r.top + r.Width() - 1) % 2 == 0) flip(r.right - 1, y);
    }
}

COLORREF CDC::GetPixel(int x, int y) const {
    if (!m_impl->backend) return 0xFFFFFFFF;
    const CPoint p = m_impl->ToDeviceInt(x, y);
    return m_impl->backend->GetPixel(p.x, p.y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    if (!m_impl->backend) return 0xFFFFFFFF;
    const CPoint p = m_impl->ToDeviceInt(x, y);
    return m_impl->backend->SetPixel(p.x, p.y, color);
}

// Bitmaps ---------------------------------------------------------------------------------------

int CDC::StretchDIBits(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                       const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (!bits || !info || usage != DIB_RGB_COLORS) return 0;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int bpp = h.biBitCount;
    const bool depthOk = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    const bool compressionOk =
        h.biCompression == BI_RGB || (h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32));
    if (h.biSize < 40 || h.biPlanes != 1 || !depthOk || !compressionOk || h.biWidth <= 0 || h.biHeight == 0 ||
        h.biHeight == std::numeric_limits<LONG>::min())
        return 0;
    if (bpp <= 8 && h.biClrUsed > (1u << bpp)) return 0;
    const LONG height = std::abs(h.biHeight);
    // The source rectangle must meet the bitmap; GDI copies nothing otherwise.
    const LONG sl = std::min(xSrc, xSrc + wSrc), sr = std::max(xSrc, xSrc + wSrc);
    const LONG st = std::min(ySrc, ySrc + hSrc), sb = std::max(ySrc, ySrc + hSrc);
    if (wSrc == 0 || hSrc == 0 || wDst == 0 || hDst == 0 || sr <= 0 || sl >= h.biWidth || sb <= 0 ||
        st >= height)
        return 0;
    if (!m_impl->CanDraw()) return std::abs(hSrc);
    const CPoint d = m_impl->ToDeviceInt(xDst, yDst);
    m_impl->backend->StretchDib(d.x, d.y, wDst, hDst, xSrc, ySrc, wSrc, hSrc, info, bits, rop, m_impl->s.a);
    return std::abs(hSrc);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop) {
    if (rop == BLACKNESS || rop == WHITENESS || rop == DSTINVERT || rop == PATCOPY || rop == PATINVERT)
        return PatBlt(x, y, width, height, rop);
    if (!src || !src->m_impl->surface) return FALSE;
    if (!m_impl->CanDraw()) return TRUE;
    src->Flush();
    const CPoint d = m_impl->ToDeviceInt(x, y);
    CRect r(d.x, d.y, Impl::ClampLong(double(d.x) + width), Impl::ClampLong(double(d.y) + height));
    r.NormalizeRect();
    const CPoint s = src->m_impl->ToDeviceInt(xSrc, ySrc);
    m_impl->backend->BitBlt(r, *src->m_impl->surface, s, src->GetBkColor(), rop, m_impl->s.a);
    return TRUE;
}

// Text ------------------------------------------------------------------------------------------

BOOL CDC::TextOut(int x, int y, const std::string& text) {
    return ExtTextOut(x, y, 0, nullptr, text);
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, const RECT* rect, const std::string& text) {
    if (!m_impl->CanDraw()) return TRUE;
    POINT ref{x, y};
    const bool updateCp = (m_impl->s.a.textAlign & TA_UPDATECP) != 0;
    if (updateCp) ref = m_impl->s.position;
    const GdiPointF p = m_impl->ToDevice(ref);
    RECT deviceRect{};
    if (rect) {
        deviceRect = *rect;
        LPtoDP(&deviceRect);
    }
    if (!text.empty() || (rect && (options & ETO_OPAQUE)))
        m_impl->backend->TextOut(p.x, p.y, options, rect ? &deviceRect : nullptr, text, m_impl->s.a);
    if (updateCp) m_impl->s.position.x += GetTextExtent(text).cx;
    return TRUE;
}

CSize CDC::GetTextExtent(const std::string& text) const {
    const LOGFONT& font = m_impl->s.a.font;
    const int width = m_impl->backend ? m_impl->backend->MeasureText(font, text, nullptr)
                                      : MeasureTextWidth(font, text, nullptr);
    TEXTMETRIC tm;
    GetTextMetrics(&tm);
    return CSize(width, tm.tmHeight);
}

CSize CDC::MeasureTextExtent(const LOGFONT& font, const std::string& text) {
    return CSize(MeasureTextWidth(font, text, nullptr), MeasureTextMetrics(font).tmHeight);
}

BOOL CDC::GetTextExtentPoint32(const std::string& text, SIZE* size) const {
    if (!size) return FALSE;
    *size = GetTextExtent(text);
    return TRUE;
}

BOOL CDC::GetTextExtentExPoint(const std::string& text, int maxExtent, int* fit, SIZE* size) const {
    const LOGFONT& font = m_impl->s.a.font;
    std::vector<int> extents;
    const int width = m_impl->backend ? m_impl->backend->MeasureText(font, text, &extents)
                                      : MeasureTextWidth(font, text, &extents);
    if (fit) {
        int n = 0;
        while (n < static_cast<int>(extents.size()) && extents[n] <= maxExtent)
            ++n;
        *fit = n;
    }
    if (size) {
        TEXTMETRIC tm;
        GetTextMetrics(&tm);
        *size = SIZE{width, tm.tmHeight};
    }
    return TRUE;
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const {
    if (!metrics) return FALSE;
    const LOGFONT& font = m_impl->s.a.font;
    *metrics = m_impl->backend ? m_impl->backend->GetTextMetrics(font) : MeasureTextMetrics(font);
    return TRUE;
}

int CDC::DrawText(const std::string& text, RECT* rect, UINT format) {
    if (!rect) return 0;
    // Lines: a single line drops its line breaks; otherwise CR LF, LF and CR each end a line.
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (format & DT_SINGLELINE) continue;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
            continue;
        }
        if (c == '&' && !(format & DT_NOPREFIX)) {
            // "&&" shows one ampersand; a single one only marks the next character.
            if (i + 1 < text.size() && text[i + 1] == '&') lines.back() += '&', ++i;
            continue;
        }
        lines.back() += c;
    }
    TEXTMETRIC tm;
    GetTextMetrics(&tm);
    const int lineHeight = tm.tmHeight;
    int widest = 0;
    std::vector<int> widths;
    for (const std::string& line : lines) {
        widths.push_back(GetTextExtent(line).cx);
        widest = std::max(widest, widths.back());
    }
    const int height = lineHeight * static_cast<int>(lines.size());
    CRect r(*rect);
    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    int y = r.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER)
            y = r.top + (r.Height() - lineHeight) / 2;
        else if (format & DT_BOTTOM)
            y = r.bottom - lineHeight;
    }
    const int saved = SaveDC();
    if (!(format & DT_NOCLIP)) IntersectClipRect(&r);
    SetTextAlign(TA_LEFT | TA_TOP);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int x = r.left;
        if (format & DT_CENTER)
            x = r.left + (r.Width() - widths[i]) / 2;
        else if (format & DT_RIGHT)
            x = r.right - widths[i];
        if (!lines[i].empty()) ExtTextOut(x, y, 0, nullptr, lines[i]);
        y += lineHeight;
    }
    RestoreDC(saved);
    return height;
}

// Qt side ---------------------------------------------------------------------------------------

QImage* GetDCImage(CDC& dc) {
    return BackendImage(dc.GetBackend());
}

BOOL AttachImage(CDC& dc, QImage* image) {
    if (!image || image->isNull()) return FALSE;
    const QImage::Format f = image->format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        return FALSE;
    dc.AttachBackend(MakeImageBackend(image));
    return TRUE;
}

BOOL AttachPrinter(CDC& dc, QPrinter* printer) {
    auto backend = MakePrinterBackend(printer);
    if (!backend) return FALSE;
    dc.AttachBackend(std::move(backend), true);
    return TRUE;
}
