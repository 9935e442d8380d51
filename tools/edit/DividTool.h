// The divide tool: on a picked line or outline the user clicks a start and an end point (both on
// the shape), then gives the number of parts; marks go at both points and at the points that
// divide the way between them into equal lengths. On a closed outline a third click chooses the
// way round. Full circles and arcs are divided on the true circle, at equal angles, not along
// their drawn outline. The marks are one undo step.
#pragma once

#include <iosfwd>
#include <memory>

#include "model/geometry/FloatPointArray.h"
#include "tools/DrawTool.h"
#include "tools/input/NumericEntryDialog.h"

class MPolylineDivision;

class MDividTool : public MDrawTool {
public:
    static constexpr int kDefaultCount = 3;
    static constexpr int kMaxCount = 32000;

    explicit MDividTool(int toolId);
    ~MDividTool() override;

    void Reset() override;
    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    void ApplyAttributes(MTessarayView*) override {}
    // Lines and the polygon family (polylines, polygons, rectangles, circles, arcs, sectors,
    // ellipses, splines); null for the rest.
    MCadShape* FilterPickTarget(MCadShape* shape) override;
    UINT GetPickTraits() override {
        return kPickTraitsDefault | (Lists().PickCount() == 0 ? kPicking : kNoPickTrait);
    }
    BOOL HasSettings() const override { return TRUE; }
    // One line: a TAB, the count, a line end.
    void SaveSettings(std::ostream& os) override;
    // A count that does not read or lies outside 2 … 32000 becomes 3.
    void LoadSettings(std::istream& is) override;

    int GetCount() const { return m_count; }

private:
    // The point of the picked shape nearest p.
    MFloatPoint OnShape(const MFloatPoint& p) const;
    // The count − 1 division points from mark 0 to mark 1, on a ring the way round that holds hint.
    void Divide(const MFloatPoint& hint, MFloatPointArray& out);
    bool IsClosedPath() const;
    // Puts mark index at p, making it (and those before it) when missing.
    void SetMark(int index, const MFloatPoint& p);
    MFloatPoint MarkAt(int index) const;
    // The end point fixed: the dialog, then the marks; false when they were discarded.
    bool FinishEnd(MTessarayView* view);
    // A closed way with the ends apart: the way round is asked.
    bool GoesRound() const;

    int m_count = kDefaultCount;
    // The division of the picked polygon between the marks, kept while the way round is chosen.
    std::unique_ptr<MPolylineDivision> m_division;
    const MCadShape* m_divided = nullptr;
};

// "分割": the number of parts, at most 32000 (the class library's range message otherwise).
class MInputDividDialog : public MNumericEntryDialog {
public:
    MInputDividDialog(CWnd* parent, int count);
    int GetCount() const { return static_cast<int>(m_count); }

private:
    UINT m_count;
};
