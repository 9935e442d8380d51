// What the view asks of the main frame, which lives in the application layer: the zoom combo of
// its toolbar. The frame implements it; the view finds it as the application's main window.
#pragma once

#include "platform/WinTypes.h"

class CWnd;
class MCadParts;

class MViewFrame {
public:
    virtual ~MViewFrame() = default;
    // The combo's value taken to two decimals, then 1 when below 1, else its floor.
    virtual double GetZoomPercent() = 0;
    // At least 1, floored.
    virtual void SetZoomPercent(double percent) = 0;
    // The zoom combo's window (to test whether it has the keyboard focus); null when there is none.
    virtual CWnd* GetZoomEdit() = 0;
    // Loads the parts lists of the parts bar (once per run, at the view's first initial update).
    virtual void LoadPartsLists() {}
    // The part selected in the parts bar's current list; null when none.
    virtual MCadParts* GetSelectedParts() { return nullptr; }
};

// The main window as the view's frame; null when the main window is not one.
MViewFrame* GetViewFrame();
