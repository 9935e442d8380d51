// The hatch tool through the view: picked boundaries, the right click inside, the settings dialog,
// one group of pieces in one undo step, the remembered selection and the settings line.
#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "model/SnapPoint.h"
#include "model/geometry/SegmentCuts.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "tests/tools/edit/EditTestSupport.h"
#include "tools/edit/HatchTool.h"
#include "view/Grid.h"

using namespace tooltest;
using namespace edittest;

namespace {

// A grid point left of the middle of the paper, clear of the page lines.
const MFloatPoint kBase(13000, 14850);

class Hatch : public ::testing::Test {
protected:
    Hatch() {
        GetOptionRecord().m_snap = kSnapGrid;
        step = h.view->GetGrid()->m_pitchX;
        tool = dynamic_cast<MHatchTool*>(h.Choose(ID_TOOL_HATCH));
    }
    MFloatPoint G(double i, double j) const { return {kBase.x + i * step, kBase.y + j * step}; }
    MPolygonShape* Box(double x0, double y0, double x1, double y1, int layer = 0) {
        auto* shape = new MPolygonShape(TRUE);
        for (const MFloatPoint& p : {G(x0, y0), G(x1, y0), G(x1, y1), G(x0, y1)})
            shape->AddPoint(p);
        h.doc.AppendShape(shape, layer);
        shape->Recalc(h.view.get());
        return shape;
    }
    void Preset(int mode, const char* pitch, int lines = 1, const char* spacing = "1",
                int direction = IDC_HATCH_RISING) {
        std::istringstream preset(std::string("\t") + std::to_string(mode) + " " + pitch + " " +
                                  std::to_string(lines) + " " + spacing + " " +
                                  (direction == IDC_HATCH_HORIZONTAL ? "1 0 0 0" : "0 0 0 1") + "\n");
        tool->LoadSettings(preset);
    }
    // The right click at p, with the tool already holding the settings the dialog will give, so that
    // the drawing's settings line stays as it was.
    void Hatched(const MFloatPoint& p, int mode, const char* pitch = "3", int lines = 1,
                 const char* spacing = "1", int direction = IDC_HATCH_RISING) {
        Preset(mode, pitch, lines, spacing, direction);
        h.ExpectOneUndoStep([&] { HatchAt(p, mode, pitch, lines, spacing, direction); });
    }
    // The settings as the dialog takes them, then the right click at p.
    void HatchAt(const MFloatPoint& p, int mode, const char* pitch = "3", int lines = 1,
                 const char* spacing = "1", int direction = IDC_HATCH_RISING) {
        DialogScript script;
        for (int id : {IDC_HATCH_HORIZONTAL, IDC_HATCH_VERTICAL, IDC_HATCH_FALLING, IDC_HATCH_RISING})
            script.SetCheck(id, id == direction);
        script.Click(mode ? IDC_HATCH_MODE2 : IDC_HATCH_MODE1)
            .Click(IDC_HATCH_ONE_LINE + lines - 1)
            .SetText(IDC_HATCH_SPACING, spacing)
            .SetText(IDC_HATCH_PITCH, pitch)
            .Ok();
        h.dialogs.Script(IDD_HATCH, script);
        h.RightClick(p);
    }
    // The pieces of the last hatch group of the drawing.
    std::vector<MFloatSegment> Pieces() {
        std::vector<MFloatSegment> out;
        const MLayer* shapes = h.doc.GetLayers()->GetLayer(0);
        for (int i = shapes->GetSize() - 1; i >= 0; --i) {
            auto* group = dynamic_cast<MGroupShape*>(shapes->GetAt(i));
            if (!group) continue;
            for (int k = 0; k < group->GetShapeCount(); ++k) {
                auto* line = dynamic_cast<MLineShape*>(group->GetShapeAt(k));
                if (line) out.push_back({line->m_start, line->m_end});
            }
            break;
        }
        return out;
    }
    // Every piece's midpoint lies strictly inside the box (grid units).
    static bool Inside(const MFloatPoint& p, const MFloatPoint& lo, const MFloatPoint& hi) {
        return p.x > lo.x && p.x < hi.x && p.y > lo.y && p.y < hi.y;
    }
    static MFloatPoint Mid(const MFloatSegment& s) { return (s.start + s.end) / 2; }
    bool HasPiece(const MFloatPoint& a, const MFloatPoint& b) {
        const auto near = [](const MFloatPoint& p, const MFloatPoint& q) {
            return std::hypot(p.x - q.x, p.y - q.y) < 1e-6;
        };
        for (const MFloatSegment& s : Pieces())
            if ((near(s.start, a) && near(s.end, b)) || (near(s.start, b) && near(s.end, a))) return true;
        return false;
    }
    ToolHarness h{800, 600, 2};
    double step = 0;
    MHatchTool* tool = nullptr;
};

}  // namespace

