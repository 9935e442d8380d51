// The binary archive, in the class library's own byte layout, so that clipboard data, parts and
// duplicates stay compatible with drawings made on Windows.
//
// Layout: little-endian scalars; counts as WORD, or 0xFFFF then DWORD; strings as a length prefix
// (BYTE, or 0xFF + WORD, or 0xFF 0xFFFF + DWORD) and code page 932 bytes; objects as tags:
// 0 null, 0xFFFF new class (schema WORD, name length WORD, name), 0x8000|index class reference,
// index object reference, 0x7FFF followed by a DWORD for large indexes.
//
// Loading never trusts the data: every read is bounds-checked and anything inconsistent raises
// CArchiveException. Strings are UTF-8 in memory.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Object.h"
#include "platform/WinTypes.h"

class CDocument;
class CFile;

class CArchive {
public:
    // utf8 (with store or load) keeps strings as UTF-8 instead of code page 932: for copies that
    // never leave the program, so that no character is lost.
    enum Mode { store = 0, load = 1, utf8 = 0x100 };

    CArchive(CFile* file, UINT mode);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }
    // Strings stay UTF-8 (mode utf8) instead of code page 932.
    bool IsUtf8() const { return m_utf8; }
    CFile* GetFile() const { return m_file; }
    // Writes what is buffered to the file; called by Close and the destructor.
    void Flush();
    void Close();

    // The schema of the object being loaded, once; afterwards (UINT)-1.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT schema) { m_objectSchema = schema; }

    // Raw bytes. Read throws CArchiveException(endOfFile) when fewer than count bytes remain.
    void Write(const void* data, UINT count);
    UINT Read(void* data, UINT count);
    // Bytes left to load (loading archives only).
    std::uint64_t BytesRemaining() const;
    // Refuses a count read from the data when count elements of at least minBytes each cannot fit
    // in what remains, so that no allocation is sized by a damaged count.
    void CheckCount(std::uint64_t count, std::uint64_t minBytes) const;

    // Booleans have no archive form of their own: write BOOL (int) or BYTE explicitly.
    CArchive& operator<<(bool) = delete;
    CArchive& operator>>(bool&) = delete;
    CArchive& operator<<(BYTE v) { return PutRaw(&v, 1); }
    CArchive& operator<<(char v) { return PutRaw(&v, 1); }
    CArchive& operator<<(std::int16_t v) { return PutRaw(&v, 2); }
    CArchive& operator<<(WORD v) { return PutRaw(&v, 2); }
    CArchive& operator<<(std::int32_t v) { return PutRaw(&v, 4); }
    CArchive& operator<<(DWORD v) { return PutRaw(&v, 4); }
    CArchive& operator<<(std::int64_t v) { return PutRaw(&v, 8); }
    CArchive& operator<<(std::uint64_t v) { return PutRaw(&v, 8); }
    CArchive& operator<<(float v) { return PutRaw(&v, 4); }
    CArchive& operator<<(double v) { return PutRaw(&v, 8); }
    CArchive& operator<<(const std::string& s);
    CArchive& operator<<(const char* s) { return *this << std::string(s); }
    CArchive& operator<<(const CObject* obj) {
        WriteObject(obj);
        return *this;
    }

    CArchive& operator>>(BYTE& v) { return GetRaw(&v, 1); }
    CArchive& operator>>(char& v) { return GetRaw(&v, 1); }
    CArchive& operator>>(std::int16_t& v) { return GetRaw(&v, 2); }
    CArchive& operator>>(WORD& v) { return GetRaw(&v, 2); }
    CArchive& operator>>(std::int32_t& v) { return GetRaw(&v, 4); }
    CArchive& operator>>(DWORD& v) { return GetRaw(&v, 4); }
    CArchive& operator>>(std::int64_t& v) { return GetRaw(&v, 8); }
    CArchive& operator>>(std::uint64_t& v) { return GetRaw(&v, 8); }
    CArchive& operator>>(float& v) { return GetRaw(&v, 4); }
    CArchive& operator>>(double& v) { return GetRaw(&v, 8); }
    CArchive& operator>>(std::string& s);
    // Reads an object of class T (or derived); another class raises badClass.
    template <class T>
    CArchive& operator>>(T*& obj) {
        obj = static_cast<T*>(ReadObject(T::GetThisClass()));
        return *this;
    }
    CArchive& operator>>(CObject*& obj) {
        obj = ReadObject(nullptr);
        return *this;
    }

    void WriteCount(std::uint64_t count);
    DWORD ReadCount();

    void WriteObject(const CObject* obj);
    // requested may be null (any class). A back-reference returns an object read earlier.
    CObject* ReadObject(const CRuntimeClass* requested);
    // For owners: the stored object must be new here (or null). A back-reference, which would give
    // one object two owners, raises badIndex. The caller owns the result.
    CObject* ReadOwnedObject(const CRuntimeClass* requested);
    void WriteClass(const CRuntimeClass* cls);
    // Returns the class and its stored schema; object tags raise badIndex.
    const CRuntimeClass* ReadClass(const CRuntimeClass* requested = nullptr, UINT* schema = nullptr);
    void SerializeClass(const CRuntimeClass* cls);

    // The document being loaded or stored, for objects that need it.
    CDocument* m_pDocument = nullptr;

private:
    CArchive& PutRaw(const void* p, UINT n);
    CArchive& GetRaw(void* p, UINT n);
    const CRuntimeClass* ReadClassTag(const CRuntimeClass* requested, UINT* schema, DWORD* objectTag);
    CObject* ReadObjectImpl(const CRuntimeClass* requested, bool owned);

    struct LoadEntry {
        const CRuntimeClass* cls = nullptr;
        CObject* object = nullptr;
        UINT schema = 0;
    };

    CFile* m_file;
    bool m_loading;
    bool m_utf8;
    UINT m_objectSchema = static_cast<UINT>(-1);
    std::vector<BYTE> m_buffer;  // pending output
    DWORD m_mapCount = 1;
    std::unordered_map<const void*, DWORD> m_storeMap;
    std::vector<LoadEntry> m_loadArray;
};
