// The wall tool: the clicks give a centre line and the tool keeps two outlines at the left and the
// right width from it, mitred at the corners. Ending the chain commits the outlines, and with the
// centre-line box the centre line on a layer of its own, as separate lines.
#pragma once

#include <array>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/line/ContLineTool.h"

struct MWallStyle {
    double leftWidth = 100.0;  // mm
    double rightWidth = 100.0;
    BOOL centreLine = FALSE;
    std::string layer;  // of the centre lines; empty or unknown: the tool's usual layer
    COLORREF color = 0;
    double width = 0.0;  // mm, 0 ... 10
    int lineStyle = 0;   // index in the line-style list

    static constexpr double kMaxWidth = 10.0;
    // Values the settings dialog can show and accept.
    void MakeSound();
};

class MWallTool : public MContLineTool {
public:
    explicit MWallTool(int toolId);

    BOOL HasSettings() const override { return TRUE; }
    void OnDoubleClickHook(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    void FixVertex(MTessarayView* view) override;
    // The left outline, the right outline and the centre line, always of one vertex count.
    int CreateAndAddShape(MTessarayView* view) override;
    // The wall's lines keep the attributes they were given at the end of the chain.
    void ApplyAttributes(MTessarayView* view) override {}
    void OnNumericInput(MTessarayView* view) override;
    void OnDecide(MTessarayView* view) override;
    void OnCancel(MTessarayView* view) override;
    // The line tool's line, then the wall: widths and centre-line flag, layer, colour style width.
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

    // The outlines around the centre line's last vertex moved to p.
    void UpdateWallOutline(MTessarayView* view, const MFloatPoint& p);
    // Fixes the current vertex at p (not on the vertex before it) and starts the next.
    void AddWallVertex(MTessarayView* view, const MFloatPoint& p);

    MWallStyle& Style() { return m_style; }
    MPolygonShape* Outline(int which) const;  // 0 left, 1 right, 2 centre

protected:
    MPolygonShape* Chain() const override { return Outline(2); }
    // A move erases and draws only the wall's last two segments of each polyline, where the
    // pointer changes it; the rest stays on the screen.
    void OnMoveAt(MTessarayView* view, CDC* dc, const MFloatPoint& pt, UINT flags) override;
    // Each polyline as its fixed part and its tail of two segments, so that the tail can be erased
    // and drawn alone. Both parts draw the pixels where they meet or cross, which XOR leaves dark.
    void DrawNewShapes(MTessarayView* view, CDC* dc) override;

private:
    using WallPoints = std::array<std::vector<MFloatPoint>, 3>;
    WallPoints CopyPoints() const;
    // Whether the tracker shows the wall as fixed part and tail (a thin pen, nothing else shown).
    bool DrawsTailApart() const;
    void ForEachPolyline(void (*action)(MPolygonShape&, const MFloatPoint&), const MFloatPoint& p);

    MWallStyle m_style;
};
