// Editing a shape opens dialogs, which the model does not own: the layer that owns them registers
// one editor per shape class at start-up (tools/ShapeEditors for the text and dimension shapes,
// the view for embedded objects). A shape uses the editor of its own class or, failing that, of
// its nearest base class that has one; a shape without any cannot be edited.
#pragma once

#include "platform/WinTypes.h"

class MCadShape;
class MCadView;
struct CRuntimeClass;

// Opens the editor on the shape; TRUE when something changed, FALSE when the user cancelled.
using MShapeEditor = BOOL (*)(MCadShape& shape, MCadView* view);

// Registering a class again replaces its editor.
void RegisterShapeEditor(const CRuntimeClass* shapeClass, MShapeEditor editor);
BOOL CanEditShape(const MCadShape& shape);
// The shape's editor; FALSE when it has none.
BOOL EditShape(MCadShape& shape, MCadView* view);
