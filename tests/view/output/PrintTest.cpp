// Printing the print area: into a PDF file through QPrinter (no printer needed), with the page
// size and a known line measured in the file; the print factor; black and white; the print
// dialog's check box; preview.
#include <QPainter>
#include <filesystem>
#include <fstream>

#include "document/Layer.h"
#include "model/PaperInfo.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/ui/DialogRunner.h"
#include "platform/ui/Print.h"
#include "tests/support/TestSupport.h"
#include "tests/view/ViewTestSupport.h"
#include "tests/view/output/PdfTestSupport.h"
#include "view/ClassRegistry.h"
#include "view/dialogs/PrintBWDialog.h"

using namespace viewtest;

namespace {

constexpr double kTolerance = 0.2;  // millimetres

class Printing : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        RegisterViewClasses();
        m_saved = AfxGetPrinterSettings();
        m_savedBlackWhite = PrintBlackWhite();
        dir = MakeTempDir("printing");
        CPrinterSettings& s = AfxGetPrinterSettings();
        s = CPrinterSettings();
        s.outputFile = dir + "/page.pdf";
        s.paperName = "A4";
        s.pdfMargin = 5.0;
        PrintBlackWhite() = 0;
    }
    void TearDown() override {
        AfxGetPrinterSettings() = m_saved;
        PrintBlackWhite() = m_savedBlackWhite;
    }

    // A4 upright at 1 : 1, so drawing units are paper millimetres (the sheet spans y -297 .. 0).
    static void UseA4(ViewHarness& h) {
        h.doc.SetPaper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1 : 1", 1.0), FALSE);
        h.view->SetPaperInfo(&h.doc.GetPaperInfo());
        h.view->RecalcScrollSizes();
        h.view->UpdatePrinterPage(FALSE);
        ASSERT_EQ(h.doc.GetPaperInfo().GetSize(), MFloatSize(210, 297));
    }
    // A line in paper millimetres (x right, y down from the sheet's top-left corner).
    static MFloatPoint Doc(ViewHarness& h, double x, double yDown) {
        const MFloatRect r = h.view->PaperToDocRect(MFloatRect(x, -yDown, x, -yDown));
        return MFloatPoint(r.left, r.bottom);
    }
    static MLineShape* PaperLine(ViewHarness& h, double x0, double y0, double x1, double y1, int layer = 0) {
        const MFloatPoint a = Doc(h, x0, y0), b = Doc(h, x1, y1);
        return h.AddLine(a.x, a.y, b.x, b.y, layer);
    }
    static const pdftest::Stroke* Longest(const pdftest::PdfPage& page) {
        const pdftest::Stroke* best = nullptr;
        double length = 0;
        for (const auto& s : page.strokes) {
            const double l = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
            if (l > length) best = &s, length = l;
        }
        return best;
    }

    std::string dir;

private:
    CPrinterSettings m_saved;
    int m_savedBlackWhite = 0;
};

}  // namespace

TEST_F(Printing, PrintAreaFollowsTheApplicationsPrinter) {
    ViewHarness h(640, 480);
    UseA4(h);
    const double printable = 25.4 / 1200;  // one printer pixel
    EXPECT_NEAR(h.view->m_pageWidth, 200, 2 * printable * 10);
    EXPECT_NEAR(h.view->m_pageHeight, 287, 2 * printable * 10);
    // The area starts where the printable area starts on the sheet.
    const MFloatRect area = h.view->GetPrintArea();
    EXPECT_NEAR(area.left, 5, 0.1);
    EXPECT_NEAR(area.top, -5, 0.1);
    EXPECT_EQ(h.view->m_printArea, area);

    // A new paper in the printer changes the area, not its centre, after printing.
    const MFloatPoint centre = h.view->m_printCentre;
    AfxGetPrinterSettings().paperName = "A3";
    h.view->SendCommand(57608);
    EXPECT_EQ(h.view->m_printCentre, centre);
    EXPECT_NEAR(h.view->m_pageWidth, 287, 0.4);
    EXPECT_NEAR(h.view->m_pageHeight, 410, 0.4);
}

