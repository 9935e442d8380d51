// Texts drawn one after another on images and on a printer's page draw what they draw when the
// font of each is set anew: a font kept from the text before changes no pixel and no page content.
#include <gtest/gtest.h>

#include <QImage>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/gdi/DC.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/Print.h"
#include "tests/support/TestSupport.h"
#include "tests/view/output/PdfTestSupport.h"

namespace {

// Runs of texts in one font, as in a drawing: kana, half-width kana, kanji, emoji, characters
// without a code page 932 form, vertical faces, underline, strike-out, turns and narrow widths.
void DrawTexts(CDC& dc, unsigned round, int side, bool fontAnew) {
    const char* const pieces[] = {"A",  "g",  " ",  "1", "ｱ", "ﾟ", "あ",
                                  "漢", "Ａ", "　", "€", "😀", "⌀", "\xE3\x81"};
    const char* const faces[] = {"ＭＳ ゴシック", "ＭＳ 明朝", "@ＭＳ ゴシック", "Arial"};
    std::mt19937 random(round);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    LOGFONT lf, other;
    other.lfHeight = 77;
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < 300; ++i) {
        if (i == 0 || pick(4) == 0) {
            lf.lfHeight = 4 + pick(40);
            lf.lfWidth = pick(3) ? 0 : lf.lfHeight / 3;
            lf.lfEscapement = pick(4) * 450;
            lf.lfWeight = pick(2) ? FW_BOLD : 0;
            lf.lfUnderline = pick(4) == 0;
            lf.lfStrikeOut = pick(4) == 0;
            lf.lfFaceName = faces[pick(std::size(faces))];
        }
        std::string text;
        for (int n = 1 + pick(10); n > 0; --n)
            text += pieces[pick(std::size(pieces))];
        const int x = pick(side), y = pick(side);
        dc.SetTextColor(RGB(pick(256), pick(256), pick(256)));
        // A text in another font beyond the target first puts that font on the painter.
        auto draw = [&](const LOGFONT& f, int px, int py, const std::string& t) {
            CFont font;
            font.CreateFontIndirect(&f);
            CFont* old = dc.SelectObject(&font);
            dc.TextOut(px, py, t);
            dc.SelectObject(old);
        };
        if (fontAnew) draw(other, -30000, -30000, "x");
        draw(lf, x, y, text);
    }
}

}  // namespace

TEST(TextOutTest, AKeptFontChangesNoPixel) {
    for (bool mono : {false, true}) {
        auto draw = [&](bool fontAnew) {
            CDC screen, dc;
            CBitmap bitmap;
            dc.CreateCompatibleDC(&screen);  // a fresh memory context gives one bit
            bitmap.CreateCompatibleBitmap(mono ? &dc : &screen, 300, 300);
            CBitmap* old = dc.SelectObject(&bitmap);
            dc.PatBlt(0, 0, 300, 300, WHITENESS);
            DrawTexts(dc, 29, 280, fontAnew);
            dc.SelectObject(old);
            return bitmap.GetSurface()->image.copy();
        };
        draw(false);  // fallback faces settle at their first use in the process
        const QImage kept = draw(false);
        EXPECT_EQ(kept, draw(true)) << mono;
        QImage blank = kept;
        blank.fill(Qt::white);
        EXPECT_NE(kept, blank);
    }
}

TEST(TextOutTest, AKeptFontChangesNoPrintedContent) {
    ResetProgramState();
    const CPrinterSettings saved = AfxGetPrinterSettings();
    const std::string dir = MakeTempDir("text_out");
    auto print = [&](bool fontAnew) {
        CPrinterSettings settings;
        settings.outputFile = dir + (fontAnew ? "/anew.pdf" : "/kept.pdf");
        {
            CPrinterDC dc;
            if (!dc.CreatePrinterDC(settings) || dc.StartDoc("texts") <= 0 || dc.StartPage() <= 0)
                return std::string();
            DrawTexts(dc, 37, 2000, fontAnew);
            dc.EndPage();
            dc.EndDoc();
        }
        std::ifstream in(settings.outputFile, std::ios::binary);
        const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string content;
        for (std::size_t at = 0; (at = file.find("stream\n", at)) != std::string::npos; at += 7)
            content += pdftest::Inflate(file.substr(at + 7, file.find("endstream", at) - at - 7)) + "\n";
        return content;
    };
    const std::string kept = print(false);
    EXPECT_NE(kept.find(" Tj"), std::string::npos);
    EXPECT_EQ(kept, print(true));
    AfxGetPrinterSettings() = saved;
}
