// Font names shared between texts read back as given, and give the face and measure that a copy
// of the name in each text gave.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "model/shapes/text/TextShape.h"
#include "platform/Cp932.h"
#include "platform/gdi/DC.h"
#include "platform/gdi/SelectScope.h"
#include "tests/model/shapes/annotation/AnnotationTestSupport.h"

using namespace shapetest;

namespace {

// The face as a text worked it out from its own copy of the name.
std::string FaceOfCopy(const std::string& name, bool vertical) {
    const auto first = name.find_first_not_of(" \t\r\n\v\f");
    std::string face = first == std::string::npos
                           ? ""
                           : name.substr(first, name.find_last_not_of(" \t\r\n\v\f") - first + 1);
    while (face.rfind("\xE3\x80\x80", 0) == 0)
        face.erase(0, 3);
    while (face.size() >= 3 && face.compare(face.size() - 3, 3, "\xE3\x80\x80") == 0)
        face.erase(face.size() - 3);
    if (face.empty()) face = GetDefaultTextFace();
    return vertical ? "@" + Cp932Cut(face, 30) : Cp932Cut(face, 31);
}

}  // namespace

TEST(TextFontNameTest, SharedNamesGiveTheFaceAndMeasureOfACopyInEachText) {
    // Blanks, ideographic spaces, one- and two-byte characters, characters without a code page 932
    // form and a cut-off UTF-8 sequence, around the length of the face field.
    const char* const pieces[] = {" ", "\t", "\xE3\x80\x80", "Ｍ", "ゴシック", "明朝", "ｱ", "ﾎﾟ", "漢", "a",
                                  "😀", "€",  "\n",           "@",  "\xE3\x81"};
    std::mt19937 random(41);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    TestView view;
    for (int i = 0; i < 1500; ++i) {
        std::string name;
        for (int n = pick(15); n > 0; --n)
            name += pieces[pick(std::size(pieces))];
        MTextShape t;
        t.SetString(name + "Ag");
        t.SetFontName(name);
        t.SetTextSize(0.5 + pick(400) / 10.0);
        t.SetCharWidth(pick(2) ? 0.0 : 0.1 + pick(200) / 10.0);
        t.SetTextFlags(pick(16) | (i % 2 ? kTextVertical : 0));
        ASSERT_EQ(t.GetFontName(), name);
        ASSERT_EQ(t.GetFaceName(), FaceOfCopy(name, i % 2)) << name;
        ASSERT_TRUE(MTextFontName(name) == t.GetSharedFontName());
        if (i % 5) continue;
        // Measured as through a context of its own.
        t.MeasureText(&view);
        LOGFONT lf;
        t.FillLogFont(lf);
        lf.lfHeight = 100;
        lf.lfWidth = static_cast<LONG>(t.GetCharWidth() * 100 / t.GetTextSize());
        std::unique_ptr<CDC> dc = view.GetClientDC();
        CFont font;
        font.CreateFontIndirect(&lf);
        CSelectScope select(dc.get(), &font);
        const CSize extent = dc->GetTextExtent(t.GetString());
        ASSERT_DOUBLE_EQ(t.GetBoxWidth(), extent.cx / 100.0 * t.GetTextSize());
        ASSERT_DOUBLE_EQ(t.GetBoxHeight(), -(extent.cy / 100.0) * t.GetTextSize());
    }
}
