#include <gtest/gtest.h>

#include <cmath>

#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/text/MultiTextShape.h"
#include "platform/Cp932.h"
#include "platform/gdi/DC.h"
#include "tests/model/shapes/annotation/AnnotationTestSupport.h"

using namespace shapetest;
using namespace annotationtest;

namespace {

class MultiTextShapeTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }

    // A box 50 wide and 30 high whose top-left corner is the reference point (0, 0), text
    // height 10: at 10 pixels per unit the line pitch is 100 pixels.
    static MMultiTextShape MakeBox(const char* text) {
        MMultiTextShape t;
        t.SetString(text);
        t.SetTextSize(10);
        t.SetBoxSize(50, -30);
        return t;
    }

    std::vector<TextRecorder::Output> Record(MMultiTextShape& t) {
        CDC dc;
        auto backend = std::make_unique<TextRecorder>();
        TextRecorder* rec = backend.get();
        dc.AttachBackend(std::move(backend));
        t.Draw(&view, &dc);
        return rec->outputs;
    }

    TestView view;
};

}  // namespace

TEST_F(MultiTextShapeTest, LayoutFlags) {
    MMultiTextShape t;
    EXPECT_EQ(t.GetTypeName(), "MULTITEXT");
    EXPECT_EQ(t.GetTypeId(), 18);
    t.SetWrap(TRUE);
    t.SetHorzAlign(2);
    t.SetVertAlign(8);
    EXPECT_EQ(t.GetLayoutFlags(), 0x10 | 2 | 8);
    t.SetHorzAlign(5);  // only the two bits
    EXPECT_EQ(t.GetLayoutFlags(), 0x10 | 1 | 8);
    t.SetVertAlign(4);
    t.SetWrap(FALSE);
    EXPECT_EQ(t.GetLayoutFlags(), 1 | 4);
    EXPECT_FALSE(t.IsWrap());
    EXPECT_EQ(t.TextStyle().alignment, 5);
}

TEST_F(MultiTextShapeTest, SplittingIntoLines) {
    using V = std::vector<std::string>;
    EXPECT_EQ(MMultiTextShape::SplitLines("a\nb"), (V{"a", "b"}));
    EXPECT_EQ(MMultiTextShape::SplitLines("a\n\nb\n"), (V{"a", "", "b"}));
    EXPECT_EQ(MMultiTextShape::SplitLines(""), V{});
}

TEST_F(MultiTextShapeTest, MiddleAlignmentInABoxOfExactlyTheLinesStartsAtTheTop) {
    MMultiTextShape t = MakeBox("a\nb\nc");
    t.SetVertAlign(4);
    const auto out = Record(t);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].text, "a");
    EXPECT_NEAR(out[0].y, 0, 0.5);
    EXPECT_NEAR(out[1].y, 100, 0.5);
    EXPECT_NEAR(out[2].y, 200, 0.5);
    EXPECT_EQ(out[0].align, UINT(TA_LEFT));
    // Two lines in the same box are centred: half the spare pitch above them.
    t.SetString("a\nb");
    const auto two = Record(t);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_NEAR(two[0].y, 50, 0.5);
}

TEST_F(MultiTextShapeTest, BottomAlignmentStacksTheLinesUpFromTheBottomEdge) {
    MMultiTextShape t = MakeBox("a\nb\nc\n");  // the final empty line is not drawn
    t.SetVertAlign(8);
    t.SetHorzAlign(1);
    const auto out = Record(t);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].text, "c");
    EXPECT_NEAR(out[0].y, 300, 0.5);
    EXPECT_EQ(out[1].text, "b");
    EXPECT_NEAR(out[1].y, 200, 0.5);
    EXPECT_EQ(out[2].text, "a");
    EXPECT_EQ(out[0].align, UINT(TA_CENTER | TA_BOTTOM));
    EXPECT_NEAR(out[0].x, 250, 0.5);
}

