#include "tools/Snapper.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "document/TessarayDoc.h"
#include "model/geometry/FloatPointArray.h"
#include "platform/gdi/DC.h"
#include "resources/ResourceIds.h"
#include "view/Grid.h"
#include "view/TessarayView.h"

MSnapPoint MSnapper::Find(MTessarayView* view, int x, int y, WORD kinds, bool gridAllowed,
                          const MFloatPoint& plain) const {
    MTessarayDoc* doc = view->GetDocument();
    if (doc && kinds)
        if (const MSnapPoint record = doc->FindSnapPoint(view->SnapQueryAt(x, y, kinds)); record.kind)
            return record;
    if ((kinds & kSnapGrid) && view->GetGrid() && gridAllowed)
        return MSnapPoint(view->GetGrid()->SnapDocPoint(view, plain), kSnapGrid);
    return MSnapPoint(plain, 0);
}

MSnapPoint MSnapper::FindOnLocus(MTessarayView* view, WORD kinds, const MFloatPoint& pt,
                                 const OnLocus& onLocus, const Crossings& crossings) const {
    MTessarayDoc* doc = view ? view->GetDocument() : nullptr;
    if (!doc || !kinds) return MSnapPoint();
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const CPoint device = view->DocToDevice(dc.get(), pt);
    const WORD pointKinds = kinds & static_cast<WORD>(~kSnapOnShape);
    if (pointKinds) {
        const MSnapPoint record = doc->FindSnapPoint(view->SnapQueryAt(device.x, device.y, pointKinds));
        if (record.kind && onLocus(record.GetPoint())) return record;
    }
    if (!(kinds & kSnapOnShape)) return MSnapPoint();
    const MSnapPoint record = doc->FindSnapPoint(view->SnapQueryAt(device.x, device.y, kSnapOnShape));
    if (!record.kind || !record.shape1) return MSnapPoint();
    MFloatPointArray points;
    crossings(record.shape1, &points);
    const auto distance = [&](const MFloatPoint& p) { return std::hypot(p.x - pt.x, p.y - pt.y); };
    const MFloatPoint* nearest = nullptr;
    for (int i = 0; i < points.GetSize(); ++i)
        if (!nearest || distance(points[i]) < distance(*nearest)) nearest = &points[i];
    if (!nearest) return MSnapPoint();
    const CPoint at = view->DocToDevice(dc.get(), *nearest);
    if (std::abs(at.x - device.x) > kSnapAperturePixels || std::abs(at.y - device.y) > kSnapAperturePixels)
        return MSnapPoint();
    return MSnapPoint(*nearest, kSnapOnShape, record.shape1);
}

MSnapPoint MSnapper::FindGridOnLocus(MTessarayView* view, WORD kinds, const MFloatPoint& pt,
                                     const OnLocus& accept) const {
    if (!(kinds & kSnapGrid) || !view->GetGrid()) return MSnapPoint();
    const MFloatPoint g = view->GetGrid()->SnapDocPoint(view, pt);
    return accept(g) ? MSnapPoint(g, kSnapGrid) : MSnapPoint();
}

const MSnapResult& MSnapper::Finish(const MFloatPoint& point) {
    m_last.point = point;
    m_last.marked = CursorIndex(m_last.record.kind) != 0;
    if (!m_last.marked) m_last.record = MSnapPoint(point, 0);
    return m_last;
}

int MSnapper::CursorIndex(WORD kind) {
    if (kind & kSnapEndPoint) return 1;
    if (kind & kSnapIntersection) return 2;
    if (kind & kSnapMidPoint) return 3;
    if (kind & kSnapCenter) return 4;
    if (kind & kSnapOnShape) return 5;
    if (kind & kSnapBasePoint) return 6;
    return 0;
}

UINT MSnapper::CursorResource(int index) {
    static constexpr UINT kCursors[] = {IDR_SNAP_CURSOR_END_POINT, IDR_SNAP_CURSOR_INTERSECTION,
                                        IDR_SNAP_CURSOR_MID_POINT, IDR_SNAP_CURSOR_CENTER,
                                        IDR_SNAP_CURSOR_ON_SHAPE,  IDR_SNAP_CURSOR_BASE_POINT};
    return index >= 1 && index <= 6 ? kCursors[index - 1] : 0;
}
