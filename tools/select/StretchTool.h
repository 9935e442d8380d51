// The stretch tool: a rubber band chooses a region; a drag from inside it moves the shapes lying
// wholly inside and, of the shapes only partly inside, just their grips inside. The stretched
// copies replace the shapes in one undo step and the region follows the drag, so the user may
// stretch again, or click outside the region to start over.
#pragma once

#include <vector>

#include "tools/DrawTool.h"

class MCadShape;

// One grip of a shape that a stretch moves.
class MStretchHandle {
public:
    MStretchHandle() = default;
    MStretchHandle(MCadShape* shape, int index, const MFloatPoint& position)
        : m_shape(shape), m_index(index), m_position(position) {}
    // The grip to its position at the start plus the offset.
    void Move(const MFloatPoint& offset);

private:
    MCadShape* m_shape = nullptr;
    int m_index = 0;
    MFloatPoint m_position;
};

class MStretchTool final : public MDrawTool {
public:
    explicit MStretchTool(int toolId);

    void End(MTessarayView* view, BOOL switching) override;
    void Reset() override;
    void DrawTracker(MTessarayView* view, CDC* dc) override;
    int OnPoint(MTessarayView* view, double x, double y, int phase, UINT flags) override;
    void ApplyAttributes(MTessarayView*) override {}
    // Shapes with their extent or a grip inside the region.
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    int OnPickAt(MTessarayView* view, double x, double y, UINT flags) override;
    // A rubber band picks (click picks none) until there are picks; then the grid snaps too. The
    // band takes the shapes crossing it whatever the pick mode.
    UINT GetPickTraits() override {
        return kMarkPicks | kBandTakesCrossing | (Lists().NewCount() == 0 ? kPicking : kNoPickTrait) |
               (Lists().PickCount() == 0 ? kPickByRect : kGridWhilePicking);
    }
    void PickAt(MTessarayView* view, double x, double y, UINT flags) override;
    BOOL ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags) override;
    void DecideAndReset(MTessarayView* view) override;

    // The marks anew from the picks and the region: grips inside, grips outside, whole shapes.
    void RebuildMarks();
    void InvalidateMarks(MTessarayView* view);
    void OnTogglePointEdit(MTessarayView* view);
    // The region, normalised.
    MFloatRect GetRegion() const;
    const std::vector<MFloatPoint>& GetInsidePoints() const { return m_inside; }
    const std::vector<MFloatPoint>& GetOutsidePoints() const { return m_outside; }

private:
    void PrepareCopies();
    void DrawMarks(MTessarayView* view, CDC* dc);

    MFloatPoint m_origin;
    MFloatPoint m_previous;
    std::vector<MFloatPoint> m_inside;
    std::vector<MFloatPoint> m_outside;
    std::vector<MCadShape*> m_wholeMove;
    std::vector<MStretchHandle> m_handles;
};
