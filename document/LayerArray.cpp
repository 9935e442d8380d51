#include "document/LayerArray.h"

IMPLEMENT_SERIAL(MLayerArray, MObArray, 1)

MLayerArray::~MLayerArray() = default;

void MLayerArray::Serialize(CArchive& ar) {
    MObArray::Serialize(ar);
    if (ar.IsStoring()) return;
    for (int i = 0; i < GetSize(); ++i) {
        const CObject* element = GetAt(i);
        if (!element || !element->IsKindOf(RUNTIME_CLASS(MLayer))) {
            DeleteAll();
            AfxThrowArchiveException(CArchiveException::badClass);
        }
    }
}