TEST_F(MultiTextShapeTest, LinesFollowTheRotation) {
    MMultiTextShape t = MakeBox("a\nb");
    t.SetPoint({0, -60});
    t.SetAngle(kPi / 2);
    t.SetHorzAlign(2);
    const auto out = Record(t);
    ASSERT_EQ(out.size(), 2u);
    // Turned a quarter: the right edge is up at y = -10, lines step to the right.
    EXPECT_NEAR(out[0].x, 0, 0.5);
    EXPECT_NEAR(out[0].y, 100, 0.5);
    EXPECT_NEAR(out[1].x, 100, 0.5);
    EXPECT_NEAR(out[1].y, 100, 0.5);
    EXPECT_EQ(out[0].font.lfEscapement, 900);
}

TEST_F(MultiTextShapeTest, WrappingKeepsDoubleByteCharactersWhole) {
    CDC dc;
    CFont font;
    LOGFONT lf;
    lf.lfHeight = 100;
    lf.lfFaceName = "ＭＳ ゴシック";
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    const int one = dc.GetTextExtent("あ").cx;
    ASSERT_GT(one, 10);
    const std::string text = "あいうえお\n\nかa";
    const std::string wrapped = MMultiTextShape::WrapString(&dc, text, one * 2 + one / 2);
    EXPECT_EQ(wrapped, "あい\nうえ\nお\n\nかa");
    for (const std::string& chunk : MMultiTextShape::SplitLines(wrapped))
        EXPECT_EQ(Cp932Cut(chunk, Cp932Length(chunk)), chunk);
    // Narrower than one character: every chunk is one whole character.
    EXPECT_EQ(MMultiTextShape::WrapString(&dc, "あいa", one / 2), "あ\nい\na");
}

TEST_F(MultiTextShapeTest, WrappedLinesAreDrawnAsChunks) {
    MMultiTextShape t = MakeBox("あいうえおかきくけこ");
    const auto plain = Record(t);
    ASSERT_EQ(plain.size(), 1u);
    t.SetWrap(TRUE);
    const auto wrapped = Record(t);
    ASSERT_GE(wrapped.size(), 2u);
    std::string joined;
    for (const auto& o : wrapped)
        joined += o.text;
    EXPECT_EQ(joined, "あいうえおかきくけこ");
}

TEST_F(MultiTextShapeTest, TextBeyondTheBoxIsClipped) {
    MMultiTextShape t = MakeBox("WWWWWWWWWWWWWWWWWWWW");
    t.SetPoint({2, 40});
    t.SetBoxSize(20, -20);
    t.Recalc(&view);
    Image image(view, 900, 500, {0, 0});
    t.Draw(&view, &image.dc());
    const CPoint tl = image.Device({2, 40}), br = image.Device({22, 20});
    const CRect ink = image.InkBounds();
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_GE(ink.left, tl.x - 1);
    EXPECT_LE(ink.right, br.x + 1);
    EXPECT_GE(ink.top, tl.y - 1);
    EXPECT_LE(ink.bottom, br.y + 1);
}

TEST_F(MultiTextShapeTest, EightHandlesAroundTheRotatedBox) {
    MMultiTextShape t = MakeBox("x");
    EXPECT_EQ(t.GetHandleCount(), 8);
    EXPECT_EQ(t.GetHandle(0), MFloatPoint(50, 0));
    EXPECT_EQ(t.GetHandle(1), MFloatPoint(50, -30));
    EXPECT_EQ(t.GetHandle(5), MFloatPoint(25, -30));
    EXPECT_EQ(t.GetHandle(6), MFloatPoint(0, -15));
    t.SetAngle(kPi);
    const MFloatPoint h = t.GetHandle(0);
    EXPECT_NEAR(h.x, -50, 1e-9);
    EXPECT_NEAR(h.y, 0, 1e-9);
}

