#include <gtest/gtest.h>

#include <functional>

#include "document/UndoPackScope.h"
#include "document/UndoStack.h"
#include "platform/Exceptions.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace doctest;

namespace {

// A pack whose destruction is observed.
struct CountedPack : MUndoPack {
    explicit CountedPack(int id, std::vector<int>* deleted) : id(id), deleted(deleted) {}
    ~CountedPack() override { deleted->push_back(id); }
    int id;
    std::vector<int>* deleted;
};

int SlotId(const MUndoStack& s, int slot) {
    auto* p = static_cast<CountedPack*>(s.GetSlot(slot));
    return p ? p->id : -1;
}

// An object whose deletion is observed, to check who deletes what.
struct Tracked : MLineShape {
    explicit Tracked(int* deletions) : deletions(deletions) {}
    ~Tracked() override { ++*deletions; }
    int* deletions;
};

struct TrackedLayer : MLayer {
    TrackedLayer(const CString& name, int* deletions)
        : MLayer(name, TRUE, TRUE, TRUE), deletions(deletions) {}
    ~TrackedLayer() override { ++*deletions; }
    int* deletions;
};

class Undo : public DocumentTest {};

}  // namespace

TEST(UndoStack, CapacityOneKeepsOnlyTheNewestPack) {
    std::vector<int> deleted;
    MUndoStack ring(1);
    ring.Push(new CountedPack(1, &deleted));
    ring.Push(new CountedPack(2, &deleted));
    EXPECT_EQ(deleted, std::vector<int>{1});
    std::unique_ptr<MUndoPack> top(ring.Pop());
    EXPECT_EQ(static_cast<CountedPack*>(top.get())->id, 2);
    EXPECT_FALSE(ring.HasTop());
    EXPECT_EQ(ring.Pop(), nullptr);
}

TEST(UndoStack, FullRingDropsTheOldestAndPopsNewestFirst) {
    std::vector<int> deleted;
    {
        MUndoStack ring(4);
        for (int i = 1; i <= 5; ++i)
            ring.Push(new CountedPack(i, &deleted));
        EXPECT_EQ(deleted, std::vector<int>{1});
        EXPECT_EQ(ring.GetCount(), 4);
        for (int expected = 5; expected >= 2; --expected) {
            std::unique_ptr<MUndoPack> p(ring.Pop());
            ASSERT_TRUE(p);
            EXPECT_EQ(static_cast<CountedPack*>(p.get())->id, expected);
        }
        EXPECT_FALSE(ring.HasTop());
        ring.Push(new CountedPack(6, &deleted));
    }
    EXPECT_EQ(deleted, (std::vector<int>{1, 5, 4, 3, 2, 6}));
}

TEST(UndoStack, ShrinkKeepsTheNewestAndGrowKeepsOrder) {
    std::vector<int> deleted;
    MUndoStack ring(4);
    // Five pushes leave the newest (5) in slot 0 of a full ring.
    for (int i = 1; i <= 5; ++i)
        ring.Push(new CountedPack(i, &deleted));
    ASSERT_EQ(ring.GetTop(), 0);
    ring.Resize(2);
    EXPECT_EQ(ring.GetCapacity(), 2);
    EXPECT_EQ(ring.GetTop(), 1);
    EXPECT_EQ(SlotId(ring, 1), 5);
    EXPECT_EQ(SlotId(ring, 0), 4);
    EXPECT_EQ(deleted, (std::vector<int>{1, 2, 3}));
    ring.Resize(4);
    EXPECT_EQ(ring.GetCount(), 2);
    ring.Push(new CountedPack(6, &deleted));
    ring.Push(new CountedPack(7, &deleted));
    std::vector<int> order;
    while (ring.HasTop()) {
        std::unique_ptr<MUndoPack> p(ring.Pop());
        order.push_back(static_cast<CountedPack*>(p.get())->id);
    }
    EXPECT_EQ(order, (std::vector<int>{7, 6, 5, 4}));
    ring.Resize(0);
    EXPECT_EQ(ring.GetCapacity(), 4);
}

