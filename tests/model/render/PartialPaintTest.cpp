// A figure painted in strips, as scrolling and uncovered rectangles paint it, takes exactly the
// pixels one paint of the whole area takes: otherwise seams show along the strips' edges.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "model/CadView.h"
#include "model/FillStyle.h"
#include "model/PaperInfo.h"
#include "model/render/PolyFace.h"
#include "model/render/PolyLine.h"
#include "model/settings/LineStyle.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "tests/support/ImagePixels.h"

namespace {

constexpr int kWidth = 440, kHeight = 330, kStrips = 22;

class PartialPaint : public ::testing::Test {
protected:
    // 10 pixels per millimetre, drawing point (x, y) at logical point (10x, -10y).
    void SetUp() override { view.SetScale(nullptr, 254.0 / 96.0); }

    // The figure painted once into the whole image, or strip by strip through clip rectangles.
    QImage Paint(const std::function<void(CDC&)>& figure, bool columns, bool inStrips) {
        CDC dc;
        dc.CreateImageDC(kWidth, kHeight);
        dc.SelectStockObject(BLACK_PEN);
        dc.SelectStockObject(BLACK_BRUSH);
        dc.SetPolyFillMode(WINDING);
        const int strips = inStrips ? kStrips : 1;
        for (int i = 0; i < strips; ++i) {
            const int saved = dc.SaveDC();
            if (columns)
                dc.IntersectClipRect(kWidth * i / strips, 0, kWidth * (i + 1) / strips, kHeight);
            else
                dc.IntersectClipRect(0, kHeight * i / strips, kWidth, kHeight * (i + 1) / strips);
            figure(dc);
            dc.RestoreDC(saved);
        }
        return GetDCImage(dc)->copy();
    }

    MPaperInfo paper{MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1 : 1", 1.0), 1, 0};
    MCadView view{&paper};
    MPolyLine& lines = GetPolyLineRenderer();
    MPolyFace& faces = GetPolyFaceRenderer();
};

}  // namespace

// Wide outlines, dashes and faces were cut at the painted area and their cut corners rounded to
// pixels, or cut by the device context off the pixel grid and filled by another rule, so their
// slanted edges moved by a pixel here and there from strip to strip.
TEST_F(PartialPaint, StripsTakeThePixelsOfOneWholePaint) {
    const MFloatPoint slanted[] = {{-3, 2}, {47, -36}};
    const MFloatPoint triangle[] = {{2, -3}, {41, -9}, {13, -31}};
    const MFloatPoint quad[] = {{3, -2}, {40, -7}, {36, -30}, {6, -27}};
    const MFloatRect quadExtent(3, -30, 40, -2);
    MLineStyle dashes("D", "");
    dashes.m_dashes.Add(2.3);
    dashes.m_dashes.Add(-0.9);
    const struct {
        const char* name;
        std::function<void(CDC&)> figure;
    } cases[] = {
        {"slanted wide line", [&](CDC& dc) { lines.Draw(&view, &dc, slanted, 2, 0.35, 0, FALSE); }},
        {"closed wide outline", [&](CDC& dc) { lines.Draw(&view, &dc, triangle, 3, 1.3, 0, TRUE); }},
        {"wide dashes",
         [&](CDC& dc) { lines.DrawStyled(&view, &dc, slanted, 2, 0.5, &dashes, FALSE, FALSE); }},
        {"thin dashes",
         [&](CDC& dc) { lines.DrawStyled(&view, &dc, triangle, 3, 0.0, &dashes, FALSE, TRUE); }},
        {"plain face",
         [&](CDC& dc) { faces.DrawFill(&view, &dc, quad, 4, quadExtent, MFillStyle(RGB(0, 128, 0))); }},
        {"face with the caller's pen and brush", [&](CDC& dc) { faces.Draw(&view, &dc, triangle, 3); }},
    };
    for (const auto& c : cases) {
        for (const bool columns : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (columns ? ", columns" : ", rows"));
            const QImage whole = Paint(c.figure, columns, false);
            EXPECT_EQ(DifferentPixels(whole, Paint(c.figure, columns, true)), 0);
        }
    }
}
