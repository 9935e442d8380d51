#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include "tests/model/shapes/curves/CurveTestSupport.h"
#include "model/Dib.h"
#include "model/PaperInfo.h"
#include "model/geometry/Geometry.h"
#include "model/helpers/TextStream.h"
#include "model/shapes/picture/BitmapShape.h"
#include "tests/support/TestSupport.h"

using namespace shapetest;
using namespace curvetest;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = 0xFFFFFF;

class BitmapShapeTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureRegistered(); }
    TestView view;
};

// A packed 24-bit DIB whose left half is red and right half blue (bottom-up rows).
std::vector<BYTE> PackedDib(int width, int height, LONG pelsPerMeter) {
    BITMAPINFOHEADER h;
    h.biWidth = width;
    h.biHeight = height;
    h.biBitCount = 24;
    h.biXPelsPerMeter = h.biYPelsPerMeter = pelsPerMeter;
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<BYTE> bytes(sizeof(h) + static_cast<std::size_t>(stride) * height, 0);
    std::memcpy(bytes.data(), &h, sizeof(h));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* p = bytes.data() + sizeof(h) + y * stride + x * 3;
            const COLORREF c = x < width / 2 ? kRed : kBlue;
            p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
        }
    return bytes;
}

// A shape holding that picture on the rectangle (left, bottom) - (left + w, bottom + h).
std::unique_ptr<MBitmapShape> Picture(int pixelsX, int pixelsY, double left, double bottom, double w,
                                      double h) {
    auto shape = std::make_unique<MBitmapShape>();
    const std::vector<BYTE> dib = PackedDib(pixelsX, pixelsY, 3780);
    EXPECT_TRUE(shape->SetDib(dib.data(), dib.size(), 1.0));
    shape->SetRect(left, bottom + h, left + w, bottom);
    return shape;
}

// The colour of the image pixel (x, y) counted from the top-left corner.
COLORREF PixelOf(const MDib& dib, int x, int y) {
    const BITMAPINFOHEADER* h = dib.GetHeader();
    const std::size_t stride = MDib::StrideOf(*h);
    const BYTE* p = dib.GetBits() + (h->biHeight - 1 - y) * stride + x * 3;
    return RGB(p[2], p[1], p[0]);
}

}  // namespace

TEST_F(BitmapShapeTest, PastedDibTakesItsResolution) {
    MBitmapShape shape;
    EXPECT_FALSE(shape.HasImage());
    EXPECT_EQ(shape.m_size, MFloatSize(0, 0));
    EXPECT_EQ(shape.GetTypeName(), "BITMAP");
    EXPECT_EQ(shape.GetTypeId(), 22);
    const std::vector<BYTE> dib = PackedDib(378, 189, 3780);
    ASSERT_TRUE(shape.SetDib(dib.data(), dib.size(), 1.0));
    EXPECT_DOUBLE_EQ(shape.m_size.cx, 100.0);
    EXPECT_DOUBLE_EQ(shape.m_size.cy, 50.0);
    ASSERT_TRUE(shape.SetDib(dib.data(), dib.size(), 0.5));  // paper millimetres over the scale
    EXPECT_DOUBLE_EQ(shape.m_size.cx, 200.0);

    const std::vector<BYTE> noResolution = PackedDib(378, 189, 0);
    ASSERT_TRUE(shape.SetDib(noResolution.data(), noResolution.size(), 1.0));
    EXPECT_NEAR(shape.m_size.cx, 378 / (96 * 1000 / 25.4) * 1000, 1e-9);

    MessageBoxRecorder boxes;
    EXPECT_FALSE(shape.SetDib(dib.data(), 20, 1.0));
    EXPECT_FALSE(shape.HasImage());
}

TEST_F(BitmapShapeTest, MirroringMovesTheRectangleAndThePixels) {
    std::unique_ptr<MBitmapShape> shape = Picture(4, 2, 10, 0, 4, 2);
    shape->MirrorX(5, 0);
    EXPECT_EQ(shape->GetRect(), MFloatRect(-4, 0, 0, 2));
    EXPECT_EQ(PixelOf(*shape->GetImage(), 0, 0), kBlue);
    EXPECT_EQ(PixelOf(*shape->GetImage(), 3, 1), kRed);
    shape->MirrorX(5, 0);
    EXPECT_EQ(shape->GetRect(), MFloatRect(10, 0, 14, 2));
    EXPECT_EQ(PixelOf(*shape->GetImage(), 0, 0), kRed);

    shape->MirrorY(0, -1);
    EXPECT_EQ(shape->GetRect(), MFloatRect(10, -4, 14, -2));
    EXPECT_EQ(shape->m_origin, MFloatPoint(10, -4));
}

