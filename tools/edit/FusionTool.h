// Fusion: AND, OR or minus of two closed shapes. Click the first and the second shape, choose the
// operation in the small "演算" dialog; the result polygons replace both shapes in one undo step,
// with the current drawing attributes. When the operation yields nothing, or fails, the drawing
// stays as it was.
#pragma once

#include "platform/ui/Dialog.h"
#include "tools/DrawTool.h"

class MFusionTool : public MDrawTool {
public:
    explicit MFusionTool(int toolId);
    UINT GetPickTraits() override { return kPickTraitsDefault | kPicking; }
    // Closed polygonal shapes only: polygons, rectangles, circles, ellipses, closed splines.
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    int OnPickShape(MTessarayView* view, double x, double y, UINT flags) override;
};

// The operation's buttons: "AND", "OR" and "-" close the dialog with OK and the operation 1, 2 or
// 3 (MFusionOperation); Cancel leaves it 0.
class MFusionOperatorDialog : public CDialog {
public:
    explicit MFusionOperatorDialog(CWnd* parent = nullptr);
    int GetOperation() const { return m_operation; }

private:
    void Choose(int operation);
    int m_operation = 0;
};
