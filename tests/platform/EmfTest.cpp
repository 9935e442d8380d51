// The enhanced-metafile recorder: records parsed back field by field, and the independent reader
// emf2svg-conv (Debian's emf2svg) converting what we write.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "platform/gdi/DC.h"
#include "platform/gdi/EmfBackend.h"
#include "platform/gdi/MetaFileDC.h"
#include "tests/platform/EmfTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

const std::string kDescription("Tessaray\0Drawing\0\0", 18);

std::vector<BYTE> Record(const std::function<void(CDC&)>& draw, RECT frame = RECT{0, 0, 21000, 29700},
                         CDC* reference = nullptr) {
    CMetaFileDC dc;
    EXPECT_TRUE(dc.CreateEnhanced(reference, "", &frame, kDescription));
    draw(dc);
    std::vector<BYTE> bytes;
    EXPECT_TRUE(dc.CloseEnhanced(&bytes));
    return bytes;
}

TEST(EmfRecorder, HeaderDescribesFrameReferenceAndContents) {
    const std::vector<BYTE> emf = Record([](CDC& dc) {
        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        dc.SelectObject(&pen);
        dc.MoveTo(100, 200);
        dc.LineTo(400, 200);
    });
    EmfFile f(emf);
    ASSERT_TRUE(f.valid) << f.error;
    EXPECT_EQ(f.U32(0, 40), 0x464D4520u);
    EXPECT_EQ(f.U32(0, 48), emf.size());
    EXPECT_EQ(f.U32(0, 52), f.records.size());
    EXPECT_EQ(f.Rect(0, 24), CRect(0, 0, 21000, 29700));
    // Drawn bounds: the line only (inclusive).
    EXPECT_EQ(f.Rect(0, 8), CRect(100, 200, 400, 200));
    EXPECT_EQ(f.Description(), std::u16string(u"Tessaray\0Drawing\0\0", 18));
    EXPECT_EQ(f.U32(0, 72), 1920u);  // reference pixels
    EXPECT_EQ(f.U32(0, 80), 508u);   // reference millimetres
    EXPECT_EQ(f.U32(0, 100), 508000u);
    EXPECT_EQ(f.records.back().type, EMR_EOF);
    EXPECT_EQ(f.records[1].type, EMR_SAVEDC);
}

TEST(EmfRecorder, LinesUseSixteenBitRecordsWhenTheyFitAndThirtyTwoOtherwise) {
    const std::vector<BYTE> small = Record([](CDC& dc) {
        const POINT pts[3] = {{10, 20}, {30, 40}, {50, 20}};
        dc.Polyline(pts, 3);
    });
    EmfFile f(small);
    ASSERT_TRUE(f.valid) << f.error;
    const EmfRecord* line = f.First(EMR_POLYLINE16);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(f.U32(line->index, 24), 3u);
    EXPECT_EQ(f.I16(line->index, 28), 10);
    EXPECT_EQ(f.I16(line->index, 30), 20);
    EXPECT_EQ(f.I16(line->index, 36), 50);

    // Beyond 16 bits (a long line on a fine reference device) the 32-bit forms take over.
    EmfReference fine = ScreenEmfReference();
    fine.dpiX = fine.dpiY = 1200;
    fine.devicePixels = CSize(9600, 14000);
    fine.millimeters = CSize(203, 296);
    CDC dc;
    dc.AttachBackend(std::make_unique<EmfBackend>(fine, RECT{0, 0, 200000, 10000}, kDescription));
    const POINT pts[2] = {{100, 100}, {90000, 100}};
    dc.Polyline(pts, 2);
    EmfFile h(static_cast<EmfBackend*>(dc.GetBackend())->Finish());
    ASSERT_TRUE(h.valid) << h.error;
    const EmfRecord* wide = h.First(EMR_POLYLINE);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(h.I32(wide->index, 36), 90000);
    EXPECT_EQ(h.First(EMR_POLYLINE16), nullptr);
    EXPECT_EQ(h.I32(0, 100), 203200);  // 9600 pixels at 1200 dpi in micrometres
}

