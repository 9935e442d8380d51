// The parts bar's icon list: item i is part i of the current list. Dragging an item carries the
// part to the drawing view (PartsDrag.h).
#pragma once

#include <functional>

#include "platform/ui/IconListCtrl.h"

class MPartsListCtrl : public CIconListCtrl {
public:
    // Runs the drag of an item; the bar installs it.
    using DragStarter = std::function<void(int item)>;
    void SetDragStarter(DragStarter starter) { m_dragStarter = std::move(starter); }
    // Ignored while a drag is on.
    void OnBeginDrag(int nItem) override;
    bool IsDragging() const { return m_dragging; }

private:
    DragStarter m_dragStarter;
    bool m_dragging = false;
};
