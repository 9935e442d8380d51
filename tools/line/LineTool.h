// The line tool, the tool the program starts with: a line from the first release to the second.
// Its locks fix the length and the direction (numeric input); the context menu makes the line
// parallel, perpendicular or at an angle to a line, tangent to circles, or along a shape's tangent.
// The XY line, the continuous line and the tools built on it inherit all of this.
#pragma once

#include <iosfwd>

#include "tools/DrawTool.h"
#include "tools/LockedValueTool.h"

class MLineShape;

// The locks and their settings line: a TAB, the lock length and the lock angle (radians); a value
// that is missing or not finite gives its default.
class MLineTool : public MLockedValueTool<MDrawTool> {
public:
    explicit MLineTool(int toolId);

    // 1 when a context-menu direction or the angle lock fixes the direction.
    virtual BOOL IsDirectionFixed();
    // The context-menu direction when there is one, else the lock angle (radians).
    virtual double GetFixedDirection();

    void ClearConstraint() override;
    MCadShape* NewShape(MTessarayView* view) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    void OnNumericInput(MTessarayView* view) override;
    // A lock or a context-menu direction.
    BOOL IsConstrained() override;
    // The direction modes of the last snap; tangent on a snapped shape with a tangent, touch too
    // before the line has begun.
    unsigned GetConstraintModes() override;
    void OnConstraintMode(MTessarayView* view, MConstraintMode mode) override;
    BOOL ApplyConstraint(MTessarayView* view, int x, int y, MFloatPoint* pt, UINT flags) override;

    // The start slides onto the first target circle and the point onto the second, so that the
    // line touches them; targets that are not circles count as none.
    void ApplyTangentTargets(MTessarayView* view, MFloatPoint* start, MFloatPoint* point, int phase,
                             UINT flags);

    BOOL IsLengthLocked() const { return m_lengthLock; }
    BOOL IsAngleLocked() const { return m_angleLock; }
    double GetLockLength() const { return m_lockLength; }
    double GetLockAngle() const { return m_lockAngle; }

    static constexpr double kDefaultLength = 100.0;

protected:
    // The line in progress, or null.
    MLineShape* Line() const;
    // The point the locks measure from; FALSE while there is none (no segment in progress).
    virtual BOOL GetConstraintBase(MFloatPoint* base);
    // The snapped shape that qualifies for the tangent commands, or null.
    MCadShape* TangentShape() const;
    void SetTangentTarget(int which, MCadShape* shape, const MFloatPoint& pick);
    // "接線": the click at the snapped tangent shape starts the line (its start then follows the
    // touching point) or ends it touching the shape.
    void TakeTangent(MTessarayView* view);
    // "接する": the click starts the line and its direction is the shape's tangent there.
    void TakeTouch(MTessarayView* view);
    // Runs the lock dialog of the template (131 or 229) on the locks; TRUE on OK.
    BOOL RunLockDialog(MTessarayView* view, UINT templateId);
    // Locks the dialog left not finite go back to their defaults, unlocked.
    void SanitizeLocks();
    // Reads a settings line into the values, a missing or non-finite one taking its default.
    static void ReadValues(std::istream& is, std::initializer_list<std::pair<double*, double>> values);

    BOOL m_lengthLock = FALSE;
    BOOL m_angleLock = FALSE;
    double m_lockAngle = 0.0;
    double m_lockLength = kDefaultLength;

private:
    struct TangentTarget {
        MCadShape* shape = nullptr;  // the document's; the view ends the tool before it can go
        MFloatPoint pick;
    };
    TangentTarget m_tangent[2];
};
