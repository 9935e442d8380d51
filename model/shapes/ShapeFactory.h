// The program-wide factory of shapes and the text form of one shape.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "model/shapes/ShapeTypes.h"
#include "platform/WinTypes.h"

class CDocument;
class MCadShape;

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
// failure state for the caller; a known shape that failed before the end of a good stream is
// counted as dropped in the current MTextReadLosses). The caller owns the result.
MCadShape* ReadShapeText(CDocument* doc, std::istream& is);
// The two halves of it: the keyword line (empty when the stream has failed or ended, or stands at a
// NUL), then the shape of that keyword.
std::string ReadShapeKeyword(std::istream& is);
MCadShape* ReadShapeText(CDocument* doc, std::istream& is, const std::string& keyword);

// Plain groups inside groups, the outermost counted as 1 (a label or balloon is one shape). Every
// reader and writer keeps to it rather than exhaust the call stack on a damaged or hostile file: the
// archive fails deeper data, the text form and the imports fold what lies beyond it into the group at
// the limit, the group command refuses to go deeper, and both writers fold deeper groups the same
// way, so that whatever the program holds is written in a form it takes back.
inline constexpr int kMaxGroupNesting = 200;
// Sets the nesting depth to 0 (before each file or library item is read or written).
void ResetTextNesting();
// One level of nesting (text form or archive) while it lives; Exceeded() tells the reader to give
// up, AtLimit() the writer that this group is the deepest one the reader takes.
class MTextNestingGuard {
public:
    MTextNestingGuard();
    ~MTextNestingGuard();
    MTextNestingGuard(const MTextNestingGuard&) = delete;
    MTextNestingGuard& operator=(const MTextNestingGuard&) = delete;
    bool Exceeded() const;
    bool AtLimit() const;
};