TEST_F(Printing, PdfHasThePageSizeAndTheLineWhereTheSheetHasIt) {
    ViewHarness h(640, 480);
    UseA4(h);
    PaperLine(h, 20, 30, 120, 30);
    h.view->SendCommand(57608);  // print without the dialog
    ASSERT_TRUE(std::filesystem::exists(AfxGetPrinterSettings().outputFile));
    const pdftest::PdfPage page = pdftest::ReadPdf(AfxGetPrinterSettings().outputFile);
    ASSERT_TRUE(page.ok);
    EXPECT_NEAR(page.widthMm, 210, kTolerance);
    EXPECT_NEAR(page.heightMm, 297, kTolerance);
    const pdftest::Stroke* line = Longest(page);
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(std::min(line->x1, line->x2), 20, kTolerance);
    EXPECT_NEAR(std::max(line->x1, line->x2), 120, kTolerance);
    EXPECT_NEAR(line->y1, 30, kTolerance);
    EXPECT_NEAR(line->y2, 30, kTolerance);
    // The screen scale is back.
    MCadView screen(&h.doc.GetPaperInfo());
    screen.SetScale(nullptr, h.view->zoom);
    EXPECT_DOUBLE_EQ(h.view->unitScaleX, screen.unitScaleX);
}

TEST_F(Printing, ShapesOfManyColoursPrintWithoutAStateBlockEach) {
    ViewHarness h(640, 480);
    UseA4(h);
    constexpr int kLines = 40;
    for (int i = 0; i < kLines; ++i)
        PaperLine(h, 20, 30 + 5 * i, 120, 30 + 5 * i)->SetColor(RGB(i * 6, 255 - i * 6, i % 2 ? 0 : 255));
    h.view->SendCommand(57608);
    const pdftest::PdfPage page = pdftest::ReadPdf(AfxGetPrinterSettings().outputFile);
    ASSERT_TRUE(page.ok);
    int printed = 0;
    for (const auto& s : page.strokes)
        printed +=
            std::fabs(s.y1 - s.y2) < kTolerance && std::fabs(std::fabs(s.x2 - s.x1) - 100) < kTolerance;
    EXPECT_EQ(printed, kLines);
    EXPECT_GE(page.colours.size(), static_cast<std::size_t>(kLines));
    EXPECT_LT(page.saves, 10) << "no saved state around each shape";
}

TEST_F(Printing, UnturnedTextsOfManyColoursPrintInPlaceWithoutATransformEach) {
    ViewHarness h(640, 480);
    UseA4(h);
    constexpr int kTexts = 20;
    for (int i = 0; i < kTexts; ++i) {
        auto* text = new MTextShape;
        text->SetString("Room " + std::to_string(i));
        text->SetPoint(Doc(h, 20, 30 + 10 * i));
        text->SetTextSize(5.0);
        text->SetTextColor(RGB(i * 12, 255 - i * 12, i % 2 ? 0 : 255));
        h.doc.AppendShape(text, 0);
    }
    h.doc.RecalcAll(h.view.get());
    h.view->SendCommand(57608);
    const pdftest::PdfPage page = pdftest::ReadPdf(AfxGetPrinterSettings().outputFile);
    ASSERT_TRUE(page.ok);
    ASSERT_EQ(page.textStarts.size(), static_cast<std::size_t>(kTexts));
    for (int i = 0; i < kTexts; ++i) {
        EXPECT_NEAR(page.textStarts[i][0], 20, kTolerance) << i;
        if (i > 0) EXPECT_NEAR(page.textStarts[i][1] - page.textStarts[i - 1][1], 10, kTolerance) << i;
    }
    EXPECT_LT(page.transforms, 10) << "no transform of its own around each text";
}

TEST_F(Printing, RoundOutlinesPrintAsAFewCurvesOnTheirCircle) {
    ViewHarness h(640, 480);
    UseA4(h);
    const MFloatPoint c = Doc(h, 100, 150);
    h.AddCircle(c.x, c.y, 30);
    h.view->SendCommand(57608);
    const pdftest::PdfPage page = pdftest::ReadPdf(AfxGetPrinterSettings().outputFile);
    ASSERT_TRUE(page.ok);
    ASSERT_EQ(page.curveEnds.size(), 4u) << "four quarters, not a polygon";
    for (const auto& end : page.curveEnds)
        EXPECT_NEAR(std::hypot(end[0] - 100, end[1] - 150), 30, kTolerance);
    // No chords of a polygon (closing the path adds one of no length).
    int chords = 0;
    for (const auto& s : page.strokes)
        chords += std::fabs(std::hypot(s.x1 - 100, s.y1 - 150) - 30) < kTolerance &&
                  std::hypot(s.x2 - s.x1, s.y2 - s.y1) > kTolerance;
    EXPECT_EQ(chords, 0);
}

