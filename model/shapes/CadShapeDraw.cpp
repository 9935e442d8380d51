// Drawing, invalidation and the pixel hit tests of the shape base class, and the shared drawing
// helpers (black-and-white mapping, arrow heads and samples).
#include <cmath>
#include <cstdlib>

#include "model/CadView.h"
#include "model/geometry/Geometry.h"
#include "model/render/PolyFace.h"
#include "model/render/PolyLine.h"
#include "model/shapes/CadShape.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"

void MCadShape::Render(MCadView*, CDC*, MDrawMode) {}

void MCadShape::DrawIfVisible(MCadView* view, CDC* dc) {
    if (dc && dc->HasAttribDC()) {
        CRect r = view->DocToLogicalRect(GetDrawExtent());
        r.NormalizeRect();
        r.InflateRect(2, 2);
        if (!dc->RectVisible(&r)) return;
    }
    Draw(view, dc);
}

void MCadShape::Invalidate(MCadView* view, BOOL erase) {
    if (!view) return;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    CRect r = view->DocToDeviceRect(dc.get(), GetDrawExtent());
    r.NormalizeRect();
    r.InflateRect(2, 2);
    view->InvalidateRect(&r, erase);
}

namespace {

// The extent in logical pixels, grown by one pixel, meets the tested rectangle.
bool ExtentMeets(MCadView* view, const MFloatRect& extent, const CRect& rect) {
    CRect r = view->DocToLogicalRect(extent);
    r.NormalizeRect();
    r.InflateRect(1, 1);
    CRect overlap;
    return overlap.IntersectRect(r, rect) != FALSE;
}

}  // namespace

BOOL MCadShape::RenderHitTest(MCadView* view, const CRect& logicalRect) {
    const int width = logicalRect.Width(), height = logicalRect.Height();
    if (width <= 0 || height <= 0) return FALSE;
    CDC dc;
    if (!dc.CreateHitTestDC(width, height)) return FALSE;
    dc.SetWindowOrg(logicalRect.left, logicalRect.top);
    dc.PatBlt(logicalRect.left, logicalRect.top, width, height, WHITENESS);
    Render(view, &dc, MDrawMode::kHighlight);
    dc.Flush();
    for (int x = logicalRect.left; x < logicalRect.right; ++x)
        for (int y = logicalRect.top; y < logicalRect.bottom; ++y)
            if (dc.GetPixel(x, y) == 0) return TRUE;
    return FALSE;
}

BOOL MCadShape::HitTestPixel(MCadView* view, const CPoint& point, int tolerance) {
    if (!view) return FALSE;
    CPoint logical = point;
    if (std::unique_ptr<CDC> dc = view->GetPreparedClientDC()) dc->DPtoLP(&logical);
    const CRect square(logical.x - tolerance, logical.y - tolerance, logical.x + tolerance,
                       logical.y + tolerance);
    if (!ExtentMeets(view, m_extent, square)) return FALSE;
    return RenderHitTest(view, square);
}

BOOL MCadShape::IntersectsDeviceRectPixel(MCadView* view, const CRect& rect) {
    if (!view) return FALSE;
    CRect r = rect;
    r.NormalizeRect();
    if (!ExtentMeets(view, m_extent, r)) return FALSE;
    return RenderHitTest(view, r);
}

BOOL MCadShape::IntersectsRectPixel(MCadView* view, const CRect& rect, const MFloatRect& area) {
    if (!view || !m_extent.Overlaps(area)) return FALSE;
    CRect r = rect;
    r.NormalizeRect();
    return RenderHitTest(view, r);
}

// ---- black-and-white output --------------------------------------------------------------------

namespace {

bool MonoOutput(CDC* dc) {
    return dc && dc->IsPrinting() && PrintBlackWhite();
}

}  // namespace

COLORREF MapColorForMono(CDC* dc, COLORREF color) {
    if (!MonoOutput(dc) || color == kNoColor) return color;
    return color == 0xFFFFFF ? 0xFFFFFF : 0;
}

COLORREF MapTextColorForMono(CDC* dc, COLORREF color) {
    return MapColorForMono(dc, color);
}

