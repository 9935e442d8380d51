#include "model/helpers/ObArray.h"

#include <unordered_set>
#include <utility>
#include <vector>

IMPLEMENT_SERIAL(MObArray, CObject, 1)

MObArray::~MObArray() {
    MObArray::DeleteAll();
}

void MObArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_data.size());
        for (const CObject* p : m_data)
            ar.WriteObject(p);
        return;
    }
    DeleteAll();
    const DWORD n = ar.ReadCount();
    ar.CheckCount(n, 2);  // every element takes at least its tag
    m_data.reserve(n);
    // Each element is in the array as soon as it is complete, so a failure further on leaves it owned.
    for (DWORD i = 0; i < n; ++i)
        m_data.push_back(ar.ReadOwnedObject(nullptr));
}

void MObArray::DeleteAll() {
    // The array is empty before any destructor runs, so an element that looks back at the array
    // finds nothing half-deleted; an object held twice is deleted once.
    std::vector<CObject*> elements;
    elements.swap(m_data);
    std::unordered_set<CObject*> deleted;
    for (CObject* p : elements) {
        if (p && deleted.insert(p).second) delete p;
    }
}

int MObArray::Find(const CObject* obj) const {
    for (std::size_t i = 0; i < m_data.size(); ++i) {
        if (m_data[i] == obj) return static_cast<int>(i);
    }
    return -1;
}

int MObArray::Remove(const CObject* obj) {
    const int i = Find(obj);
    if (i >= 0) m_data.erase(m_data.begin() + i);
    return i;
}
