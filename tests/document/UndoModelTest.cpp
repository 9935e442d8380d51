// Long random sequences of edits with random undo and redo, checked against a model of the history:
// after every step the drawing must equal the model's state, the view's tabs must match the layers,
// and undoing everything (then redoing it again) must give back the recorded files byte for byte.
// Under AddressSanitizer this also checks that every object has exactly one owner at all times.
#include <gtest/gtest.h>

#include <random>

#include "tests/document/DocumentTestSupport.h"

using namespace doctest;

namespace {

class HistoryModel {
public:
    HistoryModel(std::string initial, int capacity) : m_states{std::move(initial)}, m_capacity(capacity) {}

    void Edited(std::string state) {
        m_states.resize(static_cast<std::size_t>(m_cursor) + 1);
        m_states.push_back(std::move(state));
        ++m_cursor;
        m_undoable = std::min(m_undoable + 1, m_capacity);
        m_redoable = 0;
    }
    bool Undo() {
        if (m_undoable == 0) return false;
        --m_cursor;
        --m_undoable;
        ++m_redoable;
        return true;
    }
    bool Redo() {
        if (m_redoable == 0) return false;
        ++m_cursor;
        --m_redoable;
        ++m_undoable;
        return true;
    }
    const std::string& Current() const { return m_states[static_cast<std::size_t>(m_cursor)]; }
    const std::string& Oldest() const { return m_states[static_cast<std::size_t>(m_cursor - m_undoable)]; }
    int Undoable() const { return m_undoable; }
    int Redoable() const { return m_redoable; }

private:
    std::vector<std::string> m_states;
    int m_cursor = 0;
    int m_capacity;
    int m_undoable = 0;
    int m_redoable = 0;
};

class RandomEditor {
public:
    RandomEditor(MTessarayDoc& doc, FakeView& view, unsigned sequence)
        : m_doc(doc), m_view(view), m_rng(sequence) {}

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    double Coordinate() { return std::uniform_int_distribution<int>(-5000, 5000)(m_rng) / 4.0; }

    MCadShape* NewShape() {
        if (Pick(3) == 0) return Triangle(Coordinate(), Coordinate(), 1 + Pick(500));
        return Line(Coordinate(), Coordinate(), Coordinate(), Coordinate());
    }

    // A shape of the drawing and its layer, or null.
    MCadShape* AnyShape(int* layer) {
        MDocShapeArray* layers = m_doc.GetLayers();
        int total = 0;
        for (int i = 0; i < layers->GetLayerCount(); ++i)
            total += layers->GetLayer(i)->GetSize();
        if (total == 0) return nullptr;
        int k = Pick(total);
        for (int i = 0; i < layers->GetLayerCount(); ++i) {
            MLayer* l = layers->GetLayer(i);
            if (k < l->GetSize()) {
                *layer = i;
                return l->GetAt(k);
            }
            k -= l->GetSize();
        }
        return nullptr;
    }

    // A new pack starts: what the last one took out belongs to it now.
    void BeginPack() {
        m_shapesOut.clear();
        m_layersOut.clear();
    }

    // Something this pack took out, to be put back in the same pack; null when there is none.
    template <class T>
    T* TakeOneOut(std::vector<T*>& out) {
        if (out.empty()) return nullptr;
        const auto at = out.begin() + Pick(static_cast<int>(out.size()));
        T* object = *at;
        out.erase(at);
        return object;
    }

    void InsertLayerWithTab(int at, MLayer* l) {
        m_view.InsertLayerTab(at, l->m_name);
        if (at >= m_doc.GetLayers()->GetLayerCount())
            m_doc.AddLayer(l);
        else
            m_doc.InsertLayer(at, l);
    }

    MLayer* RemoveLayerWithTab(int at) {
        m_view.RemoveLayerTab(at);
        MLayer* removed = m_doc.RemoveLayer(at, TRUE);
        m_layersOut.push_back(removed);
        return removed;
    }

