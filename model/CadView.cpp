#include "model/CadView.h"

#include <algorithm>
#include <cmath>

#include "model/PaperInfo.h"
#include "model/SnapPoint.h"
#include "platform/gdi/DC.h"

namespace {

// Logical coordinates stay well inside 32 bits, so origins and offsets added later cannot
// overflow; the device context clips whatever lies this far out.
constexpr double kLogicalLimit = double(1 << 29);

LONG Nearest(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<LONG>(std::floor(std::clamp(v, -kLogicalLimit, kLogicalLimit) + 0.5));
}

}  // namespace

MCadView::MCadView() {
    Derive(96, 96, 1.0);
}
MCadView::MCadView(const MPaperInfo* paper) : m_paper(paper) {
    Derive(96, 96, 1.0);
}

void MCadView::SetPaperInfo(const MPaperInfo* paper) {
    m_paper = paper;
    Derive(m_dpiX, m_dpiY, m_zoomApplied);
}
MCadView::~MCadView() = default;

double MCadView::OriginOffsetX() const {
    return m_paper ? m_paper->GetOriginOffset().x : 0.0;
}
double MCadView::OriginOffsetY() const {
    return m_paper ? m_paper->GetOriginOffset().y : 0.0;
}
double MCadView::PaperScale() const {
    return m_paper ? m_paper->GetScale() : 1.0;
}

void MCadView::SetScale(CDC* dc, double zoomFactor) {
    Derive(dc ? dc->GetDeviceCaps(LOGPIXELSX) : 96, dc ? dc->GetDeviceCaps(LOGPIXELSY) : 96, zoomFactor);
}

void MCadView::Derive(int dpiX, int dpiY, double zoomFactor) {
    const double s = PaperScale();
    // A scale that cannot be inverted would poison every conversion: keep the previous one.
    if (dpiX <= 0 || dpiY <= 0 || !(zoomFactor > 0) || !std::isfinite(zoomFactor) || !(s > 0) ||
        !std::isfinite(s))
        return;
    paperScaleX = dpiX / 25.4 * zoomFactor;
    paperScaleY = -(dpiY / 25.4) * zoomFactor;
    paperInvX = 1.0 / paperScaleX;
    paperInvY = 1.0 / paperScaleY;
    unitScaleX = paperScaleX * s;
    unitScaleY = paperScaleY * s;
    unitInvX = 1.0 / unitScaleX;
    unitInvY = 1.0 / unitScaleY;
    pixelDiagonal = std::hypot(paperInvX, paperInvY);
    m_dpiX = dpiX, m_dpiY = dpiY, m_zoomApplied = zoomFactor;
}

void MCadView::RecalcScale() {
    std::unique_ptr<CDC> dc = GetClientDC();
    SetScale(dc.get(), zoom);
}

CPoint MCadView::DocToLogical(double x, double y) const {
    return CPoint(Nearest((x + OriginOffsetX()) * unitScaleX), Nearest((y + OriginOffsetY()) * unitScaleY));
}

CPoint MCadView::DocToLogical(const MFloatPoint& p) const {
    return DocToLogical(p.x, p.y);
}

MFloatPoint MCadView::LogicalToDoc(const CPoint& p) const {
    return MFloatPoint(p.x * unitInvX - OriginOffsetX(), p.y * unitInvY - OriginOffsetY());
}

CRect MCadView::DocToLogicalRect(const MFloatRect& r) const {
    const CPoint a = DocToLogical(r.left, r.top);
    const CPoint b = DocToLogical(r.right, r.bottom);
    return CRect(a.x, a.y, b.x, b.y);
}

MFloatRect MCadView::LogicalToDocRect(const CRect& r) const {
    const MFloatPoint a = LogicalToDoc(CPoint(r.left, r.top));
    const MFloatPoint b = LogicalToDoc(CPoint(r.right, r.bottom));
    MFloatRect out;
    out.left = a.x, out.top = a.y, out.right = b.x, out.bottom = b.y;
    return out;
}

CSize MCadView::DocToLogicalSize(double dx, double dy) const {
    return CSize(Nearest(dx * unitScaleX), Nearest(dy * unitScaleY));
}

CSize MCadView::DocToLogicalSize(const MFloatPoint& v) const {
    return DocToLogicalSize(v.x, v.y);
}

MFloatPoint MCadView::LogicalToDocSize(const CSize& s) const {
    return MFloatPoint(s.cx * unitInvX, s.cy * unitInvY);
}

CPoint MCadView::DocToDevice(CDC* dc, const MFloatPoint& p) const {
    CPoint q = DocToLogical(p);
    if (dc) dc->LPtoDP(&q);
    return q;
}