TEST(EmfRecorder, PensBrushesAndFontsAreCreatedSelectedAndAllDeleted) {
    const std::vector<BYTE> emf = Record([](CDC& dc) {
        CPen red(PS_SOLID, 3, RGB(255, 0, 0));
        CBrush blue(RGB(0, 0, 255));
        CBrush hatch(HS_BDIAGONAL, RGB(0, 128, 0));
        dc.SelectObject(&red);
        dc.SelectObject(&blue);
        dc.Rectangle(10, 10, 60, 40);
        dc.Rectangle(70, 10, 120, 40);  // same objects: nothing new
        dc.SelectObject(&hatch);
        dc.Ellipse(10, 50, 60, 90);
        const POINT tri[3] = {{100, 100}, {150, 100}, {125, 150}};
        dc.Polygon(tri, 3);
    });
    EmfFile f(emf);
    ASSERT_TRUE(f.valid) << f.error;
    std::map<DWORD, int> alive;
    int pens = 0, brushes = 0;
    for (const EmfRecord& r : f.records) {
        if (r.type == EMR_CREATEPEN) {
            ++pens;
            alive[f.U32(r.index, 8)]++;
            EXPECT_EQ(f.U32(r.index, 12), static_cast<DWORD>(PS_SOLID));
            EXPECT_EQ(f.U32(r.index, 16), 3u);
            EXPECT_EQ(f.U32(r.index, 24), 0x0000FFu);
        } else if (r.type == EMR_CREATEBRUSHINDIRECT) {
            ++brushes;
            alive[f.U32(r.index, 8)]++;
        } else if (r.type == EMR_DELETEOBJECT) {
            alive[f.U32(r.index, 8)]--;
        }
    }
    EXPECT_EQ(pens, 1);
    EXPECT_EQ(brushes, 2);
    for (const auto& [handle, count] : alive)
        EXPECT_EQ(count, 0) << "handle " << handle;
    const EmfRecord* hatched = nullptr;
    for (const EmfRecord& r : f.records)
        if (r.type == EMR_CREATEBRUSHINDIRECT && f.U32(r.index, 12) == BS_HATCHED) hatched = &r;
    ASSERT_NE(hatched, nullptr);
    EXPECT_EQ(f.U32(hatched->index, 16), 0x008000u);
    EXPECT_EQ(f.U32(hatched->index, 20), static_cast<DWORD>(HS_BDIAGONAL));
    // The header's handle count covers every index used.
    EXPECT_GE(f.U32(0, 56) & 0xFFFF, 3u);
    // The filled triangle with its outline is one polygon record.
    EXPECT_NE(f.First(EMR_POLYGON16), nullptr);
}

TEST(EmfRecorder, TextIsUtf16WithAdvancesAndItsFontKeepsEscapementAndVerticalFace) {
    CSize extent;
    const std::vector<BYTE> emf = Record([&extent](CDC& dc) {
        LOGFONT lf;
        lf.lfHeight = -24;
        lf.lfEscapement = 900;
        lf.lfFaceName = "@ＭＳ ゴシック";
        CFont font;
        font.CreateFontIndirect(&lf);
        dc.SelectObject(&font);
        dc.SetTextAlign(TA_LEFT | TA_BASELINE);
        dc.SetTextColor(RGB(0, 0, 255));
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(200, 300, "図面A😀");
        extent = dc.GetTextExtent("図面A😀");
    });
    EmfFile f(emf);
    ASSERT_TRUE(f.valid) << f.error;
    const EmfRecord* font = f.First(EMR_EXTCREATEFONTINDIRECTW);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->size, 332u);
    EXPECT_EQ(f.I32(font->index, 12), -24);
    EXPECT_EQ(f.I32(font->index, 20), 900);
    EXPECT_EQ(f.Utf16z(font->index, 40, 32), u"@ＭＳ ゴシック");
    const EmfRecord* text = f.First(EMR_EXTTEXTOUTW);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(f.I32(text->index, 36), 200);
    EXPECT_EQ(f.I32(text->index, 40), 300);
    const DWORD n = f.U32(text->index, 44);
    EXPECT_EQ(n, 5u);  // the emoji takes two UTF-16 units
    EXPECT_EQ(f.Utf16(text->index, f.U32(text->index, 48), n), u"図面A😀");
    const DWORD offDx = f.U32(text->index, 72);
    LONG sum = 0;
    for (DWORD i = 0; i < n; ++i)
        sum += f.I32(text->index, offDx + 4 * i);
    EXPECT_NEAR(sum, extent.cx, 1);
    EXPECT_EQ(f.I32(text->index, offDx + 16), 0);  // the trailing surrogate advances nothing
    const EmfRecord* align = f.First(EMR_SETTEXTALIGN);
    ASSERT_NE(align, nullptr);
    EXPECT_EQ(f.U32(align->index, 8), static_cast<DWORD>(TA_BASELINE));
    const EmfRecord* colour = f.First(EMR_SETTEXTCOLOR);
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(f.U32(colour->index, 8), 0xFF0000u);
}

