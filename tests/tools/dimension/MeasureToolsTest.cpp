// The measuring tools driven by the mouse through the view: results in their dialogs, and the
// drawing, its modified flag and both histories exactly as they were.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cmath>

#include "document/UndoPackScope.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "tests/tools/dimension/DimensionTestSupport.h"
#include "tools/dimension/MeasureDialogs.h"
#include "tools/dimension/MeasureTools.h"

using namespace dimtest;

namespace {

// Points relative to the drawing's origin, which the view shows zoomed in; a drawing with one undo
// and one redo step, saved.
struct MeasureHarness : DimensionHarness {
    MeasureHarness() {
        origin = view->UserToDoc(0.0, 0.0);
        view->ZoomAt(origin, 16, FALSE);
        view->GetGrid()->m_pitchX = view->GetGrid()->m_pitchY = 10.0;
        for (double y : {150.0, -150.0}) {
            MUndoPackScope pack(doc);
            auto* circle = new MCircleShape();
            circle->SetCircle(origin.x - 200, origin.y + y, 30);
            doc.AddShape(circle, 0);
        }
        view->SendCommand(ID_EDIT_UNDO);
        EXPECT_EQ(UndoSteps(), 1);
        EXPECT_EQ(RedoSteps(), 1);
        Repaint();
    }
    void Click(const MFloatPoint& p) { ToolHarness::Click(origin + p); }
    void MoveTo(const MFloatPoint& p) { ToolHarness::MoveTo(origin + p); }
    void DoubleClickAt(const MFloatPoint& p) { ToolHarness::DoubleClickAt(origin + p); }
    void RightClick(const MFloatPoint& p) { ToolHarness::RightClick(origin + p); }
    MLineShape* Line(const MFloatPoint& a, const MFloatPoint& b) {
        MLineShape* line = AddLine(origin.x + a.x, origin.y + a.y, origin.x + b.x, origin.y + b.y);
        Repaint();
        return line;
    }
    // A closed polygon through the points.
    void Polygon(std::initializer_list<MFloatPoint> points) {
        auto* polygon = new MPolygonShape(TRUE);
        for (const MFloatPoint& p : points)
            polygon->AddPoint(origin + p);
        Add(polygon);
        Repaint();
    }
    // The action changes nothing the user keeps: the drawing as saved, the saved state, the history.
    void ExpectNothingChanged(const std::function<void()>& action) {
        doc.SetModifiedFlag(FALSE);
        const std::string before = NativeText();
        const int undo = UndoSteps(), redo = RedoSteps();
        action();
        EXPECT_EQ(NativeText(), before);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(UndoSteps(), undo);
        EXPECT_EQ(RedoSteps(), redo);
        EXPECT_TRUE(NoXorResidue());
    }
    // Reads the fields into out (in the order of ids) and whether any stood selected.
    DialogScript ReadFields(std::initializer_list<int> ids, std::vector<std::string>* out, bool* selected) {
        DialogScript script;
        out->reserve(out->size() + ids.size());  // the script keeps pointers to the strings
        for (int id : ids) {
            out->emplace_back();
            script.Read(id, &out->back());
            script.Do([id, selected](CDialog& d) {
                if (auto* edit = qobject_cast<QLineEdit*>(d.GetDlgItem(id)->GetWidget()))
                    *selected = *selected || edit->hasSelectedText();
            });
        }
        return script.Ok();
    }
    MFloatPoint origin;
};

}  // namespace

TEST(MeasureLengthTool, TwoPointsShowTheirDistanceAndDirection) {
    MeasureHarness h;
    h.Choose(ID_TOOL_MEASURELENGTH);
    std::vector<std::string> fields;
    bool selected = false;
    h.dialogs.Script(176, h.ReadFields({1143, 1055, 1054}, &fields, &selected));
    h.ExpectNothingChanged([&] {
        h.Click({0, 0});
        h.MoveTo({30, 40});
        h.DoubleClickAt({30, 40});
    });
    EXPECT_EQ(h.dialogs.OpenedIds(), std::vector<unsigned int>{176});
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0], "(0 , 0)-(30 , 40)");
    EXPECT_EQ(fields[1], "50");
    EXPECT_EQ(fields[2], "53.1");
    EXPECT_FALSE(selected);
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
}

