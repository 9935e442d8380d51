#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <random>
#include <string>
#include <vector>

#include "platform/gdi/DC.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/QtGdi.h"

namespace {

// Characters of every width class: ASCII, half-width kana, kana, kanji, full-width forms, and
// characters without a code page 932 form.
const char* const kPieces[] = {"A",  "g",  " ",  "1",  "%",  "ｱ", "ﾟ", "あ",
                               "カ", "漢", "字", "Ａ", "　", "€", "😀"};
const char* const kFaces[] = {"", "ＭＳ ゴシック", "ＭＳ 明朝", "@ＭＳ ゴシック", "Arial", "no such face"};

std::string RandomText(std::mt19937& random) {
    std::string s;
    const int n = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < n; ++i)
        s += kPieces[std::uniform_int_distribution<int>(0, std::size(kPieces) - 1)(random)];
    return s;
}

LOGFONT RandomFont(std::mt19937& random) {
    LOGFONT lf;
    lf.lfHeight = std::uniform_int_distribution<int>(-60, 60)(random);
    lf.lfWidth = std::uniform_int_distribution<int>(0, 3)(random) == 0 ? 0 : lf.lfHeight / 3;
    lf.lfEscapement = std::uniform_int_distribution<int>(0, 3)(random) * 300;
    lf.lfWeight = std::uniform_int_distribution<int>(0, 1)(random) ? FW_BOLD : 0;
    lf.lfItalic = std::uniform_int_distribution<int>(0, 1)(random);
    lf.lfUnderline = std::uniform_int_distribution<int>(0, 3)(random) == 0;
    lf.lfFaceName = kFaces[std::uniform_int_distribution<int>(0, std::size(kFaces) - 1)(random)];
    return lf;
}

// Enough distinct fonts to push every kept font and measure out.
void FlushKeptFonts() {
    LOGFONT lf;
    for (int h = 1000; h < 1600; ++h) {
        lf.lfHeight = h;
        MakeGdiFont(lf, 96.0);
        MeasureTextMetrics(lf);
    }
}

void ExpectSameFont(const GdiFont& a, const GdiFont& b) {
    EXPECT_EQ(a.font, b.font);
    EXPECT_EQ(a.font.key(), b.font.key());
    EXPECT_EQ(a.em, b.em);
    EXPECT_EQ(a.ascent, b.ascent);
    EXPECT_EQ(a.descent, b.descent);
    EXPECT_EQ(a.vertical, b.vertical);
    EXPECT_EQ(a.escapement, b.escapement);
    EXPECT_EQ(a.measureKey, b.measureKey);
}

void ExpectSameMetrics(const TEXTMETRIC& a, const TEXTMETRIC& b) {
    EXPECT_EQ(a.tmHeight, b.tmHeight);
    EXPECT_EQ(a.tmAscent, b.tmAscent);
    EXPECT_EQ(a.tmDescent, b.tmDescent);
    EXPECT_EQ(a.tmInternalLeading, b.tmInternalLeading);
    EXPECT_EQ(a.tmExternalLeading, b.tmExternalLeading);
    EXPECT_EQ(a.tmAveCharWidth, b.tmAveCharWidth);
    EXPECT_EQ(a.tmMaxCharWidth, b.tmMaxCharWidth);
    EXPECT_EQ(a.tmWeight, b.tmWeight);
    EXPECT_EQ(a.tmItalic, b.tmItalic);
    EXPECT_EQ(a.tmUnderlined, b.tmUnderlined);
    EXPECT_EQ(a.tmCharSet, b.tmCharSet);
}

QImage DrawTexts(const std::vector<LOGFONT>& fonts, const std::vector<std::string>& texts) {
    CDC dc;
    dc.CreateImageDC(400, 400);
    dc.SetBkMode(TRANSPARENT);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        CFont font;
        font.CreateFontIndirect(&fonts[i]);
        CFont* old = dc.SelectObject(&font);
        dc.TextOut(static_cast<int>(i * 37 % 360), static_cast<int>(i * 53 % 380), texts[i]);
        dc.SelectObject(old);
    }
    return GetDCImage(dc)->copy();
}

}  // namespace

TEST(FontCacheTest, TheWidthOfARunIsExactlyTheSumOfItsGlyphAdvances) {
    std::mt19937 random(17);
    for (int i = 0; i < 400; ++i) {
        LOGFONT lf = RandomFont(random);
        const double dpi = i % 3 == 0 ? 600.0 : 96.0;
        const GdiFont f = MakeGdiFont(lf, dpi);
        const std::string text = RandomText(random);
        double sum = 0.0;
        for (const GdiGlyph& g : SplitGlyphs(f, text))
            sum += g.advance;
        ASSERT_EQ(TextAdvance(f, text), sum) << lf.lfFaceName << " " << lf.lfHeight << " " << text;
    }
}

