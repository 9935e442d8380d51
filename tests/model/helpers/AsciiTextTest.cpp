#include <gtest/gtest.h>

#include <string>

#include "model/helpers/AsciiText.h"

TEST(AsciiText, UpperCasingChangesOnlyLatinLetters) {
    EXPECT_EQ(AsciiUpper("Base64 zZ09_-"), "BASE64 ZZ09_-");
    // Lead and trail bytes of CP932 and UTF-8 sequences pass unchanged.
    const std::string sjis = "\x82\xa0\x83\x61\xe0\x61";
    EXPECT_EQ(AsciiUpper(sjis), "\x82\xa0\x83\x41\xe0\x41");
    EXPECT_EQ(AsciiUpper("図面.dxf"), "図面.DXF");
    EXPECT_EQ(AsciiUpper(""), "");
}

TEST(AsciiText, TheExtensionIsTakenFromTheFileNameOnly) {
    EXPECT_EQ(PathExtension("/home/a/drawing.jwc"), ".jwc");
    EXPECT_EQ(PathExtension("drawing.tar.dxf"), ".dxf");
    EXPECT_EQ(PathExtension("/home/a.b/drawing"), "");
    EXPECT_EQ(PathExtension("/home/a/drawing."), ".");
    EXPECT_EQ(PathExtension(""), "");
    EXPECT_EQ(PathWithoutExtension("/home/a.b/drawing.jwc"), "/home/a.b/drawing");
    EXPECT_EQ(PathWithoutExtension("/home/a.b/drawing"), "/home/a.b/drawing");
    EXPECT_EQ(PathWithoutExtension(".profile"), "");
    EXPECT_EQ(FindExtensionDot("dir.x/"), std::string::npos);
}