TEST(UndoStack, GrowingAWrappedRingKeepsEveryPack) {
    std::vector<int> deleted;
    MUndoStack ring(3);
    for (int i = 1; i <= 4; ++i)
        ring.Push(new CountedPack(i, &deleted));  // 4 in slot 0, then 2, 3
    ring.Resize(5);
    for (int i = 5; i <= 6; ++i)
        ring.Push(new CountedPack(i, &deleted));
    EXPECT_EQ(deleted, std::vector<int>{1});
    std::vector<int> order;
    while (ring.HasTop()) {
        std::unique_ptr<MUndoPack> p(ring.Pop());
        order.push_back(static_cast<CountedPack*>(p.get())->id);
    }
    EXPECT_EQ(order, (std::vector<int>{6, 5, 4, 3, 2}));
}

TEST_F(Undo, RingFullWithCapacityFourForgetsTheFirstOperation) {
    GetOptionRecord().m_undoCount = 4;
    int deletions = 0;  // outlives the document, whose shapes count into it when it goes
    MTessarayDoc doc;
    doc.OnNewDocument();
    std::vector<MCadShape*> shapes;
    for (int i = 0; i < 5; ++i) {
        doc.BeginUndo();
        shapes.push_back(new Tracked(&deletions));
        doc.AddShape(shapes.back(), -1);
        doc.EndUndo();
    }
    // Remove the first shape, then four more operations push that removal out of the ring.
    doc.BeginUndo();
    doc.RemoveShape(shapes[0], -1, TRUE);
    doc.EndUndo();
    for (int i = 0; i < 4; ++i) {
        doc.BeginUndo();
        doc.AddShape(Line(i, 0, i + 1, 0), -1);
        doc.EndUndo();
    }
    EXPECT_EQ(deletions, 1) << "the dropped pack deletes the shape it alone held";
    for (int i = 0; i < 4; ++i)
        doc.Undo(nullptr);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 4);
}

TEST_F(Undo, UndoOfReplaceRestoresTheOldShapeAtItsIndex) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    MCadShape* a = Line(0, 0, 1, 1);
    MCadShape* b = Line(0, 0, 2, 2);
    MCadShape* c = Line(0, 0, 3, 3);
    doc.AddShape(a, -1);
    doc.AddShape(b, -1);
    doc.AddShape(c, -1);
    const std::string before = FileText(doc);
    doc.BeginUndo();
    MCadShape* b2 = Line(5, 5, 6, 6);
    EXPECT_EQ(doc.ReplaceShape(b, b2, -1), 1);
    doc.EndUndo();
    MLayer* layer = doc.GetLayers()->GetLayer(0);
    EXPECT_EQ(layer->GetAt(1), b2);
    doc.Undo(nullptr);
    EXPECT_EQ(layer->GetAt(1), b);
    EXPECT_EQ(layer->Find(b2), -1);
    EXPECT_EQ(FileText(doc), before);
    doc.Redo(nullptr);
    EXPECT_EQ(layer->GetAt(1), b2);
    EXPECT_EQ(layer->GetSize(), 3);
}

TEST_F(Undo, NewOperationAfterUndoEmptiesTheRedoRing) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.BeginUndo();
    doc.AddShape(Line(0, 0, 1, 0), -1);
    doc.EndUndo();
    doc.Undo(nullptr);
    EXPECT_TRUE(doc.CanRedo());
    doc.BeginUndo();
    doc.AddShape(Line(0, 0, 2, 0), -1);
    doc.EndUndo();
    EXPECT_FALSE(doc.CanRedo());
    doc.Redo(nullptr);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 1);
}

