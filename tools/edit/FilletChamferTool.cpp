#include "tools/edit/FilletChamferTool.h"

#include <cmath>
#include <istream>
#include <memory>
#include <ostream>

#include "model/shapes/lines/LineShape.h"
#include "platform/gdi/DC.h"
#include "tools/ToolScopes.h"
#include "view/TessarayView.h"

int MFilletChamferTool::CreateAndAddShape(MTessarayView* view) {
    m_valid = false;
    if (Lists().PickCount() < 2) return 0;
    m_corner = MakeLineCorner(EndsOf(Lists().Pick(0)), EndsOf(Lists().Pick(1)));
    if (!m_corner) {
        Reset();
        return 0;
    }
    std::unique_ptr<MCadShape> corner(NewCornerShape());
    ApplyAttributesTo(view, corner.get());
    Lists().AddReplacement(Lists().Pick(0)->Duplicate(), 0);
    Lists().AddReplacement(Lists().Pick(1)->Duplicate(), 1);
    Lists().AddNewExpanded(corner.get(), -1);
    corner.release();
    return 3;
}

MFloatPoint MFilletChamferTool::ImmediatePoint() const {
    return (Lists().PickPoint(0) + Lists().PickPoint(1)) * 0.5;
}

int MFilletChamferTool::OnPickShape(MTessarayView* view, double, double, UINT) {
    if (Lists().PickCount() < 2 || !HasFixedValue()) return 0;
    if (CreateAndAddShape(view) && Follow(ImmediatePoint())) {
        m_valid = true;
        DecideAndReset(view);
        return 0;
    }
    // Without a valid result the shapes stay and follow the cursor, but the release of this click
    // does not commit: it is where the second line was picked, not a place chosen for the corner.
    BeginStepAgain(-1);
    return 0;
}

bool MFilletChamferTool::CommitFixed(MTessarayView* view) {
    if (Lists().NewCount() < 3 || !m_corner || !Follow(ImmediatePoint())) return false;
    std::unique_ptr<CDC> dc = view->GetPreparedClientDC();
    MTrackerScope tracker(*this, view, dc.get());
    DecideAndReset(view);
    return true;
}

void MFilletChamferTool::BuildFigure(MTessarayView*, const MFloatPoint& cursor, UINT) {
    if (m_corner && Lists().NewCount() >= 3 && Follow(cursor)) m_valid = true;
}

void MFilletChamferTool::Reset() {
    m_corner.reset();
    m_valid = false;
    MLineEditTool::Reset();
}

void MFilletChamferTool::SetCopies(const MLineEnds& line0, const MLineEnds& line1) {
    auto* copy0 = static_cast<MLineShape*>(Lists().NewShape(0));
    auto* copy1 = static_cast<MLineShape*>(Lists().NewShape(1));
    copy0->m_start = line0.start;
    copy0->m_end = line0.end;
    copy1->m_start = line1.start;
    copy1->m_end = line1.end;
}
