#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "interchange/DxfShapeExport.h"
#include "interchange/JwcRecords.h"
#include "interchange/JwcShapeExport.h"
#include "model/SnapPoint.h"
#include "model/geometry/Geometry.h"
#include "model/shapes/ShapeDialogs.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"
#include "platform/gdi/DC.h"
#include "tests/model/shapes/annotation/AnnotationTestSupport.h"

using namespace shapetest;
using namespace annotationtest;

namespace {

class TextShapeTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }
    TestView view;  // 10 pixels per drawing unit
};

// Exposes the font size the text draws with.
class ProbeText : public MTextShape {
public:
    using MTextShape::GetScreenFontSize;
};

MTextShape MakeText(const char* s, MFloatPoint at = {0, 0}, double height = 8.0) {
    MTextShape t;
    t.SetString(s);
    t.SetTextSize(height);
    t.SetPoint(at);
    return t;
}

void ExpectNear(const MFloatPoint& a, const MFloatPoint& b, double tolerance = 1e-9) {
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
}

}  // namespace

TEST_F(TextShapeTest, DefaultsOfANewText) {
    MTextShape t;
    EXPECT_EQ(t.GetBoxWidth(), 1.0);
    EXPECT_EQ(t.GetBoxHeight(), -1.0);
    EXPECT_EQ(t.GetTextSize(), 8.0);
    EXPECT_TRUE(t.GetFillStyle().IsNone());
    EXPECT_EQ(t.GetTextColor(), 0u);
    EXPECT_TRUE(t.IsValid());
    EXPECT_TRUE(t.IsText());
    EXPECT_EQ(t.GetTypeName(), "TEXT");
    EXPECT_EQ(t.GetTypeId(), 17);
    EXPECT_FALSE(t.HasCapability(kShapeCanFlipX));
    EXPECT_TRUE(t.HasCapability(kShapeCanRotate));
    t.SetTextSize(0);
    EXPECT_FALSE(t.IsValid());
}

TEST_F(TextShapeTest, AlignmentNamesTheBoxPointOnTheReferencePoint) {
    MTextShape t;
    t.SetPoint({10, 20});
    t.SetBoxSize(40, -8);
    t.SetAlignment(0);  // top-left corner on the point
    ExpectNear(t.GetTextOrigin(), {10, 20});
    t.SetAlignment(9);  // centre of the lower edge
    ExpectNear(t.GetTextOrigin(), {-10, 28});
    t.SetAlignment(6);  // right middle
    ExpectNear(t.GetTextOrigin(), {-30, 24});
    // 3 and 0xC act as 0.
    t.SetAlignment(3 | 0xC);
    ExpectNear(t.GetTextOrigin(), {10, 20});

    // Corners follow the origin and turn with the angle about the reference point.
    t.SetAlignment(0);
    t.SetAngle(kPi / 2);
    MFloatPoint c[4];
    t.GetBoxCorners(c);
    ExpectNear(c[3], {10, 20});
    ExpectNear(c[2], {10, 60});  // along the writing: up
    ExpectNear(c[0], {18, 20});  // down the box: to the right
}

TEST_F(TextShapeTest, VerticalWritingTurnsTheFontAndSwapsTheAlignmentRoles) {
    MTextShape t;
    t.SetTextFlag(kTextVertical, TRUE);
    LOGFONT lf;
    t.FillLogFont(lf);
    EXPECT_EQ(lf.lfFaceName, "@ＭＳ ゴシック");
    EXPECT_EQ(lf.lfEscapement, -900);
    EXPECT_EQ(lf.lfOrientation, -900);
    EXPECT_NEAR(t.GetEffectiveAngle(), -kPi / 2, 1e-12);

    t.SetPoint({0, 0});
    t.SetBoxSize(30, -6);
    t.SetAlignment(0);
    ExpectNear(t.GetTextOrigin(), {0, 6});
    t.SetAlignment(2);  // horizontal bits act across: bottom of the box rectangle
    ExpectNear(t.GetTextOrigin(), {0, 0});
    t.SetAlignment(8);  // vertical bits act along x
    ExpectNear(t.GetTextOrigin(), {-30, 6});
    // For alignment 0 the reference point is the text's top-left corner on the sheet.
    t.SetAlignment(0);
    MFloatPoint c[4];
    t.GetBoxCorners(c);
    MFloatRect r;
    r.SetFromPoints(c[0], c[1], c[2], c[3]);
    r.Normalize();
    EXPECT_NEAR(r.left, 0, 1e-9);
    EXPECT_NEAR(r.top, 0, 1e-9);
    EXPECT_NEAR(r.right, 6, 1e-9);
    EXPECT_NEAR(r.bottom, -30, 1e-9);
}

