#include <gtest/gtest.h>

#include "model/helpers/StoredText.h"

namespace {

TEST(StoredText, CutsEachLineBetweenCharacters) {
    const std::string longAscii(kMaxStoredTextBytes + 10, 'a');
    const std::string kana = "あ";  // three bytes: a cut must not end inside it
    std::string longKana;
    while (longKana.size() < kMaxStoredTextBytes + 2)
        longKana += kana;
    struct Case {
        std::string text;
        bool cut;
        std::string kept;
    } cases[] = {
        {"short\nlines", false, "short\nlines"},
        {longAscii, true, longAscii.substr(0, kMaxStoredTextBytes)},
        {"x\n" + longAscii + "\ny", true, "x\n" + longAscii.substr(0, kMaxStoredTextBytes) + "\ny"},
        {"a" + longKana, true, "a" + longKana.substr(0, (kMaxStoredTextBytes - 1) / 3 * 3)},
    };
    for (Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(CutToStoredText(text), c.cut);
        EXPECT_EQ(text, c.kept);
    }
}

}  // namespace
