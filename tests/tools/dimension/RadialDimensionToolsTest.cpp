// The radius and diameter dimension tools driven by the mouse through the view.
#include <sstream>

#include "model/geometry/Geometry.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/dimension/RadiusShape.h"
#include "tests/tools/dimension/DimensionTestSupport.h"
#include "tools/dimension/DimensionPlacement.h"
#include "tools/dimension/RadialDimensionTools.h"

using namespace dimtest;

namespace {

struct RadialHarness : DimensionHarness {
    RadialHarness() { circle = AddCircle(kBase.x, kBase.y, 10); }
    // Picks the circle at its bottom (clear of the dimensions the tests make), then clicks at the
    // point: one dimension, one undo step.
    void Dimension(const MFloatPoint& at) {
        ExpectOneUndoStep([&] {
            Click({0, -10});
            MoveTo(at);
            Click(at);
        });
        EXPECT_TRUE(NoXorResidue());
    }
    void NumericEntry(UINT dialog, DialogScript script) {
        dialogs.Script(dialog, std::move(script));
        RightClick({50, 50}, MK_CONTROL);
    }
    MCircleShape* circle;
};

}  // namespace

TEST(RadiusTool, PicksTheCircleThenPointsTheDimensionAtTheClick) {
    RadialHarness h;
    h.Choose(ID_TOOL_RADIUS);
    EXPECT_THAT(h.Prompt(), ::testing::HasSubstr("円を指定"));
    h.Dimension({30, 0});
    ASSERT_EQ(h.ShapesOf<MRadiusSizeShape>().size(), 1u);
    const MRadiusSizeShape& r = *h.ShapesOf<MRadiusSizeShape>()[0];
    EXPECT_EQ(r.GetCircleCenter(), kBase);
    EXPECT_EQ(r.GetRadius(), 10.0);
    EXPECT_EQ(r.GetAngle(), 0.0);
    EXPECT_EQ(r.GetTextDistance(), 5.0);  // half the radius wherever the cursor is
    EXPECT_EQ(r.GetText(), "R10 ");
    EXPECT_EQ(r.GetFlags(), 0);

    // Without the automatic position the text stands at the cursor.
    h.NumericEntry(231, DialogScript().SetCheck(1091, 0).Ok());
    h.Dimension({0, 30});
    ASSERT_EQ(h.ShapesOf<MRadiusSizeShape>().size(), 2u);
    const MRadiusSizeShape& up = *h.ShapesOf<MRadiusSizeShape>()[1];
    EXPECT_DOUBLE_EQ(up.GetAngle(), kPi / 2);
    EXPECT_DOUBLE_EQ(up.GetTextDistance(), 30.0);
}

TEST(RadiusTool, TheOvershootBoxesGiveTheFlagsAndTheSecondOnlyWhileTheFirstIsClear) {
    RadialHarness h;
    h.Choose(ID_TOOL_RADIUS);
    bool fromCentreEnabled = true;
    h.NumericEntry(231,
                   DialogScript()
                       .SetCheck(1259, 1)
                       .Do([&](CDialog& d) { fromCentreEnabled = d.GetDlgItem(1260)->IsWindowEnabled(); })
                       .SetCheck(1260, 1)
                       .Ok());
    EXPECT_FALSE(fromCentreEnabled);
    h.Dimension({30, 0});
    EXPECT_EQ(h.ShapesOf<MRadiusSizeShape>().back()->GetFlags(), MCircleSizeShape::kNoInsideLine);
    EXPECT_FALSE(GetDimensionPlacement().overshootFromCentre);

    h.NumericEntry(231,
                   DialogScript()
                       .SetCheck(1259, 0)
                       .Do([&](CDialog& d) { fromCentreEnabled = d.GetDlgItem(1260)->IsWindowEnabled(); })
                       .SetCheck(1260, 1)
                       .SetText(1093, "半径")
                       .Ok());
    EXPECT_TRUE(fromCentreEnabled);
    h.Dimension({30, 0});
    const MRadiusSizeShape& r = *h.ShapesOf<MRadiusSizeShape>().back();
    EXPECT_EQ(r.GetFlags(), MCircleSizeShape::kLineFromCentre | MSizeBaseShape::kUserText);
    EXPECT_EQ(r.GetText(), "半径");
}

TEST(DiameterTool, DimensionsTheDiameterWithItsTextOnTheCentre) {
    RadialHarness h;
    h.Choose(ID_TOOL_DIAMETER);
    h.Dimension({30, 0});
    ASSERT_EQ(h.ShapesOf<MDiameterSizeShape>().size(), 1u);
    const MDiameterSizeShape& d = *h.ShapesOf<MDiameterSizeShape>()[0];
    EXPECT_EQ(d.GetText(), "Φ20 ");
    EXPECT_EQ(d.GetTextDistance(), 0.0);
    EXPECT_EQ(d.GetFlags(), 0);

    h.NumericEntry(174, DialogScript().SetCheck(1091, 0).Ok());
    h.Dimension({-30, 0});
    const MDiameterSizeShape& left = *h.ShapesOf<MDiameterSizeShape>().back();
    EXPECT_DOUBLE_EQ(left.GetAngle(), kPi);
    EXPECT_DOUBLE_EQ(left.GetTextDistance(), 30.0);
}