TEST_F(Undo, UndoOfALayerDeletionPutsLayerShapesAndTabBack) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddLayer(new MLayer("B", TRUE, TRUE, TRUE));
    doc.AddLayer(new MLayer("C", TRUE, TRUE, TRUE));
    doc.AddShape(Line(0, 0, 10, 10), 1);
    FakeView view(doc);
    doc.GetLayers()->SetCurrentLayer(0);

    doc.BeginUndo();
    view.RemoveLayerTab(1);
    BOOL recorded = FALSE;
    MLayer* removed = doc.RemoveLayer(1, TRUE, &recorded);
    EXPECT_TRUE(recorded) << "the record owns the removed layer";
    doc.EndUndo();
    EXPECT_EQ(view.LayerNames(), (std::vector<CString>{"Layer1", "C"}));

    doc.Undo(&view);
    EXPECT_EQ(view.LayerNames(), (std::vector<CString>{"Layer1", "B", "C"}));
    EXPECT_EQ(view.tabs, view.LayerNames());
    EXPECT_EQ(doc.GetLayers()->GetLayer(1), removed);
    EXPECT_EQ(removed->GetSize(), 1);
    EXPECT_EQ(doc.GetLayers()->GetCurrentLayerIndex(), 2) << "the last layer becomes current";
    EXPECT_EQ(view.replays, 1);
    ASSERT_FALSE(view.cad.invalidated.empty());

    doc.Redo(&view);
    EXPECT_EQ(view.tabs, (std::vector<CString>{"Layer1", "C"}));
    EXPECT_EQ(view.LayerNames(), view.tabs);
}

TEST_F(Undo, ClosingTheDocumentDeletesEveryObjectExactlyOnce) {
    int deletions = 0;
    {
        MTessarayDoc doc;
        doc.OnNewDocument();
        auto* kept = new Tracked(&deletions);     // stays in the document
        auto* removed = new Tracked(&deletions);  // taken out, not undone: its record owns it
        auto* undone = new Tracked(&deletions);   // added and undone: its record owns it
        auto* redone = new Tracked(&deletions);   // removed, undone: the document owns it again
        doc.AddShape(kept, -1);
        doc.AddShape(removed, -1);
        doc.AddShape(redone, -1);
        doc.BeginUndo();
        doc.RemoveShape(removed, -1, TRUE);
        doc.EndUndo();
        doc.BeginUndo();
        doc.RemoveShape(redone, -1, TRUE);
        doc.EndUndo();
        doc.Undo(nullptr);
        doc.BeginUndo();
        doc.AddShape(undone, -1);
        doc.EndUndo();
        doc.Undo(nullptr);
        EXPECT_EQ(deletions, 0) << "dropping the redo pack of an undone removal deletes nothing";
    }
    EXPECT_EQ(deletions, 4);
}

TEST_F(Undo, CancelDeletesWhatTheOperationTookOutAndKeepsTheChanges) {
    int deletions = 0;
    MTessarayDoc doc;
    doc.OnNewDocument();
    auto* a = new Tracked(&deletions);
    doc.AddShape(a, -1);
    doc.BeginUndo();
    doc.RemoveShape(a, -1, TRUE);
    doc.AddShape(Line(0, 0, 1, 0), -1);
    doc.CancelUndo();
    EXPECT_EQ(deletions, 1);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 1);
    EXPECT_FALSE(doc.CanUndo());
}

// The pack scope ends its pack when it closes; an exception leaves the pack to the handler, which
// cancels it here as the tools do.
TEST_F(Undo, APackScopeEndsItsPackAndRollsItBackWhenAnExceptionLeavesIt) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    {
        MUndoPackScope pack(doc);
        doc.AddShape(Line(0, 0, 1, 0), -1);
        EXPECT_NE(doc.GetOpenPack(), nullptr);
    }
    EXPECT_EQ(doc.GetOpenPack(), nullptr);
    EXPECT_TRUE(doc.CanUndo());
    doc.Undo(nullptr);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 0);

    try {
        MUndoPackScope pack(doc);
        doc.AddShape(Line(0, 0, 2, 0), -1);
        AfxThrowInvalidArgException();
    } catch (const CException&) {
        EXPECT_EQ(doc.GetOpenPack(), nullptr);
    }
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 0) << "the half-done change went";

    // Deferred: nothing opened, nothing pushed.
    { MUndoPackScope pack(doc, nullptr, MUndoPackScope::kDeferred); }
    EXPECT_FALSE(doc.CanUndo());
}

