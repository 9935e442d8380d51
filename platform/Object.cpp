#include "platform/Object.h"

#include <cstring>
#include <string>
#include <unordered_map>

#include "platform/Archive.h"
#include "platform/Exceptions.h"

namespace {
struct Registry {
    std::vector<const CRuntimeClass*> ordered;
    std::unordered_map<std::string, const CRuntimeClass*> byName;
};
Registry& GetRegistry() {
    static Registry registry;
    return registry;
}
}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF, nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }
void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

CObject* CRuntimeClass::CreateObject() const {
    if (!m_pfnCreateObject) return nullptr;
    return m_pfnCreateObject();
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base) return true;
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name) {
    const auto& map = GetRegistry().byName;
    auto it = map.find(std::string(name));
    return it == map.end() ? nullptr : it->second;
}

void CRuntimeClass::Store(CArchive& ar) const {
    const auto len = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << len;
    ar.Write(m_lpszClassName, len);
}

const CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* storedSchema) {
    WORD schema = 0, len = 0;
    ar >> schema >> len;
    if (len >= 64) return nullptr;  // no registered name is that long
    char name[64];
    ar.Read(name, len);
    if (storedSchema) *storedSchema = schema;
    return FromName(std::string_view(name, len));
}

void AfxRegisterClass(const CRuntimeClass* cls) {
    auto& reg = GetRegistry();
    if (reg.byName.emplace(cls->m_lpszClassName, cls).second) reg.ordered.push_back(cls);
}

const std::vector<const CRuntimeClass*>& AfxRegisteredClasses() { return GetRegistry().ordered; }

CObject* CObArray::GetAt(int i) const {
    if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
    return m_data[i];
}

void CObArray::SetAt(int i, CObject* p) {
    if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
    m_data[i] = p;
}

CObject*& CObArray::ElementAt(int i) {
    if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
    return m_data[i];
}

void CObArray::InsertAt(int i, CObject* p, int count) {
    if (i < 0 || count < 0) AfxThrowInvalidArgException();
    if (i > GetSize()) m_data.resize(i, nullptr);
    m_data.insert(m_data.begin() + i, count, p);
}

void CObArray::RemoveAt(int i, int count) {
    if (i < 0 || count < 0 || i + count > GetSize()) AfxThrowInvalidArgException();
    m_data.erase(m_data.begin() + i, m_data.begin() + i + count);
}

void CObArray::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(m_data.size());
        for (CObject* p : m_data) ar << p;
        return;
    }
    const DWORD n = ar.ReadCount();
    ar.CheckCount(n, 2);  // every element takes at least its tag
    m_data.assign(n, nullptr);
    for (DWORD i = 0; i < n; ++i) ar >> m_data[i];
}
