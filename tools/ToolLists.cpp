#include "tools/ToolLists.h"

#include <algorithm>

#include "model/shapes/CadShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/containers/PackShape.h"
#include "tools/PickList.h"
#include "view/TessarayView.h"

MToolLists::MToolLists()
    : m_edited(std::make_unique<MLShapeArray>(FALSE)),
      m_new(std::make_unique<MLShapeArray>(TRUE)),
      m_picks(std::make_unique<MLPointShapeArray>()) {}

MToolLists::~MToolLists() {
    m_new->DeleteAll();
}

void MToolLists::Clear() {
    m_new->DeleteAll();
    m_edited->RemoveAll();
    m_picks->RemoveAll();
}

// ----- new shapes -------------------------------------------------------------------------------

int MToolLists::NewCount() const {
    return m_new->GetSize();
}

MCadShape* MToolLists::NewShape(int index) const {
    return m_new->GetAt(index);
}

int MToolLists::NewLayer(int index) const {
    return static_cast<int>(m_new->GetValueAt(index));
}

void MToolLists::AddNew(MCadShape* shape, int layer) {
    m_new->Add(shape, static_cast<DWORD>(layer));
}

void MToolLists::SetNewShape(int index, MCadShape* shape, int layer) {
    MCadShape* old = NewShape(index);
    m_new->SetAt(index, shape, static_cast<DWORD>(layer));
    if (old != shape) delete old;
}

void MToolLists::AddNewExpanded(MCadShape* shape, int layer) {
    if (auto* pack = dynamic_cast<MPackShape*>(shape)) {
        for (int i = 0; i < pack->GetShapeCount(); ++i)
            AddNewExpanded(pack->GetShapeAt(i), layer);
        return;
    }
    AddNew(shape, layer);
}

void MToolLists::InsertNewExpanded(int position, MCadShape* shape, int layer) {
    if (auto* pack = dynamic_cast<MPackShape*>(shape)) {
        for (int i = 0; i < pack->GetShapeCount(); ++i) {
            const int before = NewCount();
            InsertNewExpanded(position, pack->GetShapeAt(i), layer);
            position += NewCount() - before;
        }
        return;
    }
    m_new->InsertAt(std::clamp(position, 0, NewCount()), shape, static_cast<DWORD>(layer));
}

void MToolLists::RecalcNew(MTessarayView* view) {
    m_new->Recalc(view);
}

// ----- edited shapes ----------------------------------------------------------------------------

int MToolLists::EditedCount() const {
    return m_edited->GetSize();
}

MCadShape* MToolLists::Edited(int index) const {
    return m_edited->GetAt(index);
}

int MToolLists::EditedLayer(int index) const {
    return static_cast<int>(m_edited->GetValueAt(index));
}

void MToolLists::AddEdited(MCadShape* shape, int layer) {
    m_edited->Add(shape, static_cast<DWORD>(layer));
}

void MToolLists::ForgetEdited() {
    m_edited->RemoveAll();
}

void MToolLists::AddReplacement(MCadShape* copy, int pickIndex) {
    if (!copy) return;
    std::unique_ptr<MCadShape> owned(copy);
    const int layer = PickLayer(pickIndex);
    AddEdited(Pick(pickIndex), layer);
    try {
        m_new->Add(copy, static_cast<DWORD>(layer));
    } catch (...) {
        m_edited->RemoveAt(EditedCount() - 1);
        throw;
    }
    owned.release();
}

// ----- picks ------------------------------------------------------------------------------------

int MToolLists::PickCount() const {
    return m_picks->GetSize();
}

MCadShape* MToolLists::Pick(int index) const {
    return m_picks->GetShape(index);
}

MFloatPoint MToolLists::PickPoint(int index) const {
    return m_picks->GetPoint(index);
}

int MToolLists::PickLayer(int index) const {
    return m_picks->GetLayer(index);
}

void MToolLists::AddPick(MCadShape* shape, const MFloatPoint& point, int layer) {
    m_picks->Add(shape, point, layer);
}

int MToolLists::RemovePick(MCadShape* shape) {
    return m_picks->Remove(shape);
}

void MToolLists::RemovePickAt(int index) {
    m_picks->RemoveAt(index);
}

void MToolLists::ClearPicks() {
    m_picks->RemoveAll();
}
