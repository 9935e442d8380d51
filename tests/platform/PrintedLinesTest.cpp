// Lines on a printer's page and on an image: every line keeps its own colour and width, whatever
// was drawn or saved and restored between them; a printer's page takes only the points that
// change a line.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi/DC.h"
#include "platform/gdi/PrintedRuns.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/Print.h"
#include "tests/support/TestSupport.h"
#include "tests/view/output/PdfTestSupport.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// One stroke operator of a page: the colour and width in force and the points of its path.
struct PrintedStroke {
    std::array<double, 3> colour{0, 0, 0};
    double width = 1.0;
    std::vector<std::array<double, 2>> points;
    int subpaths = 0;
    bool clipped = false;
};

// The strokes of the page's content streams in order, in the content's own units.
std::vector<PrintedStroke> ReadStrokes(const std::string& pdf) {
    std::ifstream in(pdf, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<PrintedStroke> strokes;
    for (std::size_t at = 0; (at = file.find("stream\n", at)) != std::string::npos;) {
        const std::size_t start = at + 7, end = file.find("endstream", start);
        // Page content only: fonts and images come with a type or more lengths.
        const std::size_t dict = file.rfind("<<", at);
        const std::string head = file.substr(dict, at - dict);
        at = start;
        if (end == std::string::npos) break;
        if (head.find("/Type") != std::string::npos || head.find("/Subtype") != std::string::npos ||
            head.find("/Length1") != std::string::npos)
            continue;
        std::istringstream tokens(pdftest::Inflate(file.substr(start, end - start)));
        PrintedStroke state, path;
        std::vector<PrintedStroke> saved;
        std::vector<double> operands;
        for (std::string t; tokens >> t;) {
            char* endp = nullptr;
            const double v = std::strtod(t.c_str(), &endp);
            if (*endp == '\0') {
                operands.push_back(v);
                continue;
            }
            const std::size_t n = operands.size();
            if (t == "q") saved.push_back(state);
            if (t == "Q" && !saved.empty()) state = saved.back(), saved.pop_back();
            if (t == "SCN" && n >= 3) state.colour = {operands[n - 3], operands[n - 2], operands[n - 1]};
            if (t == "w" && n >= 1) state.width = operands[n - 1];
            if (t == "W" || t == "W*") state.clipped = true;
            if ((t == "m" || t == "l") && n >= 2) path.points.push_back({operands[n - 2], operands[n - 1]});
            if (t == "m") ++path.subpaths;
            if (t == "S") {
                path.colour = state.colour, path.width = state.width, path.clipped = state.clipped;
                strokes.push_back(path);
            }
            if (t == "S" || t == "n" || t == "f" || t == "f*") path = PrintedStroke();
            operands.clear();
        }
    }
    return strokes;
}

std::array<double, 3> Components(COLORREF c) {
    return {GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0};
}

void ExpectColour(const PrintedStroke& s, COLORREF c) {
    const std::array<double, 3> want = Components(c);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(s.colour[i], want[i], 1e-6) << "component " << i;
}

class PrintedLines : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        m_saved = AfxGetPrinterSettings();
        pdf = MakeTempDir("printed_lines") + "/page.pdf";
        CPrinterSettings settings;
        settings.outputFile = pdf;
        ASSERT_TRUE(dc.CreatePrinterDC(settings));
        ASSERT_GT(dc.StartDoc("lines"), 0);
        ASSERT_GT(dc.StartPage(), 0);
    }
    void TearDown() override { AfxGetPrinterSettings() = m_saved; }
    std::vector<PrintedStroke> Finish() {
        dc.EndPage();
        dc.EndDoc();
        return ReadStrokes(pdf);
    }
    void Line(int x0, int y0, int x1, int y1) {
        dc.MoveTo(x0, y0);
        dc.LineTo(x1, y1);
    }

    CPrinterDC dc;
    std::string pdf;
    CPrinterSettings m_saved;
};

}  // namespace

TEST_F(PrintedLines, ColoursAndWidthsChangingFromLineToLineAllReachThePage) {
    CPen red(PS_SOLID, 1, kRed), wideBlue(PS_SOLID, 24, kBlue), green(PS_SOLID, 1, kGreen);
    CPen* old = dc.SelectObject(&red);
    Line(100, 100, 900, 100);
    dc.SelectObject(&wideBlue);
    Line(100, 200, 900, 200);
    dc.SelectObject(&red);
    Line(100, 300, 900, 300);
    // A text between lines saves and restores the painter's state.
    dc.TextOut(100, 400, "A");
    Line(100, 500, 900, 500);
    const int level = dc.SaveDC();
    dc.SelectObject(&green);
    Line(100, 600, 900, 600);
    dc.RestoreDC(level);
    Line(100, 700, 900, 700);
    dc.SelectObject(&wideBlue);
    Line(100, 800, 900, 800);
    dc.SelectObject(old);
    Line(100, 900, 900, 900);

    const std::vector<PrintedStroke> strokes = Finish();
    ASSERT_EQ(strokes.size(), 8u);
    const COLORREF colours[] = {kRed, kBlue, kRed, kRed, kGreen, kRed, kBlue, 0};
    const double widths[] = {0, 24, 0, 0, 0, 0, 24, 0};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE("line " + std::to_string(i));
        ExpectColour(strokes[i], colours[i]);
        EXPECT_EQ(strokes[i].width, widths[i]);
    }
}

