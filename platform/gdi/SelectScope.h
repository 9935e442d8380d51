// A GDI object selected into a device context for the lifetime of a scope: the object that was
// selected before comes back when the scope ends, also when an exception leaves it. Declare the
// object first and the scope after it, so that the scope restores before the object goes.
//     CPen pen(PS_SOLID, 1, color);
//     CSelectScope selectPen(dc, &pen);
//     CSelectScope selectBrush(dc, NULL_BRUSH);
#pragma once

#include "platform/gdi/DC.h"

class CSelectScope {
public:
    // A null or unusable object selects nothing and restores nothing.
    CSelectScope(CDC* dc, CGdiObject* object)
        : m_dc(dc), m_previous(dc ? dc->SelectObject(object) : nullptr) {}
    // A stock object (BLACK_PEN, NULL_BRUSH ...).
    CSelectScope(CDC* dc, int stockObject)
        : m_dc(dc), m_previous(dc ? dc->SelectStockObject(stockObject) : nullptr) {}
    ~CSelectScope() {
        if (m_previous) m_dc->SelectObject(m_previous);
    }
    CSelectScope(const CSelectScope&) = delete;
    CSelectScope& operator=(const CSelectScope&) = delete;

    // The object selected before the scope (null when nothing was selected).
    CGdiObject* Previous() const { return m_previous; }

private:
    CDC* m_dc;
    CGdiObject* m_previous;
};