TEST_F(TextShapeTest, TheAlignmentPointIsTheInverseOfTheOrigin) {
    MTextShape t;
    t.SetPoint({3, 4});
    t.SetBoxSize(20, -6);
    for (int vertical = 0; vertical < 2; ++vertical) {
        t.SetTextFlag(kTextVertical, vertical);
        for (int h = 0; h < 3; ++h)
            for (int v : {0, 4, 8}) {
                t.SetAlignment(h | v);
                const MFloatPoint o = t.GetTextOrigin();
                const MFloatRect box(MFloatPoint(o.x, o.y - 6), MFloatPoint(o.x + 20, o.y));
                ExpectNear(t.GetAlignmentPoint(box), {3, 4});
            }
    }
}

TEST_F(TextShapeTest, FontFlagsAndFaceNames) {
    MTextShape t;
    t.SetTextFlags(kTextBold | kTextItalic | kTextUnderline | kTextStrikeOut);
    t.SetFontName("  ＭＳ 明朝 ");
    LOGFONT lf;
    t.FillLogFont(lf);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(lf.lfFaceName, "ＭＳ 明朝");
    t.SetAngle(kPi / 6);
    t.FillLogFont(lf);
    EXPECT_EQ(lf.lfEscapement, 300);

    // A face longer than the 31-byte field is cut there, never inside a double-byte character.
    t.SetFontName("あいうえおかきくけこさしすせそたち");  // 34 bytes
    t.FillLogFont(lf);
    EXPECT_EQ(Cp932Length(lf.lfFaceName), 30u);
    t.SetTextFlag(kTextVertical, TRUE);
    t.FillLogFont(lf);
    EXPECT_EQ(lf.lfFaceName.substr(0, 1), "@");
    EXPECT_EQ(Cp932Length(lf.lfFaceName), 31u);
}

TEST_F(TextShapeTest, DefaultHeightIsA30PixelCellOnA96DpiScreen) {
    MCadView screen;  // 96 dpi, zoom 1, one millimetre per drawing unit
    ProbeText t;
    int width = -1, height = 0;
    t.GetScreenFontSize(&screen, &width, &height);
    EXPECT_EQ(height, 30);
    EXPECT_EQ(width, 0);
    t.SetCharWidth(2.0);
    t.GetScreenFontSize(&screen, &width, &height);
    EXPECT_EQ(width, 8);
}

TEST_F(TextShapeTest, MeasuringDoesNotDependOnTheZoom) {
    MTextShape t = MakeText("Tessaray 図面");
    t.MeasureText(&view);
    const double w = t.GetBoxWidth(), h = t.GetBoxHeight();
    EXPECT_GT(w, 20.0);
    EXPECT_LT(h, 0.0);
    EXPECT_NEAR(-h, 8.0, 1.0);  // the cell height is the text height
    MCadView other;
    other.SetScale(nullptr, 3.7);
    t.MeasureText(&other);
    EXPECT_DOUBLE_EQ(t.GetBoxWidth(), w);
    t.MeasureText(nullptr);
    EXPECT_DOUBLE_EQ(t.GetBoxWidth(), w);
    // Twice the height, twice the box.
    t.SetTextSize(16);
    t.MeasureText(nullptr);
    EXPECT_NEAR(t.GetBoxWidth(), 2 * w, 1e-9);
}

