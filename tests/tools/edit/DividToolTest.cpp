// The divide tool through the view: a picked line or outline, start and end clicked on it, the
// number of parts typed; the marks are one undo step.
#include <cmath>
#include <sstream>

#include <gmock/gmock.h>

#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/lines/RectShape.h"
#include "tests/tools/edit/EditTestSupport.h"
#include "tools/edit/DividTool.h"

using namespace tooltest;
using namespace edittest;
using ::testing::HasSubstr;

namespace {

constexpr double kPi = 3.14159265358979323846;

class DividTool : public ::testing::Test {
protected:
    DividTool() : at(h) { tool = dynamic_cast<MDividTool*>(h.Choose(ID_TOOL_DIVID)); }
    void TypeCount(const char* count) {
        h.dialogs.Script(IDD_DIVID_INPUT, DialogScript().SetText(IDC_DIVID_COUNT, count).Ok().Cancel());
    }
    void AddRect(const MFloatPoint& a, const MFloatPoint& b) {
        auto* rect = new MRectShape();
        rect->SetRect(a.x, a.y, b.x - a.x, b.y - a.y);
        h.doc.AppendShape(rect, 0);
        rect->Recalc(h.view.get());
        h.Repaint();
    }
    std::vector<MFloatPoint> Marks() {
        std::vector<MFloatPoint> out;
        for (const Values& v : Records(h.NativeText(), "MARK"))
            out.push_back(MFloatPoint(v[0], v[1]));
        return out;
    }
    ToolHarness h;
    PixelGrid at;
    MDividTool* tool = nullptr;
};

}  // namespace

TEST_F(DividTool, ALineIntoThreeGivesBothEndsThenTheTwoDivisionPoints) {
    ASSERT_NE(tool, nullptr);
    const MFloatPoint a = at(0, 0), b = at(90, 0);
    at.AddLine(a, b);
    h.Repaint();
    h.Click(at(45, 0));
    h.Click(at(0, 0));
    TypeCount("3");
    h.ExpectOneUndoStep([&] { h.Click(at(90, 0)); });
    const std::vector<MFloatPoint> marks = Marks();
    ASSERT_EQ(marks.size(), 4u);
    const double third = (b.x - a.x) / 3;
    const double xs[] = {a.x, b.x, a.x + third, a.x + 2 * third};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(marks[i].x, xs[i], 1e-9);
        EXPECT_NEAR(marks[i].y, a.y, 1e-9);
    }
    EXPECT_EQ(tool->GetCount(), 3);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(DividTool, ClicksOffTheLinePutTheMarksOnIt) {
    at.AddLine(at(0, 0), at(90, 0));
    h.Repaint();
    h.Click(at(45, 0));
    h.Click(at(10, 15));
    TypeCount("2");
    h.Click(at(70, -12));
    const std::vector<MFloatPoint> marks = Marks();
    ASSERT_EQ(marks.size(), 3u);
    for (const MFloatPoint& m : marks)
        EXPECT_NEAR(m.y, at(0, 0).y, 1e-9);
    EXPECT_NEAR(marks[0].x, at(10, 0).x, 1e-9);
    EXPECT_NEAR(marks[1].x, at(70, 0).x, 1e-9);
    EXPECT_NEAR(marks[2].x, at(40, 0).x, 1e-9);
}

TEST_F(DividTool, ACircleIsDividedOnTheTrueCircleOnTheSideTheThirdClickChooses) {
    // Radius 5000 drawing units about a centre the view shows, as 100 pixels.
    const MFloatPoint c = at(200, 150);
    h.view->ZoomAt(c, 100 / (5000 / at.Unit()), TRUE);
    const double r = 5000;
    h.AddCircle(c.x, c.y, r);
    h.Repaint();
    const auto onCircle = [&](double degrees) {
        return MFloatPoint(c.x + r * std::cos(degrees * kPi / 180), c.y + r * std::sin(degrees * kPi / 180));
    };
    h.Click(onCircle(45));
    h.Click(onCircle(0));
    TypeCount("7");
    h.Click(onCircle(90));
    EXPECT_EQ(h.Tool()->GetStep(), 2) << "the way round is asked";
    h.ExpectOneUndoStep([&] { h.Click(onCircle(200)); });
    const std::vector<MFloatPoint> marks = Marks();
    ASSERT_EQ(marks.size(), 8u);
    const auto angle = [&](const MFloatPoint& p) { return std::atan2(p.y - c.y, p.x - c.x); };
    for (const MFloatPoint& m : marks)
        EXPECT_NEAR(std::hypot(m.x - c.x, m.y - c.y), r, 1e-9 * r) << "on the circle, not on a chord";
    // The long way from about 0° to about 90° (through 200°): clockwise in 7 equal steps.
    const double a0 = angle(marks[0]), a1 = angle(marks[1]);
    EXPECT_NEAR(a0, 0.0, 0.05);
    EXPECT_NEAR(a1, kPi / 2, 0.05);
    const double way = std::remainder(a1 - a0, 2 * kPi) - 2 * kPi;
    for (int k = 1; k <= 6; ++k)
        EXPECT_NEAR(std::remainder(angle(marks[k + 1]) - (a0 + k * way / 7), 2 * kPi), 0.0, 1e-9);
}

