#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "interchange/DxfOutStream.h"
#include "model/geometry/FloatPoint.h"

TEST(DxfOutStream, EachGroupIsTheCodeInThreeColumnsThenTheValue) {
    MDXFOutStream out;
    out.WriteString(0, "LINE");
    out.WriteString(8, "レイヤ1");
    out.WriteInt(62, 7);
    out.WriteInt(70, -1);
    out.WriteInt(1071, 123456);
    out.WriteInt(-1, 5);
    EXPECT_EQ(out.GetText(),
              "  0\nLINE\n"
              "  8\nレイヤ1\n"
              " 62\n7\n"
              " 70\n-1\n"
              "1071\n123456\n"
              " -1\n5\n");
}

TEST(DxfOutStream, RealsReadBackAsTheSameDouble) {
    MDXFOutStream out;
    out.WriteDouble(10, 123456.789);  // "%g" would give 123457
    out.WriteDouble(20, 0.1);
    out.WriteDouble(30, 2.5);
    out.WriteDouble(40, 1.0);
    out.WriteDouble(41, -0.0);
    out.WriteDouble(42, 1e-7);
    out.WriteDouble(50, 1.0 / 3.0);
    EXPECT_EQ(out.GetText(),
              " 10\n123456.789\n"
              " 20\n0.1\n"
              " 30\n2.5\n"
              " 40\n1\n"
              " 41\n0\n"
              " 42\n1e-07\n"
              " 50\n0.3333333333333333\n");
    EXPECT_EQ(std::strtod("0.3333333333333333", nullptr), 1.0 / 3.0);
}

TEST(DxfOutStream, ValuesThatWouldBreakTheFileAreMadeSafe) {
    MDXFOutStream out;
    out.WriteString(1, "two\nlines\r\n");
    out.WriteDouble(10, std::numeric_limits<double>::quiet_NaN());
    out.WriteDouble(20, std::numeric_limits<double>::infinity());
    EXPECT_EQ(out.GetText(), "  1\ntwo lines  \n 10\n0\n 20\n0\n");
}

TEST(DxfOutStream, PointsSectionsAndTakingTheText) {
    MDXFOutStream out;
    out.BeginSection("ENTITIES");
    out.WritePoint(10, MFloatPoint(1.5, -2.25));
    out.WritePoint(11, 100.0, 0.0);
    out.EndSection();
    out.WriteString(0, "EOF");
    const std::string expected =
        "  0\nSECTION\n  2\nENTITIES\n"
        " 10\n1.5\n 20\n-2.25\n"
        " 11\n100\n 21\n0\n"
        "  0\nENDSEC\n"
        "  0\nEOF\n";
    EXPECT_EQ(out.GetText(), expected);
    EXPECT_EQ(out.TakeText(), expected);
    out.Clear();
    EXPECT_TRUE(out.GetText().empty());
}
