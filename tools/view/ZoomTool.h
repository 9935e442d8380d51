// The zoom tool: a dragged rectangle is fitted to the window; the right button halves the zoom
// about the pointer. It only picks, by rubber band, and commits nothing.
#pragma once

#include "tools/DrawTool.h"

class MZoomTool : public MDrawTool {
public:
    explicit MZoomTool(int toolId);

    // Zooms out instead of showing the context menu.
    void OnRButtonDown(MTessarayView* view, int x, int y, UINT flags) override;
    UINT GetPickTraits() override { return kPicking | kPickByRect | kMarkPicks; }
    // Zooms so that the rectangle fills the window in its tighter direction, about its centre. A
    // rectangle below the dead zone in both directions is a click and changes nothing.
    void PickInRect(MTessarayView* view, double x0, double y0, double x1, double y1, UINT flags) override;
};
