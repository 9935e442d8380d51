#include "interchange/DxfBlockCopy.h"

#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"

namespace {

// The classes the reader builds; their turned copies are of the same class, so a group turns them
// with their own Rotate. Exact classes: a subclass may turn into something else.
bool KeepsClassWhenTurned(const CRuntimeClass* cls) {
    static const CRuntimeClass* const kClasses[] = {
        RUNTIME_CLASS(MLineShape),      RUNTIME_CLASS(MPolygonShape),   RUNTIME_CLASS(MCircleShape),
        RUNTIME_CLASS(MCircleArcShape), RUNTIME_CLASS(MTextShape),      RUNTIME_CLASS(MMultiTextShape),
        RUNTIME_CLASS(MSplineShape),    RUNTIME_CLASS(MSplineLoopShape)};
    for (const CRuntimeClass* known : kClasses)
        if (cls == known) return true;
    return false;
}

void TurnMembers(MGroupShape& group, double cx, double cy, double angle) {
    for (int i = 0; i < group.GetShapeCount(); ++i) {
        MCadShape* member = group.GetShapeAt(i);
        if (!member) continue;
        if (member->GetRuntimeClass() == RUNTIME_CLASS(MGroupShape))
            TurnMembers(*static_cast<MGroupShape*>(member), cx, cy, angle);
        else
            member->Rotate(cx, cy, angle);
    }
    if (group.HasBasePoint()) group.SetBasePoint(group.GetBasePoint().GetRotatedAbout({cx, cy}, angle));
}

}  // namespace

bool TurnsInPlace(const MCadShape* shape) {
    if (!shape) return true;
    if (shape->GetRuntimeClass() != RUNTIME_CLASS(MGroupShape))
        return KeepsClassWhenTurned(shape->GetRuntimeClass());
    const auto* group = static_cast<const MGroupShape*>(shape);
    for (int i = 0; i < group->GetShapeCount(); ++i)
        if (!TurnsInPlace(group->GetShapeAt(i))) return false;
    return true;
}

void TurnPlacedCopy(MGroupShape& copy, double cx, double cy, double angle) {
    if (TurnsInPlace(&copy))
        TurnMembers(copy, cx, cy, angle);
    else
        copy.Rotate(cx, cy, angle);
}