// The record of a removal owns the shape; a removal that did not happen must not be recorded, or
// the record would later delete a shape that the document (or someone else) still owns.
TEST_F(Undo, RemovalsThatDidNotHappenAreNotRecorded) {
    int deletions = 0;
    {
        MTessarayDoc doc;
        doc.OnNewDocument();
        auto* inside = new Tracked(&deletions);
        doc.AddShape(inside, -1);
        Tracked outside(&deletions);
        doc.BeginUndo();
        EXPECT_EQ(doc.RemoveShape(inside, -1, FALSE), 0);
        EXPECT_EQ(doc.RemoveShape(&outside, -1, TRUE), -1);
        EXPECT_EQ(doc.GetOpenPack()->GetCount(), 0);
        doc.EndUndo();
        doc.Undo(nullptr);
        EXPECT_EQ(doc.GetLayers()->GetLayer(0)->Find(inside), 0);
        // Push the pack out of both rings.
        for (int i = 0; i < doc.GetUndoCount() + 1; ++i) {
            doc.BeginUndo();
            doc.EndUndo();
        }
        EXPECT_EQ(deletions, 0);
    }
    EXPECT_EQ(deletions, 2);  // the document's shape, then the test's own
}

TEST_F(Undo, ReplacingAShapeThatIsNotThereRecordsOnlyTheNewShape) {
    int deletions = 0;
    {
        MTessarayDoc doc;
        doc.OnNewDocument();
        Tracked stranger(&deletions);
        doc.BeginUndo();
        MCadShape* added = Line(0, 0, 1, 0);
        EXPECT_EQ(doc.ReplaceShape(&stranger, added, -1), -1);
        ASSERT_EQ(doc.GetOpenPack()->GetCount(), 1);
        EXPECT_TRUE(doc.GetOpenPack()->GetAt(0)->IsAdded());
        doc.EndUndo();
        EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetAt(0), added);
        doc.Undo(nullptr);
        EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 0);
        doc.BeginUndo();  // drops the undone pack, which owns `added`
        doc.EndUndo();
        EXPECT_EQ(deletions, 0);
    }
    EXPECT_EQ(deletions, 1);
}

TEST_F(Undo, ShapeAddedToTheCurrentLayerComesBackToThatLayer) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddLayer(new MLayer("B", TRUE, TRUE, TRUE));
    doc.GetLayers()->SetCurrentLayer(1);
    doc.BeginUndo();
    MCadShape* s = Line(0, 0, 1, 0);
    doc.AddShape(s, -1);
    doc.EndUndo();
    doc.Undo(nullptr);
    doc.GetLayers()->SetCurrentLayer(0);
    doc.Redo(nullptr);
    EXPECT_EQ(doc.GetLayers()->FindLayerOf(s), 1);
}

// Redo must put a layer back even when a layer with its tab name exists meanwhile; skipping it but
// marking the record done made a later undo remove a different layer.
TEST_F(Undo, RedoPutsALayerBackWhoseNameIsTakenMeanwhile) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    FakeView view(doc);
    doc.BeginUndo();
    auto* added = new MLayer("Plan", TRUE, TRUE, TRUE);
    view.InsertLayerTab(-1, "Plan");
    doc.AddLayer(added);
    doc.EndUndo();
    doc.Undo(&view);
    ASSERT_EQ(view.LayerNames(), std::vector<CString>{"Layer1"});

    // Rename the remaining layer to the same name without a record (as the layer dialog does).
    doc.SetLayerSettings(0, "Plan", 7);
    view.SetLayerTabName(0, "Plan");
    doc.Redo(&view);
    EXPECT_EQ(view.LayerNames(), (std::vector<CString>{"Plan", "Plan"}));
    EXPECT_EQ(view.tabs, view.LayerNames());
    EXPECT_EQ(doc.GetLayers()->GetLayer(1), added);

    doc.Undo(&view);
    EXPECT_EQ(view.LayerNames(), std::vector<CString>{"Plan"});
    EXPECT_EQ(doc.GetLayers()->FindLayer(added), -1) << "the undo takes out the layer it recorded";
    EXPECT_EQ(view.tabs, view.LayerNames());
}

