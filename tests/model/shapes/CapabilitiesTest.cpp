#include <gtest/gtest.h>

#include <memory>

#include "model/shapes/ShapeFactory.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

// What each kind lets the select tool do and what a snap on it can fix.
TEST(Capabilities, EveryKindAnswersAsItAlwaysDid) {
    EnsureRegistered();
    constexpr int kRotate = kShapeCanRotate, kReshape = kShapeCanReshape, kEdits = kShapeCanEdit;
    constexpr int kDirection = kShapeHasDirection, kNormal = kShapeHasNormal, kTangent = kShapeHasTangent;
    const int outline = kEdits | kDirection | kNormal;
    const struct {
        short id;
        int expected;
    } rows[] = {
        {kShapeLine, outline},
        {kShapeCircle, kEdits | kTangent},
        {kShapeArc, kEdits | kTangent},
        {kShapeFan, kEdits | kTangent},
        {kShapeEllipse, kEdits},
        {kShapeRect, outline},
        {kShapePolygon, outline},
        {kShapeGroup, kEdits},
        {kShapeSpline, outline},
        {kShapeSplineLoop, outline},
        {kShapeSize, kEdits},
        {kShapeRadius, kEdits},
        {kShapeDiameter, kEdits},
        {kShapeAngle, kEdits},
        {kShapeText, kRotate | kReshape},
        {kShapeMultiText, kRotate | kReshape},
        {kShapeMark, kEdits},
        {kShapeBitmap, kEdits},
        {kShapeLabel, kEdits},
        {kShapeBalloon, kEdits},
    };
    for (const auto& row : rows) {
        std::unique_ptr<MCadShape> shape(GetShapeFactory().CreateById(row.id));
        ASSERT_TRUE(shape) << row.id;
        const int got = shape->GetCapabilities();
        EXPECT_EQ(got, row.expected) << GetShapeKeyword(row.id);
    }
    // A group allows the edits all its members allow, and fixes nothing of a snapped line.
    MGroupShape group;
    group.AddShape(new MLineShape({0, 0}, {1, 1}));
    group.AddShape(new MTextShape);
    EXPECT_EQ(group.GetCapabilities(), kShapeCanRotate | kShapeCanReshape);
}