// A text keeps its measure between recalculations; each change of what the measure depends on
// gives the box a text made afresh with the same values has.
TEST_F(TextShapeTest, AKeptMeasureFollowsTheStringFontAndWidth) {
    MTextShape kept = MakeText("Tessaray");
    kept.MeasureText(&view);
    const auto expectAsFresh = [&](const std::function<void(MTextShape&)>& change) {
        change(kept);
        kept.Recalc(&view);
        MTextShape fresh = MakeText("Tessaray");
        change(fresh);
        fresh.Recalc(&view);
        EXPECT_DOUBLE_EQ(kept.GetBoxWidth(), fresh.GetBoxWidth());
        EXPECT_DOUBLE_EQ(kept.GetBoxHeight(), fresh.GetBoxHeight());
        return kept.GetBoxWidth();
    };
    const double before = kept.GetBoxWidth();
    const double longer = expectAsFresh([](MTextShape& t) { t.SetString("Tessaray 図面の文字"); });
    EXPECT_GT(longer, before);
    const double bold = expectAsFresh([](MTextShape& t) {
        t.SetString("Tessaray 図面の文字");
        t.SetTextFlags(t.GetTextFlags() | kTextBold);
    });
    const double narrow = expectAsFresh([](MTextShape& t) {
        t.SetString("Tessaray 図面の文字");
        t.SetTextFlags(t.GetTextFlags() | kTextBold);
        t.SetCharWidth(2.0);
    });
    EXPECT_LT(narrow, bold);
    expectAsFresh([](MTextShape& t) {
        t.SetString("Tessaray 図面の文字");
        t.SetTextFlags(t.GetTextFlags() | kTextBold);
        t.SetCharWidth(2.0);
        t.SetFontName("ＭＳ 明朝");
    });
    // Back to the first string: the first box again.
    expectAsFresh([](MTextShape& t) {
        t.SetString("Tessaray");
        t.SetTextFlags(0);
        t.SetCharWidth(0.0);
        t.SetFontName(MakeText("").GetFontName());
    });
    EXPECT_DOUBLE_EQ(kept.GetBoxWidth(), before);
}

TEST_F(TextShapeTest, RecalcGivesTheRotatedBoxAsExtent) {
    MTextShape t = MakeText("ABCD", {5, 5});
    t.SetAngle(kPi / 2);
    t.Recalc(&view);
    const double w = t.GetBoxWidth(), h = -t.GetBoxHeight();
    EXPECT_NEAR(t.m_extent.left, 5, 1e-9);
    EXPECT_NEAR(t.m_extent.right, 5 + h, 1e-9);
    EXPECT_NEAR(t.m_extent.bottom, 5, 1e-9);
    EXPECT_NEAR(t.m_extent.top, 5 + w, 1e-9);
}

// The four scaling forms, alone and through a group: the one-factor form scales the height only,
// the two-factor form the height by y and the character width by x, the All forms neither.
TEST_F(TextShapeTest, EachScalingFormChangesItsOwnSizes) {
    const struct {
        const char* form;
        std::function<void(MCadShape&)> scale;
        double height;
        double charWidth;
    } rows[] = {
        {"Scale", [](MCadShape& s) { s.Scale({0, 0}, 2); }, 16.0, 3.0},
        {"ScaleXY", [](MCadShape& s) { s.ScaleXY({0, 0}, 2, 0.5); }, 4.0, 6.0},
        {"ScaleAll", [](MCadShape& s) { s.ScaleAll({0, 0}, 2); }, 8.0, 3.0},
        {"ScaleAllXY", [](MCadShape& s) { s.ScaleAllXY({0, 0}, 2, 0.5); }, 8.0, 3.0},
    };
    for (const auto& row : rows) {
        for (bool grouped : {false, true}) {
            auto* text = new MTextShape(MakeText("A", {10, 0}));
            text->SetCharWidth(3.0);
            MGroupShape group;
            group.AddShape(text);
            row.scale(grouped ? static_cast<MCadShape&>(group) : *text);
            EXPECT_EQ(text->GetTextSize(), row.height) << row.form << grouped;
            EXPECT_EQ(text->GetCharWidth(), row.charWidth) << row.form << grouped;
            ExpectNear(text->GetPoint(), {20, 0});
        }
    }
}