TEST_F(Undo, LayerSettingsAreUndoneAndRedone) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    FakeView view(doc);
    doc.BeginUndo();
    doc.SetLayerSettings(0, "壁", MLayer::kVisible);
    doc.EndUndo();
    doc.Undo(&view);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_name, "Layer1");
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_flags, 7);
    EXPECT_EQ(view.tabs[0], "Layer1");
    doc.Redo(&view);
    EXPECT_EQ(view.tabs[0], "壁");
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->m_flags, MLayer::kVisible);
}

TEST_F(Undo, PaperChangeIsUndoneAndRedoneWithOriginGridAndViewScale) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddShape(Line(0, 0, 1000, 0), 0);
    doc.SetOrigin(MFloatPoint(123, 456));  // moved by the user after the paper was set
    const MPaperState before = doc.GetPaperState();
    FakeView view(doc);
    doc.BeginUndo();
    doc.ChangePaper(MPaperSizeInfo("A1", "841mm×594mm", 841, 594), MPaperScaleInfo("1 : 50", 0.02), FALSE,
                    250, 500);
    doc.EndUndo();
    const MPaperState after = doc.GetPaperState();
    ASSERT_EQ(after.paper.GetSizeInfo().m_name, "A1");
    ASSERT_EQ(after.gridY, 500.0);
    ASSERT_NE(after.origin.x, before.origin.x);

    const auto expectState = [&](const MPaperState& state, MCadView* cad) {
        EXPECT_EQ(doc.GetPaperInfo().GetSizeInfo().m_name, state.paper.GetSizeInfo().m_name);
        EXPECT_EQ(doc.GetPaperInfo().GetScale(), state.paper.GetScale());
        EXPECT_EQ(doc.GetPaperInfo().GetHorizontal(), state.paper.GetHorizontal());
        EXPECT_EQ(doc.GetPaperInfo().GetOriginOffset().y, state.paper.GetOriginOffset().y);
        EXPECT_EQ(doc.GetOrigin().x, state.origin.x);
        EXPECT_EQ(doc.GetOrigin().y, state.origin.y);
        EXPECT_EQ(doc.m_gridX, state.gridX);
        EXPECT_EQ(doc.m_gridY, state.gridY);
        // The coordinate objects' scale fields follow the paper scale.
        EXPECT_DOUBLE_EQ(cad->unitScaleX, cad->paperScaleX * state.paper.GetScale());
        EXPECT_DOUBLE_EQ(doc.GetOffscreenView()->unitScaleX,
                         doc.GetOffscreenView()->paperScaleX * state.paper.GetScale());
    };
    doc.Undo(&view);
    expectState(before, &view.cad);
    EXPECT_EQ(view.paperReplays, 1);
    EXPECT_DOUBLE_EQ(view.scaleSeen, before.paper.GetScale());
    EXPECT_EQ(view.replays, 0);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 1);
    doc.Redo(&view);
    expectState(after, &view.cad);
    EXPECT_EQ(view.paperReplays, 2);
    // Without a window view the document's own view follows.
    doc.Undo(nullptr);
    expectState(before, doc.GetOffscreenView());
    EXPECT_EQ(view.paperReplays, 2);
}

TEST_F(Undo, UndoWithAnOpenPackUndoesThatPackFirst) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.BeginUndo();
    doc.AddShape(Line(0, 0, 1, 0), -1);
    doc.Undo(nullptr);
    EXPECT_EQ(doc.GetOpenPack(), nullptr);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetSize(), 0);
    EXPECT_TRUE(doc.CanRedo());
}

