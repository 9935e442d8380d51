#include "view/ClassRegistry.h"

#include "document/ClassRegistry.h"
#include "model/shapes/ShapeFactory.h"
#include "platform/Object.h"
#include "view/ole/CntrItem.h"
#include "view/ole/OleClientShape.h"

namespace {

MCadShape* CreateOleClientShape() {
    return new MOleClientShape;
}

}  // namespace

void RegisterViewClasses() {
    RegisterDocumentClasses();
    AfxRegisterClass(RUNTIME_CLASS(MOleClientShape));
    AfxRegisterClass(RUNTIME_CLASS(MCntrItem));
    GetShapeFactory().SetCreator(kShapeOle2, CreateOleClientShape);
    RegisterOleClientShapeEditor();
}