TEST_F(Hatch, RisingLinesFillARectangleThroughItsCornersInBothModes) {
    EXPECT_EQ(h.Prompt(), "[ハッチング]:ハッチングする領域（図形）を選択（右ボタンで実行）");
    Box(0, 0, 10, 10);
    h.Repaint();
    std::vector<MFloatSegment> modeOne;
    for (int mode : {1, 0}) {
        SCOPED_TRACE(mode);
        h.Click(G(0, 5));
        ASSERT_EQ(tool->Lists().PickCount(), 1);
        Hatched(G(5, 5), mode);
        EXPECT_EQ(tool->Lists().PickCount(), 0);
        const std::vector<MFloatSegment> pieces = Pieces();
        ASSERT_GT(pieces.size(), 2u);
        for (const MFloatSegment& s : pieces)
            EXPECT_TRUE(Inside(Mid(s), G(0, 0), G(10, 10)));
        EXPECT_TRUE(HasPiece(G(0, 0), G(10, 10))) << "the diagonal through both corners";
        if (mode == 1)
            modeOne = pieces;
        else
            EXPECT_EQ(pieces.size(), modeOne.size());
        EXPECT_TRUE(h.NoXorResidue());
        h.view->SendCommand(ID_EDIT_UNDO);
    }
}

TEST_F(Hatch, NestedRectanglesAreHatchedOnlyInTheRing) {
    Box(0, 0, 10, 10);
    Box(3, 3, 7, 7);
    h.Repaint();
    for (int mode : {1, 0}) {
        SCOPED_TRACE(mode);
        h.Click(G(0, 5));
        h.Click(G(3, 5));
        Hatched(G(1, 5), mode);
        const std::vector<MFloatSegment> pieces = Pieces();
        ASSERT_FALSE(pieces.empty());
        for (const MFloatSegment& s : pieces) {
            EXPECT_TRUE(Inside(Mid(s), G(0, 0), G(10, 10)));
            EXPECT_FALSE(Inside(Mid(s), G(3, 3), G(7, 7)));
        }
        h.view->SendCommand(ID_EDIT_UNDO);
    }
}

TEST_F(Hatch, AdjacentRectanglesAreBothHatchedAndASnappedPointOnTheBoundaryHatchesItsSide) {
    Box(0, 0, 5, 5);
    Box(5, 0, 10, 5);
    h.Repaint();
    h.Click(G(0, 2));
    h.Click(G(10, 2));
    // Horizontal lines through the grid point (5, 2), on the shared edge.
    Hatched(G(5, 2), 0, "3", 1, "1", IDC_HATCH_HORIZONTAL);
    bool left = false, right = false;
    for (const MFloatSegment& s : Pieces()) {
        left |= Inside(Mid(s), G(0, 0), G(5, 5));
        right |= Inside(Mid(s), G(5, 0), G(10, 5));
    }
    EXPECT_TRUE(left && right) << "both rectangles hatched";
}

TEST_F(Hatch, GroupsOfThreeLinesRepeatAtThePitch) {
    Box(0, 0, 10, 10);
    h.Repaint();
    h.Click(G(0, 5));
    Hatched(G(5, 5), 1, "3", 3, "0.5", IDC_HATCH_HORIZONTAL);
    const double pitch = h.view->PaperToDocLength(3.0), spacing = h.view->PaperToDocLength(0.5);
    std::vector<double> ys;
    for (const MFloatSegment& s : Pieces())
        ys.push_back(s.start.y - G(5, 5).y);
    std::sort(ys.begin(), ys.end());
    ASSERT_FALSE(ys.empty());
    EXPECT_TRUE(std::any_of(ys.begin(), ys.end(), [](double y) { return y == 0; })) << "through S";
    // Every line lies at a group's start or 1 or 2 spacings after it.
    for (double y : ys) {
        const double inGroup = y - std::floor(y / pitch + 1e-9) * pitch;
        const double k = inGroup / spacing;
        EXPECT_NEAR(k, std::round(k), 1e-6) << y;
        EXPECT_LE(std::round(k), 2) << y;
    }
}

TEST_F(Hatch, CancelAndAZeroPitchChangeNothingAndKeepThePicks) {
    Box(0, 0, 10, 10);
    h.Repaint();
    h.Click(G(0, 5));
    ExpectNoChange(h, [&] {
        h.dialogs.Script(IDD_HATCH, DialogScript().Cancel());
        h.RightClick(G(5, 5));
    });
    EXPECT_EQ(tool->Lists().PickCount(), 1);
    Preset(1, "0");
    ExpectNoChange(h, [&] { HatchAt(G(5, 5), 1, "0"); });
    EXPECT_EQ(tool->Lists().PickCount(), 1);
}

