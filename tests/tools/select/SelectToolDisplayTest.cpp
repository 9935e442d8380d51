// What the select tool shows: handles of shapes that cannot be reshaped, the dragged copies as
// outlines or as their frame by the draw limit, the cursor over handles and selected shapes, and
// the alignment that only multi-line texts take.
#include <gtest/gtest.h>

#include <functional>

#include "document/DocShapeArray.h"
#include "document/Layer.h"
#include "document/ToolSettings.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/ui/Cursor.h"
#include "tests/tools/select/SelectTestSupport.h"
#include "tools/AttributeChange.h"

using namespace selecttest;

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// The option record is the program's: each test puts back what it changed.
class OptionScope {
public:
    OptionScope() : m_saved(GetOptionRecord()) {}
    ~OptionScope() { GetOptionRecord() = m_saved; }

private:
    MOptionRecord m_saved;
};

// A line whose handles do not reshape it.
class FixedLine : public MLineShape {
public:
    using MLineShape::MLineShape;
    int GetCapabilities() const override { return MLineShape::GetCapabilities() & ~kShapeCanReshape; }
};

// The cursor the last SetCursor showed.
HCURSOR ShownCursor() {
    HCURSOR shown = SetCursor(nullptr);
    SetCursor(shown);
    return shown;
}

}  // namespace

TEST(SelectToolDisplay, AShapeThatCannotBeReshapedHasWhiteHandlesThatMoveIt) {
    SelectHarness h;
    MCadShape* fixed = h.Add(new FixedLine(h.P(100, 100), h.P(200, 150)));
    h.Click(h.P(150, 125));
    ASSERT_EQ(h.Picks(), 1);
    MSelectTool* tool = h.Select();
    EXPECT_FALSE(tool->Handles().CanReshape());
    const MFloatPoint handle = tool->Handles().At(0);
    const CPoint c = h.ToClient(handle);
    EXPECT_EQ(h.PixelAt(handle), kWhite) << "the square's inside";
    EXPECT_EQ(h.Surface().pixel(c.x - 4, c.y + 2), kBlack) << "its outline";
    EXPECT_TRUE(h.NoXorResidue());
    // A press beside the handle moves the line from the handle's exact position.
    const MFloatPoint centre = fixed->GetCenter();
    const int steps = h.UndoSteps();
    h.PressAt(CPoint(c.x + 3, c.y - 2));
    h.MoveToClient(CPoint(c.x + 20, c.y - 10));
    h.ReleaseAt(CPoint(c.x + 33, c.y - 22));
    EXPECT_EQ(h.UndoSteps(), steps + 1);
    const MFloatPoint to = h.ToDrawing(CPoint(c.x + 33, c.y - 22));
    ASSERT_EQ(h.Picks(), 1);
    EXPECT_TRUE(
        Near(h.Pick(0)->GetCenter(), MFloatPoint(centre.x + to.x - handle.x, centre.y + to.y - handle.y)));
    EXPECT_TRUE(h.NoXorResidue());
}

// 101 upright lines 3 pixels apart, all selected and dragged 100 pixels up by the second one:
// the copies are outlined up to the draw limit and framed beyond it.
class DraggedCopies : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 101; ++i)
            h.Line(i * 3, 100, i * 3, 120);
    }
    // Whether the copy of line 50 shows at its dragged place while the button is held, and how
    // many pixels of the top row of the frame changed.
    void DragAll(int limit, int selected, bool* outlined, int* frameTop) {
        GetOptionRecord().m_drawLimit = limit;
        h.Select()->SelectAll(h.view.get());
        while (h.Picks() > selected)
            h.Tool()->Lists().RemovePickAt(h.Picks() - 1);
        const QImage before = h.Surface();
        // By line 1, away from the frame's handles.
        h.Press(h.P(3, 115));
        for (int y = 135; y <= 215; y += 20)
            h.MoveTo(h.P(3, y));
        h.view->UpdateWindow();
        const QImage during = h.Surface();
        const CPoint copy = h.ToClient(h.P(150, 210));
        *outlined = during.pixel(copy.x, copy.y) != before.pixel(copy.x, copy.y);
        const CPoint top = h.ToClient(h.P(0, 220));
        *frameTop = 0;
        // Beside the copies' columns: outlines show their lines' end pixels on that row too.
        for (int x = top.x + 1; x < h.ToClient(h.P(300, 220)).x; ++x)
            *frameTop += (x - top.x) % 3 != 0 && during.pixel(x, top.y) != before.pixel(x, top.y);
        EXPECT_TRUE(h.NoXorResidue()) << "while dragging";
        h.Release(h.P(3, 215));
        EXPECT_TRUE(h.NoXorResidue()) << "after the drop";
        EXPECT_EQ(h.Picks(), selected);
    }
    void ExpectOutlines(int limit, int selected) {
        bool outlined = false;
        int frame = 0;
        DragAll(limit, selected, &outlined, &frame);
        EXPECT_TRUE(outlined);
        EXPECT_LT(frame, 20) << "no frame";
    }
    OptionScope options;
    SelectHarness h;
};

