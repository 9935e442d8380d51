// Growable arrays of points and doubles with the class library's array operations.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <type_traits>
#include <vector>

#include "model/geometry/FloatPoint.h"
#include "platform/Archive.h"
#include "platform/Exceptions.h"
#include "platform/WinTypes.h"

// Index checks raise the invalid-argument exception instead of touching memory outside the array.
template <class T>
class MValueArray {
    static_assert(std::is_trivially_copyable_v<T>, "elements are archived as raw bytes");

public:
    MValueArray() = default;
    // Not virtual: nothing deletes an array through this base, and the table pointer would cost
    // every polyline-family shape 8 bytes.
    ~MValueArray() = default;
    MValueArray(const MValueArray&) = default;
    MValueArray& operator=(const MValueArray&) = default;
    MValueArray(MValueArray&&) noexcept = default;
    MValueArray& operator=(MValueArray&&) noexcept = default;

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_data.empty(); }
    // growBy is accepted for the class library's signature; the vector manages its own growth.
    void SetSize(int n, int growBy = -1) {
        if (n < 0) AfxThrowInvalidArgException();
        m_data.resize(static_cast<std::size_t>(n));
    }

    const T& GetAt(int i) const { return m_data[Check(i)]; }
    void SetAt(int i, const T& v) { m_data[Check(i)] = v; }
    T& ElementAt(int i) { return m_data[Check(i)]; }
    T& operator[](int i) { return m_data[Check(i)]; }
    const T& operator[](int i) const { return m_data[Check(i)]; }

    int Add(const T& v) {
        m_data.push_back(v);
        return GetSize() - 1;
    }
    // Inserting past the end fills the gap with default values, as the class library does.
    void InsertAt(int i, const T& v, int count = 1) {
        if (i < 0 || count < 0) AfxThrowInvalidArgException();
        if (i > GetSize()) m_data.resize(static_cast<std::size_t>(i));
        m_data.insert(m_data.begin() + i, static_cast<std::size_t>(count), v);
    }
    void RemoveAt(int i, int count = 1) {
        if (i < 0 || count < 0 || i + count > GetSize()) AfxThrowInvalidArgException();
        m_data.erase(m_data.begin() + i, m_data.begin() + i + count);
    }
    void RemoveAll() { m_data.clear(); }
    T* GetData() { return m_data.data(); }
    const T* GetData() const { return m_data.data(); }

    typename std::vector<T>::iterator begin() { return m_data.begin(); }
    typename std::vector<T>::iterator end() { return m_data.end(); }
    typename std::vector<T>::const_iterator begin() const { return m_data.begin(); }
    typename std::vector<T>::const_iterator end() const { return m_data.end(); }

    // The class library's array form: count, then the raw elements. Loading replaces the contents.
    void Serialize(CArchive& ar) {
        if (ar.IsStoring())
            Store(ar);
        else
            Load(ar);
    }
    void Store(CArchive& ar) const {
        ar.WriteCount(m_data.size());
        if (!m_data.empty()) ar.Write(m_data.data(), static_cast<UINT>(m_data.size() * sizeof(T)));
    }
    void Load(CArchive& ar) {
        const DWORD n = ar.ReadCount();
        ar.CheckCount(n, sizeof(T));
        std::vector<T> data(n);
        if (n) ar.Read(data.data(), static_cast<UINT>(n * sizeof(T)));
        m_data.swap(data);
    }

protected:
    std::size_t Check(int i) const {
        if (i < 0 || i >= GetSize()) AfxThrowInvalidArgException();
        return static_cast<std::size_t>(i);
    }

    std::vector<T> m_data;
};

class MFloatPointArray : public MValueArray<MFloatPoint> {
public:
    MFloatPointArray() = default;

    // Appends every point of other, in order.
    void AddArray(const MFloatPointArray& other);
    // With wrap set the index is first taken modulo the size (C remainder: a negative index stays
    // negative). An index outside the array, or any index of an empty one, raises the
    // invalid-argument exception.
    const MFloatPoint& GetAtWrapped(int index, BOOL wrap) const;
    // Nearest first; stable for equal distances.
    void SortByDistance(const MFloatPoint& from);
    // Even-odd test against the closed polygon of the points; FALSE on a vertex or an edge and for
    // fewer than 3 points.
    BOOL IsPointInside(const MFloatPoint& p) const;

    // Text form: a line TAB count, then one line TAB x " " y per point.
    void WriteText(std::ostream& os) const;
    // Replaces the contents. The count never sizes an allocation: points are added as they are read,
    // and a stream failure ends the reading (the stream keeps its failure state).
    void ReadText(std::istream& is);
};

class MDoubleArray : public MValueArray<double> {
public:
    MDoubleArray() = default;
};

static_assert(sizeof(MFloatPoint) == 16, "points are archived as raw 16-byte elements");

inline CArchive& operator<<(CArchive& ar, const MFloatPointArray& a) {
    a.Store(ar);
    return ar;
}
inline CArchive& operator>>(CArchive& ar, MFloatPointArray& a) {
    a.Load(ar);
    return ar;
}