TEST_F(Undo, SetUndoCountResizesBothRingsAndEmptyRingsDoNothing) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.Undo(nullptr);
    doc.Redo(nullptr);
    doc.SetUndoCount(7);
    EXPECT_EQ(doc.GetUndoCount(), 7);
    EXPECT_EQ(doc.GetRedoStack().GetCapacity(), 7);
    doc.SetUndoCount(0);
    EXPECT_EQ(doc.GetUndoCount(), 7);
}

TEST_F(Undo, OutOfMemoryOffersTheOptionsOnlyWithSeveralLevels) {
    MTessarayDoc doc;
    FakeView view(doc);
    {
        MessageBoxRecorder boxes(IDYES);
        doc.ReportOutOfMemory(&view);
        EXPECT_TRUE(boxes.Saw(62788));
        EXPECT_EQ(view.commands, std::vector<UINT>{33034});
    }
    {
        MessageBoxRecorder boxes(IDNO);
        doc.ReportOutOfMemory(&view);
        EXPECT_TRUE(boxes.Saw(62789));
    }
    doc.SetUndoCount(1);
    {
        MessageBoxRecorder boxes(IDYES);
        doc.ReportOutOfMemory(&view);
        EXPECT_FALSE(boxes.Saw(62788));
        EXPECT_TRUE(boxes.Saw(62789));
    }
}

// One pack may record the same object several times: a shape moved to another layer is taken out
// and put back, a layer is removed and inserted elsewhere. Dropped from a ring, done or undone, the
// pack must delete exactly the objects that are outside the drawing then, each once.
TEST_F(Undo, DroppedPacksDeleteOnlyWhatTheirRecordsLeftOutside) {
    struct Drawing {
        MTessarayDoc& doc;
        int* deletions;
        int created = 0;
        MCadShape* kept = nullptr;  // in layer 0
        MCadShape* NewShape() {
            ++created;
            return new Tracked(deletions);
        }
        MLayer* NewLayer(const CString& name) {
            ++created;
            auto* layer = new TrackedLayer(name, deletions);
            layer->Add(NewShape());
            return layer;
        }
    };
    struct Case {
        const char* name;
        std::function<void(Drawing&)> edit;
        int deletedWhenDone;
        int deletedWhenUndone;
    };
    const Case cases[] = {
        {"shape moved to another layer",
         [](Drawing& d) {
             d.doc.RemoveShape(d.kept, 0, TRUE);
             d.doc.AddShape(d.kept, 1);
         },
         0, 0},
        {"shape out, back elsewhere, out again",
         [](Drawing& d) {
             d.doc.RemoveShape(d.kept, 0, TRUE);
             d.doc.InsertShape(0, d.kept, 1);
             d.doc.RemoveShape(d.kept, -1, TRUE);
         },
         1, 0},
        {"new shape added, taken out, added elsewhere",
         [](Drawing& d) {
             MCadShape* fresh = d.NewShape();
             d.doc.AddShape(fresh, 0);
             d.doc.RemoveShape(fresh, 0, TRUE);
             d.doc.AddShape(fresh, 2);
         },
         0, 1},
        {"replaced and swapped back",
         [](Drawing& d) {
             MCadShape* fresh = d.NewShape();
             d.doc.ReplaceShape(d.kept, fresh, 0);
             d.doc.ReplaceShape(fresh, d.kept, 0);
         },
         1, 1},
        {"layer moved",
         [](Drawing& d) {
             MLayer* layer = d.doc.RemoveLayer(2, TRUE);
             d.doc.InsertLayer(0, layer);
         },
         0, 0},
        {"layer out, back, out again",
         [](Drawing& d) {
             MLayer* layer = d.doc.RemoveLayer(2, TRUE);
             d.doc.InsertLayer(1, layer);
             d.doc.RemoveLayer(1, TRUE);
         },
         2, 0},
        {"new layer in, out, in elsewhere",
         [](Drawing& d) {
             MLayer* layer = d.NewLayer("N");
             d.doc.AddLayer(layer);
             d.doc.RemoveLayer(3, TRUE);
             d.doc.InsertLayer(0, layer);
         },
         0, 2},
        {"shape moved into a layer that is then removed",
         [](Drawing& d) {
             d.doc.RemoveShape(d.kept, 0, TRUE);
             d.doc.AddShape(d.kept, 2);
             d.doc.RemoveLayer(2, TRUE);
         },
         3, 0},
    };
    GetOptionRecord().m_undoCount = 2;
    for (const Case& c : cases) {
        for (const bool undone : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (undone ? ", undone" : ", done"));
            int deletions = 0;
            int created = 0;
            {
                MTessarayDoc doc;
                doc.OnNewDocument();
                Drawing d{doc, &deletions};
                ++d.created;
                doc.AddLayer(new TrackedLayer("B", &deletions));
                doc.AddLayer(d.NewLayer("C"));
                d.kept = d.NewShape();
                doc.AddShape(d.kept, 0);
                const auto emptyPack = [&doc] {
                    doc.BeginUndo();
                    doc.EndUndo();
                };
                // As after layer edits and their replay.
                doc.GetLayers()->SetCurrentLayer(doc.GetLayers()->GetLayerCount() - 1);
                const std::string before = FileText(doc);
                doc.BeginUndo();
                c.edit(d);
                doc.EndUndo();
                doc.GetLayers()->SetCurrentLayer(doc.GetLayers()->GetLayerCount() - 1);
                const std::string after = FileText(doc);
                // Done, two newer packs push it out of the ring of two; undone, the next operation
                // empties the redo ring.
                if (undone) doc.Undo(nullptr);
                emptyPack();
                if (!undone) emptyPack();
                EXPECT_EQ(deletions, undone ? c.deletedWhenUndone : c.deletedWhenDone);
                // Writes every shape of the drawing: a deleted one would be touched here.
                EXPECT_EQ(FileText(doc), undone ? before : after);
                created = d.created;
            }
            EXPECT_EQ(deletions, created) << "each object deleted exactly once";
        }
    }
}