TEST_F(Printing, PrintFactorShowsALargerAreaAtASmallerScale) {
    ViewHarness h(640, 480);
    UseA4(h);
    PaperLine(h, 20, 30, 120, 30);
    h.view->m_printFactor = 2.0;
    h.view->SendCommand(57608);
    pdftest::PdfPage page = pdftest::ReadPdf(AfxGetPrinterSettings().outputFile);
    const pdftest::Stroke* line = Longest(page);
    ASSERT_NE(line, nullptr);
    // The area is twice the page around the same centre: 100 mm print as 50 mm.
    const MFloatRect area = h.view->GetPrintArea();
    const double left = 5 + (20 - area.left) / 2;
    EXPECT_NEAR(std::fabs(line->x2 - line->x1), 50, kTolerance);
    EXPECT_NEAR(std::min(line->x1, line->x2), left, kTolerance);

    // A factor of 0 prints as 1.
    h.view->m_printFactor = 0.0;
    h.view->SendCommand(57608);
    page = pdftest::ReadPdf(AfxGetPrinterSettings().outputFile);
    line = Longest(page);
    ASSERT_NE(line, nullptr);
    EXPECT_NEAR(std::fabs(line->x2 - line->x1), 100, kTolerance);
}

TEST_F(Printing, OnlyVisiblePrintableLayersPrintAndNoOverlays) {
    ViewHarness h(640, 480, 2);
    UseA4(h);
    GetOptionRecord().m_show =
        MOptionRecord::kShowGrid | MOptionRecord::kShowOrigin | MOptionRecord::kShowPrintArea;
    PaperLine(h, 20, 30, 120, 30, 0);
    PaperLine(h, 20, 60, 60, 60, 1);
    h.doc.GetLayers()->GetLayer(1)->m_flags &= ~MLayer::kPrintable;
    h.view->SendCommand(57608);
    const pdftest::PdfPage page = pdftest::ReadPdf(AfxGetPrinterSettings().outputFile);
    ASSERT_TRUE(page.ok);
    for (const auto& s : page.strokes) {
        EXPECT_NEAR(s.y1, 30, kTolerance) << "only the printable layer's line";
        EXPECT_NEAR(s.y2, 30, kTolerance);
    }
    EXPECT_FALSE(page.strokes.empty());
}

TEST_F(Printing, BlackAndWhiteLeavesNoColourButWhite) {
    ViewHarness h(640, 480);
    UseA4(h);
    auto* red = PaperLine(h, 20, 30, 120, 30);
    red->SetColor(RGB(255, 0, 0));
    red->SetLineWidth(1.0);
    const MFloatPoint c1 = Doc(h, 80, 80), c2 = Doc(h, 150, 80);
    auto* circle = h.AddCircle(c1.x, c1.y, 20);
    circle->SetColor(RGB(0, 160, 0));
    circle->SetFillStyle(MFillStyle(RGB(40, 80, 255)));
    auto* white = h.AddCircle(c2.x, c2.y, 15);
    white->SetFillStyle(MFillStyle(RGB(255, 255, 255)));
    white->SetColor(RGB(200, 200, 0));
    for (int i = 0; i < h.doc.GetLayers()->GetLayer(0)->GetSize(); ++i)
        h.doc.GetLayers()->GetLayer(0)->GetAt(i)->Recalc(h.view.get());

    // Render what the printer gets on an image that answers as a printer.
    auto render = [&] {
        QImage image(800, 1150, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        PainterTargetInfo info;
        info.dpiX = info.dpiY = 100;
        info.printing = true;
        info.pixelSize = CSize(image.width(), image.height());
        info.physicalSize = info.pixelSize;
        CDC dc;
        dc.AttachBackend(MakePainterBackend(&painter, info), true);
        CPrintInfo pi;
        h.view->OnBeginPrinting(&dc, &pi);
        h.view->OnPrepareDC(&dc, &pi);
        h.view->OnPrint(&dc, &pi);
        h.view->OnEndPrinting(&dc, &pi);
        dc.DeleteDC();
        painter.end();
        return image;
    };
    auto colours = [](const QImage& image, int* dark) {
        int coloured = 0;
        *dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) ++coloured;
                if (qRed(p) < 128) ++*dark;
            }
        return coloured;
    };
    int dark = 0;
    EXPECT_GT(colours(render(), &dark), 1000);
    PrintBlackWhite() = 1;
    const QImage mono = render();
    EXPECT_EQ(colours(mono, &dark), 0);
    EXPECT_GT(dark, 1000);
    // White stays white: the inside of the white circle.
    const MFloatRect area = h.view->GetPrintArea();
    const int cx = static_cast<int>((150 - area.left) * 100 / 25.4),
              cy = static_cast<int>((80 + area.top) * 100 / 25.4);
    EXPECT_EQ(mono.pixel(cx, cy) & 0xFFFFFF, 0xFFFFFFu);
    // The screen is not affected.
    const QImage screen = h.Repaint();
    int screenDark = 0;
    EXPECT_GT(colours(screen, &screenDark), 0);
}

