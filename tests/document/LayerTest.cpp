#include <gtest/gtest.h>

#include <QImage>
#include "model/shapes/containers/LShapeArray.h"
#include "platform/Archive.h"
#include "platform/File.h"

#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "tests/document/DocumentTestSupport.h"

using namespace doctest;

namespace {

class Layers : public DocumentTest {};

std::string LayerText(const MLayer& layer) {
    TextOutput out;
    layer.WriteText(nullptr, out);
    return out.str();
}

// Reads a layer the way the native reader does: the "[LAYER]" line first.
std::unique_ptr<MLayer> ReadLayer(const std::string& text) {
    TextInput in(text);
    std::string header;
    std::getline(in, header);
    auto layer = std::make_unique<MLayer>();
    layer->ReadText(nullptr, in);
    return layer;
}

// A view without paper at 1 logical pixel per drawing unit: DocToLogical(x, y) = (x, -y).
class UnitView : public MCadView {
public:
    UnitView() {
        unitScaleX = paperScaleX = 1.0;
        unitScaleY = paperScaleY = -1.0;
        unitInvX = paperInvX = 1.0;
        unitInvY = paperInvY = -1.0;
        pixelDiagonal = std::sqrt(2.0);
    }
};

}  // namespace

TEST_F(Layers, ConstructorsMapTheThreeFlags) {
    MLayer standard;
    EXPECT_EQ(standard.m_flags, 7);
    EXPECT_TRUE(standard.m_name.empty());
    MLayer hidden("h", FALSE, TRUE, TRUE);
    EXPECT_EQ(hidden.m_flags, 6);
    MLayer locked("l", TRUE, FALSE, TRUE);
    EXPECT_EQ(locked.m_flags, 3);
    MLayer noPrint("n", TRUE, TRUE, FALSE);
    EXPECT_EQ(noPrint.m_flags, 5);
    noPrint.SetPrintable(TRUE);
    noPrint.SetVisible(FALSE);
    EXPECT_EQ(noPrint.m_flags, 6);
}

TEST_F(Layers, TextFormRoundTripsAlsoForAnEmptyName) {
    MLayer layer("", FALSE, TRUE, TRUE);
    layer.Add(Line(0, 0, 10, 0));
    const std::string text = LayerText(layer);
    EXPECT_EQ(text.substr(0, 15), "[LAYER]\n\t\n\t6\n\t1");
    // Skipping white space across the line end would make the flags line the name.
    auto back = ReadLayer(text);
    EXPECT_EQ(back->m_name, "");
    EXPECT_EQ(back->m_flags, 6);
    EXPECT_EQ(back->GetSize(), 1);
    EXPECT_EQ(LayerText(*back), text);

    auto blanks = ReadLayer("[LAYER]\n\t  名前 x\n\t7\n\t0\n");
    EXPECT_EQ(blanks->m_name, "名前 x");
}

TEST_F(Layers, CloneCopiesNameFlagsAndShapes) {
    MLayer layer("壁", TRUE, FALSE, TRUE);
    layer.Add(Line(0, 0, 10, 5));
    layer.Add(Triangle(1, 1, 2));
    std::unique_ptr<MLayer> copy(layer.Clone(nullptr));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->m_name, "壁");
    EXPECT_EQ(copy->m_flags, 3);
    ASSERT_EQ(copy->GetSize(), 2);
    EXPECT_NE(copy->GetAt(0), layer.GetAt(0));
    EXPECT_TRUE(copy->IsOwner());
    EXPECT_EQ(LayerText(*copy), LayerText(layer));
}

TEST_F(Layers, ContainerArchiveRefusesElementsThatAreNoLayers) {
    MDocShapeArray layers;
    layers.AddLayer(new MLayer("a", TRUE, TRUE, TRUE));
    layers.AddLayer(new MLayer("b", TRUE, TRUE, TRUE));
    layers.m_current = 1;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        layers.Serialize(ar);
    }
    std::vector<BYTE> bytes = file.Detach();
    {
        MDocShapeArray back;
        CMemFile in(bytes);
        CArchive ar(&in, CArchive::load);
        back.Serialize(ar);
        EXPECT_EQ(back.GetLayerCount(), 2);
        EXPECT_EQ(back.m_current, 1);
    }
    // A shape array where a layer belongs: same layout, other class name.
    CMemFile bad;
    {
        CArchive ar(&bad, CArchive::store);
        ar << std::int32_t(0);
        ar.WriteCount(1);
        MShapeArray stranger;
        ar.WriteObject(&stranger);
    }
    MDocShapeArray back;
    CMemFile in(bad.Detach());
    CArchive ar(&in, CArchive::load);
    EXPECT_THROW(back.Serialize(ar), CArchiveException);
    EXPECT_EQ(back.GetLayerCount(), 0);
}

