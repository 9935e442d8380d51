// The drawing saved as an enhanced metafile: the frame is the sheet, an independent reader places
// the lines and texts where the drawing has them, and failures are reported.
#include <filesystem>
#include <fstream>

#include "document/PaperSettings.h"
#include "model/PaperInfo.h"
#include "model/render/DrawFlags.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/gdi/EmfBackend.h"
#include "platform/ui/Print.h"
#include "tests/platform/EmfTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/view/ViewTestSupport.h"
#include "view/ClassRegistry.h"

using namespace viewtest;

namespace {

class MetafileExport : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProgramState();
        RegisterViewClasses();
        dir = MakeTempDir("metafile_export");
    }

    static std::vector<BYTE> ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<BYTE>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Where a drawing point lands in the metafile: logical pixels at zoom 1 on a 96-dpi reference.
    static CPoint Expected(MTessarayDoc& doc, const MFloatPoint& p) {
        MCadView reference(&doc.GetPaperInfo());
        reference.SetScale(nullptr, 1.0);
        return reference.DocToLogical(p);
    }

    std::string dir;
};

}  // namespace

TEST_F(MetafileExport, FrameIsTheSheetAndTheScreenScaleComesBack) {
    ViewHarness h(640, 480);
    h.doc.SetPaper(MPaperSizeInfo("A4", "297mm×210mm", 297, 210), MPaperScaleInfo("1 : 100", 0.01), FALSE);
    h.view->SetPaperInfo(&h.doc.GetPaperInfo());
    h.view->ZoomAt(MFloatPoint(0, 0), 2.5, FALSE);
    const double before = h.view->unitScaleX;
    const std::string path = dir + "/a4.emf";
    ASSERT_TRUE(h.doc.OnSaveDocument(path));
    EXPECT_EQ(h.view->unitScaleX, before);
    EXPECT_FALSE(IsMetafileDrawing());
    EmfFile f(ReadFile(path));
    ASSERT_TRUE(f.valid) << f.error;
    EXPECT_EQ(f.Rect(0, 24), CRect(0, 0, 21000, 29700));
    EXPECT_EQ(f.Description(), std::u16string(u"Tessaray\0Drawing\0\0", 18));
}

TEST_F(MetafileExport, IndependentReaderPlacesLinesAndTextsWhereTheDrawingHasThem) {
    if (!EmfToSvgAvailable()) GTEST_SKIP() << "emf2svg-conv is not installed (scripts/setup installs it)";
    ViewHarness h(640, 480);
    const MFloatPoint a(2000, 3000), b(15000, 3000), c(2000, 12000);
    h.AddLine(a.x, a.y, b.x, b.y);
    h.AddLine(a.x, a.y, c.x, c.y);
    // A mark never goes into a metafile.
    auto* mark = new MMarkShape;
    mark->m_position = MFloatPoint(9000, 9000);
    h.doc.AppendShape(mark, 0);
    auto* text = new MTextShape;
    text->SetString("平面図 A-1");
    text->SetPoint(MFloatPoint(5000, 8000));
    text->SetTextSize(500.0);  // drawing units: 5 mm on paper at 1 : 100
    text->SetTextColor(RGB(0, 0, 0));
    h.doc.AppendShape(text, 0);
    h.doc.RecalcAll(h.view.get());

    const std::string path = dir + "/drawing.emf";
    ASSERT_TRUE(h.view->WriteMetafile(path));
    SvgResult svg = ConvertEmfToSvg(path);
    ASSERT_TRUE(svg.ok) << svg.log;
    const CPoint pa = Expected(h.doc, a), pb = Expected(h.doc, b), pc = Expected(h.doc, c);
    EXPECT_TRUE(svg.HasLine(pa.x, pa.y, pb.x, pb.y, 1.5)) << svg.text;
    EXPECT_TRUE(svg.HasLine(pa.x, pa.y, pc.x, pc.y, 1.5)) << svg.text;
    ASSERT_EQ(svg.texts.size(), 1u) << svg.text;
    EXPECT_EQ(svg.texts[0].text, "平面図 A-1");
    const CPoint pt = Expected(h.doc, MFloatPoint(5000, 8000));
    EXPECT_NEAR(svg.texts[0].x, pt.x, 3);
    // The mark's blue cross is not there.
    EXPECT_EQ(svg.text.find("#0000FF"), std::string::npos);
}

TEST_F(MetafileExport, AFileThatCannotBeWrittenIsReportedAndAnswersFalse) {
    ViewHarness h(640, 480);
    h.AddLine(0, 0, 1000, 1000);
    MessageBoxRecorder boxes;
    const std::string path = dir + "/no/such/folder/x.emf";
    EXPECT_FALSE(h.view->WriteMetafile(path));
    EXPECT_TRUE(boxes.Saw(62700));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(IsMetafileDrawing());
}

TEST_F(MetafileExport, WithPrinterResolutionTheMetafileIsMeasuredAgainstThePrinter) {
    ViewHarness h(640, 480);
    h.AddLine(2000, 3000, 15000, 3000);
    CPrinterSettings saved = AfxGetPrinterSettings();
    AfxGetPrinterSettings() = CPrinterSettings();
    AfxGetPrinterSettings().outputFile = dir + "/unused.pdf";
    GetOptionRecord().m_metafileRes = 1;
    const std::string path = dir + "/fine.emf";
    ASSERT_TRUE(h.view->WriteMetafile(path));
    AfxGetPrinterSettings() = saved;
    EmfFile f(ReadFile(path));
    ASSERT_TRUE(f.valid) << f.error;
    // The header describes the printer (1200 dpi) and the frame is still the sheet.
    const CSize paper(static_cast<LONG>(h.doc.GetPaperInfo().GetSize().cx * 100),
                      static_cast<LONG>(h.doc.GetPaperInfo().GetSize().cy * 100));
    EXPECT_EQ(f.Rect(0, 24), CRect(0, 0, paper.cx, paper.cy));
    const double micrometres = f.U32(0, 100), pixels = f.U32(0, 72);
    EXPECT_NEAR(micrometres / pixels, 25400.0 / 1200, 1e-3);
    // Coordinates are printer pixels: the line is 12.5 times as long as at 96 dpi.
    const EmfRecord* line = f.First(EMR_POLYLINE16) ? f.First(EMR_POLYLINE16) : f.First(EMR_POLYLINE);
    ASSERT_NE(line, nullptr);
    MCadView screen(&h.doc.GetPaperInfo());
    screen.SetScale(nullptr, 1.0);
    const int screenLength =
        screen.DocToLogical(MFloatPoint(15000, 3000)).x - screen.DocToLogical(MFloatPoint(2000, 3000)).x;
    const LONG bounds = f.I32(line->index, 16) - f.I32(line->index, 8);
    EXPECT_NEAR(bounds, screenLength * 12.5, 15);
    EXPECT_FALSE(std::filesystem::exists(dir + "/unused.pdf"));
}
