// The clipboard tests' select tool and fixture: copy takes the fake tool's selection, paste
// inserts straight into the document.
#pragma once

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <vector>

#include "model/shapes/containers/PackShape.h"
#include "platform/ui/Clipboard.h"
#include "resources/ResourceIds.h"
#include "tests/support/TestSupport.h"
#include "tests/view/ViewTestSupport.h"
#include "view/ClassRegistry.h"
#include "view/ViewSelection.h"

namespace cliptest {

using namespace viewtest;

enum : UINT { kCopy = 57634, kCut = 57635, kPaste = 57637 };

// A select tool: a list of selected shapes, and insertion straight into the document.
class FakeSelectTool : public RecordingTool, public MSelectionServices {
public:
    FakeSelectTool() : RecordingTool(ID_TOOL_SELECT, "図形選択") {}
    BOOL IsSelectTool() const override { return TRUE; }
    int GetSelectionCount() const override { return static_cast<int>(selected.size()); }
    int GetSelectedCount() const override { return GetSelectionCount(); }
    MCadShape* GetSelectedShape(int index) const override {
        return selected.at(static_cast<std::size_t>(index));
    }
    MPackShape* CreateSelectionPack(MTessarayView* view) override {
        auto* pack = new MPackShape;
        for (MCadShape* s : selected)
            pack->AddShape(s);
        pack->Recalc(view);
        return pack;
    }
    void DeleteSelection(MTessarayView* view) override {
        MTessarayDoc* doc = view->GetDocument();
        doc->BeginUndo();
        for (MCadShape* s : selected)
            doc->RemoveShape(s, -1, TRUE);
        doc->EndUndo();
        selected.clear();
    }
    void InsertShape(MTessarayView* view, MCadShape* shape) override {
        ++inserts;
        if (failInsert) AfxThrowArchiveException(CArchiveException::genericException);
        std::vector<MCadShape*> all;
        Collect(shape, all);
        MTessarayDoc* doc = view->GetDocument();
        doc->BeginUndo();
        for (MCadShape* s : all) {
            s->Recalc(view);
            doc->AddShape(s, -1);
        }
        doc->EndUndo();
        selected = all;
    }
    static void Collect(MCadShape* shape, std::vector<MCadShape*>& out) {
        if (auto* pack = dynamic_cast<MPackShape*>(shape)) {
            for (int i = 0; i < pack->GetShapeCount(); ++i)
                Collect(pack->GetShapeAt(i), out);
        } else {
            out.push_back(shape);
        }
    }

    std::vector<MCadShape*> selected;
    bool failInsert = false;
    int inserts = 0;
};

class SelectTools : public FakeToolArray {
public:
    SelectTools() { select = new FakeSelectTool; }
    ~SelectTools() override { delete select; }
    int GetToolCount() const override { return FakeToolArray::GetToolCount() + 1; }
    MDocumentTool* GetToolAt(int index) const override {
        return index == FakeToolArray::GetToolCount() ? select : FakeToolArray::GetToolAt(index);
    }
    FakeSelectTool* select;
};

class Clipboard : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        RegisterViewClasses();
        m_previous = SetDocumentToolArray(&tools);
        line = tools.Add(ID_TOOL_LINE, "直線");
        RecentTools()[0] = line;
        EmptyClipboard();
    }
    void TearDown() override {
        SetDocumentToolArray(m_previous);
        ClearToolSwitching();
        EmptyClipboard();
    }

    static int ShapeCount(MTessarayDoc& doc) {
        int n = 0;
        for (int i = 0; i < doc.GetLayers()->GetLayerCount(); ++i)
            n += doc.GetLayers()->GetLayer(i)->GetSize();
        return n;
    }
    static MCadShape* ShapeAt(MTessarayDoc& doc, int index) {
        return doc.GetLayers()->GetLayer(0)->GetAt(index);
    }
    static const QMimeData* Mime() { return QGuiApplication::clipboard()->mimeData(); }
    static BOOL Enabled(MTessarayView& view, UINT id) {
        CTestCmdUI ui;
        ui.m_nID = id;
        ui.DoUpdate(&view, TRUE);
        return ui.m_bEnabled;
    }
    // Three shapes with attributes of every kind, selected.
    void AddSelection(ViewHarness& h) {
        auto* a = h.AddLine(1000, 1000, 6000, 3000);
        a->SetColor(RGB(255, 0, 0));
        a->SetLineWidth(0.35);
        a->SetLineStyle(2);
        a->SetArrowsEx(1, 3.5, 5, 2.0);
        auto* b = h.AddCircle(4000, 5000, 1500);
        b->SetFillStyle(MFillStyle(RGB(0, 128, 255)));
        b->SetColor(RGB(0, 0, 255));
        auto* c = h.AddLine(7000, 2000, 8000, 6000);
        c->SetLineStyle(kAuxiliaryLine | 1);
        for (MCadShape* s :
             {static_cast<MCadShape*>(a), static_cast<MCadShape*>(b), static_cast<MCadShape*>(c)}) {
            s->Recalc(h.view.get());
            tools.select->selected.push_back(s);
        }
        h.view->SwitchToSelectTool();
    }

    SelectTools tools;
    RecordingTool* line = nullptr;

private:
    MDocumentToolArray* m_previous = nullptr;
};

}  // namespace cliptest