void MapFillForMono(MFillStyle& out, CDC* dc, const MFillStyle& fill) {
    if (!MonoOutput(dc) || fill.IsNone()) {
        out = fill;
        return;
    }
    bool allWhite = true;
    for (int i = 0; i < fill.GetColorCount(); ++i)
        if (fill.GetColor(i) != 0xFFFFFF) allWhite = false;
    out = MFillStyle(allWhite ? COLORREF(0xFFFFFF) : COLORREF(0));
}

// ---- arrow heads --------------------------------------------------------------------------------

void DrawArrowHead(const MCadShape* shape, MCadView* view, CDC* dc, const MFloatPoint& tip, double angle,
                   int style, double size) {
    if (!shape || !view || !dc || style < kArrowOpen || style > kArrowFilledCircle) return;
    const double length = view->PaperToDocLength(size);
    double width = shape->GetLineWidth();
    if (!(width > 0.0)) width = 0.0;
    MPolyLine& lines = GetPolyLineRenderer();
    auto polar = [](double a) { return MFloatPoint(std::cos(a), std::sin(a)); };
    auto fill = [&](const MFloatPoint* points, int count) {
        CBrush brush(MapColorForMono(dc, shape->GetColor()));
        CSelectScope selectBrush(dc, &brush);
        GetPolyFaceRenderer().Draw(view, dc, points, count);
    };
    switch (style) {
        case kArrowOpen:
        case kArrowFilled: {
            // The second wing is measured from the first, as the exports do.
            const double a1 = angle - 0.2617993877991494;
            const double a2 = a1 + 0.5235987755982988;
            const MFloatPoint v[3] = {tip + polar(a1) * length, tip, tip + polar(a2) * length};
            lines.Draw(view, dc, v, 3, width, 0, style == kArrowFilled);
            if (style == kArrowFilled) fill(v, 3);
            break;
        }
        case kArrowSlash:
        case kArrowCross: {
            const int strokes = style == kArrowCross ? 2 : 1;
            for (int i = 0; i < strokes; ++i) {
                const MFloatPoint d = polar(angle + kPi / 4 + i * kPi / 2) * (length / 2);
                const MFloatPoint v[2] = {tip + d, tip - d};
                lines.Draw(view, dc, v, 2, width, shape->GetLineStyle(), FALSE);
            }
            break;
        }
        default: {
            MFloatPoint v[48];
            for (int i = 0; i < 48; ++i)
                v[i] = tip + polar(i * 7.5 * kPi / 180) * (length / 2);
            lines.Draw(view, dc, v, 48, width, 0, TRUE);
            if (style == kArrowFilledCircle) fill(v, 48);
            break;
        }
    }
}

// ---- arrow samples -----------------------------------------------------------------------------

void DrawArrowSample(CDC* dc, int style, int x, int y, int length, int d) {
    if (!dc || style < 0 || style > 6) return;
    int head, lineEnd, base;
    if (length >= 1) {
        head = x + d / 2;
        lineEnd = x + d / 2 + length - d;
        base = head + d;
    } else {
        head = x - length - d / 2;
        lineEnd = x + d - d / 2;
        base = head - d;
    }
    const int t = d / 3;
    const int slant = std::abs(d) / 3;

    // Drawn with the caller's pen and brush: the pickers draw disabled samples in grey.
    auto line = [&] {
        dc->MoveTo(head, y);
        dc->LineTo(lineEnd, y);
    };
    switch (style) {
        case 0:
            line();
            break;
        case 1: {
            line();
            const POINT v[3] = {{base, y - t}, {head, y}, {base, y + t}};
            dc->Polyline(v, 3);
            break;
        }
        case 2: {
            line();
            const POINT v[3] = {{base, y - t}, {head, y}, {base, y + t}};
            dc->Polygon(v, 3);
            break;
        }
        case 3:
            dc->MoveTo(head + slant, y - t);
            dc->LineTo(head - slant, y + t);
            line();
            break;
        case 4:
            dc->MoveTo(head + slant, y - t);
            dc->LineTo(head - slant, y + t);
            dc->MoveTo(head - slant, y - t);
            dc->LineTo(head + slant, y + t);
            line();
            break;
        case 5: {
            line();
            CSelectScope selectBrush(dc, NULL_BRUSH);
            dc->Ellipse(head - t, y - t, head + t, y + t);
            break;
        }
        case 6:
            line();
            dc->Ellipse(head - t, y - t, head + t, y + t);
            break;
    }
}
