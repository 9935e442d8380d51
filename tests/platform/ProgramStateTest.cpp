// Program-wide slots: defaults, exchange, scoped overrides and the one reset.
#include <gtest/gtest.h>

#include <string>

#include "platform/ProgramState.h"

namespace {

std::string Greeting() {
    return "hello";
}

CProgramSlot<std::string>& GreetingSlot() {
    static auto& slot = *new CProgramSlot<std::string>(Greeting);
    return slot;
}

CProgramSlot<int>& CounterSlot() {
    static auto& slot = *new CProgramSlot<int>;
    return slot;
}

}  // namespace

TEST(ProgramState, SlotsStartAtTheirDefaultAndExchangeHandsBackThePrevious) {
    AfxResetProgramState();
    EXPECT_EQ(GreetingSlot().Get(), "hello");
    EXPECT_EQ(CounterSlot().Get(), 0);
    EXPECT_EQ(GreetingSlot().Exchange("bye"), "hello");
    EXPECT_EQ(GreetingSlot().Get(), "bye");
}

TEST(ProgramState, OverridesNestAndRestoreInReverseOrder) {
    AfxResetProgramState();
    {
        CProgramSlot<int>::Override outer(CounterSlot(), 1);
        EXPECT_EQ(CounterSlot().Get(), 1);
        {
            CProgramSlot<int>::Override inner(CounterSlot(), 2);
            EXPECT_EQ(CounterSlot().Get(), 2);
        }
        EXPECT_EQ(CounterSlot().Get(), 1);
    }
    EXPECT_EQ(CounterSlot().Get(), 0);
}

// A fixture's recorder made before the fixture resets the program keeps recording.
TEST(ProgramState, AResetLeavesOverridesInForceAndTheDefaultFollowsThem) {
    AfxResetProgramState();
    CounterSlot().Get() = 5;
    {
        CProgramSlot<int>::Override outer(CounterSlot(), 1);
        CProgramSlot<int>::Override inner(CounterSlot(), 2);
        AfxResetProgramState();
        EXPECT_EQ(CounterSlot().Get(), 2);
    }
    EXPECT_EQ(CounterSlot().Get(), 0);
}

TEST(ProgramState, OneResetPutsEverySlotBackWhereverItWasChanged) {
    GreetingSlot().Get() = "changed";
    CounterSlot().Get() = 7;
    // A slot that comes into being later is reset too.
    static CProgramSlot<double> late([] { return 2.5; });
    late.Get() = -1.0;
    AfxResetProgramState();
    EXPECT_EQ(GreetingSlot().Get(), "hello");
    EXPECT_EQ(CounterSlot().Get(), 0);
    EXPECT_EQ(late.Get(), 2.5);
}