TEST_F(MultiTextShapeTest, DraggingAHandleResizesTheBox) {
    MMultiTextShape t = MakeBox("x");
    // Right-middle dragged past the left edge: the box flips and the handle becomes left-middle.
    int index = 4;
    t.MoveHandle(&index, {-20, -15}, FALSE);
    EXPECT_EQ(index, 6);
    MFloatRect box = t.GetBoxRect();
    EXPECT_NEAR(box.left, -20, 1e-9);
    EXPECT_NEAR(box.right, 0, 1e-9);
    EXPECT_NEAR(box.top - box.bottom, 30, 1e-9);

    // With keep proportions the height scales by the same factor, about the fixed left middle.
    MMultiTextShape k = MakeBox("x");
    index = 4;
    MFloatRect work = k.GetBoxRect();
    k.MoveHandle(&index, {100, -15}, TRUE, &work);
    EXPECT_EQ(index, 4);
    EXPECT_NEAR(k.GetBoxWidth(), 100, 1e-9);
    EXPECT_NEAR(k.GetBoxHeight(), -60, 1e-9);
    box = k.GetBoxRect();
    EXPECT_NEAR((box.top + box.bottom) / 2, -15, 1e-9);
    EXPECT_NEAR(box.left, 0, 1e-9);
    EXPECT_NEAR(work.right, 100, 1e-9);

    // A corner of a turned box follows the pointer in the box's own frame.
    MMultiTextShape r = MakeBox("x");
    r.SetAngle(kPi / 2);
    index = 1;
    const MFloatPoint target = r.GetHandle(1) + MFloatPoint(5, 10);
    r.MoveHandle(&index, target, FALSE);
    EXPECT_NEAR(r.GetHandle(1).x, target.x, 1e-9);
    EXPECT_NEAR(r.GetHandle(1).y, target.y, 1e-9);
    EXPECT_NEAR(r.GetHandle(3).x, 0, 1e-9);  // the opposite corner stays
    EXPECT_NEAR(r.GetHandle(3).y, 0, 1e-9);
}

TEST_F(MultiTextShapeTest, AnEmptyTextIsHitAnywhereInItsBox) {
    MMultiTextShape t = MakeBox("  ");
    t.SetAlignment(9);
    t.SetAngle(0.5);
    t.SetPoint({10, -10});
    t.Recalc(&view);
    MFloatPoint c[4];
    t.GetBoxCorners(c);
    const MFloatPoint centre = (c[0] + c[2]) / 2;
    EXPECT_TRUE(t.HitTestPixel(&view, view.DocToLogical(centre), 1));
    const MFloatPoint nearCorner = c[1] + (centre - c[1]) * 0.1;
    EXPECT_TRUE(t.HitTestPixel(&view, view.DocToLogical(nearCorner), 1));
    EXPECT_FALSE(t.HitTestPixel(&view, view.DocToLogical(centre + MFloatPoint(100, 0)), 1));
}

TEST_F(MultiTextShapeTest, MeasuringSizesTheBoxToTheLines) {
    MMultiTextShape t;
    t.SetTextSize(10);
    t.SetString("short\na much longer line");
    t.MeasureText(&view);
    EXPECT_GT(t.GetBoxWidth(), 50);
    EXPECT_NEAR(t.GetBoxHeight(), -20, 1.0);
    // Never smaller than 24 x 16 pixels.
    t.SetString("");
    t.MeasureText(&view);
    EXPECT_GE(t.GetBoxWidth(), 2.4 - 1e-9);
    EXPECT_LE(t.GetBoxHeight(), -1.6 + 1e-9);
    // Without a view the box is still in drawing units and runs down from its top.
    t.SetString("a\nb");
    t.MeasureText(nullptr);
    EXPECT_LT(t.GetBoxHeight(), 0);
    EXPECT_NEAR(t.GetBoxHeight(), -20, 1.0);
    // Recalc keeps the box the user gave it.
    t.SetBoxSize(40, -40);
    t.Recalc(&view);
    EXPECT_EQ(t.GetBoxWidth(), 40);
    EXPECT_NEAR(t.m_extent.right - t.m_extent.left, 40, 1e-9);
}

TEST_F(MultiTextShapeTest, ScaleXYScalesTheBox) {
    MMultiTextShape t = MakeBox("x");
    t.ScaleXY({0, 0}, 2, 3);
    EXPECT_EQ(t.GetBoxWidth(), 100);
    EXPECT_EQ(t.GetBoxHeight(), -90);
    EXPECT_EQ(t.GetTextSize(), 10);
    t.Scale({0, 0}, 2);  // the text height, not the box
    EXPECT_EQ(t.GetTextSize(), 20);
    EXPECT_EQ(t.GetBoxWidth(), 100);
}

