// Fitting an imported drawing to the sheet recalculates the whole drawing once after the move: the
// result must be what recalculating everything at each step gives (the same scale, the same shift,
// every shape's extents and saved text), on real files and on a generated mixed drawing.
#include <algorithm>
#include <fstream>
#include <sstream>

#include "ViewTestSupport.h"
#include "bench/BenchDxf.h"
#include "document/DocShapeArray.h"
#include "document/PaperSettings.h"
#include "interchange/DxfReader.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/text/TextShape.h"

using namespace viewtest;

namespace {

class FitDrawing : public ::testing::Test {
protected:
    void SetUp() override { ResetProgramState(); }
    MessageBoxRecorder messages;
};

// A fresh view over a document holding the file, as an import leaves it.
struct ImportedDrawing {
    ViewHarness h;
    ImportedDrawing() = default;
    explicit ImportedDrawing(const std::string& path) {
        MDXFReader reader(h.doc);
        EXPECT_EQ(reader.Read(path), 1);
        h.doc.m_importedExtentsValid = reader.GetExtentsValid();
        h.doc.m_importedExtents = reader.GetExtents();
    }
};

bool Encloses(MFloatRect outer, MFloatRect inner) {
    outer.Normalize();
    inner.Normalize();
    return outer.left <= inner.left && outer.right >= inner.right && outer.bottom <= inner.bottom &&
           outer.top >= inner.top;
}

MFloatRect FittedExtent(MTessarayDoc& doc) {
    const MFloatRect& imported = doc.m_importedExtents;
    const MFloatRect drawing = doc.GetLayers()->GetExtent();
    if (doc.m_importedExtentsValid && imported.GetWidth() != 0.0 && imported.GetHeight() != 0.0 &&
        Encloses(imported, drawing))
        return imported;
    return drawing;
}

// The fit with every shape recalculated before the scale is chosen, at the chosen scale and after
// the move; the scale is the one the view chose from the first of these, which is unchanged.
void FitRecalculatingEverything(ImportedDrawing& d, const MPaperInfo& chosen) {
    MTessarayDoc& doc = d.h.doc;
    MTessarayView& view = *d.h.view;
    doc.RecalcAll(&view);
    const MFloatRect first = FittedExtent(doc);
    if (first.IsNull()) return;
    doc.GetPaperInfo().SetScale(chosen.GetScaleInfo().m_name, chosen.GetScale());
    view.RecalcScale();
    doc.RecalcAll(&view);
    const MFloatRect e = FittedExtent(doc);
    const MFloatSize size = doc.GetPaperInfo().GetSize();
    MFloatRect sheet;
    sheet.left = 0.0, sheet.top = 0.0, sheet.right = size.cx, sheet.bottom = -size.cy;
    const MFloatPoint shift = view.PaperToDocRect(sheet).GetCenter() - e.GetCenter();
    doc.MoveAll(shift.x, shift.y);
    doc.RecalcAll(&view);
}

void AddExtents(std::ostringstream& out, const MCadShape* s, int depth) {
    const auto put = [&out](const MFloatRect& r) {
        out << std::hexfloat << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom << ' ';
    };
    out << depth << ' ' << s->GetTypeName() << ' ';
    put(s->GetExtent());
    put(s->GetDrawExtent());
    out << '\n';
    if (const auto* g = dynamic_cast<const MGroupShape*>(s))
        for (int i = 0; i < g->GetShapeCount(); ++i)
            if (const MCadShape* m = g->GetShapeAt(i)) AddExtents(out, m, depth + 1);
}

// Every shape's extents, members' too, exactly, and the saved text of every layer.
std::string State(MTessarayDoc& doc) {
    std::ostringstream out;
    out << std::hexfloat << doc.GetPaperInfo().GetScale() << ' ' << doc.GetPaperInfo().GetScaleInfo().m_name
        << '\n';
    const MDocShapeArray* layers = doc.GetLayers();
    for (int i = 0; i < layers->GetLayerCount(); ++i) {
        const MLayer* layer = layers->GetLayer(i);
        for (int k = 0; k < layer->GetSize(); ++k)
            if (const MCadShape* s = layer->GetAt(k)) AddExtents(out, s, 0);
        layer->WriteText(&doc, out);
    }
    return out.str();
}

// DXF lines from "code|value|..." pairs.
std::string Pairs(const std::string& pairs) {
    std::string out = pairs;
    std::replace(out.begin(), out.end(), '|', '\n');
    return out;
}

void ExpectBothWaysAlike(ImportedDrawing& fitted, ImportedDrawing& reference) {
    fitted.h.view->FitPaperScaleToDrawing();
    FitRecalculatingEverything(reference, fitted.h.doc.GetPaperInfo());
    const std::string expected = State(reference.h.doc), actual = State(fitted.h.doc);
    EXPECT_GT(std::count(expected.begin(), expected.end(), '\n'), 1);
    EXPECT_TRUE(actual == expected) << "the fitted drawing differs from the one recalculated at each step";
}

void ExpectBothWaysAlike(const std::string& path) {
    SCOPED_TRACE(path);
    ImportedDrawing fitted(path), reference(path);
    ExpectBothWaysAlike(fitted, reference);
}

TEST_F(FitDrawing, RealFilesFitAsWhenEverythingIsRecalculatedAtEachStep) {
    const std::vector<std::string> files = TestDataFiles("dxf", "dxf");
    if (files.empty()) GTEST_SKIP() << "no DXF files under " TESSARAY_TESTDATA_DIR "/dxf";
    for (const std::string& path : files)
        ExpectBothWaysAlike(path);
}

TEST_F(FitDrawing, AGeneratedMixedDrawingFitsAsWhenEverythingIsRecalculatedAtEachStep) {
    // Lines, circles, arcs, texts, polylines and block placements on ten layers.
    const std::string path = MakeTempDir("fit_mixed") + "/mixed.dxf";
    bench::WriteDxfFile(path, 3000);
    ExpectBothWaysAlike(path);
}

TEST_F(FitDrawing, CirclesAndArcsAtTheEdgeFitAsWhenEverythingIsRecalculated) {
    // Fitting bounds circles and arcs by their whole circle while it lies inside the other shapes;
    // here some decide an edge, at the top and in nested blocks, and some lie inside or on an edge.
    const std::string block =
        "0|BLOCK|2|IN|10|0|20|0|0|ARC|8|0|10|0|20|0|40|5|50|100|51|170|0|INSERT|8|0|2|DEEP|"
        "10|0|20|0|0|ENDBLK|0|BLOCK|2|DEEP|10|0|20|0|0|CIRCLE|8|0|10|3|20|1|40|2|0|ENDBLK|";
    const std::vector<std::string> drawings = {
        // An arc inside a block reaches left, a circle at the top right.
        "0|LINE|8|0|10|0|20|0|11|100|21|50|0|INSERT|8|0|2|IN|10|-1|20|20|0|CIRCLE|8|0|10|99|20|49|40|3|",
        // The nested block's circle reaches down; the arc lies inside.
        "0|LINE|8|0|10|-50|20|0|11|100|21|50|0|INSERT|8|0|2|IN|10|30|20|-1|0|ARC|8|0|10|10|20|10|40|1|50|0|"
        "51|90|",
        // A circle exactly on an edge of the lines, and nothing but circles and arcs.
        "0|LINE|8|0|10|0|20|0|11|10|21|0|0|CIRCLE|8|0|10|5|20|0|40|0|",
        "0|CIRCLE|8|0|10|5|20|5|40|2|0|ARC|8|0|10|0|20|0|40|1|50|0|51|45|0|INSERT|8|0|2|IN|10|1|20|1|",
    };
    const std::string dir = MakeTempDir("fit_circles");
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        const std::string path = dir + "/edge" + std::to_string(i) + ".dxf";
        std::ofstream(path) << "0\nSECTION\n2\nBLOCKS\n"
                            << Pairs(block) << "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
                            << Pairs(drawings[i]) << "0\nENDSEC\n0\nEOF\n";
        ExpectBothWaysAlike(path);
    }
}

