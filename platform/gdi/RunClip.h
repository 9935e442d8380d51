// Cutting device-space runs to a rectangle near the target, so that back ends never see
// coordinates far beyond it. Shared by the device context and the painter back end.
#pragma once

#include <vector>

#include "platform/gdi/GdiBackend.h"

namespace gdi {

struct Guard {
    double left, top, right, bottom;
    bool Contains(const GdiPointF& p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
};

// Liang-Barsky: the part of the segment inside the guard, as parameters t0 <= t1.
bool ClipSegment(const GdiPointF& a, const GdiPointF& b, const Guard& g, double& t0, double& t1);

GdiPointF Lerp(const GdiPointF& a, const GdiPointF& b, double t);

// Cuts an open run to the guard; the pieces go to out as separate runs. styled: the pen draws a
// pattern whose phase must survive the cut.
void ClipRun(const GdiPointF* pts, int n, const Guard& g, std::vector<GdiPointF>& out,
             std::vector<int>& counts, bool styled = false);

}  // namespace gdi
