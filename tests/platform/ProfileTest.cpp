#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QSettings>
#include <QStandardPaths>
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

TEST(Profile, AUserProfileRewritesItsFileOnlyForAChange) {
    const QString previous = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const std::string dir = MakeTempDir("profile_unchanged");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(dir));
    // Saving replaces the file by a new one.
    const auto fileId = [file = dir + "/kel-vo/Tessaray.ini"] {
        struct stat st {};
        return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const BYTE blob[] = {0, 1, 2};
    const auto writeAll = [&](int setting) {
        auto p = CreateUserProfile();
        p->WriteProfileInt("INIT", "SETTING", setting);
        p->WriteProfileString("Recent File List", "File1", "/tmp/図面, 1.qfd");
        p->WriteProfileBinary("Settings\\Bars", "State", blob, sizeof blob);
        EXPECT_TRUE(p->Sync());
    };
    writeAll(1);
    const auto first = fileId();
    ASSERT_NE(first, 0u);
    writeAll(1);
    EXPECT_EQ(fileId(), first);
    writeAll(0);
    EXPECT_NE(fileId(), first);
    EXPECT_EQ(CreateUserProfile()->GetProfileInt("INIT", "SETTING", -1), 0);
    EXPECT_EQ(CreateUserProfile()->GetProfileString("Recent File List", "File1", ""), "/tmp/図面, 1.qfd");
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, previous);
}

TEST(Strings, LoadsTableTextsAndRecordsMessageBoxes) {
    EXPECT_EQ(AfxLoadString(62700), "指定されたﾌｧｲﾙを開く事ができませんでした。");
    EXPECT_EQ(AfxLoadString(1), "");
    MessageBoxRecorder recorder(IDYES);
    EXPECT_EQ(AfxMessageBox(62700, MB_YESNO), IDYES);
    EXPECT_TRUE(recorder.Saw(62700));
}