TEST(EmfRecorder, ClipRegionsAndStretchedBitmapsAreRecorded) {
    const std::vector<BYTE> emf = Record([](CDC& dc) {
        const int saved = dc.SaveDC();
        dc.IntersectClipRect(10, 20, 110, 70);
        struct {
            BITMAPINFOHEADER h;
            RGBQUAD colours[2];
        } info{};
        info.h.biWidth = 2;
        info.h.biHeight = 2;
        info.h.biBitCount = 1;
        info.colours[1] = RGBQUAD{255, 255, 255, 0};
        const BYTE bits[8] = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
        dc.SetStretchBltMode(COLORONCOLOR);
        dc.StretchDIBits(10, 20, 100, 50, 0, 0, 2, 2, bits, reinterpret_cast<BITMAPINFO*>(&info),
                         DIB_RGB_COLORS, SRCCOPY);
        dc.RestoreDC(saved);
    });
    EmfFile f(emf);
    ASSERT_TRUE(f.valid) << f.error;
    std::vector<const EmfRecord*> clips;
    for (const EmfRecord& r : f.records)
        if (r.type == EMR_EXTSELECTCLIPRGN) clips.push_back(&r);
    ASSERT_EQ(clips.size(), 2u);                    // the rectangle, then the clip removed again
    EXPECT_EQ(f.U32(clips[0]->index, 16 + 8), 1u);  // one rectangle
    EXPECT_EQ(f.Rect(clips[0]->index, 16 + 32), CRect(10, 20, 110, 70));  // its bounds
    EXPECT_EQ(f.U32(clips[1]->index, 8), 0u);                             // no region: default clip
    const EmfRecord* dib = f.First(EMR_STRETCHDIBITS);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(f.I32(dib->index, 24), 10);
    EXPECT_EQ(f.I32(dib->index, 72), 100);  // cxDest
    EXPECT_EQ(f.I32(dib->index, 76), 50);
    EXPECT_EQ(f.U32(dib->index, 52), 48u);  // header and two colours
    EXPECT_EQ(f.U32(dib->index, 60), 8u);   // two rows of four bytes
    EXPECT_EQ(f.U32(dib->index, 68), SRCCOPY);
    const EmfRecord* mode = f.First(EMR_SETSTRETCHBLTMODE);
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(f.U32(mode->index, 8), static_cast<DWORD>(COLORONCOLOR));
}

TEST(EmfRecorder, ReferenceContextGivesResolutionAndSize) {
    CDC printerLike;
    ASSERT_TRUE(printerLike.CreateImageDC(800, 600));
    const EmfReference r = EmfReferenceOf(&printerLike);
    EXPECT_EQ(r.dpiX, 96);
    EXPECT_EQ(r.devicePixels.cx, 800);
    EXPECT_EQ(r.millimeters.cx, 212);
    CDC none;
    none.AttachBackend(nullptr);
    const EmfReference s = EmfReferenceOf(&none);
    EXPECT_EQ(s.devicePixels.cx, 1920);
    // The metafile context answers for its reference.
    CMetaFileDC dc;
    RECT frame{0, 0, 1000, 1000};
    ASSERT_TRUE(dc.CreateEnhanced(&printerLike, "", &frame, kDescription));
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 800);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    // 10 mm at 96 dpi: 37.8 units, so 39 columns can show.
    RECT box;
    dc.GetClipBox(&box);
    EXPECT_EQ(box.right, 39);
    EXPECT_FALSE(dc.IsPrinting());
    EXPECT_TRUE(dc.CloseEnhanced());
}

TEST(EmfRecorder, FilesAreWrittenWholeOrNotAtAll) {
    const std::string dir = MakeTempDir("emf_files");
    const std::string path = dir + "/a.emf";
    RECT frame{0, 0, 5000, 5000};
    {
        CMetaFileDC dc;
        ASSERT_TRUE(dc.CreateEnhanced(nullptr, path, &frame, kDescription));
        dc.Rectangle(1, 1, 20, 20);
        ASSERT_TRUE(dc.CloseEnhanced());
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EmfFile f(bytes);
    EXPECT_TRUE(f.valid) << f.error;

    // A metafile abandoned before closing leaves the earlier file untouched.
    {
        CMetaFileDC dc;
        ASSERT_TRUE(dc.CreateEnhanced(nullptr, path, &frame, kDescription));
        dc.Rectangle(1, 1, 30, 30);
    }
    std::ifstream again(path, std::ios::binary);
    std::vector<BYTE> same((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>());
    EXPECT_EQ(same, bytes);

    CMetaFileDC bad;
    EXPECT_FALSE(bad.CreateEnhanced(nullptr, dir + "/missing/folder/b.emf", &frame, kDescription));
    EXPECT_FALSE(std::filesystem::exists(dir + "/missing"));
    EXPECT_FALSE(bad.CloseEnhanced());
}

TEST(EmfRecorder, IndependentReaderPlacesLinesAndTexts) {
    if (!EmfToSvgAvailable()) GTEST_SKIP() << "emf2svg-conv is not installed (scripts/setup installs it)";
    const std::string dir = MakeTempDir("emf_svg");
    const std::string path = dir + "/drawing.emf";
    RECT frame{0, 0, 21000, 29700};
    CMetaFileDC dc;
    ASSERT_TRUE(dc.CreateEnhanced(nullptr, path, &frame, kDescription));
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    dc.SelectObject(&pen);
    dc.MoveTo(100, 200);
    dc.LineTo(400, 200);
    dc.MoveTo(100, 200);
    dc.LineTo(100, 600);
    LOGFONT lf;
    lf.lfHeight = -20;
    lf.lfFaceName = "ＭＳ ゴシック";
    CFont font;
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_LEFT | TA_BASELINE);
    dc.TextOut(150, 400, "寸法 120");
    ASSERT_TRUE(dc.CloseEnhanced());

    SvgResult svg = ConvertEmfToSvg(path);
    ASSERT_TRUE(svg.ok) << svg.log;
    EXPECT_TRUE(svg.HasLine(100, 200, 400, 200)) << svg.text;
    EXPECT_TRUE(svg.HasLine(100, 200, 100, 600)) << svg.text;
    const SvgText* t = svg.FindText("寸法 120");
    ASSERT_NE(t, nullptr) << svg.text;
    EXPECT_NEAR(t->x, 150, 0.5);
    EXPECT_NEAR(t->y, 400, 0.5);
}

}  // namespace

