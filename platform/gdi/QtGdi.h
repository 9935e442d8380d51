// The Qt side of the drawing layer, for the platform itself, the window code that shows a
// context's surface, printing, and tests that inspect pixels. Model code never includes it.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <memory>

#include "platform/gdi/DC.h"

class QPainter;
class QPaintDevice;
class QPrinter;

// Pixel data of a bitmap: always 32 bits per pixel; a monochrome surface holds only black and
// white and is drawn without antialiasing.
struct CBitmap::Surface {
    QImage image;
    bool monochrome = false;
};

// A region: a fill path in device coordinates (pixel centres decide membership).
struct CRgn::Data {
    QPainterPath path;
};

inline QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}
inline COLORREF FromQRgb(QRgb rgb) {
    return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
}
// The nearest of black and white, as GDI maps colours onto a monochrome surface.
COLORREF ToMonochrome(COLORREF c);

// A QPainter back end on a shared surface (image and memory contexts).
std::unique_ptr<GdiBackend> MakeSurfaceBackend(std::shared_ptr<CBitmap::Surface> surface);
// A QPainter back end on a painter that the caller has begun and keeps active (a window's
// paint event, a printer's pages). dpi gives LOGPIXELSX/Y; printing marks a printer context.
// pageSizeMm and offsets are the printer's page in millimetres and its printable offset in pixels.
struct PainterTargetInfo {
    int dpiX = 96;
    int dpiY = 96;
    bool printing = false;
    CSize pixelSize;        // HORZRES, VERTRES
    CSize physicalSize;     // PHYSICALWIDTH, PHYSICALHEIGHT (pixels)
    CPoint physicalOffset;  // PHYSICALOFFSETX, PHYSICALOFFSETY (pixels)
};
std::unique_ptr<GdiBackend> MakePainterBackend(QPainter* painter, const PainterTargetInfo& info);
// A back end on an image owned by the caller (32 bits per pixel).
std::unique_ptr<GdiBackend> MakeImageBackend(QImage* image);
// A printer: StartDoc begins the job, StartPage moves to a new sheet after the first, EndDoc
// finishes. LOGPIXELSX/Y are the printer's resolution; (0, 0) is the printable area's corner.
std::unique_ptr<GdiBackend> MakePrinterBackend(QPrinter* printer);
BOOL AttachPrinter(CDC& dc, QPrinter* printer);
// The image a back end draws on, with pending drawing finished; nullptr for other targets.
QImage* BackendImage(GdiBackend* backend);

// The image of an image or memory context (nullptr for other contexts); pending drawing is
// finished first. The image stays owned by the context.
QImage* GetDCImage(CDC& dc);
// Makes a context draw on an image owned by the caller, such as a window's persistent surface.
// The image must outlive the context's use of it.
BOOL AttachImage(CDC& dc, QImage* image);

// The font that a logical font (height in device pixels) stands for on this system, and the
// face it was substituted by. Vertical ("@") faces give their horizontal font.
QFont MakeQFont(const LOGFONT& font, double dpiY);
QString SubstituteFaceName(const std::string& faceName);