TEST_F(Layers, RemovingTheCurrentLastLayerMakesTheNewLastCurrent) {
    MDocShapeArray layers;
    for (const char* n : {"a", "b", "c"})
        layers.AddLayer(new MLayer(n, TRUE, TRUE, TRUE));
    layers.SetCurrentLayer(2);
    std::unique_ptr<MLayer> removed(layers.RemoveLayer(-1));
    EXPECT_EQ(removed->m_name, "c");
    EXPECT_EQ(layers.GetCurrentLayerIndex(), 1);
    layers.RemoveAll();
    EXPECT_EQ(layers.GetCurrentLayerIndex(), 0);
    EXPECT_EQ(layers.RemoveLayer(-1), nullptr);
}

TEST_F(Layers, FindByNameIsExactAndFindsTheFirst) {
    MDocShapeArray layers;
    for (const char* n : {"Plan", "plan", "Plan", ""})
        layers.AddLayer(new MLayer(n, TRUE, TRUE, TRUE));
    EXPECT_EQ(layers.FindLayerByName("Plan"), 0);
    EXPECT_EQ(layers.FindLayerByName("plan"), 1);
    EXPECT_EQ(layers.FindLayerByName("PLAN"), -1);
    EXPECT_EQ(layers.FindLayerByName(""), -1) << "the empty name finds no layer, not the unnamed one";
}

TEST_F(Layers, RemoveShapeSearchesEveryLayerFromTheLast) {
    MDocShapeArray layers;
    for (const char* n : {"a", "b", "c"})
        layers.AddLayer(new MLayer(n, TRUE, TRUE, TRUE));
    MCadShape* s = Line(0, 0, 1, 1);
    layers.AddShapeToLayer(Line(5, 5, 6, 6), 1);
    layers.AddShapeToLayer(s, 1);
    int found = -2;
    EXPECT_EQ(layers.RemoveShapeFromLayer(s, 2, &found), -1);
    EXPECT_EQ(found, -1);
    EXPECT_EQ(layers.RemoveShapeFromLayer(s, -1, &found), 1);
    EXPECT_EQ(found, 1);
    delete s;
    EXPECT_EQ(layers.InsertShapeInLayer(99, Line(0, 0, 2, 2), 0), 0);
    EXPECT_EQ(layers.InsertShapeInLayer(-5, Line(0, 0, 3, 3), 0), 1);
}

TEST_F(Layers, SnapWithOtherLayersFindsTheNearerEndPointThere) {
    GetOptionRecord().m_layer = 12;
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddLayer(new MLayer("other", TRUE, TRUE, TRUE));
    doc.AddShape(Line(100, -100, 200, -100), 0);  // end point 6 pixels left of the cursor
    doc.AddShape(Line(103, -101, 300, -300), 1);  // end point 3 pixels away
    doc.GetLayers()->SetCurrentLayer(0);
    UnitView view;
    MSnapQuery query = view.SnapQueryAt(106, 100, kSnapEndPoint);
    MSnapPoint record = doc.FindSnapPoint(query);
    EXPECT_EQ(record.kind, kSnapEndPoint);
    EXPECT_EQ(record.GetPoint(), MFloatPoint(103, -101));
    EXPECT_EQ(record.shape1, doc.GetLayers()->GetLayer(1)->GetAt(0));
    query.currentLayerOnly = true;
    record = doc.FindSnapPoint(query);
    EXPECT_EQ(record.kind, kSnapEndPoint);
    EXPECT_EQ(record.GetPoint(), MFloatPoint(100, -100));
    GetOptionRecord().m_layer = 4;
    query.currentLayerOnly = false;
    record = doc.FindSnapPoint(query);
    EXPECT_EQ(record.kind, kSnapEndPoint);
    EXPECT_EQ(record.GetPoint(), MFloatPoint(100, -100));

    MDocShapeArray empty;
    record = empty.FindSnapPoint(view.SnapQueryAt(0, 0, 0xFFFF));
    EXPECT_EQ(record.kind, 0);
    EXPECT_EQ(record.shape1, nullptr);
}

