// The wall tool through the view: outlines at the left and right widths mitred at the corners, no
// spur where clicks run in a row, the centre lines on the record's layer, and dialog 171.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/curves/CircleShape.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/Controls.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/line/LineTestSupport.h"
#include "tools/line/WallTool.h"

using namespace linetest;
using namespace tooltest;

namespace {

using Segs = std::vector<std::pair<MFloatPoint, MFloatPoint>>;

Segs Segments(MTessarayDoc& doc, int layer = 0) {
    Segs out;
    for (MLineShape* line : LinesOf(doc, layer))
        out.push_back({Rel(line->m_start), Rel(line->m_end)});
    return out;
}

bool Has(const Segs& segs, MFloatPoint a, MFloatPoint b) {
    return std::any_of(segs.begin(), segs.end(), [&](const auto& s) {
        return (Near(s.first, a, 1e-6) && Near(s.second, b, 1e-6)) ||
               (Near(s.first, b, 1e-6) && Near(s.second, a, 1e-6));
    });
}

struct WallHarness : LineHarness {
    explicit WallHarness(int layers = 1) : LineHarness(ID_TOOL_WALL, layers) { tool = As<MWallTool>(); }
    void Wall(std::initializer_list<MFloatPoint> points) {
        const MFloatPoint* last = nullptr;
        for (const MFloatPoint& p : points) {
            if (last) Click(*last);
            last = &p;
        }
        DoubleClickAt(*last);
    }
    MWallTool* tool;
};

}  // namespace