TEST_F(FitDrawing, ADimensionAtTheEdgeFitsAsWhenEverythingIsRecalculated) {
    // The dimension's text, sized on paper, decides the top edge: at the chosen scale it is another.
    ImportedDrawing fitted, reference;
    for (ImportedDrawing* d : {&fitted, &reference}) {
        d->h.doc.AppendShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(100, 50)), 0);
        auto* size = new MSizeShape;
        size->SetPoints({0, 50}, {100, 50}, {0, 52}, {100, 52}, {50, 52});
        d->h.doc.AppendShape(size, 0);
    }
    ExpectBothWaysAlike(fitted, reference);
    EXPECT_NE(fitted.h.doc.GetPaperInfo().GetScale(), 1.0) << "the scale changed";
}

TEST_F(FitDrawing, ExtentsAtANewScaleAreThoseOfAWholeRecalculation) {
    // A dimension, whose text and arrows are sized on paper, alone and in a group with a line, a
    // circle and a text; and a text, measured at a fixed height.
    ViewHarness h;
    auto* size = new MSizeShape;
    size->SetPoints({0, 0}, {100, 0}, {0, 20}, {100, 20}, {50, 20});
    h.doc.AppendShape(size, 0);
    auto* group = new MGroupShape;
    group->AddShape(new MLineShape(MFloatPoint(0, 0), MFloatPoint(10, 10)));
    group->AddShape(size->Duplicate());
    auto* circle = new MCircleShape;
    circle->SetCircle(20, 20, 3);
    group->AddShape(circle);
    auto* text = new MTextShape;
    text->SetString("図面 Tessaray");
    text->SetTextSize(5);
    text->SetPoint(MFloatPoint(100, 50));
    group->AddShape(text);
    h.doc.AppendShape(group, 0);
    h.doc.RecalcAll(h.view.get());
    const MFloatRect before = size->GetExtent();

    h.doc.GetPaperInfo().SetScale("1:10", 0.1);
    h.view->RecalcScale();
    h.doc.GetLayers()->RecalcScaledExtents(h.view.get());
    EXPECT_NE(size->GetExtent(), before) << "the dimension's extent follows the scale";
    std::vector<MFloatRect> scaled;
    for (const MCadShape* s : {static_cast<MCadShape*>(size), static_cast<MCadShape*>(group),
                               group->GetShapeAt(1), static_cast<MCadShape*>(text)})
        scaled.push_back(s->GetExtent());
    h.doc.RecalcAll(h.view.get());
    EXPECT_EQ(size->GetExtent(), scaled[0]);
    EXPECT_EQ(group->GetExtent(), scaled[1]);
    EXPECT_EQ(group->GetShapeAt(1)->GetExtent(), scaled[2]);
    EXPECT_EQ(text->GetExtent(), scaled[3]);
}

}  // namespace