TEST_F(BitmapShapeTest, RotationTurnsPixelsAndBounds) {
    std::unique_ptr<MBitmapShape> quarter = Picture(4, 2, 0, 0, 4, 2);
    quarter->Rotate(2, 1, kPi / 2);
    const MFloatRect r = quarter->GetRect();
    EXPECT_NEAR(r.left, 1, 1e-9);
    EXPECT_NEAR(r.right, 3, 1e-9);
    EXPECT_NEAR(r.bottom, -1, 1e-9);
    EXPECT_NEAR(r.top, 3, 1e-9);
    const SIZE turned = quarter->GetImage()->GetSize();
    EXPECT_EQ(turned.cx, 2);
    EXPECT_EQ(turned.cy, 4);

    std::unique_ptr<MBitmapShape> tilted = Picture(40, 20, 0, 0, 40, 20);
    tilted->Rotate(0, 0, kPi / 6);
    const MFloatRect t = tilted->GetRect();
    EXPECT_NEAR(t.right - t.left, 40 * std::cos(kPi / 6) + 20 * std::sin(kPi / 6), 1e-9);
    EXPECT_NEAR(t.top - t.bottom, 40 * std::sin(kPi / 6) + 20 * std::cos(kPi / 6), 1e-9);
    EXPECT_EQ(PixelOf(*tilted->GetImage(), 0, 0), kWhite);  // an uncovered corner
}

TEST_F(BitmapShapeTest, FreeCacheDropsThePaletteUntilTheNextRecalc) {
    MBitmapShape shape;
    shape.SetImage(std::make_unique<MDib>(4, 2, 8));
    shape.SetRect(0, 2, 4, 0);
    shape.Recalc(&view);
    ASSERT_NE(shape.GetImage()->GetPalette(), nullptr);
    shape.FreeCache(&view);
    EXPECT_EQ(shape.GetImage()->GetPalette(), nullptr);
    Canvas canvas(60, 60);
    shape.Draw(&view, &canvas.dc);  // drawing without the palette is fine
    shape.Recalc(&view);
    EXPECT_NE(shape.GetImage()->GetPalette(), nullptr);
    MBitmapShape().FreeCache(&view);  // no image
}

TEST_F(BitmapShapeTest, ScalingMovesTheRectangleOnly) {
    std::unique_ptr<MBitmapShape> shape = Picture(4, 2, 1, 1, 4, 2);
    shape->ScaleXY({0, 0}, 0, 2);
    EXPECT_EQ(shape->GetRect(), MFloatRect(1, 1, 5, 3));
    shape->ScaleXY({0, 0}, 2, 2);
    EXPECT_EQ(shape->m_origin, MFloatPoint(2, 2));
    EXPECT_EQ(shape->m_size, MFloatSize(8, 4));
    EXPECT_EQ(shape->m_extent, MFloatRect(2, 2, 10, 6));
    shape->ScaleXY({0, 0}, -1, 1);  // a mirror of the rectangle; the pixels stay
    EXPECT_EQ(shape->GetRect(), MFloatRect(-10, 2, -2, 6));
    EXPECT_EQ(PixelOf(*shape->GetImage(), 0, 0), kRed);
    shape->Move({1, 1});
    EXPECT_EQ(shape->m_origin, MFloatPoint(-9, 3));
}

TEST_F(BitmapShapeTest, WithoutAnImageTransformsMoveOnlyTheRectangle) {
    MBitmapShape empty;
    empty.SetRect(0, 2, 4, 0);
    empty.MirrorX(0, 0);
    EXPECT_EQ(empty.GetRect(), MFloatRect(-4, 0, 0, 2));
    empty.MirrorY(0, 0);
    empty.Rotate(0, 0, 1.0);
    empty.Recalc(&view);
    EXPECT_FALSE(empty.HasImage());
    Canvas canvas(50, 50);
    empty.Draw(&view, &canvas.dc);
    empty.Render(&view, &canvas.dc, MDrawMode::kGrayed);
    EXPECT_EQ(canvas.Count(kWhite), 50 * 50);
}

