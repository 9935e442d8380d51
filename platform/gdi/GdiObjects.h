// Drawing objects that are selected into a device context: pens, brushes, fonts, regions,
// bitmaps and palettes. They are value objects; a device context copies what it needs at
// selection, so an object may be changed or destroyed after it has been deselected.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/GdiTypes.h"

class CDC;

class CGdiObject {
public:
    enum class Kind { None, Pen, Brush, Font, Region, Bitmap, Palette };

    virtual ~CGdiObject() = default;
    Kind GetKind() const { return m_kind; }
    // Whether the object has been created (the class library's non-null handle).
    BOOL IsValid() const { return m_valid ? TRUE : FALSE; }
    BOOL IsStock() const { return m_stock ? TRUE : FALSE; }
    // Returns the object to its uncreated state; stock objects cannot be deleted.
    virtual BOOL DeleteObject();

protected:
    explicit CGdiObject(Kind kind) : m_kind(kind) {}
    CGdiObject(const CGdiObject&) = default;
    CGdiObject& operator=(const CGdiObject&) = default;

    Kind m_kind;
    bool m_valid = false;
    bool m_stock = false;
    friend CGdiObject* GetStockObject(int index);
};

class CPen : public CGdiObject {
public:
    CPen() : CGdiObject(Kind::Pen) {}
    CPen(int style, int width, COLORREF color) : CPen() { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color);
    BOOL CreatePenIndirect(const LOGPEN& logPen);
    BOOL GetLogPen(LOGPEN* logPen) const;
    const LOGPEN& GetLogPen() const { return m_log; }

private:
    LOGPEN m_log;
};

class CBrush : public CGdiObject {
public:
    CBrush() : CGdiObject(Kind::Brush) {}
    explicit CBrush(COLORREF color) : CBrush() { CreateSolidBrush(color); }
    CBrush(int hatch, COLORREF color) : CBrush() { CreateHatchBrush(hatch, color); }
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatch, COLORREF color);
    BOOL CreateBrushIndirect(const LOGBRUSH& logBrush);
    BOOL GetLogBrush(LOGBRUSH* logBrush) const;
    const LOGBRUSH& GetLogBrush() const { return m_log; }

private:
    LOGBRUSH m_log;
};

class CFont : public CGdiObject {
public:
    CFont() : CGdiObject(Kind::Font) {}
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, const std::string& faceName);
    int GetLogFont(LOGFONT* logFont) const;
    const LOGFONT& GetLogFont() const { return m_log; }

private:
    LOGFONT m_log;
};

// A set of pixels in device coordinates: pixel (x, y) belongs to it when its centre
// (x + 0.5, y + 0.5) lies inside, as polygon fills decide.
class CRgn : public CGdiObject {
public:
    CRgn();
    ~CRgn() override;
    CRgn(const CRgn& other);
    CRgn& operator=(const CRgn& other);

    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(const RECT* rect);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
    BOOL CreatePolyPolygonRgn(const POINT* points, const int* counts, int polygonCount, int fillMode);
    // This becomes a op b (RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY); returns the region kind.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source) { return CombineRgn(source, nullptr, RGN_COPY); }
    int OffsetRgn(int dx, int dy);
    BOOL PtInRegion(int x, int y) const;
    BOOL RectInRegion(const RECT* rect) const;
    // Smallest rectangle around the region (right and bottom exclusive); returns the region kind.
    int GetRgnBox(RECT* rect) const;
    BOOL DeleteObject() override;

    struct Data;
    const Data* GetData() const { return m_data.get(); }
    Data* GetData() { return m_data.get(); }
    void SetData(std::unique_ptr<Data> data);

private:
    std::unique_ptr<Data> m_data;
};

struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 0;
};

// A device-dependent bitmap: a colour (32 bits per pixel) or monochrome surface that memory
// device contexts draw on. The pixels are shared with the contexts that have it selected.
class CBitmap : public CGdiObject {
public:
    CBitmap();
    ~CBitmap() override;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Monochrome when the context is a memory context holding a monochrome bitmap (a fresh
    // memory context holds one), colour otherwise. Pixels start black.
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    // bitsPerPixel 1 makes a monochrome bitmap; bits, when given, are rows of words
    // (16-bit aligned), top row first, in the given depth (1, 24 or 32).
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    // A colour bitmap holding the picture of a packed device-independent bitmap.
    BOOL CreateFromDib(const BITMAPINFO* info, const void* bits);
    int GetBitmap(BITMAP* bitmap) const;
    CSize GetBitmapDimension() const;
    BOOL IsMonochrome() const;
    // Pixel access for tests and conversions (0x00BBGGRR; 0 or 0xFFFFFF for monochrome).
    COLORREF GetPixel(int x, int y) const;
    BOOL DeleteObject() override;

    struct Surface;
    std::shared_ptr<Surface> GetSurface() const { return m_surface; }
    void SetSurface(std::shared_ptr<Surface> surface);

private:
    std::shared_ptr<Surface> m_surface;
};

// Only the colour table is kept: our surfaces are true colour.
class CPalette : public CGdiObject {
public:
    CPalette() : CGdiObject(Kind::Palette) {}
    BOOL CreatePalette(const std::vector<COLORREF>& entries);
    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    const std::vector<COLORREF>& GetEntries() const { return m_entries; }
    // Index of the entry nearest to the colour (squared distance in RGB); 0 without entries.
    UINT GetNearestPaletteIndex(COLORREF color) const;

private:
    std::vector<COLORREF> m_entries;
};

// Program-wide stock objects (WHITE_BRUSH ... DEFAULT_GUI_FONT); nullptr for an unknown index.
CGdiObject* GetStockObject(int index);