TEST_F(TextShapeTest, ScalingAndRotation) {
    MTextShape t = MakeText("A", {10, 0});
    t.Scale({0, 0}, 2);
    EXPECT_EQ(t.GetTextSize(), 16.0);
    ExpectNear(t.GetPoint(), {20, 0});
    t.ScaleAll({0, 0}, 2);
    EXPECT_EQ(t.GetTextSize(), 16.0);
    ExpectNear(t.GetPoint(), {40, 0});
    t.ScaleXY({0, 0}, 2, 0.5);
    EXPECT_EQ(t.GetTextSize(), 8.0);
    ExpectNear(t.GetPoint(), {80, 0});
    t.Scale({0, 0}, 1e-16);  // a vanishing factor does nothing
    EXPECT_EQ(t.GetTextSize(), 8.0);
    // A negative factor reflects the position; the text is not mirrored and stays valid.
    t.Scale({0, 0}, -1);
    ExpectNear(t.GetPoint(), {-80, 0});
    EXPECT_EQ(t.GetTextSize(), 8.0);
    EXPECT_TRUE(t.IsValid());

    t.SetAngle(kPi / 2);
    t.Rotate(0, 0, kPi / 2);
    t.Rotate(0, 0, kPi / 2);
    EXPECT_NEAR(t.GetAngle(), -kPi / 2, 1e-12);
    ExpectNear(t.GetPoint(), {80, 0}, 1e-9);
}

TEST_F(TextShapeTest, EveryHandleMovesTheWholeText) {
    MTextShape t = MakeText("A", {0, 0});
    t.SetBoxSize(10, -4);
    for (int i = 0; i < 4; ++i) {
        const MFloatPoint before = t.GetPoint();
        const MFloatPoint handle = t.GetHandle(i);
        int index = i;
        t.MoveHandle(&index, handle + MFloatPoint(3, 1), FALSE);
        ExpectNear(t.GetPoint(), before + MFloatPoint(3, 1));
        EXPECT_EQ(t.GetBoxWidth(), 10.0);
    }
    ExpectNear(t.GetHandle(2), t.GetHandle(0) + MFloatPoint(10, -4));
}

TEST_F(TextShapeTest, CornersAreEndPointsOnly) {
    MTextShape t = MakeText("A", {0, 0});
    t.SetBoxSize(10, -4);
    MSnapPoint snap;
    const double d =
        t.SnapPoints(snap, {9.5, -3.5}, MFloatRect(-100, -100, 100, 100), kSnapEndPoint, DBL_MAX);
    EXPECT_LT(d, 1.0);
    EXPECT_EQ(snap.GetPoint(), MFloatPoint(10, -4));
    EXPECT_EQ(snap.shape1, &t);
    MSnapPoint none;
    EXPECT_EQ(t.SnapPoints(none, {9.5, -3.5}, MFloatRect(-100, -100, 100, 100), kSnapCenter, 7.0), 7.0);
}

TEST_F(TextShapeTest, AuxiliaryLineStyleTurnsFrameAndTextBlue) {
    MTextShape t;
    t.SetColor(RGB(255, 0, 0));
    t.SetLineStyle(kAuxiliaryLine | 1);
    EXPECT_EQ(t.GetColor(), kNoColor);
    EXPECT_EQ(t.GetTextColor(), kAuxiliaryColor);
    t.SetColor(0);
    t.SetLineStyle(0);
    EXPECT_EQ(t.GetColor(), kAuxiliaryColor);
}

TEST_F(TextShapeTest, ArchiveAndTextFormsRoundTrip) {
    MTextShape t = MakeText("一行目の文字", {1.25, -2.5}, 3.5);
    t.SetBoxSize(30.5, -3.5);
    t.SetCharWidth(1.5);
    t.SetAngle(0.75);
    t.SetTextFlags(kTextBold | kTextFrame);
    t.SetAlignment(9);
    t.SetTextColor(RGB(1, 2, 3));
    t.SetColor(RGB(4, 5, 6));
    t.SetLineWidth(0.25);
    t.SetLineStyle(2);
    t.SetFillStyle(MFillStyle(RGB(7, 8, 9)));
    t.SetFontName("ＭＳ 明朝");

    auto check = [&](const MTextShape& c) {
        EXPECT_EQ(c.GetString(), t.GetString());
        EXPECT_EQ(c.GetPoint(), t.GetPoint());
        EXPECT_EQ(c.GetBoxWidth(), t.GetBoxWidth());
        EXPECT_EQ(c.GetBoxHeight(), t.GetBoxHeight());
        EXPECT_EQ(c.GetCharWidth(), 1.5);
        EXPECT_EQ(c.GetAngle(), 0.75);
        EXPECT_EQ(c.GetTextFlags(), kTextBold | kTextFrame);
        EXPECT_EQ(c.GetAlignment(), 9);
        EXPECT_EQ(c.GetTextColor(), RGB(1, 2, 3));
        EXPECT_EQ(c.GetColor(), RGB(4, 5, 6));
        EXPECT_EQ(c.GetLineWidth(), 0.25);
        EXPECT_EQ(c.GetLineStyle(), 2);
        EXPECT_EQ(c.GetFillStyle(), MFillStyle(RGB(7, 8, 9)));
        EXPECT_EQ(c.GetFontName(), "ＭＳ 明朝");
        EXPECT_EQ(c.GetTextSize(), 3.5);
    };
    auto loaded = LoadObject<MTextShape>(StoreObject(&t));
    ASSERT_TRUE(loaded);
    check(*loaded);

    const std::string text = ShapeText(t);
    EXPECT_EQ(text.substr(0, 5), "TEXT\n");
    auto read = ReadShape(text);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->GetTypeId(), 17);
    check(static_cast<MTextShape&>(*read));
}