TEST_F(MultiTextShapeTest, RoundTrips) {
    MMultiTextShape t = MakeBox("一行目\n二行目\n");
    t.SetLayoutFlags(0x10 | 1 | 8);
    t.SetAlignment(5);
    t.SetTextColor(RGB(9, 8, 7));
    t.SetFillStyle(MFillStyle(kFillLinear, 0.5, RGB(255, 0, 0), RGB(0, 0, 255)));
    auto check = [&](const MCadShape& s) {
        ASSERT_EQ(s.GetTypeId(), 18);
        const auto& c = static_cast<const MMultiTextShape&>(s);
        EXPECT_EQ(c.GetString(), t.GetString());
        EXPECT_EQ(c.GetLayoutFlags(), 0x10 | 1 | 8);
        EXPECT_EQ(c.GetAlignment(), 5);
        EXPECT_EQ(c.GetBoxWidth(), 50);
        EXPECT_EQ(c.GetBoxHeight(), -30);
        EXPECT_EQ(c.GetTextColor(), RGB(9, 8, 7));
        EXPECT_EQ(c.GetFillStyle(), t.GetFillStyle());
    };
    auto loaded = LoadObject<MMultiTextShape>(StoreObject(&t));
    ASSERT_TRUE(loaded);
    check(*loaded);
    auto read = ReadShape(ShapeText(t));
    ASSERT_TRUE(read);
    check(*read);
}

TEST_F(MultiTextShapeTest, TwoLinesExportAsTwoTextsOneTextHeightApart) {
    MMultiTextShape t = MakeBox("first\nsecond");
    t.SetTextFlag(kTextFrame, TRUE);
    MDXFOutStream out;
    ExportShapeDxf(t, out, "0", {0, 0}, 1.0);
    const std::string dxf = out.GetText();
    EXPECT_EQ(CountEntities(dxf, "TEXT"), 2);
    EXPECT_EQ(CountEntities(dxf, "LINE"), 4);  // the box frame, once
    const auto texts = DxfValues(dxf, 1);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "first");
    EXPECT_EQ(texts[1], "second");
    const auto ys = DxfValues(dxf, 21);  // the reference points of the lines (top-left aligned)
    ASSERT_GE(ys.size(), 2u);
    EXPECT_DOUBLE_EQ(std::stod(ys[0]) - std::stod(ys[1]), 10.0);
    EXPECT_DOUBLE_EQ(std::stod(ys[0]), 0.0);
}

TEST_F(MultiTextShapeTest, ExportedLinesStandWhereTheyAreDrawn) {
    // Right-aligned, bottom-aligned lines of a vertical text: each exported line must sit at the
    // anchor of its drawn line, in the text's own frame.
    MMultiTextShape t = MakeBox("ab\ncd");
    t.SetTextFlag(kTextVertical, TRUE);
    t.SetHorzAlign(2);
    t.SetVertAlign(8);
    MJWCStringArray strings;
    MJWCStringList texts;
    ExportShapeJwcStrings(t, strings, 0, 1.0, 1.0, texts, kJWCTextKindHeights);
    ASSERT_EQ(strings.GetSize(), 2);
    EXPECT_EQ(texts.GetAt(0), "cd");
    // Vertical: the box turns a quarter clockwise about the reference point, so the writing runs
    // down (-y), its right edge lies at y = -50 and its bottom edge at x = 0; lines follow
    // leftwards, the bottom-aligned block stacking up to the right.
    EXPECT_NEAR(strings[0].y2, -50.0f, 1e-3);  // "cd" ends at the right edge
    EXPECT_NEAR(strings[0].x1, 0.0f, 1e-3);    // its lower edge on the bottom edge
    EXPECT_NEAR(strings[0].x2, 0.0f, 1e-3);
    EXPECT_NEAR(strings[1].x1, 10.0f, 1e-3);  // "ab" one pitch further up the block
    EXPECT_NEAR(strings[1].y2, -50.0f, 1e-3);
}
