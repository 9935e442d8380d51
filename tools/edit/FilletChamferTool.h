// The base of the fillet and chamfer tools: two picked lines that cross are taken as a corner;
// then the corner shape (arc or chamfer line) follows the cursor and a release commits, or a
// fixed value makes it at once at the second pick. New shapes: [0] the copy of line 0, [1] the
// copy of line 1, [2] the corner shape. Only a valid result is ever kept or committed.
#pragma once

#include <iosfwd>
#include <optional>

#include "tools/edit/LineEditTool.h"

class MFilletChamferTool : public MLineEditTool {
public:
    // One step after the picks, the corner point; the tools' constructors load its prompt.
    explicit MFilletChamferTool(int toolId) : MLineEditTool(toolId) { DeclareSteps(0, 0, {MToolStep()}); }

    UINT GetPickTraits() override {
        return kPickTraitsDefault | (Lists().PickCount() < 2 ? kPicking : kNoPickTrait);
    }
    // Takes the two picked lines; 3, or 0 after a reset when they do not cross.
    int CreateAndAddShape(MTessarayView* view) override;
    int OnPickShape(MTessarayView* view, double x, double y, UINT flags) override;
    void BuildFigure(MTessarayView* view, const MFloatPoint& cursor, UINT flags) override;
    // Only a point where the corner can be made takes the step.
    BOOL IsStepPointSound() override { return m_valid; }
    BOOL CanNumericInput() override { return TRUE; }
    void Reset() override;
    BOOL HasSettings() const override { return TRUE; }

protected:
    // The shape at the corner, without attributes.
    virtual MCadShape* NewCornerShape() = 0;
    // Sets the three new shapes to the result at q (the fixed value when there is one); false,
    // leaving them as they were, when there is no valid result.
    virtual bool Follow(const MFloatPoint& q) = 0;
    virtual bool HasFixedValue() const = 0;
    // Where a fixed value is applied when the second line is picked.
    virtual MFloatPoint ImmediatePoint() const;
    // The fixed-value result now, committed when valid; true when it was.
    bool CommitFixed(MTessarayView* view);

    void SetCopies(const MLineEnds& line0, const MLineEnds& line1);
    const MLineCorner& Corner() const { return *m_corner; }

private:
    std::optional<MLineCorner> m_corner;
    bool m_valid = false;
};