TEST_F(PrintedLines, TheRunsOfOneCallShareAStrokeAndKeepOnlyTheirCorners) {
    CPen red(PS_SOLID, 1, kRed);
    dc.SelectObject(&red);
    // A staircase with straight stretches of several points, a repeated point, a turn back on
    // itself and a closed ring.
    const POINT points[] = {{100, 100}, {110, 100}, {120, 100}, {120, 100}, {130, 100}, {130, 110},
                            {130, 120}, {140, 130}, {150, 140}, {200, 200}, {300, 200}, {200, 200},
                            {500, 500}, {600, 500}, {600, 600}, {500, 500}};
    const int counts[] = {9, 3, 4};
    dc.PolyPolyline(points, counts, 3);

    const std::vector<PrintedStroke> strokes = Finish();
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].subpaths, 3);
    // The diagonal keeps its middle point: only horizontal and vertical stretches are joined.
    EXPECT_EQ(strokes[0].points.size(), 5u + 3u + 4u);
}

TEST_F(PrintedLines, LinesOfOnePenShareAStrokeUntilTheClipChanges) {
    CPen red(PS_SOLID, 1, kRed);
    dc.SelectObject(&red);
    Line(100, 100, 900, 100);
    Line(100, 200, 900, 200);
    dc.IntersectClipRect(0, 0, 500, 5000);
    Line(100, 300, 900, 300);
    Line(100, 400, 900, 400);
    dc.SelectClipRgn(nullptr);
    Line(100, 500, 900, 500);

    const std::vector<PrintedStroke> strokes = Finish();
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[0].subpaths, 2);
    EXPECT_FALSE(strokes[0].clipped);
    EXPECT_EQ(strokes[1].subpaths, 2);
    EXPECT_TRUE(strokes[1].clipped);
    EXPECT_EQ(strokes[2].subpaths, 1);
    EXPECT_FALSE(strokes[2].clipped);
    for (const PrintedStroke& s : strokes)
        ExpectColour(s, kRed);
}

TEST_F(PrintedLines, CurvesJoinTheLinesOfTheirPenAndAnotherPenStartsAStroke) {
    CPen red(PS_SOLID, 1, kRed), blue(PS_SOLID, 1, kBlue);
    dc.SelectObject(&red);
    Line(100, 100, 900, 100);
    const POINT curve[] = {{100, 200}, {300, 100}, {500, 300}, {900, 200}};
    dc.PolyBezier(curve, 4);
    dc.SelectObject(&blue);
    dc.PolyBezier(curve, 4);
    dc.SelectObject(&red);
    Line(100, 300, 900, 300);

    const std::vector<PrintedStroke> strokes = Finish();
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[0].subpaths, 2);
    ExpectColour(strokes[0], kRed);
    EXPECT_EQ(strokes[1].subpaths, 1);
    ExpectColour(strokes[1], kBlue);
    ExpectColour(strokes[2], kRed);
}

TEST_F(PrintedLines, LinesWaitingAtANewPageStayOnTheirOwnPage) {
    CPen red(PS_SOLID, 1, kRed);
    dc.SelectObject(&red);
    Line(100, 100, 900, 100);
    dc.EndPage();
    ASSERT_GT(dc.StartPage(), 0);
    Line(100, 200, 900, 200);

    const std::vector<PrintedStroke> strokes = Finish();
    ASSERT_EQ(strokes.size(), 2u);
    EXPECT_EQ(strokes[0].subpaths, 1);
    EXPECT_EQ(strokes[1].subpaths, 1);
}

