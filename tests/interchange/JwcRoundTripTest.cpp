// A drawing saved as ".jwc" and opened again through the document keeps its shapes, layers and
// scale, within what the format carries (4-byte floats, pen colours, names composed with a group).
#include <gtest/gtest.h>

#include <cmath>

#include "document/ClassRegistry.h"
#include "document/Layer.h"
#include "document/TessarayDoc.h"
#include "interchange/JwcXdfInterchange.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/support/TestSupport.h"

namespace {

class JwcRoundTripTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDocumentClasses();
        previous = SetInterchangeFactory(&factory);
    }
    void TearDown() override { SetInterchangeFactory(previous); }

    // Saves `from` as a ".jwc" file and opens it into `to`.
    void RoundTrip(MTessarayDoc& from, MTessarayDoc& to, const std::string& name) {
        const std::string path = MakeTempDir(name) + "/drawing.jwc";
        ASSERT_TRUE(from.OnSaveDocument(path));
        ASSERT_TRUE(to.OnOpenDocument(path));
    }
    static void ExpectNear(const MFloatPoint& a, const MFloatPoint& b) {
        EXPECT_NEAR(a.x, b.x, 1e-6 * (1 + std::fabs(b.x)));
        EXPECT_NEAR(a.y, b.y, 1e-6 * (1 + std::fabs(b.y)));
    }

    MJWCXDFInterchangeFactory factory;
    MInterchangeFactory* previous = nullptr;
    MessageBoxRecorder messages;
};

TEST_F(JwcRoundTripTest, ShapesLayersAndScaleComeBack) {
    MTessarayDoc a;
    a.SetPaper(MPaperSizeInfo("A3", "420mm×297mm", 420, 297), MPaperScaleInfo("1:50", 0.02), TRUE);
    const int walls = a.AddLayer(new MLayer("壁", TRUE, TRUE, TRUE));
    a.AddLayer(new MLayer("空", TRUE, TRUE, TRUE));
    const int dims = a.AddLayer(new MLayer("寸法", TRUE, TRUE, TRUE));
    auto* line = new MLineShape({0, 0}, {4000, 2000});
    line->SetLineStyle(2);
    a.AppendShape(line, walls);
    auto* circle = new MCircleShape;
    circle->SetCircle(1000, 1000, 500);
    circle->SetColor(0x00FF00);
    a.AppendShape(circle, walls);
    auto* arc = new MCircleArcShape;
    arc->SetArc(2000, 2000, 300, 0.5, 2.0);
    arc->SetColor(0xFF0000);
    a.AppendShape(arc, walls);
    auto* ellipse = new MEllipseShape;
    ellipse->SetEllipse(3000, 1000, 400, 200);
    ellipse->SetColor(0xFFFF00);
    a.AppendShape(ellipse, walls);
    auto* mark = new MMarkShape;
    mark->m_position = {100, 200};
    a.AppendShape(mark, walls);
    auto* text = new MTextShape;
    text->SetString("図面");
    text->SetTextSize(150);  // 3 mm at 1:50
    text->SetAlignment(8);
    text->SetPoint({500, 700});
    text->Recalc(a.GetOffscreenView());
    a.AppendShape(text, walls);
    auto* aux = new MLineShape({0, 100}, {300, 100});
    aux->SetLineStyle(0x88);
    a.AppendShape(aux, dims);

    MTessarayDoc b;
    RoundTrip(a, b, "JwcRoundTrip");
    EXPECT_TRUE(messages.Messages().empty());

    EXPECT_DOUBLE_EQ(b.GetPaperInfo().GetScale(), 0.02);
    EXPECT_EQ(b.GetPaperInfo().GetSizeInfo().m_name, "A3");
    const MDocShapeArray* layers = b.GetLayers();
    ASSERT_EQ(layers->GetLayerCount(), 2);  // the empty layer has no JW_CAD counterpart
    EXPECT_EQ(layers->GetLayer(0)->GetName(), "0-壁");
    EXPECT_EQ(layers->GetLayer(1)->GetName(), "0-寸法");
    const MLayer& l0 = *layers->GetLayer(0);
    ASSERT_EQ(l0.GetSize(), 6);

    auto* m = dynamic_cast<MMarkShape*>(l0.GetAt(0));
    ASSERT_NE(m, nullptr);
    ExpectNear(m->m_position, {100, 200});
    auto* l = dynamic_cast<MLineShape*>(l0.GetAt(1));
    ASSERT_NE(l, nullptr);
    ExpectNear(l->m_start, {0, 0});
    ExpectNear(l->m_end, {4000, 2000});
    EXPECT_EQ(l->GetLineStyle(), 2);
    EXPECT_EQ(l->GetColor(), 0u);
    auto* c = dynamic_cast<MCircleShape*>(l0.GetAt(2));
    ASSERT_TRUE(c && c->GetTypeId() == 2);
    ExpectNear(c->m_center, {1000, 1000});
    EXPECT_NEAR(c->m_radius, 500, 1e-3);
    EXPECT_EQ(c->GetColor(), 0x00FF00u);
    auto* r = dynamic_cast<MCircleArcShape*>(l0.GetAt(3));
    ASSERT_NE(r, nullptr);
    ExpectNear(r->m_center, {2000, 2000});
    EXPECT_NEAR(r->m_radius, 300, 1e-3);
    EXPECT_NEAR(r->m_startAngle, 0.5, 1e-6);
    EXPECT_NEAR(r->m_endAngle, 2.0, 1e-6);
    EXPECT_EQ(r->GetColor(), 0xFF0000u);
    auto* e = dynamic_cast<MEllipseShape*>(l0.GetAt(4));
    ASSERT_NE(e, nullptr);
    ExpectNear(e->m_center, {3000, 1000});
    EXPECT_NEAR(e->m_radiusX, 400, 1e-3);
    EXPECT_NEAR(e->m_radiusY, 200, 1e-3);
    EXPECT_EQ(e->GetColor(), 0xFFFF00u);
    auto* t = dynamic_cast<MTextShape*>(l0.GetAt(5));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetString(), "図面");
    EXPECT_NEAR(t->GetTextSize(), 150, 1e-9);
    EXPECT_NEAR(t->GetAngle(), 0, 1e-9);
    t->Recalc(b.GetOffscreenView());
    ExpectNear(t->GetExtent().TopLeft(), text->GetExtent().TopLeft());

    const MLayer& l1 = *layers->GetLayer(1);
    ASSERT_EQ(l1.GetSize(), 1);
    EXPECT_EQ(l1.GetAt(0)->GetLineStyle(), 0x88);
}

