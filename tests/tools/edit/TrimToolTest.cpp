// The trim tool through the view: one drag over line ends cuts overshoots back, closes gaps and
// keeps every piece on its line, in its style and layer.
#include <cmath>

#include "model/shapes/curves/CircleShape.h"
#include "tests/tools/edit/EditTestSupport.h"
#include "tools/AttributeChange.h"

using namespace tooltest;
using namespace edittest;

namespace {

class Trim : public ::testing::Test {
protected:
    Trim() : px(h, CPoint(400, 300)) { h.Choose(ID_TOOL_TRIM); }
    // Ten pixels a unit, so the band's corners and the lines' ends land on whole pixels.
    MFloatPoint P(double x, double y) const {
        return px(static_cast<int>(std::lround(x * 10)), static_cast<int>(std::lround(y * 10)));
    }
    MLineShape* Line(double x0, double y0, double x1, double y1) { return px.AddLine(P(x0, y0), P(x1, y1)); }
    // The drag over the rectangle (-3, -3)-(3, 3), one undo step.
    void DragTrim() {
        h.Repaint();
        h.ExpectOneUndoStep([&] { h.Drag(P(-3, -3), P(3, 3)); });
        EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
        EXPECT_TRUE(h.NoXorResidue());
    }
    void ExpectNoZeroLengthLine() {
        for (const Segment& s : Lines(h.NativeText()))
            EXPECT_TRUE(s.x0 != s.x1 || s.y0 != s.y1);
    }
    ToolHarness h;
    PixelGrid px;
};

}  // namespace

TEST_F(Trim, AnOvershootIsCutBackToTheCorner) {
    EXPECT_EQ(h.Prompt(), "[包絡処理]:左ボタンドラッグでトリムする線の位置を選択");
    Line(-10, 0, 2, 0);
    Line(0, -2, 0, 10);
    DragTrim();
    const std::string text = h.NativeText();
    EXPECT_EQ(Lines(text).size(), 2u);
    EXPECT_TRUE(HasLine(text, P(-10, 0), P(0, 0)));
    EXPECT_TRUE(HasLine(text, P(0, 0), P(0, 10)));
}

TEST_F(Trim, AGapIsClosedAndOtherShapesAreIgnored) {
    Line(-10, 0, -1, 0);
    Line(0, -2, 0, 10);
    h.AddCircle(P(0, 0).x, P(0, 0).y, P(2, 0).x - P(0, 0).x);
    DragTrim();
    const std::string text = h.NativeText();
    EXPECT_EQ(Lines(text).size(), 2u);
    EXPECT_TRUE(HasLine(text, P(-10, 0), P(0, 0)));
    EXPECT_TRUE(HasLine(text, P(0, 0), P(0, 10)));
    EXPECT_EQ(Records(text.substr(text.find("[LAYERS]")), "CIRCLE").size(), 1u);
}

TEST_F(Trim, TheEndTheSideCrossedMovesEvenWhenTheMeetingPointLiesBeyondIt) {
    // The slanted line's carrier meets y = 0 at (5, 0), beyond the right side.
    Line(-10, 0, 2, 0);
    Line(1, -4, 9, 4);
    DragTrim();
    const std::string text = h.NativeText();
    EXPECT_TRUE(HasLine(text, P(-10, 0), P(5, 0), 1e-6)) << "not collapsed to (5, 0)-(2, 0)";
    ExpectNoZeroLengthLine();
}

TEST_F(Trim, ARectangleTouchingOneLineChangesNothing) {
    Line(-10, 0, 2, 0);
    Line(20, -10, 20, 10);
    h.Repaint();
    ExpectNoChange(h, [&] { h.Drag(P(-3, -3), P(3, 3)); });
    EXPECT_EQ(h.Tool()->Lists().PickCount(), 0);
    EXPECT_TRUE(h.NoXorResidue());
}

TEST_F(Trim, PiecesKeepTheirLinesStyleWhateverTheCurrentAttributes) {
    h.Tool()->ApplyAttributeChange(h.view.get(), {MAttribute::kLineColor, RGB(0, 0, 255)});
    h.Tool()->ApplyAttributeChange(h.view.get(), {MAttribute::kLineWidth, 2.0});
    MLineShape* line = Line(-10, 0, 2, 0);
    line->SetColor(0xFF);
    line->SetLineWidth(0.5);
    line->SetLineStyle(1);
    line->SetArrowsEx(1, 3.0, 2, 4.0);
    Line(0, -2, 0, 10);
    DragTrim();
    const std::string text = h.NativeText();
    int styled = 0;
    for (const Values& v : Records(text, "LINE")) {
        if (v[4] != 0xFF) continue;
        ++styled;
        EXPECT_EQ(v[5], 1);
        EXPECT_EQ(v[6], 0.5);
        EXPECT_EQ(v[7], 1) << "the line's own start keeps its arrow";
        EXPECT_EQ(v[9], 0) << "the cut end has none";
    }
    EXPECT_EQ(styled, 1);
}

TEST_F(Trim, ALineInsideIsCutBackToTheLinesItOvershoots) {
    // Two long verticals cross the band's top and bottom; the short horizontal lies inside, its
    // ends beyond them.
    Line(-1, -10, -1, 10);
    Line(1, -10, 1, 10);
    Line(-2, 0, 2, 0);
    DragTrim();
    const std::string text = h.NativeText();
    EXPECT_EQ(Lines(text).size(), 3u);
    EXPECT_TRUE(HasLine(text, P(-1, 0), P(1, 0), 1e-6));
    EXPECT_TRUE(HasLine(text, P(-1, -10), P(-1, 10), 1e-6));
    ExpectNoZeroLengthLine();
}
