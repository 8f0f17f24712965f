// The refresh thread's timing rules on a controllable clock (plain numbers).
#include <gtest/gtest.h>

#include "devlist/refresh_timer.h"

namespace {

// Faults: the quiet interval not capped at 3600 s, or not back at 10 s after
// an event. The debounce and the interval's growth are the refresh turns'
// (refresh_turn_test.cpp), on the same timer.
TEST(RefreshTimer, IntervalIsCappedAtAnHourAndAnEventResetsIt) {
    vx::RefreshTimer t(1000);
    for (int i = 0; i < 1000; ++i) t.Start(11000, 0);
    EXPECT_EQ(3600, t.IntervalSeconds());
    EXPECT_DOUBLE_EQ(2.5, t.Start(13500, 1));
    EXPECT_EQ(10, t.IntervalSeconds());
}

// Fault: the millisecond clock wrapping past 2^32 stalling the refreshes.
TEST(RefreshTimer, SurvivesTheClockWrap) {
    vx::RefreshTimer t(0xFFFFF000u);
    EXPECT_TRUE(t.Due(0xFFFFF000u + 10000u, 0));  // wraps to 0x1710
}

}  // namespace