    // One primitive edit; the caller brackets it.
    void Edit() {
        MDocShapeArray* layers = m_doc.GetLayers();
        const int count = layers->GetLayerCount();
        int layer = -1;
        switch (Pick(13)) {
            case 0:
            case 1:
                m_doc.AddShape(NewShape(), Pick(2) ? -1 : Pick(count));
                break;
            case 2: {
                const int l = Pick(count);
                m_doc.InsertShape(Pick(layers->GetLayer(l)->GetSize() + 2) - 1, NewShape(), l);
                break;
            }
            case 3:
                if (MCadShape* s = AnyShape(&layer)) {
                    m_doc.RemoveShape(s, Pick(2) ? -1 : layer, TRUE);
                    m_shapesOut.push_back(s);
                }
                break;
            case 4:
                if (MCadShape* s = AnyShape(&layer)) {
                    m_doc.ReplaceShape(s, NewShape(), Pick(2) ? -1 : layer);
                    m_shapesOut.push_back(s);
                }
                break;
            case 5: {
                auto* l = new MLayer(m_doc.NewLayerName(), Pick(2), Pick(2), Pick(2));
                if (Pick(2)) l->Add(NewShape());
                InsertLayerWithTab(Pick(count + 1), l);
                break;
            }
            case 6:
                if (count > 1) RemoveLayerWithTab(Pick(count));
                break;
            case 7:
                // Moving a layer: out with a record, then the same layer (as the select tool's moves
                // do with shapes) or a deep copy (as the view does) back in elsewhere.
                if (count > 1) {
                    const int to = Pick(count);
                    MLayer* moved = RemoveLayerWithTab(Pick(count));
                    if (Pick(2)) {
                        m_layersOut.pop_back();
                        InsertLayerWithTab(to, moved);
                    } else {
                        MLayer* copy = moved->Clone(&m_doc);
                        copy->RecalcAll(m_doc.GetOffscreenView());
                        InsertLayerWithTab(to, copy);
                    }
                }
                break;
            case 8: {
                const int at = Pick(count);
                const CString name =
                    Pick(4) ? "名前" + std::to_string(Pick(100)) : layers->GetLayer(Pick(count))->m_name;
                m_doc.SetLayerSettings(at, name, Pick(8));
                m_view.SetLayerTabName(at, name);
                break;
            }
            case 9:
                // A paper change (its origin and grid with it), or an empty pack.
                if (Pick(2)) {
                    const double width = 100 + Pick(800);
                    m_doc.ChangePaper(MPaperSizeInfo("P", "", width, width * 0.7),
                                      MPaperScaleInfo("S", 1.0 / (1 + Pick(200))), Pick(2), 1 + Pick(999),
                                      1 + Pick(999));
                }
                break;
            case 10:
                // A shape moved to another layer: the same object out and in again.
                if (MCadShape* s = AnyShape(&layer)) {
                    m_doc.RemoveShape(s, layer, TRUE);
                    const int to = Pick(count);
                    m_doc.InsertShape(Pick(layers->GetLayer(to)->GetSize() + 2) - 1, s, to);
                }
                break;
            case 11:
                // A shape this pack took out comes back, into any layer.
                if (MCadShape* s = TakeOneOut(m_shapesOut)) m_doc.AddShape(s, Pick(count));
                break;
            case 12:
                // A layer this pack took out comes back, anywhere.
                if (MLayer* l = TakeOneOut(m_layersOut)) InsertLayerWithTab(Pick(count + 1), l);
                break;
        }
        // The view makes the last layer current after layer edits; undo and redo of layer records do
        // the same, so every recorded state has it.
        layers->SetCurrentLayer(layers->GetLayerCount() - 1);
    }

private:
    MTessarayDoc& m_doc;
    FakeView& m_view;
    std::mt19937 m_rng;
    // Taken out by the open pack and still outside: they belong to it.
    std::vector<MCadShape*> m_shapesOut;
    std::vector<MLayer*> m_layersOut;
};

void RunSequence(unsigned sequence, int capacity, int steps) {
    SCOPED_TRACE("sequence " + std::to_string(sequence) + ", capacity " + std::to_string(capacity));
    GetOptionRecord().m_undoCount = capacity;
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddLayer(new MLayer("Base", TRUE, TRUE, TRUE));
    doc.AddShape(Line(0, 0, 100, 100), 0);
    doc.AddShape(Triangle(5, 5, 50), 1);
    doc.GetLayers()->SetCurrentLayer(1);
    FakeView view(doc);
    RandomEditor editor(doc, view, sequence);
    HistoryModel model(FileText(doc), capacity);

    for (int step = 0; step < steps; ++step) {
        const int what = editor.Pick(10);
        if (what < 2) {
            EXPECT_EQ(doc.CanUndo() != 0, model.Undoable() > 0);
            doc.Undo(&view);
            model.Undo();
        } else if (what < 3) {
            EXPECT_EQ(doc.CanRedo() != 0, model.Redoable() > 0);
            doc.Redo(&view);
            model.Redo();
        } else {
            doc.BeginUndo();
            editor.BeginPack();
            const int edits = editor.Pick(4) == 0 ? 2 + editor.Pick(3) : 1;
            for (int e = 0; e < edits; ++e)
                editor.Edit();
            doc.EndUndo();
            model.Edited(FileText(doc));
        }
        ASSERT_EQ(FileText(doc), model.Current()) << "step " << step;
        ASSERT_EQ(view.tabs, view.LayerNames()) << "step " << step;

        // Undo everything, check the oldest reachable file, then redo back to where we were.
        const int undoable = model.Undoable();
        for (int i = 0; i < undoable; ++i)
            doc.Undo(&view);
        EXPECT_FALSE(doc.CanUndo());
        ASSERT_EQ(FileText(doc), model.Oldest()) << "step " << step;
        for (int i = 0; i < undoable; ++i)
            doc.Redo(&view);
        ASSERT_EQ(FileText(doc), model.Current()) << "step " << step;
        ASSERT_EQ(view.tabs, view.LayerNames()) << "step " << step;
    }
}

class UndoModel : public DocumentTest {};

}  // namespace

TEST_F(UndoModel, RandomEditsUndoToTheOriginalFile) {
    for (unsigned sequence = 1; sequence <= 12; ++sequence)
        RunSequence(sequence, 1000, 150);
}

TEST_F(UndoModel, RandomEditsWithSmallRingsUndoToTheOldestKeptState) {
    for (unsigned sequence = 100; sequence <= 110; ++sequence)
        RunSequence(sequence, 1 + static_cast<int>(sequence % 4), 120);
}
