#include "model/shapes/containers/PackShape.h"

#include "platform/Archive.h"

IMPLEMENT_SERIAL(MPackShape, MCadShape, 1)

MPackShape::MPackShape() : m_members(std::make_unique<MShapeArray>(FALSE)) {
    SetDrawExtent(MFloatRect());
}

MPackShape::~MPackShape() {
    // The members belong to their layers.
    m_members->SetOwner(FALSE);
}

void MPackShape::Serialize(CArchive& ar) {
    MCadShape::Serialize(ar);
    m_members->Serialize(ar);
    // Whatever the archive said, the pack never deletes its members.
    m_members->SetOwner(FALSE);
    if (ar.IsStoring()) return;
    // Whoever takes the pack apart takes each member as a shape: empty (null) entries go.
    for (int i = m_members->GetSize() - 1; i >= 0; --i)
        if (!m_members->GetAt(i)) m_members->RemoveAt(i);
}

void MPackShape::Render(MCadView* view, CDC* dc, MDrawMode mode) {
    if (mode == MDrawMode::kNormal) m_members->DrawAll(view, dc);
}

void MPackShape::Move(const MFloatPoint& offset) {
    m_members->Move(offset);
}

void MPackShape::Invalidate(MCadView* view, BOOL erase) {
    for (int i = 0; i < m_members->GetSize(); ++i)
        if (MCadShape* s = m_members->GetAt(i)) s->Invalidate(view, erase);
}

void MPackShape::Recalc(MCadView* view) {
    if (m_members->GetSize() == 0) return;
    m_members->RecalcAll(view);
    m_extent = m_members->GetExtent();
    SetDrawExtent(m_members->GetDrawExtent());
}

bool MPackShape::HasFiniteValues() const {
    for (int i = 0; i < m_members->GetSize(); ++i)
        if (!m_members->GetAt(i)->HasFiniteValues()) return false;
    return MCadShape::HasFiniteValues();
}