TEST_F(BitmapShapeTest, DrawsStretchedOntoItsRectangleAtTwoZooms) {
    for (double zoom : {10.0, 20.0}) {
        TestView v(zoom);
        std::unique_ptr<MBitmapShape> shape = Picture(4, 2, 1, -3, 4, 2);
        shape->Recalc(&v);
        Canvas canvas(120, 80);
        shape->DrawIfVisible(&v, &canvas.dc);
        // The rectangle covers x 1..5 and y -3..-1: pixels (zoom, zoom) to (5 zoom, 3 zoom).
        const int z = static_cast<int>(zoom);
        EXPECT_EQ(canvas.At(static_cast<int>(1.5 * z), 2 * z), kRed) << zoom;
        EXPECT_EQ(canvas.At(static_cast<int>(4.5 * z), 2 * z), kBlue) << zoom;
        EXPECT_EQ(canvas.At(z / 2, 2 * z), kWhite) << zoom;
        EXPECT_EQ(canvas.At(3 * z, static_cast<int>(3.5 * z)), kWhite) << zoom;
        EXPECT_EQ(canvas.CountNear(2 * z, 2 * z, z / 2 - 1, kRed), (z - 1) * (z - 1)) << zoom;
    }
}

TEST_F(BitmapShapeTest, EmptyRectangleDrawsNothing) {
    std::unique_ptr<MBitmapShape> flat = Picture(4, 2, 1, -3, 0, 2);
    flat->Recalc(&view);
    Canvas canvas(60, 60);
    flat->Draw(&view, &canvas.dc);
    flat->DrawIfVisible(&view, &canvas.dc);
    EXPECT_EQ(canvas.Count(kWhite), 60 * 60);
}

TEST_F(BitmapShapeTest, GreyAndTrackingDrawings) {
    std::unique_ptr<MBitmapShape> shape = Picture(4, 2, 1, -3, 4, 2);
    shape->Recalc(&view);
    Canvas grey(80, 50);
    shape->Render(&view, &grey.dc, MDrawMode::kGrayed);
    EXPECT_EQ(grey.At(10, 20), GetSysColor(COLOR_GRAYTEXT));               // the frame
    EXPECT_GT(grey.CountNear(30, 20, 8, GetSysColor(COLOR_GRAYTEXT)), 0);  // the hatching
    Canvas tracking(80, 50);
    CPen green(PS_SOLID, 1, RGB(0, 255, 0));
    tracking.dc.SelectObject(&green);
    tracking.dc.SelectStockObject(NULL_BRUSH);
    shape->Render(&view, &tracking.dc, MDrawMode::kTracking);
    EXPECT_EQ(tracking.At(30, 10), RGB(0, 255, 0));
    EXPECT_EQ(tracking.At(30, 20), kWhite);
}

TEST_F(BitmapShapeTest, SnapsCornersCentreAndEdgeMidpoints) {
    std::unique_ptr<MBitmapShape> shape = Picture(4, 2, 0, 0, 4, 2);
    EXPECT_EQ(Snap(*shape, {3.9, 2.1}, kSnapEndPoint | kSnapCenter | kSnapMidPoint).GetPoint(),
              MFloatPoint(4, 2));
    MSnapPoint centre = Snap(*shape, {2.1, 1.1}, kSnapEndPoint | kSnapCenter | kSnapMidPoint);
    EXPECT_EQ(centre.kind, kSnapCenter);
    EXPECT_EQ(centre.GetPoint(), MFloatPoint(2, 1));
    MSnapPoint left = Snap(*shape, {0.2, 1}, kSnapMidPoint);
    EXPECT_EQ(left.GetPoint(), MFloatPoint(0, 1));
}

TEST_F(BitmapShapeTest, PixelTestsUseTheRectangle) {
    std::unique_ptr<MBitmapShape> shape = Picture(4, 2, 0, 0, 4, 2);
    shape->Recalc(&view);
    EXPECT_TRUE(shape->HitTestPixel(&view, CPoint(20, -10), 2));  // inside counts
    EXPECT_TRUE(shape->HitTestPixel(&view, CPoint(43, -10), 3));
    EXPECT_FALSE(shape->HitTestPixel(&view, CPoint(44, -10), 3));
    EXPECT_TRUE(shape->IntersectsDeviceRectPixel(&view, CRect(40, -5, 50, 5)));
    EXPECT_FALSE(shape->IntersectsDeviceRectPixel(&view, CRect(41, -5, 50, 5)));
    EXPECT_TRUE(shape->IntersectsRectPixel(&view, CRect(), MFloatRect(3, 1, 9, 9)));
    EXPECT_FALSE(shape->IntersectsRectPixel(&view, CRect(), MFloatRect(5, 1, 9, 9)));
}

