#include <gtest/gtest.h>

#include "document/PaperSettings.h"
#include "platform/Profile.h"
#include "platform/Strings.h"

namespace {

// Every test starts from an empty profile, so the remembered defaults start from the tables.
class PaperSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        profile = CreateMemoryProfile();
        LoadDefaultPaper(*profile);
    }
    std::unique_ptr<CProfile> profile;
};

}  // namespace

TEST(PaperTables, AreReadFromTheStringTable) {
    const auto& sizes = GetPaperSizeTable();
    ASSERT_EQ(sizes.size(), 11u);
    const char* names[] = {"A0", "A1", "A2", "A3", "A4", "A5", "B1", "B2", "B3", "B4", "B5"};
    const double widths[] = {1189, 841, 594, 420, 297, 210, 1030, 728, 515, 364, 257};
    const double heights[] = {841, 594, 420, 297, 210, 148, 728, 515, 364, 257, 184};
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(sizes[i].m_name, names[i]);
        EXPECT_EQ(sizes[i].m_width, widths[i]);
        EXPECT_EQ(sizes[i].m_height, heights[i]);
    }
    EXPECT_EQ(sizes[0].m_sizeText, "1189mm×841mm");
    EXPECT_EQ(sizes[4].m_sizeText, " 297mm×210mm");

    const auto& scales = GetPaperScaleTable();
    ASSERT_EQ(scales.size(), 11u);
    const char* scaleNames[] = {"1 : 200", "1 : 100", "1 : 50", "1 : 20",  "1 : 10", "1 : 5",
                                "1 : 1",   "10 : 1",  "50 : 1", "100 : 1", "200 : 1"};
    const double factors[] = {0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 1.0, 10, 50, 100, 200};
    for (std::size_t i = 0; i < scales.size(); ++i) {
        EXPECT_EQ(scales[i].m_name, scaleNames[i]);
        EXPECT_EQ(scales[i].m_scale, factors[i]);
    }
    EXPECT_EQ(AfxLoadString(202), "グリッドは０より大きな値を入力してください。");
}

TEST(PaperTables, EntryParsingStopsAtAnEmptyOrIncompleteEntry) {
    MPaperSizeInfo size;
    EXPECT_TRUE(ParsePaperSizeEntry("A4\n 297mm×210mm\n297\n210", size));
    EXPECT_EQ(size.m_sizeText, " 297mm×210mm");
    EXPECT_FALSE(ParsePaperSizeEntry("\n", size));
    EXPECT_FALSE(ParsePaperSizeEntry("", size));
    EXPECT_FALSE(ParsePaperSizeEntry("A4\n297mm×210mm\n297", size));
    EXPECT_FALSE(ParsePaperSizeEntry("A4\n297mm×210mm\n0\n210", size));
    // Empty fields do not count, as with strtok.
    EXPECT_TRUE(ParsePaperSizeEntry("\nX\n\nY\n10\n20\n", size));
    EXPECT_EQ(size.m_name, "X");
    EXPECT_EQ(size.m_height, 20);

    MPaperScaleInfo scale;
    EXPECT_TRUE(ParsePaperScaleEntry("1 : 3\n0.3333", scale));
    EXPECT_EQ(scale.m_scale, 0.3333);
    EXPECT_FALSE(ParsePaperScaleEntry("\n", scale));
    EXPECT_FALSE(ParsePaperScaleEntry("1 : 0\n0", scale));
    EXPECT_FALSE(ParsePaperScaleEntry("1 : 1", scale));
}

TEST_F(PaperSettingsTest, AnEmptyProfileGivesA4AtOneToHundred) {
    const MDefaultPaper& d = GetDefaultPaper();
    EXPECT_EQ(d.sizeIndex, 4);
    EXPECT_EQ(d.scaleIndex, 1);
    EXPECT_EQ(d.scale, 0.01);
    EXPECT_EQ(d.horizontal, 1);
    EXPECT_EQ(d.gridWidth, 1000.0);
    EXPECT_EQ(d.gridHeight, 1000.0);
    EXPECT_EQ(GetDefaultPaperSize().m_name, "A4");
    EXPECT_EQ(GetDefaultPaperScale().m_name, "1 : 100");
}

