#include <gtest/gtest.h>

#include "platform/Object.h"

namespace {

class Item : public CObject {};

TEST(ObjectArrayTest, ReserveKeepsTheContentsAndTheLaterAddsInPlace) {
    Item items[6];
    CObArray array;
    array.Add(&items[0]);
    array.Add(&items[1]);
    array.Reserve(6);
    ASSERT_EQ(array.GetSize(), 2);
    EXPECT_EQ(array.GetAt(0), &items[0]);
    EXPECT_EQ(array.GetAt(1), &items[1]);
    CObject* const* data = array.GetData();
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(array.Add(&items[i]), i);
    // Room was made once: the elements never moved.
    EXPECT_EQ(array.GetData(), data);
    // Less room than there are elements, or a negative count, changes nothing.
    array.Reserve(1);
    array.Reserve(-3);
    ASSERT_EQ(array.GetSize(), 6);
    EXPECT_EQ(array.GetAt(5), &items[5]);
}

}  // namespace