TEST_F(BitmapShapeTest, ArchiveAndDuplicateCarryThePicture) {
    std::unique_ptr<MBitmapShape> shape = Picture(4, 2, 1, 2, 4, 2);
    std::unique_ptr<MBitmapShape> copy = ArchiveRoundTrip(*shape);
    ASSERT_TRUE(copy);
    ASSERT_TRUE(copy->HasImage());
    EXPECT_EQ(copy->m_origin, MFloatPoint(1, 2));
    EXPECT_EQ(copy->m_size, MFloatSize(4, 2));
    EXPECT_EQ(PixelOf(*copy->GetImage(), 3, 0), kBlue);
    std::unique_ptr<MCadShape> duplicate(shape->Duplicate());
    auto* d = static_cast<MBitmapShape*>(duplicate.get());
    ASSERT_TRUE(d->HasImage());
    EXPECT_NE(d->GetImage(), shape->GetImage());
    EXPECT_EQ(d->m_extent, shape->m_extent);
    MBitmapShape empty;
    std::unique_ptr<MBitmapShape> emptyCopy = ArchiveRoundTrip(empty);
    ASSERT_TRUE(emptyCopy);
    EXPECT_FALSE(emptyCopy->HasImage());
}

TEST_F(BitmapShapeTest, TextFormIsOneLineAndThreeBlocks) {
    std::unique_ptr<MBitmapShape> shape = Picture(4, 2, 1, 2, 4, 2);
    const bool compress = BinaryBlockCompressionEnabled();
    SetBinaryBlockCompression(false);
    const std::string text = ShapeText(*shape);
    EXPECT_EQ(text.substr(0, text.find('\n', 7) + 1), "BITMAP\n\t1 2 4 2\n");
    EXPECT_EQ(text.find("\t14 BASE64 0\n"), 16u);
    std::unique_ptr<MBitmapShape> read = TextRoundTrip(*shape);
    ASSERT_TRUE(read);
    ASSERT_TRUE(read->HasImage());
    EXPECT_EQ(PixelOf(*read->GetImage(), 0, 1), kRed);

    SetBinaryBlockCompression(true);
    const std::string packed = ShapeText(*shape);
    std::istringstream lines(packed);
    std::string line;
    std::vector<std::string> headers;
    while (std::getline(lines, line))
        if (line.find("BASE64") != std::string::npos) headers.push_back(line);
    SetBinaryBlockCompression(compress);
    ASSERT_EQ(headers.size(), 3u);
    EXPECT_EQ(headers[0].back(), '0');
    EXPECT_EQ(headers[1].back(), '0');
    EXPECT_EQ(headers[2].back(), '1');

    // No picture: an empty one is written and read back.
    MBitmapShape empty;
    std::unique_ptr<MBitmapShape> back = TextRoundTrip(empty);
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->HasImage());

    // A damaged picture is reported; the shape keeps its rectangle.
    MessageBoxRecorder boxes;
    std::unique_ptr<MCadShape> damaged = ReadShape("BITMAP\n\t1 2 3 4\n\t14 BASE64 0\n\tAAAA\n");
    EXPECT_FALSE(damaged && static_cast<MBitmapShape*>(damaged.get())->HasImage());
    EXPECT_FALSE(boxes.Messages().empty());
}

TEST_F(BitmapShapeTest, DefaultSizeShrinksByTheLargerOfTheTwoAxesFactors) {
    MPaperInfo paper;  // A4 landscape, 1 : 100
    MCadView paperView(&paper);
    const MFloatSize sheet = paper.GetSize();
    // Natural size at 96 dpi: 1 pixel = 25.4 / 96 paper millimetres.
    const double mm = 25.4 / 96;
    const int sheetWide = static_cast<int>(sheet.cx / mm);
    const int sheetTall = static_cast<int>(sheet.cy / mm);
    const struct {
        const char* what;
        int width, height;  // pixels
        double factor;      // expected size over the natural size
    } kCases[] = {
        {"within half the sheet", 96, 48, 1.0},
        {"wider than half the sheet only", sheetWide, 20, 1.0},
        {"taller than half the sheet only", 20, sheetTall, 1.0},
        // Twice half the width (factor 0.5) and 1.5 times half the height (factor 2 / 3).
        {"oversized on both axes", sheetWide, sheetTall * 3 / 4, 0.5 * sheet.cy / (sheetTall * 3 / 4 * mm)},
        {"oversized on both, the width less", sheetWide * 3 / 5, sheetTall,
         0.5 * sheet.cx / (sheetWide * 3 / 5 * mm)},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        const std::vector<BYTE> dib = PackedDib(c.width, c.height, 0);
        MBitmapShape shape;
        ASSERT_TRUE(shape.SetDib(dib.data(), dib.size(), 1.0));
        shape.SetDefaultSize(&paperView);
        EXPECT_NEAR(paperView.DocToPaperLength(shape.m_size.cx), c.factor * c.width * mm, 1e-6);
        EXPECT_NEAR(paperView.DocToPaperLength(shape.m_size.cy), c.factor * c.height * mm, 1e-6);
    }
}