TEST_F(DraggedCopies, MoreThanTheDrawLimitShowOnlyTheirFrame) {
    bool outlined = true;
    int frame = 0;
    DragAll(100, 101, &outlined, &frame);
    EXPECT_FALSE(outlined);
    EXPECT_GT(frame, 60) << "the dotted top edge of the frame";
    auto* first = dynamic_cast<MLineShape*>(h.doc.GetLayers()->GetLayer(0)->GetAt(0));
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(std::min(first->m_start.y, first->m_end.y), h.P(0, 200).y, 1e-9)
        << "the drop moves the shapes all the same";
}

TEST_F(DraggedCopies, UpToTheDrawLimitShowTheirOutlines) {
    ExpectOutlines(100, 100);
}

TEST_F(DraggedCopies, WithoutADrawLimitAllShowTheirOutlines) {
    ExpectOutlines(0, 101);
}

TEST_F(DraggedCopies, EndingAManyShapesSelectionLeavesTheDrawingEitherWayOfMarking) {
    for (int marking : {1, 2, 0}) {
        GetOptionRecord().m_drawSelectedShape = marking;
        h.Select()->SelectAll(h.view.get());
        ASSERT_EQ(h.Picks(), 101);
        EXPECT_TRUE(h.NoXorResidue()) << marking;
        EXPECT_TRUE(h.EndLeavesNoResidue()) << marking;
    }
}

TEST(SelectToolDisplay, TheCursorShowsAReshapingHandleAMoveOrTheTools) {
    SelectHarness h;
    h.Line(0, 0, 200, 0);
    h.Add(new FixedLine(h.P(400, 100), h.P(500, 100)));
    const HCURSOR handleCursor = AfxLoadCursor(IDR_HANDLE_CURSOR);
    const HCURSOR moveCursor = AfxLoadCursor(IDR_MOVE_CURSOR);
    ASSERT_NE(handleCursor, nullptr);
    ASSERT_NE(moveCursor, nullptr);
    MSelectTool* tool = h.Select();
    const auto cursorAt = [&](const MFloatPoint& p) {
        h.MoveTo(h.P(300, 300));
        h.MoveTo(p);
        SetCursor(nullptr);
        EXPECT_TRUE(tool->OnSetCursor(h.view.get(), 0, 0, HTCLIENT) || ShownCursor() == nullptr);
        return ShownCursor();
    };
    h.Click(h.P(100, 0));
    EXPECT_EQ(cursorAt(h.P(200, 0)), handleCursor) << "a handle of a line";
    EXPECT_EQ(cursorAt(h.P(60, 1)), moveCursor) << "on the selected line";
    const HCURSOR elsewhere = cursorAt(h.P(100, 150));
    EXPECT_NE(elsewhere, handleCursor);
    EXPECT_NE(elsewhere, moveCursor);
    EXPECT_FALSE(tool->OnSetCursor(h.view.get(), 0, 0, HTCLIENT + 1)) << "outside the client area";
    // A handle that does not reshape: over it the selection moves.
    h.Click(h.P(450, 100));
    ASSERT_EQ(h.Picks(), 1);
    EXPECT_EQ(cursorAt(tool->Handles().At(0)), moveCursor);
}

TEST(SelectToolDisplay, AlignmentGoesOnlyToMultiLineTexts) {
    SelectHarness h;
    auto* text = new MTextShape();
    text->SetString("one");
    text->MoveTo(h.view.get(), h.P(0, 100));
    h.Add(text);
    auto* multi = new MMultiTextShape();
    multi->SetString("one\ntwo");
    multi->MoveTo(h.view.get(), h.P(200, 100));
    h.Add(multi);
    MLineShape* line = h.Line(0, 0, 100, 0);
    const int programs = GetDrawAttributes().alignment;
    const auto shapeOf = [&](auto* kind) {
        const MLayer* layer = h.doc.GetLayers()->GetLayer(0);
        for (int i = 0; i < layer->GetSize(); ++i)
            if (auto* s = dynamic_cast<decltype(kind)>(layer->GetAt(i))) return s;
        return decltype(kind){};
    };
    h.Select()->SelectAll(h.view.get());
    h.ExpectOneUndoStep([&] { h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kHorzAlign, 2}); });
    h.Select()->SelectAll(h.view.get());
    h.ExpectOneUndoStep([&] { h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kVertAlign, 8}); });
    ASSERT_NE(shapeOf(static_cast<MMultiTextShape*>(nullptr)), nullptr);
    EXPECT_EQ(shapeOf(static_cast<MMultiTextShape*>(nullptr))->GetLayoutFlags() & 0xF, 8 | 2);
    EXPECT_EQ(shapeOf(static_cast<MTextShape*>(nullptr)), text) << "the one-line text is not replaced";
    EXPECT_EQ(shapeOf(static_cast<MLineShape*>(nullptr)), line);
    EXPECT_EQ(GetDrawAttributes().alignment, programs) << "the program's value stays";
    // Without a multi-line text nothing changes.
    h.Select()->SelectAll(h.view.get());
    h.Tool()->Lists().RemovePick(shapeOf(static_cast<MMultiTextShape*>(nullptr)));
    ASSERT_EQ(h.Picks(), 2);
    ExpectNoChange(h, [&] { h.Select()->ApplyAttributeChange(h.view.get(), {MAttribute::kHorzAlign, 1}); });
}

