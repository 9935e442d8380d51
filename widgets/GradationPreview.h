// The two previews of the gradation dialog, owner-drawn buttons bound to its template:
// - MGradationBar: the colour ramp, 32 bands from the start colour (through the middle colour at
//   the middle position, when there is one) to the end colour;
// - MGradationWindow: the gradation itself, as a shape's fill draws it.
#pragma once

#include "platform/ui/Controls.h"

// The colours and the middle of a gradation being edited.
struct GradationColors {
    BOOL middleOn = FALSE;
    double middle = 0.5;  // fraction of the way from the start colour to the end colour
    COLORREF start = 0xFFFFFF;
    COLORREF end = 0;
    COLORREF middleColor = 0x808080;
};

class MGradationBar : public CButton {
public:
    MGradationBar();
    GradationColors& Colors() { return m_colors; }
    const GradationColors& Colors() const { return m_colors; }
    void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) override;

private:
    GradationColors m_colors;
};

class MGradationWindow : public CButton {
public:
    MGradationWindow();
    GradationColors& Colors() { return m_colors; }
    const GradationColors& Colors() const { return m_colors; }
    int m_type = 0;          // 0 line, 1 rectangle, 2 circle
    double m_angle = 0.0;    // radians
    double m_centerX = 0.0;  // fractions of the rectangle
    double m_centerY = 0.0;
    void DrawItem(DRAWITEMSTRUCT* lpDrawItemStruct) override;

private:
    GradationColors m_colors;
};

// Paints the ramp of `colors` over rect: 32 bands, the channels running linearly and truncated
// toward zero, band edges truncated to whole pixels.
void DrawGradationRamp(CDC* dc, const CRect& rect, const GradationColors& colors);
