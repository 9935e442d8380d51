// The linear dimension tools: three points each (start, end, the place of the dimension line).
// MSizeTool measures the true distance, MSizeXTool the horizontal and MSizeYTool the vertical one.
#pragma once

#include <string>

#include "tools/DrawTool.h"
#include "tools/LockedValueTool.h"

class MSizeShape;

// The lock is the fixed length (user units); the dialog, with the text, is its own.
class MSizeTool : public MLockedValueTool<MDrawTool> {
public:
    explicit MSizeTool(int toolId);

    // The fixed length and the user text last only while the values are kept.
    void ReleaseConstraint() override;
    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    void OnNumericInput(MTessarayView* view) override;
    // In the end-point step a fixed length (or SHIFT) holds the point on its circle around the start.
    BOOL ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags) override;
    // A line TAB length, autoTextPosition; a line TAB text.
    void SaveSettings(std::ostream& os) override;
    void LoadSettings(std::istream& is) override;

    BOOL m_userText = FALSE;
    BOOL m_fixedLength = FALSE;
    double m_length = kDefaultLength;  // user units
    std::string m_text = "Text";
    BOOL m_autoTextPosition = TRUE;

    static constexpr double kDefaultLength = 100.0;

protected:
    // The five points of the dimension: A start, B end, C-D the dimension line, E the text.
    struct Points {
        MFloatPoint a, b, c, d, e;
    };
    // Step 1: the end point q; step 2: the dimension line through q.
    virtual void PlaceEnd(MTessarayView* view, MFloatPoint q, Points& p);
    virtual void PlaceLine(const MFloatPoint& q, Points& p);
    // The end's coordinate along one axis: the fixed length from the start on the cursor's side,
    // or the cursor's, whose distance becomes the length.
    double AxisEnd(MTessarayView* view, double q, double start);
    // The given length in drawing units, never negative.
    double FixedDocLength(MTessarayView* view) const;
    MSizeShape* Shape() const;
};

class MSizeXTool : public MSizeTool {
public:
    using MSizeTool::MSizeTool;

protected:
    void PlaceEnd(MTessarayView* view, MFloatPoint q, Points& p) override;
    void PlaceLine(const MFloatPoint& q, Points& p) override;
};

class MSizeYTool : public MSizeTool {
public:
    using MSizeTool::MSizeTool;

protected:
    void PlaceEnd(MTessarayView* view, MFloatPoint q, Points& p) override;
    void PlaceLine(const MFloatPoint& q, Points& p) override;
};