TEST_F(Printing, DialogCheckBoxSetsTheBlackAndWhiteFlagOnlyOnOk) {
    ViewHarness h(640, 480);
    UseA4(h);
    PaperLine(h, 20, 30, 120, 30);
    DialogRunner runner;
    runner.Script(1538, DialogScript().SetCheck(1324, 1).Cancel());
    h.view->SendCommand(57607);
    EXPECT_EQ(PrintBlackWhite(), 0);
    EXPECT_FALSE(std::filesystem::exists(AfxGetPrinterSettings().outputFile));

    const std::string other = dir + "/chosen.pdf";
    runner.Script(1538, DialogScript().SetCheck(1324, 1).SetText(1152, other).Ok());
    h.view->SendCommand(57607);
    EXPECT_EQ(PrintBlackWhite(), 1);
    EXPECT_EQ(AfxGetPrinterSettings().outputFile, other);
    EXPECT_TRUE(std::filesystem::exists(other));
    ASSERT_EQ(runner.Dialogs().size(), 2u);
    EXPECT_EQ(runner.Dialogs()[1].result, IDOK);

    // A PDF without a file name keeps the dialog open.
    MessageBoxRecorder boxes;
    runner.Script(1538, DialogScript().SetText(1152, "").Ok().SetCheck(1324, 0).Cancel());
    h.view->SendCommand(57607);
    EXPECT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(PrintBlackWhite(), 1);
}

// Before, the dialog's PDF file replaced a file of that name without a question.
TEST_F(Printing, TheDialogsPdfReplacesAFileOnlyWhenTheUserSaysYes) {
    ViewHarness h(640, 480);
    UseA4(h);
    PaperLine(h, 20, 30, 120, 30);
    const std::string existing = dir + "/kept.pdf";
    std::ofstream(existing) << "mine";
    DialogRunner runner;
    for (const int answer : {IDNO, IDYES}) {
        MessageBoxRecorder boxes(answer);
        DialogScript script = DialogScript().SetText(1152, existing).Ok();
        if (answer == IDNO) script.Cancel();  // No: the dialog stays open for another name
        runner.Script(1538, script);
        h.view->SendCommand(57607);
        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].text, "kept.pdf は既に存在します。\n上書きしますか?");
        std::ifstream in(existing, std::ios::binary);
        std::string head(4, '\0');
        in.read(head.data(), 4);
        EXPECT_EQ(head, answer == IDNO ? "mine" : "%PDF") << answer;
    }
}

TEST_F(Printing, PreviewRendersThePageAndHidesTheBarsMeanwhile) {
    ViewHarness h(640, 480);
    UseA4(h);
    PaperLine(h, 20, 30, 120, 30);
    CScrollBar* bar = h.view->GetScrollBarCtrl(0);
    const bool barShown = bar && bar->IsWindowVisible();
    DialogRunner runner;
    h.view->SendCommand(57609);
    EXPECT_TRUE(runner.Opened(kPrintPreviewDialogId));
    if (bar) {
        EXPECT_EQ(bar->IsWindowVisible() != FALSE, barShown);
    }
    MCadView screen(&h.doc.GetPaperInfo());
    screen.SetScale(nullptr, h.view->zoom);
    EXPECT_DOUBLE_EQ(h.view->unitScaleX, screen.unitScaleX);
}

namespace {

// A frame 10 mm inside the edges of an A4 landscape sheet at 1 : 1.
void LandscapeFrame(ViewHarness& h) {
    h.doc.SetPaper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1 : 1", 1.0), TRUE);
    h.view->SetPaperInfo(&h.doc.GetPaperInfo());
    h.view->OnInitialUpdate();
    const double x[] = {10, 287, 287, 10};
    const double y[] = {10, 10, 200, 200};
    const auto doc = [&h](double px, double yDown) {
        const MFloatRect r = h.view->PaperToDocRect(MFloatRect(px, -yDown, px, -yDown));
        return MFloatPoint(r.left, r.bottom);
    };
    for (int i = 0; i < 4; ++i) {
        const MFloatPoint a = doc(x[i], y[i]), b = doc(x[(i + 1) % 4], y[(i + 1) % 4]);
        h.AddLine(a.x, a.y, b.x, b.y);
    }
}

// The first page of the PDF rendered at 10 pixels per millimetre-ish (pdftoppm at 254 dpi); an
// empty image when poppler-utils is not installed.
QImage RenderPdf(const std::string& pdf, const std::string& dir) {
    const std::string prefix = dir + "/render";
    const std::string command = "pdftoppm -r 254 -png -singlefile '" + pdf + "' '" + prefix + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return QImage();
    return QImage(QString::fromStdString(prefix + ".png"));
}

bool DarkNear(const QImage& image, int x, int y) {
    for (int dy = -4; dy <= 4; ++dy)
        for (int dx = -4; dx <= 4; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px >= 0 && py >= 0 && px < image.width() && py < image.height() &&
                qGray(image.pixel(px, py)) < 128)
                return true;
        }
    return false;
}

}  // namespace

