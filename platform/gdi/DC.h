// A device context with the semantics of GDI in text mapping mode (one logical unit is one
// device pixel; window and viewport origins shift): selected objects, raster operations,
// clipping, a save stack, primitives and text. Coordinates are clamped and primitives clipped
// before they reach the back end, so deep zoom never overflows nor produces huge work.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/GdiBackend.h"
#include "platform/gdi/GdiObjects.h"

class CDC {
public:
    // A context without a target: it draws nothing and reports a 96-dpi screen.
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Targets. Each returns FALSE and keeps the old target on bad arguments.
    // An off-screen colour image (32 bits per pixel, 96 dpi), filled white.
    BOOL CreateImageDC(int width, int height);
    // A monochrome image for pixel hit tests (antialiasing always off), filled white.
    BOOL CreateHitTestDC(int width, int height);
    // A memory context: draws on the bitmap selected into it (initially a 1 x 1 monochrome one).
    BOOL CreateCompatibleDC(CDC* dc);
    // Any other back end (printer, metafile recorder, a window's surface).
    void AttachBackend(std::unique_ptr<GdiBackend> backend, bool printing = false);
    GdiBackend* GetBackend() const;
    BOOL DeleteDC();

    // The attribute context of the class library: present on every context with a target.
    BOOL HasAttribDC() const;
    BOOL IsPrinting() const;
    int GetDeviceCaps(int index) const;
    // Pending drawing reaches the target's pixels.
    void Flush();
    // Printing jobs (other targets accept them); each returns <= 0 on failure.
    int StartDoc(const std::string& name);
    int StartPage();
    int EndPage();
    int EndDoc();
    int AbortDoc();

    // Objects. Each returns the previously selected object of its kind (nullptr on failure).
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    CFont* SelectObject(CFont* font);
    // Memory contexts only.
    CBitmap* SelectObject(CBitmap* bitmap);
    // The same as SelectClipRgn(region); returns the region kind.
    int SelectObject(CRgn* region);
    CGdiObject* SelectObject(CGdiObject* object);
    CGdiObject* SelectStockObject(int index);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;
    const LOGPEN& GetCurrentLogPen() const;
    const LOGBRUSH& GetCurrentLogBrush() const;
    const LOGFONT& GetCurrentLogFont() const;
    // Palettes keep their colour table only; realising maps nothing.
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette();

    // Modes. Each setter returns the previous value.
    int SetROP2(int mode);
    int GetROP2() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    UINT SetTextAlign(UINT flags);
    UINT GetTextAlign() const;
    int SetPolyFillMode(int mode);
    int GetPolyFillMode() const;
    int SetStretchBltMode(int mode);
    int GetStretchBltMode() const;
    CPoint SetBrushOrg(int x, int y);

    // Mapping: device = logical - window origin + viewport origin.
    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(const POINT& p) { return SetWindowOrg(p.x, p.y); }
    CPoint OffsetWindowOrg(int dx, int dy);
    CPoint GetWindowOrg() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(const POINT& p) { return SetViewportOrg(p.x, p.y); }
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint GetViewportOrg() const;
    void LPtoDP(POINT* points, int count = 1) const;
    void LPtoDP(RECT* rect) const;
    void DPtoLP(POINT* points, int count = 1) const;
    void DPtoLP(RECT* rect) const;

    // State stack. SaveDC returns the new depth; RestoreDC(-1) pops one level, a positive
    // level restores that saved state and drops the ones above it.
    int SaveDC();
    BOOL RestoreDC(int savedDC);

    // Clipping. The region is in device coordinates; nullptr with RGN_COPY removes the clip.
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const RECT* rect);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    // The clip (or the drawable area) in logical coordinates; returns the region kind.
    int GetClipBox(RECT* rect) const;
    BOOL RectVisible(const RECT* rect) const;
    BOOL PtVisible(int x, int y) const;

    // Lines and figures, in logical coordinates.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(const POINT& p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(const POINT& p) { return LineTo(p.x, p.y); }
    CPoint GetCurrentPosition() const;
    BOOL Polyline(const POINT* points, int count);
    BOOL PolyPolyline(const POINT* points, const DWORD* counts, int polylineCount);
    BOOL PolyPolyline(const POINT* points, const int* counts, int polylineCount);
    // Cubic Bezier pieces with the pen: the start, then two controls and an end per piece (1 + 3n
    // points). Printers take them as curves; other targets get the curve as a polyline.
    BOOL PolyBezier(const POINT* points, int count);
    // Whether PolyBezier reaches the target as curves.
    BOOL TakesCurves() const;
    BOOL Polygon(const POINT* points, int count);
    // All polygons form one figure (overlaps are decided by the fill mode).
    BOOL PolyPolygon(const POINT* points, const int* counts, int polygonCount);
    BOOL Rectangle(int left, int top, int right, int bottom);
    BOOL Rectangle(const RECT* rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
    BOOL Ellipse(int left, int top, int right, int bottom);
    BOOL Ellipse(const RECT* rect) { return Ellipse(rect->left, rect->top, rect->right, rect->bottom); }
    // Counter-clockwise from the ray towards (x3, y3) to the ray towards (x4, y4).
    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

    // Rectangles and pixels.
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
    void FillRect(const RECT* rect, CBrush* brush);
    void FillSolidRect(const RECT* rect, COLORREF color);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FrameRect(const RECT* rect, CBrush* brush);
    void InvertRect(const RECT* rect);
    void DrawFocusRect(const RECT* rect);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(const POINT& p) const { return GetPixel(p.x, p.y); }
    COLORREF SetPixel(int x, int y, COLORREF color);

    // Bitmaps. Negative destination extents mirror; ySrc counts rows from the bottom of a
    // bottom-up bitmap, as GDI does. Returns the number of scan lines copied (0 on failure).
    int StretchDIBits(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                      const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
    // From a memory context (its selected bitmap) to this context.
    BOOL BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD rop);

    // Text. Strings are UTF-8; byte counts are code page 932 bytes.
    BOOL TextOut(int x, int y, const std::string& text);
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* rect, const std::string& text);
    // Multi-line text in a rectangle with DT_ formats; returns the height of the text.
    int DrawText(const std::string& text, RECT* rect, UINT format);
    CSize GetTextExtent(const std::string& text) const;
    // The extent of text in font as every context measures it: devices do not change a measure.
    static CSize MeasureTextExtent(const LOGFONT& font, const std::string& text);
    CSize GetOutputTextExtent(const std::string& text) const { return GetTextExtent(text); }
    BOOL GetTextExtentPoint32(const std::string& text, SIZE* size) const;
    // fit receives the CP932 byte count of the whole characters that fit in maxExtent.
    BOOL GetTextExtentExPoint(const std::string& text, int maxExtent, int* fit, SIZE* size) const;
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
