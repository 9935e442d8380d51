#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/Profile.h"
#include "tests/support/TestSupport.h"

namespace {
void ExerciseProfile(CProfile& p) {
    EXPECT_EQ(p.GetProfileInt("OPION", "SNAP", 31), 31);
    p.WriteProfileInt("OPION", "SNAP", 7);
    EXPECT_EQ(p.GetProfileInt("OPION", "SNAP", 31), 7);
    p.WriteProfileString("PAPERSIZE", "SIZE", "297mm×210mm");
    EXPECT_EQ(p.GetProfileString("PAPERSIZE", "SIZE", "x"), "297mm×210mm");
    const BYTE blob[] = {0, 1, 2, 255};
    p.WriteProfileBinary("Settings\\Bars", "State", blob, sizeof blob);
    std::vector<BYTE> back;
    ASSERT_TRUE(p.GetProfileBinary("Settings\\Bars", "State", back));
    EXPECT_EQ(back, std::vector<BYTE>(blob, blob + 4));
    EXPECT_TRUE(p.DeleteSection("Settings"));
    EXPECT_FALSE(p.HasEntry("Settings\\Bars", "State"));
    EXPECT_TRUE(p.HasEntry("OPION", "SNAP"));
    p.DeleteAll();
    EXPECT_FALSE(p.HasEntry("OPION", "SNAP"));
}
}  // namespace

TEST(Profile, MemoryProfileKeepsValuesBySectionAndEntry) {
    auto p = CreateMemoryProfile();
    ExerciseProfile(*p);
}

TEST(Profile, UserProfileStoresAnIniFileUnderTheConfigHome) {
    const std::string dir = MakeTempDir("profile");
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    auto p = CreateUserProfile();
    ExerciseProfile(*p);
    p->WriteProfileString("PAPERSCALE", "NAME", "1 : 100");
    ASSERT_TRUE(p->Sync());
    EXPECT_TRUE(std::ifstream(dir + "/kel-vo/Tessaray.ini").good());
}

TEST(Strings, LoadsTableTextsAndRecordsMessageBoxes) {
    EXPECT_EQ(AfxLoadString(62700), "指定されたﾌｧｲﾙを開く事ができませんでした。");
    EXPECT_EQ(AfxLoadString(1), "");
    MessageBoxRecorder recorder(IDYES);
    EXPECT_EQ(AfxMessageBox(62700, MB_YESNO), IDYES);
    EXPECT_TRUE(recorder.Saw(62700));
}