TEST_F(PaperSettingsTest, SetDefaultPaperFindsExactTableEntries) {
    SetDefaultPaper(MPaperInfo(MPaperSizeInfo("mine", "", 515, 364), MPaperScaleInfo("half", 0.5), 0, 6));
    const MDefaultPaper& d = GetDefaultPaper();
    EXPECT_EQ(d.sizeIndex, 8);  // B3, whatever the entry's name
    EXPECT_EQ(d.scaleIndex, -1);
    EXPECT_EQ(d.scale, 0.5);
    EXPECT_EQ(d.horizontal, 0);
    EXPECT_EQ(GetDefaultPaperSize().m_name, "B3");
    // A scale that is not in the table is named by its factor.
    const MPaperScaleInfo scale = GetDefaultPaperScale();
    EXPECT_EQ(scale.m_name, "0.5");
    EXPECT_EQ(scale.m_scale, 0.5);

    SetDefaultPaper(MPaperInfo(MPaperSizeInfo(), MPaperScaleInfo("1 : 50", 0.02), 1, 0));
    EXPECT_EQ(GetDefaultPaper().scaleIndex, 2);
    EXPECT_EQ(GetDefaultPaperScale().m_name, "1 : 50");
}

TEST_F(PaperSettingsTest, AProfilePaperNotInTheTableGivesTableEntryZero) {
    profile->WriteProfileString("PAPERSIZE", "NAME", "custom");
    profile->WriteProfileString("PAPERSIZE", "SIZE", "300mm×200mm");
    profile->WriteProfileString("PAPERSIZE", "WIDTH", "300");
    profile->WriteProfileString("PAPERSIZE", "HEIGHT", "200");
    profile->WriteProfileString("PAPERSCALE", "NAME", "1 : 30");
    profile->WriteProfileString("PAPERSCALE", "SCALE", "0.03");
    profile->WriteProfileInt("PAPERINFO", "HORIZONTAL", 0);
    LoadDefaultPaper(*profile);
    EXPECT_EQ(GetDefaultPaper().sizeIndex, -1);
    EXPECT_EQ(GetDefaultPaperSize().m_name, "A0");
    EXPECT_EQ(GetDefaultPaper().scaleIndex, -1);
    EXPECT_EQ(GetDefaultPaperScale().m_name, "0.03");
    EXPECT_EQ(GetDefaultPaperScale().m_scale, 0.03);
    EXPECT_EQ(GetDefaultPaper().horizontal, 0);

    // Saved back, the paper is the one a new drawing gets.
    SaveDefaultPaper(*profile);
    EXPECT_EQ(profile->GetProfileString("PAPERSIZE", "NAME"), "A0");
    EXPECT_EQ(profile->GetProfileString("PAPERSIZE", "WIDTH"), "1189");
    EXPECT_EQ(profile->GetProfileString("PAPERSCALE", "NAME"), "0.03");
    EXPECT_EQ(profile->GetProfileString("PAPERSCALE", "SCALE"), "0.03");
    EXPECT_EQ(profile->GetProfileInt("PAPERINFO", "HORIZONTAL", 1), 0);
}