TEST_F(TextShapeTest, AShortFirstLineKeepsTheFrameValues) {
    // An older record: the numbers stop after the text colour.
    auto read = ReadShape("TEXT\n\t1 2 10 -4 5 0 0 0 0 255\n\tＭＳ ゴシック\n\t1\n\tabc\n");
    ASSERT_TRUE(read);
    auto& t = static_cast<MTextShape&>(*read);
    EXPECT_EQ(t.GetString(), "abc");
    EXPECT_EQ(t.GetTextColor(), 255u);
    EXPECT_EQ(t.GetColor(), 0u);
    EXPECT_EQ(t.GetLineStyle(), 0);
    EXPECT_TRUE(t.GetFillStyle().IsNone());
    EXPECT_EQ(t.GetFontName(), "ＭＳ ゴシック");
    // A damaged record fails.
    EXPECT_FALSE(ReadShape("TEXT\n\t1 2 x\n"));
}

TEST_F(TextShapeTest, DrawnTextStaysInsideItsBox) {
    MTextShape t = MakeText("Hg文字", {2, 12}, 8);
    t.SetTextFlag(kTextFrame, TRUE);
    t.Recalc(&view);
    Image image(view, 700, 200, {0, 0});
    t.Draw(&view, &image.dc());
    MFloatPoint c[4];
    t.GetBoxCorners(c);
    const CPoint topLeft = image.Device(c[3]), bottomRight = image.Device(c[1]);
    const CRect ink = image.InkBounds();
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_GE(ink.left, topLeft.x - 1);
    EXPECT_GE(ink.top, topLeft.y - 1);
    EXPECT_LE(ink.right, bottomRight.x + 2);
    EXPECT_LE(ink.bottom, bottomRight.y + 2);
    // The glyphs inside the frame: ink well inside the box.
    CRect inner(topLeft.x + 3, topLeft.y + 3, bottomRight.x - 3, bottomRight.y - 3);
    EXPECT_GT(image.CountInk(inner), 50);
}

TEST_F(TextShapeTest, TextWithoutColourDrawsOnlyBackgroundAndFrame) {
    MTextShape t = MakeText("WWWW", {2, 12}, 8);
    t.SetFillStyle(MFillStyle(RGB(255, 0, 0)));
    t.SetTextColor(kNoColor);
    t.Recalc(&view);
    Image image(view, 700, 200, {0, 0});
    t.Draw(&view, &image.dc());
    EXPECT_GT(image.Count(RGB(255, 0, 0)), 1000);
    EXPECT_EQ(image.Count(0), 0);  // no black glyph pixel, no frame
    t.SetTextColor(0);
    t.Draw(&view, &image.dc());
    EXPECT_GT(image.Count(0), 50);
}

