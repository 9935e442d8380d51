// The print-area tool: the printable page, as a red frame of the print factor's size, follows the
// pointer; a click centres the view's print area there and hands back to the previous tool. The
// frame is the tool's own new shape and is never committed: End discards it.
#pragma once

#include "tools/DrawTool.h"

class MRectShape;

class MPrintAreaTool : public MDrawTool {
public:
    explicit MPrintAreaTool(int toolId);

    void OnButtonDownAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) override;
    void OnButtonUpAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) override;
    void OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) override;
    BOOL CanNumericInput() override { return TRUE; }
    // The dialog opens with the factor the frame shows (the view's, until one is typed).
    void OnNumericInput(MTessarayView* view) override;
    BOOL ReturnsToPreviousTool() override { return TRUE; }

    double GetFactor() const { return m_factor; }
    MFloatPoint GetCentre() const { return m_centre; }
    // The frame while the tool is current, else null.
    MRectShape* GetFrame() const;

private:
    // Builds the frame at the view's print area when there is none; the tracker must be hidden.
    void EnsureFrame(MTessarayView* view);
    // The frame centred on pt, of factor times the page.
    void FollowTo(MTessarayView* view, CDC* dc, const MFloatPoint& pt);
    void PlaceArea(MTessarayView* view, CDC* dc);

    MFloatPoint m_centre;
    double m_factor = 1.0;
};