TEST_F(PaperSettingsTest, DamagedProfileValuesFallBackToTheDefaults) {
    for (const char* bad : {"0", "-297", "abc", "inf", "nan", ""}) {
        profile->WriteProfileString("PAPERSIZE", "NAME", "B5");
        profile->WriteProfileString("PAPERSIZE", "SIZE", "x");
        profile->WriteProfileString("PAPERSIZE", "WIDTH", "257");
        profile->WriteProfileString("PAPERSIZE", "HEIGHT", bad);
        profile->WriteProfileString("PAPERSCALE", "NAME", "1 : 5");
        profile->WriteProfileString("PAPERSCALE", "SCALE", bad);
        const MPaperInfo p = ReadPaperProfile(*profile);
        EXPECT_EQ(p.GetSizeInfo().m_name, "A4") << bad;
        EXPECT_EQ(p.GetSizeInfo().m_sizeText, "297mm×210mm") << bad;
        EXPECT_EQ(p.GetSizeInfo().m_width, 297) << bad;
        EXPECT_EQ(p.GetScaleInfo().m_name, "1 : 100") << bad;
        EXPECT_EQ(p.GetScale(), 0.01) << bad;
    }

    profile->WriteProfileString("PAPER", "GRIDWIDTH", "0");
    profile->WriteProfileString("PAPER", "GRIDHEIGHT", "-5");
    LoadDefaultPaper(*profile);
    EXPECT_EQ(GetDefaultPaper().gridWidth, 1.0);
    EXPECT_EQ(GetDefaultPaper().gridHeight, 1.0);
    profile->WriteProfileString("PAPER", "GRIDWIDTH", "inf");
    profile->WriteProfileString("PAPER", "GRIDHEIGHT", "nan");
    LoadDefaultPaper(*profile);
    EXPECT_EQ(GetDefaultPaper().gridWidth, 1000.0);
    EXPECT_EQ(GetDefaultPaper().gridHeight, 1000.0);
    profile->WriteProfileString("PAPER", "GRIDWIDTH", "2.5");
    profile->WriteProfileString("PAPER", "GRIDHEIGHT", "500");
    LoadDefaultPaper(*profile);
    EXPECT_EQ(GetDefaultPaper().gridWidth, 2.5);
    EXPECT_EQ(GetDefaultPaper().gridHeight, 500.0);

    // Any orientation but 0 is landscape.
    profile->WriteProfileInt("PAPERINFO", "HORIZONTAL", 5);
    EXPECT_EQ(ReadPaperProfile(*profile).GetHorizontal(), 1);
}

TEST_F(PaperSettingsTest, SaveThenLoadKeepsTheDefaultPaper) {
    MDefaultPaper& d = GetDefaultPaper();
    d.sizeIndex = 9;   // B4
    d.scaleIndex = 5;  // 1 : 5
    d.scale = 0.2;
    d.horizontal = 0;
    d.gridWidth = 12.5;
    d.gridHeight = 0.001;
    auto saved = CreateMemoryProfile();
    SaveDefaultPaper(*saved);
    EXPECT_EQ(saved->GetProfileString("PAPERSIZE", "NAME"), "B4");
    EXPECT_EQ(saved->GetProfileString("PAPERSIZE", "SIZE"), " 364mm×257mm");
    EXPECT_EQ(saved->GetProfileString("PAPERSIZE", "WIDTH"), "364");
    EXPECT_EQ(saved->GetProfileString("PAPERSIZE", "HEIGHT"), "257");
    EXPECT_EQ(saved->GetProfileString("PAPERSCALE", "NAME"), "1 : 5");
    EXPECT_EQ(saved->GetProfileString("PAPERSCALE", "SCALE"), "0.2");
    EXPECT_EQ(saved->GetProfileString("PAPER", "GRIDWIDTH"), "12.5");
    EXPECT_EQ(saved->GetProfileString("PAPER", "GRIDHEIGHT"), "0.001");

    d = MDefaultPaper();
    LoadDefaultPaper(*saved);
    EXPECT_EQ(d.sizeIndex, 9);
    EXPECT_EQ(d.scaleIndex, 5);
    EXPECT_EQ(d.scale, 0.2);
    EXPECT_EQ(d.horizontal, 0);
    EXPECT_EQ(d.gridWidth, 12.5);
    EXPECT_EQ(d.gridHeight, 0.001);
}

TEST_F(PaperSettingsTest, ProfileWritersUseShortNumbers) {
    WritePaperProfile(*profile, MPaperInfo(MPaperSizeInfo("w", "t", 123.456789, 1e-7),
                                           MPaperScaleInfo("s", 1.0 / 3.0), 0, 6));
    EXPECT_EQ(profile->GetProfileString("PAPERSIZE", "WIDTH"), "123.457");
    EXPECT_EQ(profile->GetProfileString("PAPERSIZE", "HEIGHT"), "1e-07");
    EXPECT_EQ(profile->GetProfileString("PAPERSCALE", "SCALE"), "0.333333");
    EXPECT_EQ(profile->GetProfileInt("PAPERINFO", "HORIZONTAL", 1), 0);
}