TEST_F(Layers, DisplayModeDecidesWhichLayersAreDrawnAndHow) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddLayer(new MLayer("other", TRUE, TRUE, TRUE));
    doc.AddLayer(new MLayer("hidden", FALSE, TRUE, TRUE));
    doc.AddShape(Line(10, -10, 90, -10), 0);  // current: row 10
    doc.AddShape(Line(10, -20, 90, -20), 1);  // other visible: row 20
    doc.AddShape(Line(10, -30, 90, -30), 2);  // hidden: row 30
    doc.GetLayers()->SetCurrentLayer(0);
    UnitView view;
    const auto render = [&](WORD mode) {
        GetOptionRecord().m_layer = mode;
        CDC dc;
        dc.CreateImageDC(100, 40);
        doc.Draw(&view, &dc);
        dc.Flush();
        return std::vector<COLORREF>{dc.GetPixel(50, 10), dc.GetPixel(50, 20), dc.GetPixel(50, 30)};
    };
    const COLORREF white = 0xFFFFFF;
    auto shown = render(12);
    EXPECT_EQ(shown[0], 0u);
    EXPECT_EQ(shown[1], 0u);
    EXPECT_EQ(shown[2], white);
    auto grey = render(2);
    EXPECT_EQ(grey[0], 0u);
    EXPECT_NE(grey[1], 0u);
    EXPECT_NE(grey[1], white);
    EXPECT_EQ(grey[2], white);
    auto only = render(0);
    EXPECT_EQ(only[0], 0u);
    EXPECT_EQ(only[1], white);
    EXPECT_EQ(only[2], white);
}

TEST_F(Layers, SelectionReachesOtherLayersOnlyWithTheSelectableBit) {
    GetOptionRecord().m_layer = 12;
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddLayer(new MLayer("other", TRUE, TRUE, TRUE));
    doc.AddLayer(new MLayer("locked", TRUE, FALSE, TRUE));
    for (int i = 0; i < 3; ++i)
        doc.AddShape(Line(0, i, 10, i), i);
    doc.GetLayers()->SetCurrentLayer(0);
    UnitView view;
    MLShapeArray selection(FALSE);
    MFloatPointArray centres;
    EXPECT_EQ(doc.SelectAllShapes(&view, &selection, &centres), 1);
    GetOptionRecord().m_layer = 12 | 0x10;
    selection.RemoveAll();
    EXPECT_EQ(doc.SelectShapesInRect(&view, &selection, &centres, MFloatRect(-1, 5, 11, -1), 1), 2);
    EXPECT_EQ(selection.GetValueAt(1), 1u);
    EXPECT_EQ(doc.SelectShapesInRect(&view, &selection, nullptr, MFloatRect(2, 5, 8, -1), 1), 0)
        << "inside means wholly inside";
}

TEST_F(Layers, PrintingDrawsOnlyLayersThatAreVisibleAndPrintable) {
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddLayer(new MLayer("hidden", FALSE, TRUE, TRUE));
    doc.AddLayer(new MLayer("screen only", TRUE, TRUE, FALSE));
    doc.AddShape(Line(10, -10, 90, -10), 0);
    doc.AddShape(Line(10, -20, 90, -20), 1);
    doc.AddShape(Line(10, -30, 90, -30), 2);
    doc.GetLayers()->SetCurrentLayer(1);  // the current layer is no exception on paper
    UnitView view;
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CDC dc;
        dc.AttachBackend(MakeImageBackend(&image), true);
        ASSERT_TRUE(dc.IsPrinting());
        doc.Draw(&view, &dc);
        dc.Flush();
    }
    EXPECT_EQ(FromQRgb(image.pixel(50, 10)), 0u);
    EXPECT_EQ(FromQRgb(image.pixel(50, 20)), 0xFFFFFFu);
    EXPECT_EQ(FromQRgb(image.pixel(50, 30)), 0xFFFFFFu);
}

TEST_F(Layers, HitTestTriesTheEditableLayersFromTheLast) {
    GetOptionRecord().m_layer = 12;
    MTessarayDoc doc;
    doc.OnNewDocument();
    doc.AddLayer(new MLayer("other", TRUE, TRUE, TRUE));
    MCadShape* below = Line(0, -50, 100, -50);
    MCadShape* above = Line(50, 0, 50, -100);
    doc.AddShape(below, 0);
    doc.AddShape(above, 1);
    doc.GetLayers()->SetCurrentLayer(0);
    UnitView view;
    int layer = -2;
    EXPECT_EQ(doc.HitTest(&view, 50, 50, &layer, 3), below);
    EXPECT_EQ(layer, 0);
    GetOptionRecord().m_layer = 12 | 0x10;
    EXPECT_EQ(doc.HitTest(&view, 50, 50, &layer, 3), above);
    EXPECT_EQ(layer, 1);
    EXPECT_EQ(doc.HitTest(&view, 80, 90, &layer, 3), nullptr);
    EXPECT_EQ(layer, -1);
}
