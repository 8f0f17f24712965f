// The refresh thread's turns on a clock the test sets, over virtual
// recorders: when a refresh comes, how long the thread rests after each
// turn, and the wake that ends a rest early. The test takes the turns itself
// at the moments it chooses, so nothing here depends on real time.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "LibVestra.h"
#include "common/clock.h"
#include "common/state.h"
#include "devlist/list.h"
#include "devlist/refresh_timer.h"
#include "devlist/threads.h"
#include "devlist/update.h"
#include "support/log_capture.h"
#include "vsim.h"

namespace {

uint32_t g_now = 0;
uint32_t TestClock() { return g_now; }

// One moment: the clock reads `at`, an event is reported (1 arrival, 2
// removal, 0 none), the thread takes its turn; after it the bus has been
// scanned `refreshes` times in all and the thread rests `rest` ms.
struct Step {
    uint32_t at;
    int event;
    long long refreshes;
    uint32_t rest;
};

class RefreshTurns : public ::testing::Test {
protected:
    void SetUp() override {
        vsim::reset();
        vsim::add_bus("001", 1);
        vsim::plug({.model = "VX007", .serial = "A1234567_1", .values = {}});
        vx::SetClockForTesting(TestClock);
        vx::g_dev_list_enabled = 1;
        vx::g_device_change_state = 0;
        while (vx::WaitForDeviceChange(0)) {}  // no wake left over from another case
    }
    void TearDown() override {
        VX_SetLibLog(VX_LOG_OFF);
        VX_UnInitDevList();
        vx::g_dev_list_enabled = 0;
        vx::g_device_change_state = 0;
        vx::SetClockForTesting(nullptr);
        vsim::reset();
    }

    // Takes the steps with a timer started at 1000 ms; returns the refresh
    // lines the turns logged.
    static std::vector<std::string> Run(const std::vector<Step> &steps) {
        vx::RefreshTimer timer(1000);
        testsupport::LogCapture log;
        for (const Step &s : steps) {
            SCOPED_TRACE(s.at);
            g_now = s.at;
            if (s.event != 0) vx::SetDeviceChangeState(s.event);
            uint32_t rest = 0;
            EXPECT_TRUE(vx::RefreshWhenDue(timer, &rest));
            EXPECT_EQ(s.refreshes, vsim::device_scans());
            EXPECT_EQ(s.rest, rest);
        }
        std::vector<std::string> lines;
        std::string out = log.text();
        for (std::size_t at = out.find("refresh udiskflag="); at != std::string::npos;
             at = out.find("refresh udiskflag=", at + 1))
            lines.push_back(out.substr(at, out.find('\n', at) - at));
        return lines;
    }
};

// Faults: the rest running to the end of the quiet interval instead of the
// debounce (the event then waits 10 s); a refresh before 2 s have passed
// since the previous one; the debounce counted from the event rather than
// from the previous refresh; the event refresh not updating the list or not
// bringing the interval back to 10 s.
TEST_F(RefreshTurns, AnEventIsActedOnWhenTheDebounceEndsAndNotBefore) {
    auto lines = Run({
        {1500, 1, 0, 1500},
        {2999, 0, 0, 1},
        {3000, 0, 1, 10000},
    });
    EXPECT_EQ(1, VX_GetDevListSum());
    EXPECT_EQ(std::vector<std::string>{"refresh udiskflag=1,duration=2.000000"}, lines);
}

// Faults: one refresh per event; the state not taken by the refresh (a
// second one right after); the refresh not carrying the last event's value.
TEST_F(RefreshTurns, SeveralEventsInsideTheDebounceGiveOneRefresh) {
    auto lines = Run({
        {1100, 1, 0, 1900},
        {1200, 2, 0, 1800},
        {1300, 1, 0, 1700},
        {3000, 0, 1, 10000},
        {3001, 0, 1, 9999},
    });
    EXPECT_EQ(std::vector<std::string>{"refresh udiskflag=1,duration=2.000000"}, lines);
}

// Faults: a timed refresh early, late or missing with no event; the quiet
// interval not growing by 5 s; a later event resting to the interval's end,
// or not starting the interval at 10 s again.
TEST_F(RefreshTurns, ATimedRefreshComesWhenTheIntervalEndsWithNoEvent) {
    auto lines = Run({
        {1000, 0, 0, 10000},
        {10999, 0, 0, 1},
        {11000, 0, 1, 15000},
        {26000, 0, 2, 20000},
        {27000, 2, 2, 1000},
        {28000, 0, 3, 10000},
    });
    EXPECT_EQ(1, VX_GetDevListSum());
    EXPECT_EQ((std::vector<std::string>{"refresh udiskflag=0,duration=10.000000",
                                        "refresh udiskflag=0,duration=15.000000",
                                        "refresh udiskflag=2,duration=2.000000"}),
              lines);
}

// Fault: a rest that another thread's event does not end. The rest is the
// longest the thread takes, an hour: not ended, it outlasts ctest's time-out,
// which reports the case as failed.
TEST(RefreshWake, AnotherThreadsEventEndsARest) {
    while (vx::WaitForDeviceChange(0)) {}
    bool woken = false;
    std::thread rest([&] { woken = vx::WaitForDeviceChange(vx::kLongestIntervalS * 1000u); });
    vx::SetDeviceChangeState(2);
    rest.join();
    EXPECT_TRUE(woken);
    EXPECT_EQ(2, vx::g_device_change_state.load());
    vx::g_device_change_state = 0;
}

}  // namespace
