#include <gtest/gtest.h>

#include "model/settings/OptionRecord.h"
#include "platform/Profile.h"

namespace {

MOptionRecord LoadFrom(CProfile& profile) {
    MOptionRecord r;
    r.LoadOptions(profile);
    return r;
}

}  // namespace

TEST(OptionRecord, ConstructorAndLoadDefaultsDifferOnlyInTheUndoCount) {
    const MOptionRecord built;
    EXPECT_EQ(built.m_drawLimit, 100);
    EXPECT_EQ(built.m_undoCount, 4);
    EXPECT_EQ(built.m_fontName, "ＭＳ ゴシック");
    EXPECT_EQ(built.m_intercept, 1);
    EXPECT_EQ(built.m_show, 7);
    EXPECT_EQ(built.m_snap, 31);
    EXPECT_EQ(built.m_layer, 12);
    EXPECT_EQ(built.m_saveCompress, 1);
    EXPECT_EQ(built.m_drawSelectedShape, 1);
    EXPECT_EQ(built.m_saveBackupMode, 2);
    EXPECT_EQ(built.m_bmpHalftone, 0);
    EXPECT_EQ(built.m_metafileRes, 0);

    auto profile = CreateMemoryProfile();
    MOptionRecord loaded = LoadFrom(*profile);
    EXPECT_EQ(loaded.m_undoCount, 8);
    loaded.m_undoCount = 4;
    EXPECT_EQ(loaded, built);
}

TEST(OptionRecord, LoadingCorrectsValuesOutOfRange) {
    auto profile = CreateMemoryProfile();
    profile->WriteProfileInt("OPION", "DRAWLIMIT", 0);
    profile->WriteProfileInt("OPION", "UNDOCOUNT", 0);
    profile->WriteProfileString("OPION", "FONTNAME", "");
    profile->WriteProfileInt("OPION", "DRAWSELECTEDSHAPE", 3);
    profile->WriteProfileInt("OPION", "SAVEBACKUPMODE", -1);
    profile->WriteProfileInt("OPION", "SAVECOMPRESS", 5);
    MOptionRecord r = LoadFrom(*profile);
    EXPECT_EQ(r.m_drawLimit, 100);
    EXPECT_EQ(r.m_undoCount, 8);
    EXPECT_EQ(r.m_fontName, "ＭＳ ゴシック");
    EXPECT_EQ(r.m_drawSelectedShape, 1);
    EXPECT_EQ(r.m_saveBackupMode, 2);
    EXPECT_EQ(r.m_saveCompress, 1);

    profile->WriteProfileInt("OPION", "DRAWLIMIT", -5);
    profile->WriteProfileInt("OPION", "UNDOCOUNT", -1);
    r = LoadFrom(*profile);
    EXPECT_EQ(r.m_drawLimit, 100);
    EXPECT_EQ(r.m_undoCount, 8);

    // The undo rings are allocated at this size: a damaged value is kept to the dialog's range.
    profile->WriteProfileInt("OPION", "UNDOCOUNT", 2000000000);
    profile->WriteProfileInt("OPION", "DRAWLIMIT", 5000);
    r = LoadFrom(*profile);
    EXPECT_EQ(r.m_undoCount, MOptionRecord::kMaxUndoCount);
    EXPECT_EQ(r.m_drawLimit, MOptionRecord::kMaxDrawLimit);

    // Values at the edges of the ranges stay.
    profile->WriteProfileInt("OPION", "UNDOCOUNT", 1);
    profile->WriteProfileInt("OPION", "DRAWLIMIT", 1000);
    profile->WriteProfileInt("OPION", "DRAWSELECTEDSHAPE", 0);
    profile->WriteProfileInt("OPION", "SAVEBACKUPMODE", 0);
    r = LoadFrom(*profile);
    EXPECT_EQ(r.m_undoCount, 1);
    EXPECT_EQ(r.m_drawLimit, 1000);
    EXPECT_EQ(r.m_drawSelectedShape, 0);
    EXPECT_EQ(r.m_saveBackupMode, 0);
}

TEST(OptionRecord, ThePickModeKeepsOnlyTheUsersChoice) {
    auto profile = CreateMemoryProfile();
    // 0 would let rubber bands pick nothing; 0x80 is a tool's fixed mode, which would leave the
    // crossing command disabled.
    for (const auto& [stored, loaded] : {std::pair{0, 1}, std::pair{0x80, 1}, std::pair{0x83, 3},
                                         std::pair{2, 2}, std::pair{-1, 3}, std::pair{1, 1}}) {
        profile->WriteProfileInt("OPION", "INTERCEPT", stored);
        EXPECT_EQ(LoadFrom(*profile).m_intercept, loaded) << stored;
    }
}

TEST(OptionRecord, SixteenBitWordsKeepTheirLowBits) {
    auto profile = CreateMemoryProfile();
    profile->WriteProfileInt("OPION", "SNAP", 0x10000 | 0x1001);
    profile->WriteProfileInt("OPION", "SHOW", 65536 + 5);
    profile->WriteProfileInt("OPION", "LAYER", -1);
    const MOptionRecord r = LoadFrom(*profile);
    EXPECT_EQ(r.m_snap, 0x1001);
    EXPECT_EQ(r.m_show, 5);
    EXPECT_EQ(r.m_layer, 0xFFFF);

    // Saved as unsigned values.
    r.SaveOptions(*profile);
    EXPECT_EQ(profile->GetProfileInt("OPION", "LAYER", 0), 65535);
}

TEST(OptionRecord, SaveThenLoadGivesTheSameRecord) {
    MOptionRecord r;
    r.m_drawLimit = 0;  // the dialog allows 0; loading turns it back into 100
    r.m_undoCount = 250;
    r.m_fontName = "ＭＳ 明朝";
    r.m_intercept = 0x3;
    r.m_show = 0x5;
    r.m_snap = 0x1031;
    r.m_layer = 28;
    r.m_saveCompress = 0;
    r.m_drawSelectedShape = 2;
    r.m_saveBackupMode = 1;
    r.m_bmpHalftone = 1;
    r.m_metafileRes = 1;

    auto profile = CreateMemoryProfile();
    r.SaveOptions(*profile);
    for (const char* key :
         {"DRAWLIMIT", "UNDOCOUNT", "FONTNAME", "INTERCEPT", "SHOW", "SNAP", "LAYER", "SAVECOMPRESS",
          "DRAWSELECTEDSHAPE", "SAVEBACKUPMODE", "BMPHALFTONE", "METAFILERES"})
        EXPECT_TRUE(profile->HasEntry("OPION", key)) << key;
    EXPECT_EQ(profile->GetProfileString("OPION", "FONTNAME"), "ＭＳ 明朝");

    MOptionRecord back = LoadFrom(*profile);
    EXPECT_EQ(back.m_drawLimit, 100);
    back.m_drawLimit = 0;
    EXPECT_EQ(back, r);
}

TEST(OptionRecord, TheProgramHasOneRecordOnTheProgramProfile) {
    EXPECT_EQ(&GetOptionRecord(), &GetOptionRecord());
    auto previous = AfxSetProfile(CreateMemoryProfile());
    AfxGetProfile().WriteProfileInt("OPION", "SNAP", 0x3);
    MOptionRecord& r = GetOptionRecord();
    const MOptionRecord saved = r;
    r.LoadOptions();
    EXPECT_EQ(r.m_snap, 0x3);
    r = saved;
    AfxSetProfile(std::move(previous));
}