TEST(MeasureLengthTool, MorePointsGiveANumberedReportWithTheTotal) {
    MeasureHarness h;
    h.Choose(ID_TOOL_MEASURELENGTH);
    std::string report;
    h.dialogs.Script(227, DialogScript().Read(1227, &report).Ok());
    h.ExpectNothingChanged([&] {
        h.Click({0, 0});
        h.MoveTo({30, 40});
        h.Click({30, 40});
        h.MoveTo({30, 0});
        h.Click({30, 0});
        h.MoveTo({0, 0});
        h.DoubleClickAt({0, 0});
    });
    EXPECT_EQ(report, "   1.        50\r\n   2.        40\r\n   3.        30\r\n 合計       120\r\n");
}

TEST(MeasureLengthTool, ThePointPromptStaysForEveryFurtherPoint) {
    MeasureHarness h;
    h.Choose(ID_TOOL_MEASURELENGTH);
    h.Click({0, 0});
    const std::string prompt = h.Prompt();
    EXPECT_NE(prompt.find("通過点"), std::string::npos) << prompt;
    h.Click({30, 0});
    h.Click({30, 40});
    EXPECT_EQ(h.Prompt(), prompt) << "the third point is asked as the second was";
}

TEST(MeasureLengthTool, TheReportColumnsAreTenCharactersInTheShorterForm) {
    EXPECT_EQ(LengthReport({12.5, 1234567.0, 0.0}),
              "   1.      12.5\r\n   2.1.23457E+06\r\n   3.         0\r\n 合計1.23458E+06\r\n");
}

TEST(MeasureLengthTool, CancelTakesTheLastPointBackAndEndsWithOneLeft) {
    MeasureHarness h;
    MDrawTool* tool = h.Choose(ID_TOOL_MEASURELENGTH);
    h.ExpectNothingChanged([&] {
        h.Click({0, 0});
        h.MoveTo({30, 40});
        h.Click({30, 40});
        h.MoveTo({60, 0});
        h.view->SendCommand(ID_CANCEL_DRAWING);
        ASSERT_EQ(tool->Lists().NewCount(), 1);
        const auto* polyline = dynamic_cast<MPolygonShape*>(tool->Lists().NewShape(0));
        ASSERT_EQ(polyline->GetPointCount(), 2);
        EXPECT_EQ(polyline->GetPoint(1), h.origin + MFloatPoint(60, 0));  // the rubber point follows
        h.view->SendCommand(ID_CANCEL_DRAWING);
        EXPECT_EQ(tool->Lists().NewCount(), 0);
    });
    EXPECT_TRUE(h.dialogs.OpenedIds().empty());
}

TEST(MeasureAngleTool, MeasuresTheAngleBetweenTheRaysTowardsThePicks) {
    MeasureHarness h;
    GetOptionRecord().m_snap = 0;
    h.Line({-100, 0}, {100, 0});
    h.Line({0, -100}, {0, 100});
    h.Choose(ID_TOOL_MEASUREANGLE);
    std::string rightAbove, rightBelow;
    h.dialogs.Script(175, DialogScript().Read(1142, &rightAbove).Ok());
    h.dialogs.Script(175, DialogScript().Read(1142, &rightBelow).Ok());
    h.ExpectNothingChanged([&] {
        h.Click({60, 0});
        h.Click({0, 60});
        h.Click({60, 0});
        h.Click({0, -60});
    });
    EXPECT_EQ(rightAbove, "90");
    EXPECT_EQ(rightBelow, "90");
}

