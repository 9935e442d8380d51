// The resource tables as the program reads them: named ids keep the tables usable.
#include <gtest/gtest.h>

#include "platform/Strings.h"
#include "resources/ResourceFormats.h"
#include "resources/ResourceIds.h"
#include "resources/StringTable.h"

// Strings are found by binary search: an entry added out of order would hide its neighbours.
TEST(ResourceTables, StringIdsStrictlyAscend) {
    for (std::size_t i = 1; i < kStringTableSize; ++i)
        EXPECT_LT(kStringTable[i - 1].id, kStringTable[i].id) << "entry " << i;
}

TEST(ResourceTables, NamedIdsReachTheirEntries) {
    EXPECT_EQ(AfxLoadString(IDS_CANNOT_OPEN_FILE), "指定されたﾌｧｲﾙを開く事ができませんでした。");
    EXPECT_EQ(AfxLoadString(62726), AfxLoadString(IDS_WRONG_FILE_TYPE));
    EXPECT_EQ(AfxLoadString(ID_ZOOM_IN), "表示を拡大します\n拡大");
    ASSERT_NE(FindMenuTemplate(IDR_MAINFRAME), nullptr);
    ASSERT_NE(FindMenuTemplate(IDR_LAYER_TAB_MENU), nullptr);
    const DialogTemplateItem* angle = FindDialogTemplate(237);
    ASSERT_NE(angle, nullptr);
    EXPECT_STREQ(angle->text, "角度入力");
}
