#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "model/shapes/ShapeFactory.h"
#include "model/shapes/ShapeTypes.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

// Readers keep no shape that fails the test, so every kind must see its own coordinates: a kind
// that leaves them to the base would let an infinite one into a drawing and lose it on reopening.
TEST(FiniteValues, EveryKindSeesAnInfiniteCoordinate) {
    EnsureRegistered();
    for (const auto& type : GetShapeTypes()) {
        if (type.id == kShapeOle2) continue;  // made by the view's layer
        std::unique_ptr<MCadShape> shape(GetShapeFactory().CreateById(type.id));
        ASSERT_TRUE(shape) << type.id;
        if (auto* group = dynamic_cast<MGroupShape*>(shape.get());
            group && group->GetMembers().GetSize() == 0)
            group->AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(1, 1)));
        if (auto* polygon = dynamic_cast<MPolygonShape*>(shape.get());
            polygon && polygon->GetPoints().GetSize() == 0)
            for (const MFloatPoint& p : {MFloatPoint(0, 0), MFloatPoint(1, 0), MFloatPoint(1, 1)})
                polygon->AddPoint(p);
        EXPECT_TRUE(shape->HasFiniteValues()) << type.id;
        shape->Move(MFloatPoint(INFINITY, 0.0));
        EXPECT_FALSE(shape->HasFiniteValues()) << type.id;
    }
}

TEST(FiniteValues, StrokeWidthAndArrowSizesCount) {
    MLineShape line(MFloatPoint(0, 0), MFloatPoint(1, 1));
    line.ChangeStroke(MStrokeChange::Width(NAN));
    EXPECT_FALSE(line.HasFiniteValues());
    MLineShape arrows(MFloatPoint(0, 0), MFloatPoint(1, 1));
    arrows.SetArrows(MArrowInfo(1, INFINITY, 0, 0.0));
    EXPECT_FALSE(arrows.HasFiniteValues());
}