TEST(RadiusTool, ArcsAndSectorsArePickedEllipsesAndLinesAreNot) {
    DimensionHarness h;
    auto* arc = h.Add(new MCircleArcShape());
    arc->SetArc(kBase.x, kBase.y, 10, 0, kPi);
    auto* fan = h.Add(new MCircleFanShape());
    fan->SetArc(kBase.x + 100, kBase.y, 10, 0, kPi);
    auto* ellipse = h.Add(new MEllipseShape());
    ellipse->SetEllipse(kBase.x, kBase.y - 100, 20, 10);
    h.AddLine(kBase.x - 100, kBase.y - 50, kBase.x + 100, kBase.y - 50);
    for (MCadShape* s : std::initializer_list<MCadShape*>{arc, fan, ellipse})
        s->Recalc(h.view.get());
    h.view->Invalidate();
    h.view->UpdateWindow();
    MDrawTool* tool = h.Choose(ID_TOOL_RADIUS);

    h.Click({20, -100});  // the ellipse's right end
    h.Click({0, -50});    // the line
    EXPECT_EQ(tool->Lists().PickCount(), 0);
    h.ExpectOneDrawingStep([&] {
        h.Click({0, 10});  // the top of the arc
        h.Click({0, 40});
    });
    h.ExpectOneDrawingStep([&] {
        h.Click({100, 10});  // the top of the sector
        h.Click({100, 40});
    });
    ASSERT_EQ(h.ShapesOf<MRadiusSizeShape>().size(), 2u);
    EXPECT_EQ(h.ShapesOf<MRadiusSizeShape>()[1]->GetCircleCenter(), kBase + MFloatPoint(100, 0));
    EXPECT_TRUE(h.NoXorResidue());
}

// ----- settings ---------------------------------------------------------------------------------

namespace {

template <class T>
T* ToolOf(UINT command) {
    return dynamic_cast<T*>(GetDrawToolArray().FindByCommand(command));
}

}  // namespace

TEST(RadialDimensionSettings, AnEmptyTextKeepsTheNextToolsLines) {
    ToolHarness h;
    auto* radius = ToolOf<MRadiusTool>(ID_TOOL_RADIUS);
    auto* diameter = ToolOf<MDiameterTool>(ID_TOOL_DIAMETER);
    ASSERT_TRUE(radius && diameter);
    MDimensionPlacement& placement = GetDimensionPlacement();
    radius->m_text = "";
    placement.radiusAutoText = FALSE;
    placement.overshootFromCentre = TRUE;
    diameter->m_text = "";
    placement.diameterAutoText = FALSE;
    ToolOf<MDrawTool>(ID_TOOL_ANGLE)->SetAutoLayerName("角度");
    const std::string saved = SavedTools();
    EXPECT_THAT(saved,
                ::testing::HasSubstr("RADIUS\n\t\n\t0 0 1\n\t\nDIAMETER\n\t\n\t0\n\t\nANGLE\n\t角度\n"));

    radius->m_text = diameter->m_text = "x";
    placement = MDimensionPlacement();
    ToolOf<MDrawTool>(ID_TOOL_ANGLE)->SetAutoLayerName("");
    LoadTools(saved);
    EXPECT_EQ(radius->m_text, "");
    EXPECT_EQ(diameter->m_text, "");
    EXPECT_FALSE(placement.radiusAutoText);
    EXPECT_TRUE(placement.overshootFromCentre);
    EXPECT_FALSE(placement.diameterAutoText);
    EXPECT_EQ(ToolOf<MDrawTool>(ID_TOOL_ANGLE)->GetAutoLayerName(), "角度");
    EXPECT_EQ(SavedTools(), saved);
}

TEST(RadialDimensionSettings, FlagsCountAsZeroOrOne) {
    ToolHarness h;
    std::string text = SavedTools();
    const std::size_t at = text.find("RADIUS\n");
    const std::size_t end = text.find("ROUND\n");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, end - at, "RADIUS\n\t\n\t7 -2 0\n\t  R \nDIAMETER\n\t\n\t5\n\tD\n");
    LoadTools(text);
    EXPECT_THAT(SavedTools(), ::testing::HasSubstr("RADIUS\n\t\n\t1 1 0\n\t  R \nDIAMETER\n\t\n\t1\n\tD\n"));
}
