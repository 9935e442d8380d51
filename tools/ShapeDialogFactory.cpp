#include "tools/ShapeDialogFactory.h"

#include "model/CadView.h"
#include "platform/ui/Wnd.h"
#include "tools/ShapeEditors.h"
#include "tools/dimension/SizeDialogs.h"
#include "tools/text/LabelDialogs.h"
#include "tools/text/TextDialogs.h"

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

std::unique_ptr<MInputLabelDialog> MToolShapeDialogFactory::CreateInputLabelDialog(MCadView* parent) {
    return std::make_unique<MToolInputLabelDialog>(ParentWindow(parent));
}

std::unique_ptr<MInputBalloonDialog> MToolShapeDialogFactory::CreateInputBalloonDialog(MCadView* parent) {
    return std::make_unique<MToolInputBalloonDialog>(ParentWindow(parent));
}

std::unique_ptr<MTextInputDialog> MToolShapeDialogFactory::CreateTextInputDialog() {
    return std::make_unique<MToolTextInputDialog>(nullptr);
}

std::unique_ptr<MInputMultiTextDialog> MToolShapeDialogFactory::CreateInputMultiTextDialog() {
    return std::make_unique<MToolInputMultiTextDialog>(nullptr);
}

void InstallToolShapeDialogs() {
    static MToolShapeDialogFactory factory;
    SetShapeDialogFactory(&factory);
    InstallToolShapeEditors();
}
