#include "document/ClassRegistry.h"

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/LayerArray.h"
#include "document/parts/CadParts.h"
#include "model/ClassRegistry.h"

void RegisterDocumentClasses() {
    RegisterModelClasses();
    AfxRegisterClass(RUNTIME_CLASS(MLayer));
    AfxRegisterClass(RUNTIME_CLASS(MLayerArray));
    AfxRegisterClass(RUNTIME_CLASS(MDocShapeArray));
    RegisterPartsClasses();
}
