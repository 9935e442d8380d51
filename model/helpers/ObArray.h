// The serializable object array that owns its elements (base of the layer array and the parts lists).
#pragma once

#include "platform/Archive.h"
#include "platform/Object.h"

class MObArray : public CObject, public CObArray {
    DECLARE_SERIAL(MObArray)
public:
    MObArray() = default;
    // Deletes every element.
    ~MObArray() override;
    MObArray(const MObArray&) = delete;
    MObArray& operator=(const MObArray&) = delete;

    // Count, then each element by runtime class. Loading first deletes the current elements; each
    // loaded element must be a new object of the archive (a back-reference would give it two owners
    // and raises the archive exception). After a failed load the array holds the elements read so
    // far, which it owns.
    void Serialize(CArchive& ar) override;
    // Deletes every non-null element, then empties the array. RemoveAll and RemoveAt only forget.
    virtual void DeleteAll();
    // Index of the first element that is obj, or -1.
    virtual int Find(const CObject* obj) const;
    // Takes the first element that is obj out without deleting it; its former index, or -1.
    virtual int Remove(const CObject* obj);
};