TEST_F(JwcRoundTripTest, EnlargementScalesComeBackExactly) {
    for (double scale : {10.0, 3.0, 2.5}) {
        MTessarayDoc a;
        a.SetPaper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("n:1", scale), TRUE);
        const int layer = a.AddLayer(new MLayer("a", TRUE, TRUE, TRUE));
        a.AppendShape(new MLineShape({1, 2}, {3, 4}), layer);
        MTessarayDoc b;
        RoundTrip(a, b, "JwcRoundTripScale");
        EXPECT_DOUBLE_EQ(b.GetPaperInfo().GetScale(), scale);
        auto* l = dynamic_cast<MLineShape*>(b.GetLayers()->GetLayer(0)->GetAt(0));
        ASSERT_NE(l, nullptr);
        ExpectNear(l->m_end, {3, 4});
    }
}

TEST_F(JwcRoundTripTest, MarksComeBackWithoutAnExtraOne) {
    MTessarayDoc a;
    a.SetPaper(MPaperSizeInfo("A3", "420mm×297mm", 420, 297), MPaperScaleInfo("1:1", 1), TRUE);
    const int layer = a.AddLayer(new MLayer("a", TRUE, TRUE, TRUE));
    for (int i = 1; i <= 3; ++i) {
        auto* mark = new MMarkShape;
        mark->m_position = {10.0 * i, 5};
        a.AppendShape(mark, layer);
    }
    MTessarayDoc b;
    RoundTrip(a, b, "JwcRoundTripMarks");
    ASSERT_EQ(b.GetLayers()->GetLayerCount(), 1);
    EXPECT_EQ(b.GetLayers()->GetLayer(0)->GetSize(), 3);
}

}  // namespace