TEST_F(Hatch, ATooFinePitchAsksFirstAndNoKeepsEverything) {
    Box(0, 0, 10, 10);
    h.Repaint();
    h.Click(G(0, 5));
    MessageBoxRecorder boxes(IDNO);
    Preset(1, "0.0001");
    ExpectNoChange(h, [&] { HatchAt(G(5, 5), 1, "0.0001"); });
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_THAT(boxes.Messages()[0].text, ::testing::StartsWith("ハッチングの線が約"));
    EXPECT_EQ(boxes.Messages()[0].type & MB_YESNO, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(tool->Lists().PickCount(), 1);
}

TEST_F(Hatch, TheLastSelectionIsPickedAgainWithoutShapesThatWentOrMoved) {
    GetOptionRecord().m_layer |= kLayerOthersSelectable;
    EXPECT_FALSE(h.ItemState(ID_HATCH_LAST_SELECTION).first);
    // The menu without picks: its first item.
    h.frame.SetActiveView(h.view.get());
    h.RightClick(G(-5, -5));
    h.frame.SetActiveView(nullptr);
    ASSERT_FALSE(h.dialogs.Popups().empty());
    EXPECT_EQ(h.dialogs.Popups().back().items.front().id, static_cast<UINT>(ID_HATCH_LAST_SELECTION));
    EXPECT_TRUE(h.dialogs.Popups().back().items.front().flags & (MF_GRAYED | MF_DISABLED));

    MPolygonShape* a = Box(0, 0, 10, 10);
    MPolygonShape* b = Box(12, 0, 14, 2);
    MPolygonShape* c = Box(16, 0, 18, 2);
    h.Repaint();
    for (const MFloatPoint& p : {G(0, 5), G(12, 1), G(16, 1)})
        h.Click(p);
    ASSERT_EQ(tool->Lists().PickCount(), 3);
    HatchAt(G(5, 5), 1);
    EXPECT_TRUE(h.ItemState(ID_HATCH_LAST_SELECTION).first);
    // b is deleted, c moves to the other layer.
    ASSERT_GE(h.doc.RemoveShape(b, 0, TRUE), 0);
    delete b;  // no undo step holds it
    h.doc.GetLayers()->RemoveShapeFromLayer(c, 0);
    h.doc.GetLayers()->AddShapeToLayer(c, 1);
    h.view->SendCommand(ID_HATCH_LAST_SELECTION);
    ASSERT_EQ(tool->Lists().PickCount(), 1);
    EXPECT_EQ(tool->Lists().Pick(0), a);

    // A new drawing forgets it.
    h.doc.OnNewDocument();
    EXPECT_EQ(tool->GetRememberedCount(), 0);
    EXPECT_FALSE(h.ItemState(ID_HATCH_LAST_SELECTION).first);
}

TEST_F(Hatch, AHatchWithoutPiecesStillRemembersAndSwitchingToolsForgets) {
    auto* line = h.AddLine(G(0, 0).x, G(0, 0).y, G(10, 0).x, G(10, 0).y);
    h.Repaint();
    h.Click(G(5, 0));
    ExpectNoChange(h, [&] { HatchAt(G(5, 5), 1); });
    EXPECT_EQ(tool->Lists().PickCount(), 0);
    EXPECT_EQ(tool->GetRememberedCount(), 1);
    h.view->SendCommand(ID_HATCH_LAST_SELECTION);
    ASSERT_EQ(tool->Lists().PickCount(), 1);
    EXPECT_EQ(tool->Lists().Pick(0), line);
    h.Choose(ID_TOOL_TRIM);
    EXPECT_EQ(tool->GetRememberedCount(), 0);
}

TEST_F(Hatch, SettingsRoundTripAndDamagedValuesAreClamped) {
    Box(0, 0, 10, 10);
    h.Repaint();
    h.Click(G(0, 5));
    HatchAt(G(5, 5), 0, "2.5", 2, "0.25", IDC_HATCH_VERTICAL);
    std::ostringstream out;
    tool->SaveSettings(out);
    EXPECT_EQ(out.str(), "\t0 2.5 2 0.25 0 1 0 0\n");
    std::istringstream damaged("\t7 -3 9 nan 2 0 -1 1\n");
    tool->LoadSettings(damaged);
    const MHatchValues& v = tool->GetValues();
    EXPECT_EQ(v.mode, 1);
    EXPECT_EQ(v.pitch, 3.0);
    EXPECT_EQ(v.lineCount, 3);
    EXPECT_EQ(v.spacing, 0.25) << "an unreadable value keeps the one before";
    EXPECT_EQ(v.directions, (std::array<int, 4>{1, 0, 0, 1}));
    std::istringstream again(out.str());
    tool->LoadSettings(again);
    EXPECT_EQ(tool->GetValues().pitch, 2.5);
    EXPECT_EQ(tool->GetValues().directions, (std::array<int, 4>{0, 1, 0, 0}));
}
