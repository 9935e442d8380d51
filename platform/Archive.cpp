#include "platform/Archive.h"

#include <bit>
#include <cstring>

#include "platform/Cp932.h"
#include "platform/File.h"

namespace {
constexpr WORD kNullTag = 0;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kClassTag = 0x8000;
constexpr DWORD kBigClassTag = 0x80000000u;
constexpr WORD kBigObjectTag = 0x7FFF;
constexpr DWORD kMaxMapCount = 0x3FFFFFFEu;
constexpr std::size_t kBufferSize = 4096;

static_assert(std::endian::native == std::endian::little, "archives are written little-endian");
}  // namespace

CArchive::CArchive(CFile* file, UINT mode)
    : m_file(file), m_loading((mode & load) != 0), m_utf8((mode & utf8) != 0) {
    if (m_loading) m_loadArray.resize(1);  // index 0 is the null object
}

CArchive::~CArchive() {
    try {
        Flush();
    } catch (...) {
        // Destructors must not throw; a failed write was already reported by Close or Flush.
    }
}

void CArchive::Close() {
    Flush();
}

void CArchive::Flush() {
    if (m_loading || m_buffer.empty()) return;
    std::vector<BYTE> pending;
    pending.swap(m_buffer);
    m_file->Write(pending.data(), static_cast<UINT>(pending.size()));
}

UINT CArchive::GetObjectSchema() {
    const UINT schema = m_objectSchema;
    m_objectSchema = static_cast<UINT>(-1);
    return schema;
}

CArchive& CArchive::PutRaw(const void* p, UINT n) {
    if (m_loading) AfxThrowArchiveException(CArchiveException::readOnly);
    const auto* b = static_cast<const BYTE*>(p);
    m_buffer.insert(m_buffer.end(), b, b + n);
    if (m_buffer.size() >= kBufferSize) Flush();
    return *this;
}

CArchive& CArchive::GetRaw(void* p, UINT n) {
    if (!m_loading) AfxThrowArchiveException(CArchiveException::writeOnly);
    if (m_file->Read(p, n) != n)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_file->GetFilePath());
    return *this;
}

void CArchive::Write(const void* data, UINT count) {
    if (count) PutRaw(data, count);
}

UINT CArchive::Read(void* data, UINT count) {
    if (count) GetRaw(data, count);
    return count;
}

std::uint64_t CArchive::BytesRemaining() const {
    if (!m_loading) return 0;
    const auto len = m_file->GetLength(), pos = m_file->GetPosition();
    return len > pos ? len - pos : 0;
}

void CArchive::CheckCount(std::uint64_t count, std::uint64_t minBytes) const {
    if (minBytes == 0) minBytes = 1;
    if (count > BytesRemaining() / minBytes)
        AfxThrowArchiveException(CArchiveException::endOfFile, m_file->GetFilePath());
}

CArchive& CArchive::operator<<(const std::string& s) {
    const std::string bytes = m_utf8 ? s : Utf8ToCp932(s);
    const std::size_t n = bytes.size();
    if (n < 0xFF) {
        *this << static_cast<BYTE>(n);
    } else if (n < 0xFFFE) {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(n);
    } else {
        *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(n);
    }
    Write(bytes.data(), static_cast<UINT>(n));
    return *this;
}

CArchive& CArchive::operator>>(std::string& s) {
    // A 0xFFFE marker announces a UTF-16 string, as Unicode builds on Windows wrote them.
    int charSize = 1;
    std::uint64_t len = 0;
    for (;;) {
        BYTE b = 0;
        *this >> b;
        if (b < 0xFF) {
            len = b;
            break;
        }
        WORD w = 0;
        *this >> w;
        if (w == 0xFFFE) {
            if (charSize == 2) AfxThrowArchiveException(CArchiveException::genericException);
            charSize = 2;
            continue;
        }
        if (w < 0xFFFF) {
            len = w;
            break;
        }
        DWORD d = 0;
        *this >> d;
        len = d;
        break;
    }
    CheckCount(len, charSize);
    std::string raw(len * charSize, '\0');
    Read(raw.data(), static_cast<UINT>(raw.size()));
    if (charSize == 2)
        s = Utf16LeToUtf8(raw);
    else
        s = m_utf8 ? std::move(raw) : Cp932ToUtf8(raw);
    return *this;
}

void CArchive::WriteCount(std::uint64_t count) {
    if (count < 0xFFFF) {
        *this << static_cast<WORD>(count);
    } else {
        *this << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(count);
    }
}

DWORD CArchive::ReadCount() {
    WORD w = 0;
    *this >> w;
    if (w != 0xFFFF) return w;
    DWORD d = 0;
    *this >> d;
    return d;
}

