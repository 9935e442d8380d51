#include "model/shapes/ShapeEditors.h"

#include <utility>
#include <vector>

#include "model/shapes/CadShape.h"
#include "platform/Object.h"

namespace {

using EditorTable = std::vector<std::pair<const CRuntimeClass*, MShapeEditor>>;

// Filled once at start-up; a few entries, so a list beats a map.
EditorTable& Editors() {
    static auto& table = *new EditorTable;
    return table;
}

MShapeEditor FindEditor(const MCadShape& shape) {
    const EditorTable& table = Editors();
    for (const CRuntimeClass* cls = shape.GetRuntimeClass(); cls; cls = cls->m_pBaseClass) {
        for (const auto& [registered, editor] : table)
            if (registered == cls) return editor;
    }
    return nullptr;
}

}  // namespace

void RegisterShapeEditor(const CRuntimeClass* shapeClass, MShapeEditor editor) {
    if (!shapeClass || !editor) return;
    for (auto& entry : Editors()) {
        if (entry.first == shapeClass) {
            entry.second = editor;
            return;
        }
    }
    Editors().emplace_back(shapeClass, editor);
}

BOOL CanEditShape(const MCadShape& shape) {
    return FindEditor(shape) ? TRUE : FALSE;
}

BOOL EditShape(MCadShape& shape, MCadView* view) {
    const MShapeEditor editor = FindEditor(shape);
    return editor ? editor(shape, view) : FALSE;
}
