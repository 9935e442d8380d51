#include "tools/input/ShapeDialogFactory.h"

#include "model/CadView.h"
#include "platform/ui/Wnd.h"
#include "tools/dimension/SizeDialogs.h"

namespace {

CWnd* ParentWindow(MCadView* view) {
    return dynamic_cast<CWnd*>(view);
}

}  // namespace

std::unique_ptr<MInputSizeTextDialog> MToolShapeDialogFactory::CreateInputSizeTextDialog(MCadView* parent,
                                                                                         MCadShape*) {
    return std::make_unique<MToolInputSizeTextDialog>(ParentWindow(parent));
}

std::unique_ptr<MSizeSetupDialog> MToolShapeDialogFactory::CreateSizeSetupDialog(MCadView* parent,
                                                                                 const MSizeStyle* initial) {
    return std::make_unique<MToolSizeSetupDialog>(ParentWindow(parent), initial);
}

void InstallToolShapeDialogs() {
    static MToolShapeDialogFactory factory;
    SetShapeDialogFactory(&factory);
}