TEST(WallTool, AStraightWallHasTwoOutlinesAtItsWidths) {
    WallHarness h;
    h.ExpectOneUndoStep([&] { h.Wall({At(0, 0), At(1000, 0)}); });
    const Segs segs = Segments(h.doc);
    ASSERT_EQ(segs.size(), 2u);
    EXPECT_TRUE(Has(segs, {0, 100}, {1000, 100}));
    EXPECT_TRUE(Has(segs, {0, -100}, {1000, -100}));
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(WallTool, TheWallStartsWhereTheButtonWentDown) {
    WallHarness h;
    h.Drag(At(0, 0), At(3000, 4000));
    h.DoubleClickAt(At(6000, 0));
    const Segs segs = Segments(h.doc);
    ASSERT_EQ(segs.size(), 2u);
    EXPECT_TRUE(Has(segs, {0, 100}, {6000, 100}));
    EXPECT_TRUE(Has(segs, {0, -100}, {6000, -100}));
}

TEST(WallTool, AnLShapedWallIsMitredAtItsCorner) {
    WallHarness h;
    h.Click(At(0, 0));
    h.Click(At(1000, 0));
    h.MoveTo(At(1000, 1000));
    EXPECT_TRUE(h.NoXorResidue());
    h.DoubleClickAt(At(1000, 1000));
    const Segs segs = Segments(h.doc);
    ASSERT_EQ(segs.size(), 4u);
    EXPECT_TRUE(Has(segs, {0, 100}, {900, 100}));
    EXPECT_TRUE(Has(segs, {900, 100}, {900, 1000}));
    EXPECT_TRUE(Has(segs, {0, -100}, {1100, -100}));
    EXPECT_TRUE(Has(segs, {1100, -100}, {1100, 1000}));
}

TEST(WallTool, ClicksInARowLeaveNoSpur) {
    WallHarness h;
    h.Wall({At(0, 0), At(1000, 0), At(2000, 0), At(2000, 1000)});
    const Segs segs = Segments(h.doc);
    ASSERT_EQ(segs.size(), 6u);
    EXPECT_TRUE(Has(segs, {0, 100}, {1000, 100}));
    EXPECT_TRUE(Has(segs, {1000, 100}, {1900, 100}));
    EXPECT_TRUE(Has(segs, {1900, 100}, {1900, 1000}));
    EXPECT_TRUE(Has(segs, {1000, -100}, {2100, -100}));
    for (const auto& [a, b] : segs)
        EXPECT_FALSE(Near(a, {2000, 100}) || Near(b, {2000, 100})) << "a spur to the new end";
}

TEST(WallTool, ASecondClickOnTheSamePointAddsNoVertex) {
    WallHarness h;
    h.Click(At(0, 0));
    h.Click(At(1000, 0));
    h.Click(At(1000, 0));
    EXPECT_EQ(h.tool->Outline(2)->GetPointCount(), 3);
    h.DoubleClickAt(At(1000, 1000));
    EXPECT_EQ(Segments(h.doc).size(), 4u);
}

TEST(WallTool, CentreLinesGoToTheRecordLayerAndTheAutomaticLayerTakesEveryLine) {
    WallHarness h(3);
    h.doc.GetLayers()->GetLayer(0)->SetName("壁");
    h.doc.GetLayers()->GetLayer(1)->SetName("芯");
    h.doc.GetLayers()->SetCurrentLayer(2);
    h.tool->Style().centreLine = TRUE;
    h.tool->Style().layer = "芯";
    h.tool->Style().color = RGB(255, 0, 0);
    h.ExpectOneUndoStep([&] { h.Wall({At(0, 0), At(1000, 0), At(1000, 1000)}); });
    EXPECT_EQ(Segments(h.doc, 1), (Segs{{{0, 0}, {1000, 0}}, {{1000, 0}, {1000, 1000}}}));
    EXPECT_EQ(LinesOf(h.doc, 1)[0]->GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(Segments(h.doc, 2).size(), 4u) << "the outlines on the current layer";

    // A layer no layer has: the centre lines go with the outlines.
    h.tool->Style().layer = "ない";
    h.Wall({At(0, 3000), At(1000, 3000)});
    EXPECT_EQ(Segments(h.doc, 2).size(), 7u);
    EXPECT_EQ(Segments(h.doc, 1).size(), 2u);

    // Bound to a layer, the tool sends all its lines there, the centre lines too.
    h.tool->SetAutoLayerName("壁");
    h.tool->Style().layer = "芯";
    h.Wall({At(0, 6000), At(1000, 6000)});
    EXPECT_EQ(Segments(h.doc, 0).size(), 3u);
    EXPECT_EQ(Segments(h.doc, 1).size(), 2u);
    EXPECT_EQ(Segments(h.doc, 2).size(), 7u);
}

TEST(WallTool, CancelAtTwoVerticesEndsWithoutACommit) {
    WallHarness h;
    h.Click(At(0, 0));
    h.MoveTo(At(1000, 0));
    const int steps = h.UndoSteps();
    h.view->SendCommand(ID_CANCEL_DRAWING);
    EXPECT_EQ(h.tool->Lists().NewCount(), 0);
    EXPECT_EQ(h.UndoSteps(), steps);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(WallTool, TheSettingsDialogWritesTheWallEvenWhenTheLengthDialogIsCancelled) {
    WallHarness h(2);
    h.doc.GetLayers()->GetLayer(1)->SetName("芯 線");
    MessageBoxRecorder messages;
    h.dialogs.Script(IDD_WALL_SETTINGS, DialogScript()
                                            .SetText(IDC_WALL_LEFT, "150")
                                            .SetText(IDC_WALL_RIGHT, "50")
                                            .SetCheck(IDC_WALL_CENTRE_LINE, 1)
                                            .Select(IDC_WALL_LAYER, 1)
                                            .Select(IDC_WALL_STYLE, 2)
                                            .SetText(IDC_WALL_WIDTH, "101")
                                            .Ok()
                                            .SetText(IDC_WALL_WIDTH, "5")
                                            .Select(IDC_WALL_COLOR, 3)
                                            .Ok());
    h.dialogs.Script(IDD_WALL_LENGTH_INPUT, DialogScript().Click(IDC_WALL_SETUP).Cancel());
    h.RightClick(At(0, 0), MK_CONTROL);
    ASSERT_EQ(messages.Messages().size(), 1u) << "101 tenths are refused";
    const MWallStyle& style = h.tool->Style();
    EXPECT_EQ(style.leftWidth, 150);
    EXPECT_EQ(style.rightWidth, 50);
    EXPECT_TRUE(style.centreLine);
    EXPECT_EQ(style.layer, "芯 線");
    EXPECT_EQ(style.lineStyle, 2);
    EXPECT_EQ(style.width, 0.5);
    EXPECT_NE(style.color, 0u);
    EXPECT_FALSE(h.tool->IsLengthLocked());
}

namespace {

// The drawing with the wall in progress drawn whole over it in XOR, one polyline a call.
QImage WholeWallOverTheDrawing(WallHarness& h) {
    CRect client;
    h.view->GetClientRect(&client);
    CDC dc;
    dc.CreateImageDC(client.Width(), client.Height());
    h.view->OnEraseBkgnd(&dc);
    h.view->OnPrepareDC(&dc, nullptr);
    // The drawing shows the tracker as the tool draws it; a second call erases it.
    h.view->OnDraw(&dc);
    h.tool->DrawTracker(h.view.get(), &dc);
    const int rop = dc.SetROP2(R2_XORPEN);
    h.tool->Lists().NewShapes().DrawMarked(h.view.get(), &dc);
    dc.SetROP2(rop);
    return GetDCImage(dc)->copy();
}

// Pixels where the screen differs from the whole wall, but for the vertex where each polyline's
// tail meets its fixed part: both parts draw that pixel, and XOR takes it back.
int DifferencesBesideTheJoins(WallHarness& h) {
    const QImage shown = h.Surface().convertToFormat(QImage::Format_RGB32);
    const QImage whole = WholeWallOverTheDrawing(h).convertToFormat(QImage::Format_RGB32);
    std::vector<CPoint> joins;
    for (int k = 0; k < 3; ++k) {
        const MPolygonShape* polyline = h.tool->Outline(k);
        if (polyline && polyline->GetPointCount() > 3)
            joins.push_back(h.ToClient(polyline->GetPoint(polyline->GetPointCount() - 3)));
    }
    int differ = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if ((shown.pixel(x, y) & 0xFFFFFF) != (whole.pixel(x, y) & 0xFFFFFF) &&
                std::none_of(joins.begin(), joins.end(),
                             [&](const CPoint& j) { return j.x == x && j.y == y; }))
                ++differ;
    return differ;
}

}  // namespace

TEST(WallTool, MovesRedrawTheTailYetTheScreenShowsTheWholeWall) {
    WallHarness h;
    GetOptionRecord().m_snap = 0;
    for (int i = 0; i < 12; ++i)
        h.Click(At(-6000 + i * 1000, i % 2 ? 2000 : -2000));
    for (int i = 0; i < 6; ++i) {
        h.MoveTo(At(7000 + i * 150, -3000 + i * 1100));
        EXPECT_TRUE(h.NoXorResidue());
        EXPECT_EQ(DifferencesBesideTheJoins(h), 0) << "move " << i;
    }
    // The wide second pass of marked shapes draws the wall whole.
    GetOptionRecord().m_drawSelectedShape = 2;
    h.Repaint();
    h.MoveTo(At(8000, 4000));
    EXPECT_TRUE(h.NoXorResidue());
    h.DoubleClickAt(At(8000, 4000));
    EXPECT_EQ(Segments(h.doc).size(), 24u);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST(WallTool, ATailReachingOutOfTheWindowIsCutAsTheWholeWallIs) {
    WallHarness h;
    GetOptionRecord().m_snap = 0;
    for (int i = 0; i < 12; ++i)
        h.Click(At(-6000 + i * 1000, i % 2 ? 2000 : -2000));
    // Zoomed in about the wall's end: the fixed part and the tail's first segment leave the window.
    h.view->ZoomAt(At(7000, 0), 8, TRUE);
    h.Repaint();
    ASSERT_LT(h.ToClient(h.tool->Outline(2)->GetPoint(10)).x, 0);
    for (int i = 0; i < 6; ++i) {
        h.MoveTo(At(7500 + i * 100, -1000 + i * 300));
        EXPECT_TRUE(h.NoXorResidue());
        EXPECT_EQ(DifferencesBesideTheJoins(h), 0) << "move " << i;
    }
}

TEST(WallTool, TangentFixesTheVertexWhereTheCentreLineTouchesTheCircle) {
    WallHarness h;
    const MCircleShape* circle = h.AddCircle(kBase.x, kBase.y, 1500);
    h.Repaint();
    GetOptionRecord().m_snap = 0;
    h.Click(At(-6000, 7000));
    GetOptionRecord().m_snap = kSnapOnShape;
    h.ChooseFromMenu(At(0, 1500), ID_TANGENT);
    const MPolygonShape* centre = h.tool->Outline(2);
    ASSERT_EQ(centre->GetPointCount(), 3) << "the touching point is fixed as a vertex";
    const MFloatPoint start = centre->GetPoint(0), touch = centre->GetPoint(1);
    EXPECT_NEAR((touch - circle->m_center).GetLength(), 1500, 1e-6);
    EXPECT_LE(std::fabs((start - touch).Dot(touch - circle->m_center)), 1e-9 * 20000 * 20000);
    EXPECT_GT(touch.y, kBase.y) << "the touching point nearer the pick";
    // The outlines of that segment run at the widths beside it.
    const MFloatPoint u = (touch - start).GetUnit();
    EXPECT_NEAR(u.Cross(h.tool->Outline(0)->GetPoint(1) - touch), 100, 1e-6);
    EXPECT_NEAR(u.Cross(h.tool->Outline(1)->GetPoint(1) - touch), -100, 1e-6);
    EXPECT_TRUE(h.NoXorResidue());

    GetOptionRecord().m_snap = 0;
    h.ExpectOneUndoStep([&] { h.DoubleClickAt(At(6000, 7000)); });
    EXPECT_EQ(Segments(h.doc).size(), 4u);
    EXPECT_TRUE(h.NoXorResidue());
}

namespace {

struct WallDialogView {
    bool enabled[5] = {};
    std::vector<std::string> layers;
    int selectedLayer = -2;
};

// What dialog 171 shows: the centre-line controls enabled or grey, the layer list and its choice.
DialogScript::Step Look(WallDialogView* out) {
    return [out](CDialog& d) {
        const int ids[] = {IDC_WALL_LAYER, IDC_WALL_STYLE, IDC_WALL_WIDTH, IDC_WALL_WIDTH_SPIN,
                           IDC_WALL_COLOR};
        for (int i = 0; i < 5; ++i) {
            CWnd* control = d.GetDlgItem(ids[i]);
            out->enabled[i] = control && control->IsWindowEnabled();
        }
        out->layers.clear();
        auto* combo = d.GetDlgItemAs<CComboBox>(IDC_WALL_LAYER);
        for (int i = 0; combo && i < combo->GetCount(); ++i)
            out->layers.push_back(combo->GetLBText(i));
        out->selectedLayer = combo ? combo->GetCurSel() : -2;
    };
}

void OpenSettings(WallHarness& h, DialogScript settings) {
    h.dialogs.Script(IDD_WALL_SETTINGS, std::move(settings));
    h.dialogs.Script(IDD_WALL_LENGTH_INPUT, DialogScript().Click(IDC_WALL_SETUP).Cancel());
    h.RightClick(At(0, 0), MK_CONTROL);
}

}  // namespace

TEST(WallTool, TheSettingsDialogGreysTheCentreLineControlsUntilTheBoxIsTicked) {
    WallHarness h(3);
    h.doc.GetLayers()->GetLayer(0)->SetName("壁");
    h.doc.GetLayers()->GetLayer(1)->SetName("芯 線");
    h.doc.GetLayers()->GetLayer(2)->SetName("補助");
    h.tool->Style().layer = "補助";
    WallDialogView off, on, offAgain;
    OpenSettings(h, DialogScript()
                        .Do(Look(&off))
                        .SetCheck(IDC_WALL_CENTRE_LINE, 1)
                        .Do(Look(&on))
                        .SetCheck(IDC_WALL_CENTRE_LINE, 0)
                        .Do(Look(&offAgain))
                        .Cancel());
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(off.enabled[i]) << "control " << i;
        EXPECT_TRUE(on.enabled[i]) << "control " << i;
        EXPECT_FALSE(offAgain.enabled[i]) << "control " << i;
    }
    EXPECT_EQ(off.layers, (std::vector<std::string>{"壁", "芯 線", "補助"}));
    EXPECT_EQ(off.selectedLayer, 2);

    // A layer no layer has: the first is chosen, and OK takes it.
    h.tool->Style().layer = "ない";
    h.tool->Style().centreLine = TRUE;
    WallDialogView shown;
    OpenSettings(h, DialogScript().Do(Look(&shown)).Ok());
    EXPECT_EQ(shown.selectedLayer, 0);
    for (bool enabled : shown.enabled)
        EXPECT_TRUE(enabled) << "a ticked box opens with the controls enabled";
    EXPECT_EQ(h.tool->Style().layer, "壁");
}