TEST_F(TextShapeTest, RotatedTextIsDrawnWithItsEscapementAtTheRotatedOrigin) {
    MTextShape t = MakeText("AB", {10, -60}, 5);
    t.SetAngle(kPi / 2);
    t.SetAlignment(9);
    t.Recalc(&view);
    CDC dc;
    auto backend = std::make_unique<TextRecorder>();
    TextRecorder* rec = backend.get();
    dc.AttachBackend(std::move(backend));
    t.Draw(&view, &dc);
    ASSERT_EQ(rec->outputs.size(), 1u);
    const auto& out = rec->outputs[0];
    EXPECT_EQ(out.text, "AB");
    EXPECT_EQ(out.font.lfEscapement, 900);
    EXPECT_EQ(out.font.lfHeight, 50);
    const CPoint expected = view.DocToLogical(t.GetRotatedOrigin());
    EXPECT_NEAR(out.x, expected.x, 0.5);
    EXPECT_NEAR(out.y, expected.y, 0.5);
    // A height that rounds to no pixel draws no text.
    rec->outputs.clear();
    t.SetTextSize(0.01);
    t.Draw(&view, &dc);
    EXPECT_TRUE(rec->outputs.empty());
}

TEST_F(TextShapeTest, PixelHitTestsFindTheGlyphs) {
    MTextShape t = MakeText("MMMM", {0, 0}, 8);
    t.Recalc(&view);
    const MFloatPoint mid = (t.GetHandle(0) + t.GetHandle(2)) / 2;
    const CPoint p = view.DocToLogical(mid);
    EXPECT_TRUE(t.HitTestPixel(&view, p, 8));
    const CPoint far = view.DocToLogical(mid + MFloatPoint(200, 0));
    EXPECT_FALSE(t.HitTestPixel(&view, far, 3));
}

TEST_F(TextShapeTest, TrackingInvertsAndOutlines) {
    MTextShape t = MakeText("AB", {2, 12}, 8);
    t.Recalc(&view);
    Image image(view, 400, 200, {0, 0});
    image.dc().SelectStockObject(WHITE_PEN);
    image.dc().SelectStockObject(NULL_BRUSH);
    image.dc().SetROP2(R2_XORPEN);
    t.Render(&view, &image.dc(), MDrawMode::kTracking);
    EXPECT_GT(image.CountInk(), 40);
    // Drawn twice, the rubber band is gone.
    t.Render(&view, &image.dc(), MDrawMode::kTracking);
    EXPECT_EQ(image.CountInk(), 0);
}

TEST_F(TextShapeTest, DxfTextEntity) {
    MTextShape t = MakeText("Hello", {10, 20}, 5);
    t.SetTextColor(RGB(255, 0, 0));
    MDXFOutStream out;
    ExportShapeDxf(t, out, "L1", {1, 1}, 1.0);
    const std::string dxf = out.GetText();
    EXPECT_EQ(DxfValues(dxf, 0), std::vector<std::string>{"TEXT"});
    EXPECT_EQ(DxfValues(dxf, 8)[0], "L1");
    EXPECT_EQ(DxfValues(dxf, 62)[0], "1");
    EXPECT_EQ(DxfValues(dxf, 10)[0], "9");
    EXPECT_EQ(DxfValues(dxf, 20)[0], "19");
    EXPECT_EQ(DxfValues(dxf, 73), std::vector<std::string>{"3"});  // top
    EXPECT_EQ(DxfValues(dxf, 11)[0], "9");
    EXPECT_EQ(DxfValues(dxf, 40)[0], "5");
    EXPECT_EQ(DxfValues(dxf, 41)[0], "1");
    EXPECT_TRUE(DxfValues(dxf, 50).empty());  // angle 0
    EXPECT_TRUE(DxfValues(dxf, 72).empty());
    EXPECT_EQ(DxfValues(dxf, 1)[0], "Hello");

    // Centre-bottom, turned: 72 = 1, no 73, angle in degrees.
    t.SetAlignment(9);
    t.SetAngle(-kPi / 2);
    out.Clear();
    ExportShapeDxf(t, out, "L1", {0, 0}, 1.0);
    EXPECT_EQ(DxfValues(out.GetText(), 72), std::vector<std::string>{"1"});
    EXPECT_TRUE(DxfValues(out.GetText(), 73).empty());
    EXPECT_EQ(DxfValues(out.GetText(), 50), std::vector<std::string>{"270"});

    // Vertical writing: style TATEGAKI, no 73, the insertion point shifted across the writing.
    MTextShape v = MakeText("縦", {0, 0}, 5);
    v.SetTextFlag(kTextVertical, TRUE);
    v.SetBoxSize(5, -5);
    out.Clear();
    ExportShapeDxf(v, out, "0", {0, 0}, 1.0);
    EXPECT_EQ(DxfValues(out.GetText(), 7), std::vector<std::string>{"TATEGAKI"});
    EXPECT_TRUE(DxfValues(out.GetText(), 73).empty());
    EXPECT_EQ(DxfValues(out.GetText(), 10)[0], "2.5");
}

