// The view's mapping of the drawing onto a device: drawing units, paper millimetres,
// logical pixels and device pixels. Widget-free, so shapes, renderers and tests use it
// without a window; the window view derives from it and supplies the window services.
#pragma once

#include <memory>

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class CDC;
class MPaperInfo;
struct MSnapQuery;

// Half the side of the snap aperture, in device pixels.
constexpr int kSnapAperturePixels = 8;

class MCadView {
public:
    MCadView();
    explicit MCadView(const MPaperInfo* paper);
    virtual ~MCadView();

    MCadView(const MCadView&) = delete;
    MCadView& operator=(const MCadView&) = delete;

    // The paper's origin offset and scale are read at every conversion; the scale fields take the
    // paper scale when SetScale runs (setting a paper runs it again with the last resolution and
    // zoom). Without a paper the origin offset is (0, 0) and the scale 1. A new view has the
    // scale of a 96-dpi screen at zoom 1.
    void SetPaperInfo(const MPaperInfo* paper);
    const MPaperInfo* GetPaperInfo() const { return m_paper; }

    // Scale fields; only SetScale writes them.
    double unitScaleX = 0.0;  // logical pixels per drawing unit (x)
    double unitScaleY = 0.0;  // logical pixels per drawing unit (y, negative)
    double unitInvX = 0.0;
    double unitInvY = 0.0;
    double paperScaleX = 0.0;  // logical pixels per paper millimetre (x)
    double paperScaleY = 0.0;  // logical pixels per paper millimetre (y, negative)
    double paperInvX = 0.0;
    double paperInvY = 0.0;
    double pixelDiagonal = 0.0;  // paper millimetres of one pixel's diagonal
    // Origin of the coordinates the user sees and types, in drawing units.
    MFloatPoint userOrigin;
    // Zoom factor that RecalcScale applies (zoom and scrolling change it in the window view).
    double zoom = 1.0;

    // Derives every scale field from the DC's LOGPIXELSX/Y (96 without a DC) and the zoom. A zoom,
    // resolution or paper scale that is not positive and finite leaves the fields unchanged.
    void SetScale(CDC* dc, double zoomFactor);
    // SetScale with a client DC and the zoom field.
    void RecalcScale();

    // Drawing units <-> logical pixels (nearest is floor(v + 0.5)).
    CPoint DocToLogical(const MFloatPoint& p) const;
    CPoint DocToLogical(double x, double y) const;
    MFloatPoint LogicalToDoc(const CPoint& p) const;
    CRect DocToLogicalRect(const MFloatRect& r) const;
    MFloatRect LogicalToDocRect(const CRect& r) const;
    CSize DocToLogicalSize(const MFloatPoint& v) const;
    CSize DocToLogicalSize(double dx, double dy) const;
    MFloatPoint LogicalToDocSize(const CSize& s) const;

    // Drawing units <-> device pixels through the DC's mapping.
    CPoint DocToDevice(CDC* dc, const MFloatPoint& p) const;
    CRect DocToDeviceRect(CDC* dc, const MFloatRect& r) const;
    MFloatPoint DeviceToDoc(CDC* dc, const CPoint& p) const;
    MFloatRect DeviceRectToDoc(CDC* dc, const CRect& r) const;

    // Paper millimetres.
    CRect PaperToLogicalRect(const MFloatRect& paperRect) const;
    CRect PaperToDeviceRect(CDC* dc, const MFloatRect& paperRect) const;
    MFloatPoint DocToPaper(double x, double y) const;
    MFloatPoint DocToPaper(const MFloatPoint& p) const;
    MFloatRect DocToPaperRect(const MFloatRect& r) const;
    MFloatRect PaperToDocRect(const MFloatRect& r) const;
    double DocToPaperLength(double length) const;
    double PaperToDocLength(double length) const;
    MFloatPoint PaperToDocSize(double dx, double dy) const;

    // User coordinates.
    MFloatPoint DocToUser(double x, double y) const;
    MFloatPoint DocToUser(const MFloatPoint& p) const;
    MFloatPoint UserToDoc(double x, double y) const;
    MFloatPoint UserToDoc(const MFloatPoint& p) const;
    double DocToUserLength(double length) const { return length; }
    double UserToDocLength(double length) const { return length; }
    void SetOrigin(double x, double y);

    // Window services that shapes ask of the view. Off-screen defaults: a 96 dpi client
    // DC drawing nowhere, no preparation, nothing to invalidate.
    virtual std::unique_ptr<CDC> GetClientDC();
    virtual void OnPrepareDC(CDC* dc);
    virtual void InvalidateRect(const CRect* rect, BOOL erase = TRUE);
    // A client DC already prepared by OnPrepareDC.
    std::unique_ptr<CDC> GetPreparedClientDC();

    // A snap search at a device point: the aperture of kSnapAperturePixels around it, in drawing
    // units and logical pixels. It runs to its end; the window view adds a cancel test.
    virtual MSnapQuery SnapQueryAt(int x, int y, WORD kinds);

    // The paper's origin offset (drawing units) and scale as read now.
    double OriginOffsetX() const;
    double OriginOffsetY() const;
    double PaperScale() const;

private:
    void Derive(int dpiX, int dpiY, double zoomFactor);

    const MPaperInfo* m_paper = nullptr;
    int m_dpiX = 96;
    int m_dpiY = 96;
    double m_zoomApplied = 1.0;
};
