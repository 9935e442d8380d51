// Helpers of the document tests: a view that records what the document asks of it, a tool that
// counts its resets, shapes, and the native file text of a document.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "document/ClassRegistry.h"
#include "document/DocumentTool.h"
#include "document/DocumentView.h"
#include "document/TessarayDoc.h"
#include "document/ToolSettings.h"
#include "model/CadView.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/dimension/SizeFormatInfo.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "platform/TextFile.h"
#include "tests/support/TestSupport.h"

namespace doctest {

class CountingTool : public MDocumentTool {
public:
    void Reset() override { ++resets; }
    CString GetKey() const override { return key; }
    CString GetTitle() const override { return title; }
    BOOL IsAutoLayerCapable() const override { return autoLayer; }
    CString GetAutoLayerName() const override { return layer; }
    void SetAutoLayerName(const CString& name) override { layer = name; }

    int resets = 0;
    CString key = "LINE";
    CString title = "直線";
    BOOL autoLayer = TRUE;
    CString layer;
};

// A coordinate view that records what it is asked to repaint.
class RecordingCadView : public MCadView {
public:
    explicit RecordingCadView(const MPaperInfo* paper) : MCadView(paper) {}
    void InvalidateRect(const CRect* rect, BOOL erase) override {
        if (rect) invalidated.push_back(*rect);
    }
    std::vector<CRect> invalidated;
};

// A view with layer tabs kept as names, in the way the window view keeps them.
class FakeView : public MDocumentView {
public:
    explicit FakeView(MTessarayDoc& doc) : cad(&doc.GetPaperInfo()), m_doc(doc) {
        doc.AddView(this);
        SyncTabs();
    }
    ~FakeView() override { m_doc.RemoveView(this); }

    MCadView* GetCadView() override { return &cad; }
    MDocumentTool* GetCurrentTool() override { return &tool; }
    void RemoveLayerTab(int index) override {
        if (index < 0) index = static_cast<int>(tabs.size()) - 1;
        ASSERT_GE(index, 0);
        ASSERT_LT(index, static_cast<int>(tabs.size()));
        tabs.erase(tabs.begin() + index);
    }
    void InsertLayerTab(int index, const CString& name) override {
        if (index < 0 || index >= static_cast<int>(tabs.size()))
            tabs.push_back(name);
        else
            tabs.insert(tabs.begin() + index, name);
    }
    void SetLayerTabName(int index, const CString& name) override {
        tabs.at(static_cast<std::size_t>(index)) = name;
    }
    void OnLayersReplayed() override { ++replays; }
    void OnPaperReplayed() override {
        ++paperReplays;
        scaleSeen = cad.unitScaleX / cad.paperScaleX;
    }
    BOOL ExportMetafile(const std::string& path) override {
        metafiles.push_back(path);
        return TRUE;
    }
    void SendViewCommand(UINT id) override { commands.push_back(id); }

    // The tabs the view would show for the document's layers now.
    void SyncTabs() {
        tabs.clear();
        for (int i = 0; i < m_doc.GetLayers()->GetLayerCount(); ++i)
            tabs.push_back(m_doc.GetLayers()->GetLayer(i)->m_name);
    }
    std::vector<CString> LayerNames() const {
        std::vector<CString> names;
        for (int i = 0; i < m_doc.GetLayers()->GetLayerCount(); ++i)
            names.push_back(m_doc.GetLayers()->GetLayer(i)->m_name);
        return names;
    }

    RecordingCadView cad;
    CountingTool tool;
    std::vector<CString> tabs;
    std::vector<std::string> metafiles;
    std::vector<UINT> commands;
    int replays = 0;
    int paperReplays = 0;
    // The paper scale that the coordinate object's scale fields held when the document reported a
    // paper replay.
    double scaleSeen = 0.0;

private:
    MTessarayDoc& m_doc;
};

inline MLineShape* Line(double x1, double y1, double x2, double y2) {
    auto* line = new MLineShape(MFloatPoint(x1, y1), MFloatPoint(x2, y2));
    line->Recalc(nullptr);
    return line;
}

inline MPolygonShape* Triangle(double x, double y, double size) {
    auto* polygon = new MPolygonShape(TRUE);
    polygon->AddPoint(MFloatPoint(x, y));
    polygon->AddPoint(MFloatPoint(x + size, y));
    polygon->AddPoint(MFloatPoint(x, y + size));
    polygon->Recalc(nullptr);
    return polygon;
}

// The native file of the document as text.
inline std::string FileText(MTessarayDoc& doc) {
    TextOutput out;
    doc.WriteText(out);
    return out.str();
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Registers the classes and starts every test from the program's start values.
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDocumentClasses();
        ResetProgramState();
    }
    void TearDown() override { ResetProgramState(); }
};

}  // namespace doctest
