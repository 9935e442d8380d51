// What the view and the tools ask of the main frame, which lives in the application layer: the
// zoom combo of its toolbar, the parts bar, the attribute sub-menus. The frame implements it; the
// view finds it as the application's main window.
#pragma once

#include "platform/WinTypes.h"

#include <memory>

class CMenu;
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
    // Appends part to the parts bar's current list and writes that list's file. False when there
    // is no current list; the part is then dropped.
    virtual bool AddPartsToCurrentList(std::unique_ptr<MCadParts> part);
    // Fills popup with the sub-menu the frame shows for its menu item 32964 (line styles), 32793
    // (line colours) or 32794 (face colours); FALSE when it has none (the item stays as it is).
    virtual BOOL MakeAttributeMenu(UINT itemId, CMenu* popup) { return FALSE; }
};

// The main window as the view's frame; null when the main window is not one.
MViewFrame* GetViewFrame();
