#include "model/shapes/ShapeDialogs.h"
#include "platform/ProgramState.h"

#include <algorithm>

namespace {

template <class Base>
class CancellingDialog : public Base {
public:
    int DoModal() override { return 2; }  // IDCANCEL
};

MShapeDialogFactory& DefaultFactory() {
    static MShapeDialogFactory factory;
    return factory;
}

// Null: the default factory.
CProgramSlot<MShapeDialogFactory*>& FactorySlot() {
    static auto& slot = *new CProgramSlot<MShapeDialogFactory*>;
    return slot;
}

}  // namespace

CString MInputMultiTextDialog::GetText() const {
    CString text = m_text;
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

std::unique_ptr<MInputSizeTextDialog> MShapeDialogFactory::CreateInputSizeTextDialog(MCadView*, MCadShape*) {
    return std::make_unique<CancellingDialog<MInputSizeTextDialog>>();
}
std::unique_ptr<MInputLabelDialog> MShapeDialogFactory::CreateInputLabelDialog(MCadView*) {
    return std::make_unique<CancellingDialog<MInputLabelDialog>>();
}
std::unique_ptr<MInputBalloonDialog> MShapeDialogFactory::CreateInputBalloonDialog(MCadView*) {
    return std::make_unique<CancellingDialog<MInputBalloonDialog>>();
}
std::unique_ptr<MTextInputDialog> MShapeDialogFactory::CreateTextInputDialog() {
    return std::make_unique<CancellingDialog<MTextInputDialog>>();
}
std::unique_ptr<MInputMultiTextDialog> MShapeDialogFactory::CreateInputMultiTextDialog() {
    return std::make_unique<CancellingDialog<MInputMultiTextDialog>>();
}
std::unique_ptr<MSizeSetupDialog> MShapeDialogFactory::CreateSizeSetupDialog(MCadView*, const MSizeStyle*) {
    return std::make_unique<CancellingDialog<MSizeSetupDialog>>();
}

MShapeDialogFactory* SetShapeDialogFactory(MShapeDialogFactory* factory) {
    MShapeDialogFactory* previous = FactorySlot().Exchange(factory);
    return previous ? previous : &DefaultFactory();
}

MShapeDialogFactory& GetShapeDialogFactory() {
    MShapeDialogFactory* factory = FactorySlot().Get();
    return factory ? *factory : DefaultFactory();
}

BOOL IsDefaultShapeDialogFactory() {
    return &GetShapeDialogFactory() == &DefaultFactory() ? TRUE : FALSE;
}
