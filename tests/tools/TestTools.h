// Small tools and shapes for the framework's tests: a line tool that records its phases and can
// fail at a chosen moment after a half-done change, a picking tool with the replace pattern, and
// shapes that fail or snap on demand.
#pragma once

#include <new>
#include <vector>

#include "document/DocumentItem.h"
#include "document/TessarayDoc.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Exceptions.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Dialog.h"
#include "tools/DrawTool.h"
#include "view/TessarayView.h"

namespace tooltest {

// How a test makes an action fail.
enum class Failure { kNone, kMemory, kBadAlloc, kInvalidArg };

[[noreturn]] inline void Throw(Failure failure) {
    switch (failure) {
        case Failure::kMemory:
            AfxThrowMemoryException();
        case Failure::kBadAlloc:
            throw std::bad_alloc();
        default:
            AfxThrowInvalidArgException();
    }
}

// Commands of the test tools.
enum : UINT {
    kFailingCommand = 40001,   // changes the drawing, then fails
    kRecolourCommand = 40002,  // the picks get colour 0xFF (one commit)
    kDeleteCommand = 40003,    // the picks go (one commit)
};

// Draws a line from the press to the release that ends a drag; records every phase. With a failure
// set for a phase (or the failing command), it first adds a line to the drawing inside an open
// pack, then throws.
class RecordingLineTool : public MDrawTool {
public:
    explicit RecordingLineTool(int toolId = 1) : MDrawTool(toolId) {
        Commands().OnCommand(
            kFailingCommand, [this] { HalfDoneThenFail(GetView()); }, [](CCmdUI* ui) { ui->Enable(TRUE); });
    }
    MCadShape* NewShape(MTessarayView*) override { return new MLineShape(); }
    int OnPoint(MTessarayView* view, double x, double y, int phase, UINT) override {
        phases.push_back(phase);
        if (phase == failAtPhase) HalfDoneThenFail(view);
        auto* line = static_cast<MLineShape*>(Lists().NewShape(0));
        if (phase == kPhasePress) line->m_start = MFloatPoint(x, y);
        line->m_end = MFloatPoint(x, y);
        return phase == kPhaseTest && GetStep() >= 0 && !line->m_start.IsEqual(MFloatPoint(x, y));
    }
    void OnDoubleClickHook(MTessarayView* view) override {
        if (failOnDoubleClick) HalfDoneThenFail(view);
    }
    BOOL CanDecide() override { return Lists().NewCount() > 0; }
    void HalfDoneThenFail(MTessarayView* view) {
        if (MTessarayDoc* doc = view ? view->GetDocument() : nullptr) {
            doc->BeginUndo();
            doc->AddShape(new MLineShape(MFloatPoint(-500, -500), MFloatPoint(500, 500)), -1);
        }
        Throw(failure);
    }

    std::vector<int> phases;
    int failAtPhase = -1;
    bool failOnDoubleClick = false;
    Failure failure = Failure::kMemory;
};

// A tool that always picks: a click picks or unpicks, a drag beside shapes draws a rubber band.
// Its commands recolour or delete the picks in one commit each.
class PickingTool : public MDrawTool {
public:
    explicit PickingTool(int toolId = 30) : MDrawTool(toolId) {
        Commands().OnCommand(kRecolourCommand, [this] {
            ReplaceEach(
                GetView(),
                [](MTessarayView*, MCadShape* shape) {
                    MCadShape* copy = shape->Clone();
                    copy->SetColor(0xFF);
                    return copy;
                },
                FALSE);
        });
        Commands().OnCommand(kDeleteCommand, [this] {
            for (int i = 0; i < Lists().PickCount(); ++i)
                Lists().AddEdited(Lists().Pick(i), Lists().PickLayer(i));
            Commit(GetView(), FALSE, FALSE);
            Lists().ClearPicks();
        });
    }
    // An editing tool: its copies keep their own attributes.
    void ApplyAttributes(MTessarayView*) override {}
    UINT GetPickTraits() override { return kPickTraitsDefault | kPicking | kPickByRect | extraTraits; }
    MCadShape* FilterPickTarget(MCadShape* shape) override { return shape == refused ? nullptr : shape; }
    int OnPickShape(MTessarayView*, double, double, UINT) override {
        ++pickShapeCalls;
        if (dialogOnPick) CDialog(dialogOnPick).DoModal();
        return 0;
    }

    MCadShape* refused = nullptr;
    UINT extraTraits = 0;
    UINT dialogOnPick = 0;
    int pickShapeCalls = 0;
};

// A line whose entry into the drawing fails once armed (a failure in the middle of a commit).
class FailingLine : public MLineShape, public MDocumentItem {
public:
    FailingLine(const MFloatPoint& a, const MFloatPoint& b) : MLineShape(a, b) {}
    void OnEnterDocument(MTessarayDoc&) override {
        if (armed) AfxThrowMemoryException();
    }
    void OnLeaveDocument(MTessarayDoc&) override {}
    bool armed = true;
};

// A line that also offers its middle as a base point.
class BasePointLine : public MLineShape {
public:
    BasePointLine(const MFloatPoint& a, const MFloatPoint& b) : MLineShape(a, b) {}
    double SnapPoints(MSnapPoint& snap, const MFloatPoint& cursor, const MFloatRect& aperture, int kinds,
                      double best) override {
        if (!(kinds & kSnapBasePoint)) return best;
        return OfferSnapCandidate(snap, cursor, aperture, (m_start + m_end) * 0.5, kSnapBasePoint, best,
                                  this);
    }
};

}  // namespace tooltest
