// Shape type ids and keywords. Shapes include this header for their own id; only the code that makes
// shapes by id or keyword needs the factory.
#pragma once

#include <string_view>
#include <vector>

// Type ids of the concrete shape classes (15, 16 and 19 are not used).
enum : short {
    kShapeLine = 1,
    kShapeCircle = 2,
    kShapeArc = 3,
    kShapeFan = 4,
    kShapeEllipse = 5,
    kShapeRect = 6,
    kShapePolygon = 7,
    kShapeGroup = 8,
    kShapeSpline = 9,
    kShapeSplineLoop = 10,
    kShapeSize = 11,
    kShapeRadius = 12,
    kShapeDiameter = 13,
    kShapeAngle = 14,
    kShapeText = 17,
    kShapeMultiText = 18,
    kShapeMark = 20,
    kShapeOle2 = 21,
    kShapeBitmap = 22,
    kShapeLabel = 23,
    kShapeBalloon = 24,
};

struct MShapeType {
    short id;
    const char* keyword;
};
// The 21 type ids and keywords in ascending id order.
const std::vector<MShapeType>& GetShapeTypes();
// The keyword of an id (low 16 bits compared), or null.
const char* GetShapeKeyword(int id);
// The id of a keyword (exact, case-sensitive), or 0.
short GetShapeTypeId(std::string_view keyword);
