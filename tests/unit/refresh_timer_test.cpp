// The refresh thread's timing rules on a controllable clock (plain numbers).
#include <gtest/gtest.h>

#include "devlist/refresh_timer.h"

namespace {

// Faults: an event acted on before 2 s, a quiet refresh before the interval,
// the interval not growing by 5 s, not capped at 3600 s, not reset by an event.
TEST(RefreshTimer, DebounceAndGrowingInterval) {
    vx::RefreshTimer t(1000);
    EXPECT_FALSE(t.Due(2999, 2));
    EXPECT_TRUE(t.Due(3000, 2));
    EXPECT_FALSE(t.Due(10999, 0));
    EXPECT_TRUE(t.Due(11000, 0));
    EXPECT_DOUBLE_EQ(10.0, t.Start(11000, 0));
    EXPECT_EQ(15, t.IntervalSeconds());
    uint32_t now = 11000;
    for (int expected : {15, 20, 25}) {
        EXPECT_FALSE(t.Due(now + expected * 1000 - 1, 0));
        now += expected * 1000;
        EXPECT_TRUE(t.Due(now, 0));
        t.Start(now, 0);
    }
    for (int i = 0; i < 1000; ++i) t.Start(now, 0);
    EXPECT_EQ(3600, t.IntervalSeconds());
    EXPECT_DOUBLE_EQ(2.5, t.Start(now + 2500, 1));
    EXPECT_EQ(10, t.IntervalSeconds());
}

// Fault: the millisecond clock wrapping past 2^32 stalling the refreshes.
TEST(RefreshTimer, SurvivesTheClockWrap) {
    vx::RefreshTimer t(0xFFFFF000u);
    EXPECT_TRUE(t.Due(0xFFFFF000u + 10000u, 0));  // wraps to 0x1710
}

}  // namespace
