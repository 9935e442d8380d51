// Runtime classes: creation by class name, schemas, IsKindOf, and the registry of serializable classes.
#pragma once

#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

class CArchive;
class CObject;

// Set on a declared schema: loading accepts any stored schema and reports it through GetObjectSchema.
constexpr UINT VERSIONABLE_SCHEMA = 0x80000000u;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // 0xFFFF: not serializable
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
    bool IsSerializable() const { return m_wSchema != 0xFFFF; }

    // Looks a class up among the registered ones; null when unknown.
    static const CRuntimeClass* FromName(std::string_view name);

    // The archive form of a class reference: schema (16 bits), name length (16 bits), name bytes.
    void Store(CArchive& ar) const;
    // Null when the stored name is too long, unreadable or not registered.
    static const CRuntimeClass* Load(CArchive& ar, UINT* storedSchema);
};

// Registration is explicit and ordered (see RegisterSerializableClasses in the layers' start-up code).
// Registering a class twice is harmless.
void AfxRegisterClass(const CRuntimeClass* cls);
const std::vector<const CRuntimeClass*>& AfxRegisteredClasses();

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);

    bool IsKindOf(const CRuntimeClass* cls) const;
    bool IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

    static const CRuntimeClass classCObject;
    static const CRuntimeClass* GetThisClass() { return &classCObject; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)               \
public:                                           \
    static const CRuntimeClass class##class_name; \
    static const CRuntimeClass* GetThisClass() { return &class##class_name; } \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define TESSARAY_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, create)                   \
    const CRuntimeClass class_name::class##class_name = {#class_name, static_cast<int>(sizeof(class_name)), \
                                                         schema, create, RUNTIME_CLASS(base_class_name)};  \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    TESSARAY_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                         \
    CObject* class_name::CreateObject() { return new class_name; }               \
    TESSARAY_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                   \
    CObject* class_name::CreateObject() { return new class_name; }               \
    TESSARAY_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)

// The element type of object arrays that archives serialize.
class CObArray {
public:
    CObArray() = default;
    virtual ~CObArray() = default;
    CObArray(const CObArray&) = default;
    CObArray& operator=(const CObArray&) = default;

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_data.empty(); }
    void SetSize(int n) { m_data.resize(n > 0 ? n : 0, nullptr); }
    // Room for n elements without changing the contents, so that n Adds allocate once.
    void Reserve(int n) { m_data.reserve(static_cast<std::size_t>(n > 0 ? n : 0)); }
    // Index checks raise the invalid-argument exception instead of reading outside the array.
    CObject* GetAt(int i) const;
    void SetAt(int i, CObject* p);
    CObject*& ElementAt(int i);
    CObject* operator[](int i) const { return GetAt(i); }
    int Add(CObject* p) {
        m_data.push_back(p);
        return GetSize() - 1;
    }
    void InsertAt(int i, CObject* p, int count = 1);
    void RemoveAt(int i, int count = 1);
    void RemoveAll() { m_data.clear(); }
    CObject** GetData() { return m_data.data(); }
    CObject* const* GetData() const { return m_data.data(); }

    // Count, then every element through the archive's object form.
    void Serialize(CArchive& ar);

protected:
    std::vector<CObject*> m_data;
};