TEST_F(Undo, PackOwnershipFollowsTheRecordsInEffect) {
    MLineShape shape;
    MLineShape stranger;
    MUndoPack pack;
    // Taken out of layer 0, put into layer 1: inside when done, inside (where it was) when undone.
    pack.RecordRemoveAt(&shape, 0, 3);
    pack.RecordInsertAt(&shape, 1, -1);
    EXPECT_FALSE(pack.OwnsObject(&shape));
    pack.GetAt(1)->SetUndone();  // half undone: out of layer 1, not yet back in layer 0
    EXPECT_TRUE(pack.OwnsObject(&shape));
    pack.GetAt(0)->SetUndone();
    EXPECT_FALSE(pack.OwnsObject(&shape));
    EXPECT_FALSE(pack.OwnsObject(nullptr));
    EXPECT_FALSE(pack.OwnsObject(&stranger));
    pack.GetAt(0)->ClearUndone();  // half redone
    EXPECT_TRUE(pack.OwnsObject(&shape));
    pack.GetAt(1)->ClearUndone();
    EXPECT_FALSE(pack.OwnsObject(&shape));  // the pack's destruction leaves the stack object alone
}

// ----- rolling an open pack back, replacements in place ------------------------------------------

TEST_F(Undo, RollingBackUndoesTheOpenPackAndKeepsBothHistories) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    FakeView view(doc);
    doc.AddNewLayer();
    MCadShape* kept = Line(0, 0, 1, 0);
    MCadShape* moved = Line(0, 0, 2, 0);
    doc.BeginUndo();
    doc.AddShape(kept, 0);
    doc.AddShape(moved, 0);
    doc.EndUndo();
    doc.BeginUndo();
    doc.AddShape(Line(0, 0, 3, 0), 1);
    doc.EndUndo();
    doc.Undo(nullptr);
    doc.SetModifiedFlag(FALSE);
    const std::string before = FileText(doc);

    int deletions = 0;
    doc.BeginUndo();
    auto* added = new Tracked(&deletions);
    added->m_end = MFloatPoint(5, 5);
    doc.AddShape(added, 1);
    doc.ReplaceShape(kept, Line(0, 0, 9, 9), 0);
    doc.RemoveShape(moved, 0, TRUE);
    doc.AddShape(moved, 1);
    doc.InsertLayer(0, new MLayer("x", TRUE, TRUE, TRUE));
    doc.RollbackUndo(&view);

    EXPECT_EQ(FileText(doc), before);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetAt(0), kept) << "the original object is back";
    EXPECT_EQ(doc.GetOpenPack(), nullptr);
    EXPECT_EQ(doc.GetUndoStack().GetCount(), 1);
    EXPECT_TRUE(doc.CanRedo());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(deletions, 1) << "what the pack had added is deleted with it";
    EXPECT_EQ(view.LayerNames(), (std::vector<CString>{"Layer1", "Layer2"}));
    doc.RollbackUndo(&view);  // nothing open: nothing happens
    EXPECT_EQ(FileText(doc), before);
}

