#include "interchange/DxfBlockCopy.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/curves/SplineShapeBase.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "model/shapes/text/TextShapeBase.h"

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

namespace {

double Reach(double reach, double value) {
    const double v = std::fabs(value);
    return std::isnan(v) ? std::numeric_limits<double>::infinity() : std::max(reach, v);
}

double Reach(double reach, const MFloatPoint& p, const MFloatPoint& from) {
    return Reach(Reach(reach, p.x - from.x), p.y - from.y);
}

}  // namespace

double ReachOf(const MCadShape& shape, const MFloatPoint& from) {
    double reach = 0.0;
    if (const auto* group = dynamic_cast<const MGroupShape*>(&shape)) {
        if (group->HasBasePoint()) reach = Reach(reach, group->GetBasePoint(), from);
        for (int i = 0; i < group->GetShapeCount(); ++i)
            if (const MCadShape* member = group->GetShapeAt(i))
                reach = std::max(reach, ReachOf(*member, from));
        return reach;
    }
    if (const auto* text = dynamic_cast<const MTextShapeBase*>(&shape)) {
        reach = Reach(reach, text->GetPoint(), from);
        reach = Reach(reach, text->GetTextSize());
        reach = Reach(reach, text->GetBoxWidth());
        return Reach(reach, text->GetBoxHeight());
    }
    if (const auto* line = dynamic_cast<const MLineShape*>(&shape))
        return Reach(Reach(reach, line->m_start, from), line->m_end, from);
    if (const auto* spline = dynamic_cast<const MSplineShapeBase*>(&shape)) {
        const MFloatPointArray& points = spline->GetControlPoints();
        for (int i = 0; i < points.GetSize(); ++i)
            reach = Reach(reach, points[i], from);
    }
    const MFloatPointArray& points = shape.GetPoints();
    for (int i = 0; i < points.GetSize(); ++i)
        reach = Reach(reach, points[i], from);
    return reach;
}

int NestingOf(const MCadShape& shape) {
    const auto* group = dynamic_cast<const MGroupShape*>(&shape);
    if (!group) return 0;
    int deepest = 0;
    for (int i = 0; i < group->GetShapeCount(); ++i)
        if (const MCadShape* member = group->GetShapeAt(i)) deepest = std::max(deepest, NestingOf(*member));
    return deepest + 1;
}
