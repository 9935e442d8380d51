#include "platform/gdi/ControlDrawing.h"

#include <QImage>

#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

}  // namespace

void Draw3dRect(CDC* dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    const CRect r(rect);
    if (!dc || r.Width() <= 0 || r.Height() <= 0) return;
    dc->FillSolidRect(r.left, r.top, r.Width() - 1, 1, topLeft);
    dc->FillSolidRect(r.left, r.top, 1, r.Height() - 1, topLeft);
    dc->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
    dc->FillSolidRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
}

BOOL DrawFrameControl(CDC* dc, RECT* rect, UINT type, UINT state) {
    if (!dc || !rect || type != DFC_BUTTON || (state & 0xFF) != DFCS_BUTTONPUSH) return FALSE;
    CRect r(*rect);
    dc->FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
    if (r.Width() >= 2 && r.Height() >= 2) {
        if (state & DFCS_PUSHED) {
            Draw3dRect(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
            r.DeflateRect(1, 1);
            Draw3dRect(dc, r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
        } else {
            Draw3dRect(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW));
            r.DeflateRect(1, 1);
            Draw3dRect(dc, r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW));
        }
    }
    if (state & DFCS_ADJUSTRECT) {
        CRect inner(*rect);
        inner.DeflateRect(2, 2);
        *rect = inner;
    }
    return TRUE;
}

BOOL DrawState(CDC* dc, const CRect& rect, const DrawStateProc& draw, UINT flags) {
    if (!dc || !draw) return FALSE;
    if (!(flags & (DSS_DISABLED | DSS_UNION))) {
        draw(*dc, rect);
        return TRUE;
    }
    const int w = rect.Width(), h = rect.Height();
    if (w <= 0 || h <= 0) return TRUE;
    // The picture on white: what is not white is ink.
    CDC picture;
    if (!picture.CreateImageDC(w, h)) return FALSE;
    draw(picture, CRect(0, 0, w, h));
    QImage* drawn = GetDCImage(picture);
    if (!drawn) return FALSE;
    const QImage source = drawn->convertToFormat(QImage::Format_RGB32);
    auto ink = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && (source.pixel(x, y) | kBlack) != kWhite;
    };
    // What goes on the target (black elsewhere) and the mask (black where it goes).
    CDC colours, mask;
    if (!colours.CreateImageDC(w, h) || !mask.CreateImageDC(w, h)) return FALSE;
    QImage* out = GetDCImage(colours);
    QImage* keep = GetDCImage(mask);
    const QRgb highlight = ToQColor(GetSysColor(COLOR_BTNHIGHLIGHT)).rgb();
    const QRgb shadow = ToQColor(GetSysColor(COLOR_BTNSHADOW)).rgb();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            QRgb c = 0;
            bool put = false;
            if (flags & DSS_DISABLED) {
                put = ink(x, y) || ink(x - 1, y - 1);
                c = ink(x, y) ? shadow : highlight;
            } else {
                put = ink(x, y) && (x + y) % 2 == 0;
                c = source.pixel(x, y);
            }
            out->setPixel(x, y, put ? (c | kBlack) : kBlack);
            keep->setPixel(x, y, put ? kBlack : kWhite);
        }
    }
    dc->BitBlt(rect.left, rect.top, w, h, &mask, 0, 0, SRCAND);
    dc->BitBlt(rect.left, rect.top, w, h, &colours, 0, 0, SRCPAINT);
    return TRUE;
}