TEST_F(Printing, ALandscapeSheetPrintsOnALandscapePageWithTheWholePrintArea) {
    ViewHarness h(640, 480);
    LandscapeFrame(h);
    EXPECT_TRUE(AfxGetPrinterSettings().landscape) << "the printer takes the sheet's orientation";
    const MFloatRect area = h.view->GetPrintArea();
    EXPECT_NEAR(area.right - area.left, 287, 0.5);
    EXPECT_NEAR(area.top - area.bottom, 200, 0.5);

    h.view->SendCommand(57608);
    const pdftest::PdfPage page = pdftest::ReadPdf(AfxGetPrinterSettings().outputFile);
    ASSERT_TRUE(page.ok);
    EXPECT_NEAR(page.widthMm, 297, kTolerance);
    EXPECT_NEAR(page.heightMm, 210, kTolerance);
    // All four sides of the frame are on the page where the sheet has them.
    int sides = 0;
    for (const pdftest::Stroke& s : page.strokes) {
        const bool horizontal = std::fabs(s.y1 - s.y2) < kTolerance;
        const double at = horizontal ? s.y1 : s.x1;
        for (double edge : horizontal ? std::vector<double>{10, 200} : std::vector<double>{10, 287})
            if (std::fabs(at - edge) < kTolerance && std::hypot(s.x2 - s.x1, s.y2 - s.y1) > 150) ++sides;
    }
    EXPECT_EQ(sides, 4);

    const QImage image = RenderPdf(AfxGetPrinterSettings().outputFile, dir);
    if (image.isNull())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed: the rendering is not checked";
    EXPECT_GT(image.width(), image.height());
    const double perMm = image.width() / 297.0;
    for (const auto& [x, y] : {std::pair{10.0, 105.0}, {287.0, 105.0}, {148.0, 10.0}, {148.0, 200.0}})
        EXPECT_TRUE(DarkNear(image, static_cast<int>(x * perMm), static_cast<int>(y * perMm)))
            << x << "," << y;
}

TEST_F(Printing, AnOrientationChosenInTheDialogWinsAndANewDrawingFollowsItsSheetAgain) {
    ViewHarness h(640, 480);
    LandscapeFrame(h);
    DialogRunner runner;
    runner.Script(1539, DialogScript().Click(1056).Ok());  // portrait
    MPrintBWDialog setup(TRUE, 0, nullptr);
    setup.DoModal();
    EXPECT_FALSE(AfxGetPrinterSettings().landscape);
    EXPECT_TRUE(AfxGetPrinterSettings().orientationChosen);
    h.view->OnPrinterChanged();
    h.view->SendCommand(57608);
    const pdftest::PdfPage page = pdftest::ReadPdf(AfxGetPrinterSettings().outputFile);
    EXPECT_NEAR(page.widthMm, 210, kTolerance);
    h.view->OnInitialUpdate();
    EXPECT_TRUE(AfxGetPrinterSettings().landscape);
}

TEST_F(Printing, APrinterSetupChangeMovesThePrintAreaBackOntoTheSheet) {
    ViewHarness h(640, 480);
    UseA4(h);
    AfxGetPrinterSettings().landscape = TRUE;
    AfxGetPrinterSettings().orientationChosen = TRUE;
    h.view->OnPrinterChanged();
    const MFloatRect area = h.view->GetPrintArea();
    EXPECT_NEAR(area.left, 5, 0.1);
    EXPECT_NEAR(area.top, -5, 0.1);
    EXPECT_NEAR(area.right - area.left, 287, 0.5);
    // The same page again keeps a centre the user has moved.
    h.view->m_printCentre = MFloatPoint(150, -100);
    h.view->OnPrinterChanged();
    EXPECT_EQ(h.view->m_printCentre, MFloatPoint(150, -100));
}
