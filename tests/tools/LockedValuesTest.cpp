// A table of locked values: its settings line and its locks, without a tool around it.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/LockedValueTool.h"

TEST(LockedValues, ReadsEachValueByItsRowAndWritesTheLineBack) {
    double radius = 5.0, angle = 1.0, kept = 7.0;
    BOOL radiusLock = FALSE, boxless = FALSE;
    const MLockedValues table{
        0,
        {{.value = &radius, .lock = &radiusLock, .checkId = 1, .fallback = 100.0, .positiveMessage = 1},
         {.value = &angle, .fallback = 0.0},
         {.value = &kept, .lock = &boxless}}};
    for (const char* line : {"\t-3 nan x\n", "\t0 1e400\n"}) {
        radius = 5.0, angle = 1.0, kept = 7.0;
        std::istringstream in(line);
        table.Read(in);
        EXPECT_EQ(radius, 100.0) << line << "a radius not above 0 does not read";
        EXPECT_EQ(angle, 0.0) << line;
        EXPECT_EQ(kept, 7.0) << line << "no fallback: the value stays";
    }
    std::istringstream good("\t2.5 -0.5 3\n");
    table.Read(good);
    std::ostringstream out;
    table.Write(out);
    EXPECT_EQ(out.str(), "\t2.5 -0.5 3\n");

    EXPECT_FALSE(table.AnyLocked());
    table.LockUnboxed();
    EXPECT_FALSE(radiusLock) << "a lock with a box is the box's";
    EXPECT_TRUE(boxless);
    EXPECT_TRUE(table.AnyLocked());
    const MLockedValues::Saved saved = table.Save();
    radius = 9.0;
    table.Unlock();
    EXPECT_FALSE(table.AnyLocked());
    table.Restore(saved);
    EXPECT_EQ(radius, 2.5);
    EXPECT_TRUE(boxless);
}
