#include <gtest/gtest.h>

#include "model/helpers/StoredText.h"

namespace {

TEST(StoredText, CutsEachLineBetweenCharactersAsTheFilesCodePageCountsThem) {
    const std::string longAscii(kMaxStoredTextBytes + 10, 'a');
    const auto times = [](const std::string& s, std::size_t n) {
        std::string out;
        for (std::size_t i = 0; i < n; ++i)
            out += s;
        return out;
    };
    // Two bytes in the file for three here, and one for three: counted as the file holds them.
    const std::string kana = "あ", halfWidth = "ｱ";
    struct Case {
        std::string text;
        bool cut;
        std::string kept;
    } cases[] = {
        {"short\nlines", false, "short\nlines"},
        {longAscii, true, longAscii.substr(0, kMaxStoredTextBytes)},
        {"x\n" + longAscii + "\ny", true, "x\n" + longAscii.substr(0, kMaxStoredTextBytes) + "\ny"},
        {times(kana, 30000), false, times(kana, 30000)},
        {"a" + times(kana, 40000), true, "a" + times(kana, (kMaxStoredTextBytes - 1) / 2)},
        {times(halfWidth, kMaxStoredTextBytes + 1), true, times(halfWidth, kMaxStoredTextBytes)},
    };
    for (Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(CutToStoredText(text), c.cut);
        EXPECT_EQ(text, c.kept);
    }
}

}  // namespace
