// The editors of the text, label, balloon and dimension shapes: each fills its dialog from the
// shape (lengths in paper millimetres where the dialog shows them so), opens it through the shape
// dialog factory and applies it back on IDOK. Installed with the tools' dialog factory.
#pragma once

// Registers the editors with the model's table (model/shapes/ShapeEditors.h); harmless twice.
void InstallToolShapeEditors();
