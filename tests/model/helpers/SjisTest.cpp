#include <gtest/gtest.h>

#include "model/helpers/Sjis.h"

namespace {

TEST(Sjis, LeadByteRanges) {
    int leads = 0;
    for (int b = 0; b < 256; ++b)
        leads += IsShiftJisLeadByte(static_cast<BYTE>(b)) ? 1 : 0;
    EXPECT_EQ(leads, (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1));
    EXPECT_FALSE(IsShiftJisLeadByte(0x80));
    EXPECT_TRUE(IsShiftJisLeadByte(0x81));
    EXPECT_TRUE(IsShiftJisLeadByte(0x9F));
    EXPECT_FALSE(IsShiftJisLeadByte(0xA0));
    EXPECT_FALSE(IsShiftJisLeadByte(0xB1));  // half-width kana stand alone
    EXPECT_FALSE(IsShiftJisLeadByte(0xDF));
    EXPECT_TRUE(IsShiftJisLeadByte(0xE0));
    EXPECT_TRUE(IsShiftJisLeadByte(0xFC));
    EXPECT_FALSE(IsShiftJisLeadByte(0xFD));
    EXPECT_FALSE(IsShiftJisLeadByte('A'));
}

}  // namespace