TEST_F(Undo, ARedoRingIsEmptiedOnlyByAPackThatStays) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.BeginUndo();
    doc.AddShape(Line(0, 0, 1, 0), -1);
    doc.EndUndo();
    doc.Undo(nullptr);
    doc.BeginUndo();
    EXPECT_TRUE(doc.CanRedo()) << "an open pack may still be rolled back";
    doc.AddShape(Line(0, 0, 2, 0), -1);
    doc.CancelUndo();
    EXPECT_FALSE(doc.CanRedo()) << "a cancelled pack keeps its change";
}

TEST_F(Undo, ReplacementsAtKnownPlacesUndoAndRedoInPlace) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddNewLayer();
    std::vector<MCadShape*> olds;
    for (int i = 0; i < 6; ++i) {
        olds.push_back(Line(0, i, 1, i));
        doc.AppendShape(olds.back(), i % 2);
    }
    MCadShape* absent = Line(0, 0, 7, 7);
    const std::vector<MTessarayDoc::ShapePlace> places =
        doc.LocateShapes({olds[5], absent, olds[0], olds[4]});
    EXPECT_EQ(places[0].layer, 1);
    EXPECT_EQ(places[0].index, 2);
    EXPECT_EQ(places[1].layer, -1);
    EXPECT_EQ(places[2].index, 0);
    EXPECT_EQ(places[3].layer, 0);
    EXPECT_EQ(places[3].index, 2);
    delete absent;

    const std::string before = FileText(doc);
    doc.BeginUndo();
    std::vector<MCadShape*> news;
    for (int k : {0, 2, 3}) {
        news.push_back(Line(5, k, 6, k));
        doc.ReplaceShapeAt(places[static_cast<std::size_t>(k)],
                           olds[k == 0   ? 5
                                : k == 2 ? 0
                                         : 4],
                           news.back());
    }
    doc.AddShape(Line(8, 8, 9, 9), 0);
    doc.EndUndo();
    const std::string after = FileText(doc);
    EXPECT_EQ(doc.GetLayers()->GetLayer(1)->GetAt(2), news[0]);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetAt(0), news[1]);
    doc.Undo(nullptr);
    EXPECT_EQ(FileText(doc), before);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetAt(2), olds[4]);
    doc.Redo(nullptr);
    EXPECT_EQ(FileText(doc), after);
    EXPECT_EQ(doc.GetLayers()->GetLayer(0)->GetAt(2), news[2]);
    // A place that no longer holds the shape falls back to the search.
    doc.BeginUndo();
    MCadShape* last = Line(1, 1, 2, 2);
    EXPECT_EQ(doc.ReplaceShapeAt(MTessarayDoc::ShapePlace{0, 0}, news[0], last), 2);
    doc.EndUndo();
    EXPECT_EQ(doc.GetLayers()->GetLayer(1)->GetAt(2), last);
}
