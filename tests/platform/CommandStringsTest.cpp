// A command's status text (before the line break) and its title (after it).
#include <gtest/gtest.h>

#include <string>

#include "platform/Strings.h"

TEST(CommandStrings, EachCommandShowsItsOwnTexts) {
    const struct {
        unsigned int id;
        const char* text;
    } kCommands[] = {
        // One of each kind whose texts changed: editing, dimension and measuring tools.
        {32780, "２つの線を円でつなげる\n角丸め"},
        {32782, "寸法線（自由寸法）\n寸法線"},
        {32873, "２点間距離測定\n距離"},
    };
    for (const auto& c : kCommands)
        EXPECT_EQ(AfxLoadString(c.id), c.text) << "command " << c.id;
}
