// Shape type ids and keywords, the program-wide factory of shapes, and the text form of one shape.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

class CDocument;
class MCadShape;

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

// Makes one shape of a class with its default constructor.
using MShapeCreator = MCadShape* (*)();

// The prototype list: one object of every creatable class, in ascending type id. Prototypes are
// built on first use from the creators known at that moment; a class whose creator is not known
// (its layer has not registered it) is absent. Callers read prototypes and never change or delete
// them.
class MCadShapeFactory {
public:
    MCadShapeFactory() = default;
    virtual ~MCadShapeFactory();
    MCadShapeFactory(const MCadShapeFactory&) = delete;
    MCadShapeFactory& operator=(const MCadShapeFactory&) = delete;

    int GetCount();
    // An index outside [0, count) raises the invalid-argument exception.
    MCadShape* GetAt(int index);
    // A new shape whose type id equals the low 16 bits of id; null when none.
    MCadShape* CreateById(int id);
    // A new shape of that keyword (exact, case-sensitive); null when none.
    MCadShape* CreateByName(std::string_view keyword);

    // Tells the factory how to make the class of a type id (the layers above the model register
    // their shape classes at start-up). An id outside the table raises the invalid-argument
    // exception. A prototype already built is replaced.
    void SetCreator(short id, MShapeCreator creator);

private:
    void Build();
    void Insert(MCadShape* prototype);

    std::vector<MCadShape*> m_prototypes;
};

// The factory of the program.
MCadShapeFactory& GetShapeFactory();

// Writes the keyword line, then the shape's own text form.
void WriteShapeText(CDocument* doc, std::ostream& os, const MCadShape* shape);
// Skips empty lines and lines that begin with white space, takes the next line as a keyword and
// lets the new shape read its text. Null for an unknown keyword (the stream untouched), at the end
// of the stream, and when reading failed (the half-read shape is deleted; the stream keeps its
// failure state for the caller). The caller owns the result.
MCadShape* ReadShapeText(CDocument* doc, std::istream& is);

// Depth of nested groups in the text form. Reading deeper than kMaxTextNesting fails the stream
// rather than exhausting the call stack on a damaged or hostile file.
inline constexpr int kMaxTextNesting = 200;
// Sets the nesting depth to 0 (before each file or library item is read or written).
void ResetTextNesting();
// One level of nesting while it lives; Exceeded() tells the reader to give up.
class MTextNestingGuard {
public:
    MTextNestingGuard();
    ~MTextNestingGuard();
    MTextNestingGuard(const MTextNestingGuard&) = delete;
    MTextNestingGuard& operator=(const MTextNestingGuard&) = delete;
    bool Exceeded() const;
};
