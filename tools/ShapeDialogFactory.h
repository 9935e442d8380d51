// The tools' factory of the dialogs that shapes and the view open through the model's interfaces
// (model/shapes/ShapeDialogs.h). Dialogs not made here yet are the model's, which cancel.
#pragma once

#include "model/shapes/ShapeDialogs.h"

class MToolShapeDialogFactory : public MShapeDialogFactory {
public:
    std::unique_ptr<MInputSizeTextDialog> CreateInputSizeTextDialog(MCadView* parent,
                                                                    MCadShape* shape) override;
    std::unique_ptr<MSizeSetupDialog> CreateSizeSetupDialog(MCadView* parent,
                                                            const MSizeStyle* initial) override;
    std::unique_ptr<MInputLabelDialog> CreateInputLabelDialog(MCadView* parent) override;
    std::unique_ptr<MInputBalloonDialog> CreateInputBalloonDialog(MCadView* parent) override;
    std::unique_ptr<MTextInputDialog> CreateTextInputDialog() override;
    std::unique_ptr<MInputMultiTextDialog> CreateInputMultiTextDialog() override;
};

// Installs the program's one tools factory (which lives for the whole run) and the shape editors
// that open its dialogs (tools/ShapeEditors.h).
void InstallToolShapeDialogs();
