// Walks and queries over the shapes of an array, skipping empty slots; shared by the group and the
// selection list.
#pragma once

#include "model/shapes/CadShape.h"
#include "model/shapes/containers/ShapeArray.h"

template <class Fn>
void ForEachShape(MShapeArray& shapes, Fn fn) {
    for (int i = 0; i < shapes.GetSize(); ++i)
        if (MCadShape* s = shapes.GetAt(i)) fn(s);
}

template <class Fn>
void ForEachShape(const MShapeArray& shapes, Fn fn) {
    for (int i = 0; i < shapes.GetSize(); ++i)
        if (const MCadShape* s = shapes.GetAt(i)) fn(s);
}

// The shapes' common value, or mixed when they differ or there are none; with textOnly only the
// shapes that have text count.
template <class T, class Get>
T CommonShapeValue(const MShapeArray& shapes, Get get, T mixed, BOOL textOnly = FALSE) {
    bool first = true;
    T value = mixed;
    for (int i = 0; i < shapes.GetSize(); ++i) {
        const MCadShape* s = shapes.GetAt(i);
        if (!s || (textOnly && !s->HasText())) continue;
        const T v = get(s);
        if (first) {
            value = v;
            first = false;
        } else if (!(v == value)) {
            return mixed;
        }
    }
    return value;
}

// Whether there is a shape with text and every shape with text satisfies pred.
template <class Pred>
BOOL AllTextShapes(const MShapeArray& shapes, Pred pred) {
    BOOL any = FALSE;
    for (int i = 0; i < shapes.GetSize(); ++i) {
        const MCadShape* s = shapes.GetAt(i);
        if (!s || !s->HasText()) continue;
        any = TRUE;
        if (!pred(s)) return FALSE;
    }
    return any;
}
