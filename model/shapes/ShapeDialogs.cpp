#include "model/shapes/ShapeDialogs.h"

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

MShapeDialogFactory* g_factory = nullptr;

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
    MShapeDialogFactory* previous = g_factory ? g_factory : &DefaultFactory();
    g_factory = factory;
    return previous;
}

MShapeDialogFactory& GetShapeDialogFactory() {
    return g_factory ? *g_factory : DefaultFactory();
}

BOOL IsDefaultShapeDialogFactory() {
    return g_factory == nullptr || g_factory == &DefaultFactory() ? TRUE : FALSE;
}
