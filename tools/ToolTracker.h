// What a tool shows between events besides its shapes, drawn in XOR after them by the tool base
// (MDrawTool::DrawTracker): a cross mark, a dotted guide line and the rubber band of area picking;
// and how many tracker scopes (MTrackerScope) hold the tool's whole XOR figure erased.
#pragma once

#include "model/geometry/FloatPoint.h"
#include "model/geometry/FloatRect.h"
#include "platform/WinTypes.h"

class CDC;
class MTessarayView;

class MToolTracker {
public:
    // The marks a tool's figure sets; each shows while its flag is set.
    BOOL crossMarkShown = FALSE;
    MFloatPoint crossMarkPoint;
    BOOL guideLineShown = FALSE;
    MFloatPoint guideLine[2];

    // The rubber band, from its anchor (the press) to the pointer.
    void BeginBand(const MFloatPoint& anchor);
    void FollowBand(const MFloatPoint& pointer);
    // The band stops following; it keeps its last rectangle.
    void EndBand(const MFloatPoint& pointer);
    void MoveBand(const MFloatPoint& offset);
    BOOL IsBanding() const { return m_banding; }
    // The press point of the last band or pick press.
    const MFloatPoint& Anchor() const { return m_anchor; }
    void SetAnchor(const MFloatPoint& anchor) { m_anchor = anchor; }
    // The band as last followed (left the anchor's x, top the pointer's y, right the pointer's x,
    // bottom the anchor's y), not normalised.
    MFloatRect Band() const { return m_band; }

    // The first hide erases the figure and the last show draws it again: each answers whether
    // that is now. In between the view's repaints leave the figure out.
    bool Hide() { return m_hidden++ == 0; }
    bool Show() { return m_hidden > 0 && --m_hidden == 0; }
    BOOL IsHidden() const { return m_hidden > 0 ? TRUE : FALSE; }

    // No mark and no band any more (a reset); the band's rectangle and the hidden count stay.
    void Clear();
    // The marks and the band, in the raster operation the dc has.
    void Draw(MTessarayView* view, CDC* dc) const;
    // Repaints the areas of the marks and the band (the tool ends).
    void Invalidate(MTessarayView* view, CDC* dc) const;

private:
    BOOL m_banding = FALSE;
    MFloatPoint m_anchor;
    MFloatRect m_band;
    int m_hidden = 0;
};

// A dotted frame in XOR, side by side when it is large.
void DrawTrackerFrame(CDC* dc, CRect r);
