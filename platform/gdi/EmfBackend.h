// An enhanced-metafile recorder: a device-context back end that turns every primitive into its
// EMF record (the public format: little-endian records of 32-bit words). The records are in the
// device units of a reference device (the screen or a printer), whose resolution and size the
// header carries together with the picture's frame in 0.01 mm.
//
// Objects are created as the attributes of the calls require them (pens, brushes, fonts with
// escapement and vertical faces), selected, and deleted when they are replaced; modes (raster
// operation, background, text alignment and colours, fill and stretch modes) are written when
// they change. Coordinates that fit in 16 bits use the 16-bit poly records.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/gdi/GdiBackend.h"

// The device the metafile is measured against.
struct EmfReference {
    int dpiX = 96;
    int dpiY = 96;
    CSize devicePixels;  // HORZRES, VERTRES
    CSize millimeters;   // HORZSIZE, VERTSIZE
    int technology = DT_RASDISPLAY;
};

// The program's screen: 96 dpi, 1920 x 1440 pixels (508 x 381 mm, exact at that resolution).
EmfReference ScreenEmfReference();
class CDC;
// The reference a device context stands for (its resolution and size); a context that reports no
// size (a window not shown yet) gives the screen's size at its resolution.
EmfReference EmfReferenceOf(const CDC* dc);

// Record types written by the recorder.
enum : DWORD {
    EMR_HEADER = 1,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETSTRETCHBLTMODE = 21,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
};

class EmfBackend final : public GdiBackend {
public:
    // frame: the picture in 0.01 mm (the header's frame, stored as given). description: the
    // header's description string, UTF-8, its parts separated by NULs (kept as given; empty: none).
    EmfBackend(const EmfReference& reference, const RECT& frame, const std::string& description);
    ~EmfBackend() override;

    int GetDeviceCaps(int index) const override;
    // The frame in device units: what the picture can show.
    CRect GetBounds() const override { return m_bounds; }
    void SetClip(const CRgn* clip) override;
    void DrawFigure(const GdiFigure& figure, const GdiAttributes& a) override;
    void Polylines(const GdiPointF* points, const int* counts, int polylineCount,
                   const GdiAttributes& a) override;
    void Polygons(const GdiPointF* points, const int* counts, int polygonCount,
                  const GdiAttributes& a) override;
    void PatBlt(const CRect& rect, DWORD rop, const GdiAttributes& a) override;
    void TextOut(double x, double y, UINT options, const RECT* rect, const std::string& text,
                 const GdiAttributes& a) override;
    void StretchDib(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                    const BITMAPINFO* info, const void* bits, DWORD rop, const GdiAttributes& a) override;
    void BitBlt(const CRect& dst, const CBitmap::Surface& src, CPoint srcOrigin, COLORREF srcBkColor,
                DWORD rop, const GdiAttributes& a) override;
    // A metafile has no pixels to read: CLR_INVALID.
    COLORREF GetPixel(int x, int y) const override;
    COLORREF SetPixel(int x, int y, COLORREF color) override;

    // The whole metafile: header, the records, the closing state restore and EOF. The recorder
    // takes no more drawing afterwards (calls are ignored).
    std::vector<BYTE> Finish();
    bool IsFinished() const { return m_finished; }
    // Records written so far (without header and EOF).
    int GetRecordCount() const { return m_recordCount; }

private:
    void Begin(DWORD type);
    void Put32(DWORD v);
    void PutLong(LONG v) { Put32(static_cast<DWORD>(v)); }
    void Put16(WORD v);
    void PutRect(const RECT& r);
    void PutBytes(const void* data, std::size_t n);
    void End();
    std::size_t Here() const { return m_data.size(); }
    void Patch32(std::size_t at, DWORD v);

    void Simple(DWORD type, DWORD value);
    void SetMode(DWORD type, DWORD value, DWORD& cache);
    void ApplyModes(const GdiAttributes& a);
    // Select a pen (or the null pen), a brush (or the null brush) and a font of these descriptions.
    void SelectPen(const LOGPEN& pen, bool none);
    void SelectBrush(const LOGBRUSH& brush, bool none);
    void SelectFont(const LOGFONT& font);
    DWORD AllocateHandle();
    void DeleteHandle(DWORD handle);
    // Writes points as a poly record (single or multiple figures, 16- or 32-bit).
    void WritePoly(bool polygon, const GdiPointF* points, const int* counts, int figureCount);
    void WriteDib(int xDst, int yDst, int wDst, int hDst, int xSrc, int ySrc, int wSrc, int hSrc,
                  const BYTE* info, std::size_t infoBytes, const BYTE* bits, std::size_t bitsBytes,
                  DWORD rop);
    void Touch(const RECT& deviceRect);
    RECT RecordBounds(const GdiPointF* points, int count, int grow) const;

    EmfReference m_ref;
    RECT m_frame;
    std::u16string m_description;
    CRect m_bounds;
    std::vector<BYTE> m_data;  // records after the header
    std::size_t m_recordStart = 0;
    int m_recordCount = 0;
    bool m_finished = false;
    // Union of what the records drew (device units, inclusive); empty while nothing was drawn.
    bool m_touched = false;
    RECT m_drawn{};

    std::vector<bool> m_handles;  // index 0 is reserved
    // The pen and brush made last (0: none yet) stay alive while a null stock object stands in
    // for them. A new context has the stock black pen and white brush selected.
    enum class Selected { Default, Null, Made };
    DWORD m_penHandle = 0;
    DWORD m_brushHandle = 0;
    DWORD m_fontHandle = 0;
    Selected m_penSelected = Selected::Default;
    Selected m_brushSelected = Selected::Default;
    bool m_fontKnown = false;
    bool m_clipped = false;
    LOGPEN m_pen;
    LOGBRUSH m_brush;
    LOGFONT m_font;
    DWORD m_rop2 = ~0u, m_bkMode = ~0u, m_bkColor = ~0u, m_textColor = ~0u, m_textAlign = ~0u,
          m_fillMode = ~0u, m_stretchMode = ~0u;
};