void CArchive::WriteClass(const CRuntimeClass* cls) {
    if (m_loading) AfxThrowArchiveException(CArchiveException::readOnly);
    if (!cls->IsSerializable()) AfxThrowNotSupportedException();
    auto it = m_storeMap.find(cls);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(kClassTag | index);
        } else {
            *this << kBigObjectTag << static_cast<DWORD>(kBigClassTag | index);
        }
        return;
    }
    *this << kNewClassTag;
    cls->Store(*this);
    if (m_mapCount >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
    m_storeMap.emplace(cls, m_mapCount++);
}

void CArchive::WriteObject(const CObject* obj) {
    if (m_loading) AfxThrowArchiveException(CArchiveException::readOnly);
    if (!obj) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(obj);
    if (it != m_storeMap.end()) {
        const DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<WORD>(index);
        } else {
            *this << kBigObjectTag << index;
        }
        return;
    }
    WriteClass(obj->GetRuntimeClass());
    if (m_mapCount >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
    m_storeMap.emplace(obj, m_mapCount++);
    // Serialize is logically const when storing.
    const_cast<CObject*>(obj)->Serialize(*this);
}

const CRuntimeClass* CArchive::ReadClassTag(const CRuntimeClass* requested, UINT* schema, DWORD* objectTag) {
    if (!m_loading) AfxThrowArchiveException(CArchiveException::writeOnly);
    WORD tag = 0;
    *this >> tag;
    DWORD obTag = 0;
    if (tag == kBigObjectTag) {
        *this >> obTag;
    } else {
        obTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & ~kClassTag);
    }
    if (!(obTag & kBigClassTag)) {
        if (!objectTag) AfxThrowArchiveException(CArchiveException::badIndex);
        *objectTag = obTag;
        return nullptr;
    }

    const CRuntimeClass* cls = nullptr;
    UINT loadedSchema = 0;
    if (tag == kNewClassTag) {
        cls = CRuntimeClass::Load(*this, &loadedSchema);
        if (!cls || !cls->IsSerializable()) AfxThrowArchiveException(CArchiveException::badClass);
        const UINT declared = cls->m_wSchema & ~VERSIONABLE_SCHEMA;
        if (declared != loadedSchema && !(cls->m_wSchema & VERSIONABLE_SCHEMA))
            AfxThrowArchiveException(CArchiveException::badSchema);
        if (m_loadArray.size() >= kMaxMapCount) AfxThrowArchiveException(CArchiveException::badIndex);
        m_loadArray.push_back({cls, nullptr, loadedSchema});
        ++m_mapCount;
    } else {
        const DWORD index = obTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].cls)
            AfxThrowArchiveException(CArchiveException::badIndex);
        cls = m_loadArray[index].cls;
        loadedSchema = m_loadArray[index].schema;
    }
    if (requested && !cls->IsDerivedFrom(requested)) AfxThrowArchiveException(CArchiveException::badClass);
    if (schema) *schema = loadedSchema;
    if (objectTag) *objectTag = obTag;
    return cls;
}

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, UINT* schema) {
    return ReadClassTag(requested, schema, nullptr);
}

void CArchive::SerializeClass(const CRuntimeClass* cls) {
    if (IsStoring()) {
        WriteClass(cls);
    } else {
        ReadClass(cls);
    }
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested) {
    return ReadObjectImpl(requested, false);
}

CObject* CArchive::ReadOwnedObject(const CRuntimeClass* requested) {
    return ReadObjectImpl(requested, true);
}

CObject* CArchive::ReadObjectImpl(const CRuntimeClass* requested, bool owned) {
    UINT schema = 0;
    DWORD obTag = 0;
    const CRuntimeClass* cls = ReadClassTag(requested, &schema, &obTag);
    if (!cls) {
        if (obTag >= m_loadArray.size() || (owned && obTag != 0))
            AfxThrowArchiveException(CArchiveException::badIndex);
        const LoadEntry& entry = m_loadArray[obTag];
        if (entry.cls && !entry.object)
            AfxThrowArchiveException(CArchiveException::badIndex);  // a class slot
        if (entry.object && requested && !entry.object->IsKindOf(requested))
            AfxThrowArchiveException(CArchiveException::badClass);
        return entry.object;
    }
    CObject* obj = cls->CreateObject();
    if (!obj) AfxThrowArchiveException(CArchiveException::badClass);
    const std::size_t slot = m_loadArray.size();
    m_loadArray.push_back({nullptr, obj, 0});
    ++m_mapCount;
    const UINT saved = m_objectSchema;
    m_objectSchema = schema;
    try {
        obj->Serialize(*this);
    } catch (...) {
        // Nobody else holds the half-read object yet.
        m_loadArray[slot].object = nullptr;
        m_loadArray[slot].cls = nullptr;
        delete obj;
        m_objectSchema = saved;
        throw;
    }
    m_objectSchema = saved;
    return obj;
}
