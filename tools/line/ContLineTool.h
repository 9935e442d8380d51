// The continuous line: a chain of segments, each release fixing a vertex, ended by a double click
// or "決定"; committed as separate lines or, with the polyline box, as one open polygon. "取消し"
// steps back one vertex. The base of the polygon, label, balloon and wall tools, which override
// what they do differently.
#pragma once

#include "tools/line/LineTool.h"

class MPolygonShape;

class MContLineTool : public MLineTool {
public:
    explicit MContLineTool(int toolId);

    void OnDoubleClickHook(MTessarayView* view) override;
    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    void OnNumericInput(MTessarayView* view) override;
    BOOL CanDecide() override;
    void OnDecide(MTessarayView* view) override;
    void OnCancel(MTessarayView* view) override;
    // "接線" ends the segment touching the shape and the chain goes on; the other modes as the line's.
    void OnConstraintMode(MTessarayView* view, MConstraintMode mode) override;
    // One line: a TAB, the lock length, the lock angle and the polyline flag, a line end.
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

    BOOL IsPolyline() const { return m_polyline; }

protected:
    // The chain in progress, or null.
    virtual MPolygonShape* Chain() const;
    BOOL GetConstraintBase(MFloatPoint* base) override;
    // The release: the point that followed the pointer stays as a vertex and a new one follows.
    virtual void FixVertex(MTessarayView* view);
    // After a segment is fixed: the menu direction and tangents go, and the angle lock with them;
    // the length lock too unless the values are kept.
    void DropSegmentConstraints();
    // The chain (new shape 0) replaced in the new shapes by one line per segment.
    void SplitIntoLines(const MPolygonShape& chain);

    BOOL m_polyline = FALSE;
};
