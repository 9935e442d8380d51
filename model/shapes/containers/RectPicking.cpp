#include "model/shapes/containers/RectPicking.h"

#include <memory>

#include "model/CadView.h"
#include "model/SnapPoint.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"

CRect GetExtentPickRect(MCadView* view, const MFloatRect& extent) {
    CRect r = view->DocToLogicalRect(extent);
    r.NormalizeRect();
    r.InflateRect(1, 1);
    return r;
}

BOOL PickSquareMeets(MCadView* view, const CPoint& point, int tolerance, const CRect& pick) {
    CPoint logical = point;
    if (std::unique_ptr<CDC> dc = view->GetPreparedClientDC()) dc->DPtoLP(&logical);
    const CRect square(logical.x - tolerance, logical.y - tolerance, logical.x + tolerance,
                       logical.y + tolerance);
    CRect overlap;
    return overlap.IntersectRect(square, pick);
}

double SnapRectPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best, const MFloatRect& r, MCadShape* shape) {
    if (kinds & kSnapEndPoint)
        for (const MFloatPoint& p : {r.TopLeft(), r.TopRight(), r.BottomLeft(), r.BottomRight()})
            best = OfferSnapCandidate(snap, cursor, aperture, p, kSnapEndPoint, best, shape);
    const MFloatPoint c = r.GetCenter();
    if (kinds & kSnapCenter) best = OfferSnapCandidate(snap, cursor, aperture, c, kSnapCenter, best, shape);
    if (kinds & kSnapMidPoint) {
        const MFloatPoint mids[4] = {{c.x, r.top}, {r.left, c.y}, {r.right, c.y}, {c.x, r.bottom}};
        for (const MFloatPoint& p : mids)
            best = OfferSnapCandidate(snap, cursor, aperture, p, kSnapMidPoint, best, shape);
    }
    return best;
}

void DrawGrayedRect(MCadView* view, CDC* dc, const MFloatRect& r) {
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    CPen pen(PS_SOLID, 1, grey);
    CBrush brush(HS_BDIAGONAL, grey);
    CSelectScope selectPen(dc, &pen);
    CSelectScope selectBrush(dc, &brush);
    const CRect device = view->DocToLogicalRect(r);
    dc->Rectangle(&device);
}