TEST_F(TextShapeTest, FrameExportsAsFourLines) {
    MTextShape t = MakeText("A", {0, 0}, 5);
    t.SetBoxSize(10, -5);
    t.SetTextFlag(kTextFrame, TRUE);
    t.SetColor(RGB(0, 0, 255));
    MDXFOutStream out;
    ExportShapeDxf(t, out, "0", {0, 0}, 1.0);
    EXPECT_EQ(CountEntities(out.GetText(), "LINE"), 4);
    MJWCLineArray lines;
    ExportShapeJwcLines(t, lines, 3, 2.0, 1.0);
    ASSERT_EQ(lines.GetSize(), 4);
    EXPECT_EQ(lines[0].x1, 0.0f);
    EXPECT_EQ(lines[0].y1, -10.0f);
    EXPECT_EQ(lines[0].x2, 20.0f);
    EXPECT_EQ(lines[0].layer, 3);
    // No frame colour, no frame.
    t.SetColor(kNoColor);
    out.Clear();
    ExportShapeDxf(t, out, "0", {0, 0}, 1.0);
    EXPECT_EQ(CountEntities(out.GetText(), "LINE"), 0);
}

TEST_F(TextShapeTest, JwcStringRecord) {
    MTextShape t = MakeText("ABC", {10, 10}, 500);  // 5 mm on paper at 1 : 100
    t.SetBoxSize(1200, -500);
    MJWCStringArray strings;
    MJWCStringList texts;
    ExportShapeJwcStrings(t, strings, 4, 0.5, 0.01, texts, kJWCTextKindHeights);
    ASSERT_EQ(strings.GetSize(), 1);
    const MJWCString& r = strings[0];
    EXPECT_EQ(r.x1, 5.0f);  // lower-left corner of the text
    EXPECT_EQ(r.y1, -245.0f);
    EXPECT_EQ(r.x2, 605.0f);
    EXPECT_EQ(r.y2, -245.0f);
    EXPECT_EQ(r.sizeKind, 5);  // 5 mm
    EXPECT_EQ(r.layer, 4);
    EXPECT_EQ(r.flags, 0);
    EXPECT_EQ(r.offset, 0);
    EXPECT_EQ(r.segment, 0x6834);
    EXPECT_EQ(texts.GetRunningOffset(), 4);
    t.SetTextFlag(kTextVertical, TRUE);
    ExportShapeJwcStrings(t, strings, 4, 0.5, 0.01, texts, kJWCTextKindHeights);
    EXPECT_EQ(strings[1].offset, 4);
    EXPECT_EQ(strings[1].flags, MJWCString::kVertical);
}

TEST_F(TextShapeTest, LongTextsNeverWrapTheJwcStringOffset) {
    MTextShape t = MakeText("", {0, 0}, 5);
    t.SetString(std::string(40000, 'x'));
    MJWCStringArray strings;
    MJWCStringList texts;
    ExportShapeJwcStrings(t, strings, 0, 1.0, 1.0, texts, kJWCTextKindHeights);
    ExportShapeJwcStrings(t, strings, 0, 1.0, 1.0, texts, kJWCTextKindHeights);  // would pass 0xFFFF
    EXPECT_EQ(strings.GetSize(), 1);
    EXPECT_TRUE(texts.HasOverflowed());
    t.SetString("short");
    ExportShapeJwcStrings(t, strings, 0, 1.0, 1.0, texts, kJWCTextKindHeights);
    ASSERT_EQ(strings.GetSize(), 2);
    EXPECT_EQ(strings[1].offset, 40001);
}

