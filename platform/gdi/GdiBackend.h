// The seam between CDC and what it draws on. CDC keeps the GDI state (selected objects,
// modes, origins, clip, save stack), maps logical to device coordinates, clamps and clips the
// geometry, and hands device-space primitives to a back end: the QPainter back end draws on
// images and printers; a metafile recorder can be another back end of the same kind.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/GdiObjects.h"

struct GdiPointF {
    double x = 0.0;
    double y = 0.0;
};

struct GdiFigure {
    std::vector<GdiPointF> fill;
    std::vector<int> fillCounts;
    std::vector<GdiPointF> lines;
    std::vector<int> lineCounts;
};

// What a primitive is drawn with, as selected in the context at the moment of the call.
struct GdiAttributes {
    LOGPEN pen;
    LOGBRUSH brush;
    LOGFONT font;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int bkMode = OPAQUE;
    COLORREF bkColor = 0xFFFFFF;
    COLORREF textColor = 0;
    UINT textAlign = TA_LEFT | TA_TOP;
    int stretchMode = BLACKONWHITE;
    CPoint brushOrg;
};

// Cubic Bezier pieces (1 + 3n points) as one polyline that strays a small fraction of a pixel
// from the curve; out is replaced.
void FlattenBeziers(const GdiPointF* points, int count, std::vector<GdiPointF>& out);

class GdiBackend {
public:
    virtual ~GdiBackend() = default;

    virtual int GetDeviceCaps(int index) const = 0;
    // The drawable area in device pixels (right and bottom exclusive); empty when nothing is drawn.
    virtual CRect GetBounds() const = 0;
    virtual bool IsPrinting() const { return false; }
    virtual bool IsMonochrome() const { return false; }
    // Whether the context answers attribute queries (the class library's attribute context).
    virtual bool HasAttribDC() const { return true; }
    // Whether runs of a thin solid pen may come uncut, with coordinates anywhere within the
    // context's limit (2^27): the back end clips them exactly, so that a line shows the same
    // pixels however far it reaches. Otherwise the context cuts them near the target first.
    virtual bool TakesLongThinLines() const { return false; }
    // The same for polygons drawn with these attributes: the back end fills and outlines them
    // exactly, so that a ring shows the same pixels whatever part of the target is painted (cut
    // near the target, its new corners would leave the pixel grid and take another fill rule).
    virtual bool TakesLongPolygons(const GdiAttributes&) const { return false; }
    // Whether cubic Bezier runs may come as curves: a vector target (a printer) keeps them exact
    // and small. The context flattens them into polylines for the others.
    virtual bool TakesCurves() const { return false; }

    // The clip in device coordinates; nullptr removes it.
    virtual void SetClip(const CRgn* clip) = 0;

    // A figure: rings filled as one area with the brush and the fill mode (corner coordinates:
    // the pixels whose centres lie inside), then open runs stroked with the pen (pixel
    // coordinates: a run passes through the pixels it names and leaves out its last one).
    // Raster operations combine every pixel of the figure once.
    virtual void DrawFigure(const GdiFigure& figure, const GdiAttributes& a) = 0;
    // Open polylines with the pen; a recorder may keep them as such.
    virtual void Polylines(const GdiPointF* points, const int* counts, int polylineCount,
                           const GdiAttributes& a);
    // One run of cubic Bezier pieces (1 + 3n points: the start, then two controls and an end per
    // piece) with the pen; called only when TakesCurves.
    virtual void Beziers(const GdiPointF* points, int count, const GdiAttributes& a) {}
    // Polygons in pixel coordinates, filled as one figure and outlined (each ring closed) with
    // the pen. The fill covers the pixels whose own coordinates lie inside (points on left and
    // top edges in, on right and bottom edges out, as GDI fills), so that the outline meets it;
    // as a figure the rings are the fill moved by half a pixel into corner coordinates.
    virtual void Polygons(const GdiPointF* points, const int* counts, int polygonCount,
                          const GdiAttributes& a);
    // Fills a rectangle by a ternary raster operation that involves at most pattern and destination.
    virtual void PatBlt(const CRect& rect, DWORD rop, const GdiAttributes& a) = 0;
    // Text at a device reference point, aligned by a.textAlign, in a.font (already in device units).
    virtual void TextOut(double x, double y, UINT options, const RECT* rect, const std::string& text,
                         const GdiAttributes& a) = 0;
    // Copies a rectangle of a device-independent bitmap (bottom-up or top-down) to the destination
    // rectangle; negative destination extents mirror. The source rectangle has already been checked.
    virtual void StretchDib(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                            const BITMAPINFO* info, const void* bits, DWORD rop, const GdiAttributes& a) = 0;
    // Copies from a bitmap surface; monochrome sources become text colour (0) and background colour (1),
    // colour sources going to a monochrome target become white where they equal srcBkColor.
    virtual void BitBlt(const CRect& dst, const CBitmap::Surface& src, CPoint srcOrigin, COLORREF srcBkColor,
                        DWORD rop, const GdiAttributes& a) = 0;
    // An SVG picture scaled into the destination rectangle over what is there, at the target's own
    // resolution. Back ends without pictures draw nothing.
    virtual void DrawPicture(const CRect& dst, const char* svg) {}
    virtual COLORREF GetPixel(int x, int y) const = 0;
    virtual COLORREF SetPixel(int x, int y, COLORREF color) = 0;

    // Font metrics and advances in device pixels for a font given in device units.
    virtual TEXTMETRIC GetTextMetrics(const LOGFONT& font) const;
    // Width of the text and, when given, the extent after each character (one entry per CP932 byte,
    // the trail byte repeating its character's value).
    virtual int MeasureText(const LOGFONT& font, const std::string& text,
                            std::vector<int>* byteExtents) const;

    // Printing jobs; other targets accept and ignore them.
    virtual int StartDoc(const std::string& name) { return 1; }
    virtual int StartPage() { return 1; }
    virtual int EndPage() { return 1; }
    virtual int EndDoc() { return 1; }
    virtual int AbortDoc() { return 1; }

    // Finishes pending drawing so that the target's pixels are current.
    virtual void Flush() {}
};