TEST(FontCacheTest, KeptFontsAndMetricsEqualFreshlyMadeOnes) {
    std::mt19937 random(5);
    std::vector<LOGFONT> fonts;
    std::vector<GdiFont> made;
    std::vector<TEXTMETRIC> metrics;
    for (int i = 0; i < 60; ++i) {
        fonts.push_back(RandomFont(random));
        made.push_back(MakeGdiFont(fonts.back(), i % 2 ? 300.0 : 96.0));
        metrics.push_back(MeasureTextMetrics(fonts.back()));
    }
    FlushKeptFonts();
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSameFont(MakeGdiFont(fonts[i], i % 2 ? 300.0 : 96.0), made[i]);  // made again
        ExpectSameFont(MakeGdiFont(fonts[i], i % 2 ? 300.0 : 96.0), made[i]);  // kept
        ExpectSameMetrics(MeasureTextMetrics(fonts[i]), metrics[i]);
    }
}

TEST(FontCacheTest, EveryFieldOfTheFontReachesTheKeptFont) {
    LOGFONT lf;
    lf.lfHeight = 20;
    lf.lfFaceName = "ＭＳ ゴシック";
    const GdiFont base = MakeGdiFont(lf, 96.0);
    const TEXTMETRIC baseMetrics = MeasureTextMetrics(lf);

    LOGFONT taller = lf;
    taller.lfHeight = 40;
    EXPECT_DOUBLE_EQ(MakeGdiFont(taller, 96.0).em, 2 * base.em);
    EXPECT_GT(MeasureTextMetrics(taller).tmHeight, baseMetrics.tmHeight);
    EXPECT_NE(MakeGdiFont(lf, 192.0).font.pointSizeF(), base.font.pointSizeF());

    LOGFONT turned = lf;
    turned.lfEscapement = 450;
    EXPECT_EQ(MakeGdiFont(turned, 96.0).escapement, 45.0);
    ExpectSameMetrics(MeasureTextMetrics(turned), baseMetrics);  // turning does not change measures

    LOGFONT styled = lf;
    styled.lfWeight = FW_BOLD;
    styled.lfItalic = 1;
    styled.lfUnderline = 1;
    styled.lfStrikeOut = 1;
    const GdiFont s = MakeGdiFont(styled, 96.0);
    EXPECT_EQ(s.font.weight(), QFont::Bold);
    EXPECT_TRUE(s.font.italic());
    EXPECT_TRUE(s.font.underline());
    EXPECT_TRUE(s.font.strikeOut());
    EXPECT_EQ(MeasureTextMetrics(styled).tmWeight, FW_BOLD);
    EXPECT_EQ(MeasureTextMetrics(styled).tmItalic, 1);

    LOGFONT narrow = lf;
    narrow.lfWidth = 5;
    EXPECT_NE(MakeGdiFont(narrow, 96.0).font.stretch(), base.font.stretch());
    EXPECT_LT(MeasureTextMetrics(narrow).tmAveCharWidth, baseMetrics.tmAveCharWidth);

    LOGFONT other = lf;
    other.lfCharSet = SHIFTJIS_CHARSET;
    EXPECT_EQ(MeasureTextMetrics(other).tmCharSet, SHIFTJIS_CHARSET);
    other.lfFaceName = "@ＭＳ ゴシック";
    EXPECT_TRUE(MakeGdiFont(other, 96.0).vertical);
    EXPECT_FALSE(base.vertical);
}

TEST(FontCacheTest, TextDrawsTheSamePixelsWithKeptAndFreshFonts) {
    std::mt19937 random(23);
    std::vector<LOGFONT> fonts;
    std::vector<std::string> texts;
    for (int i = 0; i < 200; ++i) {  // fewer fonts than are kept
        fonts.push_back(RandomFont(random));
        texts.push_back(RandomText(random));
    }
    // Qt's font engines keep the glyphs they render, and rendering one leaves its sub-pixel offset
    // on the face the engines share, where it nudges outlines taken later (vertical text) by a few
    // hundredths of a pixel: engines that still have to render come out a shade off engines that
    // have. Qt drops the engines no font holds once it keeps many (earlier tests make many) or on
    // a timer. Engines held through all three drawings settle in the first one and leave only the
    // program's font cache to tell fresh from kept.
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(3780);  // 96 dpi, as the drawing's image
    device.setDotsPerMeterY(3780);
    std::vector<QFontMetricsF> engines;
    for (const LOGFONT& lf : fonts) {
        engines.emplace_back(MakeGdiFont(lf, 96.0).font, &device);
        engines.back().height();  // resolves the engine the metrics then hold
    }
    DrawTexts(fonts, texts);
    FlushKeptFonts();
    const QImage fresh = DrawTexts(fonts, texts);
    const QImage kept = DrawTexts(fonts, texts);
    EXPECT_EQ(fresh, kept);
    QImage blank(fresh.size(), fresh.format());
    blank.fill(Qt::white);
    EXPECT_NE(fresh, blank);
}