TEST(PrintedRun, KeepsTheEndsAndEveryCornerAndDropsWhatOnlyContinuesAStretch) {
    const GdiPointF run[] = {{0, 0}, {1, 0}, {2, 0}, {2, 0}, {2, 1}, {2, 3}, {1, 3}, {2, 3}, {2, 3}};
    std::vector<GdiPointF> out{{-5, -5}};
    ASSERT_EQ(AppendPrintedRun(run, 9, out), 5);
    const std::vector<std::array<double, 2>> want = {{-5, -5}, {0, 0}, {2, 0}, {2, 3}, {1, 3}, {2, 3}};
    ASSERT_EQ(out.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(out[i].x, want[i][0]) << i;
        EXPECT_EQ(out[i].y, want[i][1]) << i;
    }
    // A run that goes nowhere comes back as its one point.
    const GdiPointF dot[] = {{4, 4}, {4, 4}, {4, 4}};
    out.clear();
    EXPECT_EQ(AppendPrintedRun(dot, 3, out), 1);
    EXPECT_EQ(AppendPrintedRun(dot, 0, out), 0);
}

namespace {

// The line as the sequence of every point it passes on the grid of halves, with no point twice in
// a row: the same for two runs exactly when they stroke the same line the same way.
std::vector<std::array<double, 2>> Trace(const std::vector<GdiPointF>& run) {
    std::vector<std::array<double, 2>> trace;
    const auto add = [&](double x, double y) {
        if (trace.empty() || trace.back()[0] != x || trace.back()[1] != y) trace.push_back({x, y});
    };
    for (std::size_t i = 0; i < run.size(); ++i) {
        if (i > 0 && (run[i].x == run[i - 1].x || run[i].y == run[i - 1].y)) {
            const double steps = 2 * (std::abs(run[i].x - run[i - 1].x) + std::abs(run[i].y - run[i - 1].y));
            for (int k = 1; k < steps; ++k)
                add(run[i - 1].x + (run[i].x - run[i - 1].x) * k / steps,
                    run[i - 1].y + (run[i].y - run[i - 1].y) * k / steps);
        }
        add(run[i].x, run[i].y);
    }
    return trace;
}

}  // namespace

TEST(PrintedRun, RandomRunsTraceTheSameLineWithFewerPoints) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> step(-1, 1), length(1, 60), halves(0, 3);
    std::size_t before = 0, after = 0;
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<GdiPointF> run{{double(step(rng)), double(step(rng))}};
        const int n = length(rng);
        for (int j = 1; j < n; ++j) {
            // Mostly unit steps along an axis, as small round outlines on whole pixels are; some
            // diagonal, some standing still, some of half a pixel.
            const double unit = halves(rng) == 0 ? 0.5 : 1.0;
            GdiPointF p = run.back();
            if (halves(rng) == 0)
                p.x += unit * step(rng), p.y += unit * step(rng);
            else if (halves(rng) < 2)
                p.x += unit * step(rng);
            else
                p.y += unit * step(rng);
            run.push_back(p);
        }
        std::vector<GdiPointF> printed;
        AppendPrintedRun(run.data(), int(run.size()), printed);
        ASSERT_EQ(Trace(printed), Trace(run)) << "trial " << trial;
        EXPECT_EQ(printed.front().x, run.front().x);
        EXPECT_EQ(printed.back().y, run.back().y);
        before += run.size(), after += printed.size();
    }
    EXPECT_LT(after, before * 3 / 4);
}

TEST(ImageLines, ColoursAndWidthsChangingFromLineToLineAllReachTheImage) {
    CDC dc;
    ASSERT_TRUE(dc.CreateImageDC(120, 120));
    dc.FillSolidRect(0, 0, 120, 120, kWhite);
    CPen red(PS_SOLID, 1, kRed), wideBlue(PS_SOLID, 5, kBlue), green(PS_SOLID, 3, kGreen);
    dc.SelectObject(&wideBlue);
    dc.MoveTo(10, 10), dc.LineTo(110, 10);
    dc.SelectObject(&red);
    dc.MoveTo(10, 30), dc.LineTo(110, 30);
    dc.TextOut(10, 40, "A");
    dc.SelectObject(&green);
    dc.MoveTo(10, 70), dc.LineTo(110, 70);
    const int level = dc.SaveDC();
    dc.SelectObject(&wideBlue);
    dc.MoveTo(10, 90), dc.LineTo(110, 90);
    dc.RestoreDC(level);
    dc.MoveTo(10, 110), dc.LineTo(110, 110);

    EXPECT_EQ(dc.GetPixel(60, 12), kBlue);
    EXPECT_EQ(dc.GetPixel(60, 30), kRed);
    EXPECT_EQ(dc.GetPixel(60, 31), kWhite);
    EXPECT_EQ(dc.GetPixel(60, 71), kGreen);
    EXPECT_EQ(dc.GetPixel(60, 72), kWhite);
    EXPECT_EQ(dc.GetPixel(60, 92), kBlue);
    EXPECT_EQ(dc.GetPixel(60, 111), kGreen);
    EXPECT_EQ(dc.GetPixel(60, 113), kWhite);
}