TEST_F(DividTool, TwoClicksPastTheSameEndOfALineMakeNothing) {
    at.AddLine(at(0, 0), at(90, 0));
    h.Repaint();
    h.Click(at(45, 0));
    EXPECT_TRUE(h.NoXorResidue());
    h.Click(at(120, 5));
    EXPECT_TRUE(h.NoXorResidue());
    TypeCount("4");
    ExpectNoChange(h, [&] { h.Click(at(130, -5)); });
    EXPECT_TRUE(h.Tool()->IsPickMode());
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(DividTool, MoreThan32000PartsAreRefusedAndFewerThanTwoDiscardTheMarks) {
    MessageBoxRecorder messages;
    at.AddLine(at(0, 0), at(90, 0));
    h.Repaint();
    h.Click(at(45, 0));
    h.Click(at(0, 0));
    TypeCount("40000");
    ExpectNoChange(h, [&] { h.Click(at(90, 0)); });
    EXPECT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(tool->GetCount(), 3);
    h.Click(at(45, 0));
    h.Click(at(0, 0));
    TypeCount("1");
    ExpectNoChange(h, [&] { h.Click(at(90, 0)); });
    EXPECT_EQ(h.Tool()->Lists().NewCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(DividTool, TheCountTravelsWithTheDrawingAndADamagedOneReadsAsThree) {
    at.AddLine(at(0, 0), at(90, 0));
    h.Repaint();
    h.Click(at(45, 0));
    h.Click(at(0, 0));
    TypeCount("5");
    h.Click(at(90, 0));
    std::ostringstream os;
    tool->SaveSettings(os);
    EXPECT_EQ(os.str(), "\t5\n");
    EXPECT_THAT(h.NativeText(), HasSubstr("DIVID\n\t\n\t5\n"));
    for (const char* line : {"-7\n", "4000000000\n", "x\n", "\n", "1\n"}) {
        std::istringstream in(line);
        tool->LoadSettings(in);
        EXPECT_EQ(tool->GetCount(), 3) << line;
    }
    std::istringstream in("12 and more\n");
    tool->LoadSettings(in);
    EXPECT_EQ(tool->GetCount(), 12);
}

namespace {

// The start and end marks, then the division points in any order, each within 1e-9 of the
// drawing's size.
void ExpectMarks(const std::vector<MFloatPoint>& marks, const std::vector<MFloatPoint>& expected,
                 double size) {
    ASSERT_EQ(marks.size(), expected.size());
    const auto near = [&](const MFloatPoint& a, const MFloatPoint& b) {
        return std::fabs(a.x - b.x) <= 1e-9 * size && std::fabs(a.y - b.y) <= 1e-9 * size;
    };
    for (std::size_t i = 0; i < marks.size(); ++i) {
        bool found = false;
        for (std::size_t j = i < 2 ? i : 2; j < (i < 2 ? i + 1 : expected.size()); ++j)
            found = found || near(marks[i], expected[j]);
        EXPECT_TRUE(found) << "mark " << i << " at (" << marks[i].x << ", " << marks[i].y << ")";
    }
}

}  // namespace

TEST_F(DividTool, AnArcIsDividedAtEqualAnglesBetweenItsEndsWhenClicksPassThem) {
    const MFloatPoint c = at(200, 0);
    const double r = 100 * at.Unit();
    auto* arc = new MCircleArcShape();
    arc->SetArc(c.x, c.y, r, 0, kPi);
    h.doc.AppendShape(arc, 0);
    arc->Recalc(h.view.get());
    h.Repaint();
    h.Click(at(200, 100));
    // Past the arc's ends, below the centre: the marks go to the ends.
    h.Click(at(310, -10));
    TypeCount("3");
    h.ExpectOneUndoStep([&] { h.Click(at(90, -10)); });
    const auto onArc = [&](double degrees) {
        return MFloatPoint(c.x + r * std::cos(degrees * kPi / 180), c.y + r * std::sin(degrees * kPi / 180));
    };
    ExpectMarks(Marks(), {onArc(0), onArc(180), onArc(60), onArc(120)}, r);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(DividTool, ARectangleIsDividedAlongTheWayRoundTheThirdClickChooses) {
    const MFloatPoint a = at(0, 0), b = at(90, 60);
    AddRect(a, b);
    for (int side = 0; side < 2; ++side) {
        h.Click(at(45, 0));
        h.Click(at(0, 0));
        TypeCount("3");
        h.Click(at(90, 60));
        EXPECT_EQ(h.Tool()->GetStep(), 2) << "the way round is asked";
        // Thirds of half the 300-pixel ring: by the bottom and right sides, or by the left and top.
        const MFloatPoint hint = side == 0 ? at(60, -3) : at(-3, 30);
        h.ExpectOneUndoStep([&] { h.Click(hint); });
        if (side == 0)
            ExpectMarks(Marks(), {a, b, at(50, 0), at(90, 10)}, 100 * at.Unit());
        else
            ExpectMarks(Marks(), {a, b, at(0, 50), at(40, 60)}, 100 * at.Unit());
        EXPECT_TRUE(h.NoXorResidue());
        h.view->SendCommand(ID_EDIT_UNDO);
    }
}

TEST_F(DividTool, TheWayRoundFollowsThePointerBackAndForthAndNewEndsDivideAnew) {
    const MFloatPoint a = at(0, 0), b = at(90, 60);
    AddRect(a, b);
    h.Click(at(45, 0));
    h.Click(a);
    TypeCount("3");
    h.Click(b);
    for (const MFloatPoint& hint : {at(60, -3), at(-3, 30), at(60, -3)})
        h.MoveTo(hint);
    h.Click(at(-3, 30));
    ExpectMarks(Marks(), {a, b, at(0, 50), at(40, 60)}, 100 * at.Unit());
    // The same outline with other ends, in halves: past the right side, (90, 30).
    h.Click(at(20, 0));
    h.Click(at(30, 60));
    TypeCount("2");
    h.Click(at(30, 0));
    h.MoveTo(at(-3, 30));
    h.Click(at(93, 30));
    std::vector<MFloatPoint> marks = Marks();
    ASSERT_EQ(marks.size(), 7u);
    marks.erase(marks.begin(), marks.begin() + 4);
    ExpectMarks(marks, {at(30, 60), at(30, 0), at(90, 30)}, 100 * at.Unit());
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(DividTool, APolylineIsDividedAlongItsSegments) {
    auto* polyline = new MPolygonShape(FALSE);
    for (const MFloatPoint& p : {at(0, 0), at(90, 0), at(90, 60)})
        polyline->AddPoint(p);
    h.doc.AppendShape(polyline, 0);
    polyline->Recalc(h.view.get());
    h.Repaint();
    h.Click(at(30, 0));
    h.Click(at(0, 0));
    TypeCount("3");
    h.ExpectOneUndoStep([&] { h.Click(at(90, 60)); });
    // 150 pixels long: a mark every 50, the second one past the corner.
    ExpectMarks(Marks(), {at(0, 0), at(90, 60), at(50, 0), at(90, 10)}, 100 * at.Unit());
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(DividTool, TheSpinBesideTheCountStepsIt) {
    constexpr int kCountSpin = 1105;
    at.AddLine(at(0, 0), at(90, 0));
    h.Repaint();
    h.Click(at(45, 0));
    h.Click(at(0, 0));
    std::string shown;
    h.dialogs.Script(IDD_DIVID_INPUT, DialogScript().Spin(kCountSpin, 2).Read(IDC_DIVID_COUNT, &shown).Ok());
    h.Click(at(90, 0));
    EXPECT_EQ(shown, "5");
    EXPECT_EQ(tool->GetCount(), 5);
    EXPECT_EQ(Marks().size(), 6u);
}
