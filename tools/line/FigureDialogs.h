// The numeric dialogs of the rectangle and regular-polygon tools.
#pragma once

#include "tools/input/NumericEntryDialog.h"

// Dialog 164 "正ｎ多角形": radius (drawing units) and angle (radians) with their locks through the
// base; the number of sides and the circumscribed flag are read back from the members on OK.
// Refused, the dialog staying open: an angle outside -360 ... 360 degrees or more than kMaxSides
// sides (the framework's range message), fewer than kMinSides (62681), a ticked radius not above 0
// (62679).
class MInputNPolygon : public MNumericEntryDialog {
public:
    static constexpr int kMinSides = 3;
    // Each side is a vertex the polygon follows the pointer with; beyond this it is a circle.
    static constexpr int kMaxSides = 10000;

    MInputNPolygon(MTessarayView* view, double* radius, BOOL* radiusLocked, double* angle, BOOL* angleLocked);

    int m_sides = 6;
    int m_circumscribed = 1;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