TEST(SelectToolDisplay, ALargeRubberBandShowsAllFourDottedSides) {
    SelectHarness h;
    const QImage before = h.Surface();
    h.Press(h.P(10, 10));
    h.MoveTo(h.P(100, 80));
    h.MoveTo(h.P(210, 160));
    const QImage during = h.Surface();
    const CPoint a = h.ToClient(h.P(10, 10)), b = h.ToClient(h.P(210, 160));
    const auto changed = [&](CPoint from, CPoint step, int n) {
        int count = 0;
        for (int k = 1; k < n; ++k)
            count += during.pixel(from.x + k * step.x, from.y + k * step.y) !=
                     before.pixel(from.x + k * step.x, from.y + k * step.y);
        return count;
    };
    const int width = b.x - a.x, height = a.y - b.y;
    // The sides away from the pointer dotted: some of their pixels and not all; the other two
    // run along the cross hair through the pointer.
    for (const int count : {changed(CPoint(a.x, a.y - 1), CPoint(1, 0), width),
                            changed(CPoint(a.x, b.y), CPoint(0, 1), height)}) {
        EXPECT_GT(count, 30);
        EXPECT_LT(count, 170);
    }
    EXPECT_GT(changed(CPoint(a.x, b.y), CPoint(1, 0), width), 30);
    EXPECT_GT(changed(CPoint(b.x - 1, b.y), CPoint(0, 1), height), 30);
    h.Release(h.P(210, 160));
    EXPECT_TRUE(h.NoXorResidue());
}

// The highlight fell beside the line's end pixel and steps (magenta showed); a line cut at a
// partly painted area lay a pixel off the one erased in XOR, leaving a fringe after deselection.
TEST(SelectToolDisplay, TheHighlightCoversTheLineAndLeavesNoFringeAfterPartialPaints) {
    OptionScope options;
    GetOptionRecord().m_show = 0;
    const auto none = [](SelectHarness&) {};
    const auto scroll = [](SelectHarness& h) { h.Key(Qt::Key_Right); };
    const struct {
        double zoom;
        int line[4];  // pixels from the harness origin
        std::function<void(SelectHarness&)> paint;
    } cases[] = {
        {1, {10, 10, 300, 123}, none},
        {1, {-40, 150, 260, -20}, none},
        {1, {0, 0, 7, 200}, none},
        {2, {402, 127, -280, 103}, scroll},
        {2, {-289, -5, 474, -97}, scroll},
        {2, {220, 15, -299, 161}, [](SelectHarness& h) { h.Wheel(-120); }},
        {2,
         {-82, 166, -224, -107},
         [](SelectHarness& h) {
             const CPoint at = h.ToClient(h.P(-150, 30));
             const CRect r(at.x - 20, at.y - 12, at.x + 20, at.y + 12);
             h.view->InvalidateRect(&r);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.line[0] << ' ' << c.line[1] << ' ' << c.line[2] << ' ' << c.line[3]);
        SelectHarness h;
        if (c.zoom != 1) h.view->ZoomAt(h.view->GetClientCentre(), c.zoom, TRUE);
        h.Line(c.line[0], c.line[1], c.line[2], c.line[3]);
        h.Select()->SelectAll(h.view.get());
        ASSERT_EQ(h.Picks(), 1);
        h.view->UpdateWindow();
        const QImage shown = h.Surface();
        int beside = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                beside += (shown.pixel(x, y) & 0xFFFFFF) == 0xFF00FF;
        EXPECT_EQ(beside, 0) << "highlight pixels off the line";
        c.paint(h);
        h.view->UpdateWindow();
        h.Click(h.P(-190, 170));
        ASSERT_EQ(h.Picks(), 0);
        EXPECT_TRUE(h.EndLeavesNoResidue());
    }
}
