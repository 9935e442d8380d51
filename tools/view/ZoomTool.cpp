#include "tools/view/ZoomTool.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gdi/DC.h"
#include "resources/ResourceIds.h"
#include "view/TessarayView.h"

namespace {
// The pointer's dead zone: a band smaller than this both ways was never shown.
constexpr int kDeadZonePixels = 8;
}  // namespace

MZoomTool::MZoomTool(int toolId) : MDrawTool(toolId) {
    LoadPrompt(IDS_ZOOM_PROMPT, IDS_ZOOM_PROMPT);
}

void MZoomTool::OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) {
    RunGuarded(view, [&] {
        const MFloatPoint p = Snap(view, x, y, flags).point;
        view->ZoomAt(p, 0.5, TRUE);
    });
    // The cross-hair and the snap mark follow the pointer into the new mapping.
    view->OnClientMouseMove(flags, x, y);
}

void MZoomTool::PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT) {
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    const CPoint a = view->DocToDevice(dc.get(), MFloatPoint(x0, y0));
    const CPoint b = view->DocToDevice(dc.get(), MFloatPoint(x1, y1));
    if (std::abs(b.x - a.x) < kDeadZonePixels && std::abs(b.y - a.y) < kDeadZonePixels) return;
    CRect client;
    view->GetClientRect(&client);
    const MFloatRect window = view->DeviceRectToDoc(dc.get(), client);
    dc.reset();
    const double w = x1 - x0, h = y0 - y1;
    const double cw = window.right - window.left, ch = window.top - window.bottom;
    if (w == 0.0 || h == 0.0 || cw == 0.0 || ch == 0.0) return;
    const double factor = std::min(std::fabs(cw / w), std::fabs(ch / h));
    view->ZoomAt(MFloatPoint((x0 + x1) / 2, (y0 + y1) / 2), factor, TRUE);
}
