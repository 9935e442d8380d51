// The rectangle tool: an axis-parallel rectangle by two corners, or by one click once its width
// and height are both fixed by numeric input. It commits four lines (left, top, right, bottom for a
// positive height) or, with the program-wide polygon flag, one fillable rectangle.
#pragma once

#include <iosfwd>

#include "tools/DrawTool.h"
#include "tools/LockedValueTool.h"

// The program-wide polygon flag: 0 four lines, 1 one rectangle shape. 0 at start; a drawing's
// settings line sets it.
int& RectPolygonFlag();

// Width and height with their locks (dialog 151 "四角形", with the polygon flag; no range checks:
// a rectangle that comes out flat commits nothing).
class MRectTool : public MLockedValueTool<MDrawTool> {
public:
    explicit MRectTool(int toolId);

    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    // A rectangle too flat to see commits nothing; in line mode the rectangle becomes its four
    // edges, vertex 3 to 0, 0 to 1, 1 to 2, 2 to 3.
    void DecideAndReset(MTessarayView* view) override;
    // One line: a TAB, width, height and the polygon flag.
    void SaveSettings(std::ostream& os) override;
    // A width or height that is missing or not finite reads as 100.
    void LoadSettings(std::istream& is) override;

    double GetWidth() const { return m_width; }
    double GetHeight() const { return m_height; }
    BOOL IsWidthLocked() const { return m_widthLocked; }
    BOOL IsHeightLocked() const { return m_heightLocked; }

    static constexpr double kDefaultSize = 100.0;

protected:
    // The box "ポリゴン（塗りつぶしあり)".
    void AddDialogExtras(MNumericEntryDialog& dialog) override;

private:
    BOOL m_widthLocked = FALSE;
    BOOL m_heightLocked = FALSE;
    double m_width = kDefaultSize;
    double m_height = kDefaultSize;
    MFloatPoint m_anchor;
};