namespace {

// Filled figures that the context hands over as a fill and an outline (clipped polygons,
// ellipses) write the fill in the same pixel coordinates as the outline.
TEST(EmfRecorder, FigureFillsShareTheOutlinesPixelCoordinates) {
    auto points = [](const EmfFile& f, DWORD type) {
        std::vector<CPoint> out;
        const EmfRecord* r = f.First(type);
        if (!r) return out;
        for (DWORD i = 0; i < f.U32(r->index, 24); ++i)
            out.emplace_back(f.I16(r->index, 28 + 4 * i), f.I16(r->index, 30 + 4 * i));
        return out;
    };
    {
        // One corner far beyond the target: the context cuts fill and outline itself; the
        // corners inside stay where they are.
        const EmfFile f(Record([](CDC& dc) {
            const POINT tri[3] = {{10, 20}, {50, 20}, {30, 100000}};
            dc.Polygon(tri, 3);
        }));
        ASSERT_TRUE(f.valid) << f.error;
        const std::vector<CPoint> fill = points(f, EMR_POLYGON16);
        ASSERT_GE(fill.size(), 4u);
        EXPECT_EQ(fill[0], CPoint(10, 20));
        EXPECT_EQ(fill[1], CPoint(50, 20));
    }
    {
        const EmfFile f(Record([](CDC& dc) { dc.Ellipse(10, 50, 61, 90); }));
        ASSERT_TRUE(f.valid) << f.error;
        const std::vector<CPoint> fill = points(f, EMR_POLYGON16), outline = points(f, EMR_POLYLINE16);
        ASSERT_GE(fill.size(), 8u);
        ASSERT_EQ(outline.size(), fill.size() + 1);
        EXPECT_EQ(fill, std::vector<CPoint>(outline.begin(), outline.end() - 1));
    }
}

TEST(EmfRecorder, FillsAndBlockTransfersFromMemoryContexts) {
    const std::vector<BYTE> emf = Record([](CDC& dc) {
        dc.PatBlt(10, 10, 30, 20, WHITENESS);
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(&dc));
        CBitmap bitmap;
        CDC screen;
        ASSERT_TRUE(screen.CreateImageDC(4, 4));
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 3, 2));
        memory.SelectObject(&bitmap);
        memory.FillSolidRect(0, 0, 3, 2, RGB(0, 255, 0));
        dc.BitBlt(50, 60, 3, 2, &memory, 0, 0, SRCCOPY);
    });
    EmfFile f(emf);
    ASSERT_TRUE(f.valid) << f.error;
    // The white block is a polygon filled with a white brush, without a pen.
    const EmfRecord* brush = f.First(EMR_CREATEBRUSHINDIRECT);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(f.U32(brush->index, 16), 0xFFFFFFu);
    const EmfRecord* block = f.First(EMR_POLYGON16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(f.Rect(block->index, 8), CRect(10, 10, 40, 30));
    // The memory context's pixels travel as a 32-bit DIB of their size.
    const EmfRecord* dib = f.First(EMR_STRETCHDIBITS);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(f.I32(dib->index, 24), 50);
    EXPECT_EQ(f.I32(dib->index, 28), 60);
    EXPECT_EQ(f.I32(dib->index, 72), 3);
    EXPECT_EQ(f.I32(dib->index, 76), 2);
    const DWORD bits = f.U32(dib->index, 56);
    EXPECT_EQ(f.U32(dib->index, 60), 3u * 2u * 4u);
    EXPECT_EQ(f.U32(dib->index, bits) & 0xFFFFFF, 0x00FF00u);  // blue, green, red bytes
}

}  // namespace