TEST(MeasureAngleTool, RaysAcrossTheNegativeAxisMeasureTheSmallAngle) {
    MeasureHarness h;
    GetOptionRecord().m_snap = 0;
    const double a = 170 * kPi / 180;
    const auto at = [](double length, double angle) {
        return MFloatPoint(length * std::cos(angle), length * std::sin(angle));
    };
    h.Line({0, 0}, at(100, a));
    h.Line({0, 0}, at(100, -a));
    h.Choose(ID_TOOL_MEASUREANGLE);
    std::string angle;
    h.dialogs.Script(175, DialogScript().Read(1142, &angle).Ok());
    h.ExpectNothingChanged([&] {
        h.Click(at(60, a));
        h.Click(at(60, -a));
    });
    EXPECT_EQ(angle, "20");
    EXPECT_NEAR(GetAngleBetweenRays(a, -a) * 180 / kPi, 20.0, 1e-12);
}

TEST(MeasureAngleTool, AParallelSecondLineIsDroppedAndTheToolWaits) {
    MeasureHarness h;
    GetOptionRecord().m_snap = 0;
    h.Line({-100, 0}, {100, 0});
    h.Line({-100, 50}, {100, 50});
    const double a = 170 * kPi / 180;
    h.Line({0, 0}, {100 * std::cos(a), -100 * std::sin(a)});  // -170 degrees
    MDrawTool* tool = h.Choose(ID_TOOL_MEASUREANGLE);
    std::string angle;
    h.dialogs.Script(175, DialogScript().Read(1142, &angle).Ok());
    h.ExpectNothingChanged([&] {
        h.Click({-60, 0});  // the ray at 180 degrees
        h.Click({0, 50});
        EXPECT_EQ(tool->Lists().PickCount(), 1);
        EXPECT_TRUE(h.dialogs.OpenedIds().empty());
        h.Click({60 * std::cos(a), -60 * std::sin(a)});
    });
    EXPECT_EQ(angle, "10");
    EXPECT_EQ(tool->Lists().PickCount(), 0);
}

TEST(MeasureAreaTool, SumsThePickedShapesEachOnceWhateverTheirTurn) {
    MeasureHarness h;
    GetOptionRecord().m_snap = 0;
    h.Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});    // counter-clockwise
    h.Polygon({{40, 0}, {40, 10}, {50, 10}, {50, 0}});  // clockwise
    h.AddCircle(h.origin.x + 100, h.origin.y, 10);
    h.Repaint();
    MDrawTool* tool = h.Choose(ID_TOOL_MEASUREAREA);
    std::vector<std::string> squares, circle, once;
    bool selected = false;
    h.dialogs.Script(266, h.ReadFields({1142, 1143}, &squares, &selected));
    h.dialogs.Script(266, h.ReadFields({1142, 1143}, &circle, &selected));
    h.dialogs.Script(266, h.ReadFields({1142, 1143}, &once, &selected));
    h.ExpectNothingChanged([&] {
        h.Click({5, 0});
        h.Click({40, 5});
        h.RightClick({200, 200});
        h.Click({110, 0});
        h.RightClick({200, 200});
        // Clicked, then caught again by a band.
        h.Click({5, 0});
        ToolHarness& base = h;
        base.Drag(h.origin + MFloatPoint(-5, -5), h.origin + MFloatPoint(15, 15));
        EXPECT_EQ(tool->Lists().PickCount(), 1);
        h.RightClick({200, 200});
    });
    ASSERT_EQ(squares.size(), 2u);
    EXPECT_EQ(squares[0], "200");
    EXPECT_EQ(squares[1], "0.0002");
    EXPECT_EQ(circle[0], "314.159265358979");
    EXPECT_EQ(once[0], "100");
    EXPECT_FALSE(selected);
}

TEST(MeasureAreaTool, TheRightButtonWithoutPicksOpensTheMenu) {
    MeasureHarness h;
    h.Choose(ID_TOOL_MEASUREAREA);
    h.ExpectNothingChanged([&] { h.RightClick({0, 0}); });
    EXPECT_EQ(h.dialogs.Popups().size(), 1u);
    EXPECT_TRUE(h.dialogs.OpenedIds().empty());
}