TEST_F(TextShapeTest, VerticalTextRunsDownInsideItsBox) {
    MTextShape t = MakeText("縦書き", {5, 30}, 6);
    t.SetTextFlag(kTextVertical, TRUE);
    t.Recalc(&view);
    // The box: its top-left corner at the reference point, one character wide, the string long.
    EXPECT_NEAR(t.m_extent.left, 5, 1e-9);
    EXPECT_NEAR(t.m_extent.top, 30, 1e-9);
    EXPECT_NEAR(t.m_extent.right - t.m_extent.left, 6, 1e-9);
    EXPECT_GT(t.m_extent.top - t.m_extent.bottom, 10);  // three full-width advances
    Image image(view, 200, 400, {0, 0});
    t.Draw(&view, &image.dc());
    const CRect ink = image.InkBounds();
    ASSERT_FALSE(ink.IsRectEmpty());
    const CPoint tl = image.Device(t.m_extent.TopLeft()), br = image.Device(t.m_extent.BottomRight());
    EXPECT_GE(ink.left, tl.x - 2);
    EXPECT_LE(ink.right, br.x + 2);
    EXPECT_GE(ink.top, tl.y - 2);
    EXPECT_LE(ink.bottom, br.y + 2);
    EXPECT_GT(ink.Height(), 2 * ink.Width());  // taller than wide: written downwards
}

TEST_F(TextShapeTest, TheFaceFollowsEveryNameAndWritingDirection) {
    // Names around the 31-byte field, of one- and two-byte characters (half-width kana is one
    // byte), more of them than any kept set of faces, each asked for twice in both directions.
    const char* const pieces[] = {"a", "Z", "ｱ", "ﾎﾟ", "あ", "漢", "Ｍ", "€"};
    std::vector<std::string> names;
    for (int n = 0; n < 150; ++n) {
        std::string name;
        for (int i = 0; name.size() < static_cast<std::size_t>(20 + n % 25); ++i)
            name += pieces[(n * 7 + i * (n % 5 + 1)) % std::size(pieces)];
        names.push_back(name);
    }
    names.push_back("");
    names.push_back("  ＭＳ 明朝　");
    MTextShape t;
    for (int pass = 0; pass < 2; ++pass)
        for (const std::string& name : names)
            for (int vertical = 0; vertical < 2; ++vertical) {
                t.SetFontName(name);
                t.SetTextFlag(kTextVertical, vertical);
                LOGFONT lf;
                t.FillLogFont(lf);
                std::string face = name == "" ? GetDefaultTextFace() : name;
                if (name.find("ＭＳ 明朝") != std::string::npos) face = "ＭＳ 明朝";
                const std::string expected = vertical ? "@" + Cp932Cut(face, 30) : Cp932Cut(face, 31);
                ASSERT_EQ(lf.lfFaceName, expected) << name;
                ASSERT_EQ(t.GetFaceName(), expected);
                ASSERT_LE(Cp932Length(lf.lfFaceName), 31u);
            }
}

TEST_F(TextShapeTest, AKeptMeasureFollowsWritingDirectionStyleAndSize) {
    const std::function<void(MTextShape&)> changes[] = {
        [](MTextShape& t) { t.SetTextFlag(kTextVertical, TRUE); },
        [](MTextShape& t) { t.SetTextFlags(kTextItalic | kTextUnderline); },
        [](MTextShape& t) { t.SetTextSize(20.0); },
        [](MTextShape& t) { t.SetCharWidth(9.0); },
        [](MTextShape& t) { t.SetAngle(kPi / 3); },
        [](MTextShape& t) { t.SetFontName(" 　"); },  // blanks name the default face
        [](MTextShape& t) { t.SetFontName("ＭＳ Ｐ明朝"); },
    };
    MTextShape kept = MakeText("Ag 図面");
    for (const auto& change : changes) {
        kept.Recalc(&view);
        change(kept);
        kept.Recalc(&view);
        MTextShape fresh = MakeText("Ag 図面");
        fresh.SetTextFlags(kept.GetTextFlags());
        fresh.SetTextSize(kept.GetTextSize());
        fresh.SetCharWidth(kept.GetCharWidth());
        fresh.SetAngle(kept.GetAngle());
        fresh.SetFontName(kept.GetFontName());
        fresh.Recalc(&view);
        EXPECT_DOUBLE_EQ(kept.GetBoxWidth(), fresh.GetBoxWidth());
        EXPECT_DOUBLE_EQ(kept.GetBoxHeight(), fresh.GetBoxHeight());
    }
}
