// The layers of a drawing in display order; the array owns them.
#pragma once

#include "document/Layer.h"
#include "model/helpers/ObArray.h"

class MLayerArray : public MObArray {
    DECLARE_SERIAL(MLayerArray)
public:
    MLayerArray() = default;
    ~MLayerArray() override;

    // The object array's form. Loading accepts only layers: any other class (or a null entry)
    // raises the archive exception, and the array is then empty.
    void Serialize(CArchive& ar) override;

    // An index outside the array raises the invalid-argument exception.
    MLayer* GetLayer(int index) const { return static_cast<MLayer*>(GetAt(index)); }
};