CRect MCadView::DocToDeviceRect(CDC* dc, const MFloatRect& r) const {
    CRect q = DocToLogicalRect(r);
    if (dc) dc->LPtoDP(&q);
    return q;
}

MFloatPoint MCadView::DeviceToDoc(CDC* dc, const CPoint& p) const {
    CPoint q = p;
    if (dc) dc->DPtoLP(&q);
    return LogicalToDoc(q);
}

MFloatRect MCadView::DeviceRectToDoc(CDC* dc, const CRect& r) const {
    const MFloatPoint a = DeviceToDoc(dc, CPoint(r.left, r.top));
    const MFloatPoint b = DeviceToDoc(dc, CPoint(r.right, r.bottom));
    MFloatRect out;
    out.left = a.x, out.top = a.y, out.right = b.x, out.bottom = b.y;
    return out;
}

CRect MCadView::PaperToLogicalRect(const MFloatRect& r) const {
    return CRect(Nearest(r.left * paperScaleX), Nearest(r.top * paperScaleY), Nearest(r.right * paperScaleX),
                 Nearest(r.bottom * paperScaleY));
}

CRect MCadView::PaperToDeviceRect(CDC* dc, const MFloatRect& paperRect) const {
    CRect q = PaperToLogicalRect(paperRect);
    q.NormalizeRect();
    if (dc) dc->LPtoDP(&q);
    return q;
}

MFloatPoint MCadView::DocToPaper(double x, double y) const {
    const double s = PaperScale();
    return MFloatPoint((x + OriginOffsetX()) * s, (y + OriginOffsetY()) * s);
}

MFloatPoint MCadView::DocToPaper(const MFloatPoint& p) const {
    return DocToPaper(p.x, p.y);
}

MFloatRect MCadView::DocToPaperRect(const MFloatRect& r) const {
    const MFloatPoint a = DocToPaper(r.left, r.top);
    const MFloatPoint b = DocToPaper(r.right, r.bottom);
    MFloatRect out;
    out.left = a.x, out.top = a.y, out.right = b.x, out.bottom = b.y;
    return out;
}

MFloatRect MCadView::PaperToDocRect(const MFloatRect& r) const {
    const double s = PaperScale();
    MFloatRect out;
    out.left = r.left / s - OriginOffsetX();
    out.top = r.top / s - OriginOffsetY();
    out.right = r.right / s - OriginOffsetX();
    out.bottom = r.bottom / s - OriginOffsetY();
    return out;
}

double MCadView::DocToPaperLength(double length) const {
    return length * PaperScale();
}
double MCadView::PaperToDocLength(double length) const {
    return length / PaperScale();
}

MFloatPoint MCadView::PaperToDocSize(double dx, double dy) const {
    const double s = PaperScale();
    return MFloatPoint(dx / s, dy / s);
}

MFloatPoint MCadView::DocToUser(double x, double y) const {
    return MFloatPoint(x - userOrigin.x, y - userOrigin.y);
}
MFloatPoint MCadView::DocToUser(const MFloatPoint& p) const {
    return DocToUser(p.x, p.y);
}
MFloatPoint MCadView::UserToDoc(double x, double y) const {
    return MFloatPoint(x + userOrigin.x, y + userOrigin.y);
}
MFloatPoint MCadView::UserToDoc(const MFloatPoint& p) const {
    return UserToDoc(p.x, p.y);
}

void MCadView::SetOrigin(double x, double y) {
    userOrigin = MFloatPoint(x, y);
}

std::unique_ptr<CDC> MCadView::GetClientDC() {
    return std::make_unique<CDC>();
}
void MCadView::OnPrepareDC(CDC*) {}
void MCadView::InvalidateRect(const CRect*, BOOL) {}

std::unique_ptr<CDC> MCadView::GetPreparedClientDC() {
    std::unique_ptr<CDC> dc = GetClientDC();
    if (dc) OnPrepareDC(dc.get());
    return dc;
}

MSnapQuery MCadView::SnapQueryAt(int x, int y, WORD kinds) {
    const std::unique_ptr<CDC> dc = GetPreparedClientDC();
    MSnapQuery query;
    const CRect deviceSquare(x - kSnapAperturePixels, y - kSnapAperturePixels, x + kSnapAperturePixels,
                             y + kSnapAperturePixels);
    query.aperture = DeviceRectToDoc(dc.get(), deviceSquare);
    query.aperture.Normalize();
    query.cursor = DeviceToDoc(dc.get(), CPoint(x, y));
    query.kinds = kinds;
    query.view = this;
    query.logicalCursor = CPoint(x, y);
    query.logicalAperture = deviceSquare;
    if (dc) {
        dc->DPtoLP(&query.logicalCursor);
        dc->DPtoLP(&query.logicalAperture);
    }
    query.tolerance = kSnapAperturePixels;
    return query;
}
