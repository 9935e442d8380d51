#include "app/parts/PartsListCtrl.h"

void MPartsListCtrl::OnBeginDrag(int nItem) {
    if (m_dragging || !m_dragStarter) return;
    m_dragging = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{m_dragging};
    m_dragStarter(nItem);
}
